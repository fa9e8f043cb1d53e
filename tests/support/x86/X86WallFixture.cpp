#include "X86WallFixture.h"

#include "DigitalMatrix.h"
#include "MatrixManageWidget.h"
#include "MirrorWidget.h"

#include "ModalDriver.h"

#include "IpAddressFrame.h"

#include <QLineEdit>
#include <QPushButton>
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
    ModalDriver screens(
            [rows, columns](QWidget *modal) {
                QTest::keyClicks(modal->findChild<QLineEdit *>("_rowEdt"), QString::number(rows));
                QTest::keyClicks(modal->findChild<QLineEdit *>("_columnEdt"),
                                 QString::number(columns));
                QTest::mouseClick(modal->findChild<QPushButton *>("_OKBtn"), Qt::LeftButton);
            },
            1000, 10);
    screens.start();
    connectPage();
    QTRY_VERIFY_WITH_TIMEOUT(screens.ran(), Timeout);
    screens.stop();
    QTRY_COMPARE_WITH_TIMEOUT(wall()->getMirrors().size(), rows * columns, Timeout);
    QTest::mouseClick(button("_saveMatrixSettingBtn"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(simulator->x86State().configMode, false, Timeout);
    for (MirrorWidget *mirror : wall()->getMirrors())
        QTRY_VERIFY(mirror->isVisible() && !mirror->isSwapMode());
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

void X86WallFixture::refuse(const QList<quint16> &types)
{
    MatrixSimulatorFaults faults = simulator->faults();
    faults.refusedRequests = types;
    simulator->setFaults(faults);
}
