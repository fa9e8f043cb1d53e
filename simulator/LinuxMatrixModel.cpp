#include "LinuxMatrixModel.h"

#include "MatrixProtocol.h"
#include "OperatorList.h"
#include "PayloadReader.h"
#include "PayloadWriter.h"
#include "RequestChecks.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>

namespace MatrixSim {

using namespace MatrixProtocol;

namespace {

constexpr int Unit = LinuxScreenUnit;

bool sameRegion(const ScreenRegion &a, const ScreenRegion &b)
{
    return a.index == b.index && a.melt == b.melt && a.left == b.left && a.top == b.top
            && a.width == b.width && a.height == b.height;
}

QString regionText(const ScreenRegion &region)
{
    return QStringLiteral("{index=%1 melt=%2 left=%3 top=%4 width=%5 height=%6}")
            .arg(region.index)
            .arg(region.melt)
            .arg(region.left)
            .arg(region.top)
            .arg(region.width)
            .arg(region.height);
}

QByteArray identityMap(int outputs)
{
    QByteArray map;
    for (int k = 0; k < outputs; ++k)
        map.append(char(k));
    return map;
}

// Lowest position 0..15 that no channel of the cell holds; -1 when the cell is full.
int freePosition(const QVector<CellChannelRecord> &channels)
{
    for (int position = 0; position < MaxCellChannels; ++position) {
        const bool taken = std::any_of(channels.cbegin(), channels.cend(),
                                       [position](const CellChannelRecord &record) {
                                           return record.position == position;
                                       });
        if (!taken)
            return position;
    }
    return -1;
}

void sortByPosition(QVector<CellChannelRecord> &channels)
{
    std::sort(channels.begin(), channels.end(),
              [](const CellChannelRecord &a, const CellChannelRecord &b) {
                  return a.position < b.position;
              });
}

int compareVersions(const QVector<int> &a, const QVector<int> &b)
{
    for (int k = 0; k < qMax(a.size(), b.size()); ++k) {
        const int left = k < a.size() ? a.at(k) : 0;
        const int right = k < b.size() ? b.at(k) : 0;
        if (left != right)
            return left < right ? -1 : 1;
    }
    return 0;
}

} // namespace

LinuxMatrixModel::LinuxMatrixModel(const QList<SimulatorAccount> &accounts, int upgradePolls,
                                   const QString &usbFirmware, const QString &firmwareVersion)
    : m_accounts(accounts)
    , m_upgradePolls(qMax(1, upgradePolls))
    , m_usbFirmware(usbFirmware)
{
    m_state.outputs = Outputs;
    m_state.firmwareVersion = firmwareVersion;
    resetWall();
}

void LinuxMatrixModel::resetWall()
{
    m_state.rows = 0;
    m_state.columns = 0;
    m_state.grid.clear();
    m_state.gridRows = 0;
    m_state.gridColumns = 0;
    m_state.meltedCell = -1;
    m_state.screenMap = identityMap(Outputs);
    m_state.cells = QVector<SimLinuxCell>(Outputs);
    m_state.arrangeMode = false;
}

void LinuxMatrixModel::addSession(quint64 connection)
{
    m_sessions[connection] = Session();
}

void LinuxMatrixModel::removeSession(quint64 connection)
{
    m_sessions.erase(connection);
}

void LinuxMatrixModel::rebooted()
{
    m_sessions.clear();
    m_state.arrangeMode = false;
}

SimLinuxState LinuxMatrixModel::state() const
{
    return m_state;
}

bool LinuxMatrixModel::accountMatches(const QByteArray &user, const QByteArray &password) const
{
    for (const SimulatorAccount &account : m_accounts) {
        if (account.user.toLocal8Bit() == user && account.password.toLocal8Bit() == password)
            return true;
    }
    return false;
}

bool LinuxMatrixModel::cellExists(int cell) const
{
    return cell >= 0 && cell < m_state.grid.size();
}

ScreenRegion LinuxMatrixModel::homeRegion(int cell) const
{
    ScreenRegion region;
    const int columns = qMax(1, m_state.gridColumns);
    region.index = cell;
    region.melt = 0;
    region.left = (cell % columns) * Unit;
    region.top = (cell / columns) * Unit;
    region.width = Unit;
    region.height = Unit;
    return region;
}

RequestOutcome LinuxMatrixModel::handle(quint64 connection, quint16 type, const QByteArray &payload)
{
    RequestOutcome out = answer(connection, type, payload);
    if (out.changed)
        ++m_revision;
    settleTurns();
    if (type == LinuxGetUpgradeStatus) {
        // This answer always carries the status block.
        if (out.body.size() != int(sizeof(UpgradeStatusBlock)))
            out.body = QByteArray(int(sizeof(UpgradeStatusBlock)), 0);
    } else if (out.result != 0) {
        out.body.clear();
    }
    return out;
}

RequestOutcome LinuxMatrixModel::answer(quint64 connection, quint16 type, const QByteArray &payload)
{
    RequestOutcome out;
    auto found = m_sessions.find(connection);
    if (found == m_sessions.end())
        found = m_sessions.emplace(connection, Session()).first;
    Session &session = found->second;
    PayloadReader reader(payload);

    if (type == Identify) {
        readIdentify(reader, &session.host, out);
        return out;
    }
    if (type == LinuxLogin) {
        login(session, reader, out);
        return out;
    }
    if (type == Watch) {
        watch(session, reader, out);
        return out;
    }
    if (session.watching && !isReadRequest(type)) {
        refuse(out, MatrixErrWatchOnly, QStringLiteral("watching only"));
        return out;
    }
    if (type == LinuxStartSession) {
        if (!reader.atEnd())
            refuse(out, MatrixErrBadArgument, QStringLiteral("unexpected payload"));
        else if (!session.loggedIn)
            refuse(out, MatrixErrNotLoggedIn, QStringLiteral("not logged in"));
        else
            session.started = true;
        return out;
    }
    if (!session.started && !session.watching) {
        refuse(out, MatrixErrNotLoggedIn, QStringLiteral("no session"));
        return out;
    }

    switch (type) {
    case LinuxGetWallRevision:
        if (!reader.atEnd()) {
            refuse(out, MatrixErrBadArgument, QStringLiteral("unexpected payload"));
            break;
        }
        out.body = PayloadWriter().putInt32(m_revision).data();
        out.summary = QStringLiteral("revision=%1").arg(m_revision);
        break;
    case LinuxGetOperators:
        getOperators(connection, reader, out);
        break;
    case LinuxReboot:
        if (!reader.atEnd()) {
            refuse(out, MatrixErrBadArgument, QStringLiteral("unexpected payload"));
        } else if (m_state.upgradeRunning) {
            refuse(out, MatrixErrBusy, QStringLiteral("upgrading"));
        } else {
            out.reboot = true;
            out.changed = true;
        }
        break;
    case LinuxFactoryReset:
        factoryReset(reader, out);
        break;
    case LinuxStartUpgrade:
        startUpgrade(reader, out);
        break;
    case LinuxGetUpgradeStatus:
        upgradeStatus(reader, out);
        break;
    case LinuxSaveRowColumn:
        saveRowColumn(reader, out);
        break;
    case LinuxSetNumberArrangeMode:
        setArrangeMode(reader, out);
        break;
    case LinuxGetScreenNumbers:
        getScreenNumbers(reader, out);
        break;
    case LinuxSetScreenNumbers:
        setScreenNumbers(reader, out);
        break;
    case LinuxGetScreenGrid:
        getScreenGrid(reader, out);
        break;
    case LinuxSetScreenGrid:
        setScreenGrid(reader, out);
        break;
    case LinuxSetCellMelt:
        setCellMelt(reader, out);
        break;
    case LinuxClearCell:
        clearCell(reader, out);
        break;
    case LinuxSetCellChannels:
        setCellChannels(reader, out);
        break;
    case LinuxAddCellChannel:
        putCellChannel(reader, out, true);
        break;
    case LinuxModifyCellChannel:
        putCellChannel(reader, out, false);
        break;
    case LinuxDeleteCellChannel:
        deleteCellChannel(reader, out);
        break;
    case LinuxGetCellChannels:
        getCellChannels(reader, out);
        break;
    case LinuxSetCellTurnShow:
        setCellTurnShow(reader, out);
        break;
    case LinuxGetCellTurnShow:
        getCellTurnShow(reader, out);
        break;
    case LinuxSetCellSingleWindow:
        setCellSingleWindow(reader, out);
        break;
    case LinuxGetCellSingleWindow:
        getCellSingleWindow(reader, out);
        break;
    case LinuxSetCellSplit:
        setCellSplit(reader, out);
        break;
    case LinuxGetCellTurnPages:
        getCellTurnPages(reader, out);
        break;
    case LinuxGetFirmwareVersion:
        getFirmwareVersion(reader, out);
        break;
    default:
        refuse(out, MatrixErrBadArgument, QStringLiteral("not a Linux request"));
        break;
    }
    return out;
}

int LinuxMatrixModel::cellPages(const SimLinuxCell &cell)
{
    const int split = qMax(1, cell.split);
    int last = -1;
    for (const CellChannelRecord &record : cell.channels)
        last = qMax(last, int(record.position));
    return last < 0 ? 1 : last / split + 1;
}

void LinuxMatrixModel::settleTurns()
{
    if (!m_clock.isValid())
        m_clock.start();
    const qint64 now = m_clock.elapsed();
    m_turnDue.resize(m_state.cells.size());
    m_turnShape.resize(m_state.cells.size());
    for (int k = 0; k < m_state.cells.size(); ++k) {
        SimLinuxCell &cell = m_state.cells[k];
        const QByteArray shape = QByteArray(reinterpret_cast<const char *>(cell.channels.constData()),
                                            cell.channels.size() * int(sizeof(CellChannelRecord)))
                + QByteArray::number(cell.split) + ' ' + QByteArray::number(cell.turnInterval);
        const bool sameShow = m_turnShape[k] == shape;
        // Stopped shows stand on their first page; a paused one keeps its page.
        if (!sameShow || cell.turnState == 2 || cell.turnPage >= cellPages(cell))
            cell.turnPage = 0;
        if (cell.turnState != 0)
            m_turnDue[k] = -1;
        else if (!sameShow || m_turnDue[k] < 0)
            m_turnDue[k] = now + qint64(qMax(1, cell.turnInterval)) * 1000;
        m_turnShape[k] = shape;
    }
}

bool LinuxMatrixModel::advanceTurns(bool force)
{
    settleTurns();
    const qint64 now = m_clock.elapsed();
    bool stepped = false;
    for (int k = 0; k < m_state.cells.size(); ++k) {
        SimLinuxCell &cell = m_state.cells[k];
        const int pages = cellPages(cell);
        if (cell.turnState != 0 || pages < 2 || m_turnDue[k] < 0 || (!force && now < m_turnDue[k]))
            continue;
        cell.turnPage = (cell.turnPage + 1) % pages;
        m_turnDue[k] = now + qint64(qMax(1, cell.turnInterval)) * 1000;
        stepped = true;
    }
    return stepped;
}

void LinuxMatrixModel::getCellTurnPages(Reader &reader, RequestOutcome &out)
{
    if (!reader.atEnd()) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("unexpected payload"));
        return;
    }
    const int cells = m_state.grid.size();
    PayloadWriter writer;
    writer.putInt32(cells);
    for (int k = 0; k < cells; ++k) {
        const SimLinuxCell &cell = m_state.cells.value(k);
        CellTurnPage entry;
        entry.cell = k;
        entry.state = cell.turnState;
        entry.interval = cell.turnInterval;
        entry.page = cell.turnPage;
        entry.pages = cellPages(cell);
        writer.putRecord(entry);
    }
    out.body = writer.data();
}

