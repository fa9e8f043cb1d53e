#include "DemoCommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

namespace {

// Descriptions go through the translation of the running host, so that the help dialog of a
// Chinese host is Chinese; the terminal help is printed before any translation is installed.
QString text(const char *source)
{
    return QCoreApplication::translate("DemoCommandLine", source);
}

struct Parser
{
    QCommandLineParser parser;
    QCommandLineOption data {
            QStringLiteral("data"),
            text(QT_TRANSLATE_NOOP("DemoCommandLine",
                                   "Data centre file (SQLite). Default: datacenter.db "
                                   "in the user's data folder.")),
            QStringLiteral("file")};
    QCommandLineOption noSimulator {
            QStringLiteral("no-simulator"),
            text(QT_TRANSLATE_NOOP("DemoCommandLine",
                                   "Do not start the built-in matrix simulator; "
                                   "connect to a matrix-sim or a real matrix "
                                   "whose address you enter in the server "
                                   "dialog."))};
    QCommandLineOption x86Port {
            QStringLiteral("x86-port"),
            text(QT_TRANSLATE_NOOP("DemoCommandLine",
                                   "Port of the built-in X86 matrix (default 9010; "
                                   "0 picks a free port).")),
            QStringLiteral("port"), QStringLiteral("9010")};
    QCommandLineOption linuxPort {
            QStringLiteral("linux-port"),
            text(QT_TRANSLATE_NOOP("DemoCommandLine",
                                   "Port of the built-in Linux matrix (default "
                                   "6000; 0 picks a free port).")),
            QStringLiteral("port"), QStringLiteral("6000")};
    QCommandLineOption stateFile {
            QStringLiteral("state-file"),
            text(QT_TRANSLATE_NOOP("DemoCommandLine",
                                   "Where the built-in matrices keep their walls. "
                                   "Default: matrix-walls.json beside the data "
                                   "centre.")),
            QStringLiteral("file")};
    QCommandLineOption linuxWall {
            QStringLiteral("linux-wall"),
            text(QT_TRANSLATE_NOOP("DemoCommandLine",
                                   "How the built-in Linux matrix's screens hang "
                                   "on the simulated wall: ROWSxCOLUMNS:OUTPUTS, "
                                   "the output at each position row by row "
                                   "(default 2x2:2,1,4,3).")),
            QStringLiteral("hang")};
    QCommandLineOption language {
            QStringLiteral("lang"),
            text(QT_TRANSLATE_NOOP("DemoCommandLine",
                                   "User-interface language: en or zh_cn. It is "
                                   "kept in the settings for the next start.")),
            QStringLiteral("language")};
    QCommandLineOption showWall {
            QStringLiteral("show-wall"),
            text(QT_TRANSLATE_NOOP("DemoCommandLine",
                                   "Open the simulated walls at start (also in the "
                                   "Matrix menu)."))};
    QCommandLineOption style {QStringLiteral("style"),
                              text(QT_TRANSLATE_NOOP("DemoCommandLine",
                                                     "Style sheet of the host. Default: "
                                                     "config/qss/style_1/style_1.qss of the host "
                                                     "folder.")),
                              QStringLiteral("file")};
    QCommandLineOption noStyle {
            QStringLiteral("no-style"),
            text(QT_TRANSLATE_NOOP("DemoCommandLine", "Use no style sheet (plain Qt look)."))};
    QCommandLineOption site {
            QStringLiteral("site"),
            text(QT_TRANSLATE_NOOP("DemoCommandLine",
                                   "Site (areas, devices, channels, views) to import "
                                   "when the data centre holds no area yet. Default: "
                                   "the sample site.")),
            QStringLiteral("file")};
    QCommandLineOption log {QStringLiteral("log"),
                            text(QT_TRANSLATE_NOOP("DemoCommandLine",
                                                   "Host log file. Default: log/matrix-client.log "
                                                   "beside the data centre.")),
                            QStringLiteral("file")};

    Parser()
    {
        parser.setApplicationDescription(text(QT_TRANSLATE_NOOP(
                "DemoCommandLine",
                "Demo host of the digital matrix module: the module's configuration page with "
                "the host's data centre, settings and log, and a built-in matrix simulator "
                "(an X86 matrix and a Linux matrix on 127.0.0.1).")));
        ToolCommandLine::addStandardOptions(&parser);
        parser.addOptions({data, noSimulator, x86Port, linuxPort, stateFile, linuxWall, language,
                           showWall, style, noStyle, site, log});
    }
};

} // namespace

QString DemoCommandLine::helpText()
{
    Parser parser;
    return parser.parser.helpText();
}

DemoCommandLine::Outcome DemoCommandLine::parse(const QStringList &arguments, DemoOptions *options,
                                                QString *message)
{
    Parser p;
    const Outcome outcome = start(&p.parser, arguments, message);
    if (outcome != Run)
        return outcome;
    auto refuse = [message](const QCommandLineOption &option, const QString &value) {
        return ToolCommandLine::refuse(option, value, message);
    };
    auto path = [&](const QCommandLineOption &option, QString *out) {
        if (!p.parser.isSet(option))
            return true;
        *out = p.parser.value(option);
        return !out->trimmed().isEmpty();
    };

    DemoOptions parsed;
    if (!path(p.data, &parsed.dataFile))
        return refuse(p.data, parsed.dataFile);
    parsed.simulator = !p.parser.isSet(p.noSimulator);
    if (!port(p.parser.value(p.x86Port), &parsed.x86Port))
        return refuse(p.x86Port, p.parser.value(p.x86Port));
    if (!port(p.parser.value(p.linuxPort), &parsed.linuxPort))
        return refuse(p.linuxPort, p.parser.value(p.linuxPort));
    if (parsed.x86Port != 0 && parsed.x86Port == parsed.linuxPort) {
        *message = QStringLiteral("--x86-port and --linux-port name the same port %1")
                           .arg(parsed.x86Port);
        return Error;
    }
    if (!path(p.stateFile, &parsed.stateFile))
        return refuse(p.stateFile, parsed.stateFile);
    parsed.linuxHang = p.parser.value(p.linuxWall);
    if (p.parser.isSet(p.language)) {
        parsed.language = p.parser.value(p.language)
                                  .trimmed()
                                  .toLower()
                                  .replace(QLatin1Char('-'), QLatin1Char('_'));
        static const QRegularExpression name(QStringLiteral("^[a-z]{2,3}(_[a-z0-9]{2,8})*$"));
        if (!name.match(parsed.language).hasMatch())
            return refuse(p.language, p.parser.value(p.language));
    }
    parsed.showWall = p.parser.isSet(p.showWall);
    if (!path(p.style, &parsed.styleFile))
        return refuse(p.style, parsed.styleFile);
    parsed.noStyle = p.parser.isSet(p.noStyle);
    if (parsed.noStyle && !parsed.styleFile.isEmpty()) {
        *message = QStringLiteral("--style and --no-style exclude each other");
        return Error;
    }
    if (!path(p.site, &parsed.siteFile))
        return refuse(p.site, parsed.siteFile);
    if (!path(p.log, &parsed.logFile))
        return refuse(p.log, parsed.logFile);
    if (!parsed.simulator && parsed.showWall) {
        *message = QStringLiteral("--show-wall needs the built-in simulator (leave out "
                                  "--no-simulator, or run matrix-sim --show-wall)");
        return Error;
    }
    *options = parsed;
    return Run;
}
