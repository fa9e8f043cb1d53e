// The matrix-service client library against an in-process matrix simulator on free ports.
#include "MatrixSimulator.h"
#include "ServerConfig.h"

#include <QElapsedTimer>
#include <QSet>
#include <QTcpServer>
#include <QTest>
#include <QThread>

#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr int ConnectTimeoutMs = 800;
constexpr int RequestTimeoutMs = 800;

// What the X86 callbacks saw; filled on the interface's network thread.
struct CallbackLog
{
    mutable std::mutex mutex;
    QVector<int> statuses;
    QVector<QVector<int>> infos;
    QVector<QByteArray> layouts;
    QSet<Qt::HANDLE> threads;

    IMatrixConfig *config = nullptr; // for callbacks that call back into the interface
    int loginFromCallback = 1; // what Login answered inside the success callback
    bool callLoginOnSuccess = false;
    bool releaseOnLayout = false;
    int layoutDelayMs = 0;
    std::atomic<int> inCallback {0};
    std::atomic<bool> released {false};
    std::atomic<int> callbacksAfterRelease {0};

    template<typename T>
    T read(const T &field) const
    {
        std::lock_guard<std::mutex> lock(mutex);
        return field;
    }
    QVector<int> statusList() const { return read(statuses); }
    int statusCount(int status) const { return statusList().count(status); }
    int layoutCount() const { return read(layouts).size(); }
    QByteArray layout(int index) const { return read(layouts).value(index); }
    bool ranOnlyOffThread(Qt::HANDLE main) const
    {
        const QSet<Qt::HANDLE> seen = read(threads);
        return !seen.isEmpty() && !seen.contains(main);
    }
};

void enter(CallbackLog *log)
{
    if (log->released)
        ++log->callbacksAfterRelease;
    std::lock_guard<std::mutex> lock(log->mutex);
    log->threads.insert(QThread::currentThreadId());
}

void MATRIX_CALLBACK onStatus(void *ctx, int connType)
{
    auto *log = static_cast<CallbackLog *>(ctx);
    enter(log);
    if (connType == ConnSuccess && log->callLoginOnSuccess)
        log->loginFromCallback = log->config->Login("", "");
    std::lock_guard<std::mutex> lock(log->mutex);
    log->statuses.append(connType);
}

void MATRIX_CALLBACK onInfo(void *ctx, int screens, int rows, int columns)
{
    auto *log = static_cast<CallbackLog *>(ctx);
    enter(log);
    std::lock_guard<std::mutex> lock(log->mutex);
    log->infos.append({screens, rows, columns});
}

void MATRIX_CALLBACK onLayout(void *ctx, _MIRRORLAYOUT *layout)
{
    auto *log = static_cast<CallbackLog *>(ctx);
    enter(log);
    ++log->inCallback;
    {
        std::lock_guard<std::mutex> lock(log->mutex);
        log->layouts.append(QByteArray(reinterpret_cast<const char *>(layout),
                                       int(mirrorLayoutSize(layout->mirrorCount))));
    }
    if (log->layoutDelayMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(log->layoutDelayMs));
    if (log->releaseOnLayout && !log->released) {
        log->released = true;
        ReleaseMatrixConfig(log->config);
    }
    --log->inCallback;
}

void MATRIX_CALLBACK onNothing(void *) { }

void MATRIX_CALLBACK onResult(void *, int, int) { }

struct X86Deleter
{
    void operator()(IMatrixConfig *config) const { ReleaseMatrixConfig(config); }
};
struct LinuxDeleter
{
    void operator()(IBaseMatrixConfig *config) const { ReleaseBaseMatrixConfig(config); }
};
using X86Ptr = std::unique_ptr<IMatrixConfig, X86Deleter>;
using LinuxPtr = std::unique_ptr<IBaseMatrixConfig, LinuxDeleter>;

X86Ptr newX86(CallbackLog *log)
{
    X86Ptr config(GetMatrixConfig());
    log->config = config.get();
    config->RegisterCallbacks(log, onStatus, onInfo, onLayout, onResult, onNothing);
    return config;
}

