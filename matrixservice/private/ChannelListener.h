// What a matrix channel reports to the interface that owns it. Every call runs on the
// channel's network thread.
#pragma once

#include "ServerMessage.h"

namespace MatrixService {

class ChannelListener
{
public:
    // Outcome of startConnect(): ConnSuccess, ConnFailed, ConnTimeOut or ConnDisError.
    virtual void connectOutcome(int connType) = 0;
    // An established connection ended without close(): ConnDisconnect or ConnDisError.
    virtual void connectionLost(int connType) = 0;
    // An event of the matrix (information, layout, kick notice).
    virtual void matrixEvent(const MatrixProtocol::ServerMessage &message) = 0;
    // The matrix answered a request that was sent without waiting (MatrixChannel::post).
    virtual void commandAnswered(quint16 type, int result)
    {
        Q_UNUSED(type)
        Q_UNUSED(result)
    }

protected:
    ~ChannelListener() = default;
};

} // namespace MatrixService
