// The host data centre: servers, areas, devices, channels and views, kept in SQLite.
//
// Use it from the thread that opened the database (the user-interface thread). Writes are
// single transactions: a refused or failed write returns false, leaves the stored rows as
// they were and says why in lastError() (never with a password in it). Failed look-ups
// return empty records.
#pragma once

#include "DataCoreTypes.h"
#include "lumohost_export.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>

#include <memory>

namespace DATACore {

class UserManagerCorePrivate;

class LUMOHOST_EXPORT UserManagerCore : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(UserManagerCore)

public:
    // The process-wide data centre (created on first use, parented to the application).
    static UserManagerCore *instance();
    static void release();

    // Opens (creating or migrating) the database file; closes any open one first.
    // ":memory:" gives a database that lives until close().
    bool open(const QString &databaseFile);
    void close();
    bool isOpen() const;
    QString databaseFile() const;
    // The last error text, for logs and messages.
    QString lastError() const;

    // Imports a site (areas, devices, channels, views) from JSON in one transaction; the
    // format is in docs/site-format.md. An import adds to the store; any invalid entry
    // refuses the whole file.
    bool importSite(const QByteArray &json);
    bool importSiteFile(const QString &jsonFile);

    // Servers. "" lists every server in the order they were added; any other filter keeps
    // the servers whose name (ignoring case) or ip contains it.
    QList<UServerInfo> GetServers(const QString &filter) const;
    UServerInfo getServerInfo(const QString &id) const;
    // AddServer gives the record a new id (a UUID without braces). Add and edit refuse an
    // empty name, an ip that is not dotted-decimal IPv4 (no leading zeros), a port outside
    // 1..65535, an unknown SERVERTYPE, and a record of the same type that has the ip and port
    // or the name of another stored server. DeleteServer refuses an unknown id and an id
    // stored with another type. The signals follow the commit through the event loop.
    bool AddServer(const QString &name, const QString &ip, const QString &user,
                   const QString &password, const int &port, const int &type);
    bool EditServer(const QString &id, const QString &name, const QString &ip, const QString &user,
                    const QString &password, const int &port, const int &type);
    bool DeleteServer(const QString &id, const SERVERTYPE &type);

    // Channels.
    DeviceChancelInfo getChannelInfoByChannelGuid(const QString &channelGuid) const;
    DeviceChancelInfo getDevChannelInfoByChannelGuid(const QString &channelGuid) const;
    DeviceChancelInfo channelInfoByDeviceNo(const QString &deviceAddress,
                                            const int &channelNo) const;
    QList<DeviceChancelInfo> getChannelInfoByAreaGuid(const QString &areaGuid) const;
    // The channels of several (device address, channel number) keys at once, each as
    // channelInfoByDeviceNo gives it, in a bounded number of queries whatever the count.
    // Keys that match nothing (an empty address among them) are left out.
    using DeviceChannelKey = QPair<QString, int>;
    QHash<DeviceChannelKey, DeviceChancelInfo>
    channelInfosByDeviceNo(const QList<DeviceChannelKey> &keys) const;
    // The same for the records of a Linux cell, keyed by (device address, channel number as
    // the record gives it): a device of kind 3 has one channel, which every number names.
    QHash<DeviceChannelKey, DeviceChancelInfo>
    cellChannelInfos(const QList<DeviceChannelKey> &keys) const;

    // Devices.
    UDeviceInfo getDeviceInfoByDeviceGuid(const QString &deviceGuid) const;
    UDeviceInfo getDevInfo(const QString &deviceGuid) const;
    UDeviceInfo getDeviceInfoByDeviceID(const QString &deviceAddress) const;

    // Areas: an empty key lists every area, parents before children; else the one area.
    QList<RegionInfo> GetOneRegion(const QString &areaGuid) const;

    // Views: by view key the view; by channel key the player kind of that channel.
    AllPlayViewInfo getPlayerInfoByGuid(const QString &guid) const;
    QList<AllPlayViewInfo> getAllViews() const;

    // Wall presets of a matrix server (X86 or Linux): a name and a payload, which is a JSON
    // object with a positive integer "version" (the format of the page that saved it). Names
    // are compared without surrounding blanks and ignoring case; they are unique per server,
    // not empty, at most 64 characters, without quotes, backslashes or control characters.
    // Deleting the server deletes its presets. A refused write touches nothing.
    bool saveWallPreset(const QString &serverId, const QString &name, const QByteArray &payload);
    // The server's preset names in the order they were saved (empty on any failure).
    QStringList wallPresetNames(const QString &serverId) const;
    bool renameWallPreset(const QString &serverId, const QString &name, const QString &newName);
    bool deleteWallPreset(const QString &serverId, const QString &name);
    // The stored payload; false, with *payload untouched, for an unknown name or a stored row
    // that is no valid payload.
    bool loadWallPreset(const QString &serverId, const QString &name, QByteArray *payload) const;

    // Site editing (used by imports, the demo and tests); each is one transaction.
    bool addRegion(const RegionInfo &region);
    bool addDevice(const UDeviceInfo &device);
    bool addChannel(const DeviceChancelInfo &channel);
    bool addView(const AllPlayViewInfo &view);

signals:
    // Emitted after the commit, delivered through the event loop.
    void signalAddServer(const UServerInfo &server);
    void signalEditServer(const UServerInfo &server);
    void signalDeleteServer(const QString &id, SERVERTYPE type);

private:
    explicit UserManagerCore(QObject *parent = nullptr);
    ~UserManagerCore() override;

    std::unique_ptr<UserManagerCorePrivate> d;
};

} // namespace DATACore
