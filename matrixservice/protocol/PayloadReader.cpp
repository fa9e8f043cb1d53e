#include "PayloadReader.h"

#include <QtEndian>

#include <cstring>

namespace MatrixProtocol {

PayloadReader::PayloadReader(const QByteArray &payload)
    : m_payload(payload)
{ }

bool PayloadReader::take(int size, const char *&data)
{
    if (!m_ok || size < 0 || size > m_payload.size() - m_position) {
        m_ok = false;
        return false;
    }
    data = m_payload.constData() + m_position;
    m_position += size;
    return true;
}

bool PayloadReader::getInt32(qint32 &value)
{
    const char *data = nullptr;
    if (!take(4, data))
        return false;
    value = qFromLittleEndian<qint32>(reinterpret_cast<const uchar *>(data));
    return true;
}

bool PayloadReader::getInt64(qint64 &value)
{
    const char *data = nullptr;
    if (!take(8, data))
        return false;
    value = qFromLittleEndian<qint64>(reinterpret_cast<const uchar *>(data));
    return true;
}

bool PayloadReader::getUInt16(quint16 &value)
{
    const char *data = nullptr;
    if (!take(2, data))
        return false;
    value = qFromLittleEndian<quint16>(reinterpret_cast<const uchar *>(data));
    return true;
}

bool PayloadReader::getUInt8(quint8 &value)
{
    const char *data = nullptr;
    if (!take(1, data))
        return false;
    value = quint8(*data);
    return true;
}

bool PayloadReader::getBytes(void *destination, int size)
{
    const char *data = nullptr;
    if (!destination || !take(size, data))
        return false;
    if (size > 0)
        std::memcpy(destination, data, size_t(size));
    return true;
}

bool PayloadReader::getBytes(QByteArray &destination, int size)
{
    const char *data = nullptr;
    if (!take(size, data))
        return false;
    destination = QByteArray(data, size);
    return true;
}

bool PayloadReader::getText(QByteArray &text, int maxLength)
{
    quint16 length = 0;
    if (!getUInt16(length))
        return false;
    if (int(length) > maxLength) {
        m_ok = false;
        return false;
    }
    const char *data = nullptr;
    if (!take(length, data))
        return false;
    if (std::memchr(data, 0, length)) {
        m_ok = false;
        return false;
    }
    text = QByteArray(data, length);
    return true;
}

} // namespace MatrixProtocol
