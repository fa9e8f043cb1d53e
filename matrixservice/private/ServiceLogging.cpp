#include "ServiceLogging.h"

Q_LOGGING_CATEGORY(lcMatrixClient, "dm.service", QtInfoMsg)
