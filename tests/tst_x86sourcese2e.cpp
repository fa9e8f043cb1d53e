// The X86 page against the matrix simulator over the real matrix-service library: put channels
// on a window as a turn show through the source dialog, then pause, start and stop it from the
// turn menu, reading each state back from the simulator; questions declined, fixed sets, ticks
// kept across tabs and searches, sources the matrix refuses.
#include "DigitalMatrix.h"
#include "DigitalMatrixInteractionPort.h"
#include "ISpinBox.h"
#include "MatrixGroupTree.h"
#include "MatrixManageWidget.h"
#include "MirrorWidget.h"
#include "SetChannelSource.h"
#include "TurnControlWidget.h"

#include "UserManagerCore.h"
#include "WaitDialog.h"

#include "MatrixProtocol.h"
#include "MatrixSimulator.h"
#include "X86WallFixture.h"

#include "MessageBoxScript.h"
#include "ModalDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>

using namespace LUMO_DIGITALMATRIX_MODULE;

namespace {

constexpr int Timeout = X86WallFixture::Timeout;

} // namespace

class TestX86SourcesEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void turnShowOnAWindowPausedStartedStopped();
    void decliningTheQuestionChangesNothing_data();
    void decliningTheQuestionChangesNothing();
    void fixedSetHoldsNoTurnShow();
    void ticksSurviveTabsAndSearches();
    void refusedSourcesAreShownOnce();

private:
    using Ticking = std::function<void(MatrixGroupTree *group, SetChannelSource *dialog)>;

    QPushButton *button(const QString &name) const { return f.button(name); }
    SimX86Window simWindow(int index) const { return f.simWindow(index); }
    void connectAndArrangeTwoByTwo();
    // Selects a window on the wall.
    void select(int index);
    // Opens the source dialog, lets ticking act on it, presses "Set".
    void setSources(const Ticking &ticking);
    // Ticks the lobby's four channels, chooses the split and, with an interval, a turn show.
    static void tickLobby(MatrixGroupTree *group, int channels, const QString &split, int interval);

    X86WallFixture f;
    std::unique_ptr<MatrixSimulator> &simulator = f.simulator;
    std::unique_ptr<MessageBoxScript> &boxes = f.boxes;
    std::unique_ptr<DigitalMatrix> &page = f.page;
};

void TestX86SourcesEndToEnd::init()
{
    f.start(4, true);
}

void TestX86SourcesEndToEnd::cleanup()
{
    f.stop();
}

void TestX86SourcesEndToEnd::connectAndArrangeTwoByTwo()
{
    f.connectAndArrange(2, 2);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(button("_setSourceBtn")->isEnabled());
}

void TestX86SourcesEndToEnd::select(int index)
{
    auto *wall = page->findChild<MatrixManageWidget *>();
    QTRY_VERIFY(wall->mirrorByIndex(index) && wall->mirrorByIndex(index)->isVisible());
    QTest::mouseClick(wall->mirrorByIndex(index), Qt::LeftButton);
    QTRY_COMPARE(page->currentMonitorIndex(), index);
    QTRY_COMPARE_WITH_TIMEOUT(simulator->x86State().selectedMonitor, index, Timeout);
}

void TestX86SourcesEndToEnd::setSources(const Ticking &ticking)
{
    ModalDriver source([&ticking](QWidget *modal) {
        auto *dialog = qobject_cast<SetChannelSource *>(modal);
        if (!dialog)
            return;
        ticking(dialog->groupTree(), dialog);
        QTest::mouseClick(dialog->findChild<QPushButton *>("_setBtn"), Qt::LeftButton);
    });
    source.start();
    QTest::mouseClick(button("_setSourceBtn"), Qt::LeftButton);
    source.stop();
    QVERIFY(source.ran());
}

void TestX86SourcesEndToEnd::tickLobby(MatrixGroupTree *group, int channels, const QString &split,
                                       int interval)
{
    auto *tree = group->findChild<QTreeWidget *>("_treeWidget");
    const QList<QTreeWidgetItem *> lobby =
            tree->findItems(QStringLiteral("一楼大厅"), Qt::MatchExactly);
    if (lobby.isEmpty())
        return;
    for (int i = 0; i < channels && i < lobby.first()->childCount(); ++i)
        lobby.first()->child(i)->setCheckState(0, Qt::Checked);
    auto *splits = group->findChild<QComboBox *>("_spliteCBox");
    splits->setCurrentIndex(splits->findText(split));
    group->findChild<QCheckBox *>("_startCBox")->setChecked(interval > 0);
    if (interval > 0)
        group->findChild<ISpinBox *>("_nElapseSpin")->setValue(interval);
}

