#include "OnAirScenes.h"

#include "WalkRunner.h"

#include "DemoHost.h"
#include "DemoMainWindow.h"

#include "CellChannelItem.h"
#include "DigitalMatrixConfigPage.h"
#include "DigitalMatrixInteractionPort.h"
#include "IBaseMatrixConfig.h"
#include "IMatrixConfig.h"
#include "MatrixProtocol.h"
#include "MatrixSimulator.h"
#include "ServerConfig.h"
#include "UserManagerCore.h"
#include "WaitDialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QtTest>

#include <atomic>
#include <cstring>
#include <functional>
#include <vector>

using LUMO_DIGITALMATRIX_MODULE::CellChannelItem;
using LUMO_DIGITALMATRIX_MODULE::DigitalMatrixInteractionPort;

namespace OnAirScenes {
namespace {

constexpr int X86Wall = 2; // rows and columns of the X86 wall

QWidget *child(QWidget *root, const char *name)
{
    return root ? root->findChild<QWidget *>(QLatin1String(name)) : nullptr;
}

void click(QWidget *root, const char *name)
{
    if (auto *button = root ? root->findChild<QAbstractButton *>(QLatin1String(name)) : nullptr)
        QTest::mouseClick(button, Qt::LeftButton);
}

std::vector<_ST_ChnInfo> sources(const QStringList &names)
{
    std::vector<_ST_ChnInfo> list(std::size_t(names.size()));
    for (int i = 0; i < names.size(); ++i) {
        std::memset(&list[std::size_t(i)], 0, sizeof(_ST_ChnInfo));
        qstrncpy(list[std::size_t(i)].channelName, names.at(i).toLatin1().constData(),
                 sizeof(list[std::size_t(i)].channelName));
        list[std::size_t(i)].sequence = i + 1;
    }
    return list;
}

// Another X86 workstation: logs in with the matrix's account, arranges the wall and leaves.
bool prepareX86(int port, QString *error)
{
    struct Status
    {
        std::atomic<int> type {-1};
        static void MATRIX_CALLBACK onStatus(void *ctx, int type)
        {
            static_cast<Status *>(ctx)->type = type;
        }
        static void MATRIX_CALLBACK onInfo(void *, int, int, int) { }
        static void MATRIX_CALLBACK onLayout(void *, _MIRRORLAYOUT *) { }
        static void MATRIX_CALLBACK onResult(void *, int, int) { }
        static void MATRIX_CALLBACK onReserved(void *) { }
    } status;
    IMatrixConfig *config = GetMatrixConfig();
    config->RegisterCallbacks(&status, &Status::onStatus, &Status::onInfo, &Status::onLayout,
                              &Status::onResult, &Status::onReserved);
    config->Connect("127.0.0.1", port);
    const auto tour = sources({"Lobby entrance", "Lobby desk", "Lift hall", "Stairs north",
                               "Car park ramp", "Loading bay"});
    const auto fixed = sources({"Gate north barrier camera"});
    const auto second = sources({"Roof east", "Roof west"});
    const bool done = QTest::qWaitFor([&status] { return status.type.load() != -1; }, 5000)
            && status.type.load() == ConnSuccess && config->Login("", "") == 0
            && config->SetScreenCount(X86Wall, X86Wall) == 0 && config->SetMonitorSplit(0, 4) == 0
            && config->SetMonitorTurnSources(0, tour.data(), int(tour.size()), 20) == 0
            && config->SetTurnState(0, 1) == 0
            && config->SetMonitorSources(3, fixed.data(), int(fixed.size())) == 0
            && config->SetMonitorTurnSources(1, second.data(), int(second.size()), 15) == 0;
    config->Disconnect();
    ReleaseMatrixConfig(config);
    if (!done)
        *error = QStringLiteral("the X86 matrix refused the wall of another operator");
    return done;
}

// Another Linux workstation: a wall of 1 x 2 whose first cell holds the site's first six
// channels in four panes.
bool prepareLinux(int port, QString *error)
{
    const ScreenRegion grid[2] = {{0, 0, 0, 0, DigitalMatrixInteractionPort::ScreenUnit,
                                   DigitalMatrixInteractionPort::ScreenUnit},
                                  {1, 0, DigitalMatrixInteractionPort::ScreenUnit, 0,
                                   DigitalMatrixInteractionPort::ScreenUnit,
                                   DigitalMatrixInteractionPort::ScreenUnit}};
    std::vector<CellChannelRecord> records;
    for (int k = 0; k < 6; ++k) {
        CellChannelItem item;
        item.channelId = QStringLiteral("dev-nvr-hq-ch%1").arg(k + 1, 2, 10, QLatin1Char('0'));
        item.position = k;
        records.push_back(DigitalMatrixInteractionPort::buildCellChannelRecord(item, 1));
        if (records.back().protocol[0] == 0)
            qstrncpy(records.back().protocol, "qbz", sizeof(records.back().protocol));
    }
    IBaseMatrixConfig *config = CreateBaseMatrixConfig();
    const bool done = config->Login(1, "admin", "admin", "127.0.0.1", port) == 0
            && config->StartSession() == 0 && config->SaveRowColumn(1, 2) == 0
            && config->SetScreenGrid(grid, 2) == 0
            && config->SetCellChannels(0, records.data(), int(records.size()), 4) == 0;
    config->Disconnect();
    ReleaseBaseMatrixConfig(config);
    if (!done)
        *error = QStringLiteral("the Linux matrix refused the wall of another operator");
    return done;
}

int mirrorCount(QWidget *wall)
{
    if (!wall)
        return 0;
    int count = 0;
    for (QWidget *widget : wall->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (widget->inherits("LUMO_DIGITALMATRIX_MODULE::MirrorWidget") && widget->isVisible())
            ++count;
    }
    return count;
}

// The host window with the page as a person sees it, the wait box over it when one is up.
void picture(WalkRunner *walk, const std::function<QWidget *()> &page, const QString &name)
{
    walk->pause(QStringLiteral("let the page paint"), 300);
    walk->screenshotOver(name, [page] { return page()->window(); });
}

} // namespace

bool prepareMatrices(DemoHost *host, QString *error)
{
    MatrixSimulator *simulator = host->simulator();
    DATACore::UserManagerCore *core = DATACore::UserManagerCore::instance();
    if (!prepareX86(simulator->x86Port(), error) || !prepareLinux(simulator->linuxPort(), error))
        return false;
    if (!core->AddServer(QStringLiteral("Simulated wall"), QStringLiteral("127.0.0.1"), QString(),
                         QString(), simulator->x86Port(), SERVERTYPE_X86_DIGITALMATRIX)
        || !core->AddServer(QStringLiteral("Control room"), QStringLiteral("127.0.0.1"),
                            QStringLiteral("admin"), QStringLiteral("admin"),
                            simulator->linuxPort(), SERVERTYPE_LINUX_DIGITALMATRIX)) {
        *error = QStringLiteral("cannot store the servers");
        return false;
    }
    return true;
}

void addSteps(WalkRunner *walk, DemoMainWindow *window, DemoHost *host)
{
    MatrixSimulator *simulator = host->simulator();
    QWidget *page = window->configPage();
    const auto x86Page = [page] { return child(page, "x86MatrixPage"); };
    const auto linuxPage = [page] { return child(page, "linuxMatrixPage"); };
    COMMONUSELIB::WaitDialog *wait = COMMONUSELIB::WaitDialog::getInstance();

    // ---- The X86 wall with its turn shows. ----
    walk->step(
            QStringLiteral("the X86 page lists the server"),
            [window, x86Page] {
                return QTest::qWaitForWindowExposed(window, 10) && WalkRunner::isShown(x86Page())
                        && WalkRunner::isShown(child(x86Page(), "_serverSelectBtn"));
            },
            [x86Page] { click(x86Page(), "_connectMatrixBtn"); });
    walk->step(
            QStringLiteral("the wall shows the four windows the matrix holds"),
            [x86Page] { return mirrorCount(child(x86Page(), "_virtualServerWdt")) == 4; },
            [simulator] { simulator->stepTurnShows(); });
    walk->step(
            QStringLiteral("window 1 shows its second page"),
            [simulator] {
                const SimX86State state = simulator->x86State();
                return !state.windows.isEmpty() && state.windows.first().turnPage == 1;
            },
            [] {});
    walk->pause(QStringLiteral("the page follows the matrix"), 800);
    picture(walk, x86Page, QStringLiteral("x86-turn-show"));

    // ---- The X86 page waits for a login the matrix does not answer. ----
    walk->then(QStringLiteral("leave the X86 matrix"),
               [x86Page] { click(x86Page(), "_connectMatrixBtn"); });
    walk->step(
            QStringLiteral("the page has left the matrix"),
            [simulator] { return simulator->x86State().operators.isEmpty(); },
            [simulator, x86Page] {
                MatrixSimulatorFaults faults;
                faults.unansweredRequests = {quint16(MatrixProtocol::X86Login)};
                simulator->setFaults(faults);
                click(x86Page(), "_connectMatrixBtn");
            });
    walk->step(
            QStringLiteral("the page waits for the login"),
            [wait] { return wait->isWaiting() && wait->isWaitCancellable() && wait->isVisible(); },
            [] {});
    picture(walk, x86Page, QStringLiteral("x86-login-wait"));
    walk->then(QStringLiteral("cancel the wait"), [wait] { click(wait, "waitCancelButton"); });
    walk->step(
            QStringLiteral("the wait is over"), [wait] { return !wait->isWaiting(); },
            [simulator] { simulator->setFaults(MatrixSimulatorFaults()); });

    // ---- A Linux cell turning through six channels. ----
    walk->then(QStringLiteral("switch to the Linux page"), [window] {
        if (auto *action = window->findChild<QAction *>(QStringLiteral("showLinuxPageAction")))
            action->trigger();
    });
    walk->step(
            QStringLiteral("the Linux page lists the server"),
            [linuxPage] {
                QWidget *server = child(child(linuxPage(), "serverSelWdt"), "serverBt");
                return WalkRunner::isShown(linuxPage()) && WalkRunner::isShown(server);
            },
            [linuxPage] { click(child(linuxPage(), "serverOperWdt"), "connectServerBt"); });
    const auto cell = [linuxPage] {
        return child(child(linuxPage(), "configChannelsWdt"), "channelCell0");
    };
    walk->step(
            QStringLiteral("the page shows the cell the matrix holds"),
            [cell] { return WalkRunner::isShown(cell()); },
            [cell] {
                if (auto *start =
                            cell()->findChild<QAction *>(QStringLiteral("turnShowStartAction")))
                    start->trigger();
            });
    walk->step(
            QStringLiteral("the cell's turn show runs"),
            [simulator] { return simulator->linuxState().cells.value(0).turnState == 0; },
            [simulator] { simulator->stepTurnShows(); });
    walk->step(
            QStringLiteral("the cell shows its second page"),
            [simulator] { return simulator->linuxState().cells.value(0).turnPage == 1; }, [] {});
    walk->pause(QStringLiteral("the page follows the matrix"), 800);
    picture(walk, linuxPage, QStringLiteral("linux-turn-show"));
}

} // namespace OnAirScenes
