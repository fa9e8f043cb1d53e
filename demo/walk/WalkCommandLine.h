// Command line of demo-walk, the scripted first session of the demo host.
#pragma once

#include "ToolCommandLine.h"
#include "WalkOptions.h"

#include <QString>
#include <QStringList>

class WalkCommandLine : public ToolCommandLine
{
public:
    // Parses the arguments (program name first). On Error, message says what is wrong; on
    // ShowHelp it holds the help text; options are changed on Run only.
    static Outcome parse(const QStringList &arguments, WalkOptions *options, QString *message);
    static QString helpText();
};