void LinuxMatrixModel::getFirmwareVersion(Reader &reader, RequestOutcome &out)
{
    if (!reader.atEnd()) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("unexpected payload"));
        return;
    }
    PayloadWriter writer;
    writer.putText(m_state.firmwareVersion.toLatin1().left(MaxFirmwareVersionText));
    out.body = writer.data();
    out.summary = m_state.firmwareVersion;
}

void LinuxMatrixModel::login(Session &session, Reader &reader, RequestOutcome &out)
{
    qint32 mode = 0;
    QByteArray user;
    QByteArray password;
    if (!reader.getInt32(mode)) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("malformed login"));
        return;
    }
    out.summary = QStringLiteral("mode=%1").arg(mode);
    if (!readAccount(reader, &user, &password, "login", out))
        return;
    const QByteArray host = session.host;
    session = Session();
    session.host = host;
    if (mode != 1) {
        refuse(out, MatrixErrOutOfRange, QStringLiteral("mode is not 1"));
        return;
    }
    if (!accountMatches(user, password)) {
        refuse(out, MatrixErrLoginRefused, QStringLiteral("wrong user or password"));
        return;
    }
    session.loggedIn = true;
    session.user = user;
    session.sinceMs = QDateTime::currentMSecsSinceEpoch();
}

void LinuxMatrixModel::watch(Session &session, Reader &reader, RequestOutcome &out)
{
    QByteArray user;
    QByteArray password;
    if (!readAccount(reader, &user, &password, "watch", out))
        return;
    const QByteArray host = session.host;
    session = Session();
    session.host = host;
    if (!accountMatches(user, password)) {
        refuse(out, MatrixErrLoginRefused, QStringLiteral("wrong user or password"));
        return;
    }
    session.watching = true;
    session.user = user;
    session.sinceMs = QDateTime::currentMSecsSinceEpoch();
}

