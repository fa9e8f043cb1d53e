// The Linux page against the matrix simulator through the real matrix-service library: add a
// server, connect, arrange a 2 x 2 wall by dragging numbers, save, read it back; set
// channels from the area tree, drop one on a pane, split, show a pane alone, spread the cell
// over the wall, start its turn show, reconnect and read the same wall back; firmware
// upgrades run to each of their final statuses.
#include "AdjustCellNumWidget.h"
#include "AreaTreeForMatrixConfig.h"
#include "CellChannelsTableWt.h"
#include "CellForConfigChannels.h"
#include "ChannelWidget.h"
#include "ConfigChannelsWidget.h"
#include "DigitalMatrixServerOperWidget.h"
#include "LinuxDigitalMatrixPage.h"
#include "SplitScreenToolBar.h"

#include "WaitDialog.h"

#include "LinuxMatrixPeer.h"
#include "LinuxWallFixture.h"
#include "MatrixProtocol.h"
#include "MatrixSimulator.h"
#include "LinuxPageHarness.h"
#include "MessageBoxScript.h"
#include "ModalDriver.h"
#include "UserManagerCore.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

using namespace LUMO_DIGITALMATRIX_MODULE;

namespace {

constexpr int UpgradePolls = 3;
// The Linux matrix refuses connections this long after a reboot (ms).
constexpr int RebootMs = 300;

} // namespace

class TestLinuxEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void arrangeAWallAndReadItBack();
    void configureAWallAndReadItBack();
    void upgradeRunsToItsFinalStatus_data();
    void upgradeRunsToItsFinalStatus();
    void refusalKeepsWhatTheMatrixHolds_data();
    void refusalKeepsWhatTheMatrixHolds();
    // What is on air, as the matrix reports it; the cell menus and keys.
    void cellsShowAndChangeWhatTheMatrixHolds();
    void stopAllTurnsEndsRunningAndPausedCells_data();
    void stopAllTurnsEndsRunningAndPausedCells();
    void presetIsRecalledOrTheWallPutBack_data();
    void presetIsRecalledOrTheWallPutBack();

private:
    // One step on cell 0 (the refusal table names them).
    void step(const QString &name);

    LinuxWallFixture f;
};

// Every case starts connected to a matrix with the lobby site.
void TestLinuxEndToEnd::init()
{
    MatrixSimulatorOptions options;
    options.upgradePolls = UpgradePolls;
    options.firmwareVersion = QStringLiteral("1.0.0");
    options.rebootMs = RebootMs;
    f.start(options, QStringLiteral("lobby_site.json"));
    f.connectPage();
}

void TestLinuxEndToEnd::cleanup()
{
    f.stop();
}

