// The host data centre: servers, site import and look-ups on a SQLite file.
#include "UserManagerCore.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using DATACore::UserManagerCore;

namespace {

const char BaseSite[] = R"({
  "areas": [ { "key": "base-area", "name": "Base" } ],
  "devices": [ { "key": "base-dev", "name": "Base NVR", "address": "10.1.1.1" } ],
  "channels": [ { "key": "base-ch", "name": "Base 1", "device": "base-dev", "number": 1,
                  "area": "base-area" } ]
})";

QString sampleSiteFile()
{
    const QString dir = qEnvironmentVariable("DM_TEST_DATA");
    if (!dir.isEmpty())
        return dir + QStringLiteral("/sample_site.json");
    return QFINDTESTDATA("data/sample_site.json");
}

// Runs statements on the database file through a second connection, behind the data
// centre's back.
bool tamper(const QString &file, const QStringList &statements)
{
    bool ok = true;
    {
        QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("tamper"));
        db.setDatabaseName(file);
        ok = db.open();
        QSqlQuery query(db);
        for (const QString &statement : statements) {
            if (ok && !query.exec(statement)) {
                qWarning() << statement << query.lastError().text();
                ok = false;
            }
        }
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("tamper"));
    return ok;
}

int userVersion(const QString &file)
{
    int version = -1;
    {
        QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("peek"));
        db.setDatabaseName(file);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("PRAGMA user_version")) && query.next())
                version = query.value(0).toInt();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("peek"));
    return version;
}

QString describe(const UServerInfo &s)
{
    return QStringLiteral("server %1|%2|%3|%4|%5|%6|%7\n")
            .arg(s.id, s.name, s.ip, s.user, s.password)
            .arg(s.port)
            .arg(s.type);
}

QString describe(const UDeviceInfo &d)
{
    return QStringLiteral("device %1|%2|%3|%4|%5|%6|%7|%8|%9|%10|%11|%12\n")
            .arg(d.struct_DeviceGuid, d.struct_DeviceName, d.struct_IpAddress, d.struct_account,
                 d.struct_password, d.struct_SerialNumber)
            .arg(d.struct_port)
            .arg(d.struct_channelCount)
            .arg(d.struct_deviceNumber)
            .arg(d.struct_deviceType)
            .arg(d.struct_deviceKind)
            .arg(d.struct_reserved);
}

QString describe(const DeviceChancelInfo &c)
{
    return QStringLiteral("channel %1|%2|%3|%4|%5\n")
            .arg(c.channelGuid, c.channelName, c.deviceGuid)
            .arg(c.channelNo)
            .arg(c.areaGuid);
}

QString describe(const AllPlayViewInfo &v)
{
    QString text = QStringLiteral("view %1|%2|%3|%4|")
                           .arg(v.strGuid, v.strName)
                           .arg(v.paneCount)
                           .arg(v.playerKind);
    for (int i = 0; i < v.channelGuids.size(); ++i)
        text += QStringLiteral("%1@%2#%3 ")
                        .arg(v.channelGuids.at(i))
                        .arg(v.localNO.value(i))
                        .arg(v.channelNO.value(i));
    return text + QLatin1Char('\n');
}

// Everything the data centre shows, as text, to compare before and after a refused write.
QString snapshot(UserManagerCore *core)
{
    QString text;
    for (const UServerInfo &server : core->GetServers(QString()))
        text += describe(server);
    QStringList devices;
    for (const RegionInfo &region : core->GetOneRegion(QString())) {
        text += QStringLiteral("area %1|%2|%3\n")
                        .arg(region.strGuid, region.strName, region.strParentGuid);
        for (const DeviceChancelInfo &channel : core->getChannelInfoByAreaGuid(region.strGuid)) {
            text += describe(channel);
            if (!devices.contains(channel.deviceGuid))
                devices.append(channel.deviceGuid);
        }
    }
    for (const QString &device : qAsConst(devices))
        text += describe(core->getDeviceInfoByDeviceGuid(device));
    for (const AllPlayViewInfo &view : core->getAllViews())
        text += describe(view);
    return text;
}

} // namespace

class TestDataCore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void instance_isOneObjectOwnedByTheApplication();
    void open_writesSchemaVersion();
    void open_refusesNewerSchema();
    void open_memoryDatabaseLivesUntilClose();
    void open_refusesFileThatIsNoDatabase();
    void operations_failWithoutOpenDatabase();

    void addServer_storesRecordAndSignalsAfterCommit();
    void addServer_refusesInvalidRecord_data();
    void addServer_refusesInvalidRecord();
    void addServer_acceptsSameAddressOrNameForOtherType();
    void getServers_keepsInsertionOrderAndFilters();
    void editServer_updatesAndSignals();
    void editServer_refuses_data();
    void editServer_refuses();
    void deleteServer_removesAndSignals();
    void deleteServer_refusesUnknownIdOrOtherType();

    void reopen_keepsEverything();
    void brokenInsert_returnsFalseAndKeepsRows();
    void brokenUpdate_returnsFalseAndKeepsRow();
    void renamedTable_failsAndRowsSurvive();

    void importSite_sampleIsComplete();
    void importSite_refusesInvalidEntry_data();
    void importSite_refusesInvalidEntry();
    void importSite_lateFailureRollsBackEverything();
    void importSite_parentMayFollowChild();
    void importSiteFile_missingFileIsRefused();

    void lookups_findByKeyAddressAndNumber();
    void playerInfo_viewOrChannel();
    void failedLookups_returnEmptyRecords();
    void addRecords_applyTheSameRules();

