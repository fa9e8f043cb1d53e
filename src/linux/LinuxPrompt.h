#pragma once

#include "digitalmatrix_export.h"

#include <QCoreApplication>

class QWidget;

namespace LUMO_DIGITALMATRIX_MODULE {

// The message boxes of the Linux page and its cells, titled "Prompt".
class DIGITALMATRIX_EXPORT LinuxPrompt
{
    Q_DECLARE_TR_FUNCTIONS(LUMO_DIGITALMATRIX_MODULE::LinuxPrompt)

public:
    // A notice with one button.
    static void notice(QWidget *parent, const QString &text);
    // A yes/no question: true when the operator answered yes.
    static bool ask(QWidget *parent, const QString &text);
};

} // namespace LUMO_DIGITALMATRIX_MODULE
