// Hello and its answer, the first frames of every connection.
#pragma once

#include "MatrixProtocol.h"

#include <QByteArray>

namespace MatrixProtocol {

// Hello payload: "DMXP", u16 version, u16 role (8 bytes).
QByteArray encodeHello(Role role, quint16 version = ProtocolVersion);
bool decodeHello(const QByteArray &payload, quint16 &version, quint16 &role);

// HelloAck payload: u16 version, u16 role, i32 status (0 = welcome, else a MatrixServiceError).
QByteArray encodeHelloAck(quint16 version, quint16 role, qint32 status);

} // namespace MatrixProtocol
