#pragma once

#include "digitalmatrix_export.h"

#include <QObject>
#include <QString>
#include <QVariant>

class QUndoStack;

namespace LUMO_DIGITALMATRIX_MODULE {

// The undo and redo list of one matrix's wall. A step is recorded once the matrix took it;
// undoing or redoing a step is sent by the page, and only once the matrix took that too does
// the list move (stepUndone, stepRedone), so the list never says more than the matrix holds.
// Each step carries the page's own record of it (payload) and the text that names it.
class DIGITALMATRIX_EXPORT WallUndoHistory : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(WallUndoHistory)

public:
    explicit WallUndoHistory(QObject *parent = nullptr);
    ~WallUndoHistory() override;

    // A step the matrix took: it ends the redo list.
    void record(const QString &text, const QVariant &payload);
    bool canUndo() const;
    bool canRedo() const;
    QString undoText() const;
    QString redoText() const;
    QVariant undoPayload() const;
    QVariant redoPayload() const;
    // The matrix took the undo (redo) of the next step; payload, when valid, replaces the
    // step's record with what the matrix holds now.
    void stepUndone(const QVariant &payload = QVariant());
    void stepRedone(const QVariant &payload = QVariant());
    // The next step to undo (redo) cannot be taken any more: it leaves the list, the other
    // steps stay.
    void dropUndoStep();
    void dropRedoStep();
    // Another operator changed what the next step to undo (redo) left, so it is not sent: the
    // step leaves the list. Gives the notice that tells the operator so.
    QString dropOvertakenStep(bool undoing);
    void clear();
    int count() const;
    QUndoStack *stack() const { return undoStack; }

signals:
    // What can be undone or redone changed.
    void changed();

private:
    void dropAt(int position);

    QUndoStack *undoStack = nullptr;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
