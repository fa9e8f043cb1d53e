// The demo host: its command line and the simulator's, what a first start sets up (data centre with
// the sample site, once; settings and log beside it; the built-in simulator or none), the language
// it keeps, and its window (the two pages, the simulated walls).
#include "DemoCommandLine.h"
#include "WalkCommandLine.h"
#include "DemoHost.h"
#include "DemoMainWindow.h"

#include "DigitalMatrixConfigPage.h"
#include "MatrixModuleConfig.h"
#include "MatrixProtocol.h"
#include "MatrixSimulator.h"
#include "SimulatedWallWindow.h"
#include "SimulatorCommandLine.h"
#include "_ModifyDigitalMatrixServerDlg.h"

#include "IMatrixConfig.h"
#include "LumoToolManager.h"
#include "QLogger.h"
#include "ServerConfig.h"
#include "SystemConfig.h"
#include "UserManagerCore.h"

#include <QAction>
#include <QDirIterator>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

int regionCount()
{
    return DATACore::UserManagerCore::instance()->GetOneRegion(QString()).size();
}

} // namespace

class tst_Demo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    // The command lines of the demo host, the simulator and the walk.
    void commandLines_data();
    void commandLines();
    void laterStartsKeepTheSiteAndTheLanguageOfTheFirst();
    void refusedSiteLeavesTheStoreAsItWas();
    void takenPortStopsTheStartWithAHint();
    void windowSwitchesPagesOpensTheWallsAndRetranslatesThem();
    void styleSheetStylesEveryStyleName();
    void styleSheetImagesHaveTheirSources();

private:
    DemoOptions optionsInDir(bool simulator) const;
    static QString parsed(const QString &program, const QStringList &arguments, int *outcome,
                          QString *message, bool seeded);

    std::unique_ptr<QTemporaryDir> dir;
};

void tst_Demo::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setApplicationName(QStringLiteral("matrix-client-test"));
}

void tst_Demo::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

void tst_Demo::cleanup()
{
    DATACore::UserManagerCore::instance()->close();
    dir.reset();
}

DemoOptions tst_Demo::optionsInDir(bool simulator) const
{
    DemoOptions options;
    options.dataFile = dir->filePath(QStringLiteral("data/centre.db"));
    options.simulator = simulator;
    options.x86Port = 0;
    options.linuxPort = 0;
    options.noStyle = true;
    return options;
}

