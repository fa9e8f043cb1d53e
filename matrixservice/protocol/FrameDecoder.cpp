#include "FrameDecoder.h"

#include "MatrixProtocol.h"

#include <QtEndian>

namespace MatrixProtocol {

QByteArray encodeFrame(quint16 type, quint32 requestId, const QByteArray &payload)
{
    if (payload.size() > MaxPayloadSize)
        return QByteArray();
    QByteArray frame(HeaderSize + payload.size(), Qt::Uninitialized);
    uchar *p = reinterpret_cast<uchar *>(frame.data());
    qToLittleEndian<quint16>(FrameMagic, p);
    qToLittleEndian<quint16>(type, p + 2);
    qToLittleEndian<quint32>(requestId, p + 4);
    qToLittleEndian<quint32>(quint32(payload.size()), p + 8);
    if (!payload.isEmpty())
        memcpy(p + HeaderSize, payload.constData(), size_t(payload.size()));
    return frame;
}

void FrameDecoder::feed(const char *data, int size)
{
    if (m_error || size <= 0 || !data)
        return;
    // Drop what has been consumed before growing the buffer.
    if (m_offset > 0 && (m_offset >= m_buffer.size() || m_offset > 4096)) {
        m_buffer.remove(0, m_offset);
        m_offset = 0;
    }
    m_buffer.append(data, size);
}

bool FrameDecoder::takeFrame(Frame &frame)
{
    if (m_error)
        return false;
    const int available = m_buffer.size() - m_offset;
    if (available < HeaderSize)
        return false;
    const uchar *p = reinterpret_cast<const uchar *>(m_buffer.constData()) + m_offset;
    const quint16 magic = qFromLittleEndian<quint16>(p);
    if (magic != FrameMagic) {
        fail(QStringLiteral("bad frame magic 0x%1").arg(magic, 4, 16, QLatin1Char('0')));
        return false;
    }
    const quint32 length = qFromLittleEndian<quint32>(p + 8);
    if (length > quint32(MaxPayloadSize)) {
        fail(QStringLiteral("frame payload of %1 bytes exceeds the cap of %2")
                     .arg(length)
                     .arg(MaxPayloadSize));
        return false;
    }
    if (available < HeaderSize + int(length))
        return false;
    frame.type = qFromLittleEndian<quint16>(p + 2);
    frame.requestId = qFromLittleEndian<quint32>(p + 4);
    frame.payload = QByteArray(reinterpret_cast<const char *>(p + HeaderSize), int(length));
    m_offset += HeaderSize + int(length);
    if (m_offset == m_buffer.size()) {
        m_buffer.clear();
        m_offset = 0;
    }
    return true;
}

void FrameDecoder::fail(const QString &why)
{
    m_error = true;
    m_errorString = why;
    m_buffer.clear();
    m_offset = 0;
}

} // namespace MatrixProtocol
