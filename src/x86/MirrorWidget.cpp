#include "MirrorWidget.h"
#include "ui_MirrorWidget.h"

#include "DigitalMatrixInteractionPort.h"
#include "MatrixManageWidget.h"
#include "X86WallHistory.h"
#include "ModuleLogging.h"

#include "AreaWithChannelTree.h"

#include <QEvent>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QCache>
#include <QPainter>
#include <QPixmapCache>
#include <QStaticText>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <limits>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {

DigitalMatrixInteractionPort *port()
{
    return DigitalMatrixInteractionPort::instance();
}

// Pixels to matrix units, counted from origin; the conversion truncates toward zero. A
// result beyond int (a huge wall rectangle on a small wall) is held at the nearest limit.
int toUnits(int pixels, double scale, int origin = 0)
{
    const double units = origin + std::trunc(pixels * scale);
    return static_cast<int>(std::clamp(units, double(std::numeric_limits<int>::min()),
                                       double(std::numeric_limits<int>::max())));
}

// The window number rendered once per text, font and colour and kept in the pixmap cache:
// a large glyph costs far more to rasterise (and hint) than to copy.
QPixmap numberGlyph(const QString &text, const QFont &font, const QColor &colour, qreal dpr)
{
    const QString key = QStringLiteral("dm.mirror.number/%1/%2/%3/%4")
                                .arg(text, font.key())
                                .arg(colour.rgba())
                                .arg(dpr);
    QPixmap glyph;
    if (QPixmapCache::find(key, &glyph))
        return glyph;
    const QFontMetrics metrics(font);
    const QSize size(qMax(1, metrics.horizontalAdvance(text) + 4), qMax(1, metrics.height()));
    glyph = QPixmap(size * dpr);
    glyph.setDevicePixelRatio(dpr);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, text);
    painter.end();
    QPixmapCache::insert(key, glyph);
    return glyph;
}

// A channel name cut to a width and laid out for a font, shared by every window: the same
// names come back with every layout, and shaping them is the dear part of painting them.
QStaticText preparedLabel(const QString &text, const QFont &font, int width)
{
    static QCache<QString, QStaticText> cache(4096);
    const QString key =
            font.key() + QLatin1Char('/') + QString::number(width) + QLatin1Char('/') + text;
    if (const QStaticText *found = cache.object(key))
        return *found;
    const QFontMetrics metrics(font);
    auto *label = new QStaticText(metrics.elidedText(text, Qt::ElideRight, width));
    label->setTextFormat(Qt::PlainText);
    label->setPerformanceHint(QStaticText::AggressiveCaching);
    label->prepare(QTransform(), font);
    const QStaticText copy = *label;
    cache.insert(key, label);
    return copy;
}

} // namespace

struct MirrorWidget::OnAirLabels
{
    // What they were laid out for.
    QSize size;
    int split = 0;
    int zoomed = 0;
    QStringList names;
    QString badge;
    // Laid out.
    QFont font;
    QVector<QRect> bands;
    QVector<QStaticText> texts;
    QRect badgeBox;
    QStaticText badgeLabel;
};

MirrorWidget::MirrorWidget(MatrixManageWidget *parentWall)
    : QWidget(parentWall)
    , ui(new Ui::MirrorWidget)
    , wall(parentWall)
{
    ui->setupUi(this);
    // Cameras dragged from a channel tree land on a pane.
    setAcceptDrops(true);
}

MirrorWidget::~MirrorWidget() = default;

void MirrorWidget::resetForReuse()
{
    if (mouseGrabber() == this)
        releaseMouse();
    clearFocus();
    unsetCursor();
    setMouseTracking(false);
    editable = true;
    swapMode = false;
    selected = false;
    homeRect = RECT {};
    mirrorRect = RECT {};
    layer = 0;
    index = 0;
    splitCount = 1;
    turnState = X86TurnState::NoTurn;
    param4 = 0;
    xScale = 1.0;
    yScale = 1.0;
    pressed = false;
    keyAdjusting = false;
    pressPos = QPoint();
    moveOffset = QPoint();
    dragZone = ZoneTop;
    dropGlobalPos = QPoint();
    onAir = X86WindowOnAir();
    labels.reset();
    picture = QPixmap();
    pictureValid = false;
    dropPane = -1;
}

