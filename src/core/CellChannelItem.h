#pragma once

#include "digitalmatrix_export.h"

#include <QMetaType>
#include <QString>

namespace LUMO_DIGITALMATRIX_MODULE {

// One channel placed (or to be placed) in a cell of a Linux wall.
struct DIGITALMATRIX_EXPORT CellChannelItem
{
    QString itemKey; // the owning area's key when the item comes from the area tree
    QString channelId; // data-centre channel key
    QString channelName;
    int position = -1; // place in its cell; -1 while it has none

    bool operator==(const CellChannelItem &other) const;
    bool operator!=(const CellChannelItem &other) const { return !(*this == other); }
};

} // namespace LUMO_DIGITALMATRIX_MODULE

Q_DECLARE_METATYPE(LUMO_DIGITALMATRIX_MODULE::CellChannelItem)
