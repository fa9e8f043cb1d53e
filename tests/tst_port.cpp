// The matrix service port: what it sends to the service, byte for byte, and what it
// makes of the service's answers.
#include "DigitalMatrixInteractionPort.h"
#include "SystemConfig.h"
#include "UserManagerCore.h"

#include "FakeMatrixService.h"
#include "TestData.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

using namespace LUMO_DIGITALMATRIX_MODULE;

Q_DECLARE_METATYPE(std::vector<ScreenRegionEntry>)

namespace {

constexpr int U = DigitalMatrixInteractionPort::ScreenUnit;

QByteArray regionBytes(const QList<QList<int>> &regions)
{
    QByteArray out;
    for (const QList<int> &r : regions) {
        ScreenRegion region {r[0], r[1], r[2], r[3], r[4], r[5]};
        out.append(reinterpret_cast<const char *>(&region), int(sizeof region));
    }
    return out;
}

ScreenRegionEntry entry(int index, int melt, int left, int top, int width, int height)
{
    ScreenRegionEntry e;
    std::memset(&e, 0x5A, sizeof e); // the service's own bytes after the region
    e.region = ScreenRegion {index, melt, left, top, width, height};
    return e;
}

CellChannelRecord recordAt(const QByteArray &bytes, int i)
{
    CellChannelRecord record;
    std::memcpy(&record, bytes.constData() + i * int(sizeof record), sizeof record);
    return record;
}

QByteArray padded(const QByteArray &text, int size)
{
    QByteArray out = text.left(size - 1);
    out.append(QByteArray(size - out.size(), '\0'));
    return out;
}

} // namespace

class TestPort : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void regionsSent_data();
    void regionsSent();
    void screenGridIsReadBack_data();
    void screenGridIsReadBack();
    void screenNumbersAreRead_data();
    void screenNumbersAreRead();
    void screenNumbersAreSentAsBytes_data();
    void screenNumbersAreSentAsBytes();
    void cellChannelRecordHasItsExactBytes();
    void cellChannelsAreCappedAtSixteenBothWays();
    void recordFollowsTheDevice_data();
    void recordFollowsTheDevice();
    void putCellChannelByOperation_data();
    void putCellChannelByOperation();
    void cellChannelsAreReadBack();
    void turnShowCodesAndSplitFollowUp_data();
    void turnShowCodesAndSplitFollowUp();
    void turnShowIsReadBack_data();
    void turnShowIsReadBack();
    void serviceResultsDecideWhatFollows();
    void serversAreStoredWithTheirType_data();
    void serversAreStoredWithTheirType();
    void configuredServerTypeIsTheFirstMatrix();
    void withoutServiceEveryCommandFails();

private:
    void setBitStream(int value);

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakeMatrixService> service;
    FakeBaseMatrix *base = nullptr;
};

void TestPort::initTestCase()
{
    openTestDataCentre(dir, QStringLiteral("port_site.json"));
    if (QTest::currentTestFailed())
        return;
    QSettings(dir->filePath(QStringLiteral("sysConfig.ini")), QSettings::IniFormat).clear();
    PARSERXML::SystemConfig::instance()->setConfigFile(
            dir->filePath(QStringLiteral("sysConfig.ini")));
    setBitStream(1);
}

void TestPort::init()
{
    service = std::make_unique<FakeMatrixService>();
    base = service->base();
    QVERIFY(base);
}

void TestPort::cleanup()
{
    service.reset();
    base = nullptr;
    setBitStream(1);
}

void TestPort::setBitStream(int value)
{
    PARSERXML::SystemConfig::instance()->setValue(QStringLiteral("Stream/matrixCode"),
                                                  QString::number(value));
    QCOMPARE(PARSERXML::SystemConfig::instance()->getMatrixVideoBitStream(), value);
}

// ---- grids ------------------------------------------------------------------------