void MirrorWidget::setMirrorInfo(const RECT &home, const RECT &current, int mirrorIndex, int splits,
                                 int mirrorLayer, int fourth, int turn)
{
    // A layout reports every window: only a window whose picture changes is repainted.
    const bool changed = index != mirrorIndex || splitCount != splits || param4 != fourth
            || turnState != X86TurnState(turn);
    homeRect = home;
    mirrorRect = current;
    index = mirrorIndex;
    splitCount = splits;
    layer = mirrorLayer;
    param4 = fourth;
    turnState = X86TurnState(turn);
    if (changed)
        redraw();
}

void MirrorWidget::setOnAir(const X86WindowOnAir &value)
{
    if (onAir == value)
        return;
    onAir = value;
    redraw();
}

QRect MirrorWidget::paneRect(int pane) const
{
    const int n = splitCount > 0 ? static_cast<int>(std::sqrt(double(splitCount))) : 1;
    if (n <= 1 || zoomedPane() != 0)
        return rect();
    const int dx = width() / n;
    const int dy = height() / n;
    const int row = pane / n;
    const int column = pane % n;
    // The last row and column take what the division leaves.
    const int w = column == n - 1 ? width() - column * dx : dx;
    const int h = row == n - 1 ? height() - row * dy : dy;
    return QRect(column * dx, row * dy, w, h);
}

int MirrorWidget::paneAt(const QPoint &pos) const
{
    if (zoomedPane() != 0)
        return zoomedPane() - 1;
    for (int pane = 0; pane < qMax(1, splitCount); ++pane) {
        if (paneRect(pane).contains(pos))
            return pane;
    }
    return 0;
}

void MirrorWidget::dragEnterEvent(QDragEnterEvent *event)
{
    dragMoveEvent(event);
}

void MirrorWidget::dragMoveEvent(QDragMoveEvent *event)
{
    // Channels go onto windows in normal work, not while numbers are swapped.
    const bool takes = !swapMode && event->mimeData()
            && event->mimeData()->hasFormat(COMMONUSELIB::AreaWithChannelTree::channelMimeType());
    const int pane = takes ? paneAt(event->pos()) : -1;
    if (pane != dropPane) {
        dropPane = pane;
        redraw();
    }
    if (takes)
        event->acceptProposedAction();
    else
        event->ignore();
}

void MirrorWidget::dragLeaveEvent(QDragLeaveEvent *event)
{
    dropPane = -1;
    redraw();
    QWidget::dragLeaveEvent(event);
}

void MirrorWidget::dropEvent(QDropEvent *event)
{
    QList<COMMONUSELIB::AreaWithChannelTree::Channel> channels;
    dropPane = -1;
    redraw();
    if (swapMode
        || !COMMONUSELIB::AreaWithChannelTree::decodeChannelMimeData(event->mimeData(), &channels)
        || channels.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    QStringList keys;
    for (const COMMONUSELIB::AreaWithChannelTree::Channel &channel : qAsConst(channels))
        keys.append(channel.channelKey);
    emit sigChannelsDropped(paneAt(event->pos()), keys);
}

QStringList MirrorWidget::shownPaneNames() const
{
    const QStringList names = onAir.paneNames(splitCount);
    const int panes = names.size();
    if (zoomedPane() != 0)
        return QStringList {names.value(zoomedPane() - 1)};
    const int n = static_cast<int>(std::sqrt(double(panes)));
    return names.mid(0, qMax(1, n * n));
}

QString MirrorWidget::badgeText() const
{
    const int pages = onAir.pageCount(splitCount);
    const int page = qMin(onAir.pageOnAir(), pages - 1) + 1;
    if (turnState == X86TurnState::Running) {
        return pages > 1 ? tr("Turning: page %1 of %2, every %3 s")
                                   .arg(page)
                                   .arg(pages)
                                   .arg(onAir.interval())
                         : tr("Turning, every %1 s").arg(onAir.interval());
    }
    if (turnState == X86TurnState::Paused)
        return pages > 1 ? tr("Paused: page %1 of %2").arg(page).arg(pages) : tr("Paused");
    return QString();
}

bool MirrorWidget::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        // The full name of the channel under the pointer, which the pane may show cut.
        auto *help = static_cast<QHelpEvent *>(event);
        const QStringList names = shownPaneNames();
        QString tip;
        for (int pane = 0; pane < names.size(); ++pane) {
            if (paneRect(pane).contains(help->pos()))
                tip = names.at(pane);
        }
        if (tip.isEmpty())
            tip = badgeText();
        if (tip.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), tip, this);
        }
        return true;
    }
    return QWidget::event(event);
}