const _MIRRORLAYOUT *head(const QByteArray &layout)
{
    return reinterpret_cast<const _MIRRORLAYOUT *>(layout.constData());
}

const _MIRRORINFO &windowAt(const QByteArray &layout, int k)
{
    return reinterpret_cast<const _MIRRORINFO *>(layout.constData() + 36)[k];
}

CellChannelRecord cellChannel(int position, int channelNo)
{
    CellChannelRecord record;
    std::memset(&record, 0, sizeof(record));
    record.position = position;
    qstrncpy(record.deviceAddress, "192.168.5.20", sizeof(record.deviceAddress));
    qstrncpy(record.deviceText1, "Lobby NVR", sizeof(record.deviceText1));
    qstrncpy(record.deviceText5, "nvr-5", sizeof(record.deviceText5));
    record.port = 8000;
    record.channelNo = channelNo;
    qstrncpy(record.user, "admin", sizeof(record.user));
    qstrncpy(record.password, "pass", sizeof(record.password));
    qstrncpy(record.protocol, "qbz", sizeof(record.protocol));
    return record;
}

ScreenRegion region(int index, int columns)
{
    return ScreenRegion {index,   0,      (index % columns) * 1000000, (index / columns) * 1000000,
                         1000000, 1000000};
}

quint16 closedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

} // namespace

class tst_MatrixService : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void x86ConnectLoginLayoutAndConfigMode();
    void x86ForcedLoginTakesOverFromSecondOperator();
    void x86ConnectionFaultsReportTheirStatus_data();
    void x86ConnectionFaultsReportTheirStatus();
    void x86NoCallbackRunsAfterRelease_data();
    void x86NoCallbackRunsAfterRelease();
    void x86BlockingCallFromCallbackIsRefused();

    void linuxCellChannelsReadBackAsSent();
    void linuxRoundTripLateAnswerAndLoss();
    void linuxCallsThatCannotGoOutAreRefused();
    void linuxUpgradeRunsForAFewPolls();

private:
    bool startSimulator(const MatrixSimulatorOptions &options = MatrixSimulatorOptions());
    bool connectAndLogin(IMatrixConfig *config, CallbackLog &log, const char *user = "",
                         const char *password = "");
    LinuxPtr linuxSession();

    std::unique_ptr<MatrixSimulator> m_simulator;
};

void tst_MatrixService::initTestCase()
{
    qputenv("DM_MATRIX_CONNECT_TIMEOUT_MS", QByteArray::number(ConnectTimeoutMs));
    qputenv("DM_MATRIX_REQUEST_TIMEOUT_MS", QByteArray::number(RequestTimeoutMs));
}

void tst_MatrixService::init()
{
    m_simulator = std::make_unique<MatrixSimulator>();
}

void tst_MatrixService::cleanup()
{
    m_simulator.reset();
}

bool tst_MatrixService::startSimulator(const MatrixSimulatorOptions &base)
{
    MatrixSimulatorOptions options = base;
    options.x86Port = 0;
    options.linuxPort = 0;
    options.logRequests = false;
    if (!m_simulator->start(options)) {
        qWarning() << m_simulator->errorString();
        return false;
    }
    return true;
}

bool tst_MatrixService::connectAndLogin(IMatrixConfig *config, CallbackLog &log, const char *user,
                                        const char *password)
{
    const int successes = log.statusCount(ConnSuccess);
    const int layouts = log.layoutCount();
    config->Connect("127.0.0.1", m_simulator->x86Port());
    if (!QTest::qWaitFor([&] { return log.statusCount(ConnSuccess) > successes; }, 3000))
        return false;
    if (config->Login(user, password) != 0)
        return false;
    return QTest::qWaitFor([&] { return log.layoutCount() > layouts; }, 3000);
}

