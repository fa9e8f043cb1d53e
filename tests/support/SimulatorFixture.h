// The data centre and the matrix simulator of the end-to-end tests: a data centre in a
// temporary folder (with a site from tests/data when asked), an in-process simulator on
// 127.0.0.1, the port on the real matrix-service library and scripted message boxes.
#pragma once

#include "MatrixSimulator.h"
#include "MessageBoxScript.h"

#include <QString>

#include <memory>

class QAction;
class QTemporaryDir;
class QWidget;

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
    // Opens a page's preset menu; the action of a listed preset, or "Save As..." for none.
    static QAction *presetAction(QWidget *page, const QString &preset,
                                 const char *action = "savePresetAction");
    // Triggers the action and answers the name dialog it opens with name.
    static void answerName(QAction *action, const QString &name);

    // The matrix-service library's client time-outs (ms) from the next start on; 0 leaves
    // them as they are.
    int connectTimeoutMs = 0;
    int requestTimeoutMs = 0;

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MatrixSimulator> simulator;
    std::unique_ptr<MessageBoxScript> boxes;
};
