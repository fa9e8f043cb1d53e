#pragma once

#include "digitalmatrix_export.h"

#include "MoveableDialog.h"

#include <memory>

class QLineEdit;

namespace LUMO_DIGITALMATRIX_MODULE {

namespace Ui {
class MatrixRowColumnSetDlg;
}

// Asks for the rows and columns of the wall's screens (each 1 to 4, at most four
// screens in all).
class DIGITALMATRIX_EXPORT MatrixRowColumnSetDlg : public COMMONUSELIB::MoveableDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(MatrixRowColumnSetDlg)

public:
    explicit MatrixRowColumnSetDlg(QWidget *parent = nullptr);
    ~MatrixRowColumnSetDlg() override;

    void setRowColumn(int rows, int columns);
    // Both fields as ints; an empty field gives 0.
    void getRowColumn(int &rows, int &columns) const;

public slots:
    void slotOKBtClicked();
    void slotCancleBtClicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::MatrixRowColumnSetDlg> ui;
    int maxCellCount = 4;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
