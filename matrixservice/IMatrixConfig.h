// The X86 matrix interface of the matrix service.
//
// The order of the virtual operations is part of the binary contract with the
// module: never reorder, insert or remove a slot. Reserved slots keep the places
// of operations the module does not use.
#pragma once

#include "MatrixServiceTypes.h"

class IMatrixConfig
{
public:
    // slot 0: start connecting; the outcome arrives later through the status callback.
    virtual int Connect(const char *ip, int port) = 0;
    // slot 1
    virtual int Disconnect() = 0;
    // slot 2: ctx is handed back as the first argument of every callback. The matrix's result
    // of every wall command (slots 5..19) comes back through onCommandResult.
    virtual int RegisterCallbacks(void *ctx, MatrixConnStatusCallback onConnectStatus,
                                  MatrixInfoCallback onMatrixInfo, MatrixLayoutCallback onLayout,
                                  MatrixCommandResultCallback onCommandResult,
                                  MatrixReservedCallback onReserved5) = 0;
    // slot 3: 0 logged in, 1 failed, 2 refused but a forced login may be tried, else an error.
    virtual int Login(const char *user, const char *password) = 0;
    // slot 4: nonzero on success.
    virtual int ForceLogin() = 0;
    // slot 5
    virtual int SetScreenCount(int rows, int columns) = 0;
    // slot 6: the layout comes back through the layout callback.
    virtual int RequestLayout() = 0;
    // slot 7
    virtual int ExchangeMirrors(int mirrorA, int mirrorB) = 0;
    // slot 8
    virtual int SetConfigMode(bool on) = 0;
    // slot 9
    virtual int SetMonitorSplit(int monitor, int splitCount) = 0;
    // slot 10
    virtual int SetMonitorSources(int monitor, const _ST_ChnInfo *channels, int count) = 0;
    // slot 11: the matrix's reports of what is on air: the channels on a window and the steps
    // of its turn show. Either callback may be null.
    virtual int RegisterSourceCallbacks(void *ctx, MatrixSourcesCallback onSources,
                                        MatrixTurnStepCallback onTurnStep) = 0;
    // slot 12: after ConnSuccess, follow the wall without controlling it (instead of Login):
    // 0 watching (the layout and what is on air follow), 1 wrong user or password, else an
    // error. The matrix answers every wall command of a watching connection with
    // MatrixErrWatchOnly; Login on the same connection takes control.
    virtual int Watch(const char *user, const char *password) = 0;
    // slot 13
    virtual int SetMonitorTurnSources(int monitor, const _ST_ChnInfo *channels, int count,
                                      int turnInterval) = 0;
    // slot 14: whether a matrix answers at ip:port, without a connection of this interface
    // or a login: connects, greets it as an X86 client and closes (it may be called on any
    // thread, while this interface is connected or not, and blocks at most timeoutMs).
    // 0 welcomed, MatrixErrBusy refused for now, MatrixErrNotConnected nobody there,
    // MatrixErrTimeout no answer in time, MatrixErrProtocol an answer that is no HelloAck.
    virtual int Probe(const char *ip, int port, int timeoutMs) = 0;
    // slot 15
    virtual int SelectMonitor(int monitor) = 0;
    // slot 16: state 1 start, 2 pause, 0 stop.
    virtual int SetTurnState(int monitor, int state) = 0;
    // slot 17
    virtual int ClearSource(int monitor) = 0;
    // slot 18: x and y in service units.
    virtual int ZoomMirrorAt(int mirror, int x, int y) = 0;
    // slot 19
    virtual int SetMirrorRect(int mirror, RECT rect) = 0;

    // Who is on the matrix (slots 20..22).
    // slot 20: the console's host name, told to the matrix before every later login; cut to
    // 255 bytes. The matrix then reports its operators (callback 5).
    virtual int SetClientName(const char *host) = 0;
    // slot 21: the operators the matrix reported last on this connection, without waiting;
    // at most capacity records, *count set to the number copied.
    virtual int GetOperators(MatrixOperatorRecord *records, int capacity, int *count) = 0;
    // slot 22: 0 and who took the matrix over from the last connection (a forced login by
    // another console), MatrixErrFailed when nobody did.
    virtual int GetTakeover(MatrixOperatorRecord *record) = 0;

protected:
    virtual ~IMatrixConfig() = default;
};
