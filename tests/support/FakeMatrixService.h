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
    int count(const QString &name) const;
    FakeCall last(const QString &name) const;
    void clear();

    // Scripted result of an operation (default 0); a queue is used up first.
    void setResult(const QString &name, int result);
    void queueResults(const QString &name, const QList<int> &results);
    int resultFor(const QString &name);

private:
    mutable QMutex mutex;
    QList<FakeCall> log;
    QHash<QString, int> results;
    QHash<QString, QList<int>> queued;
};

class FakeX86Matrix : public IMatrixConfig, public FakeCallLog
{
public:
    FakeX86Matrix();
    ~FakeX86Matrix() override;

    int Connect(const char *ip, int port) override;
    int Disconnect() override;
    int RegisterCallbacks(void *ctx, MatrixConnStatusCallback onConnectStatus,
                          MatrixInfoCallback onMatrixInfo, MatrixLayoutCallback onLayout,
                          MatrixCommandResultCallback onCommandResult,
                          MatrixReservedCallback onReserved5) override;
    int Login(const char *user, const char *password) override;
    int ForceLogin() override;
    int SetScreenCount(int rows, int columns) override;
    int RequestLayout() override;
    int ExchangeMirrors(int mirrorA, int mirrorB) override;
    int SetConfigMode(bool on) override;
    int SetMonitorSplit(int monitor, int splitCount) override;
    int SetMonitorSources(int monitor, const _ST_ChnInfo *channels, int count) override;
    int Reserved11() override;
    int Reserved12() override;
    int SetMonitorTurnSources(int monitor, const _ST_ChnInfo *channels, int count,
                              int turnInterval) override;
    int Reserved14() override;
    int SelectMonitor(int monitor) override;
    int SetTurnState(int monitor, int state) override;
    int ClearSource(int monitor) override;
    int ZoomMirrorAt(int mirror, int x, int y) override;
    int SetMirrorRect(int mirror, RECT rect) override;
    // Kept, not recorded: the port names the console when it is created.
    int SetClientName(const char *host) override;
    int GetOperators(MatrixOperatorRecord *records, int capacity, int *count) override;
    int GetTakeover(MatrixOperatorRecord *record) override;

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
    MatrixCommandResultCallback commandResult = nullptr;
    MatrixReservedCallback reserved5 = nullptr;
    QByteArray clientName;
};

class FakeBaseMatrix : public IBaseMatrixConfig, public FakeCallLog
{
public:
    FakeBaseMatrix();
    ~FakeBaseMatrix() override;

    int Login(int mode, const char *user, const char *password, const char *ip, int port) override;
    int StartSession() override;
    int Disconnect() override;
    int Reboot() override;
    int FactoryReset(int mode) override;
    int StartUpgrade(int mode, const char *url) override;
    int GetUpgradeStatus(UpgradeStatusBlock *status) override;
    int KeepAlive() override;
    int SaveRowColumn(int rows, int columns) override;
    // Kept, not recorded: the port names the console when it is created.
    int SetClientName(const char *host) override;
    int GetOperators(MatrixOperatorRecord *records, int capacity, int *count) override;
    int Reserved11() override;
    int Reserved12() override;
    int Reserved13() override;
    int SetNumberArrangeMode(int on) override;
    int GetScreenNumbers(uint8_t *bytes, int capacity, int *count) override;
    int SetScreenNumbers(const uint8_t *bytes, int count) override;
    int GetScreenGrid(ScreenRegionEntry *entries, int capacity, int *count) override;
    int SetScreenGrid(const ScreenRegion *regions, int count) override;
    int Reserved19() override;
    int SetCellMelt(const ScreenRegion *region) override;
    int ClearCell(int cell) override;
    int SetCellChannels(int cell, const CellChannelRecord *records, int count,
                        int splitCount) override;
    int AddCellChannel(int cell, const CellChannelRecord *record) override;
    int ModifyCellChannel(int cell, const CellChannelRecord *record) override;
    int DeleteCellChannel(int cell, int position) override;
    int GetCellChannels(int cell, CellChannelRecord *records, int capacity, int *count,
                        int *splitCount) override;
    int Reserved27() override;
    int SetCellTurnShow(int cell, const CellTurnStatus *status) override;
    int GetCellTurnShow(int cell, CellTurnStatus *status) override;
    int SetCellSingleWindow(int cell, int on, int window) override;
    int GetCellSingleWindow(int cell, uint8_t *on, int *window) override;
    int SetCellSplit(int cell, int splitCount, int reserved) override;

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
    UpgradeStatusBlock upgradeStatus {};
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
