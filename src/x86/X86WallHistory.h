#pragma once

#include "digitalmatrix_export.h"

#include "MatrixMetaTypes.h"
#include "MatrixStates.h"

#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QVector>

namespace LUMO_DIGITALMATRIX_MODULE {

class MatrixManageWidget;
class WallUndoHistory;

// Undo and redo of the X86 wall. The commands of one operator action are framed by begin()
// and end(); the matrix answers commands in order, so the step is recorded when the answer to
// its last command arrived and none of its commands was refused. An undo first compares what
// the matrix reports now for the step's windows with what the step left; when another
// operator changed them it is refused and dropped, else the inverse is sent and the list
// moves only once the matrix took it.
class DIGITALMATRIX_EXPORT X86WallHistory : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(X86WallHistory)

public:
    // What a step changes of its windows.
    enum Aspect {
        Place = 1, // rectangle
        Split = 2,
        Sources = 4, // channels and turn interval
        Turn = 8, // turn state
        Numbers = 16, // two windows exchanged their numbers
    };

    // One window as the matrix reported it.
    struct Window
    {
        int number = -1;
        RECT rect {};
        int split = 1;
        QVector<_ST_ChnInfo> records;
        int interval = 0;
        X86TurnState turn = X86TurnState::NoTurn;
    };
    struct Step
    {
        int aspects = 0;
        int named = 0; // windows the action named (a few of them may not have changed)
        QVector<Window> before;
        QVector<Window> after;
    };

    explicit X86WallHistory(MatrixManageWidget *wall, QObject *parent = nullptr);
    ~X86WallHistory() override;

    WallUndoHistory *history() const { return steps; }

    // The commands of one action on these windows follow; an inner begin belongs to the outer
    // action, which takes its windows and aspects too.
    void begin(int aspects, const QList<int> &windows);
    // The action's commands were sent; the layout is asked for, whose answer closes the step.
    void end();
    // The matrix answered the next command of the connection. True when it belongs to an undo
    // or redo, whose refusal this object tells (the page says nothing of it itself).
    bool commandAnswered(int result);
    // A new connection: its answers are counted from the start.
    void connectionStarted();
    // The page left the matrix: nothing of it can be undone any more.
    void clear();
    // An action, undo or redo waits for the matrix's answers.
    bool isBusy() const { return !pending.isEmpty(); }
    // The next step to undo (redo) changes only the windows' numbers.
    bool undoChangesNumbers() const;
    bool redoChangesNumbers() const;

    void undo();
    void redo();

    Window readWindow(int number) const;
    // Equal in what the aspects name.
    static bool sameWindow(const Window &a, const Window &b, int aspects);

signals:
    // Whether something can be undone or redone, or the object is busy, changed.
    void changed();
    // A message for the operator.
    void notice(const QString &text);

private:
    enum class Kind { Record, Undo, Redo };
    struct Pending
    {
        Kind kind = Kind::Record;
        quint64 first = 0; // commands sent before the action's first
        quint64 last = 0; // the action's last command; the largest value while it is open
        bool refused = false;
        Step step;
        QList<int> windows;
    };
    void revert(bool undoing);
    void finish(const Pending &done);
    // Sends the commands that bring the windows from what they hold to what target holds.
    void send(const Step &step, const QVector<Window> &from, const QVector<Window> &target);
    static QString describe(const Step &step);

    MatrixManageWidget *wall = nullptr;
    WallUndoHistory *steps = nullptr;
    QList<Pending> pending;
    // Commands of this connection answered so far.
    quint64 answered = 0;
    int depth = 0;
};

} // namespace LUMO_DIGITALMATRIX_MODULE

Q_DECLARE_METATYPE(LUMO_DIGITALMATRIX_MODULE::X86WallHistory::Step)
