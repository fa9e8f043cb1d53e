#include "StateFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <cmath>
#include <cstring>

namespace MatrixSim {

namespace {

const char FormatName[] = "digital-matrix-simulator";
constexpr int FormatVersion = 1;

QJsonArray rectArray(const RECT &rect)
{
    return QJsonArray {rect.left, rect.top, rect.right, rect.bottom};
}

template<typename Record>
QString recordsText(const QVector<Record> &records)
{
    QByteArray bytes;
    for (const Record &record : records)
        bytes.append(reinterpret_cast<const char *>(&record), int(sizeof(Record)));
    return QString::fromLatin1(bytes.toBase64());
}

// Reads JSON values strictly; the first failure is kept.
class JsonReader
{
public:
    explicit JsonReader(QString *error)
        : m_error(error)
    { }

    bool ok() const { return m_ok; }
    void fail(const QString &why)
    {
        if (m_ok && m_error)
            *m_error = why;
        m_ok = false;
    }

    int integer(const QJsonObject &object, const char *key, const QString &where)
    {
        const QJsonValue value = object.value(QLatin1String(key));
        const double number = value.toDouble(std::nan(""));
        if (!value.isDouble() || std::floor(number) != number || number < -2147483648.0
            || number > 2147483647.0) {
            fail(QStringLiteral("%1: \"%2\" is not an integer").arg(where, QLatin1String(key)));
            return 0;
        }
        return int(number);
    }

    bool boolean(const QJsonObject &object, const char *key, const QString &where)
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (!value.isBool()) {
            fail(QStringLiteral("%1: \"%2\" is not true or false").arg(where, QLatin1String(key)));
            return false;
        }
        return value.toBool();
    }

    QString text(const QJsonObject &object, const char *key, const QString &where)
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (!value.isString()) {
            fail(QStringLiteral("%1: \"%2\" is not a text").arg(where, QLatin1String(key)));
            return QString();
        }
        return value.toString();
    }

    QJsonArray array(const QJsonObject &object, const char *key, const QString &where)
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (!value.isArray()) {
            fail(QStringLiteral("%1: \"%2\" is not a list").arg(where, QLatin1String(key)));
            return QJsonArray();
        }
        return value.toArray();
    }

    QJsonObject objectAt(const QJsonArray &array, int index, const QString &where)
    {
        if (!array.at(index).isObject()) {
            fail(QStringLiteral("%1[%2] is not an object").arg(where).arg(index));
            return QJsonObject();
        }
        return array.at(index).toObject();
    }

    RECT rect(const QJsonObject &object, const char *key, const QString &where)
    {
        RECT rect {0, 0, 0, 0};
        const QJsonArray values = array(object, key, where);
        if (!m_ok)
            return rect;
        int32_t *fields[] = {&rect.left, &rect.top, &rect.right, &rect.bottom};
        if (values.size() != 4) {
            fail(QStringLiteral("%1: \"%2\" needs four integers").arg(where, QLatin1String(key)));
            return rect;
        }
        for (int k = 0; k < 4; ++k) {
            const double number = values.at(k).toDouble(std::nan(""));
            if (!values.at(k).isDouble() || std::floor(number) != number
                || std::fabs(number) > 1e9) {
                fail(QStringLiteral("%1: \"%2\" needs four integers")
                             .arg(where, QLatin1String(key)));
                return rect;
            }
            *fields[k] = int32_t(number);
        }
        return rect;
    }

    template<typename Record>
    QVector<Record> records(const QJsonObject &object, const char *key, const QString &where)
    {
        QVector<Record> result;
        const QString encoded = text(object, key, where);
        if (!m_ok)
            return result;
        const QByteArray bytes = QByteArray::fromBase64(encoded.toLatin1());
        if (bytes.size() % int(sizeof(Record)) != 0) {
            fail(QStringLiteral("%1: \"%2\" is not a whole number of records")
                         .arg(where, QLatin1String(key)));
            return result;
        }
        result.resize(bytes.size() / int(sizeof(Record)));
        if (!result.isEmpty())
            std::memcpy(result.data(), bytes.constData(), std::size_t(bytes.size()));
        return result;
    }

private:
    QString *m_error;
    bool m_ok = true;
};

