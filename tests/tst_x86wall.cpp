// The monitor wall of the X86 page, driven with real mouse events.
#include "MatrixManageWidget.h"
#include "MirrorWidget.h"

#include "FakeMatrixService.h"
#include "WallGeometry.h"

#include <QPainter>
#include <QSignalSpy>
#include <QWindow>
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>

using namespace LUMO_DIGITALMATRIX_MODULE;

Q_DECLARE_METATYPE(Qt::CursorShape)

namespace {

QList<int> sentRect(const FakeCall &call)
{
    QList<int> out;
    for (int i = 1; i < call.args.size(); ++i)
        out << call.args.at(i).toInt();
    return out;
}

} // namespace

class TestX86Wall : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void placesWindowsFromMatrixUnits_data();
    void placesWindowsFromMatrixUnits();
    void layoutWithoutScreenArrangementPlacesNothing();
    void emptyWallRectPlacesNothingAndWritesNothingBack();
    void zeroSizedWallPlacesNothing();
    void windowsFarOffTheWallStayWithinWidgetLimits();
    void writeBackBeyondIntIsHeldAtTheLimit();
    void windowWithTheLargestNumberPaints();
    void firstWindowAfterClearIsSelectedAndReported();
    void updatingAWindowPlacesItFromTheMatrix();
    void moveSendsRectangleWithWallOrigin_data();
    void moveSendsRectangleWithWallOrigin();
    void releaseSnapsNearTheMonitorEdge_data();
    void releaseSnapsNearTheMonitorEdge();
    void moveStopsAtTheWallEdge();
    void layoutDuringADragKeepsTheMovedRectangle();
    void hoverZonesSetZoneAndCursor_data();
    void hoverZonesSetZoneAndCursor();
    void resizeFromEveryEdgeAndCorner_data();
    void resizeFromEveryEdgeAndCorner();
    void resizeNeverTurnsTheRectangleInsideOut();
    void swapInConfigurationModeExchangesNumbers();
    void dropOnEmptyWallSendsNothing();
    void releaseOnBareWallDeselects();
    void resetPutsEveryWindowHome();
    void doubleClickZoomsAtThePointInUnits();
    void turnStateRaisesWindow_data();
    void turnStateRaisesWindow();
    void layersStackOneOverTwoOverOthers();
    void paintsGridBorderAndBackground_data();
    void paintsGridBorderAndBackground();
    void borderAndPaneLinesAreOnePixelLines_data();
    void borderAndPaneLinesAreOnePixelLines();
    void arrowKeysOnlySetThePendingStep();

private:
    // A shown wall of 800 x 450 pixels at (100, 100).
    void showWall();
    MirrorWidget *addMirror(const RECT &home, int index, int split = 1, int layer = 0,
                            int turn = 0);
    MirrorWidget *addMirror(const RECT &home, const RECT &current, int index, int split = 1,
                            int layer = 0, int turn = 0);
    QWindow *window() const { return wall->windowHandle(); }
    QPoint inWindow(QWidget *w, const QPoint &p) const { return w->mapTo(wall.get(), p); }
    void hover(QWidget *w, const QPoint &p) { QTest::mouseMove(window(), inWindow(w, p)); }
    void press(QWidget *w, const QPoint &p)
    {
        QTest::mousePress(window(), Qt::LeftButton, Qt::NoModifier, inWindow(w, p));
    }
    void release(QWidget *w, const QPoint &p)
    {
        QTest::mouseRelease(window(), Qt::LeftButton, Qt::NoModifier, inWindow(w, p));
    }
    // Press inside, move by the offset, release there (a release elsewhere than the last
    // move would move the window once more).
    void drag(MirrorWidget *m, const QPoint &from, const QPoint &offset)
    {
        const QPoint target = m->mapTo(wall.get(), from + offset);
        press(m, from);
        hover(wall.get(), target);
        release(wall.get(), target);
    }
    // Selects a window with a click and forgets the calls it made.
    void select(MirrorWidget *m)
    {
        const QPoint centre = m->rect().center();
        press(m, centre);
        release(m, centre);
        QVERIFY(m->isSelected());
        service->x86()->clear();
    }

    std::unique_ptr<FakeMatrixService> service;
    std::unique_ptr<MatrixManageWidget> wall;
};

void TestX86Wall::init()
{
    service = std::make_unique<FakeMatrixService>();
    service->x86()->clear();
    wall = std::make_unique<MatrixManageWidget>();
}

void TestX86Wall::cleanup()
{
    wall.reset();
    service.reset();
}

void TestX86Wall::showWall()
{
    wall->setGeometry(100, 100, 800, 450);
    wall->show();
    QVERIFY(QTest::qWaitForWindowExposed(wall.get()));
    QCOMPARE(wall->size(), QSize(800, 450));
}

MirrorWidget *TestX86Wall::addMirror(const RECT &home, int index, int split, int layer, int turn)
{
    return addMirror(home, home, index, split, layer, turn);
}

