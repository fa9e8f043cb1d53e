// The Linux matrix page: its server list and connection flow, the server dialog, and the
// screen arrangement with what it sends to the matrix.
#include "AdjustCellNumWidget.h"
#include "CellForAdjustNum.h"
#include "ConfigChannelsWidget.h"
#include "DigitalMatrixServerOperWidget.h"
#include "LinuxDigitalMatrixPage.h"
#include "MatrixOperButtonsWt.h"
#include "MatrixRowColumnSetDlg.h"
#include "MatrixServerSelWidget.h"
#include "ModifyDigitalMatrixServerDlg.h"

#include "IpAddressFrame.h"
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
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>

#include <memory>

using namespace LUMO_DIGITALMATRIX_MODULE;

namespace {

constexpr int U = 1000000;

const QString NotConnectedYet = QStringLiteral("Digital matrix server not connect yet!");
const QString ConnectOk = QStringLiteral("Digital matrix server connect ok!");
const QString ConnectFail = QStringLiteral("Digital matrix server connect fail!");
const QString Disconnected = QStringLiteral("Digital matrix server disconnect!");
const QString DisconnectFail = QStringLiteral("Digital matrix server disconnect fail!");

DATACore::UserManagerCore *dataCentre()
{
    return DATACore::UserManagerCore::instance();
}

// Stores a server directly in the data centre and lets its announcement go by.
QString storeServer(const QString &name, const QString &ip, int type = 6, int port = 6000)
{
    if (!dataCentre()->AddServer(name, ip, QStringLiteral("admin"), QStringLiteral("secret"), port,
                                 type))
        return QString();
    QCoreApplication::processEvents();
    const QList<UServerInfo> servers = dataCentre()->GetServers(QString());
    for (const UServerInfo &server : servers) {
        if (server.name == name && server.type == type)
            return server.id;
    }
    return QString();
}

ScreenRegionEntry gridEntry(int index, int left, int top)
{
    ScreenRegionEntry entry {};
    entry.region = ScreenRegion {index, 0, left, top, U, U};
    return entry;
}

// Removes any tool tip left from before, so the next one seen is a new one.
void dropToolTips()
{
    const QWidgetList widgets = QApplication::topLevelWidgets();
    for (QWidget *widget : widgets) {
        if (widget->objectName() == QLatin1String("qtooltip_label"))
            delete widget;
    }
}

QString shownToolTip()
{
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

QStringList callNames(const FakeBaseMatrix *base)
{
    return base->names();
}

} // namespace

class TestLinuxPage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // Server list and connection.
    void listsOnlyLinuxServers();
    void addButtonRefusesFromFiveServers_data();
    void addButtonRefusesFromFiveServers();
    void addedServerIsStoredListedAndSelected();
    void addRefusedByTheDataCentreEndsTheWait();
    void connectSendsLoginAndEnablesTheWall();
    void failedConnectLeavesThePageDisconnected();
    void disconnectToggleDisconnectsTheMatrix_data();
    void disconnectToggleDisconnectsTheMatrix();
    void serverLeftConnectedIsReconnectedOnReturn();
    void x86ServerAnnouncementsChangeNothing();
    void deletingTheLastServerEmitsDeleteAllOnce();
    void editOfAnotherServerChangesOnlyThatRecord();
    void deleteOfAnotherServerDropsOnlyThatRecord_data();
    void deleteOfAnotherServerDropsOnlyThatRecord();
    void editingTheConnectedServerReconnectsWithNewSettings();
    void rebootAndResetDisconnect_data();
    void rebootAndResetDisconnect();
    void operationBarFollowsTheStep();
    void upgradeEndShowsItsMessage_data();
    void upgradeEndShowsItsMessage();

    // Server dialog.
    void serverDialogChecksInOrder_data();
    void serverDialogChecksInOrder();
    void serverDialogTypeResetsThePort();
    void serverDialogStripsQuotesAndBackslashes_data();
    void serverDialogStripsQuotesAndBackslashes();
    void serverDialogEditsARecord();
    void serverDialogX86RecordHasNoLogin();

    // Screen arrangement.
    void rowColumnDialogAcceptsOnlyUpToFourCells_data();
    void rowColumnDialogAcceptsOnlyUpToFourCells();
    void configMatrixPresetsAndEntersArrangement();
    void draggingSwapsNumbers_data();
    void draggingSwapsNumbers();
    void typingSwapsNumbers_data();
    void typingSwapsNumbers();
    void savingSendsTheScreenMap();
    void savingClearsTheOldGridFirst();
    void failingSaveStepKeepsTheArrangement_data();
    void failingSaveStepKeepsTheArrangement();
    void unusableScreenNumbersFallBack_data();
    void unusableScreenNumbersFallBack();
    void cancelSendsOnlyTheModeSwitch();
    void backStepAsksForRowsAndColumnsAgain();

private:
    LinuxDigitalMatrixPage *makePage();
    void connectPage();
    void enterArrangement(const QString &rows, const QString &columns);

    template<typename T>
    T *child(const char *name) const
    {
        return page->findChild<T *>(QLatin1String(name));
    }
    MatrixServerSelWidget *selector() const { return child<MatrixServerSelWidget>("serverSelWdt"); }
    DigitalMatrixServerOperWidget *oper() const
    {
        return child<DigitalMatrixServerOperWidget>("serverOperWdt");
    }
    AdjustCellNumWidget *adjustGrid() const
    {
        return child<AdjustCellNumWidget>("adjustCellNumWdt");
    }
    ConfigChannelsWidget *channelGrid() const
    {
        return child<ConfigChannelsWidget>("configChannelsWdt");
    }
    QPushButton *button(const char *name) const { return child<QPushButton>(name); }
    FakeBaseMatrix *base() const { return service->base(); }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakeMatrixService> service;
    std::unique_ptr<LinuxDigitalMatrixPage> page;
};

void TestLinuxPage::init()
{
    dir.reset(new QTemporaryDir);
    QVERIFY(dir->isValid());
    QVERIFY(dataCentre()->open(dir->filePath(QStringLiteral("datacentre.db"))));
    service.reset(new FakeMatrixService);
}

void TestLinuxPage::cleanup()
{
    page.reset();
    QCoreApplication::processEvents();
    COMMONUSELIB::WaitDialog::getInstance()->hideWaitDialog();
    dropToolTips();
    service.reset();
    dataCentre()->close();
    dir.reset();
}

LinuxDigitalMatrixPage *TestLinuxPage::makePage()
{
    page.reset(new LinuxDigitalMatrixPage);
    page->resize(1000, 640);
    page->show();
    return page.get();
}

// Selects the first server (as the first show does) and connects it.
void TestLinuxPage::connectPage()
{
    QTRY_COMPARE(page->currentServerIndex(), 0);
    oper()->connectButton()->click();
    QCOMPARE(oper()->connectServerHint(), ConnectOk);
}

void TestLinuxPage::enterArrangement(const QString &rows, const QString &columns)
{
    bool accepted = false;
    ModalDriver driver([&](QWidget *modal) {
        auto *dialog = qobject_cast<MatrixRowColumnSetDlg *>(modal);
        if (!dialog)
            return;
        dialog->findChild<QLineEdit *>(QStringLiteral("rowLineEt"))->setText(rows);
        dialog->findChild<QLineEdit *>(QStringLiteral("columnLineEt"))->setText(columns);
        dialog->findChild<QPushButton *>(QStringLiteral("okBt"))->click();
        accepted = dialog->result() == QDialog::Accepted;
    });
    driver.start();
    button("configMatrixBt")->click();
    QVERIFY(driver.ran());
    QVERIFY(accepted);
    QCOMPARE(page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusConfig);
}

