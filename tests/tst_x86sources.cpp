// Sources of X86 windows: the group tree (checks, split, turn settings, search, the records sent
// byte for byte, the questions), the source dialog, the view tree, and the turn menu of the page,
// driven with the recording service fake and scripted message boxes.
#include "DigitalMatrix.h"
#include "DigitalMatrixConfigSignals.h"
#include "ISpinBox.h"
#include "MatrixGroupTree.h"
#include "MatrixViewTree.h"
#include "ServerConfigTreeItem.h"
#include "SetChannelSource.h"
#include "TurnControlWidget.h"

#include "CustomSearchEdit.h"
#include "SystemConfig.h"
#include "UserManagerCore.h"

#include "FakeMatrixService.h"
#include "MessageBoxScript.h"
#include "TestData.h"
#include "WallGeometry.h"
#include "X86PageHarness.h"

#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTextCodec>
#include <QTreeWidget>
#include <QWindow>
#include <QtTest>

#include <cstring>
#include <memory>
#include <thread>

using namespace LUMO_DIGITALMATRIX_MODULE;
using DATACore::UserManagerCore;

namespace {

constexpr int RecordSize = 216;

// One view of paneCount panes; the channels of Area A go to the given panes, in this order.
QJsonObject viewEntry(const QString &key, const QString &name, int paneCount,
                      const QList<QPair<int, int>> &cameraToPane)
{
    QJsonArray channels;
    for (const auto &entry : cameraToPane)
        channels.append(QJsonObject {{"channel", QStringLiteral("cam-%1").arg(entry.first)},
                                     {"pane", entry.second}});
    return QJsonObject {
            {"key", key}, {"name", name}, {"paneCount", paneCount}, {"channels", channels}};
}

// tests/data/sources_site.json with cameraCount channels "Camera 1".. of its NVR (numbers 1..)
// in "Area A", before its own channels, and the views given.
bool importSite(int cameraCount, const QJsonArray &views = QJsonArray())
{
    QFile file(testDataFile(QStringLiteral("sources_site.json")));
    if (!file.open(QIODevice::ReadOnly))
        qWarning() << "no site" << file.fileName();
    QJsonObject site = QJsonDocument::fromJson(file.readAll()).object();
    QJsonArray channels;
    for (int i = 1; i <= cameraCount; ++i)
        channels.append(QJsonObject {{"key", QStringLiteral("cam-%1").arg(i)},
                                     {"name", QStringLiteral("Camera %1").arg(i)},
                                     {"device", "dev-nvr"},
                                     {"number", i},
                                     {"area", "area-a"}});
    for (const QJsonValue &channel : site.value("channels").toArray())
        channels.append(channel);
    site["channels"] = channels;
    site["views"] = views;
    UserManagerCore *core = UserManagerCore::instance();
    const bool ok = core->importSite(QJsonDocument(site).toJson());
    if (!ok)
        qWarning() << core->lastError();
    return ok;
}

QTreeWidget *treeOf(QWidget *page)
{
    return page->findChild<QTreeWidget *>("_treeWidget");
}

QTreeWidgetItem *itemNamed(QWidget *page, const QString &name)
{
    const QList<QTreeWidgetItem *> found =
            treeOf(page)->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    if (found.isEmpty()) {
        qWarning() << "no item" << name;
        return nullptr;
    }
    return found.first();
}

void check(QWidget *page, const QString &name, bool on = true)
{
    if (QTreeWidgetItem *item = itemNamed(page, name))
        item->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
}

void checkCameras(QWidget *page, int count)
{
    for (int i = 1; i <= count; ++i)
        check(page, QStringLiteral("Camera %1").arg(i));
}

QByteArray text(const QByteArray &record, int offset, int size)
{
    const QByteArray f = record.mid(offset, size);
    const int end = f.indexOf('\0');
    return end < 0 ? f : f.left(end);
}

qint32 intAt(const QByteArray &bytes, int offset)
{
    qint32 v = 0;
    std::memcpy(&v, bytes.constData() + offset, sizeof v);
    return v;
}

QByteArray record(const QByteArray &bytes, int index)
{
    return bytes.mid(index * RecordSize, RecordSize);
}

// A text field of exactly size bytes: the text then zeros.
QByteArray padded(const QByteArray &textBytes, int size)
{
    QByteArray out = textBytes.left(size - 1);
    out.append(QByteArray(size - out.size(), '\0'));
    return out;
}

// Each record as "name #channel @sequence"; a cut record shows as "cut".
QStringList recordList(const QByteArray &bytes)
{
    QStringList out;
    for (int i = 0; i < bytes.size() / RecordSize; ++i) {
        const QByteArray r = record(bytes, i);
        out << QStringLiteral("%1 #%2 @%3")
                        .arg(QString::fromUtf8(text(r, 0, 100)))
                        .arg(intAt(r, 208))
                        .arg(intAt(r, 212));
    }
    if (bytes.size() % RecordSize)
        out << QStringLiteral("cut");
    return out;
}

// "Camera first @1" .. "Camera last @n": the cameras numbered as their channels.
QStringList cameraRecords(int first, int last)
{
    QStringList out;
    for (int i = first; i <= last; ++i)
        out << QStringLiteral("Camera %1 #%1 @%2").arg(i).arg(i - first + 1);
    return out;
}

// The names of the items of a tree, those not hidden or those checked.
QStringList itemNames(QWidget *page, bool checkedOnly = false)
{
    QStringList out;
    for (QTreeWidgetItemIterator it(treeOf(page)); *it; ++it) {
        if (checkedOnly ? (*it)->checkState(0) == Qt::Checked : !(*it)->isHidden())
            out << (*it)->text(0);
    }
    return out;
}

} // namespace

