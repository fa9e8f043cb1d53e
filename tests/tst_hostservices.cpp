// Host services: log file, settings, UI language, GBK conversion and the integer validator.
#include "AlgorithmCollection.h"
#include "IntValidator.h"
#include "LumoToolManager.h"
#include "QLogger.h"
#include "SystemConfig.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <thread>
#include <vector>

using COMMONUSELIB::AlgorithmCollection;
using COMMONUSELIB::IntValidator;
using LumoToolExt::LumoToolManager;
using PARSERXML::SystemConfig;

namespace {

QStringList readLines(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void writeFile(const QString &fileName, const QByteArray &content)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), qint64(content.size()));
}

const QRegularExpression LinePattern(
        QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3} \[0x[0-9a-f]+\] (.*)$)"));

} // namespace

class TestHostServices : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();

    void logger_linesFromManyThreadsAreWholeAndComplete();
    void logger_oneLinePerCallAppendedAndUnwritableFilesReported();

    void systemConfig_matrixCode_data();
    void systemConfig_matrixCode();
    void systemConfig_languageAndValuesReachTheFileInTheWorkingDirectory();

    void utf8ToGbk_data();
    void utf8ToGbk();
    void utf8ToGbk_ignoresBadArguments();

    void intValidator_states_data();
    void intValidator_states();

private:
    QString file(const char *name) const { return m_dir->filePath(QString::fromLatin1(name)); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestHostServices::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QLogger::instance()->setLogFile(file("host.log"));
    SystemConfig::instance()->setConfigFile(file("sysConfig.ini"));
}

void TestHostServices::cleanup()
{
    QLogger::instance()->setLogFile(QString());
    SystemConfig::instance()->setConfigFile(QString());
    m_dir.reset();
}

void TestHostServices::logger_linesFromManyThreadsAreWholeAndComplete()
{
    const int threads = 8;
    const int perThread = 250;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([t] {
            for (int i = 0; i < perThread; ++i) {
                const QString text = QStringLiteral("worker %1 line %2 %3")
                                             .arg(t)
                                             .arg(i)
                                             .arg(QString(120, QLatin1Char('x')));
                // Both overloads share the file.
                if (i % 2)
                    QLogger::instance()->LogInfo(text);
                else
                    QLogger::instance()->LogInfo(text.toUtf8().constData());
            }
        });
    }
    for (std::thread &worker : workers)
        worker.join();

    const QStringList lines = readLines(file("host.log"));
    QCOMPARE(lines.size(), threads * perThread);
    const QRegularExpression body(QStringLiteral("^worker (\\d+) line (\\d+) x{120}$"));
    QVector<int> next(threads, 0);
    QVector<QSet<QString>> threadIds(threads);
    for (const QString &line : lines) {
        const QRegularExpressionMatch inner = body.match(LinePattern.match(line).captured(1));
        QVERIFY2(inner.hasMatch(), qPrintable(line));
        const int t = inner.captured(1).toInt();
        // Each thread's lines appear in the order it wrote them, none lost.
        QCOMPARE(inner.captured(2).toInt(), next[t]++);
        threadIds[t].insert(line.section(QLatin1Char(' '), 1, 1));
    }
    for (int t = 0; t < threads; ++t) {
        QCOMPARE(next[t], perThread);
        QCOMPARE(threadIds[t].size(), 1);
    }
}

void TestHostServices::logger_oneLinePerCallAppendedAndUnwritableFilesReported()
{
    QLogger *logger = QLogger::instance();
    logger->LogInfo(QStringLiteral("first\nsecond\r\nthird"));
    logger->LogInfo("矩阵 connected");
    logger->LogInfo(static_cast<const char *>(nullptr));
    logger->LogInfo(QString());

    QStringList bodies;
    for (const QString &line : readLines(file("host.log"))) {
        QVERIFY2(LinePattern.match(line).hasMatch(), qPrintable(line));
        bodies << LinePattern.match(line).captured(1);
    }
    QCOMPARE(bodies,
             (QStringList {"first\\nsecond\\nthird", "矩阵 connected", QString(), QString()}));

    logger->setLogFile(file("host.log"));
    logger->LogInfo(QStringLiteral("again"));
    QCOMPARE(readLines(file("host.log")).size(), 5);

    // Without a file set, the default one is created on the first line.
    logger->setLogFile(QString());
    const QString log = logger->logFile();
    QVERIFY2(log.startsWith(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)),
             qPrintable(log));
    QFile::remove(log);
    logger->LogInfo(QStringLiteral("default file line"));
    const QStringList lines = readLines(log);
    QFile::remove(log);
    QCOMPARE(lines.size(), 1);
    QVERIFY(lines.first().endsWith(QLatin1String("] default file line")));

    // A folder cannot be created where a file already is.
    writeFile(file("plain-file"), "not a folder");
    logger->setLogFile(file("plain-file") + QStringLiteral("/log/host.log"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot write")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("\\] lost line one$")));
    logger->LogInfo(QStringLiteral("lost line one"));
    // The failure is reported once; later lines still reach the message log.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("\\] lost line two$")));
    logger->LogInfo("lost line two");
    logger->setLogFile(file("back.log"));
    logger->LogInfo(QStringLiteral("written again"));
    QCOMPARE(readLines(file("back.log")).size(), 1);

    SystemConfig::instance()->setConfigFile(file("plain-file") + QStringLiteral("/sysConfig.ini"));
    QVERIFY(!SystemConfig::instance()->setValue(QStringLiteral("Stream/matrixCode"),
                                                QStringLiteral("2")));
    QCOMPARE(SystemConfig::instance()->getMatrixVideoBitStream(), 1);
}

