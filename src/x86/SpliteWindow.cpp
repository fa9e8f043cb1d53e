#include "SpliteWindow.h"
#include "ui_SpliteWindow.h"

#include <QEvent>
#include <QPainter>
#include <QStyleOption>

namespace LUMO_DIGITALMATRIX_MODULE {

SpliteWindow::SpliteWindow(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::SpliteWindow)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    connect(ui->_squareoneBtn, &QPushButton::clicked, this, &SpliteWindow::slotDivideOneScreen);
    connect(ui->_squaretwoBtn, &QPushButton::clicked, this, &SpliteWindow::slotDivideFourScreen);
    connect(ui->_squarethreeBtn, &QPushButton::clicked, this, &SpliteWindow::slotDivideNineScreen);
    connect(ui->_squarefourBtn, &QPushButton::clicked, this,
            &SpliteWindow::slotDivideSixteenScreen);
    connect(ui->_squarefiveBtn, &QPushButton::clicked, this,
            &SpliteWindow::slotDivideTwentyfiveScreen);
    connect(ui->_squaresixBtn, &QPushButton::clicked, this,
            &SpliteWindow::slotDivideThirtysixScreen);
}

SpliteWindow::~SpliteWindow() = default;

void SpliteWindow::choose(int count)
{
    emit sigSpliteButtonClicked(count);
    hide();
}

void SpliteWindow::slotDivideOneScreen()
{
    choose(1);
}

void SpliteWindow::slotDivideFourScreen()
{
    choose(4);
}

void SpliteWindow::slotDivideNineScreen()
{
    choose(9);
}

void SpliteWindow::slotDivideSixteenScreen()
{
    choose(16);
}

void SpliteWindow::slotDivideTwentyfiveScreen()
{
    choose(25);
}

void SpliteWindow::slotDivideThirtysixScreen()
{
    choose(36);
}

void SpliteWindow::paintEvent(QPaintEvent *)
{
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

void SpliteWindow::focusOutEvent(QFocusEvent *event)
{
    emit sigSpliteButtonClicked(-1);
    hide();
    QWidget::focusOutEvent(event);
}

void SpliteWindow::hideEvent(QHideEvent *event)
{
    emit sigSpliteButtonClicked(-1);
    QWidget::hideEvent(event);
}

void SpliteWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
