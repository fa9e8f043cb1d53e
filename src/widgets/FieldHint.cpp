#include "FieldHint.h"

#include <QToolTip>
#include <QWidget>

namespace LUMO_DIGITALMATRIX_MODULE {

void FieldHint::show(QWidget *field, const QString &text)
{
    QToolTip::showText(field->mapToGlobal(QPoint(0, 0)), text, field);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
