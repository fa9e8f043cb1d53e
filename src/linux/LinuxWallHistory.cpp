#include "LinuxWallHistory.h"

#include "CellForConfigChannels.h"
#include "CellTurnInfo.h"
#include "ConfigChannelsWidget.h"
#include "DigitalMatrixInteractionPort.h"
#include "WallUndoHistory.h"

#include <QStringList>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {

DigitalMatrixInteractionPort *port()
{
    return DigitalMatrixInteractionPort::instance();
}

bool sameChannels(const QList<CellChannelItem> &a, const QList<CellChannelItem> &b)
{
    if (a.size() != b.size())
        return false;
    for (int k = 0; k < a.size(); ++k) {
        if (a.at(k).position != b.at(k).position || a.at(k).channelId != b.at(k).channelId)
            return false;
    }
    return true;
}

// Every channel of part is in whole, which holds more.
bool fewerOfSame(const QList<CellChannelItem> &part, const QList<CellChannelItem> &whole)
{
    if (part.size() >= whole.size())
        return false;
    for (const CellChannelItem &item : part) {
        const bool found =
                std::any_of(whole.cbegin(), whole.cend(), [&item](const CellChannelItem &w) {
                    return w.position == item.position && w.channelId == item.channelId;
                });
        if (!found)
            return false;
    }
    return true;
}

int setTurn(int cell, CellTurnCode code, int interval, int split)
{
    CellTurnInfo info;
    info.turnInterval = interval;
    info.turnState = int(code);
    return port()->setCellTurnShow(cell, info, split);
}

} // namespace

LinuxWallHistory::LinuxWallHistory(ConfigChannelsWidget *grid, QObject *parent)
    : QObject(parent)
    , grid(grid)
    , steps(new WallUndoHistory(this))
{
    connect(steps, &WallUndoHistory::changed, this, &LinuxWallHistory::changed);
}

LinuxWallHistory::~LinuxWallHistory() = default;

bool LinuxWallHistory::sameCell(const LinuxWallPreset::Cell &a, const LinuxWallPreset::Cell &b)
{
    return a.index == b.index && a.split == b.split && a.singlePane == b.singlePane
            && a.turn == b.turn
            && (a.turn == CellTurnCode::TurnStop || a.turnInterval == b.turnInterval)
            && sameChannels(a.channels, b.channels);
}

void LinuxWallHistory::takeWallAsRead()
{
    if (reverting)
        return;
    haveKnown = grid->isConfigured();
    if (haveKnown)
        known = LinuxWallPreset::capture(*grid);
}

void LinuxWallHistory::wallChanged()
{
    if (reverting || recordQueued)
        return;
    // The rest of the action (a turn show stopped first, then the channels) runs before.
    recordQueued = true;
    QMetaObject::invokeMethod(this, &LinuxWallHistory::recordChanges, Qt::QueuedConnection);
}

void LinuxWallHistory::recordChanges()
{
    recordQueued = false;
    if (reverting || !grid->isConfigured())
        return;
    const LinuxWallPreset now = LinuxWallPreset::capture(*grid);
    const bool comparable = haveKnown && known.rows == now.rows && known.columns == now.columns;
    const LinuxWallPreset before = known;
    known = now;
    haveKnown = true;
    if (!comparable)
        return;
    Step step;
    for (const LinuxWallPreset::Cell &cell : now.cells) {
        for (const LinuxWallPreset::Cell &was : before.cells) {
            if (was.index == cell.index && !sameCell(was, cell)) {
                step.before.append(was);
                step.after.append(cell);
            }
        }
    }
    step.wallBefore = before.wallCell;
    step.wallAfter = now.wallCell;
    step.spread = before.wallCell != now.wallCell;
    if (step.before.isEmpty() && !step.spread)
        return;
    steps->record(describe(step), QVariant::fromValue(step));
}

void LinuxWallHistory::clear()
{
    haveKnown = false;
    steps->clear();
}

void LinuxWallHistory::undo()
{
    revert(true);
}

void LinuxWallHistory::redo()
{
    revert(false);
}

QList<LinuxWallPreset::Cell>
LinuxWallHistory::cellsOf(const LinuxWallPreset &wall,
                          const QList<LinuxWallPreset::Cell> &like) const
{
    QList<LinuxWallPreset::Cell> found;
    for (const LinuxWallPreset::Cell &wanted : like) {
        LinuxWallPreset::Cell cell;
        cell.index = -1;
        for (const LinuxWallPreset::Cell &held : wall.cells) {
            if (held.index == wanted.index)
                cell = held;
        }
        found.append(cell);
    }
    return found;
}

void LinuxWallHistory::readFromMatrix(const Step &step, int *melted)
{
    for (const LinuxWallPreset::Cell &cell : step.after) {
        if (CellForConfigChannels *widget = grid->getCellByIndex(cell.index))
            widget->loadFromServer();
    }
    *melted = grid->wallCellIndex();
    if (step.spread) {
        int rows = 0;
        int columns = 0;
        if (port()->getScreenGrid(&rows, &columns, melted) != 0)
            *melted = -2; // unknown: nothing to compare with
    }
}

