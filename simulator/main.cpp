// matrix-sim: runs the matrix simulator until it is interrupted (or, with --show-wall, until
// its last wall window is closed).
#include "MatrixSimulator.h"
#include "SimulatedWallWindow.h"
#include "SimulatorCommandLine.h"

#include <QApplication>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

// Quits the event loop on SIGINT and SIGTERM, so the simulator closes its sockets cleanly.
void quitOnSignals(QCoreApplication *app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, app);
    QObject::connect(notifier, &QSocketNotifier::activated, app, &QCoreApplication::quit);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
}

} // namespace
#endif

// The wall windows need a display; without --show-wall the simulator runs headless.
bool wantsWall(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--show-wall") == 0)
            return true;
        if (std::strcmp(argv[i], "--") == 0)
            break;
    }
    return false;
}

int main(int argc, char *argv[])
{
    std::unique_ptr<QCoreApplication> application;
    if (wantsWall(argc, argv))
        application = std::make_unique<QApplication>(argc, argv);
    else
        application = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication &app = *application;
    QCoreApplication::setApplicationName(QStringLiteral("matrix-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DM_SIMULATOR_VERSION));

    MatrixSimulatorOptions options;
    MatrixSimulatorFaults faults;
    SimulatorWallOptions wall;
    QString message;
    switch (SimulatorCommandLine::parse(app.arguments(), &options, &faults, &message, &wall)) {
    case SimulatorCommandLine::ShowHelp:
        std::fputs(qPrintable(message), stdout);
        return 0;
    case SimulatorCommandLine::ShowVersion:
        std::printf("matrix-sim %s\n", DM_SIMULATOR_VERSION);
        return 0;
    case SimulatorCommandLine::Error:
        std::fprintf(stderr, "matrix-sim: %s\n", qPrintable(message));
        std::fprintf(stderr, "Try 'matrix-sim --help'.\n");
        return 2;
    case SimulatorCommandLine::Run:
        break;
    }
    LinuxWallHang hang;
    if (!wall.linuxHang.isEmpty() && !LinuxWallHang::parse(wall.linuxHang, &hang, &message)) {
        std::fprintf(stderr, "matrix-sim: bad value for --linux-wall: %s\n", qPrintable(message));
        return 2;
    }

    MatrixSimulator simulator;
    simulator.setFaults(faults);
    if (!simulator.start(options)) {
        std::fprintf(stderr, "matrix-sim: %s\n", qPrintable(simulator.errorString()));
        return 1;
    }
    const QString address = options.listenAddress.toString();
    std::printf("matrix-sim: X86 matrix %s, Linux matrix %s, state %s\n",
                simulator.x86Port()
                        ? qPrintable(QStringLiteral("%1:%2").arg(address).arg(simulator.x86Port()))
                        : "off",
                simulator.linuxPort() ? qPrintable(
                        QStringLiteral("%1:%2").arg(address).arg(simulator.linuxPort()))
                                      : "off",
                options.stateFile.isEmpty() ? "in memory" : qPrintable(options.stateFile));
    std::fflush(stdout);
#ifdef Q_OS_UNIX
    quitOnSignals(&app);
#endif
    std::vector<std::unique_ptr<SimulatedWallWindow>> windows;
    if (wall.show) {
        int left = 40;
        if (simulator.x86Port()) {
            windows.push_back(std::make_unique<SimulatedWallWindow>(
                    &simulator, SimulatedWallWindow::X86Matrix));
        }
        if (simulator.linuxPort()) {
            windows.push_back(std::make_unique<SimulatedWallWindow>(
                    &simulator, SimulatedWallWindow::LinuxMatrix));
            windows.back()->setLinuxHang(hang);
        }
        for (const auto &window : windows) {
            window->move(left, 40);
            window->show();
            left += window->width() + 20;
        }
    }
    const int code = app.exec();
    windows.clear();
    simulator.stop();
    return code;
}
