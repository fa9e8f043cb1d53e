// The X86 page's wall presets and cameras dropped on its windows, against the simulator: a
// recall, a recall the matrix refuses half-way, a preset that no longer fits, and drops on a
// window's panes (also on a window that turns).
#include "AreaTreeForMatrixConfig.h"
#include "ChannelRecordBuilder.h"
#include "DigitalMatrix.h"
#include "DigitalMatrixInteractionPort.h"
#include "MatrixGroupTree.h"
#include "MatrixManageWidget.h"
#include "MirrorWidget.h"
#include "X86CameraPanel.h"

#include "MatrixProtocol.h"
#include "ModalDriver.h"
#include "SystemConfig.h"
#include "UserManagerCore.h"
#include "X86WallFixture.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace LUMO_DIGITALMATRIX_MODULE;

namespace {
QString cam(int n)
{
    return n <= 8 ? QStringLiteral("dev-nvr-hq-ch0%1").arg(n) : QStringLiteral("dev-dvr-east-ch01");
}
} // namespace

class TestX86Presets : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        settings = std::make_unique<QTemporaryDir>();
        PARSERXML::SystemConfig::instance()->setConfigFile(settings->filePath("sysConfig.ini"));
    }
    void cleanup()
    {
        f.stop();
        PARSERXML::SystemConfig::instance()->setConfigFile(QString());
    }
    void presetIsRecalledOrTheWallPutBack_data();
    void presetIsRecalledOrTheWallPutBack();
    void droppedCamerasFillPanesFromTheOneDroppedOn_data();
    void droppedCamerasFillPanesFromTheOneDroppedOn();

private:
    // Sends sources to a window as another console would, and waits until the page shows them.
    void setSources(int window, const QList<int> &cams, int split, int interval);
    // Waits until the matrix took every command sent so far (a selection it takes after them).
    void sync(int monitor);

    X86WallFixture f;
    std::unique_ptr<QTemporaryDir> settings;
};

void TestX86Presets::setSources(int window, const QList<int> &cams, int split, int interval)
{
    DigitalMatrixInteractionPort *port = DigitalMatrixInteractionPort::instance();
    QVector<_ST_ChnInfo> records;
    for (int k = 0; k < cams.size(); ++k)
        records.append(ChannelRecordBuilder::forChannel(cam(cams.at(k)), k + 1, nullptr));
    port->setMonitorSplit(window, split);
    if (interval > 0) {
        port->setMonitorTurnSources(window, records.constData(), records.size(), interval);
        port->setTurnState(window, X86TurnState::Running);
    } else {
        port->setMonitorSources(window, records.constData(), records.size());
    }
    QTRY_COMPARE(f.wall()->windowOnAir(window).sourceCount(), cams.size());
    QTRY_COMPARE(f.wall()->mirrorByIndex(window)->getTurnState(),
                 interval > 0 ? X86TurnState::Running : X86TurnState::NoTurn);
}

void TestX86Presets::sync(int monitor)
{
    DigitalMatrixInteractionPort::instance()->selectMonitor(monitor);
    QTRY_COMPARE(f.simulator->x86State().selectedMonitor, monitor);
}

void TestX86Presets::presetIsRecalledOrTheWallPutBack_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QList<short>>("answers");
    QTest::addColumn<QString>("told");
    const QString gone =
            "The preset \"Day\" no longer fits the matrix. Missing: the channel \"%1\".\n\n"
            "Apply the rest of the preset?";
    QTest::newRow("recalled") << "recalled" << QList<short> {1} << QString();
    QTest::newRow("refused half way")
            << "refused" << QList<short> {1}
            << "The matrix refused the channels of window 2. The wall was put back as it was.";
    QTest::newRow("corrupt") << "corrupt" << QList<short> {1}
                             << "The preset \"Day\" cannot be read.";
    QTest::newRow("a channel gone, cancelled") << "gone" << QList<short> {1, 0} << gone;
    QTest::newRow("a channel gone, the rest applied") << "rest" << QList<short> {1, 1} << gone;
}

