#include "CellForConfigChannels.h"

#include "CellChannelsCheckDlg.h"
#include "ChannelWidget.h"
#include "DigitalMatrixInteractionPort.h"
#include "LinuxPrompt.h"
#include "SplitScreenToolBar.h"
#include "SwitchChannelsShowToolBar.h"
#include "TurnShowTimeSetDlg.h"

#include "AreaWithChannelTree.h"
#include "QLogger.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QMenu>
#include <QMimeData>
#include <QVector>

#include <cmath>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {
// Largest side of a cell's square of panes (16 panes).
constexpr int MaxPaneSide = 4;
// Gap between panes while several are shown (the split lines).
constexpr int SplitLineWidth = 1;
// Distance of the bars from the cell's bottom edge.
constexpr int BarBottomGap = 4;

DigitalMatrixInteractionPort *port()
{
    return DigitalMatrixInteractionPort::instance();
}

bool isValidSplit(int num)
{
    return num == 1 || num == 4 || num == 9 || num == 16;
}

int sideOf(int paneCount)
{
    return qMax(1, int(std::lround(std::sqrt(double(paneCount)))));
}

bool carriesChannels(const QMimeData *data)
{
    return data && data->hasFormat(COMMONUSELIB::AreaWithChannelTree::channelMimeType());
}
} // namespace

CellForConfigChannels::CellForConfigChannels(int index, QWidget *parent)
    : COMMONUSELIB::CanSelectWithNumWidget(index, parent)
    , splitToolBar(new SplitScreenToolBar(this))
    , pageToolBar(new SwitchChannelsShowToolBar(this))
{
    setObjectName(QStringLiteral("channelCell%1").arg(index));
    splitToolBar->setObjectName(QStringLiteral("splitScreenToolBar"));
    pageToolBar->setObjectName(QStringLiteral("switchChannelsShowToolBar"));
    buildMenu();
    splitToolBar->hide();
    pageToolBar->hide();
    setShowNumVisible(false);

    QWidget *inner = getWidget();
    inner->setAcceptDrops(true);
    inner->installEventFilter(this);
    paneLayout = new QGridLayout(inner);
    paneLayout->setContentsMargins(0, 0, 0, 0);
    paneLayout->setSpacing(SplitLineWidth);
    panes.append(createPane(0));
    layoutPanes();

    connect(splitToolBar, &SplitScreenToolBar::signalSplitScreenNum, this,
            [this](int num) { slotSplitScreenNum(num, true, true); });
    updateTurnView();
}

CellForConfigChannels::~CellForConfigChannels() = default;

void CellForConfigChannels::buildMenu()
{
    menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("cellContextMenu"));
    menu->setProperty("lumo_menu", true);

    turnShowMenu = menu->addMenu(tr("Turn Show"));
    turnShowMenu->setObjectName(QStringLiteral("turnShowMenu"));
    turnShowMenu->setProperty("lumo_menu", true);
    startAction = turnShowMenu->addAction(tr("Start"));
    startAction->setObjectName(QStringLiteral("turnShowStartAction"));
    stopAction = turnShowMenu->addAction(tr("Stop"));
    stopAction->setObjectName(QStringLiteral("turnShowStopAction"));
    pauseAction = turnShowMenu->addAction(tr("Pause"));
    pauseAction->setObjectName(QStringLiteral("turnShowPauseAction"));
    continueAction = turnShowMenu->addAction(tr("Continue"));
    continueAction->setObjectName(QStringLiteral("turnShowContinueAction"));
    timeSetAction = turnShowMenu->addAction(tr("Time Set"));
    timeSetAction->setObjectName(QStringLiteral("turnShowTimeSetAction"));

    deleteSourceMenu = menu->addMenu(tr("Delete Source"));
    deleteSourceMenu->setObjectName(QStringLiteral("deleteSourceMenu"));
    deleteSourceMenu->setProperty("lumo_menu", true);
    deleteChannelAction = deleteSourceMenu->addAction(tr("Delete The Channel"));
    deleteChannelAction->setObjectName(QStringLiteral("deleteChannelAction"));
    deleteAllChannelsAction = deleteSourceMenu->addAction(tr("Delete Cell Channels"));
    deleteAllChannelsAction->setObjectName(QStringLiteral("deleteAllChannelsAction"));

    checkChannelsAction = menu->addAction(tr("Check Source"));
    checkChannelsAction->setObjectName(QStringLiteral("checkChannelsAction"));

    connect(startAction, &QAction::triggered, this,
            &CellForConfigChannels::slotTurnShowStartActionTriggered);
    connect(stopAction, &QAction::triggered, this,
            &CellForConfigChannels::slotTurnShowStopActionTriggered);
    connect(pauseAction, &QAction::triggered, this,
            &CellForConfigChannels::slotTurnShowPauseActionTriggered);
    connect(continueAction, &QAction::triggered, this,
            &CellForConfigChannels::slotTurnShowContinueActionTriggred);
    connect(timeSetAction, &QAction::triggered, this,
            &CellForConfigChannels::slotTurnShowTimeSetActionTriggered);
    connect(deleteChannelAction, &QAction::triggered, this,
            &CellForConfigChannels::slotDeleteChannelActionTriggered);
    connect(deleteAllChannelsAction, &QAction::triggered, this,
            &CellForConfigChannels::slotDeleteAllChannelsActionTriggered);
    connect(checkChannelsAction, &QAction::triggered, this,
            &CellForConfigChannels::slotCheckChannelsActionTriggered);
}