// ---------------------------------------------------------------- server list and connection

void TestLinuxPage::listsOnlyLinuxServers()
{
    storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    storeServer(QStringLiteral("Control"), QStringLiteral("10.0.0.2"), 2, 9010);
    storeServer(QStringLiteral("Wall B"), QStringLiteral("10.0.0.3"));
    makePage();

    const QList<DigitalMatrixServerInfo> servers = page->matrixServers();
    QCOMPARE(servers.size(), 2);
    QCOMPARE(servers.at(0).name, QStringLiteral("Wall A"));
    QCOMPARE(servers.at(1).name, QStringLiteral("Wall B"));
    QCOMPARE(servers.at(1).matrixKind, int(DigitalMatrixServerInfo::LinuxMatrix));
    QCOMPARE(servers.at(1).user, QStringLiteral("admin"));
    QCOMPARE(selector()->serverCount(), 2);

    // The first show selects the first server; nothing is connected yet.
    QTRY_COMPARE(selector()->currentServerId(), servers.at(0).id);
    QCOMPARE(oper()->connectServerHint(), NotConnectedYet);
    QCOMPARE(oper()->otherHint(),
             COMMONUSELIB::ServerOperWidget::generateServerDescribe(
                     QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"), 6000));
    QVERIFY(!child<MatrixOperButtonsWt>("operButtonsWt")->isEnabled());
    QCOMPARE(base()->count(QStringLiteral("Login")), 0);
}

void TestLinuxPage::addButtonRefusesFromFiveServers_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("refused");
    QTest::newRow("four") << 4 << false;
    QTest::newRow("five") << 5 << true;
    QTest::newRow("six, stored elsewhere") << 6 << true;
}

void TestLinuxPage::addButtonRefusesFromFiveServers()
{
    QFETCH(int, stored);
    QFETCH(bool, refused);
    for (int i = 0; i < stored; ++i)
        storeServer(QStringLiteral("Wall %1").arg(i), QStringLiteral("10.0.1.%1").arg(i + 1));
    makePage();
    QCOMPARE(page->matrixServers().size(), stored);

    MessageBoxScript boxes(1);
    QString dialogClass;
    ModalDriver driver([&](QWidget *modal) { dialogClass = modal->metaObject()->className(); });
    driver.start();
    selector()->addButton()->click();
    driver.stop();

    if (refused) {
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().title, QStringLiteral("Prompt"));
        QCOMPARE(boxes.last().text, QStringLiteral("Matrix server max count is:5"));
        QCOMPARE(boxes.last().buttons, short(1));
        QVERIFY(dialogClass.isEmpty());
    } else {
        QCOMPARE(boxes.count(), 0);
        QCOMPARE(dialogClass,
                 QStringLiteral("LUMO_DIGITALMATRIX_MODULE::ModifyDigitalMatrixServerDlg"));
    }
    QCOMPARE(dataCentre()->GetServers(QString()).size(), stored);
}

void TestLinuxPage::addedServerIsStoredListedAndSelected()
{
    const QString firstId = storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    makePage();
    QTRY_COMPARE(selector()->currentServerId(), firstId);

    bool typeLocked = false;
    QString typeText;
    ModalDriver driver([&](QWidget *modal) {
        auto *combo = modal->findChild<QComboBox *>(QStringLiteral("serverTypeComBx"));
        typeLocked = !combo->isEnabled();
        typeText = combo->currentText();
        modal->findChild<QLineEdit *>(QStringLiteral("nameLineEt"))
                ->setText(QStringLiteral("Hall"));
        modal->findChild<COMMONUSELIB::IpAddressFrame *>()->setIp(QStringLiteral("10.0.0.7"));
        modal->findChild<QLineEdit *>(QStringLiteral("userLineEt"))->setText(QStringLiteral("op"));
        modal->findChild<QLineEdit *>(QStringLiteral("passwordLineEt"))
                ->setText(QStringLiteral("pw"));
        modal->findChild<QPushButton *>(QStringLiteral("saveBt"))->click();
    });
    driver.start();
    selector()->addButton()->click();
    QVERIFY(driver.ran());
    QVERIFY(typeLocked);
    QCOMPARE(typeText, QStringLiteral("TQ5100-4HD"));

    // Stored at once; listed when the data centre announces it.
    COMMONUSELIB::WaitDialog *wait = COMMONUSELIB::WaitDialog::getInstance();
    QVERIFY(wait->isWaiting());
    QCOMPARE(wait->text(), QStringLiteral("Add matrix server..."));
    const QList<UServerInfo> stored = dataCentre()->GetServers(QString());
    QCOMPARE(stored.size(), 2);
    QCOMPARE(stored.at(1).name, QStringLiteral("Hall"));
    QCOMPARE(stored.at(1).ip, QStringLiteral("10.0.0.7"));
    QCOMPARE(stored.at(1).port, 6000);
    QCOMPARE(stored.at(1).user, QStringLiteral("op"));
    QCOMPARE(stored.at(1).password, QStringLiteral("pw"));
    QCOMPARE(stored.at(1).type, 6);

    QTRY_COMPARE(page->matrixServers().size(), 2);
    QVERIFY(!wait->isWaiting());
    QCOMPARE(page->currentServerIndex(), 1);
    QCOMPARE(selector()->currentServerId(), stored.at(1).id);
    QCOMPARE(oper()->connectServerHint(), NotConnectedYet);
}

void TestLinuxPage::addRefusedByTheDataCentreEndsTheWait()
{
    makePage();
    MessageBoxScript boxes(1);
    DigitalMatrixServerInfo info;
    info.name = QStringLiteral("Hall");
    info.ip = QStringLiteral("10.0.0.7");
    info.port = 0; // the data centre takes no port 0
    info.user = QStringLiteral("op");
    page->slotAddDigitalMatrixServer(info);

    QVERIFY(!COMMONUSELIB::WaitDialog::getInstance()->isWaiting());
    QCOMPARE(boxes.texts(), QStringList {QStringLiteral("Add matrix server fail!")});
    QVERIFY(dataCentre()->GetServers(QString()).isEmpty());
    QVERIFY(page->matrixServers().isEmpty());
}

void TestLinuxPage::connectSendsLoginAndEnablesTheWall()
{
    storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"), 6, 6100);
    makePage();
    connectPage();

    const FakeCall login = base()->last(QStringLiteral("Login"));
    QCOMPARE(login.args,
             (QVariantList {1, QStringLiteral("admin"), QStringLiteral("secret"),
                            QStringLiteral("10.0.0.1"), 6100}));
    QCOMPARE(base()->count(QStringLiteral("StartSession")), 1);
    QVERIFY(oper()->isServerConnectOK());
    QVERIFY(child<MatrixOperButtonsWt>("operButtonsWt")->isEnabled());
    QVERIFY(child<QStackedWidget>("cellsStackedWdt")->isEnabled());
    // The wall was read: the matrix has no grid yet, so the placeholder stays.
    QCOMPARE(base()->count(QStringLiteral("GetScreenGrid")), 1);
    QVERIFY(!channelGrid()->isConfigured());
}

void TestLinuxPage::failedConnectLeavesThePageDisconnected()
{
    storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    makePage();
    QTRY_COMPARE(page->currentServerIndex(), 0);
    base()->setResult(QStringLiteral("Login"), 7);
    oper()->connectButton()->click();

    QCOMPARE(oper()->connectServerHint(), ConnectFail);
    QVERIFY(!oper()->isServerConnectOK());
    QVERIFY(!oper()->connectButton()->isChecked());
    QCOMPARE(base()->count(QStringLiteral("StartSession")), 0);
    QVERIFY(!child<MatrixOperButtonsWt>("operButtonsWt")->isEnabled());
}

