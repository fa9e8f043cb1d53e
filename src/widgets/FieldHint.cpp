#include "FieldHint.h"

#include <QToolTip>
#include <QWidget>

namespace LUMO_DIGITALMATRIX_MODULE {

void FieldHint::show(QWidget *field, const QString &text)
{
    // Just under the field, left-aligned with it: the tip names the field it is about and
    // leaves the field free, so the first click into it edits it.
    // Qt places a tip at a fixed offset from the point it is given (2 right, 16 down).
    const QPoint under(0, field->height() + TipGap);
    QToolTip::showText(field->mapToGlobal(under) - QPoint(2, 16), text, field);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
