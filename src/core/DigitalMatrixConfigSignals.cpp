#include "DigitalMatrixConfigSignals.h"

#include "SingletonSupport.h"

#include <QCoreApplication>
#include <QMutexLocker>

namespace LUMO_DIGITALMATRIX_MODULE {

std::atomic<DigitalMatrixConfigSignals *> DigitalMatrixConfigSignals::s_instance {nullptr};
QMutex DigitalMatrixConfigSignals::s_mutex;

DigitalMatrixConfigSignals::DigitalMatrixConfigSignals(QObject *parent)
    : QObject(parent)
{ }

DigitalMatrixConfigSignals::~DigitalMatrixConfigSignals()
{
    // Deleted by release() or with the application object: either way nobody may find the
    // hub any more, and a callback that has it finishes first.
    QMutexLocker locker(&s_mutex);
    DigitalMatrixConfigSignals *self = this;
    s_instance.compare_exchange_strong(self, nullptr, std::memory_order_acq_rel);
}

DigitalMatrixConfigSignals *DigitalMatrixConfigSignals::createLocked()
{
    DigitalMatrixConfigSignals *hub = s_instance.load(std::memory_order_relaxed);
    if (!hub) {
        registerMatrixMetaTypes();
        // Even when a service callback asks first, the hub belongs to the application's
        // thread, so that the pages receive its signals queued.
        hub = new DigitalMatrixConfigSignals(nullptr);
        adoptByApplication(hub);
        s_instance.store(hub, std::memory_order_release);
    }
    return hub;
}

DigitalMatrixConfigSignals *DigitalMatrixConfigSignals::instance()
{
    DigitalMatrixConfigSignals *hub = s_instance.load(std::memory_order_acquire);
    if (hub)
        return hub;
    QMutexLocker locker(&s_mutex);
    return createLocked();
}

void DigitalMatrixConfigSignals::release()
{
    DigitalMatrixConfigSignals *hub = nullptr;
    {
        QMutexLocker locker(&s_mutex);
        hub = s_instance.exchange(nullptr, std::memory_order_acq_rel);
    }
    delete hub;
}

template<typename Deliver>
void DigitalMatrixConfigSignals::deliverFromService(Deliver deliver)
{
    QMutexLocker locker(&s_mutex);
    DigitalMatrixConfigSignals *hub = s_instance.load(std::memory_order_acquire);
    if (!hub) {
        if (!QCoreApplication::instance() || QCoreApplication::closingDown())
            return;
        hub = createLocked();
    }
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

void DigitalMatrixConfigSignals::sendLayout(_MIRRORLAYOUT *layout)
{
    if (!layout)
        return;
    // Everything leaves by value: nothing of the service's buffer is kept. A count
    // beyond any real wall is cut so that no read runs past a sane layout.
    const int count = std::min(layout->mirrorCount, int(MaxMirrorsPerLayout));
    emit signalCreateNewLayout(layout->wallRect, count, layout->layoutParam1, layout->layoutParam2,
                               layout->layoutParam3, layout->layoutParam4);
    for (int i = 0; i < count; ++i) {
        const _MIRRORINFO &m = layout->mirrors[i];
        emit signalSetOneMirror(m.rectA, m.rectB, m.mirrorParam1, m.mirrorParam2, m.mirrorParam3,
                                m.mirrorParam4, m.mirrorParam5);
    }
    emit signalSetMirrorEnd();
}

void DigitalMatrixConfigSignals::sendGroupRes(int monitor, PST_ChnInfo channels, int count,
                                              int interval)
{
    emit signalGroupRes(monitor, channels, count, interval);
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
    deliverFromService([layout](DigitalMatrixConfigSignals *hub) { hub->sendLayout(layout); });
}

void DigitalMatrixConfigSignals::onCommandResult(void *, int command, int result)
{
    deliverFromService([command, result](DigitalMatrixConfigSignals *hub) {
        emit hub->signalCommandResult(command, result);
    });
}

void DigitalMatrixConfigSignals::onIgnored5(void *) { }

} // namespace LUMO_DIGITALMATRIX_MODULE
