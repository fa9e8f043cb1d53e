// The X86 control page where the matrix simulator cannot lead it: login codes and connection
// outcomes a matrix does not produce on demand, servers the page remembers, the questions
// before a command, the split chooser and the screen count, driven with the recording
// service fake and scripted message boxes.
#include "DigitalMatrix.h"
#include "ReconnectBar.h"
#include "MatrixManageWidget.h"
#include "MirrorWidget.h"
#include "ServerButton.h"
#include "ServerSelectWidget.h"
#include "SpliteWindow.h"
#include "_ModifyDigitalMatrixServerDlg.h"
#include "setMatrixScreen.h"

#include "IpAddressFrame.h"
#include "QLogger.h"
#include "UserManagerCore.h"
#include "WaitDialog.h"

#include "FakeMatrixService.h"
#include "MessageBoxScript.h"
#include "ModalDriver.h"
#include "TestData.h"
#include "WallGeometry.h"
#include "X86PageHarness.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolTip>
#include <QtTest>

#include <memory>

using namespace LUMO_DIGITALMATRIX_MODULE;
using DATACore::UserManagerCore;

class TestX86Page : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // Page shell.
    void listsOnlyX86ServersAndSelectsTheFirst();

    // Connecting and logging in.
    void loginDecision_data();
    void loginDecision();
    void failureOutcomesAskToReconnectOnlyWhileShown_data();
    void failureOutcomesAskToReconnectOnlyWhileShown();
    void returningReconnectsOnlyAServerLeftConnected_data();
    void returningReconnectsOnlyAServerLeftConnected();

    // Servers.
    void serversFromNoneToTheLimitAndBack();
    void editKeepsTheLoginAndReconnects();

    // Server dialog.
    void serverDialogValidation_data();
    void serverDialogValidation();
    void serverDialogCleansInputAndReturnsAnX86Record();

    // Wall on the page.
    void commandsAskFirst_data();
    void commandsAskFirst();
    void clearedSourceTurnStateAndMatrixInfoWaitForTheMatrix();

    // Split and screen count.
    void splitChooserOpensOnlyOnALoggedInWallAndGivesTheCount();
    void screenCountBounds_data();
    void screenCountBounds();

private:
    // Sends a context menu event at (20, 20) of the window; whether the chooser opened.
    bool openChooser(MirrorWidget *target);

    X86PageHarness h;
    std::unique_ptr<MessageBoxScript> &boxes = h.boxes;
    std::unique_ptr<DigitalMatrix> &page = h.page;
};

void TestX86Page::init()
{
    h.start();
}

void TestX86Page::cleanup()
{
    h.stop();
}

bool TestX86Page::openChooser(MirrorWidget *target)
{
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(20, 20),
                                target->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(target, &menuEvent);
    QCoreApplication::processEvents();
    return page->findChild<SpliteWindow *>()->isVisible();
}

// ---- Page shell ---------------------------------------------------------------------------

void TestX86Page::listsOnlyX86ServersAndSelectsTheFirst()
{
    h.addServer("Alpha", "10.0.0.1", 9100);
    h.addServer("Linux", "10.0.0.2", 8000, 6);
    h.addServer("Beta", "10.0.0.3");
    h.addServer("Stream", "10.0.0.4", 554, 1);
    h.makePage(true);
    QStringList names;
    for (ServerButton *b : h.selector()->serverButtons())
        names << b->text() + ' ' + b->serverInfo()->ip;
    QCOMPARE(names, (QStringList {"Alpha 10.0.0.1", "Beta 10.0.0.3"}));
    QVERIFY(h.selector()->isHidden());
    // The first show selects the first server without connecting.
    QTRY_COMPARE(h.button("_serverSelectBtn")->text(), QStringLiteral("Alpha"));
    QCOMPARE(page->currentServerInfo().port, 9100);
    QCOMPARE(h.x86()->names(), QStringList {"Disconnect"});
    QVERIFY(!page->isConnected());
    // Selecting the current server again does nothing; a server of another kind is not listed.
    h.selectServer(0);
    h.addServer("Linux 2", "10.0.0.9", 8000, 6);
    QTest::qWait(10);
    QCoreApplication::processEvents();
    QCOMPARE(h.x86()->names(), QStringList {"Disconnect"});
    QCOMPARE(h.selector()->serverCount(), 2);
    QCOMPARE(h.button("_serverSelectBtn")->text(), QStringLiteral("Alpha"));

    // The list opens above its button (its frame, if the platform gives it one, starts
    // there); choosing an entry closes it and selects the server.
    QPushButton *selectButton = h.button("_serverSelectBtn");
    QTest::mouseClick(selectButton, Qt::LeftButton);
    QTRY_VERIFY(h.selector()->isVisible());
    const QPoint origin = selectButton->mapToGlobal(QPoint(0, 0));
    const QMargins frame = h.selector()->windowHandle()->frameMargins();
    QCOMPARE(h.selector()->geometry().topLeft() - QPoint(frame.left(), frame.top()),
             QPoint(origin.x(), origin.y() - h.selector()->height()));
    QTest::mouseClick(h.selector()->serverButtons().at(1), Qt::LeftButton);
    QTRY_VERIFY(!h.selector()->isVisible());
    QCOMPARE(selectButton->text(), QStringLiteral("Beta"));
}

