#pragma once

#include "digitalmatrix_export.h"

#include "CellsArrangeWidget.h"

namespace LUMO_DIGITALMATRIX_MODULE {

// The wall's channel grid, one cell per grid position. Until a grid has been read from
// the matrix or saved, it shows a single placeholder cell.
class DIGITALMATRIX_EXPORT ConfigChannelsWidget : public CellsArrangeWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(ConfigChannelsWidget)

public:
    explicit ConfigChannelsWidget(QWidget *parent = nullptr);
    ~ConfigChannelsWidget() override;

    void setRowColumn(int rows, int columns) override;

    // Drops the grid and shows the placeholder cell again.
    void resetToPlaceholder();
    // Reads the grid and the screen numbers from the connected matrix; a matrix without
    // a usable grid leaves the placeholder.
    void loadFromServer();
    // True while a real grid (not the placeholder) is shown.
    bool isConfigured() const { return configured; }
    // Index of the cell spread over the whole wall, -1 if none.
    int wallCellIndex() const { return wallCell; }

private:
    bool configured = false;
    int wallCell = -1;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
