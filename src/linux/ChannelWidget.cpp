#include "ChannelWidget.h"

#include <QMouseEvent>
#include <QPainter>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {
const QColor PaneColor(0x16, 0x1a, 0x1f);
const QColor TextColor(Qt::white);
// Share of the pane's shorter side taken as the text's point size.
constexpr qreal FontShare = 0.12;
} // namespace

ChannelWidget::ChannelWidget(int index, QWidget *parent)
    : QWidget(parent)
    , index(index)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(4, 4);
}

ChannelWidget::~ChannelWidget() = default;

void ChannelWidget::setIndex(int index)
{
    this->index = index;
}

void ChannelWidget::setChannelItem(const CellChannelItem &item)
{
    // A turn step changes only the panes whose channel changes.
    if (this->item == item)
        return;
    this->item = item;
    update();
}

void ChannelWidget::clearChannelItem()
{
    setChannelItem(CellChannelItem());
}

void ChannelWidget::setCaption(const QString &text)
{
    if (caption == text)
        return;
    caption = text;
    update();
}

void ChannelWidget::setTurning(bool turning)
{
    if (this->turning == turning)
        return;
    this->turning = turning;
    update();
}

QString ChannelWidget::wrapName(const QString &name, int width)
{
    if (width < 1 || name.size() <= width)
        return name;
    QString wrapped;
    for (int start = 0; start < name.size(); start += width) {
        if (start > 0)
            wrapped += QLatin1String("\r\n");
        wrapped += name.mid(start, width);
    }
    return wrapped;
}

QString ChannelWidget::displayText() const
{
    return wrapName(item.channelName, wrapWidth);
}

void ChannelWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), PaneColor);
    if (!caption.isEmpty()) {
        QFont small = painter.font();
        small.setPixelSize(qBound(9, height() / 10, 13));
        painter.setFont(small);
        const QFontMetrics metrics(small);
        const QRect band(0, 0, width(), metrics.height() + 2);
        painter.fillRect(band, turning ? QColor(40, 130, 70) : QColor(180, 120, 30));
        painter.setPen(TextColor);
        painter.drawText(band.adjusted(3, 0, -3, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(caption, Qt::ElideRight, band.width() - 6));
    }
    const QString text = displayText();
    if (text.isEmpty())
        return;
    QFont font = painter.font();
    font.setPointSizeF(qMax(1.0, FontShare * qMin(width(), height())));
    painter.setFont(font);
    painter.setPen(TextColor);
    // The line breaks are "\r\n"; the painter breaks lines at '\n' only.
    QString lines = text;
    lines.remove(QLatin1Char('\r'));
    painter.drawText(rect(), Qt::AlignCenter, lines);
}

void ChannelWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !holdsChannel()) {
        // An empty pane leaves the double click to its cell.
        event->ignore();
        return;
    }
    event->accept();
    emit signalChannelWidgetDoubleClicked(index);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
