#pragma once

#include "digitalmatrix_export.h"

#include "X86WallPreset.h"

#include <QList>
#include <QObject>

namespace LUMO_DIGITALMATRIX_MODULE {

class DigitalMatrixInteractionPort;

// Sends wall commands to the X86 matrix one at a time: the next one only after the matrix
// accepted the one before (its result arrives with the hub's signalCommandResult, which the
// page hands to takeResult). The first refusal ends the run.
class DIGITALMATRIX_EXPORT X86WallSequence : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(X86WallSequence)

public:
    explicit X86WallSequence(QObject *parent = nullptr);
    ~X86WallSequence() override;

    // Starts sending; finished() follows at once for no steps.
    void run(DigitalMatrixInteractionPort *port, const QList<X86WallPreset::Step> &steps);
    bool isRunning() const { return running; }
    // True when the result was the one this run waits for (the page shows nothing for it).
    bool takeResult(int command, int result);
    // Stops waiting (the connection went); no signal follows.
    void abort();

signals:
    void finished();
    void refused(const X86WallPreset::Step &step, int result);

private:
    void sendNext();

    DigitalMatrixInteractionPort *matrix = nullptr;
    QList<X86WallPreset::Step> pending;
    bool running = false;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
