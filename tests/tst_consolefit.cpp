// Every page and dialog of the console fits the screens it is made for, in both languages and
// with the demo host's style sheet: unconnected, and connected to a matrix with a wall, other
// consoles and turn shows on it (the texts a connected page adds are the long ones). With the
// Chinese translation installed they show no English.
#include "CellChannelsCheckDlg.h"
#include "CellForConfigChannels.h"
#include "ConfigChannelsWidget.h"
#include "DigitalMatrix.h"
#include "DigitalMatrixConfigPage.h"
#include "LinuxMatrixUpgradeDlg.h"
#include "MatrixManageWidget.h"
#include "MatrixRowColumnSetDlg.h"
#include "MessageBoxW.h"
#include "MirrorWidget.h"
#include "ModifyDigitalMatrixServerDlg.h"
#include "SetChannelSource.h"
#include "SpliteWindow.h"
#include "TurnControlWidget.h"
#include "TurnShowTimeSetDlg.h"
#include "_ModifyDigitalMatrixServerDlg.h"
#include "setMatrixScreen.h"

#include "PictureHintWidget.h"

#include "LinuxMatrixPeer.h"
#include "LinuxWallFixture.h"
#include "SecondOperator.h"
#include "X86WallFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QFile>
#include <QLabel>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTranslator>
#include <QVBoxLayout>
#include <QtTest>

#include <cstring>
#include <memory>

using namespace LUMO_DIGITALMATRIX_MODULE;

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
        // Wrapped, rich and outside texts (host names) give way; a fixed text never does.
        if (label
            && (label->wordWrap() || Qt::mightBeRichText(text)
                || label->inherits("LUMO_DIGITALMATRIX_MODULE::ElidingLabel")))
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

// The English words left in the texts a person sees on a widget and its children.
QStringList englishIn(QWidget *root)
{
    QStringList texts;
    auto add = [&texts](const QString &text) {
        if (!text.isEmpty())
            texts.append(Qt::mightBeRichText(text)
                                 ? QTextDocumentFragment::fromHtml(text).toPlainText()
                                 : text);
    };
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *widget : qAsConst(widgets)) {
        if (widget->isWindow())
            add(widget->windowTitle());
        add(widget->toolTip());
        if (auto *label = qobject_cast<QLabel *>(widget))
            add(label->text());
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            add(button->text());
        if (auto *edit = qobject_cast<QLineEdit *>(widget))
            add(edit->placeholderText());
        if (auto *combo = qobject_cast<QComboBox *>(widget)) {
            for (int i = 0; i < combo->count(); ++i)
                add(combo->itemText(i));
        }
        if (auto *header = qobject_cast<QHeaderView *>(widget)) {
            for (int i = 0; i < header->count(); ++i)
                add(header->model()->headerData(i, header->orientation()).toString());
        }
        if (auto *menu = qobject_cast<QMenu *>(widget)) {
            add(menu->title());
            for (QAction *action : menu->actions())
                add(action->text());
        }
    }
    // Latin words a Chinese user interface keeps: product, protocol and system names.
    static const QStringList kept {QStringLiteral("TQ"),  QStringLiteral("HD"),
                                   QStringLiteral("USB"), QStringLiteral("HTTP"),
                                   QStringLiteral("FTP"), QStringLiteral("IP"),
                                   QStringLiteral("X"),   QStringLiteral("Linux")};
    QStringList english;
    static const QRegularExpression word(QStringLiteral("[A-Za-z]+"));
    for (const QString &text : qAsConst(texts)) {
        auto it = word.globalMatch(text);
        while (it.hasNext()) {
            const QString found = it.next().captured();
            if (!kept.contains(found))
                english.append(QStringLiteral("%1 (in \"%2\")").arg(found, text));
        }
    }
    return english;
}

using Maker = std::function<std::unique_ptr<QWidget>()>;

template<typename Window, typename... Args>
Maker make(Args... args)
{
    return [args...] { return std::make_unique<Window>(args...); };
}

// A page fills a host window, as in the host client.
template<typename Page>
std::unique_ptr<QWidget> hosted()
{
    auto window = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new Page(window.get()));
    return window;
}

