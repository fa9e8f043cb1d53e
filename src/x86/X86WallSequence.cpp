#include "X86WallSequence.h"

namespace LUMO_DIGITALMATRIX_MODULE {

X86WallSequence::X86WallSequence(QObject *parent)
    : QObject(parent)
{ }

X86WallSequence::~X86WallSequence() = default;

void X86WallSequence::run(DigitalMatrixInteractionPort *port,
                          const QList<X86WallPreset::Step> &steps)
{
    matrix = port;
    pending = steps;
    running = true;
    sendNext();
}

void X86WallSequence::sendNext()
{
    if (pending.isEmpty()) {
        running = false;
        emit finished();
        return;
    }
    X86WallPreset::send(matrix, pending.first());
}

bool X86WallSequence::takeResult(int command, int result)
{
    if (!running || pending.isEmpty() || pending.first().command != command)
        return false;
    const X86WallPreset::Step step = pending.takeFirst();
    if (result != 0) {
        running = false;
        pending.clear();
        emit refused(step, result);
        return true;
    }
    sendNext();
    return true;
}

void X86WallSequence::abort()
{
    running = false;
    pending.clear();
}

} // namespace LUMO_DIGITALMATRIX_MODULE
