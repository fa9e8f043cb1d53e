#include "LinuxWallFixture.h"

#include "AreaTreeForMatrixConfig.h"
#include "CellForConfigChannels.h"
#include "CellTurnInfo.h"
#include "ConfigChannelsWidget.h"
#include "DigitalMatrixServerOperWidget.h"
#include "LinuxDigitalMatrixPage.h"
#include "MatrixOperButtonsWt.h"

#include "UserManagerCore.h"
#include "WaitDialog.h"

#include "LinuxMatrixPeer.h"
#include "LinuxPageHarness.h"
#include "MatrixSimulator.h"

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

void LinuxWallFixture::openPage(bool withServer)
{
    if (page)
        return;
    page = std::make_unique<LinuxDigitalMatrixPage>();
    page->resize(1100, 700);
    page->show();
    QTRY_COMPARE(page->currentServerIndex(), withServer ? 0 : -1);
}

void LinuxWallFixture::connectPage()
{
    openPage();
    oper()->connectButton()->click();
    QCOMPARE(oper()->connectServerHint(), QStringLiteral("Digital matrix server connect ok!"));
}

bool LinuxWallFixture::pageIsIdle() const
{
    return !oper()->isServerConnectOK() && !oper()->connectButton()->isChecked()
            && !child<MatrixOperButtonsWt>("operButtonsWt")->isEnabled()
            && !COMMONUSELIB::WaitDialog::getInstance()->isWaiting();
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

void LinuxWallFixture::arrange(int rows, int columns)
{
    QVERIFY(!LinuxPageHarness::answerRowColumn(button("configMatrixBt"), QString::number(rows),
                                               QString::number(columns))
                     .isEmpty());
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

void LinuxWallFixture::refuse(quint16 request)
{
    MatrixSimulatorFaults faults;
    faults.refusedRequests = {request};
    faults.refusedResult = MatrixErrFailed;
    simulator->setFaults(faults);
}

namespace {

QString cellText(int cell, int split, int turn, int interval, int alone,
                 const QMap<int, int> &numbers)
{
    QString text = QStringLiteral(" %1: split %2 turn %3 every %4 alone %5 [")
                           .arg(cell)
                           .arg(split)
                           .arg(turn)
                           .arg(interval)
                           .arg(alone);
    for (auto it = numbers.cbegin(); it != numbers.cend(); ++it)
        text += QStringLiteral("%1=%2 ").arg(it.key()).arg(it.value());
    return text + QLatin1Char(']');
}

} // namespace

QString LinuxWallFixture::held() const
{
    const SimLinuxState state = simulator->linuxState();
    QString text = QStringLiteral("spread %1;").arg(state.meltedCell);
    for (int cell = 0; cell < state.grid.size() && cell < state.cells.size(); ++cell) {
        const SimLinuxCell &c = state.cells.at(cell);
        QMap<int, int> numbers;
        for (const CellChannelRecord &record : c.channels)
            numbers.insert(record.position, record.channelNo);
        text += cellText(cell, c.split, c.turnState, c.turnInterval, c.singleWindow ? c.window : -1,
                         numbers);
    }
    return text;
}

QString LinuxWallFixture::shown() const
{
    QString text = QStringLiteral("spread %1;").arg(grid()->wallCellIndex());
    for (int index = 0; grid()->isConfigured() && index < grid()->cellCount(); ++index) {
        const CellForConfigChannels *cell = grid()->getCellByIndex(index);
        QMap<int, int> numbers;
        for (const CellChannelItem &item : cell->channelMap())
            numbers.insert(item.position,
                           DATACore::UserManagerCore::instance()
                                   ->getChannelInfoByChannelGuid(item.channelId)
                                   .channelNo);
        text += cellText(index, cell->splitCount(),
                         CellTurnInfo::toServiceCode(int(cell->turnState())), cell->turnInterval(),
                         cell->singlePane(), numbers);
    }
    return text;
}

QList<CellChannelItem> LinuxWallFixture::lobbyChannels(int count)
{
    QList<CellChannelItem> items;
    for (int k = 0; k < count; ++k)
        items << channel(QByteArray("a-" + QByteArray::number(k + 1)).constData(), k);
    return items;
}
