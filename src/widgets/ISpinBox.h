#pragma once

#include "digitalmatrix_export.h"

#include <QSpinBox>

namespace LUMO_DIGITALMATRIX_MODULE {

// Spin box that takes digits only (no sign, no decimal point, no leading zero) and reports its
// value when it loses the focus.
class DIGITALMATRIX_EXPORT ISpinBox : public QSpinBox
{
    Q_OBJECT
    Q_DISABLE_COPY(ISpinBox)

public:
    explicit ISpinBox(QWidget *parent = nullptr);
    ~ISpinBox() override;

signals:
    void sigFocusOut(int value);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
