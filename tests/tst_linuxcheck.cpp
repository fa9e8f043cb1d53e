// The area tree's selection, the cell channel check dialog (alone and with its cell), the
// firmware upgrade dialog and the page's upgrade poll, checked against the recording service.
#include "AreaTreeForMatrixConfig.h"
#include "CellChannelsCheckDlg.h"
#include "CellChannelsTableWt.h"
#include "CellForConfigChannels.h"
#include "ConfigChannelsWidget.h"
#include "DigitalMatrixServerOperWidget.h"
#include "LinuxDigitalMatrixPage.h"
#include "LinuxMatrixUpgradeDlg.h"

#include "WaitDialog.h"

#include "FakeMatrixService.h"
#include "LinuxPageHarness.h"
#include "MessageBoxScript.h"
#include "ModalDriver.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolTip>
#include <QtTest>

#include <memory>

using namespace LUMO_DIGITALMATRIX_MODULE;

namespace {

CellChannelItem item(const QString &key, const QString &name)
{
    CellChannelItem channel;
    channel.itemKey = QStringLiteral("area-a");
    channel.channelId = key;
    channel.channelName = name;
    return channel;
}

QList<CellChannelItem> threeItems()
{
    return {item(QStringLiteral("a-1"), QStringLiteral("Hall")),
            item(QStringLiteral("a-2"), QStringLiteral("Stairs")),
            item(QStringLiteral("a-3"), QStringLiteral("Lift"))};
}

} // namespace

class TestLinuxCheck : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // Area tree.
    void selectionListsEachChannelOnce_data();
    void selectionListsEachChannelOnce();

    // Check dialog.
    void dialogListsChannelsNeedsRowsEndsItsClearingAndRejects();
    void checkSourceDeletesThroughTheCell_data();
    void checkSourceDeletesThroughTheCell();

    // Upgrade dialog.
    void upgradeUrlRules_data();
    void upgradeUrlRules();

    // Upgrade poll.
    void upgradeRefusedCancelledOrEndingOtherwise();
    void pollStopsWhenThePageLeavesTheMatrix_data();
    void pollStopsWhenThePageLeavesTheMatrix();

private:
    LinuxPageHarness h;
    std::unique_ptr<LinuxDigitalMatrixPage> &page = h.page;
};

void TestLinuxCheck::init()
{
    h.start(QStringLiteral("check_site.json"));
    LinuxPageHarness::storeServer(QStringLiteral("Wall"), QStringLiteral("10.0.0.1"));
    LinuxPageHarness::storeServer(QStringLiteral("Hall"), QStringLiteral("10.0.0.2"));
}

void TestLinuxCheck::cleanup()
{
    h.stop();
}

// ---------------------------------------------------------------- area tree

void TestLinuxCheck::selectionListsEachChannelOnce_data()
{
    QTest::addColumn<QStringList>("selected"); // area or channel keys, in selection order
    QTest::addColumn<QStringList>("channels");
    QTest::addColumn<QStringList>("areaKeys");
    QTest::addColumn<bool>("area");

    QTest::newRow("channels of two areas")
            << QStringList {"b-1", "a-1"} << QStringList {"b-1", "a-1"}
            << QStringList {"area-b", "area-a"} << false;
    // An area gives its own channels, not those of its sub-area.
    QTest::newRow("area") << QStringList {"area-a"} << QStringList {"a-1", "a-2", "a-3"}
                          << QStringList {"area-a", "area-a", "area-a"} << true;
    QTest::newRow("channel, then its area")
            << QStringList {"a-3", "area-a"} << QStringList {"a-3", "a-1", "a-2"}
            << QStringList {"area-a", "area-a", "area-a"} << true;
    QTest::newRow("sub-area channel and area")
            << QStringList {"s-1", "area-a"} << QStringList {"s-1", "a-1", "a-2", "a-3"}
            << QStringList {"area-a-sub", "area-a", "area-a", "area-a"} << true;
    QTest::newRow("nothing") << QStringList() << QStringList() << QStringList() << false;
}

