// The X86 control page: servers, connection flow, configuration mode, split chooser and
// screen count, driven with the recording service fake and scripted message boxes.
#include "DigitalMatrix.h"
#include "MatrixManageWidget.h"
#include "MirrorWidget.h"
#include "ServerButton.h"
#include "ServerSelectWidget.h"
#include "SpliteWindow.h"
#include "TurnControlWidget.h"
#include "_ModifyDigitalMatrixServerDlg.h"
#include "setMatrixScreen.h"

#include "IpAddressFrame.h"
#include "QLogger.h"
#include "UserManagerCore.h"
#include "WaitDialog.h"

#include "FakeMatrixService.h"
#include "MessageBoxScript.h"
#include "ModalDriver.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolTip>
#include <QWindow>
#include <QtTest>

#include <algorithm>
#include <memory>

using namespace LUMO_DIGITALMATRIX_MODULE;
using DATACore::UserManagerCore;

namespace {

RECT rc(int l, int t, int r, int b)
{
    RECT x;
    x.left = l;
    x.top = t;
    x.right = r;
    x.bottom = b;
    return x;
}

_MIRRORINFO mirror(int index, const RECT &home, int split = 1, int turn = 0, int layer = 0)
{
    _MIRRORINFO m {};
    m.rectA = home;
    m.rectB = home;
    m.mirrorParam1 = index;
    m.mirrorParam2 = split;
    m.mirrorParam3 = layer;
    m.mirrorParam5 = turn;
    return m;
}

QVector<_MIRRORINFO> windows(std::initializer_list<_MIRRORINFO> list)
{
    QVector<_MIRRORINFO> out;
    out.reserve(int(list.size()));
    for (const _MIRRORINFO &m : list)
        out.append(m);
    return out;
}

// Four windows of 800 x 450 units on a 1600 x 900 wall.
QVector<_MIRRORINFO> fourWindows(int turnOfFirst = 0)
{
    return windows({mirror(0, rc(0, 0, 800, 450), 1, turnOfFirst), mirror(1, rc(800, 0, 1600, 450)),
                    mirror(2, rc(0, 450, 800, 900)), mirror(3, rc(800, 450, 1600, 900))});
}

const QStringList matrixControls {"_clearSourceBtn", "_saveMatrixSettingBtn", "_setSourceBtn",
                                  "_turnShowBtn",    "_MatrixSettingBtn",     "_resetLayout"};
const QStringList normalButtons {"_clearSourceBtn", "_setSourceBtn", "_turnShowBtn",
                                 "_MatrixSettingBtn", "_resetLayout"};

} // namespace

class TestX86Page : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // Page shell.
    void constructionShowsAnIdlePage();
    void listsOnlyX86ServersInStoredOrder();
    void firstShowSelectsTheFirstServerWithoutConnecting();
    void separatorsFollowTheButtonSet();
    void selectorOpensAboveItsButton();

    // Connecting and logging in.
    void connectShowsTheWaitAndSendsTheAddress();
    void loginDecision_data();
    void loginDecision();
    void failureOutcomesAskToReconnectOnlyWhileShown_data();
    void failureOutcomesAskToReconnectOnlyWhileShown();
    void failureWhileHiddenForgetsTheConnection();
    void switchingBackReconnectsAServerLeftConnected();
    void disconnectingByHandForgetsTheConnection();
    void commandsNeedASelectedServer();

    // Servers.
    void addButtonRefusesASixthServer_data();
    void addButtonRefusesASixthServer();
    void pictureHintAddsBeyondTheLimit();
    void otherServerTypesAreIgnored();
    void editKeepsTheLoginAndReconnects();
    void deletingTheLastServerEmitsDeleteAllOnce();
    void deletingSelectsTheFirstRemainingServer();
    void deleteDeclinedKeepsTheServer();

    // Server selector and dialog.
    void selectorGeometry();
    void serverDialogValidation_data();
    void serverDialogValidation();
    void serverDialogStripsQuotesAndBackslashes();
    void serverDialogReturnsAnX86Record();

    // Wall on the page.
    void layoutFromTheServiceFillsTheWall();
    void selectingAWindowPreparesTheTurnButton_data();
    void selectingAWindowPreparesTheTurnButton();
    void resetLayoutAsksFirst_data();
    void resetLayoutAsksFirst();
    void clearSourceAsksAndClears();
    void configurationModeFlow();
    void matrixInfoOutsideConfigurationStartsIt();
    void matrixInfoDialogRejectedLeavesTheMode();
    void newMatrixAsksForTheScreenCount_data();
    void newMatrixAsksForTheScreenCount();
    void stopTurnAsksFirst();

    // Split and screen count.
    void splitChooserEmitsTheCountThenMinusOne_data();
    void splitChooserEmitsTheCountThenMinusOne();
    void splitChooserOpensFromAWindowContextMenu();
    void splitChooserIsNotOfferedWhileNotLoggedIn();
    void screenCountBounds_data();
    void screenCountBounds();
    void screenCountCleansInput_data();
    void screenCountCleansInput();

private:
    QString addServer(const QString &name, const QString &ip, int port = 9010, int type = 2,
                      const QString &user = QString(), const QString &password = QString());
    void makePage(bool show);
    QPushButton *button(const QString &name) const;
    ServerSelectWidget *selector() const { return page->findChild<ServerSelectWidget *>(); }
    MatrixManageWidget *wall() const { return page->findChild<MatrixManageWidget *>(); }
    void selectServer(int row);
    void clickConnect();
    // Selects the server, connects and logs in with result 0.
    void loginTo(int row);
    void fireLayout(const QVector<_MIRRORINFO> &mirrors, int p2 = 0, int p3 = 1, int p4 = 1);
    bool controlsEnabled() const;
    bool controlsDisabled() const;
    FakeX86Matrix *x86() const { return service->x86(); }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakeMatrixService> service;
    std::unique_ptr<MessageBoxScript> boxes;
    std::unique_ptr<DigitalMatrix> page;
};

void TestX86Page::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    QVERIFY(UserManagerCore::instance()->open(dir->filePath("datacentre.sqlite")));
    QLogger::instance()->setLogFile(dir->filePath("host.log"));
    service = std::make_unique<FakeMatrixService>();
    boxes = std::make_unique<MessageBoxScript>(0);
}

void TestX86Page::cleanup()
{
    page.reset();
    boxes.reset();
    service.reset();
    COMMONUSELIB::WaitDialog::getInstance()->hideWaitDialog();
    UserManagerCore::instance()->close();
    dir.reset();
}

QString TestX86Page::addServer(const QString &name, const QString &ip, int port, int type,
                               const QString &user, const QString &password)
{
    UserManagerCore *core = UserManagerCore::instance();
    if (!core->AddServer(name, ip, user, password, port, type))
        return QString();
    // Deliver the data centre's announcement now, before any page listens.
    if (!page)
        QCoreApplication::sendPostedEvents();
    const QList<UServerInfo> servers = core->GetServers(QString());
    for (const UServerInfo &server : servers) {
        if (server.name == name)
            return server.id;
    }
    return QString();
}

void TestX86Page::makePage(bool show)
{
    page = std::make_unique<DigitalMatrix>();
    x86()->clear();
    if (show) {
        page->setGeometry(50, 50, 1200, 600);
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    }
}

QPushButton *TestX86Page::button(const QString &name) const
{
    auto *b = page->findChild<QPushButton *>(name);
    if (!b)
        qWarning() << "no button" << name;
    return b;
}

void TestX86Page::selectServer(int row)
{
    QTest::mouseClick(selector()->serverButtons().at(row), Qt::LeftButton);
}

void TestX86Page::clickConnect()
{
    QTest::mouseClick(button("_connectMatrixBtn"), Qt::LeftButton);
}

void TestX86Page::loginTo(int row)
{
    selectServer(row);
    clickConnect();
    x86()->fireConnectStatus(ConnSuccess);
    QTRY_VERIFY(page->isConnected());
}

void TestX86Page::fireLayout(const QVector<_MIRRORINFO> &mirrors, int p2, int p3, int p4)
{
    x86()->fireLayout(rc(0, 0, 1600, 900), mirrors, 0, p2, p3, p4);
    QCoreApplication::processEvents();
}