void TestLinuxPage::disconnectToggleDisconnectsTheMatrix_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("hint");
    QTest::newRow("accepted") << 0 << Disconnected;
    QTest::newRow("refused") << 9 << DisconnectFail;
}

void TestLinuxPage::disconnectToggleDisconnectsTheMatrix()
{
    QFETCH(int, result);
    QFETCH(QString, hint);
    storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    makePage();
    connectPage();
    base()->clear();
    base()->setResult(QStringLiteral("Disconnect"), result);

    oper()->connectButton()->click(); // the operator presses "Disconnect"

    QCOMPARE(callNames(base()),
             (QStringList {QStringLiteral("SetNumberArrangeMode"), QStringLiteral("Disconnect")}));
    QCOMPARE(base()->last(QStringLiteral("SetNumberArrangeMode")).args, QVariantList {0});
    QCOMPARE(oper()->connectServerHint(), hint);
    QVERIFY(!oper()->isServerConnectOK());
    QVERIFY(!child<MatrixOperButtonsWt>("operButtonsWt")->isEnabled());
}

void TestLinuxPage::serverLeftConnectedIsReconnectedOnReturn()
{
    const QString a = storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    const QString b = storeServer(QStringLiteral("Wall B"), QStringLiteral("10.0.0.2"));
    makePage();
    connectPage();
    QCOMPARE(base()->count(QStringLiteral("Login")), 1);

    selector()->serverButton(b)->click();
    QCOMPARE(page->currentServerIndex(), 1);
    QCOMPARE(oper()->connectServerHint(), NotConnectedYet);
    QVERIFY(!oper()->isServerConnectOK());
    QCOMPARE(base()->count(QStringLiteral("Login")), 1);

    selector()->serverButton(a)->click();
    QCOMPARE(base()->count(QStringLiteral("Login")), 2);
    QCOMPARE(base()->last(QStringLiteral("Login")).args.value(3),
             QVariant(QStringLiteral("10.0.0.1")));
    QVERIFY(oper()->isServerConnectOK());
    QCOMPARE(oper()->connectServerHint(), ConnectOk);
    QVERIFY(child<MatrixOperButtonsWt>("operButtonsWt")->isEnabled());

    // B was left unconnected and stays so.
    selector()->serverButton(b)->click();
    QCOMPARE(base()->count(QStringLiteral("Login")), 2);
    QCOMPARE(oper()->connectServerHint(), NotConnectedYet);
}

void TestLinuxPage::x86ServerAnnouncementsChangeNothing()
{
    const QString linuxId = storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    const QString x86Id =
            storeServer(QStringLiteral("Control"), QStringLiteral("10.0.0.2"), 2, 9010);
    makePage();
    connectPage();
    QSignalSpy deleteAll(page.get(), &LinuxDigitalMatrixPage::signalLinuxMatrixServerDeleteAll);
    const QList<DigitalMatrixServerInfo> before = page->matrixServers();

    COMMONUSELIB::WaitDialog::getInstance()->showWaitDialog(QStringLiteral("Add matrix server..."),
                                                            QUuid(), 15000);
    QVERIFY(dataCentre()->AddServer(QStringLiteral("Control 2"), QStringLiteral("10.0.0.3"),
                                    QString(), QString(), 9010, 2));
    QVERIFY(dataCentre()->EditServer(x86Id, QStringLiteral("Control X"), QStringLiteral("10.0.0.2"),
                                     QString(), QString(), 9010, 2));
    QVERIFY(dataCentre()->DeleteServer(x86Id, SERVERTYPE_X86_DIGITALMATRIX));
    QTest::qWait(20);

    QCOMPARE(page->matrixServers(), before);
    QCOMPARE(selector()->serverCount(), 1);
    QCOMPARE(selector()->currentServerId(), linuxId);
    QCOMPARE(page->currentServerIndex(), 0);
    QVERIFY(oper()->isServerConnectOK());
    QCOMPARE(deleteAll.count(), 0);
    // A wait of this page is ended only by its own kind of server.
    QVERIFY(COMMONUSELIB::WaitDialog::getInstance()->isWaiting());
}

void TestLinuxPage::deletingTheLastServerEmitsDeleteAllOnce()
{
    storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    makePage();
    connectPage();
    QSignalSpy deleteAll(page.get(), &LinuxDigitalMatrixPage::signalLinuxMatrixServerDeleteAll);
    base()->clear();

    MessageBoxScript boxes(1);
    oper()->deleteButton()->click();
    QCOMPARE(boxes.texts(), QStringList {QStringLiteral("Delete selected server?")});
    QCOMPARE(boxes.last().buttons, short(3));
    QCOMPARE(callNames(base()),
             (QStringList {QStringLiteral("SetNumberArrangeMode"), QStringLiteral("Disconnect")}));
    QCOMPARE(COMMONUSELIB::WaitDialog::getInstance()->text(),
             QStringLiteral("Delete matrix server..."));
    QVERIFY(dataCentre()->GetServers(QString()).isEmpty());

    QTRY_COMPARE(deleteAll.count(), 1);
    QVERIFY(page->matrixServers().isEmpty());
    QCOMPARE(selector()->serverCount(), 0);
    QCOMPARE(page->currentServerIndex(), -1);
    QVERIFY(!COMMONUSELIB::WaitDialog::getInstance()->isWaiting());
    QTest::qWait(20);
    QCOMPARE(deleteAll.count(), 1);
}

void TestLinuxPage::editOfAnotherServerChangesOnlyThatRecord()
{
    const QString a = storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    const QString b = storeServer(QStringLiteral("Wall B"), QStringLiteral("10.0.0.2"));
    makePage();
    connectPage();
    const DigitalMatrixServerInfo before = page->matrixServers().at(0);

    // Changed elsewhere while Wall A is selected.
    QVERIFY(dataCentre()->EditServer(b, QStringLiteral("Wall B2"), QStringLiteral("10.0.0.22"),
                                     QStringLiteral("admin"), QStringLiteral("secret"), 6001, 6));
    QTest::qWait(20);

    const QList<DigitalMatrixServerInfo> servers = page->matrixServers();
    QCOMPARE(servers.size(), 2);
    QCOMPARE(servers.at(0), before);
    QCOMPARE(servers.at(1).id, b);
    QCOMPARE(servers.at(1).name, QStringLiteral("Wall B2"));
    QCOMPARE(servers.at(1).ip, QStringLiteral("10.0.0.22"));
    QCOMPARE(servers.at(1).port, 6001);
    QCOMPARE(selector()->serverName(b), QStringLiteral("Wall B2"));
    QCOMPARE(selector()->serverName(a), QStringLiteral("Wall A"));
    // Wall A stays selected and connected.
    QCOMPARE(page->currentServerIndex(), 0);
    QVERIFY(oper()->isServerConnectOK());
    QCOMPARE(base()->count(QStringLiteral("Login")), 1);
}

void TestLinuxPage::deleteOfAnotherServerDropsOnlyThatRecord_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("deleted");
    QTest::addColumn<QStringList>("remaining");
    QTest::addColumn<int>("currentIndex");
    QTest::newRow("after the selected")
            << 0 << 1 << QStringList {QStringLiteral("Wall 0"), QStringLiteral("Wall 2")} << 0;
    QTest::newRow("before the selected")
            << 2 << 0 << QStringList {QStringLiteral("Wall 1"), QStringLiteral("Wall 2")} << 1;
}

