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
#include "LinuxPageHarness.h"
#include "MessageBoxScript.h"
#include "ModalDriver.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QToolTip>
#include <QtTest>

#include <memory>
#include <tuple>
#include <utility>

using namespace LUMO_DIGITALMATRIX_MODULE;
using COMMONUSELIB::WaitDialog;

namespace {

const QString NotConnectedYet = QStringLiteral("Digital matrix server not connect yet!");
const QString ConnectOk = QStringLiteral("Digital matrix server connect ok!");
// Everything a save writes when the matrix had a 2 x 2 grid: of the same shape, the cells
// keep their channels; of a new shape, the four old cells are cleared first.
const QStringList SameShapeSave {"SaveRowColumn", "SetScreenNumbers", "SetScreenGrid",
                                 "SetNumberArrangeMode"};
const QStringList NewShapeSave {"SaveRowColumn", "ClearCell",           "ClearCell",
                                "ClearCell",     "ClearCell",           "SetScreenNumbers",
                                "SetScreenGrid", "SetNumberArrangeMode"};

DATACore::UserManagerCore *dataCentre()
{
    return DATACore::UserManagerCore::instance();
}

// Removes any tool tip left from before, so the next one seen is a new one.
void dropToolTips()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("qtooltip_label"))
            delete widget;
    }
}

QString shownToolTip()
{
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

void setText(QWidget *parent, const char *lineEdit, const QString &text)
{
    parent->findChild<QLineEdit *>(QLatin1String(lineEdit))->setText(text);
}

void click(QWidget *parent, const char *button)
{
    parent->findChild<QPushButton *>(QLatin1String(button))->click();
}

QStringList namesOf(const QList<DigitalMatrixServerInfo> &servers)
{
    QStringList names;
    for (const DigitalMatrixServerInfo &server : servers)
        names << server.name;
    return names;
}

} // namespace

class TestLinuxPage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // Server list and connection.
    void serversAreListedConnectedReconnectedOnReturnAndAddedUpToFive();
    void refusalsAndDeclinedQuestionsShowWhatHappenedAndAnEditReconnects();
    void changeOfAnotherServerTouchesOnlyThatRecord_data();
    void changeOfAnotherServerTouchesOnlyThatRecord();

    // Server dialog.
    void serverDialogChecksInOrder_data();
    void serverDialogChecksInOrder();
    void serverDialogTypeSetsThePortAndFieldsFilterTheirText();

    // Screen arrangement.
    void rowColumnDialogAcceptsOnlyUpToFourCells_data();
    void rowColumnDialogAcceptsOnlyUpToFourCells();
    void arrangementIsEnteredLeftStartedAgainAndNumbersSwapOnlyOntoAnotherScreen();
    void failingSaveStepKeepsTheArrangement_data();
    void failingSaveStepKeepsTheArrangement();
    void unusableScreenNumbersKeepThePageOutOfTheArrangement_data();
    void unusableScreenNumbersKeepThePageOutOfTheArrangement();

private:
    void connectPage();
    void openConnected();
    void enterArrangement(const QString &rows, const QString &columns);

    MatrixServerSelWidget *selector() const
    {
        return h.child<MatrixServerSelWidget>("serverSelWdt");
    }
    AdjustCellNumWidget *adjustGrid() const
    {
        return h.child<AdjustCellNumWidget>("adjustCellNumWdt");
    }
    bool wallEnabled() const { return h.child<MatrixOperButtonsWt>("operButtonsWt")->isEnabled(); }
    int shownStack() const { return h.child<QStackedWidget>("cellsStackedWdt")->currentIndex(); }

    LinuxPageHarness h;
    std::unique_ptr<LinuxDigitalMatrixPage> &page = h.page;
};

void TestLinuxPage::init()
{
    h.start();
}

void TestLinuxPage::cleanup()
{
    h.stop();
    dropToolTips();
}

// Selects the first server (as the first show does) and connects it.
void TestLinuxPage::connectPage()
{
    QTRY_COMPARE(page->currentServerIndex(), 0);
    h.oper()->connectButton()->click();
    QCOMPARE(h.oper()->connectServerHint(), ConnectOk);
}

// The usual start: one server "Wall A" at 10.0.0.1, shown and connected.
void TestLinuxPage::openConnected()
{
    LinuxPageHarness::storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    h.makePage();
    connectPage();
}

void TestLinuxPage::enterArrangement(const QString &rows, const QString &columns)
{
    QVERIFY(!LinuxPageHarness::answerRowColumn(h.button("configMatrixBt"), rows, columns)
                     .isEmpty());
    QCOMPARE(page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusConfig);
}

// ---------------------------------------------------------------- server list and connection

