// Connecting again by itself after the matrix was lost, and the servers' online state, on both
// pages against the simulator.
#include "ConfigChannelsWidget.h"
#include "DigitalMatrix.h"
#include "DigitalMatrixServerOperWidget.h"
#include "LinuxWallFixture.h"
#include "MatrixManageWidget.h"
#include "MatrixOnlineProbe.h"
#include "MatrixProtocol.h"
#include "MatrixReconnector.h"
#include "ReconnectBar.h"
#include "ServerSelectWidget.h"
#include "WaitDialog.h"
#include "X86WallFixture.h"

#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

using namespace LUMO_DIGITALMATRIX_MODULE;
using Online = MatrixOnlineProbe::Online;

namespace {
enum class Loss { Restart, RestartWatching, FallsSilent, Reboot, FactoryReset, Cancel };
constexpr int BackWithinMs = 15000;
} // namespace
Q_DECLARE_METATYPE(Loss)

class tst_Reconnect : public QObject
{
    Q_OBJECT

private slots:
    void backOffDoublesUpToItsCap();
    void pageComesBackBySelf_data();
    void pageComesBackBySelf();
    void serverListsShowOnlineState_data();
    void serverListsShowOnlineState();
};

void tst_Reconnect::backOffDoublesUpToItsCap()
{
    const QList<int> delays {1000, 2000, 4000, 8000, 16000, 30000, 30000};
    for (int attempt = 1; attempt <= delays.size(); ++attempt)
        QCOMPARE(MatrixReconnector::delayBefore(attempt), delays.at(attempt - 1));
}

void tst_Reconnect::pageComesBackBySelf_data()
{
    QTest::addColumn<bool>("x86");
    QTest::addColumn<Loss>("loss");
    QTest::newRow("X86, the matrix restarts") << true << Loss::Restart;
    QTest::newRow("X86, the operator cancels") << true << Loss::Cancel;
    QTest::newRow("X86, watching, the matrix restarts") << true << Loss::RestartWatching;
    QTest::newRow("Linux, watching, the matrix restarts") << false << Loss::RestartWatching;
    QTest::newRow("Linux, the matrix restarts") << false << Loss::Restart;
    QTest::newRow("Linux, the matrix falls silent") << false << Loss::FallsSilent;
    QTest::newRow("Linux, reboot") << false << Loss::Reboot;
    QTest::newRow("Linux, factory reset") << false << Loss::FactoryReset;
    QTest::newRow("Linux, the operator cancels") << false << Loss::Cancel;
}

