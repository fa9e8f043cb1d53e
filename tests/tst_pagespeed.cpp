// A flood of layouts is merged in order with other events; a turn step repaints its window.
#include "DigitalMatrixConfigSignals.h"
#include "MatrixManageWidget.h"
#include "MirrorWidget.h"
#include "X86PageHarness.h"

#include <QtTest>

#include <thread>

using namespace LUMO_DIGITALMATRIX_MODULE;
using Hub = DigitalMatrixConfigSignals;

// Paint events per window, and the region of the wall painted.
class PaintCounter : public QObject
{
public:
    QMap<int, int> windows;
    QRegion wall;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *mirror = qobject_cast<MirrorWidget *>(watched);
        if (event->type() == QEvent::Paint && mirror)
            ++windows[mirror->getIndex()];
        else if (event->type() == QEvent::Paint && qobject_cast<MatrixManageWidget *>(watched))
            wall += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
};

class TestPageSpeed : public QObject
{
    Q_OBJECT

private slots:
    void floodOfLayoutsThenATurnStep()
    {
        X86PageHarness h;
        h.start();
        h.loggedInWall(true);
        QSignalSpy applied(Hub::instance(), &Hub::signalCreateNewLayout);
        // The matrix sends layouts far faster than the page takes them: window 0 walks right.
        for (int k = 1; k <= 400; ++k) {
            QVector<_MIRRORINFO> windows = fourWindows();
            windows[0].rectB = rc(k, 0, 800 + k, 450);
            h.x86()->fireLayout(rc(0, 0, 1600, 900), windows);
        }
        QTRY_COMPARE(rectList(h.wall()->mirrorByIndex(0)->getMirrorRect()),
                     QList<int>({400, 0, 1200, 450}));
        QCOMPARE(applied.count(), 1);

        // A step between two layouts keeps its place: the later layout (window 1 runs) wins.
        h.x86()->fireLayout(rc(0, 0, 1600, 900), fourWindows());
        QVector<_MIRRORINFO> running = fourWindows();
        running[1].mirrorParam5 = 1;
        std::thread([] { Hub::onTurnStep(nullptr, 1, 2, 0, 2, 5); }).join();
        h.x86()->fireLayout(rc(0, 0, 1600, 900), running);
        QTRY_COMPARE(applied.count(), 3);
        QCOMPARE(h.wall()->mirrorByIndex(1)->getTurnState(), X86TurnState::Running);

        // A step of window 2 repaints that window and nothing else of the wall.
        QCoreApplication::processEvents();
        PaintCounter counter;
        qApp->installEventFilter(&counter);
        std::thread([] { Hub::onTurnStep(nullptr, 2, 1, 1, 3, 5); }).join();
        QTRY_VERIFY(counter.windows.value(2) > 0);
        QCOMPARE(counter.windows.keys(), QList<int>({2}));
        QVERIFY((counter.wall - QRegion(h.wall()->mirrorByIndex(2)->geometry())).isEmpty());
        // A layout that changes nothing paints nothing.
        counter.windows.clear(), counter.wall = QRegion();
        running[2].mirrorParam5 = 1;
        h.fireLayout(running);
        QCoreApplication::processEvents();
        QVERIFY(counter.windows.isEmpty() && counter.wall.isEmpty());
    }
};

QTEST_MAIN(TestPageSpeed)
#include "tst_pagespeed.moc"
