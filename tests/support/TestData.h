// Files of tests/data, and the data centre's records as tests compare them.
#pragma once

#include "DataCoreTypes.h"
#include "UserManagerCore.h"

#include <QString>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

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

// The test's own data centre: a new temporary folder in dir with the data centre opened in it
// and, unless site is empty, that site of tests/data imported. Checks with QTest macros: the
// caller stops when QTest::currentTestFailed().
inline void openTestDataCentre(std::unique_ptr<QTemporaryDir> &dir, const QString &site = QString())
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    DATACore::UserManagerCore *core = DATACore::UserManagerCore::instance();
    QVERIFY(core->open(dir->filePath(QStringLiteral("datacentre.db"))));
    if (!site.isEmpty())
        QVERIFY2(core->importSiteFile(testDataFile(site)), qPrintable(core->lastError()));
}
