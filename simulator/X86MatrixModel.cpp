#include "X86MatrixModel.h"

#include "MatrixProtocol.h"
#include "OperatorList.h"
#include "PayloadReader.h"
#include "PayloadWriter.h"
#include "RequestChecks.h"

#include <algorithm>
#include <QDateTime>

#include <cmath>

namespace MatrixSim {

using namespace MatrixProtocol;

namespace {

bool sameRect(const RECT &a, const RECT &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

RECT screenRect(int row, int column)
{
    RECT rect;
    rect.left = column * SimX86ScreenWidth;
    rect.top = row * SimX86ScreenHeight;
    rect.right = rect.left + SimX86ScreenWidth;
    rect.bottom = rect.top + SimX86ScreenHeight;
    return rect;
}

QString rectText(const RECT &rect)
{
    return QStringLiteral("(%1,%2,%3,%4)")
            .arg(rect.left)
            .arg(rect.top)
            .arg(rect.right)
            .arg(rect.bottom);
}

} // namespace

X86MatrixModel::X86MatrixModel(int outputs, const QList<SimulatorAccount> &accounts)
    : m_accounts(accounts)
{
    m_state.outputs = qBound(1, outputs, MaxX86Windows);
    m_clock.start();
}

qint64 X86MatrixModel::nowMs() const
{
    return m_clock.elapsed();
}

QByteArray X86MatrixModel::sourceBytes(const SimX86Window &window)
{
    return QByteArray(reinterpret_cast<const char *>(window.sources.constData()),
                      window.sources.size() * int(sizeof(_ST_ChnInfo)));
}

Frame X86MatrixModel::sourcesFrame(const SimX86Window &window)
{
    Frame frame;
    frame.type = EventMonitorSources;
    PayloadWriter writer;
    writer.putInt32(window.index)
            .putInt32(window.turnInterval)
            .putInt32(window.sources.size())
            .putBytes(window.sources.constData(),
                      window.sources.size() * int(sizeof(_ST_ChnInfo)));
    frame.payload = writer.data();
    return frame;
}

Frame X86MatrixModel::turnStepFrame(const SimX86Window &window)
{
    Frame frame;
    frame.type = EventTurnStep;
    PayloadWriter writer;
    writer.putInt32(window.index)
            .putInt32(window.turnState)
            .putInt32(window.turnPage)
            .putInt32(simTurnPages(window.sources.size(), window.split))
            .putInt32(window.turnInterval);
    frame.payload = writer.data();
    return frame;
}

void X86MatrixModel::toLoggedIn(const Frame &frame, RequestOutcome &out) const
{
    for (const auto &entry : m_sessions) {
        if (entry.second.followsWall())
            out.events.append(qMakePair(entry.first, frame));
    }
}

void X86MatrixModel::sendOnAir(quint64 connection, const SimX86Window *only,
                               RequestOutcome &out) const
{
    for (const SimX86Window &window : m_state.windows) {
        if (only && only != &window)
            continue;
        out.events.append(qMakePair(connection, sourcesFrame(window)));
        out.events.append(qMakePair(connection, turnStepFrame(window)));
    }
}

void X86MatrixModel::settleTurns(RequestOutcome &out)
{
    const qint64 now = nowMs();
    std::map<int, Reported> reported;
    std::map<int, qint64> due;
    std::map<int, QByteArray> shapes;
    for (SimX86Window &window : m_state.windows) {
        const int pages = simTurnPages(window.sources.size(), window.split);
        const QByteArray shape = sourceBytes(window) + QByteArray::number(window.split) + ' '
                + QByteArray::number(window.turnInterval);
        const auto oldShape = m_turnShape.find(window.index);
        if (oldShape == m_turnShape.end() || oldShape->second != shape || window.turnState == 0
            || window.turnPage >= pages)
            window.turnPage = 0;
        shapes[window.index] = shape;
        const auto oldDue = m_turnDue.find(window.index);
        qint64 next = -1;
        if (window.turnState == 1 && window.turnInterval > 0) {
            const bool sameShow = oldShape != m_turnShape.end() && oldShape->second == shape;
            next = sameShow && oldDue != m_turnDue.end() && oldDue->second >= 0
                    ? oldDue->second
                    : now + qint64(window.turnInterval) * 1000;
        }
        due[window.index] = next;

        Reported now_;
        now_.sources = sourceBytes(window);
        now_.interval = window.turnInterval;
        now_.turnState = window.turnState;
        now_.page = window.turnPage;
        now_.pages = pages;
        const auto before = m_reported.find(window.index);
        if (before == m_reported.end()) {
            // A window nobody was told of yet is announced only when something is on it.
            if (!window.sources.isEmpty() || window.turnState != 0) {
                toLoggedIn(sourcesFrame(window), out);
                toLoggedIn(turnStepFrame(window), out);
            }
        } else {
            const Reported &told = before->second;
            if (told.sources != now_.sources || told.interval != now_.interval)
                toLoggedIn(sourcesFrame(window), out);
            if (told.turnState != now_.turnState || told.page != now_.page
                || told.pages != now_.pages || told.interval != now_.interval)
                toLoggedIn(turnStepFrame(window), out);
        }
        reported[window.index] = now_;
    }
    m_reported.swap(reported);
    m_turnDue.swap(due);
    m_turnShape.swap(shapes);
}

bool X86MatrixModel::advanceTurns(bool force, RequestOutcome &out)
{
    const qint64 now = nowMs();
    bool stepped = false;
    for (SimX86Window &window : m_state.windows) {
        const int pages = simTurnPages(window.sources.size(), window.split);
        auto due = m_turnDue.find(window.index);
        if (window.turnState != 1 || pages < 2 || due == m_turnDue.end() || due->second < 0)
            continue;
        if (!force && now < due->second)
            continue;
        window.turnPage = (window.turnPage + 1) % pages;
        due->second = now + qint64(qMax(1, window.turnInterval)) * 1000;
        stepped = true;
    }
    if (stepped)
        settleTurns(out);
    return stepped;
}

void X86MatrixModel::addSession(quint64 connection)
{
    m_sessions[connection] = Session();
}

QVector<QPair<quint64, Frame>> X86MatrixModel::removeSession(quint64 connection)
{
    const auto found = m_sessions.find(connection);
    const bool wasLoggedIn = found != m_sessions.end() && found->second.followsWall();
    m_sessions.erase(connection);
    return wasLoggedIn ? operatorLists() : QVector<QPair<quint64, Frame>>();
}

Frame X86MatrixModel::operatorsFrame(quint64 connection) const
{
    const QVector<OperatorEntry> entries = loggedInOperators(m_sessions, connection);
    Frame frame;
    frame.type = EventOperators;
    frame.payload = encodeOperators(entries);
    return frame;
}

QVector<QPair<quint64, Frame>> X86MatrixModel::operatorLists() const
{
    QVector<QPair<quint64, Frame>> lists;
    for (const auto &entry : m_sessions) {
        if (entry.second.followsWall() && entry.second.identified)
            lists.append(qMakePair(entry.first, operatorsFrame(entry.first)));
    }
    return lists;
}

SimX86State X86MatrixModel::state() const
{
    SimX86State snapshot = m_state;
    for (const auto &entry : m_sessions) {
        if (entry.second.loggedIn) {
            snapshot.operators.append(QString::fromLocal8Bit(entry.second.user));
            snapshot.operatorHosts.append(entry.second.host);
        }
    }
    return snapshot;
}

bool X86MatrixModel::accountMatches(const QByteArray &user, const QByteArray &password) const
{
    for (const SimulatorAccount &account : m_accounts) {
        if (account.user.toLocal8Bit() == user && account.password.toLocal8Bit() == password)
            return true;
    }
    return false;
}

SimX86Window *X86MatrixModel::window(int index)
{
    for (SimX86Window &candidate : m_state.windows) {
        if (candidate.index == index)
            return &candidate;
    }
    return nullptr;
}

void X86MatrixModel::buildWindows(int rows, int columns)
{
    m_state.rows = rows;
    m_state.columns = columns;
    m_state.windows.clear();
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            SimX86Window window;
            window.index = row * columns + column;
            window.home = screenRect(row, column);
            window.rect = window.home;
            m_state.windows.append(window);
        }
    }
}

