#include "Handshake.h"

#include "PayloadReader.h"
#include "PayloadWriter.h"

#include <cstring>

namespace MatrixProtocol {

QByteArray encodeHello(Role role, quint16 version)
{
    PayloadWriter writer;
    writer.putBytes(HelloTag, 4).putUInt16(version).putUInt16(quint16(role));
    return writer.data();
}

bool decodeHello(const QByteArray &payload, quint16 &version, quint16 &role)
{
    PayloadReader reader(payload);
    char tag[4];
    if (!reader.getBytes(tag, 4) || std::memcmp(tag, HelloTag, 4) != 0)
        return false;
    return reader.getUInt16(version) && reader.getUInt16(role) && reader.atEnd();
}

QByteArray encodeHelloAck(quint16 version, quint16 role, qint32 status)
{
    PayloadWriter writer;
    writer.putUInt16(version).putUInt16(role).putInt32(status);
    return writer.data();
}

} // namespace MatrixProtocol
