// Tests of the host's common widgets (COMMONUSELIB) and of the test helpers built on them.
#include "AreaWithChannelTree.h"
#include "CanSelectWithNumWidget.h"
#include "IpAddressFrame.h"
#include "MessageBoxScript.h"
#include "MessageBoxW.h"
#include "ModalDriver.h"
#include "MoveableDialog.h"
#include "PictureHintWidget.h"
#include "ServerOperWidget.h"
#include "ServerSelWidget.h"
#include "TableWidget.h"
#include "UserManagerCore.h"
#include "WaitDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDataStream>
#include <QFile>
#include <QGridLayout>
#include <QHeaderView>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

using namespace COMMONUSELIB;

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

// Types text the way a person does: each key goes to whatever has the focus then.
void typeIntoFocus(const QString &text)
{
    for (const QChar ch : text) {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY2(focus, "nothing has the keyboard focus");
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

} // namespace

class TestCommonWidgets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    // Message boxes.
    void messageBoxHookAnswersAndRecords_data();
    void messageBoxHookAnswersAndRecords();
    void messageBoxScriptQueuesDefaultsAndRestores();
    void messageBoxShownToPersonReturnsOneOnlyWhenAccepted_data();
    void messageBoxShownToPersonReturnsOneOnlyWhenAccepted();

    // Wait dialog.
    void waitDialogShowsTextWithoutBlockingAndClosesItself();
    void waitDialogHideStopsTheClock();
    void waitDialogShownAgainReplacesTextAndId();

    // IP address editor.
    void ipSetAndGet_data();
    void ipSetAndGet();
    void ipInvalidTextClearsFieldsAndReportsEmpty();
    void ipIncompleteAddressIsEmpty();
    void ipTypingMovesBetweenFields_data();
    void ipTypingMovesBetweenFields();
    void ipBackspaceAtStartMovesBack();

    // Server selector.
    void serverSelAddsWithoutSelecting();
    void serverSelSelectionSignalsCarryPreviousAndCurrent();
    void serverSelDeleteAndRename();
    void serverSelRefusesEmptyAndDuplicateIds();

    // Server operation bar.
    void serverOperConnectStateWithoutClickSignal();
    void serverOperStatusRoundTrip_data();
    void serverOperStatusRoundTrip();
    void serverOperButtonsEmitTheirSignals();

    // Table.
    void tableInsertsRowsUnderUniqueKeys();
    void tableCheckedRowsAndCheckAll();
    void tableDeletesByKey();

    // Numbered cell.
    void cellClickChecksCheckableCellAndReachesParent();
    void cellNotCheckableStaysUnchecked();
    void cellDoubleClickEmitsAndIsConsumed();
    void cellNumberAndVirtualSetter();

    // Area tree with channels.
    void treeLoadsNestedAreasWithChannels();
    void treeShowsTheSampleSite();
    void treeSearchHidesNonMatchingChannels_data();
    void treeSearchHidesNonMatchingChannels();
    void treeSearchDropsHiddenItemsFromSelection();
    void treeSelectedChannelsOncePerChannel();
    void treeDragCarriesSelectedChannels();
    void treeMimeDecodeRefusesMalformedData_data();
    void treeMimeDecodeRefusesMalformedData();
    void treeReloadShowsNewChannelsAndKeepsSearch();

    // Movable dialog and picture hint.
    void moveableDialogDraggedByBody();
    void moveableDialogNotDraggedThroughButtons();
    void moveableDialogExecResult_data();
    void moveableDialogExecResult();
    void pictureHintButtonAndLanguage();

private:
    QTemporaryDir m_dir;
};

void TestCommonWidgets::initTestCase()
{
    QVERIFY(m_dir.isValid());
    auto *core = DATACore::UserManagerCore::instance();
    QVERIFY2(core->open(m_dir.filePath(QStringLiteral("site.db"))), qPrintable(core->lastError()));

    const RegionInfo areas[] = {
            {QStringLiteral("a-north"), QStringLiteral("North"), QString()},
            {QStringLiteral("a-gate"), QStringLiteral("Gate"), QStringLiteral("a-north")},
            {QStringLiteral("a-south"), QStringLiteral("South"), QString()},
    };
    for (const RegionInfo &area : areas)
        QVERIFY2(core->addRegion(area), qPrintable(core->lastError()));

    UDeviceInfo device;
    device.struct_DeviceGuid = QStringLiteral("d-1");
    device.struct_DeviceName = QStringLiteral("NVR 1");
    device.struct_IpAddress = QStringLiteral("10.0.0.5");
    device.struct_port = 8000;
    device.struct_channelCount = 8;
    QVERIFY2(core->addDevice(device), qPrintable(core->lastError()));

    const DeviceChancelInfo channels[] = {
            {QStringLiteral("c-gate1"), QStringLiteral("Gate Cam 1"), QStringLiteral("d-1"), 1,
             QStringLiteral("a-gate")},
            {QStringLiteral("c-gate2"), QStringLiteral("Gate Cam 2"), QStringLiteral("d-1"), 2,
             QStringLiteral("a-gate")},
            {QStringLiteral("c-lobby"), QStringLiteral("Lobby"), QStringLiteral("d-1"), 3,
             QStringLiteral("a-north")},
            {QStringLiteral("c-park"), QStringLiteral("Parking"), QStringLiteral("d-1"), 4,
             QStringLiteral("a-south")},
    };
    for (const DeviceChancelInfo &channel : channels)
        QVERIFY2(core->addChannel(channel), qPrintable(core->lastError()));
}

void TestCommonWidgets::cleanupTestCase()
{
    DATACore::UserManagerCore::instance()->close();
}

// ---------------------------------------------------------------------------------------------
// Message boxes

void TestCommonWidgets::messageBoxHookAnswersAndRecords_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<short>("buttons");
    QTest::addColumn<short>("answer");

    QTest::newRow("warning notice") << "warning" << short(1) << short(1);
    QTest::newRow("warning question declined") << "warning" << short(3) << short(0);
    QTest::newRow("infomation question accepted") << "infomation" << short(3) << short(1);
    QTest::newRow("question") << "question" << short(3) << short(1);
    QTest::newRow("critical") << "critical" << short(1) << short(0);
}

void TestCommonWidgets::messageBoxHookAnswersAndRecords()
{
    QFETCH(QString, kind);
    QFETCH(short, buttons);
    QFETCH(short, answer);

    QWidget parent;
    QList<MessageBoxW::Record> seen;
    MessageBoxW::setAnswerHook([&](const MessageBoxW::Record &record) {
        seen << record;
        return answer;
    });
    short result = -1;
    const QString title = QStringLiteral("Prompt");
    const QString text = QStringLiteral("Delete selected server?");
    if (kind == QLatin1String("warning"))
        result = MessageBoxW::warning(&parent, title, text, buttons);
    else if (kind == QLatin1String("infomation"))
        result = MessageBoxW::infomation(&parent, title, text, buttons);
    else if (kind == QLatin1String("question"))
        result = MessageBoxW::question(&parent, title, text, buttons);
    else
        result = MessageBoxW::critical(&parent, title, text, buttons);
    MessageBoxW::setAnswerHook({});

    QCOMPARE(result, answer);
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen.at(0).kind, kind);
    QCOMPARE(seen.at(0).parent, &parent);
    QCOMPARE(seen.at(0).title, title);
    QCOMPARE(seen.at(0).text, text);
    QCOMPARE(seen.at(0).buttons, buttons);
    QVERIFY(!QApplication::activeModalWidget());
}

