// What the demo host sets up before it shows the module: settings, log, data centre (with the
// sample site on the first run), translations, style sheet, and the built-in matrix simulator.
#pragma once

#include "DemoOptions.h"
#include "SimulatedWallScene.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class MatrixSimulator;
class QTranslator;

namespace DATACore {
class UserManagerCore;
}

class DemoHost : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(DemoHost)

public:
    explicit DemoHost(QObject *parent = nullptr);
    ~DemoHost() override;

    // Sets everything up in order: paths, settings and log, language, data centre, first-run
    // import, host folder and style sheet, simulator. False with errorString() when the demo
    // cannot run (data centre or simulator cannot start, bad option values).
    bool start(const DemoOptions &options);
    QString errorString() const { return m_error; }

    QString dataFile() const { return m_dataFile; }
    QString stateFile() const { return m_stateFile; }
    QString logFile() const { return m_logFile; }
    // The folder that holds config/qss/style_1; the demo runs with it as working directory,
    // as the host client does. Empty when none was found.
    QString hostFolder() const { return m_hostFolder; }
    QString styleFile() const { return m_styleFile; }
    QString language() const { return m_language; }
    // Stores language as the one of the next start and installs its translations now, so that
    // every window retranslates. False with errorString() when it cannot be stored; nothing
    // changes then.
    bool switchLanguage(const QString &language);
    // The translation files that were loaded.
    QStringList loadedTranslations() const { return m_loadedTranslations; }
    // True when this start imported the site into an empty data centre.
    bool importedSite() const { return m_importedSite; }
    // The built-in matrix simulator; null with --no-simulator.
    MatrixSimulator *simulator() const { return m_simulator.get(); }
    LinuxWallHang linuxHang() const { return m_hang; }
    // Problems that did not stop the start (missing style sheet, missing translation).
    QStringList warnings() const { return m_warnings; }

    // The data centre file used when none is given.
    static QString defaultDataFile();
    // Imports siteFile when the data centre holds no area yet. *imported tells whether it
    // did; false with *error when the import was refused (the store is left as it was).
    static bool importSiteIfFirstRun(DATACore::UserManagerCore *core, const QString &siteFile,
                                     bool *imported, QString *error);
    // Folders searched for the compiled translations, most specific first.
    static QStringList translationFolders();

private:
    bool fail(const QString &text);
    void installTranslations();
    void findHostFolder();
    void applyStyleSheet(const QString &givenFile);
    bool startSimulator(const DemoOptions &options);

    QString m_error;
    QString m_dataFile;
    QString m_stateFile;
    QString m_logFile;
    QString m_hostFolder;
    QString m_styleFile;
    QString m_language;
    QStringList m_loadedTranslations;
    QStringList m_warnings;
    bool m_importedSite = false;
    LinuxWallHang m_hang;
    std::unique_ptr<MatrixSimulator> m_simulator;
    QList<QTranslator *> m_translators;
};
