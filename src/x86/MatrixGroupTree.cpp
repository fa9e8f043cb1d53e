#include "MatrixGroupTree.h"
#include "ui_MatrixGroupTree.h"

#include "ChannelRecordBuilder.h"
#include "DigitalMatrixInteractionPort.h"
#include "FixedText.h"
#include "ModuleLogging.h"
#include "NoFocusDelegate.h"
#include "ServerConfigTreeItem.h"

#include "AreaWithChannelTree.h"
#include "MessageBoxW.h"
#include "SystemConfig.h"
#include "UserManagerCore.h"

#include <QApplication>
#include <QCursor>
#include <QDrag>
#include <QEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QKeyEvent>
#include <QSettings>
#include <QShowEvent>
#include <QTimer>
#include <QTreeWidgetItemIterator>

#include <algorithm>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {

using COMMONUSELIB::MessageBoxW;

constexpr short NoticeButtons = 1;
constexpr short YesNoButtons = 3;
// Player kind whose channels are sent with the host's stream choice as channel number.
constexpr int StreamChoicePlayerKind = 3;

const char kGreyText[] = "color:rgb(100,100,100);";

ServerConfigTreeItem *asTreeItem(QTreeWidgetItem *item)
{
    if (!item || item->type() != ServerConfigTreeItem::Type)
        return nullptr;
    return static_cast<ServerConfigTreeItem *>(item);
}

bool isChecked(const QTreeWidgetItem *item)
{
    return item->checkState(0) != Qt::Unchecked;
}

// The channel number sent for a channel of player kind 3: "Stream/matrixCode" of the host's
// settings file, 2 when it reads "2", else 1.
int streamChoiceChannelNo()
{
    const QSettings settings(PARSERXML::SystemConfig::instance()->configFile(),
                             QSettings::IniFormat);
    const QString code =
            settings.value(QStringLiteral("Stream/matrixCode"), QString()).toString().trimmed();
    return code == QLatin1String("2") ? 2 : 1;
}

bool usesStreamChoice(const QString &channelGuid)
{
    return DATACore::UserManagerCore::instance()->getPlayerInfoByGuid(channelGuid).playerKind
            == StreamChoicePlayerKind;
}

} // namespace

MatrixGroupTree::MatrixGroupTree(QWidget *parent)
    : QWidget(parent)
    // A matching area is shown without its channels.
    , COMMONUSELIB::SearchTree(ShowMatchOnly)
    , ui(new Ui::MatrixGroupTree)
{
    ui->setupUi(this);
    ui->_searchEdit->setProperty("searchLinEdit", true);
    ui->_spliteCBox->setItemDelegate(new private_impl::NoFocusDelegate(ui->_spliteCBox));
    ui->_nElapseSpin->setMinimum(0);
    ui->_nElapseSpin->setValue(DefaultTurnInterval);
    ui->_nElapseSpin->setFocusPolicy(Qt::ClickFocus);

    finishTimer = new QTimer(this);
    finishTimer->setSingleShot(true);
    connect(finishTimer, &QTimer::timeout, this, &MatrixGroupTree::emitPendingFinish);

    connect(ui->_treeWidget, &QTreeWidget::itemChanged, this, &MatrixGroupTree::slotItemChanged);
    connect(ui->_treeWidget, &QTreeWidget::itemClicked, this, &MatrixGroupTree::slotItemClicked);
    connect(ui->_searchEdit, &CustomSearchEdit::sigLostFocus, this,
            &MatrixGroupTree::slotEditLostFocus);
    connect(ui->_searchEdit, &QLineEdit::textChanged, this,
            &MatrixGroupTree::slotSearchLineEdtTextChanged);
    connect(ui->_nElapseSpin, &ISpinBox::sigFocusOut, this, &MatrixGroupTree::slotValueChange);
    connect(ui->_searchButton, &QPushButton::clicked, this, &MatrixGroupTree::slotSearch);
    ui->_searchEdit->installEventFilter(this);
    ui->_searchButton->installEventFilter(this);
    ui->_nElapseSpin->installEventFilter(this);
    ui->_treeWidget->viewport()->installEventFilter(this);

    // The interval belongs to a turn show only.
    on__startCBox_toggled(ui->_startCBox->isChecked());
}

MatrixGroupTree::~MatrixGroupTree() = default;

void MatrixGroupTree::setMonitor(int monitorIndex)
{
    monitor = monitorIndex;
}

bool MatrixGroupTree::isFinishPending() const
{
    return finishTimer->isActive();
}

void MatrixGroupTree::finishPending()
{
    if (!finishTimer->isActive())
        return;
    finishTimer->stop();
    emitPendingFinish();
}

