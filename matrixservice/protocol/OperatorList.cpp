#include "OperatorList.h"

#include "MatrixProtocol.h"
#include "MatrixServiceTypes.h"
#include "PayloadReader.h"
#include "PayloadWriter.h"

#include <cstring>

namespace MatrixProtocol {

void putOperator(PayloadWriter &writer, const OperatorEntry &entry)
{
    writer.putText(boundedText(entry.user, MaxAccountText))
            .putText(boundedText(entry.host, MaxHostText))
            .putInt32(entry.flags)
            .putInt64(entry.sinceMs);
}

bool getOperator(PayloadReader &reader, OperatorEntry &entry)
{
    return reader.getText(entry.user, MaxAccountText) && reader.getText(entry.host, MaxHostText)
            && reader.getInt32(entry.flags) && reader.getInt64(entry.sinceMs);
}

QByteArray encodeOperators(const QVector<OperatorEntry> &entries)
{
    PayloadWriter writer;
    const int count = qMin(entries.size(), MaxOperators);
    writer.putInt32(count);
    for (int i = 0; i < count; ++i)
        putOperator(writer, entries.at(i));
    return writer.data();
}

bool decodeOperators(const QByteArray &payload, QVector<OperatorEntry> *entries)
{
    PayloadReader reader(payload);
    qint32 count = 0;
    if (!reader.getInt32(count) || count < 0 || count > MaxOperators)
        return false;
    QVector<OperatorEntry> read;
    for (int i = 0; i < count; ++i) {
        OperatorEntry entry;
        if (!getOperator(reader, entry))
            return false;
        read.append(entry);
    }
    if (!reader.atEnd())
        return false;
    if (entries)
        *entries = read;
    return true;
}

QByteArray encodeOperator(const OperatorEntry &entry)
{
    PayloadWriter writer;
    putOperator(writer, entry);
    return writer.data();
}

bool decodeOperator(const QByteArray &payload, OperatorEntry *entry)
{
    PayloadReader reader(payload);
    OperatorEntry read;
    if (!getOperator(reader, read) || !reader.atEnd())
        return false;
    if (entry)
        *entry = read;
    return true;
}

void toRecord(const OperatorEntry &entry, MatrixOperatorRecord *record)
{
    *record = MatrixOperatorRecord();
    const QByteArray user = boundedText(entry.user, int(sizeof(record->user)) - 1);
    const QByteArray host = boundedText(entry.host, int(sizeof(record->host)) - 1);
    std::memcpy(record->user, user.constData(), std::size_t(user.size()));
    std::memcpy(record->host, host.constData(), std::size_t(host.size()));
    record->flags = entry.flags;
    record->sinceMs = entry.sinceMs;
}

QByteArray boundedText(const QByteArray &text, int max)
{
    QByteArray bounded = text;
    bounded.replace('\0', QByteArray());
    if (bounded.size() <= max)
        return bounded;
    bounded.truncate(qMax(0, max));
    // Drop a UTF-8 sequence the cut left incomplete: its continuation bytes and its lead.
    int end = bounded.size();
    int continuation = 0;
    while (end > 0 && (uchar(bounded.at(end - 1)) & 0xC0) == 0x80 && continuation < 3) {
        --end;
        ++continuation;
    }
    if (end > 0) {
        const uchar lead = uchar(bounded.at(end - 1));
        const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (lead >= 0xC0 && length > continuation + 1)
            bounded.truncate(end - 1);
    }
    return bounded;
}

} // namespace MatrixProtocol
