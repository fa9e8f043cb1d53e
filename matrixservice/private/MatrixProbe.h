// Whether a matrix answers at all: a connection and its handshake, no login.
#pragma once

#include "MatrixProtocol.h"

namespace MatrixService {

// Connects to host:port, greets the matrix as role and closes again; blocks the calling
// thread for at most timeoutMs (connection and answer together) and needs no event loop,
// so it may run on any thread. 0 when the matrix welcomed the hello; the matrix's status
// when it answered but refused (MatrixErrBusy while it restarts or is full);
// MatrixErrNotConnected when nothing takes the connection, MatrixErrTimeout when the
// answer does not come in time, MatrixErrProtocol for an answer that is no HelloAck.
int probeMatrix(const char *host, int port, MatrixProtocol::Role role, int timeoutMs);

} // namespace MatrixService
