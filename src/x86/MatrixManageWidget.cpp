#include "MatrixManageWidget.h"
#include "ui_MatrixManageWidget.h"

#include "DigitalMatrixInteractionPort.h"
#include "MirrorWidget.h"
#include "ModuleLogging.h"
#include "X86WallHistory.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {

qint64 rectWidth(const RECT &r)
{
    return qint64(r.right) - r.left;
}

qint64 rectHeight(const RECT &r)
{
    return qint64(r.bottom) - r.top;
}

// Truncates toward zero like a cast; a value beyond int (a huge wall rectangle on a small
// wall) is held at the nearest limit instead of being undefined.
int truncated(double value)
{
    return static_cast<int>(std::clamp(std::trunc(value), double(std::numeric_limits<int>::min()),
                                       double(std::numeric_limits<int>::max())));
}

// A pixel position or size on the wall: truncated, and a window far off the wall is held
// within the widget limits, so that Qt's geometry arithmetic never overflows.
int pixels(double value)
{
    return std::clamp(truncated(value), -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

} // namespace

MatrixManageWidget::MatrixManageWidget(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::MatrixManageWidget)
{
    ui->setupUi(this);
    // The wall takes the keyboard for its windows, which take none themselves.
    setFocusPolicy(Qt::StrongFocus);
}

MatrixManageWidget::~MatrixManageWidget() = default;

void MatrixManageWidget::setEmptyText(const QString &text)
{
    if (placeholder == text)
        return;
    placeholder = text;
    update();
}

QList<MirrorWidget *> MatrixManageWidget::mirrorsByNumber() const
{
    QList<MirrorWidget *> ordered = mirrors;
    std::stable_sort(ordered.begin(), ordered.end(), [](MirrorWidget *a, MirrorWidget *b) {
        return a->getIndex() < b->getIndex();
    });
    return ordered;
}

void MatrixManageWidget::selectMirror(MirrorWidget *mirror)
{
    if (!mirror || !mirrors.contains(mirror))
        return;
    if (currMirror != mirror)
        commitKeyAdjusting();
    slotMirrorPress(mirror);
}

void MatrixManageWidget::setLayoutInfo(RECT rect, int total, int p1, int p2, int p3, int p4)
{
    wallRect = rect;
    mirrorTotal = total;
    layoutParam1 = p1;
    layoutParam2 = p2;
    layoutParam3 = p3;
    layoutParam4 = p4;
    reportedIndexes.clear();
    layoutOpen = true;
}

void MatrixManageWidget::endLayout()
{
    if (!layoutOpen)
        return;
    layoutOpen = false;
    QList<MirrorWidget *> gone;
    for (MirrorWidget *mirror : qAsConst(mirrors)) {
        if (!reportedIndexes.contains(mirror->getIndex()))
            gone.append(mirror);
    }
    if (gone.isEmpty())
        return;
    // The matrix has fewer windows now (another operator arranged fewer screens).
    for (MirrorWidget *mirror : qAsConst(gone))
        mirrors.removeOne(mirror);
    const bool currentGone = gone.contains(currMirror);
    if (currentGone)
        currMirror = nullptr;
    for (MirrorWidget *mirror : qAsConst(gone))
        keepForReuse(mirror);
    if (currentGone) {
        currMirror = mirrors.isEmpty() ? nullptr : mirrors.first();
        if (currMirror) {
            currMirror->setSelected(true);
            emit sigCurrMontroIndex(currMirror->getIndex(), int(currMirror->getTurnState()));
        }
    }
    update();
}

int MatrixManageWidget::getLayoutParam(int n) const
{
    switch (n) {
    case 1:
        return layoutParam1;
    case 2:
        return layoutParam2;
    case 3:
        return layoutParam3;
    case 4:
        return layoutParam4;
    default:
        return 0;
    }
}

MirrorWidget *MatrixManageWidget::mirrorByIndex(int index) const
{
    for (MirrorWidget *mirror : mirrors) {
        if (mirror->getIndex() == index)
            return mirror;
    }
    return nullptr;
}

bool MatrixManageWidget::canMap() const
{
    return width() > 0 && height() > 0 && rectWidth(wallRect) > 0 && rectHeight(wallRect) > 0;
}

void MatrixManageWidget::updateScale(MirrorWidget *mirror) const
{
    // Without an extent the old factors stay: there is nothing to convert.
    if (!canMap())
        return;
    mirror->setScale(double(rectWidth(wallRect)) / width(),
                     double(rectHeight(wallRect)) / height());
}

void MatrixManageWidget::placeMirror(MirrorWidget *mirror)
{
    if (!mirror || (layoutParam3 == 0 && layoutParam4 == 0) || !canMap())
        return;
    const double sx = double(width()) / rectWidth(wallRect);
    const double sy = double(height()) / rectHeight(wallRect);
    const RECT r = mirror->getMirrorRect();
    const int x = pixels((qint64(r.left) - wallRect.left) * sx);
    const int y = pixels((qint64(r.top) - wallRect.top) * sy);
    const int w = pixels((qint64(r.right) - r.left) * sx);
    const int h = pixels((qint64(r.bottom) - r.top) * sy);
    mirror->setGeometry(x, y, w, h);
    mirror->show();
}

void MatrixManageWidget::placeMirrorMoving(MirrorWidget *mirror)
{
    if (!mirror)
        return;
    QRect g = mirror->geometry().translated(mirror->getMoveOffset());
    int x = qMax(g.x(), 0);
    if (x > width() - g.width())
        x = width() - g.width();
    int y = qMax(g.y(), 0);
    if (y > height() - g.height())
        y = height() - g.height();
    g.moveTo(x, y);
    mirror->setGeometry(g);
    mirror->resetMoveOffset();

    if (!canMap())
        return;
    const QRect placed = mirror->geometry();
    const double kx = double(rectWidth(wallRect)) / width();
    const double ky = double(rectHeight(wallRect)) / height();
    // A move changes where the window is, never its size: the size stays in matrix units
    // as the matrix holds it, and the window is kept inside the wall in units as well.
    const RECT old = mirror->getMirrorRect();
    const qint64 w = qMin(rectWidth(old), rectWidth(wallRect));
    const qint64 h = qMin(rectHeight(old), rectHeight(wallRect));
    qint64 left = wallRect.left + qint64(std::trunc(placed.left() * kx));
    qint64 top = wallRect.top + qint64(std::trunc(placed.top() * ky));
    left = qBound(qint64(wallRect.left), left, qint64(wallRect.right) - w);
    top = qBound(qint64(wallRect.top), top, qint64(wallRect.bottom) - h);
    RECT r = old;
    r.left = truncated(double(left));
    r.top = truncated(double(top));
    r.right = truncated(double(left + w));
    r.bottom = truncated(double(top + h));
    mirror->setMirrorRect(r);
}

void MatrixManageWidget::setMirror(RECT homeRect, RECT mirrorRect, int index, int splitCount,
                                   int layer, int param4, int turnState)
{
    reportedIndexes.insert(index);
    reported.insert(index, mirrorRect);
    if (MirrorWidget *existing = mirrorByIndex(index)) {
        // A window held with the mouse keeps the rectangle being moved or resized: it is
        // sent on release, and a layout arriving meanwhile must not undo it.
        const RECT current = existing->isPressed() ? existing->getMirrorRect() : mirrorRect;
        existing->setMirrorInfo(homeRect, current, index, splitCount, layer, param4, turnState);
        existing->setOnAir(onAir.value(index));
        updateScale(existing);
        // The wall shows where the matrix holds the window (another operator may have
        // moved it, or the matrix refused a move).
        if (!existing->isPressed())
            placeMirror(existing);
        return;
    }

    ++createdCount;
    MirrorWidget *mirror = spare.isEmpty() ? nullptr : spare.takeLast();
    if (mirror) {
        // A window of an earlier layout, as new: on top of the others, as a new one would be.
        mirror->raise();
    } else {
        mirror = new MirrorWidget(this);
        connect(mirror, &MirrorWidget::sigMousePress, this,
                [this, mirror] { slotMirrorPress(mirror); });
        connect(mirror, &MirrorWidget::sigChannelsDropped, this,
                [this, mirror](int pane, const QStringList &keys) {
                    emit sigChannelsDropped(mirror->getIndex(), pane, keys);
                });
        connect(mirror, &MirrorWidget::sigMouseRelease, this,
                [this, mirror] { slotMirrorRelease(mirror); });
        connect(mirror, &MirrorWidget::sigContextMenu, this,
                [this, mirror](const QPoint &globalPos) {
                    emit sigMirrorContextMenu(mirror->getIndex(), globalPos);
                });
    }
    // Shown only once it has a place on the wall.
    mirror->hide();
    mirror->setMirrorInfo(homeRect, mirrorRect, index, splitCount, layer, param4, turnState);
    mirror->setOnAir(onAir.value(index));
    updateScale(mirror);
    mirrors.append(mirror);
    if (createdCount == 1) {
        mirror->setSelected(true);
        currMirror = mirror;
        emit sigCurrMontroIndex(index, turnState);
    }
    mirror->setEditable(editable);
    placeMirror(mirror);
    mirror->setDragZone(MirrorWidget::ZoneInside);
    qCDebug(lcModuleX86) << "setMirror";
}

void MatrixManageWidget::keepForReuse(MirrorWidget *mirror)
{
    // Creating a window costs more than placing it: the next layout takes it again.
    mirror->hide();
    mirror->resetForReuse();
    spare.append(mirror);
}

void MatrixManageWidget::clearData()
{
    wallRect = RECT {};
    layoutParam1 = 0;
    layoutParam2 = 0;
    layoutParam3 = 0;
    layoutParam4 = 0;
    mirrorTotal = 0;
    reportedIndexes.clear();
    layoutOpen = false;
    onAir.clear();
    reported.clear();
    const QList<MirrorWidget *> old = mirrors;
    mirrors.clear();
    currMirror = nullptr;
    for (MirrorWidget *mirror : old)
        keepForReuse(mirror);
    createdCount = 0;
    qCDebug(lcModuleX86) << "clearData";
    update();
}

void MatrixManageWidget::resetLayout()
{
    QList<int> moved;
    for (const MirrorWidget *mirror : qAsConst(mirrors))
        moved.append(mirror->getIndex());
    announceChange(X86WallHistory::Place, moved);
    for (MirrorWidget *mirror : qAsConst(mirrors)) {
        const RECT home = mirror->getHomeRect();
        mirror->setMirrorRect(home);
        mirror->setDragZone(MirrorWidget::ZoneInside);
        DigitalMatrixInteractionPort::instance()->setMirrorRect(mirror->getIndex(), home);
        placeMirror(mirror);
    }
    announceSent();
    qCDebug(lcModuleX86) << "resetLayout";
    update();
}

void MatrixManageWidget::showReportedRects()
{
    for (MirrorWidget *mirror : qAsConst(mirrors)) {
        const auto found = reported.constFind(mirror->getIndex());
        if (found == reported.constEnd() || mirror->isPressed())
            continue;
        mirror->setMirrorRect(found.value());
        placeMirror(mirror);
    }
    update();
}

void MatrixManageWidget::setWindowSources(int index, const QVector<_ST_ChnInfo> &records,
                                          int interval)
{
    X86WindowOnAir &window = onAir[index];
    window.setSources(records, interval);
    if (MirrorWidget *mirror = mirrorByIndex(index))
        mirror->setOnAir(window);
}

void MatrixManageWidget::setWindowTurnStep(int index, X86TurnState state, int page, int pages,
                                           int interval)
{
    X86WindowOnAir &window = onAir[index];
    window.setTurnStep(state, page, pages, interval);
    if (MirrorWidget *mirror = mirrorByIndex(index)) {
        mirror->setOnAir(window);
        mirror->setTurnState(state);
    }
}

void MatrixManageWidget::setMirrorState(int index, X86TurnState turnState, int splitCount)
{
    MirrorWidget *mirror = mirrorByIndex(index);
    if (!mirror)
        return;
    mirror->setTurnState(turnState);
    if (splitCount > 0)
        mirror->setSplitCount(splitCount);
    qCDebug(lcModuleX86) << "setMirrorState";
    if (turnState == X86TurnState::Running || turnState == X86TurnState::Paused)
        mirror->raise();
    mirror->update();
}

void MatrixManageWidget::setEditable(bool on)
{
    editable = on;
    for (MirrorWidget *mirror : qAsConst(mirrors))
        mirror->setEditable(on);
}

void MatrixManageWidget::setSwapMode(bool on)
{
    for (MirrorWidget *mirror : qAsConst(mirrors))
        mirror->setSwapMode(on);
}

void MatrixManageWidget::raiseMirrorsByLayer()
{
    for (MirrorWidget *mirror : qAsConst(mirrors)) {
        if (mirror->getLayer() == 2)
            mirror->raise();
    }
    for (MirrorWidget *mirror : qAsConst(mirrors)) {
        if (mirror->getLayer() == 1)
            mirror->raise();
    }
    // A raised window repaints itself; the rest of the wall did not change.
}

void MatrixManageWidget::clearMirrorStates()
{
    for (MirrorWidget *mirror : qAsConst(mirrors))
        mirror->setTurnState(X86TurnState::NoTurn);
}

void MatrixManageWidget::slotMirrorPress(MirrorWidget *pressedMirror)
{
    if (currMirror != pressedMirror)
        commitKeyAdjusting();
    // A click on a window gives the wall the keyboard.
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    for (MirrorWidget *mirror : qAsConst(mirrors))
        mirror->setSelected(false);
    currMirror = pressedMirror;
    currMirror->setSelected(true);
    update();
    emit sigCurrMontroIndex(currMirror->getIndex(), int(currMirror->getTurnState()));
}

void MatrixManageWidget::slotMirrorRelease(MirrorWidget *dropped)
{
    if (!currMirror)
        return;
    const QPoint point = mapFromGlobal(dropped->getDropGlobalPos());
    MirrorWidget *target = nullptr;
    for (MirrorWidget *mirror : qAsConst(mirrors)) {
        if (mirror->geometry().contains(point)) {
            target = mirror;
            break;
        }
    }
    if (!target)
        return;

    qCDebug(lcModuleX86) << "destMirror-1-:" << target->getIndex();
    qCDebug(lcModuleX86) << "m_currMirror-1-:" << currMirror->getIndex();
    const int targetIndex = target->getIndex();
    target->setIndex(currMirror->getIndex());
    currMirror->setIndex(targetIndex);
    for (MirrorWidget *mirror : qAsConst(mirrors))
        mirror->setSelected(false);
    announceChange(X86WallHistory::Numbers, {targetIndex, target->getIndex()});
    DigitalMatrixInteractionPort::instance()->exchangeMirrors(target->getIndex(),
                                                              currMirror->getIndex());
    announceSent();
    target->setSelected(true);
    target->update();
    currMirror->update();
}

void MatrixManageWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const bool anyShown = std::any_of(mirrors.cbegin(), mirrors.cend(),
                                      [](const MirrorWidget *m) { return m->isVisible(); });
    if (!anyShown && !placeholder.isEmpty()) {
        painter.setPen(QColor(190, 200, 210));
        QFont font = painter.font();
        font.setPointSize(qMax(font.pointSize(), 12));
        painter.setFont(font);
        painter.drawText(rect().adjusted(24, 24, -24, -24), Qt::AlignCenter | Qt::TextWordWrap,
                         placeholder);
    }
    if (hasFocus()) {
        painter.setPen(QPen(QColor(47, 128, 237), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

void MatrixManageWidget::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void MatrixManageWidget::focusOutEvent(QFocusEvent *event)
{
    commitKeyAdjusting();
    QWidget::focusOutEvent(event);
    update();
}

bool MatrixManageWidget::focusNextPrevChild(bool next)
{
    // Tab walks the windows in the order of their numbers, then leaves the wall.
    const QList<MirrorWidget *> ordered = mirrorsByNumber();
    if (!ordered.isEmpty()) {
        const int at = ordered.indexOf(currMirror);
        const int to = at < 0 ? (next ? 0 : ordered.size() - 1) : at + (next ? 1 : -1);
        if (to >= 0 && to < ordered.size()) {
            selectMirror(ordered.at(to));
            return true;
        }
    }
    return QWidget::focusNextPrevChild(next);
}

void MatrixManageWidget::stepCurrent(int dx, int dy, bool resize)
{
    MirrorWidget *mirror = currMirror;
    if (!mirror || !canMap())
        return;
    mirror->setKeyAdjusting(true);
    if (!resize) {
        mirror->setMoveOffset(QPoint(dx, dy) * KeyStepPixels);
        placeMirrorMoving(mirror);
        return;
    }
    // The right or bottom edge moves by a step in matrix units; the window stays on the wall
    // and never shrinks below one step.
    const qint64 stepX = qMax<qint64>(1, qint64(std::trunc(KeyStepPixels * mirror->getXScale())));
    const qint64 stepY = qMax<qint64>(1, qint64(std::trunc(KeyStepPixels * mirror->getYScale())));
    RECT r = mirror->getMirrorRect();
    const qint64 right = qBound(qint64(r.left) + stepX, qint64(r.right) + dx * stepX,
                                qMax(qint64(wallRect.right), qint64(r.left) + stepX));
    const qint64 bottom = qBound(qint64(r.top) + stepY, qint64(r.bottom) + dy * stepY,
                                 qMax(qint64(wallRect.bottom), qint64(r.top) + stepY));
    r.right = truncated(double(right));
    r.bottom = truncated(double(bottom));
    mirror->setMirrorRect(r);
    placeMirror(mirror);
    mirror->update();
}

void MatrixManageWidget::commitKeyAdjusting()
{
    if (currMirror && currMirror->isKeyAdjusting())
        currMirror->commitPlacement();
}

void MatrixManageWidget::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (key >= Qt::Key_1 && key <= Qt::Key_9) {
        // The number a window shows is its index + 1.
        if (MirrorWidget *mirror = mirrorByIndex(key - Qt::Key_1))
            selectMirror(mirror);
        event->accept();
        return;
    }
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        // Moving and resizing only where the mouse may do them (not while numbers are being
        // arranged, not while the page waits for the matrix).
        if (editable && currMirror && currMirror->isEditable() && !currMirror->isSwapMode()) {
            const int dx = key == Qt::Key_Left ? -1 : key == Qt::Key_Right ? 1 : 0;
            const int dy = key == Qt::Key_Up ? -1 : key == Qt::Key_Down ? 1 : 0;
            stepCurrent(dx, dy, shift);
        }
        event->accept();
        return;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (currMirror && !event->isAutoRepeat())
            emit sigMirrorActivated(currMirror->getIndex());
        event->accept();
        return;
    case Qt::Key_Delete:
        if (currMirror && !event->isAutoRepeat())
            emit sigMirrorClearRequested(currMirror->getIndex());
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void MatrixManageWidget::keyReleaseEvent(QKeyEvent *event)
{
    const int key = event->key();
    const bool arrow =
            key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    if (!arrow) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    // A held key repeats: the matrix gets the rectangle once, when the key is let go.
    if (!event->isAutoRepeat())
        commitKeyAdjusting();
    event->accept();
}

void MatrixManageWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The rectangles in matrix units are the truth; the pixels follow the new size.
    for (MirrorWidget *mirror : qAsConst(mirrors)) {
        updateScale(mirror);
        if (!mirror->isPressed())
            placeMirror(mirror);
    }
}

void MatrixManageWidget::mouseReleaseEvent(QMouseEvent *event)
{
    for (MirrorWidget *mirror : qAsConst(mirrors)) {
        mirror->setSelected(false);
        mirror->setCursor(Qt::ArrowCursor);
    }
    QWidget::mouseReleaseEvent(event);
}

void MatrixManageWidget::mouseMoveEvent(QMouseEvent *event)
{
    for (MirrorWidget *mirror : qAsConst(mirrors)) {
        if (!mirror->isSelected())
            mirror->setCursor(Qt::ArrowCursor);
    }
    QWidget::mouseMoveEvent(event);
}

void MatrixManageWidget::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
