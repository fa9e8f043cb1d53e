// The Linux page against the matrix simulator through the real matrix-service library: add a
// server, connect, arrange a 2 x 2 wall by dragging numbers, save, read it back, reboot; set
// channels from the area tree, drop one on a pane, split, show a pane alone, spread the cell
// over the wall, start its turn show, reconnect and read the same wall back; firmware
// upgrades run to each of their final statuses.
//
// With DM_SCREENSHOT_DIR set, the page is saved there as PNG pictures along the way.
#include "AdjustCellNumWidget.h"
#include "AreaTreeForMatrixConfig.h"
#include "CellChannelsCheckDlg.h"
#include "CellChannelsTableWt.h"
#include "CellForConfigChannels.h"
#include "ChannelWidget.h"
#include "ChannelsOperWidget.h"
#include "ConfigChannelsWidget.h"
#include "DigitalMatrixInteractionPort.h"
#include "DigitalMatrixServerOperWidget.h"
#include "LinuxDigitalMatrixPage.h"
#include "MatrixOperButtonsWt.h"
#include "MatrixServerSelWidget.h"
#include "SplitScreenToolBar.h"

#include "CanSelectWithNumWidget.h"
#include "IpAddressFrame.h"
#include "WaitDialog.h"

#include "LinuxMatrixPeer.h"
#include "LinuxWallFixture.h"
#include "MatrixProtocol.h"
#include "MatrixSimulator.h"
#include "MessageBoxScript.h"
#include "LinuxPageHarness.h"
#include "ModalDriver.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTreeWidget>
#include <QLabel>
#include <QtTest>

#include <memory>

using namespace LUMO_DIGITALMATRIX_MODULE;

namespace {

constexpr int U = DigitalMatrixInteractionPort::ScreenUnit;
constexpr int UpgradePolls = 3;

MatrixSimulatorOptions rebootOptions()
{
    MatrixSimulatorOptions options;
    options.rebootMs = 400;
    return options;
}

} // namespace

class TestLinuxEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void arrangeAWallAndReboot();
    void configureAWallAndReadItBack();
    void upgradeRunsToItsFinalStatus_data();
    void upgradeRunsToItsFinalStatus();
    void savingTheSameGridKeepsTheCells();
    void checkDialogListsAndClearsEveryPosition();
    void deletingThePaneShownAloneShowsEveryPane();
    void refusedReturnToAllPanesKeepsThePaneAlone();
    void otherConsolesAreListed();

private:
    void screenshot(const QString &name);

    LinuxWallFixture f;
};

// Every case but the first starts on a matrix with the lobby site and a server record for it.
void TestLinuxEndToEnd::init()
{
    if (QTest::currentTestFunction() == QLatin1String("arrangeAWallAndReboot"))
        return;
    MatrixSimulatorOptions options;
    options.upgradePolls = UpgradePolls;
    options.firmwareVersion = QStringLiteral("1.0.0");
    f.start(options, QStringLiteral("lobby_site.json"));
}

void TestLinuxEndToEnd::cleanup()
{
    f.stop();
}