LinuxPtr tst_MatrixService::linuxSession()
{
    LinuxPtr config(CreateBaseMatrixConfig());
    if (config->Login(1, "admin", "admin", "127.0.0.1", m_simulator->linuxPort()) != 0
        || config->StartSession() != 0) {
        return LinuxPtr();
    }
    return config;
}

void tst_MatrixService::x86ConnectLoginLayoutAndConfigMode()
{
    QVERIFY(startSimulator());
    CallbackLog log;
    X86Ptr config = newX86(&log);

    QCOMPARE(config->Connect("127.0.0.1", m_simulator->x86Port()), 0);
    QTRY_COMPARE(log.statusList(), QVector<int> {ConnSuccess});
    QCOMPARE(config->Login("", ""), 0);
    QTRY_COMPARE(log.layoutCount(), 1);

    // A new matrix has no screen arrangement.
    const QByteArray first = log.layout(0);
    QCOMPARE(QVector<int>({head(first)->mirrorCount, head(first)->layoutParam2,
                           head(first)->layoutParam3, head(first)->layoutParam4}),
             QVector<int>({0, 0, 0, 0}));

    config->SetScreenCount(2, 3);
    QTRY_COMPARE(log.layoutCount(), 2);
    const QByteArray wall = log.layout(1);
    QCOMPARE(head(wall)->mirrorCount, 6);
    QCOMPARE(head(wall)->wallRect.right, 3 * 1920);
    QCOMPARE(head(wall)->wallRect.bottom, 2 * 1080);
    QCOMPARE(head(wall)->layoutParam3, 2);
    QCOMPARE(head(wall)->layoutParam4, 3);
    for (int k = 0; k < 6; ++k) {
        const _MIRRORINFO &window = windowAt(wall, k);
        const RECT expected {(k % 3) * 1920, (k / 3) * 1080, (k % 3 + 1) * 1920,
                             (k / 3 + 1) * 1080};
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(&window.rectA), sizeof(RECT)),
                 QByteArray(reinterpret_cast<const char *>(&expected), sizeof(RECT)));
        QCOMPARE(QVector<int>({window.mirrorParam1, window.mirrorParam2, window.mirrorParam5,
                               window.rectB.bottom}),
                 QVector<int>({k, 1, 0, window.rectA.bottom}));
    }

    config->SetConfigMode(true);
    QTRY_COMPARE(log.read(log.infos), (QVector<QVector<int>> {{8, 2, 3}}));
    config->ExchangeMirrors(0, 3);
    QTRY_COMPARE(log.layoutCount(), 3);
    QVERIFY(head(log.layout(2))->layoutParam2 != 0);
    QCOMPARE(windowAt(log.layout(2), 0).mirrorParam1, 3);
    QCOMPARE(windowAt(log.layout(2), 3).mirrorParam1, 0);
    QCOMPARE(windowAt(log.layout(2), 0).rectA.left, 0);
    config->SetConfigMode(false);
    QTRY_COMPARE(log.layoutCount(), 4);
    QCOMPARE(head(log.layout(3))->layoutParam2, 0);
    QCOMPARE(m_simulator->x86State().windows.at(3).index, 0);
    QVERIFY(log.ranOnlyOffThread(QThread::currentThreadId()));
}

void tst_MatrixService::x86ForcedLoginTakesOverFromSecondOperator()
{
    MatrixSimulatorOptions options;
    options.x86Accounts = {{QStringLiteral("op"), QStringLiteral("pw")}};
    QVERIFY(startSimulator(options));
    CallbackLog firstLog;
    CallbackLog secondLog;
    X86Ptr first = newX86(&firstLog);
    X86Ptr second = newX86(&secondLog);
    QVERIFY(connectAndLogin(first.get(), firstLog, "op", "pw"));

    second->Connect("127.0.0.1", m_simulator->x86Port());
    QTRY_COMPARE(secondLog.statusCount(ConnSuccess), 1);
    QCOMPARE(second->ForceLogin(), 0); // nothing to force yet
    QCOMPARE(second->Login("op", "pw"), 2);
    QCOMPARE(secondLog.layoutCount(), 0);

    QVERIFY(second->ForceLogin() != 0);
    QTRY_COMPARE(firstLog.statusCount(ConnDisconnect), 1);
    QTRY_COMPARE(secondLog.layoutCount(), 1);
    QCOMPARE(m_simulator->x86State().operators, QStringList {"op"});

    // The operator taken over is gone: its requests find no connection.
    QCOMPARE(first->Login("op", "pw"), int(MatrixErrNotConnected));
    QCOMPARE(firstLog.statusList(), (QVector<int> {ConnSuccess, ConnDisconnect}));
}