void TestLinuxPage::serversAreListedConnectedReconnectedOnReturnAndAddedUpToFive()
{
    const QString a = LinuxPageHarness::storeServer(QStringLiteral("Wall A"),
                                                    QStringLiteral("10.0.0.1"), 6, 6100);
    LinuxPageHarness::storeServer(QStringLiteral("Control"), QStringLiteral("10.0.0.2"), 2, 9010);
    const QString b =
            LinuxPageHarness::storeServer(QStringLiteral("Wall B"), QStringLiteral("10.0.0.3"));
    h.makePage();
    const QList<DigitalMatrixServerInfo> servers = page->matrixServers();
    QCOMPARE(namesOf(servers), QStringList({"Wall A", "Wall B"}));
    QCOMPARE(servers.at(1).matrixKind, int(DigitalMatrixServerInfo::LinuxMatrix));
    QCOMPARE(servers.at(1).user, QStringLiteral("admin"));
    // The first show selects the first server; nothing is connected yet.
    QTRY_COMPARE(selector()->currentServerId(), a);
    QCOMPARE(h.oper()->connectServerHint(), NotConnectedYet);
    QCOMPARE(h.oper()->otherHint(), QStringLiteral("Wall A (10.0.0.1:6100)"));
    QVERIFY(!wallEnabled());
    QCOMPARE(h.base()->count("Login"), 0);

    h.oper()->connectButton()->click();
    QCOMPARE(h.oper()->connectServerHint(), ConnectOk);
    QVERIFY(wallEnabled());
    QVERIFY(h.child<QStackedWidget>("cellsStackedWdt")->isEnabled());
    // The matrix has no grid yet, so the placeholder stays.
    QVERIFY(!h.cells()->isConfigured());

    // Left connected, A is connected again on return; B stays as it was left.
    selector()->serverButton(b)->click();
    QCOMPARE(page->currentServerIndex(), 1);
    QCOMPARE(h.oper()->connectServerHint(), NotConnectedYet);
    QVERIFY(!h.oper()->isServerConnectOK());
    selector()->serverButton(a)->click();
    QCOMPARE(h.base()->count("Login"), 2);
    QCOMPARE(h.base()->last("Login").args.value(3), QVariant(QStringLiteral("10.0.0.1")));
    QCOMPARE(h.oper()->connectServerHint(), ConnectOk);
    QVERIFY(wallEnabled());
    selector()->serverButton(b)->click();
    QCOMPARE(h.base()->count("Login"), 2);
    QCOMPARE(h.oper()->connectServerHint(), NotConnectedYet);

    // A server added here.
    QString type;
    ModalDriver driver([&](QWidget *modal) {
        auto *combo = modal->findChild<QComboBox *>("serverTypeComBx");
        type = combo->currentText() + (combo->isEnabled() ? " unlocked" : " locked");
        setText(modal, "nameLineEt", QStringLiteral("Hall"));
        modal->findChild<COMMONUSELIB::IpAddressFrame *>()->setIp(QStringLiteral("10.0.0.7"));
        setText(modal, "userLineEt", QStringLiteral("op"));
        setText(modal, "passwordLineEt", QStringLiteral("pw"));
        click(modal, "saveBt");
    });
    driver.start();
    selector()->addButton()->click();
    QVERIFY(driver.ran());
    QCOMPARE(type, QStringLiteral("TQ5100-4HD locked"));

    // Stored at once; listed when the data centre announces it.
    QVERIFY(WaitDialog::getInstance()->isWaiting());
    QCOMPARE(WaitDialog::getInstance()->text(), QStringLiteral("Add matrix server..."));
    const QList<UServerInfo> stored = dataCentre()->GetServers(QString());
    QCOMPARE(stored.size(), 4); // with the X86 one
    QCOMPARE(stored.at(3),
             (UServerInfo {stored.at(3).id, QStringLiteral("Hall"), QStringLiteral("10.0.0.7"),
                           QStringLiteral("op"), QStringLiteral("pw"), 6000, 6}));

    QTRY_COMPARE(page->matrixServers().size(), 3);
    QVERIFY(!WaitDialog::getInstance()->isWaiting());
    QCOMPARE(page->currentServerIndex(), 2);
    QCOMPARE(selector()->currentServerId(), stored.at(3).id);
    QCOMPARE(h.oper()->connectServerHint(), NotConnectedYet);

    // Servers stored elsewhere count as well: from five, the button refuses.
    LinuxPageHarness::storeServer(QStringLiteral("Wall 4"), QStringLiteral("10.0.1.5"));
    LinuxPageHarness::storeServer(QStringLiteral("Wall 5"), QStringLiteral("10.0.1.6"));
    QTRY_COMPARE(page->matrixServers().size(), 5);
    MessageBoxScript boxes(1);
    ModalDriver none([](QWidget *) {});
    none.start();
    selector()->addButton()->click();
    none.stop();
    QVERIFY(!none.ran());
    QCOMPARE(boxes.texts(), QStringList {"Matrix server max count is:5"});
    QCOMPARE(boxes.last().title, QStringLiteral("Prompt"));
    QCOMPARE(boxes.last().buttons, short(1));
    QCOMPARE(dataCentre()->GetServers(QString()).size(), 6);
}