void TestLinuxCheck::selectionListsEachChannelOnce()
{
    QFETCH(QStringList, selected);
    QFETCH(QStringList, channels);
    QFETCH(QStringList, areaKeys);
    QFETCH(bool, area);
    AreaTreeForMatrixConfig tree;
    tree.getTreeWidget()->expandAll();
    // Channels are dragged out of the tree, never into it.
    QCOMPARE(tree.getTreeWidget()->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(tree.getTreeWidget()->dragDropMode(), QAbstractItemView::DragOnly);
    for (const QString &key : selected) {
        QTreeWidgetItem *treeItem =
                key.startsWith(QLatin1String("area")) ? tree.areaItem(key) : tree.channelItem(key);
        QVERIFY2(treeItem, qPrintable(key));
        treeItem->setSelected(true);
    }
    QList<CellChannelItem> out {item(QStringLiteral("stale"), QStringLiteral("Old"))};
    bool areaSelected = !area;
    tree.getSelectedChannels(out, areaSelected);
    QCOMPARE(out.size(), channels.size());
    QCOMPARE(areaSelected, area);
    for (int i = 0; i < out.size(); ++i) {
        QCOMPARE(out.at(i).channelId, channels.at(i));
        QCOMPARE(out.at(i).itemKey, areaKeys.at(i));
        QCOMPARE(out.at(i).position, -1);
        QCOMPARE(out.at(i).channelName, tree.channelItem(out.at(i).channelId)->text(0));
    }
}

// ---------------------------------------------------------------- check dialog

void TestLinuxCheck::dialogListsChannelsNeedsRowsEndsItsClearingAndRejects()
{
    CellChannelsCheckDlg dialog;
    CellChannelsTableWt *table = dialog.table();
    QStringList seen;
    connect(&dialog, &CellChannelsCheckDlg::signalDeleteChannelFromCell, &dialog,
            [&](const QString &key) { seen << key; });
    MessageBoxScript boxes(1);
    dialog.findChild<QPushButton *>("deleteBt")->click(); // empty table
    dialog.findChild<QPushButton *>("clearBt")->click();
    QCOMPARE(boxes.count(), 0);

    QList<CellChannelItem> items = threeItems();
    items << item(QStringLiteral("unknown"), QStringLiteral("Gone"));
    dialog.setChannels(items);
    dialog.setChannels(items); // filling again replaces the rows
    QCOMPARE(table->getAllRowsKeyValues(), (QStringList {"a-1", "a-2", "a-3", "unknown"}));
    QCOMPARE(table->item(0, 1)->text(), QStringLiteral("Hall"));
    QCOMPARE(table->item(0, 2)->text(), QStringLiteral("NVR A"));
    QCOMPARE(table->item(2, 2)->text(), QStringLiteral("Encoder B"));
    QCOMPARE(table->item(1, 1)->toolTip(), QStringLiteral("Stairs"));
    // A channel the data centre does not know has no device name.
    QCOMPARE(table->item(3, 2)->text(), QString());
    QVERIFY(!(table->item(0, 1)->flags() & Qt::ItemIsEditable));

    dialog.findChild<QPushButton *>("deleteBt")->click();
    QCOMPARE(boxes.texts(), QStringList {"Please seclect channels to delete!"});
    QCOMPARE(boxes.last().buttons, short(1));
    QCOMPARE(boxes.last().title, QStringLiteral("Prompt"));
    QVERIFY(seen.isEmpty());

    // Nobody deletes anything: the clearing ends instead of asking forever.
    dialog.slotClearChannelsBtClicked();
    QCOMPARE(seen, QStringList {"a-1"});
    QCOMPARE(table->rowCount(), 4);

    for (const char *button : {"quitBt", "closeBt"}) {
        dialog.show();
        dialog.findChild<QPushButton *>(QLatin1String(button))->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.isVisible());
    }
}

void TestLinuxCheck::checkSourceDeletesThroughTheCell_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<short>("answer");
    QTest::addColumn<QList<int>>("results"); // of the deletions, in turn
    QTest::addColumn<QList<int>>("deleted"); // positions asked to go
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QStringList>("told");
    const QString fail = QStringLiteral("Delete channel from cell fail!");
    const QString askDelete = QStringLiteral("Make sure delete select channels from cell?");
    const QString askClear = QStringLiteral("Make sure clear channels from cell?");
    // Rows 1 and 2 checked for "deleteBt".
    QTest::newRow("checked rows, the second refused")
            << "deleteBt" << short(1) << QList<int> {0, -1} << QList<int> {1, 2}
            << QStringList {"0", "2"} << QStringList {askDelete, fail};
    QTest::newRow("checked rows, declined")
            << "deleteBt" << short(0) << QList<int>() << QList<int>() << QStringList {"0", "1", "2"}
            << QStringList {askDelete};
    QTest::newRow("clear, the second refused")
            << "clearBt" << short(1) << QList<int> {0, -1} << QList<int> {0, 1}
            << QStringList {"1", "2"} << QStringList {askClear, fail};
    QTest::newRow("clear, the first refused")
            << "clearBt" << short(1) << QList<int> {-1} << QList<int> {0}
            << QStringList {"0", "1", "2"} << QStringList {askClear, fail};
}

