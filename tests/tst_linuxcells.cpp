// Channels in the cells of a Linux wall: setting them from the area tree (button and drag),
// the 16-channel limit, splits, turn shows with their menu, spreading a cell over the wall,
// deleting, the split and page bars and the turn-show time dialog; each checked against what
// the recording service received. Refusals and reading the wall back run end to end
// (tst_linuxe2e).
#include "AreaTreeForMatrixConfig.h"
#include "CellForConfigChannels.h"
#include "ChannelWidget.h"
#include "ChannelsOperWidget.h"
#include "ConfigChannelsWidget.h"
#include "DigitalMatrixInteractionPort.h"
#include "LinuxDigitalMatrixPage.h"
#include "SplitScreenToolBar.h"
#include "SwitchChannelsShowToolBar.h"
#include "TurnShowTimeSetDlg.h"

#include "FakeMatrixService.h"
#include "LinuxPageHarness.h"
#include "MessageBoxScript.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolTip>
#include <QtTest>

#include <cstring>
#include <memory>
#include <tuple>
#include <utility>

using namespace LUMO_DIGITALMATRIX_MODULE;

namespace {

QString channelKey(int i)
{
    return QStringLiteral("a-%1").arg(i, 2, 10, QLatin1Char('0'));
}

CellChannelItem treeItem(int i)
{
    CellChannelItem item;
    item.itemKey = QStringLiteral("area-a");
    item.channelId = channelKey(i);
    item.channelName = QStringLiteral("Cam A%1").arg(i, 2, 10, QLatin1Char('0'));
    return item;
}

} // namespace

class TestLinuxCells : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // Setting channels.
    void setChannelsLimitsAndOffersATurnShow_data();
    void setChannelsLimitsAndOffersATurnShow();
    void buttonsNeedACellAndChannelsAndDeletingStopsAtTheFirstFailure();

    // Turn shows and splits.
    void turnShowWalksItsStatesThroughTheMenuAndSplitsKeepTheTopLeftPanes();

    // Spreading and panes.
    void spreadingFollowsTheDoubleClickUnlessACellTurns();

    // Small widgets.
    void channelWidgetWrapsNames_data();
    void channelWidgetWrapsNames();
    void pageBarCapsItsButtonsAndReportsOnlyAChange();
    void timeDialogChecksTheRange_data();
    void timeDialogChecksTheRange();

private:
    void selectChannels(const QStringList &keys);
    void checkCell(int index);
    CellForConfigChannels *cell(int index) const { return grid()->getCellByIndex(index); }
    ConfigChannelsWidget *grid() const { return h.cells(); }
    AreaTreeForMatrixConfig *tree() const { return h.tree(); }
    QPushButton *setButton() const
    {
        return page->findChild<ChannelsOperWidget *>("channelsOperWdt")->setChannelsButton();
    }
    // Puts channels into a cell through the grid, answering no to a turn-show offer.
    void putChannels(int cellIndex, int count);
    void splitCell(int cellIndex, int num);
    FakeBaseMatrix *base() const { return h.base(); }
    void makeConnectedPage(int rows = 2, int columns = 2) { h.openConnected(rows, columns); }

    LinuxPageHarness h;
    std::unique_ptr<LinuxDigitalMatrixPage> &page = h.page;
};

void TestLinuxCells::init()
{
    h.start(QStringLiteral("cells_site.json"));
    LinuxPageHarness::storeServer(QStringLiteral("Wall"), QStringLiteral("10.0.0.1"));
}

void TestLinuxCells::cleanup()
{
    h.stop();
}

void TestLinuxCells::selectChannels(const QStringList &keys)
{
    tree()->getTreeWidget()->clearSelection();
    for (const QString &key : keys) {
        QTreeWidgetItem *item = tree()->channelItem(key);
        QVERIFY2(item, qPrintable(key));
        item->setSelected(true);
    }
}

void TestLinuxCells::checkCell(int index)
{
    QWidget *target = cell(index);
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(grid()->checkedIndex(), index);
}

