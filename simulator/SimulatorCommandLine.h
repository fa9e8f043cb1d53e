// Command line of matrix-sim.
#pragma once

#include "MatrixSimulatorOptions.h"

#include <QString>
#include <QStringList>

class SimulatorCommandLine
{
public:
    enum Outcome {
        Run,
        ShowHelp,
        ShowVersion,
        Error,
    };

    // Parses the arguments (program name first). On Error, message says what is wrong;
    // on ShowHelp it holds the help text.
    static Outcome parse(const QStringList &arguments, MatrixSimulatorOptions *options,
                         MatrixSimulatorFaults *faults, QString *message);
    static QString helpText();
};