private:
    QString dbFile() const { return m_dir->filePath(QStringLiteral("datacenter.sqlite")); }
    bool importSample() { return m_core->importSiteFile(sampleSiteFile()); }
    QString addX86(const QString &name, const QString &ip, int port);

    std::unique_ptr<QTemporaryDir> m_dir;
    UserManagerCore *m_core = nullptr;
};

void TestDataCore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_core = UserManagerCore::instance();
    QVERIFY2(m_core->open(dbFile()), qPrintable(m_core->lastError()));
}

void TestDataCore::cleanup()
{
    m_core->close();
    // Drop signals still queued for the next test.
    QCoreApplication::sendPostedEvents();
    m_dir.reset();
}

QString TestDataCore::addX86(const QString &name, const QString &ip, int port)
{
    QSignalSpy spy(m_core, &UserManagerCore::signalAddServer);
    if (!m_core->AddServer(name, ip, QStringLiteral("admin"), QStringLiteral("pw"), port,
                           SERVERTYPE_X86_DIGITALMATRIX))
        return QString();
    if (!spy.wait(5000))
        return QString();
    return spy.at(0).at(0).value<UServerInfo>().id;
}

void TestDataCore::instance_isOneObjectOwnedByTheApplication()
{
    QCOMPARE(UserManagerCore::instance(), m_core);
    QCOMPARE(m_core->parent(), QCoreApplication::instance());

    QPointer<UserManagerCore> old(m_core);
    UserManagerCore::release();
    QVERIFY(old.isNull());
    m_core = UserManagerCore::instance();
    QVERIFY(m_core);
    QVERIFY(!m_core->isOpen());
    QVERIFY(m_core->open(dbFile()));
}

void TestDataCore::open_writesSchemaVersion()
{
    QVERIFY(m_core->isOpen());
    QCOMPARE(m_core->databaseFile(), dbFile());
    QCOMPARE(userVersion(dbFile()), 1);
}

void TestDataCore::open_refusesNewerSchema()
{
    m_core->close();
    const QString file = m_dir->filePath(QStringLiteral("newer.sqlite"));
    QVERIFY(tamper(file, {QStringLiteral("PRAGMA user_version = 99")}));
    QVERIFY(!m_core->open(file));
    QVERIFY(!m_core->isOpen());
    QVERIFY2(m_core->lastError().contains(QLatin1String("99")), qPrintable(m_core->lastError()));
    QCOMPARE(userVersion(file), 99);
}

void TestDataCore::open_memoryDatabaseLivesUntilClose()
{
    QVERIFY(m_core->open(QStringLiteral(":memory:")));
    QVERIFY(m_core->AddServer(QStringLiteral("A"), QStringLiteral("10.0.0.1"), QString(), QString(),
                              9000, SERVERTYPE_X86_DIGITALMATRIX));
    QCOMPARE(m_core->GetServers(QString()).size(), 1);
    m_core->close();
    QVERIFY(m_core->open(QStringLiteral(":memory:")));
    QVERIFY(m_core->GetServers(QString()).isEmpty());
    // The file of the previous test step was left untouched.
    QVERIFY(m_core->open(dbFile()));
    QVERIFY(m_core->GetServers(QString()).isEmpty());
}

void TestDataCore::open_refusesFileThatIsNoDatabase()
{
    m_core->close();
    const QString file = m_dir->filePath(QStringLiteral("text.sqlite"));
    QFile text(file);
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write(QByteArray("this is a plain text file, not a database\n").repeated(100));
    text.close();
    QVERIFY(!m_core->open(file));
    QVERIFY(!m_core->isOpen());
    QVERIFY(!m_core->lastError().isEmpty());
    QVERIFY(m_core->GetServers(QString()).isEmpty());
}

void TestDataCore::operations_failWithoutOpenDatabase()
{
    m_core->close();
    QSignalSpy spy(m_core, &UserManagerCore::signalAddServer);
    QVERIFY(!m_core->AddServer(QStringLiteral("A"), QStringLiteral("10.0.0.1"), QString(),
                               QString(), 9000, SERVERTYPE_X86_DIGITALMATRIX));
    QVERIFY(m_core->lastError().contains(QLatin1String("open")));
    QVERIFY(!m_core->importSite(BaseSite));
    QVERIFY(m_core->GetServers(QString()).isEmpty());
    QVERIFY(m_core->GetOneRegion(QString()).isEmpty());
    QCoreApplication::sendPostedEvents();
    QCOMPARE(spy.count(), 0);
}

void TestDataCore::addServer_storesRecordAndSignalsAfterCommit()
{
    QSignalSpy spy(m_core, &UserManagerCore::signalAddServer);
    QList<UServerInfo> seenInSlot;
    connect(
            m_core, &UserManagerCore::signalAddServer, this,
            [&](const UServerInfo &) { seenInSlot = m_core->GetServers(QString()); },
            Qt::DirectConnection);

    QVERIFY(m_core->AddServer(QStringLiteral("Wall A"), QStringLiteral("192.168.1.50"),
                              QStringLiteral("admin"), QStringLiteral("p@ss word"), 9000,
                              SERVERTYPE_LINUX_DIGITALMATRIX));
    // Not emitted from inside the call: only through the event loop.
    QCOMPARE(spy.count(), 0);
    QTRY_COMPARE(spy.count(), 1);
    disconnect(m_core, &UserManagerCore::signalAddServer, this, nullptr);

    const UServerInfo server = spy.at(0).at(0).value<UServerInfo>();
    QVERIFY(!QUuid::fromString(server.id).isNull());
    QVERIFY(!server.id.contains(QLatin1Char('{')));
    QCOMPARE(server.name, QStringLiteral("Wall A"));
    QCOMPARE(server.ip, QStringLiteral("192.168.1.50"));
    QCOMPARE(server.user, QStringLiteral("admin"));
    QCOMPARE(server.password, QStringLiteral("p@ss word"));
    QCOMPARE(server.port, 9000);
    QCOMPARE(server.type, int(SERVERTYPE_LINUX_DIGITALMATRIX));
    // The slot already saw the committed row.
    QCOMPARE(seenInSlot.size(), 1);
    QCOMPARE(seenInSlot.first(), server);
    QCOMPARE(m_core->getServerInfo(server.id), server);
}