void TestLinuxCells::putChannels(int cellIndex, int count)
{
    MessageBoxScript boxes(0);
    QList<CellChannelItem> items;
    for (int i = 1; i <= count; ++i)
        items << treeItem(i);
    grid()->setChannelsToCell(items, cellIndex);
    QCOMPARE(cell(cellIndex)->channelMap().size(), count);
}

void TestLinuxCells::splitCell(int cellIndex, int num)
{
    cell(cellIndex)->splitBar()->splitButton(num)->click();
    QCOMPARE(cell(cellIndex)->splitCount(), num);
    // Lets the panes take their places before anything points at them.
    QCoreApplication::processEvents();
}

// ---------------------------------------------------------------- setting channels

void TestLinuxCells::setChannelsLimitsAndOffersATurnShow_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("panes");
    QTest::addColumn<short>("answer"); // to the turn show offered
    QTest::newRow("17 refused") << 17 << 1 << short(0);
    QTest::newRow("16 in one pane") << 16 << 1 << short(0);
    QTest::newRow("5 in 4 panes, yes") << 5 << 4 << short(1);
    QTest::newRow("5 in 4 panes, no") << 5 << 4 << short(0);
    QTest::newRow("4 in 4 panes") << 4 << 4 << short(1);
}

void TestLinuxCells::setChannelsLimitsAndOffersATurnShow()
{
    QFETCH(int, count);
    QFETCH(int, panes);
    QFETCH(short, answer);
    makeConnectedPage();
    if (panes > 1)
        splitCell(1, panes);
    QStringList keys;
    for (int i = 1; i <= count; ++i)
        keys << channelKey(i);
    selectChannels(keys);
    checkCell(1);
    base()->clear();

    MessageBoxScript boxes(answer);
    setButton()->click();
    if (count > 16) {
        QCOMPARE(boxes.texts(), QStringList {"The max channel count can set in cell is:16"});
        QCOMPARE(boxes.last().buttons, short(1));
        QVERIFY(base()->calls().isEmpty());
        QVERIFY(!cell(1)->hasChannels());
        return;
    }
    const FakeCall call = base()->last("SetCellChannels");
    QCOMPARE(call.args, (QVariantList {1, count, panes}));
    QCOMPARE(call.bytes.size(), count * int(sizeof(CellChannelRecord)));
    // Channels from the tree have no place of their own.
    CellChannelRecord first;
    std::memcpy(&first, call.bytes.constData(), sizeof(first));
    QCOMPARE(first.position, -1);
    QCOMPARE(cell(1)->channelMap().size(), count);
    // More channels than panes: the turn show is offered, and accepted it runs (0) or the cell
    // stays stopped (1).
    const bool asked = count > panes;
    const int state = asked && answer == 1 ? 0 : 1;
    QCOMPARE(boxes.texts(), asked ? QStringList {"Whether start turn show?"} : QStringList());
    if (asked)
        QCOMPARE(boxes.last().buttons, short(3));
    QCOMPARE(int(cell(1)->turnState()), state);
    // Running or not, the last pane names the channel of its position on the first page.
    ChannelWidget *lastPane = cell(1)->channelWidget(panes - 1);
    QCOMPARE(lastPane->displayText(), QStringLiteral("Cam A0\r\n%1").arg(panes));
    QCOMPARE(lastPane->getChannelItem().channelId, channelKey(panes));
    // What a start sends is tst_port's, the caption it shows tst_linuxe2e's.
    QCOMPARE(base()->count("SetCellTurnShow"), state == 0 ? 1 : 0);
    QCOMPARE(cell(1)->channelWidget(0)->isTurning(), state == 0);
}

