#pragma once

#include "digitalmatrix_export.h"

#include "MatrixMetaTypes.h"
#include "MatrixStates.h"
#include "X86WindowOnAir.h"

#include <QPixmap>
#include <QPoint>
#include <QStringList>
#include <QWidget>

#include <memory>

class QPainter;

namespace LUMO_DIGITALMATRIX_MODULE {

namespace Ui {
class MirrorWidget;
}

class MatrixManageWidget;

// One output window (mirror) of the matrix drawn on the monitor wall. It is selected,
// moved and resized with the mouse (or with the wall's keys); every change goes to the matrix
// on release. In swap
// mode it is only dragged onto another window to exchange their numbers.
class DIGITALMATRIX_EXPORT MirrorWidget : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(MirrorWidget)

public:
    // Where the pointer is: on an edge, on a corner or inside (move).
    enum DragZone {
        ZoneTop = 0,
        ZoneBottom = 1,
        ZoneLeft = 2,
        ZoneRight = 3,
        ZoneTopLeft = 4,
        ZoneBottomLeft = 5,
        ZoneBottomRight = 6,
        ZoneTopRight = 7,
        ZoneInside = 8,
    };
    // Width in pixels of the band along the border that resizes.
    static constexpr int EdgeMargin = 4;
    // An edge this close to its monitor's edge (matrix units, either side) snaps onto it.
    static constexpr int SnapDistance = 20;

    explicit MirrorWidget(MatrixManageWidget *wall);
    ~MirrorWidget() override;

    // Forgets everything of the window it was (the wall reuses it for another one).
    void resetForReuse();
    // Takes the whole window record of a layout and repaints.
    void setMirrorInfo(const RECT &homeRect, const RECT &mirrorRect, int index, int splitCount,
                       int layer, int param4, int turnState);
    void setScale(double xScale, double yScale);

    int getIndex() const { return index; }
    void setIndex(int value);
    X86TurnState getTurnState() const { return turnState; }
    void setTurnState(X86TurnState value);
    int getSplitCount() const { return splitCount; }
    void setSplitCount(int value);
    int getLayer() const { return layer; }
    int getParam4() const { return param4; }
    // The pane the matrix shows over the whole window (1-based), 0 when none is zoomed.
    int zoomedPane() const { return param4 > 0 && param4 <= splitCount ? param4 : 0; }
    double getXScale() const { return xScale; }
    double getYScale() const { return yScale; }
    RECT getHomeRect() const { return homeRect; }
    RECT getMirrorRect() const { return mirrorRect; }
    void setMirrorRect(const RECT &rect) { mirrorRect = rect; }
    int getDragZone() const { return dragZone; }
    void setDragZone(int zone) { dragZone = zone; }
    QPoint getMoveOffset() const { return moveOffset; }
    void resetMoveOffset() { moveOffset = QPoint(0, 0); }
    void setMoveOffset(const QPoint &offset) { moveOffset = offset; }
    // Held with the mouse, or moved or resized with keys not released yet: the rectangle being
    // changed is the page's until it is sent.
    bool isPressed() const { return pressed || keyAdjusting; }
    void setKeyAdjusting(bool on) { keyAdjusting = on; }
    bool isKeyAdjusting() const { return keyAdjusting; }
    // Snaps the edges near the window's own screen onto it and sends the rectangle to the
    // matrix, as a release of the mouse after a move or resize does.
    void commitPlacement();

    bool isSelected() const { return selected; }
    // Also switches mouse tracking: only the selected window follows the pointer.
    void setSelected(bool on);
    bool isEditable() const { return editable; }
    void setEditable(bool on);
    bool isSwapMode() const { return swapMode; }
    void setSwapMode(bool on);

    // Global pointer position of the last release in swap mode (where the window was dropped).
    QPoint getDropGlobalPos() const { return dropGlobalPos; }

    // What the window shows, as the matrix reported it; repaints only when it changed.
    void setOnAir(const X86WindowOnAir &value);
    const X86WindowOnAir &getOnAir() const { return onAir; }
    // The channel name on each pane drawn now (one entry for a zoomed pane).
    QStringList shownPaneNames() const;
    // The turn-show badge drawn now; empty without a turn show.
    QString badgeText() const;
    // Where pane k (0-based) lies in this window's pixels.
    QRect paneRect(int pane) const;
    // The pane (0-based) under a point of this window: the zoomed one while one is zoomed.
    int paneAt(const QPoint &pos) const;

signals:
    void sigMousePress();
    void sigMouseRelease();
    // A context menu was asked for on this window.
    void sigContextMenu(const QPoint &globalPos);
    // Channels of the data centre (their keys, in order) were dropped on a pane (0-based).
    void sigChannelsDropped(int pane, const QStringList &channelKeys);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool event(QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

protected:
    void changeEvent(QEvent *event) override;

private:
    void updateHoverZone(const QPoint &globalPos);
    void resizeTo(const QPoint &wallPoint);
    void snapToHome();
    QPoint toWallPixels(const QPoint &globalPos) const;
    // Whatever the window shows changed: its picture is drawn again on the next paint.
    void redraw();
    // Everything the window shows, drawn into its picture.
    void paintPicture(QPainter &painter);
    // Channel names on the panes and the turn-show badge.
    void paintOnAir(QPainter &painter);
    // The names and the badge laid out once for the window's size and what is on air; the
    // painter draws them as prepared text, without laying them out again on every paint.
    struct OnAirLabels;
    const OnAirLabels &onAirLabels();

    std::unique_ptr<Ui::MirrorWidget> ui;

    bool editable = true;
    bool swapMode = false;
    bool selected = false;
    RECT homeRect {};
    RECT mirrorRect {};
    int layer = 0;
    int index = 0;
    int splitCount = 1;
    X86TurnState turnState = X86TurnState::NoTurn;
    int param4 = 0;
    double xScale = 1.0;
    double yScale = 1.0;
    bool pressed = false;
    bool keyAdjusting = false;
    QPoint pressPos;
    QPoint moveOffset;
    int dragZone = ZoneTop;
    MatrixManageWidget *wall = nullptr;
    QPoint dropGlobalPos;
    X86WindowOnAir onAir;
    std::unique_ptr<OnAirLabels> labels;
    // The pane cameras dragged over the window would land on, -1 without a drag.
    int dropPane = -1;
    // The window's picture, drawn again only when something it shows changes.
    static constexpr qint64 MaxPicturePixels = 4096 * 4096;
    QPixmap picture;
    bool pictureValid = false;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