void TestPort::regionsSent_data()
{
    QTest::addColumn<int>("cell"); // -1: the whole grid, one region per cell
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<bool>("melt");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("bytes");
    // 2 x 2 and 1 x 1, byte for byte on the simulator: tst_linuxe2e.
    QTest::newRow("1x4") << -1 << 1 << 4 << false << 0
                         << regionBytes({{0, 0, 0, 0, U, U},
                                         {1, 0, U, 0, U, U},
                                         {2, 0, 2 * U, 0, U, U},
                                         {3, 0, 3 * U, 0, U, U}});
    QTest::newRow("3x1") << -1 << 3 << 1 << false << 0
                         << regionBytes({{0, 0, 0, 0, U, U},
                                         {1, 0, 0, U, U, U},
                                         {2, 0, 0, 2 * U, U, U}});
    QTest::newRow("2x3 too large") << -1 << 2 << 3 << false << -4 << QByteArray();
    QTest::newRow("no rows") << -1 << 0 << 4 << false << -4 << QByteArray();
    QTest::newRow("negative rows") << -1 << -1 << 3 << false << -4 << QByteArray();
    QTest::newRow("both negative") << -1 << -2 << -2 << false << -4 << QByteArray();
    // One cell back in its place or spread over the grid; the service's answer is passed on.
    QTest::newRow("cell 3 back in a 2x2")
            << 3 << 2 << 2 << false << 9 << regionBytes({{3, 0, U, U, U, U}});
    QTest::newRow("cell 1 back in a 1x2")
            << 1 << 1 << 2 << false << 9 << regionBytes({{1, 0, U, 0, U, U}});
    QTest::newRow("cell 2 over a 1x4")
            << 2 << 1 << 4 << true << 9 << regionBytes({{2, 1, 0, 0, 4 * U, U}});
    QTest::newRow("cell outside the grid")
            << 7 << 2 << 2 << false << 9 << regionBytes({{7, 0, 0, 0, U, U}});
}

void TestPort::regionsSent()
{
    QFETCH(int, cell);
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(bool, melt);
    QFETCH(int, result);
    QFETCH(QByteArray, bytes);
    DigitalMatrixInteractionPort *port = DigitalMatrixInteractionPort::instance();
    base->setResult("SetCellMelt", 9);
    const char *name = cell < 0 ? "SetScreenGrid" : "SetCellMelt";
    QCOMPARE(cell < 0 ? port->setScreenGrid(rows, columns)
                      : port->setCellMelt(cell, rows, columns, melt),
             result);
    QCOMPARE(base->count(name), bytes.isEmpty() ? 0 : 1);
    if (bytes.isEmpty())
        return;
    if (cell < 0)
        QCOMPARE(base->last(name).args.value(0).toInt(), rows * columns);
    QCOMPARE(base->last(name).bytes, bytes);
}

void TestPort::screenGridIsReadBack_data()
{
    QTest::addColumn<std::vector<ScreenRegionEntry>>("entries");
    QTest::addColumn<int>("count"); // -1: as many as entries
    QTest::addColumn<int>("result");
    QTest::addColumn<QList<int>>("expected"); // returned, rows, columns, melted

    // 1 x 2 and 2 x 2 grids read back from the simulator: tst_reconnect, tst_linuxe2e.
    QTest::newRow("melted cell") << std::vector<ScreenRegionEntry> {entry(2, 1, 0, 0, 2 * U, 2 * U)}
                                 << -1 << 0 << QList<int> {0, 2, 2, 2};
    QTest::newRow("no entry") << std::vector<ScreenRegionEntry> {} << -1 << 0
                              << QList<int> {0, -1, -1, -1};
    QTest::newRow("count beyond the buffer")
            << std::vector<ScreenRegionEntry> {entry(0, 0, 0, 0, U, U)} << 5 << 0
            << QList<int> {0, -1, -1, -1};
    QTest::newRow("negative count") << std::vector<ScreenRegionEntry> {entry(0, 0, 0, 0, U, U)}
                                    << -7 << 0 << QList<int> {0, -1, -1, -1};
    QTest::newRow("service failure") << std::vector<ScreenRegionEntry> {entry(0, 0, 0, 0, U, U)}
                                     << -1 << -3 << QList<int> {-3, -1, -1, -1};
}

void TestPort::screenGridIsReadBack()
{
    QFETCH(std::vector<ScreenRegionEntry>, entries);
    QFETCH(int, count);
    QFETCH(int, result);
    QFETCH(QList<int>, expected);
    base->gridEntries = entries;
    base->gridCount = count == -1 ? FakeBaseMatrix::AutoCount : count;
    base->setResult("GetScreenGrid", result);
    int rows = 99, columns = 99, melted = 99;
    const int got =
            DigitalMatrixInteractionPort::instance()->getScreenGrid(&rows, &columns, &melted);
    QCOMPARE((QList<int> {got, rows, columns, melted}), expected);
    QCOMPARE(base->last("GetScreenGrid").args.value(0).toInt(), 4);
}

