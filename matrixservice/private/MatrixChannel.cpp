#include "MatrixChannel.h"

#include "ChannelThread.h"
#include "ClientConnection.h"
#include "FrameDecoder.h"
#include "MatrixServiceTypes.h"
#include "ServiceLogging.h"

#include <QMetaObject>
#include <QTimer>

#include <chrono>
#include <future>
#include <iterator>
#include <vector>

namespace MatrixService {

using namespace MatrixProtocol;

// Counts a caller inside a blocking call, so that shutting down can wait for it to leave.
class MatrixChannel::CallGuard
{
public:
    explicit CallGuard(MatrixChannel *channel)
        : m_channel(channel)
    {
        std::lock_guard<std::mutex> lock(m_channel->m_mutex);
        m_entered = !m_channel->m_stopping;
        if (m_entered)
            ++m_channel->m_activeCalls;
    }
    ~CallGuard()
    {
        if (!m_entered)
            return;
        std::lock_guard<std::mutex> lock(m_channel->m_mutex);
        --m_channel->m_activeCalls;
        m_channel->m_condition.notify_all();
    }
    CallGuard(const CallGuard &) = delete;
    CallGuard &operator=(const CallGuard &) = delete;

    bool entered() const { return m_entered; }

private:
    MatrixChannel *const m_channel;
    bool m_entered = false;
};

MatrixChannel::MatrixChannel(Role role, ChannelListener *listener, const ClientTimeouts &timeouts)
    : m_listener(listener)
    , m_timeouts(timeouts)
    , m_thread(std::make_unique<ChannelThread>(this, role, timeouts.connectMs))
{
    m_thread->startAndWait();
}

MatrixChannel::~MatrixChannel()
{
    shutdown();
}

bool MatrixChannel::onNetworkThread() const
{
    return QThread::currentThread() == m_thread.get();
}

void MatrixChannel::shutdown()
{
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_stopping = true;
        for (auto &entry : m_pending) {
            if (!entry.second->done) {
                entry.second->done = true;
                entry.second->result = MatrixErrNotConnected;
            }
        }
        m_condition.notify_all();
        if (!onNetworkThread())
            m_condition.wait(lock, [this] { return m_activeCalls == 0; });
    }
    m_connected = false;
    m_thread->quit();
    if (!onNetworkThread())
        m_thread->wait();
}

bool MatrixChannel::postToNetwork(std::function<void()> task)
{
    ClientConnection *connection = m_thread->connection();
    if (!connection || !m_thread->isRunning())
        return false;
    return QMetaObject::invokeMethod(connection, std::move(task), Qt::QueuedConnection);
}

quint64 MatrixChannel::beginConnect(const QByteArray &host, int port)
{
    quint64 attempt = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        attempt = ++m_attempt;
    }
    if (host.isEmpty() || port < 1 || port > 65535) {
        postToNetwork([this, attempt] { m_thread->connection()->refuse(attempt); });
        return attempt;
    }
    const QString hostText = QString::fromLocal8Bit(host);
    postToNetwork([this, hostText, port, attempt] {
        m_thread->connection()->open(hostText, quint16(port), attempt);
    });
    return attempt;
}

void MatrixChannel::startConnect(const QByteArray &host, int port)
{
    beginConnect(host, port);
}

int MatrixChannel::connectAndWait(const QByteArray &host, int port)
{
    if (onNetworkThread())
        return MatrixErrCallbackReentry;
    CallGuard guard(this);
    if (!guard.entered())
        return MatrixErrNotConnected;
    const quint64 attempt = beginConnect(host, port);
    std::unique_lock<std::mutex> lock(m_mutex);
    const bool finished =
            m_condition.wait_for(lock, std::chrono::milliseconds(m_timeouts.connectMs + 2000),
                                 [&] { return m_outcomeAttempt >= attempt || m_stopping; });
    if (m_stopping)
        return MatrixErrNotConnected;
    if (!finished) {
        lock.unlock();
        close();
        return MatrixErrTimeout;
    }
    if (m_outcomeAttempt != attempt)
        return MatrixErrNotConnected;
    switch (m_outcomeType) {
    case ConnSuccess:
        return 0;
    case ConnTimeOut:
        return MatrixErrTimeout;
    case ConnDisError:
        return MatrixErrProtocol;
    default:
        return m_outcomeStatus != 0 ? m_outcomeStatus : MatrixErrNotConnected;
    }
}

void MatrixChannel::close()
{
    if (onNetworkThread()) {
        if (ClientConnection *connection = m_thread->connection())
            connection->closeQuietly();
        return;
    }
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> closed = done->get_future();
    if (!postToNetwork([this, done] {
            m_thread->connection()->closeQuietly();
            done->set_value();
        })) {
        return;
    }
    if (closed.wait_for(std::chrono::seconds(10)) != std::future_status::ready)
        qCWarning(lcMatrixClient) << "closing the matrix connection did not finish in time";
}

quint32 MatrixChannel::nextRequestId()
{
    ++m_lastRequestId;
    if (m_lastRequestId == 0)
        ++m_lastRequestId;
    return m_lastRequestId;
}