class TestX86Sources : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // Group tree.
    void treeListsAreasWithTheirChannels();
    void searchLeadsTheAreaCheckAndTheSet();
    void splitFollowsTheCheckedChannels_data();
    void splitFollowsTheCheckedChannels();
    void setSendsOnceAndReportsOnce();
    void recordBytesAreExact();
    void streamChoiceForPlayerKind3_data();
    void streamChoiceForPlayerKind3();
    void intervalBoxKeepsTenToHundred_data();
    void intervalBoxKeepsTenToHundred();

    // Dialog.
    void dialogWithoutViewsReportsSentAndReceivedSources();
    void dialogSetGoesToTheShownPage();

    // View tree.
    void viewPaneCountDecides_data();
    void viewPaneCountDecides();
    void viewSearchAndSetFollowTheStoredViews();

    // Page.
    void turnMenuClosingUnchecksTheButton_data();
    void turnMenuClosingUnchecksTheButton();

private:
    void makeTree(int cameras = 30);
    QComboBox *splitBox() const { return tree->findChild<QComboBox *>("_spliteCBox"); }
    ISpinBox *intervalBox() const { return tree->findChild<ISpinBox *>("_nElapseSpin"); }
    QCheckBox *startTurnBox() const { return tree->findChild<QCheckBox *>("_startCBox"); }
    FakeX86Matrix *x86() const { return h.x86(); }

    X86PageHarness h;
    std::unique_ptr<MessageBoxScript> &boxes = h.boxes;
    std::unique_ptr<DigitalMatrix> &page = h.page;
    std::unique_ptr<MatrixGroupTree> tree;
};

void TestX86Sources::init()
{
    h.start();
}

void TestX86Sources::cleanup()
{
    tree.reset();
    h.stop();
}

void TestX86Sources::makeTree(int cameras)
{
    QVERIFY(importSite(cameras));
    tree = std::make_unique<MatrixGroupTree>();
    tree->setMonitor(2);
    tree->loadTree();
    x86()->clear();
}

// ---- Group tree -------------------------------------------------------------------------

void TestX86Sources::treeListsAreasWithTheirChannels()
{
    makeTree(3);
    QTreeWidget *widget = treeOf(tree.get());
    QStringList areas;
    for (int i = 0; i < widget->topLevelItemCount(); ++i)
        areas << widget->topLevelItem(i)->text(0) + ':'
                        + QString::number(widget->topLevelItem(i)->childCount());
    QCOMPARE(areas, (QStringList {"Area A:3", "Area B:3", "Area C:0"}));
    // An area's check ticks its channels (searchLeadsTheAreaCheckAndTheSet); the channel's
    // fields reach the records byte for byte (recordBytesAreExact, streamChoiceForPlayerKind3).
    QCOMPARE(itemNames(tree.get(), true), QStringList());
    QVERIFY(!startTurnBox()->isChecked());

    // The channels' checks decide the area's; the others stay as they were.
    checkCameras(tree.get(), 2);
    QCOMPARE(itemNames(tree.get(), true), (QStringList {"Camera 1", "Camera 2"}));
    check(tree.get(), "Camera 3");
    QCOMPARE(itemNames(tree.get(), true),
             (QStringList {"Area A", "Camera 1", "Camera 2", "Camera 3"}));
    check(tree.get(), "Camera 2", false);
    QCOMPARE(itemNames(tree.get(), true), (QStringList {"Camera 1", "Camera 3"}));

    // A search shows the matches with their areas, an area that matches without its channels.
    auto *search = tree->findChild<CustomSearchEdit *>("_searchEdit");
    search->setText("GATE");
    QTest::mouseClick(tree->findChild<QPushButton *>("_searchButton"), Qt::LeftButton);
    QCOMPARE(itemNames(tree.get()), (QStringList {"Area B", "Gate North", "Gate South"}));
    QVERIFY(widget->topLevelItem(1)->isExpanded());
    search->setText("area a");
    tree->slotSearch();
    QCOMPARE(itemNames(tree.get()), QStringList {"Area A"});
    // Emptying the edit shows everything again.
    search->clear();
    QCOMPARE(itemNames(tree.get()).size(), 9);

    // The turn interval is shown while a turn show is asked for.
    tree->show();
    auto *label = tree->findChild<QLabel *>("_elapseLabel");
    for (bool on : {false, true, false}) {
        startTurnBox()->setChecked(on);
        QCOMPARE(label->isVisible(), on);
        QCOMPARE(intervalBox()->isVisible(), on);
    }
}