void TestPort::screenNumbersAreRead_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("count"); // -1: the size of bytes
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("expected");
    const QStringList fallback {"1", "2", "3", "4"};
    // A map in order read from the simulator: tst_linuxe2e.
    QTest::newRow("arranged") << QByteArray("\x02\x00\x01\x03", 4) << -1 << 0
                              << QStringList {"3", "1", "2", "4"};
    QTest::newRow("three distinct") << QByteArray("\x00\x01\x01\x03", 4) << -1 << 0 << fallback;
    QTest::newRow("only three") << QByteArray("\x03\x01\x02", 3) << -1 << 0 << fallback;
    QTest::newRow("screen five") << QByteArray("\x00\x01\x02\x04", 4) << -1 << 0 << fallback;
    QTest::newRow("byte 200") << QByteArray("\x00\x01\xC8\x03", 4) << -1 << 0 << fallback;
    QTest::newRow("failed read") << QByteArray("\x02\x00\x01\x03", 4) << -1 << -1 << fallback;
    QTest::newRow("count 0") << QByteArray("\x02\x00\x01\x03", 4) << 0 << 0 << fallback;
    QTest::newRow("count beyond the buffer")
            << QByteArray("\x02\x00\x01\x03", 4) << 100000 << 0 << fallback;
}

void TestPort::screenNumbersAreRead()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, count);
    QFETCH(int, result);
    QFETCH(QStringList, expected);
    base->screenNumberBytes = bytes;
    base->screenNumberCount = count == -1 ? FakeBaseMatrix::AutoCount : count;
    base->setResult("GetScreenNumbers", result);
    DigitalMatrixInteractionPort *port = DigitalMatrixInteractionPort::instance();
    QCOMPARE(port->getScreenNumbers(), expected);
    QCOMPARE(port->cachedScreenNumbers(), expected);
}

void TestPort::screenNumbersAreSentAsBytes_data()
{
    QTest::addColumn<QByteArray>("matrixMap");
    QTest::addColumn<QStringList>("grid");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("1x2 showing 3 2") << QByteArray("\x00\x01\x02\x03", 4) << QStringList {"3", "2"}
                                     << 0 << QByteArray("\x02\x01\x00\x03", 4);
    QTest::newRow("1x1 showing 4") << QByteArray("\x02\x00\x01\x03", 4) << QStringList {"4"} << 0
                                   << QByteArray("\x03\x00\x01\x02", 4);
    QTest::newRow("emptied number refused")
            << QByteArray("\x00\x01\x02\x03", 4) << QStringList {"0", "2"} << -4 << QByteArray();
    QTest::newRow("not a number refused")
            << QByteArray("\x00\x01\x02\x03", 4) << QStringList {"", "2"} << -4 << QByteArray();
    QTest::newRow("screen five refused") << QByteArray("\x00\x01\x02\x03", 4)
                                         << QStringList {"1", "2", "3", "5"} << -4 << QByteArray();
}

void TestPort::screenNumbersAreSentAsBytes()
{
    QFETCH(QByteArray, matrixMap);
    QFETCH(QStringList, grid);
    QFETCH(int, result);
    QFETCH(QByteArray, sent);
    base->screenNumberBytes = matrixMap;
    DigitalMatrixInteractionPort *port = DigitalMatrixInteractionPort::instance();
    port->getScreenNumbers();
    QCOMPARE(port->setScreenNumbers(grid), result);
    if (result != 0) {
        QCOMPARE(base->count("SetScreenNumbers"), 0);
        return;
    }
    const FakeCall call = base->last("SetScreenNumbers");
    QCOMPARE(call.args.value(0).toInt(), sent.size());
    QCOMPARE(call.bytes, sent);
}

// ---- cell channels ---------------------------------------------------------------

