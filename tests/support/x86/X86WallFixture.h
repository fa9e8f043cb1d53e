// Shared set-up of the X86 page's end-to-end tests: the data centre and simulator of
// SimulatorFixture, a server record for the X86 matrix and the page connected to an arranged
// wall (a second operator: SecondOperator.h).
#pragma once

#include "SecondOperator.h"
#include "SimulatorFixture.h"

#include <QPoint>
#include <QString>

#include <functional>
#include <memory>

class ModalDriver;
class QPushButton;

namespace LUMO_DIGITALMATRIX_MODULE {
class DigitalMatrix;
class MatrixGroupTree;
class MatrixManageWidget;
class MirrorWidget;
class SetChannelSource;
} // namespace LUMO_DIGITALMATRIX_MODULE

// Ticks the first channels of the sample site's lobby, chooses the split and, with an
// interval, a turn show.
void tickLobby(LUMO_DIGITALMATRIX_MODULE::MatrixGroupTree *group, int channels,
               const QString &split, int interval);

// Checks inside the helpers use QTest macros: a caller stops when QTest::currentTestFailed().
class X86WallFixture : public SimulatorFixture
{
public:
    X86WallFixture();
    ~X86WallFixture() override;

    // Data centre (with the sample site when asked), simulator, boxes and, unless told not
    // to, a server record for the simulator.
    void start(int outputs = 4, bool withSite = false, bool addServer = true);
    // Page, disconnection, simulator, data centre, in that order.
    void stop();

    // Shows the page; it selects the first server unless there is none.
    void openPage(bool withServer = true);
    // Shows the page and stores the simulator through the server dialog with this account.
    void addServerThroughDialog(const QString &user = QString(),
                                const QString &password = QString());
    // Connects; a new matrix asks for its screens, which get rows x columns, then "Save".
    void connectAndArrange(int rows, int columns);
    // start(4, withSite), then connectAndArrange(rows, columns); false when a step failed.
    bool startArranged(int rows, int columns, bool withSite = false);
    // Connects to a matrix that already has its screens.
    void connectPage();
    // Drags a window with the left button by offset pixels of the wall.
    void drag(LUMO_DIGITALMATRIX_MODULE::MirrorWidget *mirror, const QPoint &offset);
    // Selects a window on the wall; the matrix has it selected.
    void select(int index);
    // Chooses a split from the window's menu.
    void chooseSplit(LUMO_DIGITALMATRIX_MODULE::MirrorWidget *mirror, const char *splitButton);
    // "EditMatrix", confirmed, and the screens arranged again as rows x columns.
    void enterConfigurationMode(int rows, int columns);
    using Ticking = std::function<void(LUMO_DIGITALMATRIX_MODULE::MatrixGroupTree *group,
                                       LUMO_DIGITALMATRIX_MODULE::SetChannelSource *dialog)>;
    // Opens the source dialog (with "setsource" unless open does it), lets ticking act on it,
    // presses "Set".
    void setSources(const Ticking &ticking, const std::function<void()> &open = {});

    // Not logged in, the connect button up and offering to connect, every wall command off,
    // no window on the wall and nothing waited for.
    bool pageIsIdle() const;
    // Waits until the page shows what the matrix holds: its windows, each with the matrix's
    // rectangle, split, zoomed pane and turn state.
    void waitUntilShowsTheMatrix();
    // Started before the click that opens it: answers the next screen-count dialog with
    // rows x columns. offered, when given, gets the screens the dialog offers and the rows
    // it holds before the answer.
    static std::unique_ptr<ModalDriver> answerScreens(int rows, int columns,
                                                      QStringList *offered = nullptr);
    // Another operator gives the matrix rows x columns screens and leaves it.
    static void arrangeAsAnotherOperator(MatrixSimulator &matrix, int rows, int columns);

    QPushButton *button(const QString &name) const;
    LUMO_DIGITALMATRIX_MODULE::MatrixManageWidget *wall() const;
    // The simulator's window with this number (an empty record when there is none).
    SimX86Window simWindow(int index) const;
    // Each window the simulator holds, by screen: number, split, turn, interval, place, layer
    // and the channel number at each pane.
    QStringList heldWindows() const;
    // The matrix refuses these X86 requests (message types) from now on.
    void refuse(const QList<quint16> &types);

    std::unique_ptr<LUMO_DIGITALMATRIX_MODULE::DigitalMatrix> page;
    // The matrix's accounts at the next start(): unless set, and again after stop(), the
    // page's (as stored without an account) and a second operator's.
    QList<SimulatorAccount> x86Accounts;
};