void TestLinuxPage::refusalsAndDeclinedQuestionsShowWhatHappenedAndAnEditReconnects()
{
    LinuxPageHarness::storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    h.makePage();
    QTRY_COMPARE(page->currentServerIndex(), 0);
    const auto leftDisconnected = [this](const QStringList &sent, const QString &hint) {
        QCOMPARE(h.base()->names(), sent);
        QCOMPARE(h.oper()->connectServerHint(), hint);
        QVERIFY(!h.oper()->isServerConnectOK());
        QVERIFY(!h.oper()->connectButton()->isChecked());
        QVERIFY(!wallEnabled());
    };
    h.base()->setResult("Login", 7);
    h.oper()->connectButton()->click();
    leftDisconnected({"Login"},
                     QStringLiteral("Digital matrix server connect fail! Error code 7."));

    // Declined, a reboot or a reset sends nothing (agreed, both run end to end:
    // tst_linuxe2e::arrangeAWallAndReadItBack, tst_reconnect).
    h.base()->setResult("Login", 0);
    connectPage();
    h.base()->clear();
    MessageBoxScript boxes(0);
    click(page.get(), "rebootBt");
    click(page.get(), "resetBt");
    QCOMPARE(boxes.texts(),
             (QStringList {"Do you want to reboot matrix server?",
                           "Do you want to restore factory default?"}));
    QVERIFY(h.base()->calls().isEmpty());
    QVERIFY(h.oper()->isServerConnectOK());

    // "Disconnect" leaves the arrangement mode first.
    h.base()->setResult("Disconnect", 9);
    h.oper()->connectButton()->click();
    QCOMPARE(h.base()->last("SetNumberArrangeMode").args, QVariantList {0});
    leftDisconnected({"SetNumberArrangeMode", "Disconnect"},
                     QStringLiteral("Digital matrix server disconnect fail!"));

    // Editing the connected server reconnects it with the new settings.
    h.base()->setResult("Disconnect", 0);
    connectPage();
    const DigitalMatrixServerInfo stored = page->matrixServers().at(0);
    const QString a = stored.id;
    h.base()->clear();
    // The dialog offers the stored record, its type fixed; its own address is no duplicate.
    QString title;
    DigitalMatrixServerInfo offered;
    ModalDriver driver([&](QWidget *modal) {
        auto *combo = modal->findChild<QComboBox *>("serverTypeComBx");
        title = modal->findChild<QLabel *>("titleLabel")->text()
                + (combo->isEnabled() ? " unlocked " : " locked ") + combo->currentText();
        offered = qobject_cast<ModifyDigitalMatrixServerDlg *>(modal)->serverInfo();
        setText(modal, "nameLineEt", QStringLiteral("Wall Z"));
        setText(modal, "portLineEt", QStringLiteral("6200"));
        click(modal, "saveBt");
    });
    driver.start();
    h.oper()->editButton()->click();
    QVERIFY(driver.ran());
    QCOMPARE(title, QStringLiteral("Edit DigitalMatrix Server locked TQ5100-4HD"));
    QCOMPARE(offered, stored);
    QCOMPARE(h.base()->names(), QStringList({"SetNumberArrangeMode", "Disconnect"}));
    QCOMPARE(WaitDialog::getInstance()->text(), QStringLiteral("Edit matrix server..."));
    QCOMPARE(dataCentre()->getServerInfo(a).name, QStringLiteral("Wall Z"));

    QTRY_COMPARE(page->matrixServers().at(0).name, QStringLiteral("Wall Z"));
    QVERIFY(!WaitDialog::getInstance()->isWaiting());
    QCOMPARE(h.base()->count("Login"), 1);
    QCOMPARE(h.base()->last("Login").args.value(4), QVariant(6200));
    QCOMPARE(h.oper()->connectServerHint(), ConnectOk);
    QCOMPARE(h.oper()->otherHint(), QStringLiteral("Wall Z (10.0.0.1:6200)"));
    QCOMPARE(selector()->serverName(a), QStringLiteral("Wall Z"));
}