void TestDataCore::addServer_refusesInvalidRecord_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("ip");
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("type");
    const int x86 = SERVERTYPE_X86_DIGITALMATRIX;
    const QString ip = QStringLiteral("10.0.0.9");
    const QString name = QStringLiteral("Wall B");
    QTest::newRow("empty name") << QString() << ip << 9000 << x86;
    QTest::newRow("blank name") << QStringLiteral("   ") << ip << 9000 << x86;
    QTest::newRow("three parts") << name << QStringLiteral("10.0.0") << 9000 << x86;
    QTest::newRow("five parts") << name << QStringLiteral("10.0.0.1.2") << 9000 << x86;
    QTest::newRow("part above 255") << name << QStringLiteral("10.0.256.1") << 9000 << x86;
    QTest::newRow("letters") << name << QStringLiteral("a.b.c.d") << 9000 << x86;
    QTest::newRow("host name") << name << QStringLiteral("matrix.local") << 9000 << x86;
    QTest::newRow("leading zero") << name << QStringLiteral("10.0.0.09") << 9000 << x86;
    QTest::newRow("empty part") << name << QStringLiteral("10..0.1") << 9000 << x86;
    QTest::newRow("sign") << name << QStringLiteral("+10.0.0.1") << 9000 << x86;
    QTest::newRow("spaces") << name << QStringLiteral(" 10.0.0.1") << 9000 << x86;
    QTest::newRow("empty ip") << name << QString() << 9000 << x86;
    QTest::newRow("port 0") << name << ip << 0 << x86;
    QTest::newRow("port 65536") << name << ip << 65536 << x86;
    QTest::newRow("port negative") << name << ip << -1 << x86;
    QTest::newRow("type 0") << name << ip << 9000 << 0;
    QTest::newRow("type 7") << name << ip << 9000 << 7;
    QTest::newRow("type negative") << name << ip << 9000 << -2;
    QTest::newRow("same ip port type") << name << QStringLiteral("10.0.0.5") << 9000 << x86;
    QTest::newRow("same name type") << QStringLiteral("Wall A") << ip << 9000 << x86;
}

void TestDataCore::addServer_refusesInvalidRecord()
{
    QFETCH(QString, name);
    QFETCH(QString, ip);
    QFETCH(int, port);
    QFETCH(int, type);
    QVERIFY(!addX86(QStringLiteral("Wall A"), QStringLiteral("10.0.0.5"), 9000).isEmpty());
    const QString before = snapshot(m_core);

    QSignalSpy spy(m_core, &UserManagerCore::signalAddServer);
    QVERIFY(!m_core->AddServer(name, ip, QStringLiteral("u"), QStringLiteral("secret-pw"), port,
                               type));
    QVERIFY(!m_core->lastError().isEmpty());
    QVERIFY(!m_core->lastError().contains(QLatin1String("secret-pw")));
    QCoreApplication::sendPostedEvents();
    QCOMPARE(spy.count(), 0);
    QCOMPARE(snapshot(m_core), before);
}

void TestDataCore::addServer_acceptsSameAddressOrNameForOtherType()
{
    QVERIFY(!addX86(QStringLiteral("Wall A"), QStringLiteral("10.0.0.5"), 9000).isEmpty());
    QVERIFY(m_core->AddServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.5"), QString(),
                              QString(), 9000, SERVERTYPE_LINUX_DIGITALMATRIX));
    QVERIFY(m_core->AddServer(QStringLiteral("Wall C"), QStringLiteral("10.0.0.5"), QString(),
                              QString(), 9001, SERVERTYPE_X86_DIGITALMATRIX));
    QCOMPARE(m_core->GetServers(QString()).size(), 3);
}

void TestDataCore::getServers_keepsInsertionOrderAndFilters()
{
    const QStringList names = {QStringLiteral("Zulu"), QStringLiteral("alpha"),
                               QStringLiteral("数字矩阵"), QStringLiteral("Mike")};
    const QStringList ips = {QStringLiteral("10.0.0.4"), QStringLiteral("10.0.0.3"),
                             QStringLiteral("192.168.7.2"), QStringLiteral("10.0.0.1")};
    for (int i = 0; i < names.size(); ++i)
        QVERIFY(m_core->AddServer(names.at(i), ips.at(i), QString(), QString(), 9000 + i,
                                  i % 2 ? SERVERTYPE_LINUX_DIGITALMATRIX
                                        : SERVERTYPE_X86_DIGITALMATRIX));
    QStringList listed;
    for (const UServerInfo &server : m_core->GetServers(QString()))
        listed << server.name;
    QCOMPARE(listed, names);

    listed.clear();
    for (const UServerInfo &server : m_core->GetServers(QStringLiteral("ALPHA")))
        listed << server.name;
    QCOMPARE(listed, QStringList {QStringLiteral("alpha")});

    listed.clear();
    for (const UServerInfo &server : m_core->GetServers(QStringLiteral("10.0.0")))
        listed << server.name;
    QCOMPARE(listed,
             (QStringList {QStringLiteral("Zulu"), QStringLiteral("alpha"),
                           QStringLiteral("Mike")}));

    QCOMPARE(m_core->GetServers(QStringLiteral("矩阵")).size(), 1);
    QVERIFY(m_core->GetServers(QStringLiteral("nothing like it")).isEmpty());
}

