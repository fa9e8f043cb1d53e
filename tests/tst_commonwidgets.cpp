// Tests of the host's common widgets (COMMONUSELIB).
#include "AreaWithChannelTree.h"
#include "CanSelectWithNumWidget.h"
#include "IpAddressFrame.h"
#include "MessageBoxW.h"
#include "ModalDriver.h"
#include "MoveableDialog.h"
#include "PictureHintWidget.h"
#include "ServerOperWidget.h"
#include "ServerSelWidget.h"
#include "TableWidget.h"
#include "TestData.h"
#include "UserManagerCore.h"
#include "WaitDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDataStream>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

using namespace COMMONUSELIB;
using Channel = AreaWithChannelTree::Channel;

namespace {

// Counts the mouse presses that reach it from its children.
class PressCountingParent : public QWidget
{
public:
    int presses = 0;
    int doubleClicks = 0;

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        ++presses;
        event->accept();
    }
    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        ++doubleClicks;
        event->accept();
    }
};

class CellWithOwnNumber : public CanSelectWithNumWidget
{
public:
    using CanSelectWithNumWidget::CanSelectWithNumWidget;
    int setCalls = 0;
    void setShowNum(int num) override
    {
        ++setCalls;
        CanSelectWithNumWidget::setShowNum(num);
    }
};

void sendMouse(QWidget *target, QEvent::Type type, const QPoint &local, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent event(type, local, target->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Types text the way a person does: each key goes to whatever has the focus then
// ('\b' is a backspace).
void typeIntoFocus(const QString &text)
{
    for (const QChar ch : text) {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY2(focus, "nothing has the keyboard focus");
        if (ch == QLatin1Char('\b'))
            QTest::keyClick(focus, Qt::Key_Backspace);
        else if (ch == QLatin1Char('\t'))
            QTest::keyClick(focus, Qt::Key_Tab);
        else if (ch == QLatin1Char('\v'))
            QTest::keyClick(focus, Qt::Key_V, Qt::ControlModifier); // paste
        else
            QTest::keyClick(focus, ch.toLatin1());
    }
}

QStringList visibleChannelKeys(QTreeWidget *tree)
{
    QStringList keys;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->type() != AreaTree::ChannelItemType)
            continue;
        bool shown = true;
        for (QTreeWidgetItem *item = *it; item; item = item->parent())
            shown = shown && !item->isHidden();
        if (shown)
            keys << (*it)->data(0, AreaTree::KeyRole).toString();
    }
    return keys;
}

QStringList channelKeys(const QList<Channel> &channels)
{
    QStringList keys;
    for (const Channel &channel : channels)
        keys << channel.channelKey;
    return keys;
}

// The tree as "text[key]{children}" with "*" after channel items.
QString outline(QTreeWidgetItem *item)
{
    QString text = item->text(0) + QLatin1Char('[') + item->data(0, Qt::UserRole).toString()
            + QLatin1Char(']');
    if (item->type() == AreaTree::ChannelItemType)
        text += QLatin1Char('*');
    QStringList children;
    for (int i = 0; i < item->childCount(); ++i)
        children << outline(item->child(i));
    return children.isEmpty()
            ? text
            : text + QLatin1Char('{') + children.join(QLatin1Char(',')) + QLatin1Char('}');
}

} // namespace

class TestCommonWidgets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void messageBox_data();
    void messageBox();
    void waitDialogClosesGivesWayAndComesBack();

    void ipSetAndGet_data();
    void ipSetAndGet();
    void ipTypingMovesBetweenFields_data();
    void ipTypingMovesBetweenFields();

    void serverSelAddsSelectsAndDeletes();

    void serverOperStatusRoundTrip_data();
    void serverOperStatusRoundTrip();

    void tableRowsByUniqueKeysAndCheckAll();

    void cellClick_data();
    void cellClick();

    void treeSearchHidesNonMatchingChannels_data();
    void treeSearchHidesNonMatchingChannels();
    void treeLoadsSelectsDragsAndReloads();
    void treeMimeDecodeRefusesMalformedData_data();
    void treeMimeDecodeRefusesMalformedData();

    void moveableDialogDraggedByBodyNotByButtons();
    void pictureHintButtonAndLanguage();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestCommonWidgets::initTestCase()
{
    openTestDataCentre(m_dir, QStringLiteral("tree_site.json"));
}

void TestCommonWidgets::cleanupTestCase()
{
    DATACore::UserManagerCore::instance()->close();
    // A search edit's clear button fades with an animation that deletes itself when it ends
    // on Qt's animation timer (160 ms); let the last ones end before the process does.
    QTest::qWait(250);
}

void TestCommonWidgets::messageBox_data()
{
    QTest::addColumn<QString>("owner"); // "page", "dialog" or "none"
    QTest::addColumn<bool>("warning"); // asked as a warning, else as an information
    QTest::addColumn<short>("buttons");
    QTest::addColumn<QString>("press"); // object name of the button, or "escape"
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<short>("expected");
    QTest::addColumn<QString>("defaultButton");
    const QStringList question {"Yes", "No"};
    QTest::newRow("yes, asked by a part of the page")
            << "page" << false << short(3) << "yesBt" << question << short(1) << "noBt";
    QTest::newRow("no, asked by a dialog over the page")
            << "dialog" << true << short(3) << "noBt" << question << short(0) << "noBt";
    QTest::newRow("escape, asked without a parent")
            << "none" << false << short(3) << "escape" << question << short(0) << "noBt";
    QTest::newRow("notice ok") << "page" << true << short(1) << "okBt" << QStringList {"OK"}
                               << short(1) << "okBt";
    QTest::newRow("unknown set is a notice")
            << "none" << false << short(7) << "okBt" << QStringList {"OK"} << short(1) << "okBt";
}

