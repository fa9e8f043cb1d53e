// What keeps the X86 page at the speed of the matrix: a flood of layouts is merged into the
// newest, and a turn step repaints only the window it concerns.
#include "DigitalMatrixConfigSignals.h"
#include "MatrixManageWidget.h"
#include "MirrorWidget.h"

#include "X86PageHarness.h"

#include <QSignalSpy>
#include <QtTest>

#include <thread>

using namespace LUMO_DIGITALMATRIX_MODULE;

namespace {

// Runs a service callback on a thread of its own, as the service's network thread does.
template<typename Callback>
void fromService(Callback callback)
{
    std::thread(callback).join();
}

// Counts the paint events of each window of a wall and the region of the wall painted.
class PaintCounter : public QObject
{
public:
    QMap<int, int> windowPaints;
    QRegion wallPainted;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            if (auto *mirror = qobject_cast<MirrorWidget *>(watched))
                ++windowPaints[mirror->getIndex()];
            else if (qobject_cast<MatrixManageWidget *>(watched))
                wallPainted += static_cast<QPaintEvent *>(event)->region();
        }
        return false;
    }
};

} // namespace

class TestPageSpeed : public QObject
{
    Q_OBJECT

private slots:
    void init() { h.start(); }
    void cleanup() { h.stop(); }
    void layoutFloodIsMergedInOrder();
    void turnStepRepaintsOnlyItsWindow();

private:
    X86PageHarness h;
};

void TestPageSpeed::layoutFloodIsMergedInOrder()
{
    h.loggedInWall();
    DigitalMatrixConfigSignals *hub = DigitalMatrixConfigSignals::instance();
    QSignalSpy applied(hub, &DigitalMatrixConfigSignals::signalCreateNewLayout);

    // The matrix sends layouts far faster than the page takes them: window 0 walks right.
    constexpr int Sent = 400;
    int mostWaiting = 0;
    for (int k = 1; k <= Sent; ++k) {
        QVector<_MIRRORINFO> windows = fourWindows();
        windows[0].rectB = rc(k, 0, 800 + k, 450);
        h.x86()->fireLayout(rc(0, 0, 1600, 900), windows);
        mostWaiting = qMax(mostWaiting, hub->waitingLayoutCount());
    }
    QCOMPARE(mostWaiting, 1);
    QTRY_COMPARE(rectList(h.wall()->mirrorByIndex(0)->getMirrorRect()),
                 QList<int>({Sent, 0, 800 + Sent, 450}));
    QCoreApplication::processEvents();
    QCOMPARE(applied.count(), 1);
    QCOMPARE(hub->waitingLayoutCount(), 0);

    // An event between two layouts keeps its place: the second layout says the turn show of
    // window 1 runs again after the step that paused it, and the page ends showing it running.
    applied.clear();
    h.x86()->fireLayout(rc(0, 0, 1600, 900), fourWindows());
    fromService([] { DigitalMatrixConfigSignals::onTurnStep(nullptr, 1, 2, 0, 2, 5); });
    QVector<_MIRRORINFO> running = fourWindows();
    running[1].mirrorParam5 = 1;
    h.x86()->fireLayout(rc(0, 0, 1600, 900), running);
    QTRY_COMPARE(applied.count(), 2);
    QCoreApplication::processEvents();
    QCOMPARE(h.wall()->mirrorByIndex(1)->getTurnState(), X86TurnState::Running);
    QVERIFY(h.wall()->mirrorByIndex(1)->badgeText().startsWith(QStringLiteral("Turning")));
}

void TestPageSpeed::turnStepRepaintsOnlyItsWindow()
{
    h.loggedInWall(true);
    for (int w = 0; w < 4; ++w) {
        _ST_ChnInfo channel {};
        qstrncpy(channel.channelName, QByteArray("Gate ") + QByteArray::number(w),
                 sizeof channel.channelName);
        channel.sequence = 1;
        fromService([&] { DigitalMatrixConfigSignals::onSources(nullptr, w, &channel, 1, 5); });
    }
    QTRY_COMPARE(h.wall()->mirrorByIndex(3)->shownPaneNames(), QStringList("Gate 3"));
    PaintCounter counter;
    qApp->installEventFilter(&counter);

    fromService([] { DigitalMatrixConfigSignals::onTurnStep(nullptr, 2, 1, 1, 3, 5); });
    QTRY_VERIFY(counter.windowPaints.value(2) > 0);
    qApp->removeEventFilter(&counter);
    QCOMPARE(h.wall()->mirrorByIndex(2)->badgeText(), QStringLiteral("Turning, every 5 s"));
    QCOMPARE(counter.windowPaints.keys(), QList<int>({2}));
    const QRect stepped = h.wall()->mirrorByIndex(2)->geometry();
    // Nothing of the wall beside that window is painted again.
    QVERIFY((counter.wallPainted - QRegion(stepped)).isEmpty());
}

QTEST_MAIN(TestPageSpeed)
#include "tst_pagespeed.moc"
