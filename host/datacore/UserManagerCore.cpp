#include "UserManagerCore.h"

#include "SiteData.h"

#include "IpAddressFrame.h"

#include <QAtomicPointer>
#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QLoggingCategory>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QThread>
#include <QUuid>
#include <QVariant>
#include <QVector>

#include <algorithm>

namespace DATACore {

namespace {

Q_LOGGING_CATEGORY(lcDataCore, "dm.host.datacore", QtInfoMsg)

QAtomicPointer<UserManagerCore> s_instance;
QMutex s_instanceMutex;

// Schema version written to PRAGMA user_version once the matching step has run.
constexpr int SchemaVersion = 2;

// Step n brings a database of version n to version n + 1.
QStringList migrationStep(int fromVersion)
{
    switch (fromVersion) {
    case 0:
        return {
                QStringLiteral("CREATE TABLE servers ("
                               " seq INTEGER PRIMARY KEY AUTOINCREMENT,"
                               " id TEXT NOT NULL UNIQUE,"
                               " name TEXT NOT NULL,"
                               " ip TEXT NOT NULL,"
                               " user_name TEXT NOT NULL DEFAULT '',"
                               " password TEXT NOT NULL DEFAULT '',"
                               " port INTEGER NOT NULL CHECK (port BETWEEN 1 AND 65535),"
                               " type INTEGER NOT NULL,"
                               " UNIQUE (ip, port, type),"
                               " UNIQUE (name, type))"),
                QStringLiteral("CREATE TABLE areas ("
                               " seq INTEGER PRIMARY KEY AUTOINCREMENT,"
                               " guid TEXT NOT NULL UNIQUE,"
                               " name TEXT NOT NULL,"
                               " parent_guid TEXT REFERENCES areas(guid))"),
                QStringLiteral("CREATE TABLE devices ("
                               " seq INTEGER PRIMARY KEY AUTOINCREMENT,"
                               " guid TEXT NOT NULL UNIQUE,"
                               " name TEXT NOT NULL,"
                               " address TEXT NOT NULL UNIQUE,"
                               " account TEXT NOT NULL DEFAULT '',"
                               " password TEXT NOT NULL DEFAULT '',"
                               " serial TEXT NOT NULL DEFAULT '',"
                               " port INTEGER NOT NULL DEFAULT 0,"
                               " channel_count INTEGER NOT NULL DEFAULT 0,"
                               " device_number INTEGER NOT NULL DEFAULT 0,"
                               " device_type INTEGER NOT NULL DEFAULT 0,"
                               " device_kind INTEGER NOT NULL DEFAULT 0,"
                               " reserved INTEGER NOT NULL DEFAULT 0)"),
                QStringLiteral("CREATE TABLE channels ("
                               " seq INTEGER PRIMARY KEY AUTOINCREMENT,"
                               " guid TEXT NOT NULL UNIQUE,"
                               " name TEXT NOT NULL,"
                               " device_guid TEXT NOT NULL REFERENCES devices(guid),"
                               " channel_no INTEGER NOT NULL CHECK (channel_no >= 1),"
                               " area_guid TEXT REFERENCES areas(guid),"
                               " UNIQUE (device_guid, channel_no))"),
                QStringLiteral("CREATE INDEX channels_by_area ON channels (area_guid)"),
                QStringLiteral("CREATE TABLE views ("
                               " seq INTEGER PRIMARY KEY AUTOINCREMENT,"
                               " guid TEXT NOT NULL UNIQUE,"
                               " name TEXT NOT NULL,"
                               " pane_count INTEGER NOT NULL CHECK (pane_count >= 1),"
                               " player_kind INTEGER NOT NULL DEFAULT 0)"),
                QStringLiteral("CREATE TABLE view_channels ("
                               " view_guid TEXT NOT NULL REFERENCES views(guid) ON DELETE CASCADE,"
                               " position INTEGER NOT NULL,"
                               " channel_guid TEXT NOT NULL REFERENCES channels(guid),"
                               " pane INTEGER NOT NULL CHECK (pane >= 1),"
                               " PRIMARY KEY (view_guid, position),"
                               " UNIQUE (view_guid, pane))"),
        };
    case 1:
        // Presets go with their server: the foreign key deletes them in the server's own
        // transaction.
        return {
                QStringLiteral("CREATE TABLE wall_presets ("
                               " seq INTEGER PRIMARY KEY AUTOINCREMENT,"
                               " server_id TEXT NOT NULL REFERENCES servers(id) ON DELETE CASCADE,"
                               " name TEXT NOT NULL,"
                               " version INTEGER NOT NULL CHECK (version >= 1),"
                               " payload BLOB NOT NULL,"
                               " UNIQUE (server_id, name COLLATE NOCASE))"),
        };
    default:
        return {};
    }
}

// Empty texts are stored as '' (the columns are NOT NULL); QString() would bind NULL.
QVariant textValue(const QString &text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

// Optional references are stored as NULL when empty, so that the foreign keys hold.
QVariant keyOrNull(const QString &key)
{
    return key.isEmpty() ? QVariant() : QVariant(key);
}

bool isKnownServerType(int type)
{
    switch (type) {
    case SERVERTYPE_STREAM:
    case SERVERTYPE_X86_DIGITALMATRIX:
    case SERVERTYPE_STORAGE:
    case SERVERTYPE_ALARM:
    case SERVERTYPE_TRANSFER:
    case SERVERTYPE_LINUX_DIGITALMATRIX:
        return true;
    default:
        return false;
    }
}

constexpr int PresetNameMaxLength = 64;

// The format version of a preset payload, 0 when the bytes are no valid payload.
int presetPayloadVersion(const QByteArray &payload)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(payload, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return 0;
    const QJsonValue version = document.object().value(QStringLiteral("version"));
    if (!version.isDouble() || version.toDouble() != double(version.toInt()) || version.toInt() < 1)
        return 0;
    return version.toInt();
}

const char ServerColumns[] = "id, name, ip, user_name, password, port, type";
const char DeviceColumns[] = "guid, name, address, account, password, serial, port, channel_count,"
                             " device_number, device_type, device_kind, reserved";
const char ChannelColumns[] = "c.guid, c.name, c.device_guid, c.channel_no, c.area_guid";
// Keys bound into one statement of a batch look-up: well under the parameters SQLite allows.
constexpr int MaxKeysPerLookup = 200;

UServerInfo serverFromRow(const QSqlQuery &query)
{
    UServerInfo server;
    server.id = query.value(0).toString();
    server.name = query.value(1).toString();
    server.ip = query.value(2).toString();
    server.user = query.value(3).toString();
    server.password = query.value(4).toString();
    server.port = query.value(5).toInt();
    server.type = query.value(6).toInt();
    return server;
}

UDeviceInfo deviceFromRow(const QSqlQuery &query)
{
    UDeviceInfo device;
    device.struct_DeviceGuid = query.value(0).toString();
    device.struct_DeviceName = query.value(1).toString();
    device.struct_IpAddress = query.value(2).toString();
    device.struct_account = query.value(3).toString();
    device.struct_password = query.value(4).toString();
    device.struct_SerialNumber = query.value(5).toString();
    device.struct_port = query.value(6).toInt();
    device.struct_channelCount = query.value(7).toInt();
    device.struct_deviceNumber = query.value(8).toInt();
    device.struct_deviceType = query.value(9).toInt();
    device.struct_deviceKind = query.value(10).toInt();
    device.struct_reserved = query.value(11).toInt();
    return device;
}

DeviceChancelInfo channelFromRow(const QSqlQuery &query)
{
    DeviceChancelInfo channel;
    channel.channelGuid = query.value(0).toString();
    channel.channelName = query.value(1).toString();
    channel.deviceGuid = query.value(2).toString();
    channel.channelNo = query.value(3).toInt();
    channel.areaGuid = query.value(4).toString();
    return channel;
}

QString channelSlot(const QString &deviceKey, int channelNo)
{
    return deviceKey + QLatin1Char('\n') + QString::number(channelNo);
}

} // namespace

class UserManagerCorePrivate
{
public:
    // Every write runs inside one of these; leaving the scope without commit() rolls back.
    class Transaction
    {
    public:
        explicit Transaction(UserManagerCorePrivate *d)
            : m_d(d)
        { }
        ~Transaction()
        {
            if (m_active)
                rollback();
        }
        Q_DISABLE_COPY(Transaction)