// A box returns 1 only when accepted; it is titled, framed, centred on the window it belongs
// to, and only the answer Enter gives (the safe one of a question) is set apart.
void TestCommonWidgets::messageBox()
{
    QFETCH(QString, owner);
    QFETCH(bool, warning);
    QFETCH(short, buttons);
    QFETCH(QString, press);
    QFETCH(QStringList, captions);
    QFETCH(short, expected);
    QFETCH(QString, defaultButton);
    QWidget window;
    auto *part = new QWidget(&window);
    window.setGeometry(400, 300, 900, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QDialog dialog(&window);
    auto *field = new QLineEdit(&dialog);
    dialog.setGeometry(60, 40, 500, 360);
    QWidget *parent = part;
    QWidget *centredOn = &window;
    if (owner == QLatin1String("dialog")) {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        parent = field;
        centredOn = &dialog;
    } else if (owner == QLatin1String("none")) {
        QApplication::setActiveWindow(&window);
        parent = nullptr;
    }

    QStringList shown;
    QPoint centre;
    bool titleShown = false;
    bool framed = false;
    QStringList bold;
    QString isDefault;
    bool enabled = false;
    QWidget *boxOwner = nullptr;
    ModalDriver driver([&](QWidget *modal) {
        // The caller (a cell of a page, say) is disabled while its question is open: the box
        // belongs to the caller's window and still takes the answer.
        if (parent)
            parent->setEnabled(false);
        enabled = modal->isEnabled();
        boxOwner = modal->parentWidget();
        centre = modal->frameGeometry().center();
        auto *titleLabel = modal->findChild<QLabel *>("titleLabel");
        shown << QString::fromLatin1(modal->metaObject()->className()) << modal->windowTitle()
              << titleLabel->text() << modal->findChild<QLabel *>("textLabel")->text();
        titleShown = titleLabel->isVisible() && modal->rect().contains(titleLabel->geometry());
        const QImage image = modal->grab().toImage();
        framed = image.pixel(0, image.height() / 2) != image.pixel(4, image.height() / 2);
        for (QPushButton *button : modal->findChildren<QPushButton *>()) {
            shown << button->text();
            if (button->font().bold())
                bold << button->objectName();
            if (button->isDefault())
                isDefault = button->objectName();
        }
        if (press == QLatin1String("escape"))
            QTest::keyClick(modal, Qt::Key_Escape);
        else if (auto *button = modal->findChild<QPushButton *>(press))
            QTest::mouseClick(button, Qt::LeftButton);
    });
    driver.start();
    const QString title = QStringLiteral("Prompt");
    const QString text = QStringLiteral("Whether start turn show?");
    const short result = warning ? MessageBoxW::warning(parent, title, text, buttons)
                                 : MessageBoxW::infomation(parent, title, text, buttons);
    QVERIFY(driver.ran());
    QCOMPARE(result, expected);
    QCOMPARE(shown, QStringList({"COMMONUSELIB::MessageBoxW", title, title, text}) + captions);
    QVERIFY(enabled);
    if (parent)
        QCOMPARE(boxOwner, centredOn);
    QVERIFY(titleShown);
    QVERIFY(framed);
    QVERIFY2((centre - centredOn->frameGeometry().center()).manhattanLength() <= 2,
             qPrintable(QStringLiteral("centre %1,%2").arg(centre.x()).arg(centre.y())));
    QCOMPARE(isDefault, defaultButton);
    QCOMPARE(bold, QStringList {defaultButton});
}

void TestCommonWidgets::waitDialogClosesGivesWayAndComesBack()
{
    WaitDialog *wait = WaitDialog::getInstance();
    QCOMPARE(WaitDialog::getInstance(), wait);
    QSignalSpy timeouts(wait, &WaitDialog::signalWaitTimeout);

    // Shown again before its time: the later text and id replace the first.
    const QUuid id = QUuid::createUuid();
    wait->showWaitDialog(QStringLiteral("Add matrix server..."), QUuid::createUuid(), 15000);
    wait->showWaitDialog(QStringLiteral("Connecting..."), id, 60);
    // The call returned at once: the dialog is up, not modal, and still waiting.
    QVERIFY(wait->isWaiting());
    QVERIFY(wait->isVisible());
    QCOMPARE(wait->text(), QStringLiteral("Connecting..."));
    QCOMPARE(wait->waitId(), id);
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(timeouts.count(), 0);
    QTRY_VERIFY(!wait->isWaiting());
    QVERIFY(!wait->isVisible());
    QCOMPARE(timeouts.count(), 1);
    QCOMPARE(timeouts.at(0).at(0).value<QUuid>(), id);

    // Hidden before its time: the clock stops and nothing is signalled.
    wait->showWaitDialog(QStringLiteral("Delete matrix server..."), QUuid(), 15000);
    auto *clock = wait->findChild<QTimer *>();
    QVERIFY(clock && clock->isActive() && clock->remainingTime() > 14000);
    wait->hideWaitDialog();
    QVERIFY(!wait->isWaiting());
    QVERIFY(!wait->isVisible());
    QVERIFY(!clock->isActive());

    // No time-out at all: the dialog waits until it is hidden.
    wait->showWaitDialog(QStringLiteral("Upgrading"), QUuid(), 0);
    QVERIFY(wait->isWaiting());
    QVERIFY(!clock->isActive());
    wait->hideWaitDialog();
    QVERIFY(!wait->isVisible());
    QCOMPARE(timeouts.count(), 1);

    // A wait names what it waits for and gives way to a question.
    wait->showWaitDialog(QStringLiteral("Connecting..."), QStringLiteral("Alpha (10.0.0.1:9010)"),
                         QUuid(), 15000);
    QCOMPARE(wait->text(), QStringLiteral("Connecting..."));
    QCOMPARE(wait->detail(), QStringLiteral("Alpha (10.0.0.1:9010)"));
    QVERIFY(wait->findChild<QLabel *>("waitDetailLabel")->isVisible());
    bool waitShownOverQuestion = true;
    ModalDriver driver([&](QWidget *) { waitShownOverQuestion = wait->isVisible(); });
    driver.start();
    MessageBoxW::warning(nullptr, QStringLiteral("Failed"), QStringLiteral("Force Login failed!"));
    QVERIFY(driver.ran());
    QVERIFY(!waitShownOverQuestion);
    // The question answered, the wait that still runs comes back.
    QVERIFY(wait->isWaiting());
    QTRY_VERIFY(wait->isVisible());
    wait->hideWaitDialog();
    // No window has the focus: a wait stands over the console's largest window.
    QWidget console;
    console.setGeometry(160, 120, 900, 560);
    console.show();
    QVERIFY(QTest::qWaitForWindowExposed(&console));
    QApplication::setActiveWindow(nullptr);
    // A plain wait has no second line.
    wait->showWaitDialog(QStringLiteral("Add matrix server..."), QUuid(), 15000);
    QVERIFY((wait->frameGeometry().center() - console.frameGeometry().center()).manhattanLength()
            <= 2);
    QVERIFY(wait->detail().isEmpty());
    QVERIFY(!wait->findChild<QLabel *>("waitDetailLabel")->isVisible());
    wait->hideWaitDialog();
}

void TestCommonWidgets::ipSetAndGet_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    for (const char *good : {"192.168.1.10", "0.0.0.0", "255.255.255.255"})
        QTest::newRow(good) << good << good;
    for (const char *bad : {"256.1.1.1", "10.1.1", "10.1.1.1.1", "10..1.1", "a.b.c.d", " 10.1.1.1",
                            "010.1.1.1", "+1.1.1.1", ""})
        QTest::addRow("bad \"%s\"", bad) << bad << "";
}

