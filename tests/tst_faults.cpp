// Faults against the real pages, the real matrix-service library and the matrix simulator:
// a matrix that stops mid-command, answers late or answers garbage, a second operator who
// forces a login while the first drags a window, and a data centre whose database is
// read-only or full (a reboot during an upgrade: tst_linuxe2e). Every case ends with the page
// in a clear state, a message the operator can act on, and every stored server still stored.
#include "DigitalMatrix.h"
#include "DigitalMatrixServerOperWidget.h"
#include "LinuxDigitalMatrixPage.h"
#include "MatrixManageWidget.h"
#include "MatrixServerSelWidget.h"
#include "MirrorWidget.h"
#include "ReconnectBar.h"

#include "IpAddressFrame.h"
#include "UserManagerCore.h"
#include "WaitDialog.h"

#include "LinuxMatrixPeer.h"
#include "LinuxPageHarness.h"
#include "LinuxWallFixture.h"
#include "MatrixProtocol.h"
#include "ModalDriver.h"
#include "TestData.h"
#include "WallGeometry.h"
#include "X86WallFixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QWindow>
#include <QtTest>

#include <thread>

using namespace LUMO_DIGITALMATRIX_MODULE;
using DATACore::UserManagerCore;

namespace {

// Client time-outs of the matrix-service library in this test (ms).
constexpr int ConnectTimeoutMs = 1200;
constexpr int RequestTimeoutMs = 400;

// The data centre's own SQLite connection, to make its file refuse writes.
QSqlDatabase dataCentreConnection()
{
    const QStringList names = QSqlDatabase::connectionNames();
    for (const QString &name : names) {
        if (name.startsWith(QLatin1String("DATACore.UserManagerCore.")))
            return QSqlDatabase::database(name, false);
    }
    return QSqlDatabase();
}

MatrixSimulatorFaults faultsOf(bool silent, int answerDelayMs, bool garbage)
{
    MatrixSimulatorFaults faults;
    faults.silent = silent;
    faults.answerDelayMs = answerDelayMs;
    faults.garbageAnswers = garbage;
    return faults;
}

bool pragma(const QString &statement)
{
    QSqlQuery query(dataCentreConnection());
    return query.exec(statement);
}

QStringList storedServers()
{
    QStringList out;
    const QList<UServerInfo> servers = UserManagerCore::instance()->GetServers(QString());
    for (const UServerInfo &server : servers) {
        if (server.type == SERVERTYPE_X86_DIGITALMATRIX
            || server.type == SERVERTYPE_LINUX_DIGITALMATRIX)
            out << describeServer(server);
    }
    return out;
}

} // namespace
Q_DECLARE_METATYPE(MatrixSimulatorFaults)

class TestFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void connectFaultEndsIdleWithANotice_data();
    void connectFaultEndsIdleWithANotice();

    // X86 control page.
    void x86ForcedLoginWhileDraggingAWindow();
    void x86CommandTheMatrixNeverAnswersIsTold();

    // Linux configuration page.
    void linuxMatrixStopsMidSave();
    void linuxRefusalKeepsTheConnectionAndTheWall_data();
    void linuxRefusalKeepsTheConnectionAndTheWall();
    void linuxLeavingTheArrangementEndsItsMode_data();
    void linuxLeavingTheArrangementEndsItsMode();
    void linuxLoginRefusalSaysWhy();

    // Data centre.
    void dataCentreRefusesAWrite_data();
    void dataCentreRefusesAWrite();

private:
    // The X86 matrix alone with its screens arranged, a server for it and the page shown;
    // gives back the server's key. The stored servers are noted in stored.
    QString openX86Page(int rows, int columns);
    // The Linux matrix alone, a server for it and the page shown; the stored servers are
    // noted in stored.
    void openLinuxPage();
    bool connectLinuxPage()
    {
        l.oper()->connectButton()->click();
        return l.oper()->isServerConnectOK();
    }
    void makeDataCentreFull();

    X86WallFixture x;
    LinuxWallFixture l;
    QStringList stored;
};