void tst_MatrixService::x86ConnectionFaultsReportTheirStatus_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QVector<int>>("statuses");
    QTest::newRow("refused port") << "refused" << QVector<int> {ConnFailed, ConnFailed};
    QTest::newRow("matrix stopped") << "stopped" << QVector<int> {ConnSuccess, ConnDisconnect};
    QTest::newRow("garbage answer") << "garbage" << QVector<int> {ConnSuccess, ConnDisError};
    // Our own disconnect reports nothing; the interface connects again.
    QTest::newRow("own disconnect") << "disconnect" << QVector<int> {ConnSuccess, ConnSuccess};
}

void tst_MatrixService::x86ConnectionFaultsReportTheirStatus()
{
    QFETCH(QString, fault);
    QFETCH(QVector<int>, statuses);
    QVERIFY(startSimulator());
    CallbackLog log;
    X86Ptr config = newX86(&log);
    if (fault == QLatin1String("refused")) {
        QCOMPARE(config->Connect("127.0.0.1", closedPort()), 0);
        QTRY_COMPARE(log.statusCount(ConnFailed), 1);
        QCOMPARE(config->Login("", ""), int(MatrixErrNotConnected));
        QCOMPARE(config->Connect(nullptr, 9010), int(MatrixErrBadArgument));
    } else if (fault == QLatin1String("garbage")) {
        config->Connect("127.0.0.1", m_simulator->x86Port());
        QTRY_COMPARE(log.statusCount(ConnSuccess), 1);
        MatrixSimulatorFaults garbage;
        garbage.garbageAnswers = true;
        m_simulator->setFaults(garbage);
        QCOMPARE(config->Login("", ""), int(MatrixErrProtocol));
    } else {
        QVERIFY(connectAndLogin(config.get(), log));
        if (fault == QLatin1String("stopped")) {
            m_simulator->stop();
            QTRY_COMPARE(log.statusCount(ConnDisconnect), 1);
            QCOMPARE(config->SetScreenCount(1, 1), int(MatrixErrNotConnected));
        } else {
            QCOMPARE(config->Disconnect(), 0);
            QTRY_COMPARE(m_simulator->clientCount(), 0);
            QVERIFY(connectAndLogin(config.get(), log));
        }
    }
    QTRY_COMPARE(log.statusList(), statuses);
}

void tst_MatrixService::x86NoCallbackRunsAfterRelease_data()
{
    QTest::addColumn<bool>("fromCallback");
    QTest::newRow("released while a callback runs") << false;
    QTest::newRow("released by its own callback") << true;
}