// ---- Connecting and logging in ------------------------------------------------------------

// The decisions themselves: tst_x86connectionflow; a wrong account against the simulator:
// tst_x86e2e. Here, what the page shows and logs for them.
void TestX86Page::loginDecision_data()
{
    QTest::addColumn<QList<int>>("loginResults");
    QTest::addColumn<QList<short>>("answers");
    QTest::addColumn<bool>("loggedIn");
    QTest::addColumn<QStringList>("shown"); // title|text|buttons
    QTest::addColumn<QString>("logLine");

    const QString retry = "Failed|Login failed!Wrong user or password. Do you want to try again?|3";
    const QString force = "Failed|Login failed!Do you want to force login?|3";
    QTest::newRow("0 logged in") << QList<int> {0} << QList<short> {} << true << QStringList()
                                 << QString();
    QTest::newRow("1 retried, then logged in")
            << QList<int> {1, 0} << QList<short> {1} << true << QStringList {retry} << QString();
    QTest::newRow("2 forced but refused")
            << QList<int> {2} << QList<short> {1, 1} << false
            << QStringList {force, "Failed|Force Login failed!|1"} << QString();
    QTest::newRow("code 3 logged") << QList<int> {3} << QList<short> {} << false << QStringList()
                                   << "login error,error code:3";
}

void TestX86Page::loginDecision()
{
    QFETCH(QList<int>, loginResults);
    QFETCH(QList<short>, answers);
    QFETCH(bool, loggedIn);
    QFETCH(QStringList, shown);
    QFETCH(QString, logLine);

    h.addServer("Alpha", "10.0.0.1", 9123, 2, "admin", "secret");
    h.makePage(false);
    h.selectServer(0);
    // Before connecting the wall says what to do instead of staying black.
    QCOMPARE(h.wall()->emptyText(),
             QStringLiteral("Not connected: press the connect button at the lower right to show "
                            "the matrix's wall."));
    h.clickConnect();
    QCOMPARE(h.wall()->emptyText(), QStringLiteral("Connecting..."));
    COMMONUSELIB::WaitDialog *wait = COMMONUSELIB::WaitDialog::getInstance();
    QVERIFY(wait->isWaiting());
    QCOMPARE(wait->text(), QStringLiteral("Connecting..."));
    QCOMPARE(wait->detail(), QStringLiteral("Alpha (10.0.0.1:9123)"));
    QCOMPARE(h.controls(), QStringLiteral("disabled"));
    h.x86()->queueResults("Login", loginResults);
    boxes->answers(answers);
    h.x86()->fireConnectStatus(ConnSuccess);
    QTRY_COMPARE(h.x86()->count("Login"), loginResults.size());
    // The login's outcome may come a turn of the event loop after the matrix's answer.
    QTRY_COMPARE(boxes->count(), shown.size());
    QCoreApplication::processEvents();

    QStringList boxList;
    for (const MessageBoxScript::Record &box : boxes->records()) {
        boxList << box.title + '|' + box.text + '|' + QString::number(box.buttons);
        QCOMPARE(box.kind, QStringLiteral("warning"));
        QCOMPARE(box.parent, nullptr);
    }
    QCOMPARE(boxList, shown);
    QCOMPARE(page->isConnected(), loggedIn);
    QVERIFY(!wait->isWaiting());
    // No wall reported yet: only the matrix's settings follow the login; the wall says why.
    QCOMPARE(h.button("_MatrixSettingBtn")->isEnabled(), loggedIn);
    for (const char *tool : {"_setSourceBtn", "_clearSourceBtn", "_resetLayout", "_turnShowBtn"})
        QVERIFY2(!h.button(tool)->isEnabled(), tool);
    QCOMPARE(h.button("_connectMatrixBtn")->isChecked(), loggedIn);
    if (loggedIn) {
        QCOMPARE(h.wall()->emptyText(),
                 QStringLiteral("The matrix has no screens arranged yet: arrange them with "
                                "\"EditMatrix\"."));
        QCOMPARE(h.button("_connectMatrixBtn")->toolTip(), QStringLiteral("Disconnect server"));
        h.fireLayout(fourWindows());
        QTRY_VERIFY(h.button("_setSourceBtn")->isEnabled());
        QVERIFY(h.button("_clearSourceBtn")->isEnabled() && h.button("_resetLayout")->isEnabled());
    }
    // The transport stays open after a refused login.
    QCOMPARE(h.x86()->count("Disconnect"), 1);

    QFile log(QLogger::instance()->logFile());
    const QString logText = log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : "";
    QVERIFY2(logLine.isEmpty() ? !logText.contains("login error") : logText.contains(logLine),
             qPrintable(logText));
    QVERIFY(!logText.contains("secret"));
}