bool TestX86Page::controlsEnabled() const
{
    for (const QString &name : matrixControls) {
        if (!button(name)->isEnabled())
            return false;
    }
    return true;
}

bool TestX86Page::controlsDisabled() const
{
    for (const QString &name : matrixControls) {
        if (button(name)->isEnabled())
            return false;
    }
    return true;
}

// ---- Page shell ---------------------------------------------------------------------------

void TestX86Page::constructionShowsAnIdlePage()
{
    makePage(false);
    QCOMPARE(page->size(), QSize(1397, 550));
    QVERIFY(wall());
    QCOMPARE(wall()->objectName(), QStringLiteral("_virtualServerWdt"));
    QVERIFY(controlsDisabled());
    QVERIFY(button("_saveMatrixSettingBtn")->isHidden());
    for (const QString &name : normalButtons)
        QVERIFY2(!button(name)->isHidden(), qPrintable(name));
    QCOMPARE(button("_MatrixSettingBtn")->text(), QStringLiteral("EditMatrix"));
    QCOMPARE(button("_clearSourceBtn")->text(), QStringLiteral("clearSource"));
    QCOMPARE(button("_turnShowBtn")->text(), QStringLiteral("turnshow"));
    QCOMPARE(button("_setSourceBtn")->text(), QStringLiteral("setsource"));
    QCOMPARE(button("_resetLayout")->text(), QStringLiteral("reset"));
    QCOMPARE(button("_saveMatrixSettingBtn")->text(), QStringLiteral("Save"));
    QVERIFY(button("_turnShowBtn")->isCheckable());
    QVERIFY(!button("_serverSelectBtn")->isCheckable());
    QCOMPARE(button("_serverSelectBtn")->size(), QSize(165, 33));
    QCOMPARE(button("_serverSelectBtn")->toolTip(), QStringLiteral("select server"));
    QCOMPARE(button("_addServerBtn")->size(), QSize(33, 33));
    QCOMPARE(button("_resetLayout")->size(), QSize(73, 39));

    QPushButton *connect = button("_connectMatrixBtn");
    QVERIFY(connect->isCheckable());
    QVERIFY(!connect->isChecked());
    QCOMPARE(connect->toolTip(), QStringLiteral("Connect server"));
    QCOMPARE(connect->size(), QSize(31, 26));
    QCOMPARE(button("_editServerBtn")->toolTip(), QStringLiteral("Edit server"));
    QCOMPARE(button("_deleteServerBtn")->toolTip(), QStringLiteral("Delete server"));
    QVERIFY(button("_serverDogBtn")->isHidden());
    QVERIFY(!button("_serverDogBtn")->isEnabled());
    QCOMPARE(page->findChild<QWidget *>("widget")->width(), 110);
    QCOMPARE(page->findChild<QWidget *>("_controlWdt")->maximumHeight(), 39);

    // Style-sheet selectors.
    for (const QString &name : matrixControls)
        QVERIFY(button(name)->property("matrixcontrolbutton").toBool());
    QVERIFY(connect->property("connectStatus").toBool());
    QVERIFY(button("_serverSelectBtn")->property("matrixServerSelBt").toBool());
    QVERIFY(button("_addServerBtn")->property("matrixAddServerBt").toBool());
    QVERIFY(button("_editServerBtn")->property("matrixEditServerBt").toBool());
    QVERIFY(button("_deleteServerBtn")->property("matrixDeleteServerBt").toBool());
    QVERIFY(button("_serverDogBtn")->property("watchDogButton").toBool());
    QVERIFY(page->findChild<QWidget *>("_controlWdt")->property("matrixControlWt").toBool());
    QVERIFY(!page->isMonitorConfig());
    QVERIFY(page->currentServerInfo().id.isEmpty());
    QCOMPARE(x86()->names(), QStringList());
}

void TestX86Page::listsOnlyX86ServersInStoredOrder()
{
    addServer("Alpha", "10.0.0.1");
    addServer("Linux", "10.0.0.2", 8000, 6);
    addServer("Beta", "10.0.0.3");
    addServer("Stream", "10.0.0.4", 554, 1);
    makePage(false);
    QStringList names;
    for (ServerButton *b : selector()->serverButtons())
        names << b->text();
    QCOMPARE(names, (QStringList {"Alpha", "Beta"}));
    QCOMPARE(selector()->firstServer()->ip, QStringLiteral("10.0.0.1"));
    QCOMPARE(selector()->lastServer()->ip, QStringLiteral("10.0.0.3"));
    QVERIFY(selector()->isHidden());
}

void TestX86Page::firstShowSelectsTheFirstServerWithoutConnecting()
{
    addServer("Alpha", "10.0.0.1", 9100);
    addServer("Beta", "10.0.0.3");
    makePage(true);
    QTRY_COMPARE(button("_serverSelectBtn")->text(), QStringLiteral("Alpha"));
    QCOMPARE(page->currentServerInfo().port, 9100);
    QCOMPARE(x86()->names(), QStringList {"Disconnect"});
    QVERIFY(!page->isConnected());
    QCOMPARE(button("_serverDogBtn")->toolTip(), QStringLiteral("connect server listener fail!"));
    QCOMPARE(button("_serverDogBtn")->whatsThis(), QStringLiteral("connect server listener fail!"));

    // Selecting the current server again does nothing.
    selectServer(0);
    QCOMPARE(x86()->names(), QStringList {"Disconnect"});
}

void TestX86Page::separatorsFollowTheButtonSet()
{
    addServer("Alpha", "10.0.0.1");
    makePage(true);
    auto visibleSeparators = [this] {
        QList<QWidget *> out;
        const QList<QWidget *> all =
                page->findChild<QWidget *>("_controlWdt")
                        ->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
        for (QWidget *w : all) {
            if (w->property("spacewidget").toBool() && !w->isHidden())
                out << w;
        }
        std::sort(out.begin(), out.end(), [](QWidget *a, QWidget *b) { return a->x() < b->x(); });
        return out;
    };
    QList<QWidget *> shown = visibleSeparators();
    QCOMPARE(shown.size(), 5);
    const QRect setting = button("_MatrixSettingBtn")->geometry();
    QCOMPARE(shown.at(0)->geometry(), QRect(setting.left() - 1, setting.top(), 2, 39));
    QCOMPARE(shown.at(1)->geometry(), QRect(setting.right() - 1, setting.top(), 2, 39));
    const QRect turn = button("_turnShowBtn")->geometry();
    QCOMPARE(shown.at(2)->geometry(), QRect(turn.left() - 1, turn.top(), 2, 39));
    QCOMPARE(shown.at(3)->geometry(), QRect(turn.right() - 1, turn.top(), 2, 39));
    const QRect source = button("_setSourceBtn")->geometry();
    QCOMPARE(shown.at(4)->geometry(), QRect(source.right() - 1, source.top(), 2, 39));

    loginTo(0);
    fireLayout(fourWindows(), 1);
    QVERIFY(!button("_saveMatrixSettingBtn")->isHidden());
    shown = visibleSeparators();
    QCOMPARE(shown.size(), 2);
}

void TestX86Page::selectorOpensAboveItsButton()
{
    addServer("Alpha", "10.0.0.1");
    addServer("Beta", "10.0.0.2");
    makePage(true);
    QPushButton *selectButton = button("_serverSelectBtn");
    QTRY_COMPARE(selectButton->text(), QStringLiteral("Alpha"));
    QTest::mouseClick(selectButton, Qt::LeftButton);
    QTRY_VERIFY(selector()->isVisible());
    const QPoint origin = selectButton->mapToGlobal(QPoint(0, 0));
    // The list's frame (if the platform gives it one) starts there.
    const QMargins frame = selector()->windowHandle()->frameMargins();
    QCOMPARE(selector()->geometry().topLeft() - QPoint(frame.left(), frame.top()),
             QPoint(origin.x(), origin.y() - selector()->height()));
    QCOMPARE(selector()->height(), 65);

    // Choosing an entry closes the list and selects the server.
    QTest::mouseClick(selector()->serverButtons().at(1), Qt::LeftButton);
    QTRY_VERIFY(!selector()->isVisible());
    QCOMPARE(selectButton->text(), QStringLiteral("Beta"));
}

// ---- Connecting and logging in ------------------------------------------------------------

