#include "MatrixModuleConfig.h"

#include "DigitalMatrixConfigSignals.h"
#include "DigitalMatrixInteractionPort.h"
#include "SingletonSupport.h"

#include <QMutexLocker>

namespace LUMO_DIGITALMATRIX_MODULE {

std::atomic<MatrixModuleConfig *> MatrixModuleConfig::s_instance {nullptr};
QMutex MatrixModuleConfig::s_mutex;

MatrixModuleConfig::MatrixModuleConfig(QObject *parent)
    : QObject(parent)
{
    init();
}

MatrixModuleConfig::~MatrixModuleConfig()
{
    forgetInstance(this);
}

void MatrixModuleConfig::init()
{
    DigitalMatrixConfigSignals::instance();
    DigitalMatrixInteractionPort::instance();
}

MatrixModuleConfig *MatrixModuleConfig::instance()
{
    MatrixModuleConfig *config = s_instance.load(std::memory_order_acquire);
    if (config)
        return config;
    QMutexLocker locker(&s_mutex);
    config = s_instance.load(std::memory_order_relaxed);
    if (!config) {
        config = new MatrixModuleConfig(nullptr);
        adoptByApplication(config);
        s_instance.store(config, std::memory_order_release);
    }
    return config;
}

void MatrixModuleConfig::release()
{
    MatrixModuleConfig *config = nullptr;
    {
        QMutexLocker locker(&s_mutex);
        config = s_instance.exchange(nullptr, std::memory_order_acq_rel);
    }
    delete config;
}

void MatrixModuleConfig::forgetInstance(MatrixModuleConfig *self)
{
    // Deleted with the application object: release() and instance() must not find it.
    QMutexLocker locker(&s_mutex);
    s_instance.compare_exchange_strong(self, nullptr, std::memory_order_acq_rel);
}

void MatrixModuleConfig::installMatrixTranslator() { }

} // namespace LUMO_DIGITALMATRIX_MODULE
