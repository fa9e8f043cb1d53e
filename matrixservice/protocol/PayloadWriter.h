// Builds a frame payload: little-endian integers, length-prefixed texts and raw records.
#pragma once

#include <QByteArray>

namespace MatrixProtocol {

class PayloadWriter
{
public:
    PayloadWriter &putInt32(qint32 value);
    PayloadWriter &putInt64(qint64 value);
    PayloadWriter &putUInt16(quint16 value);
    PayloadWriter &putUInt8(quint8 value);
    // Raw bytes (fixed-layout records).
    PayloadWriter &putBytes(const void *data, int size);
    // u16 length followed by the bytes, without a terminating zero.
    PayloadWriter &putText(const QByteArray &text);
    template<typename Record>
    PayloadWriter &putRecord(const Record &record)
    {
        return putBytes(&record, int(sizeof(Record)));
    }

    const QByteArray &data() const { return m_data; }
    int size() const { return m_data.size(); }

private:
    QByteArray m_data;
};

} // namespace MatrixProtocol
