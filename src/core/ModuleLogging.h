#pragma once

#include "digitalmatrix_export.h"

#include <QLoggingCategory>

namespace LUMO_DIGITALMATRIX_MODULE {

// The module's logging categories, one per part: "dm.module.core", "dm.module.x86",
// "dm.module.linux". What a host keeps goes to its own log (QLogger); these lines are for
// the module's developers and are switched with QT_LOGGING_RULES.
DIGITALMATRIX_EXPORT const QLoggingCategory &lcModuleCore();
DIGITALMATRIX_EXPORT const QLoggingCategory &lcModuleX86();
DIGITALMATRIX_EXPORT const QLoggingCategory &lcModuleLinux();

} // namespace LUMO_DIGITALMATRIX_MODULE
