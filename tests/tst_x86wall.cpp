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

RECT rectOf(const QList<int> &r)
{
    return rc(r[0], r[1], r[2], r[3]);
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
    void emptyWallRectPlacesNothingUntilTheMatrixUpdatesTheWindow();
    void flatWallsPlaceNothingAndHoldTheLimit();
    void firstWindowAfterClearIsSelectedAndReleaseOnBareWallDeselects();
    void dragSendsTheRectangleInMatrixUnits_data();
    void dragSendsTheRectangleInMatrixUnits();
    void layoutDuringADragKeepsTheMovedRectangle();
    void hoverZonesSetZoneAndCursor_data();
    void hoverZonesSetZoneAndCursor();
    void swapInConfigurationModeExchangesNumbers_data();
    void swapInConfigurationModeExchangesNumbers();
    void turnStateRaisesWindow_data();
    void turnStateRaisesWindow();
    void layersStackOneOverTwoOverOthersAndAnyNumberPaints();
    void paintsBorderGridAndBackground_data();
    void paintsBorderGridAndBackground();

private:
    // A shown wall of 800 x 450 pixels at (100, 100) with this layout.
    void showWall(const RECT &wallRect = rc(0, 0, 1600, 900), int count = 1, int p2 = 0,
                  int arranged = 1);
    MirrorWidget *addMirror(const RECT &home, int index, int split = 1, int layer = 0, int turn = 0)
    {
        return addMirror(home, home, index, split, layer, turn);
    }
    MirrorWidget *addMirror(const RECT &home, const RECT &current, int index, int split = 1,
                            int layer = 0, int turn = 0)
    {
        wall->setMirror(home, current, index, split, layer, 0, turn);
        return wall->mirrorByIndex(index);
    }
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

void TestX86Wall::showWall(const RECT &wallRect, int count, int p2, int arranged)
{
    wall->setGeometry(100, 100, 800, 450);
    wall->show();
    QVERIFY(QTest::qWaitForWindowExposed(wall.get()));
    QCOMPARE(wall->size(), QSize(800, 450));
    wall->setLayoutInfo(wallRect, count, 0, p2, arranged, arranged);
}

void TestX86Wall::placesWindowsFromMatrixUnits_data()
{
    QTest::addColumn<QList<int>>("wallRect");
    QTest::addColumn<int>("arranged"); // the layout's screen arrangement
    QTest::addColumn<QList<int>>("mirrorRect");
    QTest::addColumn<QRect>("geometry"); // null: not placed
    QTest::addColumn<double>("xScale");

    // A wall from the origin, placed again on a larger page: tst_x86e2e.
    QTest::newRow("wall with its origin away from zero")
            << QList<int> {1000, 500, 2920, 1580} << 1 << QList<int> {1960, 1040, 2920, 1580}
            << QRect(400, 225, 400, 225) << 2.4;
    QTest::newRow("units equal to pixels")
            << QList<int> {0, 0, 800, 450} << 1 << QList<int> {10, 20, 110, 70}
            << QRect(10, 20, 100, 50) << 1.0;
    QTest::newRow("no screen arrangement")
            << QList<int> {0, 0, 1920, 1080} << 0 << QList<int> {0, 0, 960, 540} << QRect() << 0.0;
    // Two units span the wall: a window two thousand million units wide is far beyond
    // anything Qt can place. It is held at the widget limits instead.
    QTest::newRow("far off the wall")
            << QList<int> {0, 0, 2, 2} << 1 << QList<int> {-2000000000, 0, 2000000000, 1}
            << QRect(-QWIDGETSIZE_MAX, 0, QWIDGETSIZE_MAX, 225) << 2.0 / 800;
}

void TestX86Wall::placesWindowsFromMatrixUnits()
{
    QFETCH(QList<int>, wallRect);
    QFETCH(int, arranged);
    QFETCH(QList<int>, mirrorRect);
    QFETCH(QRect, geometry);
    QFETCH(double, xScale);
    showWall(rectOf(wallRect), 1, 0, arranged);
    MirrorWidget *m = addMirror(rc(0, 0, 1, 1), rectOf(mirrorRect), 0);
    QVERIFY(m);
    QCOMPARE(m->isHidden(), geometry.isNull());
    if (geometry.isNull())
        return;
    QCOMPARE(m->geometry(), geometry);
    QCOMPARE(m->getXScale(), xScale);
    QCOMPARE(m->getDragZone(), int(MirrorWidget::ZoneInside));
}

void TestX86Wall::emptyWallRectPlacesNothingUntilTheMatrixUpdatesTheWindow()
{
    showWall();
    MirrorWidget *m = addMirror(rc(0, 0, 800, 450), 0);
    QCOMPARE(m->geometry(), QRect(0, 0, 400, 225));

    // The matrix now reports a wall without width: the window keeps its place and its
    // rectangle, and nothing divides by zero.
    wall->setLayoutInfo(rc(500, 0, 500, 900), 1, 0, 0, 1, 1);
    QVERIFY(!wall->canMap());
    addMirror(rc(0, 0, 800, 450), 0);
    QCOMPARE(m->geometry(), QRect(0, 0, 400, 225));
    QCOMPARE(m->getXScale(), 2.0);

    drag(m, QPoint(200, 100), QPoint(100, 50));
    QCOMPARE(m->geometry().topLeft(), QPoint(100, 50));
    QCOMPARE(rectList(m->getMirrorRect()), (QList<int> {0, 0, 800, 450}));
    QCOMPARE(sentRect(service->x86()->last("SetMirrorRect")), (QList<int> {0, 0, 800, 450}));
    // A new window on such a wall is not placed at all.
    QVERIFY(addMirror(rc(800, 0, 1600, 450), 1)->isHidden());

    // Updated on a wall twice as large in units: placed where the matrix holds it now.
    wall->setLayoutInfo(rc(0, 0, 3200, 1800), 1, 0, 0, 1, 1);
    wall->setMirror(rc(0, 0, 800, 450), rc(800, 450, 1600, 900), 0, 9, 2, 0, 1);
    QCOMPARE(wall->getMirrors().size(), 2);
    QCOMPARE(m->geometry(), QRect(200, 112, 200, 112));
    QCOMPARE(rectList(m->getMirrorRect()), (QList<int> {800, 450, 1600, 900}));
    QCOMPARE(QList<int>({m->getSplitCount(), m->getLayer(), int(m->getTurnState())}),
             (QList<int> {9, 2, 1}));
    QCOMPARE(m->getXScale(), 4.0);
    QCOMPARE(m->getYScale(), 4.0);
}

void TestX86Wall::flatWallsPlaceNothingAndHoldTheLimit()
{
    MatrixManageWidget flat;
    flat.setGeometry(0, 0, 0, 0);
    QCOMPARE(flat.width(), 0);
    flat.setLayoutInfo(rc(0, 0, 1920, 1080), 1, 0, 0, 1, 1);
    flat.setMirror(rc(0, 0, 960, 540), rc(0, 0, 960, 540), 0, 1, 0, 0, 0);
    MirrorWidget *m = flat.mirrorByIndex(0);
    QVERIFY(m && m->isHidden());
    QCOMPARE(m->getXScale(), 1.0);
    // A pending step is applied in pixels only; the rectangle in units stays.
    m->setMoveOffset(QPoint(1, 0));
    flat.placeMirrorMoving(m);
    QCOMPARE(rectList(m->getMirrorRect()), (QList<int> {0, 0, 960, 540}));
    // Nor do the keys change it.
    QTest::keyClick(&flat, Qt::Key_Right);
    QTest::keyClick(&flat, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(rectList(m->getMirrorRect()), (QList<int> {0, 0, 960, 540}));

    // A wall four pixels high for the whole range of units: a window keeps its minimum
    // height of ten pixels, so it sticks out above the wall, further than int can count.
    flat.setGeometry(0, 0, 200, 4);
    const int top = std::numeric_limits<int>::min();
    flat.setLayoutInfo(rc(0, top, 1600, std::numeric_limits<int>::max()), 1, 0, 0, 1, 1);
    flat.setMirror(rc(0, 0, 800, 100), rc(0, 0, 800, 100), 1, 1, 0, 0, 0);
    m = flat.mirrorByIndex(1);
    QVERIFY(m);
    flat.placeMirrorMoving(m);
    QCOMPARE(m->geometry().y(), 4 - m->minimumHeight());
    const RECT r = m->getMirrorRect();
    QCOMPARE(r.top, top);
    QVERIFY(r.bottom > r.top);
    QCOMPARE(r.left, 0);
}

void TestX86Wall::firstWindowAfterClearIsSelectedAndReleaseOnBareWallDeselects()
{
    showWall(rc(0, 0, 1600, 900), 3);
    QSignalSpy spy(wall.get(), &MatrixManageWidget::sigCurrMontroIndex);
    MirrorWidget *a = addMirror(rc(0, 0, 800, 450), 4, 1, 0, 2);
    MirrorWidget *b = addMirror(rc(800, 0, 1600, 450), 5);
    MirrorWidget *c = addMirror(rc(0, 450, 800, 900), 6);
    QCOMPARE(QList<QVariantList>(spy), (QList<QVariantList> {{4, 2}}));
    QCOMPARE(wall->getCurrMirror(), a);
    QVERIFY(a->isSelected() && a->hasMouseTracking());
    QVERIFY(!b->isSelected() && !c->isSelected() && !b->hasMouseTracking());
    // A release on the bare wall deselects the window, which stays the current one.
    select(b);
    QVERIFY(!a->isSelected());
    press(wall.get(), QPoint(600, 400));
    release(wall.get(), QPoint(600, 400));
    QVERIFY(!a->isSelected());
    QVERIFY(!b->isSelected());
    QCOMPARE(wall->getCurrMirror(), b);
    QCOMPARE(service->x86()->names(), QStringList());

    wall->clearData();
    QVERIFY(wall->getMirrors().isEmpty());
    QCOMPARE(wall->getCreatedCount(), 0);
    QCOMPARE(rectList(wall->getWallRect()), (QList<int> {0, 0, 0, 0}));
    QVERIFY(!wall->getCurrMirror());

    wall->setLayoutInfo(rc(0, 0, 1600, 900), 1, 0, 0, 1, 1);
    MirrorWidget *d = addMirror(rc(0, 0, 800, 450), 9);
    QCOMPARE(spy.count(), 3);
    QCOMPARE(spy.at(2).at(0).toInt(), 9);
    QCOMPARE(wall->getCurrMirror(), d);
}

void TestX86Wall::dragSendsTheRectangleInMatrixUnits_data()
{
    QTest::addColumn<QList<int>>("wallRect");
    QTest::addColumn<QList<int>>("home");
    QTest::addColumn<QPoint>("grab"); // in the window
    QTest::addColumn<QList<QPoint>>("path"); // in the wall, released at the last point
    QTest::addColumn<QList<int>>("sent");
    QTest::addColumn<QRect>("geometry");
    using P = QList<QPoint>;
    using R = QList<int>;
    const R full {0, 0, 1600, 900};
    const R pixels {0, 0, 800, 450};
    // Moves: pixels times two plus the wall's origin; the size stays as the matrix holds it
    // (a move from the origin and a snap back home: tst_x86e2e).
    QTest::newRow("move on a wall away from zero")
            << R {1000, 2000, 2600, 2900} << R {1000, 2000, 1800, 2450} << QPoint(200, 100)
            << P {{250, 120}} << R {1100, 2040, 1900, 2490} << QRect(50, 20, 400, 225);
    // Units equal pixels; the monitor is 400 wide. Every edge closer than 20 to its
    // monitor's edge, inside or outside, snaps onto it.
    QTest::newRow("20 inside stays")
            << pixels << R {0, 0, 400, 225} << QPoint(200, 100) << P {{220, 100}}
            << R {20, 0, 420, 225} << QRect(20, 0, 400, 225);
    QTest::newRow("5 outside snaps")
            << pixels << R {100, 0, 500, 225} << QPoint(200, 100) << P {{295, 100}}
            << R {100, 0, 500, 225} << QRect(100, 0, 400, 225);
    // The window stops at the wall's edges; its last pixel (798 units) snaps onto 800.
    QTest::newRow("stops at the right edge")
            << full << R {0, 0, 800, 450} << QPoint(200, 100) << P {{799, 100}}
            << R {800, 0, 1600, 450} << QRect(400, 0, 400, 225);
    QTest::newRow("stops at the left and bottom edges")
            << full << R {0, 0, 800, 450} << QPoint(200, 100) << P {{799, 100}, {250, 400}}
            << R {0, 450, 800, 900} << QRect(0, 225, 400, 225);
    // Resizes of the window (400,200)-(1200,700), two units per pixel.
    const R box {400, 200, 1200, 700};
    QTest::newRow("top") << full << box << QPoint(200, 1) << P {{400, 60}}
                         << R {400, 120, 1200, 700} << QRect(200, 60, 400, 290);
    QTest::newRow("bottom") << full << box << QPoint(200, 248) << P {{400, 400}}
                            << R {400, 200, 1200, 800} << QRect(200, 100, 400, 300);
    QTest::newRow("left") << full << box << QPoint(1, 125) << P {{150, 225}}
                          << R {300, 200, 1200, 700} << QRect(150, 100, 450, 250);
    QTest::newRow("right") << full << box << QPoint(398, 125) << P {{650, 225}}
                           << R {400, 200, 1300, 700} << QRect(200, 100, 450, 250);
    QTest::newRow("top-left") << full << box << QPoint(1, 1) << P {{150, 60}}
                              << R {300, 120, 1200, 700} << QRect(150, 60, 450, 290);
    QTest::newRow("bottom-left") << full << box << QPoint(1, 248) << P {{150, 400}}
                                 << R {300, 200, 1200, 798} << QRect(150, 100, 450, 299);
    QTest::newRow("bottom-right") << full << box << QPoint(398, 248) << P {{650, 400}}
                                  << R {400, 200, 1298, 798} << QRect(200, 100, 449, 299);
    QTest::newRow("top-right") << full << box << QPoint(398, 1) << P {{650, 60}}
                               << R {400, 120, 1298, 700} << QRect(200, 60, 449, 290);
    // Past the right edge, a left edge would turn the rectangle inside out: that step is
    // ignored.
    QTest::newRow("left, then past the right edge")
            << full << box << QPoint(1, 125) << P {{500, 225}, {700, 225}}
            << R {1000, 200, 1200, 700} << QRect(500, 100, 100, 250);
}

void TestX86Wall::dragSendsTheRectangleInMatrixUnits()
{
    QFETCH(QList<int>, wallRect);
    QFETCH(QList<int>, home);
    QFETCH(QPoint, grab);
    QFETCH(QList<QPoint>, path);
    QFETCH(QList<int>, sent);
    QFETCH(QRect, geometry);
    showWall(rectOf(wallRect));
    MirrorWidget *m = addMirror(rectOf(home), 3);
    select(m);
    hover(m, grab);
    press(m, grab);
    for (const QPoint &to : path)
        hover(wall.get(), to);
    QCOMPARE(m->geometry().size(), geometry.size());
    release(wall.get(), path.last());
    QCOMPARE(service->x86()->names(),
             (QStringList {"RequestLayout", "SetMirrorRect", "RequestLayout"}));
    QCOMPARE(service->x86()->last("SetMirrorRect").args.value(0).toInt(), 3);
    QCOMPARE(sentRect(service->x86()->last("SetMirrorRect")), sent);
    QCOMPARE(rectList(m->getMirrorRect()), sent);
    // Placed from the rectangle written back in units.
    wall->placeMirror(m);
    QCOMPARE(m->geometry(), geometry);
}

void TestX86Wall::layoutDuringADragKeepsTheMovedRectangle()
{
    showWall();
    MirrorWidget *m = addMirror(rc(0, 0, 800, 450), 0);
    press(m, QPoint(200, 100));
    hover(wall.get(), QPoint(300, 150));
    // The answer to the press's layout request arrives while the button is still held.
    addMirror(rc(0, 0, 800, 450), 0, 4, 1);
    QCOMPARE(m->getSplitCount(), 4);
    QCOMPARE(m->getLayer(), 1);
    release(wall.get(), QPoint(300, 150));
    QCOMPARE(sentRect(service->x86()->last("SetMirrorRect")), (QList<int> {200, 100, 1000, 550}));
    // Released: the next layout is taken as it comes.
    addMirror(rc(0, 0, 800, 450), 0, 4, 1);
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

void TestX86Wall::swapInConfigurationModeExchangesNumbers_data()
{
    QTest::addColumn<bool>("onWindow");
    QTest::newRow("dropped on a window") << true;
    QTest::newRow("dropped on the bare wall") << false;
}

void TestX86Wall::swapInConfigurationModeExchangesNumbers()
{
    QFETCH(bool, onWindow);
    // Three by two windows; without the last one its place is bare wall.
    const int count = onWindow ? 6 : 5;
    wall->setEditable(false);
    showWall(rc(0, 0, 1200, 900), count, 1);
    QList<MirrorWidget *> ms;
    for (int i = 0; i < count; ++i)
        ms << addMirror(rc((i % 3) * 400, (i / 3) * 450, (i % 3) * 400 + 400, (i / 3) * 450 + 450),
                        i);
    wall->setSwapMode(true);
    service->x86()->clear();

    MirrorWidget *dragged = ms.at(2); // shown as 3
    MirrorWidget *target = ms.at(4); // shown as 5
    const QPoint drop =
            dragged->mapFrom(wall.get(), onWindow ? target->geometry().center() : QPoint(666, 337));
    press(dragged, dragged->rect().center());
    QCOMPARE(wall->getCurrMirror(), dragged);
    hover(dragged, drop);
    if (onWindow)
        QCOMPARE(dragged->cursor().shape(), Qt::SizeAllCursor);
    QCOMPARE(dragged->geometry(), QRect(533, 0, 266, 225));
    release(dragged, drop);
    QCOMPARE(dragged->getIndex(), onWindow ? 4 : 2);
    QCOMPARE(target->getIndex(), onWindow ? 2 : 4);
    QCOMPARE(service->x86()->trace(),
             onWindow ? QStringList {"ExchangeMirrors(2,4)"} : QStringList());
    if (!onWindow)
        return;
    QVERIFY(target->isSelected());
    QVERIFY(!dragged->isSelected());
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
    showWall(rc(0, 0, 1600, 900), 2);
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

void TestX86Wall::layersStackOneOverTwoOverOthersAndAnyNumberPaints()
{
    showWall(rc(0, 0, 1600, 900), 3);
    MirrorWidget *top = addMirror(rc(0, 0, 800, 450), 0, 1, 1);
    MirrorWidget *middle = addMirror(rc(200, 0, 1000, 450), 1, 1, 2);
    MirrorWidget *bottom = addMirror(rc(400, 0, 1200, 450), 2, 1, 0);
    QCOMPARE(wall->childAt(QPoint(250, 100)), bottom);
    wall->raiseMirrorsByLayer();
    QCOMPARE(wall->childAt(QPoint(250, 100)), top);
    QCOMPARE(wall->childAt(QPoint(450, 100)), middle);
    QCOMPARE(wall->childAt(QPoint(550, 100)), bottom);

    // Shown 1-based: the largest index a matrix can send is one past int (the sanitizer
    // build fails this test if the number overflows). A layout may carry any split; the
    // window paints no more panes than the largest grid (6 x 6) instead of asking memory for
    // two thousand million of them.
    const int largest = std::numeric_limits<int>::max();
    MirrorWidget *m = addMirror(rc(0, 450, 800, 900), largest, largest);
    QVERIFY(m);
    QCOMPARE(m->grab().toImage().size(), m->size());
    QCOMPARE(m->getIndex(), largest);
    QCOMPARE(m->shownPaneNames().size(), 36);
}

void TestX86Wall::paintsBorderGridAndBackground_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("split");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("editable");
    QTest::newRow("400 x 250, 16 panes") << QSize(400, 250) << 16 << false << true;
    QTest::newRow("odd 317 x 121, 9 panes") << QSize(317, 121) << 9 << false << true;
    QTest::newRow("small 80 x 45, 4 panes") << QSize(80, 45) << 4 << false << true;
    QTest::newRow("smallest 10 x 10, 25 panes") << QSize(10, 10) << 25 << false << true;
    QTest::newRow("wide 1200 x 20, 36 panes") << QSize(1200, 20) << 36 << false << true;
    QTest::newRow("one pane") << QSize(400, 250) << 1 << false << true;
    QTest::newRow("selected, 9 panes") << QSize(400, 250) << 9 << true << true;
    QTest::newRow("configuration mode, 9 panes") << QSize(400, 250) << 9 << true << false;
}

void TestX86Wall::paintsBorderGridAndBackground()
{
    QFETCH(QSize, size);
    QFETCH(int, split);
    QFETCH(bool, selected);
    QFETCH(bool, editable);
    // Units equal to pixels: the window gets exactly this size.
    wall->setGeometry(100, 100, 800, 450);
    wall->setEditable(editable);
    wall->setLayoutInfo(rc(0, 0, 800, 450), 2, 0, 0, 1, 1);
    addMirror(rc(0, 0, 5, 5), 0);
    MirrorWidget *m = addMirror(rc(0, 0, size.width(), size.height()), 1, split);
    m->setSelected(selected);
    QCOMPARE(m->size(), size);
    const QImage painted = m->grab().toImage().convertToFormat(QImage::Format_RGB32);

    // What 1-pixel lines of the same colours draw, on the same background (an empty window's:
    // grey and hatched); a selected window's two-pixel frame is looked at once, on its left edge.
    const int right = size.width() - 1;
    const int bottom = size.height() - 1;
    QImage expected(size, QImage::Format_RGB32);
    expected.fill(selected ? QColor(52, 58, 64) : QColor(40, 45, 50));
    {
        QPainter p(&expected);
        p.fillRect(expected.rect(), QBrush(QColor(255, 255, 255, 18), Qt::BDiagPattern));
        p.setPen(QPen(QColor(161, 173, 173), 1));
        if (!selected)
            p.drawPolyline(QPolygon({{0, 0}, {right, 0}, {right, bottom}, {0, bottom}, {0, 0}}));
        const int n = editable ? int(std::sqrt(double(split))) : 1;
        p.setPen(QPen(QColor(200, 230, 245), 1));
        for (int k = 1; k < n; ++k) {
            p.drawLine(1, k * (size.height() / n), right, k * (size.height() / n));
            p.drawLine(k * (size.width() / n), 1, k * (size.width() / n), bottom - 1);
        }
    }
    if (selected)
        QCOMPARE(painted.pixelColor(1, size.height() / 2), QColor(72, 152, 179));
    // Every pixel except those the centred number may cover (and a selected frame).
    const QRect number(size.width() / 4, size.height() / 8, size.width() / 2,
                       size.height() * 3 / 4);
    const QRect compared =
            selected ? QRect(2, 2, size.width() - 5, size.height() - 5) : QRect(QPoint(0, 0), size);
    int differences = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            if (compared.contains(x, y) && !number.contains(x, y))
                differences += painted.pixel(x, y) != expected.pixel(x, y);
        }
    }
    QCOMPARE(differences, 0);
    QCOMPARE(wall->grab().toImage().pixelColor(790, 440), QColor(Qt::black));
}

QTEST_MAIN(TestX86Wall)
#include "tst_x86wall.moc"
