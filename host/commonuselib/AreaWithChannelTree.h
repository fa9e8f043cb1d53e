// The host's area tree with channels and a search line.
#pragma once

#include "AreaTree.h"
#include "SearchTree.h"
#include "lumohost_export.h"

#include <QList>
#include <QString>

class QLineEdit;

namespace COMMONUSELIB {

// An AreaTree whose areas also hold their channels (getChannelInfoByAreaGuid), after
// their sub-areas, with a search line above the tree (the first item of layout()).
// A channel item has the type ChannelItemType, its name as text and its key as
// Qt::UserRole data (column 0); AreaKeyRole holds its area's key, DeviceKeyRole its
// device's key and ChannelNoRole its channel number. Typing in the search line filters
// the tree as SearchTree describes; reload() keeps the search text and applies it again.
//
// Dragging the selection offers the format channelMimeType(),
// "application/x-lumo-channels": a QDataStream (Qt 5.15 format, big-endian) of
//   qint32 version (1), bool areaSelected, qint32 count,
//   then count times: QString areaKey, QString channelKey, QString channelName
// holding the channels of channelsOfItems() for the dragged items, and "text/plain"
// with the channel names, one a line. decodeChannelMimeData() reads it back.
class LUMOHOST_EXPORT AreaWithChannelTree : public AreaTree, public SearchTree
{
    Q_OBJECT
    Q_DISABLE_COPY(AreaWithChannelTree)

public:
    struct Channel
    {
        QString areaKey;
        QString channelKey;
        QString channelName;

        bool operator==(const Channel &o) const
        {
            return areaKey == o.areaKey && channelKey == o.channelKey
                    && channelName == o.channelName;
        }
        bool operator!=(const Channel &o) const { return !(*this == o); }
    };

    explicit AreaWithChannelTree(QWidget *parent = nullptr);
    ~AreaWithChannelTree() override;

    void reload() override;

    QLineEdit *searchLineEdit() const { return m_searchEdit; }
    // The item of a channel key (the first one when a key occurs twice), or null.
    QTreeWidgetItem *channelItem(const QString &channelKey) const;
    int channelCount() const { return m_channelCount; }

    // Channels of the items, in the given order, each channel once (where first met):
    // a channel item gives itself; an area item gives the channels directly under it
    // (not those of its sub-areas) and sets *areaSelected.
    QList<Channel> channelsOfItems(const QList<QTreeWidgetItem *> &items,
                                   bool *areaSelected = nullptr) const;
    // channelsOfItems() of the tree's current selection, in selection order.
    QList<Channel> selectedChannels(bool *areaSelected = nullptr) const;

    static QString channelMimeType();
    // A new QMimeData (owned by the caller) carrying the channels.
    static QMimeData *encodeChannelMimeData(const QList<Channel> &channels, bool areaSelected);
    // Reads a payload of channelMimeType(); false (and nothing filled) when the data has
    // no such payload or it is malformed.
    static bool decodeChannelMimeData(const QMimeData *data, QList<Channel> *channels,
                                      bool *areaSelected = nullptr);

    QMimeData *mimeDataForItems(const QList<QTreeWidgetItem *> &items) const override;
    QStringList dragMimeTypes() const override;

protected:
    void fillAreaItem(QTreeWidgetItem *item, const RegionInfo &region) override;
    QTreeWidget *searchedTreeWidget() const override;
    void changeEvent(QEvent *event) override;

private:
    QLineEdit *m_searchEdit = nullptr;
    int m_channelCount = 0;
};

} // namespace COMMONUSELIB

Q_DECLARE_METATYPE(COMMONUSELIB::AreaWithChannelTree::Channel)
