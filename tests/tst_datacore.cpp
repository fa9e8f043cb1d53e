// The host data centre: servers, site import and look-ups on a SQLite file.
#include "UserManagerCore.h"

#include "TestData.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using DATACore::UserManagerCore;

namespace {

const int X86 = SERVERTYPE_X86_DIGITALMATRIX;
const int Linux = SERVERTYPE_LINUX_DIGITALMATRIX;

// Runs statements on the database file through a second connection, behind the data
// centre's back; the first value the last statement gives lands in *value.
bool tamper(const QString &file, const QStringList &statements, QVariant *value = nullptr)
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
        if (ok && value && query.next())
            *value = query.value(0);
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("tamper"));
    return ok;
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

template<typename T, typename F>
QStringList keys(const QList<T> &records, F field)
{
    QStringList list;
    for (const T &record : records)
        list << record.*field;
    return list;
}

} // namespace

class TestDataCore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void open_refusesUnusableFile_data();
    void open_refusesUnusableFile();

    void serverWrites_storeSignalAfterCommitAndList();
    void writeServer_refusesInvalidRecord_data();
    void writeServer_refusesInvalidRecord();

    void brokenWrite_isRefusedAndKeepsRows_data();
    void brokenWrite_isRefusedAndKeepsRows();

    void sampleSite_importedCompleteLookedUpAndReopened();
    void importSite_refusesInvalidEntry_data();
    void importSite_refusesInvalidEntry();
    void addRecords_applyTheSameRulesAndParentMayFollowChild();

    void wallPresets_migrateAFileOfTheFirstSchemaAndSaveListRenameLoadDelete();
    void wallPresets_refuseBadInputAndTouchNothing_data();
    void wallPresets_refuseBadInputAndTouchNothing();

private:
    // Every stored preset row as "server|name|version|payload;".
    QString presetRows() const;
    QString dbFile() const { return m_dir->filePath(QStringLiteral("datacenter.sqlite")); }
    bool importSample() { return m_core->importSiteFile(testDataFile("sample_site.json")); }
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
    if (!m_core->AddServer(name, ip, QStringLiteral("admin"), QStringLiteral("pw"), port, X86)
        || !spy.wait(5000))
        return QString();
    return spy.at(0).at(0).value<UServerInfo>().id;
}

void TestDataCore::open_refusesUnusableFile_data()
{
    QTest::addColumn<bool>("newerSchema");
    QTest::addColumn<QString>("why");
    QTest::newRow("newer schema") << true << QStringLiteral("99");
    QTest::newRow("plain text") << false << QString();
}

void TestDataCore::open_refusesUnusableFile()
{
    QFETCH(bool, newerSchema);
    QFETCH(QString, why);
    m_core->close();
    const QString file = m_dir->filePath(QStringLiteral("other.sqlite"));
    if (newerSchema) {
        QVERIFY(tamper(file, {QStringLiteral("PRAGMA user_version = 99")}));
    } else {
        QFile text(file);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write(QByteArray("this is a plain text file, not a database\n").repeated(100));
    }
    QVERIFY(!m_core->open(file));
    QVERIFY(!m_core->isOpen());
    QVERIFY(!m_core->lastError().isEmpty());
    QVERIFY2(m_core->lastError().contains(why), qPrintable(m_core->lastError()));
    if (newerSchema) {
        QVariant version;
        QVERIFY(tamper(file, {QStringLiteral("PRAGMA user_version")}, &version));
        QCOMPARE(version.toInt(), 99);
    }
    // Not open, every write is refused.
    QSignalSpy spy(m_core, &UserManagerCore::signalAddServer);
    QVERIFY(!m_core->AddServer(QStringLiteral("B"), QStringLiteral("10.0.0.2"), QString(),
                               QString(), 9000, X86));
    QVERIFY(m_core->lastError().contains(QLatin1String("open")));
    QVERIFY(!m_core->importSiteFile(testDataFile(QStringLiteral("base_site.json"))));
    QVERIFY(m_core->GetServers(QString()).isEmpty());
    QVERIFY(m_core->GetOneRegion(QString()).isEmpty());
    QCoreApplication::sendPostedEvents();
    QCOMPARE(spy.count(), 0);
    // A memory database lives until close().
    QVERIFY(m_core->open(QStringLiteral(":memory:")));
    QVERIFY(m_core->AddServer(QStringLiteral("A"), QStringLiteral("10.0.0.1"), QString(), QString(),
                              9000, X86));
    QCOMPARE(m_core->GetServers(QString()).size(), 1);
    m_core->close();
    QVERIFY(m_core->open(QStringLiteral(":memory:")));
    QVERIFY(m_core->GetServers(QString()).isEmpty());
}