void TestX86SourcesEndToEnd::turnShowOnAWindowPausedStartedStopped()
{
    connectAndArrangeTwoByTwo();
    auto *wall = page->findChild<MatrixManageWidget *>();

    // Select window 2 on the wall.
    select(1);
    QVERIFY(!button("_turnShowBtn")->isEnabled());

    // The lobby's four channels as a turn show every 20 seconds.
    QString shownSplit;
    ModalDriver source([&shownSplit](QWidget *modal) {
        auto *dialog = qobject_cast<SetChannelSource *>(modal);
        if (!dialog)
            return;
        MatrixGroupTree *group = dialog->groupTree();
        auto *tree = group->findChild<QTreeWidget *>("_treeWidget");
        const QList<QTreeWidgetItem *> lobby =
                tree->findItems(QStringLiteral("一楼大厅"), Qt::MatchExactly);
        if (lobby.isEmpty())
            return;
        lobby.first()->setCheckState(0, Qt::Checked);
        shownSplit = group->findChild<QComboBox *>("_spliteCBox")->currentText();
        group->findChild<QCheckBox *>("_startCBox")->setChecked(true);
        group->findChild<ISpinBox *>("_nElapseSpin")->setValue(20);
        QTest::mouseClick(dialog->findChild<QPushButton *>("_setBtn"), Qt::LeftButton);
    });
    source.start();
    QTest::mouseClick(button("_setSourceBtn"), Qt::LeftButton);
    source.stop();
    QVERIFY(source.ran());
    QCOMPARE(shownSplit, QStringLiteral("4"));
    QCOMPARE(boxes->count(), 0);

    QTRY_COMPARE_WITH_TIMEOUT(simWindow(1).turnState, 1, Timeout);
    SimX86Window window = simWindow(1);
    QCOMPARE(window.split, 4);
    QCOMPARE(window.turnInterval, 20);
    QCOMPARE(window.sources.size(), 4);
    QTextCodec *gbk = QTextCodec::codecForName("GBK");
    QVERIFY(gbk);
    QCOMPARE(QByteArray(window.sources.at(0).channelName),
             gbk->fromUnicode(QStringLiteral("大厅入口")));
    QCOMPARE(QByteArray(window.sources.at(0).ipAddress), QByteArray("192.168.10.20"));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(window.sources.at(i).sequence, i + 1);
    // Other windows are untouched.
    QCOMPARE(simWindow(0).sources.size(), 0);
    QTRY_VERIFY(button("_turnShowBtn")->isEnabled());
    QTRY_COMPARE(int(wall->mirrorByIndex(1)->getTurnState()), 1);

    auto *menu = page->findChild<TurnControlWidget *>();
    auto choose = [&](const char *row) {
        QTest::mouseClick(button("_turnShowBtn"), Qt::LeftButton);
        QTRY_VERIFY(menu->isVisible());
        QPushButton *b = menu->findChild<QPushButton *>(QLatin1String(row));
        QVERIFY(b->isVisible());
        QTest::mouseClick(b, Qt::LeftButton);
        QTRY_VERIFY(!menu->isVisible());
        QVERIFY(!button("_turnShowBtn")->isChecked());
    };

    // Pause.
    choose("_pauseTurnShowBtn");
    QTRY_COMPARE_WITH_TIMEOUT(simWindow(1).turnState, 2, Timeout);
    QTRY_COMPARE(int(wall->mirrorByIndex(1)->getTurnState()), 2);

    // Start again.
    choose("_startTurnShowBtn");
    QTRY_COMPARE_WITH_TIMEOUT(simWindow(1).turnState, 1, Timeout);
    QTRY_COMPARE(int(wall->mirrorByIndex(1)->getTurnState()), 1);

    // Stop, confirmed.
    boxes->answer(1);
    choose("_closeTurnShowBtn");
    QCOMPARE(boxes->last().text, QStringLiteral("Do you want to stop taking turns to show"));
    QTRY_COMPARE_WITH_TIMEOUT(simWindow(1).turnState, 0, Timeout);
    QTRY_COMPARE(int(wall->mirrorByIndex(1)->getTurnState()), 0);
    QVERIFY(!button("_turnShowBtn")->isEnabled());
    // The sources stay on the window.
    window = simWindow(1);
    QCOMPARE(window.sources.size(), 4);
    QCOMPARE(window.split, 4);
}

void TestX86SourcesEndToEnd::decliningTheQuestionChangesNothing_data()
{
    QTest::addColumn<bool>("view");
    QTest::addColumn<QString>("question");
    QTest::newRow("too few channels for the panes")
            << false
            << "The number of selected channels is less than screen spliter number,countine?";
    QTest::newRow("no view selected") << true << "Please select a view to set!";
}

