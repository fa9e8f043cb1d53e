#include "ModifyDigitalMatrixServerDlg.h"
#include "ui_ModifyDigitalMatrixServerDlg.h"

#include <QEvent>

#include "ServerInputCheck.h"

#include "IntValidator.h"
#include "IpAddressFrame.h"

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
    // Tab follows the fields as they stand: name, the four address parts, type, port,
    // account, then the buttons.
    const QList<QWidget *> chain {ui->nameLineEt,
                                  ui->ipAddressFrame->field(0),
                                  ui->ipAddressFrame->field(1),
                                  ui->ipAddressFrame->field(2),
                                  ui->ipAddressFrame->field(3),
                                  ui->serverTypeComBx,
                                  ui->portLineEt,
                                  ui->userLineEt,
                                  ui->passwordLineEt,
                                  ui->saveBt,
                                  ui->cancleBt};
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain.at(i - 1), chain.at(i));
    // From the last button back to the first field, which has the focus first.
    setTabOrder(chain.last(), chain.first());
    ui->nameLineEt->setFocus();

    connect(ui->saveBt, &QPushButton::clicked, this,
            &ModifyDigitalMatrixServerDlg::slotSaveBtClicked);
    connect(ui->cancleBt, &QPushButton::clicked, this,
            &ModifyDigitalMatrixServerDlg::slotCancleBtClicked);
    connect(ui->serverTypeComBx, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &ModifyDigitalMatrixServerDlg::slotServerTypeComBxIndexChanged);
    for (QLineEdit *edit : {ui->userLineEt, ui->passwordLineEt, ui->nameLineEt}) {
        connect(edit, &QLineEdit::textChanged, this,
                [edit](const QString &text) { ServerInputCheck::keepStorable(edit, text); });
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
    }
    otherServers = ServerInputCheck::otherServers(SERVERTYPE_LINUX_DIGITALMATRIX, editingId);
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
    // An X86 account is optional (empty: the matrix's account without a name); a Linux one
    // is required.
    info.user = ui->userLineEt->text();
    info.password = ui->passwordLineEt->text();
    return info;
}

void ModifyDigitalMatrixServerDlg::disableServerType()
{
    ui->serverTypeComBx->setEnabled(false);
}

void ModifyDigitalMatrixServerDlg::slotSaveBtClicked()
{
    ServerInputCheck::Input input;
    input.name = ui->nameLineEt->text();
    input.ip = ui->ipAddressFrame->getIp();
    input.port = ui->portLineEt->text();
    input.needsUser = ui->serverTypeComBx->currentIndex() == LinuxServerType;
    input.user = ui->userLineEt->text();
    if (ServerInputCheck::passes(input, otherServers,
                                 {{ServerInputCheck::NameField, ui->nameLineEt},
                                  {ServerInputCheck::IpField, ui->ipAddressFrame},
                                  {ServerInputCheck::PortField, ui->portLineEt},
                                  {ServerInputCheck::UserField, ui->userLineEt}}))
        accept();
}

void ModifyDigitalMatrixServerDlg::slotCancleBtClicked()
{
    reject();
}

void ModifyDigitalMatrixServerDlg::slotServerTypeComBxIndexChanged(int index)
{
    // Both kinds may carry an account; only the default port differs.
    ui->portLineEt->setText(index != X86ServerType ? LinuxDefaultPort : X86DefaultPort);
}

void ModifyDigitalMatrixServerDlg::changeEvent(QEvent *event)
{
    COMMONUSELIB::MoveableDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        if (!editingId.isEmpty()) {
            setWindowTitle(tr("Edit DigitalMatrix Server"));
            ui->titleLabel->setText(tr("Edit DigitalMatrix Server"));
        }
    }
}

} // namespace LUMO_DIGITALMATRIX_MODULE