void TestDataCore::editServer_updatesAndSignals()
{
    const QString id = addX86(QStringLiteral("Wall A"), QStringLiteral("10.0.0.5"), 9000);
    QVERIFY(!id.isEmpty());
    QSignalSpy spy(m_core, &UserManagerCore::signalEditServer);
    QVERIFY(m_core->EditServer(id, QStringLiteral("Wall A2"), QStringLiteral("10.0.0.6"),
                               QStringLiteral("op"), QStringLiteral("new"), 9100,
                               SERVERTYPE_X86_DIGITALMATRIX));
    QCOMPARE(spy.count(), 0);
    QTRY_COMPARE(spy.count(), 1);
    const UServerInfo edited = spy.at(0).at(0).value<UServerInfo>();
    QCOMPARE(edited.id, id);
    QCOMPARE(edited.name, QStringLiteral("Wall A2"));
    QCOMPARE(edited.ip, QStringLiteral("10.0.0.6"));
    QCOMPARE(edited.port, 9100);
    QCOMPARE(m_core->getServerInfo(id), edited);
    QCOMPARE(m_core->GetServers(QString()).size(), 1);

    // Saving a record unchanged is not a clash with itself.
    QVERIFY(m_core->EditServer(id, edited.name, edited.ip, edited.user, edited.password,
                               edited.port, edited.type));
    QTRY_COMPARE(spy.count(), 2);
}

void TestDataCore::editServer_refuses_data()
{
    QTest::addColumn<bool>("unknownId");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("ip");
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("type");
    const int x86 = SERVERTYPE_X86_DIGITALMATRIX;
    QTest::newRow("unknown id") << true << QStringLiteral("X") << QStringLiteral("10.0.0.8") << 1
                                << x86;
    QTest::newRow("empty name") << false << QString() << QStringLiteral("10.0.0.8") << 1 << x86;
    QTest::newRow("bad ip") << false << QStringLiteral("X") << QStringLiteral("10.0.0.") << 1
                            << x86;
    QTest::newRow("bad port") << false << QStringLiteral("X") << QStringLiteral("10.0.0.8") << 0
                              << x86;
    QTest::newRow("bad type") << false << QStringLiteral("X") << QStringLiteral("10.0.0.8") << 1
                              << 42;
    QTest::newRow("address of other")
            << false << QStringLiteral("X") << QStringLiteral("10.0.0.2") << 9002 << x86;
    QTest::newRow("name of other")
            << false << QStringLiteral("Second") << QStringLiteral("10.0.0.8") << 1 << x86;
}

void TestDataCore::editServer_refuses()
{
    QFETCH(bool, unknownId);
    QFETCH(QString, name);
    QFETCH(QString, ip);
    QFETCH(int, port);
    QFETCH(int, type);
    const QString first = addX86(QStringLiteral("First"), QStringLiteral("10.0.0.1"), 9001);
    QVERIFY(!addX86(QStringLiteral("Second"), QStringLiteral("10.0.0.2"), 9002).isEmpty());
    QVERIFY(!first.isEmpty());
    const QString before = snapshot(m_core);

    QSignalSpy spy(m_core, &UserManagerCore::signalEditServer);
    const QString id = unknownId ? QUuid::createUuid().toString(QUuid::WithoutBraces) : first;
    QVERIFY(!m_core->EditServer(id, name, ip, QString(), QString(), port, type));
    QVERIFY(!m_core->lastError().isEmpty());
    QCoreApplication::sendPostedEvents();
    QCOMPARE(spy.count(), 0);
    QCOMPARE(snapshot(m_core), before);
}

void TestDataCore::deleteServer_removesAndSignals()
{
    const QString a = addX86(QStringLiteral("A"), QStringLiteral("10.0.0.1"), 9001);
    const QString b = addX86(QStringLiteral("B"), QStringLiteral("10.0.0.2"), 9002);
    QSignalSpy spy(m_core, &UserManagerCore::signalDeleteServer);
    QVERIFY(m_core->DeleteServer(a, SERVERTYPE_X86_DIGITALMATRIX));
    QCOMPARE(spy.count(), 0);
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), a);
    QCOMPARE(spy.at(0).at(1).value<SERVERTYPE>(), SERVERTYPE_X86_DIGITALMATRIX);
    const QList<UServerInfo> left = m_core->GetServers(QString());
    QCOMPARE(left.size(), 1);
    QCOMPARE(left.first().id, b);
    QCOMPARE(m_core->getServerInfo(a).id, QString());
}

void TestDataCore::deleteServer_refusesUnknownIdOrOtherType()
{
    const QString a = addX86(QStringLiteral("A"), QStringLiteral("10.0.0.1"), 9001);
    const QString before = snapshot(m_core);
    QSignalSpy spy(m_core, &UserManagerCore::signalDeleteServer);
    QVERIFY(!m_core->DeleteServer(a, SERVERTYPE_LINUX_DIGITALMATRIX));
    QVERIFY(!m_core->DeleteServer(QUuid::createUuid().toString(QUuid::WithoutBraces),
                                  SERVERTYPE_X86_DIGITALMATRIX));
    QVERIFY(!m_core->DeleteServer(QString(), SERVERTYPE_X86_DIGITALMATRIX));
    QCoreApplication::sendPostedEvents();
    QCOMPARE(spy.count(), 0);
    QCOMPARE(snapshot(m_core), before);
}