void TestCommonWidgets::messageBoxScriptQueuesDefaultsAndRestores()
{
    QVERIFY(!MessageBoxW::answerHook());
    {
        MessageBoxScript outer(1);
        {
            MessageBoxScript inner;
            inner.answer(1).answer(0);
            QCOMPARE(MessageBoxW::infomation(nullptr, "Prompt", "first", 3), short(1));
            QCOMPARE(MessageBoxW::warning(nullptr, "Warn", "second", 3), short(0));
            QCOMPARE(MessageBoxW::infomation(nullptr, "Prompt", "third", 1), short(0)); // default
            QCOMPARE(inner.count(), 3);
            QCOMPARE(inner.texts(), QStringList({"first", "second", "third"}));
            QCOMPARE(inner.titles(), QStringList({"Prompt", "Warn", "Prompt"}));
            QCOMPARE(inner.records().at(1).kind, QStringLiteral("warning"));
            QCOMPARE(inner.unansweredCount(), 1);
            QCOMPARE(inner.pendingAnswers(), 0);
        }
        // The outer script answers again, with its own default.
        QCOMPARE(MessageBoxW::warning(nullptr, "Warn", "fourth", 3), short(1));
        QCOMPARE(outer.count(), 1);
        QCOMPARE(outer.last().text, QStringLiteral("fourth"));
    }
    QVERIFY(!MessageBoxW::answerHook());
}

void TestCommonWidgets::messageBoxShownToPersonReturnsOneOnlyWhenAccepted_data()
{
    QTest::addColumn<short>("buttons");
    QTest::addColumn<QString>("press"); // object name of the button, or "escape"
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<short>("expected");

    QTest::newRow("yes") << short(3) << "yesBt" << QStringList {"Yes", "No"} << short(1);
    QTest::newRow("no") << short(3) << "noBt" << QStringList {"Yes", "No"} << short(0);
    QTest::newRow("escape on question")
            << short(3) << "escape" << QStringList {"Yes", "No"} << short(0);
    QTest::newRow("notice ok") << short(1) << "okBt" << QStringList {"OK"} << short(1);
    QTest::newRow("unknown set is a notice")
            << short(7) << "okBt" << QStringList {"OK"} << short(1);
}

void TestCommonWidgets::messageBoxShownToPersonReturnsOneOnlyWhenAccepted()
{
    QFETCH(short, buttons);
    QFETCH(QString, press);
    QFETCH(QStringList, captions);
    QFETCH(short, expected);

    QString shownTitle;
    QString shownText;
    QStringList shownCaptions;
    ModalDriver driver([&](QWidget *modal) {
        shownTitle = modal->windowTitle();
        if (auto *label = modal->findChild<QLabel *>(QStringLiteral("textLabel")))
            shownText = label->text();
        for (QPushButton *button : modal->findChildren<QPushButton *>())
            shownCaptions << button->text();
        if (press == QLatin1String("escape")) {
            QTest::keyClick(modal, Qt::Key_Escape);
        } else if (auto *button = modal->findChild<QPushButton *>(press)) {
            QTest::mouseClick(button, Qt::LeftButton);
        }
    });
    driver.start();
    const short result = MessageBoxW::infomation(
            nullptr, QStringLiteral("Prompt"), QStringLiteral("Whether start turn show?"), buttons);
    QVERIFY(driver.ran());
    QCOMPARE(driver.modalClassName(), QStringLiteral("COMMONUSELIB::MessageBoxW"));
    QCOMPARE(result, expected);
    QCOMPARE(shownTitle, QStringLiteral("Prompt"));
    QCOMPARE(shownText, QStringLiteral("Whether start turn show?"));
    QCOMPARE(shownCaptions, captions);
}

// ---------------------------------------------------------------------------------------------
// Wait dialog

void TestCommonWidgets::waitDialogShowsTextWithoutBlockingAndClosesItself()
{
    WaitDialog *wait = WaitDialog::getInstance();
    QCOMPARE(WaitDialog::getInstance(), wait);
    QSignalSpy timeouts(wait, &WaitDialog::signalWaitTimeout);
    const QUuid id = QUuid::createUuid();

    wait->showWaitDialog(QStringLiteral("Connecting..."), id, 60);
    // The call returned at once: the dialog is up, not modal, and still waiting.
    QVERIFY(wait->isWaiting());
    QVERIFY(wait->isVisible());
    QCOMPARE(wait->text(), QStringLiteral("Connecting..."));
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(timeouts.count(), 0);

    QTRY_VERIFY(!wait->isWaiting());
    QVERIFY(!wait->isVisible());
    QCOMPARE(timeouts.count(), 1);
    QCOMPARE(timeouts.at(0).at(0).value<QUuid>(), id);
}

void TestCommonWidgets::waitDialogHideStopsTheClock()
{
    WaitDialog *wait = WaitDialog::getInstance();
    QSignalSpy timeouts(wait, &WaitDialog::signalWaitTimeout);
    wait->showWaitDialog(QStringLiteral("Delete matrix server..."), QUuid(), 15000);
    auto *clock = wait->findChild<QTimer *>();
    QVERIFY(clock);
    QVERIFY(clock->isActive());
    QVERIFY(clock->remainingTime() > 14000);

    wait->hideWaitDialog();
    QVERIFY(!wait->isWaiting());
    QVERIFY(!wait->isVisible());
    QVERIFY(!clock->isActive());
    QCOMPARE(timeouts.count(), 0);

    // No time-out at all: the dialog waits until it is hidden.
    wait->showWaitDialog(QStringLiteral("Upgrading"), QUuid(), 0);
    QVERIFY(wait->isWaiting());
    QVERIFY(!clock->isActive());
    wait->hideWaitDialog();
    QVERIFY(!wait->isVisible());
}

void TestCommonWidgets::waitDialogShownAgainReplacesTextAndId()
{
    WaitDialog *wait = WaitDialog::getInstance();
    QSignalSpy timeouts(wait, &WaitDialog::signalWaitTimeout);
    const QUuid second = QUuid::createUuid();
    wait->showWaitDialog(QStringLiteral("Add matrix server..."), QUuid::createUuid(), 15000);
    wait->showWaitDialog(QStringLiteral("Edit matrix server..."), second, 40);
    QCOMPARE(wait->text(), QStringLiteral("Edit matrix server..."));
    QCOMPARE(wait->waitId(), second);
    QTRY_COMPARE(timeouts.count(), 1);
    QCOMPARE(timeouts.at(0).at(0).value<QUuid>(), second);
    QVERIFY(!wait->isWaiting());
}