MirrorWidget *TestX86Wall::addMirror(const RECT &home, const RECT &current, int index, int split,
                                     int layer, int turn)
{
    wall->setMirror(home, current, index, split, layer, 0, turn);
    return wall->mirrorByIndex(index);
}

void TestX86Wall::placesWindowsFromMatrixUnits_data()
{
    QTest::addColumn<QList<int>>("wallRect");
    QTest::addColumn<QList<int>>("mirrorRect");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<double>("xScale");
    QTest::addColumn<double>("yScale");

    QTest::newRow("full hd wall, right upper quarter")
            << QList<int> {0, 0, 1920, 1080} << QList<int> {960, 0, 1920, 540}
            << QRect(400, 0, 400, 225) << 2.4 << 2.4;
    QTest::newRow("wall with its origin away from zero")
            << QList<int> {1000, 500, 2920, 1580} << QList<int> {1960, 1040, 2920, 1580}
            << QRect(400, 225, 400, 225) << 2.4 << 2.4;
    QTest::newRow("units equal to pixels")
            << QList<int> {0, 0, 800, 450} << QList<int> {10, 20, 110, 70} << QRect(10, 20, 100, 50)
            << 1.0 << 1.0;
}

void TestX86Wall::placesWindowsFromMatrixUnits()
{
    QFETCH(QList<int>, wallRect);
    QFETCH(QList<int>, mirrorRect);
    QFETCH(QRect, geometry);
    QFETCH(double, xScale);
    QFETCH(double, yScale);
    showWall();
    const RECT wr = rc(wallRect[0], wallRect[1], wallRect[2], wallRect[3]);
    const RECT mr = rc(mirrorRect[0], mirrorRect[1], mirrorRect[2], mirrorRect[3]);
    wall->setLayoutInfo(wr, 1, 0, 0, 1, 1);
    MirrorWidget *m = addMirror(mr, 0);
    QVERIFY(m);
    QCOMPARE(m->geometry(), geometry);
    QVERIFY(m->isVisible());
    QCOMPARE(m->getXScale(), xScale);
    QCOMPARE(m->getYScale(), yScale);
    QCOMPARE(m->getDragZone(), int(MirrorWidget::ZoneInside));
}

void TestX86Wall::layoutWithoutScreenArrangementPlacesNothing()
{
    showWall();
    wall->setLayoutInfo(rc(0, 0, 1920, 1080), 2, 0, 0, 0, 0);
    MirrorWidget *a = addMirror(rc(0, 0, 960, 540), 0);
    MirrorWidget *b = addMirror(rc(960, 0, 1920, 540), 1);
    QCOMPARE(wall->getMirrors().size(), 2);
    QVERIFY(a->isHidden());
    QVERIFY(b->isHidden());
}

void TestX86Wall::emptyWallRectPlacesNothingAndWritesNothingBack()
{
    showWall();
    wall->setLayoutInfo(rc(0, 0, 1600, 900), 1, 0, 0, 1, 1);
    MirrorWidget *m = addMirror(rc(0, 0, 800, 450), 0);
    QCOMPARE(m->geometry(), QRect(0, 0, 400, 225));

    // The matrix now reports a wall without width: the window keeps its place and its
    // rectangle, and nothing divides by zero.
    wall->setLayoutInfo(rc(500, 0, 500, 900), 1, 0, 0, 1, 1);
    QVERIFY(!wall->canMap());
    wall->setMirror(rc(0, 0, 800, 450), rc(0, 0, 800, 450), 0, 1, 0, 0, 0);
    QCOMPARE(m->geometry(), QRect(0, 0, 400, 225));
    QCOMPARE(m->getXScale(), 2.0);

    drag(m, QPoint(200, 100), QPoint(100, 50));
    QCOMPARE(m->geometry().topLeft(), QPoint(100, 50));
    QCOMPARE(rectList(m->getMirrorRect()), (QList<int> {0, 0, 800, 450}));
    QCOMPARE(sentRect(service->x86()->last("SetMirrorRect")), (QList<int> {0, 0, 800, 450}));

    // A new window on such a wall is not placed at all.
    MirrorWidget *other = addMirror(rc(800, 0, 1600, 450), 1);
    QVERIFY(other->isHidden());
}

void TestX86Wall::zeroSizedWallPlacesNothing()
{
    MatrixManageWidget flat;
    flat.setGeometry(0, 0, 0, 0);
    QCOMPARE(flat.width(), 0);
    flat.setLayoutInfo(rc(0, 0, 1920, 1080), 1, 0, 0, 1, 1);
    flat.setMirror(rc(0, 0, 960, 540), rc(0, 0, 960, 540), 0, 1, 0, 0, 0);
    MirrorWidget *m = flat.mirrorByIndex(0);
    QVERIFY(m);
    QVERIFY(m->isHidden());
    QCOMPARE(m->getXScale(), 1.0);

    // A pending step is applied in pixels only; the rectangle in units stays.
    QTest::keyClick(m, Qt::Key_Right);
    QCOMPARE(m->getMoveOffset(), QPoint(1, 0));
    flat.placeMirrorMoving(m);
    QCOMPARE(rectList(m->getMirrorRect()), (QList<int> {0, 0, 960, 540}));
}

