#pragma once

#include "digitalmatrix_export.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

namespace LUMO_DIGITALMATRIX_MODULE {

// Connecting again by itself after a matrix was lost, without widgets: counts down to each
// attempt, waits longer after every failed one (1, 2, 4, 8 ... seconds, at most 30) and
// says when the connection is back. The owner makes the attempt on attemptDue and reports
// its outcome (attemptFailed, attemptSucceeded); the operator may cancel at any time.
class DIGITALMATRIX_EXPORT MatrixReconnector : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(MatrixReconnector)

public:
    enum class Phase {
        Idle,
        CountingDown, // waiting for the next attempt
        Attempting, // the owner is connecting
    };
    Q_ENUM(Phase)

    static constexpr int FirstDelayMs = 1000;
    static constexpr int MaxDelayMs = 30000;
    static constexpr int TickMs = 1000;

    explicit MatrixReconnector(QObject *parent = nullptr);
    ~MatrixReconnector() override;

    // The wait before attempt n (1-based): firstMs, doubled after every failed attempt,
    // never above maxMs.
    static int delayBefore(int attempt, int firstMs = FirstDelayMs, int maxMs = MaxDelayMs);
    void setDelays(int firstMs, int maxMs);

    // Starts over for the matrix named target: counts down to attempt 1, or makes it at once.
    void start(const QString &target, bool attemptNow = false);
    // The attempt under way failed: the next one is counted down.
    void attemptFailed();
    // The attempt under way got the matrix back: emits reconnected and ends.
    void attemptSucceeded();
    // The operator gives up: emits cancelled and ends.
    void cancel();
    // Ends without a word (the page left the matrix, or connects by hand).
    void stop();

    Phase phase() const { return current; }
    bool isActive() const { return current != Phase::Idle; }
    bool isAttempting() const { return current == Phase::Attempting; }
    QString target() const { return name; }
    int attempt() const { return attemptNumber; }
    // Whole seconds until the next attempt (rounded up), 0 unless counting down.
    int secondsLeft() const;

signals:
    // Once a second while counting down, and when the countdown starts.
    void countdown(int attempt, int secondsLeft);
    // Time for the attempt: the owner connects and reports the outcome.
    void attemptDue(int attempt);
    void reconnected(int attempts);
    void cancelled();
    // Every end: reconnected, cancelled or stopped.
    void finished();

private:
    void countDownTo(int attempt);
    void makeAttempt();
    void end();

    QTimer dueTimer;
    QTimer tickTimer;
    // When the countdown started and how long it runs.
    QElapsedTimer countdownClock;
    int countdownMs = 0;
    Phase current = Phase::Idle;
    QString name;
    int attemptNumber = 0;
    int firstDelayMs = FirstDelayMs;
    int maxDelayMs = MaxDelayMs;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
