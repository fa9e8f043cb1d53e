#include "MirrorWidget.h"
#include "ui_MirrorWidget.h"

#include "DigitalMatrixInteractionPort.h"
#include "MatrixManageWidget.h"
#include "ModuleLogging.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>

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

} // namespace

MirrorWidget::MirrorWidget(MatrixManageWidget *parentWall)
    : QWidget(parentWall)
    , ui(new Ui::MirrorWidget)
    , wall(parentWall)
{
    ui->setupUi(this);
}

MirrorWidget::~MirrorWidget() = default;

void MirrorWidget::setMirrorInfo(const RECT &home, const RECT &current, int mirrorIndex, int splits,
                                 int mirrorLayer, int fourth, int turn)
{
    homeRect = home;
    mirrorRect = current;
    index = mirrorIndex;
    splitCount = splits;
    layer = mirrorLayer;
    param4 = fourth;
    turnState = X86TurnState(turn);
    update();
}

void MirrorWidget::setScale(double horizontal, double vertical)
{
    xScale = horizontal;
    yScale = vertical;
}

void MirrorWidget::setIndex(int value)
{
    index = value;
    update();
}

void MirrorWidget::setTurnState(X86TurnState value)
{
    turnState = value;
    update();
}

void MirrorWidget::setSplitCount(int value)
{
    splitCount = value;
    update();
}

void MirrorWidget::setSelected(bool on)
{
    selected = on;
    setMouseTracking(on);
    update();
}

void MirrorWidget::setEditable(bool on)
{
    if (editable == on)
        return;
    editable = on;
    update();
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

void MirrorWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int w = width();
    const int h = height();
    const QRect area(0, 0, w, h);
    const int right = w - 1;
    const int bottom = h - 1;

    painter.fillRect(area, selected ? QColor(20, 20, 20) : QColor(10, 10, 10));

    // The window's number, shown 1-based.
    QFont font;
    if (editable) {
        painter.setPen(QColor(255, 255, 255, 45));
        font.setFamily(QStringLiteral("SimSun"));
        font.setWeight(75);
        font.setItalic(true);
    } else {
        painter.setPen(QPen(QColor(255, 255, 255), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        font.setFamily(QStringLiteral("Arial"));
        font.setWeight(QFont::Normal);
        font.setItalic(false);
    }
    font.setPointSize(qMax(1, (2 * qMin(w, h)) / 5));
    painter.setFont(font);
    // Counted in 64 bits: a matrix may number a window up to the largest int.
    painter.drawText(area, Qt::AlignCenter, QString::number(qint64(index) + 1));

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
    update();
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
        moveOffset = p - pressPos;
        pressPos = p;
        update();
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
    update();
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
            port()->setMirrorRect(index, mirrorRect);
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
    port()->setMirrorRect(index, mirrorRect);
    if (wall)
        wall->placeMirror(this);
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

} // namespace LUMO_DIGITALMATRIX_MODULE
