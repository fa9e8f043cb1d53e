// The Linux ("base") matrix interface over the matrix protocol.
//
// Every operation is a request that blocks its caller until the matrix answers or the
// request time-out passes; it never returns 0 without the matrix's consent.
#pragma once

#include "ChannelListener.h"
#include "IBaseMatrixConfig.h"
#include "MatrixChannel.h"

#include <QByteArray>

#include <mutex>

namespace MatrixService {

class LinuxMatrixClient final : public IBaseMatrixConfig, private ChannelListener
{
public:
    LinuxMatrixClient();
    ~LinuxMatrixClient() override;

    LinuxMatrixClient(const LinuxMatrixClient &) = delete;
    LinuxMatrixClient &operator=(const LinuxMatrixClient &) = delete;

    int Login(int mode, const char *user, const char *password, const char *ip, int port) override;
    int StartSession() override;
    int Disconnect() override;
    int Reboot() override;
    int FactoryReset(int mode) override;
    int StartUpgrade(int mode, const char *url) override;
    int GetUpgradeStatus(UpgradeStatusBlock *status) override;
    int KeepAlive() override;
    int SaveRowColumn(int rows, int columns) override;
    int SetClientName(const char *host) override;
    int GetOperators(MatrixOperatorRecord *records, int capacity, int *count) override;
    int Watch(const char *user, const char *password, const char *ip, int port) override;
    int Probe(const char *ip, int port, int timeoutMs) override;
    int Reserved13() override;
    int SetNumberArrangeMode(int on) override;
    int GetScreenNumbers(uint8_t *bytes, int capacity, int *count) override;
    int SetScreenNumbers(const uint8_t *bytes, int count) override;
    int GetScreenGrid(ScreenRegionEntry *entries, int capacity, int *count) override;
    int SetScreenGrid(const ScreenRegion *regions, int count) override;
    int GetCellTurnPages(CellTurnPage *entries, int capacity, int *count) override;
    int SetCellMelt(const ScreenRegion *region) override;
    int ClearCell(int cell) override;
    int SetCellChannels(int cell, const CellChannelRecord *records, int count,
                        int splitCount) override;
    int AddCellChannel(int cell, const CellChannelRecord *record) override;
    int ModifyCellChannel(int cell, const CellChannelRecord *record) override;
    int DeleteCellChannel(int cell, int position) override;
    int GetCellChannels(int cell, CellChannelRecord *records, int capacity, int *count,
                        int *splitCount) override;
    int GetFirmwareVersion(char *buffer, int capacity) override;
    int SetCellTurnShow(int cell, const CellTurnStatus *status) override;
    int GetCellTurnShow(int cell, CellTurnStatus *status) override;
    int SetCellSingleWindow(int cell, int on, int window) override;
    int GetCellSingleWindow(int cell, uint8_t *on, int *window) override;
    int SetCellSplit(int cell, int splitCount, int reserved) override;
    int GetWallRevision(int *revision) override;

private:
    void connectOutcome(int connType) override;
    void connectionLost(int connType) override;
    void matrixEvent(const MatrixProtocol::ServerMessage &message) override;

    // Connects, names the console and sends the login or watch request (body ready).
    int open(quint16 type, const QByteArray &body, const char *ip, int port);
    int requestInts(quint16 type, std::initializer_list<qint32> values, QByteArray *body = nullptr);

    std::mutex m_nameMutex;
    QByteArray m_clientName;
    MatrixChannel m_channel;
};

} // namespace MatrixService
