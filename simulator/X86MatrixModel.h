// The X86 matrix: its wall of windows, its operators and how it answers each request.
// Free of any network code, so that tests and the fuzz target can drive it directly.
#pragma once

#include "MatrixSimulatorOptions.h"
#include "RequestOutcome.h"
#include "SimulatorState.h"

#include <QElapsedTimer>

#include <map>

namespace MatrixProtocol {
class PayloadReader;
}

namespace MatrixSim {

class X86MatrixModel
{
public:
    X86MatrixModel(int outputs, const QList<SimulatorAccount> &accounts);

    void addSession(quint64 connection);
    // The operator lists to send to the others when a logged-in operator leaves.
    QVector<QPair<quint64, MatrixProtocol::Frame>> removeSession(quint64 connection);
    // Answers one request of a connection (the handshake is done by the caller).
    RequestOutcome handle(quint64 connection, quint16 type, const QByteArray &payload);

    SimX86State state() const;
    // Takes over a stored wall; false, with the reason and nothing changed, when it does not
    // fit this matrix.
    bool restore(const SimX86State &stored, QString *error);

    // The layout record (_MIRRORLAYOUT with its windows) of a wall.
    static QByteArray layoutRecord(const SimX86State &state);

    // Steps the running turn shows whose interval has passed (force: every running show with
    // more than one page, now) and tells every operator. True when a show stepped.
    bool advanceTurns(bool force, RequestOutcome &out);

private:
    struct Session
    {
        bool loggedIn = false;
        // Follows the wall (layouts, what is on air, operators) and controls nothing.
        bool watching = false;
        QByteArray user;
        bool forcePending = false; // the last login was answered 2
        QByteArray pendingUser;
        QByteArray host; // as the client named itself (Identify); empty when it did not
        bool identified = false; // only a client that named itself is sent operator lists
        qint64 sinceMs = 0; // login time
        bool followsWall() const { return loggedIn || watching; }
    };

    using Reader = MatrixProtocol::PayloadReader;

    void login(quint64 connection, Session &session, Reader &reader, RequestOutcome &out);
    void forceLogin(quint64 connection, Session &session, Reader &reader, RequestOutcome &out);
    void watch(quint64 connection, Session &session, Reader &reader, RequestOutcome &out);
    void setScreenCount(Reader &reader, RequestOutcome &out);
    void exchangeMirrors(Reader &reader, RequestOutcome &out);
    void setConfigMode(quint64 connection, Reader &reader, RequestOutcome &out);
    void setMonitorSplit(Reader &reader, RequestOutcome &out);
    void setSources(Reader &reader, RequestOutcome &out, bool turn);
    void selectMonitor(Reader &reader, RequestOutcome &out);
    void setTurnState(Reader &reader, RequestOutcome &out);
    void clearSource(Reader &reader, RequestOutcome &out);
    void zoomMirrorAt(Reader &reader, RequestOutcome &out);
    void setMirrorRect(Reader &reader, RequestOutcome &out);

    bool accountMatches(const QByteArray &user, const QByteArray &password) const;
    SimX86Window *window(int index);
    void buildWindows(int rows, int columns);
    void sendLayout(quint64 connection, RequestOutcome &out) const;
    // Who is logged in, as seen from one connection.
    MatrixProtocol::Frame operatorsFrame(quint64 connection) const;
    QVector<QPair<quint64, MatrixProtocol::Frame>> operatorLists() const;
    void broadcastLayout(RequestOutcome &out) const;

    // What the operators were last told of a window's sources and turn show.
    struct Reported
    {
        QByteArray sources;
        int interval = -1;
        int turnState = -1;
        int page = -1;
        int pages = -1;
    };
    static QByteArray sourceBytes(const SimX86Window &window);
    static MatrixProtocol::Frame sourcesFrame(const SimX86Window &window);
    static MatrixProtocol::Frame turnStepFrame(const SimX86Window &window);
    void toLoggedIn(const MatrixProtocol::Frame &frame, RequestOutcome &out) const;
    // Sources and turn show of every window (or one) to one connection.
    void sendOnAir(quint64 connection, const SimX86Window *only, RequestOutcome &out) const;
    // Restarts the turn clock of shows that changed and tells every operator what changed.
    void settleTurns(RequestOutcome &out);
    qint64 nowMs() const;

    QList<SimulatorAccount> m_accounts;
    SimX86State m_state;
    std::map<quint64, Session> m_sessions;
    // By window number: what was last reported, when its turn show steps next (-1: not
    // running) and what that show was (a different one starts over on page 0).
    std::map<int, Reported> m_reported;
    std::map<int, qint64> m_turnDue;
    std::map<int, QByteArray> m_turnShape;
    QElapsedTimer m_clock;
};

} // namespace MatrixSim
