#include "SiteData.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>

#include <cmath>
#include <limits>

namespace DATACore {

namespace {

// Reads members of one entry and remembers the first fault.
class EntryReader
{
public:
    EntryReader(const QJsonObject &object, QString *error)
        : m_object(object)
        , m_error(error)
    { }

    bool ok() const { return m_ok; }
    void setLabel(const QString &label) { m_label = label; }

    QString text(const QString &name, bool required)
    {
        if (!m_ok)
            return QString();
        const QJsonValue value = m_object.value(name);
        if (value.isUndefined() || value.isNull()) {
            if (required)
                fail(QStringLiteral("the member \"%1\" is missing").arg(name));
            return QString();
        }
        if (!value.isString()) {
            fail(QStringLiteral("the member \"%1\" must be a text").arg(name));
            return QString();
        }
        const QString result = value.toString();
        if (required && result.trimmed().isEmpty())
            fail(QStringLiteral("the member \"%1\" is empty").arg(name));
        return result;
    }

    int integer(const QString &name, bool required, int defaultValue, int minimum, int maximum)
    {
        if (!m_ok)
            return defaultValue;
        const QJsonValue value = m_object.value(name);
        if (value.isUndefined() || value.isNull()) {
            if (required)
                fail(QStringLiteral("the member \"%1\" is missing").arg(name));
            return defaultValue;
        }
        const double number = value.toDouble(std::numeric_limits<double>::quiet_NaN());
        if (!value.isDouble() || !std::isfinite(number) || std::floor(number) != number) {
            fail(QStringLiteral("the member \"%1\" must be a whole number").arg(name));
            return defaultValue;
        }
        if (number < minimum || number > maximum) {
            fail(QStringLiteral("the member \"%1\" is %2, outside %3..%4")
                         .arg(name)
                         .arg(number, 0, 'f', 0)
                         .arg(minimum)
                         .arg(maximum));
            return defaultValue;
        }
        return static_cast<int>(number);
    }

    bool has(const QString &name) const
    {
        const QJsonValue value = m_object.value(name);
        return !value.isUndefined() && !value.isNull();
    }

    QJsonArray array(const QString &name)
    {
        if (!m_ok)
            return QJsonArray();
        const QJsonValue value = m_object.value(name);
        if (value.isUndefined() || value.isNull()) {
            fail(QStringLiteral("the member \"%1\" is missing").arg(name));
            return QJsonArray();
        }
        if (!value.isArray()) {
            fail(QStringLiteral("the member \"%1\" must be an array").arg(name));
            return QJsonArray();
        }
        return value.toArray();
    }

    void fail(const QString &why)
    {
        if (!m_ok)
            return;
        m_ok = false;
        if (m_error)
            *m_error = m_label + QStringLiteral(": ") + why;
    }

private:
    QJsonObject m_object;
    QString *m_error = nullptr;
    QString m_label;
    bool m_ok = true;
};

constexpr int IntMax = std::numeric_limits<int>::max();
constexpr int IntMin = std::numeric_limits<int>::min();

bool entries(const QJsonObject &root, const QString &name, QJsonArray *out, QString *error)
{
    const QJsonValue value = root.value(name);
    if (value.isUndefined() || value.isNull()) {
        *out = QJsonArray();
        return true;
    }
    if (!value.isArray()) {
        *error = QStringLiteral("\"%1\" must be an array").arg(name);
        return false;
    }
    *out = value.toArray();
    return true;
}

bool entryObject(const QJsonArray &array, const QString &name, int index, QJsonObject *out,
                 QString *error)
{
    const QJsonValue value = array.at(index);
    if (!value.isObject()) {
        *error = QStringLiteral("%1[%2]: the entry must be an object").arg(name).arg(index);
        return false;
    }
    *out = value.toObject();
    return true;
}

} // namespace

QString SiteData::entryLabel(const QString &kind, const QString &key)
{
    return QStringLiteral("%1 \"%2\"").arg(kind, key);
}

QString SiteData::entryLabel(const QString &array, int index, const QString &key)
{
    if (key.isEmpty())
        return QStringLiteral("%1[%2]").arg(array).arg(index);
    return QStringLiteral("%1[%2] \"%3\"").arg(array).arg(index).arg(key);
}

bool SiteData::fromJson(const QByteArray &json, SiteData *site, QString *error)
{
    QString localError;
    if (!error)
        error = &localError;
    *site = SiteData();

    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error = QStringLiteral("the site file is not valid JSON (offset %1: %2)")
                         .arg(parseError.offset)
                         .arg(parseError.errorString());
        return false;
    }
    if (!document.isObject()) {
        *error = QStringLiteral("the site file must hold one JSON object");
        return false;
    }
    const QJsonObject root = document.object();
    const QJsonValue version = root.value(QStringLiteral("version"));
    if (!version.isUndefined() && version.toDouble(-1) != 1) {
        *error = QStringLiteral("the site file version must be 1");
        return false;
    }

    QJsonArray array;
    QJsonObject object;