void TestLinuxEndToEnd::arrangeAWallAndReboot()
{
    f.start(rebootOptions(), QString(), false);
    if (QTest::currentTestFailed())
        return;
    f.page = std::make_unique<LinuxDigitalMatrixPage>();
    f.page->resize(1000, 640);
    f.page->show();
    MessageBoxScript boxes(1);

    // Add the simulator's Linux matrix as a server.
    ModalDriver addDriver([this](QWidget *modal) {
        modal->findChild<QLineEdit *>("nameLineEt")->setText(QStringLiteral("Sim"));
        modal->findChild<COMMONUSELIB::IpAddressFrame *>()->setIp(QStringLiteral("127.0.0.1"));
        modal->findChild<QLineEdit *>("portLineEt")
                ->setText(QString::number(f.simulator->linuxPort()));
        modal->findChild<QLineEdit *>("userLineEt")->setText(QStringLiteral("admin"));
        modal->findChild<QLineEdit *>("passwordLineEt")->setText(QStringLiteral("admin"));
        modal->findChild<QPushButton *>("saveBt")->click();
    });
    addDriver.start();
    f.child<MatrixServerSelWidget>("serverSelWdt")->addButton()->click();
    QVERIFY(addDriver.ran());
    QTRY_COMPARE(f.page->matrixServers().size(), 1);
    QTRY_COMPARE(f.page->currentServerIndex(), 0);

    // Connect: a new matrix has no grid yet.
    f.oper()->connectButton()->click();
    QCOMPARE(f.oper()->connectServerHint(), QStringLiteral("Digital matrix server connect ok!"));
    auto *channelGrid = f.child<ConfigChannelsWidget>("configChannelsWdt");
    QVERIFY(!channelGrid->isConfigured());
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
    for (int k = 0; k < 4; ++k) {
        const ScreenRegion &region = state.grid.at(k);
        QCOMPARE(region.index, k);
        QCOMPARE(region.melt, 0);
        QCOMPARE(region.left, (k % 2) * U);
        QCOMPARE(region.top, (k / 2) * U);
        QCOMPARE(region.width, U);
        QCOMPARE(region.height, U);
    }
    QVERIFY(!state.arrangeMode);

    // Read back through the page: disconnect, connect, and the grid comes from the matrix.
    f.oper()->connectButton()->click();
    QVERIFY(!channelGrid->isConfigured());
    f.oper()->connectButton()->click();
    QCOMPARE(f.oper()->connectServerHint(), QStringLiteral("Digital matrix server connect ok!"));
    QVERIFY(channelGrid->isConfigured());
    int rows = 0, columns = 0;
    channelGrid->getRowColumn(rows, columns);
    QCOMPARE(rows, 2);
    QCOMPARE(columns, 2);
    QCOMPARE(channelGrid->getCellShowNums(), (QStringList {"4", "3", "2", "1"}));

    // Reboot: the page is disconnected and its wall disabled.
    boxes.clearRecords();
    f.button("rebootBt")->click();
    QCOMPARE(boxes.texts(), QStringList {"Do you want to reboot matrix server?"});
    QVERIFY(!f.oper()->isServerConnectOK());
    QVERIFY(!f.oper()->connectButton()->isChecked());
    QVERIFY(!f.child<MatrixOperButtonsWt>("operButtonsWt")->isEnabled());
    QVERIFY(!channelGrid->isConfigured());
    QTRY_COMPARE(f.simulator->clientCount(), 0);

    // While the matrix restarts it refuses; afterwards it connects with the wall kept.
    f.oper()->connectButton()->click();
    QCOMPARE(f.oper()->connectServerHint(),
             QStringLiteral("Digital matrix server connect fail! The matrix is restarting or "
                            "upgrading, try again later."));
    QVERIFY(QTest::qWaitFor(
            [this] {
                f.oper()->connectButton()->click();
                if (f.oper()->isServerConnectOK())
                    return true;
                QTest::qWait(50);
                return false;
            },
            5000));
    QCOMPARE(channelGrid->getCellShowNums(), (QStringList {"4", "3", "2", "1"}));
}

void TestLinuxEndToEnd::screenshot(const QString &name)
{
    const QString target = qEnvironmentVariable("DM_SCREENSHOT_DIR");
    if (target.isEmpty())
        return;
    QCoreApplication::processEvents();
    QVERIFY(f.page->grab().save(QDir(target).filePath(name + QStringLiteral(".png"))));
}