// ---------------------------------------------------------------------------------------------
// IP address editor

void TestCommonWidgets::ipSetAndGet_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("private") << "192.168.1.10"
                             << "192.168.1.10";
    QTest::newRow("zeros") << "0.0.0.0"
                           << "0.0.0.0";
    QTest::newRow("broadcast") << "255.255.255.255"
                               << "255.255.255.255";
    QTest::newRow("octet too big") << "256.1.1.1"
                                   << "";
    QTest::newRow("three parts") << "10.1.1"
                                 << "";
    QTest::newRow("five parts") << "10.1.1.1.1"
                                << "";
    QTest::newRow("empty part") << "10..1.1"
                                << "";
    QTest::newRow("letters") << "a.b.c.d"
                             << "";
    QTest::newRow("spaces") << " 10.1.1.1"
                            << "";
    QTest::newRow("leading zero") << "010.1.1.1"
                                  << "";
    QTest::newRow("sign") << "+1.1.1.1"
                          << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestCommonWidgets::ipSetAndGet()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);

    IpAddressFrame frame;
    frame.setIp(input);
    QCOMPARE(frame.getIp(), expected);
    QCOMPARE(IpAddressFrame::isValidIp(input), !expected.isEmpty());
    const QStringList parts =
            expected.isEmpty() ? QStringList {"", "", "", ""} : expected.split(QLatin1Char('.'));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(frame.field(i)->text(), parts.at(i));
}

void TestCommonWidgets::ipInvalidTextClearsFieldsAndReportsEmpty()
{
    IpAddressFrame frame;
    QSignalSpy changes(&frame, &IpAddressFrame::ipChanged);
    frame.setIp(QStringLiteral("172.16.0.9"));
    QCOMPARE(changes.count(), 1); // one signal for the whole address, not one per field
    QCOMPARE(changes.at(0).at(0).toString(), QStringLiteral("172.16.0.9"));

    frame.setIp(QStringLiteral("172.16.0.300"));
    QCOMPARE(frame.getIp(), QString());
    QVERIFY(frame.isEmpty());
    for (int i = 0; i < 4; ++i)
        QVERIFY(frame.field(i)->text().isEmpty());
    QCOMPARE(changes.count(), 2);
    QCOMPARE(changes.at(1).at(0).toString(), QString());

    frame.setIp(QStringLiteral("nonsense")); // already empty: nothing changes
    QCOMPARE(changes.count(), 2);
}

void TestCommonWidgets::ipIncompleteAddressIsEmpty()
{
    IpAddressFrame frame;
    frame.setIp(QStringLiteral("10.20.30.40"));
    QSignalSpy changes(&frame, &IpAddressFrame::ipChanged);
    frame.field(2)->clear();
    QCOMPARE(frame.getIp(), QString());
    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes.at(0).at(0).toString(), QString());
    frame.field(2)->setText(QStringLiteral("7"));
    QCOMPARE(frame.getIp(), QStringLiteral("10.20.7.40"));
    QCOMPARE(changes.count(), 2);
}

void TestCommonWidgets::ipTypingMovesBetweenFields_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("dots") << "192.168.1.20"
                          << "192.168.1.20";
    QTest::newRow("full octets move on") << "255.255.255.255"
                                         << "255.255.255.255";
    QTest::newRow("zero is a full octet") << "10.0.0.1"
                                          << "10.0.0.1";
    QTest::newRow("no further digit fits") << "30.26.4.8"
                                           << "30.26.4.8";
    QTest::newRow("letters are not typed") << "1x.2.3.4"
                                           << "1.2.3.4";
    QTest::newRow("too big is not typed") << "1.2.3.256"
                                          << "1.2.3.25";
}

void TestCommonWidgets::ipTypingMovesBetweenFields()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);

    IpAddressFrame frame;
    frame.show();
    QApplication::setActiveWindow(&frame);
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    frame.field(0)->setFocus();
    QCOMPARE(QApplication::focusWidget(), frame.field(0));

    typeIntoFocus(typed);
    QCOMPARE(frame.getIp(), expected);
    QCOMPARE(QApplication::focusWidget(), frame.field(3));
}

void TestCommonWidgets::ipBackspaceAtStartMovesBack()
{
    IpAddressFrame frame;
    frame.show();
    QApplication::setActiveWindow(&frame);
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    frame.field(0)->setFocus();
    typeIntoFocus(QStringLiteral("192.16."));
    QCOMPARE(QApplication::focusWidget(), frame.field(2));

    QTest::keyClick(frame.field(2), Qt::Key_Backspace); // empty field: go back
    QCOMPARE(QApplication::focusWidget(), frame.field(1));
    QCOMPARE(frame.field(1)->cursorPosition(), 2);
    QTest::keyClick(frame.field(1), Qt::Key_Backspace); // inside a field: an ordinary backspace
    QCOMPARE(frame.field(1)->text(), QStringLiteral("1"));
    QCOMPARE(QApplication::focusWidget(), frame.field(1));
}

// ---------------------------------------------------------------------------------------------
// Server selector

void TestCommonWidgets::serverSelAddsWithoutSelecting()
{
    ServerSelWidget selector;
    QSignalSpy changes(&selector, &ServerSelWidget::signalServerSelChanged);
    QVERIFY(selector.addServer(QStringLiteral("s1"), QStringLiteral("Wall A")));
    QVERIFY(selector.addServer(QStringLiteral("s2"), QStringLiteral("Wall B")));
    QVERIFY(selector.addServer(QStringLiteral("s3"), QStringLiteral("Wall C")));

    QCOMPARE(selector.serverCount(), 3);
    QCOMPARE(selector.getServerIndex(QStringLiteral("s1")), 0);
    QCOMPARE(selector.getServerIndex(QStringLiteral("s3")), 2);
    QCOMPARE(selector.getServerIndex(QStringLiteral("nope")), -1);
    QCOMPARE(selector.getServerIndex(QString()), -1);
    QCOMPARE(selector.serverButton(QStringLiteral("s2"))->text(), QStringLiteral("Wall B"));
    QCOMPARE(selector.currentServerId(), QString());
    QCOMPARE(changes.count(), 0);

    QSignalSpy addClicks(&selector, &ServerSelWidget::signalAddServerBtClicked);
    QTest::mouseClick(selector.addButton(), Qt::LeftButton);
    QCOMPARE(addClicks.count(), 1);
    QCOMPARE(selector.serverCount(), 3);
}

