// A matrix simulator that behaves like both kinds of matrix server over TCP: an X86 matrix
// and a Linux matrix, each on its own port. Its sockets run on a thread of their own, so a
// caller blocked in a matrix-service call on any other thread never blocks the matrix.
#pragma once

#include "MatrixSimulatorOptions.h"
#include "SimulatorState.h"

#include <QObject>
#include <QThread>

namespace MatrixSim {
class SimulatorServer;
}

class MatrixSimulator : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(MatrixSimulator)

public:
    explicit MatrixSimulator(QObject *parent = nullptr);
    ~MatrixSimulator() override;

    // Loads the state file, listens and starts answering. A running simulator is stopped
    // first. False with errorString() when the state file is unusable or a port is taken.
    bool start(const MatrixSimulatorOptions &options = MatrixSimulatorOptions());
    // Closes every connection (clients see them drop) and stops listening.
    void stop();
    bool isRunning() const { return m_server != nullptr; }
    QString errorString() const { return m_error; }
    MatrixSimulatorOptions options() const { return m_options; }

    // Ports listened on; 0 when that matrix is off or the simulator is not running.
    quint16 x86Port() const;
    quint16 linuxPort() const;
    // Open client connections.
    int clientCount() const;

    // Snapshots of the walls (any thread).
    SimX86State x86State() const;
    SimLinuxState linuxState() const;

    // Fault switches (any thread); they apply to both matrices from the next frame on.
    void setFaults(const MatrixSimulatorFaults &faults);
    MatrixSimulatorFaults faults() const;
    // Reboots the Linux matrix as if a client had asked for it.
    void rebootLinux();
    // Closes every Linux connection as a broken network would; the matrix keeps its wall,
    // its arrangement mode and a running upgrade, and takes new connections at once.
    void dropLinuxClients();
    // Steps every running turn show with more than one page to its next page now, as if its
    // interval had passed, and tells the X86 operators (any thread).
    void stepTurnShows();

signals:
    // A wall changed (after it was saved).
    void stateChanged();
    // One line per request, connection and drop; never a password.
    void requestLogged(const QString &line);
    void clientCountChanged(int count);

private:
    MatrixSimulatorOptions m_options;
    QThread m_thread;
    MatrixSim::SimulatorServer *m_server = nullptr;
    MatrixSimulatorFaults m_faults;
    QString m_error;
};
