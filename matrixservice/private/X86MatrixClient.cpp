#include "X86MatrixClient.h"

#include "MatrixProbe.h"
#include "OperatorList.h"
#include "PayloadWriter.h"

#include <QByteArray>

#include <cstring>
#include <thread>
#include <vector>

namespace MatrixService {

using namespace MatrixProtocol;

X86MatrixClient::X86MatrixClient()
    : m_channel(Role::X86, this, ClientTimeouts::fromEnvironment())
{ }

X86MatrixClient::~X86MatrixClient()
{
    m_callbacksEnabled = false;
    m_channel.shutdown();
}

void X86MatrixClient::release()
{
    m_callbacksEnabled = false;
    if (m_channel.onNetworkThread()) {
        m_channel.shutdown();
        X86MatrixClient *self = this;
        std::thread([self] { delete self; }).detach();
        return;
    }
    delete this;
}

X86MatrixClient::Callbacks X86MatrixClient::callbacks() const
{
    std::lock_guard<std::mutex> lock(m_callbackMutex);
    return m_callbacks;
}

void X86MatrixClient::reportConnectStatus(int connType)
{
    const Callbacks current = callbacks();
    if (m_callbacksEnabled && current.connectStatus)
        current.connectStatus(current.context, connType);
}

void X86MatrixClient::connectOutcome(int connType)
{
    reportConnectStatus(connType);
}

void X86MatrixClient::connectionLost(int connType)
{
    reportConnectStatus(connType);
}

void X86MatrixClient::matrixEvent(const ServerMessage &message)
{
    if (!m_callbacksEnabled)
        return;
    const Callbacks current = callbacks();
    if (message.kind == ServerMessage::MatrixInfo) {
        if (current.matrixInfo)
            current.matrixInfo(current.context, message.values[0], message.values[1],
                               message.values[2]);
    } else if (message.kind == ServerMessage::Operators
               || message.kind == ServerMessage::TakenOver) {
        {
            std::lock_guard<std::mutex> lock(m_operatorMutex);
            if (message.kind == ServerMessage::Operators) {
                QVector<OperatorEntry> entries;
                decodeOperators(message.body, &entries); // checked when it arrived
                m_operators.assign(std::size_t(entries.size()), MatrixOperatorRecord());
                for (int i = 0; i < entries.size(); ++i)
                    toRecord(entries.at(i), &m_operators[std::size_t(i)]);
            } else {
                OperatorEntry taker;
                decodeOperator(message.body, &taker);
                toRecord(taker, &m_takeover);
                m_takenOver = true;
            }
        }
        if (current.operators)
            current.operators(current.context);
    } else if (message.kind == ServerMessage::Layout) {
        if (!current.layout)
            return;
        // The record handed out is at least as large as the declared structure, so that a
        // layout without windows can still be read through _MIRRORLAYOUT.
        std::vector<char> buffer(
                qMax<std::size_t>(sizeof(_MIRRORLAYOUT), std::size_t(message.body.size())), 0);
        std::memcpy(buffer.data(), message.body.constData(), std::size_t(message.body.size()));
        current.layout(current.context, reinterpret_cast<_MIRRORLAYOUT *>(buffer.data()));
    } else if (message.kind == ServerMessage::MonitorSources) {
        if (!current.sources)
            return;
        // Copied, so that the records are aligned and stay valid during the call.
        std::vector<_ST_ChnInfo> records(std::size_t(message.values[2]));
        if (!records.empty())
            std::memcpy(records.data(), message.body.constData(),
                        records.size() * sizeof(_ST_ChnInfo));
        current.sources(current.sourceContext, message.values[0],
                        records.empty() ? nullptr : records.data(), int(records.size()),
                        message.values[1]);
    } else if (message.kind == ServerMessage::TurnStep) {
        if (current.turnStep)
            current.turnStep(current.sourceContext, message.values[0], message.values[1],
                             message.values[2], message.values[3], message.values[4]);
    }
}

void X86MatrixClient::commandAnswered(quint16 type, int result)
{
    int command = 0;
    switch (type) {
    case X86SetScreenCount:
        command = X86CommandSetScreenCount;
        break;
    case X86RequestLayout:
        command = X86CommandRequestLayout;
        break;
    case X86ExchangeMirrors:
        command = X86CommandExchangeMirrors;
        break;
    case X86SetConfigMode:
        command = X86CommandSetConfigMode;
        break;
    case X86SetMonitorSplit:
        command = X86CommandSetMonitorSplit;
        break;
    case X86SetMonitorSources:
        command = X86CommandSetMonitorSources;
        break;
    case X86SetMonitorTurnSources:
        command = X86CommandSetMonitorTurnSources;
        break;
    case X86SelectMonitor:
        command = X86CommandSelectMonitor;
        break;
    case X86SetTurnState:
        command = X86CommandSetTurnState;
        break;
    case X86ClearSource:
        command = X86CommandClearSource;
        break;
    case X86ZoomMirrorAt:
        command = X86CommandZoomMirrorAt;
        break;
    case X86SetMirrorRect:
        command = X86CommandSetMirrorRect;
        break;
    default:
        return;
    }
    if (!m_callbacksEnabled)
        return;
    const Callbacks current = callbacks();
    if (current.commandResult)
        current.commandResult(current.context, command, result);
}

int X86MatrixClient::Connect(const char *ip, int port)
{
    const QByteArray host = ip ? QByteArray(ip) : QByteArray();
    {
        // What the matrix said belongs to the connection that is closed now.
        std::lock_guard<std::mutex> lock(m_operatorMutex);
        m_operators.clear();
        m_takenOver = false;
    }
    m_channel.startConnect(host, port);
    if (host.isEmpty() || port < 1 || port > 65535)
        return MatrixErrBadArgument;
    return 0;
}

int X86MatrixClient::Disconnect()
{
    m_channel.close();
    return 0;
}

int X86MatrixClient::RegisterCallbacks(void *ctx, MatrixConnStatusCallback onConnectStatus,
                                       MatrixInfoCallback onMatrixInfo,
                                       MatrixLayoutCallback onLayout,
                                       MatrixCommandResultCallback onCommandResult,
                                       MatrixReservedCallback onReserved5)
{
    std::lock_guard<std::mutex> lock(m_callbackMutex);
    m_callbacks.operators = onReserved5;
    m_callbacks.context = ctx;
    m_callbacks.connectStatus = onConnectStatus;
    m_callbacks.matrixInfo = onMatrixInfo;
    m_callbacks.layout = onLayout;
    m_callbacks.commandResult = onCommandResult;
    return 0;
}

int X86MatrixClient::Login(const char *user, const char *password)
{
    return signIn(X86Login, user, password);
}

int X86MatrixClient::signIn(quint16 type, const char *user, const char *password)
{
    if (!user || !password)
        return MatrixErrBadArgument;
    const QByteArray userText(user);
    const QByteArray passwordText(password);
    if (userText.size() > MaxAccountText || passwordText.size() > MaxAccountText)
        return MatrixErrBadArgument;
    QByteArray name;
    {
        std::lock_guard<std::mutex> lock(m_operatorMutex);
        name = m_clientName;
    }
    // Requests are answered in order: the matrix knows the console before the login.
    if (!name.isEmpty()) {
        PayloadWriter identity;
        identity.putText(name);
        m_channel.post(Identify, identity.data());
    }
    PayloadWriter writer;
    writer.putText(userText).putText(passwordText);
    return m_channel.request(type, writer.data());
}

int X86MatrixClient::ForceLogin()
{
    return m_channel.request(X86ForceLogin, QByteArray()) == 0 ? 1 : 0;
}

int X86MatrixClient::sendInts(quint16 type, std::initializer_list<qint32> values)
{
    PayloadWriter writer;
    for (qint32 value : values)
        writer.putInt32(value);
    return m_channel.post(type, writer.data());
}

int X86MatrixClient::SetScreenCount(int rows, int columns)
{
    return sendInts(X86SetScreenCount, {rows, columns});
}

int X86MatrixClient::RequestLayout()
{
    return sendInts(X86RequestLayout, {});
}

int X86MatrixClient::ExchangeMirrors(int mirrorA, int mirrorB)
{
    return sendInts(X86ExchangeMirrors, {mirrorA, mirrorB});
}

int X86MatrixClient::SetConfigMode(bool on)
{
    return sendInts(X86SetConfigMode, {on ? 1 : 0});
}

int X86MatrixClient::SetMonitorSplit(int monitor, int splitCount)
{
    return sendInts(X86SetMonitorSplit, {monitor, splitCount});
}

int X86MatrixClient::sendSources(quint16 type, int monitor, const _ST_ChnInfo *channels, int count,
                                 const int *turnInterval)
{
    if (!channels || count < 1 || count > MaxX86Sources)
        return MatrixErrBadArgument;
    PayloadWriter writer;
    writer.putInt32(monitor).putInt32(count);
    if (turnInterval)
        writer.putInt32(*turnInterval);
    writer.putBytes(channels, count * int(sizeof(_ST_ChnInfo)));
    return m_channel.post(type, writer.data());
}

int X86MatrixClient::SetMonitorSources(int monitor, const _ST_ChnInfo *channels, int count)
{
    return sendSources(X86SetMonitorSources, monitor, channels, count, nullptr);
}

int X86MatrixClient::RegisterSourceCallbacks(void *ctx, MatrixSourcesCallback onSources,
                                             MatrixTurnStepCallback onTurnStep)
{
    std::lock_guard<std::mutex> lock(m_callbackMutex);
    m_callbacks.sourceContext = ctx;
    m_callbacks.sources = onSources;
    m_callbacks.turnStep = onTurnStep;
    return 0;
}

int X86MatrixClient::Watch(const char *user, const char *password)
{
    return signIn(MatrixProtocol::Watch, user, password);
}

int X86MatrixClient::SetMonitorTurnSources(int monitor, const _ST_ChnInfo *channels, int count,
                                           int turnInterval)
{
    return sendSources(X86SetMonitorTurnSources, monitor, channels, count, &turnInterval);
}

int X86MatrixClient::Probe(const char *ip, int port, int timeoutMs)
{
    return probeMatrix(ip, port, MatrixProtocol::Role::X86, timeoutMs);
}

int X86MatrixClient::SelectMonitor(int monitor)
{
    return sendInts(X86SelectMonitor, {monitor});
}

int X86MatrixClient::SetTurnState(int monitor, int state)
{
    return sendInts(X86SetTurnState, {monitor, state});
}

int X86MatrixClient::ClearSource(int monitor)
{
    return sendInts(X86ClearSource, {monitor});
}

int X86MatrixClient::ZoomMirrorAt(int mirror, int x, int y)
{
    return sendInts(X86ZoomMirrorAt, {mirror, x, y});
}

int X86MatrixClient::SetMirrorRect(int mirror, RECT rect)
{
    return sendInts(X86SetMirrorRect, {mirror, rect.left, rect.top, rect.right, rect.bottom});
}

int X86MatrixClient::SetClientName(const char *host)
{
    if (!host)
        return MatrixErrBadArgument;
    std::lock_guard<std::mutex> lock(m_operatorMutex);
    m_clientName = boundedText(QByteArray(host), MaxHostText);
    return 0;
}

int X86MatrixClient::GetOperators(MatrixOperatorRecord *records, int capacity, int *count)
{
    if (!records || !count || capacity < 0)
        return MatrixErrBadArgument;
    std::lock_guard<std::mutex> lock(m_operatorMutex);
    const int copied = qMin(capacity, int(m_operators.size()));
    for (int i = 0; i < copied; ++i)
        records[i] = m_operators[std::size_t(i)];
    *count = copied;
    return 0;
}

int X86MatrixClient::GetTakeover(MatrixOperatorRecord *record)
{
    if (!record)
        return MatrixErrBadArgument;
    std::lock_guard<std::mutex> lock(m_operatorMutex);
    if (!m_takenOver)
        return MatrixErrFailed;
    *record = m_takeover;
    return 0;
}

} // namespace MatrixService
