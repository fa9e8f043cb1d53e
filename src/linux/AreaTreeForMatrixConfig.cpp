#include "AreaTreeForMatrixConfig.h"

#include <QLayout>
#include <QTreeWidget>

namespace LUMO_DIGITALMATRIX_MODULE {

AreaTreeForMatrixConfig::AreaTreeForMatrixConfig(QWidget *parent)
    : COMMONUSELIB::AreaWithChannelTree(parent)
{
    if (layout())
        layout()->setContentsMargins(2, 5, 1, 1);
    getTreeWidget()->setSelectionMode(QAbstractItemView::ExtendedSelection);
    getTreeWidget()->setDragDropMode(QAbstractItemView::DragOnly);
}

AreaTreeForMatrixConfig::~AreaTreeForMatrixConfig() = default;

} // namespace LUMO_DIGITALMATRIX_MODULE
