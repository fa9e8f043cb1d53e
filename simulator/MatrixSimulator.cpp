#include "MatrixSimulator.h"

#include "SimulatorServer.h"

MatrixSimulator::MatrixSimulator(QObject *parent)
    : QObject(parent)
{
    m_thread.setObjectName(QStringLiteral("matrix-simulator"));
}

MatrixSimulator::~MatrixSimulator()
{
    stop();
}

bool MatrixSimulator::start(const MatrixSimulatorOptions &options)
{
    stop();
    m_options = options;
    m_error.clear();
    auto *server = new MatrixSim::SimulatorServer(options);
    server->setFaults(m_faults);
    server->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, server, &QObject::deleteLater);
    connect(server, &MatrixSim::SimulatorServer::stateChanged, this,
            &MatrixSimulator::stateChanged);
    connect(server, &MatrixSim::SimulatorServer::requestLogged, this,
            &MatrixSimulator::requestLogged);
    connect(server, &MatrixSim::SimulatorServer::clientCountChanged, this,
            &MatrixSimulator::clientCountChanged);
    m_thread.start();

    bool started = false;
    QString error;
    QMetaObject::invokeMethod(
            server, [server, &started, &error] { started = server->start(&error); },
            Qt::BlockingQueuedConnection);
    if (!started) {
        m_error = error;
        m_thread.quit();
        m_thread.wait();
        return false;
    }
    m_server = server;
    return true;
}

void MatrixSimulator::stop()
{
    if (!m_server)
        return;
    MatrixSim::SimulatorServer *server = m_server;
    m_server = nullptr;
    QMetaObject::invokeMethod(
            server, [server] { server->stop(); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

quint16 MatrixSimulator::x86Port() const
{
    return m_server ? m_server->x86Port() : 0;
}

quint16 MatrixSimulator::linuxPort() const
{
    return m_server ? m_server->linuxPort() : 0;
}

int MatrixSimulator::clientCount() const
{
    return m_server ? m_server->clientCount() : 0;
}

SimX86State MatrixSimulator::x86State() const
{
    return m_server ? m_server->x86State() : SimX86State();
}

SimLinuxState MatrixSimulator::linuxState() const
{
    return m_server ? m_server->linuxState() : SimLinuxState();
}

void MatrixSimulator::setFaults(const MatrixSimulatorFaults &faults)
{
    m_faults = faults;
    if (m_server)
        m_server->setFaults(faults);
}

MatrixSimulatorFaults MatrixSimulator::faults() const
{
    return m_faults;
}

void MatrixSimulator::dropLinuxClients()
{
    if (!m_server)
        return;
    MatrixSim::SimulatorServer *server = m_server;
    QMetaObject::invokeMethod(
            server, [server] { server->dropLinuxClients(); }, Qt::BlockingQueuedConnection);
}

void MatrixSimulator::stepTurnShows()
{
    if (!m_server)
        return;
    MatrixSim::SimulatorServer *server = m_server;
    QMetaObject::invokeMethod(
            server, [server] { server->advanceTurns(true); }, Qt::BlockingQueuedConnection);
}

void MatrixSimulator::rebootLinux()
{
    if (!m_server)
        return;
    MatrixSim::SimulatorServer *server = m_server;
    QMetaObject::invokeMethod(
            server, [server] { server->rebootLinux(); }, Qt::BlockingQueuedConnection);
}
