// Pictures of the X86 page's messages when the matrix refuses a command, for docs/screenshots.
// Not part of the suite: run it under Xvfb with the demo's folder (style sheet and images) as
// the working directory, see scripts/refusal-shots.sh.
#include "DigitalMatrix.h"
#include "DigitalMatrixInteractionPort.h"
#include "MatrixManageWidget.h"
#include "MirrorWidget.h"
#include "SpliteWindow.h"

#include "MatrixProtocol.h"
#include "ModalDriver.h"
#include "X86WallFixture.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTranslator>
#include <QtTest>

using namespace LUMO_DIGITALMATRIX_MODULE;

class X86RefusalShots : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup() { f.stop(); }
    void refusedMove();
    void refusedSplit();
    void refusedScreenCount();
    // Several consoles on one matrix.
    void takenOver();
    void forcedLoginNamesTheHolder();
    void otherConsolesNamed();

private:
    // Shows the real message boxes from now on and pictures the next modal one.
    // closeNext: the modal dialog that follows the box is closed as well.
    void pictureNextBox(const QString &name, bool *taken, bool closeNext = false);
    static void save(const QString &name);

    X86WallFixture f;
    QString outFolder;
};

void X86RefusalShots::initTestCase()
{
    outFolder = qEnvironmentVariable("DM_SHOTS_OUT", QDir::currentPath());
    QFile style(QStringLiteral("config/qss/style_1/style_1.qss"));
    if (style.open(QIODevice::ReadOnly))
        qApp->setStyleSheet(QString::fromUtf8(style.readAll()));
    // DM_SHOTS_TRANSLATIONS: .qm files to install (the build's translations folder).
    const QString translations = qEnvironmentVariable("DM_SHOTS_TRANSLATIONS");
    if (!translations.isEmpty()) {
        for (const char *name : {"digitalmatrix_zh_CN", "lumohost_zh_CN"}) {
            auto *translator = new QTranslator(qApp);
            QVERIFY(translator->load(QLatin1String(name), translations));
            QCoreApplication::installTranslator(translator);
        }
    }
}

void X86RefusalShots::save(const QString &name)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    const QPixmap shot = screen->grabWindow(0, 0, 0, 1300, 760);
    QVERIFY(shot.save(name));
}

void X86RefusalShots::pictureNextBox(const QString &name, bool *taken, bool closeNext)
{
    f.boxes.reset();
    const QString path = outFolder + QLatin1Char('/') + name;
    ModalDriver::onNextModal([path, taken, closeNext](QWidget *) {
        QTest::qWait(300);
        save(path);
        *taken = true;
        if (closeNext)
            ModalDriver::onNextModal([](QWidget *) {});
    });
}

void X86RefusalShots::refusedMove()
{
    f.start();
    f.connectAndArrange(2, 2);
    if (QTest::currentTestFailed())
        return;
    f.refuse({MatrixProtocol::X86SetMirrorRect});
    bool taken = false;
    pictureNextBox(QStringLiteral("x86-refused-move.png"), &taken);
    f.drag(f.wall()->mirrorByIndex(0), QPoint(150, 80));
    QTRY_VERIFY_WITH_TIMEOUT(taken, 10000);
}

void X86RefusalShots::refusedSplit()
{
    f.start();
    f.connectAndArrange(2, 2);
    if (QTest::currentTestFailed())
        return;
    f.refuse({MatrixProtocol::X86SetMonitorSplit});
    bool taken = false;
    pictureNextBox(QStringLiteral("x86-refused-split.png"), &taken);
    MirrorWidget *mirror = f.wall()->mirrorByIndex(0);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, mirror->rect().center(),
                           mirror->mapToGlobal(mirror->rect().center()));
    QApplication::sendEvent(mirror, &menu);
    auto *chooser = f.page->findChild<SpliteWindow *>();
    QTRY_VERIFY(chooser->isVisible());
    QTest::mouseClick(chooser->findChild<QPushButton *>("_squaretwoBtn"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(taken, 10000);
}

void X86RefusalShots::refusedScreenCount()
{
    f.start();
    if (QTest::currentTestFailed())
        return;
    f.refuse({MatrixProtocol::X86SetScreenCount});
    f.openPage();
    bool taken = false;
    ModalDriver screens(
            [&](QWidget *modal) {
                QTest::keyClicks(modal->findChild<QLineEdit *>("_rowEdt"), "2");
                QTest::keyClicks(modal->findChild<QLineEdit *>("_columnEdt"), "2");
                pictureNextBox(QStringLiteral("x86-refused-screen-count.png"), &taken, true);
                QTest::mouseClick(modal->findChild<QPushButton *>("_OKBtn"), Qt::LeftButton);
            },
            1000, 10);
    screens.start();
    f.connectPage();
    QTRY_VERIFY_WITH_TIMEOUT(taken, 10000);
    screens.stop();
}

void X86RefusalShots::takenOver()
{
    f.start();
    f.connectAndArrange(2, 2);
    if (QTest::currentTestFailed())
        return;
    SecondOperator other;
    QCOMPARE(other.logIn(f.simulator->x86Port(), "control-room-2", "", ""), 2);
    bool taken = false;
    pictureNextBox(QStringLiteral("x86-taken-over.png"), &taken);
    QCOMPARE(other.config->ForceLogin(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(taken, 10000);
}

void X86RefusalShots::forcedLoginNamesTheHolder()
{
    f.start();
    f.connectAndArrange(2, 2);
    if (QTest::currentTestFailed())
        return;
    QTest::mouseClick(f.button("_connectMatrixBtn"), Qt::LeftButton);
    SecondOperator other;
    QCOMPARE(other.logIn(f.simulator->x86Port(), "control-room-2", "", ""), 0);
    bool taken = false;
    pictureNextBox(QStringLiteral("x86-force-login-holder.png"), &taken);
    QTest::mouseClick(f.button("_connectMatrixBtn"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(taken, 10000);
}

void X86RefusalShots::otherConsolesNamed()
{
    f.x86Accounts = {{"", ""}, {"second", "second"}};
    f.start();
    f.connectAndArrange(2, 2);
    if (QTest::currentTestFailed())
        return;
    SecondOperator other;
    QCOMPARE(other.logIn(f.simulator->x86Port(), "control-room-2", "second", "second"), 0);
    QTRY_VERIFY_WITH_TIMEOUT(f.page->findChild<QLabel *>("_operatorsLab")->isVisible(), 10000);
    QTest::qWait(300);
    save(outFolder + QStringLiteral("/x86-other-consoles.png"));
}

QTEST_MAIN(X86RefusalShots)
#include "X86RefusalShots.moc"
