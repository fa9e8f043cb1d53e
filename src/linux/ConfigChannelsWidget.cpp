#include "ConfigChannelsWidget.h"

#include "CanSelectWithNumWidget.h"
#include "DigitalMatrixInteractionPort.h"

#include <QGridLayout>

namespace LUMO_DIGITALMATRIX_MODULE {

ConfigChannelsWidget::ConfigChannelsWidget(QWidget *parent)
    : CellsArrangeWidget(parent)
{
    resetToPlaceholder();
}

ConfigChannelsWidget::~ConfigChannelsWidget() = default;

void ConfigChannelsWidget::setRowColumn(int rows, int columns)
{
    if (rows * columns == 0)
        return;
    CellsArrangeWidget::setRowColumn(rows, columns);
    configured = true;
    checkedCellIndex = -1;
}

void ConfigChannelsWidget::resetToPlaceholder()
{
    configured = false;
    wallCell = -1;
    checkedCellIndex = -1;
    clearCells();
    auto *placeholder = new COMMONUSELIB::CanSelectWithNumWidget(0, this);
    placeholder->setObjectName(QStringLiteral("placeholderCell"));
    placeholder->setWidgetCheckable(false);
    placeholder->setShowNumVisible(false);
    cells.append(placeholder);
    gridLayout->addWidget(placeholder, 0, 0);
}

void ConfigChannelsWidget::loadFromServer()
{
    DigitalMatrixInteractionPort *port = DigitalMatrixInteractionPort::instance();
    const QStringList numbers = port->getScreenNumbers();
    int gridRows = -1;
    int gridColumns = -1;
    int meltedCell = -1;
    if (port->getScreenGrid(&gridRows, &gridColumns, &meltedCell) != 0)
        return;
    // A wall has at most four screens; anything else is no grid this page can show.
    if (gridRows < 1 || gridColumns < 1
        || gridRows * gridColumns > DigitalMatrixInteractionPort::MaxScreens)
        return;
    setRowColumn(gridRows, gridColumns);
    setCellShowNums(numbers);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
