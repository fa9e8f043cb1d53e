#include "ModuleLogging.h"

namespace LUMO_DIGITALMATRIX_MODULE {

Q_LOGGING_CATEGORY(lcModuleCore, "dm.module.core")
Q_LOGGING_CATEGORY(lcModuleX86, "dm.module.x86")
Q_LOGGING_CATEGORY(lcModuleLinux, "dm.module.linux")

} // namespace LUMO_DIGITALMATRIX_MODULE
