// Shared set-up of the Linux page's end-to-end tests: the data centre and simulator of
// SimulatorFixture, a server record for the Linux matrix, and the page connected and
// arranged.
#pragma once

#include "CellChannelItem.h"
#include "LinuxDigitalMatrixPage.h"
#include "LinuxPageHarness.h"
#include "SimulatorFixture.h"

#include <QString>

#include <memory>

namespace LUMO_DIGITALMATRIX_MODULE {
class CellForConfigChannels;
} // namespace LUMO_DIGITALMATRIX_MODULE

// Checks inside the helpers use QTest macros: a caller stops when QTest::currentTestFailed().
class LinuxWallFixture : public SimulatorFixture, public LinuxPageChildren
{
public:
    LinuxWallFixture();
    ~LinuxWallFixture() override;

    // SimulatorFixture's start with only the Linux matrix (on a free port) and, when asked,
    // a server "Sim" admin/admin for it.
    void start(MatrixSimulatorOptions options, const QString &site = QString(),
               bool addServer = true);
    // The page, then SimulatorFixture's stop.
    void stop();

    // Shows the page (once) and connects to the selected server.
    void connectPage();
    // Shows the page (once); it selects the first server unless told there is none.
    void openPage(bool withServer = true);
    // Not connected, the connect button up, the cell tools off and nothing waited for.
    bool pageIsIdle() const;
    // Clicks connect until the page is connected again (a restarting matrix refuses for a
    // while); false when it is not within timeoutMs.
    bool reconnectWithin(int timeoutMs);
    // Enters the arrangement step with a grid of rows x columns.
    void arrange(int rows, int columns);
    // arrange(), then "Save".
    void arrangeAndSave(int rows, int columns);

    // A channel of the data centre at a position of a cell.
    static LUMO_DIGITALMATRIX_MODULE::CellChannelItem channel(const char *id, int position);
    // The first count channels of the lobby site (a-1, a-2, ...) at positions 0, 1, ...
    static QList<LUMO_DIGITALMATRIX_MODULE::CellChannelItem> lobbyChannels(int count);
    // Another operator puts channels into a cell split 4; the page connects again, loads the
    // wall and gives its view of that cell.
    LUMO_DIGITALMATRIX_MODULE::CellForConfigChannels *
    cellSetByAnotherOperator(int cell,
                             const QList<LUMO_DIGITALMATRIX_MODULE::CellChannelItem> &channels);

    // From now on the matrix refuses requests of this type (MatrixErrFailed).
    void refuse(quint16 request);
    // What the matrix holds, cell by cell of its grid: the spread cell, then each cell's split,
    // turn state (service code) and interval, pane shown alone (-1: none) and its channels as
    // position=channel number.
    QString held() const;
    // The same as the page shows it: equal to held() when the page shows what the matrix holds.
    QString shown() const;

    std::unique_ptr<LUMO_DIGITALMATRIX_MODULE::LinuxDigitalMatrixPage> page;

protected:
    QWidget *pageWidget() const override { return page.get(); }
};
