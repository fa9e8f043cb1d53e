#include "WalkCommandLine.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace {

struct Parser
{
    QCommandLineParser parser;
    QCommandLineOption out {QStringLiteral("out"), QStringLiteral("Folder for the screenshots."),
                            QStringLiteral("dir"), QStringLiteral(".")};
    QCommandLineOption language {QStringLiteral("lang"), QStringLiteral("Language: en or zh_cn."),
                                 QStringLiteral("language"), QStringLiteral("en")};
    QCommandLineOption x86Port {QStringLiteral("x86-port"),
                                QStringLiteral("Port of the X86 matrix (0 picks a free port)."),
                                QStringLiteral("port"), QStringLiteral("9010")};
    QCommandLineOption linuxPort {QStringLiteral("linux-port"),
                                  QStringLiteral("Port of the Linux matrix (0 picks a free port)."),
                                  QStringLiteral("port"), QStringLiteral("6000")};
    QCommandLineOption refusals {
            QStringLiteral("refusals"),
            QStringLiteral("Picture the X86 page's messages when the matrix refuses a window "
                           "move, a split and the screen count, instead of the first session.")};
    QCommandLineOption onAir {
            QStringLiteral("on-air"),
            QStringLiteral("Picture both pages with a turn show running and the X86 page waiting "
                           "for its login, instead of the first session.")};
    QCommandLineOption reconnect {
            QStringLiteral("reconnect"),
            QStringLiteral("Picture the X86 page counting down to connecting again after its "
                           "matrix restarted, instead of the first session.")};
    QCommandLineOption presets {
            QStringLiteral("presets"),
            QStringLiteral("Picture the X86 page's preset menu and a camera dragged onto a "
                           "window, instead of the first session.")};

    Parser()
    {
        parser.setApplicationDescription(
                QStringLiteral("Scripted first session of the demo host."));
        ToolCommandLine::addStandardOptions(&parser);
        parser.addOptions({out, language, x86Port, linuxPort, refusals, onAir, reconnect, presets});
    }
};

} // namespace

QString WalkCommandLine::helpText()
{
    Parser parser;
    return parser.parser.helpText();
}

WalkCommandLine::Outcome WalkCommandLine::parse(const QStringList &arguments, WalkOptions *options,
                                                QString *message)
{
    Parser p;
    const Outcome outcome = start(&p.parser, arguments, message);
    if (outcome != Run)
        return outcome;
    WalkOptions parsed;
    parsed.out = p.parser.value(p.out);
    if (parsed.out.trimmed().isEmpty())
        return refuse(p.out, parsed.out, message);
    // Written as the demo host takes it: "zh-CN" is "zh_cn".
    parsed.language = p.parser.value(p.language)
                              .trimmed()
                              .toLower()
                              .replace(QLatin1Char('-'), QLatin1Char('_'));
    static const QRegularExpression name(QStringLiteral("^[a-z]{2,3}(_[a-z0-9]{2,8})*$"));
    if (!name.match(parsed.language).hasMatch())
        return refuse(p.language, p.parser.value(p.language), message);
    if (!port(p.parser.value(p.x86Port), &parsed.x86Port))
        return refuse(p.x86Port, p.parser.value(p.x86Port), message);
    if (!port(p.parser.value(p.linuxPort), &parsed.linuxPort))
        return refuse(p.linuxPort, p.parser.value(p.linuxPort), message);
    if (parsed.x86Port != 0 && parsed.x86Port == parsed.linuxPort) {
        *message = QStringLiteral("--x86-port and --linux-port name the same port %1")
                           .arg(parsed.x86Port);
        return Error;
    }
    parsed.refusals = p.parser.isSet(p.refusals);
    parsed.onAir = p.parser.isSet(p.onAir);
    parsed.reconnect = p.parser.isSet(p.reconnect);
    parsed.presets = p.parser.isSet(p.presets);
    if (int(parsed.refusals) + int(parsed.onAir) + int(parsed.reconnect) + int(parsed.presets)
        > 1) {
        *message = QStringLiteral("--refusals, --on-air, --reconnect and --presets are different "
                                  "walks: give one");
        return Error;
    }
    *options = parsed;
    return Run;
}