ChannelWidget *CellForConfigChannels::createPane(int paneIndex)
{
    auto *pane = new ChannelWidget(paneIndex, getWidget());
    pane->setTurning(isTurnStarted());
    connect(pane, &ChannelWidget::signalChannelWidgetDoubleClicked, this,
            &CellForConfigChannels::slotChannelWidgetDoubleClicked);
    return pane;
}

void CellForConfigChannels::setShowNum(int num)
{
    COMMONUSELIB::CanSelectWithNumWidget::setShowNum(num);
    // Only the first screen decodes 9 and 16 panes.
    splitToolBar->setSplitButtonVisible(9, num == 1);
    splitToolBar->setSplitButtonVisible(16, num == 1);
}

bool CellForConfigChannels::isTurnOperationAllowed(CellTurnCode state, CellTurnCode op)
{
    switch (op) {
    case CellTurnCode::TurnStart:
        return state == CellTurnCode::TurnStop || state == CellTurnCode::TurnPause;
    case CellTurnCode::TurnStop:
        return state == CellTurnCode::TurnStart || state == CellTurnCode::TurnPause
                || state == CellTurnCode::TurnContinue;
    case CellTurnCode::TurnPause:
        return state == CellTurnCode::TurnStart || state == CellTurnCode::TurnContinue;
    case CellTurnCode::TurnContinue:
        return state == CellTurnCode::TurnPause;
    default:
        return false;
    }
}

bool CellForConfigChannels::isTurnStarted() const
{
    return curTurnState == CellTurnCode::TurnStart || curTurnState == CellTurnCode::TurnContinue;
}

QList<CellChannelItem> CellForConfigChannels::channelItems() const
{
    return channels.values();
}

ChannelWidget *CellForConfigChannels::channelWidget(int paneIndex) const
{
    return paneIndex >= 0 && paneIndex < panes.size() ? panes.at(paneIndex) : nullptr;
}

int CellForConfigChannels::visiblePaneCount() const
{
    int count = 0;
    for (const ChannelWidget *pane : panes) {
        if (!pane->isHidden())
            ++count;
    }
    return count;
}

int CellForConfigChannels::paneIndexAt(const QPoint &innerPos) const
{
    for (const ChannelWidget *pane : panes) {
        if (!pane->isHidden() && pane->geometry().contains(innerPos))
            return pane->getIndex();
    }
    return -1;
}

// ---- Loading ------------------------------------------------------------------------

