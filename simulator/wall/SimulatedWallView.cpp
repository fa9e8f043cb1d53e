#include "SimulatedWallView.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor Background(0x1b, 0x1d, 0x22);
const QColor Bezel(0x3a, 0x3f, 0x48);
const QColor ScreenOff(0x0b, 0x0c, 0x0f);
const QColor WindowFill(0x12, 0x1f, 0x2c);
const QColor WindowBorder(0x8a, 0x9b, 0xab);
const QColor SelectedBorder(0x48, 0xa8, 0xd8);
const QColor PaneLine(0x5c, 0x6b, 0x7a);
const QColor EmptyText(0x55, 0x5c, 0x66);
const QColor LargeNumber(0xff, 0xd5, 0x4a);

// A calm colour per channel, so that a person sees a pane change when its channel changes.
QColor channelColour(const QString &name)
{
    const uint hash = qHash(name);
    return QColor::fromHsv(int(hash % 360), 90, 70);
}

QFont fittedFont(const QFont &base, qreal pixelSize)
{
    QFont font = base;
    font.setPixelSize(qMax(8, int(pixelSize)));
    return font;
}

void drawFittedText(QPainter &painter, const QRectF &rect, const QString &text, qreal pixelSize,
                    int flags)
{
    QFont font = fittedFont(painter.font(), pixelSize);
    // Shrink until the text fits on at most two lines.
    for (int i = 0; i < 6; ++i) {
        const QFontMetricsF metrics(font);
        const QRectF needed = metrics.boundingRect(rect, flags | Qt::TextWordWrap, text);
        if (needed.width() <= rect.width() && needed.height() <= rect.height())
            break;
        if (font.pixelSize() <= 8)
            break;
        font.setPixelSize(qMax(8, font.pixelSize() * 4 / 5));
    }
    painter.setFont(font);
    painter.drawText(rect, flags | Qt::TextWordWrap, text);
}

} // namespace

SimulatedWallView::SimulatedWallView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setObjectName(QStringLiteral("simulatedWallView"));
}

SimulatedWallView::~SimulatedWallView() = default;

void SimulatedWallView::setPicture(const WallPicture &picture)
{
    m_picture = picture;
    update();
}

QSize SimulatedWallView::sizeHint() const
{
    return QSize(800, 460);
}

QSize SimulatedWallView::minimumSizeHint() const
{
    return QSize(240, 140);
}