void MatrixGroupTree::emitPendingFinish()
{
    emit sigSetGroupFinished(pendingSplit, false);
}

// ---- Tree -----------------------------------------------------------------------------------

void MatrixGroupTree::loadTree()
{
    DATACore::UserManagerCore *core = DATACore::UserManagerCore::instance();
    updatingChecks = true;
    ui->_treeWidget->clear();
    const QList<RegionInfo> regions = core->GetOneRegion(QString());
    for (const RegionInfo &region : regions) {
        auto *area = new ServerConfigTreeItem(ui->_treeWidget, QStringList {region.strName});
        area->setItemKind(ServerConfigTreeItem::AreaItem);
        area->setCheckState(0, Qt::Unchecked);
        const QList<DeviceChancelInfo> channels = core->getChannelInfoByAreaGuid(region.strGuid);
        for (const DeviceChancelInfo &channel : channels) {
            auto *item = new ServerConfigTreeItem(area, QStringList {channel.channelName});
            item->setItemKind(ServerConfigTreeItem::ChannelItem);
            item->setChannelGuid(channel.channelGuid);
            item->setChannelName(channel.channelName);
            item->setChannelNo(channel.channelNo);
            const UDeviceInfo device = core->getDevInfo(channel.deviceGuid);
            item->setIpAddress(device.struct_IpAddress);
            item->setAccount(device.struct_account);
            item->setPassword(device.struct_password);
            item->setDeviceText1(device.struct_DeviceName);
            item->setDeviceText5(device.struct_SerialNumber);
            item->setDeviceNumber(device.struct_deviceNumber);
            item->setCheckState(0, Qt::Unchecked);
        }
    }
    updatingChecks = false;
    applyReportedChecks();
}

QList<ServerConfigTreeItem *> MatrixGroupTree::channelItems() const
{
    QList<ServerConfigTreeItem *> items;
    for (QTreeWidgetItemIterator it(ui->_treeWidget); *it; ++it) {
        ServerConfigTreeItem *item = asTreeItem(*it);
        if (item && item->itemKind() == ServerConfigTreeItem::ChannelItem)
            items.append(item);
    }
    return items;
}

int MatrixGroupTree::checkedChannelCount() const
{
    const QList<ServerConfigTreeItem *> items = channelItems();
    return int(std::count_if(items.cbegin(), items.cend(), isChecked));
}

int MatrixGroupTree::splitCount() const
{
    return ui->_spliteCBox->currentText().toInt();
}

QString MatrixGroupTree::searchText() const
{
    // What was typed, never the hint.
    return ui->_searchEdit->searchText();
}

void MatrixGroupTree::updateAreaCheck(QTreeWidgetItem *area)
{
    if (!area)
        return;
    bool all = true;
    for (int i = 0; i < area->childCount(); ++i) {
        if (area->child(i)->checkState(0) != Qt::Checked) {
            all = false;
            break;
        }
    }
    area->setCheckState(0, all ? Qt::Checked : Qt::Unchecked);
}

void MatrixGroupTree::slotItemChanged(QTreeWidgetItem *item, int column)
{
    ServerConfigTreeItem *node = asTreeItem(item);
    if (updatingChecks || !node || column != 0)
        return;
    updatingChecks = true;
    if (node->itemKind() == ServerConfigTreeItem::AreaItem) {
        const Qt::CheckState state = node->checkState(0);
        for (int i = 0; i < node->childCount(); ++i) {
            QTreeWidgetItem *channel = node->child(i);
            // A channel hidden by a search keeps its own check: the area stands for the
            // channels the operator can see.
            if (!channel->isHidden())
                channel->setCheckState(0, state);
        }
    } else {
        updateAreaCheck(node->parent());
    }
    updatingChecks = false;
    // The split follows the checked channels however they were checked (mouse or keyboard).
    splitNumSmartChange();
}

void MatrixGroupTree::slotItemClicked(QTreeWidgetItem *, int)
{
    splitNumSmartChange();
}

void MatrixGroupTree::splitNumSmartChange()
{
    const int n = checkedChannelCount();
    int index = 4; // "25"
    if (n <= 1)
        index = 0;
    else if (n <= 4)
        index = 1;
    else if (n <= 9)
        index = 2;
    else if (n <= 16)
        index = 3;
    ui->_spliteCBox->setCurrentIndex(index);
}

// ---- Reported sources -------------------------------------------------------------------

void MatrixGroupTree::slotGroupRes(int reportedMonitor, const QVector<_ST_ChnInfo> &records,
                                   int interval)
{
    if (reportedMonitor != monitor)
        return;
    // Each report holds all of the window's sources.
    groupRes = records.mid(0, MaxReportedRecords);
    applyReportedChecks();
    // A window without a turn show reports no interval; the box keeps its own then.
    if (interval >= MinTurnInterval && interval <= MaxTurnInterval) {
        ui->_nElapseSpin->setValue(interval);
        ui->_startCBox->setChecked(true);
    }
}