void TestLinuxPage::deleteOfAnotherServerDropsOnlyThatRecord()
{
    QFETCH(int, selected);
    QFETCH(int, deleted);
    QFETCH(QStringList, remaining);
    QFETCH(int, currentIndex);
    QStringList ids;
    for (int i = 0; i < 3; ++i)
        ids << storeServer(QStringLiteral("Wall %1").arg(i),
                           QStringLiteral("10.0.0.%1").arg(i + 1));
    makePage();
    QTRY_COMPARE(page->currentServerIndex(), 0);
    selector()->serverButton(ids.at(selected))->click();
    oper()->connectButton()->click();
    QVERIFY(oper()->isServerConnectOK());
    QSignalSpy deleteAll(page.get(), &LinuxDigitalMatrixPage::signalLinuxMatrixServerDeleteAll);

    QVERIFY(dataCentre()->DeleteServer(ids.at(deleted), SERVERTYPE_LINUX_DIGITALMATRIX));
    QTest::qWait(20);

    QStringList names;
    const QList<DigitalMatrixServerInfo> servers = page->matrixServers();
    for (const DigitalMatrixServerInfo &server : servers)
        names << server.name;
    QCOMPARE(names, remaining);
    QCOMPARE(selector()->serverCount(), 2);
    QCOMPARE(page->currentServerIndex(), currentIndex);
    QCOMPARE(selector()->currentServerId(), ids.at(selected));
    QVERIFY(oper()->isServerConnectOK());
    QCOMPARE(base()->count(QStringLiteral("Login")), 1);
    QCOMPARE(deleteAll.count(), 0);
}

void TestLinuxPage::editingTheConnectedServerReconnectsWithNewSettings()
{
    const QString a = storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    makePage();
    connectPage();
    base()->clear();

    QString title;
    ModalDriver driver([&](QWidget *modal) {
        title = modal->findChild<QLabel *>(QStringLiteral("titleLabel"))->text();
        modal->findChild<QLineEdit *>(QStringLiteral("nameLineEt"))
                ->setText(QStringLiteral("Wall Z"));
        modal->findChild<QLineEdit *>(QStringLiteral("portLineEt"))
                ->setText(QStringLiteral("6200"));
        modal->findChild<QPushButton *>(QStringLiteral("saveBt"))->click();
    });
    driver.start();
    oper()->editButton()->click();
    QVERIFY(driver.ran());
    QCOMPARE(title, QStringLiteral("Edit DigitalMatrix Server"));
    QCOMPARE(callNames(base()),
             (QStringList {QStringLiteral("SetNumberArrangeMode"), QStringLiteral("Disconnect")}));
    QCOMPARE(COMMONUSELIB::WaitDialog::getInstance()->text(),
             QStringLiteral("Edit matrix server..."));
    QCOMPARE(dataCentre()->getServerInfo(a).name, QStringLiteral("Wall Z"));

    QTRY_COMPARE(page->matrixServers().at(0).name, QStringLiteral("Wall Z"));
    QVERIFY(!COMMONUSELIB::WaitDialog::getInstance()->isWaiting());
    QCOMPARE(base()->count(QStringLiteral("Login")), 1);
    QCOMPARE(base()->last(QStringLiteral("Login")).args.value(4), QVariant(6200));
    QCOMPARE(oper()->connectServerHint(), ConnectOk);
    QCOMPARE(oper()->otherHint(),
             COMMONUSELIB::ServerOperWidget::generateServerDescribe(
                     QStringLiteral("Wall Z"), QStringLiteral("10.0.0.1"), 6200));
    QCOMPARE(selector()->serverName(a), QStringLiteral("Wall Z"));
}

void TestLinuxPage::rebootAndResetDisconnect_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QVariantList>("args");
    QTest::newRow("reboot") << "rebootBt"
                            << "Do you want to reboot matrix server?"
                            << "Reboot" << QVariantList {};
    QTest::newRow("reset") << "resetBt"
                           << "Do you want to restore factory default?"
                           << "FactoryReset" << QVariantList {1};
}

void TestLinuxPage::rebootAndResetDisconnect()
{
    QFETCH(QString, buttonName);
    QFETCH(QString, question);
    QFETCH(QString, call);
    QFETCH(QVariantList, args);
    storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    makePage();
    connectPage();
    base()->clear();

    MessageBoxScript boxes;
    boxes.answers({0, 1});
    button(buttonName.toLatin1().constData())->click(); // declined
    QCOMPARE(base()->calls().size(), 0);
    QVERIFY(oper()->isServerConnectOK());

    button(buttonName.toLatin1().constData())->click(); // agreed
    QCOMPARE(boxes.texts(), (QStringList {question, question}));
    QCOMPARE(callNames(base()),
             (QStringList {call, QStringLiteral("SetNumberArrangeMode"),
                           QStringLiteral("Disconnect")}));
    QCOMPARE(base()->last(call).args, args);
    QVERIFY(!oper()->isServerConnectOK());
    QCOMPARE(oper()->connectServerHint(), Disconnected);
    QVERIFY(!child<MatrixOperButtonsWt>("operButtonsWt")->isEnabled());
}

void TestLinuxPage::operationBarFollowsTheStep()
{
    storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    makePage();
    connectPage();
    const QStringList normalOnly {QStringLiteral("configMatrixBt"),
                                  QStringLiteral("clearChannelsBt")};
    const QStringList configOnly {QStringLiteral("saveConfigBt"), QStringLiteral("backStepBt"),
                                  QStringLiteral("cancelBt")};
    const QStringList always {QStringLiteral("rebootBt"), QStringLiteral("upgradeBt"),
                              QStringLiteral("resetBt")};
    auto visible = [this](const QString &name) {
        return page->findChild<QWidget *>(name)->isVisibleTo(page.get());
    };

    for (const QString &name : normalOnly + always)
        QVERIFY2(visible(name), qPrintable(name));
    for (const QString &name : configOnly)
        QVERIFY2(!visible(name), qPrintable(name));
    QVERIFY(!visible(QStringLiteral("undoLayoutBt")));
    QVERIFY(!visible(QStringLiteral("statusLabel")));
    QVERIFY(visible(QStringLiteral("areaTreeWdt")));

    enterArrangement(QStringLiteral("2"), QStringLiteral("2"));
    for (const QString &name : configOnly + always)
        QVERIFY2(visible(name), qPrintable(name));
    for (const QString &name : normalOnly)
        QVERIFY2(!visible(name), qPrintable(name));
    QVERIFY(!visible(QStringLiteral("undoLayoutBt")));
    QCOMPARE(page->findChild<QLabel *>(QStringLiteral("statusLabel"))->text(),
             QStringLiteral("Drag the numbers to match with physical screen numbers"));
    QVERIFY(visible(QStringLiteral("statusLabel")));
    QVERIFY(!visible(QStringLiteral("areaTreeWdt")));
    QVERIFY(!visible(QStringLiteral("channelsOperWdt")));
    QCOMPARE(child<QStackedWidget>("cellsStackedWdt")->currentIndex(), 1);

    // "Undo Layout" does nothing, even when reached.
    base()->clear();
    QVERIFY(QMetaObject::invokeMethod(page.get(), "slotUndoLayoutBtClicked"));
    QCOMPARE(base()->calls().size(), 0);
    QCOMPARE(page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusConfig);
}

