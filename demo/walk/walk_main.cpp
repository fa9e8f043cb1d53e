// demo-walk: the first session of a new user, scripted against the running demo host with
// real mouse and key events (QTest), under a real (virtual) display. It starts the host with
// a fresh data centre, adds an X86 server through the picture hint, connects, sets the screen
// count, puts channels on a window as a turn show and watches the simulated wall follow; then
// adds a Linux server and arranges its screens; on each page it pictures the undo button naming
// the last change. Screenshots go to the folder given. With
// --refusals it pictures instead the X86 page's messages when the matrix refuses a command,
// then other consoles on the matrix: a watcher, a takeover, the watch banner, taking control;
// with --on-air both pages with a turn show running (OnAirScenes.h); with --presets the X86
// page's cameras dragged onto a window and its preset menu.
//
// With --reconnect it pictures the X86 page counting down to connecting again after its matrix
// restarted, and the page back.
// Usage: demo-walk [--out DIR] [--lang en|zh_cn] [--x86-port N] [--linux-port N]
//                  [--refusals | --on-air | --reconnect | --presets]
#include "OnAirScenes.h"
#include "WalkCommandLine.h"
#include "WalkRunner.h"

#include "DemoHost.h"
#include "DemoMainWindow.h"
#include "DemoOptions.h"

#include "AreaWithChannelTree.h"
#include "DigitalMatrixConfigPage.h"
#include "DigitalMatrixInteractionPort.h"
#include "MatrixModuleConfig.h"
#include "MatrixProtocol.h"
#include "MatrixSimulator.h"
#include "IBaseMatrixConfig.h"
#include "ServerConfig.h"
#include "SimulatedWallWindow.h"
#include "UserManagerCore.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>
#include <QtTest>

#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

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

using WidgetFinder = std::function<QWidget *()>;

// The walk's first steps on the X86 page: the host window shown and the page listing the
// simulated wall; `connect` then runs.
void addX86ListedSteps(WalkRunner *walk, QWidget *window, const WidgetFinder &x86Page,
                       const std::function<void()> &connect)
{
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
            connect);
}

// The matrix asks for its screen count: 2 × 2.
void addScreenCountStep(WalkRunner *walk, const QString &name)
{
    walk->step(
            name, [] { return WalkRunner::modal("LUMO_DIGITALMATRIX_MODULE::setMatrixScreen"); },
            [] {
                QWidget *dialog = WalkRunner::modal();
                typeInto(edit(dialog, "_rowEdt"), QStringLiteral("2"));
                typeInto(edit(dialog, "_columnEdt"), QStringLiteral("2"));
                WalkRunner::clickIn(dialog, "_OKBtn");
            });
}

// The arranged wall saved: the page leaves the configuration mode on the matrix; `then` runs.
void addX86ArrangedSteps(WalkRunner *walk, MatrixSimulator *simulator, const WidgetFinder &x86Page,
                         const WidgetFinder &wall, const std::function<void()> &then)
{
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
            then);
}