void tst_MatrixService::x86NoCallbackRunsAfterRelease()
{
    QFETCH(bool, fromCallback);
    MatrixSimulatorOptions options;
    options.x86Accounts = {{QStringLiteral("a"), QString()}, {QStringLiteral("b"), QString()}};
    QVERIFY(startSimulator(options));
    CallbackLog log;
    CallbackLog otherLog;
    X86Ptr other = newX86(&otherLog);
    QVERIFY(connectAndLogin(other.get(), otherLog, "b", ""));

    IMatrixConfig *config = GetMatrixConfig();
    log.config = config;
    log.releaseOnLayout = fromCallback;
    log.layoutDelayMs = fromCallback ? 0 : 300;
    config->RegisterCallbacks(&log, onStatus, onInfo, onLayout, onResult, onNothing);
    config->Connect("127.0.0.1", m_simulator->x86Port());
    QTRY_COMPARE(log.statusCount(ConnSuccess), 1);
    QCOMPARE(config->Login("a", ""), 0);
    if (fromCallback) {
        QTRY_VERIFY(log.released.load());
        QTRY_COMPARE(m_simulator->x86State().operators, QStringList {"b"});
    } else {
        // Release while the layout callback of the login is still running.
        QTRY_COMPARE(log.inCallback.load(), 1);
        ReleaseMatrixConfig(config);
        QCOMPARE(log.inCallback.load(), 0);
        log.released = true;
    }

    // The wall keeps changing; nothing reaches the released interface.
    other->SetScreenCount(1, 1);
    other->SetScreenCount(1, 2);
    QTRY_COMPARE(otherLog.layoutCount(), 3);
    QTest::qWait(200);
    QCOMPARE(log.callbacksAfterRelease.load(), 0);
    QCOMPARE(log.layoutCount(), 1);
}

void tst_MatrixService::x86BlockingCallFromCallbackIsRefused()
{
    QVERIFY(startSimulator());
    CallbackLog log;
    X86Ptr config = newX86(&log);
    log.callLoginOnSuccess = true;
    config->Connect("127.0.0.1", m_simulator->x86Port());
    QTRY_COMPARE(log.statusCount(ConnSuccess), 1);
    QCOMPARE(log.loginFromCallback, int(MatrixErrCallbackReentry));
    // The interface still works from another thread, and refuses what it cannot send (the
    // accounts a login is checked against: tst_x86e2e).
    QCOMPARE(config->Login(QByteArray(64, 'u').constData(), "pw"), int(MatrixErrBadArgument));
    QCOMPARE(config->Login("", ""), 0);
    const _ST_ChnInfo source {};
    QCOMPARE(config->SetMonitorSources(3, nullptr, 2), int(MatrixErrBadArgument));
    QCOMPARE(config->SetMonitorSources(3, &source, 0), int(MatrixErrBadArgument));
    QCOMPARE(config->Watch(nullptr, ""), int(MatrixErrBadArgument));
}

void tst_MatrixService::linuxCellChannelsReadBackAsSent()
{
    QVERIFY(startSimulator());
    LinuxPtr config = linuxSession();
    QVERIFY(config);
    QCOMPARE(config->SaveRowColumn(1, 2), 0);
    const ScreenRegion grid[2] = {region(0, 2), region(1, 2)};
    QCOMPARE(config->SetScreenGrid(grid, 2), 0);

    std::vector<CellChannelRecord> sent;
    for (int k = 0; k < 5; ++k)
        sent.push_back(cellChannel(k, 11 + k));
    QCOMPARE(config->SetCellChannels(1, sent.data(), int(sent.size()), 4), 0);

    CellChannelRecord read[16];
    int count = 0;
    int split = 0;
    QCOMPARE(config->GetCellChannels(1, read, 16, &count, &split), 0);
    QCOMPARE(count, 5);
    QCOMPARE(split, 4);
    for (int k = 0; k < 5; ++k)
        QCOMPARE(std::memcmp(&read[k], &sent[k], sizeof(CellChannelRecord)), 0);

    // A buffer smaller than the cell gets what fits.
    QCOMPARE(config->GetCellChannels(1, read, 2, &count, &split), 0);
    QCOMPARE(count, 2);

    CellChannelRecord added = cellChannel(9, 77);
    QCOMPARE(config->AddCellChannel(1, &added), 0);
    QCOMPARE(config->AddCellChannel(1, &added), int(MatrixErrFailed));
    CellChannelRecord changed = cellChannel(2, 99);
    QCOMPARE(config->ModifyCellChannel(1, &changed), 0);
    QCOMPARE(config->DeleteCellChannel(1, 0), 0);
    QCOMPARE(config->DeleteCellChannel(1, 0), int(MatrixErrFailed));
    QCOMPARE(config->GetCellChannels(1, read, 16, &count, &split), 0);
    QCOMPARE(count, 5);
    QCOMPARE(read[0].position, 1);
    QCOMPARE(read[1].channelNo, 99);
    QCOMPARE(read[4].position, 9);

    QCOMPARE(config->ClearCell(1), 0);
    QCOMPARE(config->GetCellChannels(1, read, 16, &count, &split), 0);
    QCOMPARE(count, 0);
    QCOMPARE(config->GetCellChannels(2, read, 16, &count, &split), int(MatrixErrOutOfRange));
}