void TestHostServices::systemConfig_matrixCode_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("expected");
    QTest::newRow("no key") << QByteArray("[Stream]\nother=5\n") << 1;
    QTest::newRow("spaces") << QByteArray("[Stream]\nmatrixCode = 2 \n") << 2;
    QTest::newRow("text") << QByteArray("[Stream]\nmatrixCode=main\n") << 1;
    QTest::newRow("empty") << QByteArray("[Stream]\nmatrixCode=\n") << 1;
    QTest::newRow("other group") << QByteArray("[UI]\nmatrixCode=2\n") << 1;
}

void TestHostServices::systemConfig_matrixCode()
{
    QFETCH(QByteArray, content);
    QFETCH(int, expected);
    writeFile(SystemConfig::instance()->configFile(), content);
    QCOMPARE(SystemConfig::instance()->getMatrixVideoBitStream(), expected);
}

void TestHostServices::systemConfig_languageAndValuesReachTheFileInTheWorkingDirectory()
{
    LumoToolManager *tools = LumoToolManager::instance();
    QCOMPARE(tools->uiLanguages(), QStringLiteral("en"));
    QVERIFY(tools->setUiLanguage(QStringLiteral("zh_cn")));
    QCOMPARE(tools->uiLanguages(), QStringLiteral("zh_cn"));
    const QSettings stored(SystemConfig::instance()->configFile(), QSettings::IniFormat);
    QCOMPARE(stored.value(QStringLiteral("UI/language")).toString(), QStringLiteral("zh_cn"));

    for (const QString &nonsense : {QString(), QStringLiteral("zh cn"), QStringLiteral("../en"),
                                    QStringLiteral("e"), QStringLiteral("en\n[Stream]")}) {
        QVERIFY2(!tools->setUiLanguage(nonsense), qPrintable(nonsense));
        QCOMPARE(tools->uiLanguages(), QStringLiteral("zh_cn"));
    }
    QVERIFY(tools->setUiLanguage(QStringLiteral("en")));
    QCOMPARE(tools->uiLanguages(), QStringLiteral("en"));

    SystemConfig *config = SystemConfig::instance();
    config->setConfigFile(QString());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    const QString configFile = config->configFile();
    const bool written = config->setValue(QStringLiteral("Stream/matrixCode"), QStringLiteral("2"))
            && config->setValue(QStringLiteral("Site/name"), QStringLiteral("总部"));
    const int code = config->getMatrixVideoBitStream();
    const QString name = config->value(QStringLiteral("Site/name"));
    const bool emptyKeyRefused = !config->setValue(QString(), QStringLiteral("x"));
    QVERIFY(QDir::setCurrent(previous));

    QCOMPARE(QFileInfo(configFile).canonicalFilePath(),
             QFileInfo(file("sysConfig.ini")).canonicalFilePath());
    QVERIFY(written);
    QVERIFY(emptyKeyRefused);
    QCOMPARE(code, 2);
    QCOMPARE(name, QStringLiteral("总部"));
    // What the module reads directly from the file.
    const QSettings direct(file("sysConfig.ini"), QSettings::IniFormat);
    QCOMPARE(direct.value(QStringLiteral("Stream/matrixCode")).toString(), QStringLiteral("2"));
}

