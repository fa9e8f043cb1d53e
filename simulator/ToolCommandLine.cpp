#include "ToolCommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

void ToolCommandLine::addStandardOptions(QCommandLineParser *parser)
{
    parser->addHelpOption();
    parser->addVersionOption();
}

ToolCommandLine::Outcome ToolCommandLine::start(QCommandLineParser *parser,
                                                const QStringList &arguments, QString *message)
{
    if (!parser->parse(arguments)) {
        *message = parser->errorText();
        return Error;
    }
    if (parser->isSet(QStringLiteral("help")) || parser->isSet(QStringLiteral("help-all"))) {
        *message = parser->helpText();
        return ShowHelp;
    }
    if (parser->isSet(QStringLiteral("version")))
        return ShowVersion;
    if (!parser->positionalArguments().isEmpty()) {
        *message = QStringLiteral("unexpected argument: %1")
                           .arg(parser->positionalArguments().first());
        return Error;
    }
    return Run;
}

ToolCommandLine::Outcome ToolCommandLine::refuse(const QCommandLineOption &option,
                                                 const QString &value, QString *message)
{
    *message = QStringLiteral("bad value for --%1: \"%2\"").arg(option.names().first(), value);
    return Error;
}

bool ToolCommandLine::number(const QString &text, int minimum, int maximum, int *value)
{
    bool ok = false;
    const int parsed = text.toInt(&ok);
    if (!ok || parsed < minimum || parsed > maximum)
        return false;
    *value = parsed;
    return true;
}

bool ToolCommandLine::port(const QString &text, int *value)
{
    return number(text, 0, 65535, value);
}
