#include "LinuxMatrixUpgradeDlg.h"
#include "ui_LinuxMatrixUpgradeDlg.h"

#include "DigitalMatrixInteractionPort.h"
#include "FieldHint.h"

#include "QLogger.h"

#include <QEvent>
#include <QUrl>

namespace LUMO_DIGITALMATRIX_MODULE {

LinuxMatrixUpgradeDlg::LinuxMatrixUpgradeDlg(QWidget *parent)
    : COMMONUSELIB::MoveableDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , ui(new Ui::LinuxMatrixUpgradeDlg)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);
    ui->upgradeType->setCurrentIndex(0);
    ui->urlLineEt->clear();
    ui->urlLineEt->setEnabled(false);
    connect(ui->upgradeType, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &LinuxMatrixUpgradeDlg::slotUpgradeTypeCurIndexChanged);
    connect(ui->saveBt, &QPushButton::clicked, this, &LinuxMatrixUpgradeDlg::slotSaveBtClicked);
    connect(ui->cancelBt, &QPushButton::clicked, this, &LinuxMatrixUpgradeDlg::slotCancleBtClicked);
}

LinuxMatrixUpgradeDlg::~LinuxMatrixUpgradeDlg() = default;

int LinuxMatrixUpgradeDlg::sourceOfIndex(int index)
{
    switch (index) {
    case 0:
        return SourceUsb;
    case 1:
        return SourceHttp;
    case 2:
        return SourceFtp;
    default:
        return -1;
    }
}

void LinuxMatrixUpgradeDlg::slotUpgradeTypeCurIndexChanged(int index)
{
    switch (index) {
    case 0:
        ui->urlLineEt->clear();
        ui->urlLineEt->setEnabled(false);
        break;
    case 1:
        ui->urlLineEt->setText(QStringLiteral("http://"));
        ui->urlLineEt->setEnabled(true);
        break;
    case 2:
        ui->urlLineEt->setText(QStringLiteral("ftp://"));
        ui->urlLineEt->setEnabled(true);
        break;
    default:
        break;
    }
}

void LinuxMatrixUpgradeDlg::slotSaveBtClicked()
{
    const int source = sourceOfIndex(ui->upgradeType->currentIndex());
    if (source < 0)
        return;
    const QString url = ui->urlLineEt->text();
    if (source == SourceFtp && !url.startsWith(QLatin1String("ftp://"))) {
        FieldHint::show(ui->urlLineEt, tr("ftp format is wrong!"));
        return;
    }
    if (source == SourceHttp && !url.isEmpty() && !url.startsWith(QLatin1String("http://"))) {
        FieldHint::show(ui->urlLineEt, tr("http format is wrong!"));
        return;
    }
    upgradeStartResult = DigitalMatrixInteractionPort::instance()->startUpgrade(source, url);
    startedSource = describeSource(source, url);
    QLogger::instance()->LogInfo(
            QStringLiteral("Linux matrix upgrade from source %1: start result %2")
                    .arg(source)
                    .arg(upgradeStartResult));
    accept();
}

QString LinuxMatrixUpgradeDlg::describeSource(int source, const QString &url)
{
    if (source == SourceUsb)
        return QStringLiteral("USB");
    const QString kind = source == SourceFtp ? QStringLiteral("FTP") : QStringLiteral("HTTP");
    // The host only: a URL may carry a user and a password.
    const QString host = QUrl(url).host();
    return host.isEmpty() ? kind : QStringLiteral("%1 (%2)").arg(kind, host);
}

void LinuxMatrixUpgradeDlg::slotCancleBtClicked()
{
    reject();
}

void LinuxMatrixUpgradeDlg::changeEvent(QEvent *event)
{
    COMMONUSELIB::MoveableDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
