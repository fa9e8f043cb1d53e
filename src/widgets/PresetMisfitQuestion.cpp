#include "PresetMisfitQuestion.h"

#include "MessageBoxW.h"

#include <QPushButton>
#include <QWidget>

namespace LUMO_DIGITALMATRIX_MODULE {

QString PresetMisfitQuestion::text(const QString &preset, const QStringList &missing)
{
    return tr("The preset \"%1\" no longer fits the matrix. Missing: %2.\n\nApply the rest of "
              "the preset?")
            .arg(preset, missing.join(QStringLiteral(", ")));
}

bool PresetMisfitQuestion::ask(QWidget *parent, const QString &title, const QString &preset,
                               const QStringList &missing)
{
    using COMMONUSELIB::MessageBoxW;
    // Scripted answers (automation, tests) take the question as the host's boxes do.
    if (MessageBoxW::answerHook())
        return MessageBoxW::question(parent, title, text(preset, missing),
                                     MessageBoxW::YesNoButtons)
                == 1;
    MessageBoxW box(parent ? parent->window() : nullptr, QStringLiteral("question"), title,
                    text(preset, missing), MessageBoxW::YesNoButtons);
    if (auto *apply = box.findChild<QPushButton *>(QStringLiteral("yesBt")))
        apply->setText(tr("Apply the rest"));
    if (auto *cancel = box.findChild<QPushButton *>(QStringLiteral("noBt")))
        cancel->setText(tr("Cancel"));
    return box.exec() == 1;
}

} // namespace LUMO_DIGITALMATRIX_MODULE
