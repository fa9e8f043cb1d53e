#pragma once

#include "digitalmatrix_export.h"

#include "DataCoreTypes.h"
#include "DigitalMatrixServerInfo.h"
#include "MoveableDialog.h"

#include <QList>

#include <memory>

class QLineEdit;

namespace LUMO_DIGITALMATRIX_MODULE {

namespace Ui {
class ModifyDigitalMatrixServerDlg;
}

// Enters or changes one matrix server. The dialog validates the input and refuses a name
// or an address that another Linux matrix server already uses; it stores nothing.
class DIGITALMATRIX_EXPORT ModifyDigitalMatrixServerDlg : public COMMONUSELIB::MoveableDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(ModifyDigitalMatrixServerDlg)

public:
    // Type combo entries.
    enum ServerType { X86ServerType = 0, LinuxServerType = 1 };

    // A null server opens the dialog to add one, otherwise to edit that one.
    explicit ModifyDigitalMatrixServerDlg(QWidget *parent = nullptr,
                                          const DigitalMatrixServerInfo *server = nullptr);
    ~ModifyDigitalMatrixServerDlg() override;

    // The record as entered.
    DigitalMatrixServerInfo serverInfo() const;
    // Keeps the type as it is (a new server is then always a Linux matrix server).
    void disableServerType();

public slots:
    void slotSaveBtClicked();
    void slotCancleBtClicked();
    void slotServerTypeComBxIndexChanged(int index);

protected:
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::ModifyDigitalMatrixServerDlg> ui;
    QList<UServerInfo> otherServers;
    QString editingId;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
