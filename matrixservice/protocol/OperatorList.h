// Who is on a matrix: the operator entries of EventOperators, EventTakenOver and the answer
// to LinuxGetOperators (docs/protocol.md), and the bounds of a client's host name.
#pragma once

#include <QByteArray>
#include <QVector>

struct MatrixOperatorRecord;

namespace MatrixProtocol {

class PayloadReader;
class PayloadWriter;

struct OperatorEntry
{
    QByteArray user;
    QByteArray host; // as the client named itself: any bytes but zero, at most MaxHostText
    qint32 flags = 0; // OperatorSelf: the connection the list is sent to
    qint64 sinceMs = 0; // login (or takeover) time, ms since 1970-01-01 UTC
};

enum OperatorFlag : qint32 {
    OperatorSelf = 1,
    OperatorWatching = 2, // a watch connection: it follows the wall and controls nothing
};

void putOperator(PayloadWriter &writer, const OperatorEntry &entry);
bool getOperator(PayloadReader &reader, OperatorEntry &entry);
// i32 count, then count entries.
QByteArray encodeOperators(const QVector<OperatorEntry> &entries);
bool decodeOperators(const QByteArray &payload, QVector<OperatorEntry> *entries);
// One entry and nothing else.
QByteArray encodeOperator(const OperatorEntry &entry);
bool decodeOperator(const QByteArray &payload, OperatorEntry *entry);

// The record the service interfaces hand out for an entry.
void toRecord(const OperatorEntry &entry, MatrixOperatorRecord *record);

// The logged-in and the watching sessions of a matrix (connection id → a session with
// loggedIn, watching, user, host and sinceMs) as the entries sent to the connection self.
template<typename Sessions>
QVector<OperatorEntry> loggedInOperators(const Sessions &sessions, quint64 self)
{
    QVector<OperatorEntry> entries;
    for (const auto &entry : sessions) {
        if (!entry.second.loggedIn && !entry.second.watching)
            continue;
        OperatorEntry op;
        op.user = entry.second.user;
        op.host = entry.second.host;
        op.flags = (entry.first == self ? OperatorSelf : 0)
                | (entry.second.loggedIn ? 0 : OperatorWatching);
        op.sinceMs = entry.second.sinceMs;
        entries.append(op);
    }
    return entries;
}

// text cut to at most max bytes, without its zero bytes, and never inside a UTF-8 sequence.
QByteArray boundedText(const QByteArray &text, int max);

} // namespace MatrixProtocol
