#include "MatrixViewTree.h"
#include "ui_MatrixViewTree.h"

#include "ChannelRecordBuilder.h"
#include "DigitalMatrixInteractionPort.h"
#include "ModuleLogging.h"
#include "ServerConfigTreeItem.h"

#include "MessageBoxW.h"
#include "UserManagerCore.h"

#include <QEvent>
#include <QApplication>
#include <QTreeWidgetItemIterator>

#include <vector>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {

using COMMONUSELIB::MessageBoxW;

constexpr short NoticeButtons = 1;

const int kSplits[] = {1, 4, 9, 16, 25};

} // namespace

MatrixViewTree::MatrixViewTree(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::MatrixViewTree)
{
    ui->setupUi(this);
    ui->_searchEdit->setPlaceholderText(tr("Search..."));
    ui->_treeWidget->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(ui->_searchEdit, &CustomSearchEdit::sigLostFocus, this,
            &MatrixViewTree::slotEditLostFocus);
    connect(ui->_searchEdit, &CustomSearchEdit::sigDoSearch, this, &MatrixViewTree::slotDoSearch);
    loadViews();
}

MatrixViewTree::~MatrixViewTree() = default;

void MatrixViewTree::setMonitor(int monitorIndex)
{
    monitor = monitorIndex;
}

int MatrixViewTree::splitForPanes(int paneCount)
{
    for (int split : kSplits) {
        if (paneCount <= split)
            return split;
    }
    return kSplits[sizeof kSplits / sizeof kSplits[0] - 1];
}

void MatrixViewTree::loadViews()
{
    DATACore::UserManagerCore *core = DATACore::UserManagerCore::instance();
    matches.clear();
    matchCursor = 0;
    ui->_treeWidget->clear();
    views = core->getAllViews();
    for (const AllPlayViewInfo &view : qAsConst(views)) {
        auto *viewItem = new ServerConfigTreeItem(ui->_treeWidget, QStringList {view.strName});
        viewItem->setItemKind(ServerConfigTreeItem::AreaItem);
        viewItem->setChannelGuid(view.strGuid);
        for (int i = 0; i < view.channelGuids.size(); ++i) {
            const DeviceChancelInfo channel =
                    core->getChannelInfoByChannelGuid(view.channelGuids.at(i));
            auto *item = new ServerConfigTreeItem(viewItem, QStringList {channel.channelName});
            item->setItemKind(ServerConfigTreeItem::ChannelItem);
            item->setChannelGuid(view.channelGuids.at(i));
            item->setChannelName(channel.channelName);
            item->setChannelNo(channel.channelNo);
        }
    }
}

const AllPlayViewInfo *MatrixViewTree::viewByKey(const QString &key) const
{
    const QByteArray wanted = key.toLocal8Bit();
    for (const AllPlayViewInfo &view : views) {
        if (view.strGuid.toLocal8Bit() == wanted)
            return &view;
    }
    return nullptr;
}

