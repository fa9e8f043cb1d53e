#include "MatrixModuleConfig.h"

#include "DigitalMatrixConfigSignals.h"
#include "DigitalMatrixInteractionPort.h"

namespace LUMO_DIGITALMATRIX_MODULE {

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
    return instanceOrCreate();
}

void MatrixModuleConfig::release()
{
    releaseInstance();
}

void MatrixModuleConfig::installMatrixTranslator() { }

} // namespace LUMO_DIGITALMATRIX_MODULE
