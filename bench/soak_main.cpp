// Soak: connect / layout / disconnect cycles of the X86 page against the matrix simulator,
// then add / edit / delete server cycles on both pages, then watch / stop watching cycles of
// both pages against a matrix-sim process while another console holds the matrix and moves a
// window every cycle (the memory of both sides: this process and the simulator's). Prints the
// resident memory after the first report point and at the end, so that growth shows; under
// valgrind or LeakSanitizer a short run shows whether anything leaks.
//
// Usage: dm_soak [cycles (1000)] [report-at (100)]
#include "BenchSupport.h"
#include "IBaseMatrixConfig.h"

#include "DigitalMatrix.h"
#include "DigitalMatrixInteractionPort.h"
#include "DigitalMatrixServerOperWidget.h"
#include "LinuxDigitalMatrixPage.h"
#include "MatrixManageWidget.h"
#include "ServerConfig.h"
#include "UserManagerCore.h"
#include "WaitDialog.h"

#include "MatrixSimulator.h"
#include "MessageBoxScript.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <functional>
#include <memory>

#include <unistd.h>

using namespace LUMO_DIGITALMATRIX_MODULE;
using DATACore::UserManagerCore;

namespace {

bool waitFor(const std::function<bool()> &done, int timeoutMs = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        // What a running event loop does on its return: objects given to deleteLater()
        // from this loop level go now, not at the end of the run.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

struct Phase
{
    const char *name;
    long rssAtReport = 0;
    long rssAtEnd = 0;
    int cycles = 0;
    double seconds = 0;
};

void report(const Phase &phase, int reportAt)
{
    const double growth = phase.rssAtReport > 0
            ? 100.0 * double(phase.rssAtEnd - phase.rssAtReport) / double(phase.rssAtReport)
            : 0;
    std::printf("soak %s cycles=%d seconds=%.1f rss_after_%d_kb=%ld rss_after_%d_kb=%ld "
                "growth_pct=%.2f\n",
                phase.name, phase.cycles, phase.seconds, reportAt, phase.rssAtReport, phase.cycles,
                phase.rssAtEnd, growth);
    std::fflush(stdout);
}

// Gives the X86 matrix a 2 × 2 arrangement, as an earlier operator would have.
bool arrangeX86(MatrixSimulator &simulator)
{
    IMatrixConfig *config = GetMatrixConfig();
    static std::atomic<int> status {-1};
    status = -1;
    config->RegisterCallbacks(
            nullptr, [](void *, int type) { status = type; }, [](void *, int, int, int) {},
            [](void *, _MIRRORLAYOUT *) {}, [](void *, int, int) {}, [](void *) {});
    config->Connect("127.0.0.1", simulator.x86Port());
    bool ok = waitFor([] { return status.load() != -1; }) && status.load() == ConnSuccess
            && config->Login("", "") == 0 && config->SetScreenCount(2, 2) == 0
            && waitFor([&] { return simulator.x86State().rows == 2; });
    ReleaseMatrixConfig(config);
    return ok && waitFor([&] { return simulator.clientCount() == 0; });
}

bool connectCycles(MatrixSimulator &simulator, int cycles, int reportAt, Phase *phase)
{
    UserManagerCore::instance()->AddServer(QStringLiteral("Soak wall"), QStringLiteral("127.0.0.1"),
                                           QString(), QString(), simulator.x86Port(),
                                           SERVERTYPE_X86_DIGITALMATRIX);
    QCoreApplication::processEvents();
    DigitalMatrix page;
    page.setGeometry(0, 0, 1280, 760);
    page.show();
    if (!waitFor([&] { return !page.currentServerInfo().id.isEmpty(); }))
        return false;
    auto *toggle = page.findChild<QPushButton *>(QStringLiteral("_connectMatrixBtn"));
    auto *wall = page.findChild<MatrixManageWidget *>();
    QElapsedTimer clock;
    clock.start();
    for (int k = 1; k <= cycles; ++k) {
        toggle->click();
        if (!waitFor([&] { return page.isConnected() && wall->getMirrors().size() == 4; })) {
            std::fprintf(stderr, "soak: cycle %d did not connect\n", k);
            return false;
        }
        toggle->click();
        if (!waitFor([&] { return !page.isConnected() && simulator.clientCount() == 0; })) {
            std::fprintf(stderr, "soak: cycle %d did not disconnect\n", k);
            return false;
        }
        if (k == reportAt)
            phase->rssAtReport = Bench::residentKb();
    }
    phase->seconds = clock.elapsed() / 1000.0;
    phase->cycles = cycles;
    phase->rssAtEnd = Bench::residentKb();
    return true;
}

bool serverCycles(int cycles, int reportAt, Phase *phase)
{
    UserManagerCore *dc = UserManagerCore::instance();
    // One server of each kind stays; the cycles add, edit and delete a second one.
    dc->AddServer(QStringLiteral("Kept X86"), QStringLiteral("10.1.0.1"), QString(), QString(),
                  9010, SERVERTYPE_X86_DIGITALMATRIX);
    dc->AddServer(QStringLiteral("Kept Linux"), QStringLiteral("10.2.0.1"), QStringLiteral("admin"),
                  QStringLiteral("admin"), 6000, SERVERTYPE_LINUX_DIGITALMATRIX);
    QCoreApplication::processEvents();
    DigitalMatrix x86Page;
    LinuxDigitalMatrixPage linuxPage;
    x86Page.show();
    linuxPage.show();
    // Each page selects its first server shortly after it is first shown.
    if (!waitFor([&] {
            return x86Page.currentServerInfo().name == QLatin1String("Kept X86")
                    && linuxPage.currentServerIndex() == 0;
        }))
        return false;
    MessageBoxScript boxes(1); // "Delete selected server?" is answered yes
    auto *x86Delete = x86Page.findChild<QPushButton *>(QStringLiteral("_deleteServerBtn"));
    auto *oper =
            linuxPage.findChild<DigitalMatrixServerOperWidget *>(QStringLiteral("serverOperWdt"));
    const auto count = [dc](int type) {
        int n = 0;
        for (const UServerInfo &server : dc->GetServers(QString()))
            n += server.type == type ? 1 : 0;
        return n;
    };
    const auto lastOf = [dc](int type) {
        UServerInfo found;
        for (const UServerInfo &server : dc->GetServers(QString()))
            if (server.type == type)
                found = server;
        return found;
    };

    QElapsedTimer clock;
    clock.start();
    for (int k = 1; k <= cycles; ++k) {
        // X86 page: add (selects the new server), edit, delete the selected one.
        DigitalMatrixServerInfo x86;
        x86.name = QStringLiteral("Cycle %1").arg(k);
        x86.ip = QStringLiteral("10.1.1.%1").arg(1 + k % 200);
        x86.port = 9011;
        x86.matrixKind = DigitalMatrixServerInfo::X86Matrix;
        x86Page.slotAddServerFromPictrueHint(x86);
        if (!waitFor([&] { return x86Page.currentServerInfo().name == x86.name; }))
            return false;
        x86.id = x86Page.currentServerInfo().id;
        x86.name += QStringLiteral(" edited");
        DigitalMatrixInteractionPort::instance()->editServerInDB(x86);
        if (!waitFor([&] { return x86Page.currentServerInfo().name == x86.name; }))
            return false;
        x86Delete->click();
        if (!waitFor([&] { return count(SERVERTYPE_X86_DIGITALMATRIX) == 1; }))
            return false;

        // Linux page: add (selects the new server), edit, delete the selected one.
        DigitalMatrixServerInfo lnx;
        lnx.name = QStringLiteral("Linux cycle %1").arg(k);
        lnx.ip = QStringLiteral("10.2.1.%1").arg(1 + k % 200);
        lnx.port = 6001;
        lnx.user = QStringLiteral("admin");
        lnx.password = QStringLiteral("admin");
        lnx.matrixKind = DigitalMatrixServerInfo::LinuxMatrix;
        linuxPage.slotAddDigitalMatrixServer(lnx);
        if (!waitFor([&] { return linuxPage.matrixServers().size() == 2; }))
            return false;
        lnx.id = lastOf(SERVERTYPE_LINUX_DIGITALMATRIX).id;
        lnx.name += QStringLiteral(" edited");
        DigitalMatrixInteractionPort::instance()->editServerInDB(lnx);
        if (!waitFor([&] {
                return linuxPage.matrixServers().size() == 2
                        && linuxPage.matrixServers().at(1).name == lnx.name;
            }))
            return false;
        oper->deleteButton()->click();
        if (!waitFor([&] { return linuxPage.matrixServers().size() == 1; }))
            return false;
        if (k == reportAt)
            phase->rssAtReport = Bench::residentKb();
    }
    phase->seconds = clock.elapsed() / 1000.0;
    phase->cycles = cycles;
    phase->rssAtEnd = Bench::residentKb();
    return boxes.count() == 2 * cycles;
}

// Resident memory of another process, in kB (-1 when it cannot be read).
long residentKbOf(qint64 pid)
{
    QFile statm(QStringLiteral("/proc/%1/statm").arg(pid));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().simplified().split(' ');
    return fields.size() < 2 ? -1 : fields.at(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024);
}

// Watch / stop watching on both pages, cycles times, against a matrix-sim process whose X86
// matrix another console holds. phase: this process; simulatorPhase: the simulator's.
bool watchCycles(int cycles, int reportAt, Phase *phase, Phase *simulatorPhase)
{
    QProcess sim;
    sim.start(QStringLiteral(DM_MATRIX_SIM),
              {QStringLiteral("--x86-port"), QStringLiteral("0"), QStringLiteral("--linux-port"),
               QStringLiteral("0"), QStringLiteral("--quiet")});
    QByteArray banner;
    if (!sim.waitForStarted() || !waitFor([&] {
            banner += sim.readAllStandardOutput();
            return banner.contains('\n');
        }))
        return false;
    const QRegularExpression ports(
            QStringLiteral("X86 matrix [^:]+:(\\d+), Linux matrix [^:]+:(\\d+)"));
    const QRegularExpressionMatch found = ports.match(QString::fromUtf8(banner));
    if (!found.hasMatch())
        return false;
    const int x86Port = found.captured(1).toInt();
    const int linuxPort = found.captured(2).toInt();
    UserManagerCore *dc = UserManagerCore::instance();
    dc->AddServer(QStringLiteral("Watched X86"), QStringLiteral("127.0.0.1"), QString(), QString(),
                  x86Port, SERVERTYPE_X86_DIGITALMATRIX);
    dc->AddServer(QStringLiteral("Watched Linux"), QStringLiteral("127.0.0.1"),
                  QStringLiteral("admin"), QStringLiteral("admin"), linuxPort,
                  SERVERTYPE_LINUX_DIGITALMATRIX);
    QCoreApplication::processEvents();

    // The holder: arranges the X86 wall and moves a window every cycle.
    IMatrixConfig *holder = GetMatrixConfig();
    static std::atomic<int> status {-1};
    holder->RegisterCallbacks(
            nullptr, [](void *, int type) { status = type; }, [](void *, int, int, int) {},
            [](void *, _MIRRORLAYOUT *) {}, [](void *, int, int) {}, [](void *) {});
    holder->Connect("127.0.0.1", x86Port);
    IBaseMatrixConfig *linuxHolder = CreateBaseMatrixConfig();
    const ScreenRegion whole {0, 0, 0, 0, 1000000, 1000000};
    bool ok = waitFor([] { return status.load() != -1; }) && status.load() == ConnSuccess
            && holder->Login("", "") == 0 && holder->SetScreenCount(2, 2) == 0
            && linuxHolder->Login(1, "admin", "admin", "127.0.0.1", linuxPort) == 0
            && linuxHolder->StartSession() == 0 && linuxHolder->SaveRowColumn(1, 1) == 0
            && linuxHolder->SetScreenGrid(&whole, 1) == 0;
    DigitalMatrix x86Page;
    LinuxDigitalMatrixPage linuxPage;
    x86Page.show();
    linuxPage.show();
    ok = ok && waitFor([&] {
             return !x86Page.currentServerInfo().id.isEmpty()
                     && linuxPage.currentServerIndex() == 0;
         });
    auto *x86Watch = x86Page.findChild<QPushButton *>(QStringLiteral("_watchMatrixBtn"));
    auto *linuxWatch = linuxPage.findChild<QPushButton *>(QStringLiteral("_watchServerBtn"));
    auto *wall = x86Page.findChild<MatrixManageWidget *>();
    QElapsedTimer clock;
    clock.start();
    for (int k = 1; ok && k <= cycles; ++k) {
        RECT rect {100 + k % 100, 100, 1500, 900};
        holder->SetMirrorRect(0, rect);
        x86Watch->click();
        linuxWatch->click();
        ok = waitFor([&] {
            return x86Page.isWatching() && wall->getMirrors().size() == 4 && linuxPage.isWatching();
        });
        x86Watch->click();
        linuxWatch->click();
        ok = ok && waitFor([&] { return !x86Page.isWatching() && !linuxPage.isWatching(); });
        if (!ok)
            std::fprintf(stderr, "soak: watch cycle %d failed\n", k);
        if (k == reportAt) {
            phase->rssAtReport = Bench::residentKb();
            simulatorPhase->rssAtReport = residentKbOf(sim.processId());
        }
    }
    phase->seconds = simulatorPhase->seconds = clock.elapsed() / 1000.0;
    phase->cycles = simulatorPhase->cycles = cycles;
    phase->rssAtEnd = Bench::residentKb();
    simulatorPhase->rssAtEnd = residentKbOf(sim.processId());
    ReleaseMatrixConfig(holder);
    ReleaseBaseMatrixConfig(linuxHolder);
    sim.terminate();
    sim.waitForFinished();
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "*.debug=false;*.info=false");
    QApplication app(argc, argv);
    const int cycles = argc > 1 ? QByteArray(argv[1]).toInt() : 1000;
    const int reportAt = argc > 2 ? QByteArray(argv[2]).toInt() : 100;
    if (cycles < 1 || reportAt < 1 || reportAt > cycles) {
        std::fprintf(stderr, "usage: dm_soak [cycles] [report-at]\n");
        return 2;
    }

    int status = 0;
    {
        QTemporaryDir dir;
        UserManagerCore::instance()->open(dir.filePath(QStringLiteral("soak-connect.db")));
        MatrixSimulator simulator;
        MatrixSimulatorOptions options;
        options.x86Port = 0;
        options.linuxPort = -1;
        options.logRequests = false;
        Phase phase {"connect-layout-disconnect"};
        if (!simulator.start(options) || !arrangeX86(simulator)
            || !connectCycles(simulator, cycles, reportAt, &phase)) {
            std::fprintf(stderr, "soak: connect cycles failed\n");
            status = 1;
        } else {
            report(phase, reportAt);
        }
        DigitalMatrixInteractionPort::instance()->disconnectServer();
        simulator.stop();
        UserManagerCore::instance()->close();
    }
    {
        QTemporaryDir dir;
        UserManagerCore::instance()->open(dir.filePath(QStringLiteral("soak-servers.db")));
        Phase phase {"add-edit-delete"};
        if (!serverCycles(cycles, reportAt, &phase)) {
            std::fprintf(stderr, "soak: server cycles failed\n");
            status = 1;
        } else {
            report(phase, reportAt);
        }
        COMMONUSELIB::WaitDialog::getInstance()->hideWaitDialog();
        UserManagerCore::instance()->close();
    }
    {
        QTemporaryDir dir;
        UserManagerCore::instance()->open(dir.filePath(QStringLiteral("soak-watch.db")));
        Phase phase {"watch-unwatch-client"};
        Phase simulatorPhase {"watch-unwatch-simulator"};
        if (!watchCycles(cycles, reportAt, &phase, &simulatorPhase)) {
            std::fprintf(stderr, "soak: watch cycles failed\n");
            status = 1;
        } else {
            report(phase, reportAt);
            report(simulatorPhase, reportAt);
        }
        DigitalMatrixInteractionPort::instance()->disconnectServer();
        DigitalMatrixInteractionPort::instance()->disconnectLinuxServer();
        UserManagerCore::instance()->close();
    }
    DigitalMatrixInteractionPort::release();
    return status;
}
