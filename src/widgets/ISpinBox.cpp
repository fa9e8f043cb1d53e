#include "ISpinBox.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {
bool isAcceptedKey(int key)
{
    return (key >= Qt::Key_0 && key <= Qt::Key_9)
            || (key >= Qt::Key_Launch0 && key <= Qt::Key_Launch9) || key == Qt::Key_Backspace
            || key == Qt::Key_Left || key == Qt::Key_Right;
}
} // namespace

ISpinBox::ISpinBox(QWidget *parent)
    : QSpinBox(parent)
{
    setFocusPolicy(Qt::ClickFocus);
}

ISpinBox::~ISpinBox() = default;

void ISpinBox::keyPressEvent(QKeyEvent *event)
{
    setFocus();
    const int key = event->key();
    // Keys that are dropped stay accepted so that they do not reach the parent either.
    if (!isAcceptedKey(key))
        return;
    if (key == Qt::Key_0 && text().isEmpty())
        return;
    if (text().startsWith(QLatin1Char('0'))) {
        clear();
        return;
    }
    QSpinBox::keyPressEvent(event);
}

void ISpinBox::focusOutEvent(QFocusEvent *event)
{
    emit sigFocusOut(value());
    QSpinBox::focusOutEvent(event);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
