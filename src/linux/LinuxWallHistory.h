#pragma once

#include "digitalmatrix_export.h"

#include "LinuxWallPreset.h"

#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>

namespace LUMO_DIGITALMATRIX_MODULE {

class ConfigChannelsWidget;
class WallUndoHistory;

// Undo and redo of the Linux wall: a cell's channels, split, pane shown alone and turn show,
// deletes and the cell spread over the wall. The cells change only once the matrix took a
// change, so what the grid shows after an operator's action, compared with what it showed
// before, is the step. An undo first reads the step's cells from the matrix: when another
// operator changed them since, the step is refused and dropped; otherwise the inverse is
// sent, and the list moves only when the matrix took all of it.
class DIGITALMATRIX_EXPORT LinuxWallHistory : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(LinuxWallHistory)

public:
    struct Step
    {
        QList<LinuxWallPreset::Cell> before;
        QList<LinuxWallPreset::Cell> after;
        bool spread = false; // the cell spread over the wall changed
        int wallBefore = -1;
        int wallAfter = -1;
    };

    explicit LinuxWallHistory(ConfigChannelsWidget *grid, QObject *parent = nullptr);
    ~LinuxWallHistory() override;

    WallUndoHistory *history() const { return steps; }

    // The grid shows what was read from the matrix: that is no operator's step.
    void takeWallAsRead();
    // The grid changed after the matrix took a change; the action's changes are recorded as
    // one step once it is done.
    void wallChanged();
    // The page left the matrix (or its wall is arranged anew).
    void clear();

    void undo();
    void redo();

    static bool sameCell(const LinuxWallPreset::Cell &a, const LinuxWallPreset::Cell &b);

signals:
    void changed();
    void notice(const QString &text);

private:
    void recordChanges();
    void revert(bool undoing);
    // Sends what brings the cells from what they hold to target; the step that failed, or
    // an empty text.
    QString send(const Step &step, const QList<LinuxWallPreset::Cell> &from,
                 const QList<LinuxWallPreset::Cell> &target, int wallFrom, int wallTarget);
    // Reads the step's cells (and the spread cell) from the matrix into the grid.
    void readFromMatrix(const Step &step, int *melted);
    QList<LinuxWallPreset::Cell> cellsOf(const LinuxWallPreset &wall,
                                         const QList<LinuxWallPreset::Cell> &like) const;
    static QString describe(const Step &step);

    ConfigChannelsWidget *grid = nullptr;
    WallUndoHistory *steps = nullptr;
    LinuxWallPreset known;
    bool haveKnown = false;
    bool recordQueued = false;
    // An undo or redo sends: the grid's changes meanwhile are its own.
    bool reverting = false;
};

} // namespace LUMO_DIGITALMATRIX_MODULE

Q_DECLARE_METATYPE(LUMO_DIGITALMATRIX_MODULE::LinuxWallHistory::Step)
