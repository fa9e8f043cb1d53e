#pragma once

#include "digitalmatrix_export.h"

class QString;
class QWidget;

namespace LUMO_DIGITALMATRIX_MODULE {

// How the module's dialogs say what is wrong with an input: a tool tip at the top-left
// corner of the field.
class DIGITALMATRIX_EXPORT FieldHint
{
public:
    static void show(QWidget *field, const QString &text);
};

} // namespace LUMO_DIGITALMATRIX_MODULE
