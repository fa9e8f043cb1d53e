#include "ChannelThread.h"

#include "ClientConnection.h"

namespace MatrixService {

ChannelThread::ChannelThread(MatrixChannel *channel, MatrixProtocol::Role role,
                             int connectTimeoutMs)
    : m_channel(channel)
    , m_role(role)
    , m_connectTimeoutMs(connectTimeoutMs)
{
    setObjectName(role == MatrixProtocol::Role::X86 ? QStringLiteral("x86-matrix")
                                                    : QStringLiteral("linux-matrix"));
}

void ChannelThread::startAndWait()
{
    start();
    m_ready.acquire();
}

void ChannelThread::run()
{
    {
        ClientConnection connection(m_channel, m_role, m_connectTimeoutMs);
        m_connection = &connection;
        m_ready.release();
        exec();
        connection.closeQuietly();
        m_connection = nullptr;
    }
}

} // namespace MatrixService
