#include "AreaTree.h"
#include "AreaTreeWidget.h"

#include "UserManagerCore.h"

#include <QHeaderView>
#include <QSet>
#include <QStyle>
#include <QVBoxLayout>

namespace COMMONUSELIB {

AreaTree::AreaTree(QWidget *parent)
    : AreaTree(parent, true)
{ }

AreaTree::AreaTree(QWidget *parent, bool loadNow)
    : QWidget(parent)
{
    init();
    if (loadNow)
        loadAreas();
}

AreaTree::~AreaTree() = default;

void AreaTree::init()
{
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(4);

    m_tree = new AreaTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("areaTreeWidget"));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_tree->setDragDropMode(QAbstractItemView::DragOnly);
    m_tree->setDefaultDropAction(Qt::CopyAction);
    m_tree->setUniformRowHeights(true);
    m_layout->addWidget(m_tree, 1);
}

QTreeWidget *AreaTree::getTreeWidget() const
{
    return m_tree;
}

QTreeWidgetItem *AreaTree::areaItem(const QString &areaKey) const
{
    return m_areas.value(areaKey, nullptr);
}

void AreaTree::reload()
{
    loadAreas();
}

QMimeData *AreaTree::mimeDataForItems(const QList<QTreeWidgetItem *> &) const
{
    return nullptr;
}

QStringList AreaTree::dragMimeTypes() const
{
    return QStringList();
}

void AreaTree::fillAreaItem(QTreeWidgetItem *, const RegionInfo &) { }

void AreaTree::loadAreas()
{
    m_tree->clear();
    m_areas.clear();

    const QList<RegionInfo> regions =
            DATACore::UserManagerCore::instance()->GetOneRegion(QString());
    const QIcon areaIcon = style()->standardIcon(QStyle::SP_DirIcon);

    // Create every item first, so that the data centre's order of parents and
    // children does not matter; duplicate keys keep their first record.
    QList<RegionInfo> placed;
    QHash<QString, QString> parentOf;
    for (const RegionInfo &region : regions) {
        if (region.strGuid.isEmpty() || m_areas.contains(region.strGuid))
            continue;
        auto *item = new QTreeWidgetItem(AreaItemType);
        item->setText(0, region.strName);
        item->setToolTip(0, region.strName);
        item->setIcon(0, areaIcon);
        item->setData(0, KeyRole, region.strGuid);
        item->setData(0, AreaKeyRole, region.strParentGuid);
        m_areas.insert(region.strGuid, item);
        parentOf.insert(region.strGuid, region.strParentGuid);
        placed.append(region);
    }

    for (const RegionInfo &region : qAsConst(placed)) {
        QTreeWidgetItem *item = m_areas.value(region.strGuid);
        QTreeWidgetItem *parent = m_areas.value(region.strParentGuid, nullptr);
        // Walk up from the parent: reaching this area again means a loop.
        QSet<QString> seen {region.strGuid};
        for (QString key = region.strParentGuid; parent && !key.isEmpty();
             key = parentOf.value(key)) {
            if (seen.contains(key)) {
                parent = nullptr;
                break;
            }
            seen.insert(key);
        }
        if (parent)
            parent->addChild(item);
        else
            m_tree->addTopLevelItem(item);
    }

    for (const RegionInfo &region : qAsConst(placed))
        fillAreaItem(m_areas.value(region.strGuid), region);

    m_tree->expandAll();
    emit signalTreeReloaded();
}

} // namespace COMMONUSELIB
