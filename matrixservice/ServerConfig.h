// Entry points of the matrix-service library.
#pragma once

#include "IBaseMatrixConfig.h"
#include "IMatrixConfig.h"
#include "serverconfig_export.h"

extern "C" {
// The X86 matrix interface; each call creates a new interface object.
SERVERCONFIG_EXPORT IMatrixConfig *GetMatrixConfig();
// The Linux matrix interface; each call creates a new interface object.
SERVERCONFIG_EXPORT IBaseMatrixConfig *CreateBaseMatrixConfig();
// Closes the interface's connection, joins its thread and frees it. After the
// call returns no callback of that interface runs. Null is ignored.
SERVERCONFIG_EXPORT void ReleaseMatrixConfig(IMatrixConfig *config);
SERVERCONFIG_EXPORT void ReleaseBaseMatrixConfig(IBaseMatrixConfig *config);
}
