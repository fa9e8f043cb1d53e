#include "CellChannelsCheckDlg.h"
#include "ui_CellChannelsCheckDlg.h"

#include <QEvent>

#include "CellChannelsTableWt.h"
#include "LinuxPrompt.h"

#include "UserManagerCore.h"

namespace LUMO_DIGITALMATRIX_MODULE {

CellChannelsCheckDlg::CellChannelsCheckDlg(QWidget *parent)
    : COMMONUSELIB::MoveableDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , ui(new Ui::CellChannelsCheckDlg)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);
    connect(ui->quitBt, &QPushButton::clicked, this, &CellChannelsCheckDlg::slotQuitBtClicked);
    connect(ui->deleteBt, &QPushButton::clicked, this,
            &CellChannelsCheckDlg::slotDeleteChannelsBtClicked);
    connect(ui->clearBt, &QPushButton::clicked, this,
            &CellChannelsCheckDlg::slotClearChannelsBtClicked);
    connect(ui->closeBt, &QPushButton::clicked, this, &CellChannelsCheckDlg::slotClosedBtClicked);
}

CellChannelsCheckDlg::~CellChannelsCheckDlg() = default;

CellChannelsTableWt *CellChannelsCheckDlg::table() const
{
    return ui->channelsTableWt;
}

void CellChannelsCheckDlg::setChannels(const QList<CellChannelItem> &items)
{
    CellChannelsTableWt *table = ui->channelsTableWt;
    table->deleteAllRows();
    DATACore::UserManagerCore *dataCentre = DATACore::UserManagerCore::instance();
    for (const CellChannelItem &item : items) {
        // One row per position the cell holds, whether or not the data centre still knows
        // its channel (the same channel may also be placed twice).
        const DeviceChancelInfo channel = item.channelId.isEmpty()
                ? DeviceChancelInfo()
                : dataCentre->getDevChannelInfoByChannelGuid(item.channelId);
        const bool known = !channel.channelGuid.isEmpty();
        const UDeviceInfo device =
                known ? dataCentre->getDeviceInfoByDeviceGuid(channel.deviceGuid) : UDeviceInfo();
        const QString name =
                known && !item.channelName.isEmpty() ? item.channelName : tr("Unknown channel");
        // A position is the row's key; an item not placed yet is known by its channel.
        const QString key = item.position >= 0 ? QString::number(item.position) : item.channelId;
        const int row = table->insertBack({name, device.struct_DeviceName}, key, QSet<int>());
        if (row < 0)
            continue;
        for (int column = 1; column <= 2; ++column) {
            if (QTableWidgetItem *cell = table->item(row, column))
                cell->setToolTip(cell->text());
        }
    }
}

void CellChannelsCheckDlg::slotQuitBtClicked()
{
    reject();
}

void CellChannelsCheckDlg::slotClosedBtClicked()
{
    reject();
}

void CellChannelsCheckDlg::slotDeleteChannelsBtClicked()
{
    CellChannelsTableWt *table = ui->channelsTableWt;
    if (table->rowCount() == 0)
        return;
    const QStringList keys = table->getCheckedRowsKeyValues();
    if (keys.isEmpty()) {
        LinuxPrompt::notice(this, tr("Please seclect channels to delete!"));
        return;
    }
    if (!LinuxPrompt::ask(this, tr("Make sure delete select channels from cell?")))
        return;
    for (const QString &key : keys)
        emit signalDeleteChannelFromCell(key);
}

void CellChannelsCheckDlg::slotClearChannelsBtClicked()
{
    CellChannelsTableWt *table = ui->channelsTableWt;
    if (table->rowCount() == 0)
        return;
    if (!LinuxPrompt::ask(this, tr("Make sure clear channels from cell?")))
        return;
    while (table->rowCount() > 0) {
        const QString key = table->getRowKeyValue(0);
        emit signalDeleteChannelFromCell(key);
        // A refused deletion (or one nobody answered) keeps its row: stop there.
        if (table->rowOfKeyValue(key) >= 0)
            break;
    }
}

void CellChannelsCheckDlg::slotDeleteChannelFromTable(const QString &channelGuid,
                                                      bool deleteSuccess)
{
    if (deleteSuccess) {
        ui->channelsTableWt->deleteRowByKeyValue(channelGuid);
        return;
    }
    LinuxPrompt::notice(this, tr("Delete channel from cell fail!"));
}

void CellChannelsCheckDlg::changeEvent(QEvent *event)
{
    COMMONUSELIB::MoveableDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
