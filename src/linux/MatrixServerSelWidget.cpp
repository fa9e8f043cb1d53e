#include "MatrixServerSelWidget.h"

namespace LUMO_DIGITALMATRIX_MODULE {

MatrixServerSelWidget::MatrixServerSelWidget(QWidget *parent)
    : COMMONUSELIB::ServerSelWidget(parent)
{ }

MatrixServerSelWidget::~MatrixServerSelWidget() = default;

} // namespace LUMO_DIGITALMATRIX_MODULE
