#include "X86WallHistory.h"

#include "DigitalMatrixInteractionPort.h"
#include "MatrixManageWidget.h"
#include "MirrorWidget.h"
#include "WallUndoHistory.h"
#include "X86WindowOnAir.h"

#include <cstring>
#include <limits>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {

DigitalMatrixInteractionPort *port()
{
    return DigitalMatrixInteractionPort::instance();
}

bool sameRect(const RECT &a, const RECT &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool sameRecords(const QVector<_ST_ChnInfo> &a, const QVector<_ST_ChnInfo> &b)
{
    return a.size() == b.size()
            && (a.isEmpty()
                || std::memcmp(a.constData(), b.constData(), a.size() * sizeof(_ST_ChnInfo)) == 0);
}

// The turn commands that leave target, from a window whose state is from.
void sendTurn(int number, X86TurnState target, X86TurnState from)
{
    switch (target) {
    case X86TurnState::Running:
        port()->setTurnState(number, X86TurnState::Running);
        break;
    case X86TurnState::Paused:
        // Only a running turn show pauses.
        if (from != X86TurnState::Running)
            port()->setTurnState(number, X86TurnState::Running);
        port()->setTurnState(number, X86TurnState::Paused);
        break;
    default:
        port()->setTurnState(number, X86TurnState::NoTurn);
        break;
    }
}

} // namespace

X86WallHistory::X86WallHistory(MatrixManageWidget *wall, QObject *parent)
    : QObject(parent)
    , wall(wall)
    , steps(new WallUndoHistory(this))
{
    connect(steps, &WallUndoHistory::changed, this, &X86WallHistory::changed);
}

X86WallHistory::~X86WallHistory() = default;

X86WallHistory::Window X86WallHistory::readWindow(int number) const
{
    Window window;
    const MirrorWidget *mirror = wall->mirrorByIndex(number);
    if (!mirror)
        return window;
    window.number = number;
    window.rect = wall->reportedRect(number);
    window.split = mirror->getSplitCount();
    window.turn = mirror->getTurnState();
    const X86WindowOnAir onAir = wall->windowOnAir(number);
    window.records = onAir.records();
    window.interval = onAir.interval();
    return window;
}

bool X86WallHistory::sameWindow(const Window &a, const Window &b, int aspects)
{
    if (a.number != b.number)
        return false;
    if ((aspects & (Place | Numbers)) && !sameRect(a.rect, b.rect))
        return false;
    if ((aspects & Split) && a.split != b.split)
        return false;
    if ((aspects & Sources) && (!sameRecords(a.records, b.records) || a.interval != b.interval))
        return false;
    if ((aspects & Turn) && a.turn != b.turn)
        return false;
    return true;
}

void X86WallHistory::begin(int aspects, const QList<int> &windows)
{
    if (depth++ > 0) {
        // An action inside the open one (a camera dragged out of the source dialog onto
        // another window) adds what it changes to that one.
        for (Pending &action : pending) {
            if (action.kind != Kind::Record || action.last != std::numeric_limits<quint64>::max())
                continue;
            action.step.aspects |= aspects;
            for (int number : windows) {
                if (action.windows.contains(number))
                    continue;
                action.windows.append(number);
                action.step.before.append(readWindow(number));
            }
        }
        return;
    }
    // Open until end(): a refusal that arrives meanwhile (a dialog still open) counts.
    Pending action;
    action.step.aspects = aspects;
    action.windows = windows;
    for (int number : windows)
        action.step.before.append(readWindow(number));
    action.first = port()->x86CommandsSent();
    action.last = std::numeric_limits<quint64>::max();
    pending.append(action);
    emit changed();
}

void X86WallHistory::end()
{
    if (depth == 0 || --depth > 0)
        return;
    for (int k = 0; k < pending.size(); ++k) {
        Pending &action = pending[k];
        if (action.last != std::numeric_limits<quint64>::max())
            continue;
        if (port()->x86CommandsSent() == action.first) {
            pending.removeAt(k); // nothing reached the matrix
        } else {
            // The answer to this request comes after what the action's commands caused.
            port()->requestLayout();
            action.last = port()->x86CommandsSent();
            if (action.last <= answered) // its last answer came while it was open
                finish(pending.takeAt(k));
        }
        break;
    }
    emit changed();
}

bool X86WallHistory::commandAnswered(int result)
{
    const quint64 serial = ++answered;
    bool told = false;
    for (int k = 0; k < pending.size(); ++k) {
        Pending &action = pending[k];
        if (serial <= action.first || serial > action.last)
            continue;
        told = told || action.kind != Kind::Record;
        if (result != 0)
            action.refused = true;
        if (serial == action.last) {
            const Pending done = pending.takeAt(k);
            finish(done);
            emit changed();
            break;
        }
    }
    return told;
}

