// A recording stand-in for the matrix service: every call with its arguments and the
// exact bytes of every record handed over, scripted results and outputs, and callbacks
// fired from a thread of its own.
#pragma once

#include "IBaseMatrixConfig.h"
#include "IMatrixConfig.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QString>
#include <QVariantList>
#include <QVector>

#include <climits>
#include <vector>

struct FakeCall
{
    QString name;
    QVariantList args;
    QByteArray bytes; // the records passed, byte for byte
};

class FakeCallLog
{
public:
    void record(const QString &name, const QVariantList &args = {},
                const QByteArray &bytes = QByteArray());
    QList<FakeCall> calls() const;
    QList<FakeCall> callsNamed(const QString &name) const;
    QStringList names() const;
    // Each call as "Name(arg,arg)", in order.
    QStringList trace() const;
    int count(const QString &name) const { return callsNamed(name).size(); }
    FakeCall last(const QString &name) const;
    void clear();

    // Scripted result of an operation (default 0); a queue is used up first.
    void setResult(const QString &name, int result);
    void queueResults(const QString &name, const QList<int> &results);
    int resultFor(const QString &name);

protected:
    // Records the call and gives back its scripted result.
    int call(const QString &name, const QVariantList &args = {},
             const QByteArray &bytes = QByteArray())
    {
        record(name, args, bytes);
        return resultFor(name);
    }
    static QString text(const char *s) { return s ? QString::fromLocal8Bit(s) : QString(); }
    static QByteArray bytesOf(const void *data, int size)
    {
        return data && size > 0 ? QByteArray(static_cast<const char *>(data), size) : QByteArray();
    }

private:
    mutable QMutex mutex;
    QList<FakeCall> log;
    QHash<QString, int> results;
    QHash<QString, QList<int>> queued;
};

class FakeX86Matrix : public IMatrixConfig, public FakeCallLog
{
public:
    int Connect(const char *ip, int port) override { return call("Connect", {text(ip), port}); }
    int Disconnect() override { return call("Disconnect"); }
    int RegisterCallbacks(void *ctx, MatrixConnStatusCallback onConnectStatus,
                          MatrixInfoCallback onMatrixInfo, MatrixLayoutCallback onLayout,
                          MatrixCommandResultCallback onCommandResult,
                          MatrixReservedCallback onReserved5) override;
    int Login(const char *user, const char *password) override
    {
        return call("Login", {text(user), text(password)});
    }
    int ForceLogin() override { return call("ForceLogin"); }
    int SetScreenCount(int rows, int columns) override
    {
        return call("SetScreenCount", {rows, columns});
    }
    int RequestLayout() override { return call("RequestLayout"); }
    int ExchangeMirrors(int a, int b) override { return call("ExchangeMirrors", {a, b}); }
    int SetConfigMode(bool on) override { return call("SetConfigMode", {on}); }
    int SetMonitorSplit(int monitor, int splitCount) override
    {
        return call("SetMonitorSplit", {monitor, splitCount});
    }
    int SetMonitorSources(int monitor, const _ST_ChnInfo *channels, int count) override
    {
        return call("SetMonitorSources", {monitor, count},
                    bytesOf(channels, count * int(sizeof(_ST_ChnInfo))));
    }
    int RegisterSourceCallbacks(void *, MatrixSourcesCallback, MatrixTurnStepCallback) override
    {
        return call("RegisterSourceCallbacks");
    }
    int Watch(const char *, const char *) override { return call("Watch"); }
    int SetMonitorTurnSources(int monitor, const _ST_ChnInfo *channels, int count,
                              int turnInterval) override
    {
        return call("SetMonitorTurnSources", {monitor, count, turnInterval},
                    bytesOf(channels, count * int(sizeof(_ST_ChnInfo))));
    }
    // Called by the pages' server lists on threads of their own: not recorded.
    int Probe(const char *, int, int) override { return MatrixErrNotConnected; }
    int SelectMonitor(int monitor) override { return call("SelectMonitor", {monitor}); }
    int SetTurnState(int monitor, int state) override
    {
        return call("SetTurnState", {monitor, state});
    }
    int ClearSource(int monitor) override { return call("ClearSource", {monitor}); }
    int ZoomMirrorAt(int mirror, int x, int y) override
    {
        return call("ZoomMirrorAt", {mirror, x, y});
    }
    int SetMirrorRect(int mirror, RECT r) override
    {
        return call("SetMirrorRect", {mirror, r.left, r.top, r.right, r.bottom},
                    bytesOf(&r, int(sizeof r)));
    }
    // Not recorded: the port names the console when it is created.
    int SetClientName(const char *) override { return 0; }
    int GetOperators(MatrixOperatorRecord *, int, int *count) override
    {
        if (count)
            *count = 0;
        return 0;
    }
    int GetTakeover(MatrixOperatorRecord *) override { return MatrixErrFailed; }

