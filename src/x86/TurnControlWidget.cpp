#include "TurnControlWidget.h"
#include "ui_TurnControlWidget.h"

#include <QEvent>
#include <QMouseEvent>
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

void TurnControlWidget::setOpener(QWidget *button)
{
    opener = button;
}

void TurnControlWidget::closeMenu()
{
    if (isVisible())
        hide(); // hideEvent reports it
    else
        emit sigHideTurnButton();
}

void TurnControlWidget::slotStartTurn()
{
    emit sigStartTurn();
    closeMenu();
}

void TurnControlWidget::slotPauseTurn()
{
    emit sigPauseTurn();
    closeMenu();
}

void TurnControlWidget::slotStopTurn()
{
    emit sigStopTurn();
    closeMenu();
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
    closeMenu();
    QWidget::focusOutEvent(event);
}

void TurnControlWidget::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        emit sigHideTurnButton();
}

void TurnControlWidget::mousePressEvent(QMouseEvent *event)
{
    // A press outside closes the pop-up (the base class does that); on the opener it must
    // not be handed on to the button as well.
    const bool onOpener = !rect().contains(event->pos()) && opener && opener->isVisible()
            && opener->rect().contains(opener->mapFromGlobal(event->globalPos()));
    setAttribute(Qt::WA_NoMouseReplay, onOpener);
    QWidget::mousePressEvent(event);
}

void TurnControlWidget::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