// What a command line leaves in the options, as "name=value" words.
QString tst_Demo::parsed(const QString &program, const QStringList &arguments, int *outcome,
                         QString *message, bool seeded)
{
    const auto yes = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    if (program == QLatin1String("matrix-client")) {
        DemoOptions o;
        if (seeded)
            o.dataFile = QStringLiteral("untouched");
        if (outcome)
            *outcome = DemoCommandLine::parse(QStringList {program} + arguments, &o, message);
        return QStringLiteral("data=%1 simulator=%2 x86=%3 linux=%4 lang=%5 wall=%6 nostyle=%7")
                .arg(o.dataFile, yes(o.simulator))
                .arg(o.x86Port)
                .arg(o.linuxPort)
                .arg(o.language, yes(o.showWall), yes(o.noStyle));
    }
    if (program == QLatin1String("demo-walk")) {
        WalkOptions o;
        if (seeded)
            o.out = QStringLiteral("untouched");
        if (outcome)
            *outcome = WalkCommandLine::parse(QStringList {program} + arguments, &o, message);
        return QStringLiteral("out=%1 lang=%2 x86=%3 linux=%4 refusals=%5 onair=%6")
                .arg(o.out, o.language)
                .arg(o.x86Port)
                .arg(o.linuxPort)
                .arg(yes(o.refusals), yes(o.onAir));
    }
    MatrixSimulatorOptions o;
    MatrixSimulatorFaults f;
    SimulatorWallOptions w;
    if (seeded)
        o.x86Port = 1234;
    // "matrix-sim-core" parses without the wall options, as callers that do not show one.
    const bool withWall = program == QLatin1String("matrix-sim");
    if (outcome)
        *outcome = SimulatorCommandLine::parse(QStringList {program} + arguments, &o, &f, message,
                                               withWall ? &w : nullptr);
    QStringList accounts;
    for (const SimulatorAccount &a : o.x86Accounts)
        accounts << a.user + QLatin1Char('/') + a.password;
    QStringList refused;
    for (quint16 type : f.refusedRequests)
        refused << QString::number(type);
    return QStringLiteral("listen=%1 x86=%2 linux=%3 state=%4 outputs=%5 accounts=%6 "
                          "linux-account=%7 reboot=%8 polls=%9 ")
                   .arg(o.listenAddress.toString())
                   .arg(o.x86Port)
                   .arg(o.linuxPort)
                   .arg(o.stateFile)
                   .arg(o.x86Outputs)
                   .arg(accounts.join(QLatin1Char(',')), o.linuxAccounts.value(0).user)
                   .arg(o.rebootMs)
                   .arg(o.upgradePolls)
            + QStringLiteral("firmware=%1 usb=%2 delay=%3 silent=%4 garbage=%5 refused=%6 log=%7 "
                             "wall=%8 hang=%9")
                      .arg(o.firmwareVersion, o.usbFirmware)
                      .arg(f.answerDelayMs)
                      .arg(yes(f.silent), yes(f.garbageAnswers), refused.join(QLatin1Char(',')),
                           yes(o.logRequests), yes(w.show), w.linuxHang);
}