void TestLinuxEndToEnd::arrangeAWallAndReadItBack()
{
    MessageBoxScript boxes(1);
    // A new matrix has no grid yet.
    auto *channelGrid = f.grid();
    QVERIFY(!channelGrid->isConfigured());
    QCOMPARE(channelGrid->placeholderText(),
             QString("The matrix has no arrangement of its screens yet: use \"Config Matrix\" "
                     "to arrange them."));
    // A page that only watches cannot arrange: it says only that nothing is arranged.
    f.oper()->connectButton()->click();
    f.button("_watchServerBtn")->click();
    QVERIFY(f.page->isWatching());
    QCOMPARE(channelGrid->placeholderText(),
             QString("The matrix has no arrangement of its screens yet."));
    f.button("_watchServerBtn")->click();
    f.connectPage();
    QCOMPARE(f.simulator->clientCount(), 1);

    // Choose 2 x 2.
    f.arrange(2, 2);
    QTRY_VERIFY(f.simulator->linuxState().arrangeMode);
    auto *grid = f.child<AdjustCellNumWidget>("adjustCellNumWdt");
    QCOMPARE(grid->getCellShowNums(), (QStringList {"1", "2", "3", "4"}));

    // Drag the first number onto the last cell, then the second onto the third.
    auto drag = [grid](int from, int to) {
        QWidget *source = grid->cellAt(from);
        QTest::mousePress(source, Qt::LeftButton, {}, source->rect().center());
        QTest::mouseRelease(source, Qt::LeftButton, {},
                            source->mapFrom(grid, grid->cellAt(to)->geometry().center()));
    };
    drag(0, 3);
    drag(1, 2);
    QCOMPARE(grid->getCellShowNums(), (QStringList {"4", "3", "2", "1"}));

    f.button("saveConfigBt")->click();
    QCOMPARE(boxes.count(), 0);
    QCOMPARE(f.page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusNormal);
    QVERIFY(channelGrid->isConfigured());

    // The simulator holds the arrangement, the screen map and the grid.
    const SimLinuxState state = f.simulator->linuxState();
    QCOMPARE(state.rows, 2);
    QCOMPARE(state.columns, 2);
    QCOMPARE(state.screenMap, QByteArray::fromHex("03020100"));
    QCOMPARE(state.gridRows, 2);
    QCOMPARE(state.gridColumns, 2);
    QCOMPARE(state.grid.size(), 4);
    QVERIFY(!state.arrangeMode);

    // Connected again, the page reads the grid from the matrix.
    f.oper()->connectButton()->click();
    QVERIFY(!channelGrid->isConfigured());
    f.connectPage();
    QVERIFY(channelGrid->isConfigured());
    int rows = 0, columns = 0;
    channelGrid->getRowColumn(rows, columns);
    QCOMPARE(QList<int>({rows, columns}), QList<int>({2, 2}));
    QCOMPARE(channelGrid->getCellShowNums(), (QStringList {"4", "3", "2", "1"}));

    // The other consoles on the matrix are named while they stay.
    auto *label = f.page->findChild<QLabel *>("operatorsLab");
    QVERIFY(label);
    QVERIFY(label->isHidden());
    LinuxMatrixPeer second;
    auto third = std::make_unique<LinuxMatrixPeer>();
    QCOMPARE(second.connectTo(f.simulator->linuxPort(), "console-2"), 0);
    QCOMPARE(third->connectTo(f.simulator->linuxPort(), "<i>console-3</i>"), 0);
    // Asked again every few keep-alives.
    f.page->setKeepAliveInterval(10);
    QTRY_COMPARE_WITH_TIMEOUT(
            label->text(),
            QString("Also on this matrix: admin on console-2, admin on <i>console-3</i>"), 5000);
    QVERIFY(label->isVisible());
    QCOMPARE(label->textFormat(), Qt::PlainText);
    third.reset();
    QTRY_COMPARE_WITH_TIMEOUT(label->text(), QString("Also on this matrix: admin on console-2"),
                              5000);
    QCOMPARE(boxes.count(), 0);

    // Another operator fills cells 0 and 1.
    LinuxMatrixPeer peer;
    QCOMPARE(peer.connectTo(f.simulator->linuxPort()), 0);
    QCOMPARE(peer.setCellChannels(0, 4, f.lobbyChannels(2)), 0);
    QCOMPARE(peer.setCellChannels(1, 4, {}), 0);

    // The same 2 x 2 again: every cell keeps what it holds, and the page shows it.
    f.arrange(2, 2);
    f.button("saveConfigBt")->click();
    QCOMPARE(boxes.count(), 0);
    QCOMPARE(f.simulator->linuxState().cells.at(0).channels.size(), 2);
    QCOMPARE(f.simulator->linuxState().cells.at(1).split, 4);
    QCOMPARE(f.grid()->getCellByIndex(0)->channelMap().keys(), (QList<int> {0, 1}));
    QCOMPARE(f.grid()->getCellByIndex(1)->splitCount(), 4);

    // A new shape clears the cells: declined, nothing is written and the step stays.
    f.arrange(1, 2);
    boxes.answer(0);
    f.button("saveConfigBt")->click();
    QCOMPARE(boxes.texts(),
             QStringList {"The new grid clears the channels of every cell. Save it?"});
    QCOMPARE(f.page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusConfig);
    QCOMPARE(f.simulator->linuxState().rows, 2);
    QCOMPARE(f.simulator->linuxState().cells.at(0).channels.size(), 2);
    f.button("saveConfigBt")->click();
    QCOMPARE(f.simulator->linuxState().gridRows, 1);
    QVERIFY(f.simulator->linuxState().cells.at(0).channels.isEmpty());
    QVERIFY(!f.grid()->getCellByIndex(0)->hasChannels());
    QCOMPARE(f.grid()->cellCount(), 2);
}

