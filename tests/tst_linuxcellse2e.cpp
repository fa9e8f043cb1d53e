// Channels in cells against the matrix simulator through the real matrix-service library:
// arrange a wall, set channels from the area tree, drop one on a pane, split, show a pane
// alone, spread the cell over the wall, start its turn show, reconnect and read the same
// wall back; and firmware upgrades run to each of their final statuses.
//
// With DM_SCREENSHOT_DIR set, the page is saved there as PNG pictures along the way.
#include "AreaTreeForMatrixConfig.h"
#include "CellForConfigChannels.h"
#include "ChannelWidget.h"
#include "CellChannelsCheckDlg.h"
#include "CellChannelsTableWt.h"
#include "ChannelsOperWidget.h"
#include "ConfigChannelsWidget.h"
#include "DigitalMatrixInteractionPort.h"
#include "DigitalMatrixServerOperWidget.h"
#include "LinuxDigitalMatrixPage.h"
#include "SplitScreenToolBar.h"

#include "UserManagerCore.h"
#include "WaitDialog.h"

#include "LinuxMatrixPeer.h"
#include "MatrixProtocol.h"
#include "MatrixSimulator.h"
#include "MessageBoxScript.h"
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
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

using namespace LUMO_DIGITALMATRIX_MODULE;

namespace {

constexpr int UpgradePolls = 3;

const QByteArray Site = R"({"version":1,
    "areas":[{"key":"area-a","name":"Lobby"},{"key":"area-b","name":"Gates"}],
    "devices":[{"key":"dev-a","name":"NVR A","address":"10.1.0.1","account":"admin",
                "password":"pw","port":8000,"kind":1},
               {"key":"dev-n","name":"Onvif Gate","address":"N7C3B9","port":80,"kind":2}],
    "channels":[{"key":"a-1","name":"Entrance","device":"dev-a","number":1,"area":"area-a"},
                {"key":"a-2","name":"Reception","device":"dev-a","number":2,"area":"area-a"},
                {"key":"a-3","name":"Lift hall A","device":"dev-a","number":3,"area":"area-a"},
                {"key":"a-4","name":"Lift hall B","device":"dev-a","number":4,"area":"area-a"},
                {"key":"a-5","name":"Stairs","device":"dev-a","number":5,"area":"area-a"},
                {"key":"a-6","name":"Back door","device":"dev-a","number":6,"area":"area-a"},
                {"key":"b-1","name":"North gate","device":"dev-n","number":1,"area":"area-b"}]})";

} // namespace

class TestLinuxCellsEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void configureAWallAndReadItBack();
    void upgradeRunsToItsFinalStatus_data();
    void upgradeRunsToItsFinalStatus();
    void savingTheSameGridKeepsTheCells();
    void checkDialogListsAndClearsEveryPosition();
    void deletingThePaneShownAloneShowsEveryPane();
    void refusedReturnToAllPanesKeepsThePaneAlone();

private:
    void connectPage();
    void arrangeTwoByTwo();
    void arrange(int rows, int columns);
    static CellChannelItem channel(const char *id, int position);
    void screenshot(const QString &name);
    template<typename T>
    T *child(const char *name) const
    {
        return page->findChild<T *>(QLatin1String(name));
    }
    DigitalMatrixServerOperWidget *oper() const
    {
        return child<DigitalMatrixServerOperWidget>("serverOperWdt");
    }
    ConfigChannelsWidget *grid() const { return child<ConfigChannelsWidget>("configChannelsWdt"); }
    AreaTreeForMatrixConfig *tree() const { return child<AreaTreeForMatrixConfig>("areaTreeWdt"); }
    QPushButton *button(const char *name) const { return child<QPushButton>(name); }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MatrixSimulator> simulator;
    std::unique_ptr<LinuxDigitalMatrixPage> page;
};

void TestLinuxCellsEndToEnd::initTestCase()
{
    qputenv("DM_MATRIX_CONNECT_TIMEOUT_MS", "1500");
    qputenv("DM_MATRIX_REQUEST_TIMEOUT_MS", "1500");
}

