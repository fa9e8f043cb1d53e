#include "ConfigChannelsWidget.h"

#include "CellForConfigChannels.h"
#include "DigitalMatrixInteractionPort.h"
#include "LinuxPrompt.h"

#include "CanSelectWithNumWidget.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {
DigitalMatrixInteractionPort *port()
{
    return DigitalMatrixInteractionPort::instance();
}
} // namespace

ConfigChannelsWidget::ConfigChannelsWidget(QWidget *parent)
    : CellsArrangeWidget(parent)
{
    // The grid takes the keyboard for its cells.
    setFocusPolicy(Qt::StrongFocus);
    resetToPlaceholder();
}

ConfigChannelsWidget::~ConfigChannelsWidget() = default;

void ConfigChannelsWidget::createCells(int rows, int columns)
{
    clearCells();
    const int count = rows * columns;
    for (int k = 0; k < count; ++k)
        cells.append(new CellForConfigChannels(k, this));
}

void ConfigChannelsWidget::setRowColumn(int rows, int columns)
{
    if (rows * columns == 0)
        return;
    wallCell = -1;
    CellsArrangeWidget::setRowColumn(rows, columns);
    for (COMMONUSELIB::CanSelectWithNumWidget *widget : qAsConst(cells)) {
        auto *cell = qobject_cast<CellForConfigChannels *>(widget);
        if (!cell)
            continue;
        connect(cell, &CellForConfigChannels::signalCellDoubleClicked, this,
                &ConfigChannelsWidget::slotCellDoubleClicked);
        connect(cell, &CellForConfigChannels::signalHideCellsButThisIndex, this,
                [this](int index) { slotHideCellsButThisIndex(index, true); });
        connect(cell, &CellForConfigChannels::signalShowAllCells, this,
                &ConfigChannelsWidget::slotShowAllCells);
        connect(cell, &CellForConfigChannels::signalSetSelChannelsToCheckedCell, this,
                &ConfigChannelsWidget::signalSetSelChannelsToCheckedCell);
        // A double click on an empty pane reaches the cell itself: it brings a spread
        // cell back, which a cell without channels could not do otherwise.
        connect(cell, &CellForConfigChannels::signalWidgetDoubleClick, this,
                &ConfigChannelsWidget::restoreSpreadCell);
        connect(cell, &CellForConfigChannels::signalContentChanged, this,
                &ConfigChannelsWidget::signalWallChanged);
    }
    configured = true;
    checkedCellIndex = -1;
}

void ConfigChannelsWidget::focusInEvent(QFocusEvent *event)
{
    CellsArrangeWidget::focusInEvent(event);
    // Arriving by keyboard, the first shown cell is checked so that the keys have a cell.
    if (configured && checkedCellIndex < 0 && event->reason() != Qt::MouseFocusReason) {
        for (COMMONUSELIB::CanSelectWithNumWidget *cell : qAsConst(cells)) {
            if (!cell->isHidden() && cell->isWidgetCheckable()) {
                slotCellIsChecked(cell->getIndex());
                break;
            }
        }
    }
}

void ConfigChannelsWidget::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const bool arrow =
            key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!arrow && !enter) {
        CellsArrangeWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    // The placeholder and a cell spread over the wall offer nothing to move between, and a grid
    // out of sight (the arrangement step shows its own) takes no keys.
    if (!configured || wallCell >= 0 || !isVisible())
        return;
    CellForConfigChannels *current = getCellByIndex(checkedCellIndex);
    if (enter) {
        // The menu the right button opens on the cell (a cell without channels has none).
        if (current && !event->isAutoRepeat()) {
            const QPoint centre = current->rect().center();
            QContextMenuEvent menu(QContextMenuEvent::Keyboard, centre,
                                   current->mapToGlobal(centre));
            QCoreApplication::sendEvent(current, &menu);
        }
        return;
    }
    int row = current ? checkedCellIndex / columns : 0;
    int column = current ? checkedCellIndex % columns : 0;
    if (current) {
        row += key == Qt::Key_Up ? -1 : key == Qt::Key_Down ? 1 : 0;
        column += key == Qt::Key_Left ? -1 : key == Qt::Key_Right ? 1 : 0;
    }
    if (row < 0 || row >= rows || column < 0 || column >= columns)
        return;
    CellForConfigChannels *next = getCellByIndex(row * columns + column);
    if (next && next->isWidgetCheckable() && next->isEnabled())
        slotCellIsChecked(next->getIndex());
}