void TestPort::cellChannelRecordHasItsExactBytes()
{
    CellChannelItem item;
    item.channelId = QStringLiteral("ch-n-1");
    item.position = 5;
    QList<CellChannelItem *> items {&item};
    base->setResult("SetCellChannels", 0);
    QCOMPARE(DigitalMatrixInteractionPort::instance()->setCellChannels(2, 9, items), 0);
    const FakeCall call = base->last("SetCellChannels");
    QCOMPARE(call.args, (QVariantList {2, 1, 9}));
    QCOMPARE(call.bytes.size(), 464);

    QByteArray expected(464, '\0');
    auto put = [&expected](int offset, const auto &value) {
        expected.replace(offset, int(sizeof value),
                         QByteArray(reinterpret_cast<const char *>(&value), int(sizeof value)));
    };
    put(0, qint32(5));
    expected.replace(4, 64, padded("NVR-HALL-01", 64));
    expected.replace(68, 64, padded("Device dev-n", 64));
    expected.replace(132, 20, padded("SN-0123456789ABCDEFGH", 20)); // cut to 19 + zero
    put(152, quint16(40000)); // unsigned 16 bits
    put(156, qint32(1));
    expected.replace(160, 16, padded("admin", 16));
    expected.replace(176, 16, padded("pw-dev-n", 16));
    expected.replace(192, 16, padded("onvif", 16));
    QCOMPARE(call.bytes, expected);
}

void TestPort::cellChannelsAreCappedAtSixteenBothWays()
{
    QList<CellChannelItem> storage;
    for (int i = 1; i <= 20; ++i) {
        CellChannelItem item;
        item.channelId = QStringLiteral("ch-ip-%1").arg(i);
        item.position = i - 1;
        storage << item;
    }
    QList<CellChannelItem *> items;
    for (CellChannelItem &item : storage)
        items << &item;
    items.insert(3, nullptr); // a hole in the caller's list is skipped
    DigitalMatrixInteractionPort::instance()->setCellChannels(0, 16, items);
    const FakeCall call = base->last("SetCellChannels");
    QCOMPARE(call.args, (QVariantList {0, 16, 16}));
    QCOMPARE(call.bytes.size(), 16 * 464);
    for (int i = 0; i < 16; ++i) {
        const CellChannelRecord record = recordAt(call.bytes, i);
        QCOMPARE(record.position, i);
        QCOMPARE(record.channelNo, i + 1);
        QCOMPARE(QByteArray(record.protocol), QByteArray("qbz"));
    }

    // Read back, never past the buffer.
    std::vector<CellChannelRecord> records(20);
    for (int i = 0; i < 20; ++i) {
        std::memset(&records[size_t(i)], 'A', sizeof(CellChannelRecord)); // no terminating zero
        records[size_t(i)].position = i;
    }
    base->cellRecords = records;
    base->cellRecordCount = 1000;
    QMap<int, CellChannelItem *> read;
    int split = 0;
    QCOMPARE(DigitalMatrixInteractionPort::instance()->getCellChannels(0, &read, &split), 0);
    QCOMPARE(base->last("GetCellChannels").args, (QVariantList {0, 16}));
    QCOMPARE(read.size(), 16);
    qDeleteAll(read);
}

void TestPort::recordFollowsTheDevice_data()
{
    QTest::addColumn<QString>("channel"); // of tests/data/port_site.json
    QTest::addColumn<int>("bitStream");
    QTest::addColumn<QByteArray>("address");
    QTest::addColumn<QByteArray>("protocol");
    QTest::addColumn<int>("channelNo");
    // The protocol follows the address (an upper N and a digit on the simulator: tst_linuxe2e).
    QTest::newRow("lower n") << "proto-lower-n-ch" << 1 << QByteArray("nvr.local")
                             << QByteArray("onvif") << 1;
    QTest::newRow("other letter") << "proto-letter-ch" << 1 << QByteArray("M-1")
                                  << QByteArray("qbz") << 1;
    QTest::newRow("host name") << "proto-host-ch" << 1 << QByteArray("cam-gate.site")
                               << QByteArray("qbz") << 1;
    // A kind-3 device sends the bit stream for its channel.
    QTest::newRow("kind 3, stream 2")
            << "ch-k3-5" << 2 << QByteArray("10.0.0.3") << QByteArray("qbz") << 2;
    QTest::newRow("kind 3, stream 1")
            << "ch-k3-5" << 1 << QByteArray("10.0.0.3") << QByteArray("qbz") << 5;
    QTest::newRow("kind 1, stream 2")
            << "ch-ip-7" << 2 << QByteArray("192.168.7.20") << QByteArray("qbz") << 7;
}

