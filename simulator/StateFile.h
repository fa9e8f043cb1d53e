// The simulator's state file: both walls as JSON, written atomically (docs/simulator.md).
#pragma once

#include "SimulatorState.h"

#include <QByteArray>
#include <QString>

namespace MatrixSim {

class StateFile
{
public:
    static QByteArray toJson(const SimX86State &x86, const SimLinuxState &linuxWall);
    // Parses a state file. A missing section leaves its wall (and its has-flag) alone.
    // Nothing is written to the outputs unless the whole file is well-formed.
    static bool fromJson(const QByteArray &json, SimX86State *x86, bool *hasX86,
                         SimLinuxState *linuxWall, bool *hasLinux, QString *error);

    // Reads the file; a file that does not exist reads as empty.
    static bool read(const QString &path, QByteArray *data, QString *error);
    // Replaces the file atomically.
    static bool write(const QString &path, const QByteArray &data, QString *error);
};

} // namespace MatrixSim