void tst_MatrixService::linuxRoundTripLateAnswerAndLoss()
{
    QVERIFY(startSimulator());
    LinuxPtr config = linuxSession();
    QVERIFY(config);

    const uint8_t map[4] = {3, 2, 0, 1};
    QCOMPARE(config->SetScreenNumbers(map, 4), 0);
    uint8_t bytes[8] = {};
    int count = -1;
    QCOMPARE(config->GetScreenNumbers(bytes, 8, &count), 0);
    QCOMPARE(count, 4);
    QCOMPARE(std::memcmp(bytes, map, 4), 0);
    // Grids, turn shows, panes alone, spreading, the arrangement mode and splits are read back
    // through the page against the simulator (tst_linuxe2e, tst_simulatedwall), the grid a
    // factory reset empties by tst_reconnect.
    QCOMPARE(config->FactoryReset(1), 0);
    QCOMPARE(config->GetScreenNumbers(bytes, 8, &count), 0);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(bytes), count),
             QByteArray::fromHex("00010203"));

    QCOMPARE(config->SaveRowColumn(1, 1), 0);
    const ScreenRegion one = region(0, 1);
    QCOMPARE(config->SetScreenGrid(&one, 1), 0);

    MatrixSimulatorFaults faults;
    faults.answerDelayMs = RequestTimeoutMs + 400;
    m_simulator->setFaults(faults);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(config->GetScreenNumbers(bytes, 4, &count), int(MatrixErrTimeout));
    QVERIFY(clock.elapsed() < RequestTimeoutMs + 1000);

    // The late answer arrives while the next request waits; it is not taken for its answer.
    m_simulator->setFaults(MatrixSimulatorFaults());
    CellTurnStatus turn {0, 0, 0};
    QCOMPARE(config->GetCellTurnShow(0, &turn), 0);
    QCOMPARE(turn.interval, 30);
    QCOMPARE(turn.state, 2);
    QCOMPARE(config->GetScreenNumbers(bytes, 4, &count), 0);
    QCOMPARE(count, 4);
    // A matrix gone under the session: its calls find no connection.
    m_simulator->stop();
    QTRY_COMPARE(config->SaveRowColumn(1, 1), int(MatrixErrNotConnected));
}