void TestX86Page::connectShowsTheWaitAndSendsTheAddress()
{
    addServer("Alpha", "10.0.0.1", 9123, 2, "admin", "secret");
    makePage(false);
    selectServer(0);
    x86()->clear();
    clickConnect();
    QCOMPARE(x86()->names(), QStringList {"Connect"});
    QCOMPARE(x86()->last("Connect").args, (QVariantList {"10.0.0.1", 9123}));
    COMMONUSELIB::WaitDialog *wait = COMMONUSELIB::WaitDialog::getInstance();
    QVERIFY(wait->isWaiting());
    QCOMPARE(wait->text(), QStringLiteral("Connecting..."));
    QVERIFY(controlsDisabled());

    x86()->fireConnectStatus(ConnSuccess);
    QTRY_VERIFY(page->isConnected());
    QVERIFY(!wait->isWaiting());
    QCOMPARE(x86()->last("Login").args, (QVariantList {"admin", "secret"}));
    QVERIFY(controlsEnabled());
    QVERIFY(button("_connectMatrixBtn")->isChecked());
    QCOMPARE(button("_connectMatrixBtn")->toolTip(), QStringLiteral("Disconnect server"));
    QCOMPARE(boxes->count(), 0);
}

void TestX86Page::loginDecision_data()
{
    QTest::addColumn<QList<int>>("loginResults");
    QTest::addColumn<int>("forceResult");
    QTest::addColumn<QList<short>>("answers");
    QTest::addColumn<bool>("loggedIn");
    QTest::addColumn<int>("loginCalls");
    QTest::addColumn<int>("forceCalls");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("logLine");

    const QString retry = QStringLiteral("Login failed!Do you want to try again?");
    const QString force = QStringLiteral("Login failed!Do you want to force login?");
    QTest::newRow("0 logged in") << QList<int> {0} << 0 << QList<short> {} << true << 1 << 0
                                 << QStringList() << QString();
    QTest::newRow("1 retried twice, then logged in")
            << QList<int> {1, 1, 0} << 0 << QList<short> {1, 1} << true << 3 << 0
            << QStringList {retry, retry} << QString();
    QTest::newRow("1 not retried") << QList<int> {1} << 0 << QList<short> {0} << false << 1 << 0
                                   << QStringList {retry} << QString();
    QTest::newRow("2 forced") << QList<int> {2} << 1 << QList<short> {1} << true << 1 << 1
                              << QStringList {force} << QString();
    QTest::newRow("2 forced but refused")
            << QList<int> {2} << 0 << QList<short> {1, 1} << false << 1 << 1
            << QStringList {force, QStringLiteral("Force Login failed!")} << QString();
    QTest::newRow("2 declined") << QList<int> {2} << 1 << QList<short> {0} << false << 1 << 0
                                << QStringList {force} << QString();
    QTest::newRow("other code logged") << QList<int> {-7} << 0 << QList<short> {} << false << 1 << 0
                                       << QStringList() << "login error,error code:-7";
    QTest::newRow("code 3 logged") << QList<int> {3} << 0 << QList<short> {} << false << 1 << 0
                                   << QStringList() << "login error,error code:3";
}

void TestX86Page::loginDecision()
{
    QFETCH(QList<int>, loginResults);
    QFETCH(int, forceResult);
    QFETCH(QList<short>, answers);
    QFETCH(bool, loggedIn);
    QFETCH(int, loginCalls);
    QFETCH(int, forceCalls);
    QFETCH(QStringList, texts);
    QFETCH(QString, logLine);

    addServer("Alpha", "10.0.0.1", 9010, 2, "admin", "secret");
    makePage(false);
    selectServer(0);
    clickConnect();
    x86()->queueResults("Login", loginResults);
    x86()->setResult("ForceLogin", forceResult);
    boxes->answers(answers);
    x86()->fireConnectStatus(ConnSuccess);
    QTRY_COMPARE(x86()->count("Login"), loginCalls);
    QCoreApplication::processEvents();

    QCOMPARE(x86()->count("ForceLogin"), forceCalls);
    QCOMPARE(boxes->texts(), texts);
    for (const MessageBoxScript::Record &box : boxes->records()) {
        QCOMPARE(box.title, QStringLiteral("Failed"));
        QCOMPARE(box.kind, QStringLiteral("warning"));
        QCOMPARE(box.parent, nullptr);
    }
    if (texts.size() == 2 && forceCalls == 1)
        QCOMPARE(boxes->records().at(1).buttons, short(1));
    else if (!texts.isEmpty())
        QCOMPARE(boxes->records().at(0).buttons, short(3));
    QCOMPARE(page->isConnected(), loggedIn);
    QCOMPARE(controlsEnabled(), loggedIn);
    QCOMPARE(controlsDisabled(), !loggedIn);
    QCOMPARE(button("_connectMatrixBtn")->isChecked(), loggedIn);
    // The transport stays open after a refused login.
    QCOMPARE(x86()->count("Disconnect"), 1);

    QFile log(QLogger::instance()->logFile());
    const QString logText =
            log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    if (logLine.isEmpty())
        QVERIFY(!logText.contains("login error"));
    else
        QVERIFY2(logText.contains(logLine), qPrintable(logText));
    QVERIFY(!logText.contains("secret"));
}

void TestX86Page::failureOutcomesAskToReconnectOnlyWhileShown_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<short>("answer");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("pageParent");

    struct Outcome
    {
        int status;
        const char *name;
        const char *title;
        const char *text;
        bool pageParent;
    };
    const Outcome outcomes[] = {
            {ConnFailed, "failed", "Failed",
             "Connect Matrix Server failed!Do you need to reconnect?", false},
            {ConnTimeOut, "time-out", "Warn",
             "Connect Matrix Server time out!Do you need to reconnect?", true},
            {ConnDisconnect, "disconnect", "Warn",
             "Matrix Server disconnect!Do you need to reconnect?", true},
            {ConnDisError, "error", "Warn", "Connect Matrix Server error!Do you need to reconnect?",
             true},
    };
    for (const Outcome &o : outcomes) {
        QTest::addRow("%s, shown, reconnect", o.name)
                << o.status << true << short(1) << o.title << o.text << o.pageParent;
        QTest::addRow("%s, shown, no", o.name)
                << o.status << true << short(0) << o.title << o.text << o.pageParent;
        QTest::addRow("%s, hidden", o.name)
                << o.status << false << short(1) << QString() << QString() << o.pageParent;
    }
}

void TestX86Page::failureOutcomesAskToReconnectOnlyWhileShown()
{
    QFETCH(int, status);
    QFETCH(bool, shown);
    QFETCH(short, answer);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(bool, pageParent);

    addServer("Alpha", "10.0.0.1");
    makePage(shown);
    if (shown)
        QTRY_COMPARE(button("_serverSelectBtn")->text(), QStringLiteral("Alpha"));
    else
        selectServer(0);
    // Logged in first, so that the outcome visibly ends it.
    clickConnect();
    x86()->fireConnectStatus(ConnSuccess);
    QTRY_VERIFY(page->isConnected());
    x86()->clear();

    boxes->answer(answer);
    x86()->fireConnectStatus(status);
    QTRY_VERIFY(!page->isConnected());
    QCoreApplication::processEvents();

    QVERIFY(controlsDisabled());
    QVERIFY(!COMMONUSELIB::WaitDialog::getInstance()->isWaiting() || answer == 1);
    if (!shown) {
        QCOMPARE(boxes->count(), 0);
        QCOMPARE(x86()->count("Connect"), 0);
        QVERIFY(!button("_connectMatrixBtn")->isChecked());
        return;
    }
    QCOMPARE(boxes->count(), 1);
    QCOMPARE(boxes->last().title, title);
    QCOMPARE(boxes->last().text, text);
    QCOMPARE(boxes->last().buttons, short(3));
    QCOMPARE(boxes->last().parent, pageParent ? static_cast<QWidget *>(page.get()) : nullptr);
    QCOMPARE(x86()->count("Connect"), answer == 1 ? 1 : 0);
    QCOMPARE(COMMONUSELIB::WaitDialog::getInstance()->isWaiting(), answer == 1);
    QVERIFY(!button("_connectMatrixBtn")->isChecked());
}

