#pragma once

namespace LUMO_DIGITALMATRIX_MODULE {

// Whether a page has a matrix to command: connected and logged in, or not; or connected to
// follow its wall only (watching: every command disabled, the matrix refuses them too).
enum class MatrixConnectionState { Disconnected, Connected, Watching };

// The turn show of an X86 output window, with the values the matrix reports and takes.
enum class X86TurnState : int {
    Unknown = -1, // no window chosen yet
    NoTurn = 0, // the window shows fixed sources (the command stops a turn show)
    Running = 1,
    Paused = 2
};

// A turn-show operation on a Linux cell, in the module's codes; after one succeeds the cell's
// turn state has the same code (a started or continued show runs, a paused one waits).
enum class CellTurnCode : int { TurnStart = 0, TurnStop = 1, TurnPause = 2, TurnContinue = 3 };

} // namespace LUMO_DIGITALMATRIX_MODULE
