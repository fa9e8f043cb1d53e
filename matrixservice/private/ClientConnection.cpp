#include "ClientConnection.h"

#include "Handshake.h"
#include "MatrixChannel.h"
#include "MatrixServiceTypes.h"
#include "ServerMessage.h"
#include "ServiceLogging.h"

#include <QNetworkProxy>
#include <QTcpSocket>

namespace MatrixService {

using namespace MatrixProtocol;

ClientConnection::ClientConnection(MatrixChannel *channel, Role role, int connectTimeoutMs,
                                   QObject *parent)
    : QObject(parent)
    , m_channel(channel)
    , m_role(role)
    , m_connectTimeoutMs(connectTimeoutMs)
{
    m_connectTimer.setSingleShot(true);
    connect(&m_connectTimer, &QTimer::timeout, this, &ClientConnection::onConnectTimeout);
}

ClientConnection::~ClientConnection()
{
    dropSocket();
}

void ClientConnection::open(const QString &host, quint16 port, quint64 attempt)
{
    closeQuietly();
    m_attempt = attempt;
    m_decoder = FrameDecoder();
    m_kicked = false;
    m_socket = new QTcpSocket(this);
    // A matrix sits on the local network; a proxy of the host must not come in between.
    m_socket->setProxy(QNetworkProxy::NoProxy);
    connect(m_socket, &QTcpSocket::connected, this, &ClientConnection::onConnected);
    connect(m_socket, &QTcpSocket::readyRead, this, &ClientConnection::onReadyRead);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &ClientConnection::onSocketError);
    connect(m_socket, &QTcpSocket::disconnected, this, &ClientConnection::onDisconnected);
    m_state = State::Connecting;
    m_connectTimer.start(m_connectTimeoutMs);
    m_socket->connectToHost(host, port);
}

void ClientConnection::refuse(quint64 attempt)
{
    closeQuietly();
    m_channel->reportConnectOutcome(attempt, ConnFailed, MatrixErrBadArgument, true);
}

void ClientConnection::closeQuietly()
{
    const State state = m_state;
    dropSocket();
    m_state = State::Idle;
    m_connectTimer.stop();
    if (state == State::Connecting || state == State::Handshaking)
        m_channel->reportConnectOutcome(m_attempt, ConnFailed, MatrixErrNotConnected, false);
    if (state == State::Ready)
        m_channel->reportClosed(MatrixErrNotConnected);
}

bool ClientConnection::send(const QByteArray &frame)
{
    if (m_state != State::Ready || !m_socket || frame.isEmpty())
        return false;
    return m_socket->write(frame) == frame.size();
}

void ClientConnection::onConnected()
{
    if (m_state != State::Connecting)
        return;
    m_state = State::Handshaking;
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_socket->write(encodeFrame(Hello, 0, encodeHello(m_role)));
}

void ClientConnection::onReadyRead()
{
    if (!m_socket)
        return;
    QTcpSocket *socket = m_socket;
    m_decoder.feed(socket->readAll());
    Frame frame;
    while (m_socket == socket && m_decoder.takeFrame(frame))
        handleFrame(frame);
    if (m_socket == socket && m_decoder.hasError()) {
        qCWarning(lcMatrixClient) << "matrix sent a malformed frame:" << m_decoder.errorString();
        if (m_state == State::Ready)
            lose(ConnDisError);
        else
            failConnect(ConnDisError, MatrixErrProtocol);
    }
}

void ClientConnection::handleFrame(const Frame &frame)
{
    QString error;
    const ServerMessage message = decodeServerMessage(frame, &error);
    if (m_state == State::Handshaking) {
        if (message.kind != ServerMessage::HelloAck) {
            qCWarning(lcMatrixClient) << "matrix did not answer the hello:" << error;
            failConnect(ConnDisError, MatrixErrProtocol);
            return;
        }
        if (message.result != 0) {
            qCInfo(lcMatrixClient) << "matrix refused the connection with" << message.result;
            failConnect(ConnFailed, message.result);
            return;
        }
        if (message.version != ProtocolVersion || message.role != quint16(m_role)) {
            qCWarning(lcMatrixClient)
                    << "matrix speaks version" << message.version << "role" << message.role;
            failConnect(ConnDisError, MatrixErrProtocol);
            return;
        }
        m_connectTimer.stop();
        m_state = State::Ready;
        m_channel->reportConnected();
        m_channel->reportConnectOutcome(m_attempt, ConnSuccess, 0, true);
        return;
    }
    if (m_state != State::Ready)
        return;
    switch (message.kind) {
    case ServerMessage::Reply:
        if (!m_channel->deliverReply(message)) {
            qCWarning(lcMatrixClient) << "matrix answered request" << frame.requestId
                                      << "with a reply of another kind";
            lose(ConnDisError);
        }
        return;
    case ServerMessage::Kicked:
        m_kicked = true;
        qCInfo(lcMatrixClient) << "another operator took the matrix over";
        m_channel->reportEvent(message);
        return;
    case ServerMessage::MatrixInfo:
    case ServerMessage::Layout:
    case ServerMessage::MonitorSources:
    case ServerMessage::TurnStep:
    case ServerMessage::Operators:
    case ServerMessage::TakenOver:
        m_channel->reportEvent(message);
        return;
    default:
        qCWarning(lcMatrixClient) << "matrix sent an unexpected frame:" << error;
        lose(ConnDisError);
        return;
    }
}

void ClientConnection::onSocketError(QAbstractSocket::SocketError error)
{
    Q_UNUSED(error)
    if (!m_socket)
        return;
    switch (m_state) {
    case State::Connecting:
    case State::Handshaking:
        qCInfo(lcMatrixClient) << "connecting failed:" << m_socket->errorString();
        failConnect(ConnFailed, MatrixErrNotConnected);
        break;
    case State::Ready:
        qCInfo(lcMatrixClient) << "connection lost:" << m_socket->errorString();
        lose(ConnDisconnect);
        break;
    case State::Idle:
        break;
    }
}

void ClientConnection::onDisconnected()
{
    if (m_state == State::Ready)
        lose(ConnDisconnect);
    else if (m_state == State::Connecting || m_state == State::Handshaking)
        failConnect(ConnFailed, MatrixErrNotConnected);
}

void ClientConnection::onConnectTimeout()
{
    if (m_state == State::Connecting || m_state == State::Handshaking) {
        qCInfo(lcMatrixClient) << "no answer from the matrix within" << m_connectTimeoutMs << "ms";
        failConnect(ConnTimeOut, MatrixErrTimeout);
    }
}

void ClientConnection::failConnect(int connType, int status)
{
    dropSocket();
    m_state = State::Idle;
    m_connectTimer.stop();
    m_channel->reportConnectOutcome(m_attempt, connType, status, true);
}

void ClientConnection::lose(int connType)
{
    if (m_kicked)
        qCInfo(lcMatrixClient) << "connection closed by the matrix after a takeover";
    dropSocket();
    m_state = State::Idle;
    m_channel->reportLost(connType);
}

void ClientConnection::dropSocket()
{
    if (!m_socket)
        return;
    QTcpSocket *socket = m_socket;
    m_socket = nullptr;
    socket->disconnect(this);
    // What was sent last before closing (a command ending a mode on the matrix) still goes out.
    if (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() > 0)
        socket->flush();
    socket->abort();
    socket->deleteLater();
}

} // namespace MatrixService
