// matrix-sim: runs the matrix simulator until it is interrupted.
#include "MatrixSimulator.h"
#include "SimulatorCommandLine.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>

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

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("matrix-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DM_SIMULATOR_VERSION));

    MatrixSimulatorOptions options;
    MatrixSimulatorFaults faults;
    QString message;
    switch (SimulatorCommandLine::parse(app.arguments(), &options, &faults, &message)) {
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
    const int code = app.exec();
    simulator.stop();
    return code;
}