QByteArray X86MatrixModel::layoutRecord(const SimX86State &state)
{
    PayloadWriter writer;
    RECT wall;
    wall.left = 0;
    wall.top = 0;
    wall.right = state.columns * SimX86ScreenWidth;
    wall.bottom = state.rows * SimX86ScreenHeight;
    writer.putRecord(wall)
            .putInt32(state.windows.size())
            .putInt32(state.outputs)
            .putInt32(state.configMode ? 1 : 0)
            .putInt32(state.rows)
            .putInt32(state.columns);
    for (const SimX86Window &window : state.windows) {
        _MIRRORINFO info;
        info.rectA = window.home;
        info.rectB = window.rect;
        info.mirrorParam1 = window.index;
        info.mirrorParam2 = window.split;
        info.mirrorParam3 = window.layer;
        info.mirrorParam4 = window.zoomedPane;
        info.mirrorParam5 = window.turnState;
        writer.putRecord(info);
    }
    return writer.data();
}

void X86MatrixModel::sendLayout(quint64 connection, RequestOutcome &out) const
{
    Frame frame;
    frame.type = EventLayout;
    frame.payload = layoutRecord(m_state);
    out.events.append(qMakePair(connection, frame));
}

void X86MatrixModel::broadcastLayout(RequestOutcome &out) const
{
    Frame frame;
    frame.type = EventLayout;
    frame.payload = layoutRecord(m_state);
    for (const auto &entry : m_sessions) {
        if (entry.second.followsWall())
            out.events.append(qMakePair(entry.first, frame));
    }
}

