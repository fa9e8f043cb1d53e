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
    LoginOutcome outcome = LoginOutcome::NotLoggedIn;
    Step next = afterLogin(hooks.login(user, password), &outcome);
    while (next != Step::Done) {
        next = next == Step::Login ? afterLogin(hooks.login(user, password), &outcome)
                                   : afterForceLogin(hooks.forceLogin(), &outcome);
    }
    return outcome;
}

void X86ConnectionFlow::startLogin(const QString &user, const QString &password)
{
    this->user = user;
    this->password = password;
    carryOn(Step::Login, LoginOutcome::NotLoggedIn);
}

void X86ConnectionFlow::loginAnswered(int result)
{
    if (pending != Step::Login)
        return;
    pending = Step::Done;
    LoginOutcome outcome = LoginOutcome::NotLoggedIn;
    const Step next = afterLogin(result, &outcome);
    carryOn(next, outcome);
}

void X86ConnectionFlow::forceLoginAnswered(bool forced)
{
    if (pending != Step::ForceLogin)
        return;
    pending = Step::Done;
    LoginOutcome outcome = LoginOutcome::NotLoggedIn;
    const Step next = afterForceLogin(forced, &outcome);
    carryOn(next, outcome);
}

void X86ConnectionFlow::cancelLogin()
{
    if (pending == Step::Done)
        return;
    pending = Step::Done;
    hooks.dropConnection();
    connection = MatrixConnectionState::Disconnected;
    hooks.finished(LoginOutcome::Dropped);
}

void X86ConnectionFlow::carryOn(Step next, LoginOutcome outcome)
{
    pending = next;
    if (next == Step::Login)
        hooks.sendLogin(user, password);
    else if (next == Step::ForceLogin)
        hooks.sendForceLogin();
    else
        hooks.finished(outcome);
}

X86ConnectionFlow::Step X86ConnectionFlow::afterLogin(int result, LoginOutcome *outcome)
{
    *outcome = LoginOutcome::NotLoggedIn;
    if (result == 0) {
        connection = MatrixConnectionState::Connected;
        *outcome = LoginOutcome::LoggedIn;
        return Step::Done;
    }
    if (result == LoginTaken)
        return hooks.ask(Question::ForceLogin) ? Step::ForceLogin : Step::Done;
    if (result == LoginWrong)
        return hooks.ask(Question::TryAgain) ? Step::Login : Step::Done;
    hooks.log(QStringLiteral("login error,error code:") + QString::number(result));
    // No answer in time: the matrix may still log this connection in and would then
    // send its layouts to a page that is not logged in. Drop the connection and tell
    // the operator, who can connect again.
    if (result == MatrixErrTimeout) {
        hooks.dropConnection();
        hooks.tell(Notice::NoAnswer);
        *outcome = LoginOutcome::Dropped;
    }
    return Step::Done;
}

X86ConnectionFlow::Step X86ConnectionFlow::afterForceLogin(bool forced, LoginOutcome *outcome)
{
    if (forced) {
        connection = MatrixConnectionState::Connected;
        *outcome = LoginOutcome::LoggedIn;
        return Step::Done;
    }
    hooks.tell(Notice::ForceLoginFailed);
    *outcome = LoginOutcome::NotLoggedIn;
    return Step::Done;
}

void X86ConnectionFlow::remember(const QString &serverId)
{
    if (!serverId.isEmpty())
        memory[serverId] = isConnected();
}

} // namespace LUMO_DIGITALMATRIX_MODULE
