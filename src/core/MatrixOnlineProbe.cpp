#include "MatrixOnlineProbe.h"

#include "MatrixServiceTypes.h"

#include <QPainter>
#include <QPixmap>
#include <QRunnable>

#include <utility>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {
// Servers a page keeps, twice over: a probe never waits for another server's.
constexpr int ProbeThreads = 10;
constexpr int MarkSize = 12;
} // namespace

MatrixOnlineProbe::MatrixOnlineProbe(Probe probe, QObject *parent)
    : QObject(parent)
    , probe(std::move(probe))
{
    pool.setMaxThreadCount(ProbeThreads);
    timer.setInterval(IntervalMs);
    connect(&timer, &QTimer::timeout, this, &MatrixOnlineProbe::probeAll);
}

MatrixOnlineProbe::~MatrixOnlineProbe()
{
    timer.stop();
    pool.clear();
    pool.waitForDone();
}

void MatrixOnlineProbe::setInterval(int ms)
{
    timer.setInterval(qMax(1, ms));
}

void MatrixOnlineProbe::setServer(const QString &id, const QString &ip, int port)
{
    if (id.isEmpty())
        return;
    auto found = servers.find(id);
    if (found != servers.end() && found->ip == ip && found->port == port)
        return;
    Server server;
    server.ip = ip;
    server.port = port;
    server.generation = ++lastGeneration;
    if (found != servers.end())
        found->dropped->store(true);
    const bool known = found != servers.end() && found->state != Online::Unknown;
    // A probe of the old address still under way counts: one at a time per server.
    server.probing = found != servers.end() && found->probing;
    servers.insert(id, server);
    if (known)
        emit stateChanged(id, Online::Unknown);
    if (isRunning())
        probeAll();
}

void MatrixOnlineProbe::removeServer(const QString &id)
{
    auto found = servers.find(id);
    if (found == servers.end())
        return;
    found->dropped->store(true);
    servers.erase(found);
}

void MatrixOnlineProbe::retainServers(const QStringList &ids)
{
    for (auto it = servers.begin(); it != servers.end();) {
        if (ids.contains(it.key())) {
            ++it;
        } else {
            it->dropped->store(true);
            it = servers.erase(it);
        }
    }
}

void MatrixOnlineProbe::clearServers()
{
    for (const Server &server : qAsConst(servers))
        server.dropped->store(true);
    servers.clear();
}

void MatrixOnlineProbe::start()
{
    if (!isRunning())
        timer.start();
    probeAll();
}

void MatrixOnlineProbe::stop()
{
    timer.stop();
}

MatrixOnlineProbe::Online MatrixOnlineProbe::state(const QString &id) const
{
    return servers.value(id).state;
}

MatrixOnlineProbe::Online MatrixOnlineProbe::fromResult(int result)
{
    switch (result) {
    case 0:
        return Online::Online;
    case MatrixErrBusy:
        return Online::Busy;
    case MatrixErrTimeout:
    case MatrixErrProtocol:
        return Online::Silent;
    default:
        return Online::Offline;
    }
}

QIcon MatrixOnlineProbe::icon(Online state) const
{
    QIcon &drawn = icons[int(state)];
    if (!drawn.isNull() || state == Online::Unknown)
        return drawn;
    QColor colour;
    switch (state) {
    case Online::Online:
        colour = QColor(0x2e, 0xb8, 0x5c);
        break;
    case Online::Busy:
        colour = QColor(0xf0, 0xa0, 0x20);
        break;
    case Online::Offline:
        colour = QColor(0xd9, 0x3f, 0x3f);
        break;
    case Online::Silent:
        colour = QColor(0x8c, 0x8c, 0x8c);
        break;
    case Online::Unknown:
        return QIcon();
    }
    QPixmap mark(MarkSize, MarkSize);
    mark.fill(Qt::transparent);
    QPainter painter(&mark);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(1, 1, MarkSize - 2, MarkSize - 2);
    painter.end();
    drawn = QIcon(mark);
    return drawn;
}

QString MatrixOnlineProbe::toolTip(Online state)
{
    switch (state) {
    case Online::Online:
        return tr("Online: the matrix answers.");
    case Online::Busy:
        return tr("Busy: the matrix answers but takes no connection now (restarting or full).");
    case Online::Offline:
        return tr("Offline: nothing answers at this address.");
    case Online::Silent:
        return tr("Not answering: the matrix takes the connection but does not answer.");
    case Online::Unknown:
        break;
    }
    return tr("Not probed yet.");
}

void MatrixOnlineProbe::probeAll()
{
    for (auto it = servers.begin(); it != servers.end(); ++it)
        probeOne(it.key(), it.value());
}

void MatrixOnlineProbe::probeServer(const QString &id)
{
    auto found = servers.find(id);
    if (found != servers.end())
        probeOne(id, found.value());
}

void MatrixOnlineProbe::probeOne(const QString &id, Server &server)
{
    if (server.probing)
        return;
    server.probing = true;
    const QString ip = server.ip;
    const int port = server.port;
    const quint64 generation = server.generation;
    const int timeout = timeoutMs;
    const Probe work = probe;
    const std::shared_ptr<std::atomic_bool> dropped = server.dropped;
    // The destructor waits for the pool, so this object outlives every runnable.
    pool.start(QRunnable::create([this, work, id, ip, port, timeout, generation, dropped] {
        const int result = work && !dropped->load() ? work(ip, port, timeout)
                                                    : MatrixErrNotConnected;
        QMetaObject::invokeMethod(
                this, [this, id, generation, result] { finishProbe(id, generation, result); },
                Qt::QueuedConnection);
    }));
}

void MatrixOnlineProbe::finishProbe(const QString &id, quint64 generation, int result)
{
    auto found = servers.find(id);
    if (found == servers.end())
        return; // the server went while it was probed
    found->probing = false;
    if (found->generation != generation)
        return; // it moved: the old address's answer says nothing
    const Online now = fromResult(result);
    if (now != found->state) {
        found->state = now;
        emit stateChanged(id, now);
    }
    emit probed(id, now);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
