// Helpers shared by the benchmarks: walls of N windows, an X86 service stand-in that fires
// layouts from a thread of its own, resident memory, percentiles.
#pragma once

#include "IMatrixConfig.h"

#include <QRect>
#include <QSize>
#include <QVector>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace Bench {

// A layout of n windows (n a square: 16, 64, 256) on a wall of sqrt(n) × sqrt(n) screens of
// 1920 × 1080 units, every window on its own screen with the given split.
std::vector<char> makeLayout(int n, int split);
// Where the wall places those windows on a widget of the given size (the wall's own
// formula: matrix units scaled to pixels, truncated toward zero).
QVector<QRect> pixelRects(int n, const QSize &wallPixels);

// Resident memory of this process in kB (after returning freed heap to the system).
long residentKb();

// The q-quantile (0..1) of the samples, nearest rank.
double quantile(std::vector<double> samples, double q);

// An X86 matrix service that does nothing but call the layout callback, on a thread of its
// own, when asked to: as the real service does when a layout arrives from the network.
class LayoutFiringService : public IMatrixConfig
{
public:
    LayoutFiringService();
    ~LayoutFiringService() override;
    LayoutFiringService(const LayoutFiringService &) = delete;
    LayoutFiringService &operator=(const LayoutFiringService &) = delete;

    // Hands the layout to the service thread, which calls back with it; returns at once.
    void fire(std::vector<char> *layout);
    // Blocks until the callback of the last fire() has returned.
    void waitFired();

    int Connect(const char *, int) override { return 0; }
    int Disconnect() override { return 0; }
    int RegisterCallbacks(void *ctx, MatrixConnStatusCallback onConnectStatus,
                          MatrixInfoCallback onMatrixInfo, MatrixLayoutCallback onLayout,
                          MatrixCommandResultCallback onCommandResult,
                          MatrixReservedCallback onReserved5) override;
    int Login(const char *, const char *) override { return 0; }
    int ForceLogin() override { return 1; }
    int SetScreenCount(int, int) override { return 0; }
    int RequestLayout() override { return 0; }
    int ExchangeMirrors(int, int) override { return 0; }
    int SetConfigMode(bool) override { return 0; }
    int SetMonitorSplit(int, int) override { return 0; }
    int SetMonitorSources(int, const _ST_ChnInfo *, int) override { return 0; }
    int RegisterSourceCallbacks(void *, MatrixSourcesCallback, MatrixTurnStepCallback) override
    {
        return 0;
    }
    int Watch(const char *, const char *) override { return 0; }
    int SetMonitorTurnSources(int, const _ST_ChnInfo *, int, int) override { return 0; }
    int Probe(const char *, int, int) override { return 0; }
    int SelectMonitor(int) override { return 0; }
    int SetTurnState(int, int) override { return 0; }
    int ClearSource(int) override { return 0; }
    int ZoomMirrorAt(int, int, int) override { return 0; }
    int SetMirrorRect(int, RECT) override { return 0; }
    int SetClientName(const char *) override { return 0; }
    int GetOperators(MatrixOperatorRecord *, int, int *count) override
    {
        *count = 0;
        return 0;
    }
    int GetTakeover(MatrixOperatorRecord *) override { return MatrixErrFailed; }

private:
    void run();

    void *m_ctx = nullptr;
    MatrixLayoutCallback m_onLayout = nullptr;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<char> *m_pending = nullptr;
    bool m_busy = false;
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace Bench
