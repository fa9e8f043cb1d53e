#pragma once

#include "digitalmatrix_export.h"

#include <QCoreApplication>
#include <QStringList>

class QWidget;

namespace LUMO_DIGITALMATRIX_MODULE {

// Asks whether to apply what fits of a wall preset that no longer fits the matrix, naming
// what is missing: "Apply the rest" or "Cancel", the latter the default.
class DIGITALMATRIX_EXPORT PresetMisfitQuestion
{
    Q_DECLARE_TR_FUNCTIONS(LUMO_DIGITALMATRIX_MODULE::PresetMisfitQuestion)

public:
    static QString text(const QString &preset, const QStringList &missing);
    // True when the operator chose to apply the rest.
    static bool ask(QWidget *parent, const QString &title, const QString &preset,
                    const QStringList &missing);
};

} // namespace LUMO_DIGITALMATRIX_MODULE