bool LinuxMatrixModel::isReadRequest(quint16 type)
{
    switch (type) {
    case LinuxGetUpgradeStatus:
    case LinuxGetScreenNumbers:
    case LinuxGetScreenGrid:
    case LinuxGetCellChannels:
    case LinuxGetCellTurnShow:
    case LinuxGetCellSingleWindow:
    case LinuxGetOperators:
    case LinuxGetCellTurnPages:
    case LinuxGetFirmwareVersion:
    case LinuxGetWallRevision:
        return true;
    default:
        return false;
    }
}

void LinuxMatrixModel::getOperators(quint64 connection, Reader &reader, RequestOutcome &out) const
{
    if (!reader.atEnd()) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("unexpected payload"));
        return;
    }
    const QVector<OperatorEntry> entries = loggedInOperators(m_sessions, connection);
    out.body = encodeOperators(entries);
    out.summary = QStringLiteral("count=%1").arg(qMin(entries.size(), MaxOperators));
}

void LinuxMatrixModel::factoryReset(Reader &reader, RequestOutcome &out)
{
    qint32 mode = 0;
    if (!readInts(reader, {&mode})) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    out.summary = QStringLiteral("mode=%1").arg(mode);
    if (mode != 0 && mode != 1) {
        refuse(out, MatrixErrOutOfRange, QStringLiteral("mode is not 0 or 1"));
        return;
    }
    if (m_state.upgradeRunning) {
        refuse(out, MatrixErrBusy, QStringLiteral("upgrading"));
        return;
    }
    resetWall();
    out.changed = true;
}

