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

protected:
    ~ChannelListener() = default;
};

} // namespace MatrixService
