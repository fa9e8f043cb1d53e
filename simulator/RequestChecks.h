// Checks of what a client sends, shared by the matrix models.
#pragma once

#include "MatrixServiceTypes.h"
#include "RequestOutcome.h"

#include <initializer_list>

namespace MatrixProtocol {
class PayloadReader;
}

namespace MatrixSim {

// True when the text field holds a terminating zero.
bool isTerminated(const char *field, int size);
// Every text field of the channel record is terminated.
bool isValidChannelInfo(const _ST_ChnInfo &record);
// Every text field terminated, and the protocol is "onvif" or "qbz".
bool isValidCellChannel(const CellChannelRecord &record);
// 1, 4, 9, 16 (and 25, 36 when allowLarge).
bool isValidSplit(int split, bool allowLarge);

// Reads exactly the listed integers; false when the payload is shorter or longer.
bool readInts(MatrixProtocol::PayloadReader &reader, std::initializer_list<qint32 *> values);
// Reads an Identify payload (the client's host name); false (answered -5) when malformed.
bool readIdentify(MatrixProtocol::PayloadReader &reader, QByteArray *host, RequestOutcome &out);
// Reads a user name and password (a login or a watch request, named in the refusal); false
// (answered -5) when malformed. The log summary names the user, never the password.
bool readAccount(MatrixProtocol::PayloadReader &reader, QByteArray *user, QByteArray *password,
                 const char *request, RequestOutcome &out);
// A text the client chose, for a log line: UTF-8 where it is, control characters as '?',
// at most 64 characters.
QString printableText(const QByteArray &text);
// Answers the request with code and adds the reason to its log summary.
void refuse(RequestOutcome &out, qint32 code, const QString &why);

} // namespace MatrixSim