bool LinuxMatrixModel::parseVersion(const QString &text, QVector<int> *parts)
{
    static const QRegularExpression pattern(QStringLiteral("^\\d{1,9}(\\.\\d{1,9})*$"));
    if (!pattern.match(text).hasMatch())
        return false;
    if (parts) {
        parts->clear();
        const QStringList numbers = text.split(QLatin1Char('.'));
        for (const QString &number : numbers)
            parts->append(number.toInt());
    }
    return true;
}

int LinuxMatrixModel::upgradeOutcome(int mode, const QString &url, const QString &usbFirmware,
                                     const QString &currentVersion, QString *newVersion)
{
    QString fileName;
    if (mode == 0) {
        fileName = usbFirmware;
    } else {
        const int scheme = url.indexOf(QLatin1String("://"));
        const QString rest = scheme < 0 ? QString() : url.mid(scheme + 3);
        const int slash = rest.lastIndexOf(QLatin1Char('/'));
        fileName = slash < 0 ? QString() : rest.mid(slash + 1);
    }
    static const QRegularExpression image(QStringLiteral("^.*?(\\d{1,9}(?:\\.\\d{1,9})*)\\.bin$"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = image.match(fileName);
    if (fileName.isEmpty() || !match.hasMatch())
        return MatrixErrUpgradeNotFound;
    QVector<int> offered;
    QVector<int> installed;
    parseVersion(match.captured(1), &offered);
    if (!parseVersion(currentVersion, &installed))
        installed.clear();
    if (compareVersions(offered, installed) <= 0)
        return MatrixErrUpgradeLatest;
    if (newVersion)
        *newVersion = match.captured(1);
    return 0;
}

void LinuxMatrixModel::startUpgrade(Reader &reader, RequestOutcome &out)
{
    qint32 mode = 0;
    QByteArray url;
    if (!reader.getInt32(mode) || !reader.getText(url, MaxUrlText) || !reader.atEnd()) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("malformed upgrade"));
        return;
    }
    const QString urlText = QString::fromLocal8Bit(url);
    // An FTP URL may carry an account; the log shows it without the password.
    const QUrl parsed(urlText);
    const QString shown =
            parsed.password().isEmpty() ? urlText : parsed.toString(QUrl::RemovePassword);
    out.summary = QStringLiteral("mode=%1 url=\"%2\"").arg(mode).arg(shown);
    if (mode < 0 || mode > 2) {
        refuse(out, MatrixErrOutOfRange, QStringLiteral("mode is not 0, 1 or 2"));
        return;
    }
    if (mode == 1 && !urlText.startsWith(QLatin1String("ftp://"))) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("not an ftp:// URL"));
        return;
    }
    if (mode == 2 && !urlText.isEmpty() && !urlText.startsWith(QLatin1String("http://"))) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("not an http:// URL"));
        return;
    }
    if (m_state.upgradeRunning) {
        refuse(out, MatrixErrBusy, QStringLiteral("already upgrading"));
        return;
    }
    m_pendingVersion.clear();
    m_state.upgradeRunning = true;
    m_state.upgradeFinished = false;
    m_state.upgradeMode = mode;
    m_state.upgradeUrl = urlText;
    m_state.upgradePollsDone = 0;
    m_state.upgradeResult = upgradeOutcome(mode, urlText, m_usbFirmware, m_state.firmwareVersion,
                                           &m_pendingVersion);
    out.changed = true;
}

void LinuxMatrixModel::upgradeStatus(Reader &reader, RequestOutcome &out)
{
    UpgradeStatusBlock block = {};
    if (!reader.atEnd()) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("unexpected payload"));
    } else if (!m_state.upgradeRunning && !m_state.upgradeFinished) {
        block.done = 1;
        refuse(out, MatrixErrFailed, QStringLiteral("no upgrade started"));
    } else {
        if (m_state.upgradeRunning) {
            ++m_state.upgradePollsDone;
            out.changed = true;
            if (m_state.upgradePollsDone >= m_upgradePolls) {
                m_state.upgradeRunning = false;
                m_state.upgradeFinished = true;
                if (m_state.upgradeResult == 0)
                    m_state.firmwareVersion = m_pendingVersion;
            }
        }
        if (m_state.upgradeFinished) {
            block.progress = 100;
            block.done = 1;
            out.result = m_state.upgradeResult;
        } else {
            block.progress = m_state.upgradePollsDone * 100 / m_upgradePolls;
        }
        out.summary = QStringLiteral("progress=%1 done=%2").arg(block.progress).arg(block.done);
    }
    PayloadWriter writer;
    writer.putRecord(block);
    out.body = writer.data();
}

