#include "DigitalMatrixInteractionPort.h"

#include "DigitalMatrixConfigSignals.h"
#include "FixedText.h"
#include "ProcessSingleton.h"

#include "ServerConfig.h"
#include "SystemConfig.h"
#include "UserManagerCore.h"

#include <QHash>
#include <QMutexLocker>
#include <QPair>
#include <QSet>

#include <algorithm>
#include <cstring>
#include <vector>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {

DigitalMatrixInteractionPort::ServiceFactory defaultFactory()
{
    DigitalMatrixInteractionPort::ServiceFactory f;
    f.createX86 = [] { return GetMatrixConfig(); };
    f.releaseX86 = [](IMatrixConfig *x86) { ReleaseMatrixConfig(x86); };
    f.createBase = [] { return CreateBaseMatrixConfig(); };
    f.releaseBase = [](IBaseMatrixConfig *base) { ReleaseBaseMatrixConfig(base); };
    return f;
}

DigitalMatrixInteractionPort::ServiceFactory &configuredFactory()
{
    static DigitalMatrixInteractionPort::ServiceFactory factory = defaultFactory();
    return factory;
}

QMutex &factoryMutex()
{
    static QMutex mutex;
    return mutex;
}

int serverTypeOf(const DigitalMatrixServerInfo &server)
{
    return server.matrixKind == DigitalMatrixServerInfo::X86Matrix ? SERVERTYPE_X86_DIGITALMATRIX
                                                                   : SERVERTYPE_LINUX_DIGITALMATRIX;
}

ScreenRegion cellRegion(int index, int row, int column)
{
    ScreenRegion region {};
    region.index = index;
    region.melt = 0;
    region.left = column * DigitalMatrixInteractionPort::ScreenUnit;
    region.top = row * DigitalMatrixInteractionPort::ScreenUnit;
    region.width = DigitalMatrixInteractionPort::ScreenUnit;
    region.height = DigitalMatrixInteractionPort::ScreenUnit;
    return region;
}

} // namespace

void DigitalMatrixInteractionPort::setServiceFactory(const ServiceFactory &factory)
{
    QMutexLocker locker(&factoryMutex());
    configuredFactory() = factory;
}

void DigitalMatrixInteractionPort::resetServiceFactory()
{
    QMutexLocker locker(&factoryMutex());
    configuredFactory() = defaultFactory();
}

DigitalMatrixInteractionPort::DigitalMatrixInteractionPort(QObject *parent)
    : QObject(parent)
{
    {
        QMutexLocker locker(&factoryMutex());
        factory = configuredFactory();
    }
    // The hub exists before the service can call back.
    DigitalMatrixConfigSignals::instance();
    x86Matrix = factory.createX86 ? factory.createX86() : nullptr;
    baseMatrix = factory.createBase ? factory.createBase() : nullptr;
    if (x86Matrix) {
        x86Matrix->RegisterCallbacks(x86Matrix, &DigitalMatrixConfigSignals::onConnectStatus,
                                     &DigitalMatrixConfigSignals::onMatrixInfo,
                                     &DigitalMatrixConfigSignals::onLayout,
                                     &DigitalMatrixConfigSignals::onCommandResult,
                                     &DigitalMatrixConfigSignals::onOperatorsChanged);
        x86Matrix->RegisterSourceCallbacks(x86Matrix, &DigitalMatrixConfigSignals::onSources,
                                           &DigitalMatrixConfigSignals::onTurnStep);
    }
    setClientName(QSysInfo::machineHostName());
}

// ProcessSingleton's destructor then makes sure release() and instance() no longer find the
// port.
DigitalMatrixInteractionPort::~DigitalMatrixInteractionPort()
{
    if (x86Matrix && factory.releaseX86)
        factory.releaseX86(x86Matrix);
    if (baseMatrix && factory.releaseBase)
        factory.releaseBase(baseMatrix);
    x86Matrix = nullptr;
    baseMatrix = nullptr;
}

