#include "ServerSelectWidget.h"

#include <QGraphicsDropShadowEffect>
#include <QPainter>
#include <QStyleOption>

namespace LUMO_DIGITALMATRIX_MODULE {

ServerSelectWidget::ServerSelectWidget(QWidget *parent)
    : QWidget(parent)
{
    setWindowFlags(Qt::Popup);
    setProperty("serverselectwidget", true);
    auto *shadow = new QGraphicsDropShadowEffect(this);
    shadow->setBlurRadius(100);
    shadow->setXOffset(100);
    setGraphicsEffect(shadow);
    updateLayout(-1);
}

ServerSelectWidget::~ServerSelectWidget() = default;

void ServerSelectWidget::addServer(const UServerInfo &info)
{
    auto *button = new ServerButton(this);
    button->setServerInfo(info);
    button->setFocusPolicy(Qt::NoFocus);
    buttons.append(button);
    auto *line = new QWidget(this);
    line->setProperty("smallsplite", true);
    lines.append(line);
    connect(button, &QPushButton::clicked, this, [this, button] { slotServerSelected(button); });
    updateLayout(-1);
}

void ServerSelectWidget::clearServers()
{
    qDeleteAll(buttons);
    buttons.clear();
    qDeleteAll(lines);
    lines.clear();
    updateLayout(-1);
}

PUServerInfo ServerSelectWidget::firstServer() const
{
    return buttons.isEmpty() ? nullptr : buttons.constFirst()->serverInfo();
}

PUServerInfo ServerSelectWidget::lastServer() const
{
    return buttons.isEmpty() ? nullptr : buttons.constLast()->serverInfo();
}

void ServerSelectWidget::updateLayout(int width)
{
    if (width > 0)
        itemWidth = width;
    const int n = buttons.size();
    setGeometry(0, 0, itemWidth + 2, RowHeight * n + 3);
    for (int i = 0; i < n; ++i) {
        buttons.at(i)->setGeometry(0, 3 + RowHeight * i, itemWidth, ItemHeight);
        QWidget *line = lines.at(i);
        line->setGeometry(1, 33 + RowHeight * i, itemWidth - 2, 1);
        line->setVisible(i != n - 1);
    }
}

void ServerSelectWidget::slotServerSelected(ServerButton *button)
{
    hide();
    emit sigServerSelected(button->serverInfo());
}

void ServerSelectWidget::paintEvent(QPaintEvent *)
{
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

void ServerSelectWidget::focusOutEvent(QFocusEvent *event)
{
    emit sigServerSelectedFO();
    QWidget::focusOutEvent(event);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