void TestPort::recordFollowsTheDevice()
{
    QFETCH(QString, channel);
    QFETCH(int, bitStream);
    QFETCH(QByteArray, address);
    QFETCH(QByteArray, protocol);
    QFETCH(int, channelNo);
    setBitStream(bitStream);
    CellChannelItem item;
    item.channelId = channel;
    item.position = 3;
    DigitalMatrixInteractionPort::instance()->setCellChannels(0, 4, {&item});
    const CellChannelRecord record = recordAt(base->last("SetCellChannels").bytes, 0);
    QCOMPARE(QByteArray(record.deviceAddress), address);
    QCOMPARE(QByteArray(record.protocol), protocol);
    QCOMPARE(record.channelNo, channelNo);
}

void TestPort::putCellChannelByOperation_data()
{
    QTest::addColumn<int>("op");
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("result");
    QTest::newRow("add") << 0 << "AddCellChannel" << 0;
    QTest::newRow("modify") << 1 << "ModifyCellChannel" << 0;
    QTest::newRow("two is refused") << 2 << "" << -4;
    QTest::newRow("minus one is refused") << -1 << "" << -4;
}

void TestPort::putCellChannelByOperation()
{
    QFETCH(int, op);
    QFETCH(QString, call);
    QFETCH(int, result);
    CellChannelItem item;
    item.channelId = QStringLiteral("ch-ip-2");
    item.position = 6;
    QCOMPARE(DigitalMatrixInteractionPort::instance()->putCellChannel(3, item, op), result);
    if (call.isEmpty()) {
        QVERIFY(base->calls().isEmpty());
        return;
    }
    QCOMPARE(base->names(), QStringList {call});
    const FakeCall sent = base->last(call);
    QCOMPARE(sent.args.value(0).toInt(), 3);
    QCOMPARE(recordAt(sent.bytes, 0).position, 6);
    QCOMPARE(recordAt(sent.bytes, 0).channelNo, 2);
}

void TestPort::cellChannelsAreReadBack()
{
    auto make = [](int position, const char *address, int channelNo) {
        CellChannelRecord r;
        std::memset(&r, 0, sizeof r);
        r.position = position;
        std::strncpy(r.deviceAddress, address, sizeof r.deviceAddress - 1);
        r.channelNo = channelNo;
        return r;
    };
    base->cellRecords = {make(0, "192.168.7.20", 4), make(3, "10.0.0.3", 2),
                         make(2, "NVR-HALL-01", 1)};
    base->cellSplitCount = 4;
    QMap<int, CellChannelItem *> items;
    items.insert(9, new CellChannelItem); // the map's old items are replaced
    int split = -1;
    QCOMPARE(DigitalMatrixInteractionPort::instance()->getCellChannels(1, &items, &split), 0);
    QCOMPARE(split, 4);
    // Channels read back by address and number with their names: tst_linuxe2e.
    QCOMPARE(items.keys(), (QList<int> {0, 2, 3}));
    QVERIFY(items.value(0)->itemKey.isEmpty());
    // A kind-3 device's record is read as its channel 1, whatever number it carries.
    QCOMPARE(items.value(3)->channelId, QStringLiteral("ch-k3-1"));
    QCOMPARE(items.value(2)->channelName, QStringLiteral("Hall"));
    qDeleteAll(items);

    base->setResult("GetCellChannels", -3);
    items.clear();
    QCOMPARE(DigitalMatrixInteractionPort::instance()->getCellChannels(1, &items, &split), -3);
    QVERIFY(items.isEmpty());
}

// ---- turn shows, upgrade, single window ------------------------------------------------

void TestPort::turnShowCodesAndSplitFollowUp_data()
{
    QTest::addColumn<int>("moduleCode");
    QTest::addColumn<int>("turnResult");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<int>("serviceCode");
    QTest::addColumn<int>("result");
    const QStringList both {"SetCellTurnShow", "SetCellSplit"};
    const QStringList one {"SetCellTurnShow"};
    QTest::newRow("start") << 0 << 0 << both << 0 << 7;
    QTest::newRow("stop") << 1 << 0 << both << 2 << 7;
    QTest::newRow("continue") << 3 << 0 << one << 0 << 0;
    QTest::newRow("failed start") << 0 << -1 << one << 0 << -1;
    QTest::newRow("unknown code") << 9 << 0 << QStringList {} << 0 << -4;
}