void TestDataCore::reopen_keepsEverything()
{
    QVERIFY(!addX86(QStringLiteral("A"), QStringLiteral("10.0.0.1"), 9001).isEmpty());
    QVERIFY(m_core->AddServer(QStringLiteral("L"), QStringLiteral("10.0.0.2"),
                              QStringLiteral("root"), QStringLiteral("明文"), 8000,
                              SERVERTYPE_LINUX_DIGITALMATRIX));
    QVERIFY2(importSample(), qPrintable(m_core->lastError()));
    const QString before = snapshot(m_core);
    QVERIFY(before.count(QLatin1String("server ")) == 2);

    m_core->close();
    QVERIFY(m_core->GetServers(QString()).isEmpty());
    QVERIFY(m_core->open(dbFile()));
    QCOMPARE(snapshot(m_core), before);
    QCOMPARE(m_core->GetServers(QString()).at(1).password, QStringLiteral("明文"));
}

void TestDataCore::brokenInsert_returnsFalseAndKeepsRows()
{
    QVERIFY(!addX86(QStringLiteral("A"), QStringLiteral("10.0.0.1"), 9001).isEmpty());
    const QString before = snapshot(m_core);
    QVERIFY(tamper(dbFile(),
                   {QStringLiteral("CREATE TRIGGER refuse_insert BEFORE INSERT ON servers"
                                   " BEGIN SELECT RAISE(ABORT, 'disk says no'); END")}));
    QSignalSpy spy(m_core, &UserManagerCore::signalAddServer);
    QVERIFY(!m_core->AddServer(QStringLiteral("B"), QStringLiteral("10.0.0.2"), QString(),
                               QString(), 9002, SERVERTYPE_X86_DIGITALMATRIX));
    QVERIFY2(m_core->lastError().contains(QLatin1String("disk says no")),
             qPrintable(m_core->lastError()));
    QCoreApplication::sendPostedEvents();
    QCOMPARE(spy.count(), 0);
    QCOMPARE(snapshot(m_core), before);

    QVERIFY(tamper(dbFile(), {QStringLiteral("DROP TRIGGER refuse_insert")}));
    QVERIFY(m_core->AddServer(QStringLiteral("B"), QStringLiteral("10.0.0.2"), QString(), QString(),
                              9002, SERVERTYPE_X86_DIGITALMATRIX));
    QCOMPARE(m_core->GetServers(QString()).size(), 2);
}

void TestDataCore::brokenUpdate_returnsFalseAndKeepsRow()
{
    const QString id = addX86(QStringLiteral("A"), QStringLiteral("10.0.0.1"), 9001);
    const QString before = snapshot(m_core);
    QVERIFY(tamper(dbFile(),
                   {QStringLiteral("CREATE TRIGGER refuse_update BEFORE UPDATE ON servers"
                                   " BEGIN SELECT RAISE(ABORT, 'no update'); END"),
                    QStringLiteral("CREATE TRIGGER refuse_delete BEFORE DELETE ON servers"
                                   " BEGIN SELECT RAISE(ABORT, 'no delete'); END")}));
    QSignalSpy edits(m_core, &UserManagerCore::signalEditServer);
    QSignalSpy deletes(m_core, &UserManagerCore::signalDeleteServer);
    QVERIFY(!m_core->EditServer(id, QStringLiteral("A2"), QStringLiteral("10.0.0.1"), QString(),
                                QString(), 9001, SERVERTYPE_X86_DIGITALMATRIX));
    QVERIFY(!m_core->DeleteServer(id, SERVERTYPE_X86_DIGITALMATRIX));
    QCoreApplication::sendPostedEvents();
    QCOMPARE(edits.count(), 0);
    QCOMPARE(deletes.count(), 0);
    QCOMPARE(snapshot(m_core), before);
}

void TestDataCore::renamedTable_failsAndRowsSurvive()
{
    QVERIFY(!addX86(QStringLiteral("A"), QStringLiteral("10.0.0.1"), 9001).isEmpty());
    const QString before = snapshot(m_core);
    QVERIFY(tamper(dbFile(), {QStringLiteral("ALTER TABLE servers RENAME TO servers_moved")}));
    QVERIFY(!m_core->AddServer(QStringLiteral("B"), QStringLiteral("10.0.0.2"), QString(),
                               QString(), 9002, SERVERTYPE_X86_DIGITALMATRIX));
    QVERIFY(!m_core->lastError().isEmpty());
    QVERIFY(m_core->GetServers(QString()).isEmpty());
    QVERIFY(tamper(dbFile(), {QStringLiteral("ALTER TABLE servers_moved RENAME TO servers")}));
    QCOMPARE(snapshot(m_core), before);
}

void TestDataCore::importSite_sampleIsComplete()
{
    QVERIFY2(importSample(), qPrintable(m_core->lastError()));

    const QList<RegionInfo> regions = m_core->GetOneRegion(QString());
    QStringList keys;
    for (const RegionInfo &region : regions)
        keys << region.strGuid;
    QCOMPARE(keys,
             (QStringList {QStringLiteral("area-hq"), QStringLiteral("area-hq-lobby"),
                           QStringLiteral("area-hq-parking"), QStringLiteral("area-east"),
                           QStringLiteral("area-east-dock"), QStringLiteral("area-perimeter")}));
    QCOMPARE(regions.at(1).strParentGuid, QStringLiteral("area-hq"));
    QCOMPARE(regions.at(0).strName, QStringLiteral("总部大楼"));

    int channels = 0;
    QSet<QString> devices;
    for (const RegionInfo &region : regions) {
        for (const DeviceChancelInfo &channel : m_core->getChannelInfoByAreaGuid(region.strGuid)) {
            ++channels;
            devices.insert(channel.deviceGuid);
        }
    }
    QCOMPARE(channels, 30);
    QCOMPARE(devices.size(), 6);
    bool onvif = false;
    bool kind3 = false;
    for (const QString &device : qAsConst(devices)) {
        const UDeviceInfo info = m_core->getDeviceInfoByDeviceGuid(device);
        onvif = onvif || info.struct_IpAddress.startsWith(QLatin1Char('N'), Qt::CaseInsensitive);
        kind3 = kind3 || info.struct_deviceKind == 3;
    }
    QVERIFY(onvif);
    QVERIFY(kind3);
    // Counted from the file's channels when the device does not say.
    QCOMPARE(m_core->getDevInfo(QStringLiteral("dev-nvr-hq")).struct_channelCount, 8);

    const QList<AllPlayViewInfo> views = m_core->getAllViews();
    QCOMPARE(views.size(), 2);
    QCOMPARE(views.at(1).strGuid, QStringLiteral("view-perimeter-9"));
    QCOMPARE(views.at(1).paneCount, 9);
    QCOMPARE(views.at(1).channelGuids.first(), QStringLiteral("dev-nvr-perimeter-ch05"));
    QCOMPARE(views.at(1).localNO.first(), 7);
    QCOMPARE(views.at(1).channelNO.first(), 5);
    QCOMPARE(views.at(1).channelGuids.size(), views.at(1).localNO.size());
}