void TestLinuxCells::buttonsNeedACellAndChannelsAndDeletingStopsAtTheFirstFailure()
{
    makeConnectedPage();
    selectChannels({channelKey(1)});
    QWidget *inner = cell(3)->getWidget();
    const std::unique_ptr<QMimeData> mime(
            tree()->mimeDataForItems(tree()->getTreeWidget()->selectedItems()));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(inner, &enter);
    QCOMPARE(grid()->checkedIndex(), 3);
    QVERIFY(cell(3)->isWidgetChecked());
    QDragLeaveEvent leave;
    QApplication::sendEvent(inner, &leave);
    QCOMPARE(grid()->checkedIndex(), -1);
    QVERIFY(!cell(3)->isWidgetChecked());

    QMimeData text;
    text.setText(QStringLiteral("not channels"));
    QDragEnterEvent foreign(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(cell(0)->getWidget(), &foreign);
    QVERIFY(!foreign.isAccepted());
    QDropEvent drop(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(cell(0)->getWidget(), &drop);
    QVERIFY(!drop.isAccepted());
    QCOMPARE(grid()->checkedIndex(), -1);
    QVERIFY(base()->calls().isEmpty());

    QPushButton *deleteButton =
            page->findChild<ChannelsOperWidget *>("channelsOperWdt")->deleteChannelsButton();
    QPushButton *clearButton = page->findChild<QPushButton *>("clearChannelsBt");
    MessageBoxScript boxes(0);
    setButton()->click(); // no cell checked
    deleteButton->click();
    clearButton->click(); // no channels anywhere
    checkCell(2);
    deleteButton->click(); // an empty cell
    tree()->getTreeWidget()->clearSelection();
    setButton()->click(); // nothing selected
    QCOMPARE(boxes.texts(),
             (QStringList {"Please select cell to set channels!",
                           "Please select cell to clear channels!", "All cells have none channels!",
                           "Cell has none channels!", "Please select channels to set!"}));
    QCOMPARE(base()->count("SetCellChannels"), 0);

    // One pane of no cell, and an entry without a channel.
    CellChannelItem item = treeItem(1);
    item.position = 0;
    grid()->setChannelToCellPane(item, -1);
    item.channelId.clear();
    grid()->setChannelToCellPane(item, 2);
    QCOMPARE(boxes.texts().mid(5),
             (QStringList {"Please select cell to set channel!", "Please select channel to set!"}));
    QCOMPARE(base()->count("AddCellChannel"), 0);

    // The menu opens only over channels.
    QMenu *menu = cell(1)->contextMenu();
    LinuxPageHarness::rightClick(cell(1)->channelWidget(0));
    QVERIFY(!menu->isVisible());
    putChannels(1, 4);
    splitCell(1, 4);
    LinuxPageHarness::rightClick(cell(1)->channelWidget(2));
    QVERIFY(menu->isVisible());
    QCOMPARE(cell(1)->selectedPane(), 2);
    menu->hide();

    // The split bar comes with the mouse; the page bar never shows itself.
    QEvent mouseIn(QEvent::Enter);
    QApplication::sendEvent(cell(1), &mouseIn);
    QVERIFY(!cell(1)->splitBar()->isHidden());
    QVERIFY(cell(1)->pageBar()->isHidden());
    QEvent mouseOut(QEvent::Leave);
    QApplication::sendEvent(cell(1), &mouseOut);
    QVERIFY(cell(1)->splitBar()->isHidden());

    // Deleting from the checked cell and clearing the wall stop at the first refusal.
    checkCell(2);
    putChannels(2, 3);
    base()->clear();
    boxes.clearRecords();
    base()->queueResults("DeleteCellChannel", {0, -1});
    boxes.answer(1);
    deleteButton->click();
    QCOMPARE(boxes.texts(),
             (QStringList {"Make sure delete cell channels?", "Delete cell channels fail!"}));
    QCOMPARE(base()->callsNamed("DeleteCellChannel").size(), 2);
    QCOMPARE(cell(2)->channelMap().keys(), (QList<int> {1, 2}));

    boxes.answer(1);
    deleteButton->click();
    QVERIFY(!cell(2)->hasChannels());
    QCOMPARE(base()->last("DeleteCellChannel").args, (QVariantList {2, 2}));

    putChannels(0, 2);
    putChannels(1, 1);
    putChannels(3, 2);
    base()->clear();
    boxes.clearRecords();
    clearButton->click(); // declined
    QCOMPARE(boxes.texts(), QStringList {"Make sure delete all channels?"});
    QVERIFY(base()->calls().isEmpty());

    // Cell 0 goes, cell 1 is refused, cell 3 is left alone.
    base()->queueResults("DeleteCellChannel", {0, 0, -1});
    boxes.answer(1);
    clearButton->click();
    QCOMPARE(boxes.texts().last(), QStringLiteral("clear channels fail!"));
    QVERIFY(!cell(0)->hasChannels());
    QCOMPARE(cell(1)->channelMap().size(), 1);
    QCOMPARE(cell(3)->channelMap().size(), 2);
    for (const FakeCall &call : base()->callsNamed("DeleteCellChannel"))
        QVERIFY(call.args.at(0).toInt() <= 1);
}

// ---------------------------------------------------------------- turn shows

void TestLinuxCells::turnShowWalksItsStatesThroughTheMenuAndSplitsKeepTheTopLeftPanes()
{
    // What each state allows is LinuxCellContent's table (tst_linuxcellcontent) and the codes
    // the port sends with their split tst_port's; here the cell's actions reach them, refused
    // ones send nothing, and the menu and the panes follow the state.
    makeConnectedPage();
    putChannels(0, 3);
    CellForConfigChannels *target = cell(0);
    MessageBoxScript boxes(0);
    const char *slotNames[] = {
            "slotTurnShowStartActionTriggered", "slotTurnShowStopActionTriggered",
            "slotTurnShowPauseActionTriggered", "slotTurnShowContinueActionTriggred"};
    const QStringList startOnly {"Start"};
    const QStringList running {"Stop", "Pause"};
    const QStringList paused {"Start", "Stop", "Continue"};
    const auto visibleTurnEntries = [target] {
        QStringList entries;
        for (const char *name : {"turnShowStartAction", "turnShowStopAction", "turnShowPauseAction",
                                 "turnShowContinueAction"}) {
            QAction *action = target->findChild<QAction *>(QLatin1String(name));
            if (action && action->isVisible())
                entries << action->text();
        }
        return entries;
    };
    // Operation, the code sent (-1: nothing sent), the state and the menu it leaves.
    const QList<std::tuple<int, int, int, QStringList>> walk {
            {2, -1, 1, startOnly}, {0, 0, 0, running},  {3, -1, 0, running}, {2, 1, 2, paused},
            {2, -1, 2, paused},    {3, 0, 3, running},  {0, -1, 3, running}, {2, 1, 2, paused},
            {0, 0, 0, running},    {1, 2, 1, startOnly}};
    for (const auto &[op, serviceCode, state, menu] : walk) {
        base()->clear();
        QVERIFY(QMetaObject::invokeMethod(target, slotNames[op]));
        QCOMPARE(base()->count("SetCellTurnShow"), serviceCode < 0 ? 0 : 1);
        if (serviceCode >= 0)
            QCOMPARE(base()->last("SetCellTurnShow").args, (QVariantList {0, 30, serviceCode, 0}));
        QCOMPARE(int(target->turnState()), state);
        QCOMPARE(visibleTurnEntries(), menu);
        QCOMPARE(target->channelWidget(0)->isTurning(), state == 0 || state == 3);
    }
    QVERIFY(boxes.texts().isEmpty());

    putChannels(0, 16);
    // Page buttons for the 16 channels of the cell, by split.
    const QMap<int, int> pageButtons {{1, 5}, {4, 4}, {9, 2}, {16, 0}};
    // Each split from the one before: old pane index -> new pane index (-1 or left out:
    // deleted).
    const QList<std::pair<int, QList<int>>> splits {{4, {0}},
                                                    {16, {0, 1, 4, 5}},
                                                    {9, {0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8}},
                                                    {4, {0, 1, -1, 2, 3}},
                                                    {9, {0, 1, 3, 4}},
                                                    {16, {0, 1, 2, 4, 5, 6, 8, 9, 10}},
                                                    {1, {0}}};
    for (const auto &[to, moves] : splits) {
        const QList<ChannelWidget *> before = target->channelWidgets();
        base()->clear();
        target->splitBar()->splitButton(to)->click();
        QCOMPARE(base()->trace(), QStringList {QStringLiteral("SetCellSplit(0,%1,0)").arg(to)});

        const QList<ChannelWidget *> after = target->channelWidgets();
        QCOMPARE(after.size(), to);
        for (int old = 0; old < before.size(); ++old) {
            const int moved = moves.value(old, -1);
            if (moved >= 0)
                QCOMPARE(after.at(moved), before.at(old));
            else
                QVERIFY(!after.contains(before.at(old)));
        }
        // The panes show positions 0 .. to-1 and all are shown.
        for (int i = 0; i < to; ++i) {
            QCOMPARE(after.at(i)->getIndex(), i);
            QCOMPARE(after.at(i)->getChannelItem().channelId, channelKey(i + 1));
        }
        QCOMPARE(target->visiblePaneCount(), to);
        QCOMPARE(target->pageBar()->pageButtonCount(), pageButtons.value(to));
        QCoreApplication::processEvents();
    }
}

// ---------------------------------------------------------------- spreading and panes

void TestLinuxCells::spreadingFollowsTheDoubleClickUnlessACellTurns()
{
    // The region each spread sends is tst_port's (cellMeltSendsOneRegion).
    makeConnectedPage(1, 2);
    putChannels(1, 1);
    base()->clear();
    MessageBoxScript boxes(0);
    QTest::mouseDClick(cell(1)->channelWidget(0), Qt::LeftButton);
    QCOMPARE(base()->count("SetCellMelt"), 1);
    QCOMPARE(grid()->wallCellIndex(), 1);
    QVERIFY(cell(0)->isHidden());
    QVERIFY(cell(1)->isOnWall());
    QTest::mouseDClick(cell(1)->channelWidget(0), Qt::LeftButton);
    QCOMPARE(base()->count("SetCellMelt"), 2);
    QCOMPARE(grid()->wallCellIndex(), -1);
    QVERIFY(!cell(0)->isHidden());
    QCOMPARE(base()->count("SetCellSingleWindow"), 0);

    // An empty pane does nothing; an empty cell over the wall comes back on a double click.
    QTest::mouseDClick(cell(0)->channelWidget(0), Qt::LeftButton);
    QCOMPARE(base()->count("SetCellMelt"), 2);
    grid()->slotHideCellsButThisIndex(0, true);
    QCOMPARE(grid()->wallCellIndex(), 0);
    base()->clear();
    QTest::mouseDClick(cell(0)->channelWidget(0), Qt::LeftButton);
    QCOMPARE(grid()->wallCellIndex(), -1);
    QCOMPARE(base()->count("SetCellMelt"), 1);

    // A paused show counts as turning (a running one is asked about end to end).
    putChannels(0, 2);
    putChannels(1, 5);
    QVERIFY(cell(1)->turnShowOperate(CellTurnCode::TurnStart));
    QVERIFY(cell(1)->turnShowOperate(CellTurnCode::TurnPause));
    base()->clear();
    QTest::mouseDClick(cell(0)->channelWidget(0), Qt::LeftButton);
    QCOMPARE(boxes.texts(),
             QStringList {"Forbid to melting flat while some cells turn show! Stop the turn "
                          "shows and melt flat?"});
    QVERIFY(base()->calls().isEmpty());
    QCOMPARE(grid()->wallCellIndex(), -1);
}

// ---------------------------------------------------------------- small widgets

void TestLinuxCells::channelWidgetWrapsNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("six") << "Gate 1"
                         << "Gate 1";
    QTest::newRow("twelve") << "abcdefghijkl"
                            << "abcdef\r\nghijkl";
    QTest::newRow("fifteen") << "abcdefghijklmno"
                             << "abcdef\r\nghijkl\r\nmno";
    QTest::newRow("empty") << ""
                           << "";
}

void TestLinuxCells::channelWidgetWrapsNames()
{
    QFETCH(QString, name);
    QFETCH(QString, shown);
    ChannelWidget pane(0);
    CellChannelItem item;
    item.channelId = QStringLiteral("k");
    item.channelName = name;
    pane.setChannelItem(item);
    QCOMPARE(pane.displayText(), shown);
    // A pane names its channel while its cell turns too.
    pane.setTurning(true);
    QCOMPARE(pane.displayText(), shown);
    // Only a pane with a channel answers a double click
    // (spreadingFollowsTheDoubleClickUnlessACellTurns).
}

void TestLinuxCells::pageBarCapsItsButtonsAndReportsOnlyAChange()
{
    // The buttons for 1, 2, 4 and 16 pages come with the splits
    // (turnShowWalksItsStatesThroughTheMenuAndSplitsKeepTheTopLeftPanes).
    SwitchChannelsShowToolBar bar;
    bar.setPageCount(7);
    bar.setPageCount(0);
    QCOMPARE(bar.pageButtonCount(), 0);
    QVERIFY(bar.toggleButton()->isHidden());
    bar.setCurrentPage(9); // no such page
    QCOMPARE(bar.currentPage(), 0);
    bar.setPageCount(6);
    QCOMPARE(bar.pageButtonCount(), 5);
    QVERIFY(!bar.toggleButton()->isHidden());
    auto *layout = qobject_cast<QHBoxLayout *>(bar.layout());
    for (int id = 0; id < 5; ++id)
        QCOMPARE(layout->indexOf(bar.pageButton(id)), id + 1);
    bar.setCurrentPage(4);
    QVERIFY(bar.pageButton(4)->isChecked());
    bar.setCurrentPage(9);
    QCOMPARE(bar.currentPage(), 4);

    bar.setPageCount(3);
    QCOMPARE(bar.pageButtonCount(), 3);
    bar.setCurrentPage(0);
    QSignalSpy spy(&bar, &SwitchChannelsShowToolBar::signalCurSwitchPageNumChanged);
    bar.pageButton(0)->click();
    QCOMPARE(spy.count(), 0);
    bar.pageButton(2)->click();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 2);
    QCOMPARE(bar.currentPage(), 2);
    bar.slotHidePanelBtClicked(true);
    QVERIFY(bar.pageButton(1)->isHidden());
    bar.slotHidePanelBtClicked(false);
    QVERIFY(!bar.pageButton(1)->isHidden());
}