void TestX86Sources::searchLeadsTheAreaCheckAndTheSet()
{
    makeTree(12);
    check(tree.get(), "Camera 1");
    tree->show();
    QVERIFY(QTest::qWaitForWindowActive(tree.get()));
    auto *search = tree->findChild<CustomSearchEdit *>("_searchEdit");
    // The page takes the focus to its search edit when it is shown.
    QTRY_VERIFY(search->hasFocus());
    QCOMPARE(itemNamed(tree.get(), "Camera 1")->checkState(0), Qt::Unchecked); // rebuilt
    check(tree.get(), "Camera 1");
    x86()->clear();
    // "Set" is ignored while the search edit has the focus; Return released there searches.
    tree->slotSetSource();
    QCOMPARE(x86()->names(), QStringList());
    QCOMPARE(boxes->count(), 0);
    search->setText("camera");
    QTest::keyClick(search, Qt::Key_Return);
    QVERIFY(itemNamed(tree.get(), "Gate North")->isHidden());
    QTreeWidget *widget = treeOf(tree.get());
    widget->setFocus();
    QTRY_VERIFY(!search->hasFocus());
    tree->slotSetSource();
    QCOMPARE(x86()->count("SetMonitorSources"), 1);

    search->setText("camera 1"); // Camera 1, 10, 11, 12
    tree->slotSearch();
    QTreeWidgetItem *areaA = widget->topLevelItem(0);
    const QStringList matches {"Camera 1", "Camera 10", "Camera 11", "Camera 12"};
    QCOMPARE(itemNames(tree.get()), QStringList {"Area A"} + matches);

    areaA->setCheckState(0, Qt::Checked);
    QCOMPARE(itemNames(tree.get(), true), QStringList {"Area A"} + matches);
    QCOMPARE(splitBox()->currentText(), QStringLiteral("4"));

    // A channel checked before the search keeps its check while the area changes around it.
    search->clear();
    QVERIFY(!itemNamed(tree.get(), "Camera 2")->isHidden());
    check(tree.get(), "Camera 2");
    search->setText("camera 1");
    tree->slotSearch();
    areaA->setCheckState(0, Qt::Unchecked);
    areaA->setCheckState(0, Qt::Checked);
    QCOMPARE(itemNamed(tree.get(), "Camera 2")->checkState(0), Qt::Checked);

    search->clear();
    areaA->setCheckState(0, Qt::Unchecked);
    QCOMPARE(itemNames(tree.get(), true), QStringList());
}

void TestX86Sources::splitFollowsTheCheckedChannels_data()
{
    QTest::addColumn<int>("checked");
    QTest::addColumn<QString>("split");
    QTest::newRow("0") << 0 << "1";
    QTest::newRow("1") << 1 << "1";
    QTest::newRow("2") << 2 << "4";
    QTest::newRow("4") << 4 << "4";
    QTest::newRow("5") << 5 << "9";
    QTest::newRow("9") << 9 << "9";
    QTest::newRow("10") << 10 << "16";
    QTest::newRow("16") << 16 << "16";
    QTest::newRow("17") << 17 << "25";
    QTest::newRow("30") << 30 << "25";
}

