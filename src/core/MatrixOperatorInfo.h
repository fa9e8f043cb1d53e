#pragma once

#include "digitalmatrix_export.h"

#include <QDateTime>
#include <QList>
#include <QString>

struct MatrixOperatorRecord;

namespace LUMO_DIGITALMATRIX_MODULE {

// One operator on a matrix as the matrix reports it: the account, the console's host name
// (whatever bytes that console sent), whether it is this console, and since when.
struct DIGITALMATRIX_EXPORT MatrixOperatorInfo
{
    // Characters of a host name shown at most; a longer one ends in "...".
    static constexpr int MaxShownHost = 48;

    QString user;
    QString host;
    bool self = false;
    // A watch connection: it follows the wall and holds nothing.
    bool watching = false;
    QDateTime since; // local time

    static MatrixOperatorInfo fromRecord(const MatrixOperatorRecord &record);
    // The host name as plain text to show: control characters as '?', bounded length.
    QString shownHost() const;
    // The time as the page shows it.
    QString shownTime() const;
    // "user on host" as plain text (bounded and without control characters).
    QString shownName() const;
    // The line the pages show about the other consoles on their matrix; empty when this
    // console is alone.
    static QString othersLine(const QList<MatrixOperatorInfo> &operators);
    // The first other console that controls the matrix (not a watcher); null when none.
    static const MatrixOperatorInfo *holder(const QList<MatrixOperatorInfo> &operators);
};

} // namespace LUMO_DIGITALMATRIX_MODULE