void tst_Demo::commandLines_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("outcome"); // the same four values in both command lines
    // Run: words of the parsed options; ShowHelp: options the help lists; Error: words of
    // the message, and the options stay untouched. What the three share (help, unknown options,
    // stray arguments, port values) is tried on one of them.
    QTest::addColumn<QString>("expected");
    const int run = DemoCommandLine::Run, help = DemoCommandLine::ShowHelp;
    const int version = DemoCommandLine::ShowVersion, error = DemoCommandLine::Error;
    const auto row = [](const char *name, const char *program, const QString &line, int outcome,
                        const QString &expected) {
        QTest::newRow(name) << QString::fromLatin1(program)
                            << (line.isEmpty() ? QStringList() : line.split(QLatin1Char(' ')))
                            << outcome << expected;
    };
    const char *demo = "matrix-client";
    const char *sim = "matrix-sim";

    row("demo: help", demo, "--help", help,
        "--data --no-simulator --x86-port --linux-port --state-file --linux-wall --lang "
        "--show-wall --style --no-style --site --log --help --version");
    row("demo: help with Qt's options", demo, "--help-all", help, "--data --x86-port");
    row("demo: version", demo, "--version", version, QString());
    row("demo: defaults", demo, QString(), run,
        "data= simulator=1 x86=9010 linux=6000 lang= wall=0 nostyle=0");
    row("demo: data file and other ports", demo,
        "--data /tmp/site.db --x86-port 9100 --linux-port 0", run,
        "data=/tmp/site.db simulator=1 x86=9100 linux=0");
    row("demo: no simulator", demo, "--no-simulator", run, "simulator=0 x86=9010 linux=6000");
    row("demo: Chinese, written as a locale", demo, "--lang zh-CN", run, "lang=zh_cn");
    row("demo: walls and no style", demo, "--show-wall --no-style", run, "wall=1 nostyle=1");
    row("demo: port too large", demo, "--x86-port 70000", error, "x86-port");
    row("demo: negative port", demo, "--linux-port -1", error, "linux-port");
    row("demo: same port twice", demo, "--x86-port 7000 --linux-port 7000", error, "same port");
    row("demo: style and no style", demo, "--style a.qss --no-style", error, "no-style");
    row("demo: walls without simulator", demo, "--show-wall --no-simulator", error, "show-wall");
    row("demo: stray argument", demo, "datacenter.db", error, "datacenter.db");
    row("demo: unknown option", demo, "--fast", error, "fast");
    QTest::newRow("demo: language with a space")
            << QString::fromLatin1(demo) << QStringList {"--lang", "zh cn"} << error << "lang";
    QTest::newRow("demo: empty data file")
            << QString::fromLatin1(demo) << QStringList {"--data", ""} << error << "data";

    row("simulator: help", sim, "--help", help,
        "--listen --x86-port --linux-port --no-x86 --no-linux --state-file --x86-outputs "
        "--x86-account --linux-account --reboot-ms --upgrade-polls --firmware-version "
        "--usb-firmware --answer-delay-ms --silent --garbage --refuse-x86 --quiet --show-wall "
        "--linux-wall --help --version");
    row("simulator: defaults", sim, QString(), run, "wall=0 hang= log=1");
    row("simulator: every option", sim,
        "--listen 127.0.0.2 --x86-port 9100 --no-linux --state-file /tmp/w.json --x86-outputs "
        "12 --x86-account op:pw:x --x86-account : --linux-account tech:1 --reboot-ms 250 "
        "--upgrade-polls 5 --firmware-version 2.1 --usb-firmware fw-3.bin --answer-delay-ms 40 "
        "--silent --garbage --refuse-x86 X86SetMirrorRect --refuse-x86 X86SetTurnState --quiet",
        run,
        QStringLiteral("listen=127.0.0.2 x86=9100 linux=-1 state=/tmp/w.json outputs=12 "
                       "accounts=op/pw:x,/ linux-account=tech reboot=250 polls=5 firmware=2.1 "
                       "usb=fw-3.bin delay=40 silent=1 garbage=1 refused=%1,%2 log=0")
                .arg(MatrixProtocol::X86SetMirrorRect)
                .arg(MatrixProtocol::X86SetTurnState));
    row("simulator: the wall", sim, "--show-wall --linux-wall 1x2:2,1", run, "wall=1 hang=1x2:2,1");
    row("simulator: the wall, not asked for", "matrix-sim-core", "--show-wall", run, "wall=0");
    row("simulator: port text", sim, "--x86-port ninety", error, "x86-port");
    row("simulator: no outputs", sim, "--x86-outputs 0", error, "x86-outputs");
    row("simulator: account without colon", sim, "--linux-account admin", error, "linux-account");
    row("simulator: address", sim, "--listen localhost:1", error, "listen");
    row("simulator: version", sim, "--firmware-version v2", error, "firmware-version");
    row("simulator: refused request unknown", sim, "--refuse-x86 X86Dance", error, "X86Dance");
    row("simulator: refused request of the Linux matrix", sim, "--refuse-x86 LinuxReboot", error,
        "LinuxReboot");

    const char *walk = "demo-walk";
    row("walk: help", walk, "--help", help,
        "--out --lang --x86-port --linux-port --refusals --on-air --reconnect --presets");
    row("walk: version", walk, "--version", version, QString());
    row("walk: defaults", walk, QString(), run,
        "out=. lang=en x86=9010 linux=6000 refusals=0 onair=0");
    row("walk: turn shows on air", walk, "--on-air", run, "refusals=0 onair=1");
    row("walk: two walks at once", walk, "--refusals --on-air", error, "on-air");
    row("walk: every option", walk,
        "--out /tmp/shots --lang zh-CN --x86-port 0 --linux-port 6100 --refusals", run,
        "out=/tmp/shots lang=zh_cn x86=0 linux=6100 refusals=1");
    row("walk: port not a number", walk, "--linux-port six", error, "linux-port");
    row("walk: same port twice", walk, "--x86-port 7000 --linux-port 7000", error, "same port");
    QTest::newRow("walk: empty folder")
            << QString::fromLatin1(walk) << QStringList {"--out", ""} << error << "out";
    QTest::newRow("walk: language with a space")
            << QString::fromLatin1(walk) << QStringList {"--lang", "zh cn"} << error << "lang";
}