void TestFaults::initTestCase()
{
    x.connectTimeoutMs = l.connectTimeoutMs = ConnectTimeoutMs;
    x.requestTimeoutMs = l.requestTimeoutMs = RequestTimeoutMs;
}

void TestFaults::cleanup()
{
    x.stop();
    l.stop();
}

QString TestFaults::openX86Page(int rows, int columns)
{
    x.start();
    if (QTest::currentTestFailed())
        return QString();
    X86WallFixture::arrangeAsAnotherOperator(*x.simulator, rows, columns);
    x.openPage();
    stored = storedServers();
    return x.page->currentServerInfo().id;
}

void TestFaults::openLinuxPage()
{
    l.start(MatrixSimulatorOptions());
    l.openPage();
    stored = storedServers();
}

// ---- X86 control page ---------------------------------------------------------------

void TestFaults::connectFaultEndsIdleWithANotice_data()
{
    QTest::addColumn<bool>("x86");
    QTest::addColumn<MatrixSimulatorFaults>("faults");
    // X86: the box shown (title|text|buttons); Linux: the reason on the hint line.
    QTest::addColumn<QString>("told");

    const QString late = "Warn|Connect Matrix Server time out!Do you need to reconnect?|3";
    QTest::newRow("X86, never answers") << true << faultsOf(true, 0, false) << late;
    QTest::newRow("X86, greets later than the connect time-out")
            << true << faultsOf(false, ConnectTimeoutMs * 2, false) << late;
    QTest::newRow("X86, answers garbage")
            << true << faultsOf(false, 0, true)
            << "Warn|Connect Matrix Server error!Do you need to reconnect?|3";
    // The greeting comes in time, the answer to the login after the request time-out.
    QTest::newRow("X86, answers the login late")
            << true << faultsOf(false, (RequestTimeoutMs + ConnectTimeoutMs) / 2, false)
            << "Failed|Login failed!No answer from the matrix server.|1";
    const QString inTime = QStringLiteral("The matrix did not answer in time.");
    QTest::newRow("Linux, never answers") << false << faultsOf(true, 0, false) << inTime;
    QTest::newRow("Linux, answers after the request time-out")
            << false << faultsOf(false, RequestTimeoutMs + 300, false) << inTime;
    QTest::newRow("Linux, answers garbage")
            << false << faultsOf(false, 0, true) << "The matrix answered something it should not.";
}

