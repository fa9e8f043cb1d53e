#pragma once

#include "digitalmatrix_export.h"

#include "CellChannelItem.h"
#include "LinuxCellContent.h"
#include "MatrixServiceTypes.h"
#include "MatrixStates.h"

#include "CanSelectWithNumWidget.h"

#include <QList>
#include <QMap>

class QAction;
class QGridLayout;
class QMenu;

namespace LUMO_DIGITALMATRIX_MODULE {

class ChannelWidget;
class SplitScreenToolBar;
class SwitchChannelsShowToolBar;

// One cell of the wall's channel grid: up to 16 channels shown in 1, 4, 9 or 16 panes,
// with its turn show, its split and page bars and its context menu. Every change goes to
// the matrix first; the cell changes only when the matrix accepted it.
class DIGITALMATRIX_EXPORT CellForConfigChannels : public COMMONUSELIB::CanSelectWithNumWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(CellForConfigChannels)

public:
    // Channels one cell holds at most.
    static constexpr int MaxChannels = LinuxCellContent::MaxChannels;

    explicit CellForConfigChannels(int index, QWidget *parent = nullptr);
    ~CellForConfigChannels() override;

    // Also hides the 9 and 16 split buttons on any screen but the first.
    void setShowNum(int num) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    // Reads the cell's channels, split, single pane and turn show from the matrix; sends
    // nothing.
    void loadFromServer();

    // Sends the channels as the cell's whole content; on success the cell holds them
    // (positions -1 take the lowest free ones, in list order). Returns the matrix result.
    int sendChannels(const QList<CellChannelItem> &items);
    // Sends one channel into a pane of the current page (added, or replacing the one there;
    // *modified tells which). Returns the matrix result.
    int sendChannelToPane(const CellChannelItem &item, int pane, bool *modified = nullptr);
    // Runs a turn-show operation (Algorithms of the turn show); an operation not allowed
    // from the current state does nothing and counts as done.
    // (notify false: a refusal is left to the caller to tell).
    bool turnShowOperate(CellTurnCode op, bool notify = true);
    // Stops the turn show and deletes the channel at a position; false on any failure.
    bool deleteChannelAt(int position);
    // Stops the turn show and deletes every channel; false at the first failure.
    bool deleteAllChannels();

    QMap<int, CellChannelItem> channelMap() const { return content.channels(); }
    // The channels in position order.
    QList<CellChannelItem> channelItems() const;
    bool hasChannels() const { return !content.isEmpty(); }
    int splitCount() const { return getSplitScreenCount(); }
    CellTurnCode turnState() const { return content.turnState(); }
    int turnInterval() const { return content.turnInterval(); }
    bool isTurnStarted() const;
    int currentPage() const { return content.currentPage(); }
    // Where the matrix reports the cell's turn show: its state, interval and the page on air,
    // whose channels the panes then show.
    void applyTurnPage(const CellTurnPage &reported);
    // The caption of the cell's turn show ("page k of n", the interval); empty when stopped.
    QString turnStatusText() const;
    int singlePane() const { return content.singlePane(); }
    int paneState() const { return curPaneState; }
    bool isOnWall() const { return onWall; }
    void setOnWall(bool on) { onWall = on; }
    int selectedPane() const { return selectedPaneIndex; }

    QList<ChannelWidget *> channelWidgets() const { return panes; }
    ChannelWidget *channelWidget(int paneIndex) const;
    int visiblePaneCount() const;
    // Index of the visible pane under a point of the inner widget, -1 if none.
    int paneIndexAt(const QPoint &innerPos) const;
    SplitScreenToolBar *splitBar() const { return splitToolBar; }
    SwitchChannelsShowToolBar *pageBar() const { return pageToolBar; }
    QMenu *contextMenu() const { return menu; }

signals:
    void signalCellDoubleClicked(int index);
    void signalHideCellsButThisIndex(int index);
    void signalShowAllCells();
    void signalSetSelChannelsToCheckedCell(int channelWtindex = -1);
    void signalDeleteChannelFromCellFinished(const QString &channelGuid, bool deleteSuccess);
    // What the cell shows changed (its channels, split, pane shown alone or turn show).
    void signalContentChanged();

public slots:
    void slotTurnShowStartActionTriggered();
    void slotTurnShowStopActionTriggered();
    void slotTurnShowPauseActionTriggered();
    void slotTurnShowContinueActionTriggred();
    void slotTurnShowTimeSetActionTriggered();
    void slotDeleteChannelActionTriggered();
    void slotDeleteAllChannelsActionTriggered();
    void slotCheckChannelsActionTriggered();
    void slotSplitScreenNum(int num, bool stopTurnShow = true, bool affectServer = true);
    void slotChannelWidgetDoubleClicked(int index);
    void slotDeleteChannelFromCell(const QString &channelGuid);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildMenu();
    void retranslateMenu();
    ChannelWidget *createPane(int paneIndex);
    // Fits the panes to a square of side sqrt(num), keeping the top-left ones.
    void fitPanes(int num);
    void layoutPanes();
    void updatePaneStretch();
    void fillPanes();
    // The panes show the channels of the page on air, the first one the turn caption.
    void showPageOnAir();
    void updatePageCount();
    // Shows every pane; with send, a pane shown alone is first restored on the matrix, and
    // a refusal (shown) keeps the cell as it is. Returns whether every pane is shown.
    bool showAllPanes(bool send);
    // Shows the pane of one position alone; with send, only once the matrix took it.
    bool showSinglePane(int position, bool send);
    void updateTurnView();
    void placeBars();
    bool removeChannel(int position);

    SplitScreenToolBar *splitToolBar = nullptr;
    SwitchChannelsShowToolBar *pageToolBar = nullptr;
    QList<ChannelWidget *> panes;
    LinuxCellContent content;
    int curPaneState = 1;
    bool onWall = false;
    QGridLayout *paneLayout = nullptr;
    int selectedPaneIndex = -1;

    QMenu *menu = nullptr;
    QMenu *turnShowMenu = nullptr;
    QMenu *deleteSourceMenu = nullptr;
    QAction *startAction = nullptr;
    QAction *stopAction = nullptr;
    QAction *pauseAction = nullptr;
    QAction *continueAction = nullptr;
    QAction *timeSetAction = nullptr;
    QAction *deleteChannelAction = nullptr;
    QAction *deleteAllChannelsAction = nullptr;
    QAction *checkChannelsAction = nullptr;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
