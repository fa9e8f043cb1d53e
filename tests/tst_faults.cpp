// Faults against the real pages, the real matrix-service library and the matrix simulator:
// a matrix that stops mid-command, answers late or answers garbage, a second operator who
// forces a login while the first drags a window, and a data centre whose database is
// read-only or full (a reboot during an upgrade: tst_linuxe2e). Every case ends with the page
// in a clear state, a message the operator can act on, and every stored server still stored.
#include "DigitalMatrix.h"
#include "DigitalMatrixInteractionPort.h"
#include "DigitalMatrixServerOperWidget.h"
#include "LinuxDigitalMatrixPage.h"
#include "MatrixManageWidget.h"
#include "MatrixOperButtonsWt.h"
#include "MatrixServerSelWidget.h"
#include "MirrorWidget.h"
#include "ReconnectBar.h"

#include "IpAddressFrame.h"
#include "ServerConfig.h"
#include "UserManagerCore.h"
#include "WaitDialog.h"

#include "LinuxMatrixPeer.h"
#include "LinuxWallFixture.h"
#include "MatrixProtocol.h"
#include "MatrixSimulator.h"
#include "SimulatorFixture.h"
#include "SecondOperator.h"
#include "MessageBoxScript.h"
#include "ModalDriver.h"
#include "TestData.h"
#include "WallGeometry.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

#include <atomic>
#include <memory>
#include <thread>

using namespace LUMO_DIGITALMATRIX_MODULE;
using DATACore::UserManagerCore;

namespace {

// Client time-outs of the matrix-service library in this test (ms).
constexpr int ConnectTimeoutMs = 1200;
constexpr int RequestTimeoutMs = 400;

const QString X86Reconnect[] = {
        QStringLiteral("Connect Matrix Server time out!Do you need to reconnect?"),
        QStringLiteral("Connect Matrix Server error!Do you need to reconnect?"),
        QStringLiteral("Matrix Server disconnect!Do you need to reconnect?"),
        QStringLiteral("Connect Matrix Server failed!Do you need to reconnect?"),
};

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

class TestFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    // X86 control page.
    void x86ConnectFaultEndsIdleWithAQuestion_data();
    void x86ConnectFaultEndsIdleWithAQuestion();
    void x86LateLoginAnswerEndsIdle();
    void x86MatrixStopsWhileLoggedIn();
    void x86ForcedLoginWhileDraggingAWindow();

    // Linux configuration page.
    void linuxConnectFaultShowsConnectFail_data();
    void linuxConnectFaultShowsConnectFail();
    void linuxSlowAnswersWithinTheTimeOutStillWork();
    void linuxMatrixStopsMidSave();
    void linuxRefusedRebootOrResetKeepsTheConnection_data();
    void linuxRefusedRebootOrResetKeepsTheConnection();
    void linuxLeavingTheArrangementEndsItsMode_data();
    void linuxLeavingTheArrangementEndsItsMode();
    void linuxArrangementNeedsWhatTheMatrixHolds_data();
    void linuxArrangementNeedsWhatTheMatrixHolds();
    void linuxLostMatrixIsShown_data();
    void linuxLostMatrixIsShown();
    void linuxLoginRefusalSaysWhy();
    void linuxServerButtonsNeedAServer();

    // Data centre.
    void dataCentreRefusesAWrite_data();
    void dataCentreRefusesAWrite();

private:
    bool startSimulator(bool x86, bool linuxMatrix);
    static QString storeServer(int type, const QString &name, int port)
    {
        return SimulatorFixture::storeServer(type, name, port);
    }
    void arrangeX86Wall(int rows, int columns);
    void showX86Page();
    bool connectX86Page();
    void showLinuxPage();
    // The X86 matrix alone with its screens arranged, a server "Wall" for it and the page
    // shown; gives back the server's key. The stored servers are noted in stored.
    QString openX86Page(int rows, int columns);
    // The Linux matrix alone, a server "Linux wall" for it and the page shown; the stored
    // servers are noted in stored.
    void openLinuxPage();
    bool connectLinuxPage();
    void enterLinuxArrangement(int rows, int columns);
    void makeDataCentreFull();

