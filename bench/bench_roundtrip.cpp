// A Linux request through the matrix-service library to the simulator over loopback: reading
// a full cell (16 channel records), against a raw TCP exchange of the same sizes.
#include "BenchSupport.h"

#include "DigitalMatrixInteractionPort.h"
#include "DigitalMatrixServerInfo.h"
#include "UserManagerCore.h"

#include "MatrixSimulator.h"
#include "ServerConfig.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>

using namespace LUMO_DIGITALMATRIX_MODULE;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Cell = 0;
constexpr int Channels = 16;
// Bytes on the wire: the request (12-byte header, the cell) and the answer (header, result,
// split, count, 16 records).
constexpr int RequestBytes = 12 + 4;
constexpr int AnswerBytes = 12 + 4 + 4 + 4 + Channels * int(sizeof(CellChannelRecord));

void reportLatencies(benchmark::State &state, const std::vector<double> &micros)
{
    state.counters["p50_us"] = Bench::quantile(micros, 0.50);
    state.counters["p99_us"] = Bench::quantile(micros, 0.99);
    state.counters["request_bytes"] = RequestBytes;
    state.counters["answer_bytes"] = AnswerBytes;
}

// A Linux matrix with a 1 × 1 grid whose only cell holds 16 channels.
class LinuxMatrixRig
{
public:
    LinuxMatrixRig()
    {
        MatrixSimulatorOptions options;
        options.x86Port = -1;
        options.linuxPort = 0;
        options.logRequests = false;
        started = simulator.start(options);
        base = CreateBaseMatrixConfig();
        if (!started || base->Login(1, "admin", "admin", "127.0.0.1", simulator.linuxPort()) != 0
            || base->StartSession() != 0 || base->SaveRowColumn(1, 1) != 0) {
            started = false;
            return;
        }
        const ScreenRegion region {0, 0, 0, 0, 1000000, 1000000};
        std::vector<CellChannelRecord> records(Channels);
        for (int k = 0; k < Channels; ++k) {
            CellChannelRecord &r = records[size_t(k)];
            std::memset(&r, 0, sizeof r);
            r.position = k;
            std::snprintf(r.deviceAddress, sizeof r.deviceAddress, "192.168.5.%d", 20 + k);
            std::snprintf(r.deviceText1, sizeof r.deviceText1, "NVR %d", k);
            r.port = 8000;
            r.channelNo = 1 + k;
            std::strcpy(r.user, "admin");
            std::strcpy(r.password, "secret");
            std::strcpy(r.protocol, "qbz");
        }
        started = base->SetScreenGrid(&region, 1) == 0
                && base->SetCellChannels(Cell, records.data(), Channels, 16) == 0;
    }
    ~LinuxMatrixRig()
    {
        ReleaseBaseMatrixConfig(base);
        simulator.stop();
    }

    MatrixSimulator simulator;
    IBaseMatrixConfig *base = nullptr;
    bool started = false;
};

void BM_MatrixRoundTrip(benchmark::State &state)
{
    LinuxMatrixRig rig;
    if (!rig.started) {
        state.SkipWithError("the simulator could not be set up");
        return;
    }
    std::vector<CellChannelRecord> records(Channels);
    std::vector<double> micros;
    micros.reserve(size_t(state.max_iterations));
    for (auto _ : state) {
        int count = 0;
        int split = 0;
        const Clock::time_point start = Clock::now();
        const int result =
                rig.base->GetCellChannels(Cell, records.data(), Channels, &count, &split);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        micros.push_back(seconds * 1e6);
        if (result != 0 || count != Channels) {
            state.SkipWithError("the cell did not come back whole");
            break;
        }
    }
    reportLatencies(state, micros);
}

// A data centre that knows every device and channel of the rig's cell, with a name each.
QByteArray cellSite()
{
    QJsonArray devices;
    QJsonArray channels;
    for (int k = 0; k < Channels; ++k) {
        const QString key = QStringLiteral("nvr-%1").arg(k);
        devices.append(QJsonObject {{"key", key},
                                    {"name", QStringLiteral("NVR %1").arg(k)},
                                    {"address", QStringLiteral("192.168.5.%1").arg(20 + k)},
                                    {"port", 8000},
                                    {"kind", 1}});
        channels.append(QJsonObject {{"key", QStringLiteral("%1-ch").arg(key)},
                                     {"name", QStringLiteral("Camera %1").arg(k)},
                                     {"device", key},
                                     {"number", 1 + k},
                                     {"area", "area-wall"}});
    }
    const QJsonObject site {
            {"areas", QJsonArray {QJsonObject {{"key", "area-wall"}, {"name", "Wall"}}}},
            {"devices", devices},
            {"channels", channels}};
    return QJsonDocument(site).toJson(QJsonDocument::Compact);
}

