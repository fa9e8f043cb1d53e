#include "setMatrixScreen.h"
#include "ui_setMatrixScreen.h"

#include "IntValidator.h"
#include "MessageBoxW.h"

#include <QEvent>
#include <QLineEdit>

namespace LUMO_DIGITALMATRIX_MODULE {

setMatrixScreen::setMatrixScreen(QWidget *parent)
    : COMMONUSELIB::MoveableDialog(parent, Qt::Window | Qt::FramelessWindowHint)
    , ui(new Ui::setMatrixScreen)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setProperty("onelineeditdlg", true);
    ui->_cancelBtn->setProperty("blueButton", true);
    ui->_OKBtn->setProperty("blueButton", true);
    ui->_numberLabel->setText(QStringLiteral("0"));

    validator = new COMMONUSELIB::IntValidator(0, MaxLines, this);
    ui->_rowEdt->setValidator(validator);
    ui->_columnEdt->setValidator(validator);

    connect(ui->_OKBtn, &QPushButton::clicked, this, &setMatrixScreen::slotOKClicked);
    connect(ui->_cancelBtn, &QPushButton::clicked, this, &setMatrixScreen::reject);
    for (QLineEdit *edit : {ui->_rowEdt, ui->_columnEdt}) {
        connect(edit, &QLineEdit::textChanged, this,
                [this, edit](const QString &text) { slotTextChanaged(edit, text); });
    }
}

setMatrixScreen::~setMatrixScreen() = default;

void setMatrixScreen::setScreenValues(int rows, int columns, int screens)
{
    ui->_rowEdt->setText(QString::number(rows));
    ui->_columnEdt->setText(QString::number(columns));
    ui->_numberLabel->setText(QString::number(screens));
}

int setMatrixScreen::rowCount() const
{
    return ui->_rowEdt->text().toInt();
}

int setMatrixScreen::columnCount() const
{
    return ui->_columnEdt->text().toInt();
}

int setMatrixScreen::screenCount() const
{
    return ui->_numberLabel->text().toInt();
}

void setMatrixScreen::slotOKClicked()
{
    const int rows = rowCount();
    const int columns = columnCount();
    const int screens = screenCount();
    bool valid = rows >= 1 && columns >= 1;
    if (screens > 0) {
        // The grid must fit on the screens the matrix reported.
        valid = valid && qint64(rows) * columns <= screens;
    } else {
        // No screens reported: any grid the fields allow is taken.
        valid = valid && rows <= MaxLines && columns <= MaxLines;
    }
    if (valid) {
        accept();
        return;
    }
    COMMONUSELIB::MessageBoxW::warning(this, tr("Error"), tr("Please input correct value!"), 1);
}

void setMatrixScreen::slotTextChanaged(QLineEdit *edit, const QString &text)
{
    if (text.isEmpty())
        return;
    QString cleaned = text;
    if (cleaned.startsWith(QLatin1Char('0'))) {
        cleaned.remove(0, 1);
        edit->setText(cleaned);
    }
    if (cleaned.endsWith(QLatin1Char(',')) || cleaned.endsWith(QLatin1Char('+'))) {
        cleaned.chop(1);
        edit->setText(cleaned);
    }
}

void setMatrixScreen::changeEvent(QEvent *event)
{
    COMMONUSELIB::MoveableDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