RequestOutcome X86MatrixModel::handle(quint64 connection, quint16 type, const QByteArray &payload)
{
    RequestOutcome out;
    auto found = m_sessions.find(connection);
    if (found == m_sessions.end())
        found = m_sessions.emplace(connection, Session()).first;
    Session &session = found->second;
    PayloadReader reader(payload);

    if (type == Identify) {
        if (readIdentify(reader, &session.host, out))
            session.identified = true;
        return out;
    }
    if (type == X86Login || type == X86ForceLogin || type == Watch) {
        if (type == X86Login)
            login(connection, session, reader, out);
        else if (type == X86ForceLogin)
            forceLogin(connection, session, reader, out);
        else
            watch(connection, session, reader, out);
        // A new operator learns what is on air on every window, after the layout.
        if (out.result == 0) {
            settleTurns(out);
            out.events.erase(std::remove_if(out.events.begin(), out.events.end(),
                                            [connection](const QPair<quint64, Frame> &event) {
                                                return event.first == connection
                                                        && (event.second.type
                                                                    == EventMonitorSources
                                                            || event.second.type
                                                                    == EventTurnStep);
                                            }),
                             out.events.end());
            sendOnAir(connection, nullptr, out);
        }
        return out;
    }
    if (!session.loggedIn && session.watching && type != X86RequestLayout) {
        // A watcher reads the wall; changing it needs a login.
        refuse(out, MatrixErrWatchOnly, QStringLiteral("watching only"));
        return out;
    }
    if (!session.loggedIn && !session.watching) {
        refuse(out, MatrixErrNotLoggedIn, QStringLiteral("not logged in"));
        return out;
    }
    switch (type) {
    case X86SetScreenCount:
        setScreenCount(reader, out);
        break;
    case X86RequestLayout:
        if (!reader.atEnd()) {
            refuse(out, MatrixErrBadArgument, QStringLiteral("unexpected payload"));
            break;
        }
        sendLayout(connection, out);
        break;
    case X86ExchangeMirrors:
        exchangeMirrors(reader, out);
        break;
    case X86SetConfigMode:
        setConfigMode(connection, reader, out);
        break;
    case X86SetMonitorSplit:
        setMonitorSplit(reader, out);
        break;
    case X86SetMonitorSources:
        setSources(reader, out, false);
        break;
    case X86SetMonitorTurnSources:
        setSources(reader, out, true);
        break;
    case X86SelectMonitor:
        selectMonitor(reader, out);
        break;
    case X86SetTurnState:
        setTurnState(reader, out);
        break;
    case X86ClearSource:
        clearSource(reader, out);
        break;
    case X86ZoomMirrorAt:
        zoomMirrorAt(reader, out);
        break;
    case X86SetMirrorRect:
        setMirrorRect(reader, out);
        break;
    default:
        refuse(out, MatrixErrBadArgument, QStringLiteral("not an X86 request"));
        break;
    }
    if (out.result == 0 && type == X86SelectMonitor)
        sendOnAir(connection, window(m_state.selectedMonitor), out);
    // Operators hear of a window's new sources or turn step after the layout.
    settleTurns(out);
    return out;
}

