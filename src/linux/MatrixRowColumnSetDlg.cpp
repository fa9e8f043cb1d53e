#include "MatrixRowColumnSetDlg.h"
#include "ui_MatrixRowColumnSetDlg.h"

#include <QEvent>

#include "FieldHint.h"

#include "IntValidator.h"

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {
// Largest number of rows or of columns a wall can have.
constexpr int MaxSide = 4;
} // namespace

MatrixRowColumnSetDlg::MatrixRowColumnSetDlg(QWidget *parent)
    : COMMONUSELIB::MoveableDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , ui(new Ui::MatrixRowColumnSetDlg)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);
    ui->rowLineEt->setValidator(new COMMONUSELIB::IntValidator(1, MaxSide, ui->rowLineEt));
    ui->columnLineEt->setValidator(new COMMONUSELIB::IntValidator(1, MaxSide, ui->columnLineEt));
    connect(ui->okBt, &QPushButton::clicked, this, &MatrixRowColumnSetDlg::slotOKBtClicked);
    connect(ui->cancleBt, &QPushButton::clicked, this, &MatrixRowColumnSetDlg::slotCancleBtClicked);
}

MatrixRowColumnSetDlg::~MatrixRowColumnSetDlg() = default;

void MatrixRowColumnSetDlg::setRowColumn(int rows, int columns)
{
    ui->rowLineEt->setText(QString::number(rows));
    ui->columnLineEt->setText(QString::number(columns));
}

void MatrixRowColumnSetDlg::getRowColumn(int &rows, int &columns) const
{
    rows = ui->rowLineEt->text().toInt();
    columns = ui->columnLineEt->text().toInt();
}

void MatrixRowColumnSetDlg::slotOKBtClicked()
{
    int rows = 0;
    int columns = 0;
    getRowColumn(rows, columns);
    // A field without a count of at least 1 counts as empty (a preset is not checked by
    // the validator); with both at least 1, the cell limit keeps each at most 4.
    if (rows < 1) {
        FieldHint::show(ui->rowLineEt, tr("Please enter row count!"));
        return;
    }
    if (columns < 1) {
        FieldHint::show(ui->columnLineEt, tr("Please enter column count!"));
        return;
    }
    if (rows * columns > maxCellCount) {
        FieldHint::show(ui->columnLineEt, tr("The max cells count is:%1!").arg(maxCellCount));
        return;
    }
    accept();
}

void MatrixRowColumnSetDlg::slotCancleBtClicked()
{
    reject();
}

void MatrixRowColumnSetDlg::changeEvent(QEvent *event)
{
    COMMONUSELIB::MoveableDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
