#include "FakeMatrixService.h"

#include "DigitalMatrixInteractionPort.h"

#include <QMutexLocker>

#include <algorithm>
#include <cstring>
#include <thread>

using LUMO_DIGITALMATRIX_MODULE::DigitalMatrixInteractionPort;

namespace {

QByteArray bytesOf(const void *data, int size)
{
    if (!data || size <= 0)
        return QByteArray();
    return QByteArray(static_cast<const char *>(data), size);
}

QString text(const char *s)
{
    return s ? QString::fromLocal8Bit(s) : QString();
}

} // namespace

// ---- FakeCallLog ----------------------------------------------------------------

void FakeCallLog::record(const QString &name, const QVariantList &args, const QByteArray &bytes)
{
    QMutexLocker locker(&mutex);
    log.append(FakeCall {name, args, bytes});
}

QList<FakeCall> FakeCallLog::calls() const
{
    QMutexLocker locker(&mutex);
    return log;
}

QList<FakeCall> FakeCallLog::callsNamed(const QString &name) const
{
    QMutexLocker locker(&mutex);
    QList<FakeCall> out;
    for (const FakeCall &call : log)
        if (call.name == name)
            out.append(call);
    return out;
}

QStringList FakeCallLog::names() const
{
    QMutexLocker locker(&mutex);
    QStringList out;
    for (const FakeCall &call : log)
        out << call.name;
    return out;
}

QStringList FakeCallLog::trace() const
{
    QMutexLocker locker(&mutex);
    QStringList out;
    for (const FakeCall &call : log) {
        QStringList args;
        for (const QVariant &arg : call.args)
            args << arg.toString();
        out << call.name + QLatin1Char('(') + args.join(QLatin1Char(',')) + QLatin1Char(')');
    }
    return out;
}

int FakeCallLog::count(const QString &name) const
{
    return callsNamed(name).size();
}

FakeCall FakeCallLog::last(const QString &name) const
{
    const QList<FakeCall> named = callsNamed(name);
    return named.isEmpty() ? FakeCall {} : named.last();
}

void FakeCallLog::clear()
{
    QMutexLocker locker(&mutex);
    log.clear();
}

void FakeCallLog::setResult(const QString &name, int result)
{
    QMutexLocker locker(&mutex);
    results.insert(name, result);
}

void FakeCallLog::queueResults(const QString &name, const QList<int> &values)
{
    QMutexLocker locker(&mutex);
    queued[name].append(values);
}

int FakeCallLog::resultFor(const QString &name)
{
    QMutexLocker locker(&mutex);
    QList<int> &queue = queued[name];
    if (!queue.isEmpty())
        return queue.takeFirst();
    return results.value(name, 0);
}

// ---- FakeX86Matrix --------------------------------------------------------------

FakeX86Matrix::FakeX86Matrix() = default;
FakeX86Matrix::~FakeX86Matrix() = default;

int FakeX86Matrix::Connect(const char *ip, int port)
{
    record("Connect", {text(ip), port});
    return resultFor("Connect");
}

int FakeX86Matrix::Disconnect()
{
    record("Disconnect");
    return resultFor("Disconnect");
}

int FakeX86Matrix::RegisterCallbacks(void *ctx, MatrixConnStatusCallback onConnectStatus,
                                     MatrixInfoCallback onMatrixInfo, MatrixLayoutCallback onLayout,
                                     MatrixCommandResultCallback onCommandResult,
                                     MatrixReservedCallback onReserved5)
{
    record("RegisterCallbacks");
    registeredContext = ctx;
    connCallback = onConnectStatus;
    infoCallback = onMatrixInfo;
    layoutCallback = onLayout;
    commandResult = onCommandResult;
    reserved5 = onReserved5;
    return 0;
}

int FakeX86Matrix::Login(const char *user, const char *password)
{
    record("Login", {text(user), text(password)});
    return resultFor("Login");
}

int FakeX86Matrix::ForceLogin()
{
    record("ForceLogin");
    return resultFor("ForceLogin");
}

int FakeX86Matrix::SetScreenCount(int rows, int columns)
{
    record("SetScreenCount", {rows, columns});
    return resultFor("SetScreenCount");
}

int FakeX86Matrix::RequestLayout()
{
    record("RequestLayout");
    return resultFor("RequestLayout");
}