void X86MatrixModel::login(quint64 connection, Session &session, Reader &reader,
                           RequestOutcome &out)
{
    QByteArray user;
    QByteArray password;
    if (!readAccount(reader, &user, &password, "login", out))
        return;
    session.loggedIn = false;
    session.user.clear();
    session.forcePending = false;
    session.pendingUser.clear();
    if (!accountMatches(user, password)) {
        refuse(out, 1, QStringLiteral("wrong user or password"));
        return;
    }
    for (const auto &entry : m_sessions) {
        if (entry.first != connection && entry.second.loggedIn && entry.second.user == user) {
            session.forcePending = true;
            session.pendingUser = user;
            refuse(out, 2, QStringLiteral("logged in elsewhere"));
            // Who holds the matrix arrives before the answer, for the question that follows.
            if (session.identified)
                out.eventsFirst.append(qMakePair(connection, operatorsFrame(connection)));
            return;
        }
    }
    session.loggedIn = true;
    session.watching = false;
    session.user = user;
    session.sinceMs = QDateTime::currentMSecsSinceEpoch();
    sendLayout(connection, out);
    out.events += operatorLists();
}

void X86MatrixModel::watch(quint64 connection, Session &session, Reader &reader,
                           RequestOutcome &out)
{
    QByteArray user;
    QByteArray password;
    if (!readAccount(reader, &user, &password, "watch", out))
        return;
    if (!accountMatches(user, password)) {
        refuse(out, 1, QStringLiteral("wrong user or password"));
        return;
    }
    // Watching never takes the matrix from anyone; a connection that controlled it gives it up.
    session.loggedIn = false;
    session.forcePending = false;
    session.pendingUser.clear();
    session.watching = true;
    session.user = user;
    session.sinceMs = QDateTime::currentMSecsSinceEpoch();
    sendLayout(connection, out);
    out.events += operatorLists();
}

void X86MatrixModel::forceLogin(quint64 connection, Session &session, Reader &reader,
                                RequestOutcome &out)
{
    if (!reader.atEnd()) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("unexpected payload"));
        return;
    }
    if (!session.forcePending) {
        refuse(out, MatrixErrFailed, QStringLiteral("no login to force"));
        return;
    }
    const QByteArray user = session.pendingUser;
    out.summary = QStringLiteral("user=\"%1\"").arg(QString::fromLocal8Bit(user));
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    OperatorEntry taker;
    taker.user = user;
    taker.host = session.host;
    taker.sinceMs = now;
    Frame takenOver;
    takenOver.type = EventTakenOver;
    takenOver.payload = encodeOperator(taker);
    Frame kick;
    kick.type = EventKicked;
    PayloadWriter reason;
    reason.putInt32(KickForcedLogin);
    kick.payload = reason.data();
    for (auto &entry : m_sessions) {
        if (entry.first != connection && entry.second.loggedIn && entry.second.user == user) {
            entry.second.loggedIn = false;
            if (entry.second.identified)
                out.events.append(qMakePair(entry.first, takenOver));
            out.events.append(qMakePair(entry.first, kick));
            out.kicked.append(entry.first);
        }
    }
    session.forcePending = false;
    session.pendingUser.clear();
    session.loggedIn = true;
    session.watching = false;
    session.user = user;
    session.sinceMs = now;
    sendLayout(connection, out);
    out.events += operatorLists();
}