void ConfigChannelsWidget::resetToPlaceholder()
{
    configured = false;
    noGridReported = false;
    wallCell = -1;
    checkedCellIndex = -1;
    clearCells();
    auto *placeholder = new COMMONUSELIB::CanSelectWithNumWidget(0, this);
    placeholder->setObjectName(QStringLiteral("placeholderCell"));
    placeholder->setWidgetCheckable(false);
    placeholder->setShowNumVisible(false);
    auto *layout = new QVBoxLayout(placeholder->getWidget());
    placeholderLabel = new QLabel(placeholder->getWidget());
    placeholderLabel->setObjectName(QStringLiteral("placeholderLab"));
    placeholderLabel->setAlignment(Qt::AlignCenter);
    placeholderLabel->setWordWrap(true);
    placeholderLabel->setStyleSheet(QStringLiteral("color: #c8ced6;"));
    layout->addWidget(placeholderLabel);
    cells.append(placeholder);
    gridLayout->addWidget(placeholder, 0, 0);
    updatePlaceholderText();
}

QString ConfigChannelsWidget::placeholderText() const
{
    return placeholderLabel && !configured ? placeholderLabel->text() : QString();
}

void ConfigChannelsWidget::updatePlaceholderText()
{
    if (!placeholderLabel)
        return;
    // A page that only watches the matrix cannot arrange its screens.
    if (!noGridReported)
        placeholderLabel->clear();
    else if (isEnabled())
        placeholderLabel->setText(tr("The matrix has no arrangement of its screens yet: use "
                                     "\"Config Matrix\" to arrange them."));
    else
        placeholderLabel->setText(tr("The matrix has no arrangement of its screens yet."));
}

void ConfigChannelsWidget::changeEvent(QEvent *event)
{
    CellsArrangeWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange || event->type() == QEvent::EnabledChange)
        updatePlaceholderText();
}

void ConfigChannelsWidget::loadFromServer()
{
    const QStringList numbers = port()->getScreenNumbers();
    int gridRows = -1;
    int gridColumns = -1;
    int meltedCell = -1;
    if (port()->getScreenGrid(&gridRows, &gridColumns, &meltedCell) != 0)
        return;
    // A wall has at most four screens; anything else is no grid this page can show, and
    // nothing of a grid shown before stays.
    if (gridRows < 1 || gridColumns < 1
        || gridRows * gridColumns > DigitalMatrixInteractionPort::MaxScreens) {
        resetToPlaceholder();
        noGridReported = true;
        updatePlaceholderText();
        return;
    }
    setRowColumn(gridRows, gridColumns);
    setCellShowNums(numbers);
    if (getCellByIndex(meltedCell))
        slotHideCellsButThisIndex(meltedCell, false);
    for (COMMONUSELIB::CanSelectWithNumWidget *widget : qAsConst(cells)) {
        if (auto *cell = qobject_cast<CellForConfigChannels *>(widget))
            cell->loadFromServer();
    }
    emit signalWallRead();
}

void ConfigChannelsWidget::applyTurnPages(const QVector<CellTurnPage> &pages)
{
    for (const CellTurnPage &entry : pages) {
        if (CellForConfigChannels *cell = getCellByIndex(entry.cell))
            cell->applyTurnPage(entry);
    }
    emit signalWallRead();
}