    QPushButton *x86Button(const char *name) const
    {
        return x86Page->findChild<QPushButton *>(QLatin1String(name));
    }
    MatrixManageWidget *wall() const { return x86Page->findChild<MatrixManageWidget *>(); }
    DigitalMatrixServerOperWidget *oper() const
    {
        return linuxPage->findChild<DigitalMatrixServerOperWidget *>("serverOperWdt");
    }
    QPushButton *linuxButton(const char *name) const
    {
        return linuxPage->findChild<QPushButton *>(QLatin1String(name));
    }
    bool x86PageIsIdle() const;
    bool linuxPageIsIdle() const;

    SimulatorFixture m;
    std::unique_ptr<QTemporaryDir> &dir = m.dir;
    std::unique_ptr<MatrixSimulator> &simulator = m.simulator;
    std::unique_ptr<MessageBoxScript> &boxes = m.boxes;
    std::unique_ptr<DigitalMatrix> x86Page;
    std::unique_ptr<LinuxDigitalMatrixPage> linuxPage;
    QStringList stored;
};

void TestFaults::initTestCase()
{
    // Read by the library when the port creates its interfaces.
    qputenv("DM_MATRIX_CONNECT_TIMEOUT_MS", QByteArray::number(ConnectTimeoutMs));
    qputenv("DM_MATRIX_REQUEST_TIMEOUT_MS", QByteArray::number(RequestTimeoutMs));
}

void TestFaults::cleanup()
{
    x86Page.reset();
    linuxPage.reset();
    m.stopMatrix();
}

bool TestFaults::startSimulator(bool x86, bool linuxMatrix)
{
    MatrixSimulatorOptions options;
    options.x86Port = x86 ? 0 : -1;
    options.linuxPort = linuxMatrix ? 0 : -1;
    m.startMatrix(options);
    return !QTest::currentTestFailed();
}

// Gives the X86 matrix a screen arrangement, as an operator did earlier, so that a login
// shows windows instead of asking for the screen count.
void TestFaults::arrangeX86Wall(int rows, int columns)
{
    {
        SecondOperator earlier;
        QVERIFY(earlier.connectTo(simulator->x86Port()));
        QCOMPARE(earlier.config->Login("", ""), 0);
        earlier.config->SetScreenCount(rows, columns);
        QTRY_COMPARE(simulator->x86State().rows, rows);
    }
    QTRY_COMPARE(simulator->clientCount(), 0);
}

void TestFaults::showX86Page()
{
    x86Page = std::make_unique<DigitalMatrix>();
    x86Page->setGeometry(40, 40, 1200, 640);
    x86Page->show();
    QVERIFY(QTest::qWaitForWindowExposed(x86Page.get()));
    // The first show selects the first stored server.
    QTRY_VERIFY(!x86Page->currentServerInfo().id.isEmpty());
}

QString TestFaults::openX86Page(int rows, int columns)
{
    if (!startSimulator(true, false))
        return QString();
    arrangeX86Wall(rows, columns);
    const QString id = storeServer(SERVERTYPE_X86_DIGITALMATRIX, "Wall", simulator->x86Port());
    showX86Page();
    stored = storedServers();
    return id;
}

void TestFaults::openLinuxPage()
{
    QVERIFY(startSimulator(false, true));
    storeServer(SERVERTYPE_LINUX_DIGITALMATRIX, "Linux wall", simulator->linuxPort());
    showLinuxPage();
    stored = storedServers();
}

bool TestFaults::connectX86Page()
{
    QTest::mouseClick(x86Button("_connectMatrixBtn"), Qt::LeftButton);
    return QTest::qWaitFor(
            [this] { return x86Page->isConnected() && wall()->getMirrors().size() > 0; }, 5000);
}

