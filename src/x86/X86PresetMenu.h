#pragma once

#include "digitalmatrix_export.h"

#include "X86WallPreset.h"

#include <QObject>
#include <QString>

#include <functional>

class QMenu;
class QPushButton;
class QWidget;

namespace LUMO_DIGITALMATRIX_MODULE {

class MatrixManageWidget;
class X86WallSequence;

// The wall presets of the connected X86 matrix, kept in the data centre: the "Presets"
// button beside the wall tools with "Save As..." and, per preset, "Recall", "Rename..." and
// "Delete". A recall stops the turn shows, then sends the preset command by command, each
// once the matrix accepted the one before; a refusal puts the wall back as it was captured
// before the recall and names the refused step.
class DIGITALMATRIX_EXPORT X86PresetMenu : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(X86PresetMenu)

public:
    // serverId: the connected server's key, empty while the page may not use the wall.
    X86PresetMenu(QWidget *page, MatrixManageWidget *wall, std::function<QString()> serverId);
    ~X86PresetMenu() override;

    QPushButton *button() const { return presetsBt; }
    QMenu *menu() const { return presets; }
    bool isRecalling() const;
    // A command result of the matrix: true when a recall waited for it.
    bool takeCommandResult(int command, int result);
    // The page left the matrix: a recall under way is given up.
    void abort();
    void retranslate();

signals:
    // A recall starts sending: it changes the wall outside the page's undo list.
    void recallStarted();
    // A recall ended (sent, put back or given up).
    void recallFinished();

private:
    void fillMenu();
    void savePresetAs();
    void recallPreset(const QString &name);
    void renamePreset(const QString &name);
    void deletePreset(const QString &name);
    void stepRefused(const X86WallPreset::Step &step);
    void sequenceFinished();
    void notice(const QString &text);

    QWidget *page = nullptr;
    MatrixManageWidget *wall = nullptr;
    std::function<QString()> serverId;
    QPushButton *presetsBt = nullptr;
    QMenu *presets = nullptr;
    X86WallSequence *sequence = nullptr;
    // The wall as it was before the recall, and the step the matrix refused (empty while the
    // recall itself runs).
    X86WallPreset before;
    QString refusedStep;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
