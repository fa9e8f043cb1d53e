#include "MatrixReconnector.h"

#include <QtGlobal>

namespace LUMO_DIGITALMATRIX_MODULE {

MatrixReconnector::MatrixReconnector(QObject *parent)
    : QObject(parent)
{
    dueTimer.setSingleShot(true);
    dueTimer.setTimerType(Qt::PreciseTimer);
    tickTimer.setInterval(TickMs);
    connect(&dueTimer, &QTimer::timeout, this, &MatrixReconnector::makeAttempt);
    connect(&tickTimer, &QTimer::timeout, this, [this] {
        if (current == Phase::CountingDown)
            emit countdown(attemptNumber, secondsLeft());
    });
}

MatrixReconnector::~MatrixReconnector() = default;

int MatrixReconnector::delayBefore(int attempt, int firstMs, int maxMs)
{
    const qint64 cap = qMax(1, maxMs);
    qint64 delay = qBound<qint64>(1, firstMs, cap);
    for (int n = 1; n < attempt && delay < cap; ++n)
        delay *= 2;
    return int(qMin(delay, cap));
}

void MatrixReconnector::setDelays(int firstMs, int maxMs)
{
    firstDelayMs = qMax(1, firstMs);
    maxDelayMs = qMax(firstDelayMs, maxMs);
}

void MatrixReconnector::start(const QString &target, bool attemptNow)
{
    name = target;
    attemptNumber = 0;
    if (attemptNow) {
        attemptNumber = 1;
        makeAttempt();
        return;
    }
    countDownTo(1);
}

void MatrixReconnector::attemptFailed()
{
    if (current != Phase::Attempting)
        return;
    countDownTo(attemptNumber + 1);
}

void MatrixReconnector::attemptSucceeded()
{
    if (current != Phase::Attempting)
        return;
    const int attempts = attemptNumber;
    end();
    emit reconnected(attempts);
    emit finished();
}

void MatrixReconnector::cancel()
{
    if (current == Phase::Idle)
        return;
    end();
    emit cancelled();
    emit finished();
}

void MatrixReconnector::stop()
{
    if (current == Phase::Idle)
        return;
    end();
    emit finished();
}

int MatrixReconnector::secondsLeft() const
{
    if (current != Phase::CountingDown)
        return 0;
    const qint64 left = countdownMs - countdownClock.elapsed();
    return int(qBound<qint64>(1, (left + 999) / 1000, (countdownMs + 999) / 1000));
}

void MatrixReconnector::countDownTo(int attempt)
{
    attemptNumber = attempt;
    current = Phase::CountingDown;
    countdownMs = delayBefore(attempt, firstDelayMs, maxDelayMs);
    countdownClock.start();
    dueTimer.start(countdownMs);
    tickTimer.start();
    emit countdown(attemptNumber, secondsLeft());
}

void MatrixReconnector::makeAttempt()
{
    tickTimer.stop();
    dueTimer.stop();
    current = Phase::Attempting;
    emit attemptDue(attemptNumber);
}

void MatrixReconnector::end()
{
    dueTimer.stop();
    tickTimer.stop();
    current = Phase::Idle;
}

} // namespace LUMO_DIGITALMATRIX_MODULE
