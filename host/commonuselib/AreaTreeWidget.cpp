#include "AreaTreeWidget.h"
#include "AreaTree.h"

namespace COMMONUSELIB {

AreaTreeWidget::AreaTreeWidget(AreaTree *owner)
    : QTreeWidget(owner)
    , m_owner(owner)
{ }

AreaTreeWidget::~AreaTreeWidget() = default;

Qt::DropActions AreaTreeWidget::supportedDropActions() const
{
    return Qt::CopyAction;
}

QStringList AreaTreeWidget::mimeTypes() const
{
    const QStringList types = m_owner->dragMimeTypes();
    return types.isEmpty() ? QTreeWidget::mimeTypes() : types;
}

QMimeData *AreaTreeWidget::mimeData(const QList<QTreeWidgetItem *> items) const
{
    if (QMimeData *data = m_owner->mimeDataForItems(items))
        return data;
    return QTreeWidget::mimeData(items);
}

} // namespace COMMONUSELIB