bool TestFaults::x86PageIsIdle() const
{
    const QStringList controls {"_clearSourceBtn",   "_setSourceBtn", "_turnShowBtn",
                                "_MatrixSettingBtn", "_resetLayout",  "_saveMatrixSettingBtn"};
    for (const QString &name : controls) {
        if (x86Page->findChild<QPushButton *>(name)->isEnabled())
            return false;
    }
    return !x86Page->isConnected() && !x86Button("_connectMatrixBtn")->isChecked()
            && x86Button("_connectMatrixBtn")->toolTip() == QLatin1String("Connect server")
            && wall()->getMirrors().isEmpty()
            && !COMMONUSELIB::WaitDialog::getInstance()->isWaiting();
}

void TestFaults::showLinuxPage()
{
    linuxPage = std::make_unique<LinuxDigitalMatrixPage>();
    linuxPage->resize(1000, 640);
    linuxPage->show();
    QVERIFY(QTest::qWaitForWindowExposed(linuxPage.get()));
    QTRY_COMPARE(linuxPage->currentServerIndex(), 0);
}

bool TestFaults::connectLinuxPage()
{
    oper()->connectButton()->click();
    return oper()->isServerConnectOK();
}

void TestFaults::enterLinuxArrangement(int rows, int columns)
{
    LinuxWallFixture::answerRowColumn(linuxButton("configMatrixBt"), rows, columns);
}

bool TestFaults::linuxPageIsIdle() const
{
    return !oper()->isServerConnectOK() && !oper()->connectButton()->isChecked()
            && !linuxPage->findChild<MatrixOperButtonsWt *>("operButtonsWt")->isEnabled()
            && !COMMONUSELIB::WaitDialog::getInstance()->isWaiting();
}

// ---- X86 control page ---------------------------------------------------------------

void TestFaults::x86ConnectFaultEndsIdleWithAQuestion_data()
{
    QTest::addColumn<bool>("silent");
    QTest::addColumn<int>("answerDelayMs");
    QTest::addColumn<bool>("garbage");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("question");

    QTest::newRow("never answers") << true << 0 << false << "Warn" << X86Reconnect[0];
    QTest::newRow("greets later than the connect time-out")
            << false << ConnectTimeoutMs * 2 << false << "Warn" << X86Reconnect[0];
    QTest::newRow("answers garbage") << false << 0 << true << "Warn" << X86Reconnect[1];
}