void tst_Demo::commandLines()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(int, outcome);
    QFETCH(QString, expected);
    int got = -1;
    QString message;
    const QString options = parsed(program, arguments, &got, &message, outcome == 3);
    QCOMPARE(got, outcome);
    const QStringList words = options.split(QLatin1Char(' '));
    const QStringList wanted = expected.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    switch (outcome) {
    case DemoCommandLine::Run:
        for (const QString &word : wanted)
            QVERIFY2(words.contains(word), qPrintable(word + QLatin1String(" in ") + options));
        break;
    case DemoCommandLine::ShowHelp: {
        const QString help = program == QLatin1String("matrix-client") ? DemoCommandLine::helpText()
                : program == QLatin1String("demo-walk")                ? WalkCommandLine::helpText()
                                                        : SimulatorCommandLine::helpText();
        QCOMPARE(message, help);
        for (const QString &name : wanted)
            QVERIFY2(help.contains(name), qPrintable(name));
        break;
    }
    case DemoCommandLine::Error:
        QVERIFY2(message.contains(expected), qPrintable(message));
        QCOMPARE(options, parsed(program, {}, nullptr, nullptr, true));
        break;
    }
}

void tst_Demo::refusedSiteLeavesTheStoreAsItWas()
{
    const QString site = dir->filePath(QStringLiteral("bad-site.json"));
    QFile file(site);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"version": 1, "areas": [{"key": "a1", "name": "Hall"},
                  {"key": "a2", "name": "Yard", "parent": "nowhere"}]})");
    file.close();

    DemoOptions options = optionsInDir(false);
    options.siteFile = site;
    DemoHost host;
    QVERIFY(!host.start(options));
    QVERIFY2(host.errorString().contains(QLatin1String("nowhere")), qPrintable(host.errorString()));
    QCOMPARE(regionCount(), 0);

    // The next start with the sample site imports it.
    DemoHost second;
    QVERIFY2(second.start(optionsInDir(false)), qPrintable(second.errorString()));
    QVERIFY(second.importedSite());
    QVERIFY(regionCount() > 0);
}

// The first start, in Chinese and without the simulator: the sample site imported, settings and
// log beside the data, no walls; later starts import nothing again and keep the language.
void tst_Demo::laterStartsKeepTheSiteAndTheLanguageOfTheFirst()
{
    int regions = 0;
    {
        DemoOptions options = optionsInDir(false);
        options.language = QStringLiteral("zh_cn");
        DemoHost host;
        QVERIFY2(host.start(options), qPrintable(host.errorString()));
        QVERIFY(host.importedSite());
        regions = regionCount();
        QVERIFY(regions > 0);
        DATACore::UserManagerCore *core = DATACore::UserManagerCore::instance();
        QVERIFY(!core->getAllViews().isEmpty());
        QVERIFY(core->GetServers(QString()).isEmpty()); // servers are never pre-added
        const QString data = dir->filePath(QStringLiteral("data"));
        QCOMPARE(host.dataFile(), data + QStringLiteral("/centre.db"));
        QVERIFY(QFile::exists(host.dataFile()));
        QVERIFY(!host.simulator());
        QCOMPARE(PARSERXML::SystemConfig::instance()->configFile(),
                 data + QStringLiteral("/sysConfig.ini"));
        QCOMPARE(QLogger::instance()->logFile(), data + QStringLiteral("/log/matrix-client.log"));
        QCOMPARE(host.stateFile(), data + QStringLiteral("/matrix-walls.json"));
        // No matrix runs, so no walls are written.
        QVERIFY(!QFile::exists(host.stateFile()));
        QFile log(QLogger::instance()->logFile());
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().contains("simulator off"));

        QCOMPARE(host.language(), QStringLiteral("zh_cn"));
        QCOMPARE(LumoToolExt::LumoToolManager::instance()->uiLanguages(), QStringLiteral("zh_cn"));
        // The module's and the host's translations are installed while the host lives.
        const QString loaded = host.loadedTranslations().join(QLatin1Char(' '));
        QVERIFY2(loaded.contains(QLatin1String("digitalmatrix_zh_CN.qm")), qPrintable(loaded));
        QVERIFY2(loaded.contains(QLatin1String("lumohost_zh_CN.qm")), qPrintable(loaded));
        QCOMPARE(QCoreApplication::translate("LUMO_DIGITALMATRIX_MODULE::MatrixOperButtonsWt",
                                             "Config Matrix"),
                 QString::fromUtf8("配置矩阵"));
        QVERIFY(DemoCommandLine::helpText().contains(QString::fromUtf8("数据中心文件")));

        // Its window offers no simulated walls.
        LUMO_DIGITALMATRIX_MODULE::MatrixModuleConfig::instance();
        DemoMainWindow window(&host);
        QVERIFY(!window.showWallAction()->isEnabled());
        window.showSimulatedWalls();
        QVERIFY(!window.x86Wall());
        QVERIFY(!window.linuxWall());
    }
    QCOMPARE(QCoreApplication::translate("LUMO_DIGITALMATRIX_MODULE::MatrixOperButtonsWt",
                                         "Config Matrix"),
             QStringLiteral("Config Matrix"));
    {
        // The next start without --lang keeps the stored language.
        DemoHost host;
        QVERIFY2(host.start(optionsInDir(false)), qPrintable(host.errorString()));
        QVERIFY(!host.importedSite());
        QCOMPARE(regionCount(), regions);
        QCOMPARE(host.language(), QStringLiteral("zh_cn"));
    }
}

