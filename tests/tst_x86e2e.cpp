// The X86 page against the matrix simulator over the real matrix-service library: add a
// server, connect, set up a new matrix, move, resize, snap, zoom and swap windows, the matrix's
// configuration mode however the page leaves the matrix, and a window's sources and turn show
// through the source dialog and the turn menu (commands the matrix refuses: tst_undo).
#include "DigitalMatrix.h"
#include "ISpinBox.h"
#include "MatrixGroupTree.h"
#include "MatrixManageWidget.h"
#include "MirrorWidget.h"
#include "ServerButton.h"
#include "ServerSelectWidget.h"
#include "SetChannelSource.h"
#include "TurnControlWidget.h"

#include "UserManagerCore.h"

#include "MatrixProtocol.h"
#include "MatrixSimulator.h"
#include "X86WallFixture.h"

#include "MessageBoxScript.h"
#include "ModalDriver.h"
#include "WaitDialog.h"
#include "WallGeometry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolTip>
#include <QTreeWidget>
#include <QtTest>

#include <memory>
#include <tuple>
#include <vector>

using namespace LUMO_DIGITALMATRIX_MODULE;

class TestX86EndToEnd : public QObject
{
    Q_OBJECT

public:
    enum Leaving {
        AnotherServer,
        DeletingTheServer,
        Disconnecting,
        ClosingThePage,
        HidingThePage,
        MatrixRestarts
    };
    Q_ENUM(Leaving)

private slots:
    void cleanup();
    void addConnectSetUpAndMoveAWindow_data();
    void addConnectSetUpAndMoveAWindow();
    // The wall from the keyboard and the mouse; then a login the matrix never answers.
    void keysAndMouseMoveSnapResizeAndZoomWindows();
    void configurationModeEndsWithTheMatrix_data();
    void configurationModeEndsWithTheMatrix();
    // Sources of a window through the source dialog, and its turn show.
    void turnShowsStartPauseAndStop();
    void eachWindowShowsTheSourcesTheMatrixHolds();
    // Several consoles on one matrix: what the others put on air and the modes they set.
    void otherConsolesAreListedAndTheirWorkShown();

private:
    QPushButton *button(const QString &name) const { return f.button(name); }
    SimX86Window simWindow(int index) const { return f.simWindow(index); }

    X86WallFixture f;
    std::unique_ptr<DigitalMatrix> &page = f.page;
    std::unique_ptr<MessageBoxScript> &boxes = f.boxes;
};

void TestX86EndToEnd::cleanup()
{
    f.stop();
}

void TestX86EndToEnd::addConnectSetUpAndMoveAWindow_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("no account") << QString() << QString() << QString();
    QTest::newRow("the stored account") << "op"
                                        << "pw" << QString();
    QTest::newRow("a wrong password")
            << "op"
            << "bad"
            << "Login failed!Wrong user or password. Do you want to try again?";
}

