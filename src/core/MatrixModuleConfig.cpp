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

MatrixModuleConfig::~MatrixModuleConfig() = default;

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
    if (!s_instance.load(std::memory_order_acquire))
        return;
    QMutexLocker locker(&s_mutex);
    delete s_instance.exchange(nullptr, std::memory_order_acq_rel);
}

void MatrixModuleConfig::installMatrixTranslator() { }

} // namespace LUMO_DIGITALMATRIX_MODULE
