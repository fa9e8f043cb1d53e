#include "FakeMatrixService.h"

#include "DigitalMatrixInteractionPort.h"

#include <QMutexLocker>

#include <algorithm>
#include <cstring>
#include <thread>

using LUMO_DIGITALMATRIX_MODULE::DigitalMatrixInteractionPort;

namespace {

// Copies what a reading operation hands back: at most capacity entries, and the count the
// fake was told to report.
template<typename T>
void readOut(const T *from, int available, T *to, int capacity, int *count, int reported)
{
    const int n = std::min(capacity, available);
    if (to && n > 0)
        std::memcpy(to, from, size_t(n) * sizeof(T));
    if (count)
        *count = reported != FakeBaseMatrix::AutoCount ? reported : available;
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
    QList<FakeCall> out;
    for (const FakeCall &c : calls()) {
        if (c.name == name)
            out.append(c);
    }
    return out;
}

QStringList FakeCallLog::names() const
{
    QStringList out;
    for (const FakeCall &c : calls())
        out << c.name;
    return out;
}

QStringList FakeCallLog::trace() const
{
    QStringList out;
    for (const FakeCall &c : calls()) {
        QStringList args;
        for (const QVariant &arg : c.args)
            args << arg.toString();
        out << c.name + QLatin1Char('(') + args.join(QLatin1Char(',')) + QLatin1Char(')');
    }
    return out;
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
    return queue.isEmpty() ? results.value(name, 0) : queue.takeFirst();
}

// ---- FakeX86Matrix --------------------------------------------------------------

int FakeX86Matrix::RegisterCallbacks(void *ctx, MatrixConnStatusCallback onConnectStatus,
                                     MatrixInfoCallback onMatrixInfo, MatrixLayoutCallback onLayout,
                                     MatrixCommandResultCallback, MatrixReservedCallback)
{
    record("RegisterCallbacks");
    registeredContext = ctx;
    connCallback = onConnectStatus;
    infoCallback = onMatrixInfo;
    layoutCallback = onLayout;
    return 0;
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

int FakeBaseMatrix::GetScreenNumbers(uint8_t *bytes, int capacity, int *count)
{
    readOut(reinterpret_cast<const uint8_t *>(screenNumberBytes.constData()),
            int(screenNumberBytes.size()), bytes, capacity, count, screenNumberCount);
    return call("GetScreenNumbers", {capacity});
}

int FakeBaseMatrix::GetScreenGrid(ScreenRegionEntry *entries, int capacity, int *count)
{
    readOut(gridEntries.data(), int(gridEntries.size()), entries, capacity, count, gridCount);
    return call("GetScreenGrid", {capacity});
}

int FakeBaseMatrix::GetCellChannels(int cell, CellChannelRecord *records, int capacity, int *count,
                                    int *splitCount)
{
    readOut(cellRecords.data(), int(cellRecords.size()), records, capacity, count, cellRecordCount);
    if (splitCount)
        *splitCount = cellSplitCount;
    return call("GetCellChannels", {cell, capacity});
}

// ---- FakeMatrixService ----------------------------------------------------------

FakeMatrixService::FakeMatrixService()
{
    DigitalMatrixInteractionPort::release();
    DigitalMatrixInteractionPort::ServiceFactory factory;
    factory.createX86 = [this]() -> IMatrixConfig * { return x86Matrix = new FakeX86Matrix; };
    factory.releaseX86 = [](IMatrixConfig *x86) { delete static_cast<FakeX86Matrix *>(x86); };
    factory.createBase = [this]() -> IBaseMatrixConfig * {
        return baseMatrix = new FakeBaseMatrix;
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
