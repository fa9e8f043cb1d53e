// The socket side of a matrix channel; lives on the channel's network thread.
#pragma once

#include "FrameDecoder.h"
#include "MatrixProtocol.h"

#include <QAbstractSocket>
#include <QObject>
#include <QTimer>

class QTcpSocket;

namespace MatrixService {

class MatrixChannel;

class ClientConnection : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(ClientConnection)

public:
    ClientConnection(MatrixChannel *channel, MatrixProtocol::Role role, int connectTimeoutMs,
                     QObject *parent = nullptr);
    ~ClientConnection() override;

    // Drops the current connection quietly and connects to host:port; attempt tags the outcome.
    void open(const QString &host, quint16 port, quint64 attempt);
    // Drops the connection without reporting it as lost. A pending connect attempt ends
    // with ConnFailed that is not passed to the listener.
    void closeQuietly();
    // Writes one frame; false when there is no connection ready for requests.
    bool send(const QByteArray &frame);
    // Reports ConnFailed for an attempt that could not even start (bad address).
    void refuse(quint64 attempt);

private:
    enum class State {
        Idle,
        Connecting,
        Handshaking,
        Ready,
    };

    void onConnected();
    void onReadyRead();
    void onSocketError(QAbstractSocket::SocketError error);
    void onDisconnected();
    void onConnectTimeout();

    void handleFrame(const MatrixProtocol::Frame &frame);
    void failConnect(int connType, int status);
    void lose(int connType);
    void dropSocket();

    MatrixChannel *const m_channel;
    const MatrixProtocol::Role m_role;
    const int m_connectTimeoutMs;
    QTcpSocket *m_socket = nullptr;
    MatrixProtocol::FrameDecoder m_decoder;
    QTimer m_connectTimer;
    State m_state = State::Idle;
    quint64 m_attempt = 0;
    bool m_kicked = false;
};

} // namespace MatrixService