void CellForConfigChannels::loadFromServer()
{
    QMap<int, CellChannelItem *> read;
    int split = 0;
    const int result = port()->getCellChannels(getIndex(), &read, &split);
    if (result == 0 && split != 0) {
        if (isValidSplit(split)) {
            channels.clear();
            for (auto it = read.cbegin(); it != read.cend(); ++it) {
                if (!it.value() || it.key() < 0 || it.key() >= MaxChannels)
                    continue;
                CellChannelItem item = *it.value();
                item.position = it.key();
                channels.insert(it.key(), item);
            }
            fitPanes(split);
            setSplitScreenCount(split);
            updatePageCount();
            fillPanes();
            showAllPanes(false);
        } else {
            QLogger::instance()->LogInfo(QStringLiteral("Linux matrix cell %1 reports split %2")
                                                 .arg(getIndex())
                                                 .arg(split));
        }
    }
    qDeleteAll(read);
    read.clear();

    int window = -1;
    port()->getCellSingleWindow(getIndex(), &window);
    if (window >= 0 && window < panes.size())
        showSinglePane(window, false);

    CellTurnInfo info;
    info.turnInterval = curTurnInterval;
    info.turnState = int(CellTurnCode::TurnStop);
    if (port()->getCellTurnShow(getIndex(), &info) == 0) {
        if (info.turnInterval > 0)
            curTurnInterval = info.turnInterval;
        if (info.turnState >= int(CellTurnCode::TurnStart)
            && info.turnState <= int(CellTurnCode::TurnContinue))
            curTurnState = CellTurnCode(info.turnState);
    }
    updateTurnView();
}

// ---- Channels -----------------------------------------------------------------------

int CellForConfigChannels::sendChannels(const QList<CellChannelItem> &items)
{
    if (items.size() > MaxChannels)
        return DigitalMatrixInteractionPort::RefusedByPort;
    QList<CellChannelItem> copies = items;
    QList<CellChannelItem *> records;
    for (CellChannelItem &item : copies)
        records.append(&item);
    const int result = port()->setCellChannels(getIndex(), splitCount(), records);
    if (result != 0)
        return result;

    turnShowOperate(CellTurnCode::TurnStop);
    // Channels with a place keep it; the others take the lowest free places in order, as
    // the matrix places them.
    channels.clear();
    QList<CellChannelItem> unplaced;
    for (CellChannelItem item : qAsConst(copies)) {
        if (item.position >= 0 && item.position < MaxChannels && !channels.contains(item.position))
            channels.insert(item.position, item);
        else
            unplaced.append(item);
    }
    int next = 0;
    for (CellChannelItem item : qAsConst(unplaced)) {
        while (channels.contains(next))
            ++next;
        item.position = next;
        channels.insert(next, item);
    }
    updatePageCount();
    fillPanes();
    // The matrix ended any pane shown alone with the new channels.
    showAllPanes(false);
    return 0;
}

int CellForConfigChannels::sendChannelToPane(const CellChannelItem &item, int pane, bool *modified)
{
    const bool held = channels.contains(curPage * splitCount() + pane)
            && !channels.value(curPage * splitCount() + pane).channelId.isEmpty();
    if (modified)
        *modified = held;
    if (pane < 0 || pane >= panes.size())
        return DigitalMatrixInteractionPort::RefusedByPort;
    CellChannelItem placed = item;
    placed.position = curPage * splitCount() + pane;
    const int result = port()->putCellChannel(getIndex(), placed, held ? 1 : 0);
    if (result != 0)
        return result;
    turnShowOperate(CellTurnCode::TurnStop);
    channels.insert(placed.position, placed);
    updatePageCount();
    fillPanes();
    return 0;
}

bool CellForConfigChannels::removeChannel(int position)
{
    if (port()->deleteCellChannel(getIndex(), position) != 0)
        return false;
    channels.remove(position);
    updatePageCount();
    fillPanes();
    if (position == singlePanePosition) {
        // The matrix ends the view of a pane shown alone when its channel goes; so does the
        // cell, without asking the matrix again.
        showAllPanes(false);
    }
    return true;
}

bool CellForConfigChannels::deleteChannelAt(int position)
{
    if (!turnShowOperate(CellTurnCode::TurnStop))
        return false;
    return removeChannel(position);
}

bool CellForConfigChannels::deleteAllChannels()
{
    if (!turnShowOperate(CellTurnCode::TurnStop))
        return false;
    while (!channels.isEmpty()) {
        if (!removeChannel(channels.firstKey()))
            return false;
    }
    return true;
}

// ---- Panes --------------------------------------------------------------------------