        bool begin()
        {
            QSqlDatabase db = m_d->database();
            if (!db.transaction())
                return m_d->fail(QStringLiteral("cannot begin a transaction: %1")
                                         .arg(db.lastError().text()));
            m_active = true;
            return true;
        }
        bool commit()
        {
            QSqlDatabase db = m_d->database();
            if (!db.commit()) {
                m_d->fail(QStringLiteral("cannot commit: %1").arg(db.lastError().text()));
                rollback();
                return false;
            }
            m_active = false;
            return true;
        }

    private:
        void rollback()
        {
            QSqlDatabase db = m_d->database();
            if (!db.rollback())
                qCWarning(lcDataCore) << "rollback failed:" << db.lastError().text();
            m_active = false;
        }

        UserManagerCorePrivate *m_d;
        bool m_active = false;
    };

    QString connectionName;
    QString file;
    QString lastError;
    bool isOpen = false;

    QSqlDatabase database() const { return QSqlDatabase::database(connectionName, false); }

    bool fail(const QString &text)
    {
        lastError = text;
        qCWarning(lcDataCore).noquote() << text;
        return false;
    }

    // Names the entry that a failed statement was storing; the statement's failure was
    // already logged.
    bool prefixError(const QString &label)
    {
        lastError = label + QStringLiteral(": ") + lastError;
        return false;
    }

    bool ready()
    {
        if (isOpen)
            return true;
        return fail(QStringLiteral("no data-centre database is open"));
    }

    bool exec(QSqlQuery &query, const QString &sql, const QVariantList &values = {})
    {
        if (!query.prepare(sql))
            return fail(
                    QStringLiteral("cannot prepare a statement: %1").arg(query.lastError().text()));
        return execPrepared(query, values);
    }

    // The first row of a look-up made into a record; an empty record when the key is
    // empty, no database is open, the statement fails or nothing matches.
    template<typename Record>
    Record selectOne(const QString &sql, const QVariantList &values,
                     Record (*fromRow)(const QSqlQuery &))
    {
        if (values.isEmpty() || values.first().toString().isEmpty() || !ready())
            return Record();
        QSqlQuery query(database());
        if (!exec(query, sql, values) || !query.next())
            return Record();
        return fromRow(query);
    }

    bool execPrepared(QSqlQuery &query, const QVariantList &values)
    {
        for (int i = 0; i < values.size(); ++i)
            query.bindValue(i, values.at(i));
        if (!query.exec())
            return fail(QStringLiteral("a statement failed: %1").arg(query.lastError().text()));
        return true;
    }

    // The channels of (device address, number) keys joined in one statement a bounded
    // number of keys (SQLite limits the parameters of one), keyed as given; channelNumber
    // is the SQL that turns a key's number (k.channel_no) of device d into the channel's.
    QHash<UserManagerCore::DeviceChannelKey, DeviceChancelInfo>
    channelsByKeys(const QList<UserManagerCore::DeviceChannelKey> &keys, const char *channelNumber)
    {
        QHash<UserManagerCore::DeviceChannelKey, DeviceChancelInfo> channels;
        QList<UserManagerCore::DeviceChannelKey> wanted;
        QSet<UserManagerCore::DeviceChannelKey> seen;
        for (const UserManagerCore::DeviceChannelKey &key : keys) {
            if (!key.first.isEmpty() && !seen.contains(key)) {
                seen.insert(key);
                wanted.append(key);
            }
        }
        if (wanted.isEmpty() || !ready())
            return channels;
        for (int from = 0; from < wanted.size(); from += MaxKeysPerLookup) {
            const int count = std::min(int(MaxKeysPerLookup), int(wanted.size()) - from);
            QStringList rows;
            QVariantList values;
            for (int i = from; i < from + count; ++i) {
                rows << QStringLiteral("(?, ?)");
                values << wanted.at(i).first << wanted.at(i).second;
            }
            QSqlQuery query(database());
            query.setForwardOnly(true);
            if (!exec(query,
                      QStringLiteral("WITH k (address, channel_no) AS (VALUES %1)"
                                     " SELECT %2, k.address, k.channel_no FROM k"
                                     " JOIN devices d ON d.address = k.address"
                                     " JOIN channels c ON c.device_guid = d.guid"
                                     " AND c.channel_no = %3")
                              .arg(rows.join(QLatin1String(", ")), QLatin1String(ChannelColumns),
                                   QLatin1String(channelNumber)),
                      values))
                return {};
            while (query.next())
                channels.insert({query.value(5).toString(), query.value(6).toInt()},
                                channelFromRow(query));
        }
        return channels;
    }