void TestLinuxCells::timeDialogChecksTheRange_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("hint"); // empty: accepted
    const QString range = QStringLiteral("Turn show time range is:5-60!");
    QTest::newRow("empty") << ""
                           << "Please enter turn show time!";
    QTest::newRow("4") << "4" << range;
    QTest::newRow("5") << "5" << QString();
    QTest::newRow("60") << "60" << QString();
    QTest::newRow("61") << "61" << range;
    // Escape and the close button reject.
    QTest::newRow("escape") << "<escape>" << QString();
    QTest::newRow("close") << "<close>" << QString();
}

void TestLinuxCells::timeDialogChecksTheRange()
{
    QFETCH(QString, text);
    QFETCH(QString, hint);
    QToolTip::hideText();
    TurnShowTimeSetDlg dialog(30, nullptr);
    dialog.show();
    QTRY_VERIFY(dialog.isVisible());
    if (text == QLatin1String("<escape>")) {
        QTest::keyClick(&dialog, Qt::Key_Escape);
    } else if (text == QLatin1String("<close>")) {
        dialog.findChild<QPushButton *>("closeBt")->click();
    } else {
        dialog.timeLineEdit()->setText(text);
        dialog.findChild<QPushButton *>("setBt")->click();
    }
    const bool accepted = hint.isEmpty() && !text.startsWith(QLatin1Char('<'));
    QCOMPARE(dialog.result(), int(accepted ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(dialog.isVisible(), !hint.isEmpty());
    if (accepted)
        QCOMPARE(dialog.getTurnShowTime(), text.toInt());
    if (!hint.isEmpty())
        QTRY_COMPARE(QToolTip::text(), hint);
    dialog.reject();
}

QTEST_MAIN(TestLinuxCells)
#include "tst_linuxcells.moc"