void TestDataCore::serverWrites_storeSignalAfterCommitAndList()
{
    QSignalSpy spy(m_core, &UserManagerCore::signalAddServer);
    QList<UServerInfo> seenInSlot;
    connect(
            m_core, &UserManagerCore::signalAddServer, this,
            [&](const UServerInfo &) { seenInSlot = m_core->GetServers(QString()); },
            Qt::DirectConnection);

    QVERIFY(m_core->AddServer(QStringLiteral("Wall A"), QStringLiteral("192.168.1.50"),
                              QStringLiteral("admin"), QStringLiteral("p@ss word"), 9000, Linux));
    // Not emitted from inside the call: only through the event loop.
    QCOMPARE(spy.count(), 0);
    QTRY_COMPARE(spy.count(), 1);
    disconnect(m_core, &UserManagerCore::signalAddServer, this, nullptr);

    const UServerInfo server = spy.at(0).at(0).value<UServerInfo>();
    QVERIFY(!QUuid::fromString(server.id).isNull());
    QVERIFY(!server.id.contains(QLatin1Char('{')));
    QCOMPARE(describe(server),
             describe(UServerInfo {server.id, QStringLiteral("Wall A"),
                                   QStringLiteral("192.168.1.50"), QStringLiteral("admin"),
                                   QStringLiteral("p@ss word"), 9000, Linux}));
    // The slot already saw the committed row.
    QCOMPARE(seenInSlot, QList<UServerInfo> {server});
    QCOMPARE(m_core->getServerInfo(server.id), server);

    // The same name and address for another type, or on another port, is another server.
    const QString other = addX86(QStringLiteral("Wall A"), QStringLiteral("192.168.1.50"), 9000);
    QVERIFY(!other.isEmpty());
    QVERIFY(m_core->AddServer(QStringLiteral("Wall C"), QStringLiteral("192.168.1.50"), QString(),
                              QString(), 9001, Linux));
    QCOMPARE(m_core->GetServers(QString()).size(), 3);

    const QString id = server.id;
    QSignalSpy edits(m_core, &UserManagerCore::signalEditServer);
    QSignalSpy deletes(m_core, &UserManagerCore::signalDeleteServer);
    const UServerInfo wanted {id,
                              QStringLiteral("Wall A2"),
                              QStringLiteral("10.0.0.6"),
                              QStringLiteral("op"),
                              QStringLiteral("new"),
                              9100,
                              Linux};
    QVERIFY(m_core->EditServer(id, wanted.name, wanted.ip, wanted.user, wanted.password,
                               wanted.port, wanted.type));
    QCOMPARE(edits.count(), 0);
    QTRY_COMPARE(edits.count(), 1);
    QCOMPARE(describe(edits.at(0).at(0).value<UServerInfo>()), describe(wanted));
    QCOMPARE(m_core->getServerInfo(id), wanted);
    // Saving a record unchanged is not a clash with itself.
    QVERIFY(m_core->EditServer(id, wanted.name, wanted.ip, wanted.user, wanted.password,
                               wanted.port, wanted.type));
    QTRY_COMPARE(edits.count(), 2);

    QVERIFY(m_core->DeleteServer(id, SERVERTYPE_LINUX_DIGITALMATRIX));
    QCOMPARE(deletes.count(), 0);
    QTRY_COMPARE(deletes.count(), 1);
    QCOMPARE(deletes.at(0).at(0).toString(), id);
    QCOMPARE(deletes.at(0).at(1).value<SERVERTYPE>(), SERVERTYPE_LINUX_DIGITALMATRIX);
    QCOMPARE(keys(m_core->GetServers(QString()), &UServerInfo::name),
             (QStringList {"Wall A", "Wall C"}));
    QCOMPARE(m_core->getServerInfo(id).id, QString());

    // An unknown id, or a server of another type, is refused and changes nothing.
    const QString before = snapshot(m_core);
    QVERIFY(!m_core->EditServer(id, QStringLiteral("X"), QStringLiteral("10.0.0.8"), QString(),
                                QString(), 1, Linux));
    QVERIFY(!m_core->lastError().isEmpty());
    QVERIFY(!m_core->DeleteServer(other, SERVERTYPE_LINUX_DIGITALMATRIX));
    QVERIFY(!m_core->DeleteServer(id, SERVERTYPE_LINUX_DIGITALMATRIX));
    QVERIFY(!m_core->DeleteServer(QString(), SERVERTYPE_X86_DIGITALMATRIX));
    QCoreApplication::sendPostedEvents();
    QCOMPARE(edits.count(), 2);
    QCOMPARE(deletes.count(), 1);
    QCOMPARE(snapshot(m_core), before);

    // Listed in the order added, filtered by name or address in any case.
    const QStringList names = {QStringLiteral("Zulu"), QStringLiteral("alpha"),
                               QStringLiteral("数字矩阵"), QStringLiteral("Mike")};
    const QStringList ips = {QStringLiteral("10.0.0.4"), QStringLiteral("10.0.0.3"),
                             QStringLiteral("192.168.7.2"), QStringLiteral("10.0.0.1")};
    for (int i = 0; i < names.size(); ++i)
        QVERIFY(m_core->AddServer(names.at(i), ips.at(i), QString(), QString(), 9000 + i,
                                  i % 2 ? Linux : X86));
    const auto listed = [this](const char *filter) {
        return keys(m_core->GetServers(QString::fromUtf8(filter)), &UServerInfo::name);
    };
    QCOMPARE(listed(""), QStringList({"Wall A", "Wall C"}) + names);
    QCOMPARE(listed("ALPHA"), QStringList {"alpha"});
    QCOMPARE(listed("10.0.0"), (QStringList {"Zulu", "alpha", "Mike"}));
    QCOMPARE(listed("矩阵"), QStringList {"数字矩阵"});
    QVERIFY(listed("nothing like it").isEmpty());
}

