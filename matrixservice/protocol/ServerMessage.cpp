#include "ServerMessage.h"

#include "MatrixServiceTypes.h"
#include "OperatorList.h"
#include "PayloadReader.h"

namespace MatrixProtocol {

namespace {

bool countedBody(const QByteArray &body, int headInts, int countIndex, int maxCount, int recordSize)
{
    PayloadReader reader(body);
    qint32 count = 0;
    for (int i = 0; i < headInts; ++i) {
        qint32 value = 0;
        if (!reader.getInt32(value))
            return false;
        if (i == countIndex)
            count = value;
    }
    if (count < 0 || count > maxCount)
        return false;
    return reader.remaining() == count * recordSize;
}

bool setError(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

} // namespace

bool replyBodyIsValid(quint16 requestType, qint32 result, const QByteArray &body)
{
    if (!isRequest(requestType))
        return false;
    if (requestType == LinuxGetUpgradeStatus)
        return body.size() == int(sizeof(UpgradeStatusBlock));
    if (result != 0)
        return body.isEmpty();
    switch (requestType) {
    case LinuxGetScreenNumbers:
        return countedBody(body, 1, 0, MaxLinuxOutputs, 1);
    case LinuxGetScreenGrid:
        return countedBody(body, 1, 0, MaxLinuxOutputs, int(sizeof(ScreenRegionEntry)));
    case LinuxGetCellChannels:
        return countedBody(body, 2, 1, MaxCellChannels, int(sizeof(CellChannelRecord)));
    case LinuxGetCellTurnShow:
        return body.size() == int(sizeof(CellTurnStatus));
    case LinuxGetCellSingleWindow:
        return body.size() == 8;
    case LinuxGetCellTurnPages:
        return countedBody(body, 1, 0, MaxLinuxOutputs, int(sizeof(CellTurnPage)));
    case LinuxGetFirmwareVersion: {
        PayloadReader reader(body);
        QByteArray version;
        return reader.getText(version, MaxFirmwareVersionText) && reader.atEnd();
    }
    case LinuxGetOperators:
        return decodeOperators(body, nullptr);
    case LinuxGetWallRevision:
        return body.size() == 4;
    default:
        return body.isEmpty();
    }
}

ServerMessage decodeServerMessage(const Frame &frame, QString *error)
{
    ServerMessage message;
    message.requestId = frame.requestId;
    PayloadReader reader(frame.payload);

    if (frame.type & ReplyFlag) {
        message.requestType = frame.type & ~quint16(ReplyFlag);
        if (!isRequest(message.requestType)) {
            setError(error,
                     QStringLiteral("reply to unknown request type 0x%1")
                             .arg(message.requestType, 4, 16, QLatin1Char('0')));
            return ServerMessage();
        }
        if (!reader.getInt32(message.result)) {
            setError(error, QStringLiteral("reply without result"));
            return ServerMessage();
        }
        message.body = frame.payload.mid(4);
        if (!replyBodyIsValid(message.requestType, message.result, message.body)) {
            setError(error,
                     QStringLiteral("reply to %1 with a body of %2 bytes")
                             .arg(QLatin1String(messageName(message.requestType)))
                             .arg(message.body.size()));
            return ServerMessage();
        }
        message.kind = ServerMessage::Reply;
        return message;
    }

    switch (frame.type) {
    case HelloAck:
        if (!reader.getUInt16(message.version) || !reader.getUInt16(message.role)
            || !reader.getInt32(message.result) || !reader.atEnd()) {
            setError(error, QStringLiteral("malformed hello answer"));
            return ServerMessage();
        }
        message.kind = ServerMessage::HelloAck;
        return message;
    case EventMatrixInfo:
        if (!reader.getInt32(message.values[0]) || !reader.getInt32(message.values[1])
            || !reader.getInt32(message.values[2]) || !reader.atEnd()) {
            setError(error, QStringLiteral("malformed matrix information"));
            return ServerMessage();
        }
        message.kind = ServerMessage::MatrixInfo;
        return message;
    case EventKicked:
        if (!reader.getInt32(message.values[0]) || !reader.atEnd()) {
            setError(error, QStringLiteral("malformed kick notice"));
            return ServerMessage();
        }
        message.kind = ServerMessage::Kicked;
        return message;
    case EventMonitorSources: {
        if (!reader.getInt32(message.values[0]) || !reader.getInt32(message.values[1])
            || !reader.getInt32(message.values[2]) || message.values[2] < 0
            || message.values[2] > MaxX86Sources
            || reader.remaining() != message.values[2] * int(sizeof(_ST_ChnInfo))) {
            setError(error, QStringLiteral("malformed window sources"));
            return ServerMessage();
        }
        message.kind = ServerMessage::MonitorSources;
        message.body = frame.payload.mid(12);
        return message;
    }
    case EventTurnStep:
        for (qint32 &value : message.values) {
            if (!reader.getInt32(value)) {
                setError(error, QStringLiteral("malformed turn step"));
                return ServerMessage();
            }
        }
        if (!reader.atEnd()) {
            setError(error, QStringLiteral("malformed turn step"));
            return ServerMessage();
        }
        message.kind = ServerMessage::TurnStep;
        return message;
    case EventOperators:
    case EventTakenOver: {
        const bool valid = frame.type == EventOperators ? decodeOperators(frame.payload, nullptr)
                                                        : decodeOperator(frame.payload, nullptr);
        if (!valid) {
            setError(error, QStringLiteral("malformed operator list"));
            return ServerMessage();
        }
        message.kind =
                frame.type == EventOperators ? ServerMessage::Operators : ServerMessage::TakenOver;
        message.body = frame.payload;
        return message;
    }
    case EventLayout: {
        const int head = int(offsetof(_MIRRORLAYOUT, mirrors));
        qint32 count = -1;
        PayloadReader countReader(frame.payload.mid(int(offsetof(_MIRRORLAYOUT, mirrorCount))));
        if (frame.payload.size() < head || !countReader.getInt32(count) || count < 0
            || count > MaxX86Windows || frame.payload.size() != int(mirrorLayoutSize(count))) {
            setError(error,
                     QStringLiteral("malformed layout of %1 bytes").arg(frame.payload.size()));
            return ServerMessage();
        }
        message.kind = ServerMessage::Layout;
        message.body = frame.payload;
        return message;
    }
    default:
        setError(error,
                 QStringLiteral("unexpected message type 0x%1")
                         .arg(frame.type, 4, 16, QLatin1Char('0')));
        return ServerMessage();
    }
}

} // namespace MatrixProtocol