void TestX86SourcesEndToEnd::decliningTheQuestionChangesNothing()
{
    QFETCH(bool, view);
    QFETCH(QString, question);
    connectAndArrangeTwoByTwo();
    if (QTest::currentTestFailed())
        return;
    select(1);
    setSources([](MatrixGroupTree *group, SetChannelSource *) { tickLobby(group, 4, "4", 20); });
    QTRY_COMPARE_WITH_TIMEOUT(simWindow(1).turnState, 1, Timeout);
    const SimX86Window running = simWindow(1);

    // Two channels on nine panes as a turn show, or the view page without a view: asked or
    // told first, declined.
    boxes->clearRecords();
    setSources([view](MatrixGroupTree *group, SetChannelSource *dialog) {
        if (view)
            dialog->findChild<QPushButton *>("_viewBtn")->click();
        else
            tickLobby(group, 2, "9", 30);
    });
    QCOMPARE(boxes->texts(), QStringList {question});
    // Selecting another window is answered after anything the dialog could have sent.
    select(0);
    const SimX86Window held = simWindow(1);
    QCOMPARE(held.turnState, 1);
    QCOMPARE(held.split, running.split);
    QCOMPARE(held.turnInterval, 20);
    QCOMPARE(held.sources.size(), 4);
    QCOMPARE(int(f.wall()->mirrorByIndex(1)->getTurnState()), 1);
}

void TestX86SourcesEndToEnd::fixedSetHoldsNoTurnShow()
{
    connectAndArrangeTwoByTwo();
    if (QTest::currentTestFailed())
        return;
    select(2);
    // Four channels on one pane, confirmed.
    boxes->answer(1);
    setSources([](MatrixGroupTree *group, SetChannelSource *) { tickLobby(group, 4, "1", 0); });
    QCOMPARE(boxes->texts(),
             QStringList {"The number of screen spliter is less than selected channels "
                          "number,countine?"});
    QTRY_COMPARE_WITH_TIMEOUT(simWindow(2).sources.size(), 4, Timeout);
    QCOMPARE(simWindow(2).split, 1);
    QCOMPARE(simWindow(2).turnState, 0);
    // The page shows what the matrix holds: no turn show, nothing to start.
    QTRY_COMPARE(f.wall()->mirrorByIndex(2)->getSplitCount(), 1);
    QCOMPARE(int(f.wall()->mirrorByIndex(2)->getTurnState()), 0);
    QTRY_VERIFY(!button("_turnShowBtn")->isEnabled());

    // A start without a turn interval is refused by the matrix, and the page says so.
    boxes->clearRecords();
    page->findChild<TurnControlWidget *>()->findChild<QPushButton *>("_startTurnShowBtn")->click();
    QTRY_COMPARE_WITH_TIMEOUT(boxes->texts(),
                              QStringList {"The matrix server refused to change the turn show!"},
                              Timeout);
    QCOMPARE(simWindow(2).turnState, 0);
    QTRY_COMPARE(int(f.wall()->mirrorByIndex(2)->getTurnState()), 0);
}

void TestX86SourcesEndToEnd::ticksSurviveTabsAndSearches()
{
    connectAndArrangeTwoByTwo();
    if (QTest::currentTestFailed())
        return;
    select(0);
    setSources([](MatrixGroupTree *group, SetChannelSource *dialog) {
        tickLobby(group, 3, "4", 0);
        // A look at the view tab and back, and a search that hides the ticked channels.
        dialog->findChild<QPushButton *>("_viewBtn")->click();
        dialog->findChild<QPushButton *>("_groupBtn")->click();
        auto *search = group->findChild<QLineEdit *>("_searchEdit");
        search->setText(QStringLiteral("no such channel"));
        QTest::keyClick(search, Qt::Key_Return);
        search->clear();
        group->findChild<QTreeWidget *>("_treeWidget")->setFocus();
    });
    QCOMPARE(boxes->count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(simWindow(0).sources.size(), 3, Timeout);
    QCOMPARE(simWindow(0).split, 4);
}

void TestX86SourcesEndToEnd::refusedSourcesAreShownOnce()
{
    connectAndArrangeTwoByTwo();
    if (QTest::currentTestFailed())
        return;
    select(1);
    f.refuse({MatrixProtocol::X86SetMonitorTurnSources});
    setSources([](MatrixGroupTree *group, SetChannelSource *) { tickLobby(group, 4, "4", 20); });
    // The sources are refused and so is the start that follows them: one message.
    QTRY_COMPARE_WITH_TIMEOUT(boxes->texts(),
                              QStringList {"The matrix server refused the sources!"}, Timeout);
    QCOMPARE(simWindow(1).sources.size(), 0);
    QCOMPARE(simWindow(1).turnState, 0);
    QTRY_COMPARE(int(f.wall()->mirrorByIndex(1)->getTurnState()), 0);
    QTRY_COMPARE(f.wall()->mirrorByIndex(1)->getSplitCount(), simWindow(1).split);
    QVERIFY(!button("_turnShowBtn")->isEnabled());
}

QTEST_MAIN(TestX86SourcesEndToEnd)
#include "tst_x86sourcese2e.moc"
