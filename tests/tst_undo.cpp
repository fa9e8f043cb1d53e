// Undo and redo of wall changes on both pages, against the simulator; an X86 wall command the
// matrix refuses is shown and leaves the wall and the undo list as they were.
#include "CellForConfigChannels.h"
#include "ConfigChannelsWidget.h"
#include "DigitalMatrixServerOperWidget.h"
#include "DigitalMatrix.h"
#include "LinuxDigitalMatrixPage.h"
#include "MatrixGroupTree.h"
#include "MatrixManageWidget.h"
#include "MirrorWidget.h"
#include "SetChannelSource.h"

#include "LinuxMatrixPeer.h"
#include "LinuxWallFixture.h"
#include "MatrixProtocol.h"
#include "MatrixSimulator.h"
#include "MessageBoxScript.h"
#include "SecondOperator.h"
#include "X86WallFixture.h"

#include <QPushButton>
#include <QtTest>

using namespace LUMO_DIGITALMATRIX_MODULE;

class TestUndo : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void x86StepIsRefusedOrUndoneAndRedone_data();
    void x86StepIsRefusedOrUndoneAndRedone();
    void linuxStepIsUndoneAndRedone_data();
    void linuxStepIsUndoneAndRedone();

private:
    void press(QPushButton *button, bool keys, QKeySequence::StandardKey key);

    X86WallFixture x;
    LinuxWallFixture l;
};

void TestUndo::cleanup()
{
    x.stop();
    l.stop();
}

void TestUndo::press(QPushButton *button, bool keys, QKeySequence::StandardKey key)
{
    QTRY_VERIFY_WITH_TIMEOUT(button->isEnabled(), X86WallFixture::Timeout);
    QWidget *page = button->window();
    page->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(page));
    if (!keys) {
        // Clicked, the button takes the keyboard; when it has nothing more to do, the wall
        // takes it (never the tool after it).
        QWidget *wall = button->objectName().startsWith(QLatin1Char('_'))
                ? static_cast<QWidget *>(x.wall())
                : l.grid();
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY(button->isEnabled() || QApplication::focusWidget() == wall);
        return;
    }
    QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget() : page;
    const QKeySequence sequence(key);
    QTest::keyClick(focus, Qt::Key(sequence[0] & ~Qt::KeyboardModifierMask),
                    Qt::KeyboardModifiers(sequence[0] & Qt::KeyboardModifierMask));
}

void TestUndo::x86StepIsRefusedOrUndoneAndRedone_data()
{
    QTest::addColumn<QString>("step"); // empty: no step of the undo list
    QTest::addColumn<bool>("keys"); // Ctrl+Z and Ctrl+Shift+Z instead of the buttons
    QTest::addColumn<int>("refused"); // the request the matrix refuses first (0: none)
    QTest::addColumn<QString>("message");
    using namespace MatrixProtocol;
    QTest::newRow("move") << QString("move of window 1") << false << int(X86SetMirrorRect)
                          << "The matrix server refused to move the window!";
    QTest::newRow("resize") << QString("size of window 1") << true << 0 << QString();
    QTest::newRow("split") << QString("split of window 1") << false << int(X86SetMonitorSplit)
                           << "The matrix server refused the split!";
    QTest::newRow("zoom") << QString() << false << int(X86ZoomMirrorAt)
                          << "The matrix server refused to zoom the window!";
    // The sources of a turn show are refused and so is the start that follows them: one message.
    QTest::newRow("sources") << QString("sources of window 1") << false
                             << int(X86SetMonitorTurnSources)
                             << "The matrix server refused the sources!";
    QTest::newRow("clear") << QString("clearing of window 1") << false << int(X86ClearSource)
                           << "The matrix server refused to clear the source!";
    QTest::newRow("pause") << QString("turn show of window 1") << true << 0 << QString();
    QTest::newRow("stop all") << QString("turn shows of the wall") << false << int(X86SetTurnState)
                              << "The matrix server refused to change the turn show!";
    QTest::newRow("swap") << QString("swap of windows 2 and 1") << false << int(X86ExchangeMirrors)
                          << "The matrix server refused to swap the windows!";
    QTest::newRow("configuration mode") << QString() << false << int(X86SetConfigMode)
                                        << "The matrix server refused the configuration mode!";
}

