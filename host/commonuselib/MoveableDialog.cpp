#include "MoveableDialog.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

namespace COMMONUSELIB {

MoveableDialog::MoveableDialog(QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
{ }

MoveableDialog::~MoveableDialog() = default;

void MoveableDialog::setMoveable(bool moveable)
{
    m_moveable = moveable;
    if (!moveable)
        m_dragging = false;
}

void MoveableDialog::mousePressEvent(QMouseEvent *event)
{
    if (m_moveable && event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_pressOffset = event->globalPos() - frameGeometry().topLeft();
        event->accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

void MoveableDialog::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPos() - m_pressOffset);
        event->accept();
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void MoveableDialog::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_dragging = false;
        event->accept();
        return;
    }
    QDialog::mouseReleaseEvent(event);
}

void MoveableDialog::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (testAttribute(Qt::WA_TranslucentBackground)) {
        // Nothing else paints a translucent window: draw the body as a plain panel.
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(palette().color(QPalette::Mid), 1));
        painter.setBrush(palette().color(QPalette::Window));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    }
    // Lets a style sheet's background and border apply.
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
    QDialog::paintEvent(event);
}

} // namespace COMMONUSELIB
