// The walls a matrix simulator holds, as snapshots for tests, the state file and viewers.
#pragma once

#include "MatrixServiceTypes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// Units of an X86 wall: one screen is 1920 wide and 1080 high; the wall's origin is (0, 0).
constexpr int SimX86ScreenWidth = 1920;
constexpr int SimX86ScreenHeight = 1080;

// Pages a turn show of this many channels steps through at this split: one when they all fit.
inline int simTurnPages(int channels, int split)
{
    const int panes = split > 0 ? split : 1;
    return channels > panes ? (channels + panes - 1) / panes : 1;
}

// One output window of an X86 wall.
struct SimX86Window
{
    int index = 0; // window number (0-based), exchanged in configuration mode
    RECT home {0, 0, 0, 0}; // its own screen
    RECT rect {0, 0, 0, 0}; // where it is now
    int split = 1; // 1, 4, 9, 16, 25 or 36 panes
    int layer = 0; // 0 on its screen, 1 the last one moved off it, 2 other moved ones
    int zoomedPane = 0; // 0 none, else the zoomed pane + 1
    int turnState = 0; // 0 no turn show, 1 running, 2 paused
    int turnInterval = 0; // seconds, 0 when none was set
    QVector<_ST_ChnInfo> sources;
    // The page of a turn show on air (0-based), stepped by the matrix at its interval; not kept
    // across restarts.
    int turnPage = 0;
};

struct SimX86State
{
    int outputs = 8; // physical outputs
    int rows = 0; // screen arrangement; 0 x 0 = none
    int columns = 0;
    bool configMode = false;
    int selectedMonitor = -1;
    QVector<SimX86Window> windows; // in screen order (row by row)
    QStringList operators; // users logged in now, one entry per connection
    QList<QByteArray> operatorHosts; // their consoles' host names, as each named itself
};

// One cell of a Linux wall.
struct SimLinuxCell
{
    int split = 1; // 1, 4, 9 or 16 panes
    QVector<CellChannelRecord> channels; // sorted by position
    int turnInterval = 30; // seconds, 5..60
    int turnState = 2; // service codes: 0 running, 1 paused, 2 stopped
    bool singleWindow = false; // one pane shown alone
    int window = 0; // that pane's position
    // The page of a turn show on air (0-based), stepped by the matrix; not kept.
    int turnPage = 0;
};

struct SimLinuxState
{
    int outputs = 4;
    int rows = 0; // saved row/column arrangement; 0 x 0 = none
    int columns = 0;
    QVector<ScreenRegion> grid; // cell geometry, sorted by index; empty = none
    int gridRows = 0;
    int gridColumns = 0;
    int meltedCell = -1; // cell spread over the whole grid, -1 none
    QByteArray screenMap; // byte k = screen number at grid position k, minus 1
    QVector<SimLinuxCell> cells; // one per output; cells beyond the grid are empty
    bool arrangeMode = false;
    QString firmwareVersion;

    // Firmware upgrade (not kept across restarts).
    bool upgradeRunning = false;
    bool upgradeFinished = false;
    int upgradeMode = -1;
    QString upgradeUrl;
    int upgradePollsDone = 0;
    int upgradeResult = 0; // final status once finished
};