void TestCommonWidgets::serverSelSelectionSignalsCarryPreviousAndCurrent()
{
    ServerSelWidget selector;
    for (const char *id : {"s1", "s2", "s3"})
        selector.addServer(QLatin1String(id), QString::fromLatin1(id).toUpper());
    QSignalSpy changes(&selector, &ServerSelWidget::signalServerSelChanged);
    auto checkedIds = [&selector] {
        QStringList ids;
        for (const char *id : {"s1", "s2", "s3"}) {
            if (selector.serverButton(QLatin1String(id))->isChecked())
                ids << QLatin1String(id);
        }
        return ids;
    };

    selector.setCurSelServerBtToFirst();
    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes.at(0), QVariantList({QString(), QStringLiteral("s1")}));
    QCOMPARE(checkedIds(), QStringList {"s1"});

    selector.setCurSelServerBtToFirst(); // no change, no signal
    QCOMPARE(changes.count(), 1);

    selector.setCurSelServerBtToLast();
    QCOMPARE(changes.count(), 2);
    QCOMPARE(changes.at(1), QVariantList({QStringLiteral("s1"), QStringLiteral("s3")}));
    QCOMPARE(checkedIds(), QStringList {"s3"});

    QTest::mouseClick(selector.serverButton(QStringLiteral("s2")), Qt::LeftButton);
    QCOMPARE(changes.count(), 3);
    QCOMPARE(changes.at(2), QVariantList({QStringLiteral("s3"), QStringLiteral("s2")}));
    QCOMPARE(selector.currentServerId(), QStringLiteral("s2"));
    QCOMPARE(selector.currentServerIndex(), 1);
    QCOMPARE(checkedIds(), QStringList {"s2"});

    // Clicking the selected server again keeps it selected and says nothing.
    QTest::mouseClick(selector.serverButton(QStringLiteral("s2")), Qt::LeftButton);
    QCOMPARE(changes.count(), 3);
    QCOMPARE(checkedIds(), QStringList {"s2"});

    QVERIFY(!selector.setCurrentServer(QStringLiteral("unknown")));
    QCOMPARE(selector.currentServerId(), QStringLiteral("s2"));
    QCOMPARE(changes.count(), 3);
}

void TestCommonWidgets::serverSelDeleteAndRename()
{
    ServerSelWidget selector;
    for (const char *id : {"s1", "s2", "s3"})
        selector.addServer(QLatin1String(id), QLatin1String(id));
    selector.setCurSelServerBtToLast();
    QSignalSpy changes(&selector, &ServerSelWidget::signalServerSelChanged);

    QVERIFY(selector.updateServerName(QStringLiteral("s3"), QStringLiteral("Lobby wall")));
    QCOMPARE(selector.serverName(QStringLiteral("s3")), QStringLiteral("Lobby wall"));
    QCOMPARE(selector.serverButton(QStringLiteral("s3"))->text(), QStringLiteral("Lobby wall"));
    QVERIFY(!selector.updateServerName(QStringLiteral("s9"), QStringLiteral("x")));

    // Another server goes: the selection stays, positions close up.
    QVERIFY(selector.deleteServer(QStringLiteral("s1")));
    QCOMPARE(changes.count(), 0);
    QCOMPARE(selector.currentServerId(), QStringLiteral("s3"));
    QCOMPARE(selector.getServerIndex(QStringLiteral("s3")), 1);
    QCOMPARE(selector.getServerIndex(QStringLiteral("s1")), -1);
    QVERIFY(!selector.deleteServer(QStringLiteral("s1")));

    // The selected server goes: nothing is selected.
    QVERIFY(selector.deleteServer(QStringLiteral("s3")));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes.at(0), QVariantList({QString(), QString()}));
    QCOMPARE(selector.currentServerId(), QString());
    QCOMPARE(selector.serverCount(), 1);
    QVERIFY(!selector.serverButton(QStringLiteral("s2"))->isChecked());

    selector.setCurSelServerBtToFirst();
    QCOMPARE(changes.count(), 2);
    QCOMPARE(changes.at(1), QVariantList({QString(), QStringLiteral("s2")}));

    // The last server goes: the current id becomes empty.
    QVERIFY(selector.deleteServer(QStringLiteral("s2")));
    QCOMPARE(changes.count(), 3);
    QCOMPARE(changes.at(2), QVariantList({QString(), QString()}));
    QCOMPARE(selector.serverCount(), 0);
    selector.setCurSelServerBtToFirst(); // empty row: nothing to select
    selector.setCurSelServerBtToLast();
    QCOMPARE(changes.count(), 3);
}

void TestCommonWidgets::serverSelRefusesEmptyAndDuplicateIds()
{
    ServerSelWidget selector;
    QVERIFY(!selector.addServer(QString(), QStringLiteral("No id")));
    QVERIFY(selector.addServer(QStringLiteral("s1"), QStringLiteral("First")));
    QVERIFY(!selector.addServer(QStringLiteral("s1"), QStringLiteral("Renamed")));
    QCOMPARE(selector.serverCount(), 1);
    QCOMPARE(selector.serverName(QStringLiteral("s1")), QStringLiteral("Renamed"));
}

// ---------------------------------------------------------------------------------------------
// Server operation bar

void TestCommonWidgets::serverOperConnectStateWithoutClickSignal()
{
    ServerOperWidget oper;
    QSignalSpy clicks(&oper, &ServerOperWidget::signalConnectServerBtClicked);
    QVERIFY(!oper.isServerConnectOK());
    QCOMPARE(oper.connectButton()->text(), QStringLiteral("Connect"));

    oper.setServerConnectOk(true);
    QVERIFY(oper.isServerConnectOK());
    QVERIFY(oper.connectButton()->isChecked());
    QCOMPARE(oper.connectButton()->text(), QStringLiteral("Disconnect"));
    oper.setServerConnectOk(false);
    QCOMPARE(oper.connectButton()->text(), QStringLiteral("Connect"));
    QCOMPARE(clicks.count(), 0);

    QCOMPARE(ServerOperWidget::generateServerDescribe(QStringLiteral("Wall %1"),
                                                      QStringLiteral("10.0.0.7"), 6000),
             QStringLiteral("Wall %1 (10.0.0.7:6000)"));
    oper.setServerDescribe(QStringLiteral("Lobby (10.0.0.7:6000)"));
    QCOMPARE(oper.otherHint(), QStringLiteral("Lobby (10.0.0.7:6000)"));
}

void TestCommonWidgets::serverOperStatusRoundTrip_data()
{
    QTest::addColumn<QStringList>("restored");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("connected") << QStringList {"1", "Digital matrix server connect ok!", "A (1:2)"}
                               << QStringList {"1", "Digital matrix server connect ok!", "A (1:2)"};
    QTest::newRow("not connected")
            << QStringList {"0", "Digital matrix server not connect yet!", "B (3:4)"}
            << QStringList {"0", "Digital matrix server not connect yet!", "B (3:4)"};
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
    oper.setServerConnectOk(true);
    oper.setConnectServerHint(QStringLiteral("old hint"));
    oper.setOtherHint(QStringLiteral("old other"));
    QCOMPARE(oper.getServerStatus(), QStringList({"1", "old hint", "old other"}));

    QSignalSpy clicks(&oper, &ServerOperWidget::signalConnectServerBtClicked);
    oper.setServerStatus(restored);
    QCOMPARE(oper.getServerStatus(), expected);
    QCOMPARE(oper.isServerConnectOK(), expected.at(0) == QLatin1String("1"));
    QCOMPARE(oper.connectServerHint(), expected.at(1));
    QCOMPARE(oper.otherHint(), expected.at(2));
    QCOMPARE(clicks.count(), 0);
}