void TestLinuxCheck::checkSourceDeletesThroughTheCell()
{
    QFETCH(QString, button);
    QFETCH(short, answer);
    QFETCH(QList<int>, results);
    QFETCH(QList<int>, deleted);
    QFETCH(QStringList, left);
    QFETCH(QStringList, told);
    h.openConnected();
    MessageBoxScript boxes(0);
    h.cells()->setChannelsToCell(threeItems(), 2);
    CellForConfigChannels *cell = h.cells()->getCellByIndex(2);
    QVERIFY(cell->turnShowOperate(CellTurnCode::TurnStart));
    h.base()->clear();
    boxes.clearRecords();
    h.base()->queueResults("DeleteCellChannel", results);

    QStringList listed;
    QStringList rows;
    ModalDriver driver([&](QWidget *modal) {
        auto *dialog = qobject_cast<CellChannelsCheckDlg *>(modal);
        if (!dialog)
            return;
        listed = dialog->table()->getAllRowsKeyValues();
        dialog->table()->setRowChecked(1, true);
        dialog->table()->setRowChecked(2, true);
        boxes.answer(answer);
        dialog->findChild<QPushButton *>(button)->click();
        rows = dialog->table()->getAllRowsKeyValues();
        dialog->findChild<QPushButton *>("quitBt")->click();
    });
    driver.start();
    cell->findChild<QAction *>("checkChannelsAction")->trigger();
    QVERIFY(driver.ran());
    // Rows are the cell's positions; the turn show stops before the first deletion.
    QCOMPARE(listed, (QStringList {"0", "1", "2"}));
    QCOMPARE(rows, left);
    QCOMPARE(boxes.texts(), told);
    QList<QVariantList> asked;
    for (const FakeCall &call : h.base()->callsNamed("DeleteCellChannel"))
        asked << call.args;
    QList<QVariantList> expected;
    for (int position : deleted)
        expected << QVariantList {2, position};
    QCOMPARE(asked, expected);
    QCOMPARE(h.base()->names().mid(0, 2),
             deleted.isEmpty() ? QStringList() : QStringList({"SetCellTurnShow", "SetCellSplit"}));
    QStringList kept;
    for (int position : cell->channelMap().keys())
        kept << QString::number(position);
    QCOMPARE(kept, left);
}

// ---------------------------------------------------------------- upgrade dialog

void TestLinuxCheck::upgradeUrlRules_data()
{
    QTest::addColumn<int>("typeIndex");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("hint"); // empty: sent
    QTest::addColumn<int>("source");
    const auto row = [](const char *name, int type, const char *url, const char *hint, int source) {
        QTest::newRow(name) << type << url << hint << source;
    };
    row("usb", 0, "", "", 0);
    row("ftp, one slash", 2, "ftp:/host/fw.bin", "ftp format is wrong!", -1);
    row("ftp, http url", 2, "http://host/fw.bin", "ftp format is wrong!", -1);
    row("ftp, scheme only", 2, "ftp://", "", 1);
    row("http, emptied", 1, "", "", 2);
    row("http, upper case", 1, "HTTP://host/fw.bin", "http format is wrong!", -1);
}

void TestLinuxCheck::upgradeUrlRules()
{
    QFETCH(int, typeIndex);
    QFETCH(QString, url);
    QFETCH(QString, hint);
    QFETCH(int, source);
    QToolTip::hideText();
    LinuxMatrixUpgradeDlg dialog;
    dialog.show();
    // USB first; the type, chosen after FTP, sets the URL field, a type the dialog does not
    // know leaves it.
    auto *type = dialog.findChild<QComboBox *>("upgradeType");
    auto *field = dialog.findChild<QLineEdit *>("urlLineEt");
    QCOMPARE(type->currentText(), QStringLiteral("USB"));
    type->setCurrentIndex(2);
    type->setCurrentIndex(typeIndex);
    dialog.slotUpgradeTypeCurIndexChanged(7);
    const QStringList fields {"USB  locked", "HTTP http://", "FTP ftp://"};
    QCOMPARE(type->currentText() + QLatin1Char(' ') + field->text()
                     + (field->isEnabled() ? QString() : QStringLiteral(" locked")),
             fields.at(typeIndex));
    field->setText(url);
    dialog.findChild<QPushButton *>("saveBt")->click();
    if (hint.isEmpty()) {
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(h.base()->last("StartUpgrade").args, (QVariantList {source, url}));
        QCOMPARE(dialog.startResult(), 0);
    } else {
        QVERIFY(dialog.isVisible());
        QTRY_COMPARE(QToolTip::text(), hint);
        QCOMPARE(h.base()->count("StartUpgrade"), 0);
        QCOMPARE(dialog.startResult(), int(LinuxMatrixUpgradeDlg::NotStarted));
        dialog.reject();
    }
}

