// Base of the host's frameless dialogs: the dialog is dragged by its body.
#pragma once

#include "lumohost_export.h"

#include <QDialog>
#include <QPoint>

namespace COMMONUSELIB {

// A frameless dialog (Qt::Dialog | Qt::FramelessWindowHint). Pressing the left button
// anywhere on its body (on the dialog itself or on a child that leaves the mouse to it,
// such as a label) and moving drags the whole window; children that take the mouse
// (buttons, edits, lists) keep it. exec() returns 1 when accepted, as QDialog does.
// With Qt::WA_TranslucentBackground set, the body is painted as a framed panel (and a
// style sheet's background on top of it), so the dialog never turns invisible.
class LUMOHOST_EXPORT MoveableDialog : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(MoveableDialog)

public:
    explicit MoveableDialog(QWidget *parent = nullptr,
                            Qt::WindowFlags flags = Qt::Dialog | Qt::FramelessWindowHint);
    ~MoveableDialog() override;

    void setMoveable(bool moveable);
    bool isMoveable() const { return m_moveable; }
    // True between the press that started a drag and its release.
    bool isDragging() const { return m_dragging; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QPoint m_pressOffset; // press position relative to the window's top-left corner
    bool m_moveable = true;
    bool m_dragging = false;
};

} // namespace COMMONUSELIB
