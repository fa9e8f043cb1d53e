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
        qRegisterMetaType<_ST_ChnInfo>("_ST_ChnInfo");
        qRegisterMetaType<QVector<_ST_ChnInfo>>("QVector<_ST_ChnInfo>");
        qRegisterMetaType<DigitalMatrixServerInfo>("DigitalMatrixServerInfo");
        qRegisterMetaType<DigitalMatrixServerInfo>(
                "LUMO_DIGITALMATRIX_MODULE::DigitalMatrixServerInfo");
        qRegisterMetaType<CellChannelItem>("CellChannelItem");
        qRegisterMetaType<CellTurnInfo>("CellTurnInfo");
    });
}

} // namespace LUMO_DIGITALMATRIX_MODULE