    const QString areasName = QStringLiteral("areas");
    if (!entries(root, areasName, &array, error))
        return false;
    for (int i = 0; i < array.size(); ++i) {
        if (!entryObject(array, areasName, i, &object, error))
            return false;
        EntryReader reader(object, error);
        reader.setLabel(entryLabel(areasName, i, QString()));
        Area area;
        area.info.strGuid = reader.text(QStringLiteral("key"), true);
        reader.setLabel(entryLabel(areasName, i, area.info.strGuid));
        area.info.strName = reader.text(QStringLiteral("name"), true);
        area.info.strParentGuid = reader.text(QStringLiteral("parent"), false);
        if (!reader.ok())
            return false;
        area.label = entryLabel(areasName, i, area.info.strGuid);
        site->areas.append(area);
    }

    const QString devicesName = QStringLiteral("devices");
    if (!entries(root, devicesName, &array, error))
        return false;
    for (int i = 0; i < array.size(); ++i) {
        if (!entryObject(array, devicesName, i, &object, error))
            return false;
        EntryReader reader(object, error);
        reader.setLabel(entryLabel(devicesName, i, QString()));
        Device device;
        UDeviceInfo &info = device.info;
        info.struct_DeviceGuid = reader.text(QStringLiteral("key"), true);
        reader.setLabel(entryLabel(devicesName, i, info.struct_DeviceGuid));
        info.struct_DeviceName = reader.text(QStringLiteral("name"), true);
        info.struct_IpAddress = reader.text(QStringLiteral("address"), true);
        info.struct_account = reader.text(QStringLiteral("account"), false);
        info.struct_password = reader.text(QStringLiteral("password"), false);
        info.struct_SerialNumber = reader.text(QStringLiteral("serial"), false);
        info.struct_port = reader.integer(QStringLiteral("port"), false, 0, 0, 65535);
        device.countGiven = reader.has(QStringLiteral("channelCount"));
        info.struct_channelCount =
                reader.integer(QStringLiteral("channelCount"), false, 0, 0, IntMax);
        info.struct_deviceNumber = reader.integer(QStringLiteral("number"), false, 0, 0, IntMax);
        info.struct_deviceType = reader.integer(QStringLiteral("type"), false, 0, 0, IntMax);
        info.struct_deviceKind = reader.integer(QStringLiteral("kind"), false, 0, 0, IntMax);
        info.struct_reserved = reader.integer(QStringLiteral("reserved"), false, 0, IntMin, IntMax);
        if (!reader.ok())
            return false;
        device.label = entryLabel(devicesName, i, info.struct_DeviceGuid);
        site->devices.append(device);
    }

    const QString channelsName = QStringLiteral("channels");
    if (!entries(root, channelsName, &array, error))
        return false;
    for (int i = 0; i < array.size(); ++i) {
        if (!entryObject(array, channelsName, i, &object, error))
            return false;
        EntryReader reader(object, error);
        reader.setLabel(entryLabel(channelsName, i, QString()));
        Channel channel;
        channel.info.channelGuid = reader.text(QStringLiteral("key"), true);
        reader.setLabel(entryLabel(channelsName, i, channel.info.channelGuid));
        channel.info.channelName = reader.text(QStringLiteral("name"), true);
        channel.info.deviceGuid = reader.text(QStringLiteral("device"), true);
        channel.info.channelNo = reader.integer(QStringLiteral("number"), true, 0, 1, IntMax);
        channel.info.areaGuid = reader.text(QStringLiteral("area"), false);
        if (!reader.ok())
            return false;
        channel.label = entryLabel(channelsName, i, channel.info.channelGuid);
        site->channels.append(channel);
    }

    const QString viewsName = QStringLiteral("views");
    if (!entries(root, viewsName, &array, error))
        return false;
    for (int i = 0; i < array.size(); ++i) {
        if (!entryObject(array, viewsName, i, &object, error))
            return false;
        EntryReader reader(object, error);
        reader.setLabel(entryLabel(viewsName, i, QString()));
        View view;
        AllPlayViewInfo &info = view.info;
        info.strGuid = reader.text(QStringLiteral("key"), true);
        reader.setLabel(entryLabel(viewsName, i, info.strGuid));
        info.strName = reader.text(QStringLiteral("name"), true);
        info.paneCount = reader.integer(QStringLiteral("paneCount"), true, 0, 1, MaxPaneCount);
        info.playerKind = reader.integer(QStringLiteral("playerKind"), false, 0, 0, IntMax);
        const QJsonArray panes = reader.array(QStringLiteral("channels"));
        if (!reader.ok())
            return false;
        for (int p = 0; p < panes.size(); ++p) {
            if (!panes.at(p).isObject()) {
                reader.fail(QStringLiteral("channels[%1] must be an object").arg(p));
                return false;
            }
            EntryReader paneReader(panes.at(p).toObject(), error);
            paneReader.setLabel(entryLabel(viewsName, i, info.strGuid)
                                + QStringLiteral(" channels[%1]").arg(p));
            const QString channelKey = paneReader.text(QStringLiteral("channel"), true);
            // The pane range is checked against the view's pane count when storing, so
            // that the message can name the count.
            const int pane = paneReader.integer(QStringLiteral("pane"), true, 0, IntMin, IntMax);
            if (!paneReader.ok())
                return false;
            info.channelGuids.append(channelKey);
            info.localNO.append(pane);
        }
        view.label = entryLabel(viewsName, i, info.strGuid);
        site->views.append(view);
    }
    return true;
}

} // namespace DATACore