void TestFaults::connectFaultEndsIdleWithANotice()
{
    QFETCH(bool, x86);
    QFETCH(MatrixSimulatorFaults, faults);
    QFETCH(QString, told);

    SimulatorFixture &fixture = x86 ? static_cast<SimulatorFixture &>(x) : l;
    const QString id = x86 ? openX86Page(2, 2) : QString();
    if (!x86)
        openLinuxPage();
    fixture.simulator->setFaults(faults);
    if (x86) {
        // The operator declines the reconnect question.
        QTest::mouseClick(x.button("_connectMatrixBtn"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(x.boxes->count() > 0, ConnectTimeoutMs * 4);
        // The page drops the connection, so a late answer and the layout that would follow it
        // bring no windows back.
        QTRY_COMPARE(x.simulator->clientCount(), 0);
        QCoreApplication::processEvents();
        QVERIFY(x.pageIsIdle());
        QCOMPARE(x.boxes->count(), 1);
        QCOMPARE(x.boxes->lastBox(), told);
        QCOMPARE(x.page->currentServerInfo().id, id);
    } else {
        QVERIFY(!connectLinuxPage());
        QCOMPARE(l.oper()->connectServerHint(), "Digital matrix server connect fail! " + told);
        QVERIFY(l.pageIsIdle());
        QCOMPARE(l.boxes->count(), 0);
        // A late answer that still arrives is ignored.
        QTest::qWait(faults.answerDelayMs);
    }
    QCOMPARE(storedServers(), stored);

    // Once the matrix behaves (the Linux one with answers slower than usual but within the
    // time-out), the same page connects.
    MatrixSimulatorFaults slow;
    slow.answerDelayMs = x86 ? 0 : RequestTimeoutMs / 4;
    fixture.simulator->setFaults(slow);
    fixture.boxes->clearRecords();
    if (x86) {
        x.connectPage();
        QTRY_COMPARE(x.wall()->getMirrors().size(), 4);
    } else {
        l.connectPage();
        QVERIFY(l.button("configMatrixBt")->isEnabled());
    }
    QCOMPARE(fixture.boxes->count(), 0);
}

void TestFaults::x86ForcedLoginWhileDraggingAWindow()
{
    openX86Page(2, 2);
    x.connectPage();
    QTRY_COMPARE(x.wall()->getMirrors().size(), 4);
    const QList<int> homeOfFirst = rectList(x.simulator->x86State().windows.at(0).home);

    // The first operator takes window 0 and drags it.
    MirrorWidget *dragged = x.wall()->mirrorByIndex(0);
    QVERIFY(dragged);
    QTRY_VERIFY(dragged->isVisible());
    QWindow *window = x.page->windowHandle();
    const QPoint from = dragged->mapTo(x.page.get(), dragged->rect().center());
    const QPoint to = from + QPoint(120, 60);
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(window, from + QPoint(60, 30));
    QVERIFY(dragged->isSelected());

    // Meanwhile a second operator with the same account forces his login.
    SecondOperator second;
    QVERIFY(second.connectTo(x.simulator->x86Port()));
    QCOMPARE(second.config->Login("", ""), 2);
    QCOMPARE(second.config->ForceLogin(), 1);

    // The first page is told who took over (a console that did not name itself) and neither
    // offers nor counts down to connecting again: that would throw the other console out.
    QTRY_VERIFY_WITH_TIMEOUT(x.boxes->count() > 0, 5000);
    QCOMPARE(x.boxes->count(), 1);
    QVERIFY2(x.boxes->last().text.startsWith("an unnamed console took over the matrix at "),
             qPrintable(x.boxes->last().text));
    QTRY_VERIFY(x.pageIsIdle());
    QVERIFY(x.page->findChild<ReconnectBar *>()->isHidden());

    // The drag ends on a wall without windows: nothing happens, nothing is sent.
    QTest::mouseMove(window, to);
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, to);
    QCoreApplication::processEvents();
    QVERIFY(x.pageIsIdle());
    QCOMPARE(rectList(x.simulator->x86State().windows.at(0).rect), homeOfFirst);
    QCOMPARE(x.boxes->count(), 1);
    QCOMPARE(second.status.load(), int(ConnSuccess));
    QCOMPARE(x.simulator->clientCount(), 1);
    QCOMPARE(storedServers(), stored);
}

void TestFaults::x86CommandTheMatrixNeverAnswersIsTold()
{
    openX86Page(2, 2);
    x.connectPage();
    QTRY_COMPARE(x.wall()->getMirrors().size(), 4);
    MirrorWidget *window = x.wall()->mirrorByIndex(0);
    QTRY_VERIFY(window->isVisible());
    const QRect placed = window->geometry();
    const QList<int> home = rectList(x.simulator->x86State().windows.at(0).home);
    x.boxes->clearRecords();

    // The matrix stops answering: once the move's time is up the page says so, and the wall
    // shows the window where the matrix last reported it.
    x.simulator->setFaults(faultsOf(true, 0, false));
    x.drag(window, QPoint(120, 60));
    QTRY_VERIFY_WITH_TIMEOUT(x.boxes->count() > 0, RequestTimeoutMs * 10);
    QCOMPARE(x.boxes->lastBox(),
             QStringLiteral("Failed|The matrix server did not answer in time!|1"));
    QCOMPARE(window->geometry(), placed);
    QCOMPARE(rectList(x.simulator->x86State().windows.at(0).rect), home);

    // Answering again, the matrix takes the next move and the page tells nothing more.
    x.simulator->setFaults(MatrixSimulatorFaults());
    x.boxes->clearRecords();
    x.drag(window, QPoint(120, 60));
    QTRY_VERIFY_WITH_TIMEOUT(rectList(x.simulator->x86State().windows.at(0).rect) != home,
                             RequestTimeoutMs * 10);
    x.waitUntilShowsTheMatrix();
    QVERIFY(window->geometry() != placed);
    QCOMPARE(x.boxes->count(), 0);
    QVERIFY(x.page->isConnected());

    // The configuration mode is taken on but answered too late: the page says so and the mode
    // ends on the matrix and on the page.
    x.simulator->setFaults(faultsOf(false, RequestTimeoutMs * 2, false));
    x.boxes->answer(1);
    QTest::mouseClick(x.button("_MatrixSettingBtn"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(x.boxes->texts().contains("The matrix server did not answer in time!"),
                             RequestTimeoutMs * 10);
    QTRY_VERIFY_WITH_TIMEOUT(!x.simulator->x86State().configMode, RequestTimeoutMs * 10);
    // (The late answers may still show the mode for a moment; the last layout ends it.)
    QTRY_VERIFY_WITH_TIMEOUT(!x.page->isMonitorConfig(), RequestTimeoutMs * 10);
}

// ---- Linux configuration page ---------------------------------------------------------

void TestFaults::linuxMatrixStopsMidSave()
{
    openLinuxPage();
    QVERIFY(connectLinuxPage());

    l.arrange(2, 2);

    // The matrix swallows the save and is switched off while the page waits for it.
    MatrixSimulatorFaults faults;
    faults.silent = true;
    l.simulator->setFaults(faults);
    std::thread powerCut([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(RequestTimeoutMs / 3));
        l.simulator->stop();
    });
    l.button("saveConfigBt")->click();
    powerCut.join();

    QCOMPARE(l.boxes->texts(), QStringList {"Set matrix row and column arrange fail!"});
    QCOMPARE(l.boxes->last().title, QStringLiteral("Prompt"));
    // Nothing was half saved: the page is still arranging, and the operator can leave.
    QCOMPARE(l.page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusConfig);
    l.oper()->connectButton()->click();
    QVERIFY(l.pageIsIdle());
    QCOMPARE(l.oper()->connectServerHint(), QStringLiteral("Digital matrix server disconnect!"));
    QVERIFY(!connectLinuxPage());
    QCOMPARE(l.oper()->connectServerHint(),
             QStringLiteral("Digital matrix server connect fail! The matrix cannot be reached."));
    QCOMPARE(storedServers(), stored);
}

void TestFaults::linuxRefusalKeepsTheConnectionAndTheWall_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<quint16>("refused"); // 0: busy with an upgrade another workstation started
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("texts");
    const QString busy = QStringLiteral(" The matrix is restarting or upgrading, try again later.");
    QTest::newRow("reboot") << "rebootBt" << quint16(0) << 0
                            << QStringList {"Do you want to reboot matrix server?",
                                            "Reboot matrix server fail!" + busy};
    QTest::newRow("factory reset") << "resetBt" << quint16(0) << 0
                                   << QStringList {"Do you want to restore factory default?",
                                                   "Restore factory default fail!" + busy};
    // The arrangement needs what the matrix holds.
    QTest::newRow("screen numbers unread")
            << "configMatrixBt" << quint16(MatrixProtocol::LinuxGetScreenNumbers)
            << int(MatrixErrTimeout)
            << QStringList {"Read screen numbers fail! The matrix did not answer in time."};
    QTest::newRow("mode switch refused")
            << "configMatrixBt" << quint16(MatrixProtocol::LinuxSetNumberArrangeMode)
            << int(MatrixErrOutOfRange)
            << QStringList {"Start screen arrangement fail! Error code -9."};
}

void TestFaults::linuxRefusalKeepsTheConnectionAndTheWall()
{
    QFETCH(QString, button);
    QFETCH(quint16, refused);
    QFETCH(int, result);
    QFETCH(QStringList, texts);
    openLinuxPage();
    QVERIFY(connectLinuxPage());
    LinuxMatrixPeer peer;
    if (refused == 0) {
        // Another workstation upgrades the matrix, which refuses a reboot or reset meanwhile.
        QCOMPARE(peer.connectTo(l.simulator->linuxPort()), 0);
        QCOMPARE(peer.config()->SaveRowColumn(2, 2), 0);
        QCOMPARE(peer.config()->StartUpgrade(2, "http://files.example/fw-2.0.0.bin"), 0);
    } else {
        MatrixSimulatorFaults faults;
        faults.refusedRequests = {refused};
        faults.refusedResult = result;
        l.simulator->setFaults(faults);
    }
    const SimLinuxState before = l.simulator->linuxState();

    l.boxes->answer(1);
    if (refused == 0)
        l.button(qPrintable(button))->click();
    else
        QVERIFY(!LinuxPageHarness::answerRowColumn(l.button(qPrintable(button)), "2", "2")
                         .isEmpty());
    QCOMPARE(l.boxes->texts(), texts);
    QVERIFY(l.oper()->isServerConnectOK());
    QCOMPARE(l.oper()->connectServerHint(), QStringLiteral("Digital matrix server connect ok!"));
    QVERIFY(l.button("configMatrixBt")->isEnabled());
    // The page stays out of the step: nothing can be saved that was not read.
    QCOMPARE(l.page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusNormal);
    QVERIFY(!l.button("saveConfigBt")->isVisible());
    l.simulator->setFaults(MatrixSimulatorFaults());
    QCOMPARE(l.simulator->clientCount(), refused == 0 ? 2 : 1);
    QVERIFY(!l.simulator->linuxState().arrangeMode);
    QCOMPARE(l.simulator->linuxState().screenMap, before.screenMap);
    QCOMPARE(l.simulator->linuxState().rows, refused == 0 ? 2 : 0);
}

void TestFaults::linuxLeavingTheArrangementEndsItsMode_data()
{
    QTest::addColumn<QString>("how");
    for (const char *how :
         {"select another server", "disconnect", "delete the server", "destroy the page",
          "hide the page", "matrix lost, then connect again", "cancel"})
        QTest::newRow(how) << QString::fromLatin1(how);
}

void TestFaults::linuxLeavingTheArrangementEndsItsMode()
{
    QFETCH(QString, how);
    l.start(MatrixSimulatorOptions());
    SimulatorFixture::storeServer(SERVERTYPE_LINUX_DIGITALMATRIX, "Second wall",
                                  l.simulator->linuxPort() + 1);
    l.openPage();
    QCOMPARE(l.page->matrixServers().size(), 2);
    l.page->setKeepAliveInterval(50);
    QVERIFY(connectLinuxPage());
    l.arrange(2, 2);
    QVERIFY(l.simulator->linuxState().arrangeMode);
    // Arranging: the device operations wait until the step ends.
    for (const char *name : {"rebootBt", "upgradeBt", "resetBt"})
        QVERIFY2(!l.button(name)->isEnabled(), name);

    l.boxes->setDefaultAnswer(1);
    if (how == QLatin1String("select another server")) {
        const QString second = l.page->matrixServers().at(1).id;
        QTest::mouseClick(l.page->findChild<MatrixServerSelWidget *>()->serverButton(second),
                          Qt::LeftButton);
        QCOMPARE(l.page->currentServerIndex(), 1);
    } else if (how == QLatin1String("disconnect")) {
        l.oper()->connectButton()->click();
    } else if (how == QLatin1String("delete the server")) {
        l.oper()->deleteButton()->click();
        QTRY_COMPARE(l.page->matrixServers().size(), 1);
    } else if (how == QLatin1String("destroy the page")) {
        l.page.reset();
    } else if (how == QLatin1String("hide the page")) {
        l.page->hide(); // the host shows its other page
    } else if (how == QLatin1String("cancel")) {
        l.button("cancelBt")->click();
    } else {
        l.simulator->dropLinuxClients();
        QTRY_VERIFY(!l.oper()->isServerConnectOK());
        QVERIFY(l.simulator->linuxState().arrangeMode);
        QVERIFY(connectLinuxPage());
    }
    QTRY_VERIFY(!l.simulator->linuxState().arrangeMode);
    if (l.page) {
        QCOMPARE(l.page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusNormal);
        QVERIFY(l.button("rebootBt")->isEnabled() || !l.oper()->isServerConnectOK());
    }
}

void TestFaults::linuxLoginRefusalSaysWhy()
{
    l.start(MatrixSimulatorOptions(), QString(), false);
    // Without a server there is nothing to connect to, edit or delete.
    l.openPage(false);
    for (QPushButton *button :
         {l.oper()->connectButton(), l.oper()->editButton(), l.oper()->deleteButton()})
        QVERIFY(!button->isEnabled());
    UserManagerCore::instance()->AddServer("Linux wall", "127.0.0.1", "admin", "wrong",
                                           l.simulator->linuxPort(),
                                           SERVERTYPE_LINUX_DIGITALMATRIX);
    QTRY_COMPARE(l.page->currentServerIndex(), 0);
    QVERIFY(!connectLinuxPage());
    QCOMPARE(l.oper()->connectServerHint(),
             QStringLiteral("Digital matrix server connect fail! Wrong user name or password."));
    QVERIFY(l.pageIsIdle());
}

// ---- Data centre ------------------------------------------------------------------------

void TestFaults::makeDataCentreFull()
{
    QSqlQuery query(dataCentreConnection());
    QVERIFY(query.exec(QStringLiteral("PRAGMA page_count")) && query.next());
    const int pages = query.value(0).toInt();
    QVERIFY(query.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(pages)));
    // Other kinds of server fill what room is left, until the file cannot grow.
    UserManagerCore *dc = UserManagerCore::instance();
    int added = 0;
    while (added < 5000
           && dc->AddServer(QStringLiteral("filler %1").arg(added), QStringLiteral("10.9.0.1"),
                            QString(), QString(), 1 + added, SERVERTYPE_STORAGE))
        ++added;
    QVERIFY2(dc->lastError().contains(QLatin1String("full")), qPrintable(dc->lastError()));
    QCoreApplication::processEvents();
}

