// The command-line scaffolding matrix-sim and matrix-client share: help, version, stray
// arguments and refused values come out the same from both tools.
#include "DemoCommandLine.h"
#include "SimulatorCommandLine.h"

#include <QtTest>

class TestToolCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void bothToolsAnswerAlike_data();
    void bothToolsAnswerAlike();
};

void TestToolCommandLine::bothToolsAnswerAlike_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("message"); // what the message starts with

    for (const QString &tool : {QStringLiteral("matrix-client"), QStringLiteral("matrix-sim")}) {
        const QByteArray name = tool.toLatin1() + ' ';
        QTest::newRow(name + "no options")
                << tool << QStringList() << int(ToolCommandLine::Run) << QString();
        QTest::newRow(name + "help")
                << tool << QStringList {"--help"} << int(ToolCommandLine::ShowHelp) << "Usage: ";
        QTest::newRow(name + "help-all") << tool << QStringList {"--help-all"}
                                         << int(ToolCommandLine::ShowHelp) << "Usage: ";
        QTest::newRow(name + "version") << tool << QStringList {"--version"}
                                        << int(ToolCommandLine::ShowVersion) << QString();
        QTest::newRow(name + "stray argument")
                << tool << QStringList {"extra"} << int(ToolCommandLine::Error)
                << "unexpected argument: extra";
        QTest::newRow(name + "unknown option") << tool << QStringList {"--nonsense"}
                                               << int(ToolCommandLine::Error) << "Unknown option";
        QTest::newRow(name + "port out of range")
                << tool << QStringList {"--x86-port", "65536"} << int(ToolCommandLine::Error)
                << "bad value for --x86-port: \"65536\"";
        QTest::newRow(name + "port not a number")
                << tool << QStringList {"--linux-port", "6k"} << int(ToolCommandLine::Error)
                << "bad value for --linux-port: \"6k\"";
    }
}

void TestToolCommandLine::bothToolsAnswerAlike()
{
    QFETCH(QString, tool);
    QFETCH(QStringList, arguments);
    QFETCH(int, outcome);
    QFETCH(QString, message);
    arguments.prepend(tool);
    QString said;
    int got = -1;
    if (tool == QLatin1String("matrix-client")) {
        DemoOptions options;
        got = DemoCommandLine::parse(arguments, &options, &said);
    } else {
        MatrixSimulatorOptions options;
        MatrixSimulatorFaults faults;
        got = SimulatorCommandLine::parse(arguments, &options, &faults, &said);
    }
    QCOMPARE(got, outcome);
    QVERIFY2(said.startsWith(message), qPrintable(said));
    if (outcome == ToolCommandLine::ShowHelp)
        QVERIFY(said.contains(QLatin1String("--x86-port")));
}

QTEST_GUILESS_MAIN(TestToolCommandLine)
#include "tst_toolcommandline.moc"
