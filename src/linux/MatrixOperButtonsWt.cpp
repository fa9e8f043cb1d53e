#include "MatrixOperButtonsWt.h"
#include "ui_MatrixOperButtonsWt.h"

namespace LUMO_DIGITALMATRIX_MODULE {

MatrixOperButtonsWt::MatrixOperButtonsWt(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::MatrixOperButtonsWt)
{
    ui->setupUi(this);
    setFixedHeight(34);
    connect(ui->configMatrixBt, &QPushButton::clicked, this,
            &MatrixOperButtonsWt::signalConfigMatrixBtClicked);
    connect(ui->undoLayoutBt, &QPushButton::clicked, this,
            &MatrixOperButtonsWt::signalUndoLayoutBtClicked);
    connect(ui->clearChannelsBt, &QPushButton::clicked, this,
            &MatrixOperButtonsWt::signalClearChannelsBtClicked);
    connect(ui->saveConfigBt, &QPushButton::clicked, this,
            &MatrixOperButtonsWt::signalSaveConfigBtClicked);
    connect(ui->backStepBt, &QPushButton::clicked, this,
            &MatrixOperButtonsWt::signalBackStepBtClicked);
    connect(ui->cancelBt, &QPushButton::clicked, this, &MatrixOperButtonsWt::signalCancelBtClicked);
    connect(ui->rebootBt, &QPushButton::clicked, this, &MatrixOperButtonsWt::signalRebootBtClicked);
    connect(ui->upgradeBt, &QPushButton::clicked, this,
            &MatrixOperButtonsWt::signalUpgradeBtClicked);
    connect(ui->resetBt, &QPushButton::clicked, this, &MatrixOperButtonsWt::signalResetBtClicked);
    // The arrangement's instruction takes two lines where the bar is short of room, instead
    // of widening the page (and the window around it) for good.
    ui->statusLabel->setWordWrap(true);
    ui->statusLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    // Room for two lines; the bar is as high as that needs.
    ui->statusLabel->setMinimumHeight(2 * ui->statusLabel->fontMetrics().lineSpacing() + 2);
    setMaximumHeight(QWIDGETSIZE_MAX);
    setStatus(LinuxDigitalMatrixPage::MatrixStatusNormal);
}

MatrixOperButtonsWt::~MatrixOperButtonsWt() = default;

void MatrixOperButtonsWt::setStatus(LinuxDigitalMatrixPage::MatrixStatus status)
{
    currentStatus = status;
    const bool arranging = status == LinuxDigitalMatrixPage::MatrixStatusConfig;
    ui->configMatrixBt->setVisible(!arranging);
    ui->clearChannelsBt->setVisible(!arranging);
    ui->saveConfigBt->setVisible(arranging);
    ui->backStepBt->setVisible(arranging);
    ui->cancelBt->setVisible(arranging);
    ui->statusLabel->setVisible(arranging);
    ui->undoLayoutBt->setVisible(false);
    // The device operations would end the arrangement half done: they wait until it is.
    ui->rebootBt->setEnabled(!arranging);
    ui->upgradeBt->setEnabled(!arranging);
    ui->resetBt->setEnabled(!arranging);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
