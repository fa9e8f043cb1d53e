#include "LinuxMatrixClient.h"

#include "MatrixProbe.h"
#include "OperatorList.h"
#include "PayloadReader.h"
#include "PayloadWriter.h"

#include <QByteArray>

#include <cstring>

namespace MatrixService {

using namespace MatrixProtocol;

LinuxMatrixClient::LinuxMatrixClient()
    : m_channel(Role::Linux, this, ClientTimeouts::fromEnvironment())
{ }

LinuxMatrixClient::~LinuxMatrixClient()
{
    m_channel.shutdown();
}

// The Linux matrix never calls back; its events carry nothing this interface reports.
void LinuxMatrixClient::connectOutcome(int) { }

void LinuxMatrixClient::connectionLost(int) { }

void LinuxMatrixClient::matrixEvent(const ServerMessage &) { }

namespace {

// An answer of i32 count and count records (checked by the protocol layer): at most capacity of
// them copied out.
template<typename Record>
int copyCountedRecords(const QByteArray &body, Record *records, int capacity, int *count)
{
    PayloadReader reader(body);
    qint32 total = 0;
    reader.getInt32(total);
    const int copied = qMin(total, capacity);
    for (int i = 0; i < copied; ++i)
        reader.getRecord(records[i]);
    *count = copied;
    return 0;
}

} // namespace

int LinuxMatrixClient::requestInts(quint16 type, std::initializer_list<qint32> values,
                                   QByteArray *body)
{
    PayloadWriter writer;
    for (qint32 value : values)
        writer.putInt32(value);
    return m_channel.request(type, writer.data(), body);
}

int LinuxMatrixClient::Login(int mode, const char *user, const char *password, const char *ip,
                             int port)
{
    if (!user || !password || !ip)
        return MatrixErrBadArgument;
    const QByteArray userText(user);
    const QByteArray passwordText(password);
    if (userText.size() > MaxAccountText || passwordText.size() > MaxAccountText || !*ip || port < 1
        || port > 65535) {
        return MatrixErrBadArgument;
    }
    PayloadWriter writer;
    writer.putInt32(mode).putText(userText).putText(passwordText);
    return open(LinuxLogin, writer.data(), ip, port);
}

int LinuxMatrixClient::Watch(const char *user, const char *password, const char *ip, int port)
{
    if (!user || !password || !ip)
        return MatrixErrBadArgument;
    const QByteArray userText(user);
    const QByteArray passwordText(password);
    if (userText.size() > MaxAccountText || passwordText.size() > MaxAccountText || !*ip || port < 1
        || port > 65535) {
        return MatrixErrBadArgument;
    }
    PayloadWriter writer;
    writer.putText(userText).putText(passwordText);
    return open(MatrixProtocol::Watch, writer.data(), ip, port);
}

int LinuxMatrixClient::open(quint16 type, const QByteArray &body, const char *ip, int port)
{
    const int connected = m_channel.connectAndWait(QByteArray(ip), port);
    if (connected != 0)
        return connected;
    QByteArray name;
    {
        std::lock_guard<std::mutex> lock(m_nameMutex);
        name = m_clientName;
    }
    if (!name.isEmpty()) {
        PayloadWriter identity;
        identity.putText(name);
        const int told = m_channel.request(Identify, identity.data());
        if (told == MatrixErrNotConnected || told == MatrixErrProtocol
            || told == MatrixErrTimeout) {
            m_channel.close();
            return told;
        }
    }
    const int result = m_channel.request(type, body);
    if (result != 0)
        m_channel.close();
    return result;
}

int LinuxMatrixClient::StartSession()
{
    return requestInts(LinuxStartSession, {});
}

int LinuxMatrixClient::Disconnect()
{
    // Closing is local: it leaves the interface disconnected whatever state it was in.
    m_channel.close();
    return 0;
}

int LinuxMatrixClient::Reboot()
{
    return requestInts(LinuxReboot, {});
}

int LinuxMatrixClient::FactoryReset(int mode)
{
    return requestInts(LinuxFactoryReset, {mode});
}

int LinuxMatrixClient::StartUpgrade(int mode, const char *url)
{
    const QByteArray urlText = url ? QByteArray(url) : QByteArray();
    if (urlText.size() > MaxUrlText)
        return MatrixErrBadArgument;
    PayloadWriter writer;
    writer.putInt32(mode).putText(urlText);
    return m_channel.request(LinuxStartUpgrade, writer.data());
}

int LinuxMatrixClient::GetUpgradeStatus(UpgradeStatusBlock *status)
{
    if (!status)
        return MatrixErrBadArgument;
    QByteArray body;
    const int result = m_channel.request(LinuxGetUpgradeStatus, QByteArray(), &body);
    if (body.size() == int(sizeof(UpgradeStatusBlock)))
        std::memcpy(status, body.constData(), sizeof(UpgradeStatusBlock));
    return result;
}

int LinuxMatrixClient::KeepAlive()
{
    // Asked often and on the caller's thread: a silent matrix must not hold it long.
    constexpr int KeepAliveTimeoutMs = 2000;
    const int timeoutMs = qMin(KeepAliveTimeoutMs, m_channel.timeouts().requestMs);
    return m_channel.request(MatrixProtocol::KeepAlive, QByteArray(), nullptr, timeoutMs);
}

int LinuxMatrixClient::SaveRowColumn(int rows, int columns)
{
    return requestInts(LinuxSaveRowColumn, {rows, columns});
}

int LinuxMatrixClient::SetClientName(const char *host)
{
    if (!host)
        return MatrixErrBadArgument;
    std::lock_guard<std::mutex> lock(m_nameMutex);
    m_clientName = boundedText(QByteArray(host), MaxHostText);
    return 0;
}

int LinuxMatrixClient::GetOperators(MatrixOperatorRecord *records, int capacity, int *count)
{
    if (!records || !count || capacity < 0)
        return MatrixErrBadArgument;
    *count = 0;
    QByteArray body;
    const int result = m_channel.request(LinuxGetOperators, QByteArray(), &body);
    if (result != 0)
        return result;
    QVector<OperatorEntry> entries;
    decodeOperators(body, &entries); // checked when the answer arrived
    const int copied = qMin(capacity, entries.size());
    for (int i = 0; i < copied; ++i)
        toRecord(entries.at(i), &records[i]);
    *count = copied;
    return 0;
}

int LinuxMatrixClient::Probe(const char *ip, int port, int timeoutMs)
{
    return probeMatrix(ip, port, MatrixProtocol::Role::Linux, timeoutMs);
}

int LinuxMatrixClient::Reserved13()
{
    return MatrixErrUnsupported;
}

int LinuxMatrixClient::SetNumberArrangeMode(int on)
{
    return requestInts(LinuxSetNumberArrangeMode, {on});
}

int LinuxMatrixClient::GetScreenNumbers(uint8_t *bytes, int capacity, int *count)
{
    if (!count || capacity < 0 || (!bytes && capacity > 0))
        return MatrixErrBadArgument;
    QByteArray body;
    const int result = requestInts(LinuxGetScreenNumbers, {}, &body);
    if (result != 0)
        return result;
    PayloadReader reader(body);
    qint32 total = 0;
    reader.getInt32(total);
    const int copied = qMin(total, capacity);
    if (copied > 0)
        reader.getBytes(bytes, copied);
    *count = copied;
    return 0;
}

int LinuxMatrixClient::SetScreenNumbers(const uint8_t *bytes, int count)
{
    if (count < 0 || count > MaxLinuxOutputs || (!bytes && count > 0))
        return MatrixErrBadArgument;
    PayloadWriter writer;
    writer.putInt32(count).putBytes(bytes, count);
    return m_channel.request(LinuxSetScreenNumbers, writer.data());
}

int LinuxMatrixClient::GetScreenGrid(ScreenRegionEntry *entries, int capacity, int *count)
{
    if (!count || capacity < 0 || (!entries && capacity > 0))
        return MatrixErrBadArgument;
    QByteArray body;
    const int result = requestInts(LinuxGetScreenGrid, {}, &body);
    if (result != 0)
        return result;
    return copyCountedRecords(body, entries, capacity, count);
}

int LinuxMatrixClient::SetScreenGrid(const ScreenRegion *regions, int count)
{
    if (count < 0 || count > MaxLinuxOutputs || (!regions && count > 0))
        return MatrixErrBadArgument;
    PayloadWriter writer;
    writer.putInt32(count).putBytes(regions, count * int(sizeof(ScreenRegion)));
    return m_channel.request(LinuxSetScreenGrid, writer.data());
}

int LinuxMatrixClient::GetCellTurnPages(CellTurnPage *entries, int capacity, int *count)
{
    if (!count || capacity < 0 || (!entries && capacity > 0))
        return MatrixErrBadArgument;
    // Asked every second instead of the keep-alive: it waits no longer than one.
    constexpr int TurnPagesTimeoutMs = 2000;
    const int timeoutMs = qMin(TurnPagesTimeoutMs, m_channel.timeouts().requestMs);
    QByteArray body;
    const int result = m_channel.request(LinuxGetCellTurnPages, QByteArray(), &body, timeoutMs);
    if (result != 0)
        return result;
    return copyCountedRecords(body, entries, capacity, count);
}

int LinuxMatrixClient::SetCellMelt(const ScreenRegion *region)
{
    if (!region)
        return MatrixErrBadArgument;
    PayloadWriter writer;
    writer.putRecord(*region);
    return m_channel.request(LinuxSetCellMelt, writer.data());
}

int LinuxMatrixClient::ClearCell(int cell)
{
    return requestInts(LinuxClearCell, {cell});
}

int LinuxMatrixClient::SetCellChannels(int cell, const CellChannelRecord *records, int count,
                                       int splitCount)
{
    if (count < 0 || count > MaxCellChannels || (!records && count > 0))
        return MatrixErrBadArgument;
    PayloadWriter writer;
    writer.putInt32(cell).putInt32(splitCount).putInt32(count);
    writer.putBytes(records, count * int(sizeof(CellChannelRecord)));
    return m_channel.request(LinuxSetCellChannels, writer.data());
}

int LinuxMatrixClient::AddCellChannel(int cell, const CellChannelRecord *record)
{
    if (!record)
        return MatrixErrBadArgument;
    PayloadWriter writer;
    writer.putInt32(cell).putRecord(*record);
    return m_channel.request(LinuxAddCellChannel, writer.data());
}

int LinuxMatrixClient::ModifyCellChannel(int cell, const CellChannelRecord *record)
{
    if (!record)
        return MatrixErrBadArgument;
    PayloadWriter writer;
    writer.putInt32(cell).putRecord(*record);
    return m_channel.request(LinuxModifyCellChannel, writer.data());
}

int LinuxMatrixClient::DeleteCellChannel(int cell, int position)
{
    return requestInts(LinuxDeleteCellChannel, {cell, position});
}

int LinuxMatrixClient::GetCellChannels(int cell, CellChannelRecord *records, int capacity,
                                       int *count, int *splitCount)
{
    if (!count || !splitCount || capacity < 0 || (!records && capacity > 0))
        return MatrixErrBadArgument;
    QByteArray body;
    const int result = requestInts(LinuxGetCellChannels, {cell}, &body);
    if (result != 0)
        return result;
    PayloadReader reader(body);
    qint32 split = 0;
    qint32 total = 0;
    reader.getInt32(split);
    reader.getInt32(total);
    const int copied = qMin(total, capacity);
    for (int i = 0; i < copied; ++i)
        reader.getRecord(records[i]);
    *count = copied;
    *splitCount = split;
    return 0;
}

int LinuxMatrixClient::GetFirmwareVersion(char *buffer, int capacity)
{
    if (!buffer || capacity < 1)
        return MatrixErrBadArgument;
    QByteArray body;
    const int result = requestInts(LinuxGetFirmwareVersion, {}, &body);
    if (result != 0)
        return result;
    PayloadReader reader(body);
    QByteArray version;
    reader.getText(version, MaxFirmwareVersionText);
    const int copied = qMin(int(version.size()), capacity - 1);
    std::memcpy(buffer, version.constData(), std::size_t(copied));
    buffer[copied] = '\0';
    return 0;
}

int LinuxMatrixClient::SetCellTurnShow(int cell, const CellTurnStatus *status)
{
    if (!status)
        return MatrixErrBadArgument;
    PayloadWriter writer;
    writer.putInt32(cell).putRecord(*status);
    return m_channel.request(LinuxSetCellTurnShow, writer.data());
}

int LinuxMatrixClient::GetCellTurnShow(int cell, CellTurnStatus *status)
{
    if (!status)
        return MatrixErrBadArgument;
    QByteArray body;
    const int result = requestInts(LinuxGetCellTurnShow, {cell}, &body);
    if (result != 0)
        return result;
    PayloadReader reader(body);
    reader.getRecord(*status);
    return 0;
}

int LinuxMatrixClient::SetCellSingleWindow(int cell, int on, int window)
{
    return requestInts(LinuxSetCellSingleWindow, {cell, on, window});
}

int LinuxMatrixClient::GetCellSingleWindow(int cell, uint8_t *on, int *window)
{
    if (!on || !window)
        return MatrixErrBadArgument;
    QByteArray body;
    const int result = requestInts(LinuxGetCellSingleWindow, {cell}, &body);
    if (result != 0)
        return result;
    PayloadReader reader(body);
    qint32 flag = 0;
    qint32 pane = 0;
    reader.getInt32(flag);
    reader.getInt32(pane);
    *on = flag ? 1 : 0;
    *window = pane;
    return 0;
}

int LinuxMatrixClient::SetCellSplit(int cell, int splitCount, int reserved)
{
    return requestInts(LinuxSetCellSplit, {cell, splitCount, reserved});
}

int LinuxMatrixClient::GetWallRevision(int *revision)
{
    if (!revision)
        return MatrixErrBadArgument;
    QByteArray body;
    const int result = m_channel.request(LinuxGetWallRevision, QByteArray(), &body);
    if (result != 0)
        return result;
    PayloadReader reader(body); // four bytes, checked when the answer arrived
    qint32 value = 0;
    reader.getInt32(value);
    *revision = value;
    return 0;
}

} // namespace MatrixService
