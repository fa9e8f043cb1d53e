// The matrix simulator seen from the wire: request checks, malformed frames, the state file,
// upgrade rules, the reboot window and its log.
#include "FrameDecoder.h"
#include "Handshake.h"
#include "LinuxMatrixModel.h"
#include "MatrixSimulator.h"
#include "PayloadReader.h"
#include "PayloadWriter.h"
#include "ServerMessage.h"
#include "StateFile.h"
#include "X86MatrixModel.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <cstring>
#include <memory>
#include <vector>

using namespace MatrixProtocol;

namespace {

constexpr qint32 NoAnswer = INT_MIN;

// A client that speaks the protocol by hand, blocking; the simulator runs on its own thread.
class RawClient
{
public:
    bool open(quint16 port)
    {
        m_socket.connectToHost(QHostAddress::LocalHost, port);
        return m_socket.waitForConnected(2000);
    }
    void sendBytes(const QByteArray &bytes)
    {
        m_socket.write(bytes);
        m_socket.waitForBytesWritten(1000);
    }
    // Writes until the peer takes no more bytes for idleMs.
    void sendUntilStalled(const QByteArray &bytes, int idleMs)
    {
        m_socket.write(bytes);
        while (m_socket.bytesToWrite() > 0 && m_socket.waitForBytesWritten(idleMs)) { }
    }
    bool readFrame(Frame &frame, int timeoutMs = 2000)
    {
        while (!m_decoder.takeFrame(frame)) {
            if (m_decoder.hasError() || !m_socket.waitForReadyRead(timeoutMs))
                return false;
            m_decoder.feed(m_socket.readAll());
        }
        return true;
    }
    qint32 hello(Role role)
    {
        sendBytes(encodeFrame(Hello, 0, encodeHello(role)));
        Frame frame;
        if (!readFrame(frame))
            return NoAnswer;
        const ServerMessage message = decodeServerMessage(frame);
        return message.kind == ServerMessage::HelloAck ? message.result : NoAnswer;
    }
    qint32 request(quint16 type, const QByteArray &payload)
    {
        const quint32 id = ++m_lastId;
        sendBytes(encodeFrame(type, id, payload));
        Frame frame;
        while (readFrame(frame)) {
            const ServerMessage message = decodeServerMessage(frame);
            if (message.kind == ServerMessage::Reply && message.requestId == id) {
                return message.result;
            }
        }
        return NoAnswer;
    }
    bool waitForDrop(int timeoutMs = 3000)
    {
        if (m_socket.state() == QAbstractSocket::UnconnectedState)
            return true;
        return m_socket.waitForDisconnected(timeoutMs);
    }

private:
    QTcpSocket m_socket;
    FrameDecoder m_decoder;
    quint32 m_lastId = 0;
};

// Numbers, then records as they lie in memory: the payload of most requests.
template<typename... Records>
QByteArray ints(std::initializer_list<qint32> values, const Records &...records)
{
    PayloadWriter writer;
    for (qint32 value : values)
        writer.putInt32(value);
    (writer.putRecord(records), ...);
    return writer.data();
}

QByteArray login(const QByteArray &user, const QByteArray &password)
{
    PayloadWriter writer;
    writer.putText(user).putText(password);
    return writer.data();
}

QByteArray linuxLogin(const QByteArray &user, const QByteArray &password)
{
    PayloadWriter writer;
    writer.putInt32(1).putText(user).putText(password);
    return writer.data();
}

CellChannelRecord cellChannel(int position, const char *protocol = "onvif")
{
    CellChannelRecord record;
    std::memset(&record, 0, sizeof(record));
    record.position = position;
    qstrncpy(record.deviceAddress, "N-cam-12", sizeof(record.deviceAddress));
    record.channelNo = position + 1;
    qstrncpy(record.user, "viewer", sizeof(record.user));
    qstrncpy(record.password, "Cpw-55", sizeof(record.password));
    qstrncpy(record.protocol, protocol, sizeof(record.protocol));
    return record;
}

_ST_ChnInfo channelInfo(int sequence)
{
    _ST_ChnInfo record;
    std::memset(&record, 0, sizeof(record));
    qstrncpy(record.channelName, "gate", sizeof(record.channelName));
    qstrncpy(record.password, "Spw-99", sizeof(record.password));
    record.sequence = sequence;
    return record;
}

ScreenRegion cellRegion(int index, int columns)
{
    return ScreenRegion {index,   0,      (index % columns) * 1000000, (index / columns) * 1000000,
                         1000000, 1000000};
}

QByteArray upgrade(qint32 mode, const QByteArray &url)
{
    PayloadWriter writer;
    writer.putInt32(mode).putText(url);
    return writer.data();
}

// The refusal docs/protocol.md names for a clause of a request's row: the first code in
// backticks after the clause, e.g. documentedCode("0x200F", "count 0..16").
int documentedCode(const QString &type, const QString &clause)
{
    QFile file(QStringLiteral(DM_SOURCE_DIR "/docs/protocol.md"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return NoAnswer;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (!line.startsWith(QStringLiteral("| `%1` |").arg(type)))
            continue;
        const int at = line.indexOf(clause);
        const QRegularExpression code(QStringLiteral("`(-\\d+)`"));
        const QRegularExpressionMatch match =
                at < 0 ? QRegularExpressionMatch() : code.match(line, at + clause.size());
        return match.hasMatch() ? match.captured(1).toInt() : NoAnswer;
    }
    return NoAnswer;
}

QByteArray wallJson(const MatrixSimulator &simulator)
{
    return MatrixSim::StateFile::toJson(simulator.x86State(), simulator.linuxState());
}

// The events of one type a model sends to one connection, decoded.
QVector<ServerMessage> eventsTo(const MatrixSim::RequestOutcome &out, quint64 connection,
                                quint16 type)
{
    QVector<ServerMessage> found;
    for (const auto &event : out.events) {
        if (event.first == connection && event.second.type == type)
            found.append(decodeServerMessage(event.second));
    }
    return found;
}

} // namespace

class tst_Simulator : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void frameDecoderReassemblesAndRejects();
    void malformedFrameDropsOnlyThatClient_data();
    void malformedFrameDropsOnlyThatClient();
    void requestIsCheckedAndChangesNothing_data();
    void requestIsCheckedAndChangesNothing();
    void stateFileKeepsEveryAnsweredChange_data();
    void stateFileKeepsEveryAnsweredChange();
    void connectionsAreBounded();
    void clientNotReadingDoesNotStallOthers();
    void unusableStateFileRefusesToStart_data();
    void unusableStateFileRefusesToStart();
    void upgradeOutcome_data();
    void upgradeOutcome();
    void rebootRefusesConnectionsForAWhile();
    void loginGatesRequestsAndLogHoldsNoPassword();
    void linuxModelCompletesShortMapsAndPlacesChannels();
    void x86ModelLayersZoomsAndTurnShows();

private:
    bool startSimulator(MatrixSimulatorOptions options = MatrixSimulatorOptions());
    // X86 logged in with the default account and a 2 x 2 wall; Linux in session with a
    // 1 x 2 grid.
    bool prepareWalls(RawClient &x86, RawClient &linuxClient);