void TestFaults::x86ConnectFaultEndsIdleWithAQuestion()
{
    QFETCH(bool, silent);
    QFETCH(int, answerDelayMs);
    QFETCH(bool, garbage);
    QFETCH(QString, title);
    QFETCH(QString, question);

    const QString id = openX86Page(2, 2);

    MatrixSimulatorFaults faults;
    faults.silent = silent;
    faults.answerDelayMs = answerDelayMs;
    faults.garbageAnswers = garbage;
    simulator->setFaults(faults);

    // The operator declines the reconnect question.
    QTest::mouseClick(x86Button("_connectMatrixBtn"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(boxes->texts().contains(question), ConnectTimeoutMs * 4);
    QCOMPARE(boxes->lastBox(), title + '|' + question + "|3");
    QTRY_VERIFY(x86PageIsIdle());
    QCOMPARE(x86Page->currentServerInfo().id, id);
    QCOMPARE(storedServers(), stored);

    // Once the matrix behaves, the same page connects.
    simulator->setFaults(MatrixSimulatorFaults());
    boxes->clearRecords();
    QVERIFY(connectX86Page());
    QCOMPARE(wall()->getMirrors().size(), 4);
    QCOMPARE(boxes->count(), 0);
}

void TestFaults::x86LateLoginAnswerEndsIdle()
{
    openX86Page(2, 2);

    // The greeting comes in time, the answer to the login after the request time-out.
    MatrixSimulatorFaults faults;
    faults.answerDelayMs = (RequestTimeoutMs + ConnectTimeoutMs) / 2;
    QVERIFY(faults.answerDelayMs < ConnectTimeoutMs);
    QVERIFY(faults.answerDelayMs > RequestTimeoutMs);
    simulator->setFaults(faults);

    QTest::mouseClick(x86Button("_connectMatrixBtn"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(boxes->count() > 0, ConnectTimeoutMs * 4);
    // The page drops the connection, so the late answer and the layout that would
    // follow it bring no windows back.
    QTRY_COMPARE(simulator->clientCount(), 0);
    QCoreApplication::processEvents();
    QVERIFY(x86PageIsIdle());
    QCOMPARE(boxes->count(), 1);
    QCOMPARE(boxes->lastBox(),
             QStringLiteral("Failed|Login failed!No answer from the matrix server.|1"));
    QCOMPARE(storedServers(), stored);

    simulator->setFaults(MatrixSimulatorFaults());
    boxes->clearRecords();
    QVERIFY(connectX86Page());
    QCOMPARE(boxes->count(), 0);
}

void TestFaults::x86MatrixStopsWhileLoggedIn()
{
    openX86Page(1, 2);
    QVERIFY(connectX86Page());
    QCOMPARE(wall()->getMirrors().size(), 2);

    // The matrix goes away: the page shows it idle and counts down to connecting again by
    // itself, asking nothing.
    simulator->stop();
    QTRY_VERIFY_WITH_TIMEOUT(x86PageIsIdle(), ConnectTimeoutMs * 4);
    QTRY_VERIFY(x86Page->findChild<ReconnectBar *>()->text().startsWith("Reconnecting to "));
    QCOMPARE(boxes->count(), 0);
    QCOMPARE(storedServers(), stored);
}

void TestFaults::x86ForcedLoginWhileDraggingAWindow()
{
    openX86Page(2, 2);
    QVERIFY(connectX86Page());
    const QList<int> homeOfFirst = rectList(simulator->x86State().windows.at(0).home);

    // The first operator takes window 0 and drags it.
    MirrorWidget *dragged = wall()->mirrorByIndex(0);
    QVERIFY(dragged);
    QTRY_VERIFY(dragged->isVisible());
    QWindow *window = x86Page->windowHandle();
    const QPoint from = dragged->mapTo(x86Page.get(), dragged->rect().center());
    const QPoint to = from + QPoint(120, 60);
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(window, from + QPoint(60, 30));
    QVERIFY(dragged->isSelected());

    // Meanwhile a second operator with the same account forces his login.
    SecondOperator second;
    QVERIFY(second.connectTo(simulator->x86Port()));
    QCOMPARE(second.config->Login("", ""), 2);
    QCOMPARE(second.config->ForceLogin(), 1);

    // The first page is told who took over (a console that did not name itself) and is not
    // offered to connect again.
    QTRY_VERIFY_WITH_TIMEOUT(boxes->count() > 0, 5000);
    QCOMPARE(boxes->count(), 1);
    QVERIFY2(boxes->last().text.startsWith("an unnamed console took over the matrix at "),
             qPrintable(boxes->last().text));
    QTRY_VERIFY(x86PageIsIdle());

    // The drag ends on a wall without windows: nothing happens, nothing is sent.
    QTest::mouseMove(window, to);
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, to);
    QCoreApplication::processEvents();
    QVERIFY(x86PageIsIdle());
    QCOMPARE(rectList(simulator->x86State().windows.at(0).rect), homeOfFirst);
    QCOMPARE(boxes->count(), 1);
    QCOMPARE(second.status.load(), int(ConnSuccess));
    QCOMPARE(simulator->clientCount(), 1);
    QCOMPARE(storedServers(), stored);
}

// ---- Linux configuration page ---------------------------------------------------------

void TestFaults::linuxConnectFaultShowsConnectFail_data()
{
    QTest::addColumn<bool>("silent");
    QTest::addColumn<int>("answerDelayMs");
    QTest::addColumn<bool>("garbage");
    QTest::addColumn<QString>("reason");

    const QString late = QStringLiteral("The matrix did not answer in time.");
    QTest::newRow("never answers") << true << 0 << false << late;
    QTest::newRow("answers after the request time-out")
            << false << RequestTimeoutMs + 300 << false << late;
    QTest::newRow("answers garbage")
            << false << 0 << true << "The matrix answered something it should not.";
}

void TestFaults::linuxConnectFaultShowsConnectFail()
{
    QFETCH(bool, silent);
    QFETCH(int, answerDelayMs);
    QFETCH(bool, garbage);
    QFETCH(QString, reason);

    openLinuxPage();

    MatrixSimulatorFaults faults;
    faults.silent = silent;
    faults.answerDelayMs = answerDelayMs;
    faults.garbageAnswers = garbage;
    simulator->setFaults(faults);

    QVERIFY(!connectLinuxPage());
    QCOMPARE(oper()->connectServerHint(), "Digital matrix server connect fail! " + reason);
    QVERIFY(linuxPageIsIdle());
    QCOMPARE(boxes->count(), 0);
    QCOMPARE(storedServers(), stored);

    // A late answer that still arrives is ignored; the next connect works.
    QTest::qWait(answerDelayMs);
    simulator->setFaults(MatrixSimulatorFaults());
    QVERIFY(connectLinuxPage());
    QCOMPARE(oper()->connectServerHint(), QStringLiteral("Digital matrix server connect ok!"));
    QVERIFY(linuxButton("configMatrixBt")->isEnabled());
}

void TestFaults::linuxSlowAnswersWithinTheTimeOutStillWork()
{
    openLinuxPage();

    MatrixSimulatorFaults faults;
    faults.answerDelayMs = RequestTimeoutMs / 4;
    simulator->setFaults(faults);
    QVERIFY(connectLinuxPage());
    QCOMPARE(oper()->connectServerHint(), QStringLiteral("Digital matrix server connect ok!"));
    QCOMPARE(boxes->count(), 0);
}

void TestFaults::linuxMatrixStopsMidSave()
{
    openLinuxPage();
    QVERIFY(connectLinuxPage());

    enterLinuxArrangement(2, 2);
    QCOMPARE(linuxPage->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusConfig);

    // The matrix swallows the save and is switched off while the page waits for it.
    MatrixSimulatorFaults faults;
    faults.silent = true;
    simulator->setFaults(faults);
    std::thread powerCut([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(RequestTimeoutMs / 3));
        simulator->stop();
    });
    linuxButton("saveConfigBt")->click();
    powerCut.join();

    QCOMPARE(boxes->texts(), QStringList {"Set matrix row and column arrange fail!"});
    QCOMPARE(boxes->last().title, QStringLiteral("Prompt"));
    // Nothing was half saved: the page is still arranging, and the operator can leave.
    QCOMPARE(linuxPage->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusConfig);
    oper()->connectButton()->click();
    QVERIFY(linuxPageIsIdle());
    QCOMPARE(oper()->connectServerHint(), QStringLiteral("Digital matrix server disconnect!"));
    QVERIFY(!connectLinuxPage());
    QCOMPARE(oper()->connectServerHint(),
             QStringLiteral("Digital matrix server connect fail! The matrix cannot be reached."));
    QCOMPARE(storedServers(), stored);
}

void TestFaults::linuxRefusedRebootOrResetKeepsTheConnection_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("texts");
    const QString busy = QStringLiteral(" The matrix is restarting or upgrading, try again later.");
    QTest::newRow("reboot") << "rebootBt"
                            << QStringList {"Do you want to reboot matrix server?",
                                            "Reboot matrix server fail!" + busy};
    QTest::newRow("factory reset") << "resetBt"
                                   << QStringList {"Do you want to restore factory default?",
                                                   "Restore factory default fail!" + busy};
}

void TestFaults::linuxRefusedRebootOrResetKeepsTheConnection()
{
    QFETCH(QString, button);
    QFETCH(QStringList, texts);
    openLinuxPage();
    QVERIFY(connectLinuxPage());
    // Another workstation upgrades the matrix, which refuses a reboot or reset meanwhile.
    LinuxMatrixPeer peer;
    QCOMPARE(peer.connectTo(simulator->linuxPort()), 0);
    QCOMPARE(peer.config()->SaveRowColumn(2, 2), 0);
    QCOMPARE(peer.config()->StartUpgrade(2, "http://files.example/fw-2.0.0.bin"), 0);

    boxes->answer(1);
    linuxButton(qPrintable(button))->click();
    QCOMPARE(boxes->texts(), texts);
    QVERIFY(oper()->isServerConnectOK());
    QCOMPARE(oper()->connectServerHint(), QStringLiteral("Digital matrix server connect ok!"));
    QVERIFY(linuxButton("configMatrixBt")->isEnabled());
    QCOMPARE(simulator->clientCount(), 2);
    QCOMPARE(simulator->linuxState().rows, 2);
}

void TestFaults::linuxLeavingTheArrangementEndsItsMode_data()
{
    QTest::addColumn<QString>("how");
    for (const char *how : {"select another server", "disconnect", "delete the server",
                            "destroy the page", "hide the page", "matrix lost, then connect again",
                            "cancel"})
        QTest::newRow(how) << QString::fromLatin1(how);
}

void TestFaults::linuxLeavingTheArrangementEndsItsMode()
{
    QFETCH(QString, how);
    QVERIFY(startSimulator(false, true));
    storeServer(SERVERTYPE_LINUX_DIGITALMATRIX, "Linux wall", simulator->linuxPort());
    storeServer(SERVERTYPE_LINUX_DIGITALMATRIX, "Second wall", simulator->linuxPort() + 1);
    showLinuxPage();
    QCOMPARE(linuxPage->matrixServers().size(), 2);
    linuxPage->setKeepAliveInterval(50);
    QVERIFY(connectLinuxPage());
    enterLinuxArrangement(2, 2);
    QVERIFY(simulator->linuxState().arrangeMode);
    // Arranging: the device operations wait until the step ends.
    for (const char *name : {"rebootBt", "upgradeBt", "resetBt"})
        QVERIFY2(!linuxButton(name)->isEnabled(), name);

    boxes->setDefaultAnswer(1);
    if (how == QLatin1String("select another server")) {
        const QString second = linuxPage->matrixServers().at(1).id;
        QTest::mouseClick(linuxPage->findChild<MatrixServerSelWidget *>()->serverButton(second),
                          Qt::LeftButton);
        QCOMPARE(linuxPage->currentServerIndex(), 1);
    } else if (how == QLatin1String("disconnect")) {
        oper()->connectButton()->click();
    } else if (how == QLatin1String("delete the server")) {
        oper()->deleteButton()->click();
        QTRY_COMPARE(linuxPage->matrixServers().size(), 1);
    } else if (how == QLatin1String("destroy the page")) {
        linuxPage.reset();
    } else if (how == QLatin1String("hide the page")) {
        linuxPage->hide(); // the host shows its other page
    } else if (how == QLatin1String("cancel")) {
        linuxButton("cancelBt")->click();
    } else {
        simulator->dropLinuxClients();
        QTRY_VERIFY(!oper()->isServerConnectOK());
        QVERIFY(simulator->linuxState().arrangeMode);
        QVERIFY(connectLinuxPage());
    }
    QTRY_VERIFY(!simulator->linuxState().arrangeMode);
    if (linuxPage) {
        QCOMPARE(linuxPage->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusNormal);
        QVERIFY(linuxButton("rebootBt")->isEnabled() || !oper()->isServerConnectOK());
    }
}

void TestFaults::linuxArrangementNeedsWhatTheMatrixHolds_data()
{
    QTest::addColumn<quint16>("refused");
    QTest::addColumn<QString>("text");
    QTest::newRow("screen numbers unread")
            << quint16(MatrixProtocol::LinuxGetScreenNumbers)
            << "Read screen numbers fail! The matrix did not answer in time.";
    QTest::newRow("mode switch refused") << quint16(MatrixProtocol::LinuxSetNumberArrangeMode)
                                         << "Start screen arrangement fail! Error code -9.";
}

void TestFaults::linuxArrangementNeedsWhatTheMatrixHolds()
{
    QFETCH(quint16, refused);
    QFETCH(QString, text);
    openLinuxPage();
    QVERIFY(connectLinuxPage());
    const QByteArray screenMap = simulator->linuxState().screenMap;

    MatrixSimulatorFaults faults;
    faults.refusedRequests = {refused};
    faults.refusedResult =
            text.contains(QLatin1String("in time")) ? MatrixErrTimeout : MatrixErrOutOfRange;
    simulator->setFaults(faults);
    enterLinuxArrangement(2, 2);
    QCOMPARE(boxes->texts(), QStringList {text});
    // The page stays out of the step: nothing can be saved that was not read.
    QCOMPARE(linuxPage->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusNormal);
    QVERIFY(!linuxButton("saveConfigBt")->isVisible());
    simulator->setFaults(MatrixSimulatorFaults());
    QVERIFY(!simulator->linuxState().arrangeMode);
    QCOMPARE(simulator->linuxState().screenMap, screenMap);
    QCOMPARE(simulator->linuxState().rows, 0);
}

void TestFaults::linuxLostMatrixIsShown_data()
{
    QTest::addColumn<bool>("stops");
    QTest::newRow("matrix stops") << true;
    QTest::newRow("matrix falls silent") << false;
}

void TestFaults::linuxLostMatrixIsShown()
{
    QFETCH(bool, stops);
    openLinuxPage();
    linuxPage->setKeepAliveInterval(100);
    QVERIFY(connectLinuxPage());
    if (stops) {
        simulator->stop();
    } else {
        MatrixSimulatorFaults faults;
        faults.silent = true;
        simulator->setFaults(faults);
    }
    QTRY_COMPARE_WITH_TIMEOUT(oper()->connectServerHint(),
                              QStringLiteral("Digital matrix server connection lost!"), 5000);
    QVERIFY(linuxPageIsIdle());
    QCOMPARE(boxes->count(), 0);
}

void TestFaults::linuxLoginRefusalSaysWhy()
{
    QVERIFY(startSimulator(false, true));
    UserManagerCore::instance()->AddServer("Linux wall", "127.0.0.1", "admin", "wrong",
                                           simulator->linuxPort(), SERVERTYPE_LINUX_DIGITALMATRIX);
    QCoreApplication::processEvents();
    showLinuxPage();
    QVERIFY(!connectLinuxPage());
    QCOMPARE(oper()->connectServerHint(),
             QStringLiteral("Digital matrix server connect fail! Wrong user name or password."));
    QVERIFY(linuxPageIsIdle());
}

void TestFaults::linuxServerButtonsNeedAServer()
{
    linuxPage = std::make_unique<LinuxDigitalMatrixPage>();
    linuxPage->show();
    QVERIFY(QTest::qWaitForWindowExposed(linuxPage.get()));
    QCOMPARE(linuxPage->currentServerIndex(), -1);
    QVERIFY(!oper()->connectButton()->isEnabled());
    QVERIFY(!oper()->editButton()->isEnabled());
    QVERIFY(!oper()->deleteButton()->isEnabled());
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

    const int x86 = SERVERTYPE_X86_DIGITALMATRIX;
    const int lnx = SERVERTYPE_LINUX_DIGITALMATRIX;
    QTest::newRow("read-only, X86 add") << "read-only" << x86 << "add"
                                        << "Add matrix server failed!";
    QTest::newRow("read-only, X86 edit") << "read-only" << x86 << "edit"
                                         << "Edit matrix server failed!";
    QTest::newRow("read-only, X86 delete") << "read-only" << x86 << "delete"
                                           << "Delete matrix server failed!";
    QTest::newRow("full, X86 add") << "full" << x86 << "add"
                                   << "Add matrix server failed!";
    QTest::newRow("read-only, Linux add") << "read-only" << lnx << "add"
                                          << "Add matrix server fail!";
    QTest::newRow("read-only, Linux edit") << "read-only" << lnx << "edit"
                                           << "Edit matrix server fail!";
    QTest::newRow("read-only, Linux delete") << "read-only" << lnx << "delete"
                                             << "Delete matrix server fail!";
    QTest::newRow("full, Linux add") << "full" << lnx << "add"
                                     << "Add matrix server fail!";
}

void TestFaults::dataCentreRefusesAWrite()
{
    QFETCH(QString, fault);
    QFETCH(int, type);
    QFETCH(QString, operation);
    QFETCH(QString, message);
    const bool linuxServer = type == SERVERTYPE_LINUX_DIGITALMATRIX;

    QVERIFY(startSimulator(!linuxServer, linuxServer));
    const int port = linuxServer ? simulator->linuxPort() : simulator->x86Port();
    if (!linuxServer)
        arrangeX86Wall(1, 2);
    storeServer(type, "First", port);
    storeServer(type, "Second", port + 1 > 65535 ? port - 1 : port + 1);
    if (linuxServer) {
        showLinuxPage();
        QVERIFY(connectLinuxPage());
    } else {
        showX86Page();
        QVERIFY(connectX86Page());
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
    boxes->answer(1); // "Delete selected server?"
    driver.start();
    if (operation == QLatin1String("add")) {
        if (linuxServer)
            linuxPage->findChild<MatrixServerSelWidget *>("serverSelWdt")->addButton()->click();
        else
            QTest::mouseClick(x86Button("_addServerBtn"), Qt::LeftButton);
    } else if (operation == QLatin1String("edit")) {
        if (linuxServer)
            oper()->editButton()->click();
        else
            QTest::mouseClick(x86Button("_editServerBtn"), Qt::LeftButton);
    } else {
        if (linuxServer)
            oper()->deleteButton()->click();
        else
            QTest::mouseClick(x86Button("_deleteServerBtn"), Qt::LeftButton);
    }
    driver.stop();
    QCOMPARE(dialogRan, operation != QLatin1String("delete"));
    QCoreApplication::processEvents();

    // One notice says what failed; nothing is waited for; every server is still stored.
    QCOMPARE(boxes->last().text, message);
    QCOMPARE(boxes->last().buttons, short(1));
    QCOMPARE(boxes->last().title,
             linuxServer ? QStringLiteral("Prompt") : QStringLiteral("Failed"));
    QVERIFY(!COMMONUSELIB::WaitDialog::getInstance()->isWaiting());
    QCOMPARE(storedServers(), stored);
    if (linuxServer) {
        QCOMPARE(linuxPage->matrixServers().size(), 2);
        QCOMPARE(linuxPage->currentServerIndex(), 0);
        QCOMPARE(linuxPage->matrixServers().at(0).name, QStringLiteral("First"));
        // The page left the matrix for the write; it is back on it, as before.
        QVERIFY(oper()->isServerConnectOK());
        QCOMPARE(oper()->connectServerHint(), QStringLiteral("Digital matrix server connect ok!"));
        QVERIFY(linuxButton("configMatrixBt")->isEnabled());
        QCOMPARE(simulator->clientCount(), 1);
    } else {
        QCOMPARE(x86Page->currentServerInfo().name, QStringLiteral("First"));
        // A refused edit or delete leaves the connection as it was.
        if (operation != QLatin1String("add")) {
            QVERIFY(x86Page->isConnected());
            QVERIFY(x86Button("_connectMatrixBtn")->isChecked());
        }
    }

    // With the file writable again the same operation goes through.
    if (fault == QLatin1String("read-only")) {
        QVERIFY(pragma(QStringLiteral("PRAGMA query_only = OFF")));
        QVERIFY(UserManagerCore::instance()->AddServer("Fourth", "127.0.0.4", "admin", "admin",
                                                       7001, type));
        QTRY_COMPARE(storedServers().size(), stored.size() + 1);
        if (linuxServer)
            QTRY_COMPARE(linuxPage->matrixServers().size(), 3);
        else
            QTRY_COMPARE(x86Page->currentServerInfo().name, QStringLiteral("Fourth"));
    }
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