void TestLinuxPage::upgradeEndShowsItsMessage_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("done");
    QTest::addColumn<QString>("message");
    QTest::newRow("still running") << 0 << 0 << QString();
    QTest::newRow("finished") << 0 << 1
                              << "Linux matrix upgrade finished! Please poweroff to restart!";
    QTest::newRow("no resource") << -15 << 0 << "Upgrade resource not found!";
    QTest::newRow("latest") << -16 << 0 << "already the latest vertion!";
    QTest::newRow("other") << -3 << 0 << "unknow error!";
}

void TestLinuxPage::upgradeEndShowsItsMessage()
{
    QFETCH(int, result);
    QFETCH(int, done);
    QFETCH(QString, message);
    storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    makePage();
    connectPage();
    base()->setResult(QStringLiteral("GetUpgradeStatus"), result);
    base()->upgradeStatus.done = uint8_t(done);

    MessageBoxScript boxes(1);
    QVERIFY(QMetaObject::invokeMethod(page.get(), "slotGetUpgradeProcessTimeout"));
    if (message.isEmpty()) {
        QCOMPARE(boxes.count(), 0);
        QVERIFY(oper()->isServerConnectOK());
    } else {
        QCOMPARE(boxes.texts(), QStringList {message});
        QVERIFY(!oper()->isServerConnectOK());
        QCOMPARE(base()->count(QStringLiteral("Disconnect")), 1);
    }
}

// ---------------------------------------------------------------- server dialog

void TestLinuxPage::serverDialogChecksInOrder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("ip");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("hint"); // empty: accepted

    const QString ok = QStringLiteral("10.0.0.1");
    QTest::newRow("nothing entered") << ""
                                     << "" << 1 << ""
                                     << ""
                                     << "Please enter digital matrix server name!";
    QTest::newRow("no name") << "" << ok << 1 << "6000"
                             << "admin"
                             << "Please enter digital matrix server name!";
    QTest::newRow("no address") << "New"
                                << "" << 1 << ""
                                << ""
                                << "Please enter digital matrix server ip!";
    QTest::newRow("zero address") << "New"
                                  << "0.0.0.0" << 1 << "6000"
                                  << "admin"
                                  << "Please enter digital matrix server ip!";
    QTest::newRow("no port") << "New" << ok << 1 << ""
                             << ""
                             << "Please enter digital matrix server port!";
    QTest::newRow("no user") << "New" << ok << 1 << "6000"
                             << ""
                             << "Please enter user name!";
    QTest::newRow("no user, X86") << "New" << ok << 0 << "9010"
                                  << ""
                                  << "";
    QTest::newRow("name taken") << "Wall"
                                << "10.0.0.5" << 1 << "6000"
                                << "admin"
                                << "The name of server has exsit!";
    QTest::newRow("address taken") << "New"
                                   << "10.0.0.5" << 1 << "6000"
                                   << "admin"
                                   << "The IP of server has exsit!";
    QTest::newRow("an X86 server's name and address") << "Control"
                                                      << "10.0.0.9" << 1 << "6000"
                                                      << "admin"
                                                      << "";
    QTest::newRow("complete") << "New" << ok << 1 << "6000"
                              << "admin"
                              << "";
}

void TestLinuxPage::serverDialogChecksInOrder()
{
    QFETCH(QString, name);
    QFETCH(QString, ip);
    QFETCH(int, type);
    QFETCH(QString, port);
    QFETCH(QString, user);
    QFETCH(QString, hint);
    storeServer(QStringLiteral("Wall"), QStringLiteral("10.0.0.5"));
    storeServer(QStringLiteral("Control"), QStringLiteral("10.0.0.9"), 2, 9010);

    ModifyDigitalMatrixServerDlg dialog;
    dialog.show();
    dialog.findChild<QComboBox *>(QStringLiteral("serverTypeComBx"))->setCurrentIndex(type);
    dialog.findChild<QLineEdit *>(QStringLiteral("nameLineEt"))->setText(name);
    dialog.findChild<COMMONUSELIB::IpAddressFrame *>()->setIp(ip);
    dialog.findChild<QLineEdit *>(QStringLiteral("portLineEt"))->setText(port);
    dialog.findChild<QLineEdit *>(QStringLiteral("userLineEt"))->setText(user);
    dropToolTips();
    dialog.findChild<QPushButton *>(QStringLiteral("saveBt"))->click();

    if (hint.isEmpty()) {
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(shownToolTip(), QString());
    } else {
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(dialog.isVisible());
        QCOMPARE(shownToolTip(), hint);
    }
}

void TestLinuxPage::serverDialogTypeResetsThePort()
{
    ModifyDigitalMatrixServerDlg dialog;
    dialog.show();
    auto *combo = dialog.findChild<QComboBox *>(QStringLiteral("serverTypeComBx"));
    auto *port = dialog.findChild<QLineEdit *>(QStringLiteral("portLineEt"));
    auto *user = dialog.findChild<QLineEdit *>(QStringLiteral("userLineEt"));
    auto *password = dialog.findChild<QLineEdit *>(QStringLiteral("passwordLineEt"));
    QCOMPARE(combo->currentText(), QStringLiteral("TQ5100-4HD"));
    QCOMPARE(port->text(), QStringLiteral("6000"));
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("titleLabel"))->text(),
             QStringLiteral("Add DigitalMatrix Server"));
    QVERIFY(combo->isEnabled());

    port->setText(QStringLiteral("1234"));
    combo->setCurrentIndex(0);
    QCOMPARE(combo->currentText(), QStringLiteral("TQ5100-12HD"));
    QCOMPARE(port->text(), QStringLiteral("9010"));
    QVERIFY(!user->isVisible());
    QVERIFY(!password->isVisible());

    port->setText(QStringLiteral("1234"));
    combo->setCurrentIndex(1);
    QCOMPARE(port->text(), QStringLiteral("6000"));
    QVERIFY(user->isVisible());
    QVERIFY(password->isVisible());

    dialog.disableServerType();
    QVERIFY(!combo->isEnabled());
}

void TestLinuxPage::serverDialogStripsQuotesAndBackslashes_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<bool>("warned");
    QTest::newRow("name") << "nameLineEt"
                          << "Hall'A\\1"
                          << "HallA1" << true;
    QTest::newRow("user") << "userLineEt"
                          << "o'p"
                          << "op" << true;
    QTest::newRow("password") << "passwordLineEt"
                              << "p\\w"
                              << "pw" << true;
    QTest::newRow("plain name") << "nameLineEt"
                                << "Hall A"
                                << "Hall A" << false;
    QTest::newRow("port") << "portLineEt"
                          << "6'1\\0"
                          << "610" << false;
}

void TestLinuxPage::serverDialogStripsQuotesAndBackslashes()
{
    QFETCH(QString, edit);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(bool, warned);
    ModifyDigitalMatrixServerDlg dialog;
    dialog.show();
    auto *line = dialog.findChild<QLineEdit *>(edit);
    line->clear();
    dropToolTips();
    QTest::keyClicks(line, typed);
    QCOMPARE(line->text(), kept);
    QCOMPARE(shownToolTip(), warned ? QStringLiteral("Input can't be ' or \\ !") : QString());
}

