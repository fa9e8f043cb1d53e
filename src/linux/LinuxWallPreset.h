// What a Linux wall holds, as a preset to store in the data centre and send back later.
#pragma once

#include "digitalmatrix_export.h"

#include "CellChannelItem.h"
#include "MatrixStates.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>

namespace LUMO_DIGITALMATRIX_MODULE {

class ConfigChannelsWidget;
class DigitalMatrixInteractionPort;

// Every cell's split, channels, pane shown alone and turn show, and the cell spread over the
// wall. The payload is JSON with "version" 1.
class DIGITALMATRIX_EXPORT LinuxWallPreset
{
    Q_DECLARE_TR_FUNCTIONS(LUMO_DIGITALMATRIX_MODULE::LinuxWallPreset)

public:
    static constexpr int FormatVersion = 1;

    struct Cell
    {
        int index = -1;
        int split = 1;
        int singlePane = -1; // position shown alone, -1 for none
        CellTurnCode turn = CellTurnCode::TurnStop; // TurnStart, TurnPause or TurnStop
        int turnInterval = 30; // seconds
        QList<CellChannelItem> channels;
    };

    // What the page shows of the connected matrix (the page shows what the matrix holds).
    static LinuxWallPreset capture(const ConfigChannelsWidget &grid);
    QByteArray toJson() const;
    // False for bytes that are no preset of this format.
    static bool fromJson(const QByteArray &json, LinuxWallPreset *preset);

    // Why nothing of the preset can be applied to the grid; empty when something can.
    QString misfit(const ConfigChannelsWidget &grid) const;
    // The preset as it applies to the grid: cells at the places the grid has (row and
    // column), channels the data centre still has; what is left out is named in missing.
    LinuxWallPreset fittedTo(const ConfigChannelsWidget &grid, QStringList *missing) const;

    // Sends the preset to the matrix, which holds from (as captured): the turn shows of from
    // stop first, a spread cell comes back, then cell by cell the channels, the split, the
    // pane alone and the turn show, and the spread cell last. Stops at the first refusal and
    // names that step; empty when every step was taken.
    QString sendTo(DigitalMatrixInteractionPort *port, const LinuxWallPreset &from) const;

    int rows = 0;
    int columns = 0;
    int wallCell = -1;
    QList<Cell> cells;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