void TestX86Wall::windowsFarOffTheWallStayWithinWidgetLimits()
{
    showWall();
    // Two units span the wall: a window two thousand million units wide is far beyond
    // anything Qt can place. It is held at the widget limits instead.
    wall->setLayoutInfo(rc(0, 0, 2, 2), 1, 0, 0, 1, 1);
    MirrorWidget *m = addMirror(rc(0, 0, 1, 1), rc(-2000000000, 0, 2000000000, 1), 0);
    QCOMPARE(m->geometry().x(), -QWIDGETSIZE_MAX);
    QCOMPARE(m->geometry().width(), QWIDGETSIZE_MAX);
    QCOMPARE(m->geometry().y(), 0);
    QCOMPARE(m->geometry().height(), 225);
}

void TestX86Wall::writeBackBeyondIntIsHeldAtTheLimit()
{
    // A wall four pixels high for the whole range of units: a window keeps its minimum
    // height of ten pixels, so it sticks out above the wall, further than int can count.
    MatrixManageWidget flat;
    flat.setGeometry(0, 0, 200, 4);
    const int bottom = std::numeric_limits<int>::max();
    const int top = std::numeric_limits<int>::min();
    flat.setLayoutInfo(rc(0, top, 1600, bottom), 1, 0, 0, 1, 1);
    flat.setMirror(rc(0, 0, 800, 100), rc(0, 0, 800, 100), 0, 1, 0, 0, 0);
    MirrorWidget *m = flat.mirrorByIndex(0);
    QVERIFY(m);
    flat.placeMirrorMoving(m);
    QCOMPARE(m->geometry().y(), 4 - m->minimumHeight());
    const RECT r = m->getMirrorRect();
    QCOMPARE(r.top, top);
    QVERIFY(r.bottom > r.top);
    QCOMPARE(r.left, 0);
}

void TestX86Wall::windowWithTheLargestNumberPaints()
{
    // Shown 1-based: the largest index a matrix can send is one past int (the sanitizer
    // build fails this test if the number overflows).
    showWall();
    wall->setLayoutInfo(rc(0, 0, 1600, 900), 1, 0, 0, 1, 1);
    MirrorWidget *m = addMirror(rc(0, 0, 800, 450), std::numeric_limits<int>::max());
    QVERIFY(m);
    const QImage painted = m->grab().toImage();
    QCOMPARE(painted.size(), m->size());
    QCOMPARE(m->getIndex(), std::numeric_limits<int>::max());
}

void TestX86Wall::firstWindowAfterClearIsSelectedAndReported()
{
    showWall();
    QSignalSpy spy(wall.get(), &MatrixManageWidget::sigCurrMontroIndex);
    wall->setLayoutInfo(rc(0, 0, 1600, 900), 3, 0, 0, 1, 1);
    MirrorWidget *a = addMirror(rc(0, 0, 800, 450), 4, 1, 0, 2);
    MirrorWidget *b = addMirror(rc(800, 0, 1600, 450), 5);
    MirrorWidget *c = addMirror(rc(0, 450, 800, 900), 6);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 4);
    QCOMPARE(spy.at(0).at(1).toInt(), 2);
    QCOMPARE(wall->getCurrMirror(), a);
    QVERIFY(a->isSelected());
    QVERIFY(a->hasMouseTracking());
    QVERIFY(!b->isSelected());
    QVERIFY(!c->isSelected());
    QVERIFY(!b->hasMouseTracking());

    wall->clearData();
    QVERIFY(wall->getMirrors().isEmpty());
    QCOMPARE(wall->getCreatedCount(), 0);
    QCOMPARE(rectList(wall->getWallRect()), (QList<int> {0, 0, 0, 0}));
    QVERIFY(!wall->getCurrMirror());

    wall->setLayoutInfo(rc(0, 0, 1600, 900), 1, 0, 0, 1, 1);
    MirrorWidget *d = addMirror(rc(0, 0, 800, 450), 9);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(0).toInt(), 9);
    QCOMPARE(wall->getCurrMirror(), d);
}

void TestX86Wall::updatingAWindowPlacesItFromTheMatrix()
{
    showWall();
    wall->setLayoutInfo(rc(0, 0, 1600, 900), 1, 0, 0, 1, 1);
    MirrorWidget *m = addMirror(rc(0, 0, 800, 450), 0);
    const QRect before = m->geometry();
    wall->setLayoutInfo(rc(0, 0, 3200, 1800), 1, 0, 0, 1, 1);
    wall->setMirror(rc(0, 0, 800, 450), rc(800, 450, 1600, 900), 0, 9, 2, 0, 1);
    QCOMPARE(wall->getMirrors().size(), 1);
    // Where the matrix holds it now, on a wall twice as large in units.
    QVERIFY(m->geometry() != before);
    QCOMPARE(m->geometry(), QRect(200, 112, 200, 112));
    QCOMPARE(rectList(m->getMirrorRect()), (QList<int> {800, 450, 1600, 900}));
    QCOMPARE(m->getSplitCount(), 9);
    QCOMPARE(m->getLayer(), 2);
    QCOMPARE(int(m->getTurnState()), 1);
    QCOMPARE(m->getXScale(), 4.0);
    QCOMPARE(m->getYScale(), 4.0);
}

