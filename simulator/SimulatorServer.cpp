#include "SimulatorServer.h"

#include "FrameDecoder.h"
#include "Handshake.h"
#include "PayloadWriter.h"
#include "StateFile.h"

#include <QFile>
#include <QLoggingCategory>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <deque>

Q_LOGGING_CATEGORY(lcSimulator, "dm.simulator", QtInfoMsg)

namespace MatrixSim {

using namespace MatrixProtocol;

struct SimulatorServer::Client
{
    quint64 id = 0;
    Role role = Role::X86;
    QTcpSocket *socket = nullptr;
    QString peer;
    FrameDecoder decoder;
    bool greeted = false;
    bool closing = false;
    bool closeWhenFlushed = false;
    bool reading = false; // inside readClient()
    bool readScheduled = false; // a later turn of the event loop goes on reading
    // Frames held back by the answer delay, with the time they are due.
    std::deque<QPair<qint64, QByteArray>> delayed;
    QTimer *delayTimer = nullptr;
    QElapsedTimer clock;
};

namespace {

// A client that lets this much pile up unread is dropped.
constexpr qint64 MaxWriteBacklog = 8 * 1024 * 1024;
// Fairness: a client is served this many requests per turn of the event loop, and none while
// this much of its answers is still unsent; what it sends meanwhile waits in the network.
constexpr int MaxRequestsPerTurn = 16;
constexpr qint64 MaxUnsentAnswers = 64 * 1024;
constexpr qint64 ReadChunk = 16 * 1024;
constexpr qint64 ReadBufferSize = 64 * 1024;
// After the listening socket failed to accept (no file descriptor left), it waits this long.
constexpr int AcceptRetryMs = 200;

const char *roleName(Role role)
{
    return role == Role::X86 ? "x86" : "linux";
}

// Bytes that no client can take for a frame.
QByteArray garbage()
{
    return QByteArray("\xde\xad\xbe\xef\x00\x01\x02\x03\xff\xfe\xfd\xfc\x55\xaa\x55\xaa", 16);
}

// How often the turn shows are looked at; they step at their own intervals.
constexpr int TurnClockMs = 100;

} // namespace

SimulatorServer::SimulatorServer(const MatrixSimulatorOptions &options, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_x86(options.x86Outputs, options.x86Accounts)
    , m_linux(options.linuxAccounts, options.upgradePolls, options.usbFirmware,
              options.firmwareVersion)
{ }

SimulatorServer::~SimulatorServer()
{
    stop();
}

bool SimulatorServer::start(QString *error)
{
    if (!m_options.stateFile.isEmpty()) {
        if (QFile::exists(m_options.stateFile)) {
            QByteArray data;
            QString why;
            SimX86State x86 = m_x86.state();
            SimLinuxState linuxWall = m_linux.state();
            bool hasX86 = false;
            bool hasLinux = false;
            if (!StateFile::read(m_options.stateFile, &data, &why)
                || !StateFile::fromJson(data, &x86, &hasX86, &linuxWall, &hasLinux, &why)
                || (hasX86 && !m_x86.restore(x86, &why))
                || (hasLinux && !m_linux.restore(linuxWall, &why))) {
                if (error)
                    *error = QStringLiteral("state file %1: %2").arg(m_options.stateFile, why);
                return false;
            }
        }
        const QByteArray json = StateFile::toJson(m_x86.state(), m_linux.state());
        QString why;
        if (!StateFile::write(m_options.stateFile, json, &why)) {
            if (error)
                *error = QStringLiteral("state file %1: %2").arg(m_options.stateFile, why);
            return false;
        }
        m_savedJson = json;
        m_lastSave.start();
        m_saveTimer = new QTimer(this);
        m_saveTimer->setSingleShot(true);
        connect(m_saveTimer, &QTimer::timeout, this, [this] { writeState(); });
    }
    if (!listen(m_x86Server, m_options.x86Port, Role::X86, &m_x86Port, error)
        || !listen(m_linuxServer, m_options.linuxPort, Role::Linux, &m_linuxPort, error)) {
        stop();
        return false;
    }
    if (!m_turnTimer) {
        m_turnTimer = new QTimer(this);
        m_turnTimer->setInterval(TurnClockMs);
        connect(m_turnTimer, &QTimer::timeout, this, [this] { advanceTurns(false); });
    }
    m_turnTimer->start();
    return true;
}

void SimulatorServer::advanceTurns(bool force)
{
    RequestOutcome outcome;
    bool stepped = false;
    {
        std::lock_guard<std::mutex> lock(m_stateMutex);
        stepped = m_x86.advanceTurns(force, outcome);
        stepped = m_linux.advanceTurns(force) || stepped;
    }
    for (const auto &event : outcome.events) {
        auto target = m_clients.find(event.first);
        if (target != m_clients.end() && !target->second->closing)
            send(*target->second, encodeFrame(event.second.type, 0, event.second.payload), true);
    }
    // A step is what the wall shows, not a change to keep.
    if (stepped)
        emit stateChanged();
}

bool SimulatorServer::listen(QTcpServer *&server, int port, Role role, quint16 *chosen,
                             QString *error)
{
    if (port < 0)
        return true;
    server = new QTcpServer(this);
    if (port > 65535 || !server->listen(m_options.listenAddress, quint16(port))) {
        if (error) {
            *error = QStringLiteral("cannot listen for the %1 matrix on %2:%3: %4")
                             .arg(QLatin1String(roleName(role)), m_options.listenAddress.toString())
                             .arg(port)
                             .arg(server->errorString());
        }
        delete server;
        server = nullptr;
        return false;
    }
    *chosen = server->serverPort();
    QTcpServer *listening = server;
    connect(server, &QTcpServer::newConnection, this,
            [this, listening, role] { acceptClients(listening, role); });
    // Out of file descriptors: the server pauses; it tries again a little later instead of
    // spinning or staying deaf.
    connect(server, &QTcpServer::acceptError, this, [this, listening, role] {
        log(QStringLiteral("%1 cannot accept a connection: %2")
                    .arg(QLatin1String(roleName(role)), listening->errorString()));
        listening->pauseAccepting();
        QTimer::singleShot(AcceptRetryMs, listening, [listening] { listening->resumeAccepting(); });
    });
    return true;
}

void SimulatorServer::stop()
{
    if (m_turnTimer)
        m_turnTimer->stop();
    // The last change is never lost on a clean stop.
    if (m_saveTimer && m_saveTimer->isActive())
        writeState();
    for (auto &entry : m_clients) {
        Client &client = *entry.second;
        {
            std::lock_guard<std::mutex> lock(m_stateMutex);
            if (client.role == Role::X86)
                m_x86.removeSession(client.id);
            else
                m_linux.removeSession(client.id);
        }
        client.socket->disconnect(this);
        client.socket->abort();
        delete client.socket;
        delete client.delayTimer;
    }
    m_clients.clear();
    delete m_x86Server;
    m_x86Server = nullptr;
    delete m_linuxServer;
    m_linuxServer = nullptr;
    if (m_clientCount.exchange(0) != 0)
        emit clientCountChanged(0);
}

SimX86State SimulatorServer::x86State() const
{
    std::lock_guard<std::mutex> lock(m_stateMutex);
    return m_x86.state();
}

SimLinuxState SimulatorServer::linuxState() const
{
    std::lock_guard<std::mutex> lock(m_stateMutex);
    return m_linux.state();
}

void SimulatorServer::setFaults(const MatrixSimulatorFaults &faults)
{
    std::lock_guard<std::mutex> lock(m_faultMutex);
    m_faults = faults;
}

MatrixSimulatorFaults SimulatorServer::faults() const
{
    std::lock_guard<std::mutex> lock(m_faultMutex);
    return m_faults;
}

QString SimulatorServer::clientName(const Client &client) const
{
    return QStringLiteral("%1 #%2 %3")
            .arg(QLatin1String(roleName(client.role)))
            .arg(client.id)
            .arg(client.peer);
}

void SimulatorServer::log(const QString &line)
{
    if (m_options.logRequests)
        qCInfo(lcSimulator).noquote() << line;
    emit requestLogged(line);
}

void SimulatorServer::acceptClients(QTcpServer *server, Role role)
{
    while (server->hasPendingConnections()) {
        QTcpSocket *socket = server->nextPendingConnection();
        socket->setParent(this);
        if (m_clientCount.load() >= m_options.maxClients) {
            refuseClient(socket, role);
            continue;
        }
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        socket->setReadBufferSize(ReadBufferSize);
        auto client = std::make_unique<Client>();
        client->id = ++m_lastClientId;
        client->role = role;
        client->socket = socket;
        client->peer = QStringLiteral("%1:%2")
                               .arg(socket->peerAddress().toString())
                               .arg(socket->peerPort());
        client->clock.start();
        const quint64 id = client->id;
        connect(socket, &QTcpSocket::readyRead, this, [this, id] { readClient(id); });
        // Reading paused for unsent answers goes on as they leave.
        connect(socket, &QTcpSocket::bytesWritten, this, [this, id] { readClient(id); });
        if (m_options.handshakeTimeoutMs > 0) {
            // A parent of its own: the timer goes with the socket.
            auto *handshakeTimer = new QTimer(socket);
            handshakeTimer->setSingleShot(true);
            connect(handshakeTimer, &QTimer::timeout, this, [this, id] {
                auto found = m_clients.find(id);
                if (found != m_clients.end() && !found->second->greeted && !faults().silent)
                    dropClient(id,
                               QStringLiteral("no hello within %1 ms")
                                       .arg(m_options.handshakeTimeoutMs));
            });
            handshakeTimer->start(m_options.handshakeTimeoutMs);
        }
        // Queued, so that a client is never forgotten while one of its frames is handled.
        connect(
                socket, &QTcpSocket::disconnected, this, [this, id] { forgetClient(id); },
                Qt::QueuedConnection);
        log(clientName(*client) + QStringLiteral(" connected"));
        m_clients.emplace(id, std::move(client));
        emit clientCountChanged(++m_clientCount);
        readClient(id);
    }
}

void SimulatorServer::refuseClient(QTcpSocket *socket, Role role)
{
    log(QStringLiteral("%1 %2:%3 refused: %4 connections already")
                .arg(QLatin1String(roleName(role)), socket->peerAddress().toString())
                .arg(socket->peerPort())
                .arg(m_clientCount.load()));
    // Answered once its hello is in: a matrix that closes before it has read what the client
    // sent resets the connection, and the client may never see the refusal.
    connect(socket, &QTcpSocket::readyRead, socket, [socket, role] {
        socket->readAll();
        if (socket->state() != QAbstractSocket::ConnectedState)
            return;
        socket->write(encodeFrame(HelloAck, 0,
                                  encodeHelloAck(ProtocolVersion, quint16(role), MatrixErrBusy)));
        socket->disconnectFromHost();
    });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(qMax(1, m_options.handshakeTimeoutMs), socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
}

void SimulatorServer::readClient(quint64 id)
{
    auto found = m_clients.find(id);
    if (found == m_clients.end() || found->second->reading)
        return;
    Client &client = *found->second;
    if (client.closing || client.closeWhenFlushed || faults().silent) {
        client.socket->readAll();
        return;
    }
    // A client whose answers pile up unread is not served until they leave; the others are.
    if (client.socket->bytesToWrite() > MaxUnsentAnswers)
        return;
    client.reading = true;
    Frame frame;
    int served = 0;
    while (served < MaxRequestsPerTurn) {
        if (!client.decoder.takeFrame(frame)) {
            if (client.decoder.hasError()) {
                client.reading = false;
                dropClient(id, client.decoder.errorString());
                return;
            }
            if (client.socket->bytesAvailable() <= 0)
                break;
            client.decoder.feed(client.socket->read(ReadChunk));
            continue;
        }
        handleFrame(client, frame);
        ++served;
        found = m_clients.find(id);
        if (found == m_clients.end())
            return;
        if (client.closing || client.socket->bytesToWrite() > MaxUnsentAnswers)
            break;
    }
    client.reading = false;
    if (served == MaxRequestsPerTurn && !client.closing)
        readLater(client);
}

void SimulatorServer::readLater(Client &client)
{
    if (client.readScheduled)
        return;
    client.readScheduled = true;
    const quint64 id = client.id;
    QMetaObject::invokeMethod(
            this,
            [this, id] {
                auto found = m_clients.find(id);
                if (found == m_clients.end())
                    return;
                found->second->readScheduled = false;
                readClient(id);
            },
            Qt::QueuedConnection);
}

void SimulatorServer::handleFrame(Client &client, const Frame &frame)
{
    if (!client.greeted) {
        greet(client, frame);
        return;
    }
    const bool known = isGenericRequest(frame.type)
            || (client.role == Role::X86 ? isX86Request(frame.type) : isLinuxRequest(frame.type));
    if (!known) {
        dropClient(client.id,
                   QStringLiteral("unexpected message type 0x%1")
                           .arg(frame.type, 4, 16, QLatin1Char('0')));
        return;
    }

    RequestOutcome outcome;
    const MatrixSimulatorFaults current = faults();
    if (current.unansweredRequests.contains(frame.type))
        return;
    if (current.refusedRequests.contains(frame.type)) {
        outcome.result = current.refusedResult;
        outcome.summary = QStringLiteral("(refused by a fault)");
    } else if (frame.type == KeepAlive) {
        // Answered on either port, before and after a login; it changes nothing.
        if (!frame.payload.isEmpty())
            outcome.result = MatrixErrBadArgument;
    } else {
        std::lock_guard<std::mutex> lock(m_stateMutex);
        // The wall before the request, put back when its change cannot be kept.
        const bool keeps = !m_options.stateFile.isEmpty();
        const SimX86State x86Before =
                keeps && client.role == Role::X86 ? m_x86.state() : SimX86State();
        const SimLinuxState linuxBefore =
                keeps && client.role == Role::Linux ? m_linux.state() : SimLinuxState();
        outcome = client.role == Role::X86 ? m_x86.handle(client.id, frame.type, frame.payload)
                                           : m_linux.handle(client.id, frame.type, frame.payload);
        if (outcome.changed && !keepChange()) {
            if (client.role == Role::X86)
                m_x86.restore(x86Before, nullptr);
            else
                m_linux.restore(linuxBefore, nullptr);
            outcome = RequestOutcome();
            outcome.result = MatrixErrFailed;
            outcome.summary = QStringLiteral("(not kept: the state file cannot be written)");
        }
        if (outcome.reboot)
            m_linux.rebooted();
    }
    // A keep-alive comes every second from every page: it would drown the requests.
    if (frame.type != KeepAlive || outcome.result != 0)
        log(QStringLiteral("%1 %2 %3 -> %4")
                    .arg(clientName(client), QLatin1String(messageName(frame.type)),
                         outcome.summary)
                    .arg(outcome.result));

    for (const auto &event : outcome.eventsFirst) {
        auto target = m_clients.find(event.first);
        if (target != m_clients.end() && !target->second->closing)
            send(*target->second, encodeFrame(event.second.type, 0, event.second.payload), true);
    }
    PayloadWriter reply;
    reply.putInt32(outcome.result).putBytes(outcome.body.constData(), outcome.body.size());
    send(client, encodeFrame(frame.type | ReplyFlag, frame.requestId, reply.data()), true);
    for (const auto &event : outcome.events) {
        auto target = m_clients.find(event.first);
        if (target != m_clients.end() && !target->second->closing)
            send(*target->second, encodeFrame(event.second.type, 0, event.second.payload), true);
    }
    for (quint64 kicked : outcome.kicked) {
        auto target = m_clients.find(kicked);
        if (target != m_clients.end())
            log(clientName(*target->second) + QStringLiteral(" taken over by a forced login"));
        closeClient(kicked);
    }
    if (outcome.changed)
        emit stateChanged();
    if (outcome.reboot)
        performReboot();
}

void SimulatorServer::greet(Client &client, const Frame &frame)
{
    quint16 version = 0;
    quint16 role = 0;
    if (frame.type != Hello || !decodeHello(frame.payload, version, role)) {
        dropClient(client.id, QStringLiteral("no hello"));
        return;
    }
    qint32 status = 0;
    if (version != ProtocolVersion || role != quint16(client.role))
        status = MatrixErrProtocol;
    else if (client.role == Role::Linux && rebooting())
        status = MatrixErrBusy;
    log(QStringLiteral("%1 Hello version=%2 role=%3 -> %4")
                .arg(clientName(client))
                .arg(version)
                .arg(role)
                .arg(status));
    send(client,
         encodeFrame(HelloAck, 0, encodeHelloAck(ProtocolVersion, quint16(client.role), status)),
         false);
    if (status != 0) {
        closeClient(client.id);
        return;
    }
    client.greeted = true;
    std::lock_guard<std::mutex> lock(m_stateMutex);
    if (client.role == Role::X86)
        m_x86.addSession(client.id);
    else
        m_linux.addSession(client.id);
}

void SimulatorServer::send(Client &client, const QByteArray &bytes, bool afterHandshake)
{
    const MatrixSimulatorFaults current = faults();
    if (current.silent || client.closing)
        return;
    if (client.socket->bytesToWrite() > MaxWriteBacklog) {
        dropClient(client.id, QStringLiteral("does not read what it is sent"));
        return;
    }
    const QByteArray data = current.garbageAnswers && afterHandshake ? garbage() : bytes;
    if (current.answerDelayMs <= 0 && client.delayed.empty()) {
        client.socket->write(data);
        return;
    }
    client.delayed.emplace_back(client.clock.elapsed() + qMax(0, current.answerDelayMs), data);
    if (!client.delayTimer) {
        client.delayTimer = new QTimer(this);
        client.delayTimer->setSingleShot(true);
        const quint64 id = client.id;
        connect(client.delayTimer, &QTimer::timeout, this, [this, id] { flushDelayed(id); });
    }
    if (!client.delayTimer->isActive())
        client.delayTimer->start(
                int(qMax<qint64>(0, client.delayed.front().first - client.clock.elapsed())));
}

void SimulatorServer::flushDelayed(quint64 id)
{
    auto found = m_clients.find(id);
    if (found == m_clients.end())
        return;
    Client &client = *found->second;
    const qint64 now = client.clock.elapsed();
    while (!client.delayed.empty() && client.delayed.front().first <= now) {
        client.socket->write(client.delayed.front().second);
        client.delayed.pop_front();
    }
    if (!client.delayed.empty()) {
        client.delayTimer->start(int(client.delayed.front().first - now));
    } else if (client.closeWhenFlushed) {
        client.closing = true;
        client.socket->disconnectFromHost();
    }
}

void SimulatorServer::closeClient(quint64 id)
{
    auto found = m_clients.find(id);
    if (found == m_clients.end())
        return;
    Client &client = *found->second;
    if (!client.delayed.empty()) {
        client.closeWhenFlushed = true;
        return;
    }
    // The socket says "disconnected" once what is written has gone out; then it is forgotten.
    client.closing = true;
    client.socket->disconnectFromHost();
}

void SimulatorServer::dropClient(quint64 id, const QString &why)
{
    auto found = m_clients.find(id);
    if (found == m_clients.end())
        return;
    Client &client = *found->second;
    log(clientName(client) + QStringLiteral(" dropped: ") + why);
    client.closing = true;
    client.delayed.clear();
    client.socket->abort();
    QMetaObject::invokeMethod(
            this, [this, id] { forgetClient(id); }, Qt::QueuedConnection);
}

void SimulatorServer::forgetClient(quint64 id)
{
    auto found = m_clients.find(id);
    if (found == m_clients.end())
        return;
    std::unique_ptr<Client> client = std::move(found->second);
    m_clients.erase(found);
    QVector<QPair<quint64, Frame>> lists;
    {
        std::lock_guard<std::mutex> lock(m_stateMutex);
        if (client->role == Role::X86)
            lists = m_x86.removeSession(id);
        else
            m_linux.removeSession(id);
    }
    // The operators who stay learn that this one left.
    for (const auto &event : lists) {
        auto target = m_clients.find(event.first);
        if (target != m_clients.end() && !target->second->closing)
            send(*target->second, encodeFrame(event.second.type, 0, event.second.payload), true);
    }
    log(clientName(*client) + QStringLiteral(" disconnected"));
    client->socket->disconnect(this);
    client->socket->deleteLater();
    if (client->delayTimer)
        client->delayTimer->deleteLater();
    emit clientCountChanged(--m_clientCount);
}

bool SimulatorServer::rebooting() const
{
    return m_rebooting && m_rebootClock.elapsed() < m_options.rebootMs;
}

void SimulatorServer::rebootLinux()
{
    {
        std::lock_guard<std::mutex> lock(m_stateMutex);
        m_linux.rebooted();
    }
    log(QStringLiteral("linux matrix rebooting"));
    performReboot();
    emit stateChanged();
}

void SimulatorServer::dropLinuxClients()
{
    std::vector<quint64> linuxClients;
    for (const auto &entry : m_clients) {
        if (entry.second->role == Role::Linux)
            linuxClients.push_back(entry.first);
    }
    for (quint64 id : linuxClients)
        dropClient(id, QStringLiteral("network fault"));
}

void SimulatorServer::performReboot()
{
    m_rebooting = true;
    m_rebootClock.start();
    std::vector<quint64> linuxClients;
    for (const auto &entry : m_clients) {
        if (entry.second->role == Role::Linux)
            linuxClients.push_back(entry.first);
    }
    for (quint64 id : linuxClients)
        closeClient(id);
}

// After a change. A change within the interval after the last
// write is written at its end, together with any that follow; otherwise it is written now and
// false tells that it could not be.
bool SimulatorServer::keepChange()
{
    if (m_options.stateFile.isEmpty())
        return true;
    const qint64 since = m_lastSave.elapsed();
    if (!m_saveFailed && since < m_options.stateWriteIntervalMs) {
        if (!m_saveTimer->isActive())
            m_saveTimer->start(int(m_options.stateWriteIntervalMs - since));
        return true;
    }
    return writeState();
}

bool SimulatorServer::writeState()
{
    if (m_options.stateFile.isEmpty())
        return true;
    m_saveTimer->stop();
    // Only this thread changes the walls: they are read without the lock, which the caller
    // may hold.
    const QByteArray json = StateFile::toJson(m_x86.state(), m_linux.state());
    if (json == m_savedJson)
        return true;
    m_lastSave.start();
    QString why;
    if (!StateFile::write(m_options.stateFile, json, &why)) {
        // The next change is written at once and refused while the file still cannot be.
        m_saveFailed = true;
        qCWarning(lcSimulator) << "cannot write the state file" << m_options.stateFile << ":"
                               << why;
        return false;
    }
    m_savedJson = json;
    m_saveFailed = false;
    return true;
}

} // namespace MatrixSim
