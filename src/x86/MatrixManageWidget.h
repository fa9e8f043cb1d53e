#pragma once

#include "digitalmatrix_export.h"

#include "MatrixMetaTypes.h"
#include "MatrixStates.h"
#include "X86WindowOnAir.h"

#include <QMap>
#include <QSet>

#include <QList>
#include <QWidget>

#include <memory>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace Ui {
class MatrixManageWidget;
}

class MirrorWidget;

// The monitor wall of an X86 matrix: the output windows of the connected matrix at their
// places, mapped from the matrix's units onto the widget's pixels. From the keyboard, Tab and
// a window's number key select a window, the arrow keys move it and Shift with the arrow keys
// resizes it (sent to the matrix when the key is released), Enter asks for its sources and
// Delete for clearing them; moving and resizing only while the windows are editable.
class DIGITALMATRIX_EXPORT MatrixManageWidget : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(MatrixManageWidget)

public:
    // Pixels a window moves or grows per arrow key.
    static constexpr int KeyStepPixels = 8;

    explicit MatrixManageWidget(QWidget *parent = nullptr);
    ~MatrixManageWidget() override;

    // What the wall says while it shows no window (what to do to see one).
    void setEmptyText(const QString &text);
    QString emptyText() const { return placeholder; }
    // Makes this window the selected one, as a click on it does.
    void selectMirror(MirrorWidget *mirror);

    // Keeps the head of a layout; nothing is re-placed. The windows of the layout follow.
    void setLayoutInfo(RECT wallRect, int mirrorTotal, int p1, int p2, int p3, int p4);
    // The end of a layout: windows the matrix no longer reported are removed.
    void endLayout();
    // Creates the window with this index, or updates the record of the existing one.
    void setMirror(RECT homeRect, RECT mirrorRect, int index, int splitCount, int layer, int param4,
                   int turnState);
    // Deletes every window and forgets the layout.
    void clearData();
    // Puts every window back on its own monitor and sends it to the matrix.
    void resetLayout();
    // Puts every window not held with the mouse back where the matrix last reported it.
    void showReportedRects();
    // Turn state (and, when splitCount > 0, split count) of one window.
    void setMirrorState(int index, X86TurnState turnState, int splitCount);
    void setEditable(bool on);
    void setSwapMode(bool on);
    // Layer 1 ends on top, layer 2 below it, every other layer lowest.
    void raiseMirrorsByLayer();
    void clearMirrorStates();

    // Places a window from its rectangle in matrix units (nothing without a screen
    // arrangement or while the wall has no extent).
    void placeMirror(MirrorWidget *mirror);
    // Shifts a window by its pending move step, keeps it on the wall and writes the
    // result back into its rectangle in matrix units.
    void placeMirrorMoving(MirrorWidget *mirror);
    // True when both the wall in pixels and the wall rectangle in units have an extent,
    // so that units and pixels can be converted.
    bool canMap() const;

    QList<MirrorWidget *> getMirrors() const { return mirrors; }
    MirrorWidget *getCurrMirror() const { return currMirror; }
    MirrorWidget *mirrorByIndex(int index) const;
    RECT getWallRect() const { return wallRect; }
    int getMirrorTotal() const { return mirrorTotal; }
    int getCreatedCount() const { return createdCount; }
    // n = 1..4: the four layout numbers of the last layout.
    int getLayoutParam(int n) const;
    bool isEditable() const { return editable; }

    // What is on air, as the matrix reports it; kept by window index (also for a window the
    // wall has not drawn yet) until clearData. Only the window concerned is repainted.
    void setWindowSources(int index, const QVector<_ST_ChnInfo> &records, int interval);
    void setWindowTurnStep(int index, X86TurnState state, int page, int pages, int interval);
    X86WindowOnAir windowOnAir(int index) const { return onAir.value(index); }
    // ---- Undo of wall changes ----
    // The rectangle of a window as the matrix last reported it (also while it is moved).
    RECT reportedRect(int index) const { return reported.value(index); }
    // Frame the commands of one change of these windows (X86WallHistory::Aspect).
    void announceChange(int aspects, const QList<int> &windows)
    {
        emit sigWindowsChanging(aspects, windows);
    }
    void announceSent() { emit sigWindowsChanged(); }

signals:
    void sigCurrMontroIndex(int index, int turnState);
    // A context menu was asked for on the window with this index.
    void sigMirrorContextMenu(int index, const QPoint &globalPos);
    // Enter on the selected window: its sources are asked for.
    void sigMirrorActivated(int index);
    // Delete on the selected window: its sources are to be cleared.
    void sigMirrorClearRequested(int index);
    // Channels of the data centre (their keys, in order) were dropped on a window's pane.
    void sigChannelsDropped(int index, int pane, const QStringList &channelKeys);
    // The commands of a change of these windows follow; sigWindowsChanged: they were sent.
    void sigWindowsChanging(int aspects, const QList<int> &windows);
    void sigWindowsChanged();

public slots:
    void slotMirrorPress(MirrorWidget *pressedMirror);
    void slotMirrorRelease(MirrorWidget *dropped);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

protected:
    void changeEvent(QEvent *event) override;

private:
    void updateScale(MirrorWidget *mirror) const;
    // A window the matrix no longer reports is hidden and kept for a later layout.
    void keepForReuse(MirrorWidget *mirror);
    // The windows in the order of their numbers.
    QList<MirrorWidget *> mirrorsByNumber() const;
    // One key step of the selected window: moved, or (resize) its right or bottom edge.
    void stepCurrent(int dx, int dy, bool resize);
    // A window moved or resized with keys goes to the matrix.
    void commitKeyAdjusting();

    std::unique_ptr<Ui::MatrixManageWidget> ui;

    QList<MirrorWidget *> mirrors;
    // Hidden windows of earlier layouts, taken again before a new one is created.
    QList<MirrorWidget *> spare;
    QMap<int, X86WindowOnAir> onAir;
    QMap<int, RECT> reported;
    // Indexes reported since the last layout head.
    QSet<int> reportedIndexes;
    bool layoutOpen = false;
    MirrorWidget *currMirror = nullptr;
    QString placeholder;
    RECT wallRect {};
    int createdCount = 0;
    bool editable = true;
    int mirrorTotal = 0;
    int layoutParam1 = 0;
    int layoutParam2 = 0;
    int layoutParam3 = 0;
    int layoutParam4 = 0;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
