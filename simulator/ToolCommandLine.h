// What the command lines of matrix-sim and matrix-client share.
#pragma once

#include <QString>
#include <QStringList>

class QCommandLineOption;
class QCommandLineParser;

class ToolCommandLine
{
public:
    enum Outcome {
        Run,
        ShowHelp,
        ShowVersion,
        Error,
    };

    // Adds the help and version options; call before the tool's own options are added.
    static void addStandardOptions(QCommandLineParser *parser);
    // Parses the arguments (program name first) and answers what does not depend on the
    // tool: Error with the parser's message or for a positional argument, ShowHelp (for
    // --help and --help-all) with the help text, ShowVersion. Run: read the options.
    static Outcome start(QCommandLineParser *parser, const QStringList &arguments,
                         QString *message);
    // Error, with "bad value for --NAME: "VALUE"" in message.
    static Outcome refuse(const QCommandLineOption &option, const QString &value, QString *message);
    // A decimal integer from minimum to maximum.
    static bool number(const QString &text, int minimum, int maximum, int *value);
    // A TCP port to listen on, 0 to 65535 (0 picks a free one).
    static bool port(const QString &text, int *value);
};
