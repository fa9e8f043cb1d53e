#pragma once

#include "digitalmatrix_export.h"

#include "ServerSelWidget.h"

namespace LUMO_DIGITALMATRIX_MODULE {

// The row of Linux matrix server buttons with the add button.
class DIGITALMATRIX_EXPORT MatrixServerSelWidget : public COMMONUSELIB::ServerSelWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(MatrixServerSelWidget)

public:
    explicit MatrixServerSelWidget(QWidget *parent = nullptr);
    ~MatrixServerSelWidget() override;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