void TestX86Page::failureWhileHiddenForgetsTheConnection()
{
    addServer("Alpha", "10.0.0.1");
    addServer("Beta", "10.0.0.2");
    makePage(false);
    loginTo(0);
    x86()->fireConnectStatus(ConnDisconnect);
    QTRY_VERIFY(!page->isConnected());
    QCOMPARE(boxes->count(), 0);
    selectServer(1);
    selectServer(0);
    QCOMPARE(x86()->count("Connect"), 1);
    QCOMPARE(button("_serverSelectBtn")->text(), QStringLiteral("Alpha"));
}

void TestX86Page::switchingBackReconnectsAServerLeftConnected()
{
    addServer("Alpha", "10.0.0.1", 9001);
    addServer("Beta", "10.0.0.2", 9002);
    makePage(false);
    loginTo(0);
    x86()->clear();

    selectServer(1);
    QCOMPARE(x86()->names(), QStringList {"Disconnect"});
    QCOMPARE(button("_serverSelectBtn")->text(), QStringLiteral("Beta"));
    QVERIFY(!page->isConnected());
    QVERIFY(controlsDisabled());

    selectServer(0);
    QCOMPARE(x86()->names(), (QStringList {"Disconnect", "Disconnect", "Connect"}));
    QCOMPARE(x86()->last("Connect").args, (QVariantList {"10.0.0.1", 9001}));
    x86()->fireConnectStatus(ConnSuccess);
    QTRY_VERIFY(page->isConnected());

    // Beta was never connected: going there and back to Beta connects nothing.
    x86()->clear();
    selectServer(1);
    QCOMPARE(x86()->count("Connect"), 0);
}

void TestX86Page::disconnectingByHandForgetsTheConnection()
{
    addServer("Alpha", "10.0.0.1");
    addServer("Beta", "10.0.0.2");
    makePage(false);
    loginTo(0);
    x86()->clear();
    clickConnect();
    QCOMPARE(x86()->names(), QStringList {"Disconnect"});
    QVERIFY(!page->isConnected());
    QVERIFY(controlsDisabled());
    QCOMPARE(button("_connectMatrixBtn")->toolTip(), QStringLiteral("Connect server"));
    selectServer(1);
    selectServer(0);
    QCOMPARE(x86()->count("Connect"), 0);
}

void TestX86Page::commandsNeedASelectedServer()
{
    makePage(false);
    int modals = 0;
    ModalDriver driver([&modals](QWidget *) { ++modals; }, 20, 5);
    driver.start();
    clickConnect();
    QTest::mouseClick(button("_editServerBtn"), Qt::LeftButton);
    QTest::mouseClick(button("_deleteServerBtn"), Qt::LeftButton);
    QTest::qWait(20);
    driver.stop();
    QCOMPARE(modals, 0);
    QCOMPARE(boxes->count(), 0);
    QCOMPARE(x86()->names(), QStringList());
    QVERIFY(!button("_connectMatrixBtn")->isChecked());
    QVERIFY(!COMMONUSELIB::WaitDialog::getInstance()->isWaiting());
}

// ---- Servers --------------------------------------------------------------------------------

void TestX86Page::addButtonRefusesASixthServer_data()
{
    QTest::addColumn<int>("existing");
    QTest::addColumn<bool>("opens");
    QTest::newRow("four servers: dialog") << 4 << true;
    QTest::newRow("five servers: refused") << 5 << false;
}

void TestX86Page::addButtonRefusesASixthServer()
{
    QFETCH(int, existing);
    QFETCH(bool, opens);
    for (int i = 0; i < existing; ++i)
        addServer(QStringLiteral("Matrix %1").arg(i), QStringLiteral("10.0.0.%1").arg(i + 1));
    makePage(false);

    QString dialogTitle;
    ModalDriver driver([&dialogTitle](QWidget *modal) {
        dialogTitle = modal->findChild<QLabel *>("title")->text();
        modal->findChild<QLineEdit *>("serverName")->setText("New one");
        modal->findChild<COMMONUSELIB::IpAddressFrame *>("ipFrame")->setIp("10.0.1.1");
        modal->findChild<QLineEdit *>("serverPort")->setText("9300");
        QTest::mouseClick(modal->findChild<QPushButton *>("saveBt"), Qt::LeftButton);
    });
    driver.start();
    QTest::mouseClick(button("_addServerBtn"), Qt::LeftButton);
    driver.stop();

    const QList<UServerInfo> stored = UserManagerCore::instance()->GetServers(QString());
    if (!opens) {
        QVERIFY(!driver.ran());
        QCOMPARE(boxes->count(), 1);
        QCOMPARE(boxes->last().title, QStringLiteral("Warn"));
        QCOMPARE(boxes->last().text, QStringLiteral("The number of servers can't beyond 5!"));
        QCOMPARE(boxes->last().buttons, short(1));
        QCOMPARE(boxes->last().parent, static_cast<QWidget *>(page.get()));
        QCOMPARE(stored.size(), existing);
        return;
    }
    QVERIFY(driver.ran());
    QCOMPARE(dialogTitle, QStringLiteral("Add DigitalMatrix Server"));
    QCOMPARE(stored.size(), existing + 1);
    QCOMPARE(stored.last().name, QStringLiteral("New one"));
    QCOMPARE(stored.last().ip, QStringLiteral("10.0.1.1"));
    QCOMPARE(stored.last().port, 9300);
    QCOMPARE(stored.last().type, 2);
    // The data centre's announcement lists and selects the new server.
    QTRY_COMPARE(selector()->serverCount(), existing + 1);
    QCOMPARE(button("_serverSelectBtn")->text(), QStringLiteral("New one"));
    QCOMPARE(page->currentServerInfo().id, stored.last().id);
    QVERIFY(!page->isConnected());
}

void TestX86Page::pictureHintAddsBeyondTheLimit()
{
    for (int i = 0; i < 5; ++i)
        addServer(QStringLiteral("Matrix %1").arg(i), QStringLiteral("10.0.0.%1").arg(i + 1));
    makePage(false);
    DigitalMatrixServerInfo info;
    info.name = "Sixth";
    info.ip = "10.0.0.60";
    info.port = 9010;
    info.matrixKind = DigitalMatrixServerInfo::X86Matrix;
    page->slotAddServerFromPictrueHint(info);
    QCOMPARE(boxes->count(), 0);
    QCOMPARE(UserManagerCore::instance()->GetServers(QString()).size(), 6);
    QTRY_COMPARE(selector()->serverCount(), 6);
    QCOMPARE(button("_serverSelectBtn")->text(), QStringLiteral("Sixth"));
}

void TestX86Page::otherServerTypesAreIgnored()
{
    addServer("Alpha", "10.0.0.1");
    makePage(false);
    selectServer(0);
    addServer("Linux", "10.0.0.9", 8000, 6);
    QTest::qWait(10);
    QCoreApplication::processEvents();
    QCOMPARE(selector()->serverCount(), 1);
    QCOMPARE(button("_serverSelectBtn")->text(), QStringLiteral("Alpha"));
}

void TestX86Page::editKeepsTheLoginAndReconnects()
{
    const QString id = addServer("Alpha", "10.0.0.1", 9010, 2, "admin", "secret");
    addServer("Beta", "10.0.0.2");
    makePage(false);
    loginTo(0);
    x86()->clear();

    QString title;
    QString shownName;
    QString shownIp;
    QString shownPort;
    ModalDriver driver([&](QWidget *modal) {
        title = modal->findChild<QLabel *>("title")->text();
        shownName = modal->findChild<QLineEdit *>("serverName")->text();
        shownIp = modal->findChild<COMMONUSELIB::IpAddressFrame *>("ipFrame")->getIp();
        shownPort = modal->findChild<QLineEdit *>("serverPort")->text();
        modal->findChild<QLineEdit *>("serverName")->setText("Alpha 2");
        modal->findChild<COMMONUSELIB::IpAddressFrame *>("ipFrame")->setIp("10.0.0.99");
        QTest::mouseClick(modal->findChild<QPushButton *>("saveBt"), Qt::LeftButton);
    });
    driver.start();
    QTest::mouseClick(button("_editServerBtn"), Qt::LeftButton);
    driver.stop();
    QVERIFY(driver.ran());
    QCOMPARE(title, QStringLiteral("Edit DigitalMatrix Server"));
    QCOMPARE(shownName, QStringLiteral("Alpha"));
    QCOMPARE(shownIp, QStringLiteral("10.0.0.1"));
    QCOMPARE(shownPort, QStringLiteral("9010"));

    const UServerInfo stored = UserManagerCore::instance()->getServerInfo(id);
    QCOMPARE(stored.name, QStringLiteral("Alpha 2"));
    QCOMPARE(stored.ip, QStringLiteral("10.0.0.99"));
    QCOMPARE(stored.user, QStringLiteral("admin"));
    QCOMPARE(stored.password, QStringLiteral("secret"));
    QCOMPARE(stored.type, 2);

    // The edited server was connected: it is reconnected at its new address.
    QTRY_COMPARE(x86()->count("Connect"), 1);
    QCOMPARE(x86()->last("Connect").args, (QVariantList {"10.0.0.99", 9010}));
    QCOMPARE(button("_serverSelectBtn")->text(), QStringLiteral("Alpha 2"));
    QCOMPARE(selector()->serverButtons().at(0)->text(), QStringLiteral("Alpha 2"));
    x86()->fireConnectStatus(ConnSuccess);
    QTRY_VERIFY(page->isConnected());
    QCOMPARE(x86()->last("Login").args, (QVariantList {"admin", "secret"}));
}

