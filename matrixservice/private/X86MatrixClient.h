// The X86 matrix interface over the matrix protocol.
//
// Connection states, matrix information and layouts are reported through the registered
// callbacks on the interface's network thread. Login and forced login wait for the
// matrix's answer; wall commands are sent without waiting and their results are reported
// through the command-result callback when the matrix answers.
#pragma once

#include "ChannelListener.h"
#include "IMatrixConfig.h"
#include "MatrixChannel.h"

#include <atomic>
#include <mutex>
#include <vector>

namespace MatrixService {

class X86MatrixClient final : public IMatrixConfig, private ChannelListener
{
public:
    X86MatrixClient();
    ~X86MatrixClient() override;

    X86MatrixClient(const X86MatrixClient &) = delete;
    X86MatrixClient &operator=(const X86MatrixClient &) = delete;

    // Frees the interface. From one of its own callbacks the network thread is joined by a
    // helper thread once the callback has returned; no further callback runs.
    void release();

    int Connect(const char *ip, int port) override;
    int Disconnect() override;
    int RegisterCallbacks(void *ctx, MatrixConnStatusCallback onConnectStatus,
                          MatrixInfoCallback onMatrixInfo, MatrixLayoutCallback onLayout,
                          MatrixCommandResultCallback onCommandResult,
                          MatrixReservedCallback onReserved5) override;
    int Login(const char *user, const char *password) override;
    int ForceLogin() override;
    int SetScreenCount(int rows, int columns) override;
    int RequestLayout() override;
    int ExchangeMirrors(int mirrorA, int mirrorB) override;
    int SetConfigMode(bool on) override;
    int SetMonitorSplit(int monitor, int splitCount) override;
    int SetMonitorSources(int monitor, const _ST_ChnInfo *channels, int count) override;
    int RegisterSourceCallbacks(void *ctx, MatrixSourcesCallback onSources,
                                MatrixTurnStepCallback onTurnStep) override;
    int Watch(const char *user, const char *password) override;
    int SetMonitorTurnSources(int monitor, const _ST_ChnInfo *channels, int count,
                              int turnInterval) override;
    int Probe(const char *ip, int port, int timeoutMs) override;
    int SelectMonitor(int monitor) override;
    int SetTurnState(int monitor, int state) override;
    int ClearSource(int monitor) override;
    int ZoomMirrorAt(int mirror, int x, int y) override;
    int SetMirrorRect(int mirror, RECT rect) override;
    int SetClientName(const char *host) override;
    int GetOperators(MatrixOperatorRecord *records, int capacity, int *count) override;
    int GetTakeover(MatrixOperatorRecord *record) override;

private:
    // Identify (when named) and the login or watch request, waiting for its answer.
    int signIn(quint16 type, const char *user, const char *password);
    struct Callbacks
    {
        void *context = nullptr;
        MatrixConnStatusCallback connectStatus = nullptr;
        MatrixInfoCallback matrixInfo = nullptr;
        MatrixLayoutCallback layout = nullptr;
        MatrixCommandResultCallback commandResult = nullptr;
        void *sourceContext = nullptr;
        MatrixSourcesCallback sources = nullptr;
        MatrixTurnStepCallback turnStep = nullptr;
        MatrixReservedCallback operators = nullptr;
    };

    void connectOutcome(int connType) override;
    void connectionLost(int connType) override;
    void matrixEvent(const MatrixProtocol::ServerMessage &message) override;
    void commandAnswered(quint16 type, int result) override;

    Callbacks callbacks() const;
    void reportConnectStatus(int connType);
    int sendInts(quint16 type, std::initializer_list<qint32> values);
    int sendSources(quint16 type, int monitor, const _ST_ChnInfo *channels, int count,
                    const int *turnInterval);

    mutable std::mutex m_callbackMutex;
    Callbacks m_callbacks;
    std::atomic<bool> m_callbacksEnabled {true};
    // Who is on the matrix, as it last said on the current connection.
    mutable std::mutex m_operatorMutex;
    QByteArray m_clientName;
    std::vector<MatrixOperatorRecord> m_operators;
    bool m_takenOver = false;
    MatrixOperatorRecord m_takeover {};
    MatrixChannel m_channel;
};

} // namespace MatrixService