DigitalMatrixInteractionPort *DigitalMatrixInteractionPort::instance()
{
    return instanceOrCreate();
}

void DigitalMatrixInteractionPort::release()
{
    releaseInstance();
}

// ---- X86 matrix ----------------------------------------------------------------

void DigitalMatrixInteractionPort::connectServer(const QString &ip, int port)
{
    if (x86Matrix)
        x86Matrix->Connect(ip.toLocal8Bit().constData(), port);
    // A new connection: no command of it was sent yet.
    x86Sent = 0;
}

void DigitalMatrixInteractionPort::countSent(int result)
{
    // Only a command the service sent is answered by the matrix.
    if (result == 0)
        ++x86Sent;
}

void DigitalMatrixInteractionPort::disconnectServer()
{
    if (x86Matrix)
        x86Matrix->Disconnect();
}

int DigitalMatrixInteractionPort::login(const QString &user, const QString &password)
{
    if (!x86Matrix)
        return NoService;
    return x86Matrix->Login(user.toLocal8Bit().constData(), password.toLocal8Bit().constData());
}

bool DigitalMatrixInteractionPort::forceLogin()
{
    return x86Matrix && x86Matrix->ForceLogin() != 0;
}

int DigitalMatrixInteractionPort::x86Watch(const QString &user, const QString &password)
{
    if (!x86Matrix)
        return NoService;
    return x86Matrix->Watch(user.toLocal8Bit().constData(), password.toLocal8Bit().constData());
}

int DigitalMatrixInteractionPort::linuxWatch(const DigitalMatrixServerInfo &server)
{
    if (!baseMatrix)
        return NoService;
    return baseMatrix->Watch(server.user.toLocal8Bit().constData(),
                             server.password.toLocal8Bit().constData(),
                             server.ip.toLocal8Bit().constData(), server.port);
}

int DigitalMatrixInteractionPort::linuxWallRevision(int *revision)
{
    if (!revision)
        return RefusedByPort;
    *revision = 0;
    return baseMatrix ? baseMatrix->GetWallRevision(revision) : NoService;
}

void DigitalMatrixInteractionPort::setScreenCount(int rows, int columns)
{
    if (x86Matrix)
        countSent(x86Matrix->SetScreenCount(rows, columns));
}

void DigitalMatrixInteractionPort::requestLayout()
{
    if (x86Matrix)
        countSent(x86Matrix->RequestLayout());
}

void DigitalMatrixInteractionPort::exchangeMirrors(int mirrorA, int mirrorB)
{
    if (x86Matrix)
        countSent(x86Matrix->ExchangeMirrors(mirrorA, mirrorB));
}

void DigitalMatrixInteractionPort::setConfigMode(bool on)
{
    if (x86Matrix)
        countSent(x86Matrix->SetConfigMode(on));
}

void DigitalMatrixInteractionPort::setMonitorSplit(int monitor, int splitCount)
{
    if (x86Matrix)
        countSent(x86Matrix->SetMonitorSplit(monitor, splitCount));
}

void DigitalMatrixInteractionPort::setMonitorSources(int monitor, const _ST_ChnInfo *channels,
                                                     int count)
{
    if (x86Matrix)
        countSent(
                x86Matrix->SetMonitorSources(monitor, channels, channels ? std::max(count, 0) : 0));
}

void DigitalMatrixInteractionPort::setMonitorTurnSources(int monitor, const _ST_ChnInfo *channels,
                                                         int count, int turnInterval)
{
    if (x86Matrix)
        countSent(x86Matrix->SetMonitorTurnSources(
                monitor, channels, channels ? std::max(count, 0) : 0, turnInterval));
}

void DigitalMatrixInteractionPort::selectMonitor(int monitor)
{
    if (x86Matrix)
        countSent(x86Matrix->SelectMonitor(monitor));
}