void TestCommonWidgets::serverOperButtonsEmitTheirSignals()
{
    ServerOperWidget oper;
    QSignalSpy connects(&oper, &ServerOperWidget::signalConnectServerBtClicked);
    QSignalSpy edits(&oper, &ServerOperWidget::signalEditServerBtClicked);
    QSignalSpy deletes(&oper, &ServerOperWidget::signalDeleteServerBtClicked);

    QTest::mouseClick(oper.connectButton(), Qt::LeftButton);
    QCOMPARE(connects.count(), 1);
    QCOMPARE(connects.at(0).at(0).toBool(), true); // asks to connect
    QTest::mouseClick(oper.connectButton(), Qt::LeftButton);
    QCOMPARE(connects.count(), 2);
    QCOMPARE(connects.at(1).at(0).toBool(), false); // asks to disconnect
    QTest::mouseClick(oper.editButton(), Qt::LeftButton);
    QTest::mouseClick(oper.deleteButton(), Qt::LeftButton);
    QCOMPARE(edits.count(), 1);
    QCOMPARE(deletes.count(), 1);
}

// ---------------------------------------------------------------------------------------------
// Table

void TestCommonWidgets::tableInsertsRowsUnderUniqueKeys()
{
    TableWidget table(nullptr, true);
    table.setHeaderViewColumnName({"", "Channel Name", "Device Name"});
    QCOMPARE(table.columnCount(), 3);
    QCOMPARE(table.horizontalHeaderItem(1)->text(), QStringLiteral("Channel Name"));

    QCOMPARE(table.insertBack({"Gate Cam 1", "NVR 1"}, QStringLiteral("c1"), {}), 0);
    QCOMPARE(table.insertBack({"Gate Cam 2", "NVR 1"}, QStringLiteral("c2"), {2}), 1);
    QCOMPARE(table.insertBack({"Again", "NVR 2"}, QStringLiteral("c1"), {}), -1);
    QCOMPARE(table.insertBack({"No key", "NVR 2"}, QString(), {}), -1);
    QCOMPARE(table.rowCount(), 2);

    QCOMPARE(table.item(0, 1)->text(), QStringLiteral("Gate Cam 1"));
    QCOMPARE(table.item(1, 2)->text(), QStringLiteral("NVR 1"));
    QCOMPARE(table.getRowKeyValue(0), QStringLiteral("c1"));
    QCOMPARE(table.getRowKeyValue(1), QStringLiteral("c2"));
    QCOMPARE(table.getRowKeyValue(2), QString());
    QCOMPARE(table.getRowKeyValue(-1), QString());
    QVERIFY(!(table.item(0, 1)->flags() & Qt::ItemIsEditable));
    QVERIFY(!(table.item(1, 1)->flags() & Qt::ItemIsEditable));
    QVERIFY(table.item(1, 2)->flags() & Qt::ItemIsEditable);
    QVERIFY(table.item(0, 0)->flags() & Qt::ItemIsUserCheckable);

    // More texts than columns: the table grows.
    QCOMPARE(table.insertBack({"a", "b", "c"}, QStringLiteral("c3")), 2);
    QCOMPARE(table.columnCount(), 4);
}

void TestCommonWidgets::tableCheckedRowsAndCheckAll()
{
    TableWidget table(nullptr, true);
    table.setHeaderViewColumnName({"", "Channel Name", "Device Name"});
    for (const char *key : {"c1", "c2", "c3"})
        table.insertBack({QLatin1String(key), QStringLiteral("NVR")}, QLatin1String(key));
    table.resize(400, 200);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    QSignalSpy checks(&table, &TableWidget::signalCheckedRowsChanged);

    QVERIFY(table.getCheckedRowsKeyValues().isEmpty());
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
    QVERIFY(table.isRowChecked(1));
    QVERIFY(!table.isRowChecked(7));
}

void TestCommonWidgets::tableDeletesByKey()
{
    TableWidget table(nullptr, false);
    QVERIFY(!table.hasCheckAll());
    table.setHeaderViewColumnName({"", "Channel Name", "Device Name"});
    for (const char *key : {"c1", "c2", "c3"})
        table.insertBack({QLatin1String(key), QStringLiteral("NVR")}, QLatin1String(key));
    table.setRowChecked(1, true);

    QVERIFY(table.deleteRowByKeyValue(QStringLiteral("c1")));
    QVERIFY(!table.deleteRowByKeyValue(QStringLiteral("c1")));
    QVERIFY(!table.deleteRowByKeyValue(QString()));
    QCOMPARE(table.getAllRowsKeyValues(), QStringList({"c2", "c3"}));
    QCOMPARE(table.item(0, 1)->text(), QStringLiteral("c2"));
    QCOMPARE(table.getCheckedRowsKeyValues(), QStringList {"c2"});
    QCOMPARE(table.rowOfKeyValue(QStringLiteral("c3")), 1);

    table.deleteAllRows();
    QCOMPARE(table.rowCount(), 0);
    QCOMPARE(table.columnCount(), 3); // the columns stay
    QVERIFY(table.getCheckedRowsKeyValues().isEmpty());
    QCOMPARE(table.insertBack({"again", "NVR"}, QStringLiteral("c1")), 0);
}

// ---------------------------------------------------------------------------------------------
// Numbered cell

