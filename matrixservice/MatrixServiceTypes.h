// Records, enumerations and callback types exchanged with the matrix service.
//
// Every record here has a fixed byte layout: 32-bit little-endian integers, texts
// zero-terminated local 8-bit (or GBK where said) and cut to their field size.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#include <windows.h>
#define MATRIX_CALLBACK __cdecl
#else
#define MATRIX_CALLBACK

// The Windows rectangle record: four signed 32-bit integers.
typedef struct tagRECT
{
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
} RECT;
#endif

static_assert(sizeof(RECT) == 16, "RECT is four 32-bit integers");

// Connection state reported by the X86 matrix service through the first callback.
enum ConnType : int {
    ConnSuccess = 0,
    ConnFailed = 1,
    ConnTimeOut = 2,
    ConnDisconnect = 3,
    ConnDisError = 4,
};

#pragma pack(push, 1)

// One output window of an X86 wall (52 bytes).
struct _MIRRORINFO
{
    RECT rectA; // home rectangle
    RECT rectB; // current rectangle
    int32_t mirrorParam1; // window index
    int32_t mirrorParam2; // split count
    int32_t mirrorParam3; // layer
    int32_t mirrorParam4; // kept, not interpreted
    int32_t mirrorParam5; // turn state
};

// Wall layout handed to the layout callback; valid only during the call.
// mirrorCount window records follow the 36-byte head.
struct _MIRRORLAYOUT
{
    RECT wallRect;
    int32_t mirrorCount;
    int32_t layoutParam1; // kept, not interpreted
    int32_t layoutParam2; // non-zero: configuration layout
    int32_t layoutParam3; // layoutParam3 == layoutParam4 == 0: no screen arrangement yet
    int32_t layoutParam4;
    _MIRRORINFO mirrors[1];
};

// Channel record of the X86 matrix service (216 bytes).
struct _ST_ChnInfo
{
    char channelName[100]; // GBK
    char deviceText5[17];
    char reserved1[3];
    int32_t deviceNumber;
    char ipAddress[17];
    char account[32];
    char password[32];
    char reserved2[3];
    int32_t channelNo;
    int32_t sequence; // 1-based pane position
};
typedef _ST_ChnInfo *PST_ChnInfo;

// One screen cell of a Linux wall in service units (1000000 = one screen); 24 bytes.
struct ScreenRegion
{
    int32_t index;
    int32_t melt; // 1: the region spans the whole grid
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
};

// The service's answer entry for the screen grid: a ScreenRegion and 40 bytes of its own.
struct ScreenRegionEntry
{
    ScreenRegion region;
    uint8_t reserved[40];
};

// One channel of a Linux wall cell (464 bytes).
struct CellChannelRecord
{
    int32_t position;
    char deviceAddress[64];
    char deviceText1[64];
    char deviceText5[20];
    uint16_t port;
    uint8_t reserved1[2];
    int32_t channelNo;
    char user[16];
    char password[16];
    char protocol[16]; // "onvif" or "qbz"
    uint8_t reserved2[256];
};

// Turn show of one Linux cell, in service codes (0 running, 1 paused, 2 stopped).
struct CellTurnStatus
{
    int32_t interval; // seconds
    int32_t state;
    int32_t reserved;
};

// Firmware upgrade status block (12 bytes); done != 0 once the upgrade has ended.
struct UpgradeStatusBlock
{
    int32_t progress; // percent, 0..100
    uint8_t done;
    uint8_t reserved1[3];
    int32_t reserved2;
};

// Where the turn show of one Linux cell stands (20 bytes): the page on air, 0-based, of
// pages; state in service codes as in CellTurnStatus.
struct CellTurnPage
{
    int32_t cell;
    int32_t state;
    int32_t interval; // seconds
    int32_t page;
    int32_t pages;
};

// One operator on a matrix (336 bytes): who is logged in, from which console, since when.
struct MatrixOperatorRecord
{
    char user[64]; // zero-terminated, as the operator logged in
    char host[256]; // zero-terminated, the console's host name as it named itself (any bytes)
    int32_t flags; // MatrixOperatorSelf: this interface's own connection
    int32_t reserved;
    int64_t sinceMs; // login or takeover time, milliseconds since 1970-01-01 UTC
};

enum MatrixOperatorFlag {
    MatrixOperatorSelf = 1,
    MatrixOperatorWatching = 2, // a watch connection: follows the wall, controls nothing
};

#pragma pack(pop)

static_assert(sizeof(MatrixOperatorRecord) == 336, "operator record is 336 bytes");
static_assert(offsetof(MatrixOperatorRecord, sinceMs) == 328, "sinceMs at 328");