// Each row is tried as a new server and as an edit of "Second"; both clash with "Wall A".
void TestDataCore::writeServer_refusesInvalidRecord_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("ip");
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("type");
    const QString ip = QStringLiteral("10.0.0.9");
    const QString name = QStringLiteral("Wall B");
    QTest::newRow("empty name") << QString() << ip << 9000 << X86;
    QTest::newRow("blank name") << QStringLiteral("   ") << ip << 9000 << X86;
    const char *badIps[] = {"10.0.0",    "10.0.0.1.2", "10.0.256.1", "a.b.c.d",   "matrix.local",
                            "10.0.0.09", "10..0.1",    "+10.0.0.1",  " 10.0.0.1", ""};
    for (const char *bad : badIps)
        QTest::addRow("ip \"%s\"", bad) << name << QString::fromLatin1(bad) << 9000 << X86;
    for (int port : {0, 65536, -1})
        QTest::addRow("port %d", port) << name << ip << port << X86;
    for (int type : {0, 7, -2})
        QTest::addRow("type %d", type) << name << ip << 9000 << type;
    QTest::newRow("same ip port type") << name << QStringLiteral("10.0.0.5") << 9000 << X86;
    QTest::newRow("same name type") << QStringLiteral("Wall A") << ip << 9000 << X86;
}

void TestDataCore::writeServer_refusesInvalidRecord()
{
    QFETCH(QString, name);
    QFETCH(QString, ip);
    QFETCH(int, port);
    QFETCH(int, type);
    QVERIFY(!addX86(QStringLiteral("Wall A"), QStringLiteral("10.0.0.5"), 9000).isEmpty());
    const QString second = addX86(QStringLiteral("Second"), QStringLiteral("10.0.0.2"), 9002);
    QVERIFY(!second.isEmpty());
    const QString before = snapshot(m_core);

    QSignalSpy adds(m_core, &UserManagerCore::signalAddServer);
    QSignalSpy edits(m_core, &UserManagerCore::signalEditServer);
    QVERIFY(!m_core->AddServer(name, ip, QStringLiteral("u"), QStringLiteral("secret-pw"), port,
                               type));
    QVERIFY(!m_core->lastError().isEmpty());
    QVERIFY(!m_core->lastError().contains(QLatin1String("secret-pw")));
    QVERIFY(!m_core->EditServer(second, name, ip, QStringLiteral("u"), QStringLiteral("secret-pw"),
                                port, type));
    QVERIFY(!m_core->lastError().isEmpty());
    QVERIFY(!m_core->lastError().contains(QLatin1String("secret-pw")));
    QCoreApplication::sendPostedEvents();
    QCOMPARE(adds.count(), 0);
    QCOMPARE(edits.count(), 0);
    QCOMPARE(snapshot(m_core), before);
}

void TestDataCore::brokenWrite_isRefusedAndKeepsRows_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("breakIt");
    QTest::addColumn<QString>("mendIt");
    QTest::addColumn<QString>("why");
    const auto trigger = [](const char *when, const char *why) {
        return QStringLiteral("CREATE TRIGGER refuse BEFORE %1 ON servers"
                              " BEGIN SELECT RAISE(ABORT, '%2'); END")
                .arg(QLatin1String(when), QLatin1String(why));
    };
    const QString drop = QStringLiteral("DROP TRIGGER refuse");
    QTest::newRow("insert") << "add" << trigger("INSERT", "disk says no") << drop << "disk says no";
    QTest::newRow("update") << "edit" << trigger("UPDATE", "no update") << drop << "no update";
    QTest::newRow("delete") << "delete" << trigger("DELETE", "no delete") << drop << "no delete";
    QTest::newRow("table renamed")
            << "add" << QStringLiteral("ALTER TABLE servers RENAME TO servers_moved")
            << QStringLiteral("ALTER TABLE servers_moved RENAME TO servers") << QString();
}

