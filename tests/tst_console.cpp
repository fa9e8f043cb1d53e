// The console as an operator meets it: every page and dialog fits the screen in both languages,
// the server dialogs' tab order, field errors beside their field, a page without a server.
#include "DigitalMatrix.h"
#include "DigitalMatrixServerOperWidget.h"
#include "LinuxMatrixUpgradeDlg.h"
#include "MatrixRowColumnSetDlg.h"
#include "MessageBoxW.h"
#include "SetChannelSource.h"
#include "setMatrixScreen.h"
#include "ModifyDigitalMatrixServerDlg.h"
#include "TurnShowTimeSetDlg.h"
#include "_ModifyDigitalMatrixServerDlg.h"

#include "LinuxPageHarness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTextDocument>
#include <QTranslator>
#include <QVBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolTip>
#include <QtTest>

#include <memory>

using namespace LUMO_DIGITALMATRIX_MODULE;

class TestConsole : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyTextFitsItsWindow_data();
    void everyTextFitsItsWindow();
    void serverDialogTabsThroughItsFieldsAsTheyStand_data();
    void serverDialogTabsThroughItsFieldsAsTheyStand();
    void fieldErrorStandsBesideTheFieldWhichTakesTheFirstClick();
    void linuxPageWithoutServerSaysSoBesideItsTools();

private:
    LinuxPageHarness h;
};

void TestConsole::init()
{
    h.start();
}

void TestConsole::cleanup()
{
    h.stop();
}

namespace {

// Every shown button and label of the window lies inside it and has room for its whole text.
QStringList misfits(QWidget *window)
{
    QStringList out;
    const QRect inside = window->rect();
    const QList<QWidget *> children = window->findChildren<QWidget *>();
    for (QWidget *w : children) {
        auto *button = qobject_cast<QAbstractButton *>(w);
        auto *label = qobject_cast<QLabel *>(w);
        if ((!button && !label) || !w->isVisibleTo(window) || w->width() <= 0)
            continue;
        const QString name = w->objectName().isEmpty()
                ? QString::fromLatin1(w->metaObject()->className())
                : w->objectName();
        const QRect placed(w->mapTo(window, QPoint(0, 0)), w->size());
        if (!inside.contains(placed))
            out << name + QStringLiteral(" outside");
        QString text = button ? button->text() : label->text();
        if (label && (label->wordWrap() || Qt::mightBeRichText(text)))
            continue;
        text.remove(QLatin1Char('&'));
        if (text.isEmpty())
            continue;
        const int needed = w->fontMetrics().horizontalAdvance(text);
        const int room = button ? w->width() - 2 : w->contentsRect().width();
        if (room < needed)
            out << QStringLiteral("%1 clipped (%2 < %3)").arg(name).arg(room).arg(needed);
    }
    return out;
}

QString sourcePath(const char *relative)
{
    return QStringLiteral(DM_SOURCE_DIR "/") + QLatin1String(relative);
}

} // namespace

void TestConsole::everyTextFitsItsWindow_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QString>("what");
    const QStringList kinds {
            "x86 page",      "linux page",       "x86 server dialog", "linux server dialog",
            "screen count",  "rows and columns", "turn show time",    "upgrade",
            "source dialog", "question"};
    for (const QString &language : {QStringLiteral("en"), QStringLiteral("zh_CN")}) {
        for (const QSize &screen : {QSize(1280, 720), QSize(1920, 1080)}) {
            for (const QString &kind : kinds) {
                QTest::addRow("%s %dx%d %s", qPrintable(language), screen.width(), screen.height(),
                              qPrintable(kind))
                        << language << screen << kind;
            }
        }
    }
}

void TestConsole::everyTextFitsItsWindow()
{
    QFETCH(QString, language);
    QFETCH(QSize, screen);
    QFETCH(QString, what);
    QList<QTranslator *> translators;
    if (language != QLatin1String("en")) {
        for (const char *name : {"lumohost_zh_CN", "digitalmatrix_zh_CN"}) {
            auto *translator = new QTranslator(this);
            QVERIFY(translator->load(QLatin1String(name), QStringLiteral(DM_TRANSLATIONS_DIR)));
            QCoreApplication::installTranslator(translator);
            translators << translator;
        }
    }
    QFile style(sourcePath("demo/config/qss/style_1/style_1.qss"));
    QVERIFY(style.open(QIODevice::ReadOnly));
    qApp->setStyleSheet(QString::fromUtf8(style.readAll()));

    std::unique_ptr<QWidget> window;
    if (what.endsWith(QLatin1String("page"))) {
        // The page fills a host window of the screen's size, as in the host client.
        window = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(window.get());
        layout->setContentsMargins(0, 0, 0, 0);
        if (what.startsWith(QLatin1String("x86")))
            layout->addWidget(new DigitalMatrix(window.get()));
        else
            layout->addWidget(new LinuxDigitalMatrixPage(window.get()));
        window->resize(screen);
    } else if (what == QLatin1String("x86 server dialog")) {
        window = std::make_unique<_ModifyDigitalMatrixServerDlg>(nullptr, nullptr);
    } else if (what == QLatin1String("linux server dialog")) {
        window = std::make_unique<ModifyDigitalMatrixServerDlg>(nullptr, nullptr);
    } else if (what == QLatin1String("screen count")) {
        window = std::make_unique<setMatrixScreen>();
    } else if (what == QLatin1String("rows and columns")) {
        window = std::make_unique<MatrixRowColumnSetDlg>();
    } else if (what == QLatin1String("turn show time")) {
        window = std::make_unique<TurnShowTimeSetDlg>(30, nullptr);
    } else if (what == QLatin1String("upgrade")) {
        window = std::make_unique<LinuxMatrixUpgradeDlg>();
    } else if (what == QLatin1String("source dialog")) {
        window = std::make_unique<SetChannelSource>();
    } else {
        window = std::make_unique<COMMONUSELIB::MessageBoxW>(
                nullptr, QStringLiteral("warning"), QObject::tr("Warn"),
                QStringLiteral("Connect Matrix Server time out!Do you need to reconnect?"), 3);
    }
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCoreApplication::processEvents();
    const QSize shown = window->size();
    // Nothing grows past the screen, and a page keeps the size the host gave it.
    QVERIFY(shown.width() <= screen.width() && shown.height() <= screen.height());
    if (what.endsWith(QLatin1String("page")))
        QCOMPARE(shown, screen);
    const QStringList wrong = misfits(window.get());
    window.reset();
    qApp->setStyleSheet(QString());
    for (QTranslator *translator : qAsConst(translators))
        QCoreApplication::removeTranslator(translator);
    qDeleteAll(translators);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));
}

