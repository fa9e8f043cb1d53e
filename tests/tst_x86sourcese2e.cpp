// The X86 page against the matrix simulator over the real matrix-service library: put channels
// on a window as a turn show through the source dialog, then pause, start and stop it from the
// turn menu, reading each state back from the simulator.
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

#include "MatrixSimulator.h"

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

#include <memory>

using namespace LUMO_DIGITALMATRIX_MODULE;

namespace {

constexpr int Timeout = 5000;

} // namespace

class TestX86SourcesEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void turnShowOnAWindowPausedStartedStopped();

private:
    QPushButton *button(const QString &name) const { return page->findChild<QPushButton *>(name); }
    // The simulator's window with this number.
    SimX86Window simWindow(int index) const;
    void connectAndArrangeTwoByTwo();

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MatrixSimulator> simulator;
    std::unique_ptr<MessageBoxScript> boxes;
    std::unique_ptr<DigitalMatrix> page;
};

void TestX86SourcesEndToEnd::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    DATACore::UserManagerCore *core = DATACore::UserManagerCore::instance();
    QVERIFY(core->open(dir->filePath("datacentre.sqlite")));
    const QString site = qEnvironmentVariable("DM_TEST_DATA") + QStringLiteral("/sample_site.json");
    QVERIFY2(core->importSiteFile(site), qPrintable(core->lastError()));
    simulator = std::make_unique<MatrixSimulator>();
    MatrixSimulatorOptions options;
    options.x86Port = 0;
    options.linuxPort = -1;
    options.x86Outputs = 4;
    options.logRequests = false;
    QVERIFY2(simulator->start(options), qPrintable(simulator->errorString()));
    QVERIFY(core->AddServer("Simulated wall", "127.0.0.1", QString(), QString(),
                            simulator->x86Port(), SERVERTYPE_X86_DIGITALMATRIX));
    QCoreApplication::sendPostedEvents();
    boxes = std::make_unique<MessageBoxScript>(0);
}

void TestX86SourcesEndToEnd::cleanup()
{
    page.reset();
    DigitalMatrixInteractionPort::instance()->disconnectServer();
    simulator.reset();
    boxes.reset();
    COMMONUSELIB::WaitDialog::getInstance()->hideWaitDialog();
    DATACore::UserManagerCore::instance()->close();
    dir.reset();
}

SimX86Window TestX86SourcesEndToEnd::simWindow(int index) const
{
    const SimX86State state = simulator->x86State();
    for (const SimX86Window &window : state.windows) {
        if (window.index == index)
            return window;
    }
    return SimX86Window();
}

void TestX86SourcesEndToEnd::connectAndArrangeTwoByTwo()
{
    page = std::make_unique<DigitalMatrix>();
    page->setGeometry(40, 40, 1200, 640);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    QTRY_COMPARE(button("_serverSelectBtn")->text(), QStringLiteral("Simulated wall"));

    // A new matrix asks for its screens first.
    ModalDriver screens(
            [](QWidget *modal) {
                QTest::keyClicks(modal->findChild<QLineEdit *>("_rowEdt"), "2");
                QTest::keyClicks(modal->findChild<QLineEdit *>("_columnEdt"), "2");
                QTest::mouseClick(modal->findChild<QPushButton *>("_OKBtn"), Qt::LeftButton);
            },
            1000, 10);
    screens.start();
    QTest::mouseClick(button("_connectMatrixBtn"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(page->isConnected(), Timeout);
    QTRY_VERIFY_WITH_TIMEOUT(screens.ran(), Timeout);
    screens.stop();
    auto *wall = page->findChild<MatrixManageWidget *>();
    QTRY_COMPARE_WITH_TIMEOUT(wall->getMirrors().size(), 4, Timeout);
    QTest::mouseClick(button("_saveMatrixSettingBtn"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(simulator->x86State().configMode, false, Timeout);
    QVERIFY(button("_setSourceBtn")->isEnabled());
}

void TestX86SourcesEndToEnd::turnShowOnAWindowPausedStartedStopped()
{
    connectAndArrangeTwoByTwo();
    auto *wall = page->findChild<MatrixManageWidget *>();

    // Select window 2 on the wall.
    QTRY_VERIFY(wall->mirrorByIndex(1) && wall->mirrorByIndex(1)->isVisible());
    QTest::mouseClick(wall->mirrorByIndex(1), Qt::LeftButton);
    QTRY_COMPARE(page->currentMonitorIndex(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(simulator->x86State().selectedMonitor, 1, Timeout);
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
    QVERIFY(button("_turnShowBtn")->isEnabled());
    QTRY_COMPARE(wall->mirrorByIndex(1)->getTurnState(), 1);

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
    QTRY_COMPARE(wall->mirrorByIndex(1)->getTurnState(), 2);

    // Start again.
    choose("_startTurnShowBtn");
    QTRY_COMPARE_WITH_TIMEOUT(simWindow(1).turnState, 1, Timeout);
    QTRY_COMPARE(wall->mirrorByIndex(1)->getTurnState(), 1);

    // Stop, confirmed.
    boxes->answer(1);
    choose("_closeTurnShowBtn");
    QCOMPARE(boxes->last().text, QStringLiteral("Do you want to stop taking turns to show"));
    QTRY_COMPARE_WITH_TIMEOUT(simWindow(1).turnState, 0, Timeout);
    QTRY_COMPARE(wall->mirrorByIndex(1)->getTurnState(), 0);
    QVERIFY(!button("_turnShowBtn")->isEnabled());
    // The sources stay on the window.
    window = simWindow(1);
    QCOMPARE(window.sources.size(), 4);
    QCOMPARE(window.split, 4);
}

QTEST_MAIN(TestX86SourcesEndToEnd)
#include "tst_x86sourcese2e.moc"
