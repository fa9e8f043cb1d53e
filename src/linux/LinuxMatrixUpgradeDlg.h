#pragma once

#include "digitalmatrix_export.h"

#include "MoveableDialog.h"

#include <QString>

#include <memory>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace Ui {
class LinuxMatrixUpgradeDlg;
}

// Tells the connected Linux matrix to upgrade its firmware from USB, HTTP or FTP.
class DIGITALMATRIX_EXPORT LinuxMatrixUpgradeDlg : public COMMONUSELIB::MoveableDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(LinuxMatrixUpgradeDlg)

public:
    // Upgrade sources as the matrix takes them.
    enum UpgradeSource { SourceUsb = 0, SourceFtp = 1, SourceHttp = 2 };
    // Result before any upgrade was started.
    static constexpr int NotStarted = -1000;

    explicit LinuxMatrixUpgradeDlg(QWidget *parent = nullptr);
    ~LinuxMatrixUpgradeDlg() override;

    // The source of a combo index (0 USB, 1 HTTP, 2 FTP), -1 for other indices.
    static int sourceOfIndex(int index);
    // The matrix's answer to the start (0 = accepted), NotStarted while none was sent.
    int startResult() const { return upgradeStartResult; }
    // Where the upgrade started comes from: "USB", or "HTTP"/"FTP" with the URL's host.
    QString sourceText() const { return startedSource; }
    static QString describeSource(int source, const QString &url);

public slots:
    void slotUpgradeTypeCurIndexChanged(int index);
    void slotSaveBtClicked();
    void slotCancleBtClicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::LinuxMatrixUpgradeDlg> ui;
    int upgradeStartResult = NotStarted;
    QString startedSource;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
