#include "LinuxPageHarness.h"

#include "AreaTreeForMatrixConfig.h"
#include "ConfigChannelsWidget.h"
#include "DigitalMatrixInteractionPort.h"
#include "DigitalMatrixServerOperWidget.h"
#include "LinuxDigitalMatrixPage.h"

#include "SystemConfig.h"
#include "UserManagerCore.h"
#include "WaitDialog.h"

#include "ModalDriver.h"
#include "TestData.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace LUMO_DIGITALMATRIX_MODULE;
using DATACore::UserManagerCore;

LinuxPageHarness::LinuxPageHarness() = default;

LinuxPageHarness::~LinuxPageHarness()
{
    stop();
}

void LinuxPageHarness::start(const QString &site)
{
    openTestDataCentre(dir, site);
    if (QTest::currentTestFailed())
        return;
    PARSERXML::SystemConfig::instance()->setConfigFile(
            dir->filePath(QStringLiteral("sysConfig.ini")));
    service = std::make_unique<FakeMatrixService>();
}

void LinuxPageHarness::stop()
{
    page.reset();
    QCoreApplication::processEvents();
    COMMONUSELIB::WaitDialog::getInstance()->hideWaitDialog();
    service.reset();
    PARSERXML::SystemConfig::instance()->setConfigFile(QString());
    if (dir)
        UserManagerCore::instance()->close();
    dir.reset();
}

QString LinuxPageHarness::storeServer(const QString &name, const QString &ip, int type, int port,
                                      const QString &password)
{
    UserManagerCore *core = UserManagerCore::instance();
    if (!core->AddServer(name, ip, QStringLiteral("admin"), password, port, type))
        return QString();
    QCoreApplication::processEvents();
    for (const UServerInfo &server : core->GetServers(QString())) {
        if (server.name == name && server.type == type)
            return server.id;
    }
    return QString();
}

QString LinuxPageHarness::answerRowColumn(QPushButton *opener, const QString &rows,
                                          const QString &columns)
{
    QString offered;
    ModalDriver driver([&](QWidget *modal) {
        auto *rowEdit = modal->findChild<QLineEdit *>("rowLineEt");
        auto *columnEdit = modal->findChild<QLineEdit *>("columnLineEt");
        auto *ok = modal->findChild<QPushButton *>("okBt");
        if (!rowEdit || !columnEdit || !ok)
            return;
        offered = rowEdit->text() + QStringLiteral(" x ") + columnEdit->text() + QLatin1Char(' ')
                + ok->text();
        if (rows.isEmpty()) {
            modal->findChild<QPushButton *>("cancleBt")->click();
            return;
        }
        rowEdit->setText(rows);
        columnEdit->setText(columns);
        ok->click();
    });
    driver.start();
    opener->click();
    driver.stop();
    return offered;
}

void LinuxPageHarness::runUpgrade(QPushButton *opener, int typeIndex, const QString &url)
{
    ModalDriver driver([&](QWidget *modal) {
        modal->findChild<QComboBox *>("upgradeType")->setCurrentIndex(typeIndex);
        modal->findChild<QLineEdit *>("urlLineEt")->setText(url);
        modal->findChild<QPushButton *>("saveBt")->click();
    });
    driver.start();
    opener->click();
    QVERIFY(driver.ran());
}

void LinuxPageHarness::rightClick(QWidget *widget)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(3, 3),
                            widget->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(widget, &event);
}

std::vector<ScreenRegionEntry> LinuxPageHarness::grid(int rows, int columns)
{
    constexpr int U = DigitalMatrixInteractionPort::ScreenUnit;
    std::vector<ScreenRegionEntry> entries(size_t(rows * columns));
    for (int i = 0; i < rows * columns; ++i)
        entries[size_t(i)].region = ScreenRegion {i, 0, (i % columns) * U, (i / columns) * U, U, U};
    return entries;
}

LinuxDigitalMatrixPage *LinuxPageHarness::makePage()
{
    if (!page) {
        page = std::make_unique<LinuxDigitalMatrixPage>();
        page->resize(1000, 640);
        page->show();
    }
    return page.get();
}

void LinuxPageHarness::openConnected(int rows, int columns)
{
    base()->screenNumberBytes = QByteArray::fromHex("00010203");
    base()->gridEntries = grid(rows, columns);
    base()->cellSplitCount = 1;
    base()->turnStatus = CellTurnStatus {30, 2, 0};
    makePage();
    QTRY_COMPARE(page->currentServerIndex(), 0);
    oper()->connectButton()->click();
    QVERIFY(oper()->isServerConnectOK());
    QVERIFY(cells()->isConfigured());
    QCOMPARE(cells()->cellCount(), rows * columns);
    QCoreApplication::processEvents();
    base()->clear();
}

QPushButton *LinuxPageChildren::button(const char *name) const
{
    return child<QPushButton>(name);
}

DigitalMatrixServerOperWidget *LinuxPageChildren::oper() const
{
    return child<DigitalMatrixServerOperWidget>("serverOperWdt");
}

ConfigChannelsWidget *LinuxPageChildren::grid() const
{
    return child<ConfigChannelsWidget>("configChannelsWdt");
}

AreaTreeForMatrixConfig *LinuxPageChildren::tree() const
{
    return child<AreaTreeForMatrixConfig>("areaTreeWdt");
}
