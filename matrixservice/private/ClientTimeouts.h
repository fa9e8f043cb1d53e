// Time-outs of the matrix-service client.
#pragma once

namespace MatrixService {

struct ClientTimeouts
{
    // Connecting: TCP connection and handshake together.
    int connectMs = 5000;
    // One request, from sending it to its answer.
    int requestMs = 5000;

    // The defaults, overridden by DM_MATRIX_CONNECT_TIMEOUT_MS and
    // DM_MATRIX_REQUEST_TIMEOUT_MS when they hold a number in range
    // (connect 100..14000 ms, request 50..60000 ms). Read when an interface is created.
    static ClientTimeouts fromEnvironment();
};

} // namespace MatrixService
