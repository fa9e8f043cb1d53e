// The simulator's sockets and the two matrices behind them; lives on the simulator thread.
// The state accessors and fault switches may be called from any thread.
#pragma once

#include "LinuxMatrixModel.h"
#include "MatrixProtocol.h"
#include "MatrixSimulatorOptions.h"
#include "X86MatrixModel.h"

#include <QElapsedTimer>
#include <QObject>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>

class QTcpServer;
class QTcpSocket;
class QTimer;

namespace MatrixSim {

class SimulatorServer : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(SimulatorServer)

public:
    explicit SimulatorServer(const MatrixSimulatorOptions &options, QObject *parent = nullptr);
    ~SimulatorServer() override;

    // On the simulator thread: loads the state file and starts listening.
    bool start(QString *error);
    // On the simulator thread: closes every connection and stops listening.
    void stop();
    // On the simulator thread: a Linux reboot as if a client asked for it.
    void rebootLinux();
    // On the simulator thread: closes every Linux connection, nothing else changes.
    void dropLinuxClients();
    // On the simulator thread: steps the turn shows that are due (force: every running one).
    void advanceTurns(bool force);

    quint16 x86Port() const { return m_x86Port; }
    quint16 linuxPort() const { return m_linuxPort; }
    int clientCount() const { return m_clientCount.load(); }
    SimX86State x86State() const;
    SimLinuxState linuxState() const;
    void setFaults(const MatrixSimulatorFaults &faults);
    MatrixSimulatorFaults faults() const;

signals:
    void stateChanged();
    void requestLogged(const QString &line);
    void clientCountChanged(int count);

private:
    struct Client;

    bool listen(QTcpServer *&server, int port, MatrixProtocol::Role role, quint16 *chosen,
                QString *error);
    void acceptClients(QTcpServer *server, MatrixProtocol::Role role);
    void refuseClient(QTcpSocket *socket, MatrixProtocol::Role role);
    void readClient(quint64 id);
    void readLater(Client &client);
    void handleFrame(Client &client, const MatrixProtocol::Frame &frame);
    void greet(Client &client, const MatrixProtocol::Frame &frame);
    void send(Client &client, const QByteArray &bytes, bool afterHandshake);
    void flushDelayed(quint64 id);
    void closeClient(quint64 id);
    void dropClient(quint64 id, const QString &why);
    void forgetClient(quint64 id);
    void performReboot();
    bool rebooting() const;
    bool keepChange();
    bool writeState();
    void log(const QString &line);
    QString clientName(const Client &client) const;

    const MatrixSimulatorOptions m_options;
    mutable std::mutex m_stateMutex;
    X86MatrixModel m_x86;
    LinuxMatrixModel m_linux;
    mutable std::mutex m_faultMutex;
    MatrixSimulatorFaults m_faults;

    QTcpServer *m_x86Server = nullptr;
    QTcpServer *m_linuxServer = nullptr;
    quint16 m_x86Port = 0;
    quint16 m_linuxPort = 0;
    std::map<quint64, std::unique_ptr<Client>> m_clients;
    quint64 m_lastClientId = 0;
    std::atomic<int> m_clientCount {0};
    bool m_rebooting = false;
    QElapsedTimer m_rebootClock;
    // The state file as last written, when, and a write put off to the end of the interval.
    QByteArray m_savedJson;
    QElapsedTimer m_lastSave;
    QTimer *m_saveTimer = nullptr;
    // Steps the turn shows at their intervals.
    QTimer *m_turnTimer = nullptr;
    bool m_saveFailed = false;
};

} // namespace MatrixSim