void TestDataCore::brokenWrite_isRefusedAndKeepsRows()
{
    QFETCH(QString, operation);
    QFETCH(QString, breakIt);
    QFETCH(QString, mendIt);
    QFETCH(QString, why);
    const QString id = addX86(QStringLiteral("A"), QStringLiteral("10.0.0.1"), 9001);
    const QString before = snapshot(m_core);
    const auto write = [&] {
        if (operation == QLatin1String("add"))
            return m_core->AddServer(QStringLiteral("B"), QStringLiteral("10.0.0.2"), QString(),
                                     QString(), 9002, X86);
        if (operation == QLatin1String("edit"))
            return m_core->EditServer(id, QStringLiteral("A2"), QStringLiteral("10.0.0.1"),
                                      QString(), QString(), 9001, X86);
        return m_core->DeleteServer(id, SERVERTYPE_X86_DIGITALMATRIX);
    };
    QSignalSpy adds(m_core, &UserManagerCore::signalAddServer);
    QSignalSpy edits(m_core, &UserManagerCore::signalEditServer);
    QSignalSpy deletes(m_core, &UserManagerCore::signalDeleteServer);

    QVERIFY(tamper(dbFile(), {breakIt}));
    QVERIFY(!write());
    QVERIFY(!m_core->lastError().isEmpty());
    QVERIFY2(m_core->lastError().contains(why), qPrintable(m_core->lastError()));
    QVERIFY(tamper(dbFile(), {mendIt}));
    QCoreApplication::sendPostedEvents();
    QCOMPARE(adds.count() + edits.count() + deletes.count(), 0);
    QCOMPARE(snapshot(m_core), before);
    // Mended, the same write goes through.
    QVERIFY2(write(), qPrintable(m_core->lastError()));
    QVERIFY(snapshot(m_core) != before);
}