void TestCommonWidgets::ipSetAndGet()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);

    IpAddressFrame frame;
    frame.setIp(QStringLiteral("1.2.3.4"));
    QStringList changes;
    connect(&frame, &IpAddressFrame::ipChanged, this, [&](const QString &ip) { changes << ip; });
    frame.setIp(input);
    frame.setIp(input); // unchanged: nothing is signalled
    QCOMPARE(changes, QStringList {expected}); // one signal for the whole address
    QCOMPARE(frame.getIp(), expected);
    QCOMPARE(frame.isEmpty(), expected.isEmpty());
    QCOMPARE(IpAddressFrame::isValidIp(input), !expected.isEmpty());
    // A refused address clears every field.
    const QStringList parts =
            expected.isEmpty() ? QStringList {"", "", "", ""} : expected.split(QLatin1Char('.'));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(frame.field(i)->text(), parts.at(i));

    // An emptied field empties the address until it is filled again.
    changes.clear();
    frame.setIp(QStringLiteral("10.20.30.40"));
    frame.field(2)->clear();
    QCOMPARE(frame.getIp(), QString());
    frame.field(2)->setText(QStringLiteral("7"));
    QCOMPARE(frame.getIp(), QStringLiteral("10.20.7.40"));
    QCOMPARE(changes, QStringList({"10.20.30.40", "", "10.20.7.40"}));
}

void TestCommonWidgets::ipTypingMovesBetweenFields_data()
{
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("focusedField");
    const auto over = [](const char *name, const char *initial, const char *typed,
                         const char *expected, int field) {
        QTest::newRow(name) << QString::fromLatin1(initial) << QString::fromLatin1(typed)
                            << QString::fromLatin1(expected) << field;
    };
    const auto row = [over](const char *name, const char *typed, const char *expected, int field) {
        over(name, "", typed, expected, field);
    };
    row("dots", "192.168.1.20", "192.168.1.20", 3);
    row("full octets move on", "255.255.255.255", "255.255.255.255", 3);
    row("zero is a full octet", "10.0.0.1", "10.0.0.1", 3);
    row("no further digit fits", "30.26.4.8", "30.26.4.8", 3);
    // A Tab moves on like a dot: after a field that moved on by itself it moves no further.
    row("tabs", "127\t0\t0\t1", "127.0.0.1", 3);
    row("tabs after short octets", "10\t1\t22\t3", "10.1.22.3", 3);
    row("letters are not typed", "1x.2.3.4", "1.2.3.4", 3);
    row("too big is not typed", "1.2.3.256", "1.2.3.25", 3);
    // In an empty field a backspace goes back to the end of the field before; inside a
    // field it is an ordinary backspace.
    row("backspace", "192.16.\b\b3.4.5", "192.13.4.5", 3);
    row("backspace stays", "192.16.\b\b", "", 1);
    // Over an address each typed field replaces the one there; "\v" pastes "10.9.8.7".
    over("typing over an address", "192.168.1.10", "172.16.0.9", "172.16.0.9", 3);
    over("full octets over an address", "10.20.30.40", "255.255.255.255", "255.255.255.255", 3);
    over("a dot after a zero over an address", "1.2.3.4", "0.0.0.0", "0.0.0.0", 3);
    over("deleting and retyping", "192.168.1.10", "\b10.1.2.3", "10.1.2.3", 3);
    over("pasting over an address", "192.168.1.10", "\v", "10.9.8.7", 0);
}

