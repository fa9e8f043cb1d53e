// The demo host: its command line, what a first start sets up (data centre with the sample
// site, once; settings and log beside it; the built-in simulator or none), the language it
// keeps, and its window (the two pages, the simulated walls).
#include "DemoCommandLine.h"
#include "DemoHost.h"
#include "DemoMainWindow.h"

#include "DigitalMatrixConfigPage.h"
#include "MatrixModuleConfig.h"
#include "MatrixSimulator.h"
#include "SimulatedWallWindow.h"

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
#include <QStackedWidget>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(DemoCommandLine::Outcome)

namespace {

QStringList args(const QString &line)
{
    QStringList list {QStringLiteral("matrix-client")};
    if (!line.isEmpty())
        list += line.split(QLatin1Char(' '));
    return list;
}

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

    void helpListsEveryOption();
    void commandLineIsParsed_data();
    void commandLineIsParsed();
    void commandLineRefusesBadValues_data();
    void commandLineRefusesBadValues();
    void firstRunImportsTheSiteOnce();
    void refusedSiteLeavesTheStoreAsItWas();
    void startWithoutSimulatorKeepsEverythingBesideTheData();
    void startWithSimulatorKeepsTheWallsBesideTheData();
    void takenPortStopsTheStartWithAHint();
    void languageIsStoredAndReported();
    void windowSwitchesPagesAndOpensTheWalls();
    void windowWithoutSimulatorOffersNoWalls();
    void styleSheetStylesEveryStyleName();
    void styleSheetImagesHaveTheirSources();

private:
    DemoOptions optionsInDir(bool simulator) const;

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

void tst_Demo::helpListsEveryOption()
{
    const QString help = DemoCommandLine::helpText();
    const QStringList names {"--data",       "--no-simulator", "--x86-port", "--linux-port",
                             "--state-file", "--linux-wall",   "--lang",     "--show-wall",
                             "--style",      "--no-style",     "--site",     "--log",
                             "--help",       "--version"};
    for (const QString &name : names)
        QVERIFY2(help.contains(name), qPrintable(name));

    DemoOptions options;
    QString message;
    QCOMPARE(DemoCommandLine::parse(args(QStringLiteral("--help")), &options, &message),
             DemoCommandLine::ShowHelp);
    QCOMPARE(message, help);
    QCOMPARE(DemoCommandLine::parse(args(QStringLiteral("--version")), &options, &message),
             DemoCommandLine::ShowVersion);
}

void tst_Demo::commandLineIsParsed_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("dataFile");
    QTest::addColumn<bool>("simulator");
    QTest::addColumn<int>("x86Port");
    QTest::addColumn<int>("linuxPort");
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("showWall");
    QTest::addColumn<bool>("noStyle");

    QTest::newRow("defaults") << ""
                              << "" << true << 9010 << 6000 << "" << false << false;
    QTest::newRow("data file and other ports")
            << "--data /tmp/site.db --x86-port 9100 --linux-port 0"
            << "/tmp/site.db" << true << 9100 << 0 << "" << false << false;
    QTest::newRow("no simulator") << "--no-simulator"
                                  << "" << false << 9010 << 6000 << "" << false << false;
    QTest::newRow("Chinese, written as a locale")
            << "--lang zh-CN"
            << "" << true << 9010 << 6000 << "zh_cn" << false << false;
    QTest::newRow("walls and no style") << "--show-wall --no-style"
                                        << "" << true << 9010 << 6000 << "" << true << true;
}

void tst_Demo::commandLineIsParsed()
{
    QFETCH(QString, line);
    QFETCH(QString, dataFile);
    QFETCH(bool, simulator);
    QFETCH(int, x86Port);
    QFETCH(int, linuxPort);
    QFETCH(QString, language);
    QFETCH(bool, showWall);
    QFETCH(bool, noStyle);

    DemoOptions options;
    QString message;
    QCOMPARE(DemoCommandLine::parse(args(line), &options, &message), DemoCommandLine::Run);
    QCOMPARE(options.dataFile, dataFile);
    QCOMPARE(options.simulator, simulator);
    QCOMPARE(options.x86Port, x86Port);
    QCOMPARE(options.linuxPort, linuxPort);
    QCOMPARE(options.language, language);
    QCOMPARE(options.showWall, showWall);
    QCOMPARE(options.noStyle, noStyle);
}

void tst_Demo::commandLineRefusesBadValues_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("mentions");

    QTest::newRow("port too large") << args("--x86-port 70000") << "x86-port";
    QTest::newRow("negative port") << args("--linux-port -1") << "linux-port";
    QTest::newRow("port not a number") << args("--x86-port nine") << "x86-port";
    QTest::newRow("same port twice") << args("--x86-port 7000 --linux-port 7000") << "same port";
    QTest::newRow("language with a space")
            << QStringList({"matrix-client", "--lang", "zh cn"}) << "lang";
    QTest::newRow("empty data file") << QStringList({"matrix-client", "--data", ""}) << "data";
    QTest::newRow("style and no style") << args("--style a.qss --no-style") << "no-style";
    QTest::newRow("walls without simulator") << args("--show-wall --no-simulator") << "show-wall";
    QTest::newRow("stray argument") << args("datacenter.db") << "datacenter.db";
    QTest::newRow("unknown option") << args("--fast") << "fast";
}

