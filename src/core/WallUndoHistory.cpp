#include "WallUndoHistory.h"

#include <QUndoCommand>
#include <QUndoStack>
#include <QVector>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace private_impl {

// A step of the list. The page sends a step's commands itself and moves the list only after
// the matrix answered, so the command does nothing when the stack undoes or redoes it.
class WallUndoStep : public QUndoCommand
{
public:
    WallUndoStep(const QString &text, const QVariant &payload)
        : QUndoCommand(text)
        , payload(payload)
    { }
    void undo() override { }
    void redo() override { }

    QVariant payload;
};

} // namespace private_impl

using private_impl::WallUndoStep;

namespace {

WallUndoStep *stepAt(const QUndoStack *stack, int position)
{
    return const_cast<WallUndoStep *>(static_cast<const WallUndoStep *>(stack->command(position)));
}

} // namespace

WallUndoHistory::WallUndoHistory(QObject *parent)
    : QObject(parent)
    , undoStack(new QUndoStack(this))
{
    connect(undoStack, &QUndoStack::indexChanged, this, &WallUndoHistory::changed);
}

WallUndoHistory::~WallUndoHistory() = default;

void WallUndoHistory::record(const QString &text, const QVariant &payload)
{
    undoStack->push(new WallUndoStep(text, payload));
    emit changed();
}

bool WallUndoHistory::canUndo() const
{
    return undoStack->canUndo();
}

bool WallUndoHistory::canRedo() const
{
    return undoStack->canRedo();
}

QString WallUndoHistory::undoText() const
{
    return undoStack->undoText();
}

QString WallUndoHistory::redoText() const
{
    return undoStack->redoText();
}

QVariant WallUndoHistory::undoPayload() const
{
    return canUndo() ? stepAt(undoStack, undoStack->index() - 1)->payload : QVariant();
}

QVariant WallUndoHistory::redoPayload() const
{
    return canRedo() ? stepAt(undoStack, undoStack->index())->payload : QVariant();
}

void WallUndoHistory::stepUndone(const QVariant &payload)
{
    if (!canUndo())
        return;
    if (payload.isValid())
        stepAt(undoStack, undoStack->index() - 1)->payload = payload;
    undoStack->undo();
}

void WallUndoHistory::stepRedone(const QVariant &payload)
{
    if (!canRedo())
        return;
    if (payload.isValid())
        stepAt(undoStack, undoStack->index())->payload = payload;
    undoStack->redo();
}

void WallUndoHistory::dropUndoStep()
{
    if (canUndo())
        dropAt(undoStack->index() - 1);
}

void WallUndoHistory::dropRedoStep()
{
    if (canRedo())
        dropAt(undoStack->index());
}

QString WallUndoHistory::dropOvertakenStep(bool undoing)
{
    const QString text = undoing ? undoText() : redoText();
    if (undoing)
        dropUndoStep();
    else
        dropRedoStep();
    return undoing ? tr("The %1 cannot be undone: the matrix no longer holds what it left "
                        "(another operator changed it). The step is dropped from the list.")
                             .arg(text)
                   : tr("The %1 cannot be redone: the matrix no longer holds what its undo "
                        "left (another operator changed it). The step is dropped from the list.")
                             .arg(text);
}

void WallUndoHistory::dropAt(int position)
{
    // A stack takes no step out of its middle: it is built again without that one.
    struct Kept
    {
        QString text;
        QVariant payload;
    };
    QVector<Kept> kept;
    for (int k = 0; k < undoStack->count(); ++k) {
        if (k != position)
            kept.append({undoStack->text(k), stepAt(undoStack, k)->payload});
    }
    const int index = undoStack->index() > position ? undoStack->index() - 1 : undoStack->index();
    undoStack->clear();
    for (const Kept &step : qAsConst(kept))
        undoStack->push(new WallUndoStep(step.text, step.payload));
    undoStack->setIndex(index);
    emit changed();
}

void WallUndoHistory::clear()
{
    if (undoStack->count() == 0)
        return;
    undoStack->clear();
    emit changed();
}

int WallUndoHistory::count() const
{
    return undoStack->count();
}

} // namespace LUMO_DIGITALMATRIX_MODULE