void MirrorWidget::setScale(double horizontal, double vertical)
{
    xScale = horizontal;
    yScale = vertical;
}

void MirrorWidget::setIndex(int value)
{
    index = value;
    redraw();
}

void MirrorWidget::setTurnState(X86TurnState value)
{
    if (turnState == value)
        return;
    turnState = value;
    redraw();
}

void MirrorWidget::setSplitCount(int value)
{
    splitCount = value;
    redraw();
}

void MirrorWidget::setSelected(bool on)
{
    selected = on;
    setMouseTracking(on);
    redraw();
}

void MirrorWidget::setEditable(bool on)
{
    if (editable == on)
        return;
    editable = on;
    redraw();
}

void MirrorWidget::setSwapMode(bool on)
{
    swapMode = on;
}

QPoint MirrorWidget::toWallPixels(const QPoint &globalPos) const
{
    if (!wall)
        return globalPos;
    return globalPos - wall->mapToGlobal(QPoint(0, 0));
}

void MirrorWidget::redraw()
{
    pictureValid = false;
    update();
}

void MirrorWidget::paintEvent(QPaintEvent *event)
{
    // The window is drawn once into its picture and copied from it until something it shows
    // changes: a wall repaints its windows far more often than their contents change.
    const qreal dpr = devicePixelRatioF();
    const QSize pixels = size() * dpr;
    // A window the matrix places partly off its wall, or larger than it, is drawn directly:
    // a picture of its whole extent could take gigabytes for a few visible pixels.
    const QWidget *host = parentWidget();
    if ((host && !host->rect().contains(geometry()))
        || qint64(pixels.width()) * pixels.height() > MaxPicturePixels) {
        picture = QPixmap();
        pictureValid = false;
        QPainter painter(this);
        painter.setClipRegion(event->region());
        paintPicture(painter);
        return;
    }
    if (!pictureValid || picture.size() != pixels || picture.devicePixelRatio() != dpr) {
        if (picture.size() != pixels)
            picture = QPixmap(pixels);
        picture.setDevicePixelRatio(dpr);
        QPainter pen(&picture);
        paintPicture(pen);
        pictureValid = true;
    }
    QPainter painter(this);
    for (const QRect &r : event->region())
        painter.drawPixmap(r, picture, QRectF(QRectF(r).topLeft() * dpr, QSizeF(r.size()) * dpr));
}

