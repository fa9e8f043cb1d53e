// The Linux page against the matrix simulator through the real matrix-service library: add a
// server, connect, arrange a 2 x 2 wall by dragging numbers, save, read it back, reboot.
#include "AdjustCellNumWidget.h"
#include "ConfigChannelsWidget.h"
#include "DigitalMatrixInteractionPort.h"
#include "DigitalMatrixServerOperWidget.h"
#include "LinuxDigitalMatrixPage.h"
#include "MatrixOperButtonsWt.h"
#include "MatrixServerSelWidget.h"

#include "CanSelectWithNumWidget.h"
#include "IpAddressFrame.h"
#include "UserManagerCore.h"
#include "WaitDialog.h"

#include "MatrixSimulator.h"
#include "MessageBoxScript.h"
#include "ModalDriver.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace LUMO_DIGITALMATRIX_MODULE;

namespace {
constexpr int U = DigitalMatrixInteractionPort::ScreenUnit;
constexpr int RebootMs = 400;
} // namespace

class TestLinuxEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void arrangeAWallAndReboot();

private:
    template<typename T>
    T *child(const char *name) const
    {
        return page->findChild<T *>(QLatin1String(name));
    }
    DigitalMatrixServerOperWidget *oper() const
    {
        return child<DigitalMatrixServerOperWidget>("serverOperWdt");
    }
    QPushButton *button(const char *name) const { return child<QPushButton>(name); }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MatrixSimulator> simulator;
    std::unique_ptr<LinuxDigitalMatrixPage> page;
};

void TestLinuxEndToEnd::initTestCase()
{
    qputenv("DM_MATRIX_CONNECT_TIMEOUT_MS", "1500");
    qputenv("DM_MATRIX_REQUEST_TIMEOUT_MS", "1500");
}

void TestLinuxEndToEnd::init()
{
    dir.reset(new QTemporaryDir);
    QVERIFY(dir->isValid());
    QVERIFY(DATACore::UserManagerCore::instance()->open(
            dir->filePath(QStringLiteral("datacentre.db"))));

    simulator.reset(new MatrixSimulator);
    MatrixSimulatorOptions options;
    options.x86Port = -1;
    options.linuxPort = 0;
    options.rebootMs = RebootMs;
    options.logRequests = false;
    QVERIFY2(simulator->start(options), qPrintable(simulator->errorString()));

    // The port talks to the real matrix-service library.
    DigitalMatrixInteractionPort::release();
    DigitalMatrixInteractionPort::resetServiceFactory();
    DigitalMatrixInteractionPort::instance();
}

void TestLinuxEndToEnd::cleanup()
{
    page.reset();
    COMMONUSELIB::WaitDialog::getInstance()->hideWaitDialog();
    DigitalMatrixInteractionPort::release();
    simulator.reset();
    DATACore::UserManagerCore::instance()->close();
    dir.reset();
}

void TestLinuxEndToEnd::arrangeAWallAndReboot()
{
    page.reset(new LinuxDigitalMatrixPage);
    page->resize(1000, 640);
    page->show();
    MessageBoxScript boxes(1);

    // Add the simulator's Linux matrix as a server.
    ModalDriver addDriver([this](QWidget *modal) {
        modal->findChild<QLineEdit *>(QStringLiteral("nameLineEt"))->setText(QStringLiteral("Sim"));
        modal->findChild<COMMONUSELIB::IpAddressFrame *>()->setIp(QStringLiteral("127.0.0.1"));
        modal->findChild<QLineEdit *>(QStringLiteral("portLineEt"))
                ->setText(QString::number(simulator->linuxPort()));
        modal->findChild<QLineEdit *>(QStringLiteral("userLineEt"))
                ->setText(QStringLiteral("admin"));
        modal->findChild<QLineEdit *>(QStringLiteral("passwordLineEt"))
                ->setText(QStringLiteral("admin"));
        modal->findChild<QPushButton *>(QStringLiteral("saveBt"))->click();
    });
    addDriver.start();
    child<MatrixServerSelWidget>("serverSelWdt")->addButton()->click();
    QVERIFY(addDriver.ran());
    QTRY_COMPARE(page->matrixServers().size(), 1);
    QTRY_COMPARE(page->currentServerIndex(), 0);

    // Connect: a new matrix has no grid yet.
    oper()->connectButton()->click();
    QCOMPARE(oper()->connectServerHint(), QStringLiteral("Digital matrix server connect ok!"));
    auto *channelGrid = child<ConfigChannelsWidget>("configChannelsWdt");
    QVERIFY(!channelGrid->isConfigured());
    QCOMPARE(simulator->clientCount(), 1);

    // Choose 2 x 2.
    ModalDriver gridDriver([](QWidget *modal) {
        modal->findChild<QLineEdit *>(QStringLiteral("rowLineEt"))->setText(QStringLiteral("2"));
        modal->findChild<QLineEdit *>(QStringLiteral("columnLineEt"))->setText(QStringLiteral("2"));
        modal->findChild<QPushButton *>(QStringLiteral("okBt"))->click();
    });
    gridDriver.start();
    button("configMatrixBt")->click();
    QVERIFY(gridDriver.ran());
    QCOMPARE(page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusConfig);
    QTRY_VERIFY(simulator->linuxState().arrangeMode);
    auto *grid = child<AdjustCellNumWidget>("adjustCellNumWdt");
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

    button("saveConfigBt")->click();
    QCOMPARE(boxes.count(), 0);
    QCOMPARE(page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusNormal);
    QVERIFY(channelGrid->isConfigured());

    // The simulator holds the arrangement, the screen map and the grid.
    const SimLinuxState state = simulator->linuxState();
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
    oper()->connectButton()->click();
    QVERIFY(!channelGrid->isConfigured());
    oper()->connectButton()->click();
    QCOMPARE(oper()->connectServerHint(), QStringLiteral("Digital matrix server connect ok!"));
    QVERIFY(channelGrid->isConfigured());
    int rows = 0, columns = 0;
    channelGrid->getRowColumn(rows, columns);
    QCOMPARE(rows, 2);
    QCOMPARE(columns, 2);
    QCOMPARE(channelGrid->getCellShowNums(), (QStringList {"4", "3", "2", "1"}));

    // Reboot: the page is disconnected and its wall disabled.
    boxes.clearRecords();
    button("rebootBt")->click();
    QCOMPARE(boxes.texts(), QStringList {QStringLiteral("Do you want to reboot matrix server?")});
    QVERIFY(!oper()->isServerConnectOK());
    QVERIFY(!oper()->connectButton()->isChecked());
    QVERIFY(!child<MatrixOperButtonsWt>("operButtonsWt")->isEnabled());
    QVERIFY(!channelGrid->isConfigured());
    QTRY_COMPARE(simulator->clientCount(), 0);

    // While the matrix restarts it refuses; afterwards it connects with the wall kept.
    oper()->connectButton()->click();
    QCOMPARE(oper()->connectServerHint(),
             QStringLiteral("Digital matrix server connect fail! The matrix is restarting or "
                            "upgrading, try again later."));
    QVERIFY(QTest::qWaitFor(
            [this] {
                oper()->connectButton()->click();
                if (oper()->isServerConnectOK())
                    return true;
                QTest::qWait(50);
                return false;
            },
            5000));
    QCOMPARE(channelGrid->getCellShowNums(), (QStringList {"4", "3", "2", "1"}));
}

QTEST_MAIN(TestLinuxEndToEnd)
#include "tst_linuxe2e.moc"
