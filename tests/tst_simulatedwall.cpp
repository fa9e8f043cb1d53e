// The simulated wall a person watches: what each screen of a simulated matrix shows (screens,
// windows and cells, panes and channel names, turn shows stepping, a cell spread over the
// wall, screen numbers in the arrangement mode) and the window that follows the matrix live.
#include "MatrixSimulator.h"
#include "SimulatedWallScene.h"
#include "SimulatedWallWindow.h"
#include "WallTurnClock.h"

#include "IMatrixConfig.h"
#include "ServerConfig.h"
#include "WallGeometry.h"

#include <QTextCodec>
#include <QtTest>

#include <cstring>

namespace {

constexpr qreal W = SimX86ScreenWidth;
constexpr qreal H = SimX86ScreenHeight;
constexpr int Unit = 1000000;

_ST_ChnInfo x86Channel(const QString &name, int sequence)
{
    _ST_ChnInfo record;
    std::memset(&record, 0, sizeof(record));
    const QByteArray gbk = QTextCodec::codecForName("GBK")->fromUnicode(name);
    std::memcpy(record.channelName, gbk.constData(),
                size_t(qMin(gbk.size(), int(sizeof(record.channelName)) - 1)));
    std::strcpy(record.ipAddress, "192.168.10.20");
    record.channelNo = sequence;
    record.sequence = sequence;
    return record;
}

CellChannelRecord linuxChannel(int position, const char *address, const char *device, int number)
{
    CellChannelRecord record;
    std::memset(&record, 0, sizeof(record));
    record.position = position;
    std::strcpy(record.deviceAddress, address);
    std::strcpy(record.deviceText1, device);
    record.channelNo = number;
    return record;
}

// A 2 x 2 X86 wall, window k on screen k.
SimX86State x86Wall()
{
    SimX86State state;
    state.rows = 2;
    state.columns = 2;
    for (int k = 0; k < 4; ++k) {
        SimX86Window window;
        window.index = k;
        const int left = (k % 2) * int(W);
        const int top = (k / 2) * int(H);
        window.home = rc(left, top, left + int(W), top + int(H));
        window.rect = window.home;
        state.windows.append(window);
    }
    return state;
}

// A Linux wall with a 2 x 2 grid of cells and the given screen map.
SimLinuxState linuxWall(const QByteArray &screenMap = QByteArray("\x00\x01\x02\x03", 4))
{
    SimLinuxState state;
    state.rows = state.gridRows = 2;
    state.columns = state.gridColumns = 2;
    for (int k = 0; k < 4; ++k)
        state.grid.append(ScreenRegion {k, 0, (k % 2) * Unit, (k / 2) * Unit, Unit, Unit});
    state.screenMap = screenMap;
    state.cells.resize(4);
    return state;
}

QStringList paneTexts(const WallWindow &window)
{
    QStringList texts;
    for (const WallPane &pane : window.panes)
        texts.append(pane.text);
    return texts;
}

const WallWindow *windowLabelled(const WallPicture &picture, const QString &label)
{
    for (const WallWindow &window : picture.windows) {
        if (window.label == label)
            return &window;
    }
    return nullptr;
}

} // namespace

class tst_SimulatedWall : public QObject
{
    Q_OBJECT

private slots:
    void x86ScreensWindowsPanesAndTurnShows();
    void linuxCellsGoToTheScreensThatShowThem_data();
    void linuxCellsGoToTheScreensThatShowThem();
    void linuxSpreadCellTurnShowsAndNames();
    void hangIsParsedOrRefused_data();
    void hangIsParsedOrRefused();
    void windowFollowsTheMatrixLive();
};