void TestLinuxCellsEndToEnd::init()
{
    dir.reset(new QTemporaryDir);
    QVERIFY(dir->isValid());
    DATACore::UserManagerCore *dataCentre = DATACore::UserManagerCore::instance();
    QVERIFY(dataCentre->open(dir->filePath(QStringLiteral("datacentre.db"))));
    QVERIFY2(dataCentre->importSite(Site), qPrintable(dataCentre->lastError()));

    simulator.reset(new MatrixSimulator);
    MatrixSimulatorOptions options;
    options.x86Port = -1;
    options.linuxPort = 0;
    options.upgradePolls = UpgradePolls;
    options.firmwareVersion = QStringLiteral("1.0.0");
    options.logRequests = false;
    QVERIFY2(simulator->start(options), qPrintable(simulator->errorString()));
    QVERIFY(dataCentre->AddServer(QStringLiteral("Sim"), QStringLiteral("127.0.0.1"),
                                  QStringLiteral("admin"), QStringLiteral("admin"),
                                  simulator->linuxPort(), 6));
    QCoreApplication::processEvents();

    DigitalMatrixInteractionPort::release();
    DigitalMatrixInteractionPort::resetServiceFactory();
    DigitalMatrixInteractionPort::instance();
}

void TestLinuxCellsEndToEnd::cleanup()
{
    page.reset();
    COMMONUSELIB::WaitDialog::getInstance()->hideWaitDialog();
    DigitalMatrixInteractionPort::release();
    simulator.reset();
    DATACore::UserManagerCore::instance()->close();
    dir.reset();
}

void TestLinuxCellsEndToEnd::connectPage()
{
    if (!page) {
        page.reset(new LinuxDigitalMatrixPage);
        page->resize(1100, 700);
        page->show();
        QTRY_COMPARE(page->currentServerIndex(), 0);
    }
    oper()->connectButton()->click();
    QCOMPARE(oper()->connectServerHint(), QStringLiteral("Digital matrix server connect ok!"));
}

void TestLinuxCellsEndToEnd::arrangeTwoByTwo()
{
    arrange(2, 2);
    button("saveConfigBt")->click();
    QVERIFY(grid()->isConfigured());
    QCOMPARE(grid()->cellCount(), 4);
}

// Enters the arrangement step with a grid of rows x columns.
void TestLinuxCellsEndToEnd::arrange(int rows, int columns)
{
    ModalDriver driver([=](QWidget *modal) {
        modal->findChild<QLineEdit *>(QStringLiteral("rowLineEt"))->setText(QString::number(rows));
        modal->findChild<QLineEdit *>(QStringLiteral("columnLineEt"))
                ->setText(QString::number(columns));
        modal->findChild<QPushButton *>(QStringLiteral("okBt"))->click();
    });
    driver.start();
    button("configMatrixBt")->click();
    QVERIFY(driver.ran());
    QCOMPARE(page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusConfig);
}

CellChannelItem TestLinuxCellsEndToEnd::channel(const char *id, int position)
{
    CellChannelItem item;
    item.channelId = QLatin1String(id);
    item.position = position;
    return item;
}

void TestLinuxCellsEndToEnd::screenshot(const QString &name)
{
    const QString target = qEnvironmentVariable("DM_SCREENSHOT_DIR");
    if (target.isEmpty())
        return;
    QCoreApplication::processEvents();
    QVERIFY(page->grab().save(QDir(target).filePath(name + QStringLiteral(".png"))));
}