void TestCommonWidgets::ipTypingMovesBetweenFields()
{
    QFETCH(QString, initial);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QFETCH(int, focusedField);

    IpAddressFrame frame;
    frame.setIp(initial);
    QApplication::clipboard()->setText(QStringLiteral("10.9.8.7"));
    frame.show();
    QApplication::setActiveWindow(&frame);
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    frame.field(0)->setFocus();
    frame.field(0)->selectAll();
    QCOMPARE(QApplication::focusWidget(), frame.field(0));

    typeIntoFocus(typed);
    QCOMPARE(frame.getIp(), expected);
    QCOMPARE(QApplication::focusWidget(), frame.field(focusedField));
}

void TestCommonWidgets::serverSelAddsSelectsAndDeletes()
{
    ServerSelWidget selector;
    QStringList changes; // "previous>current"
    connect(&selector, &ServerSelWidget::signalServerSelChanged, this,
            [&](const QString &previous, const QString &current) {
                changes << previous + QLatin1Char('>') + current;
            });
    QVERIFY(selector.addServer(QStringLiteral("s1"), QStringLiteral("Wall A")));
    QVERIFY(selector.addServer(QStringLiteral("s2"), QStringLiteral("Wall B")));
    QVERIFY(!selector.addServer(QString(), QStringLiteral("No id")));
    // A known id is refused but takes the new name.
    QVERIFY(!selector.addServer(QStringLiteral("s1"), QStringLiteral("Renamed")));

    QCOMPARE(selector.serverCount(), 2);
    QCOMPARE(selector.getServerIndex(QStringLiteral("s2")), 1);
    QCOMPARE(selector.getServerIndex(QStringLiteral("nope")), -1);
    QCOMPARE(selector.getServerIndex(QString()), -1);
    QCOMPARE(selector.serverButton(QStringLiteral("s2"))->text(), QStringLiteral("Wall B"));
    QCOMPARE(selector.serverName(QStringLiteral("s1")), QStringLiteral("Renamed"));
    QCOMPARE(selector.currentServerId(), QString());
    QVERIFY(changes.isEmpty());

    QVERIFY(selector.addServer(QStringLiteral("s3"), QStringLiteral("Wall C")));
    auto checkedIds = [&selector] {
        QStringList ids;
        for (const char *id : {"s1", "s2", "s3"}) {
            const QAbstractButton *button = selector.serverButton(QLatin1String(id));
            if (button && button->isChecked())
                ids << QLatin1String(id);
        }
        return ids;
    };

    selector.setCurSelServerBtToFirst();
    QCOMPARE(checkedIds(), QStringList {"s1"});
    selector.setCurSelServerBtToFirst(); // no change, no signal
    selector.setCurSelServerBtToLast();
    QCOMPARE(checkedIds(), QStringList {"s3"});
    QTest::mouseClick(selector.serverButton(QStringLiteral("s2")), Qt::LeftButton);
    // Clicking the selected server again keeps it selected and says nothing.
    QTest::mouseClick(selector.serverButton(QStringLiteral("s2")), Qt::LeftButton);
    QVERIFY(!selector.setCurrentServer(QStringLiteral("unknown")));
    QCOMPARE(changes, QStringList({">s1", "s1>s3", "s3>s2"}));
    QCOMPARE(checkedIds(), QStringList {"s2"});
    QCOMPARE(selector.currentServerIndex(), 1);

    QVERIFY(!selector.updateServerName(QStringLiteral("s9"), QStringLiteral("x")));

    // Another server goes without a signal (the page judges the selection kept).
    changes.clear();
    QVERIFY(selector.deleteServer(QStringLiteral("s1")));
    QVERIFY(!selector.deleteServer(QStringLiteral("s1")));
    QVERIFY(changes.isEmpty());
    // The selected server goes: nothing is selected.
    QVERIFY(selector.deleteServer(QStringLiteral("s2")));
    QCOMPARE(selector.currentServerId(), QString());
    QCOMPARE(checkedIds(), QStringList());
    selector.setCurSelServerBtToFirst();
    // The last server goes: the current id becomes empty; an empty row selects nothing.
    QVERIFY(selector.deleteServer(QStringLiteral("s3")));
    QCOMPARE(selector.serverCount(), 0);
    selector.setCurSelServerBtToFirst();
    selector.setCurSelServerBtToLast();
    QCOMPARE(changes, QStringList({">", ">s3", ">"}));
}

