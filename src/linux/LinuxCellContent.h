#pragma once

#include "digitalmatrix_export.h"

#include "CellChannelItem.h"
#include "CellTurnInfo.h"
#include "MatrixStates.h"

#include <QList>
#include <QMap>

namespace LUMO_DIGITALMATRIX_MODULE {

// What one cell of a Linux wall holds, without its widgets: its channels by position, the
// position shown alone, its pages and its turn show. The cell changes it only once the
// matrix accepted a change.
class DIGITALMATRIX_EXPORT LinuxCellContent
{
public:
    // Channels one cell holds at most.
    static constexpr int MaxChannels = 16;

    // ---- Placement
    const QMap<int, CellChannelItem> &channels() const { return held; }
    bool isEmpty() const { return held.isEmpty(); }
    // The channels the matrix reported; null entries and positions outside the cell are left
    // out.
    void setReported(const QMap<int, CellChannelItem *> &read);
    // The cell's whole content as the matrix places it: a channel with a free position keeps
    // it, the others take the lowest free positions in list order.
    void place(const QList<CellChannelItem> &items);
    // Puts a channel at its position, replacing the one there.
    void put(const CellChannelItem &item) { held.insert(item.position, item); }
    void remove(int position) { held.remove(position); }
    // Whether a channel (with a key) is at position.
    bool holdsChannelAt(int position) const;
    // The position that text names: a held position, or the first position holding the
    // channel with that key; -1 for none.
    int positionNamedBy(const QString &text) const;

    // ---- Pages: a page shows split positions, the first page from position 0.
    int currentPage() const { return page; }
    void firstPage() { page = 0; }
    // The page on air, as the matrix reported it (held inside the cell's pages).
    void setPage(int onAir, int split);
    int pageCount(int split) const;
    int positionOfPane(int pane, int split) const { return page * split + pane; }

    // ---- The position shown alone, -1 while all panes show.
    int singlePane() const { return single; }
    void setSinglePane(int position) { single = position; }

    // ---- Turn show
    CellTurnCode turnState() const { return turn; }
    int turnInterval() const { return interval; }
    void setTurnState(CellTurnCode state) { turn = state; }
    void setTurnInterval(int seconds) { interval = seconds; }
    // Takes the interval (when above 0) and the state (when known) the matrix reported.
    void setReportedTurn(const CellTurnInfo &info);
    // Whether an operation may run from a state: start from stopped or paused, stop from
    // any other state, pause from running, continue from paused.
    static bool isTurnOperationAllowed(CellTurnCode state, CellTurnCode op);
    bool allows(CellTurnCode op) const { return isTurnOperationAllowed(turn, op); }
    bool isTurnStarted() const;
    // This content's turn show as the record the port sends, with another state.
    CellTurnInfo turnInfo(CellTurnCode state) const;

private:
    QMap<int, CellChannelItem> held;
    int page = 0;
    int single = -1;
    int interval = 30;
    CellTurnCode turn = CellTurnCode::TurnStop;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
