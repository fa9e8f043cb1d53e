#include "PayloadWriter.h"

#include <QtEndian>

namespace MatrixProtocol {

PayloadWriter &PayloadWriter::putInt32(qint32 value)
{
    uchar bytes[4];
    qToLittleEndian<qint32>(value, bytes);
    m_data.append(reinterpret_cast<const char *>(bytes), 4);
    return *this;
}

PayloadWriter &PayloadWriter::putInt64(qint64 value)
{
    uchar bytes[8];
    qToLittleEndian<qint64>(value, bytes);
    m_data.append(reinterpret_cast<const char *>(bytes), 8);
    return *this;
}

PayloadWriter &PayloadWriter::putUInt16(quint16 value)
{
    uchar bytes[2];
    qToLittleEndian<quint16>(value, bytes);
    m_data.append(reinterpret_cast<const char *>(bytes), 2);
    return *this;
}

PayloadWriter &PayloadWriter::putUInt8(quint8 value)
{
    m_data.append(char(value));
    return *this;
}

PayloadWriter &PayloadWriter::putBytes(const void *data, int size)
{
    if (data && size > 0)
        m_data.append(static_cast<const char *>(data), size);
    return *this;
}

PayloadWriter &PayloadWriter::putText(const QByteArray &text)
{
    const int length = qMin(text.size(), 0xFFFF);
    putUInt16(quint16(length));
    m_data.append(text.constData(), length);
    return *this;
}

} // namespace MatrixProtocol