void X86MatrixModel::setScreenCount(Reader &reader, RequestOutcome &out)
{
    qint32 rows = 0;
    qint32 columns = 0;
    if (!readInts(reader, {&rows, &columns})) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    out.summary = QStringLiteral("rows=%1 columns=%2").arg(rows).arg(columns);
    if (rows < 1 || columns < 1 || rows > m_state.outputs || columns > m_state.outputs
        || rows * columns > m_state.outputs) {
        refuse(out, MatrixErrOutOfRange, QStringLiteral("%1 outputs").arg(m_state.outputs));
        return;
    }
    buildWindows(rows, columns);
    out.changed = true;
    broadcastLayout(out);
}

void X86MatrixModel::exchangeMirrors(Reader &reader, RequestOutcome &out)
{
    qint32 a = 0;
    qint32 b = 0;
    if (!readInts(reader, {&a, &b})) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    out.summary = QStringLiteral("a=%1 b=%2").arg(a).arg(b);
    SimX86Window *first = window(a);
    SimX86Window *second = window(b);
    if (!first || !second) {
        refuse(out, MatrixErrOutOfRange, QStringLiteral("no such window"));
        return;
    }
    if (first == second)
        return;
    first->index = b;
    second->index = a;
    out.changed = true;
    broadcastLayout(out);
}

void X86MatrixModel::setConfigMode(quint64 connection, Reader &reader, RequestOutcome &out)
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
    m_state.configMode = on == 1;
    out.changed = true;
    if (on) {
        Frame info;
        info.type = EventMatrixInfo;
        PayloadWriter writer;
        writer.putInt32(m_state.outputs).putInt32(m_state.rows).putInt32(m_state.columns);
        info.payload = writer.data();
        out.events.append(qMakePair(connection, info));
    } else {
        broadcastLayout(out);
        // Leaving the mode, every operator draws the wall anew: with what is on air.
        for (const auto &entry : m_sessions) {
            if (entry.second.loggedIn)
                sendOnAir(entry.first, nullptr, out);
        }
    }
}

void X86MatrixModel::setMonitorSplit(Reader &reader, RequestOutcome &out)
{
    qint32 monitor = 0;
    qint32 split = 0;
    if (!readInts(reader, {&monitor, &split})) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    out.summary = QStringLiteral("monitor=%1 split=%2").arg(monitor).arg(split);
    SimX86Window *target = window(monitor);
    if (!target || !isValidSplit(split, true)) {
        refuse(out, MatrixErrOutOfRange,
               target ? QStringLiteral("bad split") : QStringLiteral("no such window"));
        return;
    }
    target->split = split;
    target->zoomedPane = 0;
    out.changed = true;
    broadcastLayout(out);
}

void X86MatrixModel::setSources(Reader &reader, RequestOutcome &out, bool turn)
{
    qint32 monitor = 0;
    qint32 count = 0;
    qint32 interval = 0;
    if (!reader.getInt32(monitor) || !reader.getInt32(count)
        || (turn && !reader.getInt32(interval))) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    out.summary = QStringLiteral("monitor=%1 count=%2").arg(monitor).arg(count);
    if (turn)
        out.summary += QStringLiteral(" interval=%1").arg(interval);
    if (count < 1 || count > MaxX86Sources) {
        refuse(out, MatrixErrOutOfRange, QStringLiteral("bad count"));
        return;
    }
    if (reader.remaining() != count * int(sizeof(_ST_ChnInfo))) {
        refuse(out, MatrixErrBadArgument,
               QStringLiteral("%1 bytes of records").arg(reader.remaining()));
        return;
    }
    QVector<_ST_ChnInfo> records(count);
    for (_ST_ChnInfo &record : records)
        reader.getRecord(record);
    for (const _ST_ChnInfo &record : records) {
        if (!isValidChannelInfo(record)) {
            refuse(out, MatrixErrBadArgument, QStringLiteral("unterminated text"));
            return;
        }
        if (record.sequence < 1 || record.sequence > MaxX86Sources) {
            refuse(out, MatrixErrOutOfRange, QStringLiteral("bad sequence"));
            return;
        }
    }
    if (turn && (interval < 1 || interval > 3600)) {
        refuse(out, MatrixErrOutOfRange, QStringLiteral("bad interval"));
        return;
    }
    SimX86Window *target = window(monitor);
    if (!target) {
        refuse(out, MatrixErrOutOfRange, QStringLiteral("no such window"));
        return;
    }
    target->sources = records;
    target->zoomedPane = 0;
    if (turn) {
        // Loaded and waiting for the start.
        target->turnInterval = interval;
        target->turnState = 2;
    } else {
        // A fixed set: one channel per pane and no turn show.
        target->turnState = 0;
        target->turnInterval = 0;
    }
    out.changed = true;
    broadcastLayout(out);
}