void TestDataCore::sampleSite_importedCompleteLookedUpAndReopened()
{
    QVERIFY(!m_core->importSiteFile(m_dir->filePath(QStringLiteral("absent.json"))));
    QVERIFY(m_core->lastError().contains(QLatin1String("absent.json")));

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

    QVERIFY(!addX86(QStringLiteral("A"), QStringLiteral("10.0.0.1"), 9001).isEmpty());
    QVERIFY(m_core->AddServer(QStringLiteral("L"), QStringLiteral("10.0.0.2"),
                              QStringLiteral("root"), QStringLiteral("明文"), 8000, Linux));
    QVERIFY2(importSample(), qPrintable(m_core->lastError()));

    const QList<RegionInfo> regions = m_core->GetOneRegion(QString());
    QCOMPARE(keys(regions, &RegionInfo::strGuid),
             (QStringList {"area-hq", "area-hq-lobby", "area-hq-parking", "area-east",
                           "area-east-dock", "area-perimeter"}));
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
    // Counted from the file's channels when the device does not say.
    QCOMPARE(m_core->getDevInfo(QStringLiteral("dev-nvr-hq")).struct_channelCount, 8);

    const QList<AllPlayViewInfo> views = m_core->getAllViews();
    QCOMPARE(views.size(), 2);
    QCOMPARE(views.at(1).strGuid, QStringLiteral("view-perimeter-9"));
    QCOMPARE(views.at(1).paneCount, 9);
    QCOMPARE(describe(views.at(1)).section(QLatin1Char('|'), 4).section(QLatin1Char(' '), 0, 0),
             QStringLiteral("dev-nvr-perimeter-ch05@7#5"));
    QCOMPARE(views.at(1).channelGuids.size(), views.at(1).localNO.size());

    // Look-ups by key, by device address and by channel number.
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
    QCOMPARE(describe(gate),
             describe(DeviceChancelInfo {QStringLiteral("dev-nvr-perimeter-ch05"),
                                         QStringLiteral("North Gate"),
                                         QStringLiteral("dev-nvr-perimeter"), 5, gate.areaGuid}));
    QCOMPARE(describe(m_core->getChannelInfoByChannelGuid(gate.channelGuid)), describe(gate));
    QCOMPARE(describe(m_core->getDevChannelInfoByChannelGuid(gate.channelGuid)), describe(gate));
    QCOMPARE(describe(m_core->getDevInfo(gate.deviceGuid)),
             describe(m_core->getDeviceInfoByDeviceGuid(gate.deviceGuid)));
    QCOMPARE(m_core->getDevInfo(gate.deviceGuid).struct_IpAddress, QStringLiteral("192.168.30.10"));

    QCOMPARE(keys(m_core->getChannelInfoByAreaGuid(QStringLiteral("area-east-dock")),
                  &DeviceChancelInfo::channelName),
             (QStringList {"Dock Door 1", "Dock Door 2", "装卸区全景", "装卸区特写"}));

    // A player is a view or a single channel.
    const AllPlayViewInfo view = m_core->getPlayerInfoByGuid(QStringLiteral("view-lobby-4"));
    QCOMPARE(view.strName, QStringLiteral("大厅四画面"));
    QCOMPARE(view.paneCount, 4);
    QCOMPARE(view.channelGuids.first(), QStringLiteral("dev-nvr-hq-ch03"));
    QCOMPARE(view.localNO, (QList<int> {3, 1, 2, 4}));
    QCOMPARE(view.channelNO, (QList<int> {3, 1, 2, 4}));

    const AllPlayViewInfo thermal =
            m_core->getPlayerInfoByGuid(QStringLiteral("dev-thermal-north-ch02"));
    QCOMPARE(thermal.playerKind, 3);
    QCOMPARE(thermal.channelGuids, QStringList {"dev-thermal-north-ch02"});
    QCOMPARE(thermal.channelNO, QList<int> {2});
    QCOMPARE(thermal.localNO, QList<int> {1});

    QCOMPARE(m_core->getPlayerInfoByGuid(QStringLiteral("dev-nvr-hq-ch01")).playerKind, 1);

    // What is not there gives empty records.
    const QString ghost = QStringLiteral("no-such-key");
    const QString noChannel = describe(DeviceChancelInfo());
    QCOMPARE(describe(m_core->getChannelInfoByChannelGuid(ghost)), noChannel);
    QCOMPARE(describe(m_core->getDevChannelInfoByChannelGuid(QString())), noChannel);
    QCOMPARE(describe(m_core->channelInfoByDeviceNo(QStringLiteral("192.168.30.10"), 99)),
             noChannel);
    QCOMPARE(describe(m_core->channelInfoByDeviceNo(ghost, 1)), noChannel);
    QCOMPARE(describe(m_core->getDeviceInfoByDeviceGuid(ghost)), describe(UDeviceInfo()));
    QCOMPARE(describe(m_core->getDevInfo(QString())), describe(UDeviceInfo()));
    QCOMPARE(describe(m_core->getDeviceInfoByDeviceID(ghost)), describe(UDeviceInfo()));
    QCOMPARE(describe(m_core->getPlayerInfoByGuid(ghost)), describe(AllPlayViewInfo()));
    QCOMPARE(describe(m_core->getPlayerInfoByGuid(QString())), describe(AllPlayViewInfo()));
    QVERIFY(m_core->getChannelInfoByAreaGuid(ghost).isEmpty());
    QVERIFY(m_core->GetOneRegion(ghost).isEmpty());
    QCOMPARE(m_core->getServerInfo(ghost), UServerInfo());

    // Batch look-ups give what single look-ups give; unknown keys first, more than one
    // statement takes, so that the stored ones come last.
    QList<UserManagerCore::DeviceChannelKey> keys {{QString(), 1}, {"n4f2a7c91", 1}};
    for (int i = 0; i < 450; ++i)
        keys.append({QStringLiteral("10.9.%1.%2").arg(i / 200).arg(i % 200), 1});
    keys.append({"192.168.30.10", 99});
    keys.append({"192.168.30.41", 7}); // a one-channel device: its channel 1 in a cell
    for (const RegionInfo &region : m_core->GetOneRegion(QString()))
        for (const DeviceChancelInfo &channel : m_core->getChannelInfoByAreaGuid(region.strGuid))
            keys.append(
                    {m_core->getDevInfo(channel.deviceGuid).struct_IpAddress, channel.channelNo});
    const auto found = m_core->channelInfosByDeviceNo(keys);
    const auto cell = m_core->cellChannelInfos(keys);
    QCOMPARE(found.size(), keys.size() - 454);
    for (const UserManagerCore::DeviceChannelKey &key : qAsConst(keys)) {
        QCOMPARE(describe(found.value(key)),
                 describe(m_core->channelInfoByDeviceNo(key.first, key.second)));
        const bool single = m_core->getDeviceInfoByDeviceID(key.first).struct_deviceKind == 3;
        QCOMPARE(describe(cell.value(key)),
                 describe(m_core->channelInfoByDeviceNo(key.first, single ? 1 : key.second)));
    }
    QVERIFY(!cell.value({"192.168.30.41", 7}).channelName.isEmpty());

    // Closed, nothing is found; opened again, everything is back.
    const QString before = snapshot(m_core);
    QCOMPARE(before.count(QLatin1String("server ")), 2);
    m_core->close();
    QVERIFY(m_core->channelInfosByDeviceNo(keys).isEmpty());
    QVERIFY(m_core->cellChannelInfos(keys).isEmpty());
    QVERIFY(m_core->GetServers(QString()).isEmpty());
    QVERIFY(m_core->open(dbFile()));
    QCOMPARE(snapshot(m_core), before);
    QVariant version;
    QVERIFY(tamper(dbFile(), {QStringLiteral("PRAGMA user_version")}, &version));
    QCOMPARE(version.toInt(), 2);
    QCOMPARE(m_core->GetServers(QString()).at(1).password, QStringLiteral("明文"));
    // The passwords at rest are for the file's owner only.
    QCOMPARE(QFile::permissions(dbFile()),
             QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
}

void TestDataCore::importSite_refusesInvalidEntry_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("where");
    // Each entry: a site (or a text that is no JSON) and what the refusal names.
    QFile file(testDataFile(QStringLiteral("invalid_sites.json")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonArray entries = QJsonDocument::fromJson(file.readAll()).array();
    QVERIFY(!entries.isEmpty());
    for (const QJsonValue &value : entries) {
        const QJsonObject entry = value.toObject();
        const QJsonValue site = entry.value("site");
        QTest::newRow(qPrintable(entry.value("tag").toString()))
                << (site.isArray()            ? QJsonDocument(site.toArray()).toJson()
                            : site.isObject() ? QJsonDocument(site.toObject()).toJson()
                                              : entry.value("text").toString().toUtf8())
                << entry.value("where").toString();
    }
}

void TestDataCore::importSite_refusesInvalidEntry()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, where);
    QVERIFY2(m_core->importSiteFile(testDataFile(QStringLiteral("base_site.json"))),
             qPrintable(m_core->lastError()));
    const QString before = snapshot(m_core);

    QVERIFY(!m_core->importSite(json));
    QVERIFY2(m_core->lastError().contains(where), qPrintable(m_core->lastError()));
    QCOMPARE(snapshot(m_core), before);
    QVERIFY(m_core->getPlayerInfoByGuid(QStringLiteral("v1")).strGuid.isEmpty());
    QVERIFY(m_core->getDevInfo(QStringLiteral("d1")).struct_DeviceGuid.isEmpty());
}

