#pragma once

#include "digitalmatrix_export.h"

class QString;
class QWidget;

namespace LUMO_DIGITALMATRIX_MODULE {

// How the module's dialogs say what is wrong with an input: a tool tip right under the
// field, starting at its left edge, so that it never covers the field.
class DIGITALMATRIX_EXPORT FieldHint
{
public:
    // Pixels between the field's bottom edge and the tip.
    static constexpr int TipGap = 2;

    static void show(QWidget *field, const QString &text);
};

} // namespace LUMO_DIGITALMATRIX_MODULE
