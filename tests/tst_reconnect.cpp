// Connecting again by itself after the matrix was lost, and the servers' online state, on both
// pages against the simulator.
#include "ConfigChannelsWidget.h"
#include "DigitalMatrix.h"
#include "DigitalMatrixServerOperWidget.h"
#include "LinuxWallFixture.h"
#include "MatrixManageWidget.h"
#include "MatrixOnlineProbe.h"
#include "MatrixReconnector.h"
#include "MatrixServerSelWidget.h"
#include "ReconnectBar.h"
#include "ServerSelectWidget.h"
#include "UserManagerCore.h"
#include "X86WallFixture.h"

#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

using namespace LUMO_DIGITALMATRIX_MODULE;
using Online = MatrixOnlineProbe::Online;

namespace {
enum class Loss { Restart, Reboot, FactoryReset, Cancel, Displaced };
constexpr int BackWithinMs = 15000;

ReconnectBar *barOf(QWidget *page)
{
    return page->findChild<ReconnectBar *>();
}

// The options that bring the matrix back on the ports it has now, with the walls it kept in
// its state file.
MatrixSimulatorOptions samePorts(const MatrixSimulator &simulator, MatrixSimulatorOptions options)
{
    options.x86Port = simulator.x86Port() ? simulator.x86Port() : -1;
    options.linuxPort = simulator.linuxPort() ? simulator.linuxPort() : -1;
    options.logRequests = false;
    return options;
}
} // namespace
Q_DECLARE_METATYPE(Loss)

class tst_Reconnect : public QObject
{
    Q_OBJECT

private slots:
    void backOffDoublesUpToItsCap_data();
    void backOffDoublesUpToItsCap();
    void x86PageComesBackBySelf_data();
    void x86PageComesBackBySelf();
    void linuxPageComesBackBySelf_data();
    void linuxPageComesBackBySelf();
    void serverListsShowOnlineState_data();
    void serverListsShowOnlineState();
};

void tst_Reconnect::backOffDoublesUpToItsCap_data()
{
    QTest::addColumn<int>("attempt");
    QTest::addColumn<int>("delayMs");
    QTest::newRow("first") << 1 << 1000;
    QTest::newRow("second") << 2 << 2000;
    QTest::newRow("fourth") << 4 << 8000;
    QTest::newRow("sixth, capped") << 6 << 30000;
    QTest::newRow("fortieth") << 40 << 30000;
}

void tst_Reconnect::backOffDoublesUpToItsCap()
{
    QFETCH(int, attempt);
    QFETCH(int, delayMs);
    QCOMPARE(MatrixReconnector::delayBefore(attempt), delayMs);
}

void tst_Reconnect::x86PageComesBackBySelf_data()
{
    QTest::addColumn<Loss>("loss");
    QTest::newRow("the matrix restarts") << Loss::Restart;
    QTest::newRow("the operator cancels") << Loss::Cancel;
    QTest::newRow("another console takes over") << Loss::Displaced;
}