void X86MatrixModel::selectMonitor(Reader &reader, RequestOutcome &out)
{
    qint32 monitor = 0;
    if (!readInts(reader, {&monitor})) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    out.summary = QStringLiteral("monitor=%1").arg(monitor);
    if (!window(monitor)) {
        refuse(out, MatrixErrOutOfRange, QStringLiteral("no such window"));
        return;
    }
    m_state.selectedMonitor = monitor;
}

void X86MatrixModel::setTurnState(Reader &reader, RequestOutcome &out)
{
    qint32 monitor = 0;
    qint32 state = 0;
    if (!readInts(reader, {&monitor, &state})) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    out.summary = QStringLiteral("monitor=%1 state=%2").arg(monitor).arg(state);
    SimX86Window *target = window(monitor);
    if (!target || state < 0 || state > 2) {
        refuse(out, MatrixErrOutOfRange,
               target ? QStringLiteral("bad state") : QStringLiteral("no such window"));
        return;
    }
    if (state == 1 && target->sources.isEmpty()) {
        refuse(out, MatrixErrFailed, QStringLiteral("no sources to turn"));
        return;
    }
    if (state == 1 && target->turnInterval < 1) {
        refuse(out, MatrixErrFailed, QStringLiteral("no turn interval"));
        return;
    }
    if (state == 2 && target->turnState != 1) {
        refuse(out, MatrixErrFailed, QStringLiteral("no running turn show"));
        return;
    }
    if (target->turnState == state)
        return;
    target->turnState = state;
    out.changed = true;
    broadcastLayout(out);
}

void X86MatrixModel::clearSource(Reader &reader, RequestOutcome &out)
{
    qint32 monitor = 0;
    if (!readInts(reader, {&monitor})) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    out.summary = QStringLiteral("monitor=%1").arg(monitor);
    SimX86Window *target = window(monitor);
    if (!target) {
        refuse(out, MatrixErrOutOfRange, QStringLiteral("no such window"));
        return;
    }
    target->sources.clear();
    target->turnState = 0;
    target->turnInterval = 0;
    target->zoomedPane = 0;
    out.changed = true;
    broadcastLayout(out);
}

void X86MatrixModel::zoomMirrorAt(Reader &reader, RequestOutcome &out)
{
    qint32 mirror = 0;
    qint32 x = 0;
    qint32 y = 0;
    if (!readInts(reader, {&mirror, &x, &y})) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    out.summary = QStringLiteral("mirror=%1 x=%2 y=%3").arg(mirror).arg(x).arg(y);
    SimX86Window *target = window(mirror);
    if (!target) {
        refuse(out, MatrixErrOutOfRange, QStringLiteral("no such window"));
        return;
    }
    const qint64 width = qint64(target->rect.right) - target->rect.left;
    const qint64 height = qint64(target->rect.bottom) - target->rect.top;
    if (x < 0 || y < 0 || x >= width || y >= height) {
        refuse(out, MatrixErrOutOfRange, QStringLiteral("outside the window"));
        return;
    }
    const int side = int(std::lround(std::sqrt(double(target->split))));
    if (side <= 1)
        return;
    const int pane = int((y * side / height) * side + x * side / width);
    target->zoomedPane = target->zoomedPane == pane + 1 ? 0 : pane + 1;
    out.changed = true;
    broadcastLayout(out);
}