void tst_Demo::takenPortStopsTheStartWithAHint()
{
    QTcpServer taken;
    QVERIFY(taken.listen(QHostAddress::LocalHost));
    DemoOptions options = optionsInDir(true);
    options.x86Port = taken.serverPort();
    DemoHost host;
    QVERIFY(!host.start(options));
    QVERIFY(!host.simulator());
    QVERIFY2(host.errorString().contains(QLatin1String("--no-simulator")),
             qPrintable(host.errorString()));
}

// With the simulator: its walls kept beside the data, its requests in the host log; the window
// switches pages, opens the walls and retranslates them.
void tst_Demo::windowSwitchesPagesOpensTheWallsAndRetranslatesThem()
{
    DemoHost host;
    QVERIFY2(host.start(optionsInDir(true)), qPrintable(host.errorString()));
    MatrixSimulator *simulator = host.simulator();
    QVERIFY(simulator);
    QVERIFY(simulator->isRunning());
    QVERIFY(simulator->x86Port() != 0);
    QVERIFY(simulator->linuxPort() != 0);

    IMatrixConfig *config = GetMatrixConfig();
    QVERIFY(config);
    QCOMPARE(config->Connect("127.0.0.1", simulator->x86Port()), 0);
    QTRY_COMPARE(config->Login("", ""), 0);
    QCOMPARE(config->SetScreenCount(2, 3), 0); // sent; the matrix answers with a layout
    QTRY_COMPARE(simulator->x86State().rows, 2);
    config->Disconnect();
    ReleaseMatrixConfig(config);

    const QString walls = dir->filePath(QStringLiteral("data/matrix-walls.json"));
    auto storedX86 = [&walls] {
        QFile file(walls);
        if (!file.open(QIODevice::ReadOnly))
            return QJsonObject();
        return QJsonDocument::fromJson(file.readAll()).object().value("x86").toObject();
    };
    QTRY_COMPARE(storedX86().value("rows").toInt(), 2);
    QCOMPARE(storedX86().value("columns").toInt(), 3);
    // Requests go to the host log.
    QFile log(QLogger::instance()->logFile());
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(log.readAll().contains("matrix-sim: x86"));

    LUMO_DIGITALMATRIX_MODULE::MatrixModuleConfig::instance();
    DemoMainWindow window(&host);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    auto *page = window.configPage();
    auto *stack = page->findChild<QStackedWidget *>("stackedWidget");
    auto *hint = page->findChild<QWidget *>("pictureHint");
    QVERIFY(stack && hint);
    // No server yet: the picture hint.
    QVERIFY(hint->isVisible());
    QVERIFY(!stack->isVisible());
    auto *status = window.findChild<QLabel *>("demoStatusLabel");
    QVERIFY(status->text().contains(QString::number(host.simulator()->x86Port())));

    window.showMatrixPage(1);
    QVERIFY(!hint->isVisible());
    QVERIFY(stack->isVisible());
    QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("linuxMatrixPage"));
    window.showMatrixPage(0);
    QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("x86MatrixPage"));

    QVERIFY(window.showWallAction()->isEnabled());
    window.showWallAction()->trigger();
    QVERIFY(window.x86Wall() && window.linuxWall());
    QVERIFY(window.x86Wall()->isVisible());
    QVERIFY(window.linuxWall()->isVisible());
    QCOMPARE(window.linuxWall()->linuxHang().toString(), QStringLiteral("2x2:2,1,4,3"));
    // Asking again raises the same windows.
    SimulatedWallWindow *first = window.x86Wall();
    window.showSimulatedWalls();
    QCOMPARE(window.x86Wall(), first);

    // The language menu retranslates every window, and the language is kept.
    LUMO_DIGITALMATRIX_MODULE::_ModifyDigitalMatrixServerDlg dialog(&window, nullptr);
    dialog.show();

    const QString port = QString::number(host.simulator()->x86Port());
    const auto text = [&](QWidget *root, const char *name) {
        auto *button = root->findChild<QAbstractButton *>(QLatin1String(name));
        if (button)
            return button->text();
        auto *label = root->findChild<QLabel *>(QLatin1String(name));
        return label ? label->text() : QStringLiteral("(no %1)").arg(QLatin1String(name));
    };
    // What a person reads: the host's menu, both pages (form texts and texts set in code),
    // an open dialog and the simulated wall.
    const auto shown = [&] {
        return QStringList {window.menuBar()->actions().value(0)->text(),
                            text(&window, "configMatrixBt"),
                            text(&window, "stopAllTurnsBt"),
                            text(&window, "editServerBt"),
                            text(&window, "_stopAllTurnsBtn"),
                            text(&dialog, "title"),
                            window.x86Wall()->windowTitle()};
    };
    const QStringList english {QStringLiteral("&Matrix"),
                               QStringLiteral("Config Matrix"),
                               QStringLiteral("Stop All Turns"),
                               QStringLiteral("Edit"),
                               QStringLiteral("Stop all turns"),
                               QStringLiteral("Add DigitalMatrix Server"),
                               QStringLiteral("Simulated wall: X86 matrix on port ") + port};
    const QStringList chinese {QString::fromUtf8("矩阵(&M)"),
                               QString::fromUtf8("配置矩阵"),
                               QString::fromUtf8("停止全部轮巡"),
                               QString::fromUtf8("编辑"),
                               QString::fromUtf8("停止全部轮巡"),
                               QString::fromUtf8("添加数字矩阵服务器"),
                               QString::fromUtf8("模拟电视墙：X86矩阵，端口 ") + port};
    QCOMPARE(shown(), english);

    auto *toChinese = window.findChild<QAction *>(QStringLiteral("language_zh_cn"));
    auto *toEnglish = window.findChild<QAction *>(QStringLiteral("language_en"));
    QVERIFY(toChinese && toEnglish && toEnglish->isChecked());
    toChinese->trigger();
    QTRY_COMPARE(shown(), chinese);
    QVERIFY(toChinese->isChecked());
    // The required fields keep their mark after the retranslation.
    QVERIFY2(text(&dialog, "nameLabel").contains(QLatin1String("<sup>*</sup>")),
             qPrintable(text(&dialog, "nameLabel")));
    QCOMPARE(LumoToolExt::LumoToolManager::instance()->uiLanguages(), QStringLiteral("zh_cn"));

    toEnglish->trigger();
    QTRY_COMPARE(shown(), english);
    QCOMPARE(LumoToolExt::LumoToolManager::instance()->uiLanguages(), QStringLiteral("en"));
    QVERIFY(host.loadedTranslations().isEmpty());
}