    std::unique_ptr<MatrixSimulator> m_simulator;
};

void tst_Simulator::init()
{
    m_simulator = std::make_unique<MatrixSimulator>();
}

void tst_Simulator::cleanup()
{
    m_simulator.reset();
}

bool tst_Simulator::startSimulator(MatrixSimulatorOptions options)
{
    options.x86Port = 0;
    options.linuxPort = 0;
    options.logRequests = false;
    if (!m_simulator->start(options)) {
        qWarning() << m_simulator->errorString();
        return false;
    }
    return true;
}

bool tst_Simulator::prepareWalls(RawClient &x86, RawClient &linuxClient)
{
    return x86.open(m_simulator->x86Port()) && x86.hello(Role::X86) == 0
            && x86.request(X86Login, login("", "")) == 0
            && x86.request(X86SetScreenCount, ints({2, 2})) == 0
            && linuxClient.open(m_simulator->linuxPort()) && linuxClient.hello(Role::Linux) == 0
            && linuxClient.request(LinuxLogin, linuxLogin("admin", "admin")) == 0
            && linuxClient.request(LinuxStartSession, QByteArray()) == 0
            && linuxClient.request(LinuxSaveRowColumn, ints({1, 2})) == 0
            && linuxClient.request(LinuxSetScreenGrid,
                                   ints({2}, cellRegion(0, 2), cellRegion(1, 2)))
            == 0;
}

void tst_Simulator::frameDecoderReassemblesAndRejects()
{
    const QByteArray first = encodeFrame(LinuxClearCell, 7, ints({3}));
    const QByteArray second = encodeFrame(LinuxStartSession, 8);
    FrameDecoder decoder;
    Frame frame;
    for (char byte : first) {
        QVERIFY(!decoder.takeFrame(frame));
        decoder.feed(&byte, 1);
    }
    decoder.feed(second);
    QVERIFY(decoder.takeFrame(frame));
    QCOMPARE(frame.type, quint16(LinuxClearCell));
    QCOMPARE(frame.requestId, 7u);
    QCOMPARE(frame.payload, ints({3}));
    QVERIFY(decoder.takeFrame(frame));
    QCOMPARE(frame.requestId, 8u);
    QVERIFY(frame.payload.isEmpty());
    QVERIFY(!decoder.takeFrame(frame));
    QVERIFY(!decoder.hasError());
    // A wrong magic and a payload above the cap: malformedFrameDropsOnlyThatClient.
    QVERIFY(encodeFrame(LinuxClearCell, 1, QByteArray(MaxPayloadSize + 1, 'x')).isEmpty());
}