void SimulatedWallView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Background);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (m_picture.size.isEmpty())
        return;

    // Fit the wall into the widget, keeping its shape.
    const qreal margin = 12;
    const QRectF area = QRectF(rect()).adjusted(margin, margin, -margin, -margin);
    const qreal scale =
            qMin(area.width() / m_picture.size.width(), area.height() / m_picture.size.height());
    const QSizeF drawn = m_picture.size * scale;
    const QPointF origin(area.left() + (area.width() - drawn.width()) / 2,
                         area.top() + (area.height() - drawn.height()) / 2);
    auto map = [&](const QRectF &r) {
        return QRectF(origin + r.topLeft() * scale, r.size() * scale);
    };
    const qreal screenPixels = qMin(SimX86ScreenWidth * scale, SimX86ScreenHeight * scale);

    // Screens: dark glass in a bezel, the output number in the corner.
    for (const WallScreen &screen : m_picture.screens) {
        const QRectF r = map(screen.rect);
        painter.setPen(QPen(Bezel, qMax(2.0, scale * 24)));
        painter.setBrush(ScreenOff);
        painter.drawRect(r);
        if (!screen.hasPicture && !screen.showNumberLarge) {
            painter.setPen(EmptyText);
            drawFittedText(painter, r, tr("No signal"), screenPixels * 0.08, Qt::AlignCenter);
        }
    }

    // Windows and cells with their panes.
    for (const WallWindow &window : m_picture.windows) {
        painter.save();
        if (!window.clip.isNull())
            painter.setClipRect(map(window.clip));
        const QRectF r = map(window.rect);
        painter.setPen(Qt::NoPen);
        painter.setBrush(WindowFill);
        painter.drawRect(r);
        for (const WallPane &pane : window.panes) {
            const QRectF p = map(pane.rect).adjusted(1, 1, -1, -1);
            if (pane.text.isEmpty()) {
                painter.setPen(QPen(PaneLine, 1));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(p);
                continue;
            }
            QLinearGradient shade(p.topLeft(), p.bottomRight());
            const QColor colour = channelColour(pane.text);
            shade.setColorAt(0, colour.lighter(135));
            shade.setColorAt(1, colour.darker(140));
            painter.setPen(QPen(PaneLine, 1));
            painter.setBrush(shade);
            painter.drawRect(p);
            painter.setPen(Qt::white);
            drawFittedText(painter, p.adjusted(4, 4, -4, -4), pane.text,
                           qMin(p.height() * 0.16, p.width() * 0.11), Qt::AlignCenter);
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(
                QPen(window.selected ? SelectedBorder : WindowBorder, window.selected ? 3 : 1.5));
        painter.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));

        // The window's number (or the cell's name) in a badge at its top-left corner.
        QFont badgeFont = fittedFont(font(), qBound(10.0, screenPixels * 0.07, 28.0));
        badgeFont.setBold(true);
        painter.setFont(badgeFont);
        const QFontMetricsF badgeMetrics(badgeFont);
        const QSizeF badgeSize(badgeMetrics.horizontalAdvance(window.label) + 12,
                               badgeMetrics.height() + 4);
        const QRectF badge(r.topLeft() + QPointF(4, 4), badgeSize);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 170));
        painter.drawRoundedRect(badge, 4, 4);
        painter.setPen(window.selected ? SelectedBorder : Qt::white);
        painter.drawText(badge, Qt::AlignCenter, window.label);

        if (!window.status.isEmpty()) {
            QFont statusFont = fittedFont(font(), qBound(9.0, screenPixels * 0.045, 16.0));
            painter.setFont(statusFont);
            const QFontMetricsF statusMetrics(statusFont);
            const QRectF strip(r.left(), r.bottom() - statusMetrics.height() - 6, r.width(),
                               statusMetrics.height() + 6);
            painter.fillRect(strip, QColor(0, 0, 0, 160));
            painter.setPen(QColor(0xe8, 0xec, 0xf0));
            painter.drawText(
                    strip.adjusted(6, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft,
                    statusMetrics.elidedText(window.status, Qt::ElideRight, strip.width() - 12));
        }
        painter.restore();
    }

    // Screen numbers: small in the corner, large over everything in arrangement mode.
    for (const WallScreen &screen : m_picture.screens) {
        const QRectF r = map(screen.rect);
        if (screen.showNumberLarge) {
            painter.fillRect(r, QColor(0x10, 0x30, 0x60, 200));
            QFont large = font();
            large.setBold(true);
            large.setPixelSize(qMax(12, int(r.height() * 0.6)));
            painter.setFont(large);
            painter.setPen(LargeNumber);
            painter.drawText(r, Qt::AlignCenter, QString::number(screen.number));
        }
        QFont small = fittedFont(font(), qBound(9.0, screenPixels * 0.05, 18.0));
        painter.setFont(small);
        const QFontMetricsF metrics(small);
        const QString text = tr("Screen %1").arg(screen.number);
        const QRectF tag(r.right() - metrics.horizontalAdvance(text) - 14,
                         r.bottom() - metrics.height() - 8, metrics.horizontalAdvance(text) + 10,
                         metrics.height() + 4);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 150));
        painter.drawRoundedRect(tag, 3, 3);
        painter.setPen(QColor(0xc8, 0xd0, 0xd8));
        painter.drawText(tag, Qt::AlignCenter, text);
    }
}