void TestX86Sources::splitFollowsTheCheckedChannels()
{
    QFETCH(int, checked);
    QFETCH(QString, split);
    makeTree(30);
    splitBox()->setCurrentIndex(2);
    checkCameras(tree.get(), checked);
    tree->splitNumSmartChange();
    QCOMPARE(splitBox()->currentText(), split);

    // A click on a channel does the same.
    splitBox()->setCurrentIndex(2);
    emit treeOf(tree.get())->itemClicked(itemNamed(tree.get(), "Camera 1"), 0);
    QCOMPARE(splitBox()->currentText(), split);
}

void TestX86Sources::setSendsOnceAndReportsOnce()
{
    makeTree(150);
    checkCameras(tree.get(), 3);
    splitBox()->setCurrentIndex(1);
    QSignalSpy finished(tree.get(), &MatrixGroupTree::sigSetGroupFinished);
    tree->slotSetSource();
    QCOMPARE(x86()->trace(),
             (QStringList {"SetTurnState(2,0)", "SetMonitorSplit(2,4)", "SetMonitorSources(2,3)"}));
    QCOMPARE(recordList(x86()->last("SetMonitorSources").bytes), cameraRecords(1, 3));
    // The report leaves a moment later, once; while it is pending, "Set" sends nothing.
    QCOMPARE(finished.count(), 0);
    tree->slotSetSource();
    QTRY_COMPARE(finished.count(), 1);
    QCOMPARE(finished.first(), (QVariantList {4, false}));
    QCOMPARE(x86()->count("SetMonitorSources"), 1);

    // Many channels are cut after 101 records.
    treeOf(tree.get())->topLevelItem(0)->setCheckState(0, Qt::Checked);
    QCOMPARE(splitBox()->currentText(), QStringLiteral("25"));
    boxes->answer(1);
    tree->slotSetSource();
    const FakeCall sources = x86()->last("SetMonitorSources");
    QCOMPARE(sources.args, (QVariantList {2, 101}));
    QCOMPARE(recordList(sources.bytes), cameraRecords(1, 101));
}

void TestX86Sources::recordBytesAreExact()
{
    QTextCodec *gbk = QTextCodec::codecForName("GBK");
    QVERIFY(gbk);
    // 1 + 60 x 2 GBK bytes: 49 characters after the "A" fill the 99 bytes before the zero.
    const QString longName = QStringLiteral("A") + QString(60, QChar(0x76D1)); // 监
    QVERIFY(UserManagerCore::instance()->importSiteFile(testDataFile("record_site.json")));
    tree = std::make_unique<MatrixGroupTree>();
    tree->setMonitor(5);
    tree->loadTree();
    treeOf(tree.get())->topLevelItem(0)->setCheckState(0, Qt::Checked);
    QCOMPARE(splitBox()->currentText(), QStringLiteral("4"));
    x86()->clear();
    tree->slotSetSource();

    const FakeCall sources = x86()->last("SetMonitorSources");
    QCOMPARE(sources.args, (QVariantList {5, 2}));
    QCOMPARE(sources.bytes.size(), 2 * RecordSize);

    QByteArray expected;
    QByteArray name = gbk->fromUnicode(longName.left(50));
    QCOMPARE(name.size(), 99);
    expected += padded(name, 100);
    expected += padded("SERIAL-NUMBER-0123456789", 17); // cut to 16
    expected += QByteArray(3, '\0');
    const qint32 number = 123456;
    expected += QByteArray(reinterpret_cast<const char *>(&number), 4);
    expected += padded("N4F2A7C91-ABCDEFGH", 17);
    expected += padded(QByteArray(40, 'a'), 32); // cut to 31
    expected += padded(QByteArray(40, 'p'), 32);
    expected += QByteArray(3, '\0');
    const qint32 channelNo = 17;
    const qint32 sequence = 1;
    expected += QByteArray(reinterpret_cast<const char *>(&channelNo), 4);
    expected += QByteArray(reinterpret_cast<const char *>(&sequence), 4);
    QCOMPARE(record(sources.bytes, 0), expected);

    // The short name is GBK, whole, followed by zeros only.
    const QByteArray second = record(sources.bytes, 1);
    const QByteArray shortGbk = gbk->fromUnicode(QStringLiteral("大厅入口"));
    QCOMPARE(second.left(100), padded(shortGbk, 100));
    QCOMPARE(intAt(second, 208), 2);
    QCOMPARE(intAt(second, 212), 2);
}

