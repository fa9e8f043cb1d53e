#pragma once

#include "digitalmatrix_export.h"

#include "MatrixStates.h"

#include <QMap>
#include <QString>

#include <functional>

namespace LUMO_DIGITALMATRIX_MODULE {

// The X86 page's connection without its widgets: whether it is logged in on its matrix,
// whether it was connected to each server when it left it, and the login once the matrix
// answered the connection: a login refused as taken offers to force it, a wrong one to try
// again, and a login the matrix did not answer in time drops the connection. The page
// supplies the port's calls and the operator's answers: either blocking calls (login()) or
// calls that return at once and whose answers the page hands back (startLogin()), so that
// the page need not wait for the matrix and can cancel.
class DIGITALMATRIX_EXPORT X86ConnectionFlow
{
public:
    // What the login asks the operator (true: yes) or tells them.
    enum class Question { ForceLogin, TryAgain };
    enum class Notice { ForceLoginFailed, NoAnswer };
    enum class LoginOutcome {
        LoggedIn,
        NotLoggedIn, // the connection stays open, nobody is logged in
        Dropped // the connection was dropped (dropConnection ran)
    };
    struct Hooks
    {
        std::function<int(const QString &user, const QString &password)> login; // 0 or result
        std::function<bool()> forceLogin;
        std::function<void()> dropConnection;
        std::function<bool(Question)> ask;
        std::function<void(Notice)> tell;
        std::function<void(const QString &line)> log; // for the host log
        // For startLogin(): send the request and return at once; the answer comes back
        // through loginAnswered() or forceLoginAnswered(), the outcome through finished.
        std::function<void(const QString &user, const QString &password)> sendLogin;
        std::function<void()> sendForceLogin;
        std::function<void(LoginOutcome)> finished;
    };

    explicit X86ConnectionFlow(Hooks hooks);

    // The login after the matrix answered the connection; Connected when logged in.
    LoginOutcome login(const QString &user, const QString &password);

    // The same login without waiting for the matrix.
    void startLogin(const QString &user, const QString &password);
    void loginAnswered(int result);
    void forceLoginAnswered(bool forced);
    // While a request of startLogin() is unanswered: drops the connection and finishes as
    // Dropped; its answer, if it still comes, is disregarded.
    void cancelLogin();
    bool isLoggingIn() const { return pending != Step::Done; }

    MatrixConnectionState state() const { return connection; }
    bool isConnected() const { return connection == MatrixConnectionState::Connected; }
    void setState(MatrixConnectionState state) { connection = state; }

    // Whether the page was connected to a server when it last left it.
    void remember(const QString &serverId);
    bool wasConnected(const QString &serverId) const { return memory.value(serverId, false); }
    void rememberDisconnected(const QString &serverId) { memory[serverId] = false; }
    void forget(const QString &serverId) { memory.remove(serverId); }
    void forgetAll() { memory.clear(); }

private:
    // What the login does next.
    enum class Step { Done, Login, ForceLogin };
    Step afterLogin(int result, LoginOutcome *outcome);
    Step afterForceLogin(bool forced, LoginOutcome *outcome);
    void carryOn(Step next, LoginOutcome outcome);

    Hooks hooks;
    Step pending = Step::Done;
    QString user;
    QString password;
    MatrixConnectionState connection = MatrixConnectionState::Disconnected;
    QMap<QString, bool> memory;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
