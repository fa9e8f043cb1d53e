#include "CellTurnInfo.h"

namespace LUMO_DIGITALMATRIX_MODULE {

int CellTurnInfo::toServiceCode(int moduleCode)
{
    switch (moduleCode) {
    case int(CellTurnCode::TurnStart):
    case int(CellTurnCode::TurnContinue):
        return ServiceRunning;
    case int(CellTurnCode::TurnStop):
        return ServiceStopped;
    case int(CellTurnCode::TurnPause):
        return ServicePaused;
    default:
        return -1;
    }
}

int CellTurnInfo::fromServiceCode(int serviceCode)
{
    switch (serviceCode) {
    case ServiceRunning:
        return int(CellTurnCode::TurnStart);
    case ServicePaused:
        return int(CellTurnCode::TurnPause);
    case ServiceStopped:
        return int(CellTurnCode::TurnStop);
    default:
        return -1;
    }
}

} // namespace LUMO_DIGITALMATRIX_MODULE
