#include "X86WallFixture.h"

#include "DigitalMatrix.h"
#include "ISpinBox.h"
#include "MatrixGroupTree.h"
#include "MatrixManageWidget.h"
#include "MirrorWidget.h"
#include "SetChannelSource.h"
#include "SpliteWindow.h"

#include "ModalDriver.h"
#include "WallGeometry.h"

#include "IpAddressFrame.h"
#include "WaitDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QWindow>
#include <QtTest>

using namespace LUMO_DIGITALMATRIX_MODULE;

namespace {
const QList<SimulatorAccount> DefaultAccounts = {{QString(), QString()}, {"second", "second"}};
} // namespace

X86WallFixture::X86WallFixture()
    : x86Accounts(DefaultAccounts)
{ }

X86WallFixture::~X86WallFixture()
{
    stop();
}

void X86WallFixture::start(int outputs, bool withSite, bool addServer)
{
    MatrixSimulatorOptions options;
    options.x86Port = 0;
    options.linuxPort = -1;
    options.x86Outputs = outputs;
    options.x86Accounts = x86Accounts;
    startMatrix(options, withSite ? QStringLiteral("sample_site.json") : QString());
    if (addServer && !QTest::currentTestFailed())
        QVERIFY(!storeServer(SERVERTYPE_X86_DIGITALMATRIX, "Simulated wall", simulator->x86Port())
                         .isEmpty());
}

void X86WallFixture::stop()
{
    page.reset();
    stopMatrix();
    x86Accounts = DefaultAccounts;
}

void X86WallFixture::openPage(bool withServer)
{
    page = std::make_unique<DigitalMatrix>();
    page->setGeometry(40, 40, 1200, 640);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    if (withServer)
        QTRY_VERIFY(!page->currentServerInfo().id.isEmpty());
}

void X86WallFixture::addServerThroughDialog(const QString &user, const QString &password)
{
    openPage(false);
    if (QTest::currentTestFailed())
        return;
    const int port = simulator->x86Port();
    ModalDriver addDriver([port, user, password](QWidget *modal) {
        modal->findChild<QLineEdit *>("serverName")->setText("Simulated wall");
        modal->findChild<COMMONUSELIB::IpAddressFrame *>("ipFrame")->setIp("127.0.0.1");
        modal->findChild<QLineEdit *>("serverPort")->setText(QString::number(port));
        auto *userEdit = modal->findChild<QLineEdit *>("_userLineEdt");
        auto *passwordEdit = modal->findChild<QLineEdit *>("_passwordLineEdt");
        if (!userEdit || !passwordEdit)
            return; // closed unsaved: the dialog has no account fields
        QTest::keyClicks(userEdit, user);
        QTest::keyClicks(passwordEdit, password);
        QTest::mouseClick(modal->findChild<QPushButton *>("saveBt"), Qt::LeftButton);
    });
    addDriver.start();
    QTest::mouseClick(button("_addServerBtn"), Qt::LeftButton);
    addDriver.stop();
    QVERIFY(addDriver.ran());
    QTRY_COMPARE(button("_serverSelectBtn")->text(), QStringLiteral("Simulated wall"));
    QCOMPARE(page->currentServerInfo().port, port);
}

