#include "BenchSupport.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <malloc.h>
#include <unistd.h>

namespace Bench {

namespace {

constexpr int ScreenWidth = 1920;
constexpr int ScreenHeight = 1080;

int side(int n)
{
    return int(std::lround(std::sqrt(double(n))));
}

} // namespace

std::vector<char> makeLayout(int n, int split)
{
    const int columns = side(n);
    const int rows = columns;
    std::vector<char> buffer(mirrorLayoutSize(n), 0);
    auto *layout = reinterpret_cast<_MIRRORLAYOUT *>(buffer.data());
    layout->wallRect = RECT {0, 0, columns * ScreenWidth, rows * ScreenHeight};
    layout->mirrorCount = n;
    layout->layoutParam1 = n;
    layout->layoutParam2 = 0;
    layout->layoutParam3 = rows;
    layout->layoutParam4 = columns;
    for (int k = 0; k < n; ++k) {
        const int left = (k % columns) * ScreenWidth;
        const int top = (k / columns) * ScreenHeight;
        _MIRRORINFO &m = layout->mirrors[k];
        m.rectA = RECT {left, top, left + ScreenWidth, top + ScreenHeight};
        m.rectB = m.rectA;
        m.mirrorParam1 = k;
        m.mirrorParam2 = split;
        m.mirrorParam3 = 0;
        m.mirrorParam4 = 0;
        m.mirrorParam5 = 0;
    }
    return buffer;
}

QVector<QRect> pixelRects(int n, const QSize &wallPixels)
{
    const int columns = side(n);
    const double sx = double(wallPixels.width()) / (columns * ScreenWidth);
    const double sy = double(wallPixels.height()) / (columns * ScreenHeight);
    QVector<QRect> rects;
    rects.reserve(n);
    for (int k = 0; k < n; ++k) {
        const int left = (k % columns) * ScreenWidth;
        const int top = (k / columns) * ScreenHeight;
        rects.append(QRect(int(left * sx), int(top * sy), int(ScreenWidth * sx),
                           int(ScreenHeight * sy)));
    }
    return rects;
}

long residentKb()
{
    malloc_trim(0);
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().simplified().split(' ');
    if (fields.size() < 2)
        return -1;
    return fields.at(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024);
}

double quantile(std::vector<double> samples, double q)
{
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const size_t rank = size_t(std::ceil(q * double(samples.size())));
    return samples[std::min(samples.size() - 1, rank > 0 ? rank - 1 : 0)];
}

LayoutFiringService::LayoutFiringService()
    : m_thread([this] { run(); })
{ }

LayoutFiringService::~LayoutFiringService()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

int LayoutFiringService::RegisterCallbacks(void *ctx, MatrixConnStatusCallback, MatrixInfoCallback,
                                           MatrixLayoutCallback onLayout,
                                           MatrixCommandResultCallback, MatrixReservedCallback)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_ctx = ctx;
    m_onLayout = onLayout;
    return 0;
}

void LayoutFiringService::fire(std::vector<char> *layout)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_pending = layout;
        m_busy = true;
    }
    m_wake.notify_all();
}

void LayoutFiringService::waitFired()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_wake.wait(lock, [this] { return !m_busy; });
}

void LayoutFiringService::run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || m_pending; });
        if (m_stop)
            return;
        std::vector<char> *layout = m_pending;
        m_pending = nullptr;
        MatrixLayoutCallback callback = m_onLayout;
        void *ctx = m_ctx;
        lock.unlock();
        if (callback)
            callback(ctx, reinterpret_cast<_MIRRORLAYOUT *>(layout->data()));
        lock.lock();
        m_busy = false;
        m_wake.notify_all();
    }
}

} // namespace Bench