void TestX86Presets::presetIsRecalledOrTheWallPutBack()
{
    QFETCH(QString, how);
    QFETCH(QList<short>, answers);
    QFETCH(QString, told);
    QVERIFY(f.startArranged(2, 2, true));
    DigitalMatrixInteractionPort *port = DigitalMatrixInteractionPort::instance();
    // Saved: windows 3 and 4 swapped, window 1 with four cameras, window 2 turning through
    // five, window 4 moved over the others.
    port->exchangeMirrors(2, 3);
    setSources(0, {1, 2, 3, 4}, 4, 0);
    setSources(1, {5, 6, 7, 8, 9}, 4, 10);
    const RECT moved {100, 100, 900, 700};
    port->setMirrorRect(3, moved);
    QTRY_COMPARE(f.wall()->mirrorByIndex(3)->getLayer(), 1);
    QTRY_COMPARE(f.wall()->mirrorByIndex(2)->getHomeRect().left, f.simWindow(2).home.left);
    const QStringList saved = f.heldWindows();
    f.answerName(f.presetAction(f.page.get(), QString()), QStringLiteral("Day"));
    DATACore::UserManagerCore *dataCentre = DATACore::UserManagerCore::instance();
    const QString server = dataCentre->GetServers(QString()).at(0).id;
    QCOMPARE(dataCentre->wallPresetNames(server), QStringList {"Day"});
    if (how != QLatin1String("recalled") && how != QLatin1String("refused")) {
        // Camera 2 has left the site since.
        QByteArray payload;
        QVERIFY(dataCentre->loadWallPreset(server, "Day", &payload));
        payload.replace(cam(2).toUtf8(), "gone-ch02");
        if (how == QLatin1String("corrupt"))
            payload.replace("\"split\":4", "\"split\":5");
        QVERIFY(dataCentre->deleteWallPreset(server, "Day"));
        QVERIFY(dataCentre->saveWallPreset(server, "Day", payload));
        if (how != QLatin1String("corrupt"))
            told = told.arg(dataCentre->getChannelInfoByChannelGuid(cam(2)).channelName);
    }

    // Another console changes the wall.
    port->setMirrorRect(3, f.simWindow(3).home);
    port->exchangeMirrors(2, 3);
    setSources(1, {7}, 4, 0);
    setSources(2, {9}, 1, 0);
    // ... and this operator clears window 1: a step of the undo list.
    QAbstractButton *undo = f.button("_undoBtn");
    f.wall()->selectMirror(f.wall()->mirrorByIndex(0));
    f.boxes->answer(1);
    f.button("_clearSourceBtn")->click();
    QTRY_VERIFY(f.wall()->windowOnAir(0).sourceCount() == 0);
    QTRY_VERIFY(undo->isEnabled());
    const QStringList changed = f.heldWindows();
    QVERIFY(changed != saved);
    if (how == QLatin1String("refused"))
        f.refuse({MatrixProtocol::X86SetMonitorTurnSources});

    f.boxes->clearRecords();
    f.boxes->answers(answers);
    f.presetAction(f.page.get(), QStringLiteral("Day"), "recallPresetAction")->trigger();
    QStringList texts {QStringLiteral("Do you want to recall the preset \"Day\"?")};
    if (!told.isEmpty())
        texts << told;
    QStringList expected = how == QLatin1String("recalled") ? saved : changed;
    if (how == QLatin1String("rest")) {
        expected = saved;
        expected[0].replace(QStringLiteral(" 2:2"), QString());
    }
    QTRY_VERIFY(f.wall()->isEnabled());
    QTRY_COMPARE(f.boxes->texts(), texts);
    sync(3);
    QCOMPARE(f.heldWindows(), expected);
    // The page shows what the matrix holds.
    const bool applied = how == QLatin1String("recalled") || how == QLatin1String("rest");
    QTRY_COMPARE(f.wall()->mirrorByIndex(1)->getTurnState(),
                 applied ? X86TurnState::Running : X86TurnState::NoTurn);
    // A recall that sent anything replaced the wall: the step before it is gone. The list
    // goes on with the next step.
    QCOMPARE(undo->isEnabled(), !applied && how != QLatin1String("refused"));
    f.wall()->selectMirror(f.wall()->mirrorByIndex(1));
    f.boxes->answer(1);
    f.button("_clearSourceBtn")->click();
    QTRY_COMPARE(f.wall()->windowOnAir(1).sourceCount(), 0);
    QTRY_VERIFY(undo->isEnabled());
}