void TestCommonWidgets::serverOperStatusRoundTrip_data()
{
    QTest::addColumn<QStringList>("restored");
    QTest::addColumn<QStringList>("expected");
    const QStringList connected {"1", "Digital matrix server connect ok!", "A (1:2)"};
    const QStringList notConnected {"0", "Digital matrix server not connect yet!", "B (3:4)"};
    QTest::newRow("connected") << connected << connected;
    QTest::newRow("not connected") << notConnected << notConnected;
    QTest::newRow("anything but 1 is not connected")
            << QStringList {"true", "x", "y"} << QStringList {"0", "x", "y"};
    QTest::newRow("short list") << QStringList {"1"} << QStringList {"1", "", ""};
    QTest::newRow("empty list") << QStringList {} << QStringList {"0", "", ""};
}

void TestCommonWidgets::serverOperStatusRoundTrip()
{
    QFETCH(QStringList, restored);
    QFETCH(QStringList, expected);

    ServerOperWidget oper;
    QSignalSpy clicks(&oper, &ServerOperWidget::signalConnectServerBtClicked);
    QCOMPARE(oper.connectButton()->text(), QStringLiteral("Connect"));
    // Set by the owner: the button follows without asking anything.
    oper.setServerConnectOk(true);
    QVERIFY(oper.connectButton()->isChecked());
    QCOMPARE(oper.connectButton()->text(), QStringLiteral("Disconnect"));
    oper.setConnectServerHint(QStringLiteral("old hint"));
    QCOMPARE(ServerOperWidget::generateServerDescribe(QStringLiteral("Wall %1"),
                                                      QStringLiteral("10.0.0.7"), 6000),
             QStringLiteral("Wall %1 (10.0.0.7:6000)"));
    oper.setServerDescribe(QStringLiteral("old other"));
    QCOMPARE(oper.getServerStatus(), QStringList({"1", "old hint", "old other"}));

    oper.setServerStatus(restored);
    QCOMPARE(oper.getServerStatus(), expected);
    QCOMPARE(oper.isServerConnectOK(), expected.at(0) == QLatin1String("1"));
    QCOMPARE(oper.connectButton()->text(),
             oper.isServerConnectOK() ? QStringLiteral("Disconnect") : QStringLiteral("Connect"));
    QCOMPARE(oper.connectServerHint(), expected.at(1));
    QCOMPARE(oper.otherHint(), expected.at(2));
    QCOMPARE(clicks.count(), 0);
}

void TestCommonWidgets::tableRowsByUniqueKeysAndCheckAll()
{
    TableWidget table(nullptr, true);
    table.setHeaderViewColumnName({"", "Channel Name", "Device Name"});

    QCOMPARE(table.insertBack({"Gate Cam 1", "NVR 1"}, QStringLiteral("c1"), {}), 0);
    QCOMPARE(table.insertBack({"Gate Cam 2", "NVR 1"}, QStringLiteral("c2"), {2}), 1);
    QCOMPARE(table.insertBack({"Again", "NVR 2"}, QStringLiteral("c1"), {}), -1);
    QCOMPARE(table.insertBack({"No key", "NVR 2"}, QString(), {}), -1);
    QCOMPARE(table.getAllRowsKeyValues(), QStringList({"c1", "c2"}));
    QCOMPARE(table.item(0, 1)->text(), QStringLiteral("Gate Cam 1"));
    QCOMPARE(table.item(1, 2)->text(), QStringLiteral("NVR 1"));
    QCOMPARE(table.getRowKeyValue(1), QStringLiteral("c2"));
    QCOMPARE(table.getRowKeyValue(2), QString());
    QCOMPARE(table.getRowKeyValue(-1), QString());
    // Only the listed columns can be edited; the first column is the check box.
    QVERIFY(!(table.item(1, 1)->flags() & Qt::ItemIsEditable));
    QVERIFY(table.item(1, 2)->flags() & Qt::ItemIsEditable);
    QVERIFY(!(table.item(0, 2)->flags() & Qt::ItemIsEditable));
    QVERIFY(table.item(0, 0)->flags() & Qt::ItemIsUserCheckable);

    // Deleted by key; the checks of the rows left stay.
    table.setRowChecked(1, true);
    QVERIFY(table.deleteRowByKeyValue(QStringLiteral("c1")));
    QVERIFY(!table.deleteRowByKeyValue(QStringLiteral("c1")));
    QVERIFY(!table.deleteRowByKeyValue(QString()));
    QCOMPARE(table.getAllRowsKeyValues(), QStringList {"c2"});
    QCOMPARE(table.item(0, 1)->text(), QStringLiteral("Gate Cam 2"));
    QCOMPARE(table.getCheckedRowsKeyValues(), QStringList {"c2"});
    QCOMPARE(table.rowOfKeyValue(QStringLiteral("c2")), 0);
    // More texts than columns: the table grows.
    QCOMPARE(table.insertBack({"a", "b", "c"}, QStringLiteral("c3")), 1);
    QCOMPARE(table.columnCount(), 4);

    table.deleteAllRows();
    QCOMPARE(table.rowCount(), 0);
    QCOMPARE(table.columnCount(), 4); // the columns stay
    QVERIFY(table.getCheckedRowsKeyValues().isEmpty());
    for (int row = 0; row < 3; ++row) {
        const QString key = QStringLiteral("c%1").arg(row + 1);
        QCOMPARE(table.insertBack({key, QStringLiteral("NVR")}, key), row);
    }
    table.resize(400, 200);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    QSignalSpy checks(&table, &TableWidget::signalCheckedRowsChanged);

    table.item(2, 0)->setCheckState(Qt::Checked); // as a click on the row's box does
    table.item(0, 0)->setCheckState(Qt::Checked);
    QCOMPARE(checks.count(), 2);
    QCOMPARE(table.getCheckedRowsKeyValues(), QStringList({"c1", "c3"}));
    QCOMPARE(table.checkAllState(), Qt::PartiallyChecked);

    auto *header = table.horizontalHeader();
    const QPoint box(header->sectionViewportPosition(0) + header->sectionSize(0) / 2,
                     header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, box);
    QCOMPARE(table.getCheckedRowsKeyValues(), QStringList({"c1", "c2", "c3"}));
    QCOMPARE(table.checkAllState(), Qt::Checked);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, box);
    QVERIFY(table.getCheckedRowsKeyValues().isEmpty());
    QCOMPARE(table.checkAllState(), Qt::Unchecked);
    QCOMPARE(checks.count(), 4);

    table.setRowChecked(1, true);
    QCOMPARE(table.getCheckedRowsKeyValues(), QStringList {"c2"});
    QVERIFY(!table.isRowChecked(7));
    QVERIFY(table.hasCheckAll());
    QVERIFY(!TableWidget(nullptr, false).hasCheckAll());
}