// Each outcome's question and title against a failing simulator: tst_faults.
void TestX86Page::failureOutcomesAskToReconnectOnlyWhileShown_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("loggedIn");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<short>("answer");
    const QList<QPair<int, const char *>> outcomes {{ConnFailed, "failed"},
                                                    {ConnTimeOut, "time-out"},
                                                    {ConnDisconnect, "disconnect"},
                                                    {ConnDisError, "error"}};
    for (const auto &o : outcomes) {
        QTest::addRow("%s, logged in", o.second) << o.first << true << true << short(1);
        QTest::addRow("%s, connecting, shown, reconnect", o.second)
                << o.first << false << true << short(1);
        QTest::addRow("%s, connecting, shown, no", o.second)
                << o.first << false << true << short(0);
        QTest::addRow("%s, connecting, hidden", o.second) << o.first << false << false << short(1);
    }
}

void TestX86Page::failureOutcomesAskToReconnectOnlyWhileShown()
{
    QFETCH(int, status);
    QFETCH(bool, loggedIn);
    QFETCH(bool, shown);
    QFETCH(short, answer);
    h.loggedInWall(shown);
    if (!loggedIn) {
        // Connecting again by hand: the outcome ends that attempt.
        h.clickConnect();
        h.clickConnect();
        h.x86()->clear();
    }
    boxes->answer(answer);
    h.x86()->fireConnectStatus(status);
    QTRY_VERIFY(!page->isConnected());
    QCoreApplication::processEvents();

    QCOMPARE(h.controls(), QStringLiteral("disabled"));
    QVERIFY(!h.button("_connectMatrixBtn")->isChecked());
    // A working connection that breaks is counted down to and connected again without a
    // question; one asked for by hand asks, and yes makes the first attempt at once.
    const bool asks = shown && !loggedIn;
    const bool reconnects = asks && answer == 1;
    QCOMPARE(boxes->count(), asks ? 1 : 0);
    // A failure to connect at all asks without a parent.
    if (asks)
        QCOMPARE(boxes->last().parent,
                 status != ConnFailed ? static_cast<QWidget *>(page.get()) : nullptr);
    QCOMPARE(h.x86()->count("Connect"), reconnects ? 1 : 0);
    const QString bar = page->findChild<ReconnectBar *>()->text();
    if (loggedIn)
        QVERIFY2(bar.startsWith("Reconnecting to Alpha in "), qPrintable(bar));
    else
        QCOMPARE(bar, reconnects ? QString("Reconnecting to Alpha... (attempt 1)") : QString());
}

void TestX86Page::returningReconnectsOnlyAServerLeftConnected_data()
{
    QTest::addColumn<QString>("leaving"); // how the page leaves Alpha
    QTest::addColumn<bool>("reconnects");
    QTest::newRow("another server selected") << "switch" << true;
    QTest::newRow("connection failed while hidden") << "failure" << false;
    QTest::newRow("disconnected by hand") << "hand" << false;
}

