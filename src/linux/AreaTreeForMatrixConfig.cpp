#include "AreaTreeForMatrixConfig.h"

#include <QLayout>
#include <QSet>
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

void AreaTreeForMatrixConfig::getSelectedChannels(QList<CellChannelItem> &out,
                                                  bool &areaSelected) const
{
    out.clear();
    areaSelected = false;
    QSet<QString> taken;
    auto take = [&out, &taken](const QTreeWidgetItem *item, const QString &areaKey) {
        const QString key = item->data(0, Qt::UserRole).toString();
        if (key.isEmpty() || taken.contains(key))
            return;
        taken.insert(key);
        CellChannelItem channel;
        channel.itemKey = areaKey;
        channel.channelId = key;
        channel.channelName = item->text(0);
        channel.position = -1;
        out.append(channel);
    };
    const QList<QTreeWidgetItem *> selected = getTreeWidget()->selectedItems();
    for (const QTreeWidgetItem *item : selected) {
        if (item->type() == AreaItemType) {
            areaSelected = true;
            const QString areaKey = item->data(0, Qt::UserRole).toString();
            // Sub-areas hang under an area as well; only its own channels count.
            for (int i = 0; i < item->childCount(); ++i) {
                if (item->child(i)->type() == ChannelItemType)
                    take(item->child(i), areaKey);
            }
        } else if (item->type() == ChannelItemType) {
            const QTreeWidgetItem *parent = item->parent();
            take(item, parent ? parent->data(0, Qt::UserRole).toString() : QString());
        }
    }
}

} // namespace LUMO_DIGITALMATRIX_MODULE