void X86MatrixModel::setMirrorRect(Reader &reader, RequestOutcome &out)
{
    qint32 mirror = 0;
    RECT rect;
    if (!readInts(reader, {&mirror, &rect.left, &rect.top, &rect.right, &rect.bottom})) {
        refuse(out, MatrixErrBadArgument, QStringLiteral("wrong size"));
        return;
    }
    out.summary = QStringLiteral("mirror=%1 rect=%2").arg(mirror).arg(rectText(rect));
    SimX86Window *target = window(mirror);
    if (!target) {
        refuse(out, MatrixErrOutOfRange, QStringLiteral("no such window"));
        return;
    }
    const int wallWidth = m_state.columns * SimX86ScreenWidth;
    const int wallHeight = m_state.rows * SimX86ScreenHeight;
    if (rect.left < 0 || rect.top < 0 || rect.left >= rect.right || rect.top >= rect.bottom
        || rect.right > wallWidth || rect.bottom > wallHeight) {
        refuse(out, MatrixErrOutOfRange, QStringLiteral("outside the wall"));
        return;
    }
    target->rect = rect;
    if (sameRect(rect, target->home)) {
        target->layer = 0;
    } else {
        for (SimX86Window &other : m_state.windows) {
            if (other.layer == 1)
                other.layer = 2;
        }
        target->layer = 1;
    }
    out.changed = true;
    broadcastLayout(out);
}

bool X86MatrixModel::restore(const SimX86State &stored, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    const int count = stored.rows * stored.columns;
    if (stored.rows < 0 || stored.columns < 0 || (count == 0 && stored.rows + stored.columns != 0)
        || count > m_state.outputs) {
        return fail(QStringLiteral("X86 arrangement %1 x %2 does not fit %3 outputs")
                            .arg(stored.rows)
                            .arg(stored.columns)
                            .arg(m_state.outputs));
    }
    if (stored.windows.size() != count)
        return fail(QStringLiteral("X86 wall holds %1 windows for %2 screens")
                            .arg(stored.windows.size())
                            .arg(count));
    QVector<bool> seen(count, false);
    const int wallWidth = stored.columns * SimX86ScreenWidth;
    const int wallHeight = stored.rows * SimX86ScreenHeight;
    for (int k = 0; k < count; ++k) {
        const SimX86Window &window = stored.windows.at(k);
        if (window.index < 0 || window.index >= count || seen[window.index])
            return fail(QStringLiteral("X86 window %1 has a bad number").arg(k));
        seen[window.index] = true;
        if (!sameRect(window.home, screenRect(k / stored.columns, k % stored.columns)))
            return fail(QStringLiteral("X86 window %1 is not on its screen").arg(k));
        const RECT &r = window.rect;
        if (r.left < 0 || r.top < 0 || r.left >= r.right || r.top >= r.bottom || r.right > wallWidth
            || r.bottom > wallHeight) {
            return fail(QStringLiteral("X86 window %1 lies outside the wall").arg(k));
        }
        if (!isValidSplit(window.split, true) || window.layer < 0 || window.layer > 2
            || window.turnState < 0 || window.turnState > 2 || window.zoomedPane < 0
            || window.zoomedPane > window.split || window.turnInterval < 0
            || window.sources.size() > MaxX86Sources) {
            return fail(QStringLiteral("X86 window %1 has a bad value").arg(k));
        }
        for (const _ST_ChnInfo &record : window.sources) {
            if (!isValidChannelInfo(record))
                return fail(QStringLiteral("X86 window %1 has a bad source").arg(k));
        }
    }
    const int outputs = m_state.outputs;
    m_state = stored;
    m_state.outputs = outputs;
    m_state.configMode = false;
    m_state.selectedMonitor = -1;
    m_state.operators.clear();
    // The turn clock of a show that runs on goes on; nobody is told here.
    RequestOutcome untold;
    settleTurns(untold);
    m_state.operatorHosts.clear();
    return true;
}

} // namespace MatrixSim