void TestX86Page::returningReconnectsOnlyAServerLeftConnected()
{
    QFETCH(QString, leaving);
    QFETCH(bool, reconnects);
    h.addServer("Alpha", "10.0.0.1", 9001);
    h.addServer("Beta", "10.0.0.2", 9002);
    h.makePage(false);
    h.loginTo(0);
    h.x86()->clear();
    if (leaving == QLatin1String("failure")) {
        h.x86()->fireConnectStatus(ConnDisconnect);
        QTRY_VERIFY(!page->isConnected());
        QCOMPARE(boxes->count(), 0);
    } else if (leaving == QLatin1String("hand")) {
        h.clickConnect();
        QCOMPARE(h.x86()->names(), QStringList {"Disconnect"});
        QCOMPARE(h.controls(), QStringLiteral("disabled"));
        QCOMPARE(h.button("_connectMatrixBtn")->toolTip(), QStringLiteral("Connect server"));
    }
    h.x86()->clear();
    h.selectServer(1);
    QCOMPARE(h.button("_serverSelectBtn")->text(), QStringLiteral("Beta"));
    QCOMPARE(h.x86()->names(), QStringList {"Disconnect"});
    QVERIFY(!page->isConnected());
    QCOMPARE(h.controls(), QStringLiteral("disabled"));
    h.x86()->clear();

    h.selectServer(0);
    QCOMPARE(h.button("_serverSelectBtn")->text(), QStringLiteral("Alpha"));
    const QStringList expected {"Disconnect()", "Connect(10.0.0.1,9001)"};
    QCOMPARE(h.x86()->trace(), expected.mid(0, reconnects ? 2 : 1));
    if (!reconnects)
        return;
    h.x86()->fireConnectStatus(ConnSuccess);
    QTRY_VERIFY(page->isConnected());
    // Beta was never connected: going there connects nothing.
    h.x86()->clear();
    h.selectServer(1);
    QCOMPARE(h.x86()->count("Connect"), 0);
}

// ---- Servers --------------------------------------------------------------------------------