QJsonObject x86Object(const SimX86State &state)
{
    QJsonArray windows;
    for (const SimX86Window &window : state.windows) {
        windows.append(QJsonObject {
                {QStringLiteral("index"), window.index},
                {QStringLiteral("home"), rectArray(window.home)},
                {QStringLiteral("rect"), rectArray(window.rect)},
                {QStringLiteral("split"), window.split},
                {QStringLiteral("layer"), window.layer},
                {QStringLiteral("zoomedPane"), window.zoomedPane},
                {QStringLiteral("turnState"), window.turnState},
                {QStringLiteral("turnInterval"), window.turnInterval},
                {QStringLiteral("sources"), recordsText(window.sources)},
        });
    }
    return QJsonObject {
            {QStringLiteral("rows"), state.rows},
            {QStringLiteral("columns"), state.columns},
            {QStringLiteral("windows"), windows},
    };
}

QJsonObject linuxObject(const SimLinuxState &state)
{
    QJsonArray grid;
    for (const ScreenRegion &region : state.grid) {
        grid.append(QJsonObject {
                {QStringLiteral("index"), region.index},
                {QStringLiteral("melt"), region.melt},
                {QStringLiteral("left"), region.left},
                {QStringLiteral("top"), region.top},
                {QStringLiteral("width"), region.width},
                {QStringLiteral("height"), region.height},
        });
    }
    QJsonArray map;
    for (char byte : state.screenMap)
        map.append(int(quint8(byte)));
    QJsonArray cells;
    for (const SimLinuxCell &cell : state.cells) {
        cells.append(QJsonObject {
                {QStringLiteral("split"), cell.split},
                {QStringLiteral("turnInterval"), cell.turnInterval},
                {QStringLiteral("turnState"), cell.turnState},
                {QStringLiteral("singleWindow"), cell.singleWindow},
                {QStringLiteral("window"), cell.window},
                {QStringLiteral("channels"), recordsText(cell.channels)},
        });
    }
    return QJsonObject {
            {QStringLiteral("rows"), state.rows},
            {QStringLiteral("columns"), state.columns},
            {QStringLiteral("gridRows"), state.gridRows},
            {QStringLiteral("gridColumns"), state.gridColumns},
            {QStringLiteral("grid"), grid},
            {QStringLiteral("meltedCell"), state.meltedCell},
            {QStringLiteral("screenMap"), map},
            {QStringLiteral("cells"), cells},
            {QStringLiteral("firmwareVersion"), state.firmwareVersion},
    };
}

void readX86(JsonReader &reader, const QJsonObject &object, SimX86State *state)
{
    const QString where = QStringLiteral("x86");
    state->rows = reader.integer(object, "rows", where);
    state->columns = reader.integer(object, "columns", where);
    const QJsonArray windows = reader.array(object, "windows", where);
    state->windows.clear();
    for (int k = 0; reader.ok() && k < windows.size(); ++k) {
        const QString at = QStringLiteral("x86 window %1").arg(k);
        const QJsonObject entry = reader.objectAt(windows, k, QStringLiteral("x86 windows"));
        SimX86Window window;
        window.index = reader.integer(entry, "index", at);
        window.home = reader.rect(entry, "home", at);
        window.rect = reader.rect(entry, "rect", at);
        window.split = reader.integer(entry, "split", at);
        window.layer = reader.integer(entry, "layer", at);
        window.zoomedPane = reader.integer(entry, "zoomedPane", at);
        window.turnState = reader.integer(entry, "turnState", at);
        window.turnInterval = reader.integer(entry, "turnInterval", at);
        window.sources = reader.records<_ST_ChnInfo>(entry, "sources", at);
        state->windows.append(window);
    }
}

