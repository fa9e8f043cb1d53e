#include "CellsArrangeWidget.h"

#include "CanSelectWithNumWidget.h"

#include <QGridLayout>

namespace LUMO_DIGITALMATRIX_MODULE {

CellsArrangeWidget::CellsArrangeWidget(QWidget *parent)
    : QWidget(parent)
{
    gridLayout = new QGridLayout(this);
    gridLayout->setContentsMargins(1, 1, 1, 1);
    gridLayout->setSpacing(1);
}

CellsArrangeWidget::~CellsArrangeWidget() = default;

void CellsArrangeWidget::setRowColumn(int rows, int columns)
{
    if (rows * columns == 0)
        return;
    this->rows = qMax(1, rows);
    this->columns = qMax(1, columns);
    createCells(this->rows, this->columns);

    const int count = this->rows * this->columns;
    int next = 0;
    for (int r = 0; r < this->rows; ++r) {
        for (int c = 0; c < this->columns; ++c) {
            if (next >= cells.size())
                return;
            COMMONUSELIB::CanSelectWithNumWidget *cell = cells.at(next++);
            gridLayout->addWidget(cell, r, c);
            cell->setPeerWidgetCount(count);
            connect(cell, &COMMONUSELIB::CanSelectWithNumWidget::signalWidgetIsChecked, this,
                    &CellsArrangeWidget::slotCellIsChecked);
        }
    }
}

void CellsArrangeWidget::createCells(int rows, int columns)
{
    clearCells();
    const int count = rows * columns;
    for (int k = 0; k < count; ++k)
        cells.append(new COMMONUSELIB::CanSelectWithNumWidget(k, this));
}

void CellsArrangeWidget::getRowColumn(int &rows, int &columns) const
{
    rows = this->rows;
    columns = this->columns;
}

QStringList CellsArrangeWidget::getCellShowNums() const
{
    QStringList numbers;
    for (const COMMONUSELIB::CanSelectWithNumWidget *cell : cells)
        numbers << QString::number(cell->getShowNum());
    return numbers;
}

void CellsArrangeWidget::setCellShowNums(const QStringList &numbers)
{
    for (int i = 0; i < numbers.size() && i < cells.size(); ++i)
        cells.at(i)->setShowNum(numbers.at(i).toInt());
}

int CellsArrangeWidget::cellIndexAt(const QPoint &pos) const
{
    for (const COMMONUSELIB::CanSelectWithNumWidget *cell : cells) {
        if (cell->geometry().contains(pos))
            return cell->getIndex();
    }
    return -1;
}

void CellsArrangeWidget::clearCells()
{
    for (COMMONUSELIB::CanSelectWithNumWidget *cell : qAsConst(cells)) {
        // Out of the layout and out of sight now; the object goes with the event loop.
        gridLayout->removeWidget(cell);
        cell->hide();
        cell->deleteLater();
    }
    cells.clear();
}

COMMONUSELIB::CanSelectWithNumWidget *CellsArrangeWidget::cellAt(int position) const
{
    return position >= 0 && position < cells.size() ? cells.at(position) : nullptr;
}

void CellsArrangeWidget::slotCellIsChecked(int index)
{
    for (int i = 0; i < cells.size(); ++i)
        cells.at(i)->setWidgetChecked(i == index);
    checkedCellIndex = index;
}

} // namespace LUMO_DIGITALMATRIX_MODULE