void LinuxMatrixModel::saveRowColumn(Reader &reader, RequestOutcome &out)
{
    qint32 rows = 0;
    qint32 columns = 0;
    if (!readInts(reader, {&rows, &columns})) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    out.summary = QStringLiteral("rows=%1 columns=%2").arg(rows).arg(columns);
    if (rows < 1 || columns < 1 || rows > Outputs || columns > Outputs
        || rows * columns > Outputs) {
        refuse(out, MatrixErrOutOfRange, QStringLiteral("more than %1 cells").arg(Outputs));
        return;
    }
    m_state.rows = rows;
    m_state.columns = columns;
    out.changed = true;
}

void LinuxMatrixModel::setArrangeMode(Reader &reader, RequestOutcome &out)
{
    qint32 on = 0;
    if (!readInts(reader, {&on})) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    out.summary = QStringLiteral("on=%1").arg(on);
    if (on != 0 && on != 1) {
        refuse(out, MatrixErrOutOfRange, QStringLiteral("not 0 or 1"));
        return;
    }
    m_state.arrangeMode = on == 1;
    out.changed = true;
}

void LinuxMatrixModel::getScreenNumbers(Reader &reader, RequestOutcome &out)
{
    if (!reader.atEnd()) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("unexpected payload"));
        return;
    }
    PayloadWriter writer;
    writer.putInt32(m_state.screenMap.size())
            .putBytes(m_state.screenMap.constData(), m_state.screenMap.size());
    out.body = writer.data();
}

void LinuxMatrixModel::setScreenNumbers(Reader &reader, RequestOutcome &out)
{
    qint32 count = 0;
    QByteArray bytes;
    if (!reader.getInt32(count) || count < 0 || count > MaxLinuxOutputs
        || !reader.getBytes(bytes, count) || !reader.atEnd()) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    QStringList numbers;
    for (char byte : bytes)
        numbers.append(QString::number(quint8(byte)));
    out.summary =
            QStringLiteral("count=%1 bytes=[%2]").arg(count).arg(numbers.join(QLatin1Char(',')));
    if (count < 1 || count > Outputs) {
        refuse(out, MatrixErrOutOfRange, QStringLiteral("count is not 1..%1").arg(Outputs));
        return;
    }
    QVector<bool> used(Outputs, false);
    for (char byte : bytes) {
        const int screen = quint8(byte);
        if (screen >= Outputs || used[screen]) {
            refuse(out, MatrixErrOutOfRange,
                   QStringLiteral("not distinct screens 0..%1").arg(Outputs - 1));
            return;
        }
        used[screen] = true;
    }
    // A shorter map keeps the other screens, in ascending order, behind it.
    for (int screen = 0; screen < Outputs; ++screen) {
        if (!used[screen])
            bytes.append(char(screen));
    }
    m_state.screenMap = bytes;
    out.changed = true;
}

void LinuxMatrixModel::getScreenGrid(Reader &reader, RequestOutcome &out)
{
    if (!reader.atEnd()) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("unexpected payload"));
        return;
    }
    PayloadWriter writer;
    writer.putInt32(m_state.grid.size());
    for (const ScreenRegion &region : m_state.grid) {
        ScreenRegionEntry entry = {};
        entry.region = region;
        if (region.index == m_state.meltedCell) {
            entry.region.melt = 1;
            entry.region.left = 0;
            entry.region.top = 0;
            entry.region.width = m_state.gridColumns * Unit;
            entry.region.height = m_state.gridRows * Unit;
        }
        writer.putRecord(entry);
    }
    out.body = writer.data();
    out.summary = QStringLiteral("count=%1").arg(m_state.grid.size());
}

void LinuxMatrixModel::setScreenGrid(Reader &reader, RequestOutcome &out)
{
    qint32 count = 0;
    if (!reader.getInt32(count)) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    out.summary = QStringLiteral("count=%1").arg(count);
    if (count < 0 || count > MaxLinuxOutputs
        || reader.remaining() != count * int(sizeof(ScreenRegion))) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("count does not match the regions sent"));
        return;
    }
    QVector<ScreenRegion> regions(count);
    for (ScreenRegion &region : regions)
        reader.getRecord(region);
    if (m_state.rows < 1 || count != m_state.rows * m_state.columns) {
        refuse(out, MatrixErrOutOfRange,
               QStringLiteral("grid of %1 cells for %2 x %3")
                       .arg(count)
                       .arg(m_state.rows)
                       .arg(m_state.columns));
        return;
    }
    QVector<ScreenRegion> sorted(count);
    QVector<bool> seen(count, false);
    for (const ScreenRegion &region : regions) {
        if (region.index < 0 || region.index >= count || seen[region.index]) {
            refuse(out, MatrixErrOutOfRange, QStringLiteral("bad index %1").arg(region.index));
            return;
        }
        seen[region.index] = true;
        ScreenRegion expected;
        expected.index = region.index;
        expected.melt = 0;
        expected.left = (region.index % m_state.columns) * Unit;
        expected.top = (region.index / m_state.columns) * Unit;
        expected.width = Unit;
        expected.height = Unit;
        if (!sameRegion(region, expected)) {
            refuse(out, MatrixErrOutOfRange, QStringLiteral("region %1").arg(regionText(region)));
            return;
        }
        sorted[region.index] = region;
    }
    m_state.grid = sorted;
    m_state.gridRows = m_state.rows;
    m_state.gridColumns = m_state.columns;
    m_state.meltedCell = -1;
    for (int cell = count; cell < m_state.cells.size(); ++cell)
        m_state.cells[cell] = SimLinuxCell();
    out.changed = true;
}