bool MatrixGroupTree::isReported(const ServerConfigTreeItem *item) const
{
    // The device by its address as the record holds it, the channel by its number; channels
    // sent with the stream choice as number are told apart by their name.
    char address[sizeof(_ST_ChnInfo::ipAddress)];
    FixedText::writeLocal(address, item->ipAddress());
    const QByteArray itemAddress = FixedText::read(address);
    int streamChoice = -1; // unknown yet
    QByteArray itemName;
    for (const _ST_ChnInfo &record : groupRes) {
        if (FixedText::read(record.ipAddress) != itemAddress)
            continue;
        if (streamChoice < 0) {
            streamChoice = usesStreamChoice(item->channelGuid()) ? 1 : 0;
            if (streamChoice)
                itemName = ChannelRecordBuilder::gbkName(item->channelName());
        }
        if (streamChoice ? FixedText::read(record.channelName) == itemName
                         : record.channelNo == item->channelNo())
            return true;
    }
    return false;
}

void MatrixGroupTree::applyReportedChecks()
{
    if (groupRes.isEmpty())
        return;
    updatingChecks = true;
    for (int a = 0; a < ui->_treeWidget->topLevelItemCount(); ++a) {
        QTreeWidgetItem *area = ui->_treeWidget->topLevelItem(a);
        bool changed = false;
        for (int i = 0; i < area->childCount(); ++i) {
            ServerConfigTreeItem *channel = asTreeItem(area->child(i));
            if (channel && channel->checkState(0) != Qt::Checked && isReported(channel)) {
                channel->setCheckState(0, Qt::Checked);
                changed = true;
            }
        }
        if (changed)
            updateAreaCheck(area);
    }
    updatingChecks = false;
    splitNumSmartChange();
}

// ---- Setting the source -----------------------------------------------------------------

std::vector<_ST_ChnInfo> MatrixGroupTree::buildRecords() const
{
    std::vector<_ST_ChnInfo> records;
    int streamChoice = 0; // read once, when the first channel needs it
    int count = 0;
    for (QTreeWidgetItemIterator it(ui->_treeWidget); *it; ++it) {
        ServerConfigTreeItem *item = asTreeItem(*it);
        if (!item || item->itemKind() != ServerConfigTreeItem::ChannelItem || !isChecked(item))
            continue;
        ++count;
        ChannelRecordBuilder::Fields fields;
        fields.channelName = item->channelName();
        fields.deviceText5 = item->deviceText5();
        fields.deviceNumber = item->deviceNumber();
        fields.ipAddress = item->ipAddress();
        fields.account = item->account();
        fields.password = item->password();
        fields.channelNo = item->channelNo();
        if (usesStreamChoice(item->channelGuid())) {
            if (streamChoice == 0)
                streamChoice = streamChoiceChannelNo();
            fields.channelNo = streamChoice;
        }
        fields.sequence = count;
        records.push_back(ChannelRecordBuilder::build(fields));
        if (count > RecordCut)
            break;
    }
    return records;
}

void MatrixGroupTree::slotSetSource()
{
    // Return in the search edit searches; it does not set the source.
    if (ui->_searchEdit->hasFocus())
        return;
    // Nothing to edit, or the last set is still on its way.
    if (monitor < 0 || isFinishPending())
        return;
    const bool turning = ui->_startCBox->isChecked();
    if (turning) {
        const int interval = ui->_nElapseSpin->value();
        if (interval < MinTurnInterval || interval > MaxTurnInterval) {
            slotValueChange(interval);
            return;
        }
    }
    const std::vector<_ST_ChnInfo> records = buildRecords();
    if (records.empty()) {
        MessageBoxW::warning(this, tr("WARN"), tr("There are no channels to set!"), NoticeButtons);
        return;
    }

    DigitalMatrixInteractionPort *port = DigitalMatrixInteractionPort::instance();
    const int split = splitCount();
    const int count = int(records.size());
    // Every question comes before anything is sent: a declined one leaves the matrix as it is.
    if (!turning && count > split
        && MessageBoxW::warning(this, tr("WARN"),
                                tr("The number of screen spliter is less than selected "
                                   "channels number,countine?"),
                                YesNoButtons)
                != 1)
        return;
    if (turning && count < split
        && MessageBoxW::warning(this, tr("WARN"),
                                tr("The number of selected channels is less than screen spliter "
                                   "number,countine?"),
                                YesNoButtons)
                != 1)
        return;
    port->setTurnState(monitor, X86TurnState::NoTurn);
    port->setMonitorSplit(monitor, split);

    if (!turning) {
        port->setMonitorSources(monitor, records.data(), count);
        // Give the matrix a moment before the page asks it again.
        pendingSplit = split;
        finishTimer->start(FinishDelayMs);
        return;
    }
    port->setMonitorTurnSources(monitor, records.data(), count, ui->_nElapseSpin->value());
    port->setTurnState(monitor, X86TurnState::Running);
    emit sigSetGroupFinished(split, true);
}