void TestDataCore::addRecords_applyTheSameRulesAndParentMayFollowChild()
{
    QVERIFY2(m_core->importSite(R"({"areas": [{"key": "child", "name": "C", "parent": "top"},
                                              {"key": "top", "name": "T"},
                                              {"key": "grandchild", "name": "G", "parent": "child"}]})"),
             qPrintable(m_core->lastError()));
    QCOMPARE(keys(m_core->GetOneRegion(QString()), &RegionInfo::strGuid),
             (QStringList {"top", "child", "grandchild"}));
    const QList<RegionInfo> one = m_core->GetOneRegion(QStringLiteral("child"));
    QCOMPARE(one.size(), 1);
    QCOMPARE(one.first().strParentGuid, QStringLiteral("top"));
    QVERIFY(m_core->addRegion({QStringLiteral("a1"), QStringLiteral("一号区"), QString()}));
    QVERIFY(!m_core->addRegion(
            {QStringLiteral("a2"), QStringLiteral("二号区"), QStringLiteral("missing")}));
    QVERIFY(m_core->lastError().contains(QLatin1String("area \"a2\"")));

    UDeviceInfo device {QStringLiteral("d1"),
                        QStringLiteral("D"),
                        QStringLiteral("10.2.2.2"),
                        QString(),
                        QString(),
                        QString(),
                        0,
                        4};
    QVERIFY(m_core->addDevice(device));
    QCOMPARE(m_core->getDevInfo(QStringLiteral("d1")).struct_channelCount, 4);
    device.struct_DeviceGuid = QStringLiteral("d2");
    QVERIFY(!m_core->addDevice(device)); // same address

    DeviceChancelInfo channel {QStringLiteral("c1"), QStringLiteral("C"), QStringLiteral("d1"), 3,
                               QStringLiteral("a1")};
    QVERIFY(m_core->addChannel(channel));
    channel.channelGuid = QStringLiteral("c2");
    QVERIFY(!m_core->addChannel(channel)); // same number on the device

    AllPlayViewInfo view {
            QStringLiteral("v1"), QStringLiteral("V"), 26, 0, QStringList {"c1"}, {}, {26}};
    QVERIFY2(m_core->addView(view), qPrintable(m_core->lastError()));
    QCOMPARE(m_core->getPlayerInfoByGuid(QStringLiteral("v1")).channelNO, QList<int> {3});
    view.strGuid = QStringLiteral("v2");
    view.localNO.clear();
    QVERIFY(!m_core->addView(view)); // keys and panes do not pair up
    QCOMPARE(m_core->getAllViews().size(), 1);
}

