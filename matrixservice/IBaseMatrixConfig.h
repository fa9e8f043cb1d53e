// The Linux ("base") matrix interface of the matrix service.
//
// Every operation blocks until the matrix answers or the request times out and
// returns 0 on success or a MatrixServiceError. The order of the virtual
// operations is part of the binary contract: never reorder, insert or remove a slot.
#pragma once

#include "MatrixServiceTypes.h"

class IBaseMatrixConfig
{
public:
    // slot 0: log in (mode 1) with user and password at ip:port.
    virtual int Login(int mode, const char *user, const char *password, const char *ip,
                      int port) = 0;
    // slot 1: opens the session after a successful login.
    virtual int StartSession() = 0;
    // slot 2
    virtual int Disconnect() = 0;
    // slot 3
    virtual int Reboot() = 0;
    // slot 4
    virtual int FactoryReset(int mode) = 0;
    // slot 5: mode 0 USB, 1 FTP, 2 HTTP.
    virtual int StartUpgrade(int mode, const char *url) = 0;
    // slot 6: while running 0 with done == 0; at the end the final status with done == 1.
    virtual int GetUpgradeStatus(UpgradeStatusBlock *status) = 0;
    // slot 7: asks whether the matrix still answers on this connection (at most 2 s):
    // 0, or MatrixErrNotConnected at once when the connection is gone, MatrixErrTimeout.
    virtual int KeepAlive() = 0;
    // slot 8: save the row/column arrangement.
    virtual int SaveRowColumn(int rows, int columns) = 0;
    // slot 9: the console's host name, told to the matrix at every later login (255 bytes).
    virtual int SetClientName(const char *host) = 0;
    // slot 10: who is logged in on the matrix: at most capacity records, *count copied.
    virtual int GetOperators(MatrixOperatorRecord *records, int capacity, int *count) = 0;
    // slot 11: connects like Login and watches the matrix instead of logging in: every
    // reading operation works, every other one returns MatrixErrWatchOnly.
    virtual int Watch(const char *user, const char *password, const char *ip, int port) = 0;
    // slot 12: whether a matrix answers at ip:port, as IMatrixConfig::Probe (slot 14) does,
    // greeting it as a Linux client.
    virtual int Probe(const char *ip, int port, int timeoutMs) = 0;
    // slot 13
    virtual int Reserved13() = 0;
    // slot 14: 1 shows the screen numbers on the wall for arranging, 0 ends that mode.
    virtual int SetNumberArrangeMode(int on) = 0;
    // slot 15: byte k is (screen number at grid position k) - 1.
    virtual int GetScreenNumbers(uint8_t *bytes, int capacity, int *count) = 0;
    // slot 16
    virtual int SetScreenNumbers(const uint8_t *bytes, int count) = 0;
    // slot 17
    virtual int GetScreenGrid(ScreenRegionEntry *entries, int capacity, int *count) = 0;
    // slot 18
    virtual int SetScreenGrid(const ScreenRegion *regions, int count) = 0;
    // slot 19: where the turn show of every cell stands (the page on air); small enough to be
    // asked once a second.
    virtual int GetCellTurnPages(CellTurnPage *entries, int capacity, int *count) = 0;
    // slot 20: melt a cell over the grid, or put it back.
    virtual int SetCellMelt(const ScreenRegion *region) = 0;
    // slot 21
    virtual int ClearCell(int cell) = 0;
    // slot 22
    virtual int SetCellChannels(int cell, const CellChannelRecord *records, int count,
                                int splitCount) = 0;
    // slot 23
    virtual int AddCellChannel(int cell, const CellChannelRecord *record) = 0;
    // slot 24
    virtual int ModifyCellChannel(int cell, const CellChannelRecord *record) = 0;
    // slot 25
    virtual int DeleteCellChannel(int cell, int position) = 0;
    // slot 26: fills at most capacity records, the count and the cell's split count.
    virtual int GetCellChannels(int cell, CellChannelRecord *records, int capacity, int *count,
                                int *splitCount) = 0;
    // slot 27: the firmware version, zero-terminated, cut to capacity - 1 bytes.
    virtual int GetFirmwareVersion(char *buffer, int capacity) = 0;
    // slot 28
    virtual int SetCellTurnShow(int cell, const CellTurnStatus *status) = 0;
    // slot 29
    virtual int GetCellTurnShow(int cell, CellTurnStatus *status) = 0;
    // slot 30: on 1 shows that window of the cell alone; (0, 0) restores.
    virtual int SetCellSingleWindow(int cell, int on, int window) = 0;
    // slot 31
    virtual int GetCellSingleWindow(int cell, uint8_t *on, int *window) = 0;
    // slot 32
    virtual int SetCellSplit(int cell, int splitCount, int reserved) = 0;

    // Watching (slot 33).
    // slot 33: a counter the matrix advances with every change of its wall; a watcher reads
    // the wall again when it moved.
    virtual int GetWallRevision(int *revision) = 0;

protected:
    virtual ~IBaseMatrixConfig() = default;
};
