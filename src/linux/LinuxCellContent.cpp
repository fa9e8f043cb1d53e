#include "LinuxCellContent.h"

#include <QtGlobal>

namespace LUMO_DIGITALMATRIX_MODULE {

void LinuxCellContent::setReported(const QMap<int, CellChannelItem *> &read)
{
    held.clear();
    for (auto it = read.cbegin(); it != read.cend(); ++it) {
        if (!it.value() || it.key() < 0 || it.key() >= MaxChannels)
            continue;
        CellChannelItem item = *it.value();
        item.position = it.key();
        held.insert(it.key(), item);
    }
}

void LinuxCellContent::place(const QList<CellChannelItem> &items)
{
    held.clear();
    QList<CellChannelItem> unplaced;
    for (const CellChannelItem &item : items) {
        if (item.position >= 0 && item.position < MaxChannels && !held.contains(item.position))
            held.insert(item.position, item);
        else
            unplaced.append(item);
    }
    int next = 0;
    for (CellChannelItem item : qAsConst(unplaced)) {
        while (held.contains(next))
            ++next;
        item.position = next;
        held.insert(next, item);
    }
}

bool LinuxCellContent::holdsChannelAt(int position) const
{
    return held.contains(position) && !held.value(position).channelId.isEmpty();
}

int LinuxCellContent::positionNamedBy(const QString &text) const
{
    bool isPosition = false;
    const int position = text.toInt(&isPosition);
    if (isPosition && held.contains(position))
        return position;
    for (auto it = held.cbegin(); it != held.cend(); ++it) {
        if (!text.isEmpty() && it.value().channelId == text)
            return it.key();
    }
    return -1;
}

int LinuxCellContent::pageCount(int split) const
{
    const int perPage = qMax(1, split);
    return (held.size() + perPage - 1) / perPage;
}

void LinuxCellContent::setReportedTurn(const CellTurnInfo &info)
{
    if (info.turnInterval > 0)
        interval = info.turnInterval;
    if (info.turnState >= int(CellTurnCode::TurnStart)
        && info.turnState <= int(CellTurnCode::TurnContinue))
        turn = CellTurnCode(info.turnState);
}

bool LinuxCellContent::isTurnOperationAllowed(CellTurnCode state, CellTurnCode op)
{
    switch (op) {
    case CellTurnCode::TurnStart:
        return state == CellTurnCode::TurnStop || state == CellTurnCode::TurnPause;
    case CellTurnCode::TurnStop:
        return state == CellTurnCode::TurnStart || state == CellTurnCode::TurnPause
                || state == CellTurnCode::TurnContinue;
    case CellTurnCode::TurnPause:
        return state == CellTurnCode::TurnStart || state == CellTurnCode::TurnContinue;
    case CellTurnCode::TurnContinue:
        return state == CellTurnCode::TurnPause;
    default:
        return false;
    }
}

void LinuxCellContent::setPage(int onAir, int split)
{
    page = qBound(0, onAir, qMax(1, pageCount(split)) - 1);
}

bool LinuxCellContent::isTurnStarted() const
{
    return turn == CellTurnCode::TurnStart || turn == CellTurnCode::TurnContinue;
}

CellTurnInfo LinuxCellContent::turnInfo(CellTurnCode state) const
{
    CellTurnInfo info;
    info.turnInterval = interval;
    info.turnState = int(state);
    return info;
}

} // namespace LUMO_DIGITALMATRIX_MODULE
