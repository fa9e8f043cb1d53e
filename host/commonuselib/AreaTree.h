// The host's area tree: the data centre's areas, nested by their parent areas.
#pragma once

#include "lumohost_export.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QTreeWidgetItem>
#include <QWidget>

class QMimeData;
class QTreeWidget;
class QVBoxLayout;
struct RegionInfo;

namespace COMMONUSELIB {

class AreaTreeWidget;

// A widget with a vertical layout (layout()) that holds one QTreeWidget
// (getTreeWidget()). Every area of the data centre (GetOneRegion("")) becomes an item
// of type AreaItemType (0) whose text (column 0) is the area's name and whose
// Qt::UserRole data (column 0) is its key. An area hangs under its parent area; an
// area whose parent is unknown, or whose parents would form a loop, stands at the
// top level. Items keep the data centre's order.
class LUMOHOST_EXPORT AreaTree : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(AreaTree)

public:
    enum ItemType { AreaItemType = 0, ChannelItemType = QTreeWidgetItem::UserType + 1 };
    enum ItemRole {
        KeyRole = Qt::UserRole, // area key or channel key
        AreaKeyRole = Qt::UserRole + 1, // the owning area's key (parent area of an area)
        DeviceKeyRole = Qt::UserRole + 2, // channels: the device's key
        ChannelNoRole = Qt::UserRole + 3, // channels: the channel number on its device
    };

    // Loads the areas at once.
    explicit AreaTree(QWidget *parent = nullptr);
    ~AreaTree() override;

    QTreeWidget *getTreeWidget() const;
    QTreeWidget *treeWidget() const { return getTreeWidget(); }
    QVBoxLayout *treeLayout() const { return m_layout; }

    // Re-reads everything from the data centre (the selection is lost).
    virtual void reload();

    QTreeWidgetItem *areaItem(const QString &areaKey) const;
    int areaCount() const { return m_areas.size(); }

    // Payload for dragging these items; null means the tree's default.
    virtual QMimeData *mimeDataForItems(const QList<QTreeWidgetItem *> &items) const;
    // Formats offered by a drag; empty means the tree's default.
    virtual QStringList dragMimeTypes() const;

signals:
    // The tree was (re)loaded from the data centre.
    void signalTreeReloaded();

protected:
    // For subclasses that load in their own constructor (so that their overrides run).
    AreaTree(QWidget *parent, bool loadNow);
    // Called for every area item after all areas are placed; the base adds nothing.
    virtual void fillAreaItem(QTreeWidgetItem *item, const RegionInfo &region);

private:
    void init();
    void loadAreas();

    QVBoxLayout *m_layout = nullptr;
    AreaTreeWidget *m_tree = nullptr;
    QHash<QString, QTreeWidgetItem *> m_areas;
};

} // namespace COMMONUSELIB