void TestX86Sources::streamChoiceForPlayerKind3_data()
{
    QTest::addColumn<QString>("matrixCode"); // "-" leaves the file out
    QTest::addColumn<int>("thermalNo");
    QTest::newRow("no settings file") << "-" << 1;
    QTest::newRow("code 2") << "2" << 2;
    QTest::newRow("code 1") << "1" << 1;
    QTest::newRow("code 3") << "3" << 1;
}

void TestX86Sources::streamChoiceForPlayerKind3()
{
    QFETCH(QString, matrixCode);
    QFETCH(int, thermalNo);
    const QString iniFile = PARSERXML::SystemConfig::instance()->configFile();
    if (matrixCode != QLatin1String("-")) {
        QSettings settings(iniFile, QSettings::IniFormat);
        settings.setValue("Stream/matrixCode", matrixCode);
    } else {
        QVERIFY(!QFile::exists(iniFile));
    }
    makeTree(3);
    check(tree.get(), "Gate South");
    check(tree.get(), "Thermal");
    tree->slotSetSource();
    const QByteArray bytes = x86()->last("SetMonitorSources").bytes;
    // Only the channel of player kind 3 gets the stream choice.
    QCOMPARE(recordList(bytes),
             (QStringList {"Gate South #202 @1", QStringLiteral("Thermal #%1 @2").arg(thermalNo)}));
    QCOMPARE(intAt(record(bytes, 1), 120), 9);
    QCOMPARE(text(record(bytes, 1), 100, 17), QByteArray("THERM-3"));
}

void TestX86Sources::intervalBoxKeepsTenToHundred_data()
{
    QTest::addColumn<int>("typed");
    QTest::addColumn<int>("kept");
    QTest::addColumn<bool>("set"); // "Set" pressed instead of leaving the box
    QTest::newRow("5") << 5 << 10 << false;
    QTest::newRow("9") << 9 << 10 << false;
    QTest::newRow("10") << 10 << 10 << false;
    QTest::newRow("100") << 100 << 100 << false;
    QTest::newRow("101") << 101 << 100 << false;
    QTest::newRow("150") << 150 << 100 << false;
    QTest::newRow("5, set") << 5 << 10 << true;
}

void TestX86Sources::intervalBoxKeepsTenToHundred()
{
    QFETCH(int, typed);
    QFETCH(int, kept);
    QFETCH(bool, set);
    makeTree(5);
    checkCameras(tree.get(), 4);
    startTurnBox()->setChecked(true);
    ISpinBox *box = intervalBox();
    box->setValue(typed);
    if (set) {
        // An interval out of range is never sent.
        tree->slotSetSource();
    } else {
        // Leaving the box checks it.
        QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(box, &focusOut);
    }
    const bool warned = typed != kept;
    QCOMPARE(box->value(), kept);
    QCOMPARE(boxes->count(), warned ? 1 : 0);
    QCOMPARE(boxes->lastBox(),
             warned ? QStringLiteral("Error|The value must be between 10 to 100!|1") : QString());
    QCOMPARE(x86()->names(), QStringList());
}

// ---- Dialog -----------------------------------------------------------------------------

