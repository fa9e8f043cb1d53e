#pragma once

#include "digitalmatrix_export.h"

class QObject;

namespace LUMO_DIGITALMATRIX_MODULE {

// Makes a process-wide object a child of the application object and lets it live on
// the application's thread, whichever thread created it. Without an application
// object the object stays unparented on its own thread.
DIGITALMATRIX_EXPORT void adoptByApplication(QObject *object);

} // namespace LUMO_DIGITALMATRIX_MODULE
