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

    turnShowMenu = menu->addMenu(QString());
    turnShowMenu->setObjectName(QStringLiteral("turnShowMenu"));
    turnShowMenu->setProperty("lumo_menu", true);
    startAction = turnShowMenu->addAction(QString());
    startAction->setObjectName(QStringLiteral("turnShowStartAction"));
    stopAction = turnShowMenu->addAction(QString());
    stopAction->setObjectName(QStringLiteral("turnShowStopAction"));
    pauseAction = turnShowMenu->addAction(QString());
    pauseAction->setObjectName(QStringLiteral("turnShowPauseAction"));
    continueAction = turnShowMenu->addAction(QString());
    continueAction->setObjectName(QStringLiteral("turnShowContinueAction"));
    timeSetAction = turnShowMenu->addAction(QString());
    timeSetAction->setObjectName(QStringLiteral("turnShowTimeSetAction"));

    deleteSourceMenu = menu->addMenu(QString());
    deleteSourceMenu->setObjectName(QStringLiteral("deleteSourceMenu"));
    deleteSourceMenu->setProperty("lumo_menu", true);
    deleteChannelAction = deleteSourceMenu->addAction(QString());
    deleteChannelAction->setObjectName(QStringLiteral("deleteChannelAction"));
    deleteAllChannelsAction = deleteSourceMenu->addAction(QString());
    deleteAllChannelsAction->setObjectName(QStringLiteral("deleteAllChannelsAction"));

    checkChannelsAction = menu->addAction(QString());
    checkChannelsAction->setObjectName(QStringLiteral("checkChannelsAction"));
    retranslateMenu();

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

bool CellForConfigChannels::isTurnStarted() const
{
    return content.isTurnStarted();
}

QList<CellChannelItem> CellForConfigChannels::channelItems() const
{
    return content.channels().values();
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
            content.setReported(read);
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

    CellTurnInfo info = content.turnInfo(CellTurnCode::TurnStop);
    if (port()->getCellTurnShow(getIndex(), &info) == 0)
        content.setReportedTurn(info);
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
    content.place(copies);
    updatePageCount();
    fillPanes();
    // The matrix ended any pane shown alone with the new channels.
    showAllPanes(false);
    return 0;
}

int CellForConfigChannels::sendChannelToPane(const CellChannelItem &item, int pane, bool *modified)
{
    const bool held = content.holdsChannelAt(content.positionOfPane(pane, splitCount()));
    if (modified)
        *modified = held;
    if (pane < 0 || pane >= panes.size())
        return DigitalMatrixInteractionPort::RefusedByPort;
    CellChannelItem placed = item;
    placed.position = content.positionOfPane(pane, splitCount());
    const int result = port()->putCellChannel(getIndex(), placed, held ? 1 : 0);
    if (result != 0)
        return result;
    turnShowOperate(CellTurnCode::TurnStop);
    content.put(placed);
    updatePageCount();
    fillPanes();
    return 0;
}

