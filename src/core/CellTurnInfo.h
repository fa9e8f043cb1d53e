#pragma once

#include "digitalmatrix_export.h"

#include "MatrixStates.h"

#include <QMetaType>

namespace LUMO_DIGITALMATRIX_MODULE {

// Turn show of one Linux cell in module codes.
struct DIGITALMATRIX_EXPORT CellTurnInfo
{
    // Service codes of the Linux matrix.
    enum ServiceTurnCode { ServiceRunning = 0, ServicePaused = 1, ServiceStopped = 2 };

    int turnInterval = 0; // seconds
    // A CellTurnCode as the record carries it: what to do, or the state a cell is in; a code
    // the module does not know is carried as it is.
    int turnState = int(CellTurnCode::TurnStop);

    // 0 and 3 -> 0 (running), 1 -> 2 (stopped), 2 -> 1 (paused); -1 for an unknown code.
    static int toServiceCode(int moduleCode);
    // 0 -> 0 (running), 1 -> 2 (paused), 2 -> 1 (stopped); -1 for an unknown code.
    static int fromServiceCode(int serviceCode);

    bool operator==(const CellTurnInfo &other) const
    {
        return turnInterval == other.turnInterval && turnState == other.turnState;
    }
};

} // namespace LUMO_DIGITALMATRIX_MODULE

Q_DECLARE_METATYPE(LUMO_DIGITALMATRIX_MODULE::CellTurnInfo)
