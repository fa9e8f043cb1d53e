// The X86 wall: a layout of N windows arriving from the service's thread until the wall has
// placed every window and painted once, and repainting a wall of N windows; each against
// a floor of plain Qt work of the same size measured in the same run.
#include "BenchSupport.h"

#include "DigitalMatrix.h"
#include "DigitalMatrixConfigSignals.h"
#include "DigitalMatrixInteractionPort.h"
#include "MatrixManageWidget.h"
#include "MirrorWidget.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

using namespace LUMO_DIGITALMATRIX_MODULE;

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Notes the first paint of the window with a given index.
class PaintWatcher : public QObject
{
public:
    int index = -1;
    bool painted = false;
    // Paint events of any window.
    long paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            if (auto *mirror = qobject_cast<MirrorWidget *>(watched)) {
                ++paints;
                painted = painted || mirror->getIndex() == index;
            }
        }
        return false;
    }
};

// Channel records for every pane of n windows of a split: what the matrix reports on air.
std::vector<QVector<_ST_ChnInfo>> namedSources(int n, int split)
{
    std::vector<QVector<_ST_ChnInfo>> sources(static_cast<std::size_t>(n));
    for (int w = 0; w < n; ++w) {
        for (int k = 1; k <= split; ++k) {
            _ST_ChnInfo record {};
            qstrncpy(record.channelName,
                     QStringLiteral("Camera %1-%2 east entrance").arg(w + 1).arg(k).toLatin1(),
                     sizeof record.channelName);
            record.sequence = k;
            sources[std::size_t(w)].append(record);
        }
    }
    return sources;
}

// Every window of the wall gets its names and, with turning, a running turn show's badge.
void nameEveryPane(MatrixManageWidget *wall, const std::vector<QVector<_ST_ChnInfo>> &sources,
                   bool turning)
{
    for (int w = 0; w < int(sources.size()); ++w) {
        wall->setWindowSources(w, sources[std::size_t(w)], turning ? 10 : 0);
        if (turning)
            wall->setWindowTurnStep(w, X86TurnState::Running, 0, 2, 10);
    }
}

// The X86 page on a service stand-in that fires layouts from its own thread.
class IngestRig
{
public:
    IngestRig()
    {
        DigitalMatrixInteractionPort::release();
        DigitalMatrixInteractionPort::ServiceFactory factory;
        factory.createX86 = [this] { return &service; };
        factory.releaseX86 = [](IMatrixConfig *) {};
        DigitalMatrixInteractionPort::setServiceFactory(factory);
        DigitalMatrixInteractionPort::instance();
        page = std::make_unique<DigitalMatrix>();
        page->setGeometry(0, 0, 1280, 760);
        page->show();
        exposed = QTest::qWaitForWindowExposed(page.get());
        wall = page->findChild<MatrixManageWidget *>();
        QObject::connect(DigitalMatrixConfigSignals::instance(),
                         &DigitalMatrixConfigSignals::signalSetMirrorEnd, page.get(), [this] {
                             ended = true;
                             handled = Clock::now();
                         });
        // When the layout reaches the user-interface thread: what the crossing from the
        // service's thread costs, apart from the page's and the wall's work.
        QObject::connect(DigitalMatrixConfigSignals::instance(),
                         &DigitalMatrixConfigSignals::signalCreateNewLayout, page.get(),
                         [this] { arrived = Clock::now(); });
        qApp->installEventFilter(&watcher);
    }
    ~IngestRig()
    {
        qApp->removeEventFilter(&watcher);
        page.reset();
        DigitalMatrixInteractionPort::release();
        DigitalMatrixInteractionPort::resetServiceFactory();
    }

    // Fires the layout and runs the event loop until the page has handled the end of the
    // layout and the last window has been painted (the page paints through the event loop,
    // as it does for an operator).
    bool ingest(std::vector<char> *layout, int n)
    {
        ended = false;
        watcher.index = n - 1;
        watcher.painted = false;
        service.fire(layout);
        while (!ended || !watcher.painted)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        service.waitFired();
        return wall->getMirrors().size() == n && wall->getMirrors().constLast()->isVisible();
    }