int FakeX86Matrix::ExchangeMirrors(int mirrorA, int mirrorB)
{
    record("ExchangeMirrors", {mirrorA, mirrorB});
    return resultFor("ExchangeMirrors");
}

int FakeX86Matrix::SetConfigMode(bool on)
{
    record("SetConfigMode", {on});
    return resultFor("SetConfigMode");
}

int FakeX86Matrix::SetMonitorSplit(int monitor, int splitCount)
{
    record("SetMonitorSplit", {monitor, splitCount});
    return resultFor("SetMonitorSplit");
}

int FakeX86Matrix::SetMonitorSources(int monitor, const _ST_ChnInfo *channels, int count)
{
    record("SetMonitorSources", {monitor, count},
           bytesOf(channels, count * int(sizeof(_ST_ChnInfo))));
    return resultFor("SetMonitorSources");
}

int FakeX86Matrix::Reserved11()
{
    record("Reserved11");
    return 0;
}

int FakeX86Matrix::Reserved12()
{
    record("Reserved12");
    return 0;
}

int FakeX86Matrix::SetMonitorTurnSources(int monitor, const _ST_ChnInfo *channels, int count,
                                         int turnInterval)
{
    record("SetMonitorTurnSources", {monitor, count, turnInterval},
           bytesOf(channels, count * int(sizeof(_ST_ChnInfo))));
    return resultFor("SetMonitorTurnSources");
}

int FakeX86Matrix::Reserved14()
{
    record("Reserved14");
    return 0;
}

int FakeX86Matrix::SetClientName(const char *host)
{
    clientName = host ? QByteArray(host) : QByteArray();
    return 0;
}

int FakeX86Matrix::GetOperators(MatrixOperatorRecord *, int, int *count)
{
    if (count)
        *count = 0;
    return 0;
}

int FakeX86Matrix::GetTakeover(MatrixOperatorRecord *)
{
    return MatrixErrFailed;
}

int FakeX86Matrix::SelectMonitor(int monitor)
{
    record("SelectMonitor", {monitor});
    return resultFor("SelectMonitor");
}

int FakeX86Matrix::SetTurnState(int monitor, int state)
{
    record("SetTurnState", {monitor, state});
    return resultFor("SetTurnState");
}

int FakeX86Matrix::ClearSource(int monitor)
{
    record("ClearSource", {monitor});
    return resultFor("ClearSource");
}

int FakeX86Matrix::ZoomMirrorAt(int mirror, int x, int y)
{
    record("ZoomMirrorAt", {mirror, x, y});
    return resultFor("ZoomMirrorAt");
}

int FakeX86Matrix::SetMirrorRect(int mirror, RECT rect)
{
    record("SetMirrorRect", {mirror, rect.left, rect.top, rect.right, rect.bottom},
           bytesOf(&rect, int(sizeof rect)));
    return resultFor("SetMirrorRect");
}

void FakeX86Matrix::fireConnectStatus(int connType)
{
    std::thread([this, connType] {
        if (connCallback)
            connCallback(registeredContext, connType);
    }).join();
}

void FakeX86Matrix::fireMatrixInfo(int screens, int rows, int columns)
{
    std::thread([this, screens, rows, columns] {
        if (infoCallback)
            infoCallback(registeredContext, screens, rows, columns);
    }).join();
}

void FakeX86Matrix::fireLayout(const RECT &wallRect, const QVector<_MIRRORINFO> &mirrors,
                               int param1, int param2, int param3, int param4)
{
    QByteArray buffer(int(mirrorLayoutSize(mirrors.size())), '\0');
    auto *layout = reinterpret_cast<_MIRRORLAYOUT *>(buffer.data());
    layout->wallRect = wallRect;
    layout->mirrorCount = mirrors.size();
    layout->layoutParam1 = param1;
    layout->layoutParam2 = param2;
    layout->layoutParam3 = param3;
    layout->layoutParam4 = param4;
    if (!mirrors.isEmpty())
        std::memcpy(layout->mirrors, mirrors.constData(),
                    size_t(mirrors.size()) * sizeof(_MIRRORINFO));
    fireRawLayout(buffer);
}

void FakeX86Matrix::fireRawLayout(QByteArray buffer)
{
    // The service's buffer is valid during the call only: scribble over it afterwards.
    std::thread([this, &buffer] {
        if (buffer.size() < int(offsetof(_MIRRORLAYOUT, mirrors)))
            buffer.resize(int(offsetof(_MIRRORLAYOUT, mirrors)));
        if (layoutCallback)
            layoutCallback(registeredContext, reinterpret_cast<_MIRRORLAYOUT *>(buffer.data()));
        buffer.fill('\xAB');
    }).join();
}

