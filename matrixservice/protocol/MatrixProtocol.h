// Constants of the matrix protocol spoken between the matrix-service library and a matrix
// (docs/protocol.md describes every message).
#pragma once

#include <QtGlobal>

namespace MatrixProtocol {

// Frame header: magic (u16), type (u16), request id (u32), payload length (u32); little endian.
constexpr quint16 FrameMagic = 0x4D44; // the bytes 'D' 'M'
constexpr int HeaderSize = 12;
// Largest frame (header included) either side accepts.
constexpr int MaxFrameSize = 65536;
constexpr int MaxPayloadSize = MaxFrameSize - HeaderSize;

constexpr quint16 ProtocolVersion = 1;
// First four bytes of the hello payload.
constexpr char HelloTag[4] = {'D', 'M', 'X', 'P'};

// Who greets the matrix: the kind of matrix the client wants to talk to.
enum class Role : quint16 {
    X86 = 1,
    Linux = 2,
};

// Limits of texts and counts on the wire.
constexpr int MaxAccountText = 63; // user name and password, bytes
constexpr int MaxUrlText = 2048; // firmware URL, bytes
constexpr int MaxX86Sources = 128; // channel records of one window
constexpr int MaxX86Windows = 64; // windows of one X86 layout (= physical outputs)
constexpr int MaxLinuxOutputs = 16; // screen numbers and grid entries of one answer
constexpr int MaxCellChannels = 16; // channel records of one Linux cell
constexpr int MaxFirmwareVersionText = 63; // firmware version, bytes
constexpr int MaxHostText = 255; // a client's host name, bytes
constexpr int MaxOperators = 64; // entries of one operator list (= connections a matrix takes)

// Service units of the Linux wall: one screen is 1000000 wide and high.
constexpr int LinuxScreenUnit = 1000000;

enum MessageType : quint16 {
    // handshake
    Hello = 0x0001,
    HelloAck = 0x0002,

    // requests of either port
    KeepAlive = 0x0003,
    Identify = 0x0004, // the client's host name, before its login
    Watch = 0x0005, // follow the wall without controlling it (instead of the login)

    // X86 requests
    X86Login = 0x1001,
    X86ForceLogin = 0x1002,
    X86SetScreenCount = 0x1003,
    X86RequestLayout = 0x1004,
    X86ExchangeMirrors = 0x1005,
    X86SetConfigMode = 0x1006,
    X86SetMonitorSplit = 0x1007,
    X86SetMonitorSources = 0x1008,
    X86SetMonitorTurnSources = 0x1009,
    X86SelectMonitor = 0x100A,
    X86SetTurnState = 0x100B,
    X86ClearSource = 0x100C,
    X86ZoomMirrorAt = 0x100D,
    X86SetMirrorRect = 0x100E,

    // Linux requests
    LinuxLogin = 0x2001,
    LinuxStartSession = 0x2002,
    LinuxReboot = 0x2003,
    LinuxFactoryReset = 0x2004,
    LinuxStartUpgrade = 0x2005,
    LinuxGetUpgradeStatus = 0x2006,
    LinuxSaveRowColumn = 0x2007,
    LinuxSetNumberArrangeMode = 0x2008,
    LinuxGetScreenNumbers = 0x2009,
    LinuxSetScreenNumbers = 0x200A,
    LinuxGetScreenGrid = 0x200B,
    LinuxSetScreenGrid = 0x200C,
    LinuxSetCellMelt = 0x200D,
    LinuxClearCell = 0x200E,
    LinuxSetCellChannels = 0x200F,
    LinuxAddCellChannel = 0x2010,
    LinuxModifyCellChannel = 0x2011,
    LinuxDeleteCellChannel = 0x2012,
    LinuxGetCellChannels = 0x2013,
    LinuxSetCellTurnShow = 0x2014,
    LinuxGetCellTurnShow = 0x2015,
    LinuxSetCellSingleWindow = 0x2016,
    LinuxGetCellSingleWindow = 0x2017,
    LinuxSetCellSplit = 0x2018,
    LinuxGetOperators = 0x2021,
    LinuxGetWallRevision = 0x2022, // a counter of the wall's changes, for watchers

    // Linux requests: what is on air
    LinuxGetCellTurnPages = 0x2019,
    LinuxGetFirmwareVersion = 0x201A,

    // events, matrix to client, request id 0
    EventMatrixInfo = 0x4001,
    EventLayout = 0x4002,
    EventKicked = 0x4003,
    // X86 events: what is on air
    EventMonitorSources = 0x4004,
    EventTurnStep = 0x4005,
    EventOperators = 0x4010, // who is logged in on the X86 matrix
    EventTakenOver = 0x4011, // who took the matrix over from this connection, and when

    // a reply carries the request's type with this bit set and the request's id
    ReplyFlag = 0x8000,
};

// Reason of EventKicked.
enum KickReason : qint32 {
    KickForcedLogin = 1,
};

bool isX86Request(quint16 type);
bool isLinuxRequest(quint16 type);
// Requests either port answers (the keep-alive).
bool isGenericRequest(quint16 type);
bool isRequest(quint16 type);
// Readable name of a message type ("X86SetMonitorSplit", "reply to LinuxLogin", ...).
const char *messageName(quint16 type);

} // namespace MatrixProtocol