void TestX86Wall::moveSendsRectangleWithWallOrigin_data()
{
    QTest::addColumn<QPoint>("origin");
    QTest::newRow("wall at zero") << QPoint(0, 0);
    QTest::newRow("wall away from zero") << QPoint(1000, 2000);
}

void TestX86Wall::moveSendsRectangleWithWallOrigin()
{
    QFETCH(QPoint, origin);
    showWall();
    const int ox = origin.x();
    const int oy = origin.y();
    wall->setLayoutInfo(rc(ox, oy, ox + 1600, oy + 900), 1, 0, 0, 1, 1);
    MirrorWidget *m = addMirror(rc(ox, oy, ox + 800, oy + 450), 3);
    QCOMPARE(m->geometry(), QRect(0, 0, 400, 225));
    service->x86()->clear();

    drag(m, QPoint(200, 100), QPoint(50, 20));

    QCOMPARE(m->geometry(), QRect(50, 20, 400, 225));
    // Pixels times two, plus the wall's origin; the size stays as the matrix holds it.
    const QList<int> expected {ox + 100, oy + 40, ox + 900, oy + 490};
    QCOMPARE(rectList(m->getMirrorRect()), expected);
    QCOMPARE(service->x86()->names(),
             (QStringList {"RequestLayout", "SetMirrorRect", "RequestLayout"}));
    const FakeCall sent = service->x86()->last("SetMirrorRect");
    QCOMPARE(sent.args.at(0).toInt(), 3);
    QCOMPARE(sentRect(sent), expected);

    // Placing the written-back rectangle again puts the window at the same place.
    wall->placeMirror(m);
    QCOMPARE(m->geometry().topLeft(), QPoint(50, 20));
}

void TestX86Wall::releaseSnapsNearTheMonitorEdge_data()
{
    QTest::addColumn<int>("homeLeft");
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");

    // Units equal pixels; the monitor is 400 wide and a move keeps the width. Every edge
    // closer than 20 to its monitor's edge, inside or outside, snaps onto it.
    QTest::newRow("19 inside snaps") << 0 << 19 << 0 << 400;
    QTest::newRow("20 inside stays") << 0 << 20 << 20 << 420;
    QTest::newRow("5 outside snaps") << 100 << -5 << 100 << 500;
}

void TestX86Wall::releaseSnapsNearTheMonitorEdge()
{
    QFETCH(int, homeLeft);
    QFETCH(int, dx);
    QFETCH(int, left);
    QFETCH(int, right);
    showWall();
    wall->setLayoutInfo(rc(0, 0, 800, 450), 1, 0, 0, 1, 1);
    MirrorWidget *m = addMirror(rc(homeLeft, 0, homeLeft + 400, 225), 0);
    service->x86()->clear();

    drag(m, QPoint(200, 100), QPoint(dx, 0));

    const QList<int> expected {left, 0, right, 225};
    QCOMPARE(sentRect(service->x86()->last("SetMirrorRect")), expected);
    QCOMPARE(rectList(m->getMirrorRect()), expected);
}

void TestX86Wall::moveStopsAtTheWallEdge()
{
    showWall();
    wall->setLayoutInfo(rc(0, 0, 1600, 900), 1, 0, 0, 1, 1);
    MirrorWidget *m = addMirror(rc(0, 0, 800, 450), 0);
    press(m, QPoint(200, 100));
    hover(m, QPoint(799, 100));
    QCOMPARE(m->geometry().x(), 400);
    QCOMPARE(m->geometry().right(), wall->width() - 1);
    hover(wall.get(), QPoint(250, 400));
    release(wall.get(), QPoint(250, 400));
    // Back to the left: the window stops at the wall's left edge; the bottom stops at
    // the wall's bottom.
    QCOMPARE(m->geometry().topLeft(), QPoint(0, 225));
    QCOMPARE(m->geometry().bottom(), wall->height() - 1);
    // The right edge (last pixel 399 = 798 units) snaps onto the monitor's 800.
    QCOMPARE(sentRect(service->x86()->last("SetMirrorRect")), (QList<int> {0, 450, 800, 900}));
}