static_assert(sizeof(_MIRRORINFO) == 52, "window record is 52 bytes");
static_assert(offsetof(_MIRRORINFO, rectB) == 16, "rectB at 16");
static_assert(offsetof(_MIRRORINFO, mirrorParam1) == 32, "mirrorParam1 at 32");
static_assert(offsetof(_MIRRORINFO, mirrorParam5) == 48, "mirrorParam5 at 48");
static_assert(offsetof(_MIRRORLAYOUT, mirrorCount) == 16, "mirrorCount at 16");
static_assert(offsetof(_MIRRORLAYOUT, layoutParam4) == 32, "layoutParam4 at 32");
static_assert(offsetof(_MIRRORLAYOUT, mirrors) == 36, "window records start at 36");
static_assert(sizeof(_ST_ChnInfo) == 216, "channel record is 216 bytes");
static_assert(offsetof(_ST_ChnInfo, deviceText5) == 100, "deviceText5 at 100");
static_assert(offsetof(_ST_ChnInfo, deviceNumber) == 120, "deviceNumber at 120");
static_assert(offsetof(_ST_ChnInfo, ipAddress) == 124, "ipAddress at 124");
static_assert(offsetof(_ST_ChnInfo, account) == 141, "account at 141");
static_assert(offsetof(_ST_ChnInfo, password) == 173, "password at 173");
static_assert(offsetof(_ST_ChnInfo, channelNo) == 208, "channelNo at 208");
static_assert(offsetof(_ST_ChnInfo, sequence) == 212, "sequence at 212");
static_assert(sizeof(ScreenRegion) == 24, "region is 24 bytes");
static_assert(sizeof(ScreenRegionEntry) == 64, "region entry is 64 bytes");
static_assert(sizeof(CellChannelRecord) == 464, "cell channel record is 464 bytes");
static_assert(offsetof(CellChannelRecord, deviceAddress) == 4, "deviceAddress at 4");
static_assert(offsetof(CellChannelRecord, deviceText1) == 68, "deviceText1 at 68");
static_assert(offsetof(CellChannelRecord, deviceText5) == 132, "deviceText5 at 132");
static_assert(offsetof(CellChannelRecord, port) == 152, "port at 152");
static_assert(offsetof(CellChannelRecord, channelNo) == 156, "channelNo at 156");
static_assert(offsetof(CellChannelRecord, user) == 160, "user at 160");
static_assert(offsetof(CellChannelRecord, password) == 176, "password at 176");
static_assert(offsetof(CellChannelRecord, protocol) == 192, "protocol at 192");
static_assert(offsetof(CellChannelRecord, reserved2) == 208, "zero tail at 208");
static_assert(sizeof(CellTurnStatus) == 12, "turn status is 12 bytes");
static_assert(sizeof(UpgradeStatusBlock) == 12, "upgrade status is 12 bytes");
static_assert(offsetof(UpgradeStatusBlock, done) == 4, "done flag at 4");
static_assert(sizeof(CellTurnPage) == 20, "turn page is 20 bytes");

// Size of a layout record holding n window records.
constexpr std::size_t mirrorLayoutSize(int n)
{
    return offsetof(_MIRRORLAYOUT, mirrors) + (n > 0 ? std::size_t(n) : 0) * sizeof(_MIRRORINFO);
}

// Callbacks of the X86 service; ctx is the context pointer given at registration.
typedef void(MATRIX_CALLBACK *MatrixConnStatusCallback)(void *ctx, int connType);
typedef void(MATRIX_CALLBACK *MatrixInfoCallback)(void *ctx, int screens, int rows, int columns);
typedef void(MATRIX_CALLBACK *MatrixLayoutCallback)(void *ctx, _MIRRORLAYOUT *layout);
// Callback 5: the matrix sent who is logged in, or that another operator took it over from
// this connection; read them with GetOperators and GetTakeover.
typedef void(MATRIX_CALLBACK *MatrixReservedCallback)(void *ctx);
// Callback 4: the matrix's result of a wall command (command is the interface slot of the
// operation, MatrixX86Command), reported once per command sent.
typedef void(MATRIX_CALLBACK *MatrixCommandResultCallback)(void *ctx, int command, int result);

// The channels on an X86 window as the matrix reports them (when the window is selected and
// whenever they change): count records, valid only during the call, and the turn interval
// (0 for a fixed set).
typedef void(MATRIX_CALLBACK *MatrixSourcesCallback)(void *ctx, int monitor,
                                                     const _ST_ChnInfo *channels, int count,
                                                     int interval);
// A window's turn show stepped or changed its state: turnState 0 none, 1 running, 2 paused;
// page (0-based) of pages is on air.
typedef void(MATRIX_CALLBACK *MatrixTurnStepCallback)(void *ctx, int monitor, int turnState,
                                                      int page, int pages, int interval);

// The wall commands of the X86 interface, by their slot in IMatrixConfig.
enum MatrixX86Command {
    X86CommandSetScreenCount = 5,
    X86CommandRequestLayout = 6,
    X86CommandExchangeMirrors = 7,
    X86CommandSetConfigMode = 8,
    X86CommandSetMonitorSplit = 9,
    X86CommandSetMonitorSources = 10,
    X86CommandSetMonitorTurnSources = 13,
    X86CommandSelectMonitor = 15,
    X86CommandSetTurnState = 16,
    X86CommandClearSource = 17,
    X86CommandZoomMirrorAt = 18,
    X86CommandSetMirrorRect = 19,
};

// Result codes of the matrix service besides 0 (success).
enum MatrixServiceError {
    MatrixErrFailed = -1, // the matrix refused the request
    MatrixErrNotConnected = -2, // no connection (never connected, lost, or after a reboot)
    MatrixErrTimeout = -3, // no answer within the request time-out
    MatrixErrRefusedByPort = -4, // the caller's own refusal (port), never sent
    MatrixErrBadArgument = -5, // invalid argument: null buffer, negative count, text too long
    MatrixErrProtocol = -6, // malformed or unexpected answer; the connection is dropped
    MatrixErrNotLoggedIn = -7, // the request needs a login first
    MatrixErrLoginRefused = -8, // wrong user or password
    MatrixErrOutOfRange = -9, // cell, split, screen number or count out of range
    MatrixErrBusy = -10, // the matrix is rebooting or upgrading
    MatrixErrCallbackReentry = -11, // a blocking call from inside a callback of the same
                                    // interface; refused, it could never be answered
    MatrixErrUnsupported = -12, // a reserved operation this service does not provide
    MatrixErrUpgradeNotFound = -15, // upgrade resource not found
    MatrixErrUpgradeLatest = -16, // already the latest version
    MatrixErrWatchOnly = -17, // the connection only watches the matrix: commands are refused
};
