#include "AreaWithChannelTree.h"

#include "UserManagerCore.h"

#include <QEvent>
#include <QDataStream>
#include <QLineEdit>
#include <QMimeData>
#include <QSet>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace COMMONUSELIB {

namespace {
const qint32 MimeVersion = 1;
// More channels than any site holds: a count above it marks a malformed payload.
const qint32 MaxMimeChannels = 1000000;
} // namespace

AreaWithChannelTree::AreaWithChannelTree(QWidget *parent)
    : AreaTree(parent, false)
{
    m_searchEdit = new QLineEdit(this);
    m_searchEdit->setObjectName(QStringLiteral("searchLineEdit"));
    m_searchEdit->setPlaceholderText(tr("Search"));
    m_searchEdit->setClearButtonEnabled(true);
    treeLayout()->insertWidget(0, m_searchEdit);
    connect(m_searchEdit, &QLineEdit::textChanged, this,
            [this](const QString &text) { searchTree(text); });
    reload();
}

AreaWithChannelTree::~AreaWithChannelTree() = default;

void AreaWithChannelTree::reload()
{
    m_channelCount = 0;
    AreaTree::reload();
    if (!searchText().isEmpty())
        searchTree(searchText());
}

QTreeWidget *AreaWithChannelTree::searchedTreeWidget() const
{
    return getTreeWidget();
}

void AreaWithChannelTree::fillAreaItem(QTreeWidgetItem *item, const RegionInfo &region)
{
    const QList<DeviceChancelInfo> channels =
            DATACore::UserManagerCore::instance()->getChannelInfoByAreaGuid(region.strGuid);
    const QIcon channelIcon = style()->standardIcon(QStyle::SP_MediaPlay);
    for (const DeviceChancelInfo &channel : channels) {
        if (channel.channelGuid.isEmpty())
            continue;
        auto *child = new QTreeWidgetItem(item, ChannelItemType);
        child->setText(0, channel.channelName);
        child->setToolTip(0, channel.channelName);
        child->setIcon(0, channelIcon);
        child->setData(0, KeyRole, channel.channelGuid);
        child->setData(0, AreaKeyRole, region.strGuid);
        child->setData(0, DeviceKeyRole, channel.deviceGuid);
        child->setData(0, ChannelNoRole, channel.channelNo);
        ++m_channelCount;
    }
}

QTreeWidgetItem *AreaWithChannelTree::channelItem(const QString &channelKey) const
{
    if (channelKey.isEmpty())
        return nullptr;
    for (QTreeWidgetItemIterator it(getTreeWidget()); *it; ++it) {
        if ((*it)->type() == ChannelItemType && (*it)->data(0, KeyRole).toString() == channelKey)
            return *it;
    }
    return nullptr;
}

QList<AreaWithChannelTree::Channel>
AreaWithChannelTree::channelsOfItems(const QList<QTreeWidgetItem *> &items,
                                     bool *areaSelected) const
{
    QList<Channel> channels;
    QSet<QString> taken;
    bool area = false;
    auto take = [&channels, &taken](const QTreeWidgetItem *item) {
        const QString key = item->data(0, KeyRole).toString();
        if (key.isEmpty() || taken.contains(key))
            return;
        taken.insert(key);
        channels.append({item->data(0, AreaKeyRole).toString(), key, item->text(0)});
    };
    for (const QTreeWidgetItem *item : items) {
        if (!item)
            continue;
        if (item->type() == AreaItemType) {
            area = true;
            for (int i = 0; i < item->childCount(); ++i) {
                if (item->child(i)->type() == ChannelItemType)
                    take(item->child(i));
            }
        } else if (item->type() == ChannelItemType) {
            take(item);
        }
    }
    if (areaSelected)
        *areaSelected = area;
    return channels;
}

QList<AreaWithChannelTree::Channel> AreaWithChannelTree::selectedChannels(bool *areaSelected) const
{
    return channelsOfItems(getTreeWidget()->selectedItems(), areaSelected);
}

QString AreaWithChannelTree::channelMimeType()
{
    return QStringLiteral("application/x-lumo-channels");
}

QMimeData *AreaWithChannelTree::encodeChannelMimeData(const QList<Channel> &channels,
                                                      bool areaSelected)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_5_15);
    out << MimeVersion << areaSelected << qint32(channels.size());
    QStringList names;
    for (const Channel &channel : channels) {
        out << channel.areaKey << channel.channelKey << channel.channelName;
        names << channel.channelName;
    }
    auto *data = new QMimeData;
    data->setData(channelMimeType(), payload);
    data->setText(names.join(QLatin1Char('\n')));
    return data;
}

bool AreaWithChannelTree::decodeChannelMimeData(const QMimeData *data, QList<Channel> *channels,
                                                bool *areaSelected)
{
    if (!data || !data->hasFormat(channelMimeType()))
        return false;
    QDataStream in(data->data(channelMimeType()));
    in.setVersion(QDataStream::Qt_5_15);
    qint32 version = 0;
    bool area = false;
    qint32 count = 0;
    in >> version >> area >> count;
    if (in.status() != QDataStream::Ok || version != MimeVersion || count < 0
        || count > MaxMimeChannels)
        return false;
    QList<Channel> read;
    for (qint32 i = 0; i < count; ++i) {
        Channel channel;
        in >> channel.areaKey >> channel.channelKey >> channel.channelName;
        if (in.status() != QDataStream::Ok)
            return false;
        read.append(channel);
    }
    if (!in.atEnd())
        return false;
    if (channels)
        *channels = read;
    if (areaSelected)
        *areaSelected = area;
    return true;
}

QMimeData *AreaWithChannelTree::mimeDataForItems(const QList<QTreeWidgetItem *> &items) const
{
    bool area = false;
    const QList<Channel> channels = channelsOfItems(items, &area);
    return encodeChannelMimeData(channels, area);
}

QStringList AreaWithChannelTree::dragMimeTypes() const
{
    return {channelMimeType(), QStringLiteral("text/plain")};
}

void AreaWithChannelTree::changeEvent(QEvent *event)
{
    AreaTree::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        m_searchEdit->setPlaceholderText(tr("Search"));
}

} // namespace COMMONUSELIB
