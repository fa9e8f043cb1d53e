// Watching a matrix without taking control, on both pages against one simulator with other
// workstations: watchers follow the holder, the matrix refuses their commands, "Take control"
// logs in (with the forced-login question when someone holds the matrix), and a displaced
// X86 operator watches instead of being thrown out for good.
#include "ConfigChannelsWidget.h"
#include "CellForConfigChannels.h"
#include "DigitalMatrix.h"
#include "DigitalMatrixInteractionPort.h"
#include "DigitalMatrixServerOperWidget.h"
#include "IBaseMatrixConfig.h"
#include "LinuxMatrixPeer.h"
#include "LinuxWallFixture.h"
#include "MatrixManageWidget.h"
#include "MirrorWidget.h"
#include "ServerConfig.h"
#include "WallGeometry.h"
#include "WatchBanner.h"
#include "X86WallFixture.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <vector>

using namespace LUMO_DIGITALMATRIX_MODULE;

class TestWatch : public QObject
{
    Q_OBJECT

private slots:
    void x86WatchersFollowTheHolderAndTakeControl();
    void linuxWatchersFollowTheHolderAndTakeControl();
};

namespace {

QList<int> pageRect(X86WallFixture &f, int window)
{
    const MirrorWidget *mirror = f.wall()->mirrorByIndex(window);
    return mirror ? rectList(mirror->getMirrorRect()) : QList<int>();
}

// When a console logged in, as the page names it.
QRegularExpression loginTime()
{
    return QRegularExpression(QStringLiteral("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d"));
}

} // namespace

