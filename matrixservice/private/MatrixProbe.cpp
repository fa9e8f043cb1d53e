#include "MatrixProbe.h"

#include "FrameDecoder.h"
#include "Handshake.h"
#include "MatrixServiceTypes.h"
#include "ServerMessage.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpSocket>

namespace MatrixService {

namespace {
constexpr int MinProbeMs = 50;
constexpr int MaxProbeMs = 15000;
} // namespace

int probeMatrix(const char *host, int port, MatrixProtocol::Role role, int timeoutMs)
{
    using namespace MatrixProtocol;
    if (!host || port <= 0 || port > 65535)
        return MatrixErrBadArgument;
    const QHostAddress address(QString::fromLocal8Bit(host));
    if (address.isNull())
        return MatrixErrBadArgument;
    const int budget = qBound(MinProbeMs, timeoutMs, MaxProbeMs);
    QElapsedTimer clock;
    clock.start();
    const auto left = [&clock, budget] { return qMax(1, budget - int(clock.elapsed())); };

    QTcpSocket socket;
    socket.connectToHost(address, quint16(port));
    if (!socket.waitForConnected(left())) {
        return socket.error() == QAbstractSocket::SocketTimeoutError ? MatrixErrTimeout
                                                                     : MatrixErrNotConnected;
    }
    socket.write(encodeFrame(Hello, 0, encodeHello(role)));
    FrameDecoder decoder;
    Frame frame;
    while (!decoder.takeFrame(frame)) {
        if (decoder.hasError())
            return MatrixErrProtocol;
        if (clock.elapsed() >= budget)
            return MatrixErrTimeout;
        const bool arrived = socket.waitForReadyRead(left());
        decoder.feed(socket.readAll());
        // A matrix that closes without a whole answer is not there for this console.
        if (!arrived && socket.state() != QAbstractSocket::ConnectedState) {
            if (decoder.takeFrame(frame))
                break;
            return MatrixErrNotConnected;
        }
    }
    const ServerMessage message = decodeServerMessage(frame);
    socket.abort();
    if (message.kind != ServerMessage::HelloAck)
        return MatrixErrProtocol;
    if (message.result != 0)
        return message.result;
    return message.role == quint16(role) ? 0 : MatrixErrProtocol;
}

} // namespace MatrixService