void TestLinuxPage::serverDialogEditsARecord()
{
    const QString wallId = storeServer(QStringLiteral("Wall"), QStringLiteral("10.0.0.5"), 6, 6100);
    storeServer(QStringLiteral("Other"), QStringLiteral("10.0.0.6"));
    DigitalMatrixServerInfo record;
    record.id = wallId;
    record.name = QStringLiteral("Wall");
    record.ip = QStringLiteral("10.0.0.5");
    record.port = 6100;
    record.matrixKind = DigitalMatrixServerInfo::LinuxMatrix;
    record.user = QStringLiteral("admin");
    record.password = QStringLiteral("secret");

    ModifyDigitalMatrixServerDlg dialog(nullptr, &record);
    dialog.show();
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("titleLabel"))->text(),
             QStringLiteral("Edit DigitalMatrix Server"));
    auto *combo = dialog.findChild<QComboBox *>(QStringLiteral("serverTypeComBx"));
    QVERIFY(!combo->isEnabled());
    QCOMPARE(combo->currentIndex(), 1);
    QCOMPARE(dialog.findChild<QLineEdit *>(QStringLiteral("portLineEt"))->text(),
             QStringLiteral("6100"));
    QCOMPARE(dialog.serverInfo(), record);

    // Unchanged, it is not its own duplicate; another server's name still is.
    dialog.findChild<QPushButton *>(QStringLiteral("saveBt"))->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    ModifyDigitalMatrixServerDlg again(nullptr, &record);
    again.show();
    again.findChild<QLineEdit *>(QStringLiteral("nameLineEt"))->setText(QStringLiteral("Other"));
    dropToolTips();
    again.findChild<QPushButton *>(QStringLiteral("saveBt"))->click();
    QCOMPARE(again.result(), int(QDialog::Rejected));
    QCOMPARE(shownToolTip(), QStringLiteral("The name of server has exsit!"));
}

void TestLinuxPage::serverDialogX86RecordHasNoLogin()
{
    ModifyDigitalMatrixServerDlg dialog;
    dialog.findChild<QComboBox *>(QStringLiteral("serverTypeComBx"))->setCurrentIndex(0);
    dialog.findChild<QLineEdit *>(QStringLiteral("nameLineEt"))->setText(QStringLiteral("Control"));
    dialog.findChild<COMMONUSELIB::IpAddressFrame *>()->setIp(QStringLiteral("10.0.0.9"));
    dialog.findChild<QLineEdit *>(QStringLiteral("userLineEt"))->setText(QStringLiteral("admin"));
    dialog.findChild<QLineEdit *>(QStringLiteral("passwordLineEt"))->setText(QStringLiteral("pw"));
    const DigitalMatrixServerInfo info = dialog.serverInfo();
    QCOMPARE(info.matrixKind, int(DigitalMatrixServerInfo::X86Matrix));
    QCOMPARE(info.port, 9010);
    QVERIFY(info.user.isEmpty());
    QVERIFY(info.password.isEmpty());
    QVERIFY(info.id.isEmpty());
}

// ---------------------------------------------------------------- screen arrangement

void TestLinuxPage::rowColumnDialogAcceptsOnlyUpToFourCells_data()
{
    QTest::addColumn<bool>("typed"); // typed into the fields, else preset
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QString>("hint"); // empty: accepted

    const QString noRows = QStringLiteral("Please enter row count!");
    const QString noColumns = QStringLiteral("Please enter column count!");
    const QString tooMany = QStringLiteral("The max cells count is:4!");
    QTest::newRow("empty rows") << true << ""
                                << "2" << noRows;
    QTest::newRow("empty columns") << true << "2"
                                   << "" << noColumns;
    QTest::newRow("2 x 3") << true << "2"
                           << "3" << tooMany;
    QTest::newRow("3 x 2") << true << "3"
                           << "2" << tooMany;
    QTest::newRow("1 x 4") << true << "1"
                           << "4"
                           << "";
    QTest::newRow("4 x 1") << true << "4"
                           << "1"
                           << "";
    QTest::newRow("2 x 2") << true << "2"
                           << "2"
                           << "";
    QTest::newRow("0 cannot be typed") << true << "0"
                                       << "2" << noRows;
    QTest::newRow("5 cannot be typed") << true << "2"
                                       << "5" << noColumns;
    QTest::newRow("preset 0 rows") << false << "0"
                                   << "2" << noRows;
    QTest::newRow("preset 0 columns") << false << "2"
                                      << "0" << noColumns;
    QTest::newRow("preset 5 x 1") << false << "5"
                                  << "1" << tooMany;
    QTest::newRow("preset -1 x -4") << false << "-1"
                                    << "-4" << noRows;
    QTest::newRow("preset 2 x -2") << false << "2"
                                   << "-2" << noColumns;
}

void TestLinuxPage::rowColumnDialogAcceptsOnlyUpToFourCells()
{
    QFETCH(bool, typed);
    QFETCH(QString, rows);
    QFETCH(QString, columns);
    QFETCH(QString, hint);
    MatrixRowColumnSetDlg dialog;
    dialog.show();
    auto *rowEdit = dialog.findChild<QLineEdit *>(QStringLiteral("rowLineEt"));
    auto *columnEdit = dialog.findChild<QLineEdit *>(QStringLiteral("columnLineEt"));
    if (typed) {
        rowEdit->clear();
        columnEdit->clear();
        QTest::keyClicks(rowEdit, rows);
        QTest::keyClicks(columnEdit, columns);
    } else {
        dialog.setRowColumn(rows.toInt(), columns.toInt());
    }
    dropToolTips();
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("okBt")), Qt::LeftButton);

    if (hint.isEmpty()) {
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        int r = 0, c = 0;
        dialog.getRowColumn(r, c);
        QCOMPARE(r, rows.toInt());
        QCOMPARE(c, columns.toInt());
    } else {
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(dialog.isVisible());
        QCOMPARE(shownToolTip(), hint);
    }
}

void TestLinuxPage::configMatrixPresetsAndEntersArrangement()
{
    storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    makePage();
    connectPage();
    base()->clear();

    QString presetRows, presetColumns, nextText;
    ModalDriver driver([&](QWidget *modal) {
        presetRows = modal->findChild<QLineEdit *>(QStringLiteral("rowLineEt"))->text();
        presetColumns = modal->findChild<QLineEdit *>(QStringLiteral("columnLineEt"))->text();
        auto *next = modal->findChild<QPushButton *>(QStringLiteral("okBt"));
        nextText = next->text();
        modal->findChild<QLineEdit *>(QStringLiteral("columnLineEt"))->setText(QStringLiteral("1"));
        next->click();
    });
    driver.start();
    button("configMatrixBt")->click();
    QVERIFY(driver.ran());
    QCOMPARE(presetRows, QStringLiteral("2"));
    QCOMPARE(presetColumns, QStringLiteral("2"));
    QCOMPARE(nextText, QStringLiteral("Next"));

    QCOMPARE(base()->calls().first().name, QStringLiteral("SetNumberArrangeMode"));
    QCOMPARE(base()->calls().first().args, QVariantList {1});
    QCOMPARE(page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusConfig);
    int rows = 0, columns = 0;
    adjustGrid()->getRowColumn(rows, columns);
    QCOMPARE(rows, 2);
    QCOMPARE(columns, 1);
    QCOMPARE(adjustGrid()->cellCount(), 2);
    QCOMPARE(adjustGrid()->getCellShowNums(), (QStringList {"1", "2"}));

    // Declining the dialog changes nothing.
    base()->clear();
    ModalDriver decline([](QWidget *modal) {
        modal->findChild<QPushButton *>(QStringLiteral("cancleBt"))->click();
    });
    decline.start();
    QVERIFY(QMetaObject::invokeMethod(page.get(), "slotConfigMatrixBtClicked"));
    QVERIFY(decline.ran());
    QCOMPARE(base()->calls().size(), 0);
    QCOMPARE(adjustGrid()->cellCount(), 2);
}

