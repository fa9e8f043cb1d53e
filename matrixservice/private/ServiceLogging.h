#pragma once

#include <QLoggingCategory>

// The matrix-service library's logging category, "dm.service" (information and up by default).
Q_DECLARE_LOGGING_CATEGORY(lcMatrixClient)