    Bench::LayoutFiringService service;
    PaintWatcher watcher;
    std::unique_ptr<DigitalMatrix> page;
    MatrixManageWidget *wall = nullptr;
    bool exposed = false;
    bool ended = false;
    Clock::time_point arrived;
    Clock::time_point handled; // the page has placed every window
};

void BM_LayoutIngest(benchmark::State &state)
{
    const int n = int(state.range(0));
    IngestRig rig;
    std::vector<char> layout = Bench::makeLayout(n, 1);
    // Every pane named, as the matrix reports the sources before the wall draws them.
    const std::vector<QVector<_ST_ChnInfo>> sources = namedSources(n, 1);
    nameEveryPane(rig.wall, sources, false);
    if (!rig.exposed || !rig.ingest(&layout, n)) { // warm-up: fonts, forms, glyphs
        state.SkipWithError("the page is not shown");
        return;
    }
    rig.wall->clearData();
    double crossing = 0;
    double placing = 0;
    for (auto _ : state) {
        nameEveryPane(rig.wall, sources, false);
        const Clock::time_point start = Clock::now();
        const bool placed = rig.ingest(&layout, n);
        state.SetIterationTime(secondsSince(start));
        crossing += std::chrono::duration<double>(rig.arrived - start).count();
        placing += std::chrono::duration<double>(rig.handled - rig.arrived).count();
        if (!placed)
            state.SkipWithError("the wall did not place every window");
        rig.wall->clearData();
        QCoreApplication::processEvents();
    }
    state.counters["wall_width"] = rig.wall->width();
    state.counters["wall_height"] = rig.wall->height();
    state.counters["crossing_ms"] =
            benchmark::Counter(crossing * 1000, benchmark::Counter::kAvgIterations);
    state.counters["placing_ms"] =
            benchmark::Counter(placing * 1000, benchmark::Counter::kAvgIterations);
}

// Floor: N bare child widgets of the same sizes, created, placed, shown and painted once.
void BM_LayoutIngestFloor(benchmark::State &state)
{
    const int n = int(state.range(0));
    IngestRig sizeOnly; // the same page, only for the wall's size
    const QSize wallSize = sizeOnly.wall->size();
    const QVector<QRect> rects = Bench::pixelRects(n, wallSize);
    QWidget parent;
    parent.setGeometry(0, 0, wallSize.width(), wallSize.height());
    parent.show();
    if (!QTest::qWaitForWindowExposed(&parent)) {
        state.SkipWithError("the widget is not shown");
        return;
    }
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        for (const QRect &rect : rects) {
            auto *child = new QWidget(&parent);
            child->setAutoFillBackground(true);
            child->setGeometry(rect);
            child->show();
        }
        parent.repaint();
        state.SetIterationTime(secondsSince(start));
        qDeleteAll(parent.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly));
        QCoreApplication::processEvents();
    }
}

void BM_WallRepaint(benchmark::State &state)
{
    const int n = int(state.range(0));
    IngestRig rig;
    std::vector<char> layout = Bench::makeLayout(n, 16);
    if (!rig.ingest(&layout, n)) {
        state.SkipWithError("the wall did not place every window");
        return;
    }
    // The first window is the selected one; every window shows its number, 16 named panes
    // and the badge of a running turn show.
    nameEveryPane(rig.wall, namedSources(n, 16), true);
    QCoreApplication::processEvents();
    if (!rig.wall->getCurrMirror() || !rig.wall->getCurrMirror()->isSelected()) {
        state.SkipWithError("no window is selected");
        return;
    }
    rig.watcher.paints = 0;
    // The windows are opaque: Qt repaints a window only when it is asked to (the wall behind
    // them is never painted again), so every window is asked, then the wall painted at once.
    const QList<MirrorWidget *> windows = rig.wall->getMirrors();
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        for (MirrorWidget *window : windows)
            window->update();
        rig.wall->repaint();
        state.SetIterationTime(secondsSince(start));
    }
    // Every window is painted on every frame.
    state.counters["window_paints_per_frame"] =
            double(rig.watcher.paints) / double(state.iterations());
}

