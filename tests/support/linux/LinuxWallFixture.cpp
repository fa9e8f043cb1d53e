#include "LinuxWallFixture.h"

#include "AreaTreeForMatrixConfig.h"
#include "ConfigChannelsWidget.h"
#include "DigitalMatrixInteractionPort.h"
#include "DigitalMatrixServerOperWidget.h"
#include "LinuxDigitalMatrixPage.h"

#include "UserManagerCore.h"
#include "WaitDialog.h"

#include "ModalDriver.h"
#include "TestData.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace LUMO_DIGITALMATRIX_MODULE;

LinuxWallFixture::LinuxWallFixture() = default;

LinuxWallFixture::~LinuxWallFixture()
{
    stop();
}

void LinuxWallFixture::start(MatrixSimulatorOptions options, const QString &site, bool addServer)
{
    qputenv("DM_MATRIX_CONNECT_TIMEOUT_MS", "1500");
    qputenv("DM_MATRIX_REQUEST_TIMEOUT_MS", "1500");
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    DATACore::UserManagerCore *core = DATACore::UserManagerCore::instance();
    QVERIFY(core->open(dir->filePath(QStringLiteral("datacentre.db"))));
    if (!site.isEmpty())
        QVERIFY2(core->importSiteFile(testDataFile(site)), qPrintable(core->lastError()));
    simulator = std::make_unique<MatrixSimulator>();
    options.x86Port = -1;
    options.linuxPort = 0;
    options.logRequests = false;
    QVERIFY2(simulator->start(options), qPrintable(simulator->errorString()));
    if (addServer)
        QVERIFY(core->AddServer(QStringLiteral("Sim"), QStringLiteral("127.0.0.1"),
                                QStringLiteral("admin"), QStringLiteral("admin"),
                                simulator->linuxPort(), SERVERTYPE_LINUX_DIGITALMATRIX));
    QCoreApplication::processEvents();
    // The port talks to the real matrix-service library.
    DigitalMatrixInteractionPort::release();
    DigitalMatrixInteractionPort::resetServiceFactory();
    DigitalMatrixInteractionPort::instance();
}

void LinuxWallFixture::stop()
{
    page.reset();
    COMMONUSELIB::WaitDialog::getInstance()->hideWaitDialog();
    DigitalMatrixInteractionPort::release();
    simulator.reset();
    if (dir)
        DATACore::UserManagerCore::instance()->close();
    dir.reset();
}

void LinuxWallFixture::connectPage()
{
    if (!page) {
        page = std::make_unique<LinuxDigitalMatrixPage>();
        page->resize(1100, 700);
        page->show();
        QTRY_COMPARE(page->currentServerIndex(), 0);
    }
    oper()->connectButton()->click();
    QCOMPARE(oper()->connectServerHint(), QStringLiteral("Digital matrix server connect ok!"));
}

void LinuxWallFixture::arrange(int rows, int columns)
{
    ModalDriver driver([=](QWidget *modal) {
        modal->findChild<QLineEdit *>(QStringLiteral("rowLineEt"))->setText(QString::number(rows));
        modal->findChild<QLineEdit *>(QStringLiteral("columnLineEt"))
                ->setText(QString::number(columns));
        modal->findChild<QPushButton *>(QStringLiteral("okBt"))->click();
    });
    driver.start();
    button("configMatrixBt")->click();
    QVERIFY(driver.ran());
    QCOMPARE(page->matrixStatus(), LinuxDigitalMatrixPage::MatrixStatusConfig);
}

void LinuxWallFixture::arrangeAndSave(int rows, int columns)
{
    arrange(rows, columns);
    if (QTest::currentTestFailed())
        return;
    button("saveConfigBt")->click();
    QVERIFY(grid()->isConfigured());
    QCOMPARE(grid()->cellCount(), rows * columns);
}

QPushButton *LinuxWallFixture::button(const char *name) const
{
    return child<QPushButton>(name);
}

DigitalMatrixServerOperWidget *LinuxWallFixture::oper() const
{
    return child<DigitalMatrixServerOperWidget>("serverOperWdt");
}

ConfigChannelsWidget *LinuxWallFixture::grid() const
{
    return child<ConfigChannelsWidget>("configChannelsWdt");
}

AreaTreeForMatrixConfig *LinuxWallFixture::tree() const
{
    return child<AreaTreeForMatrixConfig>("areaTreeWdt");
}

CellChannelItem LinuxWallFixture::channel(const char *id, int position)
{
    CellChannelItem item;
    item.channelId = QLatin1String(id);
    item.position = position;
    return item;
}