void TestCommonWidgets::cellClickChecksCheckableCellAndReachesParent()
{
    PressCountingParent grid;
    auto *layout = new QVBoxLayout(&grid);
    auto *cell = new CanSelectWithNumWidget(3, &grid);
    layout->addWidget(cell);
    grid.resize(200, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy checked(cell, &CanSelectWithNumWidget::signalWidgetIsChecked);

    QTest::mouseClick(cell, Qt::LeftButton, {}, QPoint(1, 1));
    QCOMPARE(checked.count(), 1);
    QCOMPARE(checked.at(0).at(0).toInt(), 3);
    QVERIFY(cell->isWidgetChecked());
    QCOMPARE(grid.presses, 1); // the press also reached the grid

    // A press on the inner widget counts as a press on the cell.
    cell->setWidgetChecked(false);
    QTest::mouseClick(cell->getWidget(), Qt::LeftButton);
    QCOMPARE(checked.count(), 2);
    QVERIFY(cell->isWidgetChecked());
    QCOMPARE(grid.presses, 2);

    // Other buttons do not check.
    cell->setWidgetChecked(false);
    QTest::mouseClick(cell, Qt::RightButton);
    QCOMPARE(checked.count(), 2);
    QVERIFY(!cell->isWidgetChecked());
    QCOMPARE(grid.presses, 3);
}

void TestCommonWidgets::cellNotCheckableStaysUnchecked()
{
    CanSelectWithNumWidget cell(0);
    cell.resize(80, 80);
    QSignalSpy checked(&cell, &CanSelectWithNumWidget::signalWidgetIsChecked);
    cell.setWidgetChecked(true);
    QVERIFY(cell.isWidgetChecked());

    cell.setWidgetCheckable(false);
    QVERIFY(!cell.isWidgetCheckable());
    QVERIFY(!cell.isWidgetChecked()); // turning checkable off unchecks
    cell.setWidgetChecked(true);
    QVERIFY(!cell.isWidgetChecked());
    QTest::mouseClick(&cell, Qt::LeftButton);
    QCOMPARE(checked.count(), 0);
    QVERIFY(!cell.isWidgetChecked());

    cell.setWidgetCheckable(true);
    QTest::mouseClick(&cell, Qt::LeftButton);
    QCOMPARE(checked.count(), 1);
    QVERIFY(cell.isWidgetChecked());
}

void TestCommonWidgets::cellDoubleClickEmitsAndIsConsumed()
{
    PressCountingParent grid;
    auto *layout = new QVBoxLayout(&grid);
    auto *cell = new CanSelectWithNumWidget(5, &grid);
    cell->setWidgetCheckable(false);
    layout->addWidget(cell);
    grid.resize(200, 200);
    QSignalSpy doubles(cell, &CanSelectWithNumWidget::signalWidgetDoubleClick);

    sendMouse(cell->getWidget(), QEvent::MouseButtonDblClick, QPoint(5, 5), Qt::LeftButton,
              Qt::LeftButton);
    QCOMPARE(doubles.count(), 1);
    QCOMPARE(doubles.at(0).at(0).toInt(), 5);
    QCOMPARE(grid.doubleClicks, 0);

    sendMouse(cell, QEvent::MouseButtonDblClick, QPoint(5, 5), Qt::RightButton, Qt::RightButton);
    QCOMPARE(doubles.count(), 1);
    QCOMPARE(grid.doubleClicks, 1); // not ours: passed on
}

void TestCommonWidgets::cellNumberAndVirtualSetter()
{
    CellWithOwnNumber cell(2);
    QCOMPARE(cell.getIndex(), 2);
    QCOMPARE(cell.getShowNum(), 3);
    CanSelectWithNumWidget *base = &cell;
    base->setShowNum(4);
    QCOMPARE(cell.setCalls, 1);
    QCOMPARE(cell.getShowNum(), 4);

    cell.setShowNumVisible(false);
    QVERIFY(!cell.isShowNumVisible());
    cell.setPeerWidgetCount(4);
    QCOMPARE(cell.getPeerWidgetCount(), 4);
    QCOMPARE(cell.getSplitScreenCount(), 1);
    cell.setSplitScreenCount(9);
    QCOMPARE(cell.getSplitScreenCount(), 9);

    // Its inner widget takes a layout of the owner's panes.
    auto *panes = new QGridLayout(cell.getWidget());
    panes->addWidget(new QWidget, 0, 0);
    QCOMPARE(cell.getWidget()->layout(), panes);

    QImage image(cell.size().expandedTo(QSize(60, 60)), QImage::Format_ARGB32);
    cell.resize(image.size());
    cell.render(&image); // painting with the number hidden and shown
    cell.setShowNumVisible(true);
    cell.render(&image);
}

// ---------------------------------------------------------------------------------------------
// Area tree with channels

void TestCommonWidgets::treeLoadsNestedAreasWithChannels()
{
    AreaWithChannelTree tree;
    QTreeWidget *widget = tree.getTreeWidget();
    QCOMPARE(tree.treeWidget(), widget);
    QCOMPARE(tree.areaCount(), 3);
    QCOMPARE(tree.channelCount(), 4);
    QCOMPARE(tree.layout()->itemAt(0)->widget(), tree.searchLineEdit());

    QCOMPARE(widget->topLevelItemCount(), 2);
    QTreeWidgetItem *north = widget->topLevelItem(0);
    QCOMPARE(north->text(0), QStringLiteral("North"));
    QCOMPARE(north->type(), 0);
    QCOMPARE(north->data(0, Qt::UserRole).toString(), QStringLiteral("a-north"));
    QCOMPARE(widget->topLevelItem(1)->text(0), QStringLiteral("South"));

    // North holds its sub-area first, then its own channel.
    QCOMPARE(north->childCount(), 2);
    QTreeWidgetItem *gate = north->child(0);
    QCOMPARE(gate->text(0), QStringLiteral("Gate"));
    QCOMPARE(gate->type(), int(AreaTree::AreaItemType));
    QCOMPARE(gate, tree.areaItem(QStringLiteral("a-gate")));
    QTreeWidgetItem *lobby = north->child(1);
    QCOMPARE(lobby->type(), int(AreaTree::ChannelItemType));
    QCOMPARE(lobby->text(0), QStringLiteral("Lobby"));
    QCOMPARE(lobby->data(0, Qt::UserRole).toString(), QStringLiteral("c-lobby"));
    QCOMPARE(lobby->data(0, AreaTree::AreaKeyRole).toString(), QStringLiteral("a-north"));
    QCOMPARE(lobby->data(0, AreaTree::DeviceKeyRole).toString(), QStringLiteral("d-1"));
    QCOMPARE(lobby->data(0, AreaTree::ChannelNoRole).toInt(), 3);

    QCOMPARE(gate->childCount(), 2);
    QCOMPARE(gate->child(0)->text(0), QStringLiteral("Gate Cam 1"));
    QCOMPARE(gate->child(1)->data(0, Qt::UserRole).toString(), QStringLiteral("c-gate2"));
    QCOMPARE(tree.channelItem(QStringLiteral("c-park"))->parent()->text(0),
             QStringLiteral("South"));
    QVERIFY(!tree.channelItem(QStringLiteral("missing")));

    QCOMPARE(widget->selectionMode(), QAbstractItemView::ExtendedSelection);
    QVERIFY(widget->dragEnabled());
}

void TestCommonWidgets::treeShowsTheSampleSite()
{
    QFile file(QString::fromLocal8Bit(qgetenv("DM_TEST_DATA"))
               + QStringLiteral("/sample_site.json"));
    if (!file.exists())
        QSKIP("DM_TEST_DATA does not name the test data folder");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonObject site = QJsonDocument::fromJson(file.readAll()).object();
    const QJsonArray areas = site.value(QStringLiteral("areas")).toArray();
    const QJsonArray channels = site.value(QStringLiteral("channels")).toArray();
    QVERIFY(!areas.isEmpty());

    // A second database for the sample; the shared one is opened again afterwards.
    auto *core = DATACore::UserManagerCore::instance();
    const QString shared = core->databaseFile();
    auto reopen = qScopeGuard([core, shared] { core->open(shared); });
    QVERIFY2(core->open(m_dir.filePath(QStringLiteral("sample.db"))),
             qPrintable(core->lastError()));
    QVERIFY2(core->importSiteFile(file.fileName()), qPrintable(core->lastError()));

    AreaWithChannelTree tree;
    QCOMPARE(tree.areaCount(), areas.size());
    QCOMPARE(tree.channelCount(), channels.size());
    for (const QJsonValue &value : areas) {
        const QJsonObject area = value.toObject();
        QTreeWidgetItem *item = tree.areaItem(area.value(QStringLiteral("key")).toString());
        QVERIFY(item);
        QCOMPARE(item->text(0), area.value(QStringLiteral("name")).toString());
        const QString parent = area.value(QStringLiteral("parent")).toString();
        QCOMPARE(item->parent() ? item->parent()->data(0, Qt::UserRole).toString() : QString(),
                 parent);
    }
    for (const QJsonValue &value : channels) {
        const QJsonObject channel = value.toObject();
        QTreeWidgetItem *item = tree.channelItem(channel.value(QStringLiteral("key")).toString());
        QVERIFY(item);
        QCOMPARE(item->text(0), channel.value(QStringLiteral("name")).toString());
        QCOMPARE(item->parent()->data(0, Qt::UserRole).toString(),
                 channel.value(QStringLiteral("area")).toString());
    }

    // Searching a name in Chinese finds that channel.
    const QJsonObject first = channels.at(0).toObject();
    tree.searchLineEdit()->setText(first.value(QStringLiteral("name")).toString());
    QVERIFY(visibleChannelKeys(tree.getTreeWidget())
                    .contains(first.value(QStringLiteral("key")).toString()));
    QVERIFY(visibleChannelKeys(tree.getTreeWidget()).size() < channels.size());
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
    for (const char *key : {"a-north", "a-gate", "a-south"}) {
        QCOMPARE(tree.areaItem(QLatin1String(key))->isHidden(),
                 hiddenAreas.contains(QLatin1String(key)));
    }
}

void TestCommonWidgets::treeSearchDropsHiddenItemsFromSelection()
{
    AreaWithChannelTree tree;
    tree.channelItem(QStringLiteral("c-lobby"))->setSelected(true);
    tree.channelItem(QStringLiteral("c-park"))->setSelected(true);
    QCOMPARE(tree.selectedChannels().size(), 2);

    tree.searchLineEdit()->setText(QStringLiteral("park"));
    const QList<AreaWithChannelTree::Channel> selected = tree.selectedChannels();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.at(0).channelKey, QStringLiteral("c-park"));
}

