#pragma once

#include "digitalmatrix_export.h"

#include <QIcon>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>

namespace LUMO_DIGITALMATRIX_MODULE {

// Whether each server of a list answers, without widgets: every few seconds while running,
// a probe (a connection and its handshake, no login) per server on a thread of its own, at
// most one per server at a time, so a matrix that never answers costs the caller nothing.
class DIGITALMATRIX_EXPORT MatrixOnlineProbe : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(MatrixOnlineProbe)

public:
    enum class Online {
        Unknown, // not probed yet
        Online, // the matrix welcomed the probe
        Busy, // it answered but takes no connection now (restarting, full)
        Offline, // nothing takes the connection
        Silent, // the connection is taken, the answer does not come
    };
    Q_ENUM(Online)

    static constexpr int IntervalMs = 5000;
    static constexpr int TimeoutMs = 2000;

    // Blocks its thread at most timeoutMs; 0 or the service's error.
    using Probe = std::function<int(const QString &ip, int port, int timeoutMs)>;

    explicit MatrixOnlineProbe(Probe probe, QObject *parent = nullptr);
    // Waits for the probes under way (each ends within its time-out).
    ~MatrixOnlineProbe() override;

    void setInterval(int ms);
    void setTimeout(int ms) { timeoutMs = qMax(1, ms); }

    // The servers to probe; a server whose address changed is unknown again.
    void setServer(const QString &id, const QString &ip, int port);
    void removeServer(const QString &id);
    // Forgets every server but these.
    void retainServers(const QStringList &ids);
    void clearServers();

    // Probes every server now and then every interval, until stop().
    void start();
    void stop();
    // Probes this server now, unless a probe of it is under way; probed() follows.
    void probeServer(const QString &id);
    bool isRunning() const { return timer.isActive(); }

    Online state(const QString &id) const;
    static Online fromResult(int result);
    // How a list shows a state: a coloured mark and a sentence. The mark is drawn once per
    // probe object and shared: a page sets it on its buttons after every probe, and a new
    // icon each time would fill Qt's pixmap cache with renderings of marks long gone.
    QIcon icon(Online state) const;
    static QString toolTip(Online state);

signals:
    void stateChanged(const QString &id, MatrixOnlineProbe::Online state);
    // Every probe's end, changed or not.
    void probed(const QString &id, MatrixOnlineProbe::Online state);

private:
    struct Server
    {
        QString ip;
        int port = 0;
        Online state = Online::Unknown;
        bool probing = false;
        quint64 generation = 0;
        // Set when the server goes or moves: its probe still waiting for a thread does not
        // knock at the old address (a pool full of them would keep every new one waiting).
        std::shared_ptr<std::atomic_bool> dropped = std::make_shared<std::atomic_bool>(false);
    };
    void probeAll();
    void probeOne(const QString &id, Server &server);
    void finishProbe(const QString &id, quint64 generation, int result);

    Probe probe;
    mutable QIcon icons[int(Online::Silent) + 1];
    QMap<QString, Server> servers;
    QTimer timer;
    QThreadPool pool;
    int timeoutMs = TimeoutMs;
    quint64 lastGeneration = 0;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