void TestX86Page::deletingTheLastServerEmitsDeleteAllOnce()
{
    addServer("Alpha", "10.0.0.1");
    makePage(false);
    loginTo(0);
    x86()->clear();
    QSignalSpy spy(page.get(), &DigitalMatrix::signalX86MatrixServerDeleteAll);
    boxes->answer(1);
    QTest::mouseClick(button("_deleteServerBtn"), Qt::LeftButton);
    QCOMPARE(boxes->last().text, QStringLiteral("Delete selected server?"));
    QCOMPARE(boxes->last().title, QStringLiteral("Warn"));
    QCOMPARE(boxes->last().parent, static_cast<QWidget *>(page.get()));
    QCOMPARE(spy.count(), 1);
    QVERIFY(UserManagerCore::instance()->GetServers(QString()).isEmpty());
    QCOMPARE(selector()->serverCount(), 0);
    const UServerInfo current = page->currentServerInfo();
    QVERIFY(current.id.isEmpty());
    QVERIFY(current.name.isEmpty());
    QCOMPARE(current.port, -1);
    QCOMPARE(current.type, -1);
    QVERIFY(!page->isConnected());
    QVERIFY(controlsDisabled());
    QVERIFY(!button("_connectMatrixBtn")->isChecked());
    QVERIFY(button("_serverSelectBtn")->text().isEmpty());
    QCOMPARE(x86()->names(), QStringList {"Disconnect"});

    // Later announcements do not repeat it.
    QTest::qWait(10);
    QCoreApplication::processEvents();
    QCOMPARE(spy.count(), 1);
}

void TestX86Page::deletingSelectsTheFirstRemainingServer()
{
    addServer("Alpha", "10.0.0.1");
    addServer("Beta", "10.0.0.2");
    addServer("Gamma", "10.0.0.3");
    makePage(false);
    QSignalSpy spy(page.get(), &DigitalMatrix::signalX86MatrixServerDeleteAll);
    selectServer(2);
    boxes->answer(1);
    QTest::mouseClick(button("_deleteServerBtn"), Qt::LeftButton);
    QCOMPARE(spy.count(), 0);
    QCOMPARE(selector()->serverCount(), 2);
    QCOMPARE(button("_serverSelectBtn")->text(), QStringLiteral("Alpha"));
    QCOMPARE(page->currentServerInfo().ip, QStringLiteral("10.0.0.1"));
}

void TestX86Page::deleteDeclinedKeepsTheServer()
{
    addServer("Alpha", "10.0.0.1");
    makePage(false);
    loginTo(0);
    QSignalSpy spy(page.get(), &DigitalMatrix::signalX86MatrixServerDeleteAll);
    boxes->answer(0);
    QTest::mouseClick(button("_deleteServerBtn"), Qt::LeftButton);
    QCOMPARE(boxes->count(), 1);
    QCOMPARE(spy.count(), 0);
    QCOMPARE(UserManagerCore::instance()->GetServers(QString()).size(), 1);
    QVERIFY(page->isConnected());
}

// ---- Server selector and dialog ---------------------------------------------------------

void TestX86Page::selectorGeometry()
{
    ServerSelectWidget selectorWidget;
    QVERIFY(selectorWidget.windowFlags() & Qt::Popup);
    QVERIFY(selectorWidget.property("serverselectwidget").toBool());
    for (int i = 0; i < 3; ++i) {
        UServerInfo info;
        info.id = QString::number(i);
        info.name = QStringLiteral("Server %1").arg(i);
        selectorWidget.addServer(info);
    }
    QCOMPARE(selectorWidget.size(), QSize(152, 96));
    const QList<ServerButton *> buttons = selectorWidget.serverButtons();
    const QList<QWidget *> lines = selectorWidget.separatorLines();
    QCOMPARE(buttons.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(buttons.at(i)->geometry(), QRect(0, 3 + 31 * i, 150, 30));
        QCOMPARE(buttons.at(i)->text(), QStringLiteral("Server %1").arg(i));
        QCOMPARE(lines.at(i)->geometry(), QRect(1, 33 + 31 * i, 148, 1));
        QVERIFY(lines.at(i)->property("smallsplite").toBool());
        QCOMPARE(buttons.at(i)->focusPolicy(), Qt::NoFocus);
    }
    QVERIFY(!lines.at(0)->isHidden());
    QVERIFY(!lines.at(1)->isHidden());
    QVERIFY(lines.at(2)->isHidden());

    selectorWidget.updateLayout(200);
    QCOMPARE(selectorWidget.size(), QSize(202, 96));
    QCOMPARE(buttons.at(1)->width(), 200);

    QStringList chosen;
    connect(&selectorWidget, &ServerSelectWidget::sigServerSelected, this,
            [&chosen](PUServerInfo info) { chosen << info->name; });
    QTest::mouseClick(buttons.at(1), Qt::LeftButton);
    QCOMPARE(chosen, QStringList {"Server 1"});

    selectorWidget.clearServers();
    QCOMPARE(selectorWidget.serverCount(), 0);
    QCOMPARE(selectorWidget.size(), QSize(202, 3));
}

void TestX86Page::serverDialogValidation_data()
{
    QTest::addColumn<bool>("edit");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("ip");
    QTest::addColumn<QString>("port");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("field");

    QTest::newRow("complete") << false << "Gamma"
                              << "10.0.0.3"
                              << "9010" << true << QString() << QString();
    QTest::newRow("no name") << false << ""
                             << "10.0.0.3"
                             << "9010" << false << "Please enter digital matrix server name!"
                             << "serverName";
    QTest::newRow("no address") << false << "Gamma"
                                << ""
                                << "9010" << false << "Please enter digital matrix server ip!"
                                << "ipFrame";
    QTest::newRow("address 0.0.0.0") << false << "Gamma"
                                     << "0.0.0.0"
                                     << "9010" << false << "Please enter digital matrix server ip!"
                                     << "ipFrame";
    QTest::newRow("no port") << false << "Gamma"
                             << "10.0.0.3"
                             << "" << false << "Please enter digital matrix server port!"
                             << "serverPort";
    QTest::newRow("name taken") << false << "Beta"
                                << "10.0.0.3"
                                << "9010" << false << "The name of server has exsit!"
                                << "serverName";
    QTest::newRow("address taken") << false << "Gamma"
                                   << "10.0.0.2"
                                   << "9010" << false << "The IP of server has exsit!"
                                   << "ipFrame";
    QTest::newRow("name of a Linux server is free") << false << "Linux"
                                                    << "10.0.0.7"
                                                    << "9010" << true << QString() << QString();
    QTest::newRow("edit unchanged") << true << "Alpha"
                                    << "10.0.0.1"
                                    << "9010" << true << QString() << QString();
    QTest::newRow("edit to another name") << true << "Beta"
                                          << "10.0.0.1"
                                          << "9010" << false << "The name of server has exsit!"
                                          << "serverName";
}