void TestCommonWidgets::treeSelectedChannelsOncePerChannel()
{
    AreaWithChannelTree tree;
    QTreeWidget *widget = tree.getTreeWidget();

    tree.channelItem(QStringLiteral("c-gate2"))->setSelected(true);
    tree.areaItem(QStringLiteral("a-gate"))->setSelected(true);
    bool areaSelected = false;
    QList<AreaWithChannelTree::Channel> channels = tree.selectedChannels(&areaSelected);
    QVERIFY(areaSelected);
    QCOMPARE(channels.size(), 2);
    QCOMPARE(channels.at(0).channelKey, QStringLiteral("c-gate2")); // where first met
    QCOMPARE(channels.at(1).channelKey, QStringLiteral("c-gate1"));
    QCOMPARE(channels.at(1).areaKey, QStringLiteral("a-gate"));
    QCOMPARE(channels.at(1).channelName, QStringLiteral("Gate Cam 1"));

    // An area gives its own channels, not those of its sub-areas.
    widget->clearSelection();
    tree.areaItem(QStringLiteral("a-north"))->setSelected(true);
    channels = tree.selectedChannels(&areaSelected);
    QVERIFY(areaSelected);
    QCOMPARE(channels.size(), 1);
    QCOMPARE(channels.at(0).channelKey, QStringLiteral("c-lobby"));

    widget->clearSelection();
    tree.channelItem(QStringLiteral("c-park"))->setSelected(true);
    channels = tree.selectedChannels(&areaSelected);
    QVERIFY(!areaSelected);
    QCOMPARE(channels.size(), 1);
    QCOMPARE(channels.at(0),
             (AreaWithChannelTree::Channel {QStringLiteral("a-south"), QStringLiteral("c-park"),
                                            QStringLiteral("Parking")}));
}

void TestCommonWidgets::treeDragCarriesSelectedChannels()
{
    AreaWithChannelTree tree;
    QTreeWidget *widget = tree.getTreeWidget();
    tree.channelItem(QStringLiteral("c-lobby"))->setSelected(true);
    tree.areaItem(QStringLiteral("a-gate"))->setSelected(true);

    // What a drag of the selection carries (the view asks its model for the payload).
    QCOMPARE(widget->model()->mimeTypes().value(0), QStringLiteral("application/x-lumo-channels"));
    std::unique_ptr<QMimeData> data(
            widget->model()->mimeData(widget->selectionModel()->selectedIndexes()));
    QVERIFY(data);
    QVERIFY(data->hasFormat(AreaWithChannelTree::channelMimeType()));

    QList<AreaWithChannelTree::Channel> dragged;
    bool areaSelected = false;
    QVERIFY(AreaWithChannelTree::decodeChannelMimeData(data.get(), &dragged, &areaSelected));
    QVERIFY(areaSelected);
    QStringList keys;
    for (const AreaWithChannelTree::Channel &channel : dragged)
        keys << channel.channelKey;
    keys.sort();
    QCOMPARE(keys, QStringList({"c-gate1", "c-gate2", "c-lobby"}));
    QVERIFY(data->text().contains(QStringLiteral("Gate Cam 1")));

    // The drag only copies, so a drop can never take channels out of the tree, also
    // after the owner switches the view to drag-only.
    widget->setDragDropMode(QAbstractItemView::DragOnly);
    QCOMPARE(widget->model()->supportedDragActions(), Qt::DropActions(Qt::CopyAction));

    // Round trip of the format itself.
    const QList<AreaWithChannelTree::Channel> sent {{"a", "c1", "One"}, {"b", "c2", "Two"}};
    std::unique_ptr<QMimeData> encoded(AreaWithChannelTree::encodeChannelMimeData(sent, false));
    QList<AreaWithChannelTree::Channel> received;
    QVERIFY(AreaWithChannelTree::decodeChannelMimeData(encoded.get(), &received, &areaSelected));
    QCOMPARE(received, sent);
    QVERIFY(!areaSelected);
}

void TestCommonWidgets::treeMimeDecodeRefusesMalformedData_data()
{
    QTest::addColumn<QByteArray>("payload");

    QByteArray good;
    {
        QDataStream out(&good, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_5_15);
        out << qint32(1) << false << qint32(1) << QStringLiteral("a") << QStringLiteral("c")
            << QStringLiteral("n");
    }
    QByteArray wrongVersion = good;
    wrongVersion[3] = 2;
    QByteArray hugeCount;
    {
        QDataStream out(&hugeCount, QIODevice::WriteOnly);
        out << qint32(1) << false << qint32(0x7fffffff);
    }
    QByteArray negativeCount;
    {
        QDataStream out(&negativeCount, QIODevice::WriteOnly);
        out << qint32(1) << false << qint32(-1);
    }

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("garbage") << QByteArray("\x01\x02\x03");
    QTest::newRow("truncated") << good.left(good.size() - 3);
    QTest::newRow("trailing bytes") << good + QByteArray("xx");
    QTest::newRow("wrong version") << wrongVersion;
    QTest::newRow("huge count") << hugeCount;
    QTest::newRow("negative count") << negativeCount;
}