void tst_Reconnect::pageComesBackBySelf()
{
    QFETCH(bool, x86);
    QFETCH(Loss, loss);
    QTemporaryDir stateDir;
    // Only one of them, so that its page goes before the port it needs.
    std::unique_ptr<X86WallFixture> xf(x86 ? new X86WallFixture : nullptr);
    std::unique_ptr<LinuxWallFixture> lf(x86 ? nullptr : new LinuxWallFixture);
    SimulatorFixture &f = x86 ? static_cast<SimulatorFixture &>(*xf) : *lf;
    MatrixSimulatorOptions options;
    options.rebootMs = 1500;
    options.stateFile = stateDir.filePath(QStringLiteral("state.json"));
    if (x86) {
        options.linuxPort = -1;
        options.x86Port = 0;
        options.x86Outputs = 4;
        options.x86Accounts = xf->x86Accounts;
        xf->startMatrix(options);
        QVERIFY(!f.storeServer(SERVERTYPE_X86_DIGITALMATRIX, "Sim", f.simulator->x86Port())
                         .isEmpty());
        xf->connectAndArrange(2, 2);
    } else {
        lf->start(options);
        lf->connectPage();
        lf->arrangeAndSave(1, 2);
        lf->page->setKeepAliveInterval(100);
    }
    if (QTest::currentTestFailed())
        return;
    QWidget *page = x86 ? static_cast<QWidget *>(xf->page.get()) : lf->page.get();
    const bool watching = loss == Loss::RestartWatching;
    const auto connected = [&] {
        if (watching) // comes back watching
            return x86 ? xf->page->isWatching() : lf->page->isWatching();
        return x86 ? xf->page->isConnected() : lf->oper()->isServerConnectOK();
    };
    if (watching) {
        page->findChild<QPushButton *>(x86 ? "_watchMatrixBtn" : "_watchServerBtn")->click();
        QTRY_VERIFY_WITH_TIMEOUT(connected(), f.Timeout);
    }
    ReconnectBar *bar = page->findChild<ReconnectBar *>();
    f.boxes->clearRecords();
    // The matrix comes back on the same port, with the walls it kept in its state file.
    options.x86Port = x86 ? f.simulator->x86Port() : -1;
    options.linuxPort = x86 ? -1 : f.simulator->linuxPort();
    options.logRequests = false;

    if (loss == Loss::Reboot || loss == Loss::FactoryReset) {
        f.boxes->answer(1);
        lf->button(loss == Loss::Reboot ? "rebootBt" : "resetBt")->click();
    } else if (loss == Loss::FallsSilent) {
        MatrixSimulatorFaults faults;
        faults.silent = true;
        f.simulator->setFaults(faults);
    } else {
        f.simulator->stop();
    }
    QTRY_COMPARE_WITH_TIMEOUT(
            bar->text(), QStringLiteral("Reconnecting to Sim in 1 s... (attempt 1)"), f.Timeout);
    // The page shows the loss and an empty wall, and asks nothing.
    QVERIFY(x86 ? xf->pageIsIdle()
                : lf->pageIsIdle() && !lf->grid()->isConfigured()
                            && lf->grid()->placeholderText().isEmpty());
    if (!x86 && (loss == Loss::Restart || loss == Loss::FallsSilent))
        QCOMPARE(lf->oper()->connectServerHint(),
                 QStringLiteral("Digital matrix server connection lost!"));
    if (loss == Loss::Reboot) {
        // By hand while the matrix restarts: refused, and the page's own attempts end.
        lf->oper()->connectButton()->click();
        QCOMPARE(lf->oper()->connectServerHint(),
                 QStringLiteral("Digital matrix server connect fail! The matrix is restarting or "
                                "upgrading, try again later."));
        QVERIFY(bar->isHidden());
        QVERIFY(lf->reconnectWithin(BackWithinMs));
    } else if (loss == Loss::Cancel) {
        QTest::mouseClick(bar->cancelButton(), Qt::LeftButton);
        QVERIFY(bar->isHidden());
        QVERIFY(!connected());
        QVERIFY(f.simulator->start(options));
        // Still usable: connected by hand.
        if (x86)
            xf->connectPage();
        else
            lf->connectPage();
    } else {
        if (loss != Loss::FactoryReset) {
            // The first attempt finds nobody and the next one is counted down.
            QTRY_VERIFY_WITH_TIMEOUT(bar->text().contains("(attempt 2)"), BackWithinMs);
            if (loss == Loss::FallsSilent)
                f.simulator->setFaults(MatrixSimulatorFaults());
            else
                QVERIFY(f.simulator->start(options));
        }
        QTRY_VERIFY_WITH_TIMEOUT(connected(), BackWithinMs);
        QCOMPARE(bar->text(), QStringLiteral("Connected to Sim again."));
        QVERIFY(bar->cancelButton()->isHidden());
    }
    // The page shows what the matrix holds, and nobody was asked anything more.
    QCOMPARE(f.boxes->count(), loss == Loss::Reboot || loss == Loss::FactoryReset ? 1 : 0);
    if (x86) {
        QTRY_COMPARE_WITH_TIMEOUT(xf->wall()->getMirrors().size(), 4, f.Timeout);
        QCOMPARE(f.simulator->x86State().windows.size(), 4);
        return;
    }
    const SimLinuxState state = f.simulator->linuxState();
    QCOMPARE(state.grid.isEmpty(), loss == Loss::FactoryReset);
    QCOMPARE(lf->grid()->isConfigured(), !state.grid.isEmpty());
    int rows = 0;
    int columns = 0;
    lf->grid()->getRowColumn(rows, columns);
    if (!state.grid.isEmpty())
        QCOMPARE(QString("%1x%2").arg(rows).arg(columns), QString("1x2"));
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

    std::unique_ptr<X86WallFixture> xf(x86 ? new X86WallFixture : nullptr);
    std::unique_ptr<LinuxWallFixture> lf(x86 ? nullptr : new LinuxWallFixture);
    if (x86)
        xf->start(4);
    else
        lf->start(MatrixSimulatorOptions());
    QVERIFY(!SimulatorFixture::storeServer(type, "Silent",
                                           x86 ? silent.x86Port() : silent.linuxPort())
                     .isEmpty());
    QVERIFY(!SimulatorFixture::storeServer(type, "Down", downPort).isEmpty());
    if (x86)
        xf->openPage();
    else
        lf->openPage();
    QWidget *page = x86 ? static_cast<QWidget *>(xf->page.get()) : lf->page.get();
    const auto toolTipOf = [&](const QString &name) {
        for (QAbstractButton *button : page->findChildren<QAbstractButton *>()) {
            if (button->text() == name && (!x86 || qobject_cast<ServerButton *>(button)))
                return button->toolTip();
        }
        return QString();
    };
    const QString up = x86 ? QStringLiteral("Simulated wall") : QStringLiteral("Sim");
    QTRY_VERIFY2(toolTipOf(up).endsWith(MatrixOnlineProbe::toolTip(Online::Online)),
                 qPrintable(toolTipOf(up)));
    QTRY_VERIFY(toolTipOf("Down").endsWith(MatrixOnlineProbe::toolTip(Online::Offline)));
    QTRY_VERIFY(toolTipOf("Silent").endsWith(MatrixOnlineProbe::toolTip(Online::Silent)));
    // The page asked for no login anywhere, and probes only while it is shown.
    QCOMPARE(x86 ? xf->simulator->x86State().operatorHosts.size() : 0, 0);
    auto *probe = page->findChild<MatrixOnlineProbe *>();
    QVERIFY(probe->isRunning());
    page->hide();
    QVERIFY(!probe->isRunning());
    if (x86)
        return;

    // A Linux login to a matrix that falls silent can be cancelled.
    LinuxWallFixture &f = *lf;
    COMMONUSELIB::WaitDialog *wait = COMMONUSELIB::WaitDialog::getInstance();
    for (quint16 silent :
         {MatrixProtocol::LinuxLogin, MatrixProtocol::LinuxStartSession, MatrixProtocol::Watch}) {
        MatrixSimulatorFaults faults;
        faults.unansweredRequests = {silent};
        f.simulator->setFaults(faults);
        // A timer fires while the page waits for the matrix: it sees the wait and cancels it.
        QString seen;
        QTimer::singleShot(0, [&] {
            seen = wait->text() + '|' + wait->detail() + '|' + QString::number(f.page->isEnabled());
            QTest::mouseClick(wait->findChild<QPushButton *>("waitCancelButton"), Qt::LeftButton);
        });
        (silent == MatrixProtocol::Watch ? f.button("_watchServerBtn") : f.oper()->connectButton())
                ->click();
        QVERIFY2(seen.startsWith("Logging in...|") && seen.contains("Sim") && seen.endsWith("|0"),
                 qPrintable(seen));
        // Disconnected and usable, with nothing to answer.
        QTRY_COMPARE_WITH_TIMEOUT(f.simulator->clientCount(), 0, f.Timeout);
        QVERIFY(f.page->isEnabled() && !wait->isWaiting() && !f.page->isWatching()
                && !f.oper()->isServerConnectOK() && f.boxes->count() == 0);
        QCOMPARE(f.oper()->connectServerHint(), QString("Digital matrix server disconnect!"));
    }
    // Connected once the matrix answers again.
    f.simulator->setFaults(MatrixSimulatorFaults());
    f.oper()->connectButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(f.oper()->isServerConnectOK(), f.Timeout);
}

QTEST_MAIN(tst_Reconnect)
#include "tst_reconnect.moc"
