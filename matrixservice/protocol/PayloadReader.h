// Reads a frame payload with bounds checks. Every getter returns false, and leaves the
// reader failed, when the payload is too short or a value breaks its limit.
#pragma once

#include <QByteArray>

namespace MatrixProtocol {

class PayloadReader
{
public:
    explicit PayloadReader(const QByteArray &payload);

    bool getInt32(qint32 &value);
    bool getInt64(qint64 &value);
    bool getUInt16(quint16 &value);
    bool getUInt8(quint8 &value);
    bool getBytes(void *destination, int size);
    bool getBytes(QByteArray &destination, int size);
    // u16 length and bytes; refused when longer than maxLength or holding a zero byte.
    bool getText(QByteArray &text, int maxLength);
    template<typename Record>
    bool getRecord(Record &record)
    {
        return getBytes(&record, int(sizeof(Record)));
    }

    // True when every byte has been read and nothing failed.
    bool atEnd() const { return m_ok && m_position == m_payload.size(); }
    bool ok() const { return m_ok; }
    int remaining() const { return m_ok ? m_payload.size() - m_position : 0; }

private:
    bool take(int size, const char *&data);

    QByteArray m_payload;
    int m_position = 0;
    bool m_ok = true;
};

} // namespace MatrixProtocol