void TestFaults::dataCentreRefusesAWrite_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("message");

    for (const int type : {SERVERTYPE_X86_DIGITALMATRIX, SERVERTYPE_LINUX_DIGITALMATRIX}) {
        const bool x86 = type == SERVERTYPE_X86_DIGITALMATRIX;
        const char *page = x86 ? "X86" : "Linux";
        const QString failed = x86 ? QStringLiteral(" matrix server failed!")
                                   : QStringLiteral(" matrix server fail!");
        for (const QString &verb :
             {QStringLiteral("Add"), QStringLiteral("Edit"), QStringLiteral("Delete")})
            QTest::addRow("read-only, %s %s", page, qPrintable(verb.toLower()))
                    << "read-only" << type << verb.toLower() << verb + failed;
        QTest::addRow("full, %s add", page) << "full" << type << "add"
                                            << "Add" + failed;
    }
}

void TestFaults::dataCentreRefusesAWrite()
{
    QFETCH(QString, fault);
    QFETCH(int, type);
    QFETCH(QString, operation);
    QFETCH(QString, message);
    const bool linuxServer = type == SERVERTYPE_LINUX_DIGITALMATRIX;

    SimulatorFixture &fixture = linuxServer ? static_cast<SimulatorFixture &>(l) : x;
    if (linuxServer)
        l.start(MatrixSimulatorOptions(), QString(), false);
    else
        x.start(4, false, false);
    if (QTest::currentTestFailed())
        return;
    const int port = linuxServer ? fixture.simulator->linuxPort() : fixture.simulator->x86Port();
    if (!linuxServer)
        X86WallFixture::arrangeAsAnotherOperator(*x.simulator, 1, 2);
    fixture.storeServer(type, "First", port);
    fixture.storeServer(type, "Second", port + 1 > 65535 ? port - 1 : port + 1);
    if (linuxServer) {
        l.connectPage();
    } else {
        x.openPage();
        x.connectPage();
    }
    stored = storedServers();

    if (fault == QLatin1String("read-only"))
        QVERIFY(pragma(QStringLiteral("PRAGMA query_only = ON")));
    else
        makeDataCentreFull();

    // The operator's input for the add and edit dialogs.
    bool dialogRan = false;
    ModalDriver driver([&](QWidget *modal) {
        dialogRan = true;
        if (linuxServer) {
            modal->findChild<QLineEdit *>("nameLineEt")->setText("Third");
            modal->findChild<COMMONUSELIB::IpAddressFrame *>()->setIp("127.0.0.2");
            modal->findChild<QLineEdit *>("portLineEt")->setText("7000");
            modal->findChild<QLineEdit *>("userLineEt")->setText("admin");
            modal->findChild<QLineEdit *>("passwordLineEt")->setText("admin");
        } else {
            modal->findChild<QLineEdit *>("serverName")->setText("Third");
            modal->findChild<COMMONUSELIB::IpAddressFrame *>("ipFrame")->setIp("127.0.0.2");
            modal->findChild<QLineEdit *>("serverPort")->setText("7000");
        }
        modal->findChild<QPushButton *>("saveBt")->click();
    });
    QAbstractButton *opener =
            linuxServer ? l.oper()->deleteButton() : x.button("_" + operation + "ServerBtn");
    if (linuxServer && operation == QLatin1String("add"))
        opener = l.page->findChild<MatrixServerSelWidget *>("serverSelWdt")->addButton();
    else if (linuxServer && operation == QLatin1String("edit"))
        opener = l.oper()->editButton();
    fixture.boxes->answer(1); // "Delete selected server?"
    driver.start();
    opener->click();
    driver.stop();
    QCOMPARE(dialogRan, operation != QLatin1String("delete"));
    QCoreApplication::processEvents();

    // One notice says what failed; nothing is waited for; every server is still stored.
    QCOMPARE(fixture.boxes->last().text, message);
    QCOMPARE(fixture.boxes->last().buttons, short(1));
    QCOMPARE(fixture.boxes->last().title,
             linuxServer ? QStringLiteral("Prompt") : QStringLiteral("Failed"));
    QVERIFY(!COMMONUSELIB::WaitDialog::getInstance()->isWaiting());
    QCOMPARE(storedServers(), stored);
    if (linuxServer) {
        QCOMPARE(l.page->matrixServers().size(), 2);
        QCOMPARE(l.page->currentServerIndex(), 0);
        QCOMPARE(l.page->matrixServers().at(0).name, QStringLiteral("First"));
        // The page left the matrix for the write; it is back on it, as before.
        QVERIFY(l.oper()->isServerConnectOK());
        QCOMPARE(l.oper()->connectServerHint(),
                 QStringLiteral("Digital matrix server connect ok!"));
        QVERIFY(l.button("configMatrixBt")->isEnabled());
        QCOMPARE(fixture.simulator->clientCount(), 1);
    } else {
        QCOMPARE(x.page->currentServerInfo().name, QStringLiteral("First"));
        // A refused edit or delete leaves the connection as it was.
        if (operation != QLatin1String("add")) {
            QVERIFY(x.page->isConnected());
            QVERIFY(x.button("_connectMatrixBtn")->isChecked());
        }
    }

    // With the file writable again the same operation goes through.
    if (fault == QLatin1String("read-only")) {
        QVERIFY(pragma(QStringLiteral("PRAGMA query_only = OFF")));
        QVERIFY(UserManagerCore::instance()->AddServer("Fourth", "127.0.0.4", "admin", "admin",
                                                       7001, type));
        QTRY_COMPARE(storedServers().size(), stored.size() + 1);
        if (linuxServer)
            QTRY_COMPARE(l.page->matrixServers().size(), 3);
        else
            QTRY_COMPARE(x.page->currentServerInfo().name, QStringLiteral("Fourth"));
    }
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
