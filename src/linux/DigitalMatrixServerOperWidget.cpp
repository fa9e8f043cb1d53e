#include "DigitalMatrixServerOperWidget.h"

namespace LUMO_DIGITALMATRIX_MODULE {

DigitalMatrixServerOperWidget::DigitalMatrixServerOperWidget(QWidget *parent)
    : COMMONUSELIB::ServerOperWidget(parent)
{ }

DigitalMatrixServerOperWidget::~DigitalMatrixServerOperWidget() = default;

} // namespace LUMO_DIGITALMATRIX_MODULE