void TestX86Wall::layoutDuringADragKeepsTheMovedRectangle()
{
    showWall();
    wall->setLayoutInfo(rc(0, 0, 1600, 900), 1, 0, 0, 1, 1);
    MirrorWidget *m = addMirror(rc(0, 0, 800, 450), 0);
    press(m, QPoint(200, 100));
    hover(wall.get(), QPoint(300, 150));
    // The answer to the press's layout request arrives while the button is still held.
    wall->setMirror(rc(0, 0, 800, 450), rc(0, 0, 800, 450), 0, 4, 1, 0, 0);
    QCOMPARE(m->getSplitCount(), 4);
    QCOMPARE(m->getLayer(), 1);
    release(wall.get(), QPoint(300, 150));
    QCOMPARE(sentRect(service->x86()->last("SetMirrorRect")), (QList<int> {200, 100, 1000, 550}));
    // Released: the next layout is taken as it comes.
    wall->setMirror(rc(0, 0, 800, 450), rc(0, 0, 800, 450), 0, 4, 1, 0, 0);
    QCOMPARE(rectList(m->getMirrorRect()), (QList<int> {0, 0, 800, 450}));
}

void TestX86Wall::hoverZonesSetZoneAndCursor_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("zone");
    QTest::addColumn<Qt::CursorShape>("cursor");

    // The window is 400 x 250 pixels; its last pixel is (399, 249).
    QTest::newRow("top-left corner") << QPoint(2, 3) << 4 << Qt::SizeFDiagCursor;
    QTest::newRow("bottom-right corner") << QPoint(396, 246) << 6 << Qt::SizeFDiagCursor;
    QTest::newRow("bottom-left corner") << QPoint(4, 249) << 5 << Qt::SizeBDiagCursor;
    QTest::newRow("top-right corner") << QPoint(399, 0) << 7 << Qt::SizeBDiagCursor;
    QTest::newRow("left edge") << QPoint(0, 125) << 2 << Qt::SizeHorCursor;
    QTest::newRow("right edge") << QPoint(395, 125) << 3 << Qt::SizeHorCursor;
    QTest::newRow("top edge") << QPoint(200, 4) << 0 << Qt::SizeVerCursor;
    QTest::newRow("bottom edge") << QPoint(200, 245) << 1 << Qt::SizeVerCursor;
    QTest::newRow("just inside the margin") << QPoint(5, 125) << 8 << Qt::ArrowCursor;
    QTest::newRow("inside") << QPoint(200, 125) << 8 << Qt::ArrowCursor;
}

void TestX86Wall::hoverZonesSetZoneAndCursor()
{
    QFETCH(QPoint, point);
    QFETCH(int, zone);
    QFETCH(Qt::CursorShape, cursor);
    showWall();
    wall->setLayoutInfo(rc(0, 0, 1600, 900), 1, 0, 0, 1, 1);
    MirrorWidget *m = addMirror(rc(400, 200, 1200, 700), 0);
    QCOMPARE(m->geometry(), QRect(200, 100, 400, 250));
    select(m);
    hover(m, point);
    QCOMPARE(m->getDragZone(), zone);
    QCOMPARE(m->cursor().shape(), cursor);

    // Leaving the window ends any zone.
    hover(wall.get(), QPoint(50, 20));
    QTRY_COMPARE(m->getDragZone(), 8);
    QCOMPARE(m->cursor().shape(), Qt::ArrowCursor);
}

void TestX86Wall::resizeFromEveryEdgeAndCorner_data()
{
    QTest::addColumn<QPoint>("grab");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QList<int>>("rect");

    // Window (400,200)-(1200,700) in units, two units per pixel; "to" is in wall pixels.
    QTest::newRow("top") << QPoint(200, 1) << QPoint(400, 60) << QList<int> {400, 120, 1200, 700};
    QTest::newRow("bottom") << QPoint(200, 248) << QPoint(400, 400)
                            << QList<int> {400, 200, 1200, 800};
    QTest::newRow("left") << QPoint(1, 125) << QPoint(150, 225) << QList<int> {300, 200, 1200, 700};
    QTest::newRow("right") << QPoint(398, 125) << QPoint(650, 225)
                           << QList<int> {400, 200, 1300, 700};
    QTest::newRow("top-left") << QPoint(1, 1) << QPoint(150, 60)
                              << QList<int> {300, 120, 1200, 700};
    QTest::newRow("bottom-left") << QPoint(1, 248) << QPoint(150, 400)
                                 << QList<int> {300, 200, 1200, 798};
    QTest::newRow("bottom-right") << QPoint(398, 248) << QPoint(650, 400)
                                  << QList<int> {400, 200, 1298, 798};
    QTest::newRow("top-right") << QPoint(398, 1) << QPoint(650, 60)
                               << QList<int> {400, 120, 1298, 700};
}

