// Command line of matrix-sim.
#pragma once

#include "MatrixSimulatorOptions.h"
#include "ToolCommandLine.h"

#include <QString>
#include <QStringList>

// Options of the window that shows the walls (matrix-sim --show-wall).
struct SimulatorWallOptions
{
    bool show = false;
    QString linuxHang; // how the Linux screens hang, e.g. "2x2:2,1,4,3"; empty = 2x2:1,2,3,4
};

class SimulatorCommandLine : public ToolCommandLine
{
public:
    // Parses the arguments (program name first). On Error, message says what is wrong;
    // on ShowHelp it holds the help text. wall, when given, receives the wall options.
    static Outcome parse(const QStringList &arguments, MatrixSimulatorOptions *options,
                         MatrixSimulatorFaults *faults, QString *message,
                         SimulatorWallOptions *wall = nullptr);
    static QString helpText();
};