    // Fire the registered callbacks from a new thread and wait for it to finish.
    void fireConnectStatus(int connType);
    void fireMatrixInfo(int screens, int rows, int columns);
    void fireLayout(const RECT &wallRect, const QVector<_MIRRORINFO> &mirrors, int param1 = 0,
                    int param2 = 0, int param3 = 1, int param4 = 1);
    // Any raw layout buffer (for bad counts and sizes).
    void fireRawLayout(QByteArray buffer);

    void *registeredContext = nullptr;
    MatrixConnStatusCallback connCallback = nullptr;
    MatrixInfoCallback infoCallback = nullptr;
    MatrixLayoutCallback layoutCallback = nullptr;
};

class FakeBaseMatrix : public IBaseMatrixConfig, public FakeCallLog
{
public:
    int Login(int mode, const char *user, const char *password, const char *ip, int port) override
    {
        return call("Login", {mode, text(user), text(password), text(ip), port});
    }
    int StartSession() override { return call("StartSession"); }
    int Disconnect() override { return call("Disconnect"); }
    int Reboot() override { return call("Reboot"); }
    int FactoryReset(int mode) override { return call("FactoryReset", {mode}); }
    int StartUpgrade(int mode, const char *url) override
    {
        return call("StartUpgrade", {mode, text(url)});
    }
    int GetUpgradeStatus(UpgradeStatusBlock *status) override
    {
        if (status)
            *status = UpgradeStatusBlock {};
        return call("GetUpgradeStatus");
    }
    // Asked by a timer: not recorded, so that call logs hold the commands only.
    int KeepAlive() override { return resultFor("KeepAlive"); }
    int SaveRowColumn(int rows, int columns) override
    {
        return call("SaveRowColumn", {rows, columns});
    }
    // Not recorded: the port names the console when it is created.
    int SetClientName(const char *) override { return 0; }
    int GetOperators(MatrixOperatorRecord *, int, int *count) override
    {
        if (count)
            *count = 0;
        return call("GetOperators");
    }
    int Watch(const char *, const char *, const char *, int) override { return call("Watch"); }
    // Called by the pages' server lists on threads of their own: not recorded.
    int Probe(const char *, int, int) override { return MatrixErrNotConnected; }
    int Reserved13() override { return call("Reserved13"); }
    int SetNumberArrangeMode(int on) override { return call("SetNumberArrangeMode", {on}); }
    int GetScreenNumbers(uint8_t *bytes, int capacity, int *count) override;
    int SetScreenNumbers(const uint8_t *bytes, int count) override
    {
        return call("SetScreenNumbers", {count}, bytesOf(bytes, count));
    }
    int GetScreenGrid(ScreenRegionEntry *entries, int capacity, int *count) override;
    int SetScreenGrid(const ScreenRegion *regions, int count) override
    {
        return call("SetScreenGrid", {count}, bytesOf(regions, count * int(sizeof(ScreenRegion))));
    }
    int GetCellTurnPages(CellTurnPage *, int, int *count) override
    {
        if (count)
            *count = 0;
        return call("GetCellTurnPages");
    }
    int SetCellMelt(const ScreenRegion *region) override
    {
        return call("SetCellMelt", {}, bytesOf(region, int(sizeof(ScreenRegion))));
    }
    int ClearCell(int cell) override { return call("ClearCell", {cell}); }
    int SetCellChannels(int cell, const CellChannelRecord *records, int count,
                        int splitCount) override
    {
        return call("SetCellChannels", {cell, count, splitCount},
                    bytesOf(records, count * int(sizeof(CellChannelRecord))));
    }
    int AddCellChannel(int cell, const CellChannelRecord *r) override
    {
        return call("AddCellChannel", {cell}, bytesOf(r, int(sizeof(CellChannelRecord))));
    }
    int ModifyCellChannel(int cell, const CellChannelRecord *r) override
    {
        return call("ModifyCellChannel", {cell}, bytesOf(r, int(sizeof(CellChannelRecord))));
    }
    int DeleteCellChannel(int cell, int position) override
    {
        return call("DeleteCellChannel", {cell, position});
    }
    int GetCellChannels(int cell, CellChannelRecord *records, int capacity, int *count,
                        int *splitCount) override;
    int GetFirmwareVersion(char *buffer, int capacity) override
    {
        if (buffer && capacity > 0)
            buffer[0] = '\0';
        return call("GetFirmwareVersion");
    }
    int SetCellTurnShow(int cell, const CellTurnStatus *s) override
    {
        return call("SetCellTurnShow",
                    {cell, s ? s->interval : 0, s ? s->state : 0, s ? s->reserved : 0},
                    bytesOf(s, int(sizeof(CellTurnStatus))));
    }
    int GetCellTurnShow(int cell, CellTurnStatus *status) override
    {
        if (status)
            *status = turnStatus;
        return call("GetCellTurnShow", {cell});
    }
    int SetCellSingleWindow(int cell, int on, int window) override
    {
        return call("SetCellSingleWindow", {cell, on, window});
    }
    int GetCellSingleWindow(int cell, uint8_t *on, int *window) override
    {
        if (on)
            *on = singleWindowFlag;
        if (window)
            *window = singleWindow;
        return call("GetCellSingleWindow", {cell});
    }
    int SetCellSplit(int cell, int splitCount, int reserved) override
    {
        return call("SetCellSplit", {cell, splitCount, reserved});
    }
    int GetWallRevision(int *revision) override
    {
        *revision = 0;
        return call("GetWallRevision");
    }

    // Scripted outputs of the reading operations. A reported count may differ from what
    // is actually written (beyond the buffer, negative), as a faulty service's might.
    static constexpr int AutoCount = INT_MIN; // report the number of entries given
    // What a new matrix holds: screens 1, 2, 3, 4 in grid order.
    QByteArray screenNumberBytes = QByteArray::fromHex("00010203");
    int screenNumberCount = AutoCount;
    std::vector<ScreenRegionEntry> gridEntries;
    int gridCount = AutoCount;
    std::vector<CellChannelRecord> cellRecords;
    int cellRecordCount = AutoCount;
    int cellSplitCount = 0;
    CellTurnStatus turnStatus {};
    uint8_t singleWindowFlag = 0;
    int singleWindow = 0;
};

// Makes the port use fresh fakes: releases the port (and hub) and creates them again.
class FakeMatrixService
{
public:
    FakeMatrixService();
    ~FakeMatrixService();

    FakeX86Matrix *x86() const { return x86Matrix; }
    FakeBaseMatrix *base() const { return baseMatrix; }

private:
    FakeX86Matrix *x86Matrix = nullptr;
    FakeBaseMatrix *baseMatrix = nullptr;
};
