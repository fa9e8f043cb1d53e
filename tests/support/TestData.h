// Files of tests/data, and the data centre's records as tests compare them.
#pragma once

#include "DataCoreTypes.h"

#include <QString>

// The file of tests/data with this name (DM_TEST_DATA overrides the folder).
inline QString testDataFile(const QString &name)
{
    const QString folder = qEnvironmentVariable("DM_TEST_DATA", QStringLiteral(DM_TEST_DATA_DIR));
    return folder + QLatin1Char('/') + name;
}

// A stored server as "name ip:port type t user 'u'".
inline QString describeServer(const UServerInfo &server)
{
    return QStringLiteral("%1 %2:%3 type %4 user '%5'")
            .arg(server.name, server.ip)
            .arg(server.port)
            .arg(server.type)
            .arg(server.user);
}