void X86WallHistory::finish(const Pending &done)
{
    Step step = done.step;
    if (done.kind == Kind::Record) {
        if (done.refused)
            return; // a refused action is no step: the page shows what the matrix holds
        Step changed;
        changed.aspects = step.aspects;
        changed.named = step.before.size();
        for (const Window &before : qAsConst(step.before)) {
            const Window after = readWindow(before.number);
            if (after.number < 0 || sameWindow(before, after, step.aspects))
                continue;
            changed.before.append(before);
            changed.after.append(after);
        }
        if (changed.before.isEmpty())
            return;
        steps->record(describe(changed), QVariant::fromValue(changed));
        return;
    }
    const bool undoing = done.kind == Kind::Undo;
    if (done.refused) {
        emit notice(undoing ? tr("The matrix server refused to undo the %1. The step stays in "
                                 "the list.")
                                      .arg(steps->undoText())
                            : tr("The matrix server refused to redo the %1. The step stays in "
                                 "the list.")
                                      .arg(steps->redoText()));
        return;
    }
    // What the matrix holds now is what a redo (undo) of the step compares with.
    QVector<Window> &reached = undoing ? step.before : step.after;
    for (Window &window : reached)
        window = readWindow(window.number);
    if (undoing)
        steps->stepUndone(QVariant::fromValue(step));
    else
        steps->stepRedone(QVariant::fromValue(step));
}

void X86WallHistory::connectionStarted()
{
    answered = 0;
    clear();
}

void X86WallHistory::clear()
{
    pending.clear();
    depth = 0;
    steps->clear();
    emit changed();
}

bool X86WallHistory::undoChangesNumbers() const
{
    return steps->canUndo() && (steps->undoPayload().value<Step>().aspects & Numbers);
}

bool X86WallHistory::redoChangesNumbers() const
{
    return steps->canRedo() && (steps->redoPayload().value<Step>().aspects & Numbers);
}

void X86WallHistory::undo()
{
    revert(true);
}

void X86WallHistory::redo()
{
    revert(false);
}

void X86WallHistory::revert(bool undoing)
{
    if (isBusy() || (undoing ? !steps->canUndo() : !steps->canRedo()))
        return;
    const Step step = (undoing ? steps->undoPayload() : steps->redoPayload()).value<Step>();
    const QVector<Window> &left = undoing ? step.after : step.before;
    QVector<Window> now;
    bool changedMeanwhile = false;
    for (const Window &window : left) {
        now.append(readWindow(window.number));
        if (!sameWindow(now.last(), window, step.aspects))
            changedMeanwhile = true;
    }
    if (changedMeanwhile) {
        // Another operator changed what the step left: their work is not overwritten.
        emit notice(steps->dropOvertakenStep(undoing));
        return;
    }
    Pending action;
    action.kind = undoing ? Kind::Undo : Kind::Redo;
    action.step = step;
    action.first = port()->x86CommandsSent();
    send(step, now, undoing ? step.before : step.after);
    port()->requestLayout();
    action.last = port()->x86CommandsSent();
    if (action.last == action.first)
        return;
    pending.append(action);
    emit changed();
}

void X86WallHistory::send(const Step &step, const QVector<Window> &from,
                          const QVector<Window> &target)
{
    const int aspects = step.aspects;
    if (aspects & Numbers) {
        // An exchange of two numbers is its own inverse.
        if (target.size() == 2)
            port()->exchangeMirrors(target.at(0).number, target.at(1).number);
        return;
    }
    for (int k = 0; k < target.size() && k < from.size(); ++k) {
        const Window &to = target.at(k);
        const Window &was = from.at(k);
        const int number = to.number;
        if ((aspects & Place) && !sameRect(was.rect, to.rect))
            port()->setMirrorRect(number, to.rect);
        const bool sources = (aspects & Sources)
                && (!sameRecords(was.records, to.records) || was.interval != to.interval);
        const bool split = (aspects & Split) && was.split != to.split;
        const bool turn = (aspects & Turn) && was.turn != to.turn;
        if (!sources) {
            if (split)
                port()->setMonitorSplit(number, to.split);
            if (turn)
                sendTurn(number, to.turn, was.turn);
            continue;
        }
        if (to.records.isEmpty()) {
            port()->clearSource(number);
            if (split)
                port()->setMonitorSplit(number, to.split);
            continue;
        }
        // As the source dialog does: the turn show stops, then the split and the sources.
        if (was.turn != X86TurnState::NoTurn)
            port()->setTurnState(number, X86TurnState::NoTurn);
        if (split)
            port()->setMonitorSplit(number, to.split);
        if (to.interval > 0) {
            port()->setMonitorTurnSources(number, to.records.constData(), to.records.size(),
                                          to.interval);
            sendTurn(number, to.turn, X86TurnState::Unknown);
        } else {
            port()->setMonitorSources(number, to.records.constData(), to.records.size());
        }
    }
}

QString X86WallHistory::describe(const Step &step)
{
    const Window &first = step.before.first();
    const int shown = first.number + 1;
    if (step.aspects & Numbers) {
        const int second = step.before.size() > 1 ? step.before.at(1).number + 1 : shown;
        return tr("swap of windows %1 and %2").arg(shown).arg(second);
    }
    if (step.aspects == Place) {
        if (step.named > 1)
            return tr("reset of the layout");
        const RECT &a = first.rect;
        const RECT &b = step.after.first().rect;
        const bool resized =
                a.right - a.left != b.right - b.left || a.bottom - a.top != b.bottom - b.top;
        return resized ? tr("size of window %1").arg(shown) : tr("move of window %1").arg(shown);
    }
    if (step.aspects == Split)
        return tr("split of window %1").arg(shown);
    if (step.aspects & Sources) {
        if (step.after.first().records.isEmpty() && !first.records.isEmpty())
            return tr("clearing of window %1").arg(shown);
        return tr("sources of window %1").arg(shown);
    }
    if (step.named > 1)
        return tr("turn shows of the wall");
    return tr("turn show of window %1").arg(shown);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