void TestX86Sources::dialogSetGoesToTheShownPage()
{
    QVERIFY(importSite(4, QJsonArray {viewEntry("view-1", "Lobby", 4, {{1, 1}, {2, 2}})}));
    SetChannelSource dialog;
    // Return never presses a button of the dialog: it searches in the search edits.
    for (QPushButton *b : dialog.findChildren<QPushButton *>())
        QVERIFY2(!b->autoDefault() && !b->isDefault(), qPrintable(b->objectName()));
    // Both pages set the window the dialog is given: tst_x86e2e.
    dialog.setMonitor(6);
    QSignalSpy groupSet(&dialog, &SetChannelSource::sigGroupSetSource);
    QSignalSpy viewSet(&dialog, &SetChannelSource::sigViewSetSource);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    x86()->clear();
    auto *groupBtn = dialog.findChild<QPushButton *>("_groupBtn");
    auto *viewBtn = dialog.findChild<QPushButton *>("_viewBtn");
    auto *setBtn = dialog.findChild<QPushButton *>("_setBtn");
    // With a view stored its tab is offered; the group page is shown first.
    QVERIFY(dialog.findChild<QWidget *>("_tabWdt")->isVisible() && viewBtn->isVisible());
    QVERIFY(dialog.viewTree()->isHidden());
    QVERIFY(viewBtn->isEnabled() && !groupBtn->isEnabled());

    // The group page was built when it was shown.
    QVERIFY(itemNamed(dialog.groupTree(), "Camera 1"));
    QTest::mouseClick(setBtn, Qt::LeftButton);
    QCOMPARE(groupSet.count(), 1);
    QCOMPARE(boxes->lastBox(), QStringLiteral("WARN|There are no channels to set!|1"));

    QTest::mouseClick(viewBtn, Qt::LeftButton);
    QVERIFY(dialog.viewTree()->isVisible());
    QVERIFY(!dialog.groupTree()->isVisible());
    QVERIFY(!viewBtn->isEnabled());
    QVERIFY(groupBtn->isEnabled());

    QTest::mouseClick(groupBtn, Qt::LeftButton);
    QVERIFY(dialog.groupTree()->isVisible());
    QVERIFY(!dialog.viewTree()->isVisible());
    QTest::mouseClick(setBtn, Qt::LeftButton);
    QCOMPARE(groupSet.count(), 2);
    QCOMPARE(viewSet.count(), 0);
    // The group page had nothing to send.
    QCOMPARE(boxes->count(), 2);
    QCOMPARE(x86()->names(), QStringList());
    QTest::mouseClick(dialog.findChild<QPushButton *>("_closeBtn"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
}

void TestX86Sources::dialogWithoutViewsReportsSentAndReceivedSources()
{
    QVERIFY(importSite(4));
    SetChannelSource dialog;
    // Without a view stored only the group page is offered.
    QVERIFY(dialog.findChild<QWidget *>("_tabWdt")->isHidden());
    QVERIFY(dialog.findChild<QPushButton *>("_viewBtn")->isHidden());
    QVERIFY(dialog.viewTree()->isHidden());
    QVERIFY(!dialog.groupTree()->isHidden());
    dialog.setMonitor(2);
    QSignalSpy finished(&dialog, &SetChannelSource::sigSetGroupFinished);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    checkCameras(dialog.groupTree(), 2);
    dialog.findChild<QWidget *>("_treeWidget")->setFocus();
    dialog.groupTree()->slotSetSource();
    QCOMPARE(x86()->count("SetMonitorSources"), 1);
    QCOMPARE(finished.count(), 0);
    // Closed before the report left: it leaves at once, and only once.
    dialog.reject();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first(), (QVariantList {4, false}));
    QTest::qWait(2 * MatrixGroupTree::FinishDelayMs);
    QCOMPARE(finished.count(), 1);

    // The window's sources as the matrix reports them, on the tree built again.
    MatrixGroupTree *group = dialog.groupTree();
    group->loadTree();
    auto *spin = group->findChild<ISpinBox *>("_nElapseSpin");

    // The records are the service's only during its call: they leave the hub by value.
    auto reported = std::make_unique<_ST_ChnInfo[]>(2); // zeroed
    std::strcpy(reported[0].channelName, "Camera 2");
    std::strcpy(reported[0].ipAddress, "10.1.1.1");
    reported[0].channelNo = 2;
    reported[0].sequence = 1;
    // Player kind 3: the number is the stream choice, the name tells the channel.
    std::strcpy(reported[1].channelName, "Thermal");
    std::strcpy(reported[1].ipAddress, "10.1.1.3");
    reported[1].channelNo = 1;
    reported[1].sequence = 2;

    const Qt::HANDLE guiThread = QThread::currentThreadId();
    Qt::HANDLE deliveredOn = nullptr;
    QObject probe;
    connect(DigitalMatrixConfigSignals::instance(), &DigitalMatrixConfigSignals::signalGroupRes,
            &probe, [&deliveredOn] { deliveredOn = QThread::currentThreadId(); });

    PST_ChnInfo records = reported.get();
    std::thread service(
            [records] { DigitalMatrixConfigSignals::instance()->sendGroupRes(2, records, 2, 40); });
    service.join();
    reported.reset();
    QCOMPARE(group->reportedRecords().size(), 0);
    QTRY_COMPARE(group->reportedRecords().size(), 2);
    QCOMPARE(deliveredOn, guiThread);

    QCOMPARE(itemNames(group, true), (QStringList {"Camera 2", "Thermal"}));
    QCOMPARE(spin->value(), 40);
    QCOMPARE(group->findChild<QComboBox *>("_spliteCBox")->currentText(), QStringLiteral("4"));

    // Another window's report changes nothing here (every window reports when any operator
    // changes it). A report holds all of the window's sources: an empty one replaces the
    // earlier, and without a turn show (interval 0) leaves the box alone.
    _ST_ChnInfo other {};
    std::strcpy(other.ipAddress, "10.1.1.1");
    other.channelNo = 1;
    std::thread second([&other] {
        DigitalMatrixConfigSignals::instance()->sendGroupRes(3, &other, 1, 55);
        DigitalMatrixConfigSignals::instance()->sendGroupRes(2, nullptr, 4, 0);
    });
    second.join();
    QTRY_COMPARE(group->reportedRecords().size(), 0);
    QCOMPARE(spin->value(), 40);
    QCOMPARE(itemNames(group, true), (QStringList {"Camera 2", "Thermal"}));
}

// ---- View tree --------------------------------------------------------------------------

void TestX86Sources::viewPaneCountDecides_data()
{
    QTest::addColumn<int>("panes");
    QTest::addColumn<int>("split"); // 0: refused
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("4") << 4 << 4;
    QTest::newRow("6 -> 9") << 6 << 9;
    QTest::newRow("16") << 16 << 16;
    QTest::newRow("20 -> 25") << 20 << 25;
    QTest::newRow("25") << 25 << 25;
    QTest::newRow("26") << 26 << 0;
    QTest::newRow("36") << 36 << 0;
}

void TestX86Sources::viewPaneCountDecides()
{
    QFETCH(int, panes);
    QFETCH(int, split);
    QVERIFY(importSite(4, QJsonArray {viewEntry("view-x", "Wall", panes, {{1, 1}})}));
    MatrixViewTree views;
    views.setMonitor(3);
    QSignalSpy splitSpy(&views, &MatrixViewTree::sigSpliteButtonClicked);
    QSignalSpy finished(&views, &MatrixViewTree::sigSetViewFinished);
    treeOf(&views)->topLevelItem(0)->setSelected(true);
    x86()->clear();
    views.slotSetSource();
    // A view that cannot be set leaves the window's turn show alone.
    QCOMPARE(boxes->texts(),
             split ? QStringList() : QStringList {"The channels of view can't more than 25!"});
    QCOMPARE(boxes->last().title, split ? QString() : QStringLiteral("Error"));
    const QList<QVariantList> reports =
            split ? QList<QVariantList> {{split}} : QList<QVariantList> {};
    QCOMPARE(QList<QVariantList>(splitSpy), reports);
    QCOMPARE(QList<QVariantList>(finished), reports);
    QCOMPARE(x86()->names(),
             split ? (QStringList {"SetTurnState", "SetMonitorSources"}) : QStringList());
}

void TestX86Sources::viewSearchAndSetFollowTheStoredViews()
{
    // Each view with its channels in the order stored, not by number; each channel on its pane:
    // tst_x86e2e.
    QVERIFY(importSite(
            9,
            QJsonArray {viewEntry("view-1", "Lobby", 4, {{2, 2}, {1, 1}}),
                        viewEntry("view-2", "Yard", 9, {{3, 1}, {4, 7}}),
                        viewEntry("view-9", "Nine", 9, {{5, 7}, {1, 1}, {2, 2}, {9, 9}})}));
    MatrixViewTree views;
    views.setMonitor(4);
    QTreeWidget *widget = treeOf(&views);
    QCOMPARE(widget->topLevelItemCount(), 3);
    QCOMPARE(itemNames(&views),
             (QStringList {"Lobby", "Camera 2", "Camera 1", "Yard", "Camera 3", "Camera 4", "Nine",
                           "Camera 5", "Camera 1", "Camera 2", "Camera 9"}));
    auto *lobby = static_cast<ServerConfigTreeItem *>(widget->topLevelItem(0));
    QCOMPARE(lobby->channelGuid(), QStringLiteral("view-1"));
    QCOMPARE(static_cast<ServerConfigTreeItem *>(lobby->child(0))->channelGuid(),
             QStringLiteral("cam-2"));
    auto *search = views.findChild<CustomSearchEdit *>("_searchEdit");
    auto *button = views.findChild<QPushButton *>("_searchButton");
    search->setText("Camera"); // emits the search
    QList<QTreeWidgetItem *> selected = widget->selectedItems();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.first()->text(0), QStringLiteral("Camera 2"));

    QStringList visited;
    for (int i = 0; i < 9; ++i) {
        QTest::mouseClick(button, Qt::LeftButton);
        selected = widget->selectedItems();
        QCOMPARE(selected.size(), 1);
        visited << selected.first()->text(0);
        QVERIFY(selected.first()->parent()->isExpanded());
    }
    QCOMPARE(visited,
             (QStringList {"Camera 2", "Camera 1", "Camera 3", "Camera 4", "Camera 5", "Camera 1",
                           "Camera 2", "Camera 9", "Camera 2"}));

    // The selected match is the view that is set.
    search->setText("Yard");
    x86()->clear();
    views.slotSetSource();
    QCOMPARE(text(x86()->last("SetMonitorSources").bytes, 0, 100), QByteArray("Camera 3"));

    // A channel of the view stands for its view.
    widget->setCurrentItem(widget->topLevelItem(2)->child(2));
    x86()->clear();
    static QStringList captured;
    const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &line) { captured << line; });
    views.slotSetSource();
    qInstallMessageHandler(previous);
    const FakeCall sources = x86()->last("SetMonitorSources");
    QCOMPARE(sources.args, (QVariantList {4, 4}));
    for (int i = 0; i < 4; ++i) {
        const QByteArray r = record(sources.bytes, i);
        QCOMPARE(intAt(r, 120), 0); // no device number from a view
        QCOMPARE(text(r, 100, 17) + '|' + text(r, 124, 17) + '|' + text(r, 141, 32) + '|'
                         + text(r, 173, 32),
                 QByteArray("SER-0001|10.1.1.1|admin|pw-1"));
    }
    // The debug lines name the device's login but never its password.
    const QString lines = captured.join(QLatin1Char('\n'));
    QVERIFY(lines.contains(QStringLiteral("tempDeviceInfo.struct_account")));
    QVERIFY(lines.contains(QStringLiteral("localNO.at(i)")));
    QVERIFY(!lines.contains(QStringLiteral("pw-1")));
}