// The X86 page's cameras and presets: four cameras of the lobby dragged from the camera panel
// onto window 1 (pictured while the drag is over its first pane), the wall saved as a preset
// and the preset menu opened with that preset's entries. The drag is given to the window as
// the window system would give it; the lambdas keep only pointers.
void addPresetSteps(WalkRunner *walk, DemoMainWindow *window, DemoHost *host)
{
    MatrixSimulator *simulator = host->simulator();
    QWidget *page = window->configPage();
    const bool chinese = host->language().startsWith(QLatin1String("zh"));
    const QString presetName = chinese ? QString::fromUtf8("早班") : QStringLiteral("Morning");
    const auto x86Page = [page] { return child(page, "x86MatrixPage"); };
    const auto wall = [x86Page] { return child(x86Page(), "_virtualServerWdt"); };
    const auto cameras = [x86Page] {
        return qobject_cast<COMMONUSELIB::AreaWithChannelTree *>(child(x86Page(), "cameraTree"));
    };
    const auto firstWindow = [wall]() -> QWidget * {
        for (QWidget *candidate : mirrors(wall())) {
            if (candidate->geometry().topLeft() == QPoint(0, 0))
                return candidate;
        }
        return nullptr;
    };
    const auto mime = std::make_shared<std::unique_ptr<QMimeData>>();
    const auto paneCentre = [firstWindow] {
        QWidget *target = firstWindow();
        return QPoint(target->width() / 4, target->height() / 4);
    };
    const auto presetMenu = [x86Page] {
        return x86Page()->findChild<QMenu *>(QStringLiteral("presetMenu"));
    };

    addX86ListedSteps(walk, window, x86Page,
                      [x86Page] { click(button(x86Page(), "_connectMatrixBtn")); });
    addScreenCountStep(walk, QStringLiteral("the matrix asks for its screen count"));
    addX86ArrangedSteps(walk, simulator, x86Page, wall, [=] {
        // Window 1 in four panes; the cameras beside the wall unfolded.
        LUMO_DIGITALMATRIX_MODULE::DigitalMatrixInteractionPort::instance()->setMonitorSplit(0, 4);
        click(button(x86Page(), "cameraPanelFoldBt"));
    });
    walk->step(
            QStringLiteral("the cameras are shown"),
            [=] {
                return WalkRunner::isShown(cameras()) && !simulator->x86State().windows.isEmpty()
                        && simulator->x86State().windows.first().split == 4;
            },
            [=] {
                QTreeWidget *tree = cameras()->getTreeWidget();
                QList<QTreeWidgetItem *> items;
                for (int n = 1; n <= 4; ++n) {
                    if (QTreeWidgetItem *item =
                                cameras()->channelItem(QStringLiteral("dev-nvr-hq-ch0%1").arg(n)))
                        items << item;
                }
                tree->clearSelection();
                for (QTreeWidgetItem *item : qAsConst(items))
                    item->setSelected(true);
                if (!items.isEmpty())
                    tree->scrollToItem(items.first());
                mime->reset(cameras()->mimeDataForItems(items));
                QDragEnterEvent enter(paneCentre(), Qt::CopyAction, mime->get(), Qt::LeftButton,
                                      Qt::NoModifier);
                QApplication::sendEvent(firstWindow(), &enter);
            });
    walk->pause(QStringLiteral("let the pane light up"), 500);
    walk->screenshotOver(QStringLiteral("x86-camera-drag"),
                         [window] { return static_cast<QWidget *>(window); });
    walk->then(QStringLiteral("drop the cameras on the first pane"), [=] {
        QDropEvent drop(paneCentre(), Qt::CopyAction, mime->get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(firstWindow(), &drop);
    });
    walk->step(
            QStringLiteral("window 1 shows the four cameras"),
            [=] {
                const SimX86State state = simulator->x86State();
                return !state.windows.isEmpty() && state.windows.first().sources.size() == 4;
            },
            [=] {
                QMenu *menu = presetMenu();
                emit menu->aboutToShow();
                QAction *save = menu->findChild<QAction *>(QStringLiteral("savePresetAction"));
                // The name is asked in a modal dialog: the walk goes on meanwhile.
                QTimer::singleShot(0, save, &QAction::trigger);
            });
    walk->pause(QStringLiteral("the wall repaints"), 500);
    walk->screenshotOver(QStringLiteral("x86-camera-dropped"),
                         [window] { return static_cast<QWidget *>(window); });
    walk->step(
            QStringLiteral("the preset is named"), [] { return WalkRunner::modal("QInputDialog"); },
            [presetName] {
                auto *input = qobject_cast<QInputDialog *>(WalkRunner::modal());
                input->setTextValue(presetName);
                input->accept();
            });
    walk->step(
            QStringLiteral("the preset menu opens"), [] { return !WalkRunner::modal(); },
            [=] {
                QWidget *presets = child(x86Page(), "presetsBt");
                QMenu *menu = presetMenu();
                menu->popup(presets->mapToGlobal(QPoint(0, 0))
                            - QPoint(0, menu->sizeHint().height()));
            });
    walk->step(
            QStringLiteral("the preset is listed"),
            [=] {
                return presetMenu()->isVisible()
                        && presetMenu()->findChild<QMenu *>(QStringLiteral("preset:") + presetName);
            },
            [=] {
                QMenu *menu = presetMenu();
                QMenu *entry = menu->findChild<QMenu *>(QStringLiteral("preset:") + presetName);
                menu->setActiveAction(entry->menuAction());
                const QRect at = menu->actionGeometry(entry->menuAction());
                entry->popup(menu->mapToGlobal(at.topRight()));
            });
    walk->pause(QStringLiteral("let the menus paint"), 500);
    walk->screenshotOver(QStringLiteral("x86-preset-menu"),
                         [window] { return static_cast<QWidget *>(window); });
    walk->then(QStringLiteral("close the menus"), [=] { presetMenu()->close(); });
}

// The X86 page connected to an arranged wall; its matrix restarts: the page counts down to
// connecting again by itself (pictured), and is back (pictured).
void addReconnectSteps(WalkRunner *walk, DemoMainWindow *window, DemoHost *host)
{
    MatrixSimulator *simulator = host->simulator();
    QWidget *page = window->configPage();
    const auto x86Page = [page] { return child(page, "x86MatrixPage"); };
    const auto wall = [x86Page] { return child(x86Page(), "_virtualServerWdt"); };
    const auto bar = [x86Page] { return child(x86Page(), "_reconnectBar"); };
    const auto barText = [bar] {
        auto *label = bar() ? bar()->findChild<QLabel *>(QStringLiteral("_reconnectLab")) : nullptr;
        return WalkRunner::isShown(bar()) && label ? label->text() : QString();
    };
    const auto restartOptions = std::make_shared<MatrixSimulatorOptions>();

    addX86ListedSteps(walk, window, x86Page,
                      [x86Page] { click(button(x86Page(), "_connectMatrixBtn")); });
    addScreenCountStep(walk, QStringLiteral("the matrix asks for its screen count"));
    addX86ArrangedSteps(walk, simulator, x86Page, wall, [] {});
    walk->pause(QStringLiteral("let the wall settle"), 800);
    walk->then(QStringLiteral("the matrix restarts"), [=] {
        *restartOptions = simulator->options();
        restartOptions->x86Port = simulator->x86Port();
        restartOptions->linuxPort = simulator->linuxPort();
        simulator->stop();
    });
    walk->step(
            QStringLiteral("the page counts down to its second attempt"),
            [barText] { return barText().contains(QLatin1String("2")); }, [] {});
    walk->pause(QStringLiteral("let the page repaint"), 300);
    walk->screenshotOver(QStringLiteral("x86-reconnect-countdown"),
                         [window] { return static_cast<QWidget *>(window); });
    walk->then(QStringLiteral("the matrix is back"), [=] { simulator->start(*restartOptions); });
    walk->step(
            QStringLiteral("the page is connected again"),
            [=] {
                return mirrors(wall()).size() == 4
                        && button(x86Page(), "_connectMatrixBtn")->isChecked();
            },
            [] {}, 40000);
    walk->pause(QStringLiteral("let the page repaint"), 300);
    walk->screenshotOver(QStringLiteral("x86-reconnect-back"),
                         [window] { return static_cast<QWidget *>(window); });
    // The server list marks each server by whether it answers.
    walk->then(QStringLiteral("open the server list"),
               [x86Page] { click(button(x86Page(), "_serverSelectBtn")); });
    walk->pause(QStringLiteral("let the list paint"), 500);
    walk->screenshotOver(QStringLiteral("x86-server-online"),
                         [window] { return static_cast<QWidget *>(window); });
}

// The X86 page's messages when the matrix refuses the screen count, a window move and a
// split, each pictured over the host window while the box is open. The lambdas keep only
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
    const auto pictureTheBox = [walk, window](const QString &name) {
        walk->step(
                QStringLiteral("the refusal is shown"),
                [] { return WalkRunner::modal("COMMONUSELIB::MessageBoxW") != nullptr; }, [] {});
        walk->pause(QStringLiteral("let the box paint"), 300);
        walk->screenshotOver(name, [window] { return static_cast<QWidget *>(window); });
        walk->then(QStringLiteral("close the box"),
                   [] { WalkRunner::clickIn(WalkRunner::modal(), "okBt"); });
    };

    addX86ListedSteps(walk, window, x86Page, [=] {
        refuse({MatrixProtocol::X86SetScreenCount});
        click(button(x86Page(), "_connectMatrixBtn"));
    });
    addScreenCountStep(walk, QStringLiteral("the matrix asks for its screen count"));
    pictureTheBox(QStringLiteral("x86-refused-screen-count"));
    walk->then(QStringLiteral("the matrix takes commands again"), [=] { refuse({}); });
    addScreenCountStep(walk, QStringLiteral("the page asks for the screen count again"));
    addX86ArrangedSteps(walk, simulator, x86Page, wall, [] {});
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

// Another console on the X86 matrix, through its own interface of the library.
struct OtherConsole
{
    IMatrixConfig *config = GetMatrixConfig();
    std::atomic<int> status {-1};

    OtherConsole()
    {
        config->RegisterCallbacks(
                &status, [](void *ctx, int type) { *static_cast<std::atomic<int> *>(ctx) = type; },
                [](void *, int, int, int) {}, [](void *, _MIRRORLAYOUT *) {},
                [](void *, int, int) {}, [](void *) {});
    }
    ~OtherConsole() { ReleaseMatrixConfig(config); }
    OtherConsole(const OtherConsole &) = delete;
    OtherConsole &operator=(const OtherConsole &) = delete;

    bool connectTo(const char *host, int port)
    {
        config->SetClientName(host);
        status = -1;
        config->Connect("127.0.0.1", port);
        return QTest::qWaitFor([this] { return status.load() != -1; }, 5000)
                && status.load() == ConnSuccess;
    }
};

// Several consoles on the X86 matrix, after the refusals: a watching console is named, a
// forced login takes the matrix over and the page is offered to watch, the page watches the
// new holder and takes control back through the question that names him.
void addTakeoverSteps(WalkRunner *walk, DemoMainWindow *window, DemoHost *host)
{
    const int port = host->simulator()->x86Port();
    QWidget *page = window->configPage();
    const auto x86Page = [page] { return child(page, "x86MatrixPage"); };
    const auto watcher = std::make_shared<OtherConsole>();
    const auto holder = std::make_shared<OtherConsole>();
    const auto pictureTheQuestion = [walk, window](const QString &name) {
        walk->step(
                QStringLiteral("the question is shown"),
                [] { return WalkRunner::modal("COMMONUSELIB::MessageBoxW") != nullptr; }, [] {});
        walk->pause(QStringLiteral("let the box paint"), 300);
        walk->screenshotOver(name, [window] { return static_cast<QWidget *>(window); });
        walk->then(QStringLiteral("answer yes"),
                   [] { WalkRunner::clickIn(WalkRunner::modal(), "yesBt"); });
    };
    walk->step(
            QStringLiteral("the page is free again"), [] { return !WalkRunner::modal(); },
            [=] {
                if (watcher->connectTo("console-3", port))
                    watcher->config->Watch("", "");
            });
    walk->step(
            QStringLiteral("the page names the watching console"),
            [x86Page] {
                auto *label = qobject_cast<QLabel *>(child(x86Page(), "_operatorsLab"));
                return label && WalkRunner::isShown(label)
                        && label->text().contains(QLatin1String("console-3"));
            },
            [] {});
    walk->pause(QStringLiteral("let the bar settle"), 300);
    walk->screenshotOver(QStringLiteral("x86-other-consoles"),
                         [window] { return static_cast<QWidget *>(window); });
    walk->then(QStringLiteral("another console forces its login"), [=] {
        if (holder->connectTo("console-2", port) && holder->config->Login("", "") == 2)
            holder->config->ForceLogin();
    });
    pictureTheQuestion(QStringLiteral("x86-taken-over"));
    walk->step(
            QStringLiteral("the page watches the new holder"),
            [x86Page] {
                QWidget *banner = child(x86Page(), "_watchBannerWdt");
                auto *text =
                        banner ? qobject_cast<QLabel *>(child(banner, "_watchBannerLab")) : nullptr;
                return WalkRunner::isShown(banner) && text
                        && text->text().contains(QLatin1String("console-2"));
            },
            [] {});
    walk->pause(QStringLiteral("let the wall settle"), 500);
    walk->screenshotOver(QStringLiteral("x86-watch-banner"),
                         [window] { return static_cast<QWidget *>(window); });
    walk->then(QStringLiteral("take control"),
               [x86Page] { click(button(x86Page(), "_takeControlBtn")); });
    pictureTheQuestion(QStringLiteral("x86-force-login-holder"));
    walk->step(
            QStringLiteral("the page holds the matrix again"),
            [x86Page] { return button(x86Page(), "_connectMatrixBtn")->isChecked(); }, [] {});
}

// The Linux page watching its matrix while another console holds it and has arranged it.
void addLinuxWatchSteps(WalkRunner *walk, DemoMainWindow *window, DemoHost *host)
{
    const int port = host->simulator()->linuxPort();
    QWidget *page = window->configPage();
    const auto linuxPage = [page] { return child(page, "linuxMatrixPage"); };
    const std::shared_ptr<IBaseMatrixConfig> holder(CreateBaseMatrixConfig(),
                                                    &ReleaseBaseMatrixConfig);
    walk->then(QStringLiteral("switch to the Linux page from the Matrix menu"),
               [window] { pickMenu(window, "demoMatrixMenu", "showLinuxPageAction"); });
    walk->step(
            QStringLiteral("the Linux page lists the server"),
            [linuxPage] {
                QAbstractButton *server = button(child(linuxPage(), "serverSelWdt"), "serverBt");
                return WalkRunner::isShown(linuxPage()) && server && server->isChecked();
            },
            [=] {
                // Another console arranges two by two screens and keeps the matrix.
                holder->SetClientName("console-2");
                std::vector<ScreenRegion> grid;
                for (int k = 0; k < 4; ++k)
                    grid.push_back({k, 0, (k % 2) * 1000000, (k / 2) * 1000000, 1000000, 1000000});
                if (holder->Login(1, "admin", "admin", "127.0.0.1", port) == 0
                    && holder->StartSession() == 0 && holder->SaveRowColumn(2, 2) == 0)
                    holder->SetScreenGrid(grid.data(), int(grid.size()));
                click(button(linuxPage(), "_watchServerBtn"));
            });
    walk->step(
            QStringLiteral("the Linux page watches"),
            [linuxPage] {
                auto *text = qobject_cast<QLabel *>(child(linuxPage(), "_watchBannerLab"));
                return text && WalkRunner::isShown(text)
                        && text->text().contains(QLatin1String("console-2"));
            },
            [] {});
    walk->pause(QStringLiteral("let the page settle"), 500);
    walk->screenshotOver(QStringLiteral("linux-watch-banner"),
                         [window] { return static_cast<QWidget *>(window); });
}

// The undo and redo buttons of a page, with the tool tip that names the step the matrix took
// last, pictured over the host window as name.
void addUndoRedoScene(WalkRunner *walk, QWidget *window, const std::function<QWidget *()> &page,
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
        // Above the button: the bar stands at the foot of the window.
        QToolTip::showText(undo->mapToGlobal(QPoint(0, -2 * undo->fontMetrics().height())),
                           undo->toolTip(), undo, QRect(), 10000);
    });
    walk->pause(QStringLiteral("let the tool tip paint"), 150);
    walk->screenshotOver(name, [window] { return window; });
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
    // The refusals, the restart and the presets need a server the page lists from its start.
    if ((walkOptions.refusals || walkOptions.reconnect || walkOptions.presets)
        && !DATACore::UserManagerCore::instance()->AddServer(
                QStringLiteral("Simulated wall"), QStringLiteral("127.0.0.1"), QString(), QString(),
                host.simulator()->x86Port(), SERVERTYPE_X86_DIGITALMATRIX)) {
        std::fprintf(stderr, "demo-walk: cannot store the X86 server\n");
        return 1;
    }
    QString error;
    if (walkOptions.onAir && !OnAirScenes::prepareMatrices(&host, &error)) {
        std::fprintf(stderr, "demo-walk: %s\n", qPrintable(error));
        return 1;
    }
    if (walkOptions.refusals
        && !DATACore::UserManagerCore::instance()->AddServer(
                QStringLiteral("Control room"), QStringLiteral("127.0.0.1"),
                QStringLiteral("admin"), QStringLiteral("admin"), host.simulator()->linuxPort(),
                SERVERTYPE_LINUX_DIGITALMATRIX)) {
        std::fprintf(stderr, "demo-walk: cannot store the Linux server\n");
        return 1;
    }

    DemoMainWindow window(&host);
    // The smallest screen the console is made for.
    window.setGeometry(0, 0, 1280, 720);
    window.show();
    WalkRunner walk(out);
    if (walkOptions.refusals) {
        addRefusalSteps(&walk, &window, &host);
        addTakeoverSteps(&walk, &window, &host);
        addLinuxWatchSteps(&walk, &window, &host);
        return runWalk(&app, &walk, out);
    }
    if (walkOptions.onAir) {
        OnAirScenes::addSteps(&walk, &window, &host);
        return runWalk(&app, &walk, out);
    }
    if (walkOptions.reconnect) {
        addReconnectSteps(&walk, &window, &host);
        return runWalk(&app, &walk, out);
    }
    if (walkOptions.presets) {
        addPresetSteps(&walk, &window, &host);
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
        walk.screenshotOver(name, [&] { return static_cast<QWidget *>(&window); });
    };
    auto wallWindow = [&window](bool linuxWall) -> QWidget * {
        return linuxWall ? static_cast<QWidget *>(window.linuxWall())
                         : static_cast<QWidget *>(window.x86Wall());
    };
    // A step whose point is what the matrix shows: the host window and, as <name>-simulated, the
    // simulated wall beside it.
    auto shotWithWall = [&](const QString &name, bool linuxWall) {
        shot(name);
        walk.screenshot(name + QStringLiteral("-simulated"),
                        [&wallWindow, linuxWall] { return wallWindow(linuxWall); });
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
    shotWithWall(QStringLiteral("04-x86-wall"), false);

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
    shotWithWall(QStringLiteral("06-x86-turn-show-first-page"), false);
    walk.pause(QStringLiteral("watch the X86 wall turn"), 10000);
    shotWithWall(QStringLiteral("07-x86-turn-show-second-page"), false);
    walk.screenshot(QStringLiteral("x86-page"), [&] { return static_cast<QWidget *>(&window); });
    addUndoRedoScene(&walk, &window, x86Page, "_undoBtn", QStringLiteral("x86-undo-redo"));
    // Stopping every turn show is asked first; "No" keeps them turning.
    auto askedAndDeclined = [&](const QString &name, const std::function<QWidget *()> &opener) {
        walk.then(QStringLiteral("ask to stop every turn show"), [opener] { click(opener()); });
        walk.step(
                QStringLiteral("the question is asked"),
                [] { return WalkRunner::modal("COMMONUSELIB::MessageBoxW") != nullptr; }, [] {});
        walk.pause(QStringLiteral("let the box paint"), 300);
        walk.screenshotOver(name, [&] { return static_cast<QWidget *>(&window); });
        walk.then(QStringLiteral("keep the turn shows"),
                  [] { WalkRunner::clickIn(WalkRunner::modal(), "noBt"); });
        walk.step(
                QStringLiteral("the question is gone"), [] { return !WalkRunner::modal(); }, [] {});
    };
    askedAndDeclined(QStringLiteral("x86-stop-all-turns"),
                     [&] { return child(x86Page(), "_stopAllTurnsBtn"); });

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
    shotWithWall(QStringLiteral("10-linux-numbers-on-the-wall"), true);
    // The simulated screens hang as 2 1 / 4 3: drag the numbers until the grid says the same.
    walk.then(QStringLiteral("drag number 2 onto number 1"),
              [&] { dragNumber(child(linuxPage(), "adjustCellNumWdt"), 0, 1); });
    walk.pause(QStringLiteral("look"), 400);
    walk.then(QStringLiteral("drag number 4 onto number 3"),
              [&] { dragNumber(child(linuxPage(), "adjustCellNumWdt"), 2, 3); });
    walk.pause(QStringLiteral("look"), 400);
    shotWithWall(QStringLiteral("11-linux-numbers-matched"), true);
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
    shotWithWall(QStringLiteral("12-linux-arranged"), true);

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
    shotWithWall(QStringLiteral("15-linux-turn-show-first-page"), true);
    walk.pause(QStringLiteral("watch the Linux wall turn"), 5000);
    shotWithWall(QStringLiteral("16-linux-turn-show-second-page"), true);
    walk.screenshot(QStringLiteral("linux-page"), [&] { return static_cast<QWidget *>(&window); });
    addUndoRedoScene(&walk, &window, linuxPage, "undoLayoutBt", QStringLiteral("linux-undo-redo"));
    askedAndDeclined(QStringLiteral("linux-stop-all-turns"),
                     [&] { return child(linuxPage(), "stopAllTurnsBt"); });

    // ---- The wall kept as a preset, and the preset menu listing it. ----
    auto presetMenu = [&]() -> QMenu * {
        auto *menu = linuxPage() ? linuxPage()->findChild<QMenu *>(QStringLiteral("presetMenu"))
                                 : nullptr;
        return menu && menu->isVisible() ? menu : nullptr;
    };
    walk.then(QStringLiteral("open the preset menu"),
              [&] { click(child(linuxPage(), "presetsBt")); });
    walk.step(
            QStringLiteral("the preset menu is open"), [&] { return presetMenu() != nullptr; },
            [&] {
                QMenu *menu = presetMenu();
                QAction *save = menu->findChild<QAction *>(QStringLiteral("savePresetAction"));
                menu->hide();
                save->trigger();
            });
    walk.step(
            QStringLiteral("the preset is named"),
            [] { return WalkRunner::modal("QInputDialog") != nullptr; },
            [] {
                QWidget *dialog = WalkRunner::modal();
                typeInto(dialog->findChild<QLineEdit *>(), QStringLiteral("Evening shift"));
                QTest::keyClick(dialog->findChild<QLineEdit *>(), Qt::Key_Return);
            });
    walk.step(
            QStringLiteral("the preset is kept"), [] { return !WalkRunner::modal(); },
            [&] { click(child(linuxPage(), "presetsBt")); });
    walk.step(
            QStringLiteral("the preset menu lists it"),
            [&] { return presetMenu() && presetMenu()->actions().size() > 2; }, [] {});
    walk.pause(QStringLiteral("let the menu paint"), 300);
    walk.screenshotOver(QStringLiteral("linux-preset-menu"),
                        [&] { return static_cast<QWidget *>(&window); });
    walk.then(QStringLiteral("close the preset menu"), [&] {
        if (QMenu *menu = presetMenu())
            menu->hide();
    });

    // ---- Two more dialogs of the Linux page, opened and closed again. ----
    auto dialogPicture = [&](const QString &name, const WalkRunner::Action &open,
                             const char *className, const char *closeButton) {
        walk.then(QStringLiteral("open ") + name, open);
        walk.step(
                QStringLiteral("the dialog is open"),
                [className] { return WalkRunner::modal(className) != nullptr; }, [] {});
        walk.pause(QStringLiteral("let the dialog paint"), 300);
        walk.screenshotOver(name, [&] { return static_cast<QWidget *>(&window); });
        walk.then(QStringLiteral("close the dialog"),
                  [closeButton] { WalkRunner::clickIn(WalkRunner::modal(), closeButton); });
        walk.step(
                QStringLiteral("the dialog is gone"), [] { return !WalkRunner::modal(); }, [] {});
    };
    dialogPicture(
            QStringLiteral("linux-upgrade-dialog"), [&] { click(child(linuxPage(), "upgradeBt")); },
            "LUMO_DIGITALMATRIX_MODULE::LinuxMatrixUpgradeDlg", "cancelBt");
    dialogPicture(
            QStringLiteral("linux-check-channels"),
            [&] {
                if (auto *check = linuxPage()->findChild<QAction *>(
                            QStringLiteral("checkChannelsAction")))
                    check->trigger();
            },
            "LUMO_DIGITALMATRIX_MODULE::CellChannelsCheckDlg", "closeBt");
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