void DigitalMatrixInteractionPort::setTurnState(int monitor, X86TurnState state)
{
    if (x86Matrix)
        countSent(x86Matrix->SetTurnState(monitor, int(state)));
}

void DigitalMatrixInteractionPort::clearSource(int monitor)
{
    if (x86Matrix)
        countSent(x86Matrix->ClearSource(monitor));
}

void DigitalMatrixInteractionPort::zoomMirrorAt(int mirror, int x, int y)
{
    if (x86Matrix)
        countSent(x86Matrix->ZoomMirrorAt(mirror, x, y));
}

void DigitalMatrixInteractionPort::setMirrorRect(int mirror, RECT rect)
{
    if (x86Matrix)
        countSent(x86Matrix->SetMirrorRect(mirror, rect));
}

// ---- Linux matrix ----------------------------------------------------------------

int DigitalMatrixInteractionPort::connectLinuxServer(const DigitalMatrixServerInfo &server)
{
    if (!baseMatrix)
        return NoService;
    int result = baseMatrix->Login(1, server.user.toLocal8Bit().constData(),
                                   server.password.toLocal8Bit().constData(),
                                   server.ip.toLocal8Bit().constData(), server.port);
    if (result == 0)
        result = baseMatrix->StartSession();
    return result;
}

int DigitalMatrixInteractionPort::disconnectLinuxServer()
{
    return baseMatrix ? baseMatrix->Disconnect() : NoService;
}

int DigitalMatrixInteractionPort::rebootMatrix()
{
    return baseMatrix ? baseMatrix->Reboot() : NoService;
}

int DigitalMatrixInteractionPort::resetMatrix(int mode)
{
    return baseMatrix ? baseMatrix->FactoryReset(mode) : NoService;
}

int DigitalMatrixInteractionPort::startUpgrade(int mode, const QString &url)
{
    if (!baseMatrix)
        return NoService;
    return baseMatrix->StartUpgrade(mode, url.toLocal8Bit().constData());
}

bool DigitalMatrixInteractionPort::pollUpgrade(int *resultCode, int *progress)
{
    UpgradeStatusBlock status {};
    const int result = baseMatrix ? baseMatrix->GetUpgradeStatus(&status) : NoService;
    if (resultCode)
        *resultCode = result;
    if (progress)
        *progress = qBound(0, int(status.progress), 100);
    if (result != 0)
        return true;
    return status.done != 0;
}

int DigitalMatrixInteractionPort::setMatrixRowColumn(int rows, int columns)
{
    return baseMatrix ? baseMatrix->SaveRowColumn(rows, columns) : NoService;
}

int DigitalMatrixInteractionPort::setNumberArrangeMode(int on)
{
    return baseMatrix ? baseMatrix->SetNumberArrangeMode(on) : NoService;
}

QStringList DigitalMatrixInteractionPort::getScreenNumbers()
{
    static const QStringList fallback {QStringLiteral("1"), QStringLiteral("2"),
                                       QStringLiteral("3"), QStringLiteral("4")};
    QStringList numbers;
    readScreenNumbers(&numbers);
    screenNumbers = numbers.isEmpty() ? fallback : numbers;
    return screenNumbers;
}

void DigitalMatrixInteractionPort::setClientName(const QString &host)
{
    const QByteArray name = host.toUtf8();
    if (x86Matrix)
        x86Matrix->SetClientName(name.constData());
    if (baseMatrix)
        baseMatrix->SetClientName(name.constData());
}

namespace {
constexpr int MaxOperatorsRead = 64;
}

QList<MatrixOperatorInfo> DigitalMatrixInteractionPort::x86Operators() const
{
    QList<MatrixOperatorInfo> operators;
    if (!x86Matrix)
        return operators;
    std::vector<MatrixOperatorRecord> records(MaxOperatorsRead);
    int count = 0;
    if (x86Matrix->GetOperators(records.data(), MaxOperatorsRead, &count) != 0)
        return operators;
    for (int i = 0; i < qBound(0, count, MaxOperatorsRead); ++i)
        operators.append(MatrixOperatorInfo::fromRecord(records[std::size_t(i)]));
    return operators;
}