// ---- Turn settings and search -----------------------------------------------------------

void MatrixGroupTree::slotValueChange(int value)
{
    if (value >= MinTurnInterval && value <= MaxTurnInterval)
        return;
    MessageBoxW::warning(this, tr("Error"), tr("The value must be between 10 to 100!"),
                         NoticeButtons);
    ui->_nElapseSpin->setValue(value < MinTurnInterval ? MinTurnInterval : MaxTurnInterval);
}

void MatrixGroupTree::on__startCBox_toggled(bool checked)
{
    ui->_elapseLabel->setVisible(checked);
    ui->_nElapseSpin->setVisible(checked);
    ui->_unitLabel->setVisible(checked);
}

QTreeWidget *MatrixGroupTree::searchedTreeWidget() const
{
    return ui->_treeWidget;
}

void MatrixGroupTree::slotSearch()
{
    searchTree(searchText());
}

void MatrixGroupTree::slotSearchLineEdtTextChanged(const QString &text)
{
    if (text.isEmpty())
        clearSearch();
}

void MatrixGroupTree::on__searchButton_clicked() { }

void MatrixGroupTree::slotEditLostFocus() { }

bool MatrixGroupTree::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->_searchEdit && event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            slotSearch();
    } else if (watched == ui->_searchButton && event->type() == QEvent::FocusOut) {
        ui->_searchEdit->setStyleSheet(QLatin1String(kGreyText));
    } else if (watched == ui->_nElapseSpin && event->type() == QEvent::FocusOut) {
        qCDebug(lcModuleX86) << "focusout";
    } else if (watched == ui->_treeWidget->viewport()
               && (event->type() == QEvent::MouseButtonPress
                   || event->type() == QEvent::MouseButtonRelease
                   || event->type() == QEvent::MouseMove)) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
            dragStart = mouse->pos();
            dragItem = ui->_treeWidget->itemAt(mouse->pos());
        } else if (event->type() == QEvent::MouseButtonRelease) {
            dragItem = nullptr;
        } else if (event->type() == QEvent::MouseMove && (mouse->buttons() & Qt::LeftButton)
                   && dragItem
                   && (mouse->pos() - dragStart).manhattanLength()
                           >= QApplication::startDragDistance()) {
            QTreeWidgetItem *item = dragItem;
            dragItem = nullptr;
            dragChannels(item);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MatrixGroupTree::dragChannels(QTreeWidgetItem *item)
{
    QList<ServerConfigTreeItem *> items;
    ServerConfigTreeItem *pressed = asTreeItem(item);
    if (!pressed)
        return;
    if (pressed->itemKind() == ServerConfigTreeItem::ChannelItem) {
        items.append(pressed);
    } else {
        for (int i = 0; i < pressed->childCount(); ++i) {
            ServerConfigTreeItem *child = asTreeItem(pressed->child(i));
            if (child && child->itemKind() == ServerConfigTreeItem::ChannelItem)
                items.append(child);
        }
    }
    QList<COMMONUSELIB::AreaWithChannelTree::Channel> channels;
    QStringList keys;
    for (const ServerConfigTreeItem *channel : qAsConst(items)) {
        channels.append({QString(), channel->channelGuid(), channel->channelName()});
        keys.append(channel->channelGuid());
    }
    if (keys.isEmpty())
        return;
    auto *drag = new QDrag(ui->_treeWidget);
    drag->setMimeData(COMMONUSELIB::AreaWithChannelTree::encodeChannelMimeData(
            channels, pressed->itemKind() != ServerConfigTreeItem::ChannelItem));
    if (drag->exec(Qt::CopyAction) == Qt::IgnoreAction)
        emit sigChannelsDraggedOut(QCursor::pos(), keys);
}

void MatrixGroupTree::showEvent(QShowEvent *event)
{
    // Built when the page is first shown; the operator's checks stay while the dialog is open,
    // however often the page is hidden and shown again (tab switches, minimising).
    if (!event->spontaneous()) {
        if (!treeLoaded) {
            loadTree();
            treeLoaded = true;
        }
        ui->_searchEdit->setFocus();
    }
    QWidget::showEvent(event);
}

void MatrixGroupTree::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