void TestDataCore::importSite_refusesInvalidEntry_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("where");

    QTest::newRow("not json") << QByteArray("{ \"areas\": [ ") << QStringLiteral("JSON");
    QTest::newRow("not an object") << QByteArray("[]") << QStringLiteral("object");
    QTest::newRow("areas not array") << QByteArray(R"({"areas": {}})") << QStringLiteral("areas");
    QTest::newRow("area without key")
            << QByteArray(R"({"areas": [{"key": "a1", "name": "A"}, {"name": "B"}]})")
            << QStringLiteral("areas[1]");
    QTest::newRow("area name not text") << QByteArray(R"({"areas": [{"key": "a1", "name": 5}]})")
                                        << QStringLiteral("areas[0] \"a1\"");
    QTest::newRow("unknown parent")
            << QByteArray(R"({"areas": [{"key": "a1", "name": "A", "parent": "zz"}]})")
            << QStringLiteral("zz");
    QTest::newRow("parent loop") << QByteArray(
            R"({"areas": [{"key": "a1", "name": "A", "parent": "a2"},
                                       {"key": "a2", "name": "B", "parent": "a1"}]})")
                                 << QStringLiteral("loops");
    QTest::newRow("key already stored")
            << QByteArray(R"({"areas": [{"key": "base-dev", "name": "A"}]})")
            << QStringLiteral("areas[0] \"base-dev\"");
    QTest::newRow("key twice in file") << QByteArray(R"({"areas": [{"key": "a1", "name": "A"}],
                              "devices": [{"key": "a1", "name": "D", "address": "1.2.3.4"}]})")
                                       << QStringLiteral("devices[0] \"a1\"");
    QTest::newRow("device without address")
            << QByteArray(R"({"devices": [{"key": "d1", "name": "D"}]})")
            << QStringLiteral("address");
    QTest::newRow("device address stored")
            << QByteArray(R"({"devices": [{"key": "d1", "name": "D", "address": "10.1.1.1"}]})")
            << QStringLiteral("devices[0] \"d1\"");
    QTest::newRow("device port too big") << QByteArray(
            R"({"devices": [{"key": "d1", "name": "D", "address": "x", "port": 70000}]})")
                                         << QStringLiteral("port");
    QTest::newRow("channel of unknown device") << QByteArray(
            R"({"channels": [{"key": "c1", "name": "C", "device": "nope", "number": 1}]})")
                                               << QStringLiteral("nope");
    QTest::newRow("channel number taken") << QByteArray(
            R"({"channels": [{"key": "c1", "name": "C", "device": "base-dev", "number": 1}]})")
                                          << QStringLiteral("channels[0] \"c1\"");
    QTest::newRow("channel number zero") << QByteArray(
            R"({"channels": [{"key": "c1", "name": "C", "device": "base-dev", "number": 0}]})")
                                         << QStringLiteral("number");
    QTest::newRow("channel number fraction") << QByteArray(
            R"({"channels": [{"key": "c1", "name": "C", "device": "base-dev", "number": 2.5}]})")
                                             << QStringLiteral("number");
    QTest::newRow("channel in unknown area") << QByteArray(
            R"({"channels": [{"key": "c1", "name": "C", "device": "base-dev", "number": 2, "area": "qq"}]})")
                                             << QStringLiteral("qq");
    QTest::newRow("view pane zero")
            << QByteArray(R"({"views": [{"key": "v1", "name": "V", "paneCount": 4,
                                        "channels": [{"channel": "base-ch", "pane": 0}]}]})")
            << QStringLiteral("v1");
    QTest::newRow("view pane beyond count")
            << QByteArray(R"({"views": [{"key": "v1", "name": "V", "paneCount": 4,
                                        "channels": [{"channel": "base-ch", "pane": 5}]}]})")
            << QStringLiteral("outside 1..4");
    QTest::newRow("view pane twice") << QByteArray(
            R"({"channels": [{"key": "c2", "name": "C", "device": "base-dev", "number": 2}],
                              "views": [{"key": "v1", "name": "V", "paneCount": 4,
                                        "channels": [{"channel": "base-ch", "pane": 2},
                                                     {"channel": "c2", "pane": 2}]}]})")
                                     << QStringLiteral("channels[1]");
    QTest::newRow("view of unknown channel")
            << QByteArray(R"({"views": [{"key": "v1", "name": "V", "paneCount": 4,
                                        "channels": [{"channel": "ghost", "pane": 1}]}]})")
            << QStringLiteral("ghost");
    QTest::newRow("view without pane count")
            << QByteArray(R"({"views": [{"key": "v1", "name": "V", "channels": []}]})")
            << QStringLiteral("paneCount");
    QTest::newRow("view without channels")
            << QByteArray(R"({"views": [{"key": "v1", "name": "V", "paneCount": 1}]})")
            << QStringLiteral("channels");
    // Everything valid up to the last entry: nothing of the file may stay.
    QTest::newRow("good entries then a bad one")
            << QByteArray(R"({"areas": [{"key": "a1", "name": "A"}],
                              "devices": [{"key": "d1", "name": "D", "address": "10.9.9.9"}],
                              "channels": [{"key": "c1", "name": "C", "device": "d1", "number": 1, "area": "a1"}],
                              "views": [{"key": "v1", "name": "V", "paneCount": 1,
                                        "channels": [{"channel": "c1", "pane": 1}]},
                                        {"key": "v2", "name": "W", "paneCount": 1,
                                        "channels": [{"channel": "c1", "pane": 2}]}]})")
            << QStringLiteral("views[1] \"v2\"");
}