void TestUndo::x86StepIsRefusedOrUndoneAndRedone()
{
    const QString action = QTest::currentDataTag();
    QFETCH(QString, step);
    QFETCH(bool, keys);
    QFETCH(int, refused);
    QFETCH(QString, message);
    QVERIFY(x.startArranged(2, 2, true));
    SecondOperator other;
    if (action == "clear" || action == "pause" || action == "stop all") {
        // A turn show of four channels on windows 0 and 1, started by a second operator.
        QVERIFY(other.connectTo(x.simulator->x86Port())
                && other.config->Login("second", "second") == 0);
        std::vector<_ST_ChnInfo> records = channelRecords({"cam-1", "cam-2", "cam-3", "cam-4"});
        for (int window : {0, 1}) {
            other.config->SetMonitorTurnSources(window, records.data(), 4, 20);
            other.config->SetTurnState(window, 1);
        }
        QTRY_COMPARE_WITH_TIMEOUT(x.wall()->mirrorByIndex(1)->getTurnState(), X86TurnState::Running,
                                  X86WallFixture::Timeout);
    }
    const bool configuring = action == "swap"; // numbers are swapped in the configuration mode
    if (configuring)
        x.enterConfigurationMode(2, 2);
    MirrorWidget *window = x.wall()->mirrorByIndex(0);
    QTest::mouseClick(window, Qt::LeftButton);
    QTRY_COMPARE(x.page->currentMonitorIndex(), 0);
    QPushButton *undo = x.button("_undoBtn");
    QPushButton *redo = x.button("_redoBtn");
    QVERIFY(!undo->isEnabled() && !redo->isEnabled());
    QStringList before = x.heldWindows();
    const SimX86Window held = x.simWindow(0);
    const QRect placed = window->geometry();

    const auto act = [&] {
        MirrorWidget *window = x.wall()->mirrorByIndex(0);
        x.boxes->answer(1);
        if (action == "move") {
            x.drag(window, QPoint(40, 30));
        } else if (action == "resize") {
            x.wall()->setFocus();
            QTest::keyClick(x.wall(), Qt::Key_Right, Qt::ShiftModifier);
        } else if (action == "split") {
            x.chooseSplit(window, "_squaretwoBtn");
        } else if (action == "zoom") {
            QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        } else if (action == "sources") {
            x.setSources([](MatrixGroupTree *group, SetChannelSource *) {
                tickLobby(group, 4, QStringLiteral("4"), 20);
            });
        } else if (action == "swap") {
            MirrorWidget *second = x.wall()->mirrorByIndex(1);
            x.drag(window, second->geometry().center() - window->geometry().center());
        } else if (action == "clear") {
            x.button("_clearSourceBtn")->click();
        } else if (action == "pause") {
            QMetaObject::invokeMethod(x.page.get(), "slotPauseTurn");
        } else if (action == "stop all") {
            x.button("_stopAllTurnsBtn")->click();
        } else {
            QTest::mouseClick(x.button("_MatrixSettingBtn"), Qt::LeftButton);
        }
    };
    if (refused) {
        x.boxes->clearRecords();
        x.refuse({quint16(refused)});
        act();
        // One message says so ...
        QTRY_VERIFY_WITH_TIMEOUT(x.boxes->texts().contains(message), X86WallFixture::Timeout);
        QCOMPARE(x.boxes->texts().filter(QStringLiteral("refused")), QStringList {message});
        // ... and the page shows what the matrix holds, with no step to undo.
        QCOMPARE(x.simulator->x86State().configMode, configuring);
        QCOMPARE(x.simWindow(0).sources.size(), held.sources.size());
        QCOMPARE(x.simWindow(0).turnState, held.turnState);
        x.waitUntilShowsTheMatrix();
        QCOMPARE(x.button("_turnShowBtn")->isEnabled(), held.turnState != 0);
        QTRY_COMPARE(x.wall()->mirrorByIndex(0)->geometry(), placed);
        QCOMPARE(x.page->isMonitorConfig(), configuring);
        QCOMPARE(x.button("_saveMatrixSettingBtn")->isHidden(), !configuring);
        QVERIFY(!undo->isEnabled());
        if (step.isEmpty())
            return;
        x.refuse({});
        x.boxes->clearRecords();
        before = x.heldWindows(); // a split sent before refused sources stays
    }

    act();
    QTRY_VERIFY_WITH_TIMEOUT(undo->isEnabled(), X86WallFixture::Timeout);
    const QStringList after = x.heldWindows();
    QVERIFY(after != before);
    QCOMPARE(undo->toolTip(), "Undo " + step);

    press(undo, keys, QKeySequence::Undo);
    QTRY_COMPARE_WITH_TIMEOUT(x.heldWindows(), before, X86WallFixture::Timeout);
    QTRY_VERIFY(redo->isEnabled());
    QCOMPARE(redo->toolTip(), "Redo " + step);
    QVERIFY(!undo->isEnabled());
    press(redo, keys, QKeySequence::Redo);
    QTRY_COMPARE_WITH_TIMEOUT(x.heldWindows(), after, X86WallFixture::Timeout);
    QTRY_VERIFY(undo->isEnabled());
    QCOMPARE(x.boxes->texts().filter("refused").size(), 0);
    if (action != "move")
        return;

    // The matrix refuses the undo: said so, and the step is still there to be tried again.
    x.refuse({MatrixProtocol::X86SetMirrorRect});
    x.boxes->clearRecords();
    undo->click();
    QTRY_COMPARE_WITH_TIMEOUT(x.boxes->count(), 1, X86WallFixture::Timeout);
    QVERIFY2(x.boxes->last().text.contains("refused to undo"), qPrintable(x.boxes->last().text));
    QCOMPARE(x.heldWindows(), after);
    QTRY_VERIFY(undo->isEnabled());
    QCOMPARE(undo->toolTip(), "Undo " + step);
    QVERIFY(!redo->isEnabled());
    // Leaving the matrix forgets its steps.
    x.refuse({});
    QTest::mouseClick(x.button("_connectMatrixBtn"), Qt::LeftButton);
    QTRY_VERIFY(!x.page->isConnected());
    x.connectPage();
    QCOMPARE(undo->toolTip(), QString("Nothing to undo"));
    QVERIFY(!undo->isEnabled());

    // Another operator moved the window since: the step cannot be undone and is dropped.
    x.drag(x.wall()->mirrorByIndex(0), QPoint(40, 30));
    QTRY_VERIFY_WITH_TIMEOUT(undo->isEnabled(), X86WallFixture::Timeout);
    QVERIFY(other.connectTo(x.simulator->x86Port())
            && other.config->Login("second", "second") == 0);
    other.config->SetMirrorRect(0, RECT {100, 100, 900, 700});
    QTRY_COMPARE_WITH_TIMEOUT(x.wall()->reportedRect(0).left, 100, X86WallFixture::Timeout);
    const QStringList moved = x.heldWindows();
    x.boxes->clearRecords();
    undo->click();
    QTRY_COMPARE_WITH_TIMEOUT(x.boxes->count(), 1, X86WallFixture::Timeout);
    QVERIFY2(x.boxes->last().text.contains("cannot be undone"), qPrintable(x.boxes->last().text));
    QCOMPARE(x.heldWindows(), moved);
    QTRY_VERIFY(!undo->isEnabled());
    QCOMPARE(undo->toolTip(), QString("Nothing to undo"));
    QVERIFY(!redo->isEnabled());
}