void LinuxMatrixModel::setCellMelt(Reader &reader, RequestOutcome &out)
{
    ScreenRegion region;
    if (!reader.getRecord(region) || !reader.atEnd()) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    out.summary = regionText(region);
    if (!cellExists(region.index)) {
        refuse(out, MatrixErrOutOfRange, QStringLiteral("no such cell"));
        return;
    }
    if (region.melt == 1) {
        ScreenRegion whole;
        whole.index = region.index;
        whole.melt = 1;
        whole.left = 0;
        whole.top = 0;
        whole.width = m_state.gridColumns * Unit;
        whole.height = m_state.gridRows * Unit;
        if (!sameRegion(region, whole)) {
            refuse(out, MatrixErrOutOfRange, QStringLiteral("not the whole grid"));
            return;
        }
        m_state.meltedCell = region.index;
    } else if (region.melt == 0) {
        if (!sameRegion(region, homeRegion(region.index))) {
            refuse(out, MatrixErrOutOfRange, QStringLiteral("not the cell's own place"));
            return;
        }
        if (m_state.meltedCell == region.index)
            m_state.meltedCell = -1;
    } else {
        refuse(out, MatrixErrOutOfRange, QStringLiteral("melt is not 0 or 1"));
        return;
    }
    out.changed = true;
}

bool LinuxMatrixModel::readCell(Reader &reader, RequestOutcome &out, qint32 &cell)
{
    if (!reader.getInt32(cell)) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return false;
    }
    out.summary = QStringLiteral("cell=%1").arg(cell);
    return true;
}

void LinuxMatrixModel::clearCell(Reader &reader, RequestOutcome &out)
{
    qint32 cell = 0;
    if (!readCell(reader, out, cell))
        return;
    if (!reader.atEnd()) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    if (!cellExists(cell)) {
        refuse(out, MatrixErrOutOfRange, QStringLiteral("no such cell"));
        return;
    }
    SimLinuxCell &target = m_state.cells[cell];
    target.channels.clear();
    target.turnState = 2;
    target.singleWindow = false;
    target.window = 0;
    out.changed = true;
}

void LinuxMatrixModel::setCellChannels(Reader &reader, RequestOutcome &out)
{
    qint32 cell = 0;
    qint32 split = 0;
    qint32 count = 0;
    if (!readCell(reader, out, cell) || !reader.getInt32(split) || !reader.getInt32(count)) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    out.summary += QStringLiteral(" split=%1 count=%2").arg(split).arg(count);
    if (count < 0 || count > MaxCellChannels
        || reader.remaining() != count * int(sizeof(CellChannelRecord))) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("count does not match the records sent"));
        return;
    }
    QVector<CellChannelRecord> records(count);
    for (CellChannelRecord &record : records)
        reader.getRecord(record);
    if (!cellExists(cell) || !isValidSplit(split, false)) {
        refuse(out, MatrixErrOutOfRange,
               cellExists(cell) ? QStringLiteral("bad split") : QStringLiteral("no such cell"));
        return;
    }
    QVector<bool> taken(MaxCellChannels, false);
    for (const CellChannelRecord &record : records) {
        if (!isValidCellChannel(record)) {
            refuse(out, MatrixErrBadArgument, QStringLiteral("malformed channel record"));
            return;
        }
        if (record.position < -1 || record.position >= MaxCellChannels
            || (record.position >= 0 && taken[record.position])) {
            refuse(out, MatrixErrOutOfRange,
                   QStringLiteral("bad position %1").arg(record.position));
            return;
        }
        if (record.position >= 0)
            taken[record.position] = true;
    }
    // Records without a position take the lowest free ones, in the order sent.
    QVector<CellChannelRecord> channels;
    for (const CellChannelRecord &record : records) {
        if (record.position >= 0)
            channels.append(record);
    }
    for (CellChannelRecord record : records) {
        if (record.position >= 0)
            continue;
        record.position = freePosition(channels);
        channels.append(record);
    }
    sortByPosition(channels);
    SimLinuxCell &target = m_state.cells[cell];
    target.channels = channels;
    target.split = split;
    target.singleWindow = false;
    target.window = 0;
    out.changed = true;
}