void TestCommonWidgets::cellClick_data()
{
    QTest::addColumn<bool>("checkable");
    QTest::addColumn<bool>("onInnerWidget");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("left on the cell") << true << false << int(Qt::LeftButton) << true << false;
    // A press on the inner widget counts as a press on the cell.
    QTest::newRow("left on the inner widget")
            << true << true << int(Qt::LeftButton) << true << false;
    QTest::newRow("right button") << true << false << int(Qt::RightButton) << false << false;
    QTest::newRow("not checkable") << false << false << int(Qt::LeftButton) << false << false;
    // A double click of the left button is the cell's and goes no further.
    QTest::newRow("double click") << false << true << int(Qt::LeftButton) << false << true;
    QTest::newRow("right double click passed on")
            << false << false << int(Qt::RightButton) << false << true;
}

void TestCommonWidgets::cellClick()
{
    QFETCH(bool, checkable);
    QFETCH(bool, onInnerWidget);
    QFETCH(int, button);
    QFETCH(bool, checked);
    QFETCH(bool, doubleClick);

    PressCountingParent grid;
    auto *cell = new CellWithOwnNumber(3, &grid);
    // The number shown goes through the setter a cell type may override.
    QCOMPARE(cell->getShowNum(), 4);
    static_cast<CanSelectWithNumWidget *>(cell)->setShowNum(5);
    QCOMPARE(cell->setCalls, 1);
    QCOMPARE(cell->getShowNum(), 5);
    (new QVBoxLayout(&grid))->addWidget(cell);
    grid.resize(200, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    cell->setWidgetChecked(true);
    QVERIFY(cell->isWidgetChecked());
    // Turning checkable off unchecks, and a not checkable cell cannot be checked.
    cell->setWidgetCheckable(checkable);
    cell->setWidgetChecked(false);
    cell->setWidgetChecked(!checkable);
    QVERIFY(!cell->isWidgetChecked());
    QSignalSpy checks(cell, &CanSelectWithNumWidget::signalWidgetIsChecked);
    QSignalSpy doubles(cell, &CanSelectWithNumWidget::signalWidgetDoubleClick);
    QWidget *target = onInnerWidget ? cell->getWidget() : cell;
    if (doubleClick) {
        const bool ours = button == Qt::LeftButton;
        sendMouse(target, QEvent::MouseButtonDblClick, QPoint(5, 5), Qt::MouseButton(button),
                  Qt::MouseButtons(button));
        QCOMPARE(doubles.count(), ours ? 1 : 0);
        if (ours)
            QCOMPARE(doubles.at(0).at(0).toInt(), 3);
        QCOMPARE(grid.doubleClicks, ours ? 0 : 1);
        return;
    }

    QTest::mouseClick(target, Qt::MouseButton(button), {}, QPoint(1, 1));
    QCOMPARE(cell->isWidgetChecked(), checked);
    QCOMPARE(checks.count(), checked ? 1 : 0);
    if (checked)
        QCOMPARE(checks.at(0).at(0).toInt(), 3);
    if (checkable)
        QCOMPARE(grid.presses, 1); // the press also reached the grid
}

void TestCommonWidgets::treeSearchHidesNonMatchingChannels_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("visible");
    QTest::addColumn<QStringList>("hiddenAreas");
    const QStringList all {"c-gate1", "c-gate2", "c-lobby", "c-park"};
    QTest::newRow("empty shows all") << "" << all << QStringList {};
    QTest::newRow("one channel, any case")
            << "gate cam 2" << QStringList {"c-gate2"} << QStringList {"a-south"};
    QTest::newRow("channel name part")
            << "cam" << QStringList {"c-gate1", "c-gate2"} << QStringList {"a-south"};
    QTest::newRow("area name shows its channels")
            << "south" << QStringList {"c-park"} << QStringList {"a-north", "a-gate"};
    QTest::newRow("outer area shows everything in it")
            << "north" << QStringList {"c-gate1", "c-gate2", "c-lobby"} << QStringList {"a-south"};
    QTest::newRow("chinese") << "大堂" << QStringList {"c-lobby"}
                             << QStringList {"a-gate", "a-south"};
    QTest::newRow("no match") << "zzz" << QStringList {}
                              << QStringList {"a-north", "a-gate", "a-south"};
}