void TestX86Wall::resizeFromEveryEdgeAndCorner()
{
    QFETCH(QPoint, grab);
    QFETCH(QPoint, to);
    QFETCH(QList<int>, rect);
    showWall();
    wall->setLayoutInfo(rc(0, 0, 1600, 900), 1, 0, 0, 1, 1);
    MirrorWidget *m = addMirror(rc(400, 200, 1200, 700), 0);
    select(m);
    hover(m, grab);
    QVERIFY(m->getDragZone() != MirrorWidget::ZoneInside);
    press(m, grab);
    hover(wall.get(), to);
    QCOMPARE(rectList(m->getMirrorRect()), rect);
    const QRect placed((rect[0]) / 2, rect[1] / 2, (rect[2] - rect[0]) / 2,
                       (rect[3] - rect[1]) / 2);
    QCOMPARE(m->geometry(), placed);
    release(wall.get(), to);
    QCOMPARE(service->x86()->names(),
             (QStringList {"RequestLayout", "SetMirrorRect", "RequestLayout"}));
    QCOMPARE(sentRect(service->x86()->last("SetMirrorRect")), rect);
}

void TestX86Wall::resizeNeverTurnsTheRectangleInsideOut()
{
    showWall();
    wall->setLayoutInfo(rc(0, 0, 1600, 900), 1, 0, 0, 1, 1);
    MirrorWidget *m = addMirror(rc(400, 200, 1200, 700), 0);
    select(m);
    hover(m, QPoint(1, 125));
    QCOMPARE(m->getDragZone(), int(MirrorWidget::ZoneLeft));
    press(m, QPoint(1, 125));
    hover(wall.get(), QPoint(500, 225));
    QCOMPARE(rectList(m->getMirrorRect()), (QList<int> {1000, 200, 1200, 700}));
    // Past the right edge: the step is ignored.
    hover(wall.get(), QPoint(700, 225));
    release(wall.get(), QPoint(700, 225));
    const QList<int> sent = sentRect(service->x86()->last("SetMirrorRect"));
    QCOMPARE(sent, (QList<int> {1000, 200, 1200, 700}));
    QVERIFY(sent[0] < sent[2]);
}

void TestX86Wall::swapInConfigurationModeExchangesNumbers()
{
    showWall();
    wall->setEditable(false);
    wall->setLayoutInfo(rc(0, 0, 1200, 900), 6, 0, 1, 1, 1);
    QList<MirrorWidget *> ms;
    for (int i = 0; i < 6; ++i) {
        const int x = (i % 3) * 400;
        const int y = (i / 3) * 450;
        ms << addMirror(rc(x, y, x + 400, y + 450), i);
    }
    wall->setSwapMode(true);
    service->x86()->clear();

    MirrorWidget *dragged = ms.at(2); // shown as 3
    MirrorWidget *target = ms.at(4); // shown as 5
    press(dragged, dragged->rect().center());
    QCOMPARE(wall->getCurrMirror(), dragged);
    hover(dragged, dragged->mapFrom(wall.get(), target->geometry().center()));
    QCOMPARE(dragged->cursor().shape(), Qt::SizeAllCursor);
    QCOMPARE(dragged->geometry(), QRect(533, 0, 266, 225));
    release(dragged, dragged->mapFrom(wall.get(), target->geometry().center()));

    QCOMPARE(dragged->getIndex(), 4);
    QCOMPARE(target->getIndex(), 2);
    QCOMPARE(service->x86()->trace(), QStringList {"ExchangeMirrors(2,4)"});
    QVERIFY(target->isSelected());
    QVERIFY(!dragged->isSelected());
}

void TestX86Wall::dropOnEmptyWallSendsNothing()
{
    showWall();
    wall->setEditable(false);
    wall->setLayoutInfo(rc(0, 0, 1600, 900), 2, 0, 1, 1, 1);
    MirrorWidget *a = addMirror(rc(0, 0, 400, 450), 0);
    MirrorWidget *b = addMirror(rc(800, 0, 1200, 450), 1);
    wall->setSwapMode(true);
    service->x86()->clear();

    press(a, QPoint(50, 50));
    const QPoint empty = a->mapFrom(wall.get(), QPoint(700, 400));
    hover(a, empty);
    release(a, empty);
    QCOMPARE(service->x86()->names(), QStringList());
    QCOMPARE(a->getIndex(), 0);
    QCOMPARE(b->getIndex(), 1);
}

void TestX86Wall::releaseOnBareWallDeselects()
{
    showWall();
    wall->setLayoutInfo(rc(0, 0, 1600, 900), 2, 0, 0, 1, 1);
    MirrorWidget *a = addMirror(rc(0, 0, 800, 450), 0);
    MirrorWidget *b = addMirror(rc(800, 0, 1600, 450), 1);
    select(b);
    QCOMPARE(wall->getCurrMirror(), b);
    QVERIFY(!a->isSelected());
    press(wall.get(), QPoint(400, 400));
    release(wall.get(), QPoint(400, 400));
    QVERIFY(!a->isSelected());
    QVERIFY(!b->isSelected());
    QCOMPARE(wall->getCurrMirror(), b);
    QCOMPARE(service->x86()->names(), QStringList());
}

