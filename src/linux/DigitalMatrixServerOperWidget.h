#pragma once

#include "digitalmatrix_export.h"

#include "ServerOperWidget.h"

namespace LUMO_DIGITALMATRIX_MODULE {

// Connect toggle, edit and delete buttons and the two hint lines of the Linux page.
class DIGITALMATRIX_EXPORT DigitalMatrixServerOperWidget : public COMMONUSELIB::ServerOperWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(DigitalMatrixServerOperWidget)

public:
    explicit DigitalMatrixServerOperWidget(QWidget *parent = nullptr);
    ~DigitalMatrixServerOperWidget() override;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