void TestLinuxPage::draggingSwapsNumbers_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to"); // -1: released between cells
    QTest::addColumn<QStringList>("numbers");
    QTest::newRow("first onto last") << 0 << 3 << QStringList {"4", "2", "3", "1"};
    QTest::newRow("second onto third") << 1 << 2 << QStringList {"1", "3", "2", "4"};
    QTest::newRow("onto itself") << 2 << 2 << QStringList {"1", "2", "3", "4"};
    QTest::newRow("outside every cell") << 0 << -1 << QStringList {"1", "2", "3", "4"};
}

void TestLinuxPage::draggingSwapsNumbers()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QStringList, numbers);
    storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    makePage();
    connectPage();
    enterArrangement(QStringLiteral("2"), QStringLiteral("2"));
    AdjustCellNumWidget *grid = adjustGrid();
    QCOMPARE(grid->getCellShowNums(), (QStringList {"1", "2", "3", "4"}));

    // Pressed on a cell, released wherever the target is: the cell passes both on.
    QWidget *source = grid->cellAt(from);
    QTest::mousePress(source, Qt::LeftButton, {}, source->rect().center());
    QCOMPARE(grid->cursor().shape(), Qt::SizeAllCursor);
    const QPoint target = to >= 0 ? grid->cellAt(to)->geometry().center() : QPoint(0, 0);
    QCOMPARE(grid->cellIndexAt(target), to);
    QTest::mouseRelease(source, Qt::LeftButton, {}, source->mapFrom(grid, target));

    QCOMPARE(grid->getCellShowNums(), numbers);
    QCOMPARE(grid->cursor().shape(), Qt::ArrowCursor);
}

void TestLinuxPage::typingSwapsNumbers_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("commitKey"); // 0: the field loses focus
    QTest::addColumn<QStringList>("numbers");
    QTest::addColumn<int>("reports");
    QTest::newRow("3 with Return")
            << "3" << int(Qt::Key_Return) << QStringList {"3", "2", "1", "4"} << 1;
    QTest::newRow("4 on leaving") << "4" << 0 << QStringList {"4", "2", "3", "1"} << 1;
    QTest::newRow("the same number")
            << "1" << int(Qt::Key_Return) << QStringList {"1", "2", "3", "4"} << 0;
    QTest::newRow("emptied") << "" << int(Qt::Key_Return) << QStringList {"1", "2", "3", "4"} << 0;
    QTest::newRow("emptied on leaving") << "" << 0 << QStringList {"1", "2", "3", "4"} << 0;
    QTest::newRow("not a screen") << "7" << int(Qt::Key_Return) << QStringList {"1", "2", "3", "4"}
                                  << 0;
}

void TestLinuxPage::typingSwapsNumbers()
{
    QFETCH(QString, typed);
    QFETCH(int, commitKey);
    QFETCH(QStringList, numbers);
    QFETCH(int, reports);
    storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    makePage();
    connectPage();
    enterArrangement(QStringLiteral("2"), QStringLiteral("2"));
    AdjustCellNumWidget *grid = adjustGrid();
    auto *cell = qobject_cast<CellForAdjustNum *>(grid->cellAt(0));
    QVERIFY(cell);
    QSignalSpy finished(cell, &CellForAdjustNum::signalEditShowNumFinished);

    QTest::mouseDClick(cell, Qt::LeftButton, {}, cell->rect().center());
    QLineEdit *editor = cell->numberEditor();
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->text(), QStringLiteral("1"));
    QCOMPARE(editor->font().family(), QStringLiteral("Arial"));

    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, typed);
    // The keypad's Enter key does not commit.
    QTest::keyClick(editor, Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(editor->isVisible());
    QCOMPARE(grid->getCellShowNums(), (QStringList {"1", "2", "3", "4"}));

    if (commitKey) {
        QTest::keyClick(editor, Qt::Key(commitKey));
    } else {
        QFocusEvent leave(QEvent::FocusOut, Qt::MouseFocusReason);
        QApplication::sendEvent(editor, &leave);
    }
    QVERIFY(!editor->isVisible());
    QCOMPARE(grid->getCellShowNums(), numbers);
    QCOMPARE(finished.count(), reports);
    if (reports) {
        QCOMPARE(finished.first(), (QVariantList {0, 1, numbers.first().toInt()}));
    }
}

void TestLinuxPage::savingSendsTheScreenMap()
{
    storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    base()->screenNumberBytes = QByteArray::fromHex("00010203");
    makePage();
    connectPage();
    enterArrangement(QStringLiteral("1"), QStringLiteral("2"));
    AdjustCellNumWidget *grid = adjustGrid();
    QCOMPARE(grid->getCellShowNums(), (QStringList {"1", "2"}));

    // The grid shows 3 2.
    auto *cell = qobject_cast<CellForAdjustNum *>(grid->cellAt(0));
    QTest::mouseDClick(cell, Qt::LeftButton, {}, cell->rect().center());
    QTest::keyClicks(cell->numberEditor(), QStringLiteral("3"));
    QTest::keyClick(cell->numberEditor(), Qt::Key_Return);
    QCOMPARE(grid->getCellShowNums(), (QStringList {"3", "2"}));

    base()->clear();
    MessageBoxScript boxes(1);
    button("saveConfigBt")->click();
    QCOMPARE(boxes.count(), 0);

    QCOMPARE(callNames(base()),
             (QStringList {QStringLiteral("SaveRowColumn"), QStringLiteral("SetScreenNumbers"),
                           QStringLiteral("SetScreenGrid"),
                           QStringLiteral("SetNumberArrangeMode")}));
    QCOMPARE(base()->last(QStringLiteral("SaveRowColumn")).args, (QVariantList {1, 2}));
    const FakeCall map = base()->last(QStringLiteral("SetScreenNumbers"));
    QCOMPARE(map.args, QVariantList {4});
    QCOMPARE(map.bytes, QByteArray::fromHex("02010003"));
    const FakeCall grid2 = base()->last(QStringLiteral("SetScreenGrid"));
    QCOMPARE(grid2.args, QVariantList {2});
    const ScreenRegion regions[2] = {{0, 0, 0, 0, U, U}, {1, 0, U, 0, U, U}};
    QCOMPARE(grid2.bytes, QByteArray(reinterpret_cast<const char *>(regions), sizeof regions));
    QCOMPARE(base()->last(QStringLiteral("SetNumberArrangeMode")).args, QVariantList {0});

    QCOMPARE(page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusNormal);
    QCOMPARE(child<QStackedWidget>("cellsStackedWdt")->currentIndex(), 0);
    QVERIFY(child<QWidget>("areaTreeWdt")->isVisibleTo(page.get()));
    QVERIFY(channelGrid()->isConfigured());
    int rows = 0, columns = 0;
    channelGrid()->getRowColumn(rows, columns);
    QCOMPARE(rows, 1);
    QCOMPARE(columns, 2);
    QCOMPARE(channelGrid()->getCellShowNums(), (QStringList {"3", "2"}));
}

void TestLinuxPage::savingClearsTheOldGridFirst()
{
    storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    base()->screenNumberBytes = QByteArray::fromHex("03020100");
    base()->gridEntries = {gridEntry(0, 0, 0), gridEntry(1, U, 0), gridEntry(2, 0, U),
                           gridEntry(3, U, U)};
    makePage();
    connectPage();
    // The matrix's grid was read on connecting.
    QVERIFY(channelGrid()->isConfigured());
    QCOMPARE(channelGrid()->getCellShowNums(), (QStringList {"4", "3", "2", "1"}));

    enterArrangement(QStringLiteral("1"), QStringLiteral("4"));
    QCOMPARE(adjustGrid()->getCellShowNums(), (QStringList {"4", "3", "2", "1"}));
    base()->clear();
    button("saveConfigBt")->click();

    QCOMPARE(callNames(base()),
             (QStringList {"SaveRowColumn", "ClearCell", "ClearCell", "ClearCell", "ClearCell",
                           "SetScreenNumbers", "SetScreenGrid", "SetNumberArrangeMode"}));
    QList<int> cleared;
    const QList<FakeCall> clears = base()->callsNamed(QStringLiteral("ClearCell"));
    for (const FakeCall &call : clears)
        cleared << call.args.value(0).toInt();
    QCOMPARE(cleared, (QList<int> {0, 1, 2, 3}));
    QCOMPARE(base()->last(QStringLiteral("SetScreenNumbers")).bytes,
             QByteArray::fromHex("03020100"));
    QCOMPARE(channelGrid()->cellCount(), 4);
}