void TestLinuxEndToEnd::configureAWallAndReadItBack()
{
    MessageBoxScript boxes(0);
    QVERIFY(!f.grid()->isConfigured());
    f.arrangeAndSave(2, 2);

    // A drag of an item of the area tree onto a pane of a cell; true when it was taken.
    const auto dropOn = [this](CellForConfigChannels *cell, int pane, QTreeWidgetItem *item) {
        f.tree()->getTreeWidget()->clearSelection();
        item->setSelected(true);
        std::unique_ptr<QMimeData> mime(f.tree()->mimeDataForItems({item}));
        const QPoint at = cell->channelWidget(pane)->geometry().center();
        QDragEnterEvent enter(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(cell->getWidget(), &enter);
        QDragMoveEvent over(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(cell->getWidget(), &over);
        QDropEvent drop(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(cell->getWidget(), &drop);
        return over.isAccepted() && drop.isAccepted();
    };
    // The whole lobby area dropped on a pane sets the cell; the turn show offered is declined.
    CellForConfigChannels *cell0 = f.grid()->getCellByIndex(0);
    QVERIFY(dropOn(cell0, 0, f.tree()->areaItem(QStringLiteral("area-a"))));
    QCOMPARE(boxes.texts(), QStringList {"Whether start turn show?"});
    QTRY_COMPARE(f.simulator->linuxState().cells.at(0).channels.size(), 6);

    // Four panes.
    cell0->splitBar()->splitButton(4)->click();
    QTRY_COMPARE(f.simulator->linuxState().cells.at(0).split, 4);
    QCOMPARE(cell0->channelWidget(3)->getChannelItem().channelName, QStringLiteral("Lift hall B"));

    // One channel dropped on the second pane of cell 1, split first; then another over it.
    CellForConfigChannels *cell1 = f.grid()->getCellByIndex(1);
    cell1->splitBar()->splitButton(4)->click();
    QCoreApplication::processEvents();
    for (const char *id : {"b-1", "a-1"}) {
        QVERIFY(dropOn(cell1, 1, f.tree()->channelItem(QLatin1String(id))));
        QTRY_COMPARE(f.simulator->linuxState().cells.at(1).channels.size(), 1);
        const CellChannelRecord held = f.simulator->linuxState().cells.at(1).channels.at(0);
        QCOMPARE(held.position, 1);
        QCOMPARE(QByteArray(held.deviceAddress) + ' ' + held.protocol,
                 QByteArray(id[0] == 'b' ? "N7C3B9 onvif" : "10.1.0.1 qbz"));
        QCOMPARE(cell1->channelWidget(1)->getChannelItem().channelId, QLatin1String(id));
    }

    // Pane 2 of cell 0 alone, then cell 0 over the whole wall.
    QTest::mouseDClick(cell0->channelWidget(2), Qt::LeftButton);
    QTRY_VERIFY(f.simulator->linuxState().cells.at(0).singleWindow);
    QCOMPARE(f.simulator->linuxState().cells.at(0).window, 2);
    QTest::mouseDClick(cell0->channelWidget(2), Qt::LeftButton);
    QTRY_COMPARE(f.simulator->linuxState().meltedCell, 0);
    QCOMPARE(f.grid()->shownCellCount(), 1);

    // The turn show from the cell's menu.
    LinuxPageHarness::rightClick(cell0->channelWidget(2));
    cell0->contextMenu()->hide();
    cell0->findChild<QAction *>("turnShowStartAction")->trigger();
    QTRY_COMPARE(f.simulator->linuxState().cells.at(0).turnState, 0);
    QCOMPARE(int(cell0->turnState()), 0);
    QCOMPARE(boxes.count(), 1);
    step("time"); // 45 s, not the matrix's default

    // Reconnect: the page reads the same wall back, and reading writes nothing.
    const QString before = f.held();
    QVERIFY(before.contains(" 0: split 4 turn 0 every 45 alone 2 "));
    f.oper()->connectButton()->click();
    QVERIFY(!f.grid()->isConfigured());
    f.connectPage();
    QCOMPARE(f.held(), before);
    QCOMPARE(f.shown(), before);
    QCOMPARE(f.grid()->shownCellCount(), 1);
    CellForConfigChannels *loaded = f.grid()->getCellByIndex(0);
    QVERIFY(loaded->isOnWall());
    QStringList names;
    for (const CellChannelItem &item : loaded->channelMap())
        names << item.channelId + QLatin1Char(' ') + item.channelName;
    QCOMPARE(names,
             (QStringList {"a-1 Entrance", "a-2 Reception", "a-3 Lift hall A", "a-4 Lift hall B",
                           "a-5 Stairs", "a-6 Back door"}));
    QCOMPARE(loaded->visiblePaneCount(), 1);
    QCOMPARE(loaded->turnInterval(), 45);
    QVERIFY(loaded->channelWidget(0)->isTurning());
    // Only the cell of screen 1 offers 9 and 16 panes.
    QVERIFY(!loaded->splitBar()->splitButton(9)->isHidden());
    QVERIFY(f.grid()->getCellByIndex(1)->splitBar()->splitButton(16)->isHidden());
    QCOMPARE(f.grid()->getCellByIndex(1)->channelWidget(1)->getChannelItem().channelName,
             QStringLiteral("Entrance"));

    // Spreading waits for the turn show: declined, nothing changes; accepted, the turn show
    // stops and the cell comes back.
    const QString offer = QStringLiteral("Forbid to melting flat while turn show! Stop the turn "
                                         "show and melt flat?");
    QTest::mouseDClick(loaded->channelWidget(2), Qt::LeftButton);
    QCOMPARE(boxes.texts().last(), offer);
    QCOMPARE(f.simulator->linuxState().cells.at(0).turnState, 0);
    QCOMPARE(f.simulator->linuxState().meltedCell, 0);
    boxes.answer(1);
    QTest::mouseDClick(loaded->channelWidget(2), Qt::LeftButton);
    QCOMPARE(boxes.texts().last(), offer);
    QTRY_COMPARE(f.simulator->linuxState().cells.at(0).turnState, 2);
    QTRY_COMPARE(f.simulator->linuxState().meltedCell, -1);
    QVERIFY(!f.simulator->linuxState().cells.at(0).singleWindow);
    QCOMPARE(f.grid()->shownCellCount(), 4);
    QCOMPARE(loaded->visiblePaneCount(), 4);
}

void TestLinuxEndToEnd::upgradeRunsToItsFinalStatus_data()
{
    QTest::addColumn<int>("typeIndex");
    QTest::addColumn<QString>("url");
    // While it runs: nothing, the matrix stops, the matrix reboots and refuses connections
    // for a while (the page logs in again once it is back and watches on).
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("version"); // after the end; empty: not looked at
    const QString finished = QStringLiteral("Linux matrix upgrade finished! Please poweroff to "
                                            "restart!");
    const auto row = [](const char *name, int type, const char *url, const char *fault,
                        const QString &message, const char *version) {
        QTest::newRow(name) << type << QString::fromLatin1(url) << QString::fromLatin1(fault)
                            << message << QString::fromLatin1(version);
    };
    row("finished", 1, "http://updates.local/fw-2.0.0.bin", "", finished, "2.0.0");
    row("not found", 1, "http://updates.local/readme.txt", "", "Upgrade resource not found!",
        "1.0.0");
    row("latest", 2, "ftp://updates.local/fw-1.0.0.bin", "", "already the latest vertion!",
        "1.0.0");
    row("matrix gone", 1, "http://updates.local/fw-3.bin", "stop",
        "The matrix could not be reached during the upgrade: its result is unknown!", "");
    row("matrix reboots", 1, "http://updates.local/fw-2.0.0.bin", "reboot", finished, "2.0.0");
}

void TestLinuxEndToEnd::upgradeRunsToItsFinalStatus()
{
    QFETCH(int, typeIndex);
    QFETCH(QString, url);
    QFETCH(QString, fault);
    QFETCH(QString, message);
    QFETCH(QString, version);
    MessageBoxScript boxes(1);
    // A reboot outlasts a few polls.
    f.page->setUpgradePollInterval(fault.isEmpty()                            ? 600000
                                           : fault == QLatin1String("reboot") ? RebootMs / 2
                                                                              : 20);

    LinuxPageHarness::runUpgrade(f.button("upgradeBt"), typeIndex, url);
    QVERIFY(f.page->isUpgradePolling());
    QVERIFY(f.oper()->isServerConnectOK());
    COMMONUSELIB::WaitDialog *wait = COMMONUSELIB::WaitDialog::getInstance();
    QCOMPARE(wait->text(), QStringLiteral("Upgrading..."));
    QCOMPARE(wait->detail(),
             QStringLiteral("Firmware from %1 (updates.local)")
                     .arg(QLatin1String(typeIndex == 1 ? "HTTP" : "FTP")));
    QCOMPARE(f.simulator->linuxState().upgradeUrl, url);
    // Until the upgrade ends nothing else can reach the matrix.
    for (const char *name : {"rebootBt", "resetBt", "upgradeBt", "configMatrixBt"})
        QVERIFY2(!f.button(name)->isEnabled(), name);
    QVERIFY(!f.oper()->connectButton()->isEnabled());
    QVERIFY(!f.child<QWidget>("serverSelWdt")->isEnabled());
    if (fault == QLatin1String("stop"))
        f.simulator->stop();
    else if (fault == QLatin1String("reboot"))
        f.simulator->rebootLinux();
    // What the wait showed before each poll; without a fault the polls are driven by hand.
    QList<int> shown;
    while (fault.isEmpty() && f.page->isUpgradePolling() && shown.size() < 10) {
        shown << wait->waitProgress();
        QMetaObject::invokeMethod(f.page.get(), "slotGetUpgradeProcessTimeout");
    }
    QCOMPARE(shown, (fault.isEmpty() ? QList<int> {0, 33, 66} : QList<int>()));

    QTRY_VERIFY_WITH_TIMEOUT(!f.page->isUpgradePolling(), 10000);
    QCOMPARE(boxes.texts(), QStringList {message});
    QVERIFY(!f.oper()->isServerConnectOK());
    QVERIFY(!wait->isWaiting());
    if (!version.isEmpty()) {
        const SimLinuxState state = f.simulator->linuxState();
        QVERIFY(state.upgradeFinished);
        QCOMPARE(state.upgradePollsDone, UpgradePolls);
        QCOMPARE(state.firmwareVersion, version);
    }
    if (fault != QLatin1String("stop"))
        QTRY_COMPARE(f.simulator->clientCount(), 0);
    // The hint line tells the firmware before and after a new one.
    if (version == QLatin1String("2.0.0"))
        QCOMPARE(f.oper()->connectServerHint(),
                 QStringLiteral("Firmware before the upgrade: 1.0.0, after: 2.0.0"));
    if (fault == QLatin1String("reboot")) {
        // Once the matrix is back, the operator connects again.
        QVERIFY(f.reconnectWithin(RebootMs * 10));
        QCOMPARE(boxes.count(), 1);
    }
}

void TestLinuxEndToEnd::step(const QString &name)
{
    CellForConfigChannels *cell = f.grid()->getCellByIndex(0);
    if (name == QLatin1String("set")) {
        f.grid()->setChannelsToCell({f.channel("a-6", -1), f.channel("b-1", -1)}, 0);
    } else if (name == QLatin1String("add") || name == QLatin1String("replace")) {
        f.grid()->setChannelToCellPane(f.channel("a-6", name == QLatin1String("add") ? 3 : 1), 0);
    } else if (name == QLatin1String("split")) {
        cell->splitBar()->splitButton(9)->click();
    } else if (name == QLatin1String("alone")) {
        QTest::mouseDClick(cell->channelWidget(2), Qt::LeftButton);
    } else if (name == QLatin1String("spread")) {
        f.grid()->slotCellDoubleClicked(0);
    } else if (name == QLatin1String("time")) {
        QString preset;
        ModalDriver driver([&preset](QWidget *modal) {
            auto *field = modal->findChild<QLineEdit *>("turnShowTimeLineEt");
            preset = field->text();
            field->setText(QStringLiteral("45"));
            modal->findChild<QPushButton *>("setBt")->click();
        });
        driver.start();
        cell->findChild<QAction *>("turnShowTimeSetAction")->trigger();
        driver.stop();
        QCOMPARE(preset, QStringLiteral("30"));
    } else if (name == QLatin1String("delete")) {
        LinuxPageHarness::rightClick(cell->channelWidget(1));
        cell->contextMenu()->hide();
        cell->findChild<QAction *>("deleteChannelAction")->trigger();
    } else {
        const QStringList turns {"start", "stop", "pause"};
        QVERIFY2(turns.contains(name), qPrintable(name));
        cell->turnShowOperate(CellTurnCode(turns.indexOf(name)));
    }
}

void TestLinuxEndToEnd::refusalKeepsWhatTheMatrixHolds_data()
{
    QTest::addColumn<QStringList>("steps"); // the last one is refused
    QTest::addColumn<int>("request");
    QTest::addColumn<QStringList>("told");
    const auto row = [](const char *tag, const QStringList &steps, quint16 request,
                        const QStringList &told) {
        QTest::newRow(tag) << steps << int(request) << told;
    };
    using namespace MatrixProtocol;
    row("channels into the cell", {"set"}, LinuxSetCellChannels, {"set cell channels fail!"});
    row("channel on a free pane", {"add"}, LinuxAddCellChannel, {"add channel to cell fail"});
    row("channel replaced", {"replace"}, LinuxModifyCellChannel, {"modify cell channel fail"});
    row("split", {"split"}, LinuxSetCellSplit, {"split screen fail!"});
    row("pane alone", {"alone"}, LinuxSetCellSingleWindow, {"Show single window fail!"});
    row("spread", {"spread"}, LinuxSetCellMelt, {"Melting flat fail!"});
    row("spread taken back", {"spread", "spread"}, LinuxSetCellMelt, {"Cancel melting flat fail!"});
    row("turn show started", {"start"}, LinuxSetCellTurnShow, {"Start turn show fail!"});
    row("turn show paused", {"start", "pause"}, LinuxSetCellTurnShow, {"Pause turn show fail!"});
    row("turn show stopped", {"start", "stop"}, LinuxSetCellTurnShow, {"Stop turn show fail!"});
    row("turn show time", {"start", "pause", "time"}, LinuxSetCellTurnShow,
        {"Set turn show time fail!"});
    row("channel deleted", {"delete"}, LinuxDeleteCellChannel,
        {"Make sure delete the channel:Reception?", "Delete channel from cell fail!"});
}

void TestLinuxEndToEnd::refusalKeepsWhatTheMatrixHolds()
{
    QFETCH(QStringList, steps);
    QFETCH(int, request);
    QFETCH(QStringList, told);
    MessageBoxScript boxes(1);
    f.arrangeAndSave(2, 2);
    // Five channels in four panes, position 3 free.
    QVERIFY(f.cellSetByAnotherOperator(0,
                                       {f.channel("a-1", 0), f.channel("a-2", 1),
                                        f.channel("a-3", 2), f.channel("a-4", 4),
                                        f.channel("a-5", 5)}));
    // The panes take their places before anything points at them.
    QTRY_COMPARE(f.grid()->shownCellCount(), 4);
    QCoreApplication::processEvents();
    for (int k = 0; k + 1 < steps.size(); ++k)
        step(steps.at(k));
    const QString before = f.held();
    QCOMPARE(f.shown(), before);
    boxes.clearRecords();
    f.refuse(quint16(request));
    step(steps.last());
    QCOMPARE(boxes.texts(), told);
    QCOMPARE(f.held(), before);
    QCOMPARE(f.shown(), before);
}

void TestLinuxEndToEnd::cellsShowAndChangeWhatTheMatrixHolds()
{
    MessageBoxScript boxes(1);
    f.arrangeAndSave(1, 1);
    CellForConfigChannels *cell = f.cellSetByAnotherOperator(0, f.lobbyChannels(6));
    QVERIFY(cell);
    f.page->setKeepAliveInterval(20);
    cell->findChild<QAction *>("turnShowStartAction")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(f.simulator->linuxState().cells.at(0).turnState, 0,
                              LinuxWallFixture::Timeout);
    auto positionsOnAir = [cell] {
        QList<int> positions;
        for (int pane = 0; pane < 4; ++pane)
            positions << cell->channelWidget(pane)->getChannelItem().position;
        return positions;
    };
    QCOMPARE(positionsOnAir(), (QList<int> {0, 1, 2, 3}));
    QCOMPARE(cell->channelWidget(0)->getCaption(), QStringLiteral("page 1 of 2, every 30 s"));

    // The matrix steps the show; the page learns the step and names the page on air.
    f.simulator->stepTurnShows();
    QTRY_COMPARE_WITH_TIMEOUT(positionsOnAir(), (QList<int> {4, 5, -1, -1}),
                              LinuxWallFixture::Timeout);
    QCOMPARE(cell->channelWidget(0)->getCaption(), QStringLiteral("page 2 of 2, every 30 s"));
    QCOMPARE(cell->channelWidget(0)->getChannelItem().channelId, QStringLiteral("a-5"));
    QVERIFY(cell->channelWidget(2)->displayText().isEmpty());
    QCOMPARE(boxes.count(), 0);

    // Paused, the show takes a new interval and stays paused; a new split stops it.
    step("pause");
    step("time");
    QVERIFY(f.held().contains(" 0: split 4 turn 1 every 45 "));
    QCOMPARE(f.shown(), f.held());
    step("split");
    QVERIFY(f.held().contains(" 0: split 9 turn 2 every 45 "));
    QCOMPARE(f.shown(), f.held());

    // Three channels set again by another operator.
    cell = f.cellSetByAnotherOperator(0, f.lobbyChannels(3));
    QVERIFY(cell);
    // On a wall of one cell a double click shows the pane alone and the next all panes
    // again (nothing spreads).
    for (bool alone : {true, false, true}) {
        QTest::mouseDClick(cell->channelWidget(2), Qt::LeftButton);
        QTRY_COMPARE(f.simulator->linuxState().cells.at(0).singleWindow, alone);
        QCOMPARE(cell->visiblePaneCount(), alone ? 1 : 4);
    }
    QCOMPARE(f.simulator->linuxState().meltedCell, -1);

    const QString before = f.held();
    f.refuse(MatrixProtocol::LinuxSetCellSingleWindow);
    QTest::mouseDClick(cell->channelWidget(2), Qt::LeftButton);
    QCOMPARE(boxes.texts(), QStringList {"Show all windows fail!"});
    QCOMPARE(f.held(), before);
    QCOMPARE(f.shown(), before);
    QCOMPARE(cell->visiblePaneCount(), 1);

    // On a 2 x 2 wall: the lobby entrance twice, and a channel the data centre does not know.
    f.simulator->setFaults(MatrixSimulatorFaults());
    f.arrangeAndSave(2, 2);
    cell = f.cellSetByAnotherOperator(
            0, {f.channel("a-1", 0), f.channel("a-1", 1), f.channel("gone", 2)});
    QVERIFY(cell);
    QCOMPARE(cell->channelMap().size(), 3);

    QStringList rows;
    int rowsLeft = -1;
    ModalDriver driver([&](QWidget *modal) {
        auto *table = modal->findChild<CellChannelsTableWt *>();
        for (int row = 0; row < table->rowCount(); ++row)
            rows << table->item(row, 1)->text();
        modal->findChild<QPushButton *>("clearBt")->click();
        rowsLeft = table->rowCount();
    });
    driver.start();
    cell->findChild<QAction *>("checkChannelsAction")->trigger();
    QVERIFY(driver.ran());
    QCOMPARE(rows, (QStringList {"Entrance", "Entrance", "Unknown channel"}));
    QCOMPARE(rowsLeft, 0);
    QVERIFY(f.simulator->linuxState().cells.at(0).channels.isEmpty());
    QVERIFY(!cell->hasChannels());

    // A pane shown alone and deleted: the cell shows every pane again.
    cell = f.cellSetByAnotherOperator(0, f.lobbyChannels(3));
    QVERIFY(cell);
    QTest::mouseDClick(cell->channelWidget(2), Qt::LeftButton);
    QTRY_VERIFY(f.simulator->linuxState().cells.at(0).singleWindow);
    QCOMPARE(cell->visiblePaneCount(), 1);

    LinuxPageHarness::rightClick(cell->channelWidget(2));
    cell->contextMenu()->hide();
    cell->findChild<QAction *>("deleteChannelAction")->trigger();
    QCOMPARE(f.simulator->linuxState().cells.at(0).channels.size(), 2);
    QVERIFY(!f.simulator->linuxState().cells.at(0).singleWindow);
    QCOMPARE(cell->singlePane(), -1);
    QCOMPARE(cell->visiblePaneCount(), 4);

    // An empty pane has nothing to delete and a declined deletion nothing to do; a confirmed
    // one stops the turn show first.
    QVERIFY(cell->turnShowOperate(CellTurnCode::TurnStart));
    QCoreApplication::processEvents(); // the panes take their places again
    const QString held = f.held();
    boxes.clearRecords();
    boxes.answers({1, 0}); // the notice, the declined question
    for (int pane : {3, 1, 1}) {
        LinuxPageHarness::rightClick(cell->channelWidget(pane));
        cell->contextMenu()->hide();
        cell->findChild<QAction *>("deleteChannelAction")->trigger();
        if (boxes.count() == 2)
            QCOMPARE(f.held(), held);
    }
    const QString ask = QStringLiteral("Make sure delete the channel:Reception?");
    QCOMPARE(boxes.texts(), (QStringList {"no channel is selected!", ask, ask}));
    QCOMPARE(boxes.last().buttons, short(3));
    QCOMPARE(f.simulator->linuxState().cells.at(0).channels.size(), 1);
    QCOMPARE(f.simulator->linuxState().cells.at(0).turnState, 2);
    QCOMPARE(f.shown(), f.held());

    // The keys on a wall whose cell 3 holds channels.
    cell = f.cellSetByAnotherOperator(3, f.lobbyChannels(2));
    QVERIFY(cell);
    boxes.clearRecords();
    ConfigChannelsWidget *grid = f.grid();
    // The first arrow checks the first cell; then right, down (and not beyond the grid).
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(grid->checkedIndex(), 0);
    QTest::keyClick(grid, Qt::Key_Right);
    QTest::keyClick(grid, Qt::Key_Right);
    QCOMPARE(grid->checkedIndex(), 1);
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(grid->checkedIndex(), 3);
    QVERIFY(cell->isWidgetChecked());
    QVERIFY(!grid->getCellByIndex(0)->isWidgetChecked());

    // Enter opens the menu of the checked cell; what it deletes is that cell's.
    QTest::keyClick(grid, Qt::Key_Return);
    QTRY_VERIFY(cell->contextMenu()->isVisible());
    cell->contextMenu()->hide();
    cell->findChild<QAction *>("deleteAllChannelsAction")->trigger();
    QCOMPARE(boxes.texts(), QStringList {"Make sure clear cell channels?"});
    QTRY_VERIFY(f.simulator->linuxState().cells.at(3).channels.isEmpty());
    QVERIFY(!cell->hasChannels());

    // In the arrangement step the channel grid is away and the keys do nothing to it.
    f.arrange(2, 2);
    QTest::keyClick(grid, Qt::Key_Left);
    QCOMPARE(grid->checkedIndex(), 3);
}

void TestLinuxEndToEnd::stopAllTurnsEndsRunningAndPausedCells_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<short>("answer");
    QTest::newRow("declined") << "button" << short(0);
    QTest::newRow("accepted") << "button" << short(1);
    QTest::newRow("refused by the matrix") << "refused" << short(1);
    QTest::newRow("spreading a cell, accepted") << "spread" << short(1);
    QTest::newRow("spreading a cell, declined") << "spread" << short(0);
}

void TestLinuxEndToEnd::stopAllTurnsEndsRunningAndPausedCells()
{
    QFETCH(QString, how);
    QFETCH(short, answer);
    MessageBoxScript boxes(0);
    f.arrangeAndSave(2, 2);
    // Nothing turns yet: the button says so and sends nothing.
    QPushButton *stopAll = f.button("stopAllTurnsBt");
    QVERIFY(stopAll && stopAll->isVisible());
    stopAll->click();
    QCOMPARE(boxes.texts(), QStringList {"No turn show runs on the wall."});

    // Cell 2 turns, cell 1 turns paused, cell 3 shows its channels without a turn show.
    const QList<CellChannelItem> five = f.lobbyChannels(5);
    QVERIFY(f.cellSetByAnotherOperator(2, five.mid(0, 3)));
    QVERIFY(f.cellSetByAnotherOperator(1, five));
    CellForConfigChannels *running = f.cellSetByAnotherOperator(0, five);
    QVERIFY(running);
    CellForConfigChannels *paused = f.grid()->getCellByIndex(1);
    CellForConfigChannels *still = f.grid()->getCellByIndex(2);
    QVERIFY(running->turnShowOperate(CellTurnCode::TurnStart));
    QVERIFY(paused->turnShowOperate(CellTurnCode::TurnStart));
    QVERIFY(paused->turnShowOperate(CellTurnCode::TurnPause));
    QVERIFY(f.held().contains(" 0: split 4 turn 0 ") && f.held().contains(" 1: split 4 turn 1 "));

    if (how == QLatin1String("refused"))
        f.refuse(MatrixProtocol::LinuxSetCellTurnShow);
    boxes.clearRecords();
    boxes.answer(answer);
    QString before = f.held();
    QString question = QStringLiteral("Do you want to stop every turn show on the wall?");
    if (how == QLatin1String("spread")) {
        // The first double click shows the pane alone, the second spreads the cell.
        QTest::mouseDClick(still->channelWidget(1), Qt::LeftButton);
        QTRY_VERIFY(f.simulator->linuxState().cells.at(2).singleWindow);
        before = f.held();
        QTest::mouseDClick(still->channelWidget(1), Qt::LeftButton);
        question = QStringLiteral("Forbid to melting flat while some cells turn show! Stop the "
                                  "turn shows and melt flat?");
    } else {
        stopAll->click();
    }

    QStringList told {question};
    if (how == QLatin1String("refused"))
        told << QStringLiteral("Stop turn show fail!");
    QCOMPARE(boxes.texts(), told);
    // Stopped, every cell keeps its channels; the page shows what the matrix holds.
    const bool stops = answer == 1 && how != QLatin1String("refused");
    const bool spread = stops && how == QLatin1String("spread");
    if (stops)
        before.replace(" turn 0 ", " turn 2 ").replace(" turn 1 ", " turn 2 ");
    if (spread)
        before.replace("spread -1;", "spread 2;");
    QCOMPARE(f.held(), before);
    QCOMPARE(f.shown(), before);
    QCOMPARE(running->channelWidget(0)->isTurning(), !stops);
    QTRY_COMPARE(f.grid()->shownCellCount(), spread ? 1 : 4);
}

void TestLinuxEndToEnd::presetIsRecalledOrTheWallPutBack_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("told");
    QTest::newRow("recalled") << "recalled" << QString();
    QTest::newRow("refused half way") << "refused"
                                      << "The matrix refused the pane shown alone in cell 2. The "
                                         "wall was put back as it was.";
    const QString misfit = "The preset \"Day\" no longer fits the matrix. Missing: the grid of "
                           "2 x 2 cells (this wall has 1 x 2), cell 3, cell 4.\n\nApply the "
                           "rest of the preset?";
    QTest::newRow("another grid, not applied") << "grid" << misfit;
    QTest::newRow("another grid, what fits applied") << "fits" << misfit;
}

void TestLinuxEndToEnd::presetIsRecalledOrTheWallPutBack()
{
    QFETCH(QString, how);
    QFETCH(QString, told);
    MessageBoxScript boxes(1);
    f.arrangeAndSave(2, 2);
    // Saved: cell 1 turns through five channels, cell 2 holds three, its third pane alone.
    QVERIFY(f.cellSetByAnotherOperator(1, f.lobbyChannels(3)));
    CellForConfigChannels *first = f.cellSetByAnotherOperator(0, f.lobbyChannels(5));
    QVERIFY(first && first->turnShowOperate(CellTurnCode::TurnStart));
    QTest::mouseDClick(f.grid()->getCellByIndex(1)->channelWidget(2), Qt::LeftButton);
    QTRY_VERIFY(f.simulator->linuxState().cells.at(1).singleWindow);
    const QString saved = f.held();
    f.answerName(f.presetAction(f.page.get(), QString()), QStringLiteral("Day"));
    const QString server = DATACore::UserManagerCore::instance()->GetServers(QString()).at(0).id;
    QCOMPARE(DATACore::UserManagerCore::instance()->wallPresetNames(server), QStringList {"Day"});

    // Another operator changes both cells; or the wall gets another grid.
    const bool otherGrid = how == QLatin1String("grid") || how == QLatin1String("fits");
    if (otherGrid) {
        f.arrangeAndSave(1, 2);
    } else {
        QVERIFY(f.cellSetByAnotherOperator(1, {f.channel("a-6", 0)}));
        QVERIFY(f.cellSetByAnotherOperator(0, {f.channel("b-1", 1)}));
    }
    if (how == QLatin1String("recalled")) {
        // This operator shows a pane alone: a step of the undo list.
        QTest::mouseDClick(f.grid()->getCellByIndex(1)->channelWidget(0), Qt::LeftButton);
        QTRY_VERIFY(f.simulator->linuxState().cells.at(1).singleWindow);
        QTRY_VERIFY(f.button("undoLayoutBt")->isEnabled());
    }
    const QString changed = f.held();
    QVERIFY(changed != saved);
    if (how == QLatin1String("refused"))
        f.refuse(MatrixProtocol::LinuxSetCellSingleWindow);
    boxes.clearRecords();
    if (otherGrid)
        boxes.answers({1, how == QLatin1String("fits") ? 1 : 0});
    QAction *recall = f.presetAction(f.page.get(), QStringLiteral("Day"), "recallPresetAction");
    QVERIFY(recall);
    recall->trigger();
    QStringList texts {QStringLiteral("Do you want to recall the preset \"Day\"?")};
    if (!told.isEmpty())
        texts << told;
    QCOMPARE(boxes.texts(), texts);
    if (how == QLatin1String("fits")) {
        // The top row has its channels again; the bottom row has no place on this wall.
        const SimLinuxState state = f.simulator->linuxState();
        QCOMPARE(state.cells.at(0).channels.size(), 5);
        QCOMPARE(state.cells.at(1).channels.size(), 3);
        QCOMPARE(state.cells.at(1).channels.at(1).channelNo, 2);
    } else {
        QCOMPARE(f.held(), how == QLatin1String("recalled") ? saved : changed);
    }
    QCOMPARE(f.shown(), f.held());
    // A recall replaced the wall: nothing before it is undone step by step.
    QVERIFY(!f.button("undoLayoutBt")->isEnabled());
    if (how != QLatin1String("recalled"))
        return;

    // Renamed, then deleted.
    f.answerName(f.presetAction(f.page.get(), QStringLiteral("Day"), "renamePresetAction"),
                 QStringLiteral("Night"));
    QCOMPARE(DATACore::UserManagerCore::instance()->wallPresetNames(server), QStringList {"Night"});
    f.presetAction(f.page.get(), QStringLiteral("Night"), "deletePresetAction")->trigger();
    QCOMPARE(boxes.texts().last(), QStringLiteral("Do you want to delete the preset \"Night\"?"));
    QVERIFY(DATACore::UserManagerCore::instance()->wallPresetNames(server).isEmpty());
    QVERIFY(!f.presetAction(f.page.get(), QStringLiteral("Night"), "recallPresetAction"));
}

QTEST_MAIN(TestLinuxEndToEnd)
#include "tst_linuxe2e.moc"