    bool migrate();
    bool checkServer(const UServerInfo &server);
    bool checkPresetServer(const QString &serverId);
    bool checkPresetName(const QString &name);
    // The stored spelling of a preset name of the server ("" when there is none).
    QString storedPresetName(const QString &serverId, const QString &name, bool *ok);
    bool storeSite(SiteData site);
    QList<RegionInfo> allRegions();
    bool readViewChannels(AllPlayViewInfo *view);
};

bool UserManagerCorePrivate::migrate()
{
    QSqlDatabase db = database();
    int version = 0;
    {
        QSqlQuery query(db);
        if (!exec(query, QStringLiteral("PRAGMA user_version")) || !query.next())
            return fail(QStringLiteral("cannot read the schema version of %1: %2")
                                .arg(file, lastError));
        version = query.value(0).toInt();
    }
    if (version > SchemaVersion)
        return fail(QStringLiteral("%1 has schema version %2; this data centre knows up to %3")
                            .arg(file)
                            .arg(version)
                            .arg(SchemaVersion));
    while (version < SchemaVersion) {
        Transaction transaction(this);
        if (!transaction.begin())
            return false;
        for (const QString &statement : migrationStep(version)) {
            QSqlQuery query(db);
            if (!exec(query, statement))
                return fail(QStringLiteral("cannot bring %1 to schema version %2: %3")
                                    .arg(file)
                                    .arg(version + 1)
                                    .arg(lastError));
        }
        {
            // PRAGMA takes no bound values; the number is our own constant.
            QSqlQuery query(db);
            if (!exec(query, QStringLiteral("PRAGMA user_version = %1").arg(version + 1)))
                return false;
        }
        if (!transaction.commit())
            return false;
        ++version;
    }
    return true;
}

bool UserManagerCorePrivate::checkPresetServer(const QString &serverId)
{
    if (serverId.isEmpty())
        return fail(QStringLiteral("no server id given"));
    QSqlQuery query(database());
    if (!exec(query, QStringLiteral("SELECT type FROM servers WHERE id = ?"), {serverId}))
        return false;
    if (!query.next())
        return fail(QStringLiteral("the server %1 is unknown").arg(serverId));
    const int type = query.value(0).toInt();
    if (type != SERVERTYPE_X86_DIGITALMATRIX && type != SERVERTYPE_LINUX_DIGITALMATRIX)
        return fail(QStringLiteral("the server %1 is no matrix server").arg(serverId));
    return true;
}

bool UserManagerCorePrivate::checkPresetName(const QString &name)
{
    if (name.isEmpty())
        return fail(QStringLiteral("the preset name is empty"));
    if (name.size() > PresetNameMaxLength)
        return fail(QStringLiteral("the preset name is longer than %1 characters")
                            .arg(PresetNameMaxLength));
    for (const QChar c : name) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\'') || c == QLatin1Char('\\'))
            return fail(QStringLiteral("the preset name \"%1\" holds a quote or a backslash")
                                .arg(name));
        if (c.category() == QChar::Other_Control)
            return fail(QStringLiteral("the preset name holds a control character"));
    }
    return true;
}

QString UserManagerCorePrivate::storedPresetName(const QString &serverId, const QString &name,
                                                 bool *ok)
{
    QSqlQuery query(database());
    *ok = exec(query,
               QStringLiteral("SELECT name FROM wall_presets WHERE server_id = ?"
                              " AND name = ? COLLATE NOCASE"),
               {serverId, name});
    return *ok && query.next() ? query.value(0).toString() : QString();
}

// Refuses an invalid server or one that clashes with another stored server.
bool UserManagerCorePrivate::checkServer(const UServerInfo &server)
{
    if (server.name.trimmed().isEmpty())
        return fail(QStringLiteral("the server name is empty"));
    // Strict dotted-decimal IPv4 as the address editor takes it: no leading zeros.
    if (!COMMONUSELIB::IpAddressFrame::isValidIp(server.ip))
        return fail(QStringLiteral("\"%1\" is not a valid IPv4 address").arg(server.ip));
    if (server.port < 1 || server.port > 65535)
        return fail(QStringLiteral("the port %1 is outside 1..65535").arg(server.port));
    if (!isKnownServerType(server.type))
        return fail(QStringLiteral("%1 is not a known server type").arg(server.type));

    QSqlQuery query(database());
    if (!exec(query,
              QStringLiteral("SELECT name FROM servers WHERE ip = ? AND port = ? AND type = ?"
                             " AND id <> ?"),
              {server.ip, server.port, server.type, textValue(server.id)}))
        return false;
    if (query.next())
        return fail(QStringLiteral("the server \"%1\" already has the address %2:%3")
                            .arg(query.value(0).toString(), server.ip)
                            .arg(server.port));
    if (!exec(query,
              QStringLiteral("SELECT 1 FROM servers WHERE name = ? AND type = ? AND id <> ?"),
              {server.name, server.type, textValue(server.id)}))
        return false;
    if (query.next())
        return fail(
                QStringLiteral("a server of this type is already named \"%1\"").arg(server.name));
    return true;
}

