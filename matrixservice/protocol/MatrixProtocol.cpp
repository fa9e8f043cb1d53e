#include "MatrixProtocol.h"

namespace MatrixProtocol {

bool isX86Request(quint16 type)
{
    return type >= X86Login && type <= X86SetMirrorRect;
}

bool isLinuxRequest(quint16 type)
{
    return (type >= LinuxLogin && type <= LinuxSetCellSplit)
            || (type >= LinuxGetCellTurnPages && type <= LinuxGetFirmwareVersion)
            || type == LinuxGetOperators || type == LinuxGetWallRevision;
}

bool isGenericRequest(quint16 type)
{
    return type == KeepAlive || type == Identify || type == Watch;
}

bool isRequest(quint16 type)
{
    return isX86Request(type) || isLinuxRequest(type) || isGenericRequest(type);
}

const char *messageName(quint16 type)
{
    switch (type & ~quint16(ReplyFlag)) {
    case Hello:
        return type & ReplyFlag ? "?" : "Hello";
    case HelloAck:
        return type & ReplyFlag ? "?" : "HelloAck";
    case KeepAlive:
        return "KeepAlive";
    case Identify:
        return "Identify";
    case LinuxGetOperators:
        return "LinuxGetOperators";
    case Watch:
        return "Watch";
    case LinuxGetWallRevision:
        return "LinuxGetWallRevision";
    case EventOperators:
        return "EventOperators";
    case EventTakenOver:
        return "EventTakenOver";
    case X86Login:
        return "X86Login";
    case X86ForceLogin:
        return "X86ForceLogin";
    case X86SetScreenCount:
        return "X86SetScreenCount";
    case X86RequestLayout:
        return "X86RequestLayout";
    case X86ExchangeMirrors:
        return "X86ExchangeMirrors";
    case X86SetConfigMode:
        return "X86SetConfigMode";
    case X86SetMonitorSplit:
        return "X86SetMonitorSplit";
    case X86SetMonitorSources:
        return "X86SetMonitorSources";
    case X86SetMonitorTurnSources:
        return "X86SetMonitorTurnSources";
    case X86SelectMonitor:
        return "X86SelectMonitor";
    case X86SetTurnState:
        return "X86SetTurnState";
    case X86ClearSource:
        return "X86ClearSource";
    case X86ZoomMirrorAt:
        return "X86ZoomMirrorAt";
    case X86SetMirrorRect:
        return "X86SetMirrorRect";
    case LinuxLogin:
        return "LinuxLogin";
    case LinuxStartSession:
        return "LinuxStartSession";
    case LinuxReboot:
        return "LinuxReboot";
    case LinuxFactoryReset:
        return "LinuxFactoryReset";
    case LinuxStartUpgrade:
        return "LinuxStartUpgrade";
    case LinuxGetUpgradeStatus:
        return "LinuxGetUpgradeStatus";
    case LinuxSaveRowColumn:
        return "LinuxSaveRowColumn";
    case LinuxSetNumberArrangeMode:
        return "LinuxSetNumberArrangeMode";
    case LinuxGetScreenNumbers:
        return "LinuxGetScreenNumbers";
    case LinuxSetScreenNumbers:
        return "LinuxSetScreenNumbers";
    case LinuxGetScreenGrid:
        return "LinuxGetScreenGrid";
    case LinuxSetScreenGrid:
        return "LinuxSetScreenGrid";
    case LinuxSetCellMelt:
        return "LinuxSetCellMelt";
    case LinuxClearCell:
        return "LinuxClearCell";
    case LinuxSetCellChannels:
        return "LinuxSetCellChannels";
    case LinuxAddCellChannel:
        return "LinuxAddCellChannel";
    case LinuxModifyCellChannel:
        return "LinuxModifyCellChannel";
    case LinuxDeleteCellChannel:
        return "LinuxDeleteCellChannel";
    case LinuxGetCellChannels:
        return "LinuxGetCellChannels";
    case LinuxSetCellTurnShow:
        return "LinuxSetCellTurnShow";
    case LinuxGetCellTurnShow:
        return "LinuxGetCellTurnShow";
    case LinuxSetCellSingleWindow:
        return "LinuxSetCellSingleWindow";
    case LinuxGetCellSingleWindow:
        return "LinuxGetCellSingleWindow";
    case LinuxSetCellSplit:
        return "LinuxSetCellSplit";
    case LinuxGetCellTurnPages:
        return "LinuxGetCellTurnPages";
    case LinuxGetFirmwareVersion:
        return "LinuxGetFirmwareVersion";
    case EventMonitorSources:
        return "EventMonitorSources";
    case EventTurnStep:
        return "EventTurnStep";
    case EventMatrixInfo:
        return "EventMatrixInfo";
    case EventLayout:
        return "EventLayout";
    case EventKicked:
        return "EventKicked";
    default:
        return "?";
    }
}

} // namespace MatrixProtocol
