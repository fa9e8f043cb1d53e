#include "LinuxWallPreset.h"

#include "CellForConfigChannels.h"
#include "CellTurnInfo.h"
#include "ConfigChannelsWidget.h"
#include "DigitalMatrixInteractionPort.h"

#include "UserManagerCore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {

// The matrix takes turn intervals of 5 to 60 seconds.
int validInterval(int seconds)
{
    return seconds >= 5 && seconds <= 60 ? seconds : 30;
}

} // namespace

LinuxWallPreset LinuxWallPreset::capture(const ConfigChannelsWidget &grid)
{
    LinuxWallPreset preset;
    grid.getRowColumn(preset.rows, preset.columns);
    preset.wallCell = grid.wallCellIndex();
    for (int index = 0; index < preset.rows * preset.columns; ++index) {
        const CellForConfigChannels *widget = grid.getCellByIndex(index);
        if (!widget)
            continue;
        Cell cell;
        cell.index = index;
        cell.split = widget->splitCount();
        cell.singlePane = widget->singlePane();
        cell.turn = widget->turnState() == CellTurnCode::TurnContinue ? CellTurnCode::TurnStart
                                                                      : widget->turnState();
        cell.turnInterval = validInterval(widget->turnInterval());
        cell.channels = widget->channelMap().values();
        preset.cells.append(cell);
    }
    return preset;
}