void TestLinuxPage::changeOfAnotherServerTouchesOnlyThatRecord_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("changed");
    QTest::addColumn<bool>("deleted");
    QTest::addColumn<QStringList>("remaining");
    QTest::addColumn<int>("currentIndex");
    QTest::newRow("edit after the selected")
            << 0 << 1 << false << QStringList {"Wall 0", "Wall B2", "Wall 2"} << 0;
    QTest::newRow("delete after the selected")
            << 0 << 1 << true << QStringList {"Wall 0", "Wall 2"} << 0;
    QTest::newRow("delete before the selected")
            << 2 << 0 << true << QStringList {"Wall 1", "Wall 2"} << 1;
}

void TestLinuxPage::changeOfAnotherServerTouchesOnlyThatRecord()
{
    QFETCH(int, selected);
    QFETCH(int, changed);
    QFETCH(bool, deleted);
    QFETCH(QStringList, remaining);
    QFETCH(int, currentIndex);
    QStringList ids;
    for (int i = 0; i < 3; ++i)
        ids << LinuxPageHarness::storeServer(QStringLiteral("Wall %1").arg(i),
                                             QStringLiteral("10.0.0.%1").arg(i + 1));
    const QString x86Id = LinuxPageHarness::storeServer(QStringLiteral("Control"),
                                                        QStringLiteral("10.0.0.9"), 2, 9010);
    h.makePage();
    QTRY_COMPARE(page->currentServerIndex(), 0);
    selector()->serverButton(ids.at(selected))->click();
    h.oper()->connectButton()->click();
    QVERIFY(h.oper()->isServerConnectOK());
    const DigitalMatrixServerInfo selectedBefore = page->matrixServers().at(selected);
    QSignalSpy deleteAll(page.get(), &LinuxDigitalMatrixPage::signalLinuxMatrixServerDeleteAll);

    // X86 servers come, change and go: nothing changes here, and a wait of this page is
    // ended only by its own kind of server.
    const QList<DigitalMatrixServerInfo> before = page->matrixServers();
    WaitDialog::getInstance()->showWaitDialog(QStringLiteral("Add matrix server..."), QUuid(),
                                              15000);
    QVERIFY(dataCentre()->AddServer(QStringLiteral("Control 2"), QStringLiteral("10.0.0.8"),
                                    QString(), QString(), 9010, 2));
    QVERIFY(dataCentre()->EditServer(x86Id, QStringLiteral("Control X"), QStringLiteral("10.0.0.9"),
                                     QString(), QString(), 9010, 2));
    QVERIFY(dataCentre()->DeleteServer(x86Id, SERVERTYPE_X86_DIGITALMATRIX));
    QTest::qWait(20);
    QCOMPARE(page->matrixServers(), before);
    QVERIFY(WaitDialog::getInstance()->isWaiting());
    WaitDialog::getInstance()->hideWaitDialog();

    // Changed elsewhere while another server is selected.
    if (deleted)
        QVERIFY(dataCentre()->DeleteServer(ids.at(changed), SERVERTYPE_LINUX_DIGITALMATRIX));
    else
        QVERIFY(dataCentre()->EditServer(ids.at(changed), QStringLiteral("Wall B2"),
                                         QStringLiteral("10.0.0.22"), QStringLiteral("admin"),
                                         QStringLiteral("secret"), 6001, 6));
    QTest::qWait(20);

    const QList<DigitalMatrixServerInfo> servers = page->matrixServers();
    QCOMPARE(namesOf(servers), remaining);
    QCOMPARE(servers.at(currentIndex), selectedBefore);
    if (!deleted) {
        QCOMPARE(servers.at(changed).ip, QStringLiteral("10.0.0.22"));
        QCOMPARE(servers.at(changed).port, 6001);
    }
    QCOMPARE(selector()->serverCount(), remaining.size());
    QCOMPARE(page->currentServerIndex(), currentIndex);
    QCOMPARE(selector()->currentServerId(), ids.at(selected));
    QVERIFY(h.oper()->isServerConnectOK());
    QCOMPARE(h.base()->count("Login"), 1);
    QCOMPARE(deleteAll.count(), 0);
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
    const auto row = [](const char *tag, const char *name, const char *ip, int type,
                        const char *port, const char *user, const char *hint) {
        QTest::newRow(tag) << name << ip << type << port << user << hint;
    };
    // Stored already: "Wall" at 10.0.0.5 (Linux), "Control" at 10.0.0.9 (X86). The checks
    // both server dialogs share run through the X86 one (tst_x86page); these are this one's.
    const char *ok = "10.0.0.1";
    row("nothing entered", "", "", 1, "", "", "Please enter digital matrix server name!");
    row("no port", "New", ok, 1, "", "", "Please enter digital matrix server port!");
    row("no user", "New", ok, 1, "6000", "", "Please enter user name!");
    row("no user, X86", "New", ok, 0, "9010", "", "");
    row("name taken", "Wall", "10.0.0.5", 1, "6000", "admin", "The name of server has exsit!");
    row("address taken", "New", "10.0.0.5", 1, "6000", "admin", "The IP of server has exsit!");
    row("an X86 server's name and address", "Control", "10.0.0.9", 1, "6000", "admin", "");
}