// ---- Wall presets ----------------------------------------------------------------------

QString TestDataCore::presetRows() const
{
    QVariant rows;
    if (!tamper(dbFile(),
                {QStringLiteral("SELECT group_concat(server_id || '|' || name || '|' || version"
                                " || '|' || CAST(payload AS TEXT), ';') FROM"
                                " (SELECT * FROM wall_presets ORDER BY seq)")},
                &rows))
        return QStringLiteral("<unreadable>");
    return rows.toString();
}

void TestDataCore::wallPresets_migrateAFileOfTheFirstSchemaAndSaveListRenameLoadDelete()
{
    // A file written by the data centre of the first schema: two matrix servers and the
    // sample site.
    m_core->close();
    QVERIFY(QFile::remove(dbFile()));
    QVERIFY(QFile::copy(testDataFile(QStringLiteral("datacentre-schema1.sqlite")), dbFile()));
    QVERIFY(QFile::setPermissions(dbFile(), QFile::ReadOwner | QFile::WriteOwner));
    QVariant value;
    QVERIFY(tamper(dbFile(), {QStringLiteral("PRAGMA user_version")}, &value));
    QCOMPARE(value.toInt(), 1);

    QVERIFY2(m_core->open(dbFile()), qPrintable(m_core->lastError()));
    QVERIFY(tamper(dbFile(), {QStringLiteral("PRAGMA user_version")}, &value));
    QCOMPARE(value.toInt(), 2);
    const QList<UServerInfo> servers = m_core->GetServers(QString());
    QStringList described;
    for (const UServerInfo &server : servers)
        described << describeServer(server);
    QCOMPARE(described,
             (QStringList {"Hall wall 127.0.0.1:9010 type 2 user ''",
                           "Lobby matrix 127.0.0.1:6000 type 6 user 'admin'"}));
    QCOMPARE(servers.at(1).password, QStringLiteral("admin"));
    QCOMPARE(m_core->GetOneRegion(QString()).size(), 6);
    QCOMPARE(m_core->getAllViews().size(), 2);

    // Both servers take presets; deleting one deletes its presets and no other.
    const QByteArray wall = R"({"version":1,"cells":[]})";
    QVERIFY2(m_core->saveWallPreset(servers.at(0).id, QStringLiteral("Day"), wall),
             qPrintable(m_core->lastError()));
    QVERIFY(m_core->saveWallPreset(servers.at(1).id, QStringLiteral("Day"), wall));
    QVERIFY(m_core->saveWallPreset(servers.at(1).id, QStringLiteral("Night"), wall));
    QVERIFY(m_core->DeleteServer(servers.at(1).id, SERVERTYPE_LINUX_DIGITALMATRIX));
    QVERIFY(m_core->wallPresetNames(servers.at(1).id).isEmpty());
    QCOMPARE(presetRows(), servers.at(0).id + QStringLiteral("|Day|1|") + QString::fromUtf8(wall));

    const QString x86 = servers.at(0).id;
    const QByteArray first = R"({"version":1,"windows":[{"index":0,"split":4}]})";
    const QByteArray second = R"({"version":3,"windows":[]})";
    QVERIFY(m_core->saveWallPreset(x86, QStringLiteral(" 早班 "), first));
    QVERIFY(m_core->saveWallPreset(x86, QStringLiteral("Night"), second));
    QCOMPARE(m_core->wallPresetNames(x86), (QStringList {"Day", "早班", "Night"}));

    QVERIFY2(m_core->renameWallPreset(x86, QStringLiteral("night"), QStringLiteral("NIGHT")),
             qPrintable(m_core->lastError()));
    QCOMPARE(m_core->wallPresetNames(x86), (QStringList {"Day", "早班", "NIGHT"}));
    QByteArray loaded;
    QVERIFY(m_core->loadWallPreset(x86, QStringLiteral("Night"), &loaded));
    QCOMPARE(loaded, second);
    QVERIFY(m_core->loadWallPreset(x86, QStringLiteral("早班"), &loaded));
    QCOMPARE(loaded, first);

    QVERIFY(m_core->deleteWallPreset(x86, QStringLiteral("早班")));
    QCOMPARE(m_core->wallPresetNames(x86), (QStringList {"Day", "NIGHT"}));
    QVERIFY(!m_core->loadWallPreset(x86, QStringLiteral("早班"), &loaded));
    QCOMPARE(loaded, first);

    // Opened again, the file keeps its schema and its rows.
    m_core->close();
    QVERIFY(m_core->open(dbFile()));
    QCOMPARE(m_core->wallPresetNames(x86), (QStringList {"Day", "NIGHT"}));
}