void TestCommonWidgets::treeSearchHidesNonMatchingChannels()
{
    QFETCH(QString, text);
    QFETCH(QStringList, visible);
    QFETCH(QStringList, hiddenAreas);

    AreaWithChannelTree tree;
    tree.searchLineEdit()->setText(QStringLiteral("something else"));
    tree.searchLineEdit()->setText(text);
    QCOMPARE(tree.searchText(), text);
    QCOMPARE(visibleChannelKeys(tree.getTreeWidget()), visible);
    for (const char *key : {"a-north", "a-gate", "a-south"})
        QCOMPARE(tree.areaItem(QLatin1String(key))->isHidden(),
                 hiddenAreas.contains(QLatin1String(key)));
}

void TestCommonWidgets::treeLoadsSelectsDragsAndReloads()
{
    AreaWithChannelTree tree;
    QTreeWidget *widget = tree.getTreeWidget();
    QCOMPARE(tree.areaCount(), 3);
    QCOMPARE(tree.channelCount(), 4);

    // An area holds its sub-areas first, then its own channels.
    QCOMPARE(widget->topLevelItemCount(), 2);
    QCOMPARE(outline(widget->topLevelItem(0)),
             QStringLiteral("North[a-north]{Gate[a-gate]{Gate Cam 1[c-gate1]*,"
                            "Gate Cam 2[c-gate2]*},大堂 Lobby[c-lobby]*}"));
    QCOMPARE(outline(widget->topLevelItem(1)), QStringLiteral("South[a-south]{Parking[c-park]*}"));
    QCOMPARE(tree.areaItem(QStringLiteral("a-gate"))->type(), int(AreaTree::AreaItemType));
    QTreeWidgetItem *lobby = tree.channelItem(QStringLiteral("c-lobby"));
    QCOMPARE(lobby->data(0, AreaTree::AreaKeyRole).toString(), QStringLiteral("a-north"));
    QCOMPARE(lobby->data(0, AreaTree::DeviceKeyRole).toString(), QStringLiteral("d-1"));
    QCOMPARE(lobby->data(0, AreaTree::ChannelNoRole).toInt(), 3);
    QVERIFY(!tree.channelItem(QStringLiteral("missing")));

    QCOMPARE(widget->selectionMode(), QAbstractItemView::ExtendedSelection);
    QVERIFY(widget->dragEnabled());

    const auto select = [&tree](const QStringList &keys) {
        tree.getTreeWidget()->clearSelection();
        for (const QString &key : keys)
            (key.startsWith(QLatin1String("a-")) ? tree.areaItem(key) : tree.channelItem(key))
                    ->setSelected(true);
    };
    bool areaSelected = false;
    select({"c-lobby", "a-gate"});

    // What a drag of the selection carries (the view asks its model for the payload).
    QCOMPARE(widget->model()->mimeTypes().value(0), QStringLiteral("application/x-lumo-channels"));
    std::unique_ptr<QMimeData> data(
            widget->model()->mimeData(widget->selectionModel()->selectedIndexes()));
    QVERIFY(data && data->hasFormat(AreaWithChannelTree::channelMimeType()));
    QList<Channel> dragged;
    QVERIFY(AreaWithChannelTree::decodeChannelMimeData(data.get(), &dragged, &areaSelected));
    QVERIFY(areaSelected);
    QStringList keys = channelKeys(dragged);
    keys.sort();
    QCOMPARE(keys, QStringList({"c-gate1", "c-gate2", "c-lobby"}));
    QVERIFY(data->text().contains(QStringLiteral("Gate Cam 1")));

    // The drag only copies, so a drop can never take channels out of the tree, also
    // after the owner switches the view to drag-only.
    widget->setDragDropMode(QAbstractItemView::DragOnly);
    QCOMPARE(widget->model()->supportedDragActions(), Qt::DropActions(Qt::CopyAction));

    const QList<Channel> sent {{"a", "c1", "One"}, {"b", "c2", "Two"}};
    std::unique_ptr<QMimeData> encoded(AreaWithChannelTree::encodeChannelMimeData(sent, false));
    QList<Channel> received;
    QVERIFY(AreaWithChannelTree::decodeChannelMimeData(encoded.get(), &received, &areaSelected));
    QCOMPARE(received, sent);
    QVERIFY(!areaSelected);

    // Each channel once, where first met.
    select({"c-gate2", "a-gate"});
    QList<Channel> channels = tree.selectedChannels(&areaSelected);
    QVERIFY(areaSelected);
    QCOMPARE(channelKeys(channels), QStringList({"c-gate2", "c-gate1"}));
    QCOMPARE(channels.at(1),
             (Channel {QStringLiteral("a-gate"), QStringLiteral("c-gate1"),
                       QStringLiteral("Gate Cam 1")}));

    // An area gives its own channels, not those of its sub-areas.
    select({"a-north"});
    QCOMPARE(channelKeys(tree.selectedChannels(&areaSelected)), QStringList {"c-lobby"});
    QVERIFY(areaSelected);

    select({"c-park"});
    QCOMPARE(tree.selectedChannels(&areaSelected),
             QList<Channel>({{QStringLiteral("a-south"), QStringLiteral("c-park"),
                              QStringLiteral("Parking")}}));
    QVERIFY(!areaSelected);

    // What the search hides leaves the selection.
    select({"c-lobby", "c-park"});
    tree.searchLineEdit()->setText(QStringLiteral("park"));
    QCOMPARE(channelKeys(tree.selectedChannels()), QStringList {"c-park"});

    // Reloaded, the tree shows a new channel and keeps the search.
    tree.searchLineEdit()->setText(QStringLiteral("gate"));
    auto *core = DATACore::UserManagerCore::instance();
    QVERIFY2(core->addChannel({QStringLiteral("c-yard"), QStringLiteral("Yard"),
                               QStringLiteral("d-1"), 5, QStringLiteral("a-south")}),
             qPrintable(core->lastError()));
    QSignalSpy reloaded(&tree, &AreaTree::signalTreeReloaded);
    tree.reload();
    QCOMPARE(reloaded.count(), 1);
    QVERIFY(tree.channelItem(QStringLiteral("c-yard")));
    QCOMPARE(visibleChannelKeys(tree.getTreeWidget()), QStringList({"c-gate1", "c-gate2"}));
    tree.searchLineEdit()->clear();
    QCOMPARE(visibleChannelKeys(tree.getTreeWidget()).size(), 5);
}