bool CellForConfigChannels::removeChannel(int position)
{
    if (port()->deleteCellChannel(getIndex(), position) != 0)
        return false;
    content.remove(position);
    updatePageCount();
    fillPanes();
    if (position == content.singlePane()) {
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
    while (!content.isEmpty()) {
        if (!removeChannel(content.channels().firstKey()))
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
    content.firstPage();
    pageToolBar->setCurrentPage(0);
    showPageOnAir();
}

void CellForConfigChannels::showPageOnAir()
{
    const QString caption = turnStatusText();
    for (ChannelWidget *pane : qAsConst(panes)) {
        const int position = content.positionOfPane(pane->getIndex(), splitCount());
        const auto found = content.channels().constFind(position);
        if (found != content.channels().constEnd())
            pane->setChannelItem(found.value());
        else
            pane->clearChannelItem();
        pane->setCaption(pane->getIndex() == 0 ? caption : QString());
    }
    emit signalContentChanged();
}

QString CellForConfigChannels::turnStatusText() const
{
    const int pages = qMax(1, content.pageCount(splitCount()));
    const int page = content.currentPage() + 1;
    if (content.isTurnStarted()) {
        return pages > 1
                ? tr("page %1 of %2, every %3 s").arg(page).arg(pages).arg(content.turnInterval())
                : tr("turn show, every %1 s").arg(content.turnInterval());
    }
    if (content.turnState() == CellTurnCode::TurnPause)
        return tr("paused: page %1 of %2").arg(page).arg(pages);
    return QString();
}

void CellForConfigChannels::applyTurnPage(const CellTurnPage &reported)
{
    const int state = CellTurnInfo::fromServiceCode(reported.state);
    if (state >= 0 && CellTurnCode(state) != content.turnState()
        && !(content.isTurnStarted() && state == int(CellTurnCode::TurnStart))) {
        content.setTurnState(CellTurnCode(state));
        updateTurnView();
    }
    if (reported.interval > 0)
        content.setTurnInterval(reported.interval);
    // A stopped show stands on its first page.
    content.setPage(state == int(CellTurnCode::TurnStop) ? 0 : reported.page, splitCount());
    pageToolBar->setCurrentPage(content.currentPage());
    showPageOnAir();
}

void CellForConfigChannels::updatePageCount()
{
    pageToolBar->setPageCount(content.pageCount(splitCount()));
    content.firstPage();
    pageToolBar->setCurrentPage(0);
}

bool CellForConfigChannels::showAllPanes(bool send)
{
    // A pane shown alone on the matrix comes back to all panes there first: the cell never
    // shows every pane while the matrix shows one.
    if (send && content.singlePane() != -1) {
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
    content.setSinglePane(-1);
    emit signalContentChanged();
    return true;
}

bool CellForConfigChannels::showSinglePane(int position, bool send)
{
    ChannelWidget *shown = nullptr;
    for (ChannelWidget *pane : qAsConst(panes)) {
        if (content.positionOfPane(pane->getIndex(), splitCount()) == position)
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
    content.setSinglePane(position);
    emit signalContentChanged();
    return true;
}

// ---- Turn show ----------------------------------------------------------------------

bool CellForConfigChannels::turnShowOperate(CellTurnCode op, bool notify)
{
    if (op < CellTurnCode::TurnStart || op > CellTurnCode::TurnContinue)
        return false;
    if (!content.allows(op))
        return true;
    if (port()->setCellTurnShow(getIndex(), content.turnInfo(op), splitCount()) != 0) {
        static const char *const failures[] = {
                QT_TR_NOOP("Start turn show fail!"), QT_TR_NOOP("Stop turn show fail!"),
                QT_TR_NOOP("Pause turn show fail!"), QT_TR_NOOP("Continue turn show fail!")};
        if (notify)
            LinuxPrompt::notice(this, tr(failures[int(op)]));
        return false;
    }
    content.setTurnState(op);
    updateTurnView();
    return true;
}

void CellForConfigChannels::updateTurnView()
{
    startAction->setVisible(content.allows(CellTurnCode::TurnStart));
    stopAction->setVisible(content.allows(CellTurnCode::TurnStop));
    pauseAction->setVisible(content.allows(CellTurnCode::TurnPause));
    continueAction->setVisible(content.allows(CellTurnCode::TurnContinue));
    const bool turning = isTurnStarted();
    for (ChannelWidget *pane : qAsConst(panes))
        pane->setTurning(turning);
    // A new state: a stopped show is back on its first page.
    if (!turning && content.turnState() != CellTurnCode::TurnPause)
        content.firstPage();
    showPageOnAir();
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
    TurnShowTimeSetDlg dialog(content.turnInterval(), window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int seconds = dialog.getTurnShowTime();
    CellTurnInfo info;
    info.turnInterval = seconds;
    info.turnState = int(content.turnState());
    if (port()->setCellTurnShow(getIndex(), info, splitCount()) != 0) {
        LinuxPrompt::notice(this, tr("Set turn show time fail!"));
        return;
    }
    content.setTurnInterval(seconds);
    emit signalContentChanged();
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
    const int position = content.positionNamedBy(channelGuid);
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
    // Nothing is spread while the cell turns: the operator may stop its turn show first.
    if (content.turnState() != CellTurnCode::TurnStop
        && (!LinuxPrompt::ask(this,
                              tr("Forbid to melting flat while turn show! Stop the turn "
                                 "show and melt flat?"))
            || !turnShowOperate(CellTurnCode::TurnStop)))
        return;
    const int split = splitCount();
    const bool severalCells = getPeerWidgetCount() > 1;
    if (split <= 1) {
        if (severalCells)
            emit signalCellDoubleClicked(getIndex());
        return;
    }
    const int position = content.positionOfPane(index, split);
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

void CellForConfigChannels::retranslateMenu()
{
    turnShowMenu->setTitle(tr("Turn Show"));
    startAction->setText(tr("Start"));
    stopAction->setText(tr("Stop"));
    pauseAction->setText(tr("Pause"));
    continueAction->setText(tr("Continue"));
    timeSetAction->setText(tr("Time Set"));
    deleteSourceMenu->setTitle(tr("Delete Source"));
    deleteChannelAction->setText(tr("Delete The Channel"));
    deleteAllChannelsAction->setText(tr("Delete Cell Channels"));
    checkChannelsAction->setText(tr("Check Source"));
}

void CellForConfigChannels::changeEvent(QEvent *event)
{
    COMMONUSELIB::CanSelectWithNumWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslateMenu();
}

} // namespace LUMO_DIGITALMATRIX_MODULE
