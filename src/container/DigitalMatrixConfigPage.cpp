#include "DigitalMatrixConfigPage.h"
#include "ui_DigitalMatrixConfigPage.h"

#include "DigitalMatrix.h"
#include "DigitalMatrixInteractionPort.h"
#include "LinuxDigitalMatrixPage.h"
#include "ModifyDigitalMatrixServerDlg.h"

#include "LumoToolManager.h"
#include "PictureHintWidget.h"

#include <QEvent>
#include <QLayout>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {
// Stack pages.
constexpr int X86Page = 0;
constexpr int LinuxPage = 1;
// Picture of a video wall fed by a matrix server.
constexpr int MatrixPictureType = 2;
// Picture languages.
constexpr int ChinesePicture = 0;
constexpr int EnglishPicture = 1;

int pictureLanguage()
{
    return LumoToolExt::LumoToolManager::instance()->uiLanguages() == QLatin1String("zh_cn")
            ? ChinesePicture
            : EnglishPicture;
}
} // namespace

DigitalMatrixConfigPage::DigitalMatrixConfigPage(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::DigitalMatrixConfigPage)
{
    ui->setupUi(this);
    init();
}

DigitalMatrixConfigPage::~DigitalMatrixConfigPage() = default;

void DigitalMatrixConfigPage::init()
{
    initPictureHint();
    showPageByServerTypeAlreadyConfig();

    connect(pictureHint, &COMMONUSELIB::PictureHintWidget::addServerBtClicked, this,
            &DigitalMatrixConfigPage::slotAddServerBtClicked);
    connect(this, &DigitalMatrixConfigPage::signalAddLinuxDigitalMatrixServerFromPictureHint,
            ui->linuxMatrixPage, &LinuxDigitalMatrixPage::slotAddDigitalMatrixServer);
    connect(this, &DigitalMatrixConfigPage::signalAddX86DigitalMatrixServerFromPictureHint,
            ui->x86MatrixPage, &DigitalMatrix::slotAddServerFromPictrueHint);
    connect(ui->x86MatrixPage, &DigitalMatrix::signalX86MatrixServerDeleteAll, this,
            &DigitalMatrixConfigPage::slotMatrixServerDeleteAll);
    connect(ui->linuxMatrixPage, &LinuxDigitalMatrixPage::signalLinuxMatrixServerDeleteAll, this,
            &DigitalMatrixConfigPage::slotMatrixServerDeleteAll);
}

void DigitalMatrixConfigPage::initPictureHint()
{
    pictureHint = new COMMONUSELIB::PictureHintWidget(MatrixPictureType, pictureLanguage(), this);
    pictureHint->setObjectName(QStringLiteral("pictureHint"));
    layout()->addWidget(pictureHint);
}

void DigitalMatrixConfigPage::showPictureHint()
{
    pictureHint->show();
    ui->stackedWidget->hide();
    layout()->setContentsMargins(0, 0, 0, 0);
}

void DigitalMatrixConfigPage::hidePictureHint()
{
    pictureHint->hide();
    ui->stackedWidget->show();
    layout()->setContentsMargins(0, 0, 0, 0);
}

void DigitalMatrixConfigPage::showPageByServerTypeAlreadyConfig()
{
    switch (DigitalMatrixInteractionPort::instance()->serverTypeAlreadyConfigured()) {
    case 1:
        hidePictureHint();
        ui->stackedWidget->setCurrentIndex(X86Page);
        break;
    case 2:
        hidePictureHint();
        ui->stackedWidget->setCurrentIndex(LinuxPage);
        break;
    default:
        showPictureHint();
        break;
    }
}

void DigitalMatrixConfigPage::slotAddServerBtClicked()
{
    ModifyDigitalMatrixServerDlg dialog(this, nullptr);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const DigitalMatrixServerInfo server = dialog.serverInfo();
    if (server.matrixKind == DigitalMatrixServerInfo::X86Matrix) {
        ui->stackedWidget->setCurrentIndex(X86Page);
        emit signalAddX86DigitalMatrixServerFromPictureHint(server);
    } else {
        ui->stackedWidget->setCurrentIndex(LinuxPage);
        emit signalAddLinuxDigitalMatrixServerFromPictureHint(server);
    }
    hidePictureHint();
}

void DigitalMatrixConfigPage::slotMatrixServerDeleteAll()
{
    showPageByServerTypeAlreadyConfig();
}

void DigitalMatrixConfigPage::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        if (pictureHint)
            pictureHint->setPictureLanguage(pictureLanguage());
    }
}

} // namespace LUMO_DIGITALMATRIX_MODULE
