#include "CanSelectWithNumWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QVBoxLayout>
#include <QVariant>

namespace COMMONUSELIB {

namespace {
const int BorderWidth = 2;
const QColor CellColor(0x2b, 0x31, 0x3a);
const QColor HoverColor(0x35, 0x3d, 0x48);
const QColor NumberColor(0xc8, 0xcf, 0xd8);
const QColor FrameColor(0x4a, 0x52, 0x5e);
const QColor CheckedColor(0x1e, 0x90, 0xff);
} // namespace

CanSelectWithNumWidget::CanSelectWithNumWidget(int index, QWidget *parent)
    : QWidget(parent)
    , m_index(index)
    , m_showNum(index + 1)
{
    setAttribute(Qt::WA_Hover);
    setMinimumSize(24, 24);
    setProperty("lumo_cellChecked", false);

    m_innerWidget = new QWidget(this);
    m_innerWidget->setObjectName(QStringLiteral("cellInnerWidget"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(BorderWidth, BorderWidth, BorderWidth, BorderWidth);
    layout->setSpacing(0);
    layout->addWidget(m_innerWidget);
}

CanSelectWithNumWidget::~CanSelectWithNumWidget() = default;

void CanSelectWithNumWidget::setShowNum(int num)
{
    if (num == m_showNum)
        return;
    m_showNum = num;
    update();
}

void CanSelectWithNumWidget::setShowNumVisible(bool visible)
{
    if (visible == m_showNumVisible)
        return;
    m_showNumVisible = visible;
    update();
}

void CanSelectWithNumWidget::setWidgetCheckable(bool checkable)
{
    m_checkable = checkable;
    if (!checkable)
        setWidgetChecked(false);
}

void CanSelectWithNumWidget::setWidgetChecked(bool checked)
{
    if (checked && !m_checkable)
        return;
    if (checked == m_checked)
        return;
    m_checked = checked;
    repolish();
    update();
}

void CanSelectWithNumWidget::setPeerWidgetCount(int count)
{
    m_peerCount = qMax(1, count);
}

void CanSelectWithNumWidget::setSplitScreenCount(int count)
{
    m_splitCount = count;
}

bool CanSelectWithNumWidget::eventFilter(QObject *watched, QEvent *event)
{
    return QWidget::eventFilter(watched, event);
}

void CanSelectWithNumWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_checkable) {
        setWidgetChecked(true);
        emit signalWidgetIsChecked(m_index);
    }
    // Leave the press to the parent as well.
    event->ignore();
}

void CanSelectWithNumWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    emit signalWidgetDoubleClick(m_index);
}

void CanSelectWithNumWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect area = rect();
    const bool hovered = testAttribute(Qt::WA_UnderMouse) && isEnabled();
    painter.fillRect(area, hovered ? HoverColor : CellColor);

    // A style sheet's background, if any, goes over the default one.
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);

    if (m_showNumVisible && m_showNum >= 1) {
        const int side = qMin(area.width(), area.height());
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(qMax(8, int(side * 0.5)));
        painter.setFont(font);
        painter.setPen(isEnabled() ? NumberColor : NumberColor.darker(160));
        painter.drawText(area, Qt::AlignCenter, QString::number(m_showNum));
    }

    const QColor frame = m_checked ? CheckedColor : FrameColor;
    const int width = m_checked ? BorderWidth : 1;
    painter.setPen(QPen(frame, width));
    painter.setBrush(Qt::NoBrush);
    const qreal inset = width / 2.0;
    painter.drawRect(QRectF(area).adjusted(inset, inset, -inset, -inset));
}

void CanSelectWithNumWidget::repolish()
{
    setProperty("lumo_cellChecked", m_checked);
    style()->unpolish(this);
    style()->polish(this);
}

} // namespace COMMONUSELIB
