#pragma once

#include "digitalmatrix_export.h"

#include <QMetaType>

namespace LUMO_DIGITALMATRIX_MODULE {

// Turn show of one Linux cell in module codes.
struct DIGITALMATRIX_EXPORT CellTurnInfo
{
    // Module turn codes: what to do, and the state a cell is in afterwards.
    enum TurnCode { TurnStart = 0, TurnStop = 1, TurnPause = 2, TurnContinue = 3 };
    // Service codes of the Linux matrix.
    enum ServiceTurnCode { ServiceRunning = 0, ServicePaused = 1, ServiceStopped = 2 };

    int turnInterval = 0; // seconds
    int turnState = TurnStop;

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
