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
#include <QPainter>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !painted) {
            if (auto *mirror = qobject_cast<MirrorWidget *>(watched))
                painted = mirror->getIndex() == index;
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
                         &DigitalMatrixConfigSignals::signalSetMirrorEnd, page.get(),
                         [this] { ended = true; });
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
    for (auto _ : state) {
        nameEveryPane(rig.wall, sources, false);
        const Clock::time_point start = Clock::now();
        const bool placed = rig.ingest(&layout, n);
        state.SetIterationTime(secondsSince(start));
        if (!placed)
            state.SkipWithError("the wall did not place every window");
        rig.wall->clearData();
        QCoreApplication::processEvents();
    }
    state.counters["wall_width"] = rig.wall->width();
    state.counters["wall_height"] = rig.wall->height();
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
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        rig.wall->repaint();
        state.SetIterationTime(secondsSince(start));
    }
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

} // namespace

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
