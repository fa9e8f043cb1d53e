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
class _ModifyDigitalMatrixServerDlg;
}

// Asks for the name, address, port and optional account of an X86 matrix server and checks them
// against the other X86 servers of the data centre. exec() returns 1 when the input was saved.
class DIGITALMATRIX_EXPORT _ModifyDigitalMatrixServerDlg : public COMMONUSELIB::MoveableDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(_ModifyDigitalMatrixServerDlg)

public:
    static constexpr int DefaultPort = 9010;

    // info null: add a server; otherwise edit that server.
    _ModifyDigitalMatrixServerDlg(QWidget *parent, const DigitalMatrixServerInfo *info);
    ~_ModifyDigitalMatrixServerDlg() override;

    // The record as entered: matrixKind 1; user and password empty when not given.
    DigitalMatrixServerInfo getServerInfo() const;

public slots:
    void slotSaveBtClicked();
    void slotCancleBtClicked();
    void slotLineEtTextChanged(QLineEdit *edit, const QString &text);

protected:
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::_ModifyDigitalMatrixServerDlg> ui;
    QList<UServerInfo> otherServers;
    QString editedId;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