void TestPort::turnShowCodesAndSplitFollowUp()
{
    QFETCH(int, moduleCode);
    QFETCH(int, turnResult);
    QFETCH(QStringList, calls);
    QFETCH(int, serviceCode);
    QFETCH(int, result);
    base->setResult("SetCellTurnShow", turnResult);
    base->setResult("SetCellSplit", 7);
    CellTurnInfo info;
    info.turnInterval = 15;
    info.turnState = moduleCode;
    QCOMPARE(DigitalMatrixInteractionPort::instance()->setCellTurnShow(2, info, 9), result);
    QCOMPARE(base->names(), calls);
    if (calls.isEmpty())
        return;
    QCOMPARE(base->last("SetCellTurnShow").args, (QVariantList {2, 15, serviceCode, 0}));
    if (calls.size() > 1)
        QCOMPARE(base->last("SetCellSplit").args, (QVariantList {2, 9, 0}));
}

void TestPort::turnShowIsReadBack_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("serviceCode");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("expectedInterval");
    QTest::addColumn<int>("expectedState");
    // A running show read back from the simulator: tst_linuxe2e.
    QTest::newRow("paused") << 20 << 1 << 0 << 20 << 2;
    QTest::newRow("stopped") << 5 << 2 << 0 << 5 << 1;
    QTest::newRow("no interval means 30") << 0 << 0 << 0 << 30 << 0;
    QTest::newRow("unknown state kept") << 8 << 6 << 0 << 8 << 3;
    QTest::newRow("failure leaves it") << 8 << 0 << -1 << 99 << 3;
}

void TestPort::turnShowIsReadBack()
{
    QFETCH(int, interval);
    QFETCH(int, serviceCode);
    QFETCH(int, result);
    QFETCH(int, expectedInterval);
    QFETCH(int, expectedState);
    base->turnStatus = CellTurnStatus {interval, serviceCode, 0};
    base->setResult("GetCellTurnShow", result);
    CellTurnInfo info;
    info.turnInterval = 99;
    info.turnState = 3;
    QCOMPARE(DigitalMatrixInteractionPort::instance()->getCellTurnShow(1, &info), result);
    QCOMPARE(info.turnInterval, expectedInterval);
    QCOMPARE(info.turnState, expectedState);
}

// Connect, login, window rectangles, turn states and zooms reach the matrix unchanged:
// tst_x86e2e (what the simulator holds); a pane set alone, read back alone or not:
// tst_linuxe2e. Here the results the port turns into decisions.
void TestPort::serviceResultsDecideWhatFollows()
{
    DigitalMatrixInteractionPort *port = DigitalMatrixInteractionPort::instance();
    DigitalMatrixServerInfo server;
    server.ip = QStringLiteral("127.0.0.1");
    server.port = 6000;
    server.user = QStringLiteral("admin");
    server.password = QStringLiteral("secret");
    base->setResult("StartSession", 4);
    QCOMPARE(port->connectLinuxServer(server), 4);
    QCOMPARE(base->names(), (QStringList {"Login", "StartSession"}));
    QCOMPARE(base->last("Login").args, (QVariantList {1, "admin", "secret", "127.0.0.1", 6000}));
    base->clear();
    base->setResult("Login", -8);
    QCOMPARE(port->connectLinuxServer(server), -8);
    QCOMPARE(base->names(), QStringList {"Login"});

    base->queueResults("ClearCell", {0, 0, -9, 0});
    QCOMPARE(port->clearAllCells(2, 2), -9);
    QCOMPARE(base->callsNamed("ClearCell").size(), 3);
    base->clear();
    QCOMPARE(port->clearAllCells(1, 4), 0);
    QStringList cells;
    for (const FakeCall &call : base->callsNamed("ClearCell"))
        cells << call.args.value(0).toString();
    QCOMPARE(cells, (QStringList {"0", "1", "2", "3"}));

    int window = 0;
    base->singleWindowFlag = 1;
    base->singleWindow = 3;
    base->setResult("GetCellSingleWindow", -1);
    port->getCellSingleWindow(2, &window);
    QCOMPARE(window, -1);

    FakeX86Matrix *x86 = service->x86();
    x86->setResult("Login", 2);
    QCOMPARE(port->login(QString(), QString()), 2);
    x86->queueResults("ForceLogin", {0, 5});
    QCOMPARE(QList<bool>({port->forceLogin(), port->forceLogin()}), (QList<bool> {false, true}));
}

// ---- data centre ------------------------------------------------------------------