void tst_Demo::commandLineRefusesBadValues()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, mentions);
    DemoOptions options;
    options.dataFile = QStringLiteral("untouched");
    QString message;
    QCOMPARE(DemoCommandLine::parse(arguments, &options, &message), DemoCommandLine::Error);
    QVERIFY2(message.contains(mentions), qPrintable(message));
    QCOMPARE(options.dataFile, QStringLiteral("untouched"));
}

void tst_Demo::firstRunImportsTheSiteOnce()
{
    DemoHost host; // makes the sample site's resource available
    DATACore::UserManagerCore *core = DATACore::UserManagerCore::instance();
    const QString file = dir->filePath(QStringLiteral("centre.db"));
    QVERIFY(core->open(file));
    bool imported = false;
    QString error;
    QVERIFY(DemoHost::importSiteIfFirstRun(core, QStringLiteral(":/demo/sample_site.json"),
                                           &imported, &error));
    QVERIFY(imported);
    const int regions = regionCount();
    QVERIFY(regions > 0);
    QVERIFY(!core->getAllViews().isEmpty());
    QVERIFY(core->GetServers(QString()).isEmpty()); // servers are never pre-added

    // A second start, in this process or the next, imports nothing again.
    QVERIFY(DemoHost::importSiteIfFirstRun(core, QStringLiteral(":/demo/sample_site.json"),
                                           &imported, &error));
    QVERIFY(!imported);
    core->close();
    QVERIFY(core->open(file));
    QVERIFY(DemoHost::importSiteIfFirstRun(core, QStringLiteral(":/demo/sample_site.json"),
                                           &imported, &error));
    QVERIFY(!imported);
    QCOMPARE(regionCount(), regions);
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

void tst_Demo::startWithoutSimulatorKeepsEverythingBesideTheData()
{
    DemoHost host;
    QVERIFY2(host.start(optionsInDir(false)), qPrintable(host.errorString()));
    const QString data = dir->filePath(QStringLiteral("data"));
    QCOMPARE(host.dataFile(), data + QStringLiteral("/centre.db"));
    QVERIFY(QFile::exists(host.dataFile()));
    QVERIFY(host.importedSite());
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
}

void tst_Demo::startWithSimulatorKeepsTheWallsBesideTheData()
{
    DemoHost host;
    QVERIFY2(host.start(optionsInDir(true)), qPrintable(host.errorString()));
    MatrixSimulator *simulator = host.simulator();
    QVERIFY(simulator);
    QVERIFY(simulator->isRunning());
    QVERIFY(simulator->x86Port() != 0);
    QVERIFY(simulator->linuxPort() != 0);
    QCOMPARE(host.linuxHang().toString(), QStringLiteral("2x2:2,1,4,3"));

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

void tst_Demo::languageIsStoredAndReported()
{
    {
        DemoOptions options = optionsInDir(false);
        options.language = QStringLiteral("zh_cn");
        DemoHost host;
        QVERIFY2(host.start(options), qPrintable(host.errorString()));
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
    }
    QCOMPARE(QCoreApplication::translate("LUMO_DIGITALMATRIX_MODULE::MatrixOperButtonsWt",
                                         "Config Matrix"),
             QStringLiteral("Config Matrix"));
    {
        // The next start without --lang keeps the stored language.
        DemoHost host;
        QVERIFY2(host.start(optionsInDir(false)), qPrintable(host.errorString()));
        QCOMPARE(host.language(), QStringLiteral("zh_cn"));
    }
    {
        DemoOptions options = optionsInDir(false);
        options.language = QStringLiteral("en");
        DemoHost host;
        QVERIFY2(host.start(options), qPrintable(host.errorString()));
        QCOMPARE(LumoToolExt::LumoToolManager::instance()->uiLanguages(), QStringLiteral("en"));
        QVERIFY(host.loadedTranslations().isEmpty());
    }
}

void tst_Demo::windowSwitchesPagesAndOpensTheWalls()
{
    DemoHost host;
    QVERIFY2(host.start(optionsInDir(true)), qPrintable(host.errorString()));
    LUMO_DIGITALMATRIX_MODULE::MatrixModuleConfig::instance();
    DemoMainWindow window(&host);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    auto *page = window.configPage();
    auto *stack = page->findChild<QStackedWidget *>(QStringLiteral("stackedWidget"));
    auto *hint = page->findChild<QWidget *>(QStringLiteral("pictureHint"));
    QVERIFY(stack && hint);
    // No server yet: the picture hint.
    QVERIFY(hint->isVisible());
    QVERIFY(!stack->isVisible());
    auto *status = window.findChild<QLabel *>(QStringLiteral("demoStatusLabel"));
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
}

void tst_Demo::windowWithoutSimulatorOffersNoWalls()
{
    DemoHost host;
    QVERIFY2(host.start(optionsInDir(false)), qPrintable(host.errorString()));
    LUMO_DIGITALMATRIX_MODULE::MatrixModuleConfig::instance();
    DemoMainWindow window(&host);
    QVERIFY(!window.showWallAction()->isEnabled());
    window.showSimulatedWalls();
    QVERIFY(!window.x86Wall());
    QVERIFY(!window.linuxWall());
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