void CellForConfigChannels::fitPanes(int num)
{
    const int newSide = sideOf(num);
    const int oldSide = sideOf(panes.size());
    QVector<ChannelWidget *> fitted(newSide * newSide, nullptr);
    for (ChannelWidget *pane : qAsConst(panes)) {
        const int row = pane->getIndex() / oldSide;
        const int column = pane->getIndex() % oldSide;
        if (row < newSide && column < newSide) {
            const int index = row * newSide + column;
            pane->setIndex(index);
            fitted[index] = pane;
        } else {
            paneLayout->removeWidget(pane);
            pane->hide();
            pane->deleteLater();
        }
    }
    for (int index = 0; index < fitted.size(); ++index) {
        if (!fitted.at(index))
            fitted[index] = createPane(index);
    }
    panes = fitted.toList();
    layoutPanes();
}

void CellForConfigChannels::layoutPanes()
{
    const int side = sideOf(panes.size());
    for (ChannelWidget *pane : qAsConst(panes))
        paneLayout->removeWidget(pane);
    for (ChannelWidget *pane : qAsConst(panes))
        paneLayout->addWidget(pane, pane->getIndex() / side, pane->getIndex() % side);
    updatePaneStretch();
}

void CellForConfigChannels::updatePaneStretch()
{
    // Rows and columns share the cell evenly as long as they show a pane; the others
    // (beyond the square, or of hidden panes) take no room.
    const int side = sideOf(panes.size());
    QVector<bool> rowShown(MaxPaneSide, false);
    QVector<bool> columnShown(MaxPaneSide, false);
    for (const ChannelWidget *pane : qAsConst(panes)) {
        if (pane->isHidden())
            continue;
        rowShown[pane->getIndex() / side] = true;
        columnShown[pane->getIndex() % side] = true;
    }
    for (int i = 0; i < MaxPaneSide; ++i) {
        paneLayout->setRowStretch(i, rowShown.at(i) ? 1 : 0);
        paneLayout->setColumnStretch(i, columnShown.at(i) ? 1 : 0);
    }
}

void CellForConfigChannels::fillPanes()
{
    for (ChannelWidget *pane : qAsConst(panes)) {
        const auto found = channels.constFind(pane->getIndex());
        if (found != channels.constEnd())
            pane->setChannelItem(found.value());
        else
            pane->clearChannelItem();
    }
    curPage = 0;
    pageToolBar->setCurrentPage(0);
}

void CellForConfigChannels::updatePageCount()
{
    const int split = qMax(1, splitCount());
    pageToolBar->setPageCount((channels.size() + split - 1) / split);
    curPage = 0;
    pageToolBar->setCurrentPage(0);
}

bool CellForConfigChannels::showAllPanes(bool send)
{
    // A pane shown alone on the matrix comes back to all panes there first: the cell never
    // shows every pane while the matrix shows one.
    if (send && singlePanePosition != -1) {
        const int result = port()->setCellSingleWindow(getIndex(), 0, 0);
        if (result != 0) {
            QLogger::instance()->LogInfo(
                    QStringLiteral("Linux matrix cell %1: restoring all panes failed (%2)")
                            .arg(getIndex())
                            .arg(result));
            LinuxPrompt::notice(this, tr("Show all windows fail!"));
            return false;
        }
    }
    for (ChannelWidget *pane : qAsConst(panes))
        pane->show();
    paneLayout->setSpacing(SplitLineWidth);
    updatePaneStretch();
    singlePanePosition = -1;
    return true;
}

bool CellForConfigChannels::showSinglePane(int position, bool send)
{
    ChannelWidget *shown = nullptr;
    for (ChannelWidget *pane : qAsConst(panes)) {
        if (pane->getIndex() + curPage * splitCount() == position)
            shown = pane;
    }
    if (!shown)
        return false;
    if (send && port()->setCellSingleWindow(getIndex(), position, 1) != 0) {
        LinuxPrompt::notice(this, tr("Show single window fail!"));
        return false;
    }
    for (ChannelWidget *pane : qAsConst(panes))
        pane->setVisible(pane == shown);
    paneLayout->setSpacing(0);
    updatePaneStretch();
    singlePanePosition = position;
    return true;
}

// ---- Turn show ----------------------------------------------------------------------

bool CellForConfigChannels::turnShowOperate(CellTurnCode op)
{
    if (op < CellTurnCode::TurnStart || op > CellTurnCode::TurnContinue)
        return false;
    if (!isTurnOperationAllowed(curTurnState, op))
        return true;
    CellTurnInfo info;
    info.turnInterval = curTurnInterval;
    info.turnState = int(op);
    if (port()->setCellTurnShow(getIndex(), info, splitCount()) != 0) {
        static const char *const failures[] = {
                QT_TR_NOOP("Start turn show fail!"), QT_TR_NOOP("Stop turn show fail!"),
                QT_TR_NOOP("Pause turn show fail!"), QT_TR_NOOP("Continue turn show fail!")};
        LinuxPrompt::notice(this, tr(failures[int(op)]));
        return false;
    }
    curTurnState = op;
    updateTurnView();
    return true;
}

