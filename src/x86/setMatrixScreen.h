#pragma once

#include "digitalmatrix_export.h"

#include "MoveableDialog.h"

#include <memory>

class QLineEdit;

namespace COMMONUSELIB {
class IntValidator;
}

namespace LUMO_DIGITALMATRIX_MODULE {

namespace Ui {
class setMatrixScreen;
}

// Asks for the rows and columns of physical screens of a matrix wall.
class DIGITALMATRIX_EXPORT setMatrixScreen : public COMMONUSELIB::MoveableDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(setMatrixScreen)

public:
    // Largest number of rows or columns that can be typed.
    static constexpr int MaxLines = 18;

    explicit setMatrixScreen(QWidget *parent = nullptr);
    ~setMatrixScreen() override;

    void setScreenValues(int rows, int columns, int screens);
    int rowCount() const;
    int columnCount() const;
    // The number of screens the matrix reported (0 when it reported none).
    int screenCount() const;

public slots:
    void slotOKClicked();
    void slotTextChanaged(QLineEdit *edit, const QString &text);

protected:
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::setMatrixScreen> ui;
    COMMONUSELIB::IntValidator *validator = nullptr;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
