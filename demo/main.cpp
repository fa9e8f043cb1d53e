// matrix-client: the demo host of the digital matrix module.
#include "DemoCommandLine.h"
#include "DemoHost.h"
#include "DemoMainWindow.h"

#include "MatrixModuleConfig.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QStyleFactory>

#include <cstdio>

namespace {

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("matrix-client"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DM_DEMO_VERSION));
}

// Qt cannot open a window without a display; say how to get one instead of aborting.
bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY")
            || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
            || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char *argv[])
{
    // The command line is read before any window system is touched, so that --help and
    // mistakes are answered on a machine without a display too.
    DemoOptions options;
    QString message;
    DemoCommandLine::Outcome outcome = DemoCommandLine::Error;
    {
        QCoreApplication probe(argc, argv);
        nameApplication();
        outcome = DemoCommandLine::parse(probe.arguments(), &options, &message);
    }
    switch (outcome) {
    case DemoCommandLine::ShowHelp:
        std::fputs(qPrintable(message), stdout);
        return 0;
    case DemoCommandLine::ShowVersion:
        std::printf("matrix-client %s\n", DM_DEMO_VERSION);
        return 0;
    case DemoCommandLine::Error:
        std::fprintf(stderr, "matrix-client: %s\n", qPrintable(message));
        std::fprintf(stderr, "Try 'matrix-client --help'.\n");
        return 2;
    case DemoCommandLine::Run:
        break;
    }
    if (!hasDisplay()) {
        std::fprintf(stderr,
                     "matrix-client: no display. Run it under a virtual one, for example:\n"
                     "  xvfb-run -a -s \"-screen 0 1920x1080x24\" matrix-client\n");
        return 1;
    }

    QApplication app(argc, argv);
    // The module's debug lines are for its developers; the host log has what a host keeps.
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false\ndm.*.debug=false"));
    nameApplication();
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    DemoHost host;
    if (!host.start(options)) {
        std::fprintf(stderr, "matrix-client: %s\n", qPrintable(host.errorString()));
        QMessageBox::critical(nullptr, QStringLiteral("matrix-client"), host.errorString());
        return 1;
    }
    for (const QString &warning : host.warnings())
        std::fprintf(stderr, "matrix-client: %s\n", qPrintable(warning));
    std::printf("matrix-client: data centre %s%s\n", qPrintable(host.dataFile()),
                host.importedSite() ? " (sample site imported)" : "");
    std::fflush(stdout);

    // The host's one start-up call into the module, before any page exists.
    LUMO_DIGITALMATRIX_MODULE::MatrixModuleConfig::instance();

    DemoMainWindow window(&host);
    window.show();
    if (options.showWall)
        window.showSimulatedWalls();
    return app.exec();
}