void CellForConfigChannels::updateTurnView()
{
    startAction->setVisible(isTurnOperationAllowed(curTurnState, CellTurnCode::TurnStart));
    stopAction->setVisible(isTurnOperationAllowed(curTurnState, CellTurnCode::TurnStop));
    pauseAction->setVisible(isTurnOperationAllowed(curTurnState, CellTurnCode::TurnPause));
    continueAction->setVisible(isTurnOperationAllowed(curTurnState, CellTurnCode::TurnContinue));
    const bool turning = isTurnStarted();
    for (ChannelWidget *pane : qAsConst(panes))
        pane->setTurning(turning);
}

void CellForConfigChannels::slotTurnShowStartActionTriggered()
{
    turnShowOperate(CellTurnCode::TurnStart);
}

void CellForConfigChannels::slotTurnShowStopActionTriggered()
{
    turnShowOperate(CellTurnCode::TurnStop);
}

void CellForConfigChannels::slotTurnShowPauseActionTriggered()
{
    turnShowOperate(CellTurnCode::TurnPause);
}

void CellForConfigChannels::slotTurnShowContinueActionTriggred()
{
    turnShowOperate(CellTurnCode::TurnContinue);
}

void CellForConfigChannels::slotTurnShowTimeSetActionTriggered()
{
    // Owned by the window: the cell may be disabled while the dialog is open.
    TurnShowTimeSetDlg dialog(curTurnInterval, window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int seconds = dialog.getTurnShowTime();
    CellTurnInfo info;
    info.turnInterval = seconds;
    info.turnState = int(curTurnState);
    if (port()->setCellTurnShow(getIndex(), info, splitCount()) != 0) {
        LinuxPrompt::notice(this, tr("Set turn show time fail!"));
        return;
    }
    curTurnInterval = seconds;
}

// ---- Menu actions -------------------------------------------------------------------

void CellForConfigChannels::slotDeleteChannelActionTriggered()
{
    if (selectedPaneIndex == -1)
        return;
    const ChannelWidget *pane = channelWidget(selectedPaneIndex);
    if (!pane)
        return;
    const CellChannelItem item = pane->getChannelItem();
    if (item.channelId.isEmpty()) {
        LinuxPrompt::notice(this, tr("no channel is selected!"));
        return;
    }
    if (!LinuxPrompt::ask(this, tr("Make sure delete the channel:%1?").arg(item.channelName)))
        return;
    if (!turnShowOperate(CellTurnCode::TurnStop))
        return;
    if (!removeChannel(item.position))
        LinuxPrompt::notice(this, tr("Delete channel from cell fail!"));
}

void CellForConfigChannels::slotDeleteAllChannelsActionTriggered()
{
    if (!hasChannels())
        return;
    if (!LinuxPrompt::ask(this, tr("Make sure clear cell channels?")))
        return;
    if (!turnShowOperate(CellTurnCode::TurnStop))
        return;
    if (!deleteAllChannels())
        LinuxPrompt::notice(this, tr("Delete cell channels fail!"));
}

void CellForConfigChannels::slotCheckChannelsActionTriggered()
{
    CellChannelsCheckDlg dialog(window());
    dialog.setChannels(channelItems());
    connect(this, &CellForConfigChannels::signalDeleteChannelFromCellFinished, &dialog,
            &CellChannelsCheckDlg::slotDeleteChannelFromTable);
    connect(&dialog, &CellChannelsCheckDlg::signalDeleteChannelFromCell, this,
            &CellForConfigChannels::slotDeleteChannelFromCell);
    dialog.exec();
}

void CellForConfigChannels::slotDeleteChannelFromCell(const QString &channelGuid)
{
    // The check dialog names a position; a channel GUID names the first position holding it.
    bool isPosition = false;
    int position = channelGuid.toInt(&isPosition);
    if (!isPosition || !channels.contains(position)) {
        position = -1;
        for (auto it = channels.cbegin(); it != channels.cend(); ++it) {
            if (!channelGuid.isEmpty() && it.value().channelId == channelGuid) {
                position = it.key();
                break;
            }
        }
    }
    const bool deleted = position >= 0 && deleteChannelAt(position);
    emit signalDeleteChannelFromCellFinished(channelGuid, deleted);
}

// ---- Split and double click ---------------------------------------------------------

void CellForConfigChannels::slotSplitScreenNum(int num, bool stopTurnShow, bool affectServer)
{
    if (!isValidSplit(num))
        return;
    if (stopTurnShow)
        turnShowOperate(CellTurnCode::TurnStop);
    if (affectServer && port()->setCellSplit(getIndex(), num) != 0) {
        LinuxPrompt::notice(this, tr("split screen fail!"));
        return;
    }
    fitPanes(num);
    setSplitScreenCount(num);
    updatePageCount();
    fillPanes();
    showAllPanes(true);
}

void CellForConfigChannels::slotChannelWidgetDoubleClicked(int index)
{
    if (!channelWidget(index))
        return;
    if (curTurnState != CellTurnCode::TurnStop) {
        LinuxPrompt::notice(this, tr("Forbid to melting flat while turn show!"));
        return;
    }
    const int split = splitCount();
    const bool severalCells = getPeerWidgetCount() > 1;
    if (split <= 1) {
        if (severalCells)
            emit signalCellDoubleClicked(getIndex());
        return;
    }
    const int position = index + curPage * split;
    if (!severalCells) {
        if (visiblePaneCount() < 2)
            showAllPanes(true);
        else
            showSinglePane(position, true);
        return;
    }
    if (visiblePaneCount() >= 2) {
        if (showSinglePane(position, true))
            curPaneState = 1;
        return;
    }
    if (!onWall) {
        // The grid spreads the cell and marks it on the wall once the matrix took it.
        emit signalHideCellsButThisIndex(getIndex());
        return;
    }
    if (!showAllPanes(true))
        return;
    emit signalShowAllCells();
    curPaneState = 2;
}

// ---- Events -------------------------------------------------------------------------

bool CellForConfigChannels::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != getWidget())
        return COMMONUSELIB::CanSelectWithNumWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto *drag = static_cast<QDragEnterEvent *>(event);
        if (!carriesChannels(drag->mimeData())) {
            drag->ignore();
            return true;
        }
        drag->acceptProposedAction();
        setWidgetChecked(true);
        emit signalWidgetIsChecked(getIndex());
        return true;
    }
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (carriesChannels(drag->mimeData()))
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::DragLeave:
        setWidgetChecked(false);
        emit signalWidgetIsChecked(-1);
        return true;
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (!carriesChannels(drop->mimeData())) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        emit signalSetSelChannelsToCheckedCell(paneIndexAt(drop->pos()));
        return true;
    }
    default:
        break;
    }
    return COMMONUSELIB::CanSelectWithNumWidget::eventFilter(watched, event);
}

