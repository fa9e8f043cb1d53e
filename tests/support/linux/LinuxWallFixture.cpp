#include "LinuxWallFixture.h"

#include "AreaTreeForMatrixConfig.h"
#include "CellForConfigChannels.h"
#include "ConfigChannelsWidget.h"
#include "DigitalMatrixServerOperWidget.h"
#include "LinuxDigitalMatrixPage.h"

#include "LinuxMatrixPeer.h"
#include "ModalDriver.h"

#include <QLineEdit>
#include <QPushButton>
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
    options.x86Port = -1;
    options.linuxPort = 0;
    startMatrix(options, site);
    if (addServer && !QTest::currentTestFailed())
        QVERIFY(!storeServer(SERVERTYPE_LINUX_DIGITALMATRIX, QStringLiteral("Sim"),
                             simulator->linuxPort())
                         .isEmpty());
}

void LinuxWallFixture::stop()
{
    page.reset();
    stopMatrix();
}

void LinuxWallFixture::openPage()
{
    if (page)
        return;
    page = std::make_unique<LinuxDigitalMatrixPage>();
    page->resize(1100, 700);
    page->show();
    QTRY_COMPARE(page->currentServerIndex(), 0);
}

void LinuxWallFixture::connectPage()
{
    openPage();
    oper()->connectButton()->click();
    QCOMPARE(oper()->connectServerHint(), QStringLiteral("Digital matrix server connect ok!"));
}

bool LinuxWallFixture::reconnectWithin(int timeoutMs)
{
    return QTest::qWaitFor(
            [this] {
                oper()->connectButton()->click();
                if (oper()->isServerConnectOK())
                    return true;
                QTest::qWait(50);
                return false;
            },
            timeoutMs);
}

void LinuxWallFixture::answerRowColumn(QPushButton *opener, int rows, int columns)
{
    ModalDriver driver([=](QWidget *modal) {
        modal->findChild<QLineEdit *>("rowLineEt")->setText(QString::number(rows));
        modal->findChild<QLineEdit *>("columnLineEt")->setText(QString::number(columns));
        modal->findChild<QPushButton *>("okBt")->click();
    });
    driver.start();
    opener->click();
    QVERIFY(driver.ran());
}

void LinuxWallFixture::arrange(int rows, int columns)
{
    answerRowColumn(button("configMatrixBt"), rows, columns);
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

CellForConfigChannels *
LinuxWallFixture::cellSetByAnotherOperator(int cell, const QList<CellChannelItem> &channels)
{
    LinuxMatrixPeer peer;
    if (peer.connectTo(simulator->linuxPort()) != 0
        || peer.setCellChannels(cell, 4, channels) != 0) {
        QTest::qFail("another operator could not set the cell", __FILE__, __LINE__);
        return nullptr;
    }
    oper()->connectButton()->click();
    connectPage();
    return grid()->getCellByIndex(cell);
}

CellChannelItem LinuxWallFixture::channel(const char *id, int position)
{
    CellChannelItem item;
    item.channelId = QLatin1String(id);
    item.position = position;
    return item;
}