void TestX86Presets::droppedCamerasFillPanesFromTheOneDroppedOn_data()
{
    QTest::addColumn<bool>("turning");
    QTest::addColumn<short>("answer");
    QTest::addColumn<int>("pane");
    QTest::addColumn<QList<int>>("dropped");
    QTest::addColumn<QString>("sources");
    QTest::newRow("third pane") << false << short(0) << 2 << QList<int> {5} << " 1:1 2:2 3:5 4:4";
    QTest::newRow("third pane, from the source dialog")
            << false << short(0) << 2 << QList<int> {5} << " 1:1 2:2 3:5 4:4";
    QTest::newRow("third pane, from the source dialog of window 2")
            << false << short(0) << 2 << QList<int> {5} << " 1:1 2:2 3:5 4:4";
    QTest::newRow("two from the second pane")
            << false << short(0) << 1 << QList<int> {5, 6} << " 1:1 2:5 3:6 4:4";
    QTest::newRow("more than the panes left")
            << false << short(0) << 3 << QList<int> {5, 6} << " 1:1 2:2 3:3 4:5";
    QTest::newRow("turning, kept")
            << true << short(0) << 2 << QList<int> {5} << " 1:1 2:2 3:3 4:4 5:1";
    QTest::newRow("turning, stopped")
            << true << short(1) << 2 << QList<int> {6} << " 1:1 2:2 3:6 4:4 5:1";
}

void TestX86Presets::droppedCamerasFillPanesFromTheOneDroppedOn()
{
    QFETCH(bool, turning);
    QFETCH(short, answer);
    QFETCH(int, pane);
    QFETCH(QList<int>, dropped);
    QFETCH(QString, sources);
    const QByteArray tag(QTest::currentDataTag());
    const bool fromDialog = tag.contains("source dialog");
    QVERIFY(f.startArranged(2, 2, true));
    setSources(0, turning ? QList<int> {1, 2, 3, 4, 9} : QList<int> {1, 2, 3, 4}, 4,
               turning ? 10 : 0);
    // The cameras come from the panel beside the wall, unfolded for good.
    auto *panel = f.page->findChild<X86CameraPanel *>(QStringLiteral("cameraPanel"));
    QVERIFY(panel && panel->isCollapsed());
    QTest::mouseClick(panel->findChild<QToolButton *>("cameraPanelFoldBt"), Qt::LeftButton);
    QVERIFY(panel->tree()->isVisible());
    QCOMPARE(PARSERXML::SystemConfig::instance()->value("X86Page/cameraPanelCollapsed"),
             QStringLiteral("false"));
    QList<QTreeWidgetItem *> items;
    for (int n : dropped)
        items << panel->tree()->channelItem(cam(n));
    QVERIFY(!items.contains(nullptr));
    std::unique_ptr<QMimeData> data(panel->tree()->mimeDataForItems(items));
    MirrorWidget *mirror = f.wall()->mirrorByIndex(0);
    const QPoint at = mirror->paneRect(pane).center();

    const QString heldBefore = f.heldWindows().at(0);
    f.boxes->clearRecords();
    f.boxes->answer(answer);
    if (fromDialog) {
        // Let go over the wall, which the modal dialog keeps from taking the drop itself.
        f.wall()->selectMirror(tag.endsWith("window 2") ? f.wall()->mirrorByIndex(1) : mirror);
        ModalDriver dialog([&](QWidget *modal) {
            if (auto *tree = modal->findChild<MatrixGroupTree *>())
                emit tree->sigChannelsDraggedOut(mirror->mapToGlobal(at), {cam(dropped.first())});
            ModalDriver::closeModal(modal);
        });
        dialog.start();
        QTest::mouseClick(f.button("_setSourceBtn"), Qt::LeftButton);
        dialog.stop();
        QVERIFY(dialog.ran());
    } else {
        // Both are taken only by a window that places the cameras.
        QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        enter.ignore();
        QApplication::sendEvent(mirror, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        drop.ignore();
        QApplication::sendEvent(mirror, &drop);
        QVERIFY(drop.isAccepted());
    }
    const QString window =
            QStringLiteral("0 split 4 turn %1 at ").arg(turning && answer == 0 ? "1/10" : "0/0");
    sync(2);
    QCOMPARE(f.heldWindows().at(0).left(window.size()), window);
    QCOMPARE(f.heldWindows().at(0).section(QLatin1Char('['), 1), sources + QLatin1Char(']'));
    QCOMPARE(f.boxes->count(), turning ? 1 : 0);
    // The page shows the camera on the pane it was dropped on. The drop is one step of the
    // undo list: undone, the window shows what it showed before.
    if (!turning || answer == 1) {
        QTRY_COMPARE(mirror->shownPaneNames().at(pane),
                     DATACore::UserManagerCore::instance()
                             ->getChannelInfoByChannelGuid(cam(dropped.first()))
                             .channelName);
        QAbstractButton *undo = f.button("_undoBtn");
        QTRY_VERIFY(undo->isEnabled());
        undo->click();
        QTRY_COMPARE(f.heldWindows().at(0), heldBefore);
    }
}

QTEST_MAIN(TestX86Presets)
#include "tst_x86presets.moc"