void TestLinuxPage::serverDialogChecksInOrder()
{
    QFETCH(QString, name);
    QFETCH(QString, ip);
    QFETCH(int, type);
    QFETCH(QString, port);
    QFETCH(QString, user);
    QFETCH(QString, hint);
    LinuxPageHarness::storeServer(QStringLiteral("Wall"), QStringLiteral("10.0.0.5"));
    LinuxPageHarness::storeServer(QStringLiteral("Control"), QStringLiteral("10.0.0.9"), 2, 9010);

    ModifyDigitalMatrixServerDlg dialog;
    dialog.show();
    dialog.findChild<QComboBox *>("serverTypeComBx")->setCurrentIndex(type);
    setText(&dialog, "nameLineEt", name);
    dialog.findChild<COMMONUSELIB::IpAddressFrame *>()->setIp(ip);
    setText(&dialog, "portLineEt", port);
    setText(&dialog, "userLineEt", user);
    dropToolTips();
    click(&dialog, "saveBt");

    QCOMPARE(dialog.result(), int(hint.isEmpty() ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(dialog.isVisible(), !hint.isEmpty());
    QCOMPARE(shownToolTip(), hint);
}

void TestLinuxPage::serverDialogTypeSetsThePortAndFieldsFilterTheirText()
{
    ModifyDigitalMatrixServerDlg dialog;
    dialog.show();
    auto *combo = dialog.findChild<QComboBox *>("serverTypeComBx");
    auto *port = dialog.findChild<QLineEdit *>("portLineEt");
    auto *user = dialog.findChild<QLineEdit *>("userLineEt");
    QCOMPARE(dialog.findChild<QLabel *>("titleLabel")->text(),
             QStringLiteral("Add DigitalMatrix Server"));
    QCOMPARE(combo->currentText() + port->text(), QStringLiteral("TQ5100-4HD6000"));

    // Which fields keep out ' and \ with a hint (the shared check runs in tst_x86page); the
    // port takes digits only, without a hint.
    QStringList kept;
    for (const char *edit :
         {"nameLineEt", "userLineEt", "passwordLineEt", "portLineEt", "nameLineEt"}) {
        auto *line = dialog.findChild<QLineEdit *>(QLatin1String(edit));
        line->clear();
        dropToolTips();
        QTest::keyClicks(line,
                         kept.size() < 4 ? QStringLiteral(R"(6'1\0)") : QStringLiteral("Hall A"));
        kept << line->text() + (shownToolTip().isEmpty() ? QString() : QStringLiteral(" hinted"));
    }
    QCOMPARE(kept, (QStringList {"610 hinted", "610 hinted", "610 hinted", "610", "Hall A"}));

    // An X86 server has its own port and keeps the optional account typed for it.
    user->setText(QStringLiteral("admin"));
    setText(&dialog, "passwordLineEt", QStringLiteral("pw"));
    port->setText(QStringLiteral("1234"));
    combo->setCurrentIndex(0);
    QCOMPARE(combo->currentText() + port->text(), QStringLiteral("TQ5100-12HD9010"));
    QVERIFY(user->isVisible());
    const DigitalMatrixServerInfo x86 = dialog.serverInfo();
    QCOMPARE(x86.matrixKind, int(DigitalMatrixServerInfo::X86Matrix));
    QCOMPARE(x86.port, 9010);
    QCOMPARE(x86.user + ":" + x86.password, QStringLiteral("admin:pw"));
    QVERIFY(x86.id.isEmpty());

    port->setText(QStringLiteral("1234"));
    combo->setCurrentIndex(1);
    QCOMPARE(port->text(), QStringLiteral("6000"));
    QVERIFY(user->isVisible());
}

// ---------------------------------------------------------------- screen arrangement

void TestLinuxPage::rowColumnDialogAcceptsOnlyUpToFourCells_data()
{
    QTest::addColumn<bool>("typed"); // typed into the fields, else preset
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QString>("hint"); // empty: accepted
    const auto row = [](const char *tag, bool typed, const char *rows, const char *columns,
                        const char *hint) {
        QTest::newRow(tag) << typed << rows << columns << hint;
    };
    const char *noRows = "Please enter row count!";
    const char *noColumns = "Please enter column count!";
    const char *tooMany = "The max cells count is:4!";
    row("empty rows", true, "", "2", noRows);
    row("empty columns", true, "2", "", noColumns);
    row("2 x 3", true, "2", "3", tooMany);
    row("1 x 4", true, "1", "4", "");
    row("0 cannot be typed", true, "0", "2", noRows);
    row("5 cannot be typed", true, "2", "5", noColumns);
    row("preset 0 rows", false, "0", "2", noRows);
    row("preset 0 columns", false, "2", "0", noColumns);
    row("preset 5 x 1", false, "5", "1", tooMany);
    row("preset -1 x -4", false, "-1", "-4", noRows);
}

void TestLinuxPage::rowColumnDialogAcceptsOnlyUpToFourCells()
{
    QFETCH(bool, typed);
    QFETCH(QString, rows);
    QFETCH(QString, columns);
    QFETCH(QString, hint);
    MatrixRowColumnSetDlg dialog;
    dialog.show();
    auto *rowEdit = dialog.findChild<QLineEdit *>("rowLineEt");
    auto *columnEdit = dialog.findChild<QLineEdit *>("columnLineEt");
    if (typed) {
        rowEdit->clear();
        columnEdit->clear();
        QTest::keyClicks(rowEdit, rows);
        QTest::keyClicks(columnEdit, columns);
    } else {
        dialog.setRowColumn(rows.toInt(), columns.toInt());
    }
    dropToolTips();
    QTest::mouseClick(dialog.findChild<QPushButton *>("okBt"), Qt::LeftButton);

    QCOMPARE(shownToolTip(), hint);
    QCOMPARE(dialog.result(), int(hint.isEmpty() ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(dialog.isVisible(), !hint.isEmpty());
    if (hint.isEmpty()) {
        int r = 0, c = 0;
        dialog.getRowColumn(r, c);
        QCOMPARE(QPoint(r, c), QPoint(rows.toInt(), columns.toInt()));
    }
}

void TestLinuxPage::arrangementIsEnteredLeftStartedAgainAndNumbersSwapOnlyOntoAnotherScreen()
{
    openConnected();
    const QStringList names {"configMatrixBt", "clearChannelsBt", "saveConfigBt",
                             "backStepBt",     "cancelBt",        "rebootBt",
                             "upgradeBt",      "resetBt",         "undoLayoutBt",
                             "statusLabel",    "areaTreeWdt",     "channelsOperWdt"};
    auto visible = [&] {
        QStringList shown;
        for (const QString &name : names) {
            if (page->findChild<QWidget *>(name)->isVisibleTo(page.get()))
                shown << name;
        }
        return shown;
    };
    const QStringList normalBar {"configMatrixBt", "clearChannelsBt", "rebootBt",
                                 "upgradeBt",      "resetBt",         "undoLayoutBt",
                                 "areaTreeWdt",    "channelsOperWdt"};
    QCOMPARE(visible(), normalBar);
    // "rows x columns: cells" of the arrangement grid.
    const auto adjustRowsColumns = [this] {
        int rows = 0, columns = 0;
        adjustGrid()->getRowColumn(rows, columns);
        return QStringLiteral("%1 x %2: %3").arg(rows).arg(columns).arg(adjustGrid()->cellCount());
    };

    // The dialog offers 2 x 2; the matrix is switched to its numbering mode.
    h.base()->clear();
    QCOMPARE(LinuxPageHarness::answerRowColumn(h.button("configMatrixBt"), QStringLiteral("2"),
                                               QStringLiteral("1")),
             QStringLiteral("2 x 2 Next"));
    // The numbers are read first: without them there is no arrangement to switch to.
    QCOMPARE(h.base()->names(), (QStringList {"GetScreenNumbers", "SetNumberArrangeMode"}));
    QCOMPARE(h.base()->last("SetNumberArrangeMode").args, QVariantList {1});
    QCOMPARE(page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusConfig);
    QCOMPARE(adjustRowsColumns(), QStringLiteral("2 x 1: 2"));
    QCOMPARE(adjustGrid()->getCellShowNums(), (QStringList {"1", "2"}));
    QCOMPARE(visible(),
             QStringList({"saveConfigBt", "backStepBt", "cancelBt", "rebootBt", "upgradeBt",
                          "resetBt", "statusLabel"}));
    QCOMPARE(shownStack(), 1);

    // "Undo Layout" does nothing, even when reached; declining the dialog changes nothing.
    h.base()->clear();
    QVERIFY(QMetaObject::invokeMethod(page.get(), "slotUndoLayoutBtClicked"));
    QVERIFY(!LinuxPageHarness::answerRowColumn(h.button("configMatrixBt"), QString(), QString())
                     .isEmpty());
    QCOMPARE(h.base()->calls().size(), 0);
    QCOMPARE(adjustGrid()->cellCount(), 2);

    // A step back leaves the mode and enters it again with new rows and columns.
    QCOMPARE(LinuxPageHarness::answerRowColumn(h.button("backStepBt"), QStringLiteral("4"),
                                               QStringLiteral("1")),
             QStringLiteral("2 x 2 Next"));
    QList<QVariantList> modes;
    for (const FakeCall &call : h.base()->callsNamed("SetNumberArrangeMode"))
        modes << call.args;
    QCOMPARE(modes, (QList<QVariantList> {{0}, {1}}));
    QCOMPARE(page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusConfig);
    QCOMPARE(adjustRowsColumns(), QStringLiteral("4 x 1: 4"));

    // Cancel (the mode it ends on the matrix is judged end to end).
    click(page.get(), "cancelBt");
    QCOMPARE(page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusNormal);
    QCOMPARE(shownStack(), 0);
    QCOMPARE(visible(), normalBar);
    QVERIFY(!h.cells()->isConfigured());

    // A swap by dragging runs end to end (tst_linuxe2e::arrangeAWallAndReadItBack); here drags
    // that swap nothing, and typed numbers.
    enterArrangement(QStringLiteral("2"), QStringLiteral("2"));
    AdjustCellNumWidget *grid = adjustGrid();
    const QStringList unchanged {"1", "2", "3", "4"};
    QCOMPARE(grid->getCellShowNums(), unchanged);

    // Pressed on a cell, released wherever the target is (-1: between cells): the cell passes
    // both on.
    for (const auto &[from, to] : {std::pair {2, 2}, std::pair {0, -1}}) {
        QWidget *source = grid->cellAt(from);
        QTest::mousePress(source, Qt::LeftButton, {}, source->rect().center());
        QCOMPARE(grid->cursor().shape(), Qt::SizeAllCursor);
        const QPoint target = to >= 0 ? grid->cellAt(to)->geometry().center() : QPoint(0, 0);
        QCOMPARE(grid->cellIndexAt(target), to);
        QTest::mouseRelease(source, Qt::LeftButton, {}, source->mapFrom(grid, target));
        QCOMPARE(grid->getCellShowNums(), unchanged);
        QCOMPARE(grid->cursor().shape(), Qt::ArrowCursor);
    }

    auto *cell = qobject_cast<CellForAdjustNum *>(grid->cellAt(0));
    QVERIFY(cell);
    QSignalSpy finished(cell, &CellForAdjustNum::signalEditShowNumFinished);
    // Typed into the first cell, committed with Return or by leaving the field (0), and the
    // numbers after. An emptied editor keeps the old number.
    const int enter = Qt::Key_Return;
    const QList<std::tuple<QString, int, QStringList>> typing {
            {"3", enter, {"3", "2", "1", "4"}}, {"4", 0, {"4", "2", "1", "3"}},
            {"4", enter, {"4", "2", "1", "3"}}, {"", enter, {"4", "2", "1", "3"}},
            {"", 0, {"4", "2", "1", "3"}},      {"7", enter, {"4", "2", "1", "3"}}};
    for (const auto &[typed, commitKey, numbers] : typing) {
        const QStringList before = grid->getCellShowNums();
        finished.clear();
        QTest::mouseDClick(cell, Qt::LeftButton, {}, cell->rect().center());
        QLineEdit *editor = cell->numberEditor();
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->text(), before.first());
        QCOMPARE(editor->font().family(), QStringLiteral("Arial"));

        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, typed);
        // The keypad's Enter key does not commit.
        QTest::keyClick(editor, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(editor->isVisible());
        QCOMPARE(grid->getCellShowNums(), before);

        if (commitKey) {
            QTest::keyClick(editor, Qt::Key(commitKey));
        } else {
            QFocusEvent leave(QEvent::FocusOut, Qt::MouseFocusReason);
            QApplication::sendEvent(editor, &leave);
        }
        QVERIFY(!editor->isVisible());
        QCOMPARE(grid->getCellShowNums(), numbers);
        // A change is reported as (cell, old number, new number).
        const bool changed = numbers != before;
        QCOMPARE(finished.count(), changed ? 1 : 0);
        if (changed)
            QCOMPARE(finished.first(),
                     (QVariantList {0, before.first().toInt(), numbers.first().toInt()}));
    }
}

void TestLinuxPage::failingSaveStepKeepsTheArrangement_data()
{
    QTest::addColumn<QString>("failing");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("columns"); // 2: the grid keeps its shape, 1: a new shape
    QTest::addColumn<int>("sent"); // how much of a full save went out
    const auto row = [](const char *tag, const char *failing, const char *message, int columns,
                        int sent) {
        QTest::newRow(tag) << QString(failing) << QString(message) << columns << sent;
    };
    row("clearing", "ClearCell", "clear cells fail!", 1, 3);
    row("screen map", "SetScreenNumbers", "Set logic screen map fail!", 2, 2);
    row("grid", "SetScreenGrid", "set cells info fail!", 2, 3);
    row("grid of a new shape", "SetScreenGrid", "set cells info fail!", 1, 7);
}

void TestLinuxPage::failingSaveStepKeepsTheArrangement()
{
    QFETCH(QString, failing);
    QFETCH(QString, message);
    QFETCH(int, columns);
    QFETCH(int, sent);
    const QStringList fullSave = columns == 2 ? SameShapeSave : NewShapeSave;
    LinuxPageHarness::storeServer(QStringLiteral("Wall A"), QStringLiteral("10.0.0.1"));
    h.base()->screenNumberBytes = QByteArray::fromHex("03020100");
    h.base()->gridEntries = LinuxPageHarness::grid(2, 2);
    h.makePage();
    connectPage();
    // The matrix's grid was read on connecting.
    QVERIFY(h.cells()->isConfigured());
    QCOMPARE(h.cells()->getCellShowNums(), (QStringList {"4", "3", "2", "1"}));
    enterArrangement(QStringLiteral("2"), QString::number(columns));
    QCOMPARE(adjustGrid()->getCellShowNums(),
             (QStringList {"4", "3", "2", "1"}).mid(0, 2 * columns));
    h.base()->clear();
    if (failing == QLatin1String("ClearCell"))
        h.base()->queueResults(failing, {0, -1}); // the second cell fails
    else
        h.base()->setResult(failing, -1);

    MessageBoxScript boxes(1);
    click(page.get(), "saveConfigBt");
    QCOMPARE(boxes.texts(), QStringList {message});
    QCOMPARE(boxes.last().buttons, short(1));
    QCOMPARE(boxes.last().parent, static_cast<QWidget *>(page.get()));
    QCOMPARE(h.base()->names(), fullSave.mid(0, sent));
    QCOMPARE(page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusConfig);
    QCOMPARE(shownStack(), 1);

    // A second save runs every step again (clearing the old cells first for a new shape).
    h.base()->clear();
    h.base()->setResult(failing, 0);
    click(page.get(), "saveConfigBt");
    QCOMPARE(boxes.count(), 1);
    // The writes, then the wall read back.
    QCOMPARE(h.base()->names().mid(0, fullSave.size()), fullSave);
    QList<int> cleared;
    for (const FakeCall &call : h.base()->callsNamed("ClearCell"))
        cleared << call.args.value(0).toInt();
    QCOMPARE(cleared, columns == 2 ? QList<int>() : (QList<int> {0, 1, 2, 3}));
    QCOMPARE(h.base()->last("SetScreenNumbers").bytes, QByteArray::fromHex("03020100"));
    QCOMPARE(page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusNormal);
}

void TestLinuxPage::unusableScreenNumbersKeepThePageOutOfTheArrangement_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("count"); // FakeBaseMatrix::AutoCount: as many as given
    QTest::addColumn<QStringList>("numbers"); // empty: the page stays out of the step
    const int all = FakeBaseMatrix::AutoCount;
    const QStringList fallback;
    QTest::newRow("usable") << QByteArray::fromHex("02030100") << all
                            << QStringList {"3", "4", "2", "1"};
    QTest::newRow("three distinct") << QByteArray::fromHex("02030102") << all << fallback;
    QTest::newRow("byte above 4") << QByteArray::fromHex("02030105") << all << fallback;
    QTest::newRow("byte 255") << QByteArray::fromHex("ff030102") << all << fallback;
    QTest::newRow("count 0") << QByteArray::fromHex("02030100") << 0 << fallback;
    QTest::newRow("three screens") << QByteArray::fromHex("020301") << all << fallback;
}

void TestLinuxPage::unusableScreenNumbersKeepThePageOutOfTheArrangement()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, count);
    QFETCH(QStringList, numbers);
    openConnected();
    h.base()->screenNumberBytes = bytes;
    h.base()->screenNumberCount = count;

    MessageBoxScript boxes(1);
    h.base()->clear();
    QVERIFY(!LinuxPageHarness::answerRowColumn(h.button("configMatrixBt"), QStringLiteral("2"),
                                               QStringLiteral("2"))
                     .isEmpty());
    if (numbers.isEmpty()) {
        // Nothing was read, so nothing can be arranged or saved over the matrix's map.
        QCOMPARE(boxes.count(), 1);
        QVERIFY(boxes.last().text.startsWith(QStringLiteral("Read screen numbers fail!")));
        QCOMPARE(page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusNormal);
        QCOMPARE(h.base()->count("SetNumberArrangeMode"), 0);
    } else {
        QCOMPARE(adjustGrid()->getCellShowNums(), numbers);
        QCOMPARE(boxes.count(), 0);
    }
}

QTEST_MAIN(TestLinuxPage)
#include "tst_linuxpage.moc"
