#include "X86ConnectionFlow.h"

#include "MatrixServiceTypes.h"

#include <utility>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {
// The login results of the X86 matrix.
constexpr int LoginWrong = 1;
constexpr int LoginTaken = 2;
} // namespace

X86ConnectionFlow::X86ConnectionFlow(Hooks hooks)
    : hooks(std::move(hooks))
{ }

X86ConnectionFlow::LoginOutcome X86ConnectionFlow::login(const QString &user,
                                                         const QString &password)
{
    for (;;) {
        const int result = hooks.login(user, password);
        if (result == 0) {
            connection = MatrixConnectionState::Connected;
            return LoginOutcome::LoggedIn;
        }
        if (result == LoginTaken) {
            if (hooks.ask(Question::ForceLogin)) {
                if (hooks.forceLogin()) {
                    connection = MatrixConnectionState::Connected;
                    return LoginOutcome::LoggedIn;
                }
                hooks.tell(Notice::ForceLoginFailed);
            }
            return LoginOutcome::NotLoggedIn;
        }
        if (result == LoginWrong) {
            if (hooks.ask(Question::TryAgain))
                continue;
            return LoginOutcome::NotLoggedIn;
        }
        hooks.log(QStringLiteral("login error,error code:") + QString::number(result));
        // No answer in time: the matrix may still log this connection in and would then
        // send its layouts to a page that is not logged in. Drop the connection and tell
        // the operator, who can connect again.
        if (result == MatrixErrTimeout) {
            hooks.dropConnection();
            hooks.tell(Notice::NoAnswer);
            return LoginOutcome::Dropped;
        }
        return LoginOutcome::NotLoggedIn;
    }
}

void X86ConnectionFlow::remember(const QString &serverId)
{
    if (!serverId.isEmpty())
        memory[serverId] = isConnected();
}

} // namespace LUMO_DIGITALMATRIX_MODULE
