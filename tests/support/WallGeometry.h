// Rectangles and window records of X86 walls, in matrix units.
#pragma once

#include "MatrixServiceTypes.h"

#include <QList>
#include <QVector>

#include <initializer_list>

inline RECT rc(int left, int top, int right, int bottom)
{
    return RECT {left, top, right, bottom};
}

inline QList<int> rectList(const RECT &r)
{
    return {r.left, r.top, r.right, r.bottom};
}

// A window at its home rectangle (or elsewhere when current is given).
inline _MIRRORINFO mirror(int index, const RECT &home, int split = 1, int turn = 0, int layer = 0)
{
    _MIRRORINFO m {};
    m.rectA = home;
    m.rectB = home;
    m.mirrorParam1 = index;
    m.mirrorParam2 = split;
    m.mirrorParam3 = layer;
    m.mirrorParam5 = turn;
    return m;
}

// Window records as a layout holds them. Appended one by one: GCC 12 warns wrongly about a
// QVector of these built from a brace list.
inline QVector<_MIRRORINFO> windowList(std::initializer_list<_MIRRORINFO> records)
{
    QVector<_MIRRORINFO> windows;
    windows.reserve(int(records.size()));
    for (const _MIRRORINFO &record : records)
        windows.append(record);
    return windows;
}

// Four windows of 800 x 450 units on a 1600 x 900 wall, numbered 0..3 row by row.
inline QVector<_MIRRORINFO> fourWindows(int turnOfFirst = 0)
{
    return windowList({mirror(0, rc(0, 0, 800, 450), 1, turnOfFirst),
                       mirror(1, rc(800, 0, 1600, 450)), mirror(2, rc(0, 450, 800, 900)),
                       mirror(3, rc(800, 450, 1600, 900))});
}