void LinuxMatrixModel::putCellChannel(Reader &reader, RequestOutcome &out, bool add)
{
    qint32 cell = 0;
    CellChannelRecord record;
    if (!readCell(reader, out, cell) || !reader.getRecord(record) || !reader.atEnd()) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    out.summary += QStringLiteral(" position=%1").arg(record.position);
    if (!isValidCellChannel(record)) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("malformed channel record"));
        return;
    }
    if (!cellExists(cell) || record.position < (add ? -1 : 0)
        || record.position >= MaxCellChannels) {
        refuse(out, MatrixErrOutOfRange,
               cellExists(cell) ? QStringLiteral("bad position") : QStringLiteral("no such cell"));
        return;
    }
    SimLinuxCell &target = m_state.cells[cell];
    auto held = std::find_if(target.channels.begin(), target.channels.end(),
                             [&record](const CellChannelRecord &existing) {
                                 return existing.position == record.position;
                             });
    if (add) {
        if (record.position < 0)
            record.position = freePosition(target.channels);
        if (record.position < 0) {
            refuse(out, MatrixErrOutOfRange, QStringLiteral("cell is full"));
            return;
        }
        if (held != target.channels.end()) {
            refuse(out, MatrixErrFailed, QStringLiteral("position taken"));
            return;
        }
        target.channels.append(record);
        sortByPosition(target.channels);
    } else {
        if (held == target.channels.end()) {
            refuse(out, MatrixErrFailed, QStringLiteral("no channel at that position"));
            return;
        }
        *held = record;
    }
    out.changed = true;
}

void LinuxMatrixModel::deleteCellChannel(Reader &reader, RequestOutcome &out)
{
    qint32 cell = 0;
    qint32 position = 0;
    if (!readCell(reader, out, cell) || !reader.getInt32(position) || !reader.atEnd()) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    out.summary += QStringLiteral(" position=%1").arg(position);
    if (!cellExists(cell) || position < 0 || position >= MaxCellChannels) {
        refuse(out, MatrixErrOutOfRange,
               cellExists(cell) ? QStringLiteral("bad position") : QStringLiteral("no such cell"));
        return;
    }
    SimLinuxCell &target = m_state.cells[cell];
    const auto held = std::find_if(target.channels.begin(), target.channels.end(),
                                   [position](const CellChannelRecord &existing) {
                                       return existing.position == position;
                                   });
    if (held == target.channels.end()) {
        refuse(out, MatrixErrFailed, QStringLiteral("no channel at that position"));
        return;
    }
    target.channels.erase(held);
    if (target.singleWindow && target.window == position) {
        target.singleWindow = false;
        target.window = 0;
    }
    out.changed = true;
}

void LinuxMatrixModel::getCellChannels(Reader &reader, RequestOutcome &out)
{
    qint32 cell = 0;
    if (!readCell(reader, out, cell))
        return;
    if (!reader.atEnd()) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    if (!cellExists(cell)) {
        refuse(out, MatrixErrOutOfRange, QStringLiteral("no such cell"));
        return;
    }
    const SimLinuxCell &target = m_state.cells.at(cell);
    PayloadWriter writer;
    writer.putInt32(target.split).putInt32(target.channels.size());
    for (const CellChannelRecord &record : target.channels)
        writer.putRecord(record);
    out.body = writer.data();
}

void LinuxMatrixModel::setCellTurnShow(Reader &reader, RequestOutcome &out)
{
    qint32 cell = 0;
    CellTurnStatus status;
    if (!readCell(reader, out, cell) || !reader.getRecord(status) || !reader.atEnd()) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    out.summary += QStringLiteral(" interval=%1 state=%2").arg(status.interval).arg(status.state);
    if (!cellExists(cell) || status.interval < 5 || status.interval > 60 || status.state < 0
        || status.state > 2) {
        refuse(out, MatrixErrOutOfRange,
               cellExists(cell) ? QStringLiteral("bad interval or state")
                                : QStringLiteral("no such cell"));
        return;
    }
    SimLinuxCell &target = m_state.cells[cell];
    target.turnInterval = status.interval;
    target.turnState = status.state;
    out.changed = true;
}

void LinuxMatrixModel::getCellTurnShow(Reader &reader, RequestOutcome &out)
{
    qint32 cell = 0;
    if (!readCell(reader, out, cell))
        return;
    if (!reader.atEnd()) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    if (!cellExists(cell)) {
        refuse(out, MatrixErrOutOfRange, QStringLiteral("no such cell"));
        return;
    }
    CellTurnStatus status = {};
    status.interval = m_state.cells.at(cell).turnInterval;
    status.state = m_state.cells.at(cell).turnState;
    PayloadWriter writer;
    writer.putRecord(status);
    out.body = writer.data();
}

void LinuxMatrixModel::setCellSingleWindow(Reader &reader, RequestOutcome &out)
{
    qint32 cell = 0;
    qint32 on = 0;
    qint32 window = 0;
    if (!readCell(reader, out, cell) || !reader.getInt32(on) || !reader.getInt32(window)
        || !reader.atEnd()) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    out.summary += QStringLiteral(" on=%1 window=%2").arg(on).arg(window);
    if (!cellExists(cell) || (on != 0 && on != 1)
        || (on == 1 && (window < 0 || window >= MaxCellChannels))) {
        refuse(out, MatrixErrOutOfRange,
               cellExists(cell) ? QStringLiteral("bad flag or window")
                                : QStringLiteral("no such cell"));
        return;
    }
    SimLinuxCell &target = m_state.cells[cell];
    target.singleWindow = on == 1;
    target.window = on == 1 ? window : 0;
    out.changed = true;
}