void TestUndo::linuxStepIsUndoneAndRedone_data()
{
    QTest::addColumn<QString>("step");
    QTest::newRow("channels") << QString("channels of cell 1");
    QTest::newRow("split") << QString("split of cell 1");
    QTest::newRow("single") << QString("pane shown alone in cell 1");
    QTest::newRow("delete") << QString("deleting in cell 1");
    QTest::newRow("spread") << QString("spread of cell 1");
}

void TestUndo::linuxStepIsUndoneAndRedone()
{
    const QString action = QTest::currentDataTag();
    QFETCH(QString, step);
    l.start(MatrixSimulatorOptions(), QStringLiteral("lobby_site.json"));
    l.connectPage();
    l.arrangeAndSave(2, 2);
    CellForConfigChannels *cell = l.cellSetByAnotherOperator(
            0, {l.channel("a-1", 0), l.channel("a-2", 1), l.channel("a-3", 2)});
    QVERIFY(cell);
    QPushButton *undo = l.button("undoLayoutBt");
    QPushButton *redo = l.button("redoLayoutBt");
    QVERIFY(undo->isVisible() && redo->isVisible() && !undo->isEnabled());
    const QString before = l.held();

    l.boxes->answer(1);
    if (action == "channels")
        l.grid()->setChannelsToCell({l.channel("a-4", -1)}, 0);
    else if (action == "split")
        cell->slotSplitScreenNum(9);
    else if (action == "single")
        cell->slotChannelWidgetDoubleClicked(1);
    else if (action == "delete")
        cell->slotDeleteChannelFromCell(QStringLiteral("a-2"));
    else
        l.grid()->slotHideCellsButThisIndex(0);
    QTRY_VERIFY(undo->isEnabled());
    const QString after = l.held();
    QVERIFY2(after != before, qPrintable(after));
    QCOMPARE(undo->toolTip(), "Undo " + step);

    press(undo, action == "split", QKeySequence::Undo);
    QCOMPARE(l.held(), before);
    QTRY_VERIFY(redo->isEnabled());
    QCOMPARE(redo->toolTip(), "Redo " + step);
    press(redo, action == "split", QKeySequence::Redo);
    QCOMPARE(l.held(), after);
    QTRY_VERIFY(undo->isEnabled());
    QCOMPARE(l.boxes->count(), 0);
    if (action != "split")
        return;

    // A step in cell 2, then another console puts channels there: that step is refused and
    // dropped; the one before still applies to its own cell.
    l.grid()->getCellByIndex(1)->slotSplitScreenNum(4);
    QTRY_COMPARE(undo->toolTip(), QString("Undo split of cell 2"));
    LinuxMatrixPeer peer;
    QCOMPARE(peer.connectTo(l.simulator->linuxPort()), 0);
    QCOMPARE(peer.setCellChannels(1, 9, {l.channel("a-1", 0)}), 0);
    const QString held = l.held();
    undo->click();
    QCOMPARE(l.boxes->count(), 1);
    QVERIFY2(l.boxes->last().text.contains("cannot be undone"), qPrintable(l.boxes->last().text));
    QCOMPARE(l.held(), held);
    QCOMPARE(l.grid()->getCellByIndex(1)->splitCount(), 9);
    QCOMPARE(undo->toolTip(), "Undo " + step);
    undo->click();
    QCOMPARE(l.simulator->linuxState().cells.at(0).split, 4);

    // Leaving the matrix forgets the rest.
    QTRY_VERIFY(redo->isEnabled());
    l.oper()->connectButton()->click();
    l.connectPage();
    QVERIFY(!redo->isEnabled());
    QCOMPARE(redo->toolTip(), QString("Nothing to redo"));
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