void tst_SimulatedWall::x86ScreensWindowsPanesAndTurnShows()
{
    SimX86State state = x86Wall();
    state.windows[1].split = 4;
    state.windows[1].sources = {x86Channel(QString::fromUtf8("大厅入口"), 1),
                                x86Channel(QStringLiteral("Gate"), 3)};
    state.selectedMonitor = 1;
    // The third window shows its pane 5 zoomed; the first was moved last, the fourth before.
    state.windows[2].split = 9;
    state.windows[2].zoomedPane = 5;
    state.windows[2].sources = {x86Channel(QStringLiteral("Pane five"), 5)};
    state.windows[0].layer = 1;
    state.windows[3].layer = 2;
    state.windows[0].rect = rc(960, 540, 2880, 1620);
    WallTurnClock clock;
    const WallPicture picture = SimulatedWallScene::x86Picture(state, &clock, 0);

    QCOMPARE(picture.size, QSizeF(2 * W, 2 * H));
    QCOMPARE(picture.screens.size(), 4);
    QCOMPARE(picture.screens.at(3).number, 4);
    QCOMPARE(picture.screens.at(3).rect, QRectF(W, H, W, H));
    QCOMPARE(picture.windows.size(), 4);
    const WallWindow *second = windowLabelled(picture, QStringLiteral("2"));
    QVERIFY(second);
    QVERIFY(second->selected);
    QCOMPARE(second->rect, QRectF(W, 0, W, H));
    // Four panes; each channel on the pane of its sequence number, GBK decoded.
    QCOMPARE(paneTexts(*second),
             QStringList({QString::fromUtf8("大厅入口"), QString(), QStringLiteral("Gate"),
                          QString()}));
    QCOMPARE(second->panes.at(2).rect, QRectF(W, H / 2, W / 2, H / 2));
    QVERIFY(second->status.isEmpty());
    QVERIFY(!windowLabelled(picture, QStringLiteral("1"))->selected);

    const WallWindow *third = windowLabelled(picture, QStringLiteral("3"));
    QCOMPARE(third->panes.size(), 1);
    QCOMPARE(third->panes.first().text, QStringLiteral("Pane five"));
    QCOMPARE(third->panes.first().rect, third->rect);
    // Drawn in the order they were moved, the one moved last on top.
    QStringList order;
    for (const WallWindow &window : picture.windows)
        order.append(window.label);
    QCOMPARE(order, QStringList({"2", "3", "4", "1"}));
    QCOMPARE(picture.windows.last().rect, QRectF(960, 540, W, H));

    // The first window's turn show steps, pauses and starts over.
    SimX86Window &window = state.windows[0];
    window.split = 4;
    window.turnState = 1;
    window.turnInterval = 10;
    for (int k = 1; k <= 6; ++k)
        window.sources.append(x86Channel(QStringLiteral("Camera %1").arg(k), k));
    auto panesAt = [&](qint64 ms) {
        const WallPicture picture = SimulatedWallScene::x86Picture(state, &clock, ms);
        return paneTexts(*windowLabelled(picture, QStringLiteral("1")));
    };
    const QStringList firstPage {"Camera 1", "Camera 2", "Camera 3", "Camera 4"};
    const QStringList secondPage {"Camera 5", "Camera 6", QString(), QString()};
    QCOMPARE(panesAt(1000), firstPage); // the show starts running at 1 s
    QCOMPARE(panesAt(10999), firstPage);
    QCOMPARE(panesAt(11000), secondPage);
    QCOMPARE(panesAt(21000), firstPage);
    QCOMPARE(windowLabelled(SimulatedWallScene::x86Picture(state, &clock, 31000), "1")->status,
             QStringLiteral("Turn show: page 2 of 2, every 10 s"));

    // Paused (first seen at 35 s, 4 s before its next step), the picture stays; running
    // again, the paused time does not count.
    window.turnState = 2;
    QCOMPARE(panesAt(35000), secondPage);
    QCOMPARE(panesAt(90000), secondPage);
    window.turnState = 1;
    QCOMPARE(panesAt(94000), secondPage);
    QCOMPARE(panesAt(99999), secondPage);
    QCOMPARE(panesAt(100000), firstPage);
    // New channels start the show over.
    window.split = 1;
    window.sources = {x86Channel(QStringLiteral("North"), 1),
                      x86Channel(QStringLiteral("South"), 2)};
    QCOMPARE(panesAt(101000).first(), QStringLiteral("North"));
    QCOMPARE(panesAt(111000).first(), QStringLiteral("South"));
}

void tst_SimulatedWall::linuxCellsGoToTheScreensThatShowThem_data()
{
    QTest::addColumn<QString>("hang");
    QTest::addColumn<QByteArray>("screenMap");
    QTest::addColumn<QStringList>("cellsByPosition"); // wall position order; "" = no picture
    QTest::addColumn<bool>("arranging"); // a new matrix in the arrangement mode

    const QByteArray identity("\x00\x01\x02\x03", 4);
    const QStringList inOrder {"Cell 1", "Cell 2", "Cell 3", "Cell 4"};
    QTest::newRow("straight cabling, straight map")
            << "2x2:1,2,3,4" << identity << inOrder << false;
    QTest::newRow("crossed cabling, straight map: cells land on the wrong screens")
            << "2x2:2,1,4,3" << identity << QStringList({"Cell 2", "Cell 1", "Cell 4", "Cell 3"})
            << false;
    QTest::newRow("crossed cabling, matched map")
            << "2x2:2,1,4,3" << QByteArray("\x01\x00\x03\x02", 4) << inOrder << false;
    // Every screen shows its own number large, and no picture.
    QTest::newRow("arranging, crossed cabling")
            << "2x2:2,1,4,3" << identity << QStringList({"", "", "", ""}) << true;
}