// The same request through the module's port, which also looks every device and channel
// of the cell up in the data centre (one that knows all 16, so that each has its name).
void BM_PortRoundTrip(benchmark::State &state)
{
    LinuxMatrixRig rig;
    QTemporaryDir dir;
    DATACore::UserManagerCore *dc = DATACore::UserManagerCore::instance();
    if (!dc->open(dir.filePath(QStringLiteral("dc.db"))) || !dc->importSite(cellSite())) {
        state.SkipWithError("the data centre could not be set up");
        return;
    }
    DigitalMatrixInteractionPort::release();
    DigitalMatrixInteractionPort::resetServiceFactory();
    DigitalMatrixInteractionPort *port = DigitalMatrixInteractionPort::instance();
    DigitalMatrixServerInfo server;
    server.ip = QStringLiteral("127.0.0.1");
    server.port = rig.simulator.linuxPort();
    server.user = QStringLiteral("admin");
    server.password = QStringLiteral("admin");
    server.matrixKind = DigitalMatrixServerInfo::LinuxMatrix;
    if (!rig.started || port->connectLinuxServer(server) != 0) {
        state.SkipWithError("the simulator could not be set up");
        return;
    }
    std::vector<double> micros;
    micros.reserve(size_t(state.max_iterations));
    QMap<int, CellChannelItem *> items;
    for (auto _ : state) {
        int split = 0;
        const Clock::time_point start = Clock::now();
        const int result = port->getCellChannels(Cell, &items, &split);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        micros.push_back(seconds * 1e6);
        if (result != 0 || items.size() != Channels
            || items.value(Channels - 1)->channelName != QStringLiteral("Camera 15")) {
            state.SkipWithError("the cell did not come back whole");
            break;
        }
    }
    qDeleteAll(items);
    reportLatencies(state, micros);
    DigitalMatrixInteractionPort::release();
    DATACore::UserManagerCore::instance()->close();
}

bool readAll(int fd, char *data, int size)
{
    while (size > 0) {
        const ssize_t n = ::recv(fd, data, size_t(size), 0);
        if (n <= 0)
            return false;
        data += n;
        size -= int(n);
    }
    return true;
}

bool writeAll(int fd, const char *data, int size)
{
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size_t(size), MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        data += n;
        size -= int(n);
    }
    return true;
}

void noDelay(int fd)
{
    int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

// Floor: blocking sockets on loopback, a server thread that answers every 16-byte request
// with as many bytes as the matrix's answer; no framing, no decoding, no threads between.
void BM_TcpEchoFloor(benchmark::State &state)
{
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || ::listen(listener, 1) != 0
        || ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        ::close(listener);
        state.SkipWithError("no loopback socket");
        return;
    }
    std::thread server([listener] {
        const int fd = ::accept(listener, nullptr, nullptr);
        noDelay(fd);
        std::vector<char> request(RequestBytes), answer(AnswerBytes, 'x');
        while (readAll(fd, request.data(), RequestBytes)
               && writeAll(fd, answer.data(), AnswerBytes)) { }
        ::close(fd);
    });
    const int client = ::socket(AF_INET, SOCK_STREAM, 0);
    ::connect(client, reinterpret_cast<sockaddr *>(&address), sizeof address);
    noDelay(client);
    std::vector<char> request(RequestBytes, 'r'), answer(AnswerBytes);
    std::vector<double> micros;
    micros.reserve(size_t(state.max_iterations));
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        const bool ok = writeAll(client, request.data(), RequestBytes)
                && readAll(client, answer.data(), AnswerBytes);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        micros.push_back(seconds * 1e6);
        if (!ok) {
            state.SkipWithError("the echo broke off");
            break;
        }
    }
    ::close(client);
    server.join();
    ::close(listener);
    reportLatencies(state, micros);
}

} // namespace

BENCHMARK(BM_MatrixRoundTrip)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(3000)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
BENCHMARK(BM_PortRoundTrip)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(1000)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
BENCHMARK(BM_TcpEchoFloor)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(3000)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
