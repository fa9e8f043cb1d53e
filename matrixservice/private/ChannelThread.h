// The network thread of a matrix channel: runs the connection object in its own event loop.
#pragma once

#include "MatrixProtocol.h"

#include <QSemaphore>
#include <QThread>

namespace MatrixService {

class ClientConnection;
class MatrixChannel;

class ChannelThread : public QThread
{
    Q_OBJECT
    Q_DISABLE_COPY(ChannelThread)

public:
    ChannelThread(MatrixChannel *channel, MatrixProtocol::Role role, int connectTimeoutMs);

    // Starts the thread and waits until its connection object exists.
    void startAndWait();
    // The connection object; valid from startAndWait() until the thread ends.
    ClientConnection *connection() const { return m_connection; }

protected:
    void run() override;

private:
    MatrixChannel *const m_channel;
    const MatrixProtocol::Role m_role;
    const int m_connectTimeoutMs;
    ClientConnection *m_connection = nullptr;
    QSemaphore m_ready;
};

} // namespace MatrixService