void tst_MatrixService::linuxCallsThatCannotGoOutAreRefused()
{
    // A refused login leaves the interface unconnected (the refusal itself: tst_faults).
    QVERIFY(startSimulator());
    LinuxPtr config(CreateBaseMatrixConfig());
    QCOMPARE(config->Login(1, "admin", "nimda", "127.0.0.1", m_simulator->linuxPort()),
             int(MatrixErrLoginRefused));
    uint8_t bytes[4];
    ScreenRegionEntry entries[4];
    CellChannelRecord records[17];
    const CellTurnStatus turn {30, 2, 0};
    UpgradeStatusBlock status;
    int count = 0;
    int split = 0;
    const QVector<int> results {config->StartSession(),
                                config->Reboot(),
                                config->FactoryReset(1),
                                config->GetUpgradeStatus(&status),
                                config->GetScreenNumbers(bytes, 4, &count),
                                config->GetScreenGrid(entries, 4, &count),
                                config->GetCellChannels(0, records, 16, &count, &split),
                                config->SetCellTurnShow(0, &turn),
                                config->SetCellSplit(0, 4, 0)};
    QCOMPARE(results, QVector<int>(results.size(), int(MatrixErrNotConnected)));

    QCOMPARE(config->Login(1, "admin", "admin", "127.0.0.1", m_simulator->linuxPort()), 0);
    QCOMPARE(config->StartSession(), 0);
    QStringList lines;
    connect(m_simulator.get(), &MatrixSimulator::requestLogged, this,
            [&lines](const QString &line) { lines.append(line); });
    uint8_t on = 0;
    QCOMPARE(config->GetScreenNumbers(nullptr, 4, &count), int(MatrixErrBadArgument));
    QCOMPARE(config->GetScreenGrid(nullptr, 4, &count), int(MatrixErrBadArgument));
    QCOMPARE(config->SetScreenGrid(nullptr, 2), int(MatrixErrBadArgument));
    QCOMPARE(config->SetScreenGrid(nullptr, -2), int(MatrixErrBadArgument));
    QCOMPARE(config->SetCellChannels(0, records, 17, 16), int(MatrixErrBadArgument));
    QCOMPARE(config->GetCellChannels(0, records, 16, nullptr, &split), int(MatrixErrBadArgument));
    QCOMPARE(config->SetCellMelt(nullptr), int(MatrixErrBadArgument));
    QCOMPARE(config->GetCellSingleWindow(0, &on, nullptr), int(MatrixErrBadArgument));
    QCOMPARE(config->GetUpgradeStatus(nullptr), int(MatrixErrBadArgument));
    QCOMPARE(config->StartUpgrade(2, QByteArray(3000, 'a').constData()), int(MatrixErrBadArgument));
    QCOMPARE(config->GetCellTurnPages(nullptr, 4, &count), int(MatrixErrBadArgument));
    QCOMPARE(config->Reserved13(), int(MatrixErrUnsupported));

    // A request that does go out is logged; the refused ones above were never sent.
    QCOMPARE(config->SaveRowColumn(1, 1), 0);
    QTRY_VERIFY(lines.join(QLatin1Char('\n')).contains(QStringLiteral("LinuxSaveRowColumn")));
    const QString all = lines.join(QLatin1Char('\n'));
    for (const char *name :
         {"LinuxGetScreenNumbers", "LinuxGetScreenGrid", "LinuxSetScreenGrid",
          "LinuxSetCellChannels", "LinuxGetCellChannels", "LinuxSetCellMelt",
          "LinuxGetCellSingleWindow", "LinuxGetUpgradeStatus", "LinuxStartUpgrade"}) {
        QVERIFY2(!all.contains(QLatin1String(name)), name);
    }
}

void tst_MatrixService::linuxUpgradeRunsForAFewPolls()
{
    MatrixSimulatorOptions options;
    options.upgradePolls = 3;
    QVERIFY(startSimulator(options));
    LinuxPtr config = linuxSession();
    QVERIFY(config);

    UpgradeStatusBlock status;
    QCOMPARE(config->GetUpgradeStatus(&status), int(MatrixErrFailed)); // none started
    QCOMPARE(int(status.done), 1);

    QCOMPARE(config->StartUpgrade(2, "http://updates.example/fw/matrix-2.0.0.bin"), 0);
    QCOMPARE(config->StartUpgrade(1, "ftp://again/matrix-3.bin"), int(MatrixErrBusy));
    // The page drops its connection after starting an upgrade; the matrix goes on. Progress,
    // outcome and version through the page: tst_linuxe2e; the outcome rule: tst_simulator.
    QCOMPARE(config->Disconnect(), 0);
    QCOMPARE(config->GetUpgradeStatus(&status), int(MatrixErrNotConnected));
    config = linuxSession();
    QVERIFY(config);
    int result = MatrixErrFailed;
    for (int poll = 0; poll < 3; ++poll)
        result = config->GetUpgradeStatus(&status);
    QCOMPARE(result, 0);
    QCOMPARE(int(status.done), 1);
    QCOMPARE(status.progress, 100);
    QCOMPARE(m_simulator->linuxState().firmwareVersion, QStringLiteral("2.0.0"));
}

QTEST_GUILESS_MAIN(tst_MatrixService)
#include "tst_matrixservice.moc"
