// The Simplified Chinese translation of the module and of the host stand-ins: every message
// of the .ts files is translated (placeholders kept) and the compiled .qm files give that
// translation, and the .ts files hold every text of the sources (that the pages and dialogs
// show no English with the translation installed: tst_consolefit).
#include "TestData.h"
#include "UserManagerCore.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

namespace {

const QString TranslationsDir = QStringLiteral(DM_TRANSLATIONS_DIR);
const QString SourceDir = QStringLiteral(DM_SOURCE_DIR);

struct Message
{
    QString context;
    QString source;
    QString translation;
    QString type; // "", "unfinished", "vanished", "obsolete"
    bool numerus = false;
};

QList<Message> readTs(const QString &file, QString *error)
{
    QList<Message> messages;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = in.errorString();
        return messages;
    }
    QXmlStreamReader xml(&in);
    QString context;
    Message current;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (name == QLatin1String("message")) {
                current = Message();
                current.context = context;
                current.numerus =
                        xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
            } else if (name == QLatin1String("source")) {
                current.source = xml.readElementText();
            } else if (name == QLatin1String("translation")) {
                current.type = xml.attributes().value(QLatin1String("type")).toString();
                current.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            messages.append(current);
        }
    }
    if (xml.hasError())
        *error = xml.errorString();
    return messages;
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("%L?\\d+"));
    QStringList found;
    auto it = pattern.globalMatch(text);
    while (it.hasNext())
        found.append(it.next().captured());
    found.sort();
    return found;
}

QSet<QString> keys(const QList<Message> &messages)
{
    QSet<QString> set;
    for (const Message &message : messages)
        set.insert(message.context + QStringLiteral(" | ") + message.source);
    return set;
}

} // namespace

class tst_Translations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void everyTextOfTheSourcesIsTranslated_data();
    void everyTextOfTheSourcesIsTranslated();

private:
    QList<QTranslator *> translators;
    std::unique_ptr<QTemporaryDir> dir;
};

void tst_Translations::initTestCase()
{
    for (const QString &name :
         {QStringLiteral("lumohost_zh_CN"), QStringLiteral("digitalmatrix_zh_CN")}) {
        auto *translator = new QTranslator(this);
        QVERIFY2(translator->load(name, TranslationsDir),
                 qPrintable(QStringLiteral("%1.qm in %2").arg(name, TranslationsDir)));
        QCoreApplication::installTranslator(translator);
        translators.append(translator);
    }
    openTestDataCentre(dir);
}

void tst_Translations::cleanupTestCase()
{
    for (QTranslator *translator : qAsConst(translators))
        QCoreApplication::removeTranslator(translator);
    DATACore::UserManagerCore::instance()->close();
}

void tst_Translations::everyTextOfTheSourcesIsTranslated_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("atLeast");
    QTest::addColumn<QStringList>("folders");
    QTest::newRow("module") << QStringLiteral("digitalmatrix_zh_CN.ts") << 200
                            << QStringList({SourceDir + "/src", SourceDir + "/forms"});
    QTest::newRow("host") << QStringLiteral("lumohost_zh_CN.ts") << 50
                          << QStringList({SourceDir + "/host", SourceDir + "/demo",
                                          SourceDir + "/simulator/wall"});
}

void tst_Translations::everyTextOfTheSourcesIsTranslated()
{
    QFETCH(QString, file);
    QFETCH(int, atLeast);
    QFETCH(QStringList, folders);
    QString error;
    const QList<Message> messages =
            readTs(SourceDir + QStringLiteral("/translations/") + file, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(messages.size() >= atLeast);
    QStringList problems;
    for (const Message &message : messages) {
        const QString where = message.context + QStringLiteral(": ") + message.source;
        if (!message.type.isEmpty())
            problems.append(QStringLiteral("%1 is %2").arg(where, message.type));
        else if (message.translation.trimmed().isEmpty())
            problems.append(where + QStringLiteral(" has no translation"));
        else if (placeholders(message.translation) != placeholders(message.source))
            problems.append(where + QStringLiteral(" loses or adds a placeholder"));
        // The compiled translations, installed, give the same text.
        else if (!message.numerus
                 && QCoreApplication::translate(message.context.toUtf8().constData(),
                                                message.source.toUtf8().constData())
                         != message.translation)
            problems.append(where + QStringLiteral(" is translated otherwise by the .qm files"));
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));

    // The .ts file holds every text of its sources, and no other.
    const QString lupdate = QStringLiteral(DM_LUPDATE);
    if (lupdate.isEmpty() || !QFileInfo(lupdate).isExecutable())
        QSKIP("lupdate (qttools5-dev-tools) is not installed; the .ts files cannot be compared "
              "with the sources");

    const QString fresh = dir->filePath(file);
    QFile::remove(fresh);
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(lupdate,
                  QStringList({QStringLiteral("-silent"), QStringLiteral("-no-obsolete"),
                               QStringLiteral("-locations"), QStringLiteral("none")})
                          + folders + QStringList({QStringLiteral("-ts"), fresh}));
    QVERIFY(process.waitForFinished(60000));
    QVERIFY2(process.exitCode() == 0, process.readAll().constData());

    const QSet<QString> inSources = keys(readTs(fresh, &error));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QSet<QString> inTs = keys(messages);
    QVERIFY(!inSources.isEmpty());
    QStringList missing = QSet<QString>(inSources).subtract(inTs).values();
    missing.sort();
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("not in %1 (run the update_translations target and "
                                       "translate):\n%2")
                                .arg(file, missing.join(QLatin1Char('\n')))));
    QStringList stale = QSet<QString>(inTs).subtract(inSources).values();
    stale.sort();
    QVERIFY2(stale.isEmpty(),
             qPrintable(QStringLiteral("no longer in the sources:\n")
                        + stale.join(QLatin1Char('\n'))));
}

QTEST_MAIN(tst_Translations)
#include "tst_translations.moc"
