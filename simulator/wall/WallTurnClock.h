// How long each turn show of a wall has been running, as a person watching the wall sees it.
// The matrix keeps only a show's state and interval; the wall steps through the channels by
// itself, so the clock starts when a show starts running, freezes while it is paused and
// starts over when the show gets new channels or a new interval.
#pragma once

#include <QHash>
#include <QString>
#include <QtGlobal>

class WallTurnClock
{
public:
    // Tells the clock what a show looks like now. signature identifies its channels, split
    // and interval; a different signature starts the show over.
    void update(const QString &key, const QByteArray &signature, bool running, qint64 nowMs);
    // Milliseconds the show has run (paused time not counted); 0 for an unknown key.
    qint64 elapsed(const QString &key, qint64 nowMs) const;
    // The page a show with this many pages shows now, stepping every intervalSeconds.
    int page(const QString &key, int pages, int intervalSeconds, qint64 nowMs) const;
    // Forgets shows that were not updated since the last call.
    void dropStale();

private:
    struct Show
    {
        QByteArray signature;
        qint64 runningSince = -1;
        qint64 accumulated = 0;
        bool touched = false;
    };
    QHash<QString, Show> m_shows;
};