void readLinux(JsonReader &reader, const QJsonObject &object, SimLinuxState *state)
{
    const QString where = QStringLiteral("linux");
    state->rows = reader.integer(object, "rows", where);
    state->columns = reader.integer(object, "columns", where);
    state->gridRows = reader.integer(object, "gridRows", where);
    state->gridColumns = reader.integer(object, "gridColumns", where);
    state->meltedCell = reader.integer(object, "meltedCell", where);
    state->firmwareVersion = reader.text(object, "firmwareVersion", where);
    const QJsonArray grid = reader.array(object, "grid", where);
    state->grid.clear();
    for (int k = 0; reader.ok() && k < grid.size(); ++k) {
        const QString at = QStringLiteral("linux grid %1").arg(k);
        const QJsonObject entry = reader.objectAt(grid, k, QStringLiteral("linux grid"));
        ScreenRegion region;
        region.index = reader.integer(entry, "index", at);
        region.melt = reader.integer(entry, "melt", at);
        region.left = reader.integer(entry, "left", at);
        region.top = reader.integer(entry, "top", at);
        region.width = reader.integer(entry, "width", at);
        region.height = reader.integer(entry, "height", at);
        state->grid.append(region);
    }
    const QJsonArray map = reader.array(object, "screenMap", where);
    state->screenMap.clear();
    for (int k = 0; reader.ok() && k < map.size(); ++k) {
        const double number = map.at(k).toDouble(-1);
        if (!map.at(k).isDouble() || std::floor(number) != number || number < 0 || number > 255) {
            reader.fail(QStringLiteral("linux screenMap[%1] is not a byte").arg(k));
            break;
        }
        state->screenMap.append(char(int(number)));
    }
    const QJsonArray cells = reader.array(object, "cells", where);
    state->cells.clear();
    for (int k = 0; reader.ok() && k < cells.size(); ++k) {
        const QString at = QStringLiteral("linux cell %1").arg(k);
        const QJsonObject entry = reader.objectAt(cells, k, QStringLiteral("linux cells"));
        SimLinuxCell cell;
        cell.split = reader.integer(entry, "split", at);
        cell.turnInterval = reader.integer(entry, "turnInterval", at);
        cell.turnState = reader.integer(entry, "turnState", at);
        cell.singleWindow = reader.boolean(entry, "singleWindow", at);
        cell.window = reader.integer(entry, "window", at);
        cell.channels = reader.records<CellChannelRecord>(entry, "channels", at);
        state->cells.append(cell);
    }
}

} // namespace

QByteArray StateFile::toJson(const SimX86State &x86, const SimLinuxState &linuxWall)
{
    const QJsonObject root {
            {QStringLiteral("format"), QLatin1String(FormatName)},
            {QStringLiteral("version"), FormatVersion},
            {QStringLiteral("x86"), x86Object(x86)},
            {QStringLiteral("linux"), linuxObject(linuxWall)},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool StateFile::fromJson(const QByteArray &json, SimX86State *x86, bool *hasX86,
                         SimLinuxState *linuxWall, bool *hasLinux, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        if (error) {
            *error = parseError.error != QJsonParseError::NoError
                    ? QStringLiteral("not JSON: %1 at offset %2")
                              .arg(parseError.errorString())
                              .arg(parseError.offset)
                    : QStringLiteral("not a JSON object");
        }
        return false;
    }
    const QJsonObject root = document.object();
    JsonReader reader(error);
    if (root.value(QStringLiteral("format")).toString() != QLatin1String(FormatName)) {
        reader.fail(QStringLiteral("not a simulator state file"));
        return false;
    }
    if (reader.integer(root, "version", QStringLiteral("file")) != FormatVersion) {
        reader.fail(QStringLiteral("state file version is not %1").arg(FormatVersion));
        return false;
    }
    SimX86State x86Read = *x86;
    SimLinuxState linuxRead = *linuxWall;
    const bool x86Present = root.contains(QStringLiteral("x86"));
    const bool linuxPresent = root.contains(QStringLiteral("linux"));
    if (x86Present) {
        if (!root.value(QStringLiteral("x86")).isObject())
            reader.fail(QStringLiteral("x86 is not an object"));
        else
            readX86(reader, root.value(QStringLiteral("x86")).toObject(), &x86Read);
    }
    if (linuxPresent && reader.ok()) {
        if (!root.value(QStringLiteral("linux")).isObject())
            reader.fail(QStringLiteral("linux is not an object"));
        else
            readLinux(reader, root.value(QStringLiteral("linux")).toObject(), &linuxRead);
    }
    if (!reader.ok())
        return false;
    if (x86Present) {
        *x86 = x86Read;
        *hasX86 = true;
    }
    if (linuxPresent) {
        *linuxWall = linuxRead;
        *hasLinux = true;
    }
    return true;
}

bool StateFile::read(const QString &path, QByteArray *data, QString *error)
{
    QFile file(path);
    if (!file.exists()) {
        data->clear();
        return true;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    *data = file.readAll();
    return true;
}

bool StateFile::write(const QString &path, const QByteArray &data, QString *error)
{
    // The walls hold channel passwords: the file is for its owner only. The file written
    // beside it takes the permissions of the file it replaces, so they are set on both.
    const QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (!QFile::exists(path)) {
        QFile empty(path);
        if (empty.open(QIODevice::WriteOnly))
            empty.close();
    }
    QFile::setPermissions(path, ownerOnly);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (!QFile::setPermissions(path, ownerOnly)) {
        if (error)
            *error = QStringLiteral("cannot make it readable by its owner only");
        return false;
    }
    return true;
}

} // namespace MatrixSim