void MatrixViewTree::slotSetSource()
{
    DigitalMatrixInteractionPort *port = DigitalMatrixInteractionPort::instance();

    // A channel of a view stands for its view.
    const QList<QTreeWidgetItem *> selected = ui->_treeWidget->selectedItems();
    QTreeWidgetItem *viewItem = selected.isEmpty() ? nullptr : selected.first();
    while (viewItem && viewItem->parent())
        viewItem = viewItem->parent();
    const ServerConfigTreeItem *node = viewItem && viewItem->type() == ServerConfigTreeItem::Type
            ? static_cast<const ServerConfigTreeItem *>(viewItem)
            : nullptr;
    const AllPlayViewInfo *view = node ? viewByKey(node->channelGuid()) : nullptr;
    if (!view) {
        MessageBoxW::warning(this, tr("View Error!"), tr("Please select a view to set!"),
                             NoticeButtons);
        return;
    }
    if (view->paneCount > MaxViewPanes) {
        MessageBoxW::warning(this, tr("Error"), tr("The channels of view can't more than 25!"),
                             NoticeButtons);
        return;
    }
    // Only a view that can be set ends the window's turn show.
    port->setTurnState(monitor, X86TurnState::NoTurn);
    // The matrix splits a window into 1, 4, 9, 16 or 25 panes; every pane of the view fits.
    const int split = splitForPanes(view->paneCount);
    emit sigSpliteButtonClicked(split);

    localNumbers.clear();
    for (int i = 0; i < view->channelGuids.size(); ++i) {
        ViewChannelEntry entry;
        entry.channelGuid = view->channelGuids.at(i);
        entry.channelNo = view->channelNO.value(i);
        entry.localNO = view->localNO.value(i);
        localNumbers.append(entry);
    }

    DATACore::UserManagerCore *core = DATACore::UserManagerCore::instance();
    std::vector<_ST_ChnInfo> records;
    records.reserve(std::size_t(localNumbers.size()));
    for (const ViewChannelEntry &entry : qAsConst(localNumbers)) {
        const DeviceChancelInfo channel = core->getChannelInfoByChannelGuid(entry.channelGuid);
        // A channel deleted since the view was saved has nothing to show.
        if (channel.channelGuid.isEmpty())
            continue;
        const UDeviceInfo device = core->getDevInfo(channel.deviceGuid);
        qCDebug(lcModuleX86) << "tempDeviceInfo.struct_IpAddress" << device.struct_IpAddress;
        qCDebug(lcModuleX86) << "tempDeviceInfo.struct_account" << device.struct_account;
        qCDebug(lcModuleX86) << "tempDeviceInfo.struct_password"
                             << "***";
        qCDebug(lcModuleX86) << "channelNO.at(i)" << entry.channelNo;
        qCDebug(lcModuleX86) << "localNO.at(i)" << entry.localNO;
        ChannelRecordBuilder::Fields fields;
        fields.channelName = channel.channelName;
        fields.deviceText5 = device.struct_SerialNumber;
        fields.deviceNumber = 0;
        fields.ipAddress = device.struct_IpAddress;
        fields.account = device.struct_account;
        fields.password = device.struct_password;
        fields.channelNo = channel.channelNo;
        fields.sequence = entry.localNO;
        records.push_back(ChannelRecordBuilder::build(fields));
    }
    if (!records.empty())
        port->setMonitorSources(monitor, records.data(), int(records.size()));
    localNumbers.clear();
    emit sigSetViewFinished(split);
}

void MatrixViewTree::slotDoSearch()
{
    const QString text = ui->_searchEdit->searchText();
    if (text.isEmpty())
        return;
    matches.clear();
    for (QTreeWidgetItemIterator it(ui->_treeWidget); *it; ++it) {
        if ((*it)->text(0).contains(text))
            matches.append(*it);
    }
    matchCursor = 0;
    if (matches.isEmpty())
        return;
    ui->_treeWidget->clearSelection();
    matches.first()->setSelected(true);
    ui->_treeWidget->setCurrentItem(matches.first());
}

void MatrixViewTree::on__searchButton_clicked()
{
    if (matches.isEmpty())
        return;
    const int n = matches.size();
    matches.at(((matchCursor - 1) % n + n) % n)->setSelected(false);
    QTreeWidgetItem *item = matches.at(matchCursor % n);
    ui->_treeWidget->clearSelection();
    item->setSelected(true);
    ui->_treeWidget->setCurrentItem(item);
    if (item->parent())
        item->parent()->setExpanded(true);
    ui->_treeWidget->scrollToItem(item);
    matchCursor = (matchCursor + 1) % n;
}

void MatrixViewTree::slotEditLostFocus()
{
    if (QApplication::focusWidget() == ui->_searchButton)
        ui->_searchEdit->setText(ui->_searchEdit->searchText());
}

void MatrixViewTree::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        ui->_searchEdit->setPlaceholderText(tr("Search..."));
    }
}

} // namespace LUMO_DIGITALMATRIX_MODULE