void TestDataCore::importSite_refusesInvalidEntry()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, where);
    QVERIFY2(m_core->importSite(BaseSite), qPrintable(m_core->lastError()));
    const QString before = snapshot(m_core);

    QVERIFY(!m_core->importSite(json));
    QVERIFY2(m_core->lastError().contains(where), qPrintable(m_core->lastError()));
    QCOMPARE(snapshot(m_core), before);
    QVERIFY(m_core->getPlayerInfoByGuid(QStringLiteral("v1")).strGuid.isEmpty());
    QVERIFY(m_core->getDevInfo(QStringLiteral("d1")).struct_DeviceGuid.isEmpty());
}

void TestDataCore::importSite_lateFailureRollsBackEverything()
{
    QVERIFY(tamper(dbFile(),
                   {QStringLiteral("CREATE TRIGGER refuse_panes BEFORE INSERT ON"
                                   " view_channels BEGIN SELECT RAISE(ABORT, 'full');"
                                   " END")}));
    QVERIFY(!importSample());
    QVERIFY2(m_core->lastError().contains(QLatin1String("full")), qPrintable(m_core->lastError()));
    QVERIFY(m_core->GetOneRegion(QString()).isEmpty());
    QVERIFY(m_core->getDeviceInfoByDeviceID(QStringLiteral("192.168.10.20"))
                    .struct_DeviceGuid.isEmpty());
    QVERIFY(m_core->getAllViews().isEmpty());

    QVERIFY(tamper(dbFile(), {QStringLiteral("DROP TRIGGER refuse_panes")}));
    QVERIFY2(importSample(), qPrintable(m_core->lastError()));
    QCOMPARE(m_core->GetOneRegion(QString()).size(), 6);
}

void TestDataCore::importSite_parentMayFollowChild()
{
    QVERIFY2(m_core->importSite(R"({"areas": [{"key": "child", "name": "C", "parent": "top"},
                                              {"key": "top", "name": "T"},
                                              {"key": "grandchild", "name": "G", "parent": "child"}]})"),
             qPrintable(m_core->lastError()));
    QStringList keys;
    for (const RegionInfo &region : m_core->GetOneRegion(QString()))
        keys << region.strGuid;
    QCOMPARE(keys,
             (QStringList {QStringLiteral("top"), QStringLiteral("child"),
                           QStringLiteral("grandchild")}));
    const QList<RegionInfo> one = m_core->GetOneRegion(QStringLiteral("child"));
    QCOMPARE(one.size(), 1);
    QCOMPARE(one.first().strParentGuid, QStringLiteral("top"));
}

void TestDataCore::importSiteFile_missingFileIsRefused()
{
    QVERIFY(!m_core->importSiteFile(m_dir->filePath(QStringLiteral("absent.json"))));
    QVERIFY(m_core->lastError().contains(QLatin1String("absent.json")));
    QVERIFY(m_core->GetOneRegion(QString()).isEmpty());
}

void TestDataCore::lookups_findByKeyAddressAndNumber()
{
    QVERIFY2(importSample(), qPrintable(m_core->lastError()));

    const UDeviceInfo onvif = m_core->getDeviceInfoByDeviceID(QStringLiteral("N4F2A7C91"));
    QCOMPARE(onvif.struct_DeviceGuid, QStringLiteral("dev-onvif-dock"));
    QCOMPARE(onvif.struct_DeviceName, QStringLiteral("装卸区ONVIF摄像机"));
    QCOMPARE(onvif.struct_account, QStringLiteral("onvif"));
    QCOMPARE(onvif.struct_password, QStringLiteral("dock!cam"));
    QCOMPARE(onvif.struct_port, 80);
    QCOMPARE(onvif.struct_deviceKind, 2);
    // The address is matched exactly.
    QVERIFY(m_core->getDeviceInfoByDeviceID(QStringLiteral("n4f2a7c91"))
                    .struct_DeviceGuid.isEmpty());

    const DeviceChancelInfo gate =
            m_core->channelInfoByDeviceNo(QStringLiteral("192.168.30.10"), 5);
    QCOMPARE(gate.channelGuid, QStringLiteral("dev-nvr-perimeter-ch05"));
    QCOMPARE(gate.channelName, QStringLiteral("North Gate"));
    QCOMPARE(gate.deviceGuid, QStringLiteral("dev-nvr-perimeter"));
    QCOMPARE(gate.channelNo, 5);

    const DeviceChancelInfo byKey = m_core->getChannelInfoByChannelGuid(gate.channelGuid);
    QCOMPARE(describe(byKey), describe(gate));
    QCOMPARE(describe(m_core->getDevChannelInfoByChannelGuid(gate.channelGuid)), describe(gate));
    QCOMPARE(describe(m_core->getDevInfo(gate.deviceGuid)),
             describe(m_core->getDeviceInfoByDeviceGuid(gate.deviceGuid)));
    QCOMPARE(m_core->getDevInfo(gate.deviceGuid).struct_IpAddress, QStringLiteral("192.168.30.10"));

    QStringList dock;
    for (const DeviceChancelInfo &channel :
         m_core->getChannelInfoByAreaGuid(QStringLiteral("area-east-dock")))
        dock << channel.channelName;
    QCOMPARE(dock,
             (QStringList {QStringLiteral("Dock Door 1"), QStringLiteral("Dock Door 2"),
                           QStringLiteral("装卸区全景"), QStringLiteral("装卸区特写")}));
}

