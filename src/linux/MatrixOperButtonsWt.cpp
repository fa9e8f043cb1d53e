#include "MatrixOperButtonsWt.h"
#include "ui_MatrixOperButtonsWt.h"

#include <QEvent>
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
    // The arrangement's instruction takes two lines where the bar is short of room, instead
    // of widening the page (and the window around it) for good.
    ui->statusLabel->setWordWrap(true);
    ui->statusLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    // Room for two lines; the bar is as high as that needs.
    ui->statusLabel->setMinimumHeight(2 * ui->statusLabel->fontMetrics().lineSpacing() + 2);
    setMaximumHeight(QWIDGETSIZE_MAX);
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
    redoLayoutBt = new QPushButton(tr("Redo"), this);
    redoLayoutBt->setObjectName(QStringLiteral("redoLayoutBt"));
    redoLayoutBt->setAutoDefault(false);
    redoLayoutBt->setProperty("shortButton", true);
    if (auto *bar = qobject_cast<QBoxLayout *>(layout()))
        bar->insertWidget(bar->indexOf(ui->undoLayoutBt) + 1, redoLayoutBt);
    connect(redoLayoutBt, &QPushButton::clicked, this,
            &MatrixOperButtonsWt::signalRedoLayoutBtClicked);
    setStatus(LinuxDigitalMatrixPage::MatrixStatusNormal);
}

QPushButton *MatrixOperButtonsWt::undoButton() const
{
    return ui->undoLayoutBt;
}

MatrixOperButtonsWt::~MatrixOperButtonsWt() = default;

void MatrixOperButtonsWt::setStatus(LinuxDigitalMatrixPage::MatrixStatus status)
{
    currentStatus = status;
    const bool arranging = status == LinuxDigitalMatrixPage::MatrixStatusConfig;
    const QList<QWidget *> normalTools {ui->configMatrixBt,  ui->undoLayoutBt, redoLayoutBt,
                                        ui->clearChannelsBt, stopAllTurnsBt,   presetsBt};
    const QList<QWidget *> arrangementTools {ui->saveConfigBt, ui->backStepBt, ui->cancelBt,
                                             ui->statusLabel};
    // Hide before showing: were both sets shown at once for a moment, the bar's minimum would
    // widen the window around the page for good.
    for (QWidget *w : arranging ? normalTools : arrangementTools)
        w->setVisible(false);
    for (QWidget *w : arranging ? arrangementTools : normalTools)
        w->setVisible(true);
    // The device operations would end the arrangement half done: they wait until it is.
    ui->rebootBt->setEnabled(!arranging);
    ui->upgradeBt->setEnabled(!arranging);
    ui->resetBt->setEnabled(!arranging);
}

void MatrixOperButtonsWt::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        stopAllTurnsBt->setText(tr("Stop All Turns"));
        presetsBt->setText(tr("Presets"));
        redoLayoutBt->setText(tr("Redo"));
    }
}

} // namespace LUMO_DIGITALMATRIX_MODULE
