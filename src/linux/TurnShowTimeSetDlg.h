#pragma once

#include "digitalmatrix_export.h"

#include "MoveableDialog.h"

#include <memory>

class QLineEdit;

namespace LUMO_DIGITALMATRIX_MODULE {

namespace Ui {
class TurnShowTimeSetDlg;
}

// Asks for the turn-show interval of a cell, 5 to 60 seconds.
class DIGITALMATRIX_EXPORT TurnShowTimeSetDlg : public COMMONUSELIB::MoveableDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TurnShowTimeSetDlg)

public:
    static constexpr int MinSeconds = 5;
    static constexpr int MaxSeconds = 60;

    explicit TurnShowTimeSetDlg(int seconds, QWidget *parent = nullptr);
    ~TurnShowTimeSetDlg() override;

    // The entered interval; an empty field gives 0.
    int getTurnShowTime() const;
    QLineEdit *timeLineEdit() const;

public slots:
    void slotSetBtClicked();
    void slotCancleBtClicked();
    void slotCloseBtClicked();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

protected:
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::TurnShowTimeSetDlg> ui;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
