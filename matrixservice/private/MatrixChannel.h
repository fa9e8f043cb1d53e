// One connection to a matrix with its own network thread.
//
// The socket lives on the network thread; every listener call runs there. Callers on other
// threads post work to it and, for requests, wait for the answer with a time-out.
#pragma once

#include "ChannelListener.h"
#include "ClientTimeouts.h"
#include "MatrixProtocol.h"

#include <QByteArray>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace MatrixService {

class ChannelThread;

class MatrixChannel
{
public:
    MatrixChannel(MatrixProtocol::Role role, ChannelListener *listener,
                  const ClientTimeouts &timeouts);
    ~MatrixChannel();

    MatrixChannel(const MatrixChannel &) = delete;
    MatrixChannel &operator=(const MatrixChannel &) = delete;

    // Drops any connection quietly and starts a new one; the listener hears the outcome.
    void startConnect(const QByteArray &host, int port);
    // Connects and waits for the handshake: 0, MatrixErrNotConnected (refused, unreachable),
    // MatrixErrTimeout, MatrixErrBusy, MatrixErrProtocol or the matrix's refusal.
    int connectAndWait(const QByteArray &host, int port);
    // Closes the connection without telling the listener; waits until it is closed.
    void close();
    // Sends a request and waits for its answer. Returns the matrix's result, or
    // MatrixErrNotConnected, MatrixErrTimeout, MatrixErrProtocol, MatrixErrCallbackReentry.
    // body receives what follows the result in the answer. A timeoutMs above 0 replaces the
    // request time-out for this request.
    int request(quint16 type, const QByteArray &payload, QByteArray *body = nullptr,
                int timeoutMs = 0);
    // Sends a request without waiting: 0 when handed to the network thread. Its answer is
    // handed to the listener's commandAnswered() on the network thread; without an answer
    // within the request time-out, commandAnswered() hears MatrixErrTimeout instead.
    int post(quint16 type, const QByteArray &payload);

    bool isConnected() const { return m_connected.load(); }
    bool onNetworkThread() const;
    const ClientTimeouts &timeouts() const { return m_timeouts; }

    // Ends the network thread. From any thread but the network thread it waits for it;
    // from the network thread it only asks it to stop (the caller must join later).
    void shutdown();

    // Reports of the network thread.
    void reportConnectOutcome(quint64 attempt, int connType, int status, bool tellListener);
    void reportConnected();
    // The connection ended: pending requests get failResult.
    void reportClosed(int failResult);
    // The connection ended unasked: reportClosed() and the listener hears connType.
    void reportLost(int connType);
    void reportEvent(const MatrixProtocol::ServerMessage &message);
    // False when the answer does not fit the request it names (protocol error).
    bool deliverReply(const MatrixProtocol::ServerMessage &message);
    void failAllRequests(int result);

private:
    struct Pending
    {
        quint16 type = 0;
        bool done = false;
        int result = 0;
        QByteArray body;
    };

    class CallGuard;

    quint64 beginConnect(const QByteArray &host, int port);
    quint32 nextRequestId();
    bool postToNetwork(std::function<void()> task);
    void completeRequest(quint32 id, int result);
    // A command sent without waiting whose time is up: answered with MatrixErrTimeout.
    void expirePosted(quint32 id);

    ChannelListener *const m_listener;
    const ClientTimeouts m_timeouts;

    mutable std::mutex m_mutex;
    std::condition_variable m_condition;
    std::map<quint32, std::shared_ptr<Pending>> m_pending;
    // Requests sent without waiting and not answered yet: request id to type.
    std::map<quint32, quint16> m_posted;
    quint32 m_lastRequestId = 0;
    quint64 m_attempt = 0;
    quint64 m_outcomeAttempt = 0;
    int m_outcomeType = 0;
    int m_outcomeStatus = 0;
    int m_activeCalls = 0;
    bool m_stopping = false;
    std::atomic<bool> m_connected {false};

    std::unique_ptr<ChannelThread> m_thread;
};

} // namespace MatrixService