bool DigitalMatrixInteractionPort::x86Takeover(MatrixOperatorInfo *taker) const
{
    MatrixOperatorRecord record {};
    if (!x86Matrix || x86Matrix->GetTakeover(&record) != 0)
        return false;
    if (taker)
        *taker = MatrixOperatorInfo::fromRecord(record);
    return true;
}

int DigitalMatrixInteractionPort::linuxOperators(QList<MatrixOperatorInfo> *operators)
{
    if (operators)
        operators->clear();
    if (!baseMatrix)
        return NoService;
    std::vector<MatrixOperatorRecord> records(MaxOperatorsRead);
    int count = 0;
    const int result = baseMatrix->GetOperators(records.data(), MaxOperatorsRead, &count);
    if (result == 0 && operators) {
        for (int i = 0; i < qBound(0, count, MaxOperatorsRead); ++i)
            operators->append(MatrixOperatorInfo::fromRecord(records[std::size_t(i)]));
    }
    return result;
}

int DigitalMatrixInteractionPort::probeX86(const QString &ip, int port, int timeoutMs)
{
    return x86Matrix ? x86Matrix->Probe(ip.toLocal8Bit().constData(), port, timeoutMs) : NoService;
}

int DigitalMatrixInteractionPort::probeLinux(const QString &ip, int port, int timeoutMs)
{
    return baseMatrix ? baseMatrix->Probe(ip.toLocal8Bit().constData(), port, timeoutMs)
                      : NoService;
}

int DigitalMatrixInteractionPort::keepAlive()
{
    return baseMatrix ? baseMatrix->KeepAlive() : NoService;
}

int DigitalMatrixInteractionPort::getCellTurnPages(QVector<CellTurnPage> *pages)
{
    if (!baseMatrix)
        return NoService;
    CellTurnPage entries[MaxTurnPageEntries] {};
    int count = 0;
    const int result = baseMatrix->GetCellTurnPages(entries, MaxTurnPageEntries, &count);
    if (pages) {
        pages->clear();
        if (result == 0) {
            for (int i = 0; i < qBound(0, count, MaxTurnPageEntries); ++i)
                pages->append(entries[i]);
        }
    }
    return result;
}

int DigitalMatrixInteractionPort::getFirmwareVersion(QString *version)
{
    if (!baseMatrix)
        return NoService;
    char buffer[64] = {};
    const int result = baseMatrix->GetFirmwareVersion(buffer, int(sizeof(buffer)));
    if (version)
        *version = result == 0 ? QString::fromLatin1(buffer) : QString();
    return result;
}

int DigitalMatrixInteractionPort::readScreenNumbers(QStringList *out)
{
    if (out)
        out->clear();
    uint8_t bytes[64] = {};
    int count = 0;
    const int result =
            baseMatrix ? baseMatrix->GetScreenNumbers(bytes, int(sizeof bytes), &count) : NoService;
    if (result != 0)
        return result;
    QStringList numbers;
    bool usable = count > 0 && count <= int(sizeof bytes);
    for (int k = 0; usable && k < count; ++k) {
        // Byte b is screen b + 1: only the matrix's own screens are usable.
        if (bytes[k] >= MaxScreens)
            usable = false;
        else
            numbers << QString::number(bytes[k] + 1);
    }
    if (usable) {
        const QSet<QString> distinct(numbers.cbegin(), numbers.cend());
        usable = numbers.size() == MaxScreens && distinct.size() == MaxScreens;
    }
    if (!usable)
        return MatrixErrFailed;
    screenNumbers = numbers;
    if (out)
        *out = numbers;
    return 0;
}

