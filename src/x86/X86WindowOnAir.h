#pragma once

#include "digitalmatrix_export.h"

#include "MatrixMetaTypes.h"
#include "MatrixStates.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace LUMO_DIGITALMATRIX_MODULE {

// What an X86 window shows, as the matrix last reported it: its channels in pane order, its
// turn show and the page of that show on air. Which channel each pane shows follows from it.
class DIGITALMATRIX_EXPORT X86WindowOnAir
{
public:
    // Takes a report of the window's channels (in any order; each names its 1-based pane
    // position) and the turn interval, 0 for a fixed set. A new set starts on page 0.
    void setSources(const QVector<_ST_ChnInfo> &records, int interval);
    // A step of the window's turn show: the state the matrix reports, page (0-based) of pages.
    void setTurnStep(X86TurnState state, int page, int pages, int interval);

    bool hasSources() const { return !names.isEmpty(); }
    int sourceCount() const { return names.size(); }
    // The records as the matrix reported them.
    QVector<_ST_ChnInfo> records() const { return reported; }
    // Channel names in pane order.
    QStringList channelNames() const { return names; }
    // The name each of the split's panes shows now (empty: nothing on that pane).
    QStringList paneNames(int splitCount) const;
    // Pages the sources fill at this split: more than one only when they do not fit.
    int pageCount(int splitCount) const;
    int pageOnAir() const { return page; }
    int interval() const { return turnInterval; }
    X86TurnState turnState() const { return state; }

    // The channel's name as the matrix holds it (GBK); a record without one is named by its
    // device address and channel number.
    static QString channelName(const _ST_ChnInfo &record);

    bool operator==(const X86WindowOnAir &other) const;
    bool operator!=(const X86WindowOnAir &other) const { return !(*this == other); }

private:
    QVector<_ST_ChnInfo> reported;
    QStringList names; // in pane order
    QVector<int> positions; // 1-based pane of each name
    int turnInterval = 0;
    X86TurnState state = X86TurnState::Unknown;
    int page = 0;
    int pages = 0; // as the matrix reported them, 0 before any step
};

} // namespace LUMO_DIGITALMATRIX_MODULE
