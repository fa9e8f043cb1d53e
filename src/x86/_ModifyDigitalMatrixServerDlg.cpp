#include "_ModifyDigitalMatrixServerDlg.h"
#include "ui__ModifyDigitalMatrixServerDlg.h"

#include "ServerInputCheck.h"

#include "IntValidator.h"
#include "IpAddressFrame.h"

#include <QEvent>
#include <QLineEdit>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {

// Caption of a required field: a red superscript star before the text.
void markRequired(QLabel *label)
{
    label->setTextFormat(Qt::RichText);
    label->setText(QStringLiteral("<span style=\"color:#ff0000;\"><sup>*</sup></span>")
                   + label->text().toHtmlEscaped());
}

} // namespace

_ModifyDigitalMatrixServerDlg::_ModifyDigitalMatrixServerDlg(QWidget *parent,
                                                             const DigitalMatrixServerInfo *info)
    : COMMONUSELIB::MoveableDialog(parent, Qt::Window | Qt::FramelessWindowHint)
    , ui(new Ui::_ModifyDigitalMatrixServerDlg)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setProperty("lumo_whiteBodyWidget", true);
    ui->title->setProperty("lumo_modifyServerTitle", true);
    ui->ipLabel->setProperty("lumo_grayYaHei", true);
    ui->nameLabel->setProperty("lumo_grayYaHei", true);
    ui->serverTypeLabel->setProperty("lumo_grayYaHei", true);
    ui->portLabel->setProperty("lumo_grayYaHei", true);
    ui->userLabel->setProperty("lumo_grayYaHei", true);
    ui->passwordLabel->setProperty("lumo_grayYaHei", true);
    ui->ipFrame->setProperty("lumo_ipBox", true);
    ui->serverType->setProperty("whitecombobox", true);
    ui->saveBt->setProperty("lumo_blueButton", true);
    ui->cancleBt->setProperty("lumo_blueButton", true);
    markRequired(ui->ipLabel);
    markRequired(ui->nameLabel);
    markRequired(ui->portLabel);
    // Tab follows the fields as they stand: name, the four address parts, type, port,
    // account, then the buttons.
    const QList<QWidget *> chain {ui->serverName,        ui->ipFrame->field(0),
                                  ui->ipFrame->field(1), ui->ipFrame->field(2),
                                  ui->ipFrame->field(3), ui->serverType,
                                  ui->serverPort,        ui->_userLineEdt,
                                  ui->_passwordLineEdt,  ui->saveBt,
                                  ui->cancleBt};
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain.at(i - 1), chain.at(i));
    // From the last button back to the first field.
    setTabOrder(chain.last(), chain.first());
    ui->serverName->setFocus();
    ui->title->setText(tr("Add DigitalMatrix Server"));
    ui->serverPort->setValidator(new COMMONUSELIB::IntValidator(0, 65535, this));

    connect(ui->saveBt, &QPushButton::clicked, this,
            &_ModifyDigitalMatrixServerDlg::slotSaveBtClicked);
    connect(ui->cancleBt, &QPushButton::clicked, this,
            &_ModifyDigitalMatrixServerDlg::slotCancleBtClicked);
    // The account is optional: a matrix without accounts takes the empty one.
    for (QLineEdit *edit : {ui->serverName, ui->_userLineEdt, ui->_passwordLineEdt}) {
        connect(edit, &QLineEdit::textChanged, this,
                [this, edit](const QString &text) { slotLineEtTextChanged(edit, text); });
    }

    if (info) {
        ui->title->setText(tr("Edit DigitalMatrix Server"));
        ui->serverName->setText(info->name);
        ui->ipFrame->setIp(info->ip);
        ui->serverPort->setText(QString::number(info->port));
        ui->_userLineEdt->setText(info->user);
        ui->_passwordLineEdt->setText(info->password);
        editedId = info->id;
    }
    otherServers = ServerInputCheck::otherServers(SERVERTYPE_X86_DIGITALMATRIX, editedId);
}

_ModifyDigitalMatrixServerDlg::~_ModifyDigitalMatrixServerDlg() = default;

DigitalMatrixServerInfo _ModifyDigitalMatrixServerDlg::getServerInfo() const
{
    DigitalMatrixServerInfo info;
    info.id = editedId;
    info.name = ui->serverName->text();
    info.ip = ui->ipFrame->getIp();
    info.port = ui->serverPort->text().toInt();
    info.matrixKind = DigitalMatrixServerInfo::X86Matrix;
    info.user = ui->_userLineEdt->text();
    info.password = ui->_passwordLineEdt->text();
    return info;
}

void _ModifyDigitalMatrixServerDlg::slotSaveBtClicked()
{
    ServerInputCheck::Input input;
    input.name = ui->serverName->text();
    input.ip = ui->ipFrame->getIp();
    input.port = ui->serverPort->text();
    if (ServerInputCheck::passes(input, otherServers,
                                 {{ServerInputCheck::NameField, ui->serverName},
                                  {ServerInputCheck::IpField, ui->ipFrame},
                                  {ServerInputCheck::PortField, ui->serverPort}}))
        accept();
}

void _ModifyDigitalMatrixServerDlg::slotCancleBtClicked()
{
    reject();
}

void _ModifyDigitalMatrixServerDlg::slotLineEtTextChanged(QLineEdit *edit, const QString &text)
{
    ServerInputCheck::keepStorable(edit, text);
}

void _ModifyDigitalMatrixServerDlg::changeEvent(QEvent *event)
{
    COMMONUSELIB::MoveableDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        markRequired(ui->ipLabel);
        markRequired(ui->nameLabel);
        markRequired(ui->portLabel);
        ui->title->setText(editedId.isEmpty() ? tr("Add DigitalMatrix Server")
                                              : tr("Edit DigitalMatrix Server"));
    }
}

} // namespace LUMO_DIGITALMATRIX_MODULE