int DigitalMatrixInteractionPort::setScreenNumbers(const QStringList &numbers)
{
    QStringList full = screenNumbers;
    if (full.size() <= numbers.size()) {
        full = numbers;
    } else {
        for (int i = 0; i < numbers.size(); ++i) {
            const int j = full.indexOf(numbers.at(i));
            if (j < 0)
                full[i] = numbers.at(i);
            else if (full.at(i) != numbers.at(i))
                full.swapItemsAt(i, j);
        }
    }
    // A number that is not a screen would go out as a wrong byte: refuse the map.
    std::vector<uint8_t> bytes;
    bytes.reserve(size_t(full.size()));
    for (const QString &text : qAsConst(full)) {
        bool ok = false;
        const int number = text.toInt(&ok);
        if (!ok || number < 1 || number > MaxScreens)
            return RefusedByPort;
        bytes.push_back(uint8_t(number - 1));
    }
    if (bytes.empty())
        return RefusedByPort;
    if (!baseMatrix)
        return NoService;
    const int result = baseMatrix->SetScreenNumbers(bytes.data(), int(bytes.size()));
    if (result == 0)
        screenNumbers = full;
    return result;
}

int DigitalMatrixInteractionPort::getScreenGrid(int *rows, int *columns, int *meltedCell)
{
    int r = -1, c = -1, melted = -1;
    auto publish = [&] {
        if (rows)
            *rows = r;
        if (columns)
            *columns = c;
        if (meltedCell)
            *meltedCell = melted;
    };
    publish();
    if (!baseMatrix)
        return NoService;
    ScreenRegionEntry entries[MaxScreens] = {};
    int count = 0;
    const int result = baseMatrix->GetScreenGrid(entries, MaxScreens, &count);
    if (result != 0)
        return result;
    if (count > MaxScreens)
        return 0;
    for (int i = 0; i < count; ++i) {
        const ScreenRegion &region = entries[i].region;
        c = std::max(c, region.left / ScreenUnit);
        r = std::max(r, region.top / ScreenUnit);
        if (region.melt == 1) {
            melted = region.index;
            r = region.height / ScreenUnit;
            c = region.width / ScreenUnit;
            publish();
            return 0;
        }
    }
    if (r > -1)
        ++r;
    if (c > -1)
        ++c;
    publish();
    return 0;
}

int DigitalMatrixInteractionPort::setScreenGrid(int rows, int columns)
{
    if (rows < 1 || columns < 1 || rows * columns > MaxScreens)
        return RefusedByPort;
    if (!baseMatrix)
        return NoService;
    std::vector<ScreenRegion> regions;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            regions.push_back(cellRegion(r * columns + c, r, c));
    return baseMatrix->SetScreenGrid(regions.data(), int(regions.size()));
}

int DigitalMatrixInteractionPort::setCellMelt(int cell, int rows, int columns, bool melt)
{
    if (!baseMatrix)
        return NoService;
    ScreenRegion region {};
    if (melt) {
        region.index = cell;
        region.melt = 1;
        region.width = columns * ScreenUnit;
        region.height = rows * ScreenUnit;
    } else {
        int r = 0, c = 0;
        if (columns > 0 && cell >= 0 && cell < rows * columns) {
            r = cell / columns;
            c = cell % columns;
        }
        region = cellRegion(cell, r, c);
    }
    return baseMatrix->SetCellMelt(&region);
}

int DigitalMatrixInteractionPort::clearAllCells(int rows, int columns)
{
    if (!baseMatrix)
        return NoService;
    const int cells = rows > 0 && columns > 0 ? rows * columns : 0;
    for (int cell = 0; cell < cells; ++cell) {
        const int result = baseMatrix->ClearCell(cell);
        if (result != 0)
            return result;
    }
    return 0;
}

