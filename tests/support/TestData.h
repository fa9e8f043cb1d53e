// Files of tests/data.
#pragma once

#include <QString>

// The file of tests/data with this name (DM_TEST_DATA overrides the folder).
inline QString testDataFile(const QString &name)
{
    const QString folder = qEnvironmentVariable("DM_TEST_DATA", QStringLiteral(DM_TEST_DATA_DIR));
    return folder + QLatin1Char('/') + name;
}
