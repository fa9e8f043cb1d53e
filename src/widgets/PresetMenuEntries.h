#pragma once

#include "digitalmatrix_export.h"

#include <QCoreApplication>
#include <QStringList>

#include <functional>

class QMenu;
class QObject;

namespace LUMO_DIGITALMATRIX_MODULE {

// The presets of a wall in a page's preset menu: after a separator, one submenu per preset
// (object name "preset:<name>") with "Recall", "Rename..." and "Delete".
class DIGITALMATRIX_EXPORT PresetMenuEntries
{
    Q_DECLARE_TR_FUNCTIONS(LUMO_DIGITALMATRIX_MODULE::PresetMenuEntries)

public:
    using Action = std::function<void(const QString &name)>;
    // The actions run in context's thread and end with it.
    static void add(QMenu *menu, const QStringList &names, QObject *context, const Action &recall,
                    const Action &rename, const Action &remove);
};

} // namespace LUMO_DIGITALMATRIX_MODULE