void X86WallFixture::connectPage()
{
    QTest::mouseClick(button("_connectMatrixBtn"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(page->isConnected(), Timeout);
}

bool X86WallFixture::startArranged(int rows, int columns, bool withSite)
{
    start(4, withSite);
    if (!QTest::currentTestFailed())
        connectAndArrange(rows, columns);
    return !QTest::currentTestFailed();
}

void X86WallFixture::connectAndArrange(int rows, int columns)
{
    openPage();
    if (QTest::currentTestFailed())
        return;
    std::unique_ptr<ModalDriver> screens = answerScreens(rows, columns);
    connectPage();
    QTRY_VERIFY_WITH_TIMEOUT(screens->ran(), Timeout);
    screens->stop();
    QTRY_COMPARE_WITH_TIMEOUT(wall()->getMirrors().size(), rows * columns, Timeout);
    QTest::mouseClick(button("_saveMatrixSettingBtn"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(simulator->x86State().configMode, false, Timeout);
    for (MirrorWidget *mirror : wall()->getMirrors())
        QTRY_VERIFY(mirror->isVisible() && !mirror->isSwapMode());
}

std::unique_ptr<ModalDriver> X86WallFixture::answerScreens(int rows, int columns,
                                                           QStringList *offered)
{
    auto driver = std::make_unique<ModalDriver>(
            [rows, columns, offered](QWidget *modal) {
                auto *rowEdit = modal->findChild<QLineEdit *>("_rowEdt");
                auto *columnEdit = modal->findChild<QLineEdit *>("_columnEdt");
                if (offered)
                    *offered << modal->findChild<QLabel *>("_numberLabel")->text()
                             << rowEdit->text();
                rowEdit->clear();
                columnEdit->clear();
                QTest::keyClicks(rowEdit, QString::number(rows));
                QTest::keyClicks(columnEdit, QString::number(columns));
                QTest::mouseClick(modal->findChild<QPushButton *>("_OKBtn"), Qt::LeftButton);
            },
            1000, 10);
    driver->start();
    return driver;
}

void X86WallFixture::arrangeAsAnotherOperator(MatrixSimulator &matrix, int rows, int columns)
{
    {
        SecondOperator earlier;
        QVERIFY(earlier.connectTo(matrix.x86Port()));
        QCOMPARE(earlier.config->Login("", ""), 0);
        earlier.config->SetScreenCount(rows, columns);
        QTRY_COMPARE_WITH_TIMEOUT(matrix.x86State().rows, rows, Timeout);
    }
    QTRY_COMPARE_WITH_TIMEOUT(matrix.clientCount(), 0, Timeout);
}

bool X86WallFixture::pageIsIdle() const
{
    for (const char *name : {"_clearSourceBtn", "_setSourceBtn", "_turnShowBtn",
                             "_MatrixSettingBtn", "_resetLayout", "_saveMatrixSettingBtn"}) {
        if (button(name)->isEnabled())
            return false;
    }
    return !page->isConnected() && !button("_connectMatrixBtn")->isChecked()
            && button("_connectMatrixBtn")->toolTip() == QLatin1String("Connect server")
            && wall()->getMirrors().isEmpty()
            && !COMMONUSELIB::WaitDialog::getInstance()->isWaiting();
}

void X86WallFixture::waitUntilShowsTheMatrix()
{
    const SimX86State held = simulator->x86State();
    QTRY_COMPARE(wall()->getMirrors().size(), held.windows.size());
    for (const SimX86Window &window : held.windows) {
        MirrorWidget *mirror = wall()->mirrorByIndex(window.index);
        QVERIFY(mirror);
        QTRY_COMPARE(rectList(mirror->getMirrorRect()), rectList(window.rect));
        QTRY_COMPARE(mirror->getSplitCount(), window.split);
        QTRY_COMPARE(mirror->zoomedPane(), window.zoomedPane);
        QTRY_COMPARE(int(mirror->getTurnState()), window.turnState);
    }
}

void X86WallFixture::drag(MirrorWidget *mirror, const QPoint &offset)
{
    QWindow *window = page->windowHandle();
    const QPoint from = mirror->mapTo(page.get(), mirror->rect().center());
    const QPoint to = from + offset;
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(window, to);
    // The press asks for the layout; its answer comes before the release.
    QTest::qWait(100);
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, to);
}

QPushButton *X86WallFixture::button(const QString &name) const
{
    return page->findChild<QPushButton *>(name);
}

MatrixManageWidget *X86WallFixture::wall() const
{
    return page->findChild<MatrixManageWidget *>();
}

SimX86Window X86WallFixture::simWindow(int index) const
{
    const SimX86State state = simulator->x86State();
    for (const SimX86Window &window : state.windows) {
        if (window.index == index)
            return window;
    }
    return SimX86Window();
}

QStringList X86WallFixture::heldWindows() const
{
    QStringList windows;
    for (const SimX86Window &w : simulator->x86State().windows) {
        QString text = QStringLiteral("%1 split %2 turn %3/%4 at %5,%6,%7,%8 layer %9 [")
                               .arg(w.index)
                               .arg(w.split)
                               .arg(w.turnState)
                               .arg(w.turnInterval)
                               .arg(w.rect.left)
                               .arg(w.rect.top)
                               .arg(w.rect.right)
                               .arg(w.rect.bottom)
                               .arg(w.layer);
        for (const _ST_ChnInfo &record : w.sources)
            text += QStringLiteral(" %1:%2").arg(record.sequence).arg(record.channelNo);
        windows << text + QLatin1Char(']');
    }
    return windows;
}

void X86WallFixture::refuse(const QList<quint16> &types)
{
    MatrixSimulatorFaults faults = simulator->faults();
    faults.refusedRequests = types;
    simulator->setFaults(faults);
}

void X86WallFixture::select(int index)
{
    QTRY_VERIFY(wall()->mirrorByIndex(index) && wall()->mirrorByIndex(index)->isVisible());
    QTest::mouseClick(wall()->mirrorByIndex(index), Qt::LeftButton);
    QTRY_COMPARE(page->currentMonitorIndex(), index);
    QTRY_COMPARE_WITH_TIMEOUT(simulator->x86State().selectedMonitor, index, Timeout);
}

void X86WallFixture::chooseSplit(MirrorWidget *mirror, const char *splitButton)
{
    QContextMenuEvent menu(QContextMenuEvent::Mouse, mirror->rect().center(),
                           mirror->mapToGlobal(mirror->rect().center()));
    QApplication::sendEvent(mirror, &menu);
    auto *chooser = page->findChild<SpliteWindow *>();
    QTRY_VERIFY(chooser->isVisible());
    QTest::mouseClick(chooser->findChild<QPushButton *>(splitButton), Qt::LeftButton);
}

void X86WallFixture::enterConfigurationMode(int rows, int columns)
{
    // The dialog offers the rows the matrix holds.
    QStringList offered;
    std::unique_ptr<ModalDriver> screens = answerScreens(rows, columns, &offered);
    boxes->answer(1);
    QTest::mouseClick(button("_MatrixSettingBtn"), Qt::LeftButton);
    // Until the matrix answers with its screens, the wait and the wall say what they wait for.
    QCOMPARE(COMMONUSELIB::WaitDialog::getInstance()->text(),
             QString("Reading the matrix's screens..."));
    QCOMPARE(wall()->emptyText(), QString("Reading the matrix's screens..."));
    QTRY_VERIFY_WITH_TIMEOUT(screens->ran(), Timeout);
    screens->stop();
    QCOMPARE(offered.value(1), QString::number(simulator->x86State().rows));
    QTRY_COMPARE_WITH_TIMEOUT(simulator->x86State().configMode, true, Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(wall()->getMirrors().size(), rows * columns, Timeout);
    QTRY_VERIFY(wall()->getMirrors().first()->isSwapMode());
    QVERIFY(page->isMonitorConfig());
}

void X86WallFixture::setSources(const Ticking &ticking, const std::function<void()> &open)
{
    ModalDriver source([&ticking](QWidget *modal) {
        auto *dialog = qobject_cast<SetChannelSource *>(modal);
        if (!dialog)
            return;
        ticking(dialog->groupTree(), dialog);
        QTest::mouseClick(dialog->findChild<QPushButton *>("_setBtn"), Qt::LeftButton);
    });
    source.start();
    if (open)
        open();
    else
        QTest::mouseClick(button("_setSourceBtn"), Qt::LeftButton);
    source.stop();
    QVERIFY(source.ran());
}

void tickLobby(MatrixGroupTree *group, int channels, const QString &split, int interval)
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
