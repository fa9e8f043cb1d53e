#include "ClientTimeouts.h"

#include <QByteArray>
#include <QtGlobal>

namespace MatrixService {

namespace {

int environmentValue(const char *name, int fallback, int minimum, int maximum)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    if (!ok || value < minimum || value > maximum)
        return fallback;
    return value;
}

} // namespace

ClientTimeouts ClientTimeouts::fromEnvironment()
{
    ClientTimeouts timeouts;
    timeouts.connectMs =
            environmentValue("DM_MATRIX_CONNECT_TIMEOUT_MS", timeouts.connectMs, 100, 14000);
    timeouts.requestMs =
            environmentValue("DM_MATRIX_REQUEST_TIMEOUT_MS", timeouts.requestMs, 50, 60000);
    return timeouts;
}

} // namespace MatrixService