void TestDataCore::wallPresets_refuseBadInputAndTouchNothing_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QString>("why");
    const auto row = [](const char *tag, const char *operation, const QString &name,
                        const char *why, const QByteArray &payload = R"({"version":1})",
                        const QString &newName = QString()) {
        QTest::newRow(tag) << QString(operation) << name << newName << payload << QString(why);
    };
    row("empty name", "save", "", "empty");
    row("blank name", "save", "   ", "empty");
    row("double quote", "save", "Day \"2\"", "quote");
    row("single quote", "save", "Day's", "quote");
    row("backslash", "save", "Day\\2", "backslash");
    row("control character", "save", "Day\t2", "control");
    row("too long", "save", QString(65, QLatin1Char('x')), "64");
    row("duplicate ignoring case", "save", "DAY", "already");
    row("no JSON", "save", "New", "JSON", "{version:1");
    row("no version", "save", "New", "version", R"({"v":1})");
    row("version zero", "save", "New", "version", R"({"version":0})");
    row("unknown server", "save unknown", "New", "unknown");
    row("server of no matrix", "save stream", "New", "no matrix");
    row("rename onto another", "rename", "Day", "already", {}, "night");
    row("rename to quotes", "rename", "Day", "quote", {}, "\"x\"");
    row("rename unknown", "rename", "Noon", "no preset", {}, "Later");
    row("delete unknown", "delete", "Noon", "no preset");
    row("load a damaged row", "load damaged", "Day", "damaged");
    row("load another version", "load version", "Day", "damaged");
}

void TestDataCore::wallPresets_refuseBadInputAndTouchNothing()
{
    QFETCH(QString, operation);
    QFETCH(QString, name);
    QFETCH(QString, newName);
    QFETCH(QByteArray, payload);
    QFETCH(QString, why);
    const QString x86 = addX86(QStringLiteral("A"), QStringLiteral("10.0.0.1"), 9001);
    QVERIFY(m_core->AddServer(QStringLiteral("S"), QStringLiteral("10.0.0.3"), QString(), QString(),
                              554, SERVERTYPE_STREAM));
    const QString stream = m_core->GetServers(QStringLiteral("10.0.0.3")).value(0).id;
    QVERIFY(m_core->saveWallPreset(x86, QStringLiteral("Day"), R"({"version":1,"a":[1]})"));
    QVERIFY(m_core->saveWallPreset(x86, QStringLiteral("Night"), R"({"version":2})"));
    if (operation == QLatin1String("load damaged"))
        QVERIFY(tamper(dbFile(),
                       {QStringLiteral("UPDATE wall_presets SET payload = '{\"vers'"
                                       " WHERE name = 'Day'")}));
    if (operation == QLatin1String("load version"))
        QVERIFY(tamper(dbFile(),
                       {QStringLiteral("UPDATE wall_presets SET version = 7 WHERE name = 'Day'")}));
    const QString before = presetRows();

    QByteArray loaded("untouched");
    bool done = true;
    if (operation.startsWith(QLatin1String("save"))) {
        const QString server = operation.endsWith(QLatin1String("unknown"))
                ? QStringLiteral("no-such-server")
                : operation.endsWith(QLatin1String("stream")) ? stream
                                                              : x86;
        done = m_core->saveWallPreset(server, name, payload);
    } else if (operation == QLatin1String("rename")) {
        done = m_core->renameWallPreset(x86, name, newName);
    } else if (operation == QLatin1String("delete")) {
        done = m_core->deleteWallPreset(x86, name);
    } else {
        done = m_core->loadWallPreset(x86, name, &loaded);
    }
    QVERIFY(!done);
    QVERIFY2(m_core->lastError().contains(why), qPrintable(m_core->lastError()));
    QCOMPARE(loaded, QByteArray("untouched"));
    QCOMPARE(presetRows(), before);
    QVERIFY(m_core->wallPresetNames(stream).isEmpty());
}

QTEST_GUILESS_MAIN(TestDataCore)
#include "tst_datacore.moc"
