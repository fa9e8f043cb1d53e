// The data centre and the matrix simulator of the end-to-end tests: a data centre in a
// temporary folder (with a site from tests/data when asked), an in-process simulator on
// 127.0.0.1, the port on the real matrix-service library and scripted message boxes.
#pragma once

#include "MatrixSimulator.h"
#include "MessageBoxScript.h"

#include <QString>

#include <memory>

class QTemporaryDir;

// Checks inside the helpers use QTest macros: a caller stops when QTest::currentTestFailed().
class SimulatorFixture
{
public:
    static constexpr int Timeout = 5000;

    SimulatorFixture();
    virtual ~SimulatorFixture();
    SimulatorFixture(const SimulatorFixture &) = delete;
    SimulatorFixture &operator=(const SimulatorFixture &) = delete;

    // Data centre (with tests/data/<site> when given), the simulator started with options
    // (no request log), the port on the real library, boxes answering 0.
    void startMatrix(MatrixSimulatorOptions options, const QString &site = QString());
    // Port, simulator, boxes, data centre, in that order (a page goes first).
    void stopMatrix();
    // Stores a server at 127.0.0.1:port (the Linux ones with admin/admin) and lets the data
    // centre's announcement go by; gives back its key.
    static QString storeServer(int type, const QString &name, int port);

    // The matrix-service library's client time-outs (ms) from the next start on; 0 leaves
    // them as they are.
    int connectTimeoutMs = 0;
    int requestTimeoutMs = 0;

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MatrixSimulator> simulator;
    std::unique_ptr<MessageBoxScript> boxes;
};