void MirrorWidget::paintPicture(QPainter &painter)
{
    const int w = width();
    const int h = height();
    const QRect area(0, 0, w, h);
    const int right = w - 1;
    const int bottom = h - 1;

    // A window with sources shows video (dark); an empty one is grey and hatched.
    if (onAir.hasSources()) {
        painter.fillRect(area, selected ? QColor(20, 20, 20) : QColor(10, 10, 10));
    } else {
        painter.fillRect(area, selected ? QColor(52, 58, 64) : QColor(40, 45, 50));
        painter.fillRect(area, QBrush(QColor(255, 255, 255, 18), Qt::BDiagPattern));
    }

    // The window's number, shown 1-based.
    QFont font;
    if (editable) {
        // Faint behind the channel names, plain on an empty window.
        painter.setPen(QColor(255, 255, 255, onAir.hasSources() ? 70 : 110));
        font.setFamily(QStringLiteral("SimSun"));
        font.setWeight(75);
        font.setItalic(true);
    } else {
        painter.setPen(QPen(QColor(255, 255, 255), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        font.setFamily(QStringLiteral("Arial"));
        font.setWeight(QFont::Normal);
        font.setItalic(false);
    }
    // A window may reach far beyond the wall; the number is rendered whole into a pixmap, so
    // its size is held to what any screen shows.
    font.setPointSize(qBound(1, (2 * qMin(w, h)) / 5, 512));
    // Counted in 64 bits: a matrix may number a window up to the largest int.
    const QPixmap glyph = numberGlyph(QString::number(qint64(index) + 1), font,
                                      painter.pen().color(), devicePixelRatioF());
    const QSizeF glyphSize = QSizeF(glyph.size()) / glyph.devicePixelRatio();
    painter.drawPixmap(QPointF((w - glyphSize.width()) / 2, (h - glyphSize.height()) / 2), glyph);

    if (selected) {
        painter.setPen(QPen(QColor(72, 152, 179), 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        painter.drawLine(1, 1, right - 1, 1);
        painter.drawLine(right - 1, bottom - 1, 1, bottom - 1);
        painter.drawLine(1, bottom - 1, 1, 1);
        painter.drawLine(right - 1, 1, right - 1, bottom - 1);
    } else {
        // One-pixel lines, filled as rectangles: the same pixels as drawLine() with a 1-pixel
        // pen, without stroking them pixel by pixel (a wall of 256 windows repaints about
        // ten times faster).
        const QColor border(161, 173, 173);
        painter.fillRect(0, 0, w, 1, border);
        painter.fillRect(right, 0, 1, h, border);
        painter.fillRect(0, bottom, w, 1, border);
        painter.fillRect(0, 0, 1, h, border);
    }

    // Pane grid of a split window; a zoomed pane fills the whole window, as on the matrix.
    if (editable && zoomedPane() == 0) {
        const int n = splitCount > 0 ? static_cast<int>(std::sqrt(double(splitCount))) : 0;
        if (n > 1) {
            const int dy = h / n;
            const int dx = w / n;
            // Lines from (1, y) to (w - 1, y) and from (x, 1) to (x, bottom - 1), filled.
            const QColor grid(200, 230, 245);
            for (int k = 1; k < n; ++k) {
                painter.fillRect(1, k * dy, w - 1, 1, grid);
                painter.fillRect(k * dx, 1, 1, bottom - 1, grid);
            }
        }
    }
    paintOnAir(painter);
    if (dropPane >= 0) {
        // The pane that takes the cameras being dragged over the window.
        const QRect target = paneRect(dropPane).adjusted(1, 1, -1, -1);
        painter.fillRect(target, QColor(72, 152, 179, 90));
        painter.setPen(QPen(QColor(72, 152, 179), 2));
        painter.drawRect(target.adjusted(1, 1, -1, -1));
    }
}

const MirrorWidget::OnAirLabels &MirrorWidget::onAirLabels()
{
    if (!labels)
        labels = std::make_unique<OnAirLabels>();
    OnAirLabels &l = *labels;
    const QStringList names = shownPaneNames();
    const QString badge = badgeText();
    if (l.size == size() && l.split == splitCount && l.zoomed == zoomedPane() && l.names == names
        && l.badge == badge)
        return l;
    l.size = size();
    l.split = splitCount;
    l.zoomed = zoomedPane();
    l.names = names;
    l.badge = badge;
    l.bands.clear();
    l.texts.clear();
    const QRect first = paneRect(0);
    l.font = QFont();
    l.font.setPixelSize(qBound(9, qMin(first.height() / 6, first.width() / 8), 14));
    const QFontMetrics metrics(l.font);
    const int strip = metrics.height() + 2;
    for (int pane = 0; pane < names.size(); ++pane) {
        const QRect r = paneRect(pane).adjusted(2, 2, -2, -2);
        if (names.at(pane).isEmpty() || r.width() < 8 || r.height() < strip)
            continue;
        const QRect band(r.left(), r.bottom() - strip + 1, r.width(), strip);
        l.bands.append(band);
        l.texts.append(preparedLabel(names.at(pane), l.font, band.width() - 6));
    }
    l.badgeBox = QRect();
    if (!badge.isEmpty()) {
        const int maxWidth = qMax(0, width() - 8);
        l.badgeLabel = preparedLabel(badge, l.font, maxWidth - 8);
        const int boxWidth = qMin(maxWidth, int(std::ceil(l.badgeLabel.size().width())) + 8);
        l.badgeBox = QRect(width() - 4 - boxWidth, 4, boxWidth, strip);
    }
    return l;
}

void MirrorWidget::paintOnAir(QPainter &painter)
{
    const OnAirLabels &l = onAirLabels();
    painter.setFont(l.font);
    painter.setPen(QColor(235, 240, 245));
    for (int i = 0; i < l.bands.size(); ++i) {
        const QRect &band = l.bands.at(i);
        painter.fillRect(band, QColor(0, 0, 0, 160));
        const QSizeF text = l.texts.at(i).size();
        painter.drawStaticText(
                QPointF(band.left() + 3, band.top() + (band.height() - text.height()) / 2),
                l.texts.at(i));
    }
    if (l.badgeBox.isNull())
        return;
    const bool running = turnState == X86TurnState::Running;
    painter.fillRect(l.badgeBox, running ? QColor(40, 130, 70, 220) : QColor(180, 120, 30, 220));
    painter.setPen(Qt::white);
    const QSizeF text = l.badgeLabel.size();
    painter.drawStaticText(QPointF(l.badgeBox.left() + (l.badgeBox.width() - text.width()) / 2,
                                   l.badgeBox.top() + (l.badgeBox.height() - text.height()) / 2),
                           l.badgeLabel);
}

void MirrorWidget::updateHoverZone(const QPoint &globalPos)
{
    const QPoint tl = mapToGlobal(QPoint(0, 0));
    const QPoint br = mapToGlobal(rect().bottomRight());
    const int x = globalPos.x();
    const int y = globalPos.y();
    const bool nearLeft = tl.x() <= x && x <= tl.x() + EdgeMargin;
    const bool nearRight = br.x() - EdgeMargin <= x && x <= br.x();
    const bool nearTop = tl.y() <= y && y <= tl.y() + EdgeMargin;
    const bool nearBottom = br.y() - EdgeMargin <= y && y <= br.y();

    if (nearLeft && nearTop) {
        dragZone = ZoneTopLeft;
        setCursor(Qt::SizeFDiagCursor);
    } else if (nearRight && nearBottom) {
        dragZone = ZoneBottomRight;
        setCursor(Qt::SizeFDiagCursor);
    } else if (nearLeft && nearBottom) {
        dragZone = ZoneBottomLeft;
        setCursor(Qt::SizeBDiagCursor);
    } else if (nearRight && nearTop) {
        dragZone = ZoneTopRight;
        setCursor(Qt::SizeBDiagCursor);
    } else if (nearLeft) {
        dragZone = ZoneLeft;
        setCursor(Qt::SizeHorCursor);
    } else if (nearRight) {
        dragZone = ZoneRight;
        setCursor(Qt::SizeHorCursor);
    } else if (nearTop) {
        dragZone = ZoneTop;
        setCursor(Qt::SizeVerCursor);
    } else if (nearBottom) {
        dragZone = ZoneBottom;
        setCursor(Qt::SizeVerCursor);
    } else {
        dragZone = ZoneInside;
        setCursor(Qt::ArrowCursor);
    }
}

void MirrorWidget::mousePressEvent(QMouseEvent *event)
{
    selected = true;
    setMouseTracking(true);
    if (event->button() == Qt::LeftButton) {
        pressed = true;
        if (dragZone == ZoneInside)
            pressPos = toWallPixels(event->globalPos());
        moveOffset = QPoint(0, 0);
    }
    redraw();
    if (!swapMode)
        port()->requestLayout();
    setCursor(Qt::ArrowCursor);
    emit sigMousePress();
}

void MirrorWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (swapMode) {
        setCursor(Qt::SizeAllCursor);
        return;
    }
    if (!editable || !selected)
        return;
    if (event->buttons() == Qt::NoButton) {
        updateHoverZone(event->globalPos());
        return;
    }
    if (!(event->buttons() & Qt::LeftButton) || !wall)
        return;

    const QPoint p = toWallPixels(event->globalPos());
    if (p.x() < 0 || p.x() > wall->width() || p.y() < 0 || p.y() > wall->height())
        return;

    if (dragZone == ZoneInside) {
        // Only the place changes: moving the window repaints it from its picture.
        moveOffset = p - pressPos;
        pressPos = p;
        wall->placeMirrorMoving(this);
    } else {
        resizeTo(p);
    }
}

void MirrorWidget::resizeTo(const QPoint &p)
{
    // Nothing can be written back while the wall has no extent in pixels or units.
    if (!wall || !wall->canMap())
        return;
    const RECT wallRect = wall->getWallRect();
    const QRect g = geometry();
    const int x = toUnits(p.x(), xScale, wallRect.left);
    const int xInner = toUnits(p.x() - 1, xScale, wallRect.left);
    const int y = toUnits(p.y(), yScale, wallRect.top);
    const int yInner = toUnits(p.y() - 1, yScale, wallRect.top);

    RECT r = mirrorRect;
    switch (dragZone) {
    case ZoneTop:
        if (g.height() >= minimumHeight())
            r.top = y;
        break;
    case ZoneBottom:
        if (g.height() >= minimumHeight())
            r.bottom = y;
        break;
    case ZoneLeft:
        if (g.width() >= minimumWidth())
            r.left = x;
        break;
    case ZoneRight:
        if (g.width() >= minimumWidth())
            r.right = x;
        break;
    case ZoneTopLeft:
        r.left = x;
        r.top = y;
        break;
    case ZoneBottomLeft:
        r.left = x;
        r.bottom = yInner;
        break;
    case ZoneBottomRight:
        r.right = xInner;
        r.bottom = yInner;
        break;
    case ZoneTopRight:
        r.right = xInner;
        r.top = y;
        break;
    default:
        return;
    }
    // An edge dragged onto or past the opposite one would turn the window inside out.
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    mirrorRect = r;
    redraw();
    wall->placeMirror(this);
}

void MirrorWidget::snapToHome()
{
    // Every edge closer to its monitor's edge than SnapDistance, inside or outside, lands on
    // it: a small nudge never leaves a window a few units off its screen.
    const auto snap = [](int32_t &value, int32_t home) {
        if (qAbs(qint64(value) - qint64(home)) < SnapDistance)
            value = home;
    };
    snap(mirrorRect.left, homeRect.left);
    snap(mirrorRect.top, homeRect.top);
    snap(mirrorRect.right, homeRect.right);
    snap(mirrorRect.bottom, homeRect.bottom);
}

void MirrorWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        pressed = false;
        if (dragZone != ZoneInside) {
            if (mouseGrabber() == this)
                releaseMouse();
            setCursor(Qt::ArrowCursor);
        }
        moveOffset = QPoint(0, 0);
        if (!swapMode) {
            snapToHome();
            if (wall)
                wall->announceChange(X86WallHistory::Place, {index});
            port()->setMirrorRect(index, mirrorRect);
            if (wall)
                wall->announceSent();
        }
    }
    update();
    if (swapMode) {
        dropGlobalPos = event->globalPos();
        emit sigMouseRelease();
    } else {
        port()->requestLayout();
    }
}

void MirrorWidget::commitPlacement()
{
    keyAdjusting = false;
    moveOffset = QPoint(0, 0);
    snapToHome();
    if (wall)
        wall->announceChange(X86WallHistory::Place, {index});
    port()->setMirrorRect(index, mirrorRect);
    if (wall) {
        wall->announceSent();
        wall->placeMirror(this);
    }
    update();
    port()->requestLayout();
}

void MirrorWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint pos = event->pos();
    int x = toUnits(pos.x(), xScale);
    int y = toUnits(pos.y(), yScale);
    if (zoomedPane() > 0) {
        // The zoomed pane fills the window: a double-click anywhere on it shows every pane
        // again, so the matrix is pointed at the middle of that pane.
        const int side = static_cast<int>(std::lround(std::sqrt(double(splitCount))));
        const qint64 w = qint64(mirrorRect.right) - mirrorRect.left;
        const qint64 h = qint64(mirrorRect.bottom) - mirrorRect.top;
        const int pane = zoomedPane() - 1;
        if (side > 1 && w > 0 && h > 0) {
            x = static_cast<int>((2 * (pane % side) + 1) * w / (2 * side));
            y = static_cast<int>((2 * (pane / side) + 1) * h / (2 * side));
        }
    }
    port()->zoomMirrorAt(index, x, y);
}

void MirrorWidget::leaveEvent(QEvent *event)
{
    dragZone = ZoneInside;
    setCursor(Qt::ArrowCursor);
    QWidget::leaveEvent(event);
}

void MirrorWidget::contextMenuEvent(QContextMenuEvent *event)
{
    emit sigContextMenu(event->globalPos());
    event->accept();
}

void MirrorWidget::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    pictureValid = false;
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