// ---- FakeBaseMatrix -------------------------------------------------------------

FakeBaseMatrix::FakeBaseMatrix() = default;
FakeBaseMatrix::~FakeBaseMatrix() = default;

int FakeBaseMatrix::Login(int mode, const char *user, const char *password, const char *ip,
                          int port)
{
    record("Login", {mode, text(user), text(password), text(ip), port});
    return resultFor("Login");
}

int FakeBaseMatrix::StartSession()
{
    record("StartSession");
    return resultFor("StartSession");
}

int FakeBaseMatrix::Disconnect()
{
    record("Disconnect");
    return resultFor("Disconnect");
}

int FakeBaseMatrix::Reboot()
{
    record("Reboot");
    return resultFor("Reboot");
}

int FakeBaseMatrix::FactoryReset(int mode)
{
    record("FactoryReset", {mode});
    return resultFor("FactoryReset");
}

int FakeBaseMatrix::StartUpgrade(int mode, const char *url)
{
    record("StartUpgrade", {mode, text(url)});
    return resultFor("StartUpgrade");
}

int FakeBaseMatrix::GetUpgradeStatus(UpgradeStatusBlock *status)
{
    record("GetUpgradeStatus");
    if (status)
        *status = upgradeStatus;
    return resultFor("GetUpgradeStatus");
}

int FakeBaseMatrix::KeepAlive()
{
    // Asked by a timer: not recorded, so that call logs hold the commands only.
    return resultFor("KeepAlive");
}

int FakeBaseMatrix::SaveRowColumn(int rows, int columns)
{
    record("SaveRowColumn", {rows, columns});
    return resultFor("SaveRowColumn");
}

int FakeBaseMatrix::SetClientName(const char *)
{
    return 0;
}

int FakeBaseMatrix::GetOperators(MatrixOperatorRecord *, int, int *count)
{
    record("GetOperators");
    if (count)
        *count = 0;
    return resultFor("GetOperators");
}

int FakeBaseMatrix::Reserved11()
{
    record("Reserved11");
    return 0;
}

int FakeBaseMatrix::Reserved12()
{
    record("Reserved12");
    return 0;
}

int FakeBaseMatrix::Reserved13()
{
    record("Reserved13");
    return 0;
}

int FakeBaseMatrix::SetNumberArrangeMode(int on)
{
    record("SetNumberArrangeMode", {on});
    return resultFor("SetNumberArrangeMode");
}

int FakeBaseMatrix::GetScreenNumbers(uint8_t *bytes, int capacity, int *count)
{
    record("GetScreenNumbers", {capacity});
    const int n = std::min(capacity, int(screenNumberBytes.size()));
    if (bytes && n > 0)
        std::memcpy(bytes, screenNumberBytes.constData(), size_t(n));
    if (count)
        *count = screenNumberCount != AutoCount ? screenNumberCount : int(screenNumberBytes.size());
    return resultFor("GetScreenNumbers");
}

int FakeBaseMatrix::SetScreenNumbers(const uint8_t *bytes, int count)
{
    record("SetScreenNumbers", {count}, bytesOf(bytes, count));
    return resultFor("SetScreenNumbers");
}

int FakeBaseMatrix::GetScreenGrid(ScreenRegionEntry *entries, int capacity, int *count)
{
    record("GetScreenGrid", {capacity});
    const int n = std::min(capacity, int(gridEntries.size()));
    if (entries && n > 0)
        std::memcpy(entries, gridEntries.data(), size_t(n) * sizeof(ScreenRegionEntry));
    if (count)
        *count = gridCount != AutoCount ? gridCount : int(gridEntries.size());
    return resultFor("GetScreenGrid");
}

int FakeBaseMatrix::SetScreenGrid(const ScreenRegion *regions, int count)
{
    record("SetScreenGrid", {count}, bytesOf(regions, count * int(sizeof(ScreenRegion))));
    return resultFor("SetScreenGrid");
}

int FakeBaseMatrix::Reserved19()
{
    record("Reserved19");
    return 0;
}