void TestHostServices::utf8ToGbk_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("inPlace");
    QTest::addColumn<QByteArray>("expectedHex");
    const QString chinese = QStringLiteral("中文数字矩阵");
    QTest::newRow("chinese") << chinese << 64 << false << QByteArray("d6d0cec4cafdd7d6bed8d5f3");
    QTest::newRow("exact fit") << chinese << 13 << false << QByteArray("d6d0cec4cafdd7d6bed8d5f3");
    QTest::newRow("one byte short") << chinese << 12 << false << QByteArray("d6d0cec4cafdd7d6bed8");
    QTest::newRow("odd room") << chinese << 6 << false << QByteArray("d6d0cec4");
    QTest::newRow("room for half") << chinese << 2 << false << QByteArray("");
    QTest::newRow("only terminator") << chinese << 1 << false << QByteArray("");
    QTest::newRow("mixed cut in character")
            << QStringLiteral("Cam 1 大厅") << 10 << false << QByteArray("43616d203120b4f3");
    QTest::newRow("later ascii not squeezed in")
            << QStringLiteral("a中b") << 3 << false << QByteArray("61");
    QTest::newRow("space inside") << QStringLiteral("北侧围墙 热成像") << 64 << false
                                  << QByteArray("b1b1b2e0cea7c7bd20c8c8b3c9cff1");
    QTest::newRow("not in gbk") << QString::fromUtf8("a\xF0\x9F\x98\x80"
                                                     "b")
                                << 16 << false << QByteArray("613f62");
    QTest::newRow("empty") << QString() << 8 << false << QByteArray("");
    QTest::newRow("in place") << QStringLiteral("门卫室 Gate") << 32 << true
                              << QByteArray("c3c5cec0cad22047617465");
    // The 9 UTF-8 bytes become 4 GBK bytes and the terminator.
    QTest::newRow("in place cut short")
            << QStringLiteral("数字矩") << 6 << true << QByteArray("cafdd7d6");
}

void TestHostServices::utf8ToGbk()
{
    QFETCH(QString, text);
    QFETCH(int, size);
    QFETCH(bool, inPlace);
    QFETCH(QByteArray, expectedHex);
    const QByteArray source = text.toUtf8();

    char buffer[128];
    std::memset(buffer, 0x55, sizeof buffer);
    if (inPlace)
        std::memcpy(buffer, source.constData(), size_t(source.size()) + 1);
    AlgorithmCollection::UTF8ToGBK(inPlace ? buffer : source.constData(), buffer, size);
    QCOMPARE(QByteArray(buffer).toHex(), expectedHex);
    // Nothing written past the given size.
    for (int i = qMax(size, inPlace ? source.size() + 1 : 0); i < int(sizeof buffer); ++i)
        QCOMPARE(int(buffer[i]), 0x55);
}

void TestHostServices::utf8ToGbk_ignoresBadArguments()
{
    char buffer[8];
    std::memset(buffer, 0x55, sizeof buffer);
    AlgorithmCollection::UTF8ToGBK(nullptr, buffer, sizeof buffer);
    AlgorithmCollection::UTF8ToGBK("abc", buffer, 0);
    AlgorithmCollection::UTF8ToGBK("abc", buffer, -5);
    AlgorithmCollection::UTF8ToGBK("abc", nullptr, 8);
    for (char c : buffer)
        QCOMPARE(int(c), 0x55);
}

void TestHostServices::intValidator_states_data()
{
    QTest::addColumn<int>("bottom");
    QTest::addColumn<int>("top");
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("expected");
    const int ok = QValidator::Acceptable;
    const int maybe = QValidator::Intermediate;
    const int bad = QValidator::Invalid;
    struct Row
    {
        int bottom;
        int top;
        const char *input;
        int state;
    };
    const Row rows[] = {
            {10, 100, "", maybe},     {10, 100, "9", maybe},     {10, 100, "50", ok},
            {10, 100, "100", ok},     {10, 100, "101", bad},     {10, 100, "-5", bad},
            {10, 100, "+5", bad},     {10, 100, "1a", bad},      {10, 100, " 50", bad},
            {10, 100, "05", bad},     {10, 100, "0", bad},       {10, 15, "2", bad},
            {10, 15, "1", maybe},     {0, 65535, "0", ok},       {0, 65535, "65535", ok},
            {0, 65535, "65536", bad}, {0, 65535, "123456", bad}, {1, 65535, "0", bad},
            {-50, 50, "-", maybe},    {-50, 50, "-50", ok},      {-50, 50, "-51", bad},
            {-50, 50, "-0", bad},     {-50, 50, "0", ok},        {-100, -10, "5", bad},
            {-100, -10, "-5", maybe}, {-100, -10, "-101", bad},  {-10, -5, "-2", bad},
            {-10, -5, "-1", maybe},   {20, 60, "6", maybe},      {20, 60, "7", bad},
    };
    for (const Row &row : rows)
        QTest::addRow("%d..%d \"%s\"", row.bottom, row.top, row.input)
                << row.bottom << row.top << QString::fromLatin1(row.input) << row.state;
}

void TestHostServices::intValidator_states()
{
    QFETCH(int, bottom);
    QFETCH(int, top);
    QFETCH(QString, input);
    QFETCH(int, expected);
    IntValidator validator(bottom, top, nullptr);
    QString text = input;
    int pos = text.size();
    QCOMPARE(int(validator.validate(text, pos)), expected);
    QCOMPARE(text, input);
    // fixup never rewrites what was typed.
    validator.fixup(text);
    QCOMPARE(text, input);
}

QTEST_MAIN(TestHostServices)
#include "tst_hostservices.moc"
