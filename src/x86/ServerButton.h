#pragma once

#include "digitalmatrix_export.h"

#include "DigitalMatrixServerInfo.h"

#include <QPushButton>

namespace LUMO_DIGITALMATRIX_MODULE {

// One entry of the server selector: a button that carries its server's record.
class DIGITALMATRIX_EXPORT ServerButton : public QPushButton
{
    Q_OBJECT
    Q_DISABLE_COPY(ServerButton)

public:
    explicit ServerButton(QWidget *parent = nullptr);
    ~ServerButton() override;

    // Copies the record and shows its name.
    void setServerInfo(const UServerInfo &info);
    // The record inside the button, valid as long as the button lives.
    PUServerInfo serverInfo() { return &info; }

private:
    UServerInfo info;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