QByteArray LinuxWallPreset::toJson() const
{
    QJsonArray cellArray;
    for (const Cell &cell : cells) {
        QJsonArray channelArray;
        for (const CellChannelItem &channel : cell.channels)
            channelArray.append(QJsonObject {{"position", channel.position},
                                             {"channel", channel.channelId},
                                             {"name", channel.channelName}});
        cellArray.append(QJsonObject {{"index", cell.index},
                                      {"split", cell.split},
                                      {"singlePane", cell.singlePane},
                                      {"turn", int(cell.turn)},
                                      {"interval", cell.turnInterval},
                                      {"channels", channelArray}});
    }
    const QJsonObject root {{"version", FormatVersion},
                            {"rows", rows},
                            {"columns", columns},
                            {"wallCell", wallCell},
                            {"cells", cellArray}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

bool LinuxWallPreset::fromJson(const QByteArray &json, LinuxWallPreset *preset)
{
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    if (root.value("version").toInt() != FormatVersion || !preset)
        return false;
    LinuxWallPreset read;
    read.rows = root.value("rows").toInt();
    read.columns = root.value("columns").toInt();
    read.wallCell = root.value("wallCell").toInt(-1);
    for (const QJsonValue &cellValue : root.value("cells").toArray()) {
        const QJsonObject object = cellValue.toObject();
        Cell cell;
        cell.index = object.value("index").toInt(-1);
        cell.split = object.value("split").toInt(1);
        cell.singlePane = object.value("singlePane").toInt(-1);
        const int turn = object.value("turn").toInt(int(CellTurnCode::TurnStop));
        if (turn != int(CellTurnCode::TurnStart) && turn != int(CellTurnCode::TurnPause)
            && turn != int(CellTurnCode::TurnStop))
            return false;
        cell.turn = CellTurnCode(turn);
        cell.turnInterval = validInterval(object.value("interval").toInt());
        for (const QJsonValue &channelValue : object.value("channels").toArray()) {
            const QJsonObject channel = channelValue.toObject();
            CellChannelItem item;
            item.position = channel.value("position").toInt(-1);
            item.channelId = channel.value("channel").toString();
            item.channelName = channel.value("name").toString();
            if (item.position < 0 || item.channelId.isEmpty())
                return false;
            cell.channels.append(item);
        }
        if (cell.index < 0)
            return false;
        read.cells.append(cell);
    }
    if (read.rows < 1 || read.columns < 1)
        return false;
    *preset = read;
    return true;
}

QString LinuxWallPreset::misfit(const ConfigChannelsWidget &grid) const
{
    int gridRows = 0;
    int gridColumns = 0;
    grid.getRowColumn(gridRows, gridColumns);
    if (!grid.isConfigured() || gridRows < 1 || gridColumns < 1)
        return tr("The preset is for a wall of %1 x %2 cells, this wall has %3 x %4.")
                .arg(rows)
                .arg(columns)
                .arg(gridRows)
                .arg(gridColumns);
    return QString();
}

LinuxWallPreset LinuxWallPreset::fittedTo(const ConfigChannelsWidget &grid,
                                          QStringList *missing) const
{
    QStringList left;
    LinuxWallPreset fitted;
    grid.getRowColumn(fitted.rows, fitted.columns);
    // A cell keeps its row and column on a grid of another shape.
    auto placeOf = [this, &fitted](int index) {
        const int row = index / columns;
        const int column = index % columns;
        return index >= 0 && row < fitted.rows && column < fitted.columns
                ? row * fitted.columns + column
                : -1;
    };
    if (fitted.rows != rows || fitted.columns != columns)
        left << tr("the grid of %1 x %2 cells (this wall has %3 x %4)")
                        .arg(rows)
                        .arg(columns)
                        .arg(fitted.rows)
                        .arg(fitted.columns);
    fitted.wallCell = placeOf(wallCell);
    const DATACore::UserManagerCore *dataCentre = DATACore::UserManagerCore::instance();
    for (const Cell &cell : cells) {
        Cell placed = cell;
        placed.index = placeOf(cell.index);
        if (placed.index < 0) {
            left << tr("cell %1").arg(cell.index + 1);
            continue;
        }
        placed.channels.clear();
        for (const CellChannelItem &channel : cell.channels) {
            if (dataCentre->getChannelInfoByChannelGuid(channel.channelId).channelGuid.isEmpty()) {
                const QString name = tr("the channel \"%1\"").arg(channel.channelName);
                if (!left.contains(name))
                    left << name;
                continue;
            }
            placed.channels.append(channel);
        }
        // A cell none of whose channels is left keeps what it shows.
        if (placed.channels.isEmpty() && !cell.channels.isEmpty())
            continue;
        fitted.cells.append(placed);
    }
    if (missing)
        *missing = left;
    return fitted;
}

QString LinuxWallPreset::sendTo(DigitalMatrixInteractionPort *port,
                                const LinuxWallPreset &from) const
{
    CellTurnInfo stop;
    stop.turnState = int(CellTurnCode::TurnStop);
    for (const Cell &cell : from.cells) {
        stop.turnInterval = cell.turnInterval;
        if (cell.turn != CellTurnCode::TurnStop
            && port->setCellTurnShow(cell.index, stop, cell.split) != 0)
            return tr("stopping the turn show of cell %1").arg(cell.index + 1);
    }
    if (from.wallCell >= 0 && from.wallCell != wallCell
        && port->setCellMelt(from.wallCell, rows, columns, false) != 0)
        return tr("bringing back the spread cell %1").arg(from.wallCell + 1);
    for (const Cell &cell : cells) {
        const int number = cell.index + 1;
        QList<CellChannelItem> channels = cell.channels;
        QList<CellChannelItem *> records;
        for (CellChannelItem &channel : channels)
            records.append(&channel);
        if (port->setCellChannels(cell.index, cell.split, records) != 0)
            return tr("the channels of cell %1").arg(number);
        if (port->setCellSplit(cell.index, cell.split) != 0)
            return tr("the split of cell %1").arg(number);
        if (cell.singlePane >= 0 && port->setCellSingleWindow(cell.index, cell.singlePane, 1) != 0)
            return tr("the pane shown alone in cell %1").arg(number);
        CellTurnInfo turn;
        turn.turnInterval = cell.turnInterval;
        turn.turnState = int(CellTurnCode::TurnStart);
        if (cell.turn != CellTurnCode::TurnStop
            && port->setCellTurnShow(cell.index, turn, cell.split) != 0)
            return tr("the turn show of cell %1").arg(number);
        turn.turnState = int(CellTurnCode::TurnPause);
        if (cell.turn == CellTurnCode::TurnPause
            && port->setCellTurnShow(cell.index, turn, cell.split) != 0)
            return tr("the turn show of cell %1").arg(number);
    }
    if (wallCell >= 0 && wallCell != from.wallCell
        && port->setCellMelt(wallCell, rows, columns, true) != 0)
        return tr("spreading cell %1").arg(wallCell + 1);
    return QString();
}

} // namespace LUMO_DIGITALMATRIX_MODULE
