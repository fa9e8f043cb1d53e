#include "MatrixOperButtonsWt.h"
#include "ui_MatrixOperButtonsWt.h"

#include <QBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

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
    // Beside "Clear Channels": one command for every turn show on the wall.
    stopAllTurnsBt = new QPushButton(tr("Stop All Turns"), this);
    stopAllTurnsBt->setObjectName(QStringLiteral("stopAllTurnsBt"));
    stopAllTurnsBt->setAutoDefault(false);
    stopAllTurnsBt->setProperty("shortButton", true);
    if (auto *bar = qobject_cast<QBoxLayout *>(layout()))
        bar->insertWidget(bar->indexOf(ui->clearChannelsBt) + 1, stopAllTurnsBt);
    connect(stopAllTurnsBt, &QPushButton::clicked, this,
            &MatrixOperButtonsWt::signalStopAllTurnsBtClicked);
    presetsBt = new QToolButton(this);
    presetsBt->setObjectName(QStringLiteral("presetsBt"));
    presetsBt->setText(tr("Presets"));
    presetsBt->setPopupMode(QToolButton::InstantPopup);
    presets = new QMenu(presetsBt);
    presets->setObjectName(QStringLiteral("presetMenu"));
    presets->setProperty("lumo_menu", true);
    presetsBt->setMenu(presets);
    if (auto *bar = qobject_cast<QBoxLayout *>(layout()))
        bar->insertWidget(bar->indexOf(stopAllTurnsBt) + 1, presetsBt);
    setStatus(LinuxDigitalMatrixPage::MatrixStatusNormal);
}

MatrixOperButtonsWt::~MatrixOperButtonsWt() = default;

void MatrixOperButtonsWt::setStatus(LinuxDigitalMatrixPage::MatrixStatus status)
{
    currentStatus = status;
    const bool arranging = status == LinuxDigitalMatrixPage::MatrixStatusConfig;
    ui->configMatrixBt->setVisible(!arranging);
    ui->clearChannelsBt->setVisible(!arranging);
    stopAllTurnsBt->setVisible(!arranging);
    presetsBt->setVisible(!arranging);
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
