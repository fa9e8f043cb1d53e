// The Linux matrix: its four outputs, grid, cells, firmware and how it answers each
// request. Free of any network code, so that tests and the fuzz target can drive it directly.
#pragma once

#include <QElapsedTimer>

#include "MatrixSimulatorOptions.h"
#include "RequestOutcome.h"
#include "SimulatorState.h"

#include <map>

namespace MatrixProtocol {
class PayloadReader;
}

namespace MatrixSim {

class LinuxMatrixModel
{
public:
    static constexpr int Outputs = 4;

    LinuxMatrixModel(const QList<SimulatorAccount> &accounts, int upgradePolls,
                     const QString &usbFirmware, const QString &firmwareVersion);

    void addSession(quint64 connection);
    void removeSession(quint64 connection);
    RequestOutcome handle(quint64 connection, quint16 type, const QByteArray &payload);
    // After a reboot: no sessions, arrangement mode off.
    void rebooted();

    SimLinuxState state() const;
    bool restore(const SimLinuxState &stored, QString *error);

    // Steps the running turn shows whose interval has passed (force: every running show with
    // more than one page, now). True when a show stepped.
    bool advanceTurns(bool force);
    // Pages a cell's channels fill at its split (by the highest position).
    static int cellPages(const SimLinuxCell &cell);

    // Final status of an upgrade (0, MatrixErrUpgradeNotFound or MatrixErrUpgradeLatest)
    // from the source's file name; newVersion receives the image's version.
    static int upgradeOutcome(int mode, const QString &url, const QString &usbFirmware,
                              const QString &currentVersion, QString *newVersion);
    // Parses "1.2.3" (one or more numbers); false when it is none.
    static bool parseVersion(const QString &text, QVector<int> *parts);

private:
    struct Session
    {
        bool loggedIn = false;
        bool started = false;
        // Reads the wall and controls nothing (instead of a login and a session).
        bool watching = false;
        QByteArray user;
        QByteArray host; // as the client named itself (Identify)
        qint64 sinceMs = 0; // login time
    };

    using Reader = MatrixProtocol::PayloadReader;

    RequestOutcome answer(quint64 connection, quint16 type, const QByteArray &payload);

    void login(Session &session, Reader &reader, RequestOutcome &out);
    void watch(Session &session, Reader &reader, RequestOutcome &out);
    // The requests a watcher may send: they only read.
    static bool isReadRequest(quint16 type);
    void getOperators(quint64 connection, Reader &reader, RequestOutcome &out) const;
    void factoryReset(Reader &reader, RequestOutcome &out);
    void startUpgrade(Reader &reader, RequestOutcome &out);
    void upgradeStatus(Reader &reader, RequestOutcome &out);
    void saveRowColumn(Reader &reader, RequestOutcome &out);
    void setArrangeMode(Reader &reader, RequestOutcome &out);
    void getScreenNumbers(Reader &reader, RequestOutcome &out);
    void setScreenNumbers(Reader &reader, RequestOutcome &out);
    void getScreenGrid(Reader &reader, RequestOutcome &out);
    void setScreenGrid(Reader &reader, RequestOutcome &out);
    void setCellMelt(Reader &reader, RequestOutcome &out);
    void clearCell(Reader &reader, RequestOutcome &out);
    void setCellChannels(Reader &reader, RequestOutcome &out);
    void putCellChannel(Reader &reader, RequestOutcome &out, bool add);
    void deleteCellChannel(Reader &reader, RequestOutcome &out);
    void getCellChannels(Reader &reader, RequestOutcome &out);
    void setCellTurnShow(Reader &reader, RequestOutcome &out);
    void getCellTurnShow(Reader &reader, RequestOutcome &out);
    void setCellSingleWindow(Reader &reader, RequestOutcome &out);
    void getCellSingleWindow(Reader &reader, RequestOutcome &out);
    void setCellSplit(Reader &reader, RequestOutcome &out);
    void getCellTurnPages(Reader &reader, RequestOutcome &out);
    void getFirmwareVersion(Reader &reader, RequestOutcome &out);
    // Restarts the turn clock of the shows that changed.
    void settleTurns();

    // Reads the cell number that opens a cell request; false (answered) when bad.
    bool readCell(Reader &reader, RequestOutcome &out, qint32 &cell);
    bool cellExists(int cell) const;
    ScreenRegion homeRegion(int cell) const;
    bool accountMatches(const QByteArray &user, const QByteArray &password) const;
    void resetWall();

    QList<SimulatorAccount> m_accounts;
    int m_upgradePolls = 3;
    QString m_usbFirmware;
    QString m_pendingVersion;
    SimLinuxState m_state;
    std::map<quint64, Session> m_sessions;
    // Counts the changes of the wall, so that watchers know when to read it again.
    qint32 m_revision = 0;
    // Per cell: when its turn show steps next (-1: not running) and what the show was.
    QVector<qint64> m_turnDue;
    QVector<QByteArray> m_turnShape;
    QElapsedTimer m_clock;
};

} // namespace MatrixSim
