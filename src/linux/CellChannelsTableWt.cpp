#include "CellChannelsTableWt.h"

#include <QHeaderView>

namespace LUMO_DIGITALMATRIX_MODULE {

CellChannelsTableWt::CellChannelsTableWt(QWidget *parent, bool withCheckAll)
    : COMMONUSELIB::TableWidget(parent, withCheckAll)
{
    setHeaderViewColumnName({QString(), tr("Channel Name"), tr("Device Name")});
    setSelectionBehavior(QAbstractItemView::SelectRows);
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    setColumnWidth(0, 32);
    setColumnWidth(1, 170);
}

CellChannelsTableWt::~CellChannelsTableWt() = default;

} // namespace LUMO_DIGITALMATRIX_MODULE