// Every boolean style name the module and the stand-ins set, from the sources and the forms.
static QSet<QString> styleNamesInSources()
{
    QSet<QString> names;
    const QString root = QStringLiteral(DM_SOURCE_DIR);
    static const QRegularExpression code(
            QStringLiteral("setProperty\\(\"([A-Za-z_]+)\",\\s*(true|m_checked|false)\\)"));
    static const QRegularExpression form(
            QStringLiteral("<property name=\"([A-Za-z_]+)\" stdset=\"0\">\\s*<bool>true</bool>"));
    for (const QString &folder :
         {QStringLiteral("/src"), QStringLiteral("/host"), QStringLiteral("/forms")}) {
        QDirIterator it(root + folder, {QStringLiteral("*.cpp"), QStringLiteral("*.ui")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QString text = QString::fromUtf8(file.readAll());
            auto matches = (file.fileName().endsWith(QLatin1String(".ui")) ? form : code)
                                   .globalMatch(text);
            while (matches.hasNext())
                names.insert(matches.next().captured(1));
        }
    }
    return names;
}

static QString styleSheetText()
{
    QFile file(QStringLiteral(DM_SOURCE_DIR "/demo/config/qss/style_1/style_1.qss"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void tst_Demo::styleSheetStylesEveryStyleName()
{
    const QSet<QString> names = styleNamesInSources();
    // The names the host style sheet is known to select on must be found in the sources.
    for (const char *known :
         {"matrixcontrolbutton", "connectStatus", "lumo_blueButton", "lumo_whiteBodyWidget",
          "lumo_modifyServerTitle", "lumo_grayYaHei", "lumo_closeBt", "lumo_menu"})
        QVERIFY2(names.contains(QLatin1String(known)), known);
    const QString sheet = styleSheetText();
    QVERIFY(!sheet.isEmpty());
    QStringList unstyled;
    for (const QString &name : names) {
        if (!sheet.contains(QStringLiteral("[%1=\"true\"]").arg(name)))
            unstyled.append(name);
    }
    unstyled.sort();
    QVERIFY2(unstyled.isEmpty(), qPrintable(unstyled.join(QStringLiteral(", "))));
}

void tst_Demo::styleSheetImagesHaveTheirSources()
{
    static const QRegularExpression url(
            QStringLiteral("url\\(\\./config/qss/style_1/images/([A-Za-z0-9_]+)\\.png\\)"));
    QStringList images;
    auto it = url.globalMatch(styleSheetText());
    while (it.hasNext())
        images.append(it.next().captured(1));
    QVERIFY(images.size() > 10);
    // The module's own add-button icon is the host's too.
    images.append(QStringLiteral("matrix_addbtn_icon"));
    for (const QString &image : qAsConst(images)) {
        const QString svg =
                QStringLiteral(DM_SOURCE_DIR "/demo/config/qss/style_1/images/%1.svg").arg(image);
        QVERIFY2(QFile::exists(svg), qPrintable(svg));
        // Rendered by the build into the host folder, where the module and the sheet look.
        const QString png =
                QStringLiteral(DM_HOST_FOLDER "/config/qss/style_1/images/%1.png").arg(image);
        QImage rendered(png);
        QVERIFY2(!rendered.isNull(), qPrintable(png));
        QVERIFY(rendered.hasAlphaChannel());
    }
}

QTEST_MAIN(tst_Demo)
#include "tst_demo.moc"