void TestX86Page::serverDialogValidation()
{
    QFETCH(bool, edit);
    QFETCH(QString, name);
    QFETCH(QString, ip);
    QFETCH(QString, port);
    QFETCH(bool, accepted);
    QFETCH(QString, hint);
    QFETCH(QString, field);

    const QString alphaId = addServer("Alpha", "10.0.0.1");
    addServer("Beta", "10.0.0.2");
    addServer("Linux", "10.0.0.6", 8000, 6);
    DigitalMatrixServerInfo alpha;
    alpha.id = alphaId;
    alpha.name = "Alpha";
    alpha.ip = "10.0.0.1";
    alpha.port = 9010;
    alpha.matrixKind = 1;
    _ModifyDigitalMatrixServerDlg dialog(nullptr, edit ? &alpha : nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.minimumSize(), QSize(360, 320));
    QCOMPARE(dialog.maximumSize(), QSize(362, 320));
    QVERIFY(dialog.testAttribute(Qt::WA_TranslucentBackground));
    QVERIFY(dialog.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(dialog.property("lumo_whiteBodyWidget").toBool());
    QCOMPARE(dialog.findChild<QComboBox *>("serverType")->count(), 2);
    QCOMPARE(dialog.findChild<QComboBox *>("serverType")->itemText(1),
             QStringLiteral("TQ5100-4HD"));
    QVERIFY(dialog.findChild<QLabel *>("ipLabel")->text().contains("IPAddress:"));
    QVERIFY(dialog.findChild<QLabel *>("ipLabel")->text().contains("#ff0000"));

    dialog.findChild<QLineEdit *>("serverName")->setText(name);
    dialog.findChild<COMMONUSELIB::IpAddressFrame *>("ipFrame")->setIp(ip);
    dialog.findChild<QLineEdit *>("serverPort")->setText(port);
    QToolTip::hideText();
    QTest::mouseClick(dialog.findChild<QPushButton *>("saveBt"), Qt::LeftButton);
    QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
    QCOMPARE(dialog.isVisible(), !accepted);
    if (!accepted) {
        QCOMPARE(QToolTip::text(), hint);
        QVERIFY(dialog.findChild<QWidget *>(field));
    }
    QToolTip::hideText();
}

void TestX86Page::serverDialogStripsQuotesAndBackslashes()
{
    _ModifyDigitalMatrixServerDlg dialog(nullptr, nullptr);
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
}

void TestX86Page::serverDialogReturnsAnX86Record()
{
    DigitalMatrixServerInfo alpha;
    alpha.id = "some-id";
    alpha.name = "Alpha";
    alpha.ip = "10.0.0.1";
    alpha.port = 9010;
    alpha.user = "admin";
    alpha.password = "secret";
    _ModifyDigitalMatrixServerDlg dialog(nullptr, &alpha);
    dialog.findChild<QComboBox *>("serverType")->setCurrentIndex(1);
    dialog.findChild<QLineEdit *>("serverPort")->setText("9500");
    const DigitalMatrixServerInfo info = dialog.getServerInfo();
    QCOMPARE(info.id, QStringLiteral("some-id"));
    QCOMPARE(info.name, QStringLiteral("Alpha"));
    QCOMPARE(info.ip, QStringLiteral("10.0.0.1"));
    QCOMPARE(info.port, 9500);
    QCOMPARE(info.matrixKind, 1);
    QVERIFY(info.user.isEmpty());
    QVERIFY(info.password.isEmpty());
}

// ---- Wall on the page -------------------------------------------------------------------

void TestX86Page::layoutFromTheServiceFillsTheWall()
{
    addServer("Alpha", "10.0.0.1");
    makePage(true);
    QTRY_COMPARE(button("_serverSelectBtn")->text(), QStringLiteral("Alpha"));
    loginTo(0);
    x86()->clear();
    fireLayout(windows({mirror(5, rc(0, 0, 800, 450), 4, 1, 2), mirror(6, rc(800, 0, 1600, 450))}));
    QCOMPARE(wall()->getMirrors().size(), 2);
    QCOMPARE(wall()->getMirrorTotal(), 2);
    QCOMPARE(page->currentMonitorIndex(), 5);
    QCOMPARE(int(page->currentTurnStateValue()), 1);
    QCOMPARE(x86()->names(), QStringList {"SelectMonitor"});
    QCOMPARE(x86()->last("SelectMonitor").args, QVariantList {5});
    MirrorWidget *first = wall()->mirrorByIndex(5);
    QVERIFY(first->isVisible());
    QCOMPARE(first->geometry().topLeft(), QPoint(0, 0));
    QCOMPARE(first->width(), wall()->width() / 2);
    QCOMPARE(first->getSplitCount(), 4);
    QVERIFY(!first->isSwapMode());
    // Layer 2 was raised at the end of the layout.
    QCOMPARE(wall()->children().last(), first);
}

void TestX86Page::selectingAWindowPreparesTheTurnButton_data()
{
    QTest::addColumn<int>("turn");
    QTest::addColumn<int>("enabled"); // -1: left as it was
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("turning") << 1 << 1;
    QTest::newRow("paused") << 2 << 1;
    QTest::newRow("unknown") << 5 << -1;
}

void TestX86Page::selectingAWindowPreparesTheTurnButton()
{
    QFETCH(int, turn);
    QFETCH(int, enabled);
    addServer("Alpha", "10.0.0.1");
    makePage(false);
    loginTo(0);
    fireLayout(fourWindows());
    x86()->clear();
    QPushButton *turnButton = button("_turnShowBtn");
    for (bool before : {false, true}) {
        turnButton->setEnabled(before);
        emit wall()->sigCurrMontroIndex(3, turn);
        QCOMPARE(turnButton->isEnabled(), enabled < 0 ? before : enabled == 1);
    }
    QCOMPARE(page->currentMonitorIndex(), 3);
    QCOMPARE(int(page->currentTurnStateValue()), turn);
    QCOMPARE(x86()->names(), (QStringList {"SelectMonitor", "SelectMonitor"}));
    QCOMPARE(x86()->last("SelectMonitor").args, QVariantList {3});

    // The turn menu offers what the state allows.
    auto *menu = page->findChild<TurnControlWidget *>();
    QVERIFY(menu);
    if (turn == 1 || turn == 2) {
        QCOMPARE(menu->findChild<QPushButton *>("_startTurnShowBtn")->isHidden(), turn == 1);
        QCOMPARE(menu->findChild<QPushButton *>("_pauseTurnShowBtn")->isHidden(), turn == 2);
        QVERIFY(!menu->findChild<QPushButton *>("_closeTurnShowBtn")->isHidden());
    }
}

void TestX86Page::resetLayoutAsksFirst_data()
{
    QTest::addColumn<short>("answer");
    QTest::newRow("yes") << short(1);
    QTest::newRow("no") << short(0);
}

void TestX86Page::resetLayoutAsksFirst()
{
    QFETCH(short, answer);
    addServer("Alpha", "10.0.0.1");
    makePage(false);
    loginTo(0);
    fireLayout(fourWindows());
    x86()->clear();
    boxes->answer(answer);
    QTest::mouseClick(button("_resetLayout"), Qt::LeftButton);
    QCOMPARE(boxes->last().text, QStringLiteral("Reset the layout?"));
    QCOMPARE(boxes->last().title, QStringLiteral("Warn"));
    QCOMPARE(boxes->last().parent, static_cast<QWidget *>(page.get()));
    QCOMPARE(x86()->count("SetMirrorRect"), answer == 1 ? 4 : 0);
}

void TestX86Page::clearSourceAsksAndClears()
{
    addServer("Alpha", "10.0.0.1");
    makePage(false);
    loginTo(0);
    fireLayout(
            windows({mirror(0, rc(0, 0, 800, 450), 4, 1), mirror(1, rc(800, 0, 1600, 450), 1, 2)}));
    QVERIFY(button("_turnShowBtn")->isEnabled());
    x86()->clear();

    boxes->answer(0);
    QTest::mouseClick(button("_clearSourceBtn"), Qt::LeftButton);
    QCOMPARE(boxes->last().text, QStringLiteral("Do you want to clear the source?"));
    QCOMPARE(boxes->last().parent, nullptr);
    QCOMPARE(x86()->count("ClearSource"), 0);
    QVERIFY(button("_turnShowBtn")->isEnabled());

    boxes->answer(1);
    QTest::mouseClick(button("_clearSourceBtn"), Qt::LeftButton);
    QCOMPARE(x86()->names(), QStringList {"ClearSource"});
    QCOMPARE(x86()->last("ClearSource").args, QVariantList {0});
    // Nothing is marked before the matrix reports it; then only the cleared window changed.
    QCOMPARE(int(wall()->mirrorByIndex(1)->getTurnState()), 2);
    fireLayout(
            windows({mirror(0, rc(0, 0, 800, 450), 4, 0), mirror(1, rc(800, 0, 1600, 450), 1, 2)}));
    QTRY_VERIFY(!button("_turnShowBtn")->isEnabled());
    QCOMPARE(int(wall()->mirrorByIndex(0)->getTurnState()), 0);
    QCOMPARE(int(wall()->mirrorByIndex(1)->getTurnState()), 2);
}

void TestX86Page::configurationModeFlow()
{
    addServer("Alpha", "10.0.0.1");
    makePage(false);
    loginTo(0);
    fireLayout(fourWindows());
    QCOMPARE(wall()->getMirrors().size(), 4);
    x86()->clear();

    // Declined: nothing changes.
    boxes->answer(0);
    QTest::mouseClick(button("_MatrixSettingBtn"), Qt::LeftButton);
    QCOMPARE(boxes->last().text, QStringLiteral("Do you want to clear the setting of matrix"));
    QCOMPARE(x86()->names(), QStringList());
    QCOMPARE(wall()->getMirrors().size(), 4);

    boxes->answer(1);
    QTest::mouseClick(button("_MatrixSettingBtn"), Qt::LeftButton);
    QCOMPARE(x86()->names(), QStringList {"SetConfigMode"});
    QCOMPARE(x86()->last("SetConfigMode").args, QVariantList {true});
    QVERIFY(page->isMonitorConfig());
    QVERIFY(wall()->getMirrors().isEmpty());
    QVERIFY(!wall()->isEditable());
    QVERIFY(COMMONUSELIB::WaitDialog::getInstance()->isWaiting());

    // The matrix reports 8 screens in 2 x 4: the page asks with those numbers.
    QString shownScreens;
    QString shownRows;
    ModalDriver driver([&](QWidget *modal) {
        shownScreens = modal->findChild<QLabel *>("_numberLabel")->text();
        shownRows = modal->findChild<QLineEdit *>("_rowEdt")->text();
        modal->findChild<QLineEdit *>("_columnEdt")->setText("4");
        QTest::mouseClick(modal->findChild<QPushButton *>("_OKBtn"), Qt::LeftButton);
    });
    driver.start();
    x86()->fireMatrixInfo(8, 2, 3);
    QTRY_VERIFY(driver.ran());
    driver.stop();
    QCOMPARE(shownScreens, QStringLiteral("8"));
    QCOMPARE(shownRows, QStringLiteral("2"));
    QCOMPARE(x86()->last("SetScreenCount").args, (QVariantList {2, 4}));
    QVERIFY(!COMMONUSELIB::WaitDialog::getInstance()->isWaiting());
    QVERIFY(!button("_saveMatrixSettingBtn")->isHidden());
    for (const QString &name : normalButtons)
        QVERIFY(button(name)->isHidden());

    // The configuration layout: windows can only be swapped.
    fireLayout(fourWindows(), 1);
    QCOMPARE(wall()->getMirrors().size(), 4);
    for (MirrorWidget *m : wall()->getMirrors()) {
        QVERIFY(m->isSwapMode());
        QVERIFY(!m->isEditable());
    }

    x86()->clear();
    QTest::mouseClick(button("_saveMatrixSettingBtn"), Qt::LeftButton);
    QCOMPARE(x86()->names(), QStringList {"SetConfigMode"});
    QCOMPARE(x86()->last("SetConfigMode").args, QVariantList {false});
    QVERIFY(!page->isMonitorConfig());
    QVERIFY(button("_saveMatrixSettingBtn")->isHidden());
    for (const QString &name : normalButtons)
        QVERIFY(!button(name)->isHidden());
    for (MirrorWidget *m : wall()->getMirrors()) {
        QVERIFY(!m->isSwapMode());
        QVERIFY(m->isEditable());
    }
}

void TestX86Page::matrixInfoOutsideConfigurationStartsIt()
{
    addServer("Alpha", "10.0.0.1");
    makePage(false);
    loginTo(0);
    fireLayout(fourWindows());
    x86()->clear();
    ModalDriver driver([](QWidget *) {}, 20, 5);
    driver.start();
    x86()->fireMatrixInfo(4, 2, 2);
    QTRY_VERIFY(page->isMonitorConfig());
    QTest::qWait(20);
    driver.stop();
    QVERIFY(!driver.ran());
    QCOMPARE(x86()->names(), QStringList {"SetConfigMode"});
    QVERIFY(wall()->getMirrors().isEmpty());
    QVERIFY(!button("_saveMatrixSettingBtn")->isHidden());
}

void TestX86Page::matrixInfoDialogRejectedLeavesTheMode()
{
    addServer("Alpha", "10.0.0.1");
    makePage(false);
    loginTo(0);
    boxes->answer(1);
    QTest::mouseClick(button("_MatrixSettingBtn"), Qt::LeftButton);
    x86()->clear();
    ModalDriver driver([](QWidget *modal) {
        QTest::mouseClick(modal->findChild<QPushButton *>("_cancelBtn"), Qt::LeftButton);
    });
    driver.start();
    x86()->fireMatrixInfo(4, 2, 2);
    QTRY_VERIFY(driver.ran());
    driver.stop();
    QCOMPARE(x86()->count("SetScreenCount"), 0);
    // The matrix keeps its screens and leaves its configuration mode; the page works on.
    QCOMPARE(x86()->last("SetConfigMode").args, QVariantList {false});
    QVERIFY(button("_saveMatrixSettingBtn")->isHidden());
    QVERIFY(!controlsDisabled());
    QVERIFY(!page->isMonitorConfig());
}

void TestX86Page::newMatrixAsksForTheScreenCount_data()
{
    QTest::addColumn<bool>("accept");
    QTest::newRow("accepted") << true;
    QTest::newRow("cancelled") << false;
}

void TestX86Page::newMatrixAsksForTheScreenCount()
{
    QFETCH(bool, accept);
    addServer("Alpha", "10.0.0.1");
    makePage(false);
    loginTo(0);
    x86()->clear();
    QString shownRows = "unset";
    QString shownScreens;
    ModalDriver driver([&](QWidget *modal) {
        shownRows = modal->findChild<QLineEdit *>("_rowEdt")->text();
        shownScreens = modal->findChild<QLabel *>("_numberLabel")->text();
        if (accept) {
            QTest::keyClicks(modal->findChild<QLineEdit *>("_rowEdt"), "2");
            QTest::keyClicks(modal->findChild<QLineEdit *>("_columnEdt"), "3");
            QTest::mouseClick(modal->findChild<QPushButton *>("_OKBtn"), Qt::LeftButton);
        } else {
            QTest::mouseClick(modal->findChild<QPushButton *>("_cancelBtn"), Qt::LeftButton);
        }
    });
    driver.start();
    // A layout without screens: the page enters the configuration mode, which reports the
    // outputs, and asks for the screens then.
    x86()->fireLayout(rc(0, 0, 1920, 1080), windows({mirror(0, rc(0, 0, 1920, 1080))}), 7, 0, 0, 0);
    QTRY_COMPARE(x86()->count("SetConfigMode"), 1);
    QCOMPARE(x86()->last("SetConfigMode").args, QVariantList {true});
    QVERIFY(!driver.ran());
    x86()->fireMatrixInfo(7, 0, 0);
    QTRY_VERIFY(driver.ran());
    driver.stop();
    QCoreApplication::processEvents();
    QCOMPARE(shownRows, QString());
    QCOMPARE(shownScreens, QStringLiteral("7"));
    QCOMPARE(boxes->count(), 0);
    if (accept) {
        QCOMPARE(x86()->last("SetScreenCount").args, (QVariantList {2, 3}));
        QVERIFY(!button("_saveMatrixSettingBtn")->isHidden());
    } else {
        QCOMPARE(x86()->count("SetScreenCount"), 0);
        QVERIFY(button("_saveMatrixSettingBtn")->isHidden());
        for (const QString &name : normalButtons)
            QVERIFY(!button(name)->isHidden());
    }
}

void TestX86Page::stopTurnAsksFirst()
{
    addServer("Alpha", "10.0.0.1");
    makePage(false);
    loginTo(0);
    fireLayout(fourWindows(1));
    QVERIFY(button("_turnShowBtn")->isEnabled());
    x86()->clear();
    auto *menu = page->findChild<TurnControlWidget *>();
    boxes->answer(0);
    QTest::mouseClick(menu->findChild<QPushButton *>("_closeTurnShowBtn"), Qt::LeftButton);
    QCOMPARE(boxes->last().text, QStringLiteral("Do you want to stop taking turns to show"));
    QCOMPARE(x86()->count("SetTurnState"), 0);
    boxes->answer(1);
    QTest::mouseClick(menu->findChild<QPushButton *>("_closeTurnShowBtn"), Qt::LeftButton);
    QCOMPARE(x86()->last("SetTurnState").args, (QVariantList {0, 0}));
    QVERIFY(!button("_turnShowBtn")->isEnabled());
    QCOMPARE(int(wall()->mirrorByIndex(0)->getTurnState()), 0);
}

// ---- Split and screen count ---------------------------------------------------------------

void TestX86Page::splitChooserEmitsTheCountThenMinusOne_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<int>("count");
    QTest::newRow("1") << "_squareoneBtn" << 1;
    QTest::newRow("4") << "_squaretwoBtn" << 4;
    QTest::newRow("9") << "_squarethreeBtn" << 9;
    QTest::newRow("16") << "_squarefourBtn" << 16;
    QTest::newRow("25") << "_squarefiveBtn" << 25;
    QTest::newRow("36") << "_squaresixBtn" << 36;
}