// Every page and dialog of the console, made as the console makes it.
QMap<QString, Maker> windows()
{
    const char *x86Page = "LUMO_DIGITALMATRIX_MODULE::DigitalMatrix";
    return {
            {"x86 page", hosted<DigitalMatrix>},
            {"linux page", hosted<LinuxDigitalMatrixPage>},
            {"x86 server dialog", make<_ModifyDigitalMatrixServerDlg>(nullptr, nullptr)},
            {"linux server dialog", make<ModifyDigitalMatrixServerDlg>(nullptr, nullptr)},
            {"screen count", make<setMatrixScreen>()},
            {"rows and columns", make<MatrixRowColumnSetDlg>()},
            {"turn show time", make<TurnShowTimeSetDlg>(30, nullptr)},
            {"upgrade", make<LinuxMatrixUpgradeDlg>()},
            {"source dialog", make<SetChannelSource>()},
            // As the X86 page asks it.
            {"question",
             make<COMMONUSELIB::MessageBoxW>(
                     nullptr, QStringLiteral("warning"),
                     QCoreApplication::translate(x86Page, "Warn"),
                     QCoreApplication::translate(
                             x86Page, "Connect Matrix Server time out!Do you need to reconnect?"),
                     3)},
            {"configuration page", make<DigitalMatrixConfigPage>()},
            {"cell channels", make<CellChannelsCheckDlg>()},
            {"turn menu", make<TurnControlWidget>()},
            {"split chooser", make<SpliteWindow>()},
            {"cell menu", make<CellForConfigChannels>(0)},
            {"picture hint",
             make<COMMONUSELIB::PictureHintWidget>(2, COMMONUSELIB::PictureHintWidget::Chinese)},
    };
}

// Parts of the pages and pictures of a fixed size: looked at for their language only.
QStringList parts()
{
    return {"configuration page", "cell channels", "turn menu",
            "split chooser",      "cell menu",     "picture hint"};
}

// The application dressed as the demo host dresses it: the translators of a language and the
// demo's style sheet, undone when it goes.
class Dressing
{
public:
    explicit Dressing(const QString &language)
    {
        if (language != QLatin1String("en")) {
            for (const char *name : {"lumohost_zh_CN", "digitalmatrix_zh_CN"}) {
                auto translator = std::make_unique<QTranslator>();
                if (!translator->load(QLatin1String(name), QStringLiteral(DM_TRANSLATIONS_DIR)))
                    return;
                QCoreApplication::installTranslator(translator.get());
                m_translators.push_back(std::move(translator));
            }
        }
        QFile style(QStringLiteral(DM_SOURCE_DIR "/demo/config/qss/style_1/style_1.qss"));
        if (!style.open(QIODevice::ReadOnly))
            return;
        qApp->setStyleSheet(QString::fromUtf8(style.readAll()));
        m_ok = true;
    }
    ~Dressing()
    {
        qApp->setStyleSheet(QString());
        for (const auto &translator : m_translators)
            QCoreApplication::removeTranslator(translator.get());
    }
    bool ok() const { return m_ok; }

private:
    std::vector<std::unique_ptr<QTranslator>> m_translators;
    bool m_ok = false;
};

} // namespace

class TestConsoleFit : public QObject
{
    Q_OBJECT

private slots:
    void everyTextFitsItsWindow_data();
    void everyTextFitsItsWindow();
    void connectedPagesFitTheirWindow_data();
    void connectedPagesFitTheirWindow();
    void focusedCheckBoxStillShowsWhetherItIsChecked();

private:
    // Rows of every kind in both languages on both screens; the parts in Chinese only.
    static void addRows(const QStringList &kinds, const QStringList &parts = {});
    static QStringList checkWindow(QWidget *window, const QSize &screen, bool page = true);
};

void TestConsoleFit::addRows(const QStringList &kinds, const QStringList &parts)
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QString>("what");
    for (const QString &language : {QStringLiteral("en"), QStringLiteral("zh_CN")}) {
        for (const QSize &screen : {QSize(1280, 720), QSize(1920, 1080)}) {
            for (const QString &kind : language == QLatin1String("en") ? kinds : kinds + parts) {
                QTest::addRow("%s %dx%d %s", qPrintable(language), screen.width(), screen.height(),
                              qPrintable(kind))
                        << language << screen << kind;
            }
        }
    }
}

// A page fills a host window of the screen's size and keeps that size; a dialog grows past
// no screen.
QStringList TestConsoleFit::checkWindow(QWidget *window, const QSize &screen, bool page)
{
    if (page)
        window->resize(screen);
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return {QStringLiteral("not shown")};
    QCoreApplication::processEvents();
    if (page ? window->size() != screen
             : window->width() > screen.width() || window->height() > screen.height())
        return {QStringLiteral("grew to %1x%2").arg(window->width()).arg(window->height())};
    return misfits(window);
}

void TestConsoleFit::everyTextFitsItsWindow_data()
{
    QStringList kinds = windows().keys();
    for (const QString &part : parts())
        kinds.removeOne(part);
    addRows(kinds, parts());
}

void TestConsoleFit::everyTextFitsItsWindow()
{
    QFETCH(QString, language);
    QFETCH(QSize, screen);
    QFETCH(QString, what);
    const Dressing dressing(language);
    QVERIFY(dressing.ok());
    const bool chinese = language != QLatin1String("en");

    const std::unique_ptr<QWidget> window = windows().value(what)();
    const QStringList english = chinese ? englishIn(window.get()) : QStringList();
    QVERIFY2(english.isEmpty(), qPrintable(english.join(QLatin1Char('\n'))));
    if (parts().contains(what))
        return;
    const bool page = what == QLatin1String("x86 page") || what == QLatin1String("linux page");
    const QStringList wrong = checkWindow(window.get(), screen, page);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));
}