void LinuxWallHistory::revert(bool undoing)
{
    if (reverting || (undoing ? !steps->canUndo() : !steps->canRedo()))
        return;
    Step step = (undoing ? steps->undoPayload() : steps->redoPayload()).value<Step>();
    const QString text = undoing ? steps->undoText() : steps->redoText();
    const QList<LinuxWallPreset::Cell> &left = undoing ? step.after : step.before;
    const QList<LinuxWallPreset::Cell> &target = undoing ? step.before : step.after;
    const int wallLeft = undoing ? step.wallAfter : step.wallBefore;
    const int wallTarget = undoing ? step.wallBefore : step.wallAfter;

    reverting = true;
    int melted = -1;
    readFromMatrix(step, &melted);
    const QList<LinuxWallPreset::Cell> now = cellsOf(LinuxWallPreset::capture(*grid), left);
    bool changedMeanwhile = step.spread && melted != wallLeft;
    for (int k = 0; k < left.size(); ++k)
        changedMeanwhile = changedMeanwhile || !sameCell(now.at(k), left.at(k));
    if (changedMeanwhile) {
        if (step.spread)
            grid->loadFromServer();
        reverting = false;
        takeWallAsRead();
        emit notice(steps->dropOvertakenStep(undoing));
        return;
    }
    const QString failed = send(step, now, target, melted, wallTarget);
    // The grid shows what the matrix holds now, however far the step got.
    if (step.spread)
        grid->loadFromServer();
    else
        readFromMatrix(step, &melted);
    reverting = false;
    takeWallAsRead();
    if (!failed.isEmpty()) {
        emit notice(undoing ? tr("The matrix server refused %1 while undoing the %2. The step "
                                 "stays in the list.")
                                      .arg(failed, text)
                            : tr("The matrix server refused %1 while redoing the %2. The step "
                                 "stays in the list.")
                                      .arg(failed, text));
        return;
    }
    // What the matrix holds now is what the opposite direction compares with.
    QList<LinuxWallPreset::Cell> &reached = undoing ? step.before : step.after;
    reached = cellsOf(known, reached);
    if (undoing)
        steps->stepUndone(QVariant::fromValue(step));
    else
        steps->stepRedone(QVariant::fromValue(step));
}

QString LinuxWallHistory::send(const Step &step, const QList<LinuxWallPreset::Cell> &from,
                               const QList<LinuxWallPreset::Cell> &target, int wallFrom,
                               int wallTarget)
{
    int rows = 0;
    int columns = 0;
    grid->getRowColumn(rows, columns);
    if (step.spread && wallFrom >= 0 && wallFrom != wallTarget
        && port()->setCellMelt(wallFrom, rows, columns, false) != 0)
        return tr("bringing back the spread cell %1").arg(wallFrom + 1);
    for (int k = 0; k < target.size() && k < from.size(); ++k) {
        const LinuxWallPreset::Cell &to = target.at(k);
        LinuxWallPreset::Cell was = from.at(k);
        const int cell = to.index;
        const int number = cell + 1;
        if (sameCell(was, to))
            continue;
        if (was.turn != CellTurnCode::TurnStop) {
            if (setTurn(cell, CellTurnCode::TurnStop, was.turnInterval, was.split) != 0)
                return tr("stopping the turn show of cell %1").arg(number);
            was.turn = CellTurnCode::TurnStop;
        }
        if (!sameChannels(was.channels, to.channels)) {
            QList<CellChannelItem> channels = to.channels;
            QList<CellChannelItem *> records;
            for (CellChannelItem &channel : channels)
                records.append(&channel);
            if (port()->setCellChannels(cell, to.split, records) != 0)
                return tr("the channels of cell %1").arg(number);
            // New channels end a pane shown alone.
            was.singlePane = -1;
        }
        if (was.split != to.split) {
            if (port()->setCellSplit(cell, to.split) != 0)
                return tr("the split of cell %1").arg(number);
            // The pane shown alone is set again below, once the panes are there.
            if (to.singlePane >= 0)
                was.singlePane = -1;
        }
        if (was.singlePane != to.singlePane) {
            const int result = to.singlePane >= 0
                    ? port()->setCellSingleWindow(cell, to.singlePane, 1)
                    : port()->setCellSingleWindow(cell, 0, 0);
            if (result != 0)
                return tr("the pane shown alone in cell %1").arg(number);
        }
        if (to.turn != CellTurnCode::TurnStop) {
            if (setTurn(cell, CellTurnCode::TurnStart, to.turnInterval, to.split) != 0
                || (to.turn == CellTurnCode::TurnPause
                    && setTurn(cell, CellTurnCode::TurnPause, to.turnInterval, to.split) != 0))
                return tr("the turn show of cell %1").arg(number);
        }
    }
    if (step.spread && wallTarget >= 0 && wallTarget != wallFrom
        && port()->setCellMelt(wallTarget, rows, columns, true) != 0)
        return tr("spreading cell %1").arg(wallTarget + 1);
    return QString();
}

QString LinuxWallHistory::describe(const Step &step)
{
    if (step.spread) {
        return step.wallAfter >= 0 ? tr("spread of cell %1").arg(step.wallAfter + 1)
                                   : tr("return of the spread cell %1").arg(step.wallBefore + 1);
    }
    if (step.before.size() > 1) {
        QStringList numbers;
        for (const LinuxWallPreset::Cell &cell : step.before)
            numbers.append(QString::number(cell.index + 1));
        return tr("change of cells %1").arg(numbers.join(QStringLiteral(", ")));
    }
    const LinuxWallPreset::Cell &was = step.before.first();
    const LinuxWallPreset::Cell &now = step.after.first();
    const int number = was.index + 1;
    if (!sameChannels(was.channels, now.channels)) {
        return fewerOfSame(now.channels, was.channels) ? tr("deleting in cell %1").arg(number)
                                                       : tr("channels of cell %1").arg(number);
    }
    if (was.split != now.split)
        return tr("split of cell %1").arg(number);
    if (was.singlePane != now.singlePane)
        return tr("pane shown alone in cell %1").arg(number);
    return tr("turn show of cell %1").arg(number);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