// ---- Page ---------------------------------------------------------------------------------

void TestX86Sources::turnMenuClosingUnchecksTheButton_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("declined stop") << "stop";
    QTest::newRow("focus out") << "focus";
    QTest::newRow("escape") << "escape";
    QTest::newRow("click outside") << "outside";
    QTest::newRow("press on the turn button, then elsewhere") << "button";
}

void TestX86Sources::turnMenuClosingUnchecksTheButton()
{
    QFETCH(QString, how);
    h.loggedInWall(true, fourWindows(1));
    auto *menu = page->findChild<TurnControlWidget *>();
    QPushButton *turnButton = h.button("_turnShowBtn");
    QTest::mouseClick(turnButton, Qt::LeftButton);
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(turnButton->isChecked());
    QWindow *popup = menu->windowHandle();
    QVERIFY(popup);

    if (how == QLatin1String("stop")) {
        boxes->answer(0);
        QTest::mouseClick(menu->findChild<QPushButton *>("_closeTurnShowBtn"), Qt::LeftButton);
        QCOMPARE(boxes->last().text, QStringLiteral("Do you want to stop taking turns to show"));
    } else if (how == QLatin1String("focus")) {
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(menu, &out);
    } else if (how == QLatin1String("escape")) {
        QTest::keyClick(menu, Qt::Key_Escape);
    } else if (how == QLatin1String("outside")) {
        QTest::mouseClick(popup, Qt::LeftButton, Qt::NoModifier, QPoint(-200, -200));
    } else {
        const QPoint onButton = turnButton->mapToGlobal(turnButton->rect().center());
        QTest::mousePress(popup, Qt::LeftButton, Qt::NoModifier, menu->mapFromGlobal(onButton));
        QTRY_VERIFY(!menu->isVisible());
        // The press is not handed on to the button (where the platform grabs the mouse for
        // pop-ups, it would be replayed there and open the menu again).
        QVERIFY(menu->testAttribute(Qt::WA_NoMouseReplay));
        QTest::mouseRelease(page->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                            page->mapFromGlobal(onButton));
        QCoreApplication::processEvents();
        QVERIFY(!turnButton->isChecked());
        QVERIFY(!menu->isVisible());
        QVERIFY(!turnButton->isDown());

        // A press anywhere else outside closes the menu and goes on where it landed.
        QTest::mouseClick(turnButton, Qt::LeftButton);
        QTRY_VERIFY(menu->isVisible());
        const QPoint elsewhere = page->mapToGlobal(QPoint(5, 5));
        QTest::mouseClick(popup, Qt::LeftButton, Qt::NoModifier, menu->mapFromGlobal(elsewhere));
        QTRY_VERIFY(!menu->isVisible());
        QVERIFY(!menu->testAttribute(Qt::WA_NoMouseReplay));
    }
    QTRY_VERIFY(!menu->isVisible());
    QVERIFY(!turnButton->isChecked());
    QVERIFY(turnButton->isEnabled());
    QCOMPARE(x86()->count("SetTurnState"), 0);
}

QTEST_MAIN(TestX86Sources)
#include "tst_x86sources.moc"
