// What a matrix model made of one request: the answer and what else must be sent or done.
#pragma once

#include "FrameDecoder.h"

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QVector>

namespace MatrixSim {

struct RequestOutcome
{
    qint32 result = 0;
    QByteArray body; // what follows the result in the answer
    QString summary; // the request's arguments for the log line; never a password
    bool changed = false; // the wall changed: save it and tell viewers
    // Events sent before the answer, each to one connection.
    QVector<QPair<quint64, MatrixProtocol::Frame>> eventsFirst;
    // Events sent after the answer, each to one connection.
    QVector<QPair<quint64, MatrixProtocol::Frame>> events;
    // Connections closed after their events were sent (taken over by a forced login).
    QVector<quint64> kicked;
    // Linux reboot: every Linux connection is closed and new ones refused for a while.
    bool reboot = false;
};

} // namespace MatrixSim
