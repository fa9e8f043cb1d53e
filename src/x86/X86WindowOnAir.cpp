#include "X86WindowOnAir.h"

#include "FixedText.h"

#include <QTextCodec>

#include <algorithm>
#include <numeric>

namespace LUMO_DIGITALMATRIX_MODULE {

QString X86WindowOnAir::channelName(const _ST_ChnInfo &record)
{
    static QTextCodec *gbk = QTextCodec::codecForName("GBK");
    const QByteArray bytes = FixedText::read(record.channelName);
    const QString name = gbk ? gbk->toUnicode(bytes) : QString::fromLocal8Bit(bytes);
    if (!name.trimmed().isEmpty())
        return name;
    return QStringLiteral("%1 #%2")
            .arg(QString::fromLatin1(FixedText::read(record.ipAddress)))
            .arg(record.channelNo);
}

void X86WindowOnAir::setSources(const QVector<_ST_ChnInfo> &records, int interval)
{
    QVector<int> order(records.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&records](int a, int b) {
        return records.at(a).sequence < records.at(b).sequence;
    });
    reported = records;
    names.clear();
    positions.clear();
    for (int i : order) {
        names.append(channelName(records.at(i)));
        positions.append(records.at(i).sequence);
    }
    turnInterval = qMax(0, interval);
    page = 0;
    pages = 0;
}

void X86WindowOnAir::setTurnStep(X86TurnState turnState, int pageOnAir, int pageTotal, int interval)
{
    state = turnState;
    pages = qMax(0, pageTotal);
    page = pages > 0 ? qBound(0, pageOnAir, pages - 1) : 0;
    if (interval >= 0)
        turnInterval = interval;
}

namespace {
// The largest grid a window splits into (6 x 6); a layout may carry any number.
constexpr int MaxPanes = 36;
} // namespace

int X86WindowOnAir::pageCount(int splitCount) const
{
    const int split = qBound(1, splitCount, MaxPanes);
    return names.size() > split ? (names.size() + split - 1) / split : 1;
}

QStringList X86WindowOnAir::paneNames(int splitCount) const
{
    const int split = qBound(1, splitCount, MaxPanes);
    QStringList panes;
    panes.reserve(split);
    for (int i = 0; i < split; ++i)
        panes.append(QString());
    if (pageCount(split) > 1) {
        // A turn show pages through its channels, split by split.
        const int first = qMin(page, pageCount(split) - 1) * split;
        for (int i = 0; i < split && first + i < names.size(); ++i)
            panes[i] = names.at(first + i);
        return panes;
    }
    for (int i = 0; i < names.size(); ++i) {
        const int pane = positions.at(i) - 1;
        if (pane >= 0 && pane < split && panes.at(pane).isEmpty())
            panes[pane] = names.at(i);
    }
    return panes;
}

bool X86WindowOnAir::operator==(const X86WindowOnAir &other) const
{
    return names == other.names && positions == other.positions
            && turnInterval == other.turnInterval && state == other.state && page == other.page
            && pages == other.pages;
}

} // namespace LUMO_DIGITALMATRIX_MODULE