// ---------------------------------------------------------------- upgrade poll

// The final statuses the simulator gives are read end to end (tst_linuxe2e); here a refused
// start, a cancelled dialog, any other result of the poll, and the page left without a matrix.
void TestLinuxCheck::upgradeRefusedCancelledOrEndingOtherwise()
{
    h.openConnected();
    page->setUpgradePollInterval(5);
    h.base()->setResult("StartUpgrade", -10);
    MessageBoxScript boxes(1);
    LinuxPageHarness::runUpgrade(h.button("upgradeBt"), 0, QString());
    QCOMPARE(h.base()->last("StartUpgrade").args, (QVariantList {0, QString()}));
    QCOMPARE(boxes.texts(),
             QStringList {"Start upgrade fail! The matrix is restarting or upgrading, try again "
                          "later."});
    QVERIFY(!page->isUpgradePolling());
    QVERIFY(h.oper()->isServerConnectOK());
    QVERIFY(!COMMONUSELIB::WaitDialog::getInstance()->isWaiting());
    QTest::qWait(20);
    QCOMPARE(h.base()->count("GetUpgradeStatus"), 0);

    // Cancelling the dialog sends nothing.
    ModalDriver driver(
            [](QWidget *modal) { modal->findChild<QPushButton *>("cancelBt")->click(); });
    driver.start();
    page->findChild<QPushButton *>("upgradeBt")->click();
    QVERIFY(driver.ran());
    QCOMPARE(h.base()->count("StartUpgrade"), 1);
    QVERIFY(!page->isUpgradePolling());

    // Any result of the poll but the final statuses ends the upgrade as unknown.
    h.base()->setResult("StartUpgrade", 0);
    h.base()->queueResults("GetUpgradeStatus", {0});
    h.base()->setResult("GetUpgradeStatus", -1);
    boxes.clearRecords();
    LinuxPageHarness::runUpgrade(h.button("upgradeBt"), 1, QStringLiteral("http://host/fw-2.bin"));
    QTRY_VERIFY(!page->isUpgradePolling());
    QCOMPARE(boxes.texts(), QStringList {"unknow error!"});
    QVERIFY(!h.oper()->isServerConnectOK());
    // No poll after the end.
    const int polls = h.base()->count("GetUpgradeStatus");
    QCOMPARE(polls, 2);
    QTest::qWait(30);
    QCOMPARE(h.base()->count("GetUpgradeStatus"), polls);

    // Without a connection the upgrade button is out of reach; its slot and a stray tick do
    // nothing.
    h.base()->clear();
    QVERIFY(QMetaObject::invokeMethod(page.get(), "slotUpgradeBtClicked"));
    QVERIFY(QMetaObject::invokeMethod(page.get(), "slotGetUpgradeProcessTimeout"));
    QVERIFY(h.base()->calls().isEmpty());
    QCOMPARE(boxes.count(), 1);
}

void TestLinuxCheck::pollStopsWhenThePageLeavesTheMatrix_data()
{
    // While the upgrade is watched the operator cannot leave the matrix (its controls are
    // disabled, tst_linuxe2e); only the page going away or another wait of the host ends
    // the poll.
    QTest::addColumn<QString>("how");
    QTest::newRow("other wait") << "wait";
    QTest::newRow("page closed") << "close";
}

void TestLinuxCheck::pollStopsWhenThePageLeavesTheMatrix()
{
    QFETCH(QString, how);
    h.openConnected();
    page->setUpgradePollInterval(5);
    MessageBoxScript boxes(1);
    LinuxPageHarness::runUpgrade(h.button("upgradeBt"), 0, QString());
    QTRY_VERIFY(h.base()->count("GetUpgradeStatus") >= 1);
    COMMONUSELIB::WaitDialog *wait = COMMONUSELIB::WaitDialog::getInstance();
    QVERIFY(wait->isWaiting());
    if (how == QLatin1String("wait")) {
        // The first-server path of the container shows its own wait.
        page->slotAddDigitalMatrixServer(DigitalMatrixServerInfo());
        QVERIFY(wait->text() != QStringLiteral("Upgrading..."));
        QVERIFY(!page->isUpgradePolling());
    } else {
        page.reset();
        QVERIFY(!wait->isWaiting());
    }
    const int polls = h.base()->count("GetUpgradeStatus");
    QTest::qWait(40);
    QCOMPARE(h.base()->count("GetUpgradeStatus"), polls);
    QVERIFY(!boxes.texts().contains(QStringLiteral("unknow error!")));
}

QTEST_MAIN(TestLinuxCheck)
#include "tst_linuxcheck.moc"
