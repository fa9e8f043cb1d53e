// What a client makes of one frame from the matrix. Every size and count is checked
// against the bytes received, so a client never reads past a frame.
#pragma once

#include "FrameDecoder.h"
#include "MatrixProtocol.h"

namespace MatrixProtocol {

struct ServerMessage
{
    enum Kind {
        Invalid,
        HelloAck,
        Reply,
        MatrixInfo,
        Layout,
        Kicked,
        MonitorSources,
        TurnStep,
        Operators, // body: the EventOperators payload
        TakenOver, // body: the EventTakenOver payload
    };

    Kind kind = Invalid;
    quint32 requestId = 0;
    quint16 requestType = 0; // Reply: the type of the request answered
    qint32 result = 0; // Reply: the result; HelloAck: the status
    QByteArray body; // Reply: what follows the result; Layout: the layout record
    quint16 version = 0; // HelloAck
    quint16 role = 0; // HelloAck
    // MatrixInfo: screens, rows, columns; Kicked: reason; MonitorSources: monitor, interval,
    // count (the records in body); TurnStep: monitor, turn state, page, pages, interval
    qint32 values[5] = {};
};

ServerMessage decodeServerMessage(const Frame &frame, QString *error = nullptr);

// True when body is what the matrix must send with a reply of that result to that request.
bool replyBodyIsValid(quint16 requestType, qint32 result, const QByteArray &body);

} // namespace MatrixProtocol
