#include "X86PresetMenu.h"

#include "DigitalMatrixInteractionPort.h"
#include "MatrixManageWidget.h"
#include "PresetMenuEntries.h"
#include "PresetMisfitQuestion.h"
#include "X86WallSequence.h"

#include "MessageBoxW.h"
#include "UserManagerCore.h"

#include <QInputDialog>
#include <QMenu>
#include <QPushButton>

namespace LUMO_DIGITALMATRIX_MODULE {

using COMMONUSELIB::MessageBoxW;

X86PresetMenu::X86PresetMenu(QWidget *page, MatrixManageWidget *wall,
                             std::function<QString()> serverId)
    : QObject(page)
    , page(page)
    , wall(wall)
    , serverId(std::move(serverId))
    , sequence(new X86WallSequence(this))
{
    setObjectName(QStringLiteral("x86PresetMenu"));
    presetsBt = new QPushButton(page);
    presetsBt->setObjectName(QStringLiteral("presetsBt"));
    presetsBt->setProperty("matrixcontrolbutton", true);
    presetsBt->setFocusPolicy(Qt::ClickFocus);
    presetsBt->setAutoDefault(false);
    presetsBt->setFixedHeight(39);
    presets = new QMenu(presetsBt);
    presets->setObjectName(QStringLiteral("presetMenu"));
    presets->setProperty("lumo_menu", true);
    presetsBt->setMenu(presets);
    retranslate();
    connect(presets, &QMenu::aboutToShow, this, &X86PresetMenu::fillMenu);
    connect(sequence, &X86WallSequence::refused, this,
            [this](const X86WallPreset::Step &step, int) { stepRefused(step); });
    connect(sequence, &X86WallSequence::finished, this, &X86PresetMenu::sequenceFinished);
}

X86PresetMenu::~X86PresetMenu() = default;

void X86PresetMenu::retranslate()
{
    presetsBt->setText(tr("Presets"));
}

bool X86PresetMenu::isRecalling() const
{
    return sequence->isRunning();
}

bool X86PresetMenu::takeCommandResult(int command, int result)
{
    return sequence->takeResult(command, result);
}

void X86PresetMenu::abort()
{
    if (!sequence->isRunning())
        return;
    sequence->abort();
    refusedStep.clear();
    wall->setEnabled(true);
    emit recallFinished();
}

void X86PresetMenu::notice(const QString &text)
{
    MessageBoxW::warning(page->window(), tr("Warn"), text, MessageBoxW::NoticeButtons);
}

void X86PresetMenu::fillMenu()
{
    // The menus of the presets listed last time go with their entries.
    qDeleteAll(presets->findChildren<QMenu *>(QString(), Qt::FindDirectChildrenOnly));
    presets->clear();
    const QString server = serverId();
    const bool usable = !server.isEmpty() && !sequence->isRunning();
    QAction *save = presets->addAction(tr("Save As..."), this, &X86PresetMenu::savePresetAs);
    save->setObjectName(QStringLiteral("savePresetAction"));
    save->setEnabled(usable);
    if (!usable)
        return;
    const QStringList names = DATACore::UserManagerCore::instance()->wallPresetNames(server);
    PresetMenuEntries::add(
            presets, names, this, [this](const QString &name) { recallPreset(name); },
            [this](const QString &name) { renamePreset(name); },
            [this](const QString &name) { deletePreset(name); });
}

void X86PresetMenu::savePresetAs()
{
    const QString server = serverId();
    if (server.isEmpty())
        return;
    bool ok = false;
    const QString name =
            QInputDialog::getText(page->window(), tr("Save Preset"), tr("Preset name:"),
                                  QLineEdit::Normal, QString(), &ok);
    if (!ok)
        return;
    const QByteArray payload = X86WallPreset::capture(*wall).toJson();
    DATACore::UserManagerCore *dataCentre = DATACore::UserManagerCore::instance();
    if (!dataCentre->saveWallPreset(server, name, payload))
        notice(tr("The preset could not be saved: %1").arg(dataCentre->lastError()));
}

void X86PresetMenu::recallPreset(const QString &name)
{
    const QString server = serverId();
    if (server.isEmpty() || sequence->isRunning()
        || MessageBoxW::warning(page->window(), tr("Warn"),
                                tr("Do you want to recall the preset \"%1\"?").arg(name),
                                MessageBoxW::YesNoButtons)
                != 1)
        return;
    QByteArray payload;
    X86WallPreset preset;
    if (!DATACore::UserManagerCore::instance()->loadWallPreset(server, name, &payload)
        || !X86WallPreset::fromJson(payload, &preset)) {
        notice(tr("The preset \"%1\" cannot be read.").arg(name));
        return;
    }
    const X86WallPreset current = X86WallPreset::capture(*wall);
    // Nothing is sent for a preset the wall cannot take at all, nor when the operator does
    // not want what fits of it.
    const QString refusal = preset.refusal(current);
    if (!refusal.isEmpty()) {
        notice(refusal);
        return;
    }
    QStringList missing;
    const X86WallPreset fitted = preset.fittedTo(current, &missing);
    if (!missing.isEmpty() && !PresetMisfitQuestion::ask(page, tr("Warn"), name, missing))
        return;
    before = current;
    refusedStep.clear();
    // The operator waits for the recall: the wall takes no input meanwhile.
    wall->setEnabled(false);
    emit recallStarted();
    sequence->run(DigitalMatrixInteractionPort::instance(), fitted.stepsFrom(current));
}

void X86PresetMenu::stepRefused(const X86WallPreset::Step &step)
{
    if (!refusedStep.isEmpty()) {
        const QString first = refusedStep;
        refusedStep.clear();
        wall->setEnabled(true);
        DigitalMatrixInteractionPort::instance()->requestLayout();
        emit recallFinished();
        notice(tr("The matrix refused %1, and then %2 while putting the wall back.")
                       .arg(first, step.what));
        return;
    }
    // The wall shows what the matrix took up to the refused step: from there it goes back.
    refusedStep = step.what;
    sequence->run(DigitalMatrixInteractionPort::instance(),
                  before.stepsFrom(X86WallPreset::capture(*wall)));
}

void X86PresetMenu::sequenceFinished()
{
    wall->setEnabled(true);
    emit recallFinished();
    if (refusedStep.isEmpty())
        return;
    const QString failed = refusedStep;
    refusedStep.clear();
    notice(tr("The matrix refused %1. The wall was put back as it was.").arg(failed));
}

void X86PresetMenu::renamePreset(const QString &name)
{
    const QString server = serverId();
    if (server.isEmpty())
        return;
    bool ok = false;
    const QString newName = QInputDialog::getText(page->window(), tr("Rename Preset"),
                                                  tr("Preset name:"), QLineEdit::Normal, name, &ok);
    if (!ok || newName == name)
        return;
    DATACore::UserManagerCore *dataCentre = DATACore::UserManagerCore::instance();
    if (!dataCentre->renameWallPreset(server, name, newName))
        notice(tr("The preset could not be renamed: %1").arg(dataCentre->lastError()));
}

void X86PresetMenu::deletePreset(const QString &name)
{
    const QString server = serverId();
    if (server.isEmpty()
        || MessageBoxW::warning(page->window(), tr("Warn"),
                                tr("Do you want to delete the preset \"%1\"?").arg(name),
                                MessageBoxW::YesNoButtons)
                != 1)
        return;
    DATACore::UserManagerCore *dataCentre = DATACore::UserManagerCore::instance();
    if (!dataCentre->deleteWallPreset(server, name))
        notice(tr("The preset could not be deleted: %1").arg(dataCentre->lastError()));
}

} // namespace LUMO_DIGITALMATRIX_MODULE
