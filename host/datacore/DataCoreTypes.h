// Records of the host data centre.
#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

// Server types of the host; the matrix module uses two of them.
enum SERVERTYPE {
    SERVERTYPE_UNKNOWN = 0,
    SERVERTYPE_STREAM = 1,
    SERVERTYPE_X86_DIGITALMATRIX = 2,
    SERVERTYPE_STORAGE = 3,
    SERVERTYPE_ALARM = 4,
    SERVERTYPE_TRANSFER = 5,
    SERVERTYPE_LINUX_DIGITALMATRIX = 6,
};

// One configured server.
struct UServerInfo
{
    QString id;
    QString name;
    QString ip;
    QString user;
    QString password;
    int port = 0;
    int type = SERVERTYPE_UNKNOWN;

    bool operator==(const UServerInfo &o) const
    {
        return id == o.id && name == o.name && ip == o.ip && user == o.user
               && password == o.password && port == o.port && type == o.type;
    }
    bool operator!=(const UServerInfo &o) const { return !(*this == o); }
};

// One area (region) of the site; areas may nest through parentGuid.
struct RegionInfo
{
    QString strGuid;
    QString strName;
    QString strParentGuid; // empty for a top-level area
};

// One device: six strings, then six ints.
struct UDeviceInfo
{
    QString struct_DeviceGuid;
    QString struct_DeviceName;
    QString struct_IpAddress;
    QString struct_account;
    QString struct_password;
    QString struct_SerialNumber; // the sixth string (at most 16 characters are sent)
    int struct_port = 0;
    int struct_channelCount = 0;
    int struct_deviceNumber = 0;
    int struct_deviceType = 0;
    int struct_deviceKind = 0; // kind 3 devices get the stream choice of the host settings
    int struct_reserved = 0;
};

// One channel of a device.
struct DeviceChancelInfo
{
    QString channelGuid;
    QString channelName;
    QString deviceGuid;
    int channelNo = 0;
    QString areaGuid;
};

// A saved view (a player layout) and its channels with their pane numbers.
// For a channel key, getPlayerInfoByGuid answers with the kind of the channel's player.
struct AllPlayViewInfo
{
    QString strGuid;
    QString strName;
    int paneCount = 0;
    int playerKind = 0;
    QStringList channelGuids; // channel keys in the view's order
    QList<int> channelNO;     // channel numbers, parallel to channelGuids
    QList<int> localNO;       // 1-based pane numbers, parallel to channelGuids
};

Q_DECLARE_METATYPE(UServerInfo)
Q_DECLARE_METATYPE(SERVERTYPE)