void LinuxMatrixModel::getCellSingleWindow(Reader &reader, RequestOutcome &out)
{
    qint32 cell = 0;
    if (!readCell(reader, out, cell))
        return;
    if (!reader.atEnd()) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    if (!cellExists(cell)) {
        refuse(out, MatrixErrOutOfRange, QStringLiteral("no such cell"));
        return;
    }
    PayloadWriter writer;
    writer.putInt32(m_state.cells.at(cell).singleWindow ? 1 : 0)
            .putInt32(m_state.cells.at(cell).window);
    out.body = writer.data();
}

void LinuxMatrixModel::setCellSplit(Reader &reader, RequestOutcome &out)
{
    qint32 cell = 0;
    qint32 split = 0;
    qint32 reserved = 0;
    if (!readCell(reader, out, cell) || !reader.getInt32(split) || !reader.getInt32(reserved)
        || !reader.atEnd()) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    out.summary += QStringLiteral(" split=%1").arg(split);
    if (!cellExists(cell) || !isValidSplit(split, false)) {
        refuse(out, MatrixErrOutOfRange,
               cellExists(cell) ? QStringLiteral("bad split") : QStringLiteral("no such cell"));
        return;
    }
    m_state.cells[cell].split = split;
    out.changed = true;
}

bool LinuxMatrixModel::restore(const SimLinuxState &stored, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (stored.rows < 0 || stored.columns < 0 || stored.rows * stored.columns > Outputs
        || (stored.rows == 0) != (stored.columns == 0)) {
        return fail(
                QStringLiteral("Linux arrangement %1 x %2").arg(stored.rows).arg(stored.columns));
    }
    const int count = stored.grid.size();
    if (stored.gridRows < 0 || stored.gridColumns < 0
        || count != stored.gridRows * stored.gridColumns || count > Outputs) {
        return fail(QStringLiteral("Linux grid of %1 cells for %2 x %3")
                            .arg(count)
                            .arg(stored.gridRows)
                            .arg(stored.gridColumns));
    }
    for (int k = 0; k < count; ++k) {
        const ScreenRegion &region = stored.grid.at(k);
        ScreenRegion expected;
        expected.index = k;
        expected.melt = 0;
        expected.left = (k % stored.gridColumns) * Unit;
        expected.top = (k / stored.gridColumns) * Unit;
        expected.width = Unit;
        expected.height = Unit;
        if (!sameRegion(region, expected))
            return fail(QStringLiteral("Linux grid region %1 is misplaced").arg(k));
    }
    if (stored.meltedCell < -1 || stored.meltedCell >= count)
        return fail(QStringLiteral("Linux melted cell %1").arg(stored.meltedCell));
    if (stored.screenMap.size() != Outputs)
        return fail(QStringLiteral("Linux screen map of %1 bytes").arg(stored.screenMap.size()));
    QVector<bool> used(Outputs, false);
    for (char byte : stored.screenMap) {
        const int screen = quint8(byte);
        if (screen >= Outputs || used[screen])
            return fail(QStringLiteral("Linux screen map is no permutation"));
        used[screen] = true;
    }
    if (stored.cells.size() != Outputs)
        return fail(QStringLiteral("Linux wall holds %1 cells").arg(stored.cells.size()));
    for (int k = 0; k < Outputs; ++k) {
        const SimLinuxCell &cell = stored.cells.at(k);
        if (!isValidSplit(cell.split, false) || cell.channels.size() > MaxCellChannels
            || cell.turnInterval < 5 || cell.turnInterval > 60 || cell.turnState < 0
            || cell.turnState > 2 || cell.window < 0 || cell.window >= MaxCellChannels) {
            return fail(QStringLiteral("Linux cell %1 has a bad value").arg(k));
        }
        int lastPosition = -1;
        for (const CellChannelRecord &record : cell.channels) {
            if (!isValidCellChannel(record) || record.position <= lastPosition
                || record.position >= MaxCellChannels) {
                return fail(QStringLiteral("Linux cell %1 has a bad channel").arg(k));
            }
            lastPosition = record.position;
        }
    }
    if (!parseVersion(stored.firmwareVersion, nullptr))
        return fail(QStringLiteral("firmware version \"%1\"").arg(stored.firmwareVersion));
    m_state = stored;
    m_state.outputs = Outputs;
    m_state.arrangeMode = false;
    m_state.upgradeRunning = false;
    m_state.upgradeFinished = false;
    m_state.upgradeMode = -1;
    m_state.upgradeUrl.clear();
    m_state.upgradePollsDone = 0;
    m_state.upgradeResult = 0;
    return true;
}

} // namespace MatrixSim
