#include "TurnControlWidget.h"
#include "ui_TurnControlWidget.h"

#include <QPainter>
#include <QStyleOption>

namespace LUMO_DIGITALMATRIX_MODULE {

TurnControlWidget::TurnControlWidget(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::TurnControlWidget)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    connect(ui->_startTurnShowBtn, &QPushButton::clicked, this, &TurnControlWidget::slotStartTurn);
    connect(ui->_pauseTurnShowBtn, &QPushButton::clicked, this, &TurnControlWidget::slotPauseTurn);
    connect(ui->_closeTurnShowBtn, &QPushButton::clicked, this, &TurnControlWidget::slotStopTurn);
}

TurnControlWidget::~TurnControlWidget() = default;

void TurnControlWidget::setPausedState(bool paused)
{
    ui->_startTurnShowBtn->setVisible(paused);
    ui->labelStartTurnShow->setVisible(paused);
    ui->_pauseTurnShowBtn->setVisible(!paused);
    ui->labelPauseTurnShow->setVisible(!paused);
    ui->_closeTurnShowBtn->setVisible(true);
    ui->labelStopTurnShow->setVisible(true);
}

void TurnControlWidget::slotStartTurn()
{
    emit sigStartTurn();
    hide();
    emit sigHideTurnButton();
}

void TurnControlWidget::slotPauseTurn()
{
    emit sigPauseTurn();
    hide();
    emit sigHideTurnButton();
}

void TurnControlWidget::slotStopTurn()
{
    emit sigStopTurn();
    hide();
    emit sigHideTurnButton();
}

void TurnControlWidget::paintEvent(QPaintEvent *)
{
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

void TurnControlWidget::focusOutEvent(QFocusEvent *event)
{
    hide();
    emit sigHideTurnButton();
    QWidget::focusOutEvent(event);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