int MatrixChannel::request(quint16 type, const QByteArray &payload, QByteArray *body, int timeoutMs)
{
    if (onNetworkThread())
        return MatrixErrCallbackReentry;
    CallGuard guard(this);
    if (!guard.entered() || !m_connected)
        return MatrixErrNotConnected;

    auto pending = std::make_shared<Pending>();
    pending->type = type;
    quint32 id = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        id = nextRequestId();
        m_pending[id] = pending;
    }
    const QByteArray frame = encodeFrame(type, id, payload);
    bool posted = false;
    if (!frame.isEmpty()) {
        posted = postToNetwork([this, frame, id] {
            if (!m_thread->connection()->send(frame))
                completeRequest(id, MatrixErrNotConnected);
        });
    }

    std::unique_lock<std::mutex> lock(m_mutex);
    if (!posted) {
        m_pending.erase(id);
        return frame.isEmpty() ? MatrixErrBadArgument : MatrixErrNotConnected;
    }
    const bool answered = m_condition.wait_for(
            lock, std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : m_timeouts.requestMs),
            [&] { return pending->done; });
    m_pending.erase(id);
    if (!answered)
        return MatrixErrTimeout;
    if (body)
        *body = pending->body;
    return pending->result;
}

int MatrixChannel::post(quint16 type, const QByteArray &payload)
{
    if (!m_connected)
        return MatrixErrNotConnected;
    quint32 id = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_stopping)
            return MatrixErrNotConnected;
        id = nextRequestId();
    }
    const QByteArray frame = encodeFrame(type, id, payload);
    if (frame.isEmpty())
        return MatrixErrBadArgument;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_posted[id] = type;
    }
    const int timeoutMs = m_timeouts.requestMs;
    if (!postToNetwork([this, frame, id, timeoutMs] {
            ClientConnection *connection = m_thread->connection();
            connection->send(frame);
            // A command the matrix never answers gets its answer here when its time is up;
            // the timer ends with the connection object, on the network thread.
            QTimer::singleShot(timeoutMs, connection, [this, id] { expirePosted(id); });
        })) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_posted.erase(id);
        return MatrixErrNotConnected;
    }
    return 0;
}

void MatrixChannel::reportConnectOutcome(quint64 attempt, int connType, int status,
                                         bool tellListener)
{
    bool latest = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (attempt >= m_outcomeAttempt) {
            m_outcomeAttempt = attempt;
            m_outcomeType = connType;
            m_outcomeStatus = status;
        }
        latest = attempt == m_attempt && !m_stopping;
        m_condition.notify_all();
    }
    if (tellListener && latest)
        m_listener->connectOutcome(connType);
}

void MatrixChannel::reportConnected()
{
    m_connected = true;
}

void MatrixChannel::reportClosed(int failResult)
{
    m_connected = false;
    failAllRequests(failResult);
}

void MatrixChannel::reportLost(int connType)
{
    reportClosed(connType == ConnDisError ? MatrixErrProtocol : MatrixErrNotConnected);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_stopping)
            return;
    }
    m_listener->connectionLost(connType);
}

void MatrixChannel::reportEvent(const ServerMessage &message)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_stopping)
            return;
    }
    m_listener->matrixEvent(message);
}

bool MatrixChannel::deliverReply(const ServerMessage &message)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    const auto posted = m_posted.find(message.requestId);
    if (posted != m_posted.end()) {
        // The answer to a command sent without waiting: its result goes to the listener.
        if (posted->second != message.requestType)
            return false;
        // The matrix answers in order: commands sent before this one and still unanswered
        // will not be answered any more, and their results keep their place before its own.
        std::vector<quint16> skipped;
        for (auto earlier = m_posted.begin(); earlier != posted; ++earlier)
            skipped.push_back(earlier->second);
        m_posted.erase(m_posted.begin(), std::next(posted));
        const bool stopping = m_stopping;
        lock.unlock();
        if (message.result != 0)
            qCDebug(lcMatrixClient)
                    << messageName(message.requestType) << "answered" << message.result;
        if (stopping)
            return true;
        for (quint16 type : skipped)
            m_listener->commandAnswered(type, MatrixErrTimeout);
        m_listener->commandAnswered(message.requestType, message.result);
        return true;
    }
    const auto found = m_pending.find(message.requestId);
    if (found == m_pending.end()) {
        // A late answer to a request that timed out.
        if (message.result != 0)
            qCDebug(lcMatrixClient)
                    << messageName(message.requestType) << "answered" << message.result;
        return true;
    }
    Pending &pending = *found->second;
    if (pending.type != message.requestType)
        return false;
    if (!pending.done) {
        pending.done = true;
        pending.result = message.result;
        pending.body = message.body;
        m_condition.notify_all();
    }
    return true;
}

void MatrixChannel::expirePosted(quint32 id)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    const auto posted = m_posted.find(id);
    if (posted == m_posted.end())
        return;
    const quint16 type = posted->second;
    m_posted.erase(posted);
    const bool stopping = m_stopping;
    lock.unlock();
    // Its answer, should it still come, is a late one and is dropped (deliverReply).
    qCDebug(lcMatrixClient) << messageName(type) << "not answered in time";
    if (!stopping)
        m_listener->commandAnswered(type, MatrixErrTimeout);
}

void MatrixChannel::completeRequest(quint32 id, int result)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_pending.find(id);
    if (found != m_pending.end() && !found->second->done) {
        found->second->done = true;
        found->second->result = result;
        m_condition.notify_all();
    }
}

void MatrixChannel::failAllRequests(int result)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    // Commands sent without waiting are not answered any more; the lost connection is
    // reported on its own.
    m_posted.clear();
    for (auto &entry : m_pending) {
        if (!entry.second->done) {
            entry.second->done = true;
            entry.second->result = result;
        }
    }
    m_condition.notify_all();
}

} // namespace MatrixService
