#include "CellChannelsTableWt.h"

#include <QEvent>
#include <QHeaderView>

namespace LUMO_DIGITALMATRIX_MODULE {

CellChannelsTableWt::CellChannelsTableWt(QWidget *parent, bool withCheckAll)
    : COMMONUSELIB::TableWidget(parent, withCheckAll)
{
    nameColumns();
    setSelectionBehavior(QAbstractItemView::SelectRows);
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    setColumnWidth(0, 32);
    setColumnWidth(1, 170);
}

CellChannelsTableWt::~CellChannelsTableWt() = default;

void CellChannelsTableWt::nameColumns()
{
    setHeaderViewColumnName({QString(), tr("Channel Name"), tr("Device Name")});
}

void CellChannelsTableWt::changeEvent(QEvent *event)
{
    COMMONUSELIB::TableWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        nameColumns();
}

} // namespace LUMO_DIGITALMATRIX_MODULE