void tst_Reconnect::x86PageComesBackBySelf()
{
    QFETCH(Loss, loss);
    QTemporaryDir stateDir;
    X86WallFixture f;
    MatrixSimulatorOptions options;
    options.x86Port = 0;
    options.linuxPort = -1;
    options.x86Outputs = 4;
    options.x86Accounts = f.x86Accounts;
    options.stateFile = stateDir.filePath(QStringLiteral("state.json"));
    f.startMatrix(options);
    QVERIFY(!f.storeServer(SERVERTYPE_X86_DIGITALMATRIX, "Simulated wall", f.simulator->x86Port())
                     .isEmpty());
    f.connectAndArrange(2, 2);
    if (QTest::currentTestFailed())
        return;
    ReconnectBar *bar = barOf(f.page.get());
    f.boxes->clearRecords();
    options = samePorts(*f.simulator, options);

    if (loss == Loss::Displaced) {
        SecondOperator other;
        QCOMPARE(other.logIn(f.simulator->x86Port(), "console-2", "", ""), 2);
        QCOMPARE(other.config->ForceLogin(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(f.boxes->count(), 1, f.Timeout);
        QVERIFY(f.boxes->last().text.contains("took over"));
        // Connecting again would throw the other console out: the page does not.
        QVERIFY(bar->isHidden());
        QVERIFY(!f.page->isConnected());
        QCOMPARE(f.simulator->x86State().operatorHosts, QList<QByteArray> {"console-2"});
        return;
    }

    f.simulator->stop();
    QTRY_VERIFY2(bar->text().startsWith("Reconnecting to Simulated wall in ")
                         && bar->text().endsWith(" s... (attempt 1)"),
                 qPrintable(bar->text()));
    QVERIFY(!f.page->isConnected());
    if (loss == Loss::Cancel) {
        QTest::mouseClick(bar->cancelButton(), Qt::LeftButton);
        QVERIFY(bar->isHidden());
        QVERIFY(!f.page->isConnected());
        QVERIFY(!f.button("_connectMatrixBtn")->isChecked());
        QVERIFY(f.simulator->start(options));
        // Still usable: connected by hand.
        f.connectPage();
    } else {
        // The first attempt finds nobody and the next one is counted down.
        QTRY_VERIFY_WITH_TIMEOUT(bar->text().contains("(attempt 2)"), BackWithinMs);
        QVERIFY(f.simulator->start(options));
        QTRY_VERIFY_WITH_TIMEOUT(f.page->isConnected(), BackWithinMs);
        QCOMPARE(bar->text(), QStringLiteral("Connected to Simulated wall again."));
        QVERIFY(bar->cancelButton()->isHidden());
    }
    // The page shows what the matrix holds, and nobody was asked anything.
    QTRY_COMPARE_WITH_TIMEOUT(f.wall()->getMirrors().size(), 4, f.Timeout);
    QCOMPARE(f.simulator->x86State().windows.size(), 4);
    QCOMPARE(f.boxes->count(), 0);
}

void tst_Reconnect::linuxPageComesBackBySelf_data()
{
    QTest::addColumn<Loss>("loss");
    QTest::newRow("the matrix restarts") << Loss::Restart;
    QTest::newRow("reboot") << Loss::Reboot;
    QTest::newRow("factory reset") << Loss::FactoryReset;
    QTest::newRow("the operator cancels") << Loss::Cancel;
}

void tst_Reconnect::linuxPageComesBackBySelf()
{
    QFETCH(Loss, loss);
    QTemporaryDir stateDir;
    LinuxWallFixture f;
    MatrixSimulatorOptions options;
    options.rebootMs = 1500;
    options.stateFile = stateDir.filePath(QStringLiteral("state.json"));
    f.start(options);
    f.connectPage();
    f.arrangeAndSave(1, 2);
    if (QTest::currentTestFailed())
        return;
    f.page->setKeepAliveInterval(100);
    ReconnectBar *bar = barOf(f.page.get());
    options = samePorts(*f.simulator, options);

    if (loss == Loss::Reboot || loss == Loss::FactoryReset) {
        f.boxes->answer(1);
        f.button(loss == Loss::Reboot ? "rebootBt" : "resetBt")->click();
    } else {
        f.simulator->stop();
    }
    QTRY_VERIFY2(bar->text().startsWith("Reconnecting to Sim in ")
                         && bar->text().endsWith(" s... (attempt 1)"),
                 qPrintable(bar->text()));
    QVERIFY(!f.oper()->isServerConnectOK());
    if (loss == Loss::Cancel) {
        QTest::mouseClick(bar->cancelButton(), Qt::LeftButton);
        QVERIFY(bar->isHidden());
        QVERIFY(!f.oper()->isServerConnectOK());
        QVERIFY(f.oper()->connectButton()->isEnabled());
        QVERIFY(f.simulator->start(options));
        f.connectPage();
    } else {
        if (loss == Loss::Restart) {
            QTRY_VERIFY_WITH_TIMEOUT(bar->text().contains("(attempt 2)"), BackWithinMs);
            QVERIFY(f.simulator->start(options));
        }
        QTRY_VERIFY_WITH_TIMEOUT(f.oper()->isServerConnectOK(), BackWithinMs);
        QCOMPARE(bar->text(), QStringLiteral("Connected to Sim again."));
    }
    // The grid is the matrix's again.
    const SimLinuxState state = f.simulator->linuxState();
    int rows = 0;
    int columns = 0;
    f.grid()->getRowColumn(rows, columns);
    QCOMPARE(f.grid()->isConfigured(), !state.grid.isEmpty());
    if (!state.grid.isEmpty())
        QCOMPARE(QString("%1x%2").arg(rows).arg(columns),
                 QString("%1x%2").arg(state.gridRows).arg(state.gridColumns));
    QCOMPARE(state.grid.isEmpty(), loss == Loss::FactoryReset);
}

void tst_Reconnect::serverListsShowOnlineState_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("X86 page") << int(SERVERTYPE_X86_DIGITALMATRIX);
    QTest::newRow("Linux page") << int(SERVERTYPE_LINUX_DIGITALMATRIX);
}

void tst_Reconnect::serverListsShowOnlineState()
{
    QFETCH(int, type);
    const bool x86 = type == SERVERTYPE_X86_DIGITALMATRIX;
    // A matrix that takes connections and never answers, and a port nobody listens on.
    MatrixSimulator silent;
    MatrixSimulatorOptions silentOptions;
    silentOptions.x86Port = 0;
    silentOptions.linuxPort = 0;
    silentOptions.logRequests = false;
    QVERIFY(silent.start(silentOptions));
    MatrixSimulatorFaults faults;
    faults.silent = true;
    silent.setFaults(faults);
    QTcpServer nobody;
    QVERIFY(nobody.listen(QHostAddress::LocalHost));
    const int downPort = nobody.serverPort();
    nobody.close();

    X86WallFixture xf;
    LinuxWallFixture lf;
    QWidget *page = nullptr;
    if (x86) {
        xf.start(4);
    } else {
        lf.start(MatrixSimulatorOptions());
    }
    const QString silentId = SimulatorFixture::storeServer(
            type, "Silent", x86 ? silent.x86Port() : silent.linuxPort());
    const QString downId = SimulatorFixture::storeServer(type, "Down", downPort);
    QVERIFY(!silentId.isEmpty() && !downId.isEmpty());
    if (x86) {
        xf.openPage();
        page = xf.page.get();
    } else {
        lf.page = std::make_unique<LinuxDigitalMatrixPage>();
        lf.page->show();
        page = lf.page.get();
    }
    const auto toolTipOf = [&](const QString &name) {
        if (x86) {
            for (ServerButton *button : page->findChild<ServerSelectWidget *>()->serverButtons()) {
                if (button->serverInfo()->name == name)
                    return button->toolTip();
            }
            return QString();
        }
        auto *list = page->findChild<MatrixServerSelWidget *>();
        for (int i = 0; i < list->serverCount(); ++i) {
            if (list->serverName(list->serverIdAt(i)) == name)
                return list->serverButton(list->serverIdAt(i))->toolTip();
        }
        return QString();
    };
    const QString up = x86 ? QStringLiteral("Simulated wall") : QStringLiteral("Sim");
    QTRY_VERIFY2(toolTipOf(up).endsWith(MatrixOnlineProbe::toolTip(Online::Online)),
                 qPrintable(toolTipOf(up)));
    QTRY_VERIFY(toolTipOf("Down").endsWith(MatrixOnlineProbe::toolTip(Online::Offline)));
    QTRY_VERIFY(toolTipOf("Silent").endsWith(MatrixOnlineProbe::toolTip(Online::Silent)));
    // The page asked for no login anywhere, and probes only while it is shown.
    QCOMPARE(x86 ? xf.simulator->x86State().operatorHosts.size() : 0, 0);
    auto *probe = page->findChild<MatrixOnlineProbe *>();
    QVERIFY(probe->isRunning());
    page->hide();
    QVERIFY(!probe->isRunning());
}

QTEST_MAIN(tst_Reconnect)
#include "tst_reconnect.moc"