void tst_SimulatedWall::linuxCellsGoToTheScreensThatShowThem()
{
    QFETCH(QString, hang);
    QFETCH(QByteArray, screenMap);
    QFETCH(QStringList, cellsByPosition);
    QFETCH(bool, arranging);

    LinuxWallHang wallHang;
    QString error;
    QVERIFY(LinuxWallHang::parse(hang, &wallHang, &error));
    SimLinuxState state = linuxWall(screenMap);
    if (arranging) {
        state = SimLinuxState(); // a new matrix: no rows, columns or cells
        state.screenMap = screenMap;
        state.cells.resize(4);
        state.arrangeMode = true;
    }
    const WallPicture picture = SimulatedWallScene::linuxPicture(state, wallHang, nullptr, 0);
    QCOMPARE(picture.screens.size(), 4);
    QStringList shown;
    for (int position = 0; position < 4; ++position) {
        const QRectF screen = picture.screens.at(position).rect;
        QCOMPARE(picture.screens.at(position).number, wallHang.outputs.at(position));
        QCOMPARE(picture.screens.at(position).showNumberLarge, arranging);
        QCOMPARE(picture.screens.at(position).hasPicture, !arranging);
        QString label;
        for (const WallWindow &window : picture.windows) {
            if (window.clip == screen)
                label = window.label;
        }
        shown.append(label);
    }
    QCOMPARE(shown, cellsByPosition);
    // Each cell is moved onto its screen in full.
    for (const WallWindow &window : picture.windows)
        QCOMPARE(window.rect, window.clip);
}

void tst_SimulatedWall::linuxSpreadCellTurnShowsAndNames()
{
    SimLinuxState state = linuxWall();
    state.meltedCell = 2;
    state.cells[2].split = 4;
    state.cells[2].channels = {linuxChannel(0, "192.168.10.20", "NVR", 1),
                               linuxChannel(3, "192.168.10.20", "NVR", 4)};
    const WallPicture picture =
            SimulatedWallScene::linuxPicture(state, LinuxWallHang(), nullptr, 0);
    QCOMPARE(picture.windows.size(), 4);
    for (int position = 0; position < 4; ++position) {
        const WallWindow &slice = picture.windows.at(position);
        QCOMPARE(slice.label, QStringLiteral("Cell 3"));
        QCOMPARE(slice.clip, picture.screens.at(position).rect);
        // The whole cell covers the whole wall; each screen shows its quarter.
        QCOMPARE(slice.rect, QRectF(0, 0, 2 * W, 2 * H));
        QCOMPARE(slice.panes.at(position).rect, slice.clip);
    }
    QCOMPARE(picture.windows.first().panes.first().text, QStringLiteral("NVR #1"));
    QCOMPARE(picture.windows.first().panes.last().text, QStringLiteral("NVR #4"));

    // Back on their own screens, a cell's turn show steps and its channels are named.
    state = linuxWall();
    SimLinuxCell &cell = state.cells[0];
    cell.split = 1;
    cell.turnInterval = 5;
    cell.turnState = 0; // running
    cell.channels = {linuxChannel(0, "192.168.10.20", "NVR", 1),
                     linuxChannel(1, "192.168.10.20", "NVR", 2),
                     linuxChannel(2, "10.0.0.9", "", 7)};
    const WallChannelNamer namer = [](const QString &address, int channel) {
        return address == QLatin1String("192.168.10.20") ? QStringLiteral("Lobby %1").arg(channel)
                                                         : QString();
    };
    // Cell 2 shows its third pane alone.
    SimLinuxCell &alone = state.cells[1];
    alone.split = 4;
    alone.channels = {linuxChannel(0, "a", "A", 1), linuxChannel(2, "b", "B", 2)};
    alone.singleWindow = true;
    alone.window = 2;
    WallTurnClock clock;
    const WallPicture named =
            SimulatedWallScene::linuxPicture(state, LinuxWallHang(), &clock, 0, namer);
    const WallWindow *second = windowLabelled(named, QStringLiteral("Cell 2"));
    QCOMPARE(second->panes.size(), 1);
    QCOMPARE(second->panes.first().text, QStringLiteral("B #2"));
    QCOMPARE(second->panes.first().rect, second->rect);

    auto shown = [&](qint64 ms) {
        const WallPicture picture =
                SimulatedWallScene::linuxPicture(state, LinuxWallHang(), &clock, ms, namer);
        return windowLabelled(picture, QStringLiteral("Cell 1"))->panes.first().text;
    };
    QCOMPARE(shown(0), QStringLiteral("Lobby 1"));
    QCOMPARE(shown(5000), QStringLiteral("Lobby 2"));
    QCOMPARE(shown(10000), QStringLiteral("10.0.0.9 #7")); // no name: address and number
    QCOMPARE(shown(15000), QStringLiteral("Lobby 1"));
    cell.turnState = 1; // paused on its second page
    QCOMPARE(shown(50000), QStringLiteral("Lobby 2"));
    QCOMPARE(shown(80000), QStringLiteral("Lobby 2"));
    cell.turnState = 2; // stopped: the first page
    QCOMPARE(shown(81000), QStringLiteral("Lobby 1"));
}