void TestWatch::x86WatchersFollowTheHolderAndTakeControl()
{
    X86WallFixture f;
    if (!f.startArranged(2, 2))
        return;
    DigitalMatrixInteractionPort::instance()->setClientName(QStringLiteral("console-1"));
    // The page gives the matrix up and watches; another console then logs in unhindered.
    QTest::mouseClick(f.button("_watchMatrixBtn"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(f.page->isWatching(), f.Timeout);
    SecondOperator holder;
    SecondOperator watcher;
    QCOMPARE(holder.logIn(f.simulator->x86Port(), "console-2", "", ""), 0);
    QCOMPARE(watcher.watch(f.simulator->x86Port(), "console-3", "", ""), 0);
    auto *banner = f.page->findChild<WatchBanner *>("_watchBannerWdt");
    QTRY_VERIFY2_WITH_TIMEOUT(banner->text().startsWith("Watching: console-2 holds the matrix"),
                              qPrintable(banner->text()), f.Timeout);

    // The holder moves a window and starts a tour: both watchers follow.
    const int layoutsBefore = watcher.layouts;
    std::vector<_ST_ChnInfo> channels = channelRecords({"cam", "cam", "cam", "cam", "cam"});
    holder.config->SetMirrorRect(0, rc(100, 100, 1500, 900));
    holder.config->SetMonitorTurnSources(1, channels.data(), 5, 10);
    holder.config->SetTurnState(1, 1);
    QTRY_COMPARE_WITH_TIMEOUT(pageRect(f, 0), rectList(rc(100, 100, 1500, 900)), f.Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(f.wall()->mirrorByIndex(1)->getTurnState(), X86TurnState::Running,
                              f.Timeout);
    QTRY_VERIFY(watcher.layouts > layoutsBefore + 1);
    for (const char *name : {"_setSourceBtn", "_clearSourceBtn", "_turnShowBtn",
                             "_MatrixSettingBtn", "_resetLayout", "_stopAllTurnsBtn"})
        QVERIFY2(!f.button(name)->isEnabled(), name);
    QVERIFY(!f.wall()->isEnabled());

    // A command forced through the port: the matrix refuses it and the page says so.
    f.boxes->clearRecords();
    DigitalMatrixInteractionPort::instance()->setMonitorSplit(0, 4);
    QTRY_COMPARE_WITH_TIMEOUT(f.boxes->count(), 1, f.Timeout);
    QVERIFY2(f.boxes->last().text.contains("only watches the matrix"),
             qPrintable(f.boxes->last().text));
    QCOMPARE(f.simWindow(0).split, 1);

    // Taking control asks the forced-login question naming the holder; the watcher stays.
    f.boxes->answer(1);
    QTest::mouseClick(banner->takeControlButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(f.page->isConnected(), f.Timeout);
    QVERIFY2(f.boxes->texts().value(1).startsWith("Login failed!console-2 holds the matrix since "),
             qPrintable(f.boxes->texts().join('|')));
    QVERIFY(loginTime().match(f.boxes->texts().value(1)).hasMatch());
    QVERIFY(banner->isHidden());
    QCOMPARE(f.simulator->x86State().operatorHosts, QList<QByteArray> {"console-1"});
    QTRY_COMPARE_WITH_TIMEOUT(holder.status.load(), int(ConnDisconnect), f.Timeout);
    // The console thrown out learns who took over.
    MatrixOperatorRecord taker {};
    QTRY_COMPARE_WITH_TIMEOUT(holder.config->GetTakeover(&taker), 0, f.Timeout);
    QCOMPARE(QByteArray(taker.host), QByteArray("console-1"));
    QCOMPARE(watcher.status.load(), int(ConnSuccess));
    QTRY_COMPARE(f.page->findChild<QLabel *>("_operatorsLab")->text(),
                 QStringLiteral("Also on this matrix: console-3 (watching)"));
    // The tools follow the selected window: window 1 runs no turn show.
    QTRY_VERIFY(f.button("_setSourceBtn")->isEnabled());
    QCOMPARE(f.wall()->mirrorByIndex(f.page->currentMonitorIndex())->getTurnState(),
             X86TurnState::NoTurn);
    QVERIFY(!f.button("_turnShowBtn")->isEnabled());

    // Displaced in turn, the page watches the new holder instead of being thrown out for good.
    f.boxes->clearRecords();
    f.boxes->answer(1); // "watch" on the takeover notice
    SecondOperator other;
    QCOMPARE(other.logIn(f.simulator->x86Port(), "console-2", "", ""), 2);
    QCOMPARE(other.config->ForceLogin(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(f.page->isWatching(), f.Timeout);
    QVERIFY2(f.boxes->texts().value(0).startsWith("console-2 took over the matrix at "),
             qPrintable(f.boxes->texts().join('|')));
    QVERIFY(loginTime().match(f.boxes->texts().value(0)).hasMatch());
    // Offered to watch and not to connect again (that would throw console-2 out).
    QCOMPARE(int(f.boxes->last().buttons), 3);
    // Watching takes nothing back from the new holder, who goes on working.
    QCOMPARE(f.simulator->x86State().operatorHosts, QList<QByteArray> {"console-2"});
    other.config->SetMirrorRect(2, rc(0, 1080, 960, 2160));
    QTRY_COMPARE_WITH_TIMEOUT(pageRect(f, 2), rectList(rc(0, 1080, 960, 2160)), f.Timeout);

    // The holder leaves: control is taken without a question.
    other.config->Disconnect();
    QTRY_VERIFY_WITH_TIMEOUT(banner->text().contains("nobody holds"), f.Timeout);
    QTest::mouseClick(banner->takeControlButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(f.page->isConnected(), f.Timeout);
    QCOMPARE(f.boxes->count(), 1);
    QCOMPARE(f.simulator->x86State().operatorHosts, QList<QByteArray> {"console-1"});
}

void TestWatch::linuxWatchersFollowTheHolderAndTakeControl()
{
    LinuxWallFixture f;
    f.start(MatrixSimulatorOptions());
    f.connectPage();
    f.arrangeAndSave(2, 2);
    if (QTest::currentTestFailed())
        return;
    f.page->setKeepAliveInterval(50);
    DigitalMatrixInteractionPort::instance()->setClientName(QStringLiteral("console-1"));
    f.button("_watchServerBtn")->click();
    QVERIFY(f.page->isWatching());
    LinuxMatrixPeer holder;
    QCOMPARE(holder.connectTo(f.simulator->linuxPort(), "console-2"), 0);
    IBaseMatrixConfig *watcher = CreateBaseMatrixConfig();
    watcher->SetClientName("console-3");
    QCOMPARE(watcher->Watch("admin", "admin", "127.0.0.1", f.simulator->linuxPort()), 0);
    QCOMPARE(watcher->SetCellSplit(0, 4, 0), int(MatrixErrWatchOnly));

    // The holder fills a cell: the watching page reads the wall again.
    QCOMPARE(holder.setCellChannels(0, 4, {f.channel("a-1", 0), f.channel("a-2", 1)}), 0);
    QTRY_COMPARE_WITH_TIMEOUT(f.grid()->getCellByIndex(0)->channelMap().size(), 2, f.Timeout);
    QVERIFY(!f.child<QWidget>("cellsStackedWdt")->isEnabled());
    QVERIFY(!f.child<QWidget>("operButtonsWt")->isEnabled());
    auto *banner = f.page->findChild<WatchBanner *>("_watchBannerWdt");
    QTRY_VERIFY2_WITH_TIMEOUT(banner->text().startsWith("Watching: admin on console-2 holds"),
                              qPrintable(banner->text()), f.Timeout);

    // A command forced past the disabled buttons: the matrix refuses it, the page says so.
    f.boxes->clearRecords();
    f.boxes->answer(1);
    QMetaObject::invokeMethod(f.page.get(), "slotRebootBtClicked");
    QVERIFY2(f.boxes->last().text.contains("only watches the matrix"),
             qPrintable(f.boxes->last().text));
    QVERIFY(f.page->isWatching());

    // Taking control names the holder first.
    f.boxes->answer(1);
    banner->takeControlButton()->click();
    QVERIFY2(f.boxes->last().text.startsWith("admin on console-2 holds the matrix since "),
             qPrintable(f.boxes->last().text));
    QVERIFY(f.oper()->isServerConnectOK());
    QVERIFY(banner->isHidden());
    QVERIFY(f.child<QWidget>("operButtonsWt")->isEnabled());
    ReleaseBaseMatrixConfig(watcher);
}

QTEST_MAIN(TestWatch)
#include "tst_watch.moc"