void TestLinuxPage::failingSaveStepKeepsTheArrangement_data()
{
    QTest::addColumn<QString>("failing");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("sent");
    QTest::newRow("row and column")
            << "SaveRowColumn"
            << "Set matrix row and column arrange fail!" << QStringList {"SaveRowColumn"};
    QTest::newRow("clearing") << "ClearCell"
                              << "clear cells fail!"
                              << QStringList {"SaveRowColumn", "ClearCell", "ClearCell"};
    QTest::newRow("screen map") << "SetScreenNumbers"
                                << "Set logic screen map fail!"
                                << QStringList {"SaveRowColumn", "ClearCell", "ClearCell",
                                                "ClearCell",     "ClearCell", "SetScreenNumbers"};
    QTest::newRow("grid") << "SetScreenGrid"
                          << "set cells info fail!"
                          << QStringList {"SaveRowColumn", "ClearCell", "ClearCell",
                                          "ClearCell",     "ClearCell", "SetScreenNumbers",
                                          "SetScreenGrid"};
}

void TestLinuxPage::failingSaveStepKeepsTheArrangement()
{
    QFETCH(QString, failing);
    QFETCH(QString, message);
    QFETCH(QStringList, sent);
    storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    base()->gridEntries = {gridEntry(0, 0, 0), gridEntry(1, U, 0), gridEntry(2, 0, U),
                           gridEntry(3, U, U)};
    makePage();
    connectPage();
    enterArrangement(QStringLiteral("2"), QStringLiteral("2"));
    base()->clear();
    if (failing == QLatin1String("ClearCell"))
        base()->queueResults(failing, {0, -1});
    else
        base()->setResult(failing, -1);

    MessageBoxScript boxes(1);
    button("saveConfigBt")->click();
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.last().title, QStringLiteral("Prompt"));
    QCOMPARE(boxes.last().text, message);
    QCOMPARE(boxes.last().buttons, short(1));
    QCOMPARE(boxes.last().parent, static_cast<QWidget *>(page.get()));
    QCOMPARE(callNames(base()), sent);
    QCOMPARE(page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusConfig);
    QCOMPARE(child<QStackedWidget>("cellsStackedWdt")->currentIndex(), 1);

    // A second save runs every step again.
    base()->clear();
    base()->setResult(failing, 0);
    button("saveConfigBt")->click();
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(callNames(base()).size(), 8);
    QCOMPARE(page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusNormal);
}

void TestLinuxPage::unusableScreenNumbersFallBack_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("count"); // FakeBaseMatrix::AutoCount: as many as given
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("numbers");
    const int all = FakeBaseMatrix::AutoCount;
    const QStringList fallback {"1", "2", "3", "4"};
    QTest::newRow("usable") << QByteArray::fromHex("02030100") << all << 0
                            << QStringList {"3", "4", "2", "1"};
    QTest::newRow("three distinct") << QByteArray::fromHex("02030102") << all << 0 << fallback;
    QTest::newRow("byte above 4") << QByteArray::fromHex("02030105") << all << 0 << fallback;
    QTest::newRow("byte 255") << QByteArray::fromHex("ff030102") << all << 0 << fallback;
    QTest::newRow("failed read") << QByteArray::fromHex("02030100") << all << 5 << fallback;
    QTest::newRow("count 0") << QByteArray::fromHex("02030100") << 0 << 0 << fallback;
    QTest::newRow("three screens") << QByteArray::fromHex("020301") << all << 0 << fallback;
}

void TestLinuxPage::unusableScreenNumbersFallBack()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, count);
    QFETCH(int, result);
    QFETCH(QStringList, numbers);
    storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    makePage();
    connectPage();
    base()->screenNumberBytes = bytes;
    base()->screenNumberCount = count;
    base()->setResult(QStringLiteral("GetScreenNumbers"), result);

    MessageBoxScript boxes(1);
    enterArrangement(QStringLiteral("2"), QStringLiteral("2"));
    QCOMPARE(adjustGrid()->getCellShowNums(), numbers);
    QCOMPARE(boxes.count(), 0);
}

void TestLinuxPage::cancelSendsOnlyTheModeSwitch()
{
    storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    makePage();
    connectPage();
    enterArrangement(QStringLiteral("1"), QStringLiteral("2"));
    base()->clear();

    button("cancelBt")->click();
    QCOMPARE(callNames(base()),
             (QStringList {QStringLiteral("SetNumberArrangeMode"),
                           QStringLiteral("GetScreenNumbers")}));
    QCOMPARE(base()->last(QStringLiteral("SetNumberArrangeMode")).args, QVariantList {0});
    QCOMPARE(page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusNormal);
    QCOMPARE(child<QStackedWidget>("cellsStackedWdt")->currentIndex(), 0);
    QVERIFY(child<QWidget>("channelsOperWdt")->isVisibleTo(page.get()));
    // The arrangement grid is back in the channel grid's shape.
    int rows = 0, columns = 0;
    adjustGrid()->getRowColumn(rows, columns);
    QCOMPARE(rows, 2);
    QCOMPARE(columns, 2);
    QCOMPARE(adjustGrid()->cellCount(), 4);
    QVERIFY(!channelGrid()->isConfigured());
}

void TestLinuxPage::backStepAsksForRowsAndColumnsAgain()
{
    storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    makePage();
    connectPage();
    enterArrangement(QStringLiteral("1"), QStringLiteral("2"));
    base()->clear();

    QString presetRows, presetColumns;
    ModalDriver driver([&](QWidget *modal) {
        presetRows = modal->findChild<QLineEdit *>(QStringLiteral("rowLineEt"))->text();
        presetColumns = modal->findChild<QLineEdit *>(QStringLiteral("columnLineEt"))->text();
        modal->findChild<QLineEdit *>(QStringLiteral("rowLineEt"))->setText(QStringLiteral("4"));
        modal->findChild<QLineEdit *>(QStringLiteral("columnLineEt"))->setText(QStringLiteral("1"));
        modal->findChild<QPushButton *>(QStringLiteral("okBt"))->click();
    });
    driver.start();
    button("backStepBt")->click();
    QVERIFY(driver.ran());
    QCOMPARE(presetRows, QStringLiteral("2"));
    QCOMPARE(presetColumns, QStringLiteral("2"));

    const QList<FakeCall> modes = base()->callsNamed(QStringLiteral("SetNumberArrangeMode"));
    QCOMPARE(modes.size(), 2);
    QCOMPARE(modes.at(0).args, QVariantList {0});
    QCOMPARE(modes.at(1).args, QVariantList {1});
    QCOMPARE(page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusConfig);
    QCOMPARE(adjustGrid()->cellCount(), 4);
    int rows = 0, columns = 0;
    adjustGrid()->getRowColumn(rows, columns);
    QCOMPARE(rows, 4);
    QCOMPARE(columns, 1);
}

QTEST_MAIN(TestLinuxPage)
#include "tst_linuxpage.moc"