void tst_SimulatedWall::hangIsParsedOrRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("normal");

    QTest::newRow("shape and outputs") << "2x2:2,1,4,3" << true << "2x2:2,1,4,3";
    QTest::newRow("shape only") << "1x4" << true << "1x4:1,2,3,4";
    QTest::newRow("outputs only, four") << "4,3,2,1" << true << "2x2:4,3,2,1";
    QTest::newRow("outputs only, two") << "2,1" << true << "1x2:2,1";
    QTest::newRow("upper-case x and spaces") << " 1X2 : 1, 2 " << true << "1x2:1,2";
    QTest::newRow("too many screens") << "3x2" << false << "";
    QTest::newRow("count does not fit the shape") << "2x2:1,2,3" << false << "";
    QTest::newRow("output twice") << "2x2:1,1,2,3" << false << "";
    QTest::newRow("output out of range") << "1x2:1,5" << false << "";
    QTest::newRow("zero rows") << "0x2" << false << "";
    QTest::newRow("words") << "crossed" << false << "";
    QTest::newRow("empty") << "" << false << "";
}

void tst_SimulatedWall::hangIsParsedOrRefused()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QString, normal);
    LinuxWallHang hang;
    hang.rows = 7; // must stay untouched on refusal
    QString error;
    QCOMPARE(LinuxWallHang::parse(text, &hang, &error), valid);
    if (valid) {
        QCOMPARE(hang.toString(), normal);
    } else {
        QVERIFY(!error.isEmpty());
        QCOMPARE(hang.rows, 7);
    }
}

void tst_SimulatedWall::windowFollowsTheMatrixLive()
{
    MatrixSimulatorOptions options;
    options.x86Port = 0;
    options.linuxPort = -1;
    options.logRequests = false;
    MatrixSimulator simulator;
    QVERIFY2(simulator.start(options), qPrintable(simulator.errorString()));

    SimulatedWallWindow window(&simulator, SimulatedWallWindow::X86Matrix);
    QVERIFY(window.windowTitle().contains(QString::number(simulator.x86Port())));
    // No arrangement yet: every output of the matrix, dark.
    QCOMPARE(window.picture().windows.size(), 0);
    QCOMPARE(window.picture().screens.size(), 8);
    for (const WallScreen &screen : window.picture().screens)
        QVERIFY(!screen.hasPicture);
    QVERIFY(window.picture().title.contains(QLatin1String("no screen arrangement")));

    IMatrixConfig *config = GetMatrixConfig();
    QVERIFY(config);
    QCOMPARE(config->Connect("127.0.0.1", simulator.x86Port()), 0);
    QTRY_COMPARE(config->Login("", ""), 0);
    QCOMPARE(config->SetScreenCount(1, 2), 0);
    QTRY_COMPARE(window.picture().windows.size(), 2);
    QCOMPARE(window.picture().screens.size(), 2);
    QCOMPARE(window.picture().title, QStringLiteral("X86 matrix: 1 x 2 screens"));

    config->Disconnect();
    ReleaseMatrixConfig(config);
    simulator.stop();
    window.refresh();
    QCOMPARE(window.picture().title, QStringLiteral("The matrix simulator is not running"));
}

QTEST_MAIN(tst_SimulatedWall)
#include "tst_simulatedwall.moc"
