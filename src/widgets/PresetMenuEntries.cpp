#include "PresetMenuEntries.h"

#include <QAction>
#include <QMenu>

namespace LUMO_DIGITALMATRIX_MODULE {

void PresetMenuEntries::add(QMenu *menu, const QStringList &names, QObject *context,
                            const Action &recall, const Action &rename, const Action &remove)
{
    if (!names.isEmpty())
        menu->addSeparator();
    const auto entry = [context](QMenu *preset, const QString &text, const char *objectName,
                                 const Action &act, const QString &name) {
        preset->addAction(text, context, [act, name] { act(name); })
                ->setObjectName(QLatin1String(objectName));
    };
    for (const QString &name : names) {
        QMenu *preset = menu->addMenu(name);
        preset->setObjectName(QStringLiteral("preset:") + name);
        entry(preset, tr("Recall"), "recallPresetAction", recall, name);
        entry(preset, tr("Rename..."), "renamePresetAction", rename, name);
        entry(preset, tr("Delete"), "deletePresetAction", remove, name);
    }
}

} // namespace LUMO_DIGITALMATRIX_MODULE