void TestLinuxCellsEndToEnd::configureAWallAndReadItBack()
{
    MessageBoxScript boxes(0);
    connectPage();
    QVERIFY(!grid()->isConfigured());
    arrangeTwoByTwo();

    // The whole lobby area into cell 0, declining the turn show offered.
    tree()->getTreeWidget()->clearSelection();
    tree()->areaItem(QStringLiteral("area-a"))->setSelected(true);
    CellForConfigChannels *cell0 = grid()->getCellByIndex(0);
    QTest::mouseClick(cell0, Qt::LeftButton, {}, QPoint(4, 4));
    QCOMPARE(grid()->checkedIndex(), 0);
    child<ChannelsOperWidget>("channelsOperWdt")->setChannelsButton()->click();
    QCOMPARE(boxes.texts(), QStringList {QStringLiteral("Whether start turn show?")});
    QTRY_COMPARE(simulator->linuxState().cells.at(0).channels.size(), 6);

    // Four panes.
    cell0->splitBar()->splitButton(4)->click();
    QTRY_COMPARE(simulator->linuxState().cells.at(0).split, 4);
    QCOMPARE(cell0->channelWidget(3)->getChannelItem().channelName, QStringLiteral("Lift hall B"));

    // One channel dropped on the second pane of cell 1, split first.
    CellForConfigChannels *cell1 = grid()->getCellByIndex(1);
    cell1->splitBar()->splitButton(4)->click();
    tree()->getTreeWidget()->clearSelection();
    tree()->channelItem(QStringLiteral("b-1"))->setSelected(true);
    std::unique_ptr<QMimeData> mime(
            tree()->mimeDataForItems(tree()->getTreeWidget()->selectedItems()));
    QCoreApplication::processEvents();
    const QPoint panePos = cell1->channelWidget(1)->geometry().center();
    QDragEnterEvent enter(panePos, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(cell1->getWidget(), &enter);
    QDropEvent drop(panePos, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(cell1->getWidget(), &drop);
    QTRY_COMPARE(simulator->linuxState().cells.at(1).channels.size(), 1);
    QCOMPARE(simulator->linuxState().cells.at(1).channels.at(0).position, 1);
    QCOMPARE(QByteArray(simulator->linuxState().cells.at(1).channels.at(0).protocol),
             QByteArray("onvif"));
    screenshot(QStringLiteral("linux-cells-channels"));

    // Pane 2 of cell 0 alone, then cell 0 over the whole wall.
    QTest::mouseDClick(cell0->channelWidget(2), Qt::LeftButton);
    QTRY_VERIFY(simulator->linuxState().cells.at(0).singleWindow);
    QCOMPARE(simulator->linuxState().cells.at(0).window, 2);
    QTest::mouseDClick(cell0->channelWidget(2), Qt::LeftButton);
    QTRY_COMPARE(simulator->linuxState().meltedCell, 0);
    QCOMPARE(grid()->shownCellCount(), 1);

    // The turn show from the cell's menu.
    ChannelWidget *pane = cell0->channelWidget(2);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(3, 3),
                                pane->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(pane, &menuEvent);
    QVERIFY(cell0->contextMenu()->isVisible());
    cell0->contextMenu()->hide();
    cell0->findChild<QAction *>(QStringLiteral("turnShowStartAction"))->trigger();
    QTRY_COMPARE(simulator->linuxState().cells.at(0).turnState, 0);
    QCOMPARE(int(cell0->turnState()), 0);
    screenshot(QStringLiteral("linux-cells-spread"));
    QCOMPARE(boxes.count(), 1);

    // Reconnect: the page reads the same wall back.
    oper()->connectButton()->click();
    QVERIFY(!grid()->isConfigured());
    connectPage();
    QVERIFY(grid()->isConfigured());
    QCOMPARE(grid()->wallCellIndex(), 0);
    QCOMPARE(grid()->shownCellCount(), 1);
    CellForConfigChannels *loaded = grid()->getCellByIndex(0);
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
    CellForConfigChannels *loadedCell1 = grid()->getCellByIndex(1);
    QCOMPARE(loadedCell1->splitCount(), 4);
    QCOMPARE(loadedCell1->channelWidget(1)->getChannelItem().channelName,
             QStringLiteral("North gate"));
    QCOMPARE(int(loadedCell1->turnState()), 1);

    // Spreading is refused now; stopping the turn show lets the cell come back.
    QTest::mouseDClick(loaded->channelWidget(2), Qt::LeftButton);
    QCOMPARE(boxes.texts().last(), QStringLiteral("Forbid to melting flat while turn show!"));
    QVERIFY(loaded->turnShowOperate(CellTurnCode::TurnStop));
    QTRY_COMPARE(simulator->linuxState().cells.at(0).turnState, 2);
    QTest::mouseDClick(loaded->channelWidget(2), Qt::LeftButton);
    QTRY_COMPARE(simulator->linuxState().meltedCell, -1);
    QVERIFY(!simulator->linuxState().cells.at(0).singleWindow);
    QCOMPARE(grid()->shownCellCount(), 4);
    QCOMPARE(loaded->visiblePaneCount(), 4);
}

void TestLinuxCellsEndToEnd::upgradeRunsToItsFinalStatus_data()
{
    QTest::addColumn<int>("typeIndex");
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("dropMatrix");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("version");
    QTest::newRow("finished") << 1 << "http://updates.local/fw-2.0.0.bin" << false
                              << "Linux matrix upgrade finished! Please poweroff to restart!"
                              << "2.0.0";
    QTest::newRow("not found") << 1 << "http://updates.local/readme.txt" << false
                               << "Upgrade resource not found!"
                               << "1.0.0";
    QTest::newRow("latest") << 2 << "ftp://updates.local/fw-1.0.0.bin" << false
                            << "already the latest vertion!"
                            << "1.0.0";
    QTest::newRow("matrix gone")
            << 1 << "http://updates.local/fw-3.bin" << true
            << "The matrix could not be reached during the upgrade: its result is unknown!"
            << "";
    // The network drops the connection: the page logs in again and watches on.
    QTest::newRow("connection dropped") << 1 << "http://updates.local/fw-2.0.0.bin" << false
                                        << "Linux matrix upgrade finished! Please poweroff to "
                                           "restart!"
                                        << "2.0.0";
}

void TestLinuxCellsEndToEnd::upgradeRunsToItsFinalStatus()
{
    QFETCH(int, typeIndex);
    QFETCH(QString, url);
    QFETCH(bool, dropMatrix);
    QFETCH(QString, message);
    QFETCH(QString, version);
    MessageBoxScript boxes(1);
    connectPage();
    page->setUpgradePollInterval(20);

    ModalDriver driver([&](QWidget *modal) {
        modal->findChild<QComboBox *>(QStringLiteral("upgradeType"))->setCurrentIndex(typeIndex);
        modal->findChild<QLineEdit *>(QStringLiteral("urlLineEt"))->setText(url);
        modal->findChild<QPushButton *>(QStringLiteral("saveBt"))->click();
    });
    driver.start();
    button("upgradeBt")->click();
    QVERIFY(driver.ran());
    QVERIFY(page->isUpgradePolling());
    QVERIFY(oper()->isServerConnectOK());
    QCOMPARE(simulator->linuxState().upgradeUrl, url);
    // Until the upgrade ends nothing else can reach the matrix.
    for (const char *name : {"rebootBt", "resetBt", "upgradeBt", "configMatrixBt"})
        QVERIFY2(!button(name)->isEnabled(), name);
    QVERIFY(!oper()->connectButton()->isEnabled());
    QVERIFY(!child<QWidget>("serverSelWdt")->isEnabled());
    if (dropMatrix)
        simulator->stop();
    else if (QTest::currentDataTag() == QLatin1String("connection dropped"))
        simulator->dropLinuxClients();

    QTRY_VERIFY_WITH_TIMEOUT(!page->isUpgradePolling(), 10000);
    QCOMPARE(boxes.texts(), QStringList {message});
    QVERIFY(!oper()->isServerConnectOK());
    QVERIFY(!COMMONUSELIB::WaitDialog::getInstance()->isWaiting());
    if (!dropMatrix) {
        const SimLinuxState state = simulator->linuxState();
        QVERIFY(state.upgradeFinished);
        QCOMPARE(state.upgradePollsDone, UpgradePolls);
        QCOMPARE(state.firmwareVersion, version);
        QTRY_COMPARE(simulator->clientCount(), 0);
    }
}

void TestLinuxCellsEndToEnd::savingTheSameGridKeepsTheCells()
{
    MessageBoxScript boxes(0);
    connectPage();
    arrangeTwoByTwo();
    LinuxMatrixPeer peer;
    QCOMPARE(peer.connectTo(simulator->linuxPort()), 0);
    QCOMPARE(peer.setCellChannels(0, 4, {channel("a-1", 0), channel("a-2", 1)}), 0);
    QCOMPARE(peer.setCellChannels(1, 4, {}), 0);

    // The same 2 x 2 again: every cell keeps what it holds, and the page shows it.
    arrange(2, 2);
    button("saveConfigBt")->click();
    QCOMPARE(boxes.count(), 0);
    QCOMPARE(simulator->linuxState().cells.at(0).channels.size(), 2);
    QCOMPARE(simulator->linuxState().cells.at(1).split, 4);
    QCOMPARE(grid()->getCellByIndex(0)->channelMap().keys(), (QList<int> {0, 1}));
    QCOMPARE(grid()->getCellByIndex(1)->splitCount(), 4);

    // A new shape clears the cells: declined, nothing is written and the step stays.
    arrange(1, 2);
    button("saveConfigBt")->click();
    QCOMPARE(boxes.texts(),
             QStringList {"The new grid clears the channels of every cell. Save it?"});
    QCOMPARE(page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusConfig);
    QCOMPARE(simulator->linuxState().rows, 2);
    QCOMPARE(simulator->linuxState().cells.at(0).channels.size(), 2);
    boxes.answer(1);
    button("saveConfigBt")->click();
    QCOMPARE(simulator->linuxState().gridRows, 1);
    QVERIFY(simulator->linuxState().cells.at(0).channels.isEmpty());
    QVERIFY(!grid()->getCellByIndex(0)->hasChannels());
    QCOMPARE(grid()->cellCount(), 2);
}

void TestLinuxCellsEndToEnd::checkDialogListsAndClearsEveryPosition()
{
    MessageBoxScript boxes(1);
    connectPage();
    arrangeTwoByTwo();
    // The lobby entrance twice, and a channel the data centre does not know.
    LinuxMatrixPeer peer;
    QCOMPARE(peer.connectTo(simulator->linuxPort()), 0);
    QCOMPARE(peer.setCellChannels(0, 4, {channel("a-1", 0), channel("a-1", 1), channel("gone", 2)}),
             0);
    oper()->connectButton()->click();
    connectPage();
    CellForConfigChannels *cell = grid()->getCellByIndex(0);
    QCOMPARE(cell->channelMap().size(), 3);

    QStringList rows;
    int rowsLeft = -1;
    ModalDriver driver([&](QWidget *modal) {
        auto *table = modal->findChild<CellChannelsTableWt *>();
        for (int row = 0; row < table->rowCount(); ++row)
            rows << table->item(row, 1)->text();
        modal->findChild<QPushButton *>(QStringLiteral("clearBt"))->click();
        rowsLeft = table->rowCount();
    });
    driver.start();
    cell->findChild<QAction *>(QStringLiteral("checkChannelsAction"))->trigger();
    QVERIFY(driver.ran());
    QCOMPARE(rows, (QStringList {"Entrance", "Entrance", "Unknown channel"}));
    QCOMPARE(rowsLeft, 0);
    QVERIFY(simulator->linuxState().cells.at(0).channels.isEmpty());
    QVERIFY(!cell->hasChannels());
}

void TestLinuxCellsEndToEnd::deletingThePaneShownAloneShowsEveryPane()
{
    MessageBoxScript boxes(1);
    connectPage();
    arrangeTwoByTwo();
    LinuxMatrixPeer peer;
    QCOMPARE(peer.connectTo(simulator->linuxPort()), 0);
    QCOMPARE(peer.setCellChannels(0, 4, {channel("a-1", 0), channel("a-2", 1), channel("a-3", 2)}),
             0);
    oper()->connectButton()->click();
    connectPage();
    CellForConfigChannels *cell = grid()->getCellByIndex(0);
    QTest::mouseDClick(cell->channelWidget(2), Qt::LeftButton);
    QTRY_VERIFY(simulator->linuxState().cells.at(0).singleWindow);
    QCOMPARE(cell->visiblePaneCount(), 1);

    ChannelWidget *pane = cell->channelWidget(2);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(3, 3),
                                pane->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(pane, &menuEvent);
    cell->contextMenu()->hide();
    cell->findChild<QAction *>(QStringLiteral("deleteChannelAction"))->trigger();
    QCOMPARE(simulator->linuxState().cells.at(0).channels.size(), 2);
    QVERIFY(!simulator->linuxState().cells.at(0).singleWindow);
    QCOMPARE(cell->singlePane(), -1);
    QCOMPARE(cell->visiblePaneCount(), 4);
}

void TestLinuxCellsEndToEnd::refusedReturnToAllPanesKeepsThePaneAlone()
{
    MessageBoxScript boxes(0);
    connectPage();
    arrange(1, 1);
    button("saveConfigBt")->click();
    LinuxMatrixPeer peer;
    QCOMPARE(peer.connectTo(simulator->linuxPort()), 0);
    QCOMPARE(peer.setCellChannels(0, 4, {channel("a-1", 0), channel("a-2", 1), channel("a-3", 2)}),
             0);
    oper()->connectButton()->click();
    connectPage();
    CellForConfigChannels *cell = grid()->getCellByIndex(0);
    QTest::mouseDClick(cell->channelWidget(2), Qt::LeftButton);
    QTRY_VERIFY(simulator->linuxState().cells.at(0).singleWindow);

    MatrixSimulatorFaults faults;
    faults.refusedRequests = {MatrixProtocol::LinuxSetCellSingleWindow};
    faults.refusedResult = MatrixErrFailed;
    simulator->setFaults(faults);
    QTest::mouseDClick(cell->channelWidget(2), Qt::LeftButton);
    QCOMPARE(boxes.texts(), QStringList {"Show all windows fail!"});
    QCOMPARE(cell->visiblePaneCount(), 1);
    QCOMPARE(cell->singlePane(), 2);
    QVERIFY(simulator->linuxState().cells.at(0).singleWindow);
}

QTEST_MAIN(TestLinuxCellsEndToEnd)
#include "tst_linuxcellse2e.moc"
