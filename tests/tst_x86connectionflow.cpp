// The X86 page's connection flow without its widgets: the login dialogue with the matrix and
// the operator, the state it leaves, and what the page remembers per server.
#include "X86ConnectionFlow.h"

#include "MatrixServiceTypes.h"

#include <QtTest>

using namespace LUMO_DIGITALMATRIX_MODULE;
using Flow = X86ConnectionFlow;

class TestX86ConnectionFlow : public QObject
{
    Q_OBJECT

private slots:
    void loginDialogue_data();
    void loginDialogue();
    void lateAnswerAfterCancelAndServersAsLeft();
};

void TestX86ConnectionFlow::loginDialogue_data()
{
    QTest::addColumn<QList<int>>("results"); // the matrix's login results, in turn
    QTest::addColumn<QList<bool>>("answers"); // the operator's, in turn
    QTest::addColumn<bool>("forced"); // what a forced login gives
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QStringList>("said"); // questions (?) and notices (!) in order
    QTest::addColumn<bool>("dropped");
    QTest::addColumn<int>("logLines"); // for the host log

    const int in = int(Flow::LoginOutcome::LoggedIn), out = int(Flow::LoginOutcome::NotLoggedIn);
    QTest::newRow("accepted") << QList<int> {0} << QList<bool>() << false << in << QStringList()
                              << false << 0;
    QTest::newRow("wrong, tried again, accepted")
            << QList<int> {1, 1, 0} << QList<bool> {true, true} << false << in
            << QStringList {"?again", "?again"} << false << 0;
    QTest::newRow("wrong, given up") << QList<int> {1} << QList<bool> {false} << false << out
                                     << QStringList {"?again"} << false << 0;
    QTest::newRow("taken, forced") << QList<int> {2} << QList<bool> {true} << true << in
                                   << QStringList {"?force"} << false << 0;
    QTest::newRow("taken, force refused") << QList<int> {2} << QList<bool> {true} << false << out
                                          << QStringList {"?force", "!force failed"} << false << 0;
    QTest::newRow("taken, not forced") << QList<int> {2} << QList<bool> {false} << true << out
                                       << QStringList {"?force"} << false << 0;
    QTest::newRow("no answer in time")
            << QList<int> {MatrixErrTimeout} << QList<bool>() << false
            << int(Flow::LoginOutcome::Dropped) << QStringList {"!no answer"} << true << 1;
    QTest::newRow("other error") << QList<int> {-1} << QList<bool>() << false << out
                                 << QStringList() << false << 1;
}

void TestX86ConnectionFlow::loginDialogue()
{
    QFETCH(QList<int>, results);
    QFETCH(QList<bool>, answers);
    QFETCH(bool, forced);
    QFETCH(int, outcome);
    QFETCH(QStringList, said);
    QFETCH(bool, dropped);
    QFETCH(int, logLines);

    QStringList logins, told, logged;
    bool drop = false;
    Flow::Hooks hooks;
    hooks.login = [&](const QString &user, const QString &password) {
        logins << user + QLatin1Char(':') + password;
        return results.takeFirst();
    };
    hooks.forceLogin = [&] { return forced; };
    hooks.dropConnection = [&] { drop = true; };
    hooks.ask = [&](Flow::Question question) {
        told << (question == Flow::Question::ForceLogin ? "?force" : "?again");
        return answers.takeFirst();
    };
    hooks.tell = [&](Flow::Notice notice) {
        told << (notice == Flow::Notice::ForceLoginFailed ? "!force failed" : "!no answer");
    };
    hooks.log = [&](const QString &line) { logged << line; };
    const int logins0 = results.size();
    Flow flow(hooks);

    QCOMPARE(int(flow.login("admin", "pw")), outcome);
    QCOMPARE(told, said);
    QCOMPARE(logins.size(), logins0);
    QCOMPARE(logins.value(0), QStringLiteral("admin:pw"));
    QVERIFY(results.isEmpty() && answers.isEmpty());
    QCOMPARE(drop, dropped);
    const bool loggedIn = outcome == int(Flow::LoginOutcome::LoggedIn);
    QCOMPARE(flow.isConnected(), loggedIn);
    QCOMPARE(flow.state() == MatrixConnectionState::Connected, loggedIn);
    QCOMPARE(logged.size(), logLines);
    if (logLines > 0)
        QVERIFY(logged.first().startsWith(QLatin1String("login error,error code:")));
}

void TestX86ConnectionFlow::lateAnswerAfterCancelAndServersAsLeft()
{
    QStringList calls;
    QList<Flow::LoginOutcome> outcomes;
    Flow::Hooks hooks;
    hooks.sendLogin = [&](const QString &user, const QString &) { calls << "login " + user; };
    hooks.dropConnection = [&] { calls << "drop"; };
    hooks.finished = [&](Flow::LoginOutcome outcome) { outcomes << outcome; };
    hooks.login = [](const QString &, const QString &) { return 0; };
    Flow flow(hooks);
    flow.startLogin("admin", "pw");
    QVERIFY(flow.isLoggingIn());
    flow.cancelLogin();
    flow.loginAnswered(0); // the matrix answers after all
    flow.cancelLogin(); // nothing left to cancel
    QCOMPARE(calls, QStringList({"login admin", "drop"}));
    QCOMPARE(outcomes, QList<Flow::LoginOutcome> {Flow::LoginOutcome::Dropped});
    QVERIFY(!flow.isLoggingIn());
    QVERIFY(!flow.isConnected());

    QVERIFY(!flow.wasConnected("a"));
    flow.login(QString(), QString());
    flow.remember("a");
    flow.remember(QString()); // no server: nothing to remember
    flow.setState(MatrixConnectionState::Disconnected);
    flow.remember("b");
    QVERIFY(flow.wasConnected("a"));
    QVERIFY(!flow.wasConnected("b"));
    QVERIFY(!flow.wasConnected(QString()));
    flow.forget("a");
    QVERIFY(!flow.wasConnected("a"));
    flow.setState(MatrixConnectionState::Connected);
    flow.remember("c");
    flow.rememberDisconnected("b");
    QVERIFY(flow.wasConnected("c"));
    flow.forgetAll();
    QVERIFY(!flow.wasConnected("c"));
}

QTEST_GUILESS_MAIN(TestX86ConnectionFlow)
#include "tst_x86connectionflow.moc"