void TestX86Page::splitChooserEmitsTheCountThenMinusOne()
{
    QFETCH(QString, buttonName);
    QFETCH(int, count);
    SpliteWindow chooser;
    QVERIFY(chooser.windowFlags() & Qt::Popup);
    QCOMPARE(chooser.size(), QSize(119, 75));
    chooser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chooser));
    QSignalSpy spy(&chooser, &SpliteWindow::sigSpliteButtonClicked);
    QTest::mouseClick(chooser.findChild<QPushButton *>(buttonName), Qt::LeftButton);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0).toInt(), count);
    QCOMPARE(spy.at(1).at(0).toInt(), -1);
    QVERIFY(!chooser.isVisible());
}

void TestX86Page::splitChooserOpensFromAWindowContextMenu()
{
    addServer("Alpha", "10.0.0.1");
    makePage(true);
    QTRY_COMPARE(button("_serverSelectBtn")->text(), QStringLiteral("Alpha"));
    loginTo(0);
    fireLayout(fourWindows());
    MirrorWidget *target = wall()->mirrorByIndex(2);
    QVERIFY(target->isVisible());
    auto *chooser = page->findChild<SpliteWindow *>();
    QVERIFY(chooser->isHidden());

    // A right click selects the window and opens the chooser at the pointer.
    QTest::mousePress(target, Qt::RightButton, Qt::NoModifier, QPoint(20, 20));
    QTest::mouseRelease(target, Qt::RightButton, Qt::NoModifier, QPoint(20, 20));
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(20, 20),
                                target->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(target, &menuEvent);
    QCOMPARE(page->currentMonitorIndex(), 2);
    QTRY_VERIFY(chooser->isVisible());
    QCOMPARE(chooser->pos(), target->mapToGlobal(QPoint(20, 20)));

    x86()->clear();
    QTest::mouseClick(chooser->findChild<QPushButton *>("_squarethreeBtn"), Qt::LeftButton);
    QCOMPARE(x86()->names(), (QStringList {"SetMonitorSplit", "RequestLayout"}));
    QCOMPARE(x86()->last("SetMonitorSplit").args, (QVariantList {2, 9}));

    // Opened again and dismissed: nothing is sent.
    QApplication::sendEvent(target, &menuEvent);
    QTRY_VERIFY(chooser->isVisible());
    x86()->clear();
    chooser->hide();
    QCOMPARE(x86()->names(), QStringList());
}

