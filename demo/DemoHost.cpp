#include "DemoHost.h"

#include "MatrixSimulator.h"

#include "LumoToolManager.h"
#include "QLogger.h"
#include "SystemConfig.h"
#include "UserManagerCore.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>

namespace {

const QString SampleSite = QStringLiteral(":/demo/sample_site.json");
const QString StyleFolder = QStringLiteral("config/qss/style_1");
const QString DefaultStyle = QStringLiteral("config/qss/style_1/style_1.qss");
// The demo's simulated Linux wall hangs its screens crossed, so that matching the matrix's
// screen numbers to the screens matters.
const QString DefaultLinuxHang = QStringLiteral("2x2:2,1,4,3");

QString absolute(const QString &path)
{
    return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
}

} // namespace

DemoHost::DemoHost(QObject *parent)
    : QObject(parent)
{
    // The sample site lives in the demo library's resources.
    Q_INIT_RESOURCE(demo);
}

DemoHost::~DemoHost()
{
    if (m_simulator)
        m_simulator->stop();
    for (QTranslator *translator : qAsConst(m_translators))
        QCoreApplication::removeTranslator(translator);
}

QString DemoHost::defaultDataFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
            + QStringLiteral("/datacenter.db");
}

QStringList DemoHost::translationFolders()
{
    const QString app = QCoreApplication::applicationDirPath();
    return {app + QStringLiteral("/translations"), app + QStringLiteral("/../translations"),
            app + QStringLiteral("/../share/digitalmatrix/translations")};
}

bool DemoHost::fail(const QString &text)
{
    m_error = text;
    return false;
}

bool DemoHost::importSiteIfFirstRun(DATACore::UserManagerCore *core, const QString &siteFile,
                                    bool *imported, QString *error)
{
    *imported = false;
    if (!core->isOpen()) {
        *error = QStringLiteral("the data centre is not open");
        return false;
    }
    if (!core->GetOneRegion(QString()).isEmpty())
        return true;
    if (!core->importSiteFile(siteFile)) {
        *error = core->lastError();
        return false;
    }
    *imported = true;
    return true;
}

bool DemoHost::start(const DemoOptions &options)
{
    m_error.clear();
    m_warnings.clear();

    // Paths given on the command line are relative to where the demo was started.
    m_dataFile = absolute(options.dataFile.isEmpty() ? defaultDataFile() : options.dataFile);
    const QString dataFolder = QFileInfo(m_dataFile).absolutePath();
    if (!QDir().mkpath(dataFolder))
        return fail(tr("Cannot create the folder %1.").arg(dataFolder));
    m_stateFile =
            absolute(options.stateFile.isEmpty() ? dataFolder + QStringLiteral("/matrix-walls.json")
                                                 : options.stateFile);
    m_logFile = absolute(options.logFile.isEmpty()
                                 ? dataFolder + QStringLiteral("/log/matrix-client.log")
                                 : options.logFile);
    const QString siteFile = options.siteFile.isEmpty() ? SampleSite : absolute(options.siteFile);
    const QString styleFile = absolute(options.styleFile);

    const QString hangText = options.linuxHang.isEmpty() ? DefaultLinuxHang : options.linuxHang;
    QString hangError;
    if (!LinuxWallHang::parse(hangText, &m_hang, &hangError))
        return fail(tr("Bad value for --linux-wall: %1").arg(hangError));

    // The host's settings file and log live beside the data centre.
    PARSERXML::SystemConfig::instance()->setConfigFile(dataFolder
                                                       + QStringLiteral("/sysConfig.ini"));
    QLogger::instance()->setLogFile(m_logFile);

    if (!options.language.isEmpty()
        && !LumoToolExt::LumoToolManager::instance()->setUiLanguage(options.language)) {
        return fail(
                tr("Cannot store the language %1 in %2.")
                        .arg(options.language, PARSERXML::SystemConfig::instance()->configFile()));
    }
    m_language = LumoToolExt::LumoToolManager::instance()->uiLanguages();
    installTranslations();

    DATACore::UserManagerCore *core = DATACore::UserManagerCore::instance();
    if (!core->open(m_dataFile))
        return fail(tr("Cannot open the data centre %1: %2").arg(m_dataFile, core->lastError()));
    QString importError;
    if (!importSiteIfFirstRun(core, siteFile, &m_importedSite, &importError))
        return fail(tr("Cannot import the site %1: %2").arg(siteFile, importError));

    findHostFolder(); // changes the working directory
    m_styleFile.clear();
    if (!options.noStyle)
        applyStyleSheet(styleFile);

    if (options.simulator && !startSimulator(options))
        return false;

    QLogger::instance()->LogInfo(
            QStringLiteral("matrix-client started: data centre %1, language %2, simulator %3")
                    .arg(m_dataFile, m_language,
                         m_simulator ? QStringLiteral("X86 port %1, Linux port %2")
                                               .arg(m_simulator->x86Port())
                                               .arg(m_simulator->linuxPort())
                                     : QStringLiteral("off")));
    for (const QString &warning : qAsConst(m_warnings))
        QLogger::instance()->LogInfo(QStringLiteral("matrix-client: ") + warning);
    return true;
}

