// Fuzz target: what the port and the Linux page make of the buffers a Linux matrix service
// fills in (screen maps, grids, cell channels, turn shows, single windows, upgrade status).
// The service is a stand-in that answers every reading call from the input, counts that
// do not match what it wrote included, as a faulty service might.
//
// Input: consumed call by call, integers little endian, missing bytes read as zero.
//   Every call: u8 result (bit 7 set: the negative code −(bits 0..4), else 0).
//   GetScreenNumbers: i32 reported count, then min(count, capacity) bytes.
//   GetScreenGrid:    i32 reported count, then min(count, capacity) × 24-byte regions.
//   GetCellChannels:  i32 reported count, i32 split, then min(count, capacity) records of
//                     i32 position, i32 channel number, u8 address length (≤ 64) and the
//                     address bytes (no terminating zero when 64).
//   GetCellTurnShow, GetUpgradeStatus: 12 bytes.  GetCellSingleWindow: u8 on, i32 window.
//   Every other call: only the result.
// The first input byte picks the cell the port readers are asked about (0..3).
#include "ConfigChannelsWidget.h"
#include "DigitalMatrixInteractionPort.h"

#include "UserManagerCore.h"

#include "IBaseMatrixConfig.h"

#include <QApplication>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

using namespace LUMO_DIGITALMATRIX_MODULE;

namespace {

// A small site: channel records are looked up by their device address and number.
const char SiteJson[] = R"({
  "version": 1,
  "areas": [ { "key": "a", "name": "Hall" } ],
  "devices": [
    { "key": "d1", "name": "NVR", "address": "192.168.5.20", "account": "admin",
      "password": "pw", "serial": "S1", "port": 8000, "number": 1, "type": 1, "kind": 1 },
    { "key": "d2", "name": "Camera", "address": "N10.0.0.9", "account": "admin",
      "password": "pw", "serial": "S2", "port": 80, "number": 2, "type": 1, "kind": 3 } ],
  "channels": [
    { "key": "c1", "name": "Gate", "device": "d1", "number": 1, "area": "a" },
    { "key": "c2", "name": "Lobby", "device": "d1", "number": 2, "area": "a" },
    { "key": "c3", "name": "Roof", "device": "d2", "number": 1, "area": "a" } ]
})";

class FuzzedService : public IBaseMatrixConfig
{
public:
    void feed(const uint8_t *data, size_t size)
    {
        m_data = data;
        m_size = size;
        m_pos = 0;
    }

