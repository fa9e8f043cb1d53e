// Command line of matrix-client, the demo host.
#pragma once

#include "DemoOptions.h"
#include "ToolCommandLine.h"

#include <QString>
#include <QStringList>

class DemoCommandLine : public ToolCommandLine
{
public:
    // Parses the arguments (program name first). On Error, message says what is wrong; on
    // ShowHelp it holds the help text. Relative paths are kept as given.
    static Outcome parse(const QStringList &arguments, DemoOptions *options, QString *message);
    static QString helpText();
};
