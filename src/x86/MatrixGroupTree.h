#pragma once

#include "digitalmatrix_export.h"

#include "MatrixMetaTypes.h"

#include "SearchTree.h"

#include <QVector>
#include <QPoint>
#include <QWidget>

#include <memory>
#include <vector>

class QTimer;
class QTreeWidgetItem;

namespace LUMO_DIGITALMATRIX_MODULE {

namespace Ui {
class MatrixGroupTree;
}

class ServerConfigTreeItem;

// Group page of the source dialog: the data centre's areas with their channels, each with a
// check box, the split of the window and the turn settings. "Set" sends one channel record per
// checked channel to the window being edited, as a fixed set or as a turn show.
class DIGITALMATRIX_EXPORT MatrixGroupTree : public QWidget, private COMMONUSELIB::SearchTree
{
    Q_OBJECT
    Q_DISABLE_COPY(MatrixGroupTree)

public:
    // The walk over the checked channels stops after the record that goes beyond this count.
    static constexpr int RecordCut = 100;
    // Turn interval in seconds.
    static constexpr int MinTurnInterval = 10;
    static constexpr int MaxTurnInterval = 100;
    static constexpr int DefaultTurnInterval = 30;
    // Pause between a fixed set of sources and the report that it was set.
    static constexpr int FinishDelayMs = 100;
    // Most records taken from one report of a window's sources.
    static constexpr int MaxReportedRecords = 128;

    explicit MatrixGroupTree(QWidget *parent = nullptr);
    ~MatrixGroupTree() override;

    // The window (its index on the wall) whose sources are edited.
    void setMonitor(int monitor);
    int getMonitor() const { return monitor; }

    // Fills the tree from the data centre's areas and channels; channels that the matrix
    // reported for the window start checked, every other one unchecked.
    void loadTree();

    // Records that the matrix reported for this window.
    QVector<_ST_ChnInfo> reportedRecords() const { return groupRes; }
    // True from a fixed set of sources until its report leaves (FinishDelayMs).
    bool isFinishPending() const;
    // Sends a pending report at once (the dialog closes before the delay ran out).
    void finishPending();

signals:
    void sigSetGroupFinished(int splitCount, bool turning);
    // Part of the storage-record variant, which this module never switches on.
    void sigsetStorageRecordResFinish();
    // Channels (data-centre keys) dragged out of the tree and let go where no drop target
    // took them (the page behind the dialog, which the dialog keeps from taking drops).
    void sigChannelsDraggedOut(const QPoint &globalPos, const QStringList &channelKeys);

public slots:
    void slotSetSource();
    void slotItemChanged(QTreeWidgetItem *item, int column);
    // The matrix reports the sources of a window (all of them) and its turn interval, 0 for a
    // fixed set.
    void slotGroupRes(int monitor, const QVector<_ST_ChnInfo> &records, int interval);
    void slotSearch();
    void on__searchButton_clicked();
    void slotEditLostFocus();
    void slotValueChange(int value);
    void slotItemClicked(QTreeWidgetItem *item, int column);
    void slotSearchLineEdtTextChanged(const QString &text);
    void on__startCBox_toggled(bool checked);
    void splitNumSmartChange();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    QTreeWidget *searchedTreeWidget() const override;
    void showEvent(QShowEvent *event) override;

protected:
    void changeEvent(QEvent *event) override;

private:
    QList<ServerConfigTreeItem *> channelItems() const;
    int checkedChannelCount() const;
    int splitCount() const;
    QString searchText() const;
    // Builds the records of the checked channels in tree order (at most RecordCut + 1).
    std::vector<_ST_ChnInfo> buildRecords() const;
    bool isReported(const ServerConfigTreeItem *item) const;
    // Checks the channels that the matrix reported and brings the areas and the split along.
    void applyReportedChecks();
    // An area is checked when all of its channels are.
    void updateAreaCheck(QTreeWidgetItem *area);
    void emitPendingFinish();
    // Drags the channels of an item (a channel, or an area's own channels) to a window.
    void dragChannels(QTreeWidgetItem *item);

    std::unique_ptr<Ui::MatrixGroupTree> ui;

    bool storageMode = false;
    QVector<_ST_ChnInfo> groupRes;
    int monitor = -1;

    bool updatingChecks = false;
    bool treeLoaded = false;
    QTimer *finishTimer = nullptr;
    int pendingSplit = 0;
    QPoint dragStart;
    QTreeWidgetItem *dragItem = nullptr;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