// Floor: the same N rectangles filled with QPainter on a widget of the wall's size.
class RectanglesWidget : public QWidget
{
public:
    QVector<QRect> rects;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        for (const QRect &r : qAsConst(rects))
            painter.fillRect(r, QColor(10, 10, 10));
    }
};

void BM_WallRepaintFloor(benchmark::State &state)
{
    const int n = int(state.range(0));
    IngestRig sizeOnly;
    const QSize wallSize = sizeOnly.wall->size();
    RectanglesWidget widget;
    widget.rects = Bench::pixelRects(n, wallSize);
    widget.setGeometry(0, 0, wallSize.width(), wallSize.height());
    widget.show();
    if (!QTest::qWaitForWindowExposed(&widget)) {
        state.SkipWithError("the widget is not shown");
        return;
    }
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        widget.repaint();
        state.SetIterationTime(secondsSince(start));
    }
}

// Moving one window across a wall of 256 named windows with the mouse, 4 pixels a move:
// each frame runs from the move event to the wall painted (the event loop has run the repaint
// the move asked for). The median and the 90th percentile of the frames are reported.
void BM_WindowDrag(benchmark::State &state)
{
    constexpr int N = 256;
    IngestRig rig;
    std::vector<char> layout = Bench::makeLayout(N, 1);
    nameEveryPane(rig.wall, namedSources(N, 1), false);
    if (!rig.exposed || !rig.ingest(&layout, N)) {
        state.SkipWithError("the wall did not place every window");
        return;
    }
    QCoreApplication::processEvents();
    MirrorWidget *mirror = rig.wall->mirrorByIndex(0);
    const QPoint wallOrigin = rig.wall->mapToGlobal(QPoint(0, 0));
    QPoint at = mirror->geometry().center();
    mirror->setDragZone(MirrorWidget::ZoneInside);
    QMouseEvent press(QEvent::MouseButtonPress, mirror->mapFrom(rig.wall, at), wallOrigin + at,
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(mirror, &press);
    QCoreApplication::processEvents();
    std::vector<double> micros;
    int step = 4;
    long travelled = 0;
    rig.watcher.paints = 0;
    for (auto _ : state) {
        const int before = mirror->x();
        if (at.x() + step >= rig.wall->width() - mirror->width() / 2 || at.x() + step <= 0)
            step = -step;
        at.rx() += step;
        const Clock::time_point start = Clock::now();
        QMouseEvent move(QEvent::MouseMove, mirror->mapFrom(rig.wall, at), wallOrigin + at,
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(mirror, &move);
        QCoreApplication::processEvents();
        const double seconds = secondsSince(start);
        state.SetIterationTime(seconds);
        micros.push_back(seconds * 1e6);
        travelled += std::abs(mirror->x() - before);
    }
    state.counters["p50_us"] = Bench::quantile(micros, 0.5);
    state.counters["p90_us"] = Bench::quantile(micros, 0.9);
    // The window really moved with the mouse (pixels per move), and what was painted.
    state.counters["pixels_per_move"] = double(travelled) / double(state.iterations());
    state.counters["window_paints_per_move"] =
            double(rig.watcher.paints) / double(state.iterations());
    if (travelled == 0)
        state.SkipWithError("the window did not follow the mouse");
}

// Floor: one of 256 bare child widgets of the same sizes moved by 4 pixels, then the event
// loop runs the repaint.
void BM_WindowDragFloor(benchmark::State &state)
{
    constexpr int N = 256;
    IngestRig sizeOnly;
    const QSize wallSize = sizeOnly.wall->size();
    QWidget parent;
    parent.setGeometry(0, 0, wallSize.width(), wallSize.height());
    QWidget *moved = nullptr;
    for (const QRect &rect : Bench::pixelRects(N, wallSize)) {
        auto *child = new QWidget(&parent);
        child->setAutoFillBackground(true);
        child->setGeometry(rect);
        moved = moved ? moved : child;
    }
    parent.show();
    if (!QTest::qWaitForWindowExposed(&parent)) {
        state.SkipWithError("the widget is not shown");
        return;
    }
    moved->raise();
    std::vector<double> micros;
    int step = 4;
    for (auto _ : state) {
        if (moved->x() + step >= wallSize.width() - moved->width() || moved->x() + step <= 0)
            step = -step;
        const Clock::time_point start = Clock::now();
        moved->move(moved->x() + step, moved->y());
        QCoreApplication::processEvents();
        const double seconds = secondsSince(start);
        state.SetIterationTime(seconds);
        micros.push_back(seconds * 1e6);
    }
    state.counters["p50_us"] = Bench::quantile(micros, 0.5);
    state.counters["p90_us"] = Bench::quantile(micros, 0.9);
}

// A matrix flooding the page with 64-window layouts from the service's thread for the given
// milliseconds, as fast as the callback returns, window 0 moving with every layout. The page
// runs its event loop meanwhile. Reported: layouts sent and applied by the page, resident
// memory before and at its peak, and how long after the last layout the page showed it.
void BM_LayoutFlood(benchmark::State &state)
{
    constexpr int N = 64;
    const auto floodFor = std::chrono::milliseconds(state.range(0));
    IngestRig rig;
    std::vector<char> first = Bench::makeLayout(N, 1);
    nameEveryPane(rig.wall, namedSources(N, 1), false);
    if (!rig.exposed || !rig.ingest(&first, N)) {
        state.SkipWithError("the wall did not place every window");
        return;
    }
    long applied = 0;
    QObject::connect(DigitalMatrixConfigSignals::instance(),
                     &DigitalMatrixConfigSignals::signalCreateNewLayout, rig.page.get(),
                     [&applied] { ++applied; });
    for (auto _ : state) {
        applied = 0;
        const long startKb = Bench::residentKb();
        long peakKb = startKb;
        std::atomic<bool> done {false};
        std::atomic<long> sent {0};
        int lastLeft = 0;
        Clock::time_point lastSentAt;
        std::thread flood([&] {
            std::vector<char> layout = Bench::makeLayout(N, 1);
            auto *l = reinterpret_cast<_MIRRORLAYOUT *>(layout.data());
            const Clock::time_point until = Clock::now() + floodFor;
            long k = 0;
            while (Clock::now() < until) {
                ++k;
                l->mirrors[0].rectB.left = int(k % 1000);
                l->mirrors[0].rectB.right = l->mirrors[0].rectB.left + 1920;
                DigitalMatrixConfigSignals::onLayout(nullptr, l);
            }
            lastLeft = int(k % 1000);
            sent = k;
            lastSentAt = Clock::now();
            done = true;
        });
        Clock::time_point sampled = Clock::now();
        while (!done) {
            QCoreApplication::processEvents();
            if (Clock::now() - sampled > std::chrono::milliseconds(100)) {
                peakKb = std::max(peakKb, Bench::residentKb());
                sampled = Clock::now();
            }
        }
        flood.join();
        while (rig.wall->mirrorByIndex(0)->getMirrorRect().left != lastLeft
               || DigitalMatrixConfigSignals::instance()->waitingLayoutCount() > 0)
            QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        const double lag = secondsSince(lastSentAt);
        state.SetIterationTime(lag);
        peakKb = std::max(peakKb, Bench::residentKb());
        state.counters["sent"] = double(sent);
        state.counters["applied"] = double(applied);
        state.counters["rss_start_kb"] = double(startKb);
        state.counters["rss_peak_kb"] = double(peakKb);
        state.counters["lag_ms"] = lag * 1e3;
    }
}

} // namespace

BENCHMARK(BM_WindowDrag)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(600)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
BENCHMARK(BM_WindowDragFloor)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(600)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
BENCHMARK(BM_LayoutFlood)
        ->Arg(3000)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
BENCHMARK(BM_LayoutIngest)
        ->Arg(16)
        ->Arg(64)
        ->Arg(256)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(40)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
BENCHMARK(BM_LayoutIngestFloor)
        ->Arg(16)
        ->Arg(64)
        ->Arg(256)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(40)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
BENCHMARK(BM_WallRepaint)
        ->Arg(16)
        ->Arg(64)
        ->Arg(256)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(100)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
BENCHMARK(BM_WallRepaintFloor)
        ->Arg(16)
        ->Arg(64)
        ->Arg(256)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(100)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
