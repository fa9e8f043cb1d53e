// The X86 page against the matrix simulator over the real matrix-service library: add a
// server, connect, set up a new matrix, and move a window with the mouse.
#include "DigitalMatrix.h"
#include "DigitalMatrixInteractionPort.h"
#include "MatrixManageWidget.h"
#include "MirrorWidget.h"
#include "ServerSelectWidget.h"

#include "IpAddressFrame.h"
#include "UserManagerCore.h"
#include "WaitDialog.h"

#include "MatrixSimulator.h"

#include "MessageBoxScript.h"
#include "ModalDriver.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

#include <memory>

using namespace LUMO_DIGITALMATRIX_MODULE;

namespace {

QList<int> rectList(const RECT &r)
{
    return {r.left, r.top, r.right, r.bottom};
}

} // namespace

class TestX86EndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void addConnectSetUpAndMoveAWindow();

private:
    QPushButton *button(const QString &name) const { return page->findChild<QPushButton *>(name); }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MatrixSimulator> simulator;
    std::unique_ptr<MessageBoxScript> boxes;
    std::unique_ptr<DigitalMatrix> page;
};

void TestX86EndToEnd::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    QVERIFY(DATACore::UserManagerCore::instance()->open(dir->filePath("datacentre.sqlite")));
    simulator = std::make_unique<MatrixSimulator>();
    MatrixSimulatorOptions options;
    options.x86Port = 0;
    options.linuxPort = -1;
    options.x86Outputs = 8;
    options.logRequests = false;
    QVERIFY2(simulator->start(options), qPrintable(simulator->errorString()));
    QVERIFY(simulator->x86Port() > 0);
    boxes = std::make_unique<MessageBoxScript>(0);
}

void TestX86EndToEnd::cleanup()
{
    page.reset();
    DigitalMatrixInteractionPort::instance()->disconnectServer();
    simulator.reset();
    boxes.reset();
    COMMONUSELIB::WaitDialog::getInstance()->hideWaitDialog();
    DATACore::UserManagerCore::instance()->close();
    dir.reset();
}

void TestX86EndToEnd::addConnectSetUpAndMoveAWindow()
{
    page = std::make_unique<DigitalMatrix>();
    page->setGeometry(40, 40, 1200, 640);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));

    // Add the simulator as a server through the dialog.
    const int port = simulator->x86Port();
    ModalDriver addDriver([port](QWidget *modal) {
        modal->findChild<QLineEdit *>("serverName")->setText("Simulated wall");
        modal->findChild<COMMONUSELIB::IpAddressFrame *>("ipFrame")->setIp("127.0.0.1");
        modal->findChild<QLineEdit *>("serverPort")->setText(QString::number(port));
        QTest::mouseClick(modal->findChild<QPushButton *>("saveBt"), Qt::LeftButton);
    });
    addDriver.start();
    QTest::mouseClick(button("_addServerBtn"), Qt::LeftButton);
    addDriver.stop();
    QVERIFY(addDriver.ran());
    QTRY_COMPARE(button("_serverSelectBtn")->text(), QStringLiteral("Simulated wall"));
    QCOMPARE(page->currentServerInfo().port, port);

    // Connect: the new matrix has no screens yet, so the page asks for them.
    QString askedScreens;
    ModalDriver screenDriver(
            [&askedScreens](QWidget *modal) {
                askedScreens = modal->findChild<QLabel *>("_numberLabel")->text();
                QTest::keyClicks(modal->findChild<QLineEdit *>("_rowEdt"), "2");
                QTest::keyClicks(modal->findChild<QLineEdit *>("_columnEdt"), "2");
                QTest::mouseClick(modal->findChild<QPushButton *>("_OKBtn"), Qt::LeftButton);
            },
            1000, 10);
    screenDriver.start();
    QTest::mouseClick(button("_connectMatrixBtn"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(page->isConnected(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(screenDriver.ran(), 10000);
    screenDriver.stop();
    QCOMPARE(askedScreens, QStringLiteral("0"));
    QTRY_COMPARE_WITH_TIMEOUT(simulator->x86State().rows, 2, 5000);
    QCOMPARE(simulator->x86State().columns, 2);

    // The windows of the layout appear on the wall.
    auto *wall = page->findChild<MatrixManageWidget *>();
    QTRY_COMPARE_WITH_TIMEOUT(wall->getMirrors().size(), 4, 5000);
    QCOMPARE(rectList(wall->getWallRect()), (QList<int> {0, 0, 3840, 2160}));
    // A new wall starts in the arrangement step: numbers can be swapped, then saved.
    QVERIFY(!button("_saveMatrixSettingBtn")->isHidden());
    QVERIFY(button("_resetLayout")->isHidden());
    for (MirrorWidget *m : wall->getMirrors())
        QVERIFY(m->isSwapMode());
    QTest::mouseClick(button("_saveMatrixSettingBtn"), Qt::LeftButton);
    QVERIFY(button("_saveMatrixSettingBtn")->isHidden());
    QVERIFY(!button("_resetLayout")->isHidden());
    QVERIFY(button("_resetLayout")->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(simulator->x86State().configMode, false, 5000);
    for (MirrorWidget *m : wall->getMirrors()) {
        QVERIFY(!m->isSwapMode());
        QVERIFY(m->isEditable());
    }
    MirrorWidget *moved = wall->mirrorByIndex(0);
    QVERIFY(moved);
    QTRY_VERIFY(moved->isVisible());
    QCOMPARE(moved->geometry().topLeft(), QPoint(0, 0));
    QCOMPARE(moved->width(), int(1920 * (double(wall->width()) / 3840)));
    for (MirrorWidget *m : wall->getMirrors())
        QVERIFY(m->isVisible());
    QCOMPARE(boxes->count(), 0);

    // Move the first window with the mouse.
    QWindow *window = page->windowHandle();
    const QPoint from = moved->mapTo(page.get(), moved->rect().center());
    const QPoint to = from + QPoint(150, 80);
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(window, to);
    // Let the matrix answer the press's layout request before the button is released.
    QTest::qWait(200);
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, to);
    QCOMPARE(moved->geometry().topLeft(), QPoint(150, 80));

    const RECT sent = moved->getMirrorRect();
    const double kx = 3840.0 / wall->width();
    const double ky = 2160.0 / wall->height();
    QCOMPARE(sent.left, int(150 * kx));
    QCOMPARE(sent.top, int(80 * ky));

    // The simulator holds the moved rectangle.
    QTRY_COMPARE_WITH_TIMEOUT(rectList(simulator->x86State().windows.at(0).rect), rectList(sent),
                              5000);
    const SimX86State state = simulator->x86State();
    QCOMPARE(state.windows.at(0).index, 0);
    QCOMPARE(rectList(state.windows.at(0).home), (QList<int> {0, 0, 1920, 1080}));
    QCOMPARE(state.selectedMonitor, 0);
    QCOMPARE(boxes->count(), 0);
}

QTEST_MAIN(TestX86EndToEnd)
#include "tst_x86e2e.moc"