void TestX86Wall::resetPutsEveryWindowHome()
{
    showWall();
    wall->setLayoutInfo(rc(0, 0, 1600, 900), 2, 0, 0, 1, 1);
    MirrorWidget *a = addMirror(rc(0, 0, 800, 450), rc(100, 100, 500, 300), 7);
    MirrorWidget *b = addMirror(rc(800, 0, 1600, 450), rc(0, 450, 1600, 900), 8);
    QCOMPARE(a->geometry(), QRect(50, 50, 200, 100));
    service->x86()->clear();

    wall->resetLayout();

    QCOMPARE(a->geometry(), QRect(0, 0, 400, 225));
    QCOMPARE(b->geometry(), QRect(400, 0, 400, 225));
    QCOMPARE(service->x86()->trace().filter("SetMirrorRect"),
             (QStringList {"SetMirrorRect(7,0,0,800,450)", "SetMirrorRect(8,800,0,1600,450)"}));
    QCOMPARE(rectList(b->getMirrorRect()), (QList<int> {800, 0, 1600, 450}));
}

void TestX86Wall::doubleClickZoomsAtThePointInUnits()
{
    showWall();
    wall->setLayoutInfo(rc(0, 0, 1600, 900), 1, 0, 0, 1, 1);
    MirrorWidget *m = addMirror(rc(800, 450, 1600, 900), 5);
    service->x86()->clear();
    QTest::mouseDClick(m, Qt::LeftButton, Qt::NoModifier, QPoint(100, 50));
    QCOMPARE(service->x86()->last("ZoomMirrorAt").args, (QVariantList {5, 200, 100}));
}

void TestX86Wall::turnStateRaisesWindow_data()
{
    QTest::addColumn<int>("turn");
    QTest::addColumn<bool>("raised");
    QTest::newRow("no turn show") << 0 << false;
    QTest::newRow("turning") << 1 << true;
    QTest::newRow("paused") << 2 << true;
}

void TestX86Wall::turnStateRaisesWindow()
{
    QFETCH(int, turn);
    QFETCH(bool, raised);
    showWall();
    wall->setLayoutInfo(rc(0, 0, 1600, 900), 2, 0, 0, 1, 1);
    MirrorWidget *below = addMirror(rc(0, 0, 800, 450), 0, 4);
    MirrorWidget *above = addMirror(rc(400, 0, 1200, 450), 1);
    const QPoint overlap(300, 100);
    QCOMPARE(wall->childAt(overlap), above);

    wall->setMirrorState(0, X86TurnState(turn), -1);
    QCOMPARE(int(below->getTurnState()), turn);
    QCOMPARE(below->getSplitCount(), 4);
    QCOMPARE(wall->childAt(overlap), raised ? below : above);

    wall->setMirrorState(0, X86TurnState(turn), 9);
    QCOMPARE(below->getSplitCount(), 9);
    // An unknown window changes nothing.
    wall->setMirrorState(42, X86TurnState::Running, 16);
    QCOMPARE(int(above->getTurnState()), 0);
}

void TestX86Wall::layersStackOneOverTwoOverOthers()
{
    showWall();
    wall->setLayoutInfo(rc(0, 0, 1600, 900), 3, 0, 0, 1, 1);
    MirrorWidget *top = addMirror(rc(0, 0, 800, 450), 0, 1, 1);
    MirrorWidget *middle = addMirror(rc(200, 0, 1000, 450), 1, 1, 2);
    MirrorWidget *bottom = addMirror(rc(400, 0, 1200, 450), 2, 1, 0);
    QCOMPARE(wall->childAt(QPoint(250, 100)), bottom);
    wall->raiseMirrorsByLayer();
    QCOMPARE(wall->childAt(QPoint(250, 100)), top);
    QCOMPARE(wall->childAt(QPoint(450, 100)), middle);
    QCOMPARE(wall->childAt(QPoint(550, 100)), bottom);
}

void TestX86Wall::paintsGridBorderAndBackground_data()
{
    QTest::addColumn<int>("split");
    QTest::addColumn<bool>("editable");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<int>("gridLines");

    QTest::newRow("nine panes") << 9 << true << true << 2;
    QTest::newRow("four panes, not selected") << 4 << true << false << 1;
    QTest::newRow("one pane") << 1 << true << true << 0;
    QTest::newRow("configuration mode") << 9 << false << true << 0;
}

