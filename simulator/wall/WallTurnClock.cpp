#include "WallTurnClock.h"

void WallTurnClock::update(const QString &key, const QByteArray &signature, bool running,
                           qint64 nowMs)
{
    Show &show = m_shows[key];
    show.touched = true;
    if (show.signature != signature) {
        show.signature = signature;
        show.accumulated = 0;
        show.runningSince = running ? nowMs : -1;
        return;
    }
    if (running && show.runningSince < 0) {
        show.runningSince = nowMs;
    } else if (!running && show.runningSince >= 0) {
        show.accumulated += qMax<qint64>(0, nowMs - show.runningSince);
        show.runningSince = -1;
    }
}

qint64 WallTurnClock::elapsed(const QString &key, qint64 nowMs) const
{
    const auto it = m_shows.constFind(key);
    if (it == m_shows.constEnd())
        return 0;
    qint64 total = it->accumulated;
    if (it->runningSince >= 0)
        total += qMax<qint64>(0, nowMs - it->runningSince);
    return total;
}

int WallTurnClock::page(const QString &key, int pages, int intervalSeconds, qint64 nowMs) const
{
    if (pages <= 1 || intervalSeconds <= 0)
        return 0;
    const qint64 steps = elapsed(key, nowMs) / (qint64(intervalSeconds) * 1000);
    return int(steps % pages);
}

void WallTurnClock::dropStale()
{
    for (auto it = m_shows.begin(); it != m_shows.end();) {
        if (!it->touched) {
            it = m_shows.erase(it);
        } else {
            it->touched = false;
            ++it;
        }
    }
}
