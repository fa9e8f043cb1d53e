// A site (areas, devices, channels and views) about to be stored, read from a site file or
// built from single records. Used inside the data centre only.
#pragma once

#include "DataCoreTypes.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace DATACore {

struct SiteData
{
    struct Area
    {
        RegionInfo info;
        QString label; // names the entry in error texts, e.g. areas[2] "a3"
    };
    struct Device
    {
        UDeviceInfo info;
        bool countGiven = true; // false: the channel count is taken from the site's channels
        QString label;
    };
    struct Channel
    {
        DeviceChancelInfo info;
        QString label;
    };
    struct View
    {
        AllPlayViewInfo info; // channelGuids and localNO are parallel; channelNO is not read
        QString label;
    };

    QList<Area> areas;
    QList<Device> devices;
    QList<Channel> channels;
    QList<View> views;

    // Largest pane count of a view.
    static constexpr int MaxPaneCount = 64;

    // Reads a site file (format in docs/site-format.md). Checks the shape of each entry
    // (required members present, types and ranges); references are checked when storing.
    static bool fromJson(const QByteArray &json, SiteData *site, QString *error);

    static QString entryLabel(const QString &kind, const QString &key);
    static QString entryLabel(const QString &array, int index, const QString &key);
};

} // namespace DATACore