void TestDataCore::playerInfo_viewOrChannel()
{
    QVERIFY2(importSample(), qPrintable(m_core->lastError()));

    const AllPlayViewInfo view = m_core->getPlayerInfoByGuid(QStringLiteral("view-lobby-4"));
    QCOMPARE(view.strName, QStringLiteral("大厅四画面"));
    QCOMPARE(view.paneCount, 4);
    QCOMPARE(view.channelGuids.first(), QStringLiteral("dev-nvr-hq-ch03"));
    QCOMPARE(view.localNO, (QList<int> {3, 1, 2, 4}));
    QCOMPARE(view.channelNO, (QList<int> {3, 1, 2, 4}));

    const AllPlayViewInfo thermal =
            m_core->getPlayerInfoByGuid(QStringLiteral("dev-thermal-north-ch02"));
    QCOMPARE(thermal.playerKind, 3);
    QCOMPARE(thermal.channelGuids, QStringList {QStringLiteral("dev-thermal-north-ch02")});
    QCOMPARE(thermal.channelNO, QList<int> {2});
    QCOMPARE(thermal.localNO, QList<int> {1});

    QCOMPARE(m_core->getPlayerInfoByGuid(QStringLiteral("dev-nvr-hq-ch01")).playerKind, 1);
}

void TestDataCore::failedLookups_returnEmptyRecords()
{
    QVERIFY2(importSample(), qPrintable(m_core->lastError()));
    const QString ghost = QStringLiteral("no-such-key");
    QCOMPARE(describe(m_core->getChannelInfoByChannelGuid(ghost)), describe(DeviceChancelInfo()));
    QCOMPARE(describe(m_core->getDevChannelInfoByChannelGuid(QString())),
             describe(DeviceChancelInfo()));
    QCOMPARE(describe(m_core->channelInfoByDeviceNo(QStringLiteral("192.168.30.10"), 99)),
             describe(DeviceChancelInfo()));
    QCOMPARE(describe(m_core->channelInfoByDeviceNo(ghost, 1)), describe(DeviceChancelInfo()));
    QCOMPARE(describe(m_core->getDeviceInfoByDeviceGuid(ghost)), describe(UDeviceInfo()));
    QCOMPARE(describe(m_core->getDevInfo(QString())), describe(UDeviceInfo()));
    QCOMPARE(describe(m_core->getDeviceInfoByDeviceID(ghost)), describe(UDeviceInfo()));
    QCOMPARE(describe(m_core->getPlayerInfoByGuid(ghost)), describe(AllPlayViewInfo()));
    QCOMPARE(describe(m_core->getPlayerInfoByGuid(QString())), describe(AllPlayViewInfo()));
    QVERIFY(m_core->getChannelInfoByAreaGuid(ghost).isEmpty());
    QVERIFY(m_core->GetOneRegion(ghost).isEmpty());
    QCOMPARE(m_core->getServerInfo(ghost), UServerInfo());
}

void TestDataCore::addRecords_applyTheSameRules()
{
    RegionInfo area;
    area.strGuid = QStringLiteral("a1");
    area.strName = QStringLiteral("一号区");
    QVERIFY(m_core->addRegion(area));
    area.strGuid = QStringLiteral("a2");
    area.strParentGuid = QStringLiteral("missing");
    QVERIFY(!m_core->addRegion(area));
    QVERIFY(m_core->lastError().contains(QLatin1String("area \"a2\"")));

    UDeviceInfo device;
    device.struct_DeviceGuid = QStringLiteral("d1");
    device.struct_DeviceName = QStringLiteral("D");
    device.struct_IpAddress = QStringLiteral("10.2.2.2");
    device.struct_channelCount = 4;
    QVERIFY(m_core->addDevice(device));
    QCOMPARE(m_core->getDevInfo(QStringLiteral("d1")).struct_channelCount, 4);
    device.struct_DeviceGuid = QStringLiteral("d2");
    QVERIFY(!m_core->addDevice(device)); // same address

    DeviceChancelInfo channel;
    channel.channelGuid = QStringLiteral("c1");
    channel.channelName = QStringLiteral("C");
    channel.deviceGuid = QStringLiteral("d1");
    channel.channelNo = 3;
    channel.areaGuid = QStringLiteral("a1");
    QVERIFY(m_core->addChannel(channel));
    channel.channelGuid = QStringLiteral("c2");
    QVERIFY(!m_core->addChannel(channel)); // same number on the device

    AllPlayViewInfo view;
    view.strGuid = QStringLiteral("v1");
    view.strName = QStringLiteral("V");
    view.paneCount = 26;
    view.channelGuids = QStringList {QStringLiteral("c1")};
    view.localNO = {26};
    QVERIFY2(m_core->addView(view), qPrintable(m_core->lastError()));
    QCOMPARE(m_core->getPlayerInfoByGuid(QStringLiteral("v1")).channelNO, QList<int> {3});
    view.strGuid = QStringLiteral("v2");
    view.localNO.clear();
    QVERIFY(!m_core->addView(view)); // keys and panes do not pair up
    QCOMPARE(m_core->getAllViews().size(), 1);
}

QTEST_GUILESS_MAIN(TestDataCore)
#include "tst_datacore.moc"