void TestX86EndToEnd::addConnectSetUpAndMoveAWindow()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, refusal);
    if (!user.isEmpty())
        f.x86Accounts = {{"op", "pw"}};
    f.start(8, false, false);
    if (!QTest::currentTestFailed())
        f.addServerThroughDialog(user, password);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(page->currentServerInfo().user + ":" + page->currentServerInfo().password,
             user + ":" + password);
    if (!refusal.isEmpty()) {
        QTest::mouseClick(button("_connectMatrixBtn"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(boxes->texts(), QStringList {refusal}, f.Timeout);
        QTRY_VERIFY(!button("_connectMatrixBtn")->isChecked());
        QCOMPARE(f.simulator->x86State().operators, QStringList());
        return;
    }

    // Connect: the new matrix has no screens yet, so the page asks for them, offering the
    // outputs the matrix reported. The matrix refuses them and says so; asked again and
    // declined, the matrix has no screens and is not left in its configuration mode.
    f.refuse({MatrixProtocol::X86SetScreenCount});
    QStringList offered;
    bool askedAgain = false;
    ModalDriver refused(
            [&](QWidget *modal) {
                offered << modal->findChild<QLabel *>("_numberLabel")->text();
                QTest::keyClicks(modal->findChild<QLineEdit *>("_rowEdt"), "2");
                QTest::keyClicks(modal->findChild<QLineEdit *>("_columnEdt"), "2");
                ModalDriver::onNextModal([&](QWidget *again) {
                    askedAgain = true;
                    offered << again->findChild<QLabel *>("_numberLabel")->text();
                    QTest::mouseClick(again->findChild<QPushButton *>("_cancelBtn"),
                                      Qt::LeftButton);
                });
                QTest::mouseClick(modal->findChild<QPushButton *>("_OKBtn"), Qt::LeftButton);
            },
            1000, 10);
    refused.start();
    f.connectPage();
    QTRY_VERIFY_WITH_TIMEOUT(askedAgain, X86WallFixture::Timeout);
    refused.stop();
    QCOMPARE(offered, (QStringList {"8", "8"}));
    QCOMPARE(boxes->texts(), QStringList {"The matrix server refused the screen count!"});
    QTRY_COMPARE_WITH_TIMEOUT(f.simulator->x86State().configMode, false, X86WallFixture::Timeout);
    QCOMPARE(f.simulator->x86State().rows, 0);
    QVERIFY(!page->isMonitorConfig());
    QVERIFY(button("_MatrixSettingBtn")->isEnabled());

    // Connected again, the page asks once more.
    f.refuse({});
    boxes->clearRecords();
    offered.clear();
    QTest::mouseClick(button("_connectMatrixBtn"), Qt::LeftButton);
    QTRY_VERIFY(!page->isConnected());
    std::unique_ptr<ModalDriver> screens = X86WallFixture::answerScreens(2, 2, &offered);
    f.connectPage();
    QTRY_VERIFY_WITH_TIMEOUT(screens->ran(), 10000);
    screens->stop();
    QCOMPARE(offered.value(0), QStringLiteral("8"));
    QTRY_COMPARE_WITH_TIMEOUT(f.simulator->x86State().rows, 2, f.Timeout);
    QCOMPARE(f.simulator->x86State().operators, QStringList {user});
    QCOMPARE(f.simulator->x86State().columns, 2);

    // The windows of the layout appear on the wall.
    MatrixManageWidget *wall = f.wall();
    QTRY_COMPARE_WITH_TIMEOUT(wall->getMirrors().size(), 4, f.Timeout);
    QCOMPARE(rectList(wall->getWallRect()), (QList<int> {0, 0, 3840, 2160}));
    // A new wall starts in the arrangement step: numbers can be swapped, then saved.
    QVERIFY(!button("_saveMatrixSettingBtn")->isHidden());
    auto *hint = page->findChild<QLabel *>("_configHintLab");
    QVERIFY(hint->isVisible());
    QCOMPARE(hint->text(), QString("Drag a window onto another to swap their numbers, then save."));
    QVERIFY(button("_resetLayout")->isHidden());
    for (MirrorWidget *m : wall->getMirrors())
        QVERIFY(m->isSwapMode());
    // Clicked with the mouse, "Save" had the keyboard; the wall takes it, not "EditMatrix".
    QApplication::setActiveWindow(page->window());
    QVERIFY(QTest::qWaitForWindowActive(page->window()));
    const QSize windowSize = page->window()->size();
    QTest::mouseClick(button("_saveMatrixSettingBtn"), Qt::LeftButton);
    QVERIFY(button("_saveMatrixSettingBtn")->isHidden());
    QCOMPARE(QApplication::focusWidget(), wall);
    // The bar's tools change without the window growing.
    QCoreApplication::processEvents();
    QCOMPARE(page->window()->size(), windowSize);
    QVERIFY(hint->isHidden());
    QVERIFY(!button("_resetLayout")->isHidden());
    QVERIFY(button("_resetLayout")->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(f.simulator->x86State().configMode, false, f.Timeout);
    // The bar's separators sit between the buttons of normal work, never across one.
    const QList<QWidget *> separators = page->findChildren<QWidget *>();
    for (const char *name : {"_MatrixSettingBtn", "_clearSourceBtn", "_setSourceBtn"}) {
        const QRect inner = button(name)->geometry().adjusted(2, 2, -2, -2);
        for (QWidget *separator : separators) {
            if (separator->property("spacewidget").toBool() && separator->isVisible())
                QTRY_VERIFY2(!separator->geometry().intersects(inner), name);
        }
    }
    for (MirrorWidget *m : wall->getMirrors())
        QTRY_VERIFY(m->isVisible() && !m->isSwapMode() && m->isEditable());

    // A larger page places the windows again from what the matrix holds.
    page->resize(1600, 900);
    QTRY_COMPARE(wall->mirrorByIndex(3)->geometry().topLeft(),
                 QPoint(wall->width() / 2, wall->height() / 2));
    f.waitUntilShowsTheMatrix();
    QCOMPARE(boxes->count(), 0);

    // Moved with the mouse, the window keeps its size as the matrix holds it.
    f.drag(wall->mirrorByIndex(0), QPoint(150, 80));
    QTRY_COMPARE_WITH_TIMEOUT(f.simWindow(0).rect.left, int(150 * 3840.0 / wall->width()),
                              f.Timeout);
    const RECT held = f.simWindow(0).rect;
    QCOMPARE(held.top, int(80 * 2160.0 / wall->height()));
    QCOMPARE(QList<int>({held.right - held.left, held.bottom - held.top}),
             (QList<int> {1920, 1080}));
    QCOMPARE(rectList(f.simWindow(0).home), (QList<int> {0, 0, 1920, 1080}));
    QCOMPARE(f.simulator->x86State().selectedMonitor, 0);
    f.waitUntilShowsTheMatrix();
    QCOMPARE(boxes->count(), 0);
}

void TestX86EndToEnd::keysAndMouseMoveSnapResizeAndZoomWindows()
{
    if (!f.startArranged(2, 2))
        return;
    MatrixManageWidget *wall = f.wall();
    const auto matrixSelects = [this](int index) {
        QTRY_COMPARE(page->currentMonitorIndex(), index);
        QTRY_COMPARE_WITH_TIMEOUT(f.simulator->x86State().selectedMonitor, index,
                                  X86WallFixture::Timeout);
    };
    // A window's number selects it, Tab the next one, Shift+Tab the one before.
    QTest::keyClick(wall, Qt::Key_2);
    matrixSelects(1);
    QTest::keyClick(wall, Qt::Key_Tab);
    matrixSelects(2);
    QTest::keyClick(wall, Qt::Key_Backtab, Qt::ShiftModifier);
    matrixSelects(1);

    const QList<int> home = rectList(f.simWindow(1).home);
    MirrorWidget *mirror = wall->mirrorByIndex(1);
    // Held down, the arrow moves the window on the page; the matrix gets it on release.
    QTest::keyPress(wall, Qt::Key_Left);
    QTest::keyPress(wall, Qt::Key_Left);
    QVERIFY(mirror->getMirrorRect().left < home.at(0));
    QTest::keyRelease(wall, Qt::Key_Left);
    // (A layout answering an earlier command may still bring the old place first.)
    QTRY_VERIFY_WITH_TIMEOUT(f.simWindow(1).rect.left < home.at(0), X86WallFixture::Timeout);
    RECT held = f.simWindow(1).rect;
    // The next key acts on what the page shows: wait until it shows what the matrix holds.
    QTRY_COMPARE(rectList(mirror->getMirrorRect()), rectList(held));
    QCOMPARE(held.right - held.left, home.at(2) - home.at(0));
    QCOMPARE(held.top, home.at(1));

    // Shift with an arrow resizes: taller.
    QTest::keyClick(wall, Qt::Key_Down, Qt::ShiftModifier);
    QTRY_VERIFY_WITH_TIMEOUT(f.simWindow(1).rect.bottom > home.at(3), X86WallFixture::Timeout);
    QCOMPARE(f.simWindow(1).rect.left, held.left);
    QTRY_COMPARE(rectList(mirror->getMirrorRect()), rectList(f.simWindow(1).rect));
    // Back by as many steps: the edges near the screen's snap onto it, as after a drag.
    QTest::keyClick(wall, Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClick(wall, Qt::Key_Right);
    QTest::keyClick(wall, Qt::Key_Right);
    QTRY_COMPARE_WITH_TIMEOUT(rectList(f.simWindow(1).rect), home, X86WallFixture::Timeout);
    // The page draws what the matrix reports last.
    QTRY_COMPARE(rectList(mirror->getMirrorRect()), home);

    // Nudged back to a few pixels right of and below its screen, or left of and above it, a
    // window snaps home; moved away again, "Reset" (confirmed) puts every window home.
    for (const auto &[index, away, back] :
         {std::tuple<int, QPoint, QPoint> {0, {100, 60}, {-97, -58}},
          std::tuple<int, QPoint, QPoint> {3, {-100, -60}, {97, 58}}}) {
        MirrorWidget *nudged = f.wall()->mirrorByIndex(index);
        const QList<int> place = rectList(f.simWindow(index).home);
        f.drag(nudged, away);
        QTRY_VERIFY_WITH_TIMEOUT(rectList(f.simWindow(index).rect) != place,
                                 X86WallFixture::Timeout);
        f.drag(nudged, back);
        QTRY_COMPARE_WITH_TIMEOUT(rectList(f.simWindow(index).rect), place,
                                  X86WallFixture::Timeout);
        QTRY_COMPARE(rectList(nudged->getMirrorRect()), place);
        f.drag(nudged, away);
        const int other = 3 - index;
        f.drag(f.wall()->mirrorByIndex(other), -away);
        QTRY_VERIFY_WITH_TIMEOUT(f.simWindow(other).rect.left != f.simWindow(other).home.left,
                                 X86WallFixture::Timeout);
        boxes->answer(1);
        QTest::mouseClick(button("_resetLayout"), Qt::LeftButton);
        for (const SimX86Window &window : f.simulator->x86State().windows)
            QTRY_COMPARE_WITH_TIMEOUT(rectList(f.simWindow(window.index).rect),
                                      rectList(window.home), X86WallFixture::Timeout);
        f.waitUntilShowsTheMatrix();
    }

    // Split in four, a window shows its grid; a double-click zooms a pane and back.
    boxes->clearRecords();
    mirror = f.wall()->mirrorByIndex(0);
    f.chooseSplit(mirror, "_squaretwoBtn");
    QTRY_COMPARE_WITH_TIMEOUT(f.simWindow(0).split, 4, X86WallFixture::Timeout);
    QTRY_COMPARE(mirror->getSplitCount(), 4);
    const QColor grid(200, 230, 245);
    const auto gridShown = [mirror, grid] {
        const QImage image = mirror->grab().toImage();
        return image.pixelColor(image.width() / 4, mirror->height() / 2) == grid;
    };
    QVERIFY(gridShown());

    // Double-click into the top-left pane: the matrix shows that pane over the whole window.
    // A double-click anywhere on the zoomed pane (here low right) shows every pane again.
    for (int zoomed : {1, 0}) {
        const int at = zoomed ? 1 : 3; // quarters of the window from its top-left corner
        QTest::mouseDClick(mirror, Qt::LeftButton, Qt::NoModifier,
                           QPoint(at * mirror->width() / 4, at * mirror->height() / 4));
        QTRY_COMPARE_WITH_TIMEOUT(f.simWindow(0).zoomedPane, zoomed, X86WallFixture::Timeout);
        QTRY_COMPARE(mirror->zoomedPane(), zoomed);
        QCOMPARE(gridShown(), zoomed == 0);
    }
    QCOMPARE(f.boxes->count(), 0);

    // The login, then the forced login, the matrix never answers: cancelled, the page is usable.
    for (bool forced : {false, true}) {
        QTest::mouseClick(button("_connectMatrixBtn"), Qt::LeftButton); // leaves the matrix
        QTRY_COMPARE_WITH_TIMEOUT(f.simulator->clientCount(), 0, f.Timeout);
        SecondOperator other;
        if (forced) {
            QCOMPARE(other.logIn(f.simulator->x86Port(), "console-2", "", ""), 0);
            boxes->answer(1);
        }
        MatrixSimulatorFaults faults;
        faults.unansweredRequests = {
                quint16(forced ? MatrixProtocol::X86ForceLogin : MatrixProtocol::X86Login)};
        f.simulator->setFaults(faults);
        boxes->clearRecords();

        QTest::mouseClick(button("_connectMatrixBtn"), Qt::LeftButton);
        COMMONUSELIB::WaitDialog *wait = COMMONUSELIB::WaitDialog::getInstance();
        auto *cancel = wait->findChild<QPushButton *>("waitCancelButton");
        QVERIFY(cancel);
        // The forced login follows the question about the matrix being taken.
        QTRY_VERIFY_WITH_TIMEOUT(wait->isWaiting() && cancel->isVisible()
                                         && boxes->count() == (forced ? 1 : 0),
                                 f.Timeout);
        QCOMPARE(wait->text(), QString("Logging in..."));
        // The page goes on handling events while the matrix keeps it waiting, and takes no input.
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
        ticker.start(1);
        QTRY_VERIFY(ticks >= 3);
        QVERIFY(wait->isWaiting());
        QVERIFY(!page->isEnabled());
        QTest::mouseClick(button("_connectMatrixBtn"), Qt::LeftButton);
        QVERIFY(wait->isWaiting());

        QTest::mouseClick(cancel, Qt::LeftButton);
        QTRY_VERIFY(!wait->isWaiting());
        QTRY_COMPARE_WITH_TIMEOUT(f.simulator->clientCount(), forced ? 1 : 0, f.Timeout);
        QTRY_VERIFY(page->isEnabled());
        QVERIFY(f.pageIsIdle());
        QVERIFY(button("_connectMatrixBtn")->isEnabled());
        QCOMPARE(f.simulator->x86State().operatorHosts,
                 forced ? QList<QByteArray> {"console-2"} : QList<QByteArray>());
        // Only the forced-login question was asked: no word of a login that failed.
        QCOMPARE(boxes->texts().size(), forced ? 1 : 0);

        f.simulator->setFaults(MatrixSimulatorFaults());
        if (forced)
            boxes->answer(1);
        f.connectPage();
        QTRY_VERIFY(button("_connectMatrixBtn")->isChecked());
    }
}

void TestX86EndToEnd::configurationModeEndsWithTheMatrix_data()
{
    QTest::addColumn<Leaving>("leaving");
    QTest::newRow("another server selected") << AnotherServer;
    QTest::newRow("server deleted") << DeletingTheServer;
    QTest::newRow("disconnected") << Disconnecting;
    QTest::newRow("page closed") << ClosingThePage;
    QTest::newRow("page hidden by the host") << HidingThePage;
    QTest::newRow("matrix restarts") << MatrixRestarts;
}

void TestX86EndToEnd::configurationModeEndsWithTheMatrix()
{
    QFETCH(Leaving, leaving);
    f.start();
    // A second matrix, its screens already arranged by another operator.
    MatrixSimulator second;
    MatrixSimulatorOptions options;
    options.x86Port = 0;
    options.linuxPort = -1;
    options.x86Outputs = 4;
    options.logRequests = false;
    QVERIFY(second.start(options));
    X86WallFixture::arrangeAsAnotherOperator(second, 2, 2);
    QVERIFY(DATACore::UserManagerCore::instance()->AddServer("Second wall", "127.0.0.1", QString(),
                                                             QString(), second.x86Port(),
                                                             SERVERTYPE_X86_DIGITALMATRIX));
    QCoreApplication::sendPostedEvents();
    f.connectAndArrange(2, 2);
    if (QTest::currentTestFailed())
        return;
    f.enterConfigurationMode(2, 2);
    if (QTest::currentTestFailed())
        return;

    switch (leaving) {
    case AnotherServer: {
        auto *selector = page->findChild<ServerSelectWidget *>();
        QCOMPARE(selector->serverButtons().size(), 2);
        selector->serverButtons().at(1)->click();
        QTRY_COMPARE(page->currentServerInfo().name, QStringLiteral("Second wall"));
        break;
    }
    case DeletingTheServer:
        boxes->answer(1);
        QTest::mouseClick(button("_deleteServerBtn"), Qt::LeftButton);
        QTRY_COMPARE(page->currentServerInfo().name, QStringLiteral("Second wall"));
        break;
    case Disconnecting:
        QTest::mouseClick(button("_connectMatrixBtn"), Qt::LeftButton);
        QTRY_VERIFY(!page->isConnected());
        break;
    case ClosingThePage:
        page.reset();
        break;
    case HidingThePage:
        page->hide();
        break;
    case MatrixRestarts:
        options.x86Port = f.simulator->x86Port();
        f.simulator->stop();
        QVERIFY(f.simulator->start(options));
        QTRY_VERIFY_WITH_TIMEOUT(!page->isConnected(), X86WallFixture::Timeout);
        break;
    }
    // The matrix is no longer in its configuration mode for anybody.
    QTRY_COMPARE_WITH_TIMEOUT(f.simulator->x86State().configMode, false, X86WallFixture::Timeout);
    if (!page)
        return;
    QVERIFY(!page->isMonitorConfig());
    QVERIFY(button("_saveMatrixSettingBtn")->isHidden());
    QVERIFY(!button("_MatrixSettingBtn")->isHidden());
    QVERIFY(!button("_resetLayout")->isHidden());
    if (leaving != AnotherServer)
        return;
    QVERIFY(second.x86State().configMode == false);
    // The other wall's windows move; they do not swap numbers.
    f.connectPage();
    QTRY_COMPARE_WITH_TIMEOUT(f.wall()->getMirrors().size(), 4, X86WallFixture::Timeout);
    for (MirrorWidget *mirror : f.wall()->getMirrors())
        QTRY_VERIFY(mirror->isVisible() && !mirror->isSwapMode() && mirror->isEditable());
}

void TestX86EndToEnd::turnShowsStartPauseAndStop()
{
    QVERIFY(f.startArranged(2, 2, true));
    auto *wall = page->findChild<MatrixManageWidget *>();
    // "Stop every turn show", answered: the one box, the turn state of windows 1 to 3 on the
    // matrix and the page, and the sources they keep (refused by the matrix: tst_undo).
    const auto stopAll = [&](short answer, const QString &message, const QList<int> &expected,
                             int sources) {
        boxes->clearRecords();
        boxes->answer(answer);
        QPushButton *stopAll = button("_stopAllTurnsBtn");
        QVERIFY(stopAll->isVisible() && stopAll->isEnabled());
        QTest::mouseClick(stopAll, Qt::LeftButton);
        QCOMPARE(boxes->texts(), QStringList {message});
        for (int index = 0; index < 3; ++index) {
            QTRY_COMPARE_WITH_TIMEOUT(simWindow(index).turnState, expected.at(index),
                                      X86WallFixture::Timeout);
            QTRY_COMPARE(int(wall->mirrorByIndex(index)->getTurnState()), expected.at(index));
            QCOMPARE(simWindow(index).sources.size(), sources);
        }
    };
    stopAll(1, "No turn show runs on the wall.", {0, 0, 0}, 0);
    boxes->clearRecords();

    // Select window 2 on the wall.
    f.select(1);
    QVERIFY(!button("_turnShowBtn")->isEnabled());

    // The lobby's four channels as a turn show every 20 seconds.
    // The area's check ticks its channels and chooses the split.
    QString shownSplit;
    f.setSources([&shownSplit](MatrixGroupTree *group, SetChannelSource *) {
        const QList<QTreeWidgetItem *> lobby = group->findChild<QTreeWidget *>("_treeWidget")
                                                       ->findItems("一楼大厅", Qt::MatchExactly);
        if (!lobby.isEmpty())
            lobby.first()->setCheckState(0, Qt::Checked);
        shownSplit = group->findChild<QComboBox *>("_spliteCBox")->currentText();
        tickLobby(group, 0, shownSplit, 20);
    });
    QCOMPARE(shownSplit, QStringLiteral("4"));
    QCOMPARE(boxes->count(), 0);

    QTRY_COMPARE_WITH_TIMEOUT(simWindow(1).turnState, 1, X86WallFixture::Timeout);
    // Four channels numbered from 1 on four panes; other windows are untouched.
    const QStringList held = f.heldWindows();
    QVERIFY2(QRegularExpression("^1 split 4 turn 1/20 .*\\[ 1:\\d+ 2:\\d+ 3:\\d+ 4:\\d+\\]$")
                     .match(held.at(1))
                     .hasMatch(),
             qPrintable(held.at(1)));
    QVERIFY2(held.at(0).endsWith("[]"), qPrintable(held.at(0)));
    QTRY_VERIFY(button("_turnShowBtn")->isEnabled());
    QTRY_COMPARE(int(wall->mirrorByIndex(1)->getTurnState()), 1);

    // The source dialog opens again with the window's sources ticked and its turn show.
    QTRY_COMPARE(wall->mirrorByIndex(1)->getOnAir().sourceCount(), 4);
    QStringList lobbyChannels;
    QStringList ticked;
    int interval = 0;
    bool turning = false;
    ModalDriver source([&](QWidget *modal) {
        auto *dialog = qobject_cast<SetChannelSource *>(modal);
        if (!dialog)
            return;
        auto *tree = dialog->groupTree()->findChild<QTreeWidget *>("_treeWidget");
        const QList<QTreeWidgetItem *> lobby =
                tree->findItems(QStringLiteral("一楼大厅"), Qt::MatchExactly);
        for (int i = 0; !lobby.isEmpty() && i < 4; ++i)
            lobbyChannels << lobby.first()->child(i)->text(0);
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            if ((*it)->parent() && (*it)->checkState(0) == Qt::Checked)
                ticked << (*it)->text(0);
        }
        interval = dialog->groupTree()->findChild<ISpinBox *>("_nElapseSpin")->value();
        turning = dialog->groupTree()->findChild<QCheckBox *>("_startCBox")->isChecked();
    });
    source.start();
    QTest::mouseClick(button("_setSourceBtn"), Qt::LeftButton);
    source.stop();
    QVERIFY(source.ran());
    QCOMPARE(lobbyChannels.size(), 4);
    QCOMPARE(ticked, lobbyChannels);
    QCOMPARE(interval, 20);
    QVERIFY(turning);

    // Two channels on nine panes as a turn show, or on one pane, or the view page without a
    // view: asked or told first, declined, the turn show goes on. Selecting another window is
    // answered after anything the dialog could have sent.
    const QList<QStringList> declined {
            {"9", "The number of selected channels is less than screen spliter number,countine?"},
            {"1", "The number of screen spliter is less than selected channels number,countine?"},
            {QString(), "Please select a view to set!"}};
    for (const QStringList &row : declined) {
        const QString split = row.at(0);
        boxes->clearRecords();
        f.setSources([split](MatrixGroupTree *group, SetChannelSource *dialog) {
            if (split.isEmpty())
                dialog->findChild<QPushButton *>("_viewBtn")->click();
            else
                tickLobby(group, 2, split, split == "9" ? 30 : 0);
        });
        QCOMPARE(boxes->texts(), QStringList {row.at(1)});
        f.select(0);
        QCOMPARE(f.heldWindows().at(1), held.at(1));
        QCOMPARE(int(wall->mirrorByIndex(1)->getTurnState()), 1);
        f.select(1);
    }

    auto *menu = page->findChild<TurnControlWidget *>();
    // The menu opens above its button and offers what the window's state allows; window 2
    // then turns in the given state on the matrix and the page (-1: not judged here).
    auto choose = [&](const char *row, const char *hiddenRow, int state) {
        QTest::mouseClick(button("_turnShowBtn"), Qt::LeftButton);
        QVERIFY(button("_turnShowBtn")->isChecked());
        QTRY_VERIFY(menu->isVisible());
        const QPoint origin = button("_turnShowBtn")->mapToGlobal(QPoint(0, 0));
        QCOMPARE(menu->pos(), QPoint(origin.x(), origin.y() - menu->height()));
        QPushButton *b = menu->findChild<QPushButton *>(QLatin1String(row));
        QVERIFY(b->isVisible());
        QVERIFY(!menu->findChild<QPushButton *>(QLatin1String(hiddenRow))->isVisible());
        QTest::mouseClick(b, Qt::LeftButton);
        QTRY_VERIFY(!menu->isVisible());
        QVERIFY(!button("_turnShowBtn")->isChecked());
        if (state < 0)
            return;
        QTRY_COMPARE_WITH_TIMEOUT(simWindow(1).turnState, state, X86WallFixture::Timeout);
        QTRY_COMPARE(int(wall->mirrorByIndex(1)->getTurnState()), state);
    };

    // Pause, start again, stop (confirmed).
    choose("_pauseTurnShowBtn", "_startTurnShowBtn", 2);
    choose("_startTurnShowBtn", "_pauseTurnShowBtn", 1);
    boxes->answer(1);
    choose("_closeTurnShowBtn", "_startTurnShowBtn", 0);
    QVERIFY(!button("_turnShowBtn")->isEnabled());
    // The sources stay on the window.
    const SimX86Window window = simWindow(1);
    QCOMPARE(window.sources.size(), 4);
    QCOMPARE(window.split, 4);

    // Window 1 turns, window 3 turns paused, window 2 shows the set its show stopped on:
    // "Stop every turn show" declined, then done ends only the shows.
    for (int index : {0, 2}) {
        f.select(index);
        f.setSources([](MatrixGroupTree *group, SetChannelSource *) {
            tickLobby(group, 4, QStringLiteral("4"), 20);
        });
        QTRY_VERIFY(button("_turnShowBtn")->isEnabled());
    }
    choose("_pauseTurnShowBtn", "_startTurnShowBtn", -1);
    const QString question = QStringLiteral("Do you want to stop every turn show on the wall?");
    stopAll(0, question, {1, 0, 2}, 4);
    stopAll(1, question, {0, 0, 0}, 4);
}

void TestX86EndToEnd::eachWindowShowsTheSourcesTheMatrixHolds()
{
    QVERIFY(f.startArranged(2, 2, true));
    MatrixManageWidget *wall = f.wall();
    // Window 1: ticks survive a look at the view tab and a search that hides them.
    f.select(0);
    f.setSources([](MatrixGroupTree *group, SetChannelSource *dialog) {
        tickLobby(group, 3, "4", 0);
        dialog->findChild<QPushButton *>("_viewBtn")->click();
        dialog->findChild<QPushButton *>("_groupBtn")->click();
        auto *search = group->findChild<QLineEdit *>("_searchEdit");
        search->setText(QStringLiteral("no such channel"));
        QTest::keyClick(search, Qt::Key_Return);
        search->clear();
        group->findChild<QTreeWidget *>("_treeWidget")->setFocus();
    });
    QCOMPARE(boxes->count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(simWindow(0).sources.size(), 3, X86WallFixture::Timeout);
    QCOMPARE(simWindow(0).split, 4);

    // Window 3, selected by its number and set with Enter: four channels on one pane,
    // confirmed, are a fixed set: no turn show, nothing to start; a start without a turn
    // interval is refused by the matrix, and the page says so.
    QTest::keyClick(wall, Qt::Key_3);
    QTRY_COMPARE_WITH_TIMEOUT(f.simulator->x86State().selectedMonitor, 2, X86WallFixture::Timeout);
    boxes->answer(1);
    f.setSources([](MatrixGroupTree *group, SetChannelSource *) { tickLobby(group, 4, "1", 0); },
                 [wall] { QTest::keyClick(wall, Qt::Key_Return); });
    QCOMPARE(boxes->texts(),
             QStringList {"The number of screen spliter is less than selected channels "
                          "number,countine?"});
    QTRY_COMPARE_WITH_TIMEOUT(simWindow(2).sources.size(), 4, X86WallFixture::Timeout);
    QCOMPARE(simWindow(2).split, 1);
    QCOMPARE(simWindow(2).turnState, 0);
    f.waitUntilShowsTheMatrix();
    QTRY_VERIFY(!button("_turnShowBtn")->isEnabled());
    boxes->clearRecords();
    page->findChild<TurnControlWidget *>()->findChild<QPushButton *>("_startTurnShowBtn")->click();
    QTRY_COMPARE_WITH_TIMEOUT(boxes->texts(),
                              QStringList {"The matrix server refused to change the turn show!"},
                              X86WallFixture::Timeout);
    QCOMPARE(simWindow(2).turnState, 0);
    f.waitUntilShowsTheMatrix();
    // Delete asks first, then clears.
    boxes->clearRecords();
    boxes->answer(1);
    QTest::keyClick(wall, Qt::Key_Delete);
    QCOMPARE(boxes->texts(), QStringList {"Do you want to clear the source?"});
    QTRY_COMPARE_WITH_TIMEOUT(f.simWindow(2).sources.size(), 0, X86WallFixture::Timeout);

    // Window 2: the site's nine-pane view puts each channel on its pane and ends the turn show.
    f.select(1);
    boxes->clearRecords();
    f.setSources([](MatrixGroupTree *group, SetChannelSource *) { tickLobby(group, 4, "4", 20); });
    QTRY_COMPARE_WITH_TIMEOUT(simWindow(1).turnState, 1, X86WallFixture::Timeout);
    f.setSources([](MatrixGroupTree *, SetChannelSource *dialog) {
        dialog->findChild<QPushButton *>("_viewBtn")->click();
        const QList<QTreeWidgetItem *> views =
                dialog->findChild<QWidget *>("_viewWdt")
                        ->findChild<QTreeWidget *>()
                        ->findItems(QStringLiteral("Perimeter 9 周界九画面"), Qt::MatchExactly);
        if (!views.isEmpty())
            views.first()->setSelected(true);
    });
    const auto panes = [this] {
        QStringList out;
        for (const _ST_ChnInfo &source : simWindow(1).sources)
            out << QString::number(source.sequence);
        return out;
    };
    QTRY_COMPARE_WITH_TIMEOUT(panes(), (QStringList {"7", "1", "2", "3", "5", "8", "9"}),
                              X86WallFixture::Timeout);
    QCOMPARE(simWindow(1).split, 9);
    QCOMPARE(simWindow(1).turnState, 0);
    f.waitUntilShowsTheMatrix();
    QCOMPARE(boxes->count(), 0);

    // While the screens are arranged "setsource" and "clearSource" are away, and so are their
    // keys: nothing is asked, no dialog opens. Windows only swap numbers: the keys move nothing.
    f.enterConfigurationMode(2, 2);
    if (QTest::currentTestFailed())
        return;
    const int asked = boxes->count();
    ModalDriver anyDialog([](QWidget *) {});
    anyDialog.start();
    QTest::keyClick(wall, Qt::Key_3);
    QTest::keyClick(wall, Qt::Key_Delete);
    QTest::keyClick(wall, Qt::Key_Return);
    QTest::keyClick(wall, Qt::Key_1);
    QTest::keyClick(wall, Qt::Key_Right);
    QTest::keyClick(wall, Qt::Key_Down, Qt::ShiftModifier);
    anyDialog.stop();
    QVERIFY(!anyDialog.ran());
    QCOMPARE(boxes->count(), asked);
    QCOMPARE(rectList(wall->mirrorByIndex(0)->getMirrorRect()), rectList(f.simWindow(0).home));
    QCOMPARE(rectList(f.simWindow(0).rect), rectList(f.simWindow(0).home));
}

void TestX86EndToEnd::otherConsolesAreListedAndTheirWorkShown()
{
    f.x86Accounts = {{"", ""}, {"second", "second"}, {"third", "third"}};
    QVERIFY(f.startArranged(2, 2, true));
    auto *label = page->findChild<QLabel *>("_operatorsLab");
    QVERIFY(label);
    QVERIFY(label->isHidden());
    // A host name far beyond the wire's bound, with markup, a cut UTF-8 sequence and controls.
    QByteArray hostile = "<b>x" + QString(200, QChar(0x00e9)).toUtf8() + "\x01</b>";
    SecondOperator other;
    auto third = std::make_unique<SecondOperator>();
    QCOMPARE(other.logIn(f.simulator->x86Port(), "console-2", "second", "second"), 0);
    QCOMPARE(third->logIn(f.simulator->x86Port(), hostile.constData(), "third", "third"), 0);
    QTRY_VERIFY_WITH_TIMEOUT(label->text().contains("third on <b>"), f.Timeout);
    QVERIFY(label->isVisible());
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QVERIFY2(label->text().startsWith("Also on this matrix: second on console-2, third on <b>x"
                                      + QString(44, QChar(0x00e9)) + "..."),
             qPrintable(label->text()));
    // The matrix keeps at most 255 bytes of it, cut between characters.
    const QByteArray stored = f.simulator->x86State().operatorHosts.value(2);
    QCOMPARE(stored.size(), 254);
    QCOMPARE(QString::fromUtf8(stored).toUtf8(), stored);
    QVERIFY(hostile.startsWith(stored));

    third.reset();
    QTRY_COMPARE_WITH_TIMEOUT(label->text(), QString("Also on this matrix: second on console-2"),
                              f.Timeout);

    // What the other operator puts on a window is shown.
    const QString longName =
            QStringLiteral("Car park east ramp, level minus two, barrier camera north side");
    const std::vector<_ST_ChnInfo> records = channelRecords({QStringLiteral("Gate"), longName});
    other.config->SetMonitorSplit(3, 4);
    other.config->SetMonitorSources(3, records.data(), int(records.size()));

    MirrorWidget *mirror = f.wall()->mirrorByIndex(3);
    QTRY_COMPARE_WITH_TIMEOUT(mirror->shownPaneNames(),
                              (QStringList {QStringLiteral("Gate"), longName, QString(), QString()}),
                              X86WallFixture::Timeout);
    QVERIFY(!f.wall()->mirrorByIndex(0)->getOnAir().hasSources());
    QVERIFY(mirror->badgeText().isEmpty());
    // The pane shows the long name cut; its tool tip holds it whole.
    const QPoint inPane = mirror->paneRect(1).center();
    QHelpEvent help(QEvent::ToolTip, inPane, mirror->mapToGlobal(inPane));
    QApplication::sendEvent(mirror, &help);
    QTRY_COMPARE(QToolTip::text(), longName);

    other.config->ClearSource(3);
    QTRY_COMPARE_WITH_TIMEOUT(mirror->shownPaneNames(),
                              (QStringList {QString(), QString(), QString(), QString()}),
                              X86WallFixture::Timeout);

    // The other operator's turn show steps on the page with the matrix.
    const QStringList names {"C1", "C2", "C3", "C4", "C5", "C6"};
    const std::vector<_ST_ChnInfo> turning = channelRecords(names);
    other.config->SetMonitorSplit(1, 4);
    other.config->SetMonitorTurnSources(1, turning.data(), int(turning.size()), 10);
    other.config->SetTurnState(1, 1);
    mirror = f.wall()->mirrorByIndex(1);
    QTRY_COMPARE_WITH_TIMEOUT(mirror->badgeText(),
                              QStringLiteral("Turning: page 1 of 2, every 10 s"),
                              X86WallFixture::Timeout);
    QCOMPARE(mirror->shownPaneNames(), names.mid(0, 4));
    f.select(1);
    QTRY_VERIFY(button("_turnShowBtn")->isEnabled());
    // Another window's sources coming and going leave the selected window's turn menu alone.
    other.config->SetMonitorSources(3, turning.data(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(f.wall()->mirrorByIndex(3)->getOnAir().hasSources(),
                             X86WallFixture::Timeout);
    other.config->ClearSource(3);
    QTRY_VERIFY_WITH_TIMEOUT(!f.wall()->mirrorByIndex(3)->getOnAir().hasSources(),
                             X86WallFixture::Timeout);
    QVERIFY(button("_turnShowBtn")->isEnabled());

    // The matrix steps the show; the page follows the step it reports.
    f.simulator->stepTurnShows();
    QCOMPARE(simWindow(1).turnPage, 1);
    QTRY_COMPARE(mirror->badgeText(), QStringLiteral("Turning: page 2 of 2, every 10 s"));
    QCOMPARE(mirror->shownPaneNames(), (QStringList {"C5", "C6", QString(), QString()}));

    // Paused, the show keeps its page and says so.
    other.config->SetTurnState(1, 2);
    QTRY_COMPARE_WITH_TIMEOUT(mirror->badgeText(), QStringLiteral("Paused: page 2 of 2"),
                              X86WallFixture::Timeout);
    f.simulator->stepTurnShows();
    QCOMPARE(simWindow(1).turnPage, 1);
    QCOMPARE(mirror->shownPaneNames(), (QStringList {"C5", "C6", QString(), QString()}));
    QCOMPARE(mirror->badgeText(), QStringLiteral("Paused: page 2 of 2"));

    // The page leaves; the other operator puts the matrix into its configuration mode.
    QTest::mouseClick(button("_connectMatrixBtn"), Qt::LeftButton);
    QTRY_VERIFY(f.pageIsIdle());
    other.config->SetConfigMode(true);
    QTRY_COMPARE_WITH_TIMEOUT(f.simulator->x86State().configMode, true, X86WallFixture::Timeout);

    f.connectPage();
    QTRY_VERIFY_WITH_TIMEOUT(page->isMonitorConfig(), X86WallFixture::Timeout);
    QTRY_COMPARE(f.wall()->getMirrors().size(), 4);
    QTRY_VERIFY(f.wall()->getMirrors().first()->isSwapMode());
    QVERIFY(!button("_saveMatrixSettingBtn")->isHidden());

    // The other operator saves: the next layout is no configuration layout.
    other.config->SetConfigMode(false);
    QTRY_VERIFY_WITH_TIMEOUT(!page->isMonitorConfig(), X86WallFixture::Timeout);
    QVERIFY(button("_saveMatrixSettingBtn")->isHidden());
    QVERIFY(!button("_resetLayout")->isHidden());
    for (MirrorWidget *shown : f.wall()->getMirrors())
        QTRY_VERIFY(!shown->isSwapMode() && shown->isEditable());

    // The other operator arranges the screens as one row of two: windows the matrix no
    // longer has go, and the page works on one it has.
    QTest::mouseClick(f.wall()->mirrorByIndex(3), Qt::LeftButton);
    QTRY_COMPARE(page->currentMonitorIndex(), 3);
    other.config->SetScreenCount(1, 2);
    QTRY_COMPARE_WITH_TIMEOUT(f.simulator->x86State().windows.size(), 2, X86WallFixture::Timeout);
    QTRY_COMPARE(f.wall()->getMirrors().size(), 2);
    QVERIFY(f.wall()->mirrorByIndex(0) && f.wall()->mirrorByIndex(1));
    QVERIFY(!f.wall()->mirrorByIndex(3));
    QTRY_COMPARE(page->currentMonitorIndex(), 0);
    QCOMPARE(f.wall()->mirrorByIndex(1)->geometry().topLeft(), QPoint(f.wall()->width() / 2, 0));
}

QTEST_MAIN(TestX86EndToEnd)
#include "tst_x86e2e.moc"