void TestConsoleFit::connectedPagesFitTheirWindow_data()
{
    addRows({"x86 connected", "linux connected", "linux arranging"});
}

// Connected, each page shows its server, the other consoles on the matrix and a turn show
// with its names; the Linux page also in the arrangement step, with its instruction line.
void TestConsoleFit::connectedPagesFitTheirWindow()
{
    QFETCH(QString, language);
    QFETCH(QSize, screen);
    QFETCH(QString, what);
    // The fixtures judge the pages by their English texts: the language comes once the page is
    // connected, switched at run time as the demo host's menu does.
    std::unique_ptr<Dressing> dressing;
    const auto dressedMisfits = [&](QWidget *page) {
        dressing = std::make_unique<Dressing>(language);
        return dressing->ok() ? checkWindow(page, screen) : QStringList {"not dressed"};
    };

    if (what.startsWith(QLatin1String("x86"))) {
        X86WallFixture f;
        QVERIFY(f.startArranged(2, 2));
        SecondOperator other;
        QCOMPARE(other.logIn(f.simulator->x86Port(), "night-shift-console-east-wing", "second",
                             "second"),
                 0);
        const std::vector<_ST_ChnInfo> records = channelRecords(
                {"Car park east ramp, level minus two", "Gate", "Lobby", "Loading bay", "Roof"});
        other.config->SetMonitorSplit(1, 4);
        other.config->SetMonitorTurnSources(1, records.data(), int(records.size()), 10);
        other.config->SetTurnState(1, 1);
        QTRY_VERIFY_WITH_TIMEOUT(!f.wall()->mirrorByIndex(1)->badgeText().isEmpty(),
                                 X86WallFixture::Timeout);
        auto *operators = f.page->findChild<QLabel *>(QStringLiteral("_operatorsLab"));
        QVERIFY(operators);
        QTRY_VERIFY(operators->text().contains(QLatin1String("night-shift-console-east-wing")));
        const QStringList wrong = dressedMisfits(f.page.get());
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));
        return;
    }

    LinuxWallFixture f;
    f.start(MatrixSimulatorOptions(), QStringLiteral("lobby_site.json"));
    QVERIFY(!QTest::currentTestFailed());
    f.connectPage();
    if (what.endsWith(QLatin1String("arranging"))) {
        f.arrange(2, 2);
    } else {
        f.arrangeAndSave(2, 2);
        LinuxMatrixPeer peer;
        QCOMPARE(peer.connectTo(f.simulator->linuxPort(), "night-shift-console-east-wing"), 0);
        QVERIFY(f.cellSetByAnotherOperator(
                0, {f.channel("a-1", 0), f.channel("a-2", 1), f.channel("a-3", 2)}));
        auto *operators = f.page->findChild<QLabel *>(QStringLiteral("operatorsLab"));
        QVERIFY(operators);
        QTRY_VERIFY_WITH_TIMEOUT(
                operators->text().contains(QLatin1String("night-shift-console-east-wing")),
                10000);
        const QStringList wrong = dressedMisfits(f.page.get());
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));
        return;
    }
    QVERIFY(!QTest::currentTestFailed());
    const QStringList wrong = dressedMisfits(f.page.get());
    // The instruction wraps within its own height rather than being cut.
    auto *instruction = f.child<QLabel>("statusLabel");
    QVERIFY(instruction->isVisible());
    QVERIFY(instruction->height() >= instruction->heightForWidth(instruction->width()));
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));
    // Saved with the mouse: the page keeps its size (the two tool sets never show at once)
    // and the keyboard goes to the wall, not to "Reboot".
    QApplication::setActiveWindow(f.page->window());
    QVERIFY(QTest::qWaitForWindowActive(f.page->window()));
    QTest::mouseClick(f.button("saveConfigBt"), Qt::LeftButton);
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::focusWidget(), f.grid());
    QCOMPARE(f.page->size(), screen);
    f.stop();
}

void TestConsoleFit::focusedCheckBoxStillShowsWhetherItIsChecked()
{
    // "Start Turn" of the source dialog with the keyboard on it: its mark must not vanish.
    Dressing dressing(QStringLiteral("en"));
    QVERIFY(dressing.ok());
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *box = new QCheckBox(QStringLiteral("Start Turn"), &window);
    layout->addWidget(box);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    box->setFocus();
    QVERIFY(box->hasFocus());
    const QImage unchecked = box->grab().toImage();
    box->setChecked(true);
    const QImage checked = box->grab().toImage();
    QVERIFY(checked != unchecked);
}

QTEST_MAIN(TestConsoleFit)
#include "tst_consolefit.moc"