void TestCommonWidgets::treeMimeDecodeRefusesMalformedData_data()
{
    QTest::addColumn<QByteArray>("payload");
    const auto stream = [](qint32 count, bool withEntry) {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_5_15);
        out << qint32(1) << false << count;
        if (withEntry)
            out << QStringLiteral("a") << QStringLiteral("c") << QStringLiteral("n");
        return bytes;
    };
    const QByteArray good = stream(1, true);
    QByteArray wrongVersion = good;
    wrongVersion[3] = 2;
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("garbage") << QByteArray("\x01\x02\x03");
    QTest::newRow("truncated") << good.left(good.size() - 3);
    QTest::newRow("trailing bytes") << good + QByteArray("xx");
    QTest::newRow("wrong version") << wrongVersion;
    QTest::newRow("huge count") << stream(0x7fffffff, false);
    QTest::newRow("negative count") << stream(-1, false);
}

void TestCommonWidgets::treeMimeDecodeRefusesMalformedData()
{
    QFETCH(QByteArray, payload);
    QMimeData data;
    data.setData(AreaWithChannelTree::channelMimeType(), payload);
    QList<Channel> channels {{"keep", "keep", "keep"}};
    QVERIFY(!AreaWithChannelTree::decodeChannelMimeData(&data, &channels));
    QCOMPARE(channels.size(), 1); // untouched

    QMimeData other;
    other.setText(QStringLiteral("c1"));
    QVERIFY(!AreaWithChannelTree::decodeChannelMimeData(&other, &channels));
    QVERIFY(!AreaWithChannelTree::decodeChannelMimeData(nullptr, &channels));
}

void TestCommonWidgets::moveableDialogDraggedByBodyNotByButtons()
{
    MoveableDialog dialog;
    QVERIFY(dialog.windowFlags() & Qt::FramelessWindowHint);
    auto *layout = new QVBoxLayout(&dialog);
    auto *label = new QLabel(QStringLiteral("Matrix Setting"), &dialog);
    auto *button = new QPushButton(QStringLiteral("Next"), &dialog);
    layout->addWidget(label);
    layout->addWidget(button);
    dialog.resize(300, 200);
    dialog.move(100, 100);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QPoint start = dialog.pos();

    // Pressed on the body and moved by (40, 25).
    sendMouse(&dialog, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
    QVERIFY(dialog.isDragging());
    sendMouse(&dialog, QEvent::MouseMove, QPoint(45, 30), Qt::NoButton, Qt::LeftButton);
    sendMouse(&dialog, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(dialog.pos(), start + QPoint(40, 25));
    QVERIFY(!dialog.isDragging());

    // A label leaves the mouse to the dialog: dragging it moves the window too.
    start = dialog.pos();
    sendMouse(label, QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton, Qt::LeftButton);
    QMouseEvent move(QEvent::MouseMove, QPoint(-8, 12), label->mapToGlobal(QPoint(-8, 12)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &move);
    QCOMPARE(dialog.pos(), start + QPoint(-10, 10));
    sendMouse(&dialog, QEvent::MouseButtonRelease, QPoint(0, 0), Qt::LeftButton, Qt::NoButton);

    // A button keeps its press.
    start = dialog.pos();
    sendMouse(button, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
    QVERIFY(!dialog.isDragging());
    sendMouse(&dialog, QEvent::MouseMove, QPoint(80, 80), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(dialog.pos(), start);
    sendMouse(button, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::LeftButton, Qt::NoButton);

    // Not movable: pressing and moving leaves it where it is.
    dialog.setMoveable(false);
    sendMouse(&dialog, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
    sendMouse(&dialog, QEvent::MouseMove, QPoint(60, 60), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(dialog.pos(), start);
}

void TestCommonWidgets::pictureHintButtonAndLanguage()
{
    PictureHintWidget chinese(2, 0);
    PictureHintWidget english(2, 1);
    PictureHintWidget other(2, 7);
    QVERIFY(chinese.hintText().contains(QString::fromUtf8("数字矩阵")));
    QVERIFY(english.hintText().startsWith(QStringLiteral("No digital matrix server")));
    QCOMPARE(other.hintText(), english.hintText());

    // The page takes addServerBtClicked; the other signal of the same click is the host's.
    QSignalSpy added(&english, &PictureHintWidget::signalAddServerBtClicked);
    QTest::mouseClick(english.addServerButton(), Qt::LeftButton);
    QCOMPARE(added.count(), 1);
}

QTEST_MAIN(TestCommonWidgets)
#include "tst_commonwidgets.moc"