// Checks a batch of site records against itself and the store, then stores all of it in
// one transaction. Nothing is stored when any entry is refused.
bool UserManagerCorePrivate::storeSite(SiteData site)
{
    QSqlDatabase db = database();
    Transaction transaction(this);
    if (!transaction.begin())
        return false;

    // What the store holds already.
    QHash<QString, QString> keys; // key -> what it names
    QSet<QString> areaKeys, deviceKeys, channelKeys, addresses, channelSlots;
    {
        QSqlQuery query(db);
        const struct
        {
            const char *sql;
            const char *kind;
            QSet<QString> *set;
        } tables[] = {{"SELECT guid FROM areas", "a stored area", &areaKeys},
                      {"SELECT guid FROM devices", "a stored device", &deviceKeys},
                      {"SELECT guid FROM channels", "a stored channel", &channelKeys},
                      {"SELECT guid FROM views", "a stored view", nullptr}};
        for (const auto &table : tables) {
            if (!exec(query, QString::fromLatin1(table.sql)))
                return false;
            while (query.next()) {
                const QString key = query.value(0).toString();
                keys.insert(key, QString::fromLatin1(table.kind));
                if (table.set)
                    table.set->insert(key);
            }
        }
        if (!exec(query, QStringLiteral("SELECT address FROM devices")))
            return false;
        while (query.next())
            addresses.insert(query.value(0).toString());
        if (!exec(query, QStringLiteral("SELECT device_guid, channel_no FROM channels")))
            return false;
        while (query.next())
            channelSlots.insert(channelSlot(query.value(0).toString(), query.value(1).toInt()));
    }

    auto claimKey = [&](const QString &label, const QString &key) {
        if (key.trimmed().isEmpty())
            return fail(label + QStringLiteral(": the key is empty"));
        const auto it = keys.constFind(key);
        if (it != keys.constEnd())
            return fail(label + QStringLiteral(": the key is already used by ") + it.value());
        keys.insert(key, label);
        return true;
    };
    auto needName = [&](const QString &label, const QString &name) {
        if (name.trimmed().isEmpty())
            return fail(label + QStringLiteral(": the name is empty"));
        return true;
    };

    // Areas: keys first, so that parents may come after their children in the file.
    for (const SiteData::Area &area : qAsConst(site.areas)) {
        if (!claimKey(area.label, area.info.strGuid) || !needName(area.label, area.info.strName))
            return false;
        areaKeys.insert(area.info.strGuid);
    }
    for (const SiteData::Area &area : qAsConst(site.areas)) {
        const QString &parent = area.info.strParentGuid;
        if (!parent.isEmpty() && !areaKeys.contains(parent))
            return fail(area.label
                        + QStringLiteral(": the parent area \"%1\" is unknown").arg(parent));
    }
    // Parents are stored before their children; an area that never becomes ready is
    // part of a loop.
    QList<SiteData::Area> orderedAreas;
    {
        QSet<QString> placed;
        QList<SiteData::Area> pending = site.areas;
        QSet<QString> pendingKeys;
        for (const SiteData::Area &area : qAsConst(pending))
            pendingKeys.insert(area.info.strGuid);
        while (!pending.isEmpty()) {
            bool progress = false;
            for (int i = 0; i < pending.size();) {
                const QString &parent = pending.at(i).info.strParentGuid;
                if (parent.isEmpty() || !pendingKeys.contains(parent)) {
                    pendingKeys.remove(pending.at(i).info.strGuid);
                    orderedAreas.append(pending.takeAt(i));
                    progress = true;
                } else {
                    ++i;
                }
            }
            if (!progress)
                return fail(pending.first().label
                            + QStringLiteral(": the chain of parent areas loops back to itself"));
        }
    }

    // Devices.
    QHash<QString, int> channelsPerDevice;
    for (const SiteData::Channel &channel : qAsConst(site.channels))
        ++channelsPerDevice[channel.info.deviceGuid];
    for (SiteData::Device &device : site.devices) {
        UDeviceInfo &info = device.info;
        if (!claimKey(device.label, info.struct_DeviceGuid)
            || !needName(device.label, info.struct_DeviceName))
            return false;
        if (info.struct_IpAddress.trimmed().isEmpty())
            return fail(device.label + QStringLiteral(": the address is empty"));
        if (addresses.contains(info.struct_IpAddress))
            return fail(device.label
                        + QStringLiteral(": the address \"%1\" is already used by another device")
                                  .arg(info.struct_IpAddress));
        if (info.struct_port < 0 || info.struct_port > 65535)
            return fail(
                    device.label
                    + QStringLiteral(": the port %1 is outside 0..65535").arg(info.struct_port));
        if (info.struct_channelCount < 0)
            return fail(device.label + QStringLiteral(": the channel count is negative"));
        if (!device.countGiven)
            info.struct_channelCount = channelsPerDevice.value(info.struct_DeviceGuid);
        addresses.insert(info.struct_IpAddress);
        deviceKeys.insert(info.struct_DeviceGuid);
    }

    // Channels.
    for (const SiteData::Channel &channel : qAsConst(site.channels)) {
        const DeviceChancelInfo &info = channel.info;
        if (!claimKey(channel.label, info.channelGuid)
            || !needName(channel.label, info.channelName))
            return false;
        if (!deviceKeys.contains(info.deviceGuid))
            return fail(channel.label
                        + QStringLiteral(": the device \"%1\" is unknown").arg(info.deviceGuid));
        if (info.channelNo < 1)
            return fail(channel.label
                        + QStringLiteral(": the channel number %1 is below 1").arg(info.channelNo));
        const QString slot = channelSlot(info.deviceGuid, info.channelNo);
        if (channelSlots.contains(slot))
            return fail(channel.label
                        + QStringLiteral(": the device \"%1\" already has a channel number %2")
                                  .arg(info.deviceGuid)
                                  .arg(info.channelNo));
        if (!info.areaGuid.isEmpty() && !areaKeys.contains(info.areaGuid))
            return fail(channel.label
                        + QStringLiteral(": the area \"%1\" is unknown").arg(info.areaGuid));
        channelSlots.insert(slot);
        channelKeys.insert(info.channelGuid);
    }

    // Views.
    for (const SiteData::View &view : qAsConst(site.views)) {
        const AllPlayViewInfo &info = view.info;
        if (!claimKey(view.label, info.strGuid) || !needName(view.label, info.strName))
            return false;
        if (info.paneCount < 1 || info.paneCount > SiteData::MaxPaneCount)
            return fail(view.label
                        + QStringLiteral(": the pane count %1 is outside 1..%2")
                                  .arg(info.paneCount)
                                  .arg(SiteData::MaxPaneCount));
        if (info.channelGuids.size() != info.localNO.size())
            return fail(view.label
                        + QStringLiteral(": the channel keys and pane numbers do not pair up"));
        QSet<int> panes;
        for (int i = 0; i < info.channelGuids.size(); ++i) {
            const QString label = view.label + QStringLiteral(" channels[%1]").arg(i);
            if (!channelKeys.contains(info.channelGuids.at(i)))
                return fail(label
                            + QStringLiteral(": the channel \"%1\" is unknown")
                                      .arg(info.channelGuids.at(i)));
            const int pane = info.localNO.at(i);
            if (pane < 1 || pane > info.paneCount)
                return fail(label
                            + QStringLiteral(": the pane number %1 is outside 1..%2")
                                      .arg(pane)
                                      .arg(info.paneCount));
            if (panes.contains(pane))
                return fail(label + QStringLiteral(": the pane %1 is used twice").arg(pane));
            panes.insert(pane);
        }
    }

    // Everything checked: store it.
    {
        QSqlQuery query(db);
        if (!orderedAreas.isEmpty()) {
            if (!query.prepare(QStringLiteral(
                        "INSERT INTO areas (guid, name, parent_guid) VALUES (?, ?, ?)")))
                return fail(query.lastError().text());
            for (const SiteData::Area &area : qAsConst(orderedAreas)) {
                if (!execPrepared(query,
                                  {area.info.strGuid, area.info.strName,
                                   keyOrNull(area.info.strParentGuid)}))
                    return prefixError(area.label);
            }
        }
        if (!site.devices.isEmpty()) {
            if (!query.prepare(QStringLiteral("INSERT INTO devices (%1) VALUES "
                                              "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                                       .arg(QLatin1String(DeviceColumns))))
                return fail(query.lastError().text());
            for (const SiteData::Device &device : qAsConst(site.devices)) {
                const UDeviceInfo &i = device.info;
                if (!execPrepared(query,
                                  {i.struct_DeviceGuid, i.struct_DeviceName, i.struct_IpAddress,
                                   textValue(i.struct_account), textValue(i.struct_password),
                                   textValue(i.struct_SerialNumber), i.struct_port,
                                   i.struct_channelCount, i.struct_deviceNumber,
                                   i.struct_deviceType, i.struct_deviceKind, i.struct_reserved}))
                    return prefixError(device.label);
            }
        }
        if (!site.channels.isEmpty()) {
            if (!query.prepare(QStringLiteral("INSERT INTO channels (guid, name, device_guid,"
                                              " channel_no, area_guid) VALUES (?, ?, ?, ?, ?)")))
                return fail(query.lastError().text());
            for (const SiteData::Channel &channel : qAsConst(site.channels)) {
                const DeviceChancelInfo &i = channel.info;
                if (!execPrepared(query,
                                  {i.channelGuid, i.channelName, i.deviceGuid, i.channelNo,
                                   keyOrNull(i.areaGuid)}))
                    return prefixError(channel.label);
            }
        }
        if (!site.views.isEmpty()) {
            QSqlQuery paneQuery(db);
            if (!query.prepare(QStringLiteral("INSERT INTO views (guid, name, pane_count,"
                                              " player_kind) VALUES (?, ?, ?, ?)")))
                return fail(query.lastError().text());
            if (!paneQuery.prepare(QStringLiteral("INSERT INTO view_channels (view_guid, position,"
                                                  " channel_guid, pane) VALUES (?, ?, ?, ?)")))
                return fail(paneQuery.lastError().text());
            for (const SiteData::View &view : qAsConst(site.views)) {
                const AllPlayViewInfo &i = view.info;
                if (!execPrepared(query, {i.strGuid, i.strName, i.paneCount, i.playerKind}))
                    return prefixError(view.label);
                for (int p = 0; p < i.channelGuids.size(); ++p) {
                    if (!execPrepared(paneQuery,
                                      {i.strGuid, p, i.channelGuids.at(p), i.localNO.at(p)}))
                        return prefixError(view.label);
                }
            }
        }
    }
    return transaction.commit();
}

// Every area, each parent before its children, siblings in the order they were stored.
QList<RegionInfo> UserManagerCorePrivate::allRegions()
{
    QList<RegionInfo> stored;
    {
        QSqlQuery query(database());
        if (!exec(query, QStringLiteral("SELECT guid, name, parent_guid FROM areas ORDER BY seq")))
            return {};
        while (query.next()) {
            RegionInfo region;
            region.strGuid = query.value(0).toString();
            region.strName = query.value(1).toString();
            region.strParentGuid = query.value(2).toString();
            stored.append(region);
        }
    }
    QHash<QString, QList<int>> children;
    QSet<QString> known;
    for (const RegionInfo &region : qAsConst(stored))
        known.insert(region.strGuid);
    QList<int> roots;
    for (int i = 0; i < stored.size(); ++i) {
        const QString &parent = stored.at(i).strParentGuid;
        if (parent.isEmpty() || !known.contains(parent))
            roots.append(i);
        else
            children[parent].append(i);
    }
    QList<RegionInfo> ordered;
    QVector<bool> visited(stored.size(), false);
    // Depth first, without recursion.
    QList<int> stack;
    for (int r = roots.size() - 1; r >= 0; --r)
        stack.append(roots.at(r));
    while (!stack.isEmpty()) {
        const int index = stack.takeLast();
        if (visited.at(index))
            continue;
        visited[index] = true;
        ordered.append(stored.at(index));
        const QList<int> below = children.value(stored.at(index).strGuid);
        for (int c = below.size() - 1; c >= 0; --c)
            stack.append(below.at(c));
    }
    return ordered;
}

bool UserManagerCorePrivate::readViewChannels(AllPlayViewInfo *view)
{
    QSqlQuery query(database());
    if (!exec(query,
              QStringLiteral("SELECT vc.channel_guid, c.channel_no, vc.pane FROM view_channels vc"
                             " JOIN channels c ON c.guid = vc.channel_guid"
                             " WHERE vc.view_guid = ? ORDER BY vc.position"),
              {view->strGuid}))
        return false;
    while (query.next()) {
        view->channelGuids.append(query.value(0).toString());
        view->channelNO.append(query.value(1).toInt());
        view->localNO.append(query.value(2).toInt());
    }
    return true;
}

// ---------------------------------------------------------------------------------------------

UserManagerCore *UserManagerCore::instance()
{
    UserManagerCore *core = s_instance.loadAcquire();
    if (core)
        return core;
    QMutexLocker locker(&s_instanceMutex);
    core = s_instance.loadRelaxed();
    if (!core) {
        core = new UserManagerCore;
        if (QCoreApplication *app = QCoreApplication::instance()) {
            if (core->thread() != app->thread())
                core->moveToThread(app->thread());
            core->setParent(app);
        }
        s_instance.storeRelease(core);
    }
    return core;
}

void UserManagerCore::release()
{
    QMutexLocker locker(&s_instanceMutex);
    delete s_instance.fetchAndStoreOrdered(nullptr);
}

UserManagerCore::UserManagerCore(QObject *parent)
    : QObject(parent)
    , d(std::make_unique<UserManagerCorePrivate>())
{
    d->connectionName = QStringLiteral("DATACore.UserManagerCore.")
            + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

UserManagerCore::~UserManagerCore()
{
    close();
    // Deleted with the application object rather than through release().
    s_instance.testAndSetOrdered(this, nullptr);
}

bool UserManagerCore::open(const QString &databaseFile)
{
    close();
    d->lastError.clear();
    if (databaseFile.isEmpty())
        return d->fail(QStringLiteral("no database file given"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), d->connectionName);
        if (!db.isValid()) {
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(d->connectionName);
            return d->fail(QStringLiteral("the SQLite driver of Qt is not available"));
        }
        // The data centre holds device passwords: a new file is for its owner only (SQLite
        // gives its journal the same permissions).
        if (databaseFile != QLatin1String(":memory:") && !QFile::exists(databaseFile)) {
            QFile created(databaseFile);
            if (created.open(QIODevice::WriteOnly)) {
                created.close();
                created.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            }
        }
        db.setDatabaseName(databaseFile);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db.open()) {
            const QString why = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(d->connectionName);
            return d->fail(QStringLiteral("cannot open %1: %2").arg(databaseFile, why));
        }
    }
    d->file = databaseFile;
    bool ok = false;
    {
        QSqlQuery query(d->database());
        // Foreign keys are a per-connection setting and cannot change inside a transaction.
        ok = d->exec(query, QStringLiteral("PRAGMA foreign_keys = ON"))
                && d->exec(query, QStringLiteral("PRAGMA foreign_keys")) && query.next()
                && query.value(0).toInt() == 1;
        if (!ok && d->lastError.isEmpty())
            d->fail(QStringLiteral("foreign keys cannot be switched on"));
    }
    ok = ok && d->migrate();
    if (!ok) {
        const QString why = d->lastError;
        close();
        d->lastError = QStringLiteral("cannot use %1 as the data-centre database: %2")
                               .arg(databaseFile, why);
        return false;
    }
    d->isOpen = true;
    qCDebug(lcDataCore) << "data centre opened" << databaseFile;
    return true;
}

void UserManagerCore::close()
{
    d->isOpen = false;
    d->file.clear();
    if (!QSqlDatabase::contains(d->connectionName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(d->connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(d->connectionName);
}

bool UserManagerCore::isOpen() const
{
    return d->isOpen;
}

QString UserManagerCore::databaseFile() const
{
    return d->file;
}

QString UserManagerCore::lastError() const
{
    return d->lastError;
}

bool UserManagerCore::importSite(const QByteArray &json)
{
    d->lastError.clear();
    if (!d->ready())
        return false;
    SiteData site;
    QString error;
    if (!SiteData::fromJson(json, &site, &error))
        return d->fail(QStringLiteral("site refused: ") + error);
    if (!d->storeSite(site)) {
        d->lastError = QStringLiteral("site refused: ") + d->lastError;
        return false;
    }
    qCDebug(lcDataCore) << "site imported:" << site.areas.size() << "areas," << site.devices.size()
                        << "devices," << site.channels.size() << "channels," << site.views.size()
                        << "views";
    return true;
}

bool UserManagerCore::importSiteFile(const QString &jsonFile)
{
    d->lastError.clear();
    QFile file(jsonFile);
    if (!file.open(QIODevice::ReadOnly))
        return d->fail(QStringLiteral("cannot read the site file %1: %2")
                               .arg(jsonFile, file.errorString()));
    return importSite(file.readAll());
}

QList<UServerInfo> UserManagerCore::GetServers(const QString &filter) const
{
    QList<UServerInfo> servers;
    if (!d->ready())
        return servers;
    QSqlQuery query(d->database());
    if (!d->exec(query,
                 QStringLiteral("SELECT %1 FROM servers ORDER BY seq")
                         .arg(QLatin1String(ServerColumns))))
        return servers;
    while (query.next()) {
        const UServerInfo server = serverFromRow(query);
        if (filter.isEmpty() || server.name.contains(filter, Qt::CaseInsensitive)
            || server.ip.contains(filter))
            servers.append(server);
    }
    return servers;
}

UServerInfo UserManagerCore::getServerInfo(const QString &id) const
{
    return d->selectOne(
            QStringLiteral("SELECT %1 FROM servers WHERE id = ?").arg(QLatin1String(ServerColumns)),
            {id}, serverFromRow);
}

bool UserManagerCore::AddServer(const QString &name, const QString &ip, const QString &user,
                                const QString &password, const int &port, const int &type)
{
    d->lastError.clear();
    if (!d->ready())
        return false;
    UServerInfo server;
    server.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    server.name = name;
    server.ip = ip;
    server.user = user;
    server.password = password;
    server.port = port;
    server.type = type;
    {
        UserManagerCorePrivate::Transaction transaction(d.get());
        if (!transaction.begin() || !d->checkServer(server))
            return false;
        {
            QSqlQuery query(d->database());
            if (!d->exec(query,
                         QStringLiteral("INSERT INTO servers (%1) VALUES (?, ?, ?, ?, ?, ?, ?)")
                                 .arg(QLatin1String(ServerColumns)),
                         {server.id, server.name, server.ip, textValue(server.user),
                          textValue(server.password), server.port, server.type}))
                return false;
        }
        if (!transaction.commit())
            return false;
    }
    qCDebug(lcDataCore) << "server added" << server.id << server.name << server.ip << server.port
                        << server.type;
    QMetaObject::invokeMethod(
            this, [this, server] { emit signalAddServer(server); }, Qt::QueuedConnection);
    return true;
}

bool UserManagerCore::EditServer(const QString &id, const QString &name, const QString &ip,
                                 const QString &user, const QString &password, const int &port,
                                 const int &type)
{
    d->lastError.clear();
    if (!d->ready())
        return false;
    if (id.isEmpty())
        return d->fail(QStringLiteral("no server id given"));
    UServerInfo server;
    server.id = id;
    server.name = name;
    server.ip = ip;
    server.user = user;
    server.password = password;
    server.port = port;
    server.type = type;
    {
        UserManagerCorePrivate::Transaction transaction(d.get());
        if (!transaction.begin())
            return false;
        {
            QSqlQuery query(d->database());
            if (!d->exec(query, QStringLiteral("SELECT 1 FROM servers WHERE id = ?"), {id}))
                return false;
            if (!query.next())
                return d->fail(QStringLiteral("the server %1 is unknown").arg(id));
        }
        if (!d->checkServer(server))
            return false;
        {
            QSqlQuery query(d->database());
            if (!d->exec(query,
                         QStringLiteral("UPDATE servers SET name = ?, ip = ?, user_name = ?,"
                                        " password = ?, port = ?, type = ? WHERE id = ?"),
                         {server.name, server.ip, textValue(server.user),
                          textValue(server.password), server.port, server.type, id}))
                return false;
            if (query.numRowsAffected() != 1)
                return d->fail(QStringLiteral("the server %1 was not updated").arg(id));
        }
        if (!transaction.commit())
            return false;
    }
    qCDebug(lcDataCore) << "server edited" << server.id << server.name << server.ip << server.port
                        << server.type;
    QMetaObject::invokeMethod(
            this, [this, server] { emit signalEditServer(server); }, Qt::QueuedConnection);
    return true;
}

bool UserManagerCore::DeleteServer(const QString &id, const SERVERTYPE &type)
{
    d->lastError.clear();
    if (!d->ready())
        return false;
    if (id.isEmpty())
        return d->fail(QStringLiteral("no server id given"));
    {
        UserManagerCorePrivate::Transaction transaction(d.get());
        if (!transaction.begin())
            return false;
        {
            QSqlQuery query(d->database());
            if (!d->exec(query, QStringLiteral("SELECT type FROM servers WHERE id = ?"), {id}))
                return false;
            if (!query.next())
                return d->fail(QStringLiteral("the server %1 is unknown").arg(id));
            const int storedType = query.value(0).toInt();
            if (storedType != type)
                return d->fail(QStringLiteral("the server %1 has type %2, not %3")
                                       .arg(id)
                                       .arg(storedType)
                                       .arg(int(type)));
        }
        {
            QSqlQuery query(d->database());
            if (!d->exec(query, QStringLiteral("DELETE FROM servers WHERE id = ?"), {id}))
                return false;
            if (query.numRowsAffected() != 1)
                return d->fail(QStringLiteral("the server %1 was not deleted").arg(id));
        }
        if (!transaction.commit())
            return false;
    }
    qCDebug(lcDataCore) << "server deleted" << id << type;
    const QString deletedId = id;
    const SERVERTYPE deletedType = type;
    QMetaObject::invokeMethod(
            this,
            [this, deletedId, deletedType] { emit signalDeleteServer(deletedId, deletedType); },
            Qt::QueuedConnection);
    return true;
}

DeviceChancelInfo UserManagerCore::getChannelInfoByChannelGuid(const QString &channelGuid) const
{
    return d->selectOne(QStringLiteral("SELECT %1 FROM channels c WHERE c.guid = ?")
                                .arg(QLatin1String(ChannelColumns)),
                        {channelGuid}, channelFromRow);
}

DeviceChancelInfo UserManagerCore::getDevChannelInfoByChannelGuid(const QString &channelGuid) const
{
    return getChannelInfoByChannelGuid(channelGuid);
}

DeviceChancelInfo UserManagerCore::channelInfoByDeviceNo(const QString &deviceAddress,
                                                         const int &channelNo) const
{
    return d->selectOne(
            QStringLiteral("SELECT %1 FROM channels c JOIN devices d ON d.guid = c.device_guid"
                           " WHERE d.address = ? AND c.channel_no = ?")
                    .arg(QLatin1String(ChannelColumns)),
            {deviceAddress, channelNo}, channelFromRow);
}

QList<DeviceChancelInfo> UserManagerCore::getChannelInfoByAreaGuid(const QString &areaGuid) const
{
    QList<DeviceChancelInfo> channels;
    if (areaGuid.isEmpty() || !d->ready())
        return channels;
    QSqlQuery query(d->database());
    if (!d->exec(query,
                 QStringLiteral("SELECT %1 FROM channels c WHERE c.area_guid = ?"
                                " ORDER BY c.seq")
                         .arg(QLatin1String(ChannelColumns)),
                 {areaGuid}))
        return channels;
    while (query.next())
        channels.append(channelFromRow(query));
    return channels;
}

QHash<UserManagerCore::DeviceChannelKey, DeviceChancelInfo>
UserManagerCore::channelInfosByDeviceNo(const QList<DeviceChannelKey> &keys) const
{
    return d->channelsByKeys(keys, "k.channel_no");
}

QHash<UserManagerCore::DeviceChannelKey, DeviceChancelInfo>
UserManagerCore::cellChannelInfos(const QList<DeviceChannelKey> &keys) const
{
    return d->channelsByKeys(keys, "CASE d.device_kind WHEN 3 THEN 1 ELSE k.channel_no END");
}

UDeviceInfo UserManagerCore::getDeviceInfoByDeviceGuid(const QString &deviceGuid) const
{
    return d->selectOne(QStringLiteral("SELECT %1 FROM devices WHERE guid = ?")
                                .arg(QLatin1String(DeviceColumns)),
                        {deviceGuid}, deviceFromRow);
}

UDeviceInfo UserManagerCore::getDevInfo(const QString &deviceGuid) const
{
    return getDeviceInfoByDeviceGuid(deviceGuid);
}

UDeviceInfo UserManagerCore::getDeviceInfoByDeviceID(const QString &deviceAddress) const
{
    return d->selectOne(QStringLiteral("SELECT %1 FROM devices WHERE address = ?")
                                .arg(QLatin1String(DeviceColumns)),
                        {deviceAddress}, deviceFromRow);
}

QList<RegionInfo> UserManagerCore::GetOneRegion(const QString &areaGuid) const
{
    if (!d->ready())
        return {};
    if (areaGuid.isEmpty())
        return d->allRegions();
    QSqlQuery query(d->database());
    if (!d->exec(query, QStringLiteral("SELECT guid, name, parent_guid FROM areas WHERE guid = ?"),
                 {areaGuid})
        || !query.next())
        return {};
    RegionInfo region;
    region.strGuid = query.value(0).toString();
    region.strName = query.value(1).toString();
    region.strParentGuid = query.value(2).toString();
    return {region};
}

AllPlayViewInfo UserManagerCore::getPlayerInfoByGuid(const QString &guid) const
{
    if (guid.isEmpty() || !d->ready())
        return {};
    {
        QSqlQuery query(d->database());
        if (!d->exec(query,
                     QStringLiteral("SELECT guid, name, pane_count, player_kind FROM views"
                                    " WHERE guid = ?"),
                     {guid}))
            return {};
        if (query.next()) {
            AllPlayViewInfo view;
            view.strGuid = query.value(0).toString();
            view.strName = query.value(1).toString();
            view.paneCount = query.value(2).toInt();
            view.playerKind = query.value(3).toInt();
            query.finish();
            if (!d->readViewChannels(&view))
                return {};
            return view;
        }
    }
    // A channel key: the channel alone, played by its device's kind of player.
    QSqlQuery query(d->database());
    if (!d->exec(query,
                 QStringLiteral("SELECT c.guid, c.name, c.channel_no, d.device_kind FROM channels c"
                                " JOIN devices d ON d.guid = c.device_guid WHERE c.guid = ?"),
                 {guid})
        || !query.next())
        return {};
    AllPlayViewInfo player;
    player.strGuid = query.value(0).toString();
    player.strName = query.value(1).toString();
    player.paneCount = 1;
    player.playerKind = query.value(3).toInt();
    player.channelGuids.append(player.strGuid);
    player.channelNO.append(query.value(2).toInt());
    player.localNO.append(1);
    return player;
}

QList<AllPlayViewInfo> UserManagerCore::getAllViews() const
{
    QList<AllPlayViewInfo> views;
    if (!d->ready())
        return views;
    {
        QSqlQuery query(d->database());
        if (!d->exec(query,
                     QStringLiteral("SELECT guid, name, pane_count, player_kind FROM views"
                                    " ORDER BY seq")))
            return views;
        while (query.next()) {
            AllPlayViewInfo view;
            view.strGuid = query.value(0).toString();
            view.strName = query.value(1).toString();
            view.paneCount = query.value(2).toInt();
            view.playerKind = query.value(3).toInt();
            views.append(view);
        }
    }
    for (AllPlayViewInfo &view : views) {
        if (!d->readViewChannels(&view))
            return {};
    }
    return views;
}

bool UserManagerCore::addRegion(const RegionInfo &region)
{
    d->lastError.clear();
    if (!d->ready())
        return false;
    SiteData site;
    site.areas.append({region, SiteData::entryLabel(QStringLiteral("area"), region.strGuid)});
    return d->storeSite(site);
}

bool UserManagerCore::addDevice(const UDeviceInfo &device)
{
    d->lastError.clear();
    if (!d->ready())
        return false;
    SiteData site;
    SiteData::Device entry;
    entry.info = device;
    entry.label = SiteData::entryLabel(QStringLiteral("device"), device.struct_DeviceGuid);
    site.devices.append(entry);
    return d->storeSite(site);
}

bool UserManagerCore::addChannel(const DeviceChancelInfo &channel)
{
    d->lastError.clear();
    if (!d->ready())
        return false;
    SiteData site;
    site.channels.append(
            {channel, SiteData::entryLabel(QStringLiteral("channel"), channel.channelGuid)});
    return d->storeSite(site);
}

// ---- Wall presets ----------------------------------------------------------------------

bool UserManagerCore::saveWallPreset(const QString &serverId, const QString &name,
                                     const QByteArray &payload)
{
    d->lastError.clear();
    const QString presetName = name.trimmed();
    if (!d->ready() || !d->checkPresetName(presetName))
        return false;
    const int version = presetPayloadVersion(payload);
    if (version == 0)
        return d->fail(QStringLiteral("the preset \"%1\" is no JSON object with a version")
                               .arg(presetName));
    UserManagerCorePrivate::Transaction transaction(d.get());
    if (!transaction.begin() || !d->checkPresetServer(serverId))
        return false;
    bool ok = false;
    const QString existing = d->storedPresetName(serverId, presetName, &ok);
    if (!ok)
        return false;
    if (!existing.isEmpty())
        return d->fail(QStringLiteral("a preset is already named \"%1\"").arg(existing));
    QSqlQuery query(d->database());
    if (!d->exec(query,
                 QStringLiteral("INSERT INTO wall_presets (server_id, name, version, payload)"
                                " VALUES (?, ?, ?, ?)"),
                 {serverId, presetName, version, payload}))
        return false;
    return transaction.commit();
}

QStringList UserManagerCore::wallPresetNames(const QString &serverId) const
{
    QStringList names;
    if (serverId.isEmpty() || !d->ready())
        return names;
    QSqlQuery query(d->database());
    if (!d->exec(query,
                 QStringLiteral("SELECT name FROM wall_presets WHERE server_id = ? ORDER BY seq"),
                 {serverId}))
        return names;
    while (query.next())
        names.append(query.value(0).toString());
    return names;
}

bool UserManagerCore::renameWallPreset(const QString &serverId, const QString &name,
                                       const QString &newName)
{
    d->lastError.clear();
    const QString presetName = name.trimmed();
    const QString renamed = newName.trimmed();
    if (!d->ready() || !d->checkPresetName(renamed))
        return false;
    UserManagerCorePrivate::Transaction transaction(d.get());
    if (!transaction.begin() || !d->checkPresetServer(serverId))
        return false;
    bool ok = false;
    const QString stored = d->storedPresetName(serverId, presetName, &ok);
    if (!ok)
        return false;
    if (stored.isEmpty())
        return d->fail(QStringLiteral("no preset is named \"%1\"").arg(presetName));
    const QString clash = d->storedPresetName(serverId, renamed, &ok);
    if (!ok)
        return false;
    // A new spelling of the same name is no clash.
    if (!clash.isEmpty() && clash != stored)
        return d->fail(QStringLiteral("a preset is already named \"%1\"").arg(clash));
    QSqlQuery query(d->database());
    if (!d->exec(
                query,
                QStringLiteral("UPDATE wall_presets SET name = ? WHERE server_id = ? AND name = ?"),
                {renamed, serverId, stored}))
        return false;
    return transaction.commit();
}

bool UserManagerCore::deleteWallPreset(const QString &serverId, const QString &name)
{
    d->lastError.clear();
    const QString presetName = name.trimmed();
    if (!d->ready())
        return false;
    UserManagerCorePrivate::Transaction transaction(d.get());
    if (!transaction.begin() || !d->checkPresetServer(serverId))
        return false;
    QSqlQuery query(d->database());
    if (!d->exec(query,
                 QStringLiteral("DELETE FROM wall_presets WHERE server_id = ?"
                                " AND name = ? COLLATE NOCASE"),
                 {serverId, presetName}))
        return false;
    if (query.numRowsAffected() != 1)
        return d->fail(QStringLiteral("no preset is named \"%1\"").arg(presetName));
    return transaction.commit();
}

bool UserManagerCore::loadWallPreset(const QString &serverId, const QString &name,
                                     QByteArray *payload) const
{
    d->lastError.clear();
    const QString presetName = name.trimmed();
    if (!payload || !d->ready() || !d->checkPresetServer(serverId))
        return false;
    QSqlQuery query(d->database());
    if (!d->exec(query,
                 QStringLiteral("SELECT version, payload, typeof(payload) FROM wall_presets"
                                " WHERE server_id = ? AND name = ? COLLATE NOCASE"),
                 {serverId, presetName}))
        return false;
    if (!query.next())
        return d->fail(QStringLiteral("no preset is named \"%1\"").arg(presetName));
    const QByteArray stored = query.value(1).toByteArray();
    const QString storage = query.value(2).toString();
    if ((storage != QLatin1String("blob") && storage != QLatin1String("text"))
        || presetPayloadVersion(stored) != query.value(0).toInt())
        return d->fail(QStringLiteral("the stored preset \"%1\" is damaged").arg(presetName));
    *payload = stored;
    return true;
}

bool UserManagerCore::addView(const AllPlayViewInfo &view)
{
    d->lastError.clear();
    if (!d->ready())
        return false;
    SiteData site;
    site.views.append({view, SiteData::entryLabel(QStringLiteral("view"), view.strGuid)});
    return d->storeSite(site);
}

} // namespace DATACore