CellChannelRecord DigitalMatrixInteractionPort::buildCellChannelRecord(const CellChannelItem &item,
                                                                       int bitStream)
{
    DATACore::UserManagerCore *dc = DATACore::UserManagerCore::instance();
    const DeviceChancelInfo channel = dc->getChannelInfoByChannelGuid(item.channelId);
    const UDeviceInfo device = dc->getDeviceInfoByDeviceGuid(channel.deviceGuid);

    CellChannelRecord record;
    std::memset(&record, 0, sizeof record);
    record.position = item.position;
    FixedText::writeLocal(record.deviceAddress, device.struct_IpAddress);
    FixedText::writeLocal(record.deviceText1, device.struct_DeviceName);
    FixedText::writeLocal(record.deviceText5, device.struct_SerialNumber);
    record.port = uint16_t(device.struct_port & 0xffff);
    record.channelNo = (device.struct_deviceKind == 3 && bitStream == 2) ? 2 : channel.channelNo;
    FixedText::writeLocal(record.user, device.struct_account);
    FixedText::writeLocal(record.password, device.struct_password);
    const bool onvif = record.deviceAddress[0] != 0
            && QChar::fromLatin1(record.deviceAddress[0]).toUpper() == QLatin1Char('N');
    FixedText::write(record.protocol,
                     onvif ? QByteArrayLiteral("onvif") : QByteArrayLiteral("qbz"));
    return record;
}

int DigitalMatrixInteractionPort::setCellChannels(int cell, int splitCount,
                                                  const QList<CellChannelItem *> &items)
{
    if (!baseMatrix)
        return NoService;
    const int bitStream = PARSERXML::SystemConfig::instance()->getMatrixVideoBitStream();
    std::vector<CellChannelRecord> records;
    records.reserve(MaxCellChannels);
    for (const CellChannelItem *item : items) {
        if (int(records.size()) >= MaxCellChannels)
            break;
        if (item)
            records.push_back(buildCellChannelRecord(*item, bitStream));
    }
    return baseMatrix->SetCellChannels(cell, records.data(), int(records.size()), splitCount);
}

int DigitalMatrixInteractionPort::putCellChannel(int cell, const CellChannelItem &item, int op)
{
    if (op != 0 && op != 1)
        return RefusedByPort;
    if (!baseMatrix)
        return NoService;
    const int bitStream = PARSERXML::SystemConfig::instance()->getMatrixVideoBitStream();
    const CellChannelRecord record = buildCellChannelRecord(item, bitStream);
    return op == 0 ? baseMatrix->AddCellChannel(cell, &record)
                   : baseMatrix->ModifyCellChannel(cell, &record);
}

int DigitalMatrixInteractionPort::deleteCellChannel(int cell, int position)
{
    return baseMatrix ? baseMatrix->DeleteCellChannel(cell, position) : NoService;
}

int DigitalMatrixInteractionPort::getCellChannels(int cell, QMap<int, CellChannelItem *> *items,
                                                  int *splitCount)
{
    if (items) {
        qDeleteAll(*items);
        items->clear();
    }
    int split = 0;
    if (splitCount)
        *splitCount = 0;
    if (!baseMatrix)
        return NoService;
    std::vector<CellChannelRecord> records(MaxCellChannels);
    std::memset(records.data(), 0, records.size() * sizeof(CellChannelRecord));
    int count = 0;
    const int result =
            baseMatrix->GetCellChannels(cell, records.data(), MaxCellChannels, &count, &split);
    if (splitCount)
        *splitCount = split;
    if (result != 0)
        return result;
    if (!items)
        return 0;
    DATACore::UserManagerCore *dc = DATACore::UserManagerCore::instance();
    const int n = std::clamp(count, 0, int(MaxCellChannels));
    // The channels of the whole cell are looked up in the data centre together, one query
    // however many records the cell holds (a record of a one-channel device names channel 1).
    QList<DATACore::UserManagerCore::DeviceChannelKey> keys;
    keys.reserve(n);
    for (int i = 0; i < n; ++i)
        keys.append({QString::fromLocal8Bit(FixedText::read(records[size_t(i)].deviceAddress)),
                     records[size_t(i)].channelNo});
    QHash<DATACore::UserManagerCore::DeviceChannelKey, DeviceChancelInfo> channels =
            dc->cellChannelInfos(keys);
    // A data centre that answers by number with the key only is asked for the rest.
    for (DeviceChancelInfo &channel : channels) {
        if (channel.channelName.isEmpty() && !channel.channelGuid.isEmpty())
            channel = dc->getChannelInfoByChannelGuid(channel.channelGuid);
    }
    for (int i = 0; i < n; ++i) {
        const CellChannelRecord &record = records[size_t(i)];
        const DeviceChancelInfo channel = channels.value(keys.at(i));
        auto *item = new CellChannelItem;
        item->channelId = channel.channelGuid;
        item->channelName = channel.channelName;
        item->position = record.position;
        // A second record at the same position replaces the first.
        delete items->value(record.position, nullptr);
        items->insert(record.position, item);
    }
    return 0;
}

