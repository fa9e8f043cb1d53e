#include "SimulatorCommandLine.h"

#include "MatrixProtocol.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

namespace {

struct Parser
{
    QCommandLineParser parser;
    QCommandLineOption listen {QStringLiteral("listen"),
                               QStringLiteral("Address to listen on (default 127.0.0.1)."),
                               QStringLiteral("address"), QStringLiteral("127.0.0.1")};
    QCommandLineOption x86Port {QStringLiteral("x86-port"),
                                QStringLiteral("Port of the X86 matrix (default 9010; 0 picks a "
                                               "free port)."),
                                QStringLiteral("port"), QStringLiteral("9010")};
    QCommandLineOption linuxPort {QStringLiteral("linux-port"),
                                  QStringLiteral("Port of the Linux matrix (default 6000; 0 picks "
                                                 "a free port)."),
                                  QStringLiteral("port"), QStringLiteral("6000")};
    QCommandLineOption noX86 {QStringLiteral("no-x86"),
                              QStringLiteral("Switch the X86 matrix off.")};
    QCommandLineOption noLinux {QStringLiteral("no-linux"),
                                QStringLiteral("Switch the Linux matrix off.")};
    QCommandLineOption stateFile {QStringLiteral("state-file"),
                                  QStringLiteral("Keep both walls in this file, rewritten "
                                                 "atomically after every change (default: in "
                                                 "memory only)."),
                                  QStringLiteral("path")};
    QCommandLineOption x86Outputs {QStringLiteral("x86-outputs"),
                                   QStringLiteral("Physical outputs of the X86 matrix, 1..64 "
                                                  "(default 8)."),
                                   QStringLiteral("count"), QStringLiteral("8")};
    QCommandLineOption x86Account {QStringLiteral("x86-account"),
                                   QStringLiteral("An X86 account as user:password; repeatable. "
                                                  "Default: one account with empty user and "
                                                  "password (\":\")."),
                                   QStringLiteral("user:password")};
    QCommandLineOption linuxAccount {QStringLiteral("linux-account"),
                                     QStringLiteral("A Linux account as user:password; "
                                                    "repeatable. Default: admin:admin."),
                                     QStringLiteral("user:password")};
    QCommandLineOption rebootMs {QStringLiteral("reboot-ms"),
                                 QStringLiteral("How long the Linux matrix refuses connections "
                                                "after a reboot, in ms (default 10000)."),
                                 QStringLiteral("ms"), QStringLiteral("10000")};
    QCommandLineOption upgradePolls {QStringLiteral("upgrade-polls"),
                                     QStringLiteral("Status polls a firmware upgrade runs for; "
                                                    "the last one ends it (default 3)."),
                                     QStringLiteral("count"), QStringLiteral("3")};
    QCommandLineOption firmwareVersion {QStringLiteral("firmware-version"),
                                        QStringLiteral("Firmware version of a new Linux matrix "
                                                       "(default 1.0.0)."),
                                        QStringLiteral("version"), QStringLiteral("1.0.0")};
    QCommandLineOption usbFirmware {QStringLiteral("usb-firmware"),
                                    QStringLiteral("File name of the firmware image on the USB "
                                                   "stick, e.g. matrix-2.0.0.bin (default: no "
                                                   "stick)."),
                                    QStringLiteral("name")};
    QCommandLineOption answerDelay {QStringLiteral("answer-delay-ms"),
                                    QStringLiteral("Fault: hold every answer and event this long "
                                                   "(default 0)."),
                                    QStringLiteral("ms"), QStringLiteral("0")};
    QCommandLineOption silent {QStringLiteral("silent"),
                               QStringLiteral("Fault: accept connections but never answer.")};
    QCommandLineOption garbage {QStringLiteral("garbage"),
                                QStringLiteral("Fault: after the handshake answer with bytes "
                                               "that are no frame.")};
    QCommandLineOption refuseX86 {QStringLiteral("refuse-x86"),
                                  QStringLiteral("Fault: refuse this X86 request with -1 (a "
                                                 "name of the log, e.g. X86SetMirrorRect; "
                                                 "repeatable)."),
                                  QStringLiteral("request")};
    QCommandLineOption quiet {QStringLiteral("quiet"),
                              QStringLiteral("Do not log one line per request.")};
    QCommandLineOption showWall {QStringLiteral("show-wall"),
                                 QStringLiteral("Open a window per matrix that shows what its "
                                                "screens show right now (needs a display).")};
    QCommandLineOption linuxWall {QStringLiteral("linux-wall"),
                                  QStringLiteral("How the Linux matrix's screens hang, for "
                                                 "--show-wall: ROWSxCOLUMNS:OUTPUTS, the output "
                                                 "at each position row by row (default "
                                                 "2x2:1,2,3,4)."),
                                  QStringLiteral("hang")};