void TestX86Page::splitChooserIsNotOfferedWhileNotLoggedIn()
{
    addServer("Alpha", "10.0.0.1");
    makePage(true);
    QTRY_COMPARE(button("_serverSelectBtn")->text(), QStringLiteral("Alpha"));
    fireLayout(fourWindows());
    MirrorWidget *target = wall()->mirrorByIndex(0);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(20, 20),
                                target->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(target, &menuEvent);
    QCoreApplication::processEvents();
    QVERIFY(page->findChild<SpliteWindow *>()->isHidden());

    // Nor in configuration mode.
    loginTo(0);
    fireLayout(fourWindows(), 1);
    target = wall()->mirrorByIndex(0);
    QContextMenuEvent again(QContextMenuEvent::Mouse, QPoint(20, 20),
                            target->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(target, &again);
    QCoreApplication::processEvents();
    QVERIFY(page->findChild<SpliteWindow *>()->isHidden());
}

void TestX86Page::screenCountBounds_data()
{
    QTest::addColumn<int>("screens");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("8 screens, 2 x 4") << 8 << "2"
                                      << "4" << true;
    QTest::newRow("8 screens, 3 x 3") << 8 << "3"
                                      << "3" << false;
    QTest::newRow("8 screens, 1 x 8") << 8 << "1"
                                      << "8" << true;
    QTest::newRow("8 screens, no rows") << 8 << ""
                                        << "4" << false;
    QTest::newRow("8 screens, 0 columns") << 8 << "2"
                                          << "0" << false;
    QTest::newRow("none reported, 1 x 1") << 0 << "1"
                                          << "1" << true;
    QTest::newRow("none reported, 18 x 18") << 0 << "18"
                                            << "18" << true;
    QTest::newRow("none reported, 3 x 5") << 0 << "3"
                                          << "5" << true;
    QTest::newRow("none reported, 19 x 1") << 0 << "19"
                                           << "1" << false;
    QTest::newRow("none reported, empty") << 0 << ""
                                          << "" << false;
}

void TestX86Page::screenCountBounds()
{
    QFETCH(int, screens);
    QFETCH(QString, rows);
    QFETCH(QString, columns);
    QFETCH(bool, accepted);
    setMatrixScreen dialog;
    QCOMPARE(dialog.maximumSize(), QSize(350, 220));
    QVERIFY(dialog.property("onelineeditdlg").toBool());
    QCOMPARE(dialog.findChild<QLabel *>("_numberLabel")->text(), QStringLiteral("0"));
    if (screens > 0)
        dialog.setScreenValues(1, 1, screens);
    dialog.findChild<QLineEdit *>("_rowEdt")->setText(rows);
    dialog.findChild<QLineEdit *>("_columnEdt")->setText(columns);
    QTest::mouseClick(dialog.findChild<QPushButton *>("_OKBtn"), Qt::LeftButton);
    QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
    if (accepted) {
        QCOMPARE(boxes->count(), 0);
        QCOMPARE(dialog.rowCount(), rows.toInt());
        QCOMPARE(dialog.columnCount(), columns.toInt());
    } else {
        QCOMPARE(boxes->count(), 1);
        QCOMPARE(boxes->last().title, QStringLiteral("Error"));
        QCOMPARE(boxes->last().text, QStringLiteral("Please input correct value!"));
        QCOMPARE(boxes->last().buttons, short(1));
        QCOMPARE(boxes->last().parent, static_cast<QWidget *>(&dialog));
    }
}

void TestX86Page::screenCountCleansInput_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("leading zero") << "05"
                                  << "5";
    QTest::newRow("leading zeros") << "007"
                                   << "7";
    QTest::newRow("trailing comma") << "3,"
                                    << "3";
    QTest::newRow("trailing plus") << "7+"
                                   << "7";
    QTest::newRow("plain") << "12"
                           << "12";
}

void TestX86Page::screenCountCleansInput()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    setMatrixScreen dialog;
    auto *rowEdit = dialog.findChild<QLineEdit *>("_rowEdt");
    rowEdit->setText(typed);
    QCOMPARE(rowEdit->text(), kept);
    auto *columnEdit = dialog.findChild<QLineEdit *>("_columnEdt");
    QTest::keyClicks(columnEdit, "019");
    QCOMPARE(columnEdit->text(), QStringLiteral("1"));
}

QTEST_MAIN(TestX86Page)
#include "tst_x86page.moc"
