#include "_ModifyDigitalMatrixServerDlg.h"
#include "ui__ModifyDigitalMatrixServerDlg.h"

#include "IntValidator.h"
#include "IpAddressFrame.h"
#include "UserManagerCore.h"

#include <QLineEdit>
#include <QToolTip>

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
    ui->ipFrame->setProperty("lumo_ipBox", true);
    ui->serverType->setProperty("whitecombobox", true);
    ui->saveBt->setProperty("lumo_blueButton", true);
    ui->cancleBt->setProperty("lumo_blueButton", true);
    markRequired(ui->ipLabel);
    markRequired(ui->nameLabel);
    markRequired(ui->portLabel);
    ui->serverName->setFocus();
    ui->title->setText(tr("Add DigitalMatrix Server"));
    ui->serverPort->setValidator(new COMMONUSELIB::IntValidator(0, 65535, this));

    const QList<UServerInfo> servers = DATACore::UserManagerCore::instance()->GetServers(QString());
    for (const UServerInfo &server : servers) {
        if (server.type == SERVERTYPE_X86_DIGITALMATRIX)
            otherServers.append(server);
    }

    connect(ui->saveBt, &QPushButton::clicked, this,
            &_ModifyDigitalMatrixServerDlg::slotSaveBtClicked);
    connect(ui->cancleBt, &QPushButton::clicked, this,
            &_ModifyDigitalMatrixServerDlg::slotCancleBtClicked);
    connect(ui->serverName, &QLineEdit::textChanged, this,
            [this](const QString &text) { slotLineEtTextChanged(ui->serverName, text); });

    if (info) {
        ui->title->setText(tr("Edit DigitalMatrix Server"));
        ui->serverName->setText(info->name);
        ui->ipFrame->setIp(info->ip);
        ui->serverPort->setText(QString::number(info->port));
        editedId = info->id;
        for (int i = 0; i < otherServers.size(); ++i) {
            if (otherServers.at(i).id == info->id) {
                otherServers.removeAt(i);
                break;
            }
        }
    }
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
    return info;
}

void _ModifyDigitalMatrixServerDlg::showInputHint(QWidget *field, const QString &text)
{
    QToolTip::showText(field->mapToGlobal(QPoint(0, 0)), text, field);
}

void _ModifyDigitalMatrixServerDlg::slotSaveBtClicked()
{
    const QString name = ui->serverName->text();
    const QString ip = ui->ipFrame->getIp();
    if (name.isEmpty()) {
        showInputHint(ui->serverName, tr("Please enter digital matrix server name!"));
        return;
    }
    if (ip == QLatin1String("0.0.0.0") || ip.isEmpty()) {
        showInputHint(ui->ipFrame, tr("Please enter digital matrix server ip!"));
        return;
    }
    if (ui->serverPort->text().isEmpty()) {
        showInputHint(ui->serverPort, tr("Please enter digital matrix server port!"));
        return;
    }
    for (const UServerInfo &server : qAsConst(otherServers)) {
        if (server.name == name) {
            showInputHint(ui->serverName, tr("The name of server has exsit!"));
            return;
        }
        if (server.ip == ip) {
            showInputHint(ui->ipFrame, tr("The IP of server has exsit!"));
            return;
        }
    }
    accept();
}

void _ModifyDigitalMatrixServerDlg::slotCancleBtClicked()
{
    reject();
}

void _ModifyDigitalMatrixServerDlg::slotLineEtTextChanged(QLineEdit *edit, const QString &text)
{
    if (!text.contains(QLatin1Char('\'')) && !text.contains(QLatin1Char('\\')))
        return;
    showInputHint(edit, tr("Input can't be ' or \\ !"));
    QString cleaned = text;
    cleaned.remove(QLatin1Char('\''));
    cleaned.remove(QLatin1Char('\\'));
    edit->setText(cleaned);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
