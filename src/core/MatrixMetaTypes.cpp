#include "MatrixMetaTypes.h"

#include "CellChannelItem.h"
#include "CellTurnInfo.h"
#include "DigitalMatrixServerInfo.h"

#include <mutex>

namespace LUMO_DIGITALMATRIX_MODULE {

void registerMatrixMetaTypes()
{
    static std::once_flag once;
    std::call_once(once, [] {
        qRegisterMetaType<RECT>("RECT");
        qRegisterMetaType<PST_ChnInfo>("PST_ChnInfo");
        qRegisterMetaType<ConnType>("ConnType");
        qRegisterMetaType<DigitalMatrixServerInfo>("DigitalMatrixServerInfo");
        qRegisterMetaType<DigitalMatrixServerInfo>(
                "LUMO_DIGITALMATRIX_MODULE::DigitalMatrixServerInfo");
        qRegisterMetaType<CellChannelItem>("CellChannelItem");
        qRegisterMetaType<CellTurnInfo>("CellTurnInfo");
    });
}

} // namespace LUMO_DIGITALMATRIX_MODULE