void TestX86Wall::paintsGridBorderAndBackground()
{
    QFETCH(int, split);
    QFETCH(bool, editable);
    QFETCH(bool, selected);
    QFETCH(int, gridLines);
    showWall();
    wall->setEditable(editable);
    wall->setLayoutInfo(rc(0, 0, 1600, 900), 1, 0, 0, 1, 1);
    MirrorWidget *m = addMirror(rc(0, 0, 800, 500), 0, split);
    m->setSelected(selected);
    QCOMPARE(m->size(), QSize(400, 250));
    const QImage image = m->grab().toImage();
    const QColor gridColour(200, 230, 245);

    const int n = split == 9 ? 3 : split == 4 ? 2 : 1;
    int horizontal = 0;
    int vertical = 0;
    for (int k = 1; k < 6; ++k) {
        if (n > 1 && k < n) {
            if (image.pixelColor(20, k * (250 / n)) == gridColour)
                ++horizontal;
            if (image.pixelColor(k * (400 / n), 20) == gridColour)
                ++vertical;
        }
    }
    QCOMPARE(horizontal, gridLines);
    QCOMPARE(vertical, gridLines);
    // No grid colour anywhere on a row away from grid lines, text and border.
    int stray = 0;
    for (int x = 3; x < 397; ++x) {
        if (image.pixelColor(x, 10) == gridColour)
            ++stray;
    }
    QCOMPARE(stray, gridLines);

    // A window without sources looks empty: grey, not the black of video.
    const QColor background = selected ? QColor(52, 58, 64) : QColor(40, 45, 50);
    QCOMPARE(image.pixelColor(30, 30), background);
    if (selected)
        QCOMPARE(image.pixelColor(1, 100), QColor(72, 152, 179));
    else
        QCOMPARE(image.pixelColor(0, 100), QColor(161, 173, 173));

    QImage wallImage = wall->grab().toImage();
    QCOMPARE(wallImage.pixelColor(700, 400), QColor(Qt::black));
}

void TestX86Wall::borderAndPaneLinesAreOnePixelLines_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("split");

    QTest::newRow("400 x 250, 16 panes") << QSize(400, 250) << 16;
    QTest::newRow("odd 317 x 121, 9 panes") << QSize(317, 121) << 9;
    QTest::newRow("small 80 x 45, 4 panes") << QSize(80, 45) << 4;
    QTest::newRow("smallest 10 x 10, 25 panes") << QSize(10, 10) << 25;
    QTest::newRow("wide 1200 x 20, 36 panes") << QSize(1200, 20) << 36;
}

void TestX86Wall::borderAndPaneLinesAreOnePixelLines()
{
    QFETCH(QSize, size);
    QFETCH(int, split);
    // Units equal to pixels: the window gets exactly this size; it is not selected.
    wall->setGeometry(100, 100, 800, 450);
    wall->setLayoutInfo(rc(0, 0, 800, 450), 2, 0, 0, 1, 1);
    addMirror(rc(0, 0, 5, 5), 0);
    MirrorWidget *m = addMirror(rc(0, 0, size.width(), size.height()), 1, split);
    QCOMPARE(m->size(), size);
    QVERIFY(!m->isSelected());
    const QImage painted = m->grab().toImage().convertToFormat(QImage::Format_RGB32);

    // What 1-pixel lines of the same colours draw, on the same background (an empty window's).
    QImage expected(size, QImage::Format_RGB32);
    expected.fill(QColor(40, 45, 50));
    {
        QPainter p(&expected);
        p.fillRect(expected.rect(), QBrush(QColor(255, 255, 255, 18), Qt::BDiagPattern));
        const int right = size.width() - 1;
        const int bottom = size.height() - 1;
        const int n = int(std::sqrt(double(split)));
        p.setPen(QPen(QColor(161, 173, 173), 1));
        p.drawLine(0, 0, right, 0);
        p.drawLine(right, 0, right, bottom);
        p.drawLine(right, bottom, 0, bottom);
        p.drawLine(0, bottom, 0, 0);
        p.setPen(QPen(QColor(200, 230, 245), 1));
        for (int k = 1; k < n; ++k) {
            p.drawLine(1, k * (size.height() / n), size.width() - 1, k * (size.height() / n));
            p.drawLine(k * (size.width() / n), 1, k * (size.width() / n), bottom - 1);
        }
    }
    // Compare every pixel except those the centred number may cover.
    const QRect number(size.width() / 4, size.height() / 8, size.width() / 2,
                       size.height() * 3 / 4);
    int differences = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            if (number.contains(x, y))
                continue;
            if (painted.pixel(x, y) != expected.pixel(x, y))
                ++differences;
        }
    }
    QCOMPARE(differences, 0);
}

void TestX86Wall::arrowKeysOnlySetThePendingStep()
{
    showWall();
    wall->setLayoutInfo(rc(0, 0, 1600, 900), 1, 0, 0, 1, 1);
    MirrorWidget *m = addMirror(rc(0, 0, 800, 450), 0);
    const QRect before = m->geometry();
    QTest::keyClick(m, Qt::Key_Down);
    QCOMPARE(m->getMoveOffset(), QPoint(0, 1));
    QTest::keyClick(m, Qt::Key_Left);
    QCOMPARE(m->getMoveOffset(), QPoint(-1, 0));
    QTest::keyClick(m, Qt::Key_A);
    QCOMPARE(m->getMoveOffset(), QPoint(0, 0));
    QCOMPARE(m->geometry(), before);
    QCOMPARE(m->focusPolicy(), Qt::NoFocus);

    wall->setEditable(false);
    QTest::keyClick(m, Qt::Key_Up);
    QCOMPARE(m->getMoveOffset(), QPoint(0, 0));
    QCOMPARE(service->x86()->names(), QStringList());
}

QTEST_MAIN(TestX86Wall)
#include "tst_x86wall.moc"
