#include "CellChannelItem.h"

namespace LUMO_DIGITALMATRIX_MODULE {

bool CellChannelItem::operator==(const CellChannelItem &other) const
{
    return itemKey == other.itemKey && channelId == other.channelId
            && channelName == other.channelName && position == other.position;
}

} // namespace LUMO_DIGITALMATRIX_MODULE