void CellForConfigChannels::contextMenuEvent(QContextMenuEvent *event)
{
    if (!hasChannels()) {
        event->ignore();
        return;
    }
    selectedPaneIndex = paneIndexAt(getWidget()->mapFrom(this, event->pos()));
    updateTurnView();
    menu->popup(event->globalPos());
    event->accept();
}

void CellForConfigChannels::resizeEvent(QResizeEvent *event)
{
    COMMONUSELIB::CanSelectWithNumWidget::resizeEvent(event);
    placeBars();
}

void CellForConfigChannels::placeBars()
{
    const int y = height() - BarBottomGap - splitToolBar->height();
    splitToolBar->move(2, y);
    pageToolBar->move(width() - pageToolBar->width(), y);
}

void CellForConfigChannels::enterEvent(QEvent *event)
{
    placeBars();
    splitToolBar->show();
    splitToolBar->raise();
    // Paging is the matrix's turn show: the page bar stays out of sight.
    pageToolBar->show();
    pageToolBar->hide();
    COMMONUSELIB::CanSelectWithNumWidget::enterEvent(event);
}

void CellForConfigChannels::leaveEvent(QEvent *event)
{
    splitToolBar->hide();
    pageToolBar->hide();
    COMMONUSELIB::CanSelectWithNumWidget::leaveEvent(event);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