CellForConfigChannels *ConfigChannelsWidget::getCellByIndex(int index) const
{
    return qobject_cast<CellForConfigChannels *>(cellAt(index));
}

int ConfigChannelsWidget::shownCellCount() const
{
    int count = 0;
    for (const COMMONUSELIB::CanSelectWithNumWidget *cell : cells) {
        if (!cell->isHidden())
            ++count;
    }
    return count;
}

// ---- Spreading over the wall --------------------------------------------------------

void ConfigChannelsWidget::slotHideCellsButThisIndex(int index, bool flag)
{
    CellForConfigChannels *spread = getCellByIndex(index);
    if (!spread)
        return;
    // The matrix spreads no cell while turn shows run: the operator may stop them first.
    if (!allCellsStopped()
        && (!LinuxPrompt::ask(this,
                              tr("Forbid to melting flat while some cells turn show! Stop "
                                 "the turn shows and melt flat?"))
            || !stopAllTurnShows()))
        return;
    if (flag && port()->setCellMelt(index, rows, columns, true) != 0) {
        LinuxPrompt::notice(this, tr("Melting flat fail!"));
        return;
    }
    for (COMMONUSELIB::CanSelectWithNumWidget *cell : qAsConst(cells))
        cell->setVisible(cell == spread);
    if (CellForConfigChannels *previous = getCellByIndex(wallCell))
        previous->setOnWall(false);
    wallCell = index;
    spread->setOnWall(true);
    if (flag)
        emit signalWallChanged();
}

void ConfigChannelsWidget::slotShowAllCells()
{
    if (wallCell != -1) {
        if (port()->setCellMelt(wallCell, rows, columns, false) != 0) {
            // The matrix still shows the cell over the whole wall; so does the grid.
            LinuxPrompt::notice(this, tr("Cancel melting flat fail!"));
            return;
        }
        if (CellForConfigChannels *spread = getCellByIndex(wallCell))
            spread->setOnWall(false);
        wallCell = -1;
        emit signalWallChanged();
    }
    for (COMMONUSELIB::CanSelectWithNumWidget *cell : qAsConst(cells))
        cell->show();
}

void ConfigChannelsWidget::slotCellDoubleClicked(int index)
{
    if (index < 0)
        return;
    if (shownCellCount() > 1)
        slotHideCellsButThisIndex(index, true);
    else
        slotShowAllCells();
}

void ConfigChannelsWidget::restoreSpreadCell(int index)
{
    if (index >= 0 && index == wallCell)
        slotShowAllCells();
}

// ---- Channels -----------------------------------------------------------------------

void ConfigChannelsWidget::setChannelsToCell(const QList<CellChannelItem> &channels, int cellIndex)
{
    if (cellIndex < 0) {
        LinuxPrompt::notice(this, tr("Please select cell to set channels!"));
        return;
    }
    if (channels.isEmpty()) {
        LinuxPrompt::notice(this, tr("Please select channels to set!"));
        return;
    }
    CellForConfigChannels *cell = getCellByIndex(cellIndex);
    if (!cell)
        return;
    if (channels.size() > CellForConfigChannels::MaxChannels) {
        LinuxPrompt::notice(this,
                            tr("The max channel count can set in cell is:%1")
                                    .arg(CellForConfigChannels::MaxChannels));
        return;
    }
    if (cell->sendChannels(channels) != 0) {
        LinuxPrompt::notice(this, tr("set cell channels fail!"));
        return;
    }
    if (channels.size() > cell->splitCount() && cell->turnState() != CellTurnCode::TurnStart
        && LinuxPrompt::ask(this, tr("Whether start turn show?")))
        cell->turnShowOperate(CellTurnCode::TurnStart);
}