void TestLinuxEndToEnd::configureAWallAndReadItBack()
{
    MessageBoxScript boxes(0);
    f.connectPage();
    QVERIFY(!f.grid()->isConfigured());
    f.arrangeAndSave(2, 2);

    // The whole lobby area into cell 0, declining the turn show offered.
    f.tree()->getTreeWidget()->clearSelection();
    f.tree()->areaItem(QStringLiteral("area-a"))->setSelected(true);
    CellForConfigChannels *cell0 = f.grid()->getCellByIndex(0);
    QTest::mouseClick(cell0, Qt::LeftButton, {}, QPoint(4, 4));
    QCOMPARE(f.grid()->checkedIndex(), 0);
    f.child<ChannelsOperWidget>("channelsOperWdt")->setChannelsButton()->click();
    QCOMPARE(boxes.texts(), QStringList {"Whether start turn show?"});
    QTRY_COMPARE(f.simulator->linuxState().cells.at(0).channels.size(), 6);

    // Four panes.
    cell0->splitBar()->splitButton(4)->click();
    QTRY_COMPARE(f.simulator->linuxState().cells.at(0).split, 4);
    QCOMPARE(cell0->channelWidget(3)->getChannelItem().channelName, QStringLiteral("Lift hall B"));

    // One channel dropped on the second pane of cell 1, split first.
    CellForConfigChannels *cell1 = f.grid()->getCellByIndex(1);
    cell1->splitBar()->splitButton(4)->click();
    f.tree()->getTreeWidget()->clearSelection();
    f.tree()->channelItem(QStringLiteral("b-1"))->setSelected(true);
    std::unique_ptr<QMimeData> mime(
            f.tree()->mimeDataForItems(f.tree()->getTreeWidget()->selectedItems()));
    QCoreApplication::processEvents();
    const QPoint panePos = cell1->channelWidget(1)->geometry().center();
    QDragEnterEvent enter(panePos, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(cell1->getWidget(), &enter);
    QDropEvent drop(panePos, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(cell1->getWidget(), &drop);
    QTRY_COMPARE(f.simulator->linuxState().cells.at(1).channels.size(), 1);
    QCOMPARE(f.simulator->linuxState().cells.at(1).channels.at(0).position, 1);
    QCOMPARE(QByteArray(f.simulator->linuxState().cells.at(1).channels.at(0).protocol),
             QByteArray("onvif"));
    screenshot(QStringLiteral("linux-cells-channels"));

    // Pane 2 of cell 0 alone, then cell 0 over the whole wall.
    QTest::mouseDClick(cell0->channelWidget(2), Qt::LeftButton);
    QTRY_VERIFY(f.simulator->linuxState().cells.at(0).singleWindow);
    QCOMPARE(f.simulator->linuxState().cells.at(0).window, 2);
    QTest::mouseDClick(cell0->channelWidget(2), Qt::LeftButton);
    QTRY_COMPARE(f.simulator->linuxState().meltedCell, 0);
    QCOMPARE(f.grid()->shownCellCount(), 1);

    // The turn show from the cell's menu.
    ChannelWidget *pane = cell0->channelWidget(2);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(3, 3),
                                pane->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(pane, &menuEvent);
    QVERIFY(cell0->contextMenu()->isVisible());
    cell0->contextMenu()->hide();
    cell0->findChild<QAction *>("turnShowStartAction")->trigger();
    QTRY_COMPARE(f.simulator->linuxState().cells.at(0).turnState, 0);
    QCOMPARE(int(cell0->turnState()), 0);
    screenshot(QStringLiteral("linux-cells-spread"));
    QCOMPARE(boxes.count(), 1);

    // Reconnect: the page reads the same wall back.
    f.oper()->connectButton()->click();
    QVERIFY(!f.grid()->isConfigured());
    f.connectPage();
    QVERIFY(f.grid()->isConfigured());
    QCOMPARE(f.grid()->wallCellIndex(), 0);
    QCOMPARE(f.grid()->shownCellCount(), 1);
    CellForConfigChannels *loaded = f.grid()->getCellByIndex(0);
    QVERIFY(loaded->isOnWall());
    QCOMPARE(loaded->splitCount(), 4);
    QCOMPARE(loaded->channelMap().keys(), (QList<int> {0, 1, 2, 3, 4, 5}));
    const QStringList names {"Entrance",    "Reception", "Lift hall A",
                             "Lift hall B", "Stairs",    "Back door"};
    for (int position = 0; position < 6; ++position) {
        QCOMPARE(loaded->channelMap().value(position).channelId,
                 QStringLiteral("a-%1").arg(position + 1));
        QCOMPARE(loaded->channelMap().value(position).channelName, names.at(position));
    }
    QCOMPARE(loaded->singlePane(), 2);
    QCOMPARE(loaded->visiblePaneCount(), 1);
    QCOMPARE(int(loaded->turnState()), 0);
    QCOMPARE(loaded->turnInterval(), 30);
    QVERIFY(loaded->channelWidget(0)->isTurning());
    CellForConfigChannels *loadedCell1 = f.grid()->getCellByIndex(1);
    QCOMPARE(loadedCell1->splitCount(), 4);
    QCOMPARE(loadedCell1->channelWidget(1)->getChannelItem().channelName,
             QStringLiteral("North gate"));
    QCOMPARE(int(loadedCell1->turnState()), 1);

    // Spreading is refused now; stopping the turn show lets the cell come back.
    QTest::mouseDClick(loaded->channelWidget(2), Qt::LeftButton);
    QCOMPARE(boxes.texts().last(), QStringLiteral("Forbid to melting flat while turn show!"));
    QVERIFY(loaded->turnShowOperate(CellTurnCode::TurnStop));
    QTRY_COMPARE(f.simulator->linuxState().cells.at(0).turnState, 2);
    QTest::mouseDClick(loaded->channelWidget(2), Qt::LeftButton);
    QTRY_COMPARE(f.simulator->linuxState().meltedCell, -1);
    QVERIFY(!f.simulator->linuxState().cells.at(0).singleWindow);
    QCOMPARE(f.grid()->shownCellCount(), 4);
    QCOMPARE(loaded->visiblePaneCount(), 4);
}

void TestLinuxEndToEnd::upgradeRunsToItsFinalStatus_data()
{
    QTest::addColumn<int>("typeIndex");
    QTest::addColumn<QString>("url");
    // While it runs: nothing, the matrix stops, the network drops the connection (the page
    // logs in again and watches on).
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
    row("connection dropped", 1, "http://updates.local/fw-2.0.0.bin", "drop", finished, "2.0.0");
}

void TestLinuxEndToEnd::upgradeRunsToItsFinalStatus()
{
    QFETCH(int, typeIndex);
    QFETCH(QString, url);
    QFETCH(QString, fault);
    QFETCH(QString, message);
    QFETCH(QString, version);
    MessageBoxScript boxes(1);
    f.connectPage();
    f.page->setUpgradePollInterval(20);

    LinuxPageHarness::runUpgrade(f.button("upgradeBt"), typeIndex, url);
    QVERIFY(f.page->isUpgradePolling());
    QVERIFY(f.oper()->isServerConnectOK());
    QCOMPARE(COMMONUSELIB::WaitDialog::getInstance()->text(), QStringLiteral("Upgrading..."));
    QCOMPARE(f.simulator->linuxState().upgradeUrl, url);
    // Until the upgrade ends nothing else can reach the matrix.
    for (const char *name : {"rebootBt", "resetBt", "upgradeBt", "configMatrixBt"})
        QVERIFY2(!f.button(name)->isEnabled(), name);
    QVERIFY(!f.oper()->connectButton()->isEnabled());
    QVERIFY(!f.child<QWidget>("serverSelWdt")->isEnabled());
    if (fault == QLatin1String("stop"))
        f.simulator->stop();
    else if (fault == QLatin1String("drop"))
        f.simulator->dropLinuxClients();

    QTRY_VERIFY_WITH_TIMEOUT(!f.page->isUpgradePolling(), 10000);
    QCOMPARE(boxes.texts(), QStringList {message});
    QVERIFY(!f.oper()->isServerConnectOK());
    QVERIFY(!COMMONUSELIB::WaitDialog::getInstance()->isWaiting());
    if (!version.isEmpty()) {
        const SimLinuxState state = f.simulator->linuxState();
        QVERIFY(state.upgradeFinished);
        QCOMPARE(state.upgradePollsDone, UpgradePolls);
        QCOMPARE(state.firmwareVersion, version);
    }
    if (fault != QLatin1String("stop"))
        QTRY_COMPARE(f.simulator->clientCount(), 0);
}

void TestLinuxEndToEnd::savingTheSameGridKeepsTheCells()
{
    MessageBoxScript boxes(0);
    f.connectPage();
    f.arrangeAndSave(2, 2);
    LinuxMatrixPeer peer;
    QCOMPARE(peer.connectTo(f.simulator->linuxPort()), 0);
    QCOMPARE(peer.setCellChannels(0, 4, {f.channel("a-1", 0), f.channel("a-2", 1)}), 0);
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
    f.button("saveConfigBt")->click();
    QCOMPARE(boxes.texts(),
             QStringList {"The new grid clears the channels of every cell. Save it?"});
    QCOMPARE(f.page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusConfig);
    QCOMPARE(f.simulator->linuxState().rows, 2);
    QCOMPARE(f.simulator->linuxState().cells.at(0).channels.size(), 2);
    boxes.answer(1);
    f.button("saveConfigBt")->click();
    QCOMPARE(f.simulator->linuxState().gridRows, 1);
    QVERIFY(f.simulator->linuxState().cells.at(0).channels.isEmpty());
    QVERIFY(!f.grid()->getCellByIndex(0)->hasChannels());
    QCOMPARE(f.grid()->cellCount(), 2);
}

void TestLinuxEndToEnd::checkDialogListsAndClearsEveryPosition()
{
    MessageBoxScript boxes(1);
    f.connectPage();
    f.arrangeAndSave(2, 2);
    // The lobby entrance twice, and a channel the data centre does not know.
    CellForConfigChannels *cell = f.cellSetByAnotherOperator(
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
}

void TestLinuxEndToEnd::deletingThePaneShownAloneShowsEveryPane()
{
    MessageBoxScript boxes(1);
    f.connectPage();
    f.arrangeAndSave(2, 2);
    CellForConfigChannels *cell = f.cellSetByAnotherOperator(
            0, {f.channel("a-1", 0), f.channel("a-2", 1), f.channel("a-3", 2)});
    QVERIFY(cell);
    QTest::mouseDClick(cell->channelWidget(2), Qt::LeftButton);
    QTRY_VERIFY(f.simulator->linuxState().cells.at(0).singleWindow);
    QCOMPARE(cell->visiblePaneCount(), 1);

    ChannelWidget *pane = cell->channelWidget(2);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(3, 3),
                                pane->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(pane, &menuEvent);
    cell->contextMenu()->hide();
    cell->findChild<QAction *>("deleteChannelAction")->trigger();
    QCOMPARE(f.simulator->linuxState().cells.at(0).channels.size(), 2);
    QVERIFY(!f.simulator->linuxState().cells.at(0).singleWindow);
    QCOMPARE(cell->singlePane(), -1);
    QCOMPARE(cell->visiblePaneCount(), 4);
}

void TestLinuxEndToEnd::refusedReturnToAllPanesKeepsThePaneAlone()
{
    MessageBoxScript boxes(0);
    f.connectPage();
    f.arrange(1, 1);
    f.button("saveConfigBt")->click();
    CellForConfigChannels *cell = f.cellSetByAnotherOperator(
            0, {f.channel("a-1", 0), f.channel("a-2", 1), f.channel("a-3", 2)});
    QVERIFY(cell);
    QTest::mouseDClick(cell->channelWidget(2), Qt::LeftButton);
    QTRY_VERIFY(f.simulator->linuxState().cells.at(0).singleWindow);

    MatrixSimulatorFaults faults;
    faults.refusedRequests = {MatrixProtocol::LinuxSetCellSingleWindow};
    faults.refusedResult = MatrixErrFailed;
    f.simulator->setFaults(faults);
    QTest::mouseDClick(cell->channelWidget(2), Qt::LeftButton);
    QCOMPARE(boxes.texts(), QStringList {"Show all windows fail!"});
    QCOMPARE(cell->visiblePaneCount(), 1);
    QCOMPARE(cell->singlePane(), 2);
    QVERIFY(f.simulator->linuxState().cells.at(0).singleWindow);
}

void TestLinuxEndToEnd::otherConsolesAreListed()
{
    MessageBoxScript boxes(0);
    f.connectPage();
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
}

QTEST_MAIN(TestLinuxEndToEnd)
#include "tst_linuxe2e.moc"
