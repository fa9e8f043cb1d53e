#pragma once

#include "digitalmatrix_export.h"

#include "CellsArrangeWidget.h"

namespace LUMO_DIGITALMATRIX_MODULE {

// The screen-number arrangement: the grid shows which physical screen sits at each grid
// position; dragging a number onto another cell or typing one swaps the two numbers.
class DIGITALMATRIX_EXPORT AdjustCellNumWidget : public CellsArrangeWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(AdjustCellNumWidget)

public:
    explicit AdjustCellNumWidget(QWidget *parent = nullptr);
    ~AdjustCellNumWidget() override;

    // Rebuilds the grid and shows the numbers the matrix holds now.
    void setRowColumn(int rows, int columns) override;
    void createCells(int rows, int columns) override;
    // Rebuilds the grid with screen numbers already read from the matrix.
    void setArrangement(int rows, int columns, const QStringList &numbers);

public slots:
    void slotEditShowNumFinished(int index, int oldNum, int newNum);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int dragSourceIndex = -1;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