void tst_Simulator::malformedFrameDropsOnlyThatClient_data()
{
    QTest::addColumn<bool>("x86Port");
    QTest::addColumn<bool>("greetFirst");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("helloStatus"); // the refusal a hello is answered with first

    QByteArray oversized = encodeFrame(LinuxClearCell, 1);
    oversized[10] = char(0x01); // 65536 + payload bytes announced
    QByteArray shortHello = encodeFrame(Hello, 0, QByteArray("DMX"));

    const auto row = [](const char *name, bool x86Port, bool greetFirst, const QByteArray &bytes,
                        int helloStatus = NoAnswer) {
        QTest::newRow(name) << x86Port << greetFirst << bytes << helloStatus;
    };
    row("bad magic", false, true, "GARBAGE-GARBAGE!");
    row("payload above the cap", false, true, oversized);
    row("request before hello", true, false, encodeFrame(X86Login, 1, login("", "")));
    row("truncated hello", true, false, shortHello);
    row("unknown message type", true, true, encodeFrame(0x7777, 2));
    row("linux request on the X86 port", true, true, encodeFrame(LinuxReboot, 3));
    row("reply sent by a client", false, true, encodeFrame(LinuxLogin | ReplyFlag, 4, ints({0})));
    row("second hello", false, true, encodeFrame(Hello, 0, encodeHello(Role::Linux)));
    const int protocol = MatrixErrProtocol;
    row("linux hello on the X86 port", true, false, encodeFrame(Hello, 0, encodeHello(Role::Linux)),
        protocol);
    row("X86 hello on the Linux port", false, false, encodeFrame(Hello, 0, encodeHello(Role::X86)),
        protocol);
    row("future version", true, false, encodeFrame(Hello, 0, encodeHello(Role::X86, 2)), protocol);
}

void tst_Simulator::malformedFrameDropsOnlyThatClient()
{
    QFETCH(bool, x86Port);
    QFETCH(bool, greetFirst);
    QFETCH(QByteArray, bytes);
    QFETCH(int, helloStatus);

    QVERIFY(startSimulator());
    RawClient good;
    QVERIFY(good.open(m_simulator->linuxPort()));
    QCOMPARE(good.hello(Role::Linux), 0);
    QCOMPARE(good.request(LinuxLogin, linuxLogin("admin", "admin")), 0);
    QCOMPARE(good.request(LinuxStartSession, QByteArray()), 0);

    RawClient bad;
    QVERIFY(bad.open(x86Port ? m_simulator->x86Port() : m_simulator->linuxPort()));
    if (greetFirst)
        QCOMPARE(bad.hello(x86Port ? Role::X86 : Role::Linux), 0);
    QTRY_COMPARE(m_simulator->clientCount(), 2);
    bad.sendBytes(bytes);
    if (helloStatus != NoAnswer) {
        Frame frame;
        QVERIFY(bad.readFrame(frame));
        const ServerMessage answer = decodeServerMessage(frame);
        QCOMPARE(int(answer.kind), int(ServerMessage::HelloAck));
        QCOMPARE(answer.result, helloStatus);
        QCOMPARE(answer.version, ProtocolVersion);
    }
    QVERIFY(bad.waitForDrop());
    QTRY_COMPARE(m_simulator->clientCount(), 1);

    // The other client and new ones are served as before.
    QCOMPARE(good.request(LinuxSaveRowColumn, ints({2, 2})), 0);
    QCOMPARE(m_simulator->linuxState().rows, 2);
    RawClient later;
    QVERIFY(later.open(m_simulator->x86Port()));
    QCOMPARE(later.hello(Role::X86), 0);
}

void tst_Simulator::requestIsCheckedAndChangesNothing_data()
{
    QTest::addColumn<bool>("x86");
    QTest::addColumn<quint16>("type");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("expected");
    const auto row = [](const char *name, quint16 type, const QByteArray &payload, int expected) {
        QTest::newRow(name) << (type < LinuxLogin) << type << payload << expected;
    };
    const int bad = MatrixErrBadArgument;
    const int range = MatrixErrOutOfRange;
    const int failed = MatrixErrFailed;
    const CellChannelRecord one = cellChannel(0);
    const CellChannelRecord two = cellChannel(1);

    row("linux: row/column short payload", LinuxSaveRowColumn, ints({1}), bad);
    row("linux: more than four cells", LinuxSaveRowColumn, ints({2, 3}), range);
    row("linux: channel count beyond the records sent", LinuxSetCellChannels,
        ints({0, 4, 3}, one, two), bad);
    row("linux: more than 16 channels, as documented", LinuxSetCellChannels,
        ints({0, 16, 17}) + ints({}, cellChannel(-1)).repeated(17),
        documentedCode(QStringLiteral("0x200F"), QStringLiteral("count 0..16")));
    row("linux: channels of a cell outside the grid", LinuxSetCellChannels, ints({2, 4, 1}, one),
        range);
    row("linux: channels with split 5", LinuxSetCellChannels, ints({0, 5, 1}, one), range);
    row("linux: two channels at one position", LinuxSetCellChannels, ints({0, 4, 2}, one, one),
        range);
    row("linux: channel position 16", LinuxSetCellChannels, ints({0, 4, 1}, cellChannel(16)),
        range);
    row("linux: unknown stream protocol", LinuxSetCellChannels,
        ints({0, 4, 1}, cellChannel(0, "rtsp")), bad);
    row("linux: split 6", LinuxSetCellSplit, ints({0, 6, 0}), range);
    row("linux: split of cell -1", LinuxSetCellSplit, ints({-1, 4, 0}), range);
    row("linux: screen numbers repeated", LinuxSetScreenNumbers,
        ints({4}) + QByteArray::fromHex("00000102"), range);
    row("linux: screen number 5", LinuxSetScreenNumbers,
        ints({4}) + QByteArray::fromHex("00010204"), range);
    row("linux: screen count beyond the bytes sent", LinuxSetScreenNumbers,
        ints({4}) + QByteArray::fromHex("0001"), bad);
    row("linux: misplaced grid region", LinuxSetScreenGrid,
        ints({2}, cellRegion(0, 2), cellRegion(1, 1)), range);
    row("linux: grid of another shape", LinuxSetScreenGrid, ints({1}, cellRegion(0, 1)), range);
    row("linux: grid count beyond the regions sent", LinuxSetScreenGrid,
        ints({2}, cellRegion(0, 2)), bad);
    row("linux: turn interval 3 s", LinuxSetCellTurnShow, ints({0, 3, 0, 0}), range);
    row("linux: turn state 7", LinuxSetCellTurnShow, ints({0, 30, 7, 0}), range);
    row("linux: single window 16", LinuxSetCellSingleWindow, ints({0, 1, 16}), range);
    row("linux: melt not over the whole grid", LinuxSetCellMelt,
        ints({0, 1, 0, 0, 1000000, 1000000}), range);
    row("linux: delete an empty position", LinuxDeleteCellChannel, ints({0, 5}), failed);
    row("linux: FTP upgrade with an HTTP URL", LinuxStartUpgrade,
        upgrade(1, "http://h/matrix-9.bin"), bad);
    row("linux: factory reset mode 3", LinuxFactoryReset, ints({3}), range);

    row("x86: split 5", X86SetMonitorSplit, ints({1, 5}), range);
    row("x86: split of window 4", X86SetMonitorSplit, ints({4, 4}), range);
    row("x86: source count beyond the records sent", X86SetMonitorSources,
        ints({0, 2}, channelInfo(1)), bad);
    _ST_ChnInfo unterminated = channelInfo(1);
    std::memset(unterminated.channelName, 'x', sizeof(unterminated.channelName));
    row("x86: unterminated channel name", X86SetMonitorSources, ints({0, 1}, unterminated), bad);
    row("x86: window outside the wall", X86SetMirrorRect, ints({0, 0, 0, 3841, 100}), range);
    row("x86: empty window", X86SetMirrorRect, ints({0, 50, 50, 50, 100}), range);
    row("x86: more screens than outputs", X86SetScreenCount, ints({3, 3}), range);
    row("x86: exchange with window 9", X86ExchangeMirrors, ints({0, 9}), range);
    row("x86: turn start without sources", X86SetTurnState, ints({0, 1}), failed);
    row("x86: zoom outside the window", X86ZoomMirrorAt, ints({0, 1920, 5}), range);
    row("x86: configuration mode 2", X86SetConfigMode, ints({2}), range);
    row("x86: layout request with payload", X86RequestLayout, ints({1}), bad);
}

