// What the physical screens of a simulated matrix show right now, computed from a snapshot of
// the matrix: screen outlines with their numbers, the output windows or cells on them, their
// panes and the channel each pane shows (turn shows stepped by a WallTurnClock). Coordinates
// are wall units: one screen is 1920 x 1080, the wall's origin is (0, 0).
#pragma once

#include "SimulatorState.h"
#include "WallTurnClock.h"

#include <QCoreApplication>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// One pane of a window: the channel on it, or empty.
struct WallPane
{
    QRectF rect;
    QString text; // channel name; empty for an empty pane
};

// An output window (X86) or a cell (Linux) as it lies on the wall.
struct WallWindow
{
    QRectF rect;
    QRectF clip; // the part that is visible (one screen); a null rectangle shows all of it
    QString label; // "3" for a window, "Cell 2" for a cell
    QString status; // turn show, spreading; empty when nothing to say
    QVector<WallPane> panes;
    bool selected = false;
};

// One physical screen.
struct WallScreen
{
    QRectF rect;
    int number = 0; // the output that feeds it, 1-based
    bool showNumberLarge = false; // the matrix shows its screen numbers (arrangement mode)
    bool hasPicture = true; // false: the output carries no cell
};

struct WallPicture
{
    QSizeF size; // the whole wall in wall units
    QVector<WallScreen> screens;
    QVector<WallWindow> windows; // in painting order, the topmost last
    QString title;
    QStringList notes;
};

// How the four screens of a Linux matrix hang on the wall: rows x columns positions, row by
// row, and the output cabled to each position. The matrix cannot know this; the operator
// matches the matrix's screen numbers to it in the arrangement step.
struct LinuxWallHang
{
    int rows = 2;
    int columns = 2;
    QVector<int> outputs {1, 2, 3, 4};

    // "2x2:2,1,4,3", "1x4", "2,1,4,3" (shape 2 x 2). False with a reason for anything else.
    static bool parse(const QString &text, LinuxWallHang *hang, QString *error);
    QString toString() const;
};

// Name of a channel of a Linux cell from its device address and channel number; an empty
// result falls back to the device name and the number.
using WallChannelNamer = std::function<QString(const QString &deviceAddress, int channelNo)>;

class SimulatedWallScene
{
    Q_DECLARE_TR_FUNCTIONS(SimulatedWallScene)

public:
    // With a clock the turn shows step by it; without one each shows the page the matrix
    // has on air (SimX86Window::turnPage, SimLinuxCell::turnPage).
    static WallPicture x86Picture(const SimX86State &state, WallTurnClock *clock, qint64 nowMs);
    static WallPicture linuxPicture(const SimLinuxState &state, const LinuxWallHang &hang,
                                    WallTurnClock *clock, qint64 nowMs,
                                    const WallChannelNamer &namer = WallChannelNamer());

    // The channel name of an X86 record (GBK on the wire).
    static QString x86ChannelName(const _ST_ChnInfo &record);
    static QString linuxChannelName(const CellChannelRecord &record, const WallChannelNamer &namer);
};
