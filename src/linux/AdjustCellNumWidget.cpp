#include "AdjustCellNumWidget.h"

#include "CellForAdjustNum.h"
#include "DigitalMatrixInteractionPort.h"

#include <QMouseEvent>

namespace LUMO_DIGITALMATRIX_MODULE {

AdjustCellNumWidget::AdjustCellNumWidget(QWidget *parent)
    : CellsArrangeWidget(parent)
{ }

AdjustCellNumWidget::~AdjustCellNumWidget() = default;

void AdjustCellNumWidget::setRowColumn(int rows, int columns)
{
    CellsArrangeWidget::setRowColumn(rows, columns);
    setCellShowNums(DigitalMatrixInteractionPort::instance()->getScreenNumbers());
}

void AdjustCellNumWidget::setArrangement(int rows, int columns, const QStringList &numbers)
{
    CellsArrangeWidget::setRowColumn(rows, columns);
    setCellShowNums(numbers);
}

void AdjustCellNumWidget::createCells(int rows, int columns)
{
    clearCells();
    const int count = rows * columns;
    for (int k = 0; k < count; ++k) {
        auto *cell = new CellForAdjustNum(k, this);
        cells.append(cell);
        connect(cell, &CellForAdjustNum::signalEditShowNumFinished, this,
                &AdjustCellNumWidget::slotEditShowNumFinished);
    }
}

void AdjustCellNumWidget::slotEditShowNumFinished(int index, int oldNum, int newNum)
{
    for (COMMONUSELIB::CanSelectWithNumWidget *cell : qAsConst(cells)) {
        if (cell->getIndex() != index && cell->getShowNum() == newNum) {
            cell->setShowNum(oldNum);
            return;
        }
    }
}

void AdjustCellNumWidget::mousePressEvent(QMouseEvent *event)
{
    setCursor(Qt::SizeAllCursor);
    dragSourceIndex = cellIndexAt(event->pos());
    CellsArrangeWidget::mousePressEvent(event);
}

void AdjustCellNumWidget::mouseReleaseEvent(QMouseEvent *event)
{
    setCursor(Qt::ArrowCursor);
    const int target = cellIndexAt(event->pos());
    if (dragSourceIndex == -1 || target == -1 || target == dragSourceIndex)
        return;
    COMMONUSELIB::CanSelectWithNumWidget *source = cells.value(dragSourceIndex);
    COMMONUSELIB::CanSelectWithNumWidget *destination = cells.value(target);
    if (source && destination) {
        const int number = source->getShowNum();
        source->setShowNum(destination->getShowNum());
        destination->setShowNum(number);
    }
    CellsArrangeWidget::mouseReleaseEvent(event);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