void TestConsole::serverDialogTabsThroughItsFieldsAsTheyStand_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QStringList>("order");
    const QStringList ip {"ipField0", "ipField1", "ipField2", "ipField3"};
    QTest::newRow("X86 server dialog") << "x86"
                                       << QStringList {"serverName"} + ip
                    + QStringList {"serverType", "serverPort", "_userLineEdt", "_passwordLineEdt",
                                   "saveBt",     "cancleBt",   "serverName"};
    // The Linux page's dialog offers only its own type: the disabled combo is passed over.
    QTest::newRow("Linux server dialog") << "linux"
                                         << QStringList {"nameLineEt"} + ip
                    + QStringList {"portLineEt", "userLineEt", "passwordLineEt",
                                   "saveBt",     "cancleBt",   "nameLineEt"};
}

void TestConsole::serverDialogTabsThroughItsFieldsAsTheyStand()
{
    QFETCH(QString, dialog);
    QFETCH(QStringList, order);
    std::unique_ptr<QDialog> shown;
    if (dialog == QLatin1String("x86")) {
        shown = std::make_unique<_ModifyDigitalMatrixServerDlg>(nullptr, nullptr);
    } else {
        auto linuxDialog = std::make_unique<ModifyDigitalMatrixServerDlg>(nullptr, nullptr);
        linuxDialog->disableServerType();
        shown = std::move(linuxDialog);
    }
    shown->show();
    QApplication::setActiveWindow(shown.get());
    QVERIFY(QTest::qWaitForWindowActive(shown.get()));
    QStringList visited;
    QTRY_VERIFY(QApplication::focusWidget());
    visited << QApplication::focusWidget()->objectName();
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, order);
    // Shift+Tab walks back the same way.
    QStringList back;
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        back.prepend(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(back, order.mid(0, order.size() - 1));
}

void TestConsole::fieldErrorStandsBesideTheFieldWhichTakesTheFirstClick()
{
    QToolTip::hideText();
    TurnShowTimeSetDlg dialog(30, nullptr);
    dialog.move(300, 200);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QLineEdit *field = dialog.timeLineEdit();
    field->setText(QStringLiteral("70"));
    dialog.findChild<QPushButton *>("setBt")->click();
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), QStringLiteral("Turn show time range is:5-60!"));
    QWidget *tip = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->inherits("QTipLabel") && w->isVisible())
            tip = w;
    }
    QVERIFY(tip);
    const QRect fieldOnScreen(field->mapToGlobal(QPoint(0, 0)), field->size());
    // Under the field, starting at its left edge, never over it.
    QVERIFY(!tip->geometry().intersects(fieldOnScreen));
    QVERIFY(qAbs(tip->geometry().left() - fieldOnScreen.left()) <= 4);
    QVERIFY(qAbs(tip->geometry().top() - fieldOnScreen.bottom()) <= 8);

    // The first click lands in the field: typing then edits it.
    QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, QPoint(2, field->height() / 2));
    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClick(field, Qt::Key_Backspace);
    QCOMPARE(field->text(), QStringLiteral("7"));
    QToolTip::hideText();
}

void TestConsole::linuxPageWithoutServerSaysSoBesideItsTools()
{
    LinuxDigitalMatrixPage *page = h.makePage();
    page->show();
    auto *oper = page->findChild<DigitalMatrixServerOperWidget *>();
    QVERIFY(oper);
    QTRY_COMPARE(oper->connectServerHint(),
                 QStringLiteral("No matrix server yet: add one with the + button."));
    QVERIFY(!oper->connectButton()->isEnabled());
    QVERIFY(!oper->editButton()->isEnabled());
}

QTEST_MAIN(TestConsole)
#include "tst_console.moc"
