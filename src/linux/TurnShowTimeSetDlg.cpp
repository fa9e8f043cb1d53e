#include "TurnShowTimeSetDlg.h"
#include "ui_TurnShowTimeSetDlg.h"

#include "FieldHint.h"

#include "IntValidator.h"

#include <QEvent>
#include <QKeyEvent>

namespace LUMO_DIGITALMATRIX_MODULE {

TurnShowTimeSetDlg::TurnShowTimeSetDlg(int seconds, QWidget *parent)
    : COMMONUSELIB::MoveableDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , ui(new Ui::TurnShowTimeSetDlg)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);
    ui->turnShowTimeLineEt->setValidator(
            new COMMONUSELIB::IntValidator(MinSeconds, MaxSeconds, ui->turnShowTimeLineEt));
    ui->turnShowTimeLineEt->setText(QString::number(seconds));
    connect(ui->setBt, &QPushButton::clicked, this, &TurnShowTimeSetDlg::slotSetBtClicked);
    connect(ui->cancelBt, &QPushButton::clicked, this, &TurnShowTimeSetDlg::slotCancleBtClicked);
    connect(ui->closeBt, &QPushButton::clicked, this, &TurnShowTimeSetDlg::slotCloseBtClicked);
    ui->turnShowTimeLineEt->setFocus();
}

TurnShowTimeSetDlg::~TurnShowTimeSetDlg() = default;

int TurnShowTimeSetDlg::getTurnShowTime() const
{
    return ui->turnShowTimeLineEt->text().toInt();
}

QLineEdit *TurnShowTimeSetDlg::timeLineEdit() const
{
    return ui->turnShowTimeLineEt;
}

void TurnShowTimeSetDlg::slotSetBtClicked()
{
    const QString text = ui->turnShowTimeLineEt->text().trimmed();
    if (text.isEmpty()) {
        FieldHint::show(ui->turnShowTimeLineEt, tr("Please enter turn show time!"));
        return;
    }
    bool ok = false;
    const int value = text.toInt(&ok);
    if (ok && value >= MinSeconds && value <= MaxSeconds) {
        accept();
        return;
    }
    FieldHint::show(ui->turnShowTimeLineEt, tr("Turn show time range is:5-60!"));
}

void TurnShowTimeSetDlg::slotCancleBtClicked()
{
    reject();
}

void TurnShowTimeSetDlg::slotCloseBtClicked()
{
    reject();
}

void TurnShowTimeSetDlg::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    COMMONUSELIB::MoveableDialog::keyPressEvent(event);
}

void TurnShowTimeSetDlg::showEvent(QShowEvent *event)
{
    COMMONUSELIB::MoveableDialog::showEvent(event);
    ui->turnShowTimeLineEt->setFocus();
}

void TurnShowTimeSetDlg::changeEvent(QEvent *event)
{
    COMMONUSELIB::MoveableDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
