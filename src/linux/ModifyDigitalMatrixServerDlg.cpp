#include "ModifyDigitalMatrixServerDlg.h"
#include "ui_ModifyDigitalMatrixServerDlg.h"

#include "IntValidator.h"
#include "UserManagerCore.h"

#include <QToolTip>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {
const QString X86DefaultPort = QStringLiteral("9010");
const QString LinuxDefaultPort = QStringLiteral("6000");
} // namespace

ModifyDigitalMatrixServerDlg::ModifyDigitalMatrixServerDlg(QWidget *parent,
                                                           const DigitalMatrixServerInfo *server)
    : COMMONUSELIB::MoveableDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , ui(new Ui::ModifyDigitalMatrixServerDlg)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);
    ui->portLineEt->setValidator(new COMMONUSELIB::IntValidator(0, 65535, ui->portLineEt));
    ui->serverTypeComBx->setCurrentIndex(LinuxServerType);
    slotServerTypeComBxIndexChanged(LinuxServerType);

    const QList<UServerInfo> servers = DATACore::UserManagerCore::instance()->GetServers(QString());
    for (const UServerInfo &stored : servers) {
        if (stored.type == SERVERTYPE_LINUX_DIGITALMATRIX)
            otherServers.append(stored);
    }

    connect(ui->saveBt, &QPushButton::clicked, this,
            &ModifyDigitalMatrixServerDlg::slotSaveBtClicked);
    connect(ui->cancleBt, &QPushButton::clicked, this,
            &ModifyDigitalMatrixServerDlg::slotCancleBtClicked);
    connect(ui->serverTypeComBx, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &ModifyDigitalMatrixServerDlg::slotServerTypeComBxIndexChanged);
    for (QLineEdit *edit : {ui->userLineEt, ui->passwordLineEt, ui->nameLineEt}) {
        connect(edit, &QLineEdit::textChanged, this,
                [this, edit](const QString &text) { slotLineEtTextChanged(edit, text); });
    }

    if (server) {
        setWindowTitle(tr("Edit DigitalMatrix Server"));
        ui->titleLabel->setText(tr("Edit DigitalMatrix Server"));
        // The type first: choosing it puts the type's default port in the port field.
        ui->serverTypeComBx->setCurrentIndex(
                server->matrixKind == DigitalMatrixServerInfo::X86Matrix ? X86ServerType
                                                                         : LinuxServerType);
        ui->serverTypeComBx->setEnabled(false);
        ui->nameLineEt->setText(server->name);
        ui->ipAddressFrame->setIp(server->ip);
        ui->portLineEt->setText(QString::number(server->port));
        ui->userLineEt->setText(server->user);
        ui->passwordLineEt->setText(server->password);
        editingId = server->id;
        for (int i = 0; i < otherServers.size(); ++i) {
            if (otherServers.at(i).id == editingId) {
                otherServers.removeAt(i);
                break;
            }
        }
    }
}

ModifyDigitalMatrixServerDlg::~ModifyDigitalMatrixServerDlg() = default;

DigitalMatrixServerInfo ModifyDigitalMatrixServerDlg::serverInfo() const
{
    DigitalMatrixServerInfo info;
    info.id = editingId;
    info.name = ui->nameLineEt->text();
    info.ip = ui->ipAddressFrame->getIp();
    info.port = ui->portLineEt->text().toInt();
    info.matrixKind = ui->serverTypeComBx->currentIndex() + 1;
    if (info.matrixKind != DigitalMatrixServerInfo::X86Matrix) {
        info.user = ui->userLineEt->text();
        info.password = ui->passwordLineEt->text();
    }
    return info;
}

void ModifyDigitalMatrixServerDlg::disableServerType()
{
    ui->serverTypeComBx->setEnabled(false);
}

void ModifyDigitalMatrixServerDlg::slotSaveBtClicked()
{
    const QString name = ui->nameLineEt->text();
    const QString ip = ui->ipAddressFrame->getIp();
    if (name.isEmpty()) {
        showHint(ui->nameLineEt, tr("Please enter digital matrix server name!"));
        return;
    }
    if (ip.isEmpty() || ip == QLatin1String("0.0.0.0")) {
        showHint(ui->ipAddressFrame, tr("Please enter digital matrix server ip!"));
        return;
    }
    if (ui->portLineEt->text().isEmpty()) {
        showHint(ui->portLineEt, tr("Please enter digital matrix server port!"));
        return;
    }
    if (ui->serverTypeComBx->currentIndex() == LinuxServerType
        && ui->userLineEt->text().isEmpty()) {
        showHint(ui->userLineEt, tr("Please enter user name!"));
        return;
    }
    for (const UServerInfo &other : qAsConst(otherServers)) {
        if (other.name == name) {
            showHint(ui->nameLineEt, tr("The name of server has exsit!"));
            return;
        }
        if (other.ip == ip) {
            showHint(ui->ipAddressFrame, tr("The IP of server has exsit!"));
            return;
        }
    }
    accept();
}

void ModifyDigitalMatrixServerDlg::slotCancleBtClicked()
{
    reject();
}

void ModifyDigitalMatrixServerDlg::slotServerTypeComBxIndexChanged(int index)
{
    const bool withLogin = index != X86ServerType;
    ui->userLabel->setVisible(withLogin);
    ui->userLineEt->setVisible(withLogin);
    ui->passwordLabel->setVisible(withLogin);
    ui->passwordLineEt->setVisible(withLogin);
    ui->portLineEt->setText(withLogin ? LinuxDefaultPort : X86DefaultPort);
}

void ModifyDigitalMatrixServerDlg::slotLineEtTextChanged(QLineEdit *edit, const QString &text)
{
    if (!text.contains(QLatin1Char('\'')) && !text.contains(QLatin1Char('\\')))
        return;
    showHint(edit, tr("Input can't be ' or \\ !"));
    QString cleaned = text;
    cleaned.remove(QLatin1Char('\'')).remove(QLatin1Char('\\'));
    edit->setText(cleaned);
}

void ModifyDigitalMatrixServerDlg::showHint(QWidget *field, const QString &text)
{
    QToolTip::showText(field->mapToGlobal(QPoint(0, 0)), text, field);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