void TestPort::serversAreStoredWithTheirType_data()
{
    QTest::addColumn<int>("matrixKind");
    QTest::addColumn<int>("storedType");
    QTest::newRow("x86") << 1 << 2;
    QTest::newRow("linux") << 2 << 6;
    QTest::newRow("kind 0 as linux") << 0 << 6;
    QTest::newRow("kind 3 as linux") << 3 << 6;
}

void TestPort::serversAreStoredWithTheirType()
{
    QFETCH(int, matrixKind);
    QFETCH(int, storedType);
    DigitalMatrixServerInfo server;
    server.name = QStringLiteral("Wall %1").arg(QTest::currentDataTag());
    server.ip = QStringLiteral("10.9.0.%1").arg(matrixKind + 10);
    server.port = 7000 + matrixKind;
    server.matrixKind = matrixKind;
    server.user = QStringLiteral("u");
    server.password = QStringLiteral("p");
    DigitalMatrixInteractionPort *port = DigitalMatrixInteractionPort::instance();
    QVERIFY(port->addServerToDB(server));
    UServerInfo stored;
    for (const UServerInfo &s : DATACore::UserManagerCore::instance()->GetServers(QString()))
        if (s.name == server.name)
            stored = s;
    QCOMPARE(describeServer(stored) + ' ' + stored.password,
             QStringLiteral("%1 %2:%3 type %4 user 'u' p")
                     .arg(server.name, server.ip)
                     .arg(server.port)
                     .arg(storedType));

    server.id = stored.id;
    server.name += QStringLiteral(" renamed");
    QVERIFY(port->editServerInDB(server));
    QCOMPARE(DATACore::UserManagerCore::instance()->getServerInfo(stored.id).name, server.name);
    QVERIFY(DATACore::UserManagerCore::instance()->DeleteServer(stored.id, SERVERTYPE(storedType)));
}

void TestPort::configuredServerTypeIsTheFirstMatrix()
{
    DATACore::UserManagerCore *dc = DATACore::UserManagerCore::instance();
    DigitalMatrixInteractionPort *port = DigitalMatrixInteractionPort::instance();
    QCOMPARE(port->serverTypeAlreadyConfigured(), 0);
    QVERIFY(dc->AddServer("Stream", "10.0.0.1", "", "", 554, SERVERTYPE_STREAM));
    QCOMPARE(port->serverTypeAlreadyConfigured(), 0);
    QVERIFY(dc->AddServer("Linux wall", "10.0.0.2", "admin", "pw", 6000,
                          SERVERTYPE_LINUX_DIGITALMATRIX));
    QVERIFY(dc->AddServer("X86 wall", "10.0.0.3", "", "", 9010, SERVERTYPE_X86_DIGITALMATRIX));
    QCOMPARE(port->serverTypeAlreadyConfigured(), 2);
    for (const UServerInfo &s : dc->GetServers(QString()))
        if (s.type == SERVERTYPE_LINUX_DIGITALMATRIX)
            QVERIFY(dc->DeleteServer(s.id, SERVERTYPE_LINUX_DIGITALMATRIX));
    QCOMPARE(port->serverTypeAlreadyConfigured(), 1);
    for (const UServerInfo &s : dc->GetServers(QString()))
        QVERIFY(dc->DeleteServer(s.id, SERVERTYPE(s.type)));
    QCOMPARE(port->serverTypeAlreadyConfigured(), 0);
}

void TestPort::withoutServiceEveryCommandFails()
{
    service.reset();
    DigitalMatrixInteractionPort::ServiceFactory none;
    DigitalMatrixInteractionPort::setServiceFactory(none);
    DigitalMatrixInteractionPort *port = DigitalMatrixInteractionPort::instance();
    DigitalMatrixServerInfo server;
    QVERIFY(port->connectLinuxServer(server) < 0);
    QVERIFY(port->setScreenGrid(1, 1) < 0);
    QVERIFY(port->setCellChannels(0, 1, {}) < 0);
    QVERIFY(port->login(QString(), QString()) < 0);
    QCOMPARE(port->forceLogin(), false);
    int status = 0;
    QCOMPARE(port->pollUpgrade(&status), true);
    QVERIFY(status < 0);
    QCOMPARE(port->getScreenNumbers(), (QStringList {"1", "2", "3", "4"}));
    port->connectServer(QStringLiteral("1.2.3.4"), 1); // nothing to reach: no crash
    DigitalMatrixInteractionPort::release();
    DigitalMatrixInteractionPort::resetServiceFactory();
}

QTEST_MAIN(TestPort)
#include "tst_port.moc"
