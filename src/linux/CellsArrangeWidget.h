#pragma once

#include "digitalmatrix_export.h"

#include <QList>
#include <QStringList>
#include <QWidget>

class QGridLayout;

namespace COMMONUSELIB {
class CanSelectWithNumWidget;
}

namespace LUMO_DIGITALMATRIX_MODULE {

// A grid of numbered cells, rows x columns, laid out row by row from the top left.
// Cell k is created with index k; the cells fill the widget.
class DIGITALMATRIX_EXPORT CellsArrangeWidget : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(CellsArrangeWidget)

public:
    explicit CellsArrangeWidget(QWidget *parent = nullptr);
    ~CellsArrangeWidget() override;

    // Rebuilds the grid; a grid of no cells (rows x columns == 0) is ignored.
    virtual void setRowColumn(int rows, int columns);
    // Replaces the cells by rows x columns new ones (not yet laid out).
    virtual void createCells(int rows, int columns);

    void getRowColumn(int &rows, int &columns) const;
    // The cells' numbers as decimal texts, in cell order.
    QStringList getCellShowNums() const;
    // Gives cell i the number numbers[i], as far as both lists go.
    void setCellShowNums(const QStringList &numbers);
    // Index of the cell under pos (this widget's coordinates), -1 between cells.
    int cellIndexAt(const QPoint &pos) const;
    void clearCells();

    int cellCount() const { return cells.size(); }
    COMMONUSELIB::CanSelectWithNumWidget *cellAt(int position) const;
    int checkedIndex() const { return checkedCellIndex; }

public slots:
    void slotCellIsChecked(int index);

protected:
    QList<COMMONUSELIB::CanSelectWithNumWidget *> cells;
    QGridLayout *gridLayout = nullptr;
    int rows = 2;
    int columns = 2;
    int checkedCellIndex = -1;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
