#include "X86PageHarness.h"

#include "MatrixManageWidget.h"
#include "ServerSelectWidget.h"
#include "ServerButton.h"

#include "QLogger.h"
#include "SystemConfig.h"
#include "UserManagerCore.h"

#include "TestData.h"
#include "WaitDialog.h"

#include "WallGeometry.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace LUMO_DIGITALMATRIX_MODULE;
using DATACore::UserManagerCore;

namespace {

const QStringList WallControls {"_clearSourceBtn", "_saveMatrixSettingBtn", "_setSourceBtn",
                                "_turnShowBtn",    "_MatrixSettingBtn",     "_resetLayout"};

} // namespace

X86PageHarness::X86PageHarness() = default;

X86PageHarness::~X86PageHarness()
{
    stop();
}

void X86PageHarness::start()
{
    openTestDataCentre(dir);
    if (QTest::currentTestFailed())
        return;
    QLogger::instance()->setLogFile(dir->filePath("host.log"));
    PARSERXML::SystemConfig::instance()->setConfigFile(dir->filePath("sysConfig.ini"));
    service = std::make_unique<FakeMatrixService>();
    boxes = std::make_unique<MessageBoxScript>(0);
}

void X86PageHarness::stop()
{
    page.reset();
    boxes.reset();
    service.reset();
    COMMONUSELIB::WaitDialog::getInstance()->hideWaitDialog();
    PARSERXML::SystemConfig::instance()->setConfigFile(QString());
    if (dir)
        UserManagerCore::instance()->close();
    dir.reset();
}

QString X86PageHarness::addServer(const QString &name, const QString &ip, int port, int type,
                                  const QString &user, const QString &password)
{
    UserManagerCore *core = UserManagerCore::instance();
    if (!core->AddServer(name, ip, user, password, port, type))
        return QString();
    // Deliver the data centre's announcement now, before any page listens.
    if (!page)
        QCoreApplication::sendPostedEvents();
    for (const UServerInfo &server : core->GetServers(QString())) {
        if (server.name == name)
            return server.id;
    }
    return QString();
}

void X86PageHarness::makePage(bool show)
{
    page = std::make_unique<DigitalMatrix>();
    x86()->clear();
    if (show) {
        page->setGeometry(50, 50, 1200, 600);
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    }
}

QPushButton *X86PageHarness::button(const QString &name) const
{
    auto *b = page->findChild<QPushButton *>(name);
    if (!b)
        qWarning() << "no button" << name;
    return b;
}

ServerSelectWidget *X86PageHarness::selector() const
{
    return page->findChild<ServerSelectWidget *>();
}

MatrixManageWidget *X86PageHarness::wall() const
{
    return page->findChild<MatrixManageWidget *>();
}

void X86PageHarness::selectServer(int row)
{
    QTest::mouseClick(selector()->serverButtons().at(row), Qt::LeftButton);
}

void X86PageHarness::clickConnect()
{
    QTest::mouseClick(button("_connectMatrixBtn"), Qt::LeftButton);
}

void X86PageHarness::loginTo(int row)
{
    selectServer(row);
    clickConnect();
    x86()->fireConnectStatus(ConnSuccess);
    QTRY_VERIFY(page->isConnected());
}

void X86PageHarness::showPage()
{
    makePage(true);
    const QList<UServerInfo> servers = UserManagerCore::instance()->GetServers(QString());
    QVERIFY(!servers.isEmpty());
    QTRY_COMPARE(button("_serverSelectBtn")->text(), servers.first().name);
}

void X86PageHarness::loggedInWall(bool show, const QVector<_MIRRORINFO> &mirrors)
{
    addServer("Alpha", "10.0.0.1");
    if (show)
        showPage();
    else
        makePage(false);
    loginTo(0);
    fireLayout(mirrors);
    x86()->clear();
}

void X86PageHarness::fireLayout(const QVector<_MIRRORINFO> &mirrors, int p2, int p3, int p4)
{
    x86()->fireLayout(rc(0, 0, 1600, 900), mirrors, 0, p2, p3, p4);
    QCoreApplication::processEvents();
}

QString X86PageHarness::controls() const
{
    int enabled = 0;
    for (const QString &name : WallControls)
        enabled += button(name)->isEnabled();
    return enabled == WallControls.size() ? QStringLiteral("enabled")
            : enabled == 0                ? QStringLiteral("disabled")
                                          : QStringLiteral("mixed");
}