void tst_Simulator::requestIsCheckedAndChangesNothing()
{
    QFETCH(bool, x86);
    QFETCH(quint16, type);
    QFETCH(QByteArray, payload);
    QFETCH(int, expected);

    QVERIFY(startSimulator());
    RawClient x86Client;
    RawClient linuxClient;
    QVERIFY(prepareWalls(x86Client, linuxClient));
    const QByteArray before = wallJson(*m_simulator);

    RawClient &client = x86 ? x86Client : linuxClient;
    QCOMPARE(client.request(type, payload), expected);
    QCOMPARE(wallJson(*m_simulator), before);
    // The client keeps its connection after a refused request.
    QCOMPARE(x86 ? client.request(X86RequestLayout, QByteArray())
                 : client.request(LinuxGetScreenNumbers, QByteArray()),
             0);
}

void tst_Simulator::stateFileKeepsEveryAnsweredChange_data()
{
    QTest::addColumn<bool>("unwritable"); // else changes are written at most once a minute
    QTest::newRow("changes within the interval written together, at the latest on stop, "
                  "and read again on start")
            << false;
    QTest::newRow("a change that cannot be written is refused") << true;
}

void tst_Simulator::stateFileKeepsEveryAnsweredChange()
{
    QFETCH(bool, unwritable);
    QTemporaryDir dir;
    MatrixSimulatorOptions options;
    options.stateFile = dir.filePath(QStringLiteral("walls.json"));
    options.stateWriteIntervalMs = unwritable ? 0 : 60000;
    QVERIFY(startSimulator(options));
    const auto stored = [&options] {
        QFile file(options.stateFile);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray initial = stored();
    QCOMPARE(initial, wallJson(*m_simulator));
    // Channel passwords at rest are for the file's owner only.
    QCOMPARE(QFile::permissions(options.stateFile),
             QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    if (unwritable)
        QVERIFY(QFile::remove(options.stateFile) && QDir().mkdir(options.stateFile));

    {
        RawClient x86;
        QVERIFY(x86.open(m_simulator->x86Port()));
        QCOMPARE(x86.hello(Role::X86), 0);
        QCOMPARE(x86.request(X86Login, login("", "")), 0);
        QCOMPARE(x86.request(X86SetScreenCount, ints({1, 2})),
                 unwritable ? int(MatrixErrFailed) : 0);
    }
    QCOMPARE(m_simulator->x86State().columns, unwritable ? 0 : 2);
    if (unwritable)
        return;
    QCOMPARE(stored(), initial);
    QTRY_COMPARE(m_simulator->clientCount(), 0);

    RawClient wall;
    RawClient linuxClient;
    QVERIFY(prepareWalls(wall, linuxClient));
    QCOMPARE(wall.request(X86SetMonitorSplit, ints({1, 16})), 0);
    QCOMPARE(wall.request(X86SetMonitorSources, ints({2, 2}, channelInfo(1), channelInfo(2))), 0);
    QCOMPARE(wall.request(X86SetMirrorRect, ints({0, 10, 20, 1000, 800})), 0);
    QCOMPARE(wall.request(X86ExchangeMirrors, ints({1, 3})), 0);
    QCOMPARE(
            linuxClient.request(LinuxSetScreenNumbers, ints({4}) + QByteArray::fromHex("01000302")),
            0);
    QCOMPARE(linuxClient.request(LinuxSetCellChannels,
                                 ints({1, 4, 2}, cellChannel(0), cellChannel(3))),
             0);
    QCOMPARE(linuxClient.request(LinuxSetCellTurnShow, ints({1, 15, 0, 0})), 0);
    QCOMPARE(linuxClient.request(LinuxSetCellSingleWindow, ints({0, 1, 2})), 0);
    QCOMPARE(linuxClient.request(LinuxSetCellMelt, ints({0, 1, 0, 0, 2000000, 1000000})), 0);
    const QByteArray last = wallJson(*m_simulator);
    const SimX86State x86Before = m_simulator->x86State();
    m_simulator->stop();
    QCOMPARE(stored(), last);

    // A restarted matrix holds every part of both walls again.
    m_simulator = std::make_unique<MatrixSimulator>();
    QVERIFY(startSimulator(options));
    QCOMPARE(wallJson(*m_simulator), last);
    const SimX86State x86After = m_simulator->x86State();
    QCOMPARE(x86After.windows.at(2).sources.size(), 2);
    QCOMPARE(std::memcmp(x86After.windows.at(2).sources.constData(),
                         x86Before.windows.at(2).sources.constData(), 2 * sizeof(_ST_ChnInfo)),
             0);
    QCOMPARE(x86After.windows.at(1).index, 3);
    QCOMPARE(m_simulator->linuxState().cells.at(1).channels.at(1).position, 3);
    QCOMPARE(m_simulator->linuxState().meltedCell, 0);
    // A page reading the wall a restarted matrix kept: tst_reconnect.
}

void tst_Simulator::connectionsAreBounded()
{
    MatrixSimulatorOptions options;
    options.maxClients = 2;
    options.handshakeTimeoutMs = 300;
    QVERIFY(startSimulator(options));
    RawClient idle;
    RawClient greeted;
    RawClient third;
    QVERIFY(idle.open(m_simulator->x86Port()));
    QVERIFY(greeted.open(m_simulator->x86Port()));
    QCOMPARE(greeted.hello(Role::X86), 0);
    QTRY_COMPARE(m_simulator->clientCount(), 2);
    QVERIFY(third.open(m_simulator->linuxPort()));
    QCOMPARE(third.hello(Role::Linux), int(MatrixErrBusy));
    QVERIFY(third.waitForDrop());
    // The connection that never said hello is let go; its place is free again.
    QVERIFY(idle.waitForDrop());
    QTRY_COMPARE(m_simulator->clientCount(), 1);
    RawClient fourth;
    QVERIFY(fourth.open(m_simulator->linuxPort()));
    QCOMPARE(fourth.hello(Role::Linux), 0);
    QCOMPARE(greeted.request(KeepAlive, QByteArray()), 0);
}

void tst_Simulator::clientNotReadingDoesNotStallOthers()
{
    QVERIFY(startSimulator());
    QStringList lines;
    connect(m_simulator.get(), &MatrixSimulator::requestLogged, this,
            [&lines](const QString &line) { lines << line; });
    // A refused keep-alive is logged, so the log shows whom the matrix served in which order.
    constexpr int Flood = 200000;
    QByteArray flood;
    for (int k = 1; k <= Flood; ++k)
        flood += encodeFrame(KeepAlive, quint32(k), ints({1}));
    RawClient flooder;
    RawClient other;
    QVERIFY(flooder.open(m_simulator->x86Port()));
    QCOMPARE(flooder.hello(Role::X86), 0);
    flooder.sendUntilStalled(flood, 500);
    QVERIFY(other.open(m_simulator->x86Port()));
    QCOMPARE(other.hello(Role::X86), 0);
    QCOMPARE(other.request(KeepAlive, ints({1})), int(MatrixErrBadArgument));
    QTRY_VERIFY(lines.filter(QStringLiteral("x86 #2 ")).size() == 3);
    const int servedFirst =
            lines.mid(0, lines.indexOf(lines.filter(QStringLiteral("x86 #2 ")).last()))
                    .filter(QStringLiteral("x86 #1 "))
                    .size();
    QVERIFY2(servedFirst < Flood / 2, qPrintable(QString::number(servedFirst)));
    // Nothing of the flood is lost: every request is answered once its client reads.
    Frame frame;
    for (int k = 1; k <= Flood; ++k)
        QVERIFY(flooder.readFrame(frame) && frame.requestId == quint32(k));
}

void tst_Simulator::unusableStateFileRefusesToStart_data()
{
    QTest::addColumn<QByteArray>("content");

    MatrixSim::X86MatrixModel x86(8, {});
    MatrixSim::LinuxMatrixModel linuxWall({}, 3, QString(), QStringLiteral("1.0.0"));
    SimX86State wall = x86.state();
    wall.rows = 1;
    wall.columns = 1;
    SimX86Window window;
    window.home = RECT {0, 0, 1920, 1080};
    window.rect = RECT {0, 0, 1920, 1080};
    wall.windows = {window};
    QVERIFY(x86.restore(wall, nullptr));

    SimX86State offScreen = x86.state();
    offScreen.windows[0].home.left = 5;
    SimLinuxState badMap = linuxWall.state();
    badMap.screenMap = QByteArray::fromHex("00000102");
    SimLinuxState badCell = linuxWall.state();
    badCell.cells[0].split = 7;

    QTest::newRow("not JSON") << QByteArray("{\"format\": ");
    QTest::newRow("other format") << QByteArray("{\"format\": \"spreadsheet\", \"version\": 1}");
    QTest::newRow("later version")
            << QByteArray("{\"format\": \"digital-matrix-simulator\", \"version\": 2}");
    QTest::newRow("window off its screen")
            << MatrixSim::StateFile::toJson(offScreen, linuxWall.state());
    QTest::newRow("screen map with a screen twice")
            << MatrixSim::StateFile::toJson(x86.state(), badMap);
    QTest::newRow("cell split 7") << MatrixSim::StateFile::toJson(x86.state(), badCell);
    QTest::newRow("rows as text") << MatrixSim::StateFile::toJson(x86.state(), linuxWall.state())
                                             .replace("\"rows\": 1", "\"rows\": \"1\"");
}

void tst_Simulator::unusableStateFileRefusesToStart()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    MatrixSimulatorOptions options;
    options.stateFile = dir.filePath(QStringLiteral("walls.json"));
    {
        QFile file(options.stateFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QVERIFY(!startSimulator(options));
    QVERIFY(m_simulator->errorString().contains(QStringLiteral("state file")));
    QVERIFY(!m_simulator->isRunning());
    QFile file(options.stateFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
}

void tst_Simulator::upgradeOutcome_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("usbFirmware");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("newVersion");

    const auto row = [](const char *name, int mode, const char *url, const char *usb, int expected,
                        const char *newVersion) {
        QTest::newRow(name) << mode << url << usb << expected << newVersion;
    };
    const int notFound = MatrixErrUpgradeNotFound;
    const int latest = MatrixErrUpgradeLatest;
    // A newer image, the same version and a file that is no image: tst_linuxe2e.
    row("ftp newer, short version", 1, "ftp://h/x/fw_1.1.bin", "", 0, "1.1");
    row("upper-case extension", 2, "http://h/MATRIX-3.BIN", "", 0, "3");
    row("same version, fewer parts", 2, "http://h/fw/matrix-1.bin", "", latest, "");
    row("older", 1, "ftp://h/matrix-0.9.bin", "", latest, "");
    row("image without version", 2, "http://h/fw/matrix.bin", "", notFound, "");
    row("no file", 2, "http://h", "", notFound, "");
    row("empty http URL", 2, "", "", notFound, "");
    row("USB stick with newer image", 0, "", "usb-1.0.1.bin", 0, "1.0.1");
    row("no USB stick", 0, "", "", notFound, "");
}

void tst_Simulator::upgradeOutcome()
{
    QFETCH(int, mode);
    QFETCH(QString, url);
    QFETCH(QString, usbFirmware);
    QFETCH(int, expected);
    QFETCH(QString, newVersion);

    QString version;
    QCOMPARE(MatrixSim::LinuxMatrixModel::upgradeOutcome(mode, url, usbFirmware,
                                                         QStringLiteral("1.0.0"), &version),
             expected);
    QCOMPARE(version, newVersion);
    // The same rule ends an upgrade run through the matrix: tst_matrixservice.
}

void tst_Simulator::rebootRefusesConnectionsForAWhile()
{
    MatrixSimulatorOptions options;
    options.rebootMs = 400;
    QVERIFY(startSimulator(options));
    RawClient x86;
    RawClient linuxClient;
    QVERIFY(prepareWalls(x86, linuxClient));
    QCOMPARE(linuxClient.request(LinuxSetNumberArrangeMode, ints({1})), 0);

    QCOMPARE(linuxClient.request(LinuxReboot, QByteArray()), 0);
    QVERIFY(linuxClient.waitForDrop());
    QVERIFY(!m_simulator->linuxState().arrangeMode);
    QCOMPARE(m_simulator->linuxState().grid.size(), 2); // the wall survives a reboot

    RawClient early;
    QVERIFY(early.open(m_simulator->linuxPort()));
    QCOMPARE(early.hello(Role::Linux), int(MatrixErrBusy));
    QVERIFY(early.waitForDrop());
    // The X86 matrix is not the one rebooting.
    QCOMPARE(x86.request(X86RequestLayout, QByteArray()), 0);

    auto helloAfterWindow = [this] {
        RawClient late;
        return late.open(m_simulator->linuxPort()) ? late.hello(Role::Linux) : NoAnswer;
    };
    QTRY_COMPARE_WITH_TIMEOUT(helloAfterWindow(), 0, 3000);
    // A reboot started by the simulator itself, during an upgrade: tst_linuxe2e.
}

void tst_Simulator::loginGatesRequestsAndLogHoldsNoPassword()
{
    MatrixSimulatorOptions options;
    options.x86Accounts = {{QStringLiteral("op"), QStringLiteral("Xs3cretX")}};
    options.linuxAccounts = {{QStringLiteral("tech"), QStringLiteral("Lpw-771")}};
    QVERIFY(startSimulator(options));
    const QByteArray before = wallJson(*m_simulator);
    QStringList lines;
    connect(m_simulator.get(), &MatrixSimulator::requestLogged, this,
            [&lines](const QString &line) { lines.append(line); });

    RawClient x86;
    QVERIFY(x86.open(m_simulator->x86Port()));
    QCOMPARE(x86.hello(Role::X86), 0);
    QCOMPARE(x86.request(X86SetScreenCount, ints({1, 1})), int(MatrixErrNotLoggedIn));
    QCOMPARE(x86.request(X86Login, login("op", "wrong-Xs3cretX")), 1);
    QCOMPARE(x86.request(X86SetScreenCount, ints({1, 1})), int(MatrixErrNotLoggedIn));
    RawClient linuxClient;
    QVERIFY(linuxClient.open(m_simulator->linuxPort()));
    QCOMPARE(linuxClient.hello(Role::Linux), 0);
    QCOMPARE(linuxClient.request(LinuxSaveRowColumn, ints({1, 1})), int(MatrixErrNotLoggedIn));
    QCOMPARE(linuxClient.request(LinuxStartSession, QByteArray()), int(MatrixErrNotLoggedIn));
    QCOMPARE(linuxClient.request(LinuxLogin, linuxLogin("tech", "Lpw-771")), 0);
    QCOMPARE(linuxClient.request(LinuxReboot, QByteArray()), int(MatrixErrNotLoggedIn));
    // The keep-alive is answered on either port, logged in or not.
    QCOMPARE(x86.request(KeepAlive, QByteArray()), 0);
    QCOMPARE(linuxClient.request(KeepAlive, QByteArray()), 0);
    QCOMPARE(linuxClient.request(KeepAlive, ints({1})), int(MatrixErrBadArgument));
    QCOMPARE(wallJson(*m_simulator), before);

    QCOMPARE(x86.request(X86Login, login("op", "Xs3cretX")), 0);
    QCOMPARE(x86.request(X86SetScreenCount, ints({1, 1})), 0);
    QCOMPARE(x86.request(X86SetMonitorSources, ints({0, 1}, channelInfo(1))), 0);
    QCOMPARE(linuxClient.request(LinuxStartSession, QByteArray()), 0);
    QCOMPARE(linuxClient.request(LinuxSaveRowColumn, ints({1, 1})), 0);
    QCOMPARE(linuxClient.request(LinuxSetScreenGrid, ints({1}, cellRegion(0, 1))), 0);
    QCOMPARE(linuxClient.request(LinuxSetCellChannels, ints({0, 1, 1}, cellChannel(0))), 0);

    QCOMPARE(linuxClient.request(LinuxStartUpgrade, upgrade(1, "ftp://tech:Fpw-31@h/m-2.bin")), 0);

    QTRY_VERIFY(!lines.filter(QStringLiteral("LinuxStartUpgrade")).isEmpty());
    const QString all = lines.join(QLatin1Char('\n'));
    QVERIFY(all.contains(QStringLiteral("X86Login user=\"op\"")));
    QVERIFY(all.contains(QStringLiteral("LinuxLogin mode=1 user=\"tech\"")));
    QVERIFY(all.contains(QStringLiteral("LinuxSetCellChannels cell=0 split=1 count=1 -> 0")));
    QVERIFY(all.contains(QStringLiteral("url=\"ftp://tech@h/m-2.bin\"")));
    for (const char *secret : {"Xs3cretX", "Lpw-771", "Cpw-55", "Spw-99", "Fpw-31"})
        QVERIFY2(!all.contains(QLatin1String(secret)), secret);
}

void tst_Simulator::linuxModelCompletesShortMapsAndPlacesChannels()
{
    MatrixSim::LinuxMatrixModel model({{QStringLiteral("a"), QStringLiteral("b")}}, 3, QString(),
                                      QStringLiteral("1.0"));
    model.addSession(1);
    QCOMPARE(model.handle(1, LinuxLogin, linuxLogin("a", "b")).result, 0);
    QCOMPARE(model.handle(1, LinuxStartSession, QByteArray()).result, 0);
    // A short screen map is completed with the screens it left out.
    QCOMPARE(model.handle(1, LinuxSetScreenNumbers, ints({2}) + QByteArray::fromHex("0301")).result,
             0);
    QCOMPARE(model.state().screenMap, QByteArray::fromHex("03010002"));

    // Channels without a position take the free ones in order.
    QCOMPARE(model.handle(1, LinuxSaveRowColumn, ints({1, 1})).result, 0);
    QCOMPARE(model.handle(1, LinuxSetScreenGrid, ints({1}, cellRegion(0, 1))).result, 0);
    std::vector<CellChannelRecord> records {cellChannel(-1), cellChannel(0), cellChannel(-1)};
    for (int i = 0; i < 3; ++i)
        records[size_t(i)].channelNo = 10 * (i + 1);
    QCOMPARE(model.handle(1, LinuxSetCellChannels,
                          ints({0, 4, 3}, records[0], records[1], records[2]))
                     .result,
             0);
    QStringList placed;
    for (const CellChannelRecord &channel : model.state().cells.at(0).channels)
        placed << QStringLiteral("%1@%2").arg(channel.channelNo).arg(channel.position);
    QCOMPARE(placed, QStringList({"20@0", "10@1", "30@2"}));
}

// The Linux matrix's cell shows step on the page against the simulator: tst_linuxe2e.
void tst_Simulator::x86ModelLayersZoomsAndTurnShows()
{
    MatrixSim::X86MatrixModel model(4, {{QString(), QString()}, {"b", "b"}});
    model.addSession(1);
    model.addSession(2);
    QCOMPARE(model.handle(1, X86Login, login("", "")).result, 0);
    QCOMPARE(model.handle(2, X86Login, login("b", "b")).result, 0);
    // The layout the wall then reports is read on the wire by tst_matrixservice.
    QCOMPARE(model.handle(1, X86SetScreenCount, ints({2, 2})).result, 0);

    QCOMPARE(model.handle(1, X86SetMirrorRect, ints({0, 100, 100, 2000, 1000})).result, 0);
    QCOMPARE(model.state().windows.at(0).layer, 1);
    QCOMPARE(model.handle(1, X86SetMirrorRect, ints({1, 0, 0, 900, 900})).result, 0);
    QCOMPARE(model.state().windows.at(0).layer, 2);
    QCOMPARE(model.state().windows.at(1).layer, 1);
    QCOMPARE(model.handle(1, X86SetMirrorRect, ints({0, 0, 0, 1920, 1080})).result, 0);
    QCOMPARE(model.state().windows.at(0).layer, 0);

    QCOMPARE(model.handle(1, X86SetMonitorSplit, ints({3, 4})).result, 0);
    QCOMPARE(model.handle(1, X86ZoomMirrorAt, ints({3, 1000, 600})).result, 0);
    QCOMPARE(model.state().windows.at(3).zoomedPane, 4);
    QCOMPARE(model.handle(1, X86ZoomMirrorAt, ints({3, 1500, 900})).result, 0);
    QCOMPARE(model.state().windows.at(3).zoomedPane, 0);
    QCOMPARE(model.handle(1, X86SetMonitorSources,
                          ints({3, 5}, channelInfo(1), channelInfo(2), channelInfo(3),
                               channelInfo(4), channelInfo(5)))
                     .result,
             0);
    // A fixed set holds no turn show, however many channels; nor can one start without an
    // interval.
    QCOMPARE(model.state().windows.at(3).turnState, 0);
    QCOMPARE(model.state().windows.at(3).turnInterval, 0);
    QCOMPARE(model.handle(1, X86SetTurnState, ints({3, 2})).result, int(MatrixErrFailed));
    QCOMPARE(model.handle(1, X86SetTurnState, ints({3, 1})).result, int(MatrixErrFailed));
    QCOMPARE(model.state().windows.at(3).turnState, 0);
    QCOMPARE(model.handle(1, X86SetMonitorTurnSources,
                          ints({3, 2, 15}, channelInfo(1), channelInfo(2)))
                     .result,
             0);
    QCOMPARE(model.handle(1, X86SetTurnState, ints({3, 1})).result, 0);
    QCOMPARE(model.handle(1, X86SetTurnState, ints({3, 2})).result, 0);
    QCOMPARE(model.state().windows.at(3).turnState, 2);

    QCOMPARE(model.handle(1, X86SetMonitorSplit, ints({1, 4})).result, 0);
    // Another operator sees the new sources on the page (tst_x86e2e); the show waits for its
    // start.
    MatrixSim::RequestOutcome out =
            model.handle(1, X86SetMonitorTurnSources,
                         ints({1, 6, 10}, channelInfo(1), channelInfo(2), channelInfo(3),
                              channelInfo(4), channelInfo(5), channelInfo(6)));

    out = model.handle(1, X86SetTurnState, ints({1, 1}));
    QVector<ServerMessage> heard = eventsTo(out, 2, EventTurnStep);
    QCOMPARE(heard.size(), 1);
    QCOMPARE(QVector<qint32>(heard.at(0).values, heard.at(0).values + 5),
             (QVector<qint32> {1, 1, 0, 2, 10}));
    // Each step goes to every operator.
    out = MatrixSim::RequestOutcome();
    QVERIFY(model.advanceTurns(true, out));
    QCOMPARE(model.state().windows.at(1).turnPage, 1);
    QCOMPARE(eventsTo(out, 1, EventTurnStep).size(), 1);
    heard = eventsTo(out, 2, EventTurnStep);
    QCOMPARE(heard.size(), 1);
    QCOMPARE(heard.at(0).values[2], 1);
    // Not before its interval, and not while paused.
    out = MatrixSim::RequestOutcome();
    QVERIFY(!model.advanceTurns(false, out));
    QCOMPARE(model.handle(1, X86SetTurnState, ints({1, 2})).result, 0);
    out = MatrixSim::RequestOutcome();
    QVERIFY(!model.advanceTurns(true, out));
    QVERIFY(out.events.isEmpty());
    QCOMPARE(model.state().windows.at(1).turnPage, 1);
    // Selecting a window tells the selecting operator what is on it.
    out = model.handle(2, X86SelectMonitor, ints({1}));
    QCOMPARE(eventsTo(out, 2, EventMonitorSources).size(), 1);
    QCOMPARE(eventsTo(out, 1, EventMonitorSources).size(), 0);
}

QTEST_GUILESS_MAIN(tst_Simulator)
#include "tst_simulator.moc"
