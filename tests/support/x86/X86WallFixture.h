// Shared set-up of the X86 page's end-to-end tests: a data centre in a temporary folder, an
// in-process matrix simulator on 127.0.0.1, a server record for it, scripted message boxes and
// the page connected to an arranged wall (a second operator: SecondOperator.h).
#pragma once

#include "MatrixSimulator.h"
#include "MessageBoxScript.h"
#include "SecondOperator.h"

#include <QPoint>
#include <QString>

#include <memory>

class QPushButton;
class QTemporaryDir;

namespace LUMO_DIGITALMATRIX_MODULE {
class DigitalMatrix;
class MatrixManageWidget;
class MirrorWidget;
} // namespace LUMO_DIGITALMATRIX_MODULE

// Checks inside the helpers use QTest macros: a caller stops when QTest::currentTestFailed().
class X86WallFixture
{
public:
    static constexpr int Timeout = 5000;

    X86WallFixture();
    ~X86WallFixture();
    X86WallFixture(const X86WallFixture &) = delete;
    X86WallFixture &operator=(const X86WallFixture &) = delete;

    // Data centre (with the sample site when asked), simulator, boxes and, unless told not
    // to, a server record for the simulator.
    void start(int outputs = 4, bool withSite = false, bool addServer = true);
    // Page, disconnection, simulator, data centre, in that order.
    void stop();

    // Shows the page; it selects the first server.
    void openPage();
    // Connects; a new matrix asks for its screens, which get rows x columns, then "Save".
    void connectAndArrange(int rows, int columns);
    // Connects to a matrix that already has its screens.
    void connectPage();
    // Drags a window with the left button by offset pixels of the wall.
    void drag(LUMO_DIGITALMATRIX_MODULE::MirrorWidget *mirror, const QPoint &offset);

    QPushButton *button(const QString &name) const;
    LUMO_DIGITALMATRIX_MODULE::MatrixManageWidget *wall() const;
    // The simulator's window with this number (an empty record when there is none).
    SimX86Window simWindow(int index) const;
    // The matrix refuses these X86 requests (message types) from now on.
    void refuse(const QList<quint16> &types);

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MatrixSimulator> simulator;
    std::unique_ptr<MessageBoxScript> boxes;
    std::unique_ptr<LUMO_DIGITALMATRIX_MODULE::DigitalMatrix> page;
};