    int Login(int, const char *, const char *, const char *, int) override { return result(); }
    int StartSession() override { return result(); }
    int Disconnect() override { return result(); }
    int Reboot() override { return result(); }
    int FactoryReset(int) override { return result(); }
    int StartUpgrade(int, const char *) override { return result(); }
    int GetUpgradeStatus(UpgradeStatusBlock *status) override
    {
        const int r = result();
        take(status, sizeof *status);
        return r;
    }
    int KeepAlive() override { return 0; }
    int SaveRowColumn(int, int) override { return result(); }
    int SetClientName(const char *) override { return 0; }
    int GetOperators(MatrixOperatorRecord *, int, int *count) override
    {
        *count = 0;
        return 0;
    }
    int Watch(const char *, const char *, const char *, int) override { return result(); }
    int Probe(const char *, int, int) override { return MatrixErrUnsupported; }
    int Reserved13() override { return MatrixErrUnsupported; }
    int SetNumberArrangeMode(int) override { return result(); }
    int GetScreenNumbers(uint8_t *bytes, int capacity, int *count) override
    {
        const int r = result();
        const int reported = takeInt();
        const int n = std::clamp(reported, 0, capacity);
        take(bytes, size_t(n));
        *count = reported;
        return r;
    }
    int SetScreenNumbers(const uint8_t *, int) override { return result(); }
    int GetScreenGrid(ScreenRegionEntry *entries, int capacity, int *count) override
    {
        const int r = result();
        const int reported = takeInt();
        const int n = std::clamp(reported, 0, capacity);
        for (int k = 0; k < n; ++k) {
            std::memset(&entries[k], 0, sizeof entries[k]);
            take(&entries[k].region, sizeof entries[k].region);
        }
        *count = reported;
        return r;
    }
    int SetScreenGrid(const ScreenRegion *, int) override { return result(); }
    int GetCellTurnPages(CellTurnPage *, int, int *) override { return MatrixErrUnsupported; }
    int SetCellMelt(const ScreenRegion *) override { return result(); }
    int ClearCell(int) override { return result(); }
    int SetCellChannels(int, const CellChannelRecord *, int, int) override { return result(); }
    int AddCellChannel(int, const CellChannelRecord *) override { return result(); }
    int ModifyCellChannel(int, const CellChannelRecord *) override { return result(); }
    int DeleteCellChannel(int, int) override { return result(); }
    int GetCellChannels(int, CellChannelRecord *records, int capacity, int *count,
                        int *splitCount) override
    {
        const int r = result();
        const int reported = takeInt();
        *splitCount = takeInt();
        const int n = std::clamp(reported, 0, capacity);
        for (int k = 0; k < n; ++k) {
            CellChannelRecord &record = records[k];
            std::memset(&record, 0, sizeof record);
            record.position = takeInt();
            record.channelNo = takeInt();
            uint8_t length = 0;
            take(&length, 1);
            take(record.deviceAddress, std::min<size_t>(length, sizeof record.deviceAddress));
        }
        *count = reported;
        return r;
    }
    int GetFirmwareVersion(char *, int) override { return MatrixErrUnsupported; }
    int SetCellTurnShow(int, const CellTurnStatus *) override { return result(); }
    int GetCellTurnShow(int, CellTurnStatus *status) override
    {
        const int r = result();
        take(status, sizeof *status);
        return r;
    }
    int SetCellSingleWindow(int, int, int) override { return result(); }
    int GetCellSingleWindow(int, uint8_t *on, int *window) override
    {
        const int r = result();
        take(on, 1);
        *window = takeInt();
        return r;
    }
    int SetCellSplit(int, int, int) override { return result(); }
    int GetWallRevision(int *revision) override
    {
        *revision = 0;
        return result();
    }

private:
    void take(void *out, size_t n)
    {
        std::memset(out, 0, n);
        const size_t k = std::min(n, m_size - m_pos);
        if (k)
            std::memcpy(out, m_data + m_pos, k);
        m_pos += k;
    }
    int takeInt()
    {
        int32_t value = 0;
        take(&value, sizeof value);
        return value;
    }
    int result()
    {
        uint8_t code = 0;
        take(&code, 1);
        return (code & 0x80) ? -int(code & 0x1f) : 0;
    }

    const uint8_t *m_data = nullptr;
    size_t m_size = 0;
    size_t m_pos = 0;
};

FuzzedService *service = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The module's debug lines would drown libFuzzer's report.
    qputenv("QT_LOGGING_RULES", "*.debug=false;*.info=false");
    static int argc = 1;
    static char name[] = "fuzz_port_readers";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv); // lives as long as the process
    DATACore::UserManagerCore *dataCentre = DATACore::UserManagerCore::instance();
    if (!dataCentre->open(QStringLiteral(":memory:"))
        || !dataCentre->importSite(QByteArray(SiteJson)))
        qFatal("fuzz_port_readers: no data centre: %s", qPrintable(dataCentre->lastError()));

    service = new FuzzedService; // owned by the port from here on
    DigitalMatrixInteractionPort::ServiceFactory factory;
    factory.createBase = [] { return service; };
    factory.releaseBase = [](IBaseMatrixConfig *base) {
        delete static_cast<FuzzedService *>(base);
    };
    DigitalMatrixInteractionPort::setServiceFactory(factory);
    DigitalMatrixInteractionPort::instance();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const int cell = data[0] % 4;
    service->feed(data + 1, size - 1);
    DigitalMatrixInteractionPort *port = DigitalMatrixInteractionPort::instance();

    // The port's readers, one after the other.
    port->getScreenNumbers();
    int rows = 0, columns = 0, melted = 0;
    port->getScreenGrid(&rows, &columns, &melted);
    QMap<int, CellChannelItem *> items;
    int split = 0;
    port->getCellChannels(cell, &items, &split);
    qDeleteAll(items);
    CellTurnInfo turn;
    port->getCellTurnShow(cell, &turn);
    int window = 0;
    port->getCellSingleWindow(cell, &window);
    int status = 0;
    port->pollUpgrade(&status);

    // The Linux page reading a whole wall: grid, screen numbers, every cell.
    auto wall = std::make_unique<ConfigChannelsWidget>();
    wall->resize(480, 300);
    wall->loadFromServer();
    wall->grab();
    return 0;
}