void ConfigChannelsWidget::setChannelToCellPane(const CellChannelItem &channel, int cellIndex)
{
    if (cellIndex < 0) {
        LinuxPrompt::notice(this, tr("Please select cell to set channel!"));
        return;
    }
    if (channel.channelId.isEmpty()) {
        LinuxPrompt::notice(this, tr("Please select channel to set!"));
        return;
    }
    CellForConfigChannels *cell = getCellByIndex(cellIndex);
    if (!cell)
        return;
    const int split = qMax(1, cell->splitCount());
    const int pane = channel.position >= 0 ? channel.position % split : -1;
    bool modified = false;
    if (cell->sendChannelToPane(channel, pane, &modified) != 0)
        LinuxPrompt::notice(
                this, modified ? tr("modify cell channel fail") : tr("add channel to cell fail"));
}

void ConfigChannelsWidget::clearCellChannels(int cellIndex)
{
    CellForConfigChannels *cell = getCellByIndex(cellIndex);
    if (!cell) {
        LinuxPrompt::notice(this, tr("Please select cell to clear channels!"));
        return;
    }
    if (!cell->hasChannels()) {
        LinuxPrompt::notice(this, tr("Cell has none channels!"));
        return;
    }
    if (!LinuxPrompt::ask(this, tr("Make sure delete cell channels?")))
        return;
    if (!cell->deleteAllChannels())
        LinuxPrompt::notice(this, tr("Delete cell channels fail!"));
}

void ConfigChannelsWidget::clearAllChannels()
{
    if (!hasAnyChannel()) {
        LinuxPrompt::notice(this, tr("All cells have none channels!"));
        return;
    }
    if (!LinuxPrompt::ask(this, tr("Make sure delete all channels?")))
        return;
    for (COMMONUSELIB::CanSelectWithNumWidget *widget : qAsConst(cells)) {
        auto *cell = qobject_cast<CellForConfigChannels *>(widget);
        if (cell && !cell->deleteAllChannels()) {
            LinuxPrompt::notice(this, tr("clear channels fail!"));
            return;
        }
    }
}

bool ConfigChannelsWidget::hasAnyChannel() const
{
    for (const COMMONUSELIB::CanSelectWithNumWidget *widget : cells) {
        const auto *cell = qobject_cast<const CellForConfigChannels *>(widget);
        if (cell && cell->hasChannels())
            return true;
    }
    return false;
}

bool ConfigChannelsWidget::allCellsStopped() const
{
    for (const COMMONUSELIB::CanSelectWithNumWidget *widget : cells) {
        const auto *cell = qobject_cast<const CellForConfigChannels *>(widget);
        if (cell && cell->turnState() != CellTurnCode::TurnStop)
            return false;
    }
    return true;
}

bool ConfigChannelsWidget::stopAllTurnShows()
{
    bool stopped = true;
    for (COMMONUSELIB::CanSelectWithNumWidget *widget : qAsConst(cells)) {
        auto *cell = qobject_cast<CellForConfigChannels *>(widget);
        if (cell && cell->turnState() != CellTurnCode::TurnStop
            && !cell->turnShowOperate(CellTurnCode::TurnStop, false))
            stopped = false;
    }
    if (!stopped)
        LinuxPrompt::notice(this, tr("Stop turn show fail!"));
    return stopped;
}

bool ConfigChannelsWidget::isCellTurnStarted(int cellIndex) const
{
    const CellForConfigChannels *cell = getCellByIndex(cellIndex);
    return cell && cell->isTurnStarted();
}

bool ConfigChannelsWidget::startCellTurnShow(int cellIndex)
{
    CellForConfigChannels *cell = getCellByIndex(cellIndex);
    return cell && cell->turnShowOperate(CellTurnCode::TurnStart);
}

int ConfigChannelsWidget::cellSplitCount(int cellIndex) const
{
    const CellForConfigChannels *cell = getCellByIndex(cellIndex);
    return cell ? cell->splitCount() : -1;
}

} // namespace LUMO_DIGITALMATRIX_MODULE