void TestCommonWidgets::treeMimeDecodeRefusesMalformedData()
{
    QFETCH(QByteArray, payload);
    QMimeData data;
    data.setData(AreaWithChannelTree::channelMimeType(), payload);
    QList<AreaWithChannelTree::Channel> channels {{"keep", "keep", "keep"}};
    QVERIFY(!AreaWithChannelTree::decodeChannelMimeData(&data, &channels));
    QCOMPARE(channels.size(), 1); // untouched

    QMimeData other;
    other.setText(QStringLiteral("c1"));
    QVERIFY(!AreaWithChannelTree::decodeChannelMimeData(&other, &channels));
    QVERIFY(!AreaWithChannelTree::decodeChannelMimeData(nullptr, &channels));
}

void TestCommonWidgets::treeReloadShowsNewChannelsAndKeepsSearch()
{
    AreaWithChannelTree tree;
    tree.searchLineEdit()->setText(QStringLiteral("gate"));
    auto *core = DATACore::UserManagerCore::instance();
    QVERIFY2(core->addChannel({QStringLiteral("c-yard"), QStringLiteral("Yard"),
                               QStringLiteral("d-1"), 5, QStringLiteral("a-south")}),
             qPrintable(core->lastError()));
    QSignalSpy reloaded(&tree, &AreaTree::signalTreeReloaded);
    tree.reload();
    QCOMPARE(reloaded.count(), 1);
    QCOMPARE(tree.channelCount(), 5);
    QVERIFY(tree.channelItem(QStringLiteral("c-yard")));
    QCOMPARE(visibleChannelKeys(tree.getTreeWidget()), QStringList({"c-gate1", "c-gate2"}));
    tree.searchLineEdit()->clear();
    QCOMPARE(visibleChannelKeys(tree.getTreeWidget()).size(), 5);
}

// ---------------------------------------------------------------------------------------------
// Movable dialog and picture hint

void TestCommonWidgets::moveableDialogDraggedByBody()
{
    MoveableDialog dialog;
    QVERIFY(dialog.windowFlags() & Qt::FramelessWindowHint);
    auto *layout = new QVBoxLayout(&dialog);
    auto *label = new QLabel(QStringLiteral("Matrix Setting"), &dialog);
    layout->addWidget(label);
    layout->addWidget(new QPushButton(QStringLiteral("Next"), &dialog));
    dialog.resize(300, 200);
    dialog.move(100, 100);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QPoint start = dialog.pos();

    // Pressed on the body and moved by (40, 25).
    sendMouse(&dialog, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
    QVERIFY(dialog.isDragging());
    sendMouse(&dialog, QEvent::MouseMove, QPoint(45, 30), Qt::NoButton, Qt::LeftButton);
    sendMouse(&dialog, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(dialog.pos(), start + QPoint(40, 25));
    QVERIFY(!dialog.isDragging());

    // A label leaves the mouse to the dialog: dragging it moves the window too.
    const QPoint second = dialog.pos();
    QMouseEvent press(QEvent::MouseButtonPress, QPoint(2, 2), label->mapToGlobal(QPoint(2, 2)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(label, &press);
    QMouseEvent move(QEvent::MouseMove, QPoint(-8, 12), label->mapToGlobal(QPoint(-8, 12)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &move);
    QCOMPARE(dialog.pos(), second + QPoint(-10, 10));
    sendMouse(&dialog, QEvent::MouseButtonRelease, QPoint(0, 0), Qt::LeftButton, Qt::NoButton);

    // Not movable: pressing and moving leaves it where it is.
    dialog.setMoveable(false);
    const QPoint third = dialog.pos();
    sendMouse(&dialog, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
    sendMouse(&dialog, QEvent::MouseMove, QPoint(60, 60), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(dialog.pos(), third);
}

void TestCommonWidgets::moveableDialogNotDraggedThroughButtons()
{
    MoveableDialog dialog;
    auto *button = new QPushButton(QStringLiteral("Save"), &dialog);
    button->setGeometry(10, 10, 80, 30);
    dialog.resize(200, 100);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QPoint start = dialog.pos();

    sendMouse(button, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
    QVERIFY(!dialog.isDragging());
    sendMouse(&dialog, QEvent::MouseMove, QPoint(80, 80), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(dialog.pos(), start);
    sendMouse(button, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::LeftButton, Qt::NoButton);
}

void TestCommonWidgets::moveableDialogExecResult_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<int>("expected");
    QTest::newRow("accepted") << true << 1;
    QTest::newRow("rejected") << false << 0;
}

void TestCommonWidgets::moveableDialogExecResult()
{
    QFETCH(bool, accept);
    QFETCH(int, expected);

    MoveableDialog dialog;
    dialog.setAttribute(Qt::WA_TranslucentBackground);
    auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    bool sawDialog = false;
    ModalDriver driver([&](QWidget *modal) {
        sawDialog = modal == &dialog;
        if (accept)
            QTest::mouseClick(ok, Qt::LeftButton);
    });
    driver.start();
    QCOMPARE(dialog.exec(), expected);
    QVERIFY(driver.ran());
    QVERIFY(sawDialog);
}

void TestCommonWidgets::pictureHintButtonAndLanguage()
{
    PictureHintWidget chinese(2, 0);
    PictureHintWidget english(2, 1);
    PictureHintWidget other(2, 7);
    QCOMPARE(chinese.pictureLanguage(), 0);
    QVERIFY(chinese.hintText().contains(QString::fromUtf8("数字矩阵")));
    QVERIFY(english.hintText().startsWith(QStringLiteral("No digital matrix server")));
    QCOMPARE(other.hintText(), english.hintText());

    QSignalSpy added(&english, &PictureHintWidget::addServerBtClicked);
    QSignalSpy addedToo(&english, &PictureHintWidget::signalAddServerBtClicked);
    QTest::mouseClick(english.addServerButton(), Qt::LeftButton);
    QCOMPARE(added.count(), 1);
    QCOMPARE(addedToo.count(), 1);

    // The picture is drawn: the screens of the wall show their blue.
    english.resize(480, 420);
    QImage image(english.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    english.render(&image);
    int blue = 0;
    for (int y = 0; y < image.height(); y += 4) {
        for (int x = 0; x < image.width(); x += 4) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() > 150 && c.red() < 120)
                ++blue;
        }
    }
    QVERIFY(blue > 100);
    QVERIFY(english.addServerButton()->geometry().top() > image.height() / 2);
}

QTEST_MAIN(TestCommonWidgets)
#include "tst_commonwidgets.moc"
