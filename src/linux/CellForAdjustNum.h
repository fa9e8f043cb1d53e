#pragma once

#include "digitalmatrix_export.h"

#include "CanSelectWithNumWidget.h"

class QLineEdit;

namespace LUMO_DIGITALMATRIX_MODULE {

// One cell of the screen-number arrangement: shows a screen number, which a double
// click lets the operator type over (1 to 4).
class DIGITALMATRIX_EXPORT CellForAdjustNum : public COMMONUSELIB::CanSelectWithNumWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(CellForAdjustNum)

public:
    explicit CellForAdjustNum(int index, QWidget *parent = nullptr);
    ~CellForAdjustNum() override;

    bool eventFilter(QObject *watched, QEvent *event) override;

    QLineEdit *numberEditor() const { return editor; }

signals:
    void signalEditShowNumFinished(int index, int oldNum, int newNum);

public slots:
    void slotCellDoubleClick(int index);

private:
    void finishEditShowNum();

    QLineEdit *editor = nullptr;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
