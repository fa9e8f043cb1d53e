#pragma once

#include "digitalmatrix_export.h"

#include "CellChannelItem.h"

#include "MoveableDialog.h"

#include <QList>

#include <memory>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace Ui {
class CellChannelsCheckDlg;
}

class CellChannelsTableWt;

// Lists the channels one cell holds, with their devices, and deletes some or all of them
// from the cell. The cell answers every deletion request through
// slotDeleteChannelFromTable.
class DIGITALMATRIX_EXPORT CellChannelsCheckDlg : public COMMONUSELIB::MoveableDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(CellChannelsCheckDlg)

public:
    explicit CellChannelsCheckDlg(QWidget *parent = nullptr);
    ~CellChannelsCheckDlg() override;

    // Fills the table, one row per item, keyed by its position in the cell (as text; an
    // item without a position by its channel GUID); a channel the data centre does not
    // know is listed as "Unknown channel".
    void setChannels(const QList<CellChannelItem> &items);
    CellChannelsTableWt *table() const;

signals:
    // Asks the cell to delete the channel of a row (its key: the position as text).
    void signalDeleteChannelFromCell(const QString &channelGuid);

public slots:
    void slotQuitBtClicked();
    void slotDeleteChannelsBtClicked();
    void slotClearChannelsBtClicked();
    void slotClosedBtClicked();
    void slotDeleteChannelFromTable(const QString &channelGuid, bool deleteSuccess);

protected:
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::CellChannelsCheckDlg> ui;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
