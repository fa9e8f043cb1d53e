// demo-walk: the first session of a new user, scripted against the running demo host with
// real mouse and key events (QTest), under a real (virtual) display. It starts the host with
// a fresh data centre, adds an X86 server through the picture hint, connects, sets the screen
// count, puts channels on a window as a turn show and watches the simulated wall follow; then
// adds a Linux server and arranges its screens; on each page it pictures the undo button naming
// the last change. Screenshots go to the folder given. With
// --refusals it pictures instead the X86 page's messages when the matrix refuses a command.
//
// Usage: demo-walk [--out DIR] [--lang en|zh_cn] [--x86-port N] [--linux-port N] [--refusals]
#include "WalkCommandLine.h"
#include "WalkRunner.h"

#include "DemoHost.h"
#include "DemoMainWindow.h"
#include "DemoOptions.h"

#include "DigitalMatrixConfigPage.h"
#include "MatrixModuleConfig.h"
#include "MatrixProtocol.h"
#include "MatrixSimulator.h"
#include "SimulatedWallWindow.h"
#include "UserManagerCore.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>
#include <QtTest>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr int WholeWalkTimeoutMs = 240000;

QWidget *child(QWidget *root, const char *name)
{
    return root ? root->findChild<QWidget *>(QLatin1String(name)) : nullptr;
}

QAbstractButton *button(QWidget *root, const char *name)
{
    return root ? root->findChild<QAbstractButton *>(QLatin1String(name)) : nullptr;
}

QLineEdit *edit(QWidget *root, const char *name)
{
    return root ? root->findChild<QLineEdit *>(QLatin1String(name)) : nullptr;
}

void click(QWidget *widget, const QPoint &at = QPoint())
{
    if (widget)
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at);
}