    Parser()
    {
        parser.setApplicationDescription(QStringLiteral(
                "Matrix simulator: an X86 matrix and a Linux matrix that speak the matrix "
                "protocol (docs/protocol.md, docs/simulator.md)."));
        ToolCommandLine::addStandardOptions(&parser);
        parser.addOptions({listen, x86Port, linuxPort, noX86, noLinux, stateFile, x86Outputs,
                           x86Account, linuxAccount, rebootMs, upgradePolls, firmwareVersion,
                           usbFirmware, answerDelay, silent, garbage, quiet, showWall, linuxWall});
        parser.addOption(refuseX86);
    }
};

bool accounts(const QStringList &texts, QList<SimulatorAccount> *out)
{
    QList<SimulatorAccount> parsed;
    for (const QString &text : texts) {
        const int colon = text.indexOf(QLatin1Char(':'));
        if (colon < 0)
            return false;
        parsed.append({text.left(colon), text.mid(colon + 1)});
    }
    *out = parsed;
    return true;
}

} // namespace

QString SimulatorCommandLine::helpText()
{
    Parser parser;
    return parser.parser.helpText();
}

SimulatorCommandLine::Outcome SimulatorCommandLine::parse(const QStringList &arguments,
                                                          MatrixSimulatorOptions *options,
                                                          MatrixSimulatorFaults *faults,
                                                          QString *message,
                                                          SimulatorWallOptions *wall)
{
    Parser p;
    const Outcome outcome = start(&p.parser, arguments, message);
    if (outcome != Run)
        return outcome;

    MatrixSimulatorOptions parsed;
    MatrixSimulatorFaults faultsParsed;
    auto refuse = [message](const QCommandLineOption &option, const QString &value) {
        return ToolCommandLine::refuse(option, value, message);
    };
    if (!parsed.listenAddress.setAddress(p.parser.value(p.listen)))
        return refuse(p.listen, p.parser.value(p.listen));
    if (!port(p.parser.value(p.x86Port), &parsed.x86Port))
        return refuse(p.x86Port, p.parser.value(p.x86Port));
    if (!port(p.parser.value(p.linuxPort), &parsed.linuxPort))
        return refuse(p.linuxPort, p.parser.value(p.linuxPort));
    if (p.parser.isSet(p.noX86))
        parsed.x86Port = -1;
    if (p.parser.isSet(p.noLinux))
        parsed.linuxPort = -1;
    parsed.stateFile = p.parser.value(p.stateFile);
    if (!number(p.parser.value(p.x86Outputs), 1, 64, &parsed.x86Outputs))
        return refuse(p.x86Outputs, p.parser.value(p.x86Outputs));
    if (p.parser.isSet(p.x86Account)
        && !accounts(p.parser.values(p.x86Account), &parsed.x86Accounts))
        return refuse(p.x86Account, p.parser.values(p.x86Account).join(QLatin1Char(' ')));
    if (p.parser.isSet(p.linuxAccount)
        && !accounts(p.parser.values(p.linuxAccount), &parsed.linuxAccounts)) {
        return refuse(p.linuxAccount, p.parser.values(p.linuxAccount).join(QLatin1Char(' ')));
    }
    if (!number(p.parser.value(p.rebootMs), 0, 3600000, &parsed.rebootMs))
        return refuse(p.rebootMs, p.parser.value(p.rebootMs));
    if (!number(p.parser.value(p.upgradePolls), 1, 1000, &parsed.upgradePolls))
        return refuse(p.upgradePolls, p.parser.value(p.upgradePolls));
    parsed.firmwareVersion = p.parser.value(p.firmwareVersion);
    static const QRegularExpression versionPattern(QStringLiteral("^\\d{1,9}(\\.\\d{1,9})*$"));
    if (!versionPattern.match(parsed.firmwareVersion).hasMatch())
        return refuse(p.firmwareVersion, parsed.firmwareVersion);
    parsed.usbFirmware = p.parser.value(p.usbFirmware);
    if (!number(p.parser.value(p.answerDelay), 0, 600000, &faultsParsed.answerDelayMs))
        return refuse(p.answerDelay, p.parser.value(p.answerDelay));
    faultsParsed.silent = p.parser.isSet(p.silent);
    faultsParsed.garbageAnswers = p.parser.isSet(p.garbage);
    for (const QString &name : p.parser.values(p.refuseX86)) {
        quint16 found = 0;
        for (quint16 type = MatrixProtocol::X86Login; type <= MatrixProtocol::X86SetMirrorRect;
             ++type) {
            if (name == QLatin1String(MatrixProtocol::messageName(type)))
                found = type;
        }
        if (found == 0)
            return refuse(p.refuseX86, name);
        faultsParsed.refusedRequests.append(found);
    }
    parsed.logRequests = !p.parser.isSet(p.quiet);

    *options = parsed;
    *faults = faultsParsed;
    if (wall) {
        wall->show = p.parser.isSet(p.showWall);
        wall->linuxHang = p.parser.value(p.linuxWall);
    }
    return Run;
}
