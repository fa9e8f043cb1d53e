#include "DigitalMatrixConfigSignals.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>

namespace LUMO_DIGITALMATRIX_MODULE {

// Even when a service callback asks first, the hub belongs to the application's thread
// (ProcessSingleton moves it there), so that the pages receive its signals queued; the
// values it emits are registered before it can emit.
DigitalMatrixConfigSignals::DigitalMatrixConfigSignals(QObject *parent)
    : QObject(parent)
{
    registerMatrixMetaTypes();
}

// Deleted by release() or with the application object: either way ProcessSingleton's
// destructor makes sure nobody finds the hub any more, and a callback that has it finishes
// first.
DigitalMatrixConfigSignals::~DigitalMatrixConfigSignals() = default;

DigitalMatrixConfigSignals *DigitalMatrixConfigSignals::instance()
{
    return instanceOrCreate();
}

void DigitalMatrixConfigSignals::release()
{
    releaseInstance();
}

template<typename Deliver>
void DigitalMatrixConfigSignals::deliverFromService(Deliver deliver, Delivery kind)
{
    QMutexLocker locker(&lockMutex());
    DigitalMatrixConfigSignals *hub = currentLocked();
    if (!hub) {
        if (!QCoreApplication::instance() || QCoreApplication::closingDown())
            return;
        hub = createLocked();
    }
    if (kind != Delivery::Layout)
        hub->closeLayoutQueue();
    deliver(hub);
}

void DigitalMatrixConfigSignals::sendDigitalMatrixConnectStatus(ConnType type)
{
    switch (type) {
    case ConnSuccess:
        emit signalConnectSuccess();
        break;
    case ConnFailed:
        emit signalConnectFailed();
        break;
    case ConnTimeOut:
        emit signalConnectTimeOut();
        break;
    case ConnDisconnect:
        emit signalDisconnect();
        break;
    case ConnDisError:
        emit signalDisError();
        break;
    default:
        break;
    }
}

void DigitalMatrixConfigSignals::sendMatrixInfo(int screens, int rows, int columns)
{
    emit signalMatrixInfo(screens, rows, columns);
}

DigitalMatrixConfigSignals::QueuedLayout
DigitalMatrixConfigSignals::copyLayout(const _MIRRORLAYOUT &layout)
{
    // Everything leaves by value: nothing of the service's buffer is kept. A count
    // beyond any real wall is cut so that no read runs past a sane layout.
    QueuedLayout copy;
    copy.wallRect = layout.wallRect;
    copy.mirrorCount = std::min(layout.mirrorCount, int(MaxMirrorsPerLayout));
    copy.params[0] = layout.layoutParam1;
    copy.params[1] = layout.layoutParam2;
    copy.params[2] = layout.layoutParam3;
    copy.params[3] = layout.layoutParam4;
    if (copy.mirrorCount > 0) {
        copy.mirrors.reserve(copy.mirrorCount);
        for (int i = 0; i < copy.mirrorCount; ++i)
            copy.mirrors.append(layout.mirrors[i]);
    }
    return copy;
}

void DigitalMatrixConfigSignals::emitLayout(const QueuedLayout &layout)
{
    emit signalCreateNewLayout(layout.wallRect, layout.mirrorCount, layout.params[0],
                               layout.params[1], layout.params[2], layout.params[3]);
    for (const _MIRRORINFO &m : layout.mirrors)
        emit signalSetOneMirror(m.rectA, m.rectB, m.mirrorParam1, m.mirrorParam2, m.mirrorParam3,
                                m.mirrorParam4, m.mirrorParam5);
    emit signalSetMirrorEnd();
}

void DigitalMatrixConfigSignals::sendLayout(_MIRRORLAYOUT *layout)
{
    if (!layout)
        return;
    QueuedLayout copy = copyLayout(*layout);
    if (QThread::currentThread() == thread()) {
        QMutexLocker locker(&queueMutex);
        if (queuedLayouts.isEmpty()) {
            locker.unlock();
            emitLayout(copy);
            return;
        }
    }
    queueLayout(std::move(copy));
}

void DigitalMatrixConfigSignals::queueLayout(QueuedLayout layout)
{
    QMutexLocker locker(&queueMutex);
    if (lastQueuedOpen && !queuedLayouts.isEmpty()) {
        // The page has not applied the last one yet and nothing came after it: the newer
        // layout replaces it, under the wake-up already posted.
        queuedLayouts.last() = std::move(layout);
        ++merged;
        return;
    }
    queuedLayouts.append(std::move(layout));
    lastQueuedOpen = true;
    locker.unlock();
    QMetaObject::invokeMethod(
            this, [this] { emitOldestQueuedLayout(); }, Qt::QueuedConnection);
}

void DigitalMatrixConfigSignals::emitOldestQueuedLayout()
{
    if (emittingLayout) {
        ++deferredWakeUps;
        return;
    }
    QueuedLayout layout;
    {
        QMutexLocker locker(&queueMutex);
        if (queuedLayouts.isEmpty())
            return;
        layout = queuedLayouts.takeFirst();
        if (queuedLayouts.isEmpty())
            lastQueuedOpen = false;
    }
    emittingLayout = true;
    emitLayout(layout);
    emittingLayout = false;
    for (; deferredWakeUps > 0; --deferredWakeUps)
        QMetaObject::invokeMethod(
                this, [this] { emitOldestQueuedLayout(); }, Qt::QueuedConnection);
}

void DigitalMatrixConfigSignals::closeLayoutQueue()
{
    QMutexLocker locker(&queueMutex);
    lastQueuedOpen = false;
}

int DigitalMatrixConfigSignals::waitingLayoutCount() const
{
    QMutexLocker locker(&queueMutex);
    return queuedLayouts.size();
}

quint64 DigitalMatrixConfigSignals::mergedLayoutCount() const
{
    QMutexLocker locker(&queueMutex);
    return merged;
}

void DigitalMatrixConfigSignals::sendGroupRes(int monitor, const _ST_ChnInfo *channels, int count,
                                              int interval)
{
    // Copied here: the service's records are valid only during its callback.
    QVector<_ST_ChnInfo> records;
    if (channels && count > 0) {
        const int kept = std::min(count, int(MaxMirrorsPerLayout));
        records.reserve(kept);
        for (int i = 0; i < kept; ++i)
            records.append(channels[i]);
    }
    emit signalGroupRes(monitor, records, interval);
    emit signalGroupResCount(records.size());
}

void DigitalMatrixConfigSignals::onConnectStatus(void *, int connType)
{
    deliverFromService([connType](DigitalMatrixConfigSignals *hub) {
        hub->sendDigitalMatrixConnectStatus(static_cast<ConnType>(connType));
    });
}

void DigitalMatrixConfigSignals::onMatrixInfo(void *, int screens, int rows, int columns)
{
    deliverFromService([=](DigitalMatrixConfigSignals *hub) {
        emit hub->signalMatrixInfo(screens, rows, columns);
    });
}

void DigitalMatrixConfigSignals::onLayout(void *, _MIRRORLAYOUT *layout)
{
    deliverFromService([layout](DigitalMatrixConfigSignals *hub) { hub->sendLayout(layout); },
                       Delivery::Layout);
}

void DigitalMatrixConfigSignals::onCommandResult(void *, int command, int result)
{
    deliverFromService([command, result](DigitalMatrixConfigSignals *hub) {
        emit hub->signalCommandResult(command, result);
    });
}

void DigitalMatrixConfigSignals::onIgnored5(void *) { }

void DigitalMatrixConfigSignals::onSources(void *, int monitor, const _ST_ChnInfo *channels,
                                           int count, int interval)
{
    deliverFromService([=](DigitalMatrixConfigSignals *hub) {
        hub->sendGroupRes(monitor, channels, count, interval);
    });
}

void DigitalMatrixConfigSignals::onTurnStep(void *, int monitor, int turnState, int page,
                                            int pages, int interval)
{
    deliverFromService([=](DigitalMatrixConfigSignals *hub) {
        emit hub->signalTurnStep(monitor, turnState, page, pages, interval);
    });
}

void DigitalMatrixConfigSignals::onOperatorsChanged(void *)
{
    deliverFromService([](DigitalMatrixConfigSignals *hub) { emit hub->signalOperatorsChanged(); });
}

} // namespace LUMO_DIGITALMATRIX_MODULE