bool DemoHost::switchLanguage(const QString &language)
{
    if (!LumoToolExt::LumoToolManager::instance()->setUiLanguage(language)) {
        return fail(tr("Cannot store the language %1 in %2.")
                            .arg(language, PARSERXML::SystemConfig::instance()->configFile()));
    }
    m_language = LumoToolExt::LumoToolManager::instance()->uiLanguages();
    m_warnings.clear();
    installTranslations();
    QLogger::instance()->LogInfo(QStringLiteral("matrix-client: language %1").arg(m_language));
    return true;
}

void DemoHost::installTranslations()
{
    for (QTranslator *translator : qAsConst(m_translators)) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    m_translators.clear();
    m_loadedTranslations.clear();
    if (!m_language.startsWith(QLatin1String("zh"), Qt::CaseInsensitive))
        return;

    // Qt's own texts first, then the host's and the module's, which win over them.
    struct Catalogue
    {
        QString name;
        QStringList folders;
        bool required;
    };
    const QList<Catalogue> catalogues = {
            {QStringLiteral("qtbase_zh_CN"),
             {QLibraryInfo::location(QLibraryInfo::TranslationsPath)},
             false},
            {QStringLiteral("lumohost_zh_CN"), translationFolders(), true},
            {QStringLiteral("digitalmatrix_zh_CN"), translationFolders(), true},
    };
    for (const Catalogue &catalogue : catalogues) {
        bool loaded = false;
        for (const QString &folder : catalogue.folders) {
            auto *translator = new QTranslator(this);
            if (translator->load(catalogue.name, folder)) {
                QCoreApplication::installTranslator(translator);
                m_translators.append(translator);
                m_loadedTranslations.append(QDir::cleanPath(
                        folder + QLatin1Char('/') + catalogue.name + QStringLiteral(".qm")));
                loaded = true;
                break;
            }
            delete translator;
        }
        if (!loaded && catalogue.required) {
            m_warnings.append(
                    tr("No translation %1.qm was found in %2.")
                            .arg(catalogue.name, catalogue.folders.join(QStringLiteral(", "))));
        }
    }
}

void DemoHost::findHostFolder()
{
    // The module loads the host's images relative to the working directory, as the host
    // client runs from its own folder: use the first folder that has them.
    const QString app = QCoreApplication::applicationDirPath();
    const QStringList candidates = {QDir::currentPath(), app,
                                    app + QStringLiteral("/../share/digitalmatrix")};
    m_hostFolder.clear();
    for (const QString &candidate : candidates) {
        if (QFileInfo(candidate + QLatin1Char('/') + StyleFolder).isDir()) {
            m_hostFolder = QDir::cleanPath(candidate);
            break;
        }
    }
    if (m_hostFolder.isEmpty()) {
        m_warnings.append(tr("No host folder with %1 was found; the demo runs without the "
                             "host's images.")
                                  .arg(StyleFolder));
        return;
    }
    QDir::setCurrent(m_hostFolder);
}

void DemoHost::applyStyleSheet(const QString &givenFile)
{
    m_styleFile = givenFile;
    if (m_styleFile.isEmpty() && !m_hostFolder.isEmpty())
        m_styleFile = m_hostFolder + QLatin1Char('/') + DefaultStyle;
    if (m_styleFile.isEmpty())
        return;
    QFile file(m_styleFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        m_warnings.append(
                tr("Cannot read the style sheet %1: %2").arg(m_styleFile, file.errorString()));
        m_styleFile.clear();
        return;
    }
    if (auto *app = qobject_cast<QApplication *>(QCoreApplication::instance()))
        app->setStyleSheet(QString::fromUtf8(file.readAll()));
}

bool DemoHost::startSimulator(const DemoOptions &options)
{
    MatrixSimulatorOptions simulatorOptions;
    simulatorOptions.x86Port = options.x86Port;
    simulatorOptions.linuxPort = options.linuxPort;
    simulatorOptions.stateFile = m_stateFile;
    // Requests go to the host log, not to the terminal.
    simulatorOptions.logRequests = false;
    m_simulator = std::make_unique<MatrixSimulator>();
    connect(m_simulator.get(), &MatrixSimulator::requestLogged, this, [](const QString &line) {
        QLogger::instance()->LogInfo(QStringLiteral("matrix-sim: ") + line);
    });
    if (!m_simulator->start(simulatorOptions)) {
        const QString why = m_simulator->errorString();
        m_simulator.reset();
        return fail(tr("The built-in matrix simulator cannot start: %1\nChoose other ports with "
                       "--x86-port and --linux-port, or use --no-simulator to connect to a "
                       "matrix-sim that already runs.")
                            .arg(why));
    }
    return true;
}
