#include "CellTurnInfo.h"

namespace LUMO_DIGITALMATRIX_MODULE {

int CellTurnInfo::toServiceCode(int moduleCode)
{
    switch (moduleCode) {
    case TurnStart:
    case TurnContinue:
        return ServiceRunning;
    case TurnStop:
        return ServiceStopped;
    case TurnPause:
        return ServicePaused;
    default:
        return -1;
    }
}

int CellTurnInfo::fromServiceCode(int serviceCode)
{
    switch (serviceCode) {
    case ServiceRunning:
        return TurnStart;
    case ServicePaused:
        return TurnPause;
    case ServiceStopped:
        return TurnStop;
    default:
        return -1;
    }
}

} // namespace LUMO_DIGITALMATRIX_MODULE