int FakeBaseMatrix::SetCellMelt(const ScreenRegion *region)
{
    record("SetCellMelt", {}, bytesOf(region, int(sizeof(ScreenRegion))));
    return resultFor("SetCellMelt");
}

int FakeBaseMatrix::ClearCell(int cell)
{
    record("ClearCell", {cell});
    return resultFor("ClearCell");
}

int FakeBaseMatrix::SetCellChannels(int cell, const CellChannelRecord *records, int count,
                                    int splitCount)
{
    record("SetCellChannels", {cell, count, splitCount},
           bytesOf(records, count * int(sizeof(CellChannelRecord))));
    return resultFor("SetCellChannels");
}

int FakeBaseMatrix::AddCellChannel(int cell, const CellChannelRecord *record)
{
    this->record("AddCellChannel", {cell}, bytesOf(record, int(sizeof(CellChannelRecord))));
    return resultFor("AddCellChannel");
}

int FakeBaseMatrix::ModifyCellChannel(int cell, const CellChannelRecord *record)
{
    this->record("ModifyCellChannel", {cell}, bytesOf(record, int(sizeof(CellChannelRecord))));
    return resultFor("ModifyCellChannel");
}

int FakeBaseMatrix::DeleteCellChannel(int cell, int position)
{
    record("DeleteCellChannel", {cell, position});
    return resultFor("DeleteCellChannel");
}

int FakeBaseMatrix::GetCellChannels(int cell, CellChannelRecord *records, int capacity, int *count,
                                    int *splitCount)
{
    record("GetCellChannels", {cell, capacity});
    const int n = std::min(capacity, int(cellRecords.size()));
    if (records && n > 0)
        std::memcpy(records, cellRecords.data(), size_t(n) * sizeof(CellChannelRecord));
    if (count)
        *count = cellRecordCount != AutoCount ? cellRecordCount : int(cellRecords.size());
    if (splitCount)
        *splitCount = cellSplitCount;
    return resultFor("GetCellChannels");
}

int FakeBaseMatrix::Reserved27()
{
    record("Reserved27");
    return 0;
}

int FakeBaseMatrix::SetCellTurnShow(int cell, const CellTurnStatus *status)
{
    record("SetCellTurnShow",
           {cell, status ? status->interval : 0, status ? status->state : 0,
            status ? status->reserved : 0},
           bytesOf(status, int(sizeof(CellTurnStatus))));
    return resultFor("SetCellTurnShow");
}

int FakeBaseMatrix::GetCellTurnShow(int cell, CellTurnStatus *status)
{
    record("GetCellTurnShow", {cell});
    if (status)
        *status = turnStatus;
    return resultFor("GetCellTurnShow");
}

int FakeBaseMatrix::SetCellSingleWindow(int cell, int on, int window)
{
    record("SetCellSingleWindow", {cell, on, window});
    return resultFor("SetCellSingleWindow");
}

int FakeBaseMatrix::GetCellSingleWindow(int cell, uint8_t *on, int *window)
{
    record("GetCellSingleWindow", {cell});
    if (on)
        *on = singleWindowFlag;
    if (window)
        *window = singleWindow;
    return resultFor("GetCellSingleWindow");
}

int FakeBaseMatrix::SetCellSplit(int cell, int splitCount, int reserved)
{
    record("SetCellSplit", {cell, splitCount, reserved});
    return resultFor("SetCellSplit");
}

// ---- FakeMatrixService ----------------------------------------------------------

FakeMatrixService::FakeMatrixService()
{
    DigitalMatrixInteractionPort::release();
    DigitalMatrixInteractionPort::ServiceFactory factory;
    factory.createX86 = [this]() -> IMatrixConfig * {
        x86Matrix = new FakeX86Matrix;
        return x86Matrix;
    };
    factory.releaseX86 = [](IMatrixConfig *x86) { delete static_cast<FakeX86Matrix *>(x86); };
    factory.createBase = [this]() -> IBaseMatrixConfig * {
        baseMatrix = new FakeBaseMatrix;
        return baseMatrix;
    };
    factory.releaseBase = [](IBaseMatrixConfig *base) {
        delete static_cast<FakeBaseMatrix *>(base);
    };
    DigitalMatrixInteractionPort::setServiceFactory(factory);
    DigitalMatrixInteractionPort::instance();
}

FakeMatrixService::~FakeMatrixService()
{
    DigitalMatrixInteractionPort::release();
    DigitalMatrixInteractionPort::resetServiceFactory();
}
