#pragma once

#include "digitalmatrix_export.h"

#include "LinuxDigitalMatrixPage.h"

#include <QWidget>

#include <memory>

class QMenu;
class QPushButton;
class QToolButton;

namespace LUMO_DIGITALMATRIX_MODULE {

namespace Ui {
class MatrixOperButtonsWt;
}

// The operation bar of the Linux page: the buttons of the current step (channel
// configuration or screen arrangement) and the matrix's reboot, upgrade and reset.
class DIGITALMATRIX_EXPORT MatrixOperButtonsWt : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(MatrixOperButtonsWt)

public:
    explicit MatrixOperButtonsWt(QWidget *parent = nullptr);
    ~MatrixOperButtonsWt() override;

    void setStatus(LinuxDigitalMatrixPage::MatrixStatus status);
    LinuxDigitalMatrixPage::MatrixStatus status() const { return currentStatus; }
    // The menu of the wall presets; the page fills it each time it opens.
    QMenu *presetMenu() const { return presets; }
    // Undo and redo of the wall's changes, shown beside the channel tools.
    QPushButton *undoButton() const;
    QPushButton *redoButton() const { return redoLayoutBt; }

signals:
    void signalConfigMatrixBtClicked();
    void signalUndoLayoutBtClicked();
    void signalRedoLayoutBtClicked();
    void signalClearChannelsBtClicked();
    void signalStopAllTurnsBtClicked();
    void signalSaveConfigBtClicked();
    void signalBackStepBtClicked();
    void signalCancelBtClicked();
    void signalRebootBtClicked();
    void signalUpgradeBtClicked();
    void signalResetBtClicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::MatrixOperButtonsWt> ui;
    QPushButton *stopAllTurnsBt = nullptr;
    QPushButton *redoLayoutBt = nullptr;
    QToolButton *presetsBt = nullptr;
    QMenu *presets = nullptr;
    LinuxDigitalMatrixPage::MatrixStatus currentStatus = LinuxDigitalMatrixPage::MatrixStatusNormal;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
