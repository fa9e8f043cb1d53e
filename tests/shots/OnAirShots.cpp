// Pictures of both pages with a turn show running and of the X86 login wait, for
// docs/screenshots. Not part of the suite: run it under Xvfb with the demo's folder (style
// sheet and images) as the working directory, see scripts/on-air-shots.sh.
#include "CellForConfigChannels.h"
#include "ConfigChannelsWidget.h"
#include "DigitalMatrix.h"
#include "LinuxDigitalMatrixPage.h"
#include "MatrixManageWidget.h"
#include "MirrorWidget.h"

#include "LinuxMatrixPeer.h"
#include "LinuxWallFixture.h"
#include "MatrixProtocol.h"
#include "MatrixSimulator.h"
#include "WaitDialog.h"
#include "X86WallFixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QScreen>
#include <QTranslator>
#include <QtTest>

#include <cstring>
#include <vector>

using namespace LUMO_DIGITALMATRIX_MODULE;

class OnAirShots : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void x86TurnShow();
    void linuxTurnShow();
    void x86LoginWait();

private:
    void save(QWidget *page, const QString &name, const QRect &also = QRect());
    QString outFolder;
};

void OnAirShots::initTestCase()
{
    outFolder = qEnvironmentVariable("DM_SHOTS_OUT", QDir::currentPath());
    QFile style(QStringLiteral("config/qss/style_1/style_1.qss"));
    if (style.open(QIODevice::ReadOnly))
        qApp->setStyleSheet(QString::fromUtf8(style.readAll()));
    const QString translations = qEnvironmentVariable("DM_SHOTS_TRANSLATIONS");
    if (!translations.isEmpty()) {
        for (const char *name : {"digitalmatrix_zh_CN", "lumohost_zh_CN"}) {
            auto *translator = new QTranslator(qApp);
            QVERIFY(translator->load(QLatin1String(name), translations));
            QCoreApplication::installTranslator(translator);
        }
    }
}

void OnAirShots::save(QWidget *page, const QString &name, const QRect &also)
{
    QTest::qWait(300);
    QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = page->window()->frameGeometry().united(also);
    const QPixmap shot = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    QVERIFY(shot.save(outFolder + QLatin1Char('/') + name));
}

void OnAirShots::x86TurnShow()
{
    X86WallFixture f;
    f.start();
    f.connectAndArrange(2, 2);
    if (QTest::currentTestFailed())
        return;
    f.page->resize(1300, 760);
    SecondOperator other;
    QVERIFY(other.connectTo(f.simulator->x86Port()));
    QCOMPARE(other.config->Login("second", "second"), 0);
    auto records = [](const QStringList &names) {
        std::vector<_ST_ChnInfo> list(std::size_t(names.size()));
        for (int i = 0; i < names.size(); ++i) {
            std::memset(&list[std::size_t(i)], 0, sizeof(_ST_ChnInfo));
            qstrncpy(list[std::size_t(i)].channelName, names.at(i).toLatin1().constData(), 100);
            list[std::size_t(i)].sequence = i + 1;
        }
        return list;
    };
    const auto tour = records({"Lobby entrance", "Lobby desk", "Lift hall", "Stairs north",
                               "Car park ramp", "Loading bay"});
    other.config->SetMonitorSplit(0, 4);
    other.config->SetMonitorTurnSources(0, tour.data(), int(tour.size()), 20);
    other.config->SetTurnState(0, 1);
    const auto fixed = records({"Gate north barrier camera"});
    other.config->SetMonitorSources(3, fixed.data(), 1);
    const auto paused = records({"Roof east", "Roof west"});
    other.config->SetMonitorTurnSources(1, paused.data(), 2, 15);
    QTRY_VERIFY_WITH_TIMEOUT(!f.wall()->mirrorByIndex(0)->badgeText().isEmpty(), 5000);
    f.simulator->stepTurnShows();
    QTRY_VERIFY(f.wall()->mirrorByIndex(0)->getOnAir().pageOnAir() == 1);
    save(f.page.get(), QStringLiteral("x86-turn-show.png"));
    f.stop();
}

void OnAirShots::x86LoginWait()
{
    X86WallFixture f;
    f.start();
    f.connectAndArrange(2, 2);
    if (QTest::currentTestFailed())
        return;
    f.page->resize(1300, 760);
    QTest::mouseClick(f.button("_connectMatrixBtn"), Qt::LeftButton); // leaves the matrix
    MatrixSimulatorFaults faults;
    faults.unansweredRequests = {quint16(MatrixProtocol::X86Login)};
    f.simulator->setFaults(faults);
    f.page->activateWindow();
    QTest::mouseClick(f.button("_connectMatrixBtn"), Qt::LeftButton);
    COMMONUSELIB::WaitDialog *wait = COMMONUSELIB::WaitDialog::getInstance();
    QTRY_VERIFY_WITH_TIMEOUT(wait->isWaiting() && wait->isWaitCancellable(), 5000);
    save(f.page.get(), QStringLiteral("x86-login-wait.png"), wait->frameGeometry());
    QTest::mouseClick(wait->findChild<QPushButton *>("waitCancelButton"), Qt::LeftButton);
    QTRY_VERIFY(!wait->isWaiting());
    f.stop();
}

void OnAirShots::linuxTurnShow()
{
    LinuxWallFixture f;
    f.start(MatrixSimulatorOptions(), QStringLiteral("lobby_site.json"));
    f.connectPage();
    f.arrange(1, 2);
    f.button("saveConfigBt")->click();
    QList<CellChannelItem> six;
    for (int k = 0; k < 6; ++k)
        six << LinuxWallFixture::channel(QByteArray("a-" + QByteArray::number(k + 1)).constData(),
                                         k);
    CellForConfigChannels *cell = f.cellSetByAnotherOperator(0, six);
    QVERIFY(cell);
    f.page->resize(1300, 760);
    cell->findChild<QAction *>("turnShowStartAction")->trigger();
    f.simulator->stepTurnShows();
    QTRY_VERIFY_WITH_TIMEOUT(cell->currentPage() == 1, 5000);
    save(f.page.get(), QStringLiteral("linux-turn-show.png"));
    f.stop();
}

QTEST_MAIN(OnAirShots)
#include "OnAirShots.moc"