// A server added through the dialog, listed and selected: tst_x86e2e. Here a page without a
// server, filled up to the limit that only the picture hint passes, and emptied again.
void TestX86Page::serversFromNoneToTheLimitAndBack()
{
    h.makePage(false);
    QCOMPARE(h.controls(), QStringLiteral("disabled"));
    QVERIFY(h.button("_saveMatrixSettingBtn")->isHidden());
    QVERIFY(h.button("_serverDogBtn")->isHidden());
    QVERIFY(!page->isMonitorConfig());
    QVERIFY(page->currentServerInfo().id.isEmpty());
    int modals = 0;
    ModalDriver driver([&modals](QWidget *) { ++modals; }, 20, 5);
    driver.start();
    h.clickConnect();
    QTest::mouseClick(h.button("_editServerBtn"), Qt::LeftButton);
    QTest::mouseClick(h.button("_deleteServerBtn"), Qt::LeftButton);
    QTest::qWait(20);
    driver.stop();
    QCOMPARE(modals, 0);
    QCOMPARE(boxes->count(), 0);
    QCOMPARE(h.x86()->names(), QStringList());
    QVERIFY(!h.button("_connectMatrixBtn")->isChecked());
    QVERIFY(!COMMONUSELIB::WaitDialog::getInstance()->isWaiting());

    for (int i = 0; i < 5; ++i)
        h.addServer(QStringLiteral("Matrix %1").arg(i), QStringLiteral("10.0.0.%1").arg(i + 1));
    QTRY_COMPARE(h.selector()->serverCount(), 5);
    driver.start();
    QTest::mouseClick(h.button("_addServerBtn"), Qt::LeftButton);
    QTest::qWait(20);
    driver.stop();
    QCOMPARE(modals, 0);
    QCOMPARE(boxes->lastBox(), QStringLiteral("Warn|The number of servers can't beyond 5!|1"));
    QCOMPARE(boxes->last().parent, static_cast<QWidget *>(page.get()));
    QCOMPARE(UserManagerCore::instance()->GetServers(QString()).size(), 5);

    DigitalMatrixServerInfo info;
    info.name = "Sixth";
    info.ip = "10.0.0.60";
    info.port = 9010;
    info.matrixKind = DigitalMatrixServerInfo::X86Matrix;
    page->slotAddServerFromPictrueHint(info);
    QCOMPARE(boxes->count(), 1);
    QCOMPARE(UserManagerCore::instance()->GetServers(QString()).size(), 6);
    QTRY_COMPARE(h.selector()->serverCount(), 6);
    QCOMPARE(h.button("_serverSelectBtn")->text(), QStringLiteral("Sixth"));

    // Deleting selects the first server left.
    QSignalSpy spy(page.get(), &DigitalMatrix::signalX86MatrixServerDeleteAll);
    for (int row : {5, 4, 3, 2, 1}) {
        h.selectServer(row);
        boxes->answer(1);
        QTest::mouseClick(h.button("_deleteServerBtn"), Qt::LeftButton);
        QCOMPARE(h.selector()->serverCount(), row);
        QCOMPARE(h.button("_serverSelectBtn")->text(), QStringLiteral("Matrix 0"));
        QCOMPARE(page->currentServerInfo().ip, QStringLiteral("10.0.0.1"));
    }
    QCOMPARE(spy.count(), 0);

    // The last one, deleted while logged in to it.
    h.loginTo(0);
    boxes->answer(1);
    QTest::mouseClick(h.button("_deleteServerBtn"), Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(h.selector()->serverCount(), 0);
    QCOMPARE(describeServer(page->currentServerInfo()), QStringLiteral(" :-1 type -1 user ''"));
    QVERIFY(!page->isConnected());
    QCOMPARE(h.controls(), QStringLiteral("disabled"));
    QVERIFY(!h.button("_connectMatrixBtn")->isChecked());
    QVERIFY(h.button("_serverSelectBtn")->text().isEmpty());
    // Later announcements do not repeat it.
    QTest::qWait(10);
    QCoreApplication::processEvents();
    QCOMPARE(spy.count(), 1);
}

void TestX86Page::editKeepsTheLoginAndReconnects()
{
    const QString id = h.addServer("Alpha", "10.0.0.1", 9010, 2, "admin", "secret");
    h.addServer("Beta", "10.0.0.2");
    h.makePage(false);
    h.loginTo(0);
    h.x86()->clear();

    QStringList shown;
    ModalDriver driver([&](QWidget *modal) {
        auto *name = modal->findChild<QLineEdit *>("serverName");
        auto *ip = modal->findChild<COMMONUSELIB::IpAddressFrame *>("ipFrame");
        shown << modal->findChild<QLabel *>("title")->text() << name->text() << ip->getIp()
              << modal->findChild<QLineEdit *>("serverPort")->text();
        name->setText("Alpha 2");
        ip->setIp("10.0.0.99");
        QTest::mouseClick(modal->findChild<QPushButton *>("saveBt"), Qt::LeftButton);
    });
    driver.start();
    QTest::mouseClick(h.button("_editServerBtn"), Qt::LeftButton);
    driver.stop();
    QCOMPARE(shown, (QStringList {"Edit DigitalMatrix Server", "Alpha", "10.0.0.1", "9010"}));
    const UServerInfo stored = UserManagerCore::instance()->getServerInfo(id);
    QCOMPARE(describeServer(stored) + ' ' + stored.password,
             QStringLiteral("Alpha 2 10.0.0.99:9010 type 2 user 'admin' secret"));

    // The edited server was connected: it is reconnected at its new address.
    QTRY_COMPARE(h.x86()->count("Connect"), 1);
    QCOMPARE(h.x86()->last("Connect").args, (QVariantList {"10.0.0.99", 9010}));
    QCOMPARE(h.button("_serverSelectBtn")->text(), QStringLiteral("Alpha 2"));
    QCOMPARE(h.selector()->serverButtons().at(0)->text(), QStringLiteral("Alpha 2"));
    h.x86()->fireConnectStatus(ConnSuccess);
    QTRY_VERIFY(page->isConnected());
    QCOMPARE(h.x86()->last("Login").args, (QVariantList {"admin", "secret"}));
}

// ---- Server dialog ----------------------------------------------------------------------

void TestX86Page::serverDialogValidation_data()
{
    QTest::addColumn<bool>("edit");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("ip");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("hint"); // empty: accepted
    const auto row = [](const char *tag, bool edit, const char *name, const char *ip,
                        const char *port, const char *hint = "") {
        QTest::newRow(tag) << edit << QString(name) << QString(ip) << QString(port)
                           << QString(hint);
    };
    const char *noIp = "Please enter digital matrix server ip!";
    const char *nameTaken = "The name of server has exsit!";
    row("complete", false, "Gamma", "10.0.0.3", "9010");
    row("no name", false, "", "10.0.0.3", "9010", "Please enter digital matrix server name!");
    row("no address", false, "Gamma", "", "9010", noIp);
    row("address 0.0.0.0", false, "Gamma", "0.0.0.0", "9010", noIp);
    row("no port", false, "Gamma", "10.0.0.3", "", "Please enter digital matrix server port!");
    row("name taken", false, "Beta", "10.0.0.3", "9010", nameTaken);
    row("address taken", false, "Gamma", "10.0.0.2", "9010", "The IP of server has exsit!");
    row("name of a Linux server is free", false, "Linux", "10.0.0.7", "9010");
    row("edit unchanged", true, "Alpha", "10.0.0.1", "9010");
    row("edit to another name", true, "Beta", "10.0.0.1", "9010", nameTaken);
}

void TestX86Page::serverDialogValidation()
{
    QFETCH(bool, edit);
    QFETCH(QString, name);
    QFETCH(QString, ip);
    QFETCH(QString, port);
    QFETCH(QString, hint);
    DigitalMatrixServerInfo alpha;
    alpha.id = h.addServer("Alpha", "10.0.0.1");
    alpha.name = "Alpha";
    alpha.ip = "10.0.0.1";
    alpha.port = 9010;
    alpha.matrixKind = 1;
    h.addServer("Beta", "10.0.0.2");
    h.addServer("Linux", "10.0.0.6", 8000, 6);
    _ModifyDigitalMatrixServerDlg dialog(nullptr, edit ? &alpha : nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.findChild<QLineEdit *>("serverName")->setText(name);
    dialog.findChild<COMMONUSELIB::IpAddressFrame *>("ipFrame")->setIp(ip);
    dialog.findChild<QLineEdit *>("serverPort")->setText(port);
    QToolTip::hideText();
    QTest::mouseClick(dialog.findChild<QPushButton *>("saveBt"), Qt::LeftButton);
    QCOMPARE(dialog.result() == QDialog::Accepted, hint.isEmpty());
    QCOMPARE(dialog.isVisible(), !hint.isEmpty());
    if (!hint.isEmpty())
        QCOMPARE(QToolTip::text(), hint);
    QToolTip::hideText();
}

void TestX86Page::serverDialogCleansInputAndReturnsAnX86Record()
{
    DigitalMatrixServerInfo alpha;
    alpha.id = "some-id";
    alpha.name = "Alpha";
    alpha.ip = "10.0.0.1";
    alpha.port = 9010;
    alpha.user = "admin";
    alpha.password = "secret";
    _ModifyDigitalMatrixServerDlg dialog(nullptr, &alpha);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *name = dialog.findChild<QLineEdit *>("serverName");
    QToolTip::hideText();
    name->setText("Wall'A\\1");
    QCOMPARE(name->text(), QStringLiteral("WallA1"));
    QCOMPARE(QToolTip::text(), QStringLiteral("Input can't be ' or \\ !"));
    QToolTip::hideText();
    QTest::keyClicks(name, "'\\x");
    QCOMPARE(name->text(), QStringLiteral("WallA1x"));
    QToolTip::hideText();
    // The port takes digits up to 65535 only.
    auto *port = dialog.findChild<QLineEdit *>("serverPort");
    QCOMPARE(port->text(), QStringLiteral("9010"));
    port->clear();
    QTest::keyClicks(port, "655369");
    QCOMPARE(port->text(), QStringLiteral("6553"));

    dialog.findChild<QComboBox *>("serverType")->setCurrentIndex(1);
    port->setText("9500");
    const DigitalMatrixServerInfo info = dialog.getServerInfo();
    QCOMPARE(QStringList({info.id, info.name, info.ip, QString::number(info.port),
                          QString::number(info.matrixKind), info.user + ":" + info.password}),
             (QStringList {"some-id", "WallA1x", "10.0.0.1", "9500", "1", "admin:secret"}));
    // The account is kept unless changed; the password is masked.
    auto *password = dialog.findChild<QLineEdit *>("_passwordLineEdt");
    QCOMPARE(password->echoMode(), QLineEdit::Password);
    password->setText("other");
    QCOMPARE(dialog.getServerInfo().password, QStringLiteral("other"));
}

// ---- Wall on the page -------------------------------------------------------------------

// Confirmed commands against the simulator (reset, clear, configuration mode, stop, delete):
// tst_x86e2e. Here each question, its parent, and that a "no" sends nothing.
void TestX86Page::commandsAskFirst_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("box"); // title|text|buttons
    QTest::addColumn<bool>("pageParent");
    const auto row = [](const char *button, const char *box, bool pageParent) {
        QTest::newRow(button) << QString(button) << QString(box) << pageParent;
    };
    row("_resetLayout", "Warn|Reset the layout?|3", true);
    row("_clearSourceBtn", "Warn|Do you want to clear the source?|3", false);
    row("_MatrixSettingBtn", "Warn|Do you want to clear the setting of matrix|3", false);
    row("_closeTurnShowBtn", "Warn|Do you want to stop taking turns to show|3", false);
    row("_deleteServerBtn", "Warn|Delete selected server?|3", true);
}

void TestX86Page::commandsAskFirst()
{
    QFETCH(QString, button);
    QFETCH(QString, box);
    QFETCH(bool, pageParent);
    h.loggedInWall(false, fourWindows(1));
    h.x86()->clear();
    boxes->answer(0);
    QTest::mouseClick(h.button(button), Qt::LeftButton);
    QCOMPARE(boxes->lastBox(), box);
    QCOMPARE(boxes->last().parent, pageParent ? static_cast<QWidget *>(page.get()) : nullptr);
    QCOMPARE(h.x86()->names(), QStringList());
    QCOMPARE(UserManagerCore::instance()->GetServers(QString()).size(), 1);
    QVERIFY(page->isConnected());
    QCOMPARE(h.wall()->getMirrors().size(), 4);
    QVERIFY(h.button("_turnShowBtn")->isEnabled());
}

void TestX86Page::clearedSourceTurnStateAndMatrixInfoWaitForTheMatrix()
{
    h.loggedInWall(false,
                   windowList({mirror(0, rc(0, 0, 800, 450), 4, 1),
                               mirror(1, rc(800, 0, 1600, 450), 1, 2)}));
    boxes->answer(1);
    QTest::mouseClick(h.button("_clearSourceBtn"), Qt::LeftButton);
    QCOMPARE(h.x86()->trace(), (QStringList {"ClearSource(0)", "RequestLayout()"}));
    // Nothing is marked before the matrix reports it; then only the cleared window changed.
    QCOMPARE(int(h.wall()->mirrorByIndex(0)->getTurnState()), 1);
    h.fireLayout(windowList(
            {mirror(0, rc(0, 0, 800, 450), 4, 0), mirror(1, rc(800, 0, 1600, 450), 1, 2)}));
    QTRY_VERIFY(!h.button("_turnShowBtn")->isEnabled());
    QCOMPARE(int(h.wall()->mirrorByIndex(0)->getTurnState()), 0);
    QCOMPARE(int(h.wall()->mirrorByIndex(1)->getTurnState()), 2);

    // The button after a window with or without a turn show: tst_x86e2e. A state the matrix
    // does not name leaves it as it was.
    h.x86()->clear();
    QPushButton *turnButton = h.button("_turnShowBtn");
    for (bool before : {false, true}) {
        turnButton->setEnabled(before);
        emit h.wall()->sigCurrMontroIndex(3, 5);
        QCOMPARE(turnButton->isEnabled(), before);
    }
    QCOMPARE(page->currentMonitorIndex(), 3);
    QCOMPARE(int(page->currentTurnStateValue()), 5);
    QCOMPARE(h.x86()->trace(), (QStringList {"SelectMonitor(3)", "SelectMonitor(3)"}));

    // The matrix's screen information outside configuration mode starts it, without a dialog.
    h.x86()->clear();
    ModalDriver driver([](QWidget *) {}, 20, 5);
    driver.start();
    h.x86()->fireMatrixInfo(4, 2, 2);
    QTRY_VERIFY(page->isMonitorConfig());
    QTest::qWait(20);
    driver.stop();
    QVERIFY(!driver.ran());
    QCOMPARE(h.x86()->names(), QStringList {"SetConfigMode"});
    QVERIFY(h.wall()->getMirrors().isEmpty());
    QVERIFY(!h.button("_saveMatrixSettingBtn")->isHidden());
}

// ---- Split and screen count ---------------------------------------------------------------

// The split a chosen button sets on the matrix: tst_x86e2e.
void TestX86Page::splitChooserOpensOnlyOnALoggedInWallAndGivesTheCount()
{
    h.addServer("Alpha", "10.0.0.1");
    h.showPage();
    h.fireLayout(fourWindows());
    QVERIFY(!openChooser(h.wall()->mirrorByIndex(0)));
    // Nor in configuration mode.
    h.loginTo(0);
    h.fireLayout(fourWindows(), 1);
    QVERIFY(!openChooser(h.wall()->mirrorByIndex(0)));

    h.fireLayout(fourWindows());
    MirrorWidget *target = h.wall()->mirrorByIndex(2);
    QTRY_VERIFY(target->isVisible());
    auto *chooser = page->findChild<SpliteWindow *>();
    QVERIFY(chooser->isHidden());
    // A right click selects the window and opens the chooser at the pointer.
    QTest::mousePress(target, Qt::RightButton, Qt::NoModifier, QPoint(20, 20));
    QTest::mouseRelease(target, Qt::RightButton, Qt::NoModifier, QPoint(20, 20));
    QVERIFY(openChooser(target));
    QCOMPARE(page->currentMonitorIndex(), 2);
    QCOMPARE(chooser->pos(), target->mapToGlobal(QPoint(20, 20)));
    // Dismissed: nothing is sent.
    h.x86()->clear();
    chooser->hide();
    QCOMPARE(h.x86()->names(), QStringList());

    // Each button gives its count, then -1, and closes the chooser.
    QSignalSpy spy(chooser, &SpliteWindow::sigSpliteButtonClicked);
    const char *names[] = {"_squareoneBtn",  "_squaretwoBtn",  "_squarethreeBtn",
                           "_squarefourBtn", "_squarefiveBtn", "_squaresixBtn"};
    for (int n = 1; n <= 6; ++n) {
        QVERIFY(openChooser(target));
        QTest::mouseClick(chooser->findChild<QPushButton *>(names[n - 1]), Qt::LeftButton);
        QCOMPARE(QList<QVariantList>(spy), (QList<QVariantList> {{n * n}, {-1}}));
        QVERIFY(!chooser->isVisible());
        spy.clear();
    }
}

void TestX86Page::screenCountBounds_data()
{
    QTest::addColumn<int>("screens");
    QTest::addColumn<QString>("rows"); // typed
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QString>("kept"); // rows x columns accepted; empty: refused
    const auto row = [](const char *tag, int screens, const char *rows, const char *columns,
                        const char *kept) {
        QTest::newRow(tag) << screens << QString(rows) << QString(columns) << QString(kept);
    };
    row("8 screens, 2 x 4", 8, "2", "4", "2x4");
    row("8 screens, 3 x 3", 8, "3", "3", "");
    row("8 screens, 1 x 8", 8, "1", "8", "1x8");
    row("8 screens, no rows", 8, "", "4", "");
    row("8 screens, 0 columns", 8, "2", "0", "");
    row("none reported, 1 x 1", 0, "1", "1", "1x1");
    row("none reported, 18 x 18", 0, "18", "18", "18x18");
    row("none reported, 3 x 5", 0, "3", "5", "3x5");
    row("none reported, 19 x 1", 0, "19", "1", "");
    row("none reported, empty", 0, "", "", "");
    // Typed input is cleaned: no leading zeros, digits only.
    row("leading zero", 0, "05", "1", "5x1");
    row("leading zeros", 0, "007", "1", "7x1");
    row("trailing comma", 0, "3,", "1", "3x1");
    row("trailing plus", 0, "7+", "1", "7x1");
    row("typed beyond 18", 0, "12", "019", "12x1");
}

void TestX86Page::screenCountBounds()
{
    QFETCH(int, screens);
    QFETCH(QString, rows);
    QFETCH(QString, columns);
    QFETCH(QString, kept);
    setMatrixScreen dialog;
    QCOMPARE(dialog.findChild<QLabel *>("_numberLabel")->text(), QStringLiteral("0"));
    if (screens > 0)
        dialog.setScreenValues(1, 1, screens);
    dialog.findChild<QLineEdit *>("_rowEdt")->setText(rows);
    auto *columnEdit = dialog.findChild<QLineEdit *>("_columnEdt");
    columnEdit->clear();
    QTest::keyClicks(columnEdit, columns);
    QTest::mouseClick(dialog.findChild<QPushButton *>("_OKBtn"), Qt::LeftButton);
    QCOMPARE(dialog.result() == QDialog::Accepted, !kept.isEmpty());
    if (!kept.isEmpty()) {
        QCOMPARE(boxes->count(), 0);
        QCOMPARE(QString::number(dialog.rowCount()) + 'x' + QString::number(dialog.columnCount()),
                 kept);
    } else {
        QCOMPARE(boxes->lastBox(), QStringLiteral("Error|Please input correct value!|1"));
        QCOMPARE(boxes->last().parent, static_cast<QWidget *>(&dialog));
    }
}

QTEST_MAIN(TestX86Page)
#include "tst_x86page.moc"