int DigitalMatrixInteractionPort::setCellTurnShow(int cell, const CellTurnInfo &info,
                                                  int splitCount)
{
    if (!baseMatrix)
        return NoService;
    const int serviceCode = CellTurnInfo::toServiceCode(info.turnState);
    if (serviceCode < 0)
        return RefusedByPort;
    const CellTurnStatus status {info.turnInterval, serviceCode, 0};
    const int result = baseMatrix->SetCellTurnShow(cell, &status);
    if (result == 0
        && (info.turnState == int(CellTurnCode::TurnStart)
            || info.turnState == int(CellTurnCode::TurnStop)))
        return baseMatrix->SetCellSplit(cell, splitCount, 0);
    return result;
}

int DigitalMatrixInteractionPort::getCellTurnShow(int cell, CellTurnInfo *out)
{
    if (!baseMatrix)
        return NoService;
    CellTurnStatus status {};
    const int result = baseMatrix->GetCellTurnShow(cell, &status);
    if (result != 0 || !out)
        return result;
    out->turnInterval = status.interval == 0 ? 30 : status.interval;
    const int state = CellTurnInfo::fromServiceCode(status.state);
    if (state >= 0)
        out->turnState = state;
    return 0;
}

int DigitalMatrixInteractionPort::setCellSingleWindow(int cell, int window, int on)
{
    return baseMatrix ? baseMatrix->SetCellSingleWindow(cell, on, window) : NoService;
}

void DigitalMatrixInteractionPort::getCellSingleWindow(int cell, int *window)
{
    uint8_t on = 0;
    int pane = -1;
    const int result = baseMatrix ? baseMatrix->GetCellSingleWindow(cell, &on, &pane) : NoService;
    if (window)
        *window = (result != 0 || on == 0) ? -1 : pane;
}

int DigitalMatrixInteractionPort::setCellSplit(int cell, int split)
{
    return baseMatrix ? baseMatrix->SetCellSplit(cell, split, 0) : NoService;
}

// ---- Data centre ----------------------------------------------------------------

bool DigitalMatrixInteractionPort::addServerToDB(const DigitalMatrixServerInfo &server)
{
    return DATACore::UserManagerCore::instance()->AddServer(server.name, server.ip, server.user,
                                                            server.password, server.port,
                                                            serverTypeOf(server));
}

bool DigitalMatrixInteractionPort::editServerInDB(const DigitalMatrixServerInfo &server)
{
    return DATACore::UserManagerCore::instance()->EditServer(server.id, server.name, server.ip,
                                                             server.user, server.password,
                                                             server.port, serverTypeOf(server));
}

int DigitalMatrixInteractionPort::serverTypeAlreadyConfigured()
{
    const QList<UServerInfo> servers = DATACore::UserManagerCore::instance()->GetServers(QString());
    for (const UServerInfo &server : servers) {
        if (server.type == SERVERTYPE_X86_DIGITALMATRIX)
            return 1;
        if (server.type == SERVERTYPE_LINUX_DIGITALMATRIX)
            return 2;
    }
    return 0;
}

} // namespace LUMO_DIGITALMATRIX_MODULE