// Replaces a line edit's text by typing, as a person does: select all, then the new text.
void typeInto(QLineEdit *field, const QString &text)
{
    if (!field)
        return;
    field->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    for (const QChar c : text) {
        // Characters without a key of their own (Chinese) arrive as text, as from an input
        // method.
        if (c.unicode() < 0x80)
            QTest::keyClick(field, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void typeIp(QWidget *frame, const QString &ip)
{
    const QStringList parts = ip.split(QLatin1Char('.'));
    for (int i = 0; i < 4 && i < parts.size(); ++i)
        typeInto(edit(frame, qPrintable(QStringLiteral("ipField%1").arg(i))), parts.at(i));
}

// Opens a menu of the menu bar and picks one of its actions with the mouse.
void pickMenu(QMainWindow *window, const char *menuName, const char *actionName)
{
    QMenuBar *bar = window->menuBar();
    auto *menu = window->findChild<QMenu *>(QLatin1String(menuName));
    auto *action = window->findChild<QAction *>(QLatin1String(actionName));
    if (!menu || !action)
        return;
    click(bar, bar->actionGeometry(menu->menuAction()).center());
    QTimer::singleShot(200, menu, [menu, action] {
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                          menu->actionGeometry(action).center());
    });
}

QList<QWidget *> mirrors(QWidget *wall)
{
    QList<QWidget *> found;
    if (!wall)
        return found;
    for (QWidget *widget : wall->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (widget->inherits("LUMO_DIGITALMATRIX_MODULE::MirrorWidget") && widget->isVisible())
            found.append(widget);
    }
    return found;
}

// The cell of the Linux arrangement grid at grid position k.
QWidget *adjustCell(QWidget *grid, int k)
{
    if (!grid)
        return nullptr;
    QList<QWidget *> cells;
    for (QWidget *cell : grid->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (cell->inherits("LUMO_DIGITALMATRIX_MODULE::CellForAdjustNum") && cell->isVisible())
            cells.append(cell);
    }
    std::sort(cells.begin(), cells.end(), [](QWidget *a, QWidget *b) {
        return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
    });
    return k < cells.size() ? cells.at(k) : nullptr;
}

// Drags the number of one arrangement cell onto another with the mouse.
void dragNumber(QWidget *grid, int from, int to)
{
    QWidget *source = adjustCell(grid, from);
    QWidget *target = adjustCell(grid, to);
    if (!source || !target)
        return;
    const QPoint start = source->geometry().center();
    const QPoint end = target->geometry().center();
    QTest::mousePress(grid, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(grid, (start + end) / 2);
    QTest::mouseMove(grid, end);
    QTest::mouseRelease(grid, Qt::LeftButton, Qt::NoModifier, end);
}

// The X86 page's messages when the matrix refuses the screen count, a window move and a
// split, each pictured with the whole screen while the box is open. The lambdas keep only
// pointers: they run after this function returned.
void addRefusalSteps(WalkRunner *walk, DemoMainWindow *window, DemoHost *host)
{
    MatrixSimulator *simulator = host->simulator();
    const auto dragFrom = std::make_shared<QPoint>();
    QWidget *page = window->configPage();
    const auto x86Page = [page] { return child(page, "x86MatrixPage"); };
    const auto wall = [x86Page] { return child(x86Page(), "_virtualServerWdt"); };
    const auto refuse = [simulator](QList<quint16> types) {
        MatrixSimulatorFaults faults;
        faults.refusedRequests = types;
        simulator->setFaults(faults);
    };
    const auto pictureTheBox = [walk](const QString &name) {
        walk->step(
                QStringLiteral("the refusal is shown"),
                [] { return WalkRunner::modal("COMMONUSELIB::MessageBoxW") != nullptr; }, [] {});
        walk->pause(QStringLiteral("let the box paint"), 300);
        walk->screenshot(name);
        walk->then(QStringLiteral("close the box"),
                   [] { WalkRunner::clickIn(WalkRunner::modal(), "okBt"); });
    };
    const auto answerScreenCount = [walk](const QString &name) {
        walk->step(
                name,
                [] { return WalkRunner::modal("LUMO_DIGITALMATRIX_MODULE::setMatrixScreen"); },
                [] {
                    QWidget *dialog = WalkRunner::modal();
                    typeInto(edit(dialog, "_rowEdt"), QStringLiteral("2"));
                    typeInto(edit(dialog, "_columnEdt"), QStringLiteral("2"));
                    WalkRunner::clickIn(dialog, "_OKBtn");
                });
    };

    walk->step(
            QStringLiteral("the host window is shown"),
            [window] { return QTest::qWaitForWindowExposed(window, 10); }, [] {});
    walk->step(
            QStringLiteral("the X86 page lists the server"),
            [x86Page] {
                QAbstractButton *server = button(x86Page(), "_serverSelectBtn");
                return WalkRunner::isShown(x86Page()) && server
                        && server->text() == QLatin1String("Simulated wall");
            },
            [=] {
                refuse({MatrixProtocol::X86SetScreenCount});
                click(button(x86Page(), "_connectMatrixBtn"));
            });
    answerScreenCount(QStringLiteral("the matrix asks for its screen count"));
    pictureTheBox(QStringLiteral("x86-refused-screen-count"));
    walk->then(QStringLiteral("the matrix takes commands again"), [=] { refuse({}); });
    answerScreenCount(QStringLiteral("the page asks for the screen count again"));
    walk->step(
            QStringLiteral("the wall shows four windows"),
            [wall] { return mirrors(wall()).size() == 4; },
            [x86Page] { click(button(x86Page(), "_saveMatrixSettingBtn")); });
    walk->step(
            QStringLiteral("the page leaves the configuration mode"),
            [=] {
                return WalkRunner::isShown(button(x86Page(), "_setSourceBtn"))
                        && !simulator->x86State().configMode;
            },
            [] {});
    walk->pause(QStringLiteral("let the wall settle"), 800);
    walk->then(QStringLiteral("drag window 1 on a matrix that refuses the move"), [=] {
        refuse({MatrixProtocol::X86SetMirrorRect});
        QWidget *first = mirrors(wall()).value(0);
        *dragFrom = first->mapTo(window, first->rect().center());
        QTest::mousePress(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, *dragFrom);
        QTest::mouseMove(window->windowHandle(), *dragFrom + QPoint(75, 40));
        QTest::mouseMove(window->windowHandle(), *dragFrom + QPoint(150, 80));
    });
    // The press asks for the layout; its answer comes before the release.
    walk->pause(QStringLiteral("the layout arrives"), 200);
    walk->then(QStringLiteral("drop the window"), [=] {
        QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                            *dragFrom + QPoint(150, 80));
    });
    pictureTheBox(QStringLiteral("x86-refused-move"));
    // Refusals that follow one another closely are told once; this one is an action of its own.
    walk->step(
            QStringLiteral("the page is free again"), [] { return !WalkRunner::modal(); }, [] {});
    walk->pause(QStringLiteral("a while after the last refusal"), 1500);
    walk->then(QStringLiteral("open the split chooser of window 1"), [=] {
        refuse({MatrixProtocol::X86SetMonitorSplit});
        QWidget *first = mirrors(wall()).value(0);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, first->rect().center(),
                               first->mapToGlobal(first->rect().center()));
        QApplication::sendEvent(first, &menu);
    });
    const auto chooser = [x86Page]() -> QWidget * {
        for (QWidget *widget : x86Page()->findChildren<QWidget *>()) {
            if (widget->inherits("LUMO_DIGITALMATRIX_MODULE::SpliteWindow"))
                return widget;
        }
        return nullptr;
    };
    walk->step(
            QStringLiteral("the split chooser opens"),
            [chooser] { return WalkRunner::isShown(chooser()); }, [] {});
    walk->pause(QStringLiteral("let the chooser settle"), 300);
    walk->then(QStringLiteral("choose four panes"),
               [chooser] { click(button(chooser(), "_squaretwoBtn")); });
    pictureTheBox(QStringLiteral("x86-refused-split"));
}

// The undo and redo buttons of a page, with the tool tip that names the step the matrix took
// last, pictured with the whole screen as name.
void addUndoRedoScene(WalkRunner *walk, const std::function<QWidget *()> &page,
                      const char *undoName, const QString &name)
{
    walk->step(
            QStringLiteral("undo names the last step"),
            [=] {
                QAbstractButton *undo = button(page(), undoName);
                return undo && undo->isEnabled() && !WalkRunner::modal();
            },
            [] {});
    walk->pause(QStringLiteral("let the page settle"), 500);
    walk->then(QStringLiteral("show the undo button's tool tip"), [=] {
        QAbstractButton *undo = button(page(), undoName);
        QToolTip::showText(undo->mapToGlobal(QPoint(undo->width() / 2, undo->height())),
                           undo->toolTip(), undo, QRect(), 10000);
    });
    walk->pause(QStringLiteral("let the tool tip paint"), 150);
    walk->screenshot(name);
    walk->then(QStringLiteral("hide the tool tip"), [] { QToolTip::hideText(); });
}

// Runs the walk to its end; the exit code says whether it got there.
int runWalk(QApplication *app, WalkRunner *walk, const QString &out)
{
    QObject::connect(walk, &WalkRunner::finished, app,
                     [walk, out](bool ok, const QString &message) {
                         if (!ok)
                             std::fprintf(stderr, "demo-walk: FAILED: %s\n", qPrintable(message));
                         else
                             std::printf("demo-walk: done, %d screenshots in %s\n",
                                         int(walk->savedScreenshots().size()), qPrintable(out));
                         std::fflush(stdout);
                         QCoreApplication::exit(ok ? 0 : 1);
                     });
    QTimer::singleShot(WholeWalkTimeoutMs, app, [] {
        std::fprintf(stderr, "demo-walk: FAILED: the walk took longer than %d s\n",
                     WholeWalkTimeoutMs / 1000);
        std::_Exit(3);
    });
    walk->start();
    return app->exec();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The module's debug lines are for its developers; the host log has what a host keeps.
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false\ndm.*.debug=false"));
    QCoreApplication::setApplicationName(QStringLiteral("matrix-client"));
    QCoreApplication::setApplicationVersion(QStringLiteral("walk"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    WalkOptions walkOptions;
    QString message;
    switch (WalkCommandLine::parse(app.arguments(), &walkOptions, &message)) {
    case WalkCommandLine::ShowHelp:
        std::fputs(qPrintable(message), stdout);
        return 0;
    case WalkCommandLine::ShowVersion:
        std::printf("demo-walk\n");
        return 0;
    case WalkCommandLine::Error:
        std::fprintf(stderr, "demo-walk: %s\nTry 'demo-walk --help'.\n", qPrintable(message));
        return 2;
    case WalkCommandLine::Run:
        break;
    }

    const QString out = QDir(walkOptions.out).absolutePath();
    if (!QDir().mkpath(out)) {
        std::fprintf(stderr, "demo-walk: cannot create %s\n", qPrintable(out));
        return 1;
    }
    QTemporaryDir data;
    if (!data.isValid()) {
        std::fprintf(stderr, "demo-walk: no temporary folder\n");
        return 1;
    }

    // A new user's first start: an empty data centre beside fresh walls.
    DemoOptions options;
    options.dataFile = data.filePath(QStringLiteral("datacenter.db"));
    options.stateFile = data.filePath(QStringLiteral("walls.json"));
    options.language = walkOptions.language;
    options.x86Port = walkOptions.x86Port;
    options.linuxPort = walkOptions.linuxPort;
    DemoHost host;
    if (!host.start(options)) {
        std::fprintf(stderr, "demo-walk: %s\n", qPrintable(host.errorString()));
        return 1;
    }
    LUMO_DIGITALMATRIX_MODULE::MatrixModuleConfig::instance();
    // The refusals need a server the page lists from its start.
    if (walkOptions.refusals
        && !DATACore::UserManagerCore::instance()->AddServer(
                QStringLiteral("Simulated wall"), QStringLiteral("127.0.0.1"), QString(), QString(),
                host.simulator()->x86Port(), SERVERTYPE_X86_DIGITALMATRIX)) {
        std::fprintf(stderr, "demo-walk: cannot store the X86 server\n");
        return 1;
    }

    DemoMainWindow window(&host);
    // The smallest screen the console is made for.
    window.setGeometry(0, 0, 1280, 720);
    window.show();
    WalkRunner walk(out);
    if (walkOptions.refusals) {
        addRefusalSteps(&walk, &window, &host);
        return runWalk(&app, &walk, out);
    }
    const bool chinese = host.language().startsWith(QLatin1String("zh"));
    const QString x86Name =
            chinese ? QString::fromUtf8("大堂电视墙") : QStringLiteral("Lobby wall");
    const QString linuxName =
            chinese ? QString::fromUtf8("监控中心") : QStringLiteral("Control room");
    const int x86Port = host.simulator()->x86Port();
    const int linuxPort = host.simulator()->linuxPort();

    QWidget *page = window.configPage();
    auto x86Page = [page] { return child(page, "x86MatrixPage"); };
    auto linuxPage = [page] { return child(page, "linuxMatrixPage"); };

    // The walls stand to the right of the host window.
    auto shot = [&](const QString &name) {
        walk.then(QStringLiteral("place the walls"), [&] {
            const QRect screen = QGuiApplication::primaryScreen()->geometry();
            const int left = window.frameGeometry().right() + 8;
            const int width = qMax(420, screen.width() - left);
            if (window.x86Wall())
                window.x86Wall()->setGeometry(left, 0, width, 440);
            if (window.linuxWall())
                window.linuxWall()->setGeometry(left, 470, width, 440);
        });
        walk.pause(QStringLiteral("let the walls repaint"), 300);
        walk.screenshot(name);
    };
    auto wallWindow = [&window](bool linuxWall) -> QWidget * {
        return linuxWall ? static_cast<QWidget *>(window.linuxWall())
                         : static_cast<QWidget *>(window.x86Wall());
    };

    // ---- First look: the picture hint, and the simulated walls opened from the menu. ----
    walk.step(
            QStringLiteral("the host window is shown"),
            [&] { return QTest::qWaitForWindowExposed(&window, 10); }, [] {});
    walk.then(QStringLiteral("open the simulated walls from the Matrix menu"),
              [&] { pickMenu(&window, "demoMatrixMenu", "showWallAction"); });
    walk.step(
            QStringLiteral("the walls are shown"),
            [&] {
                return WalkRunner::isShown(window.x86Wall())
                        && WalkRunner::isShown(window.linuxWall());
            },
            [] {});
    walk.pause(QStringLiteral("let the windows settle"), 500);
    shot(QStringLiteral("01-first-look"));

    // ---- Add the X86 server through the picture hint. ----
    walk.then(QStringLiteral("press the picture hint's add button"),
              [&] { click(button(child(page, "pictureHint"), "addServerBt")); });
    walk.step(
            QStringLiteral("the server dialog opens"),
            [] {
                return WalkRunner::modal("LUMO_DIGITALMATRIX_MODULE::ModifyDigitalMatrixServerDlg");
            },
            [&] {
                QWidget *dialog = WalkRunner::modal();
                auto *type = dialog->findChild<QComboBox *>(QStringLiteral("serverTypeComBx"));
                click(type);
                // Choose "TQ5100-12HD", the X86 matrix, from the open list.
                QTimer::singleShot(300, type, [type] {
                    if (QWidget *list = type->view())
                        QTest::keyClick(list, Qt::Key_Home);
                    if (QWidget *list = type->view())
                        QTest::keyClick(list, Qt::Key_Return);
                });
            });
    walk.pause(QStringLiteral("the type list closes"), 800);
    walk.then(QStringLiteral("enter name, address and port of the X86 matrix"), [&] {
        QWidget *dialog = WalkRunner::modal();
        typeInto(edit(dialog, "nameLineEt"), x86Name);
        typeIp(child(dialog, "ipAddressFrame"), QStringLiteral("127.0.0.1"));
        typeInto(edit(dialog, "portLineEt"), QString::number(x86Port));
    });
    shot(QStringLiteral("02-add-x86-server"));
    walk.then(QStringLiteral("save the server"),
              [&] { WalkRunner::clickIn(WalkRunner::modal(), "saveBt"); });

    // ---- Connect and set the screen count. ----
    walk.step(
            QStringLiteral("the X86 page lists the server"),
            [&] {
                QAbstractButton *server = button(x86Page(), "_serverSelectBtn");
                return WalkRunner::isShown(x86Page()) && server && server->text() == x86Name
                        && !WalkRunner::modal();
            },
            [&] { click(button(x86Page(), "_connectMatrixBtn")); });
    walk.step(
            QStringLiteral("the matrix asks for its screen count"),
            [] { return WalkRunner::modal("LUMO_DIGITALMATRIX_MODULE::setMatrixScreen"); },
            [&] {
                QWidget *dialog = WalkRunner::modal();
                typeInto(edit(dialog, "_rowEdt"), QStringLiteral("2"));
                typeInto(edit(dialog, "_columnEdt"), QStringLiteral("2"));
            });
    shot(QStringLiteral("03-x86-screen-count"));
    walk.then(QStringLiteral("accept 2 x 2"),
              [&] { WalkRunner::clickIn(WalkRunner::modal(), "_OKBtn"); });
    walk.step(
            QStringLiteral("the wall shows four windows"),
            [&] { return mirrors(child(x86Page(), "_virtualServerWdt")).size() == 4; }, [] {});
    walk.pause(QStringLiteral("look at the new arrangement"), 500);
    walk.then(QStringLiteral("save the matrix setting"),
              [&] { click(button(x86Page(), "_saveMatrixSettingBtn")); });
    walk.step(
            QStringLiteral("the page leaves the configuration mode"),
            [&] {
                return WalkRunner::isShown(button(x86Page(), "_setSourceBtn"))
                        && !host.simulator()->x86State().configMode;
            },
            [] {});
    walk.pause(QStringLiteral("let the wall settle"), 800);
    shot(QStringLiteral("04-x86-wall"));

    // ---- The car park's cameras on window 1, as a turn show every 10 seconds. ----
    walk.then(QStringLiteral("select window 1 on the wall"), [&] {
        for (QWidget *candidate : mirrors(child(x86Page(), "_virtualServerWdt"))) {
            if (candidate->geometry().topLeft() == QPoint(0, 0))
                click(candidate, candidate->rect().center());
        }
    });
    walk.step(
            QStringLiteral("window 1 is selected"),
            [&] { return host.simulator()->x86State().selectedMonitor == 0; },
            [&] { click(button(x86Page(), "_setSourceBtn")); });
    walk.step(
            QStringLiteral("the source dialog opens"),
            [] { return WalkRunner::modal("LUMO_DIGITALMATRIX_MODULE::SetChannelSource"); },
            [&] {
                auto *tree = WalkRunner::modal()->findChild<QTreeWidget *>(
                        QStringLiteral("_treeWidget"));
                const QList<QTreeWidgetItem *> found = tree->findItems(
                        QString::fromUtf8("地下停车场"), Qt::MatchExactly | Qt::MatchRecursive);
                if (found.isEmpty())
                    return;
                // Click the area, then tick it with the space bar: all its channels follow.
                tree->scrollToItem(found.first());
                click(tree->viewport(), tree->visualItemRect(found.first()).center());
                QTest::keyClick(tree, Qt::Key_Space);
            });
    walk.then(QStringLiteral("four panes, turning every 10 seconds"), [&] {
        QWidget *dialog = WalkRunner::modal();
        auto *split = dialog->findChild<QComboBox *>(QStringLiteral("_spliteCBox"));
        split->setFocus(Qt::OtherFocusReason);
        while (split->currentText() != QLatin1String("4")
               && split->currentIndex() < split->count() - 1)
            QTest::keyClick(split, Qt::Key_Down);
        while (split->currentText() != QLatin1String("4") && split->currentIndex() > 0)
            QTest::keyClick(split, Qt::Key_Up);
        click(dialog->findChild<QCheckBox *>(QStringLiteral("_startCBox")));
        auto *interval = dialog->findChild<QAbstractSpinBox *>(QStringLiteral("_nElapseSpin"));
        typeInto(interval->findChild<QLineEdit *>(), QStringLiteral("10"));
    });
    shot(QStringLiteral("05-x86-source-dialog"));
    walk.then(QStringLiteral("set the source"),
              [&] { WalkRunner::clickIn(WalkRunner::modal(), "_setBtn"); });
    walk.step(
            QStringLiteral("window 1 turns"),
            [&] {
                const SimX86State state = host.simulator()->x86State();
                return !WalkRunner::modal() && !state.windows.isEmpty()
                        && state.windows.first().turnState == 1
                        && state.windows.first().sources.size() == 5;
            },
            [] {});
    walk.pause(QStringLiteral("watch the X86 wall"), 1500);
    shot(QStringLiteral("06-x86-turn-show-first-page"));
    walk.pause(QStringLiteral("watch the X86 wall turn"), 10000);
    shot(QStringLiteral("07-x86-turn-show-second-page"));
    walk.screenshot(QStringLiteral("x86-page"), [&] { return static_cast<QWidget *>(&window); });
    addUndoRedoScene(&walk, x86Page, "_undoBtn", QStringLiteral("x86-undo-redo"));

    // ---- The Linux matrix: its own page, a server, rows and columns, the numbers. ----
    walk.then(QStringLiteral("switch to the Linux page from the Matrix menu"),
              [&] { pickMenu(&window, "demoMatrixMenu", "showLinuxPageAction"); });
    walk.step(
            QStringLiteral("the Linux page is shown"),
            [&] { return WalkRunner::isShown(linuxPage()); },
            [&] { click(button(child(linuxPage(), "serverSelWdt"), "addServerBt")); });
    walk.step(
            QStringLiteral("the Linux server dialog opens"),
            [] {
                return WalkRunner::modal("LUMO_DIGITALMATRIX_MODULE::ModifyDigitalMatrixServerDlg");
            },
            [&] {
                QWidget *dialog = WalkRunner::modal();
                typeInto(edit(dialog, "nameLineEt"), linuxName);
                typeIp(child(dialog, "ipAddressFrame"), QStringLiteral("127.0.0.1"));
                typeInto(edit(dialog, "portLineEt"), QString::number(linuxPort));
                typeInto(edit(dialog, "userLineEt"), QStringLiteral("admin"));
                typeInto(edit(dialog, "passwordLineEt"), QStringLiteral("admin"));
            });
    shot(QStringLiteral("08-add-linux-server"));
    walk.then(QStringLiteral("save the Linux server"),
              [&] { WalkRunner::clickIn(WalkRunner::modal(), "saveBt"); });
    walk.step(
            QStringLiteral("the Linux page lists the server"),
            [&] {
                QAbstractButton *server = button(child(linuxPage(), "serverSelWdt"), "serverBt");
                return server && server->isChecked() && !WalkRunner::modal();
            },
            [&] { click(button(child(linuxPage(), "serverOperWdt"), "connectServerBt")); });
    walk.step(
            QStringLiteral("the Linux matrix is connected"),
            [&] {
                QAbstractButton *config = button(linuxPage(), "configMatrixBt");
                return config && config->isEnabled() && config->isVisible();
            },
            [&] { click(button(linuxPage(), "configMatrixBt")); });
    walk.step(
            QStringLiteral("the rows and columns dialog opens"),
            [] { return WalkRunner::modal("LUMO_DIGITALMATRIX_MODULE::MatrixRowColumnSetDlg"); },
            [&] {
                QWidget *dialog = WalkRunner::modal();
                typeInto(edit(dialog, "rowLineEt"), QStringLiteral("2"));
                typeInto(edit(dialog, "columnLineEt"), QStringLiteral("2"));
            });
    shot(QStringLiteral("09-linux-rows-columns"));
    walk.then(QStringLiteral("go on to the screen numbers"),
              [&] { WalkRunner::clickIn(WalkRunner::modal(), "okBt"); });
    walk.step(
            QStringLiteral("the matrix shows its screen numbers"),
            [&] {
                return adjustCell(child(linuxPage(), "adjustCellNumWdt"), 3) != nullptr
                        && host.simulator()->linuxState().arrangeMode;
            },
            [] {});
    walk.pause(QStringLiteral("let the wall show the numbers"), 800);
    shot(QStringLiteral("10-linux-numbers-on-the-wall"));
    // The simulated screens hang as 2 1 / 4 3: drag the numbers until the grid says the same.
    walk.then(QStringLiteral("drag number 2 onto number 1"),
              [&] { dragNumber(child(linuxPage(), "adjustCellNumWdt"), 0, 1); });
    walk.pause(QStringLiteral("look"), 400);
    walk.then(QStringLiteral("drag number 4 onto number 3"),
              [&] { dragNumber(child(linuxPage(), "adjustCellNumWdt"), 2, 3); });
    walk.pause(QStringLiteral("look"), 400);
    shot(QStringLiteral("11-linux-numbers-matched"));
    walk.then(QStringLiteral("save the arrangement"),
              [&] { click(button(linuxPage(), "saveConfigBt")); });
    walk.step(
            QStringLiteral("the matrix keeps the arrangement"),
            [&] {
                const SimLinuxState state = host.simulator()->linuxState();
                return !state.arrangeMode && state.gridRows == 2 && state.gridColumns == 2
                        && state.screenMap.startsWith(QByteArray("\x01\x00\x03\x02", 4));
            },
            [] {});
    walk.pause(QStringLiteral("let the page settle"), 800);
    shot(QStringLiteral("12-linux-arranged"));

    // ---- Channels in a cell of the Linux wall, as a turn show. ----
    auto cell = [&](int index) {
        return child(child(linuxPage(), "configChannelsWdt"),
                     qPrintable(QStringLiteral("channelCell%1").arg(index)));
    };
    walk.then(QStringLiteral("point at cell 1 and split it into four panes"), [&] {
        QWidget *first = cell(0);
        QTest::mouseMove(first, first->rect().center());
        QTimer::singleShot(300, first, [first] {
            click(button(child(first, "splitScreenToolBar"), "fourSpliterBt"));
        });
    });
    walk.step(
            QStringLiteral("cell 1 has four panes"),
            [&] { return host.simulator()->linuxState().cells.value(0).split == 4; },
            [&] {
                // The car park's five cameras: the whole area, chosen in the tree.
                auto *tree = child(linuxPage(), "areaTreeWdt")
                                     ->findChild<QTreeWidget *>(QStringLiteral("areaTreeWidget"));
                const QList<QTreeWidgetItem *> found = tree->findItems(
                        QString::fromUtf8("地下停车场"), Qt::MatchExactly | Qt::MatchRecursive);
                if (found.isEmpty())
                    return;
                tree->scrollToItem(found.first());
                click(tree->viewport(), tree->visualItemRect(found.first()).center());
            });
    walk.then(QStringLiteral("choose cell 1"), [&] { click(cell(0), QPoint(6, 6)); });
    walk.then(QStringLiteral("put the channels into the cell"),
              [&] { click(button(child(linuxPage(), "channelsOperWdt"), "setChannelsToCellBt")); });
    walk.step(
            QStringLiteral("the page offers a turn show"),
            [] { return WalkRunner::modal("COMMONUSELIB::MessageBoxW"); }, [] {});
    shot(QStringLiteral("13-linux-start-turn-show"));
    walk.then(QStringLiteral("start the turn show"),
              [&] { WalkRunner::clickIn(WalkRunner::modal(), "yesBt"); });
    walk.step(
            QStringLiteral("the cell's turn show runs"),
            [&] { return host.simulator()->linuxState().cells.value(0).turnState == 0; },
            [&] {
                // A right click on the cell opens its menu.
                QWidget *first = cell(0);
                const QPoint at = first->mapTo(&window, first->rect().center());
                QTest::mouseClick(window.windowHandle(), Qt::RightButton, Qt::NoModifier, at);
            });
    walk.step(
            QStringLiteral("the cell's menu opens"),
            [&] {
                return WalkRunner::isShown(
                        cell(0)->findChild<QMenu *>(QStringLiteral("cellContextMenu")));
            },
            [&] {
                auto *menu = cell(0)->findChild<QMenu *>(QStringLiteral("cellContextMenu"));
                auto *turn = cell(0)->findChild<QMenu *>(QStringLiteral("turnShowMenu"));
                click(menu, menu->actionGeometry(turn->menuAction()).center());
            });
    walk.step(
            QStringLiteral("the turn show menu opens"),
            [&] {
                return WalkRunner::isShown(
                        cell(0)->findChild<QMenu *>(QStringLiteral("turnShowMenu")));
            },
            [&] {
                auto *turn = cell(0)->findChild<QMenu *>(QStringLiteral("turnShowMenu"));
                auto *timeSet =
                        cell(0)->findChild<QAction *>(QStringLiteral("turnShowTimeSetAction"));
                click(turn, turn->actionGeometry(timeSet).center());
            });
    walk.step(
            QStringLiteral("the turn-show time dialog opens"),
            [] { return WalkRunner::modal("LUMO_DIGITALMATRIX_MODULE::TurnShowTimeSetDlg"); },
            [&] {
                typeInto(edit(WalkRunner::modal(), "turnShowTimeLineEt"), QStringLiteral("5"));
            });
    shot(QStringLiteral("14-linux-turn-show-time"));
    walk.then(QStringLiteral("set 5 seconds"),
              [&] { WalkRunner::clickIn(WalkRunner::modal(), "setBt"); });
    walk.step(
            QStringLiteral("the matrix turns every 5 seconds"),
            [&] {
                return host.simulator()->linuxState().cells.value(0).turnInterval == 5
                        && !WalkRunner::modal();
            },
            [] {});
    walk.pause(QStringLiteral("watch the Linux wall"), 1500);
    shot(QStringLiteral("15-linux-turn-show-first-page"));
    walk.pause(QStringLiteral("watch the Linux wall turn"), 5000);
    shot(QStringLiteral("16-linux-turn-show-second-page"));
    walk.screenshot(QStringLiteral("linux-page"), [&] { return static_cast<QWidget *>(&window); });
    addUndoRedoScene(&walk, linuxPage, "undoLayoutBt", QStringLiteral("linux-undo-redo"));
    walk.screenshot(QStringLiteral("wall-linux"), [&] { return wallWindow(true); });
    walk.screenshot(QStringLiteral("wall-x86"), [&] { return wallWindow(false); });

    // ---- The matrix says no, then goes silent: the page says so and keeps no secret. ----
    auto connectToggle = [&] {
        return button(child(linuxPage(), "serverOperWdt"), "connectServerBt");
    };
    auto boxText = [] {
        auto *label = WalkRunner::modal("COMMONUSELIB::MessageBoxW")
                ? WalkRunner::modal()->findChild<QLabel *>(QStringLiteral("textLabel"))
                : nullptr;
        return label ? label->text() : QString();
    };
    QString question;
    walk.then(QStringLiteral("the Linux matrix refuses a reboot"), [&] {
        MatrixSimulatorFaults faults;
        faults.refusedRequests = {MatrixProtocol::LinuxReboot};
        faults.refusedResult = -10;
        host.simulator()->setFaults(faults);
        click(button(linuxPage(), "rebootBt"));
    });
    walk.step(
            QStringLiteral("the page asks before rebooting"), [&] { return !boxText().isEmpty(); },
            [&] {
                question = boxText();
                WalkRunner::clickIn(WalkRunner::modal(), "yesBt");
            });
    walk.step(
            QStringLiteral("the refusal is shown"),
            [&] { return !boxText().isEmpty() && boxText() != question; }, [] {});
    shot(QStringLiteral("17-linux-reboot-refused"));
    walk.then(QStringLiteral("close the notice; the matrix then falls silent"), [&] {
        WalkRunner::clickIn(WalkRunner::modal(), "okBt");
        MatrixSimulatorFaults faults;
        faults.silent = true;
        host.simulator()->setFaults(faults);
    });
    walk.step(
            QStringLiteral("the page shows the matrix lost"),
            [&] { return connectToggle() && !connectToggle()->isChecked(); },
            [&] { host.simulator()->setFaults(MatrixSimulatorFaults()); });
    shot(QStringLiteral("18-linux-matrix-lost"));

    return runWalk(&app, &walk, out);
}
