// Host services: log file, settings, UI language, GBK conversion and the integer validator.
#include "AlgorithmCollection.h"
#include "IntValidator.h"
#include "LumoToolManager.h"
#include "QLogger.h"
#include "SystemConfig.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
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
    void initTestCase();
    void init();
    void cleanup();

    void logger_linesFromManyThreadsAreWholeAndComplete();
    void logger_oneLinePerCall();
    void logger_defaultFileIsCreatedOnFirstWrite();
    void logger_unwritableFileFallsBackToWarnings();

    void systemConfig_matrixCode_data();
    void systemConfig_matrixCode();
    void systemConfig_valuesRoundTrip();
    void systemConfig_defaultFileIsInWorkingDirectory();
    void systemConfig_unwritableFileIsReported();

    void language_defaultAndChange();
    void language_refusesNonsense_data();
    void language_refusesNonsense();

    void utf8ToGbk_data();
    void utf8ToGbk();
    void utf8ToGbk_sameBuffer();
    void utf8ToGbk_ignoresBadArguments();

    void intValidator_states_data();
    void intValidator_states();
    void intValidator_fixupChangesNothing();
    void intValidator_lineEditKeepsOnlyPossibleText();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestHostServices::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestHostServices::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QLogger::instance()->setLogFile(m_dir->filePath(QStringLiteral("host.log")));
    SystemConfig::instance()->setConfigFile(m_dir->filePath(QStringLiteral("sysConfig.ini")));
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
    const QString padding(120, QLatin1Char('x'));
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([t, padding] {
            for (int i = 0; i < perThread; ++i) {
                if (i % 2)
                    QLogger::instance()->LogInfo(
                            QStringLiteral("worker %1 line %2 %3").arg(t).arg(i).arg(padding));
                else
                    QLogger::instance()->LogInfo(QStringLiteral("worker %1 line %2 %3")
                                                         .arg(t)
                                                         .arg(i)
                                                         .arg(padding)
                                                         .toUtf8()
                                                         .constData());
            }
        });
    }
    for (std::thread &worker : workers)
        worker.join();

    const QStringList lines = readLines(m_dir->filePath(QStringLiteral("host.log")));
    QCOMPARE(lines.size(), threads * perThread);
    const QRegularExpression body(QStringLiteral("^worker (\\d+) line (\\d+) x{120}$"));
    QSet<QString> seen;
    QVector<int> next(threads, 0);
    QVector<QSet<QString>> threadIds(threads);
    for (const QString &line : lines) {
        const QRegularExpressionMatch outer = LinePattern.match(line);
        QVERIFY2(outer.hasMatch(), qPrintable(line));
        const QRegularExpressionMatch inner = body.match(outer.captured(1));
        QVERIFY2(inner.hasMatch(), qPrintable(line));
        const int t = inner.captured(1).toInt();
        const int i = inner.captured(2).toInt();
        // Each thread's lines appear in the order it wrote them.
        QCOMPARE(i, next[t]);
        ++next[t];
        seen.insert(inner.captured(1) + QLatin1Char('/') + inner.captured(2));
        threadIds[t].insert(line.section(QLatin1Char(' '), 1, 1));
    }
    QCOMPARE(seen.size(), threads * perThread);
    for (int t = 0; t < threads; ++t)
        QCOMPARE(threadIds[t].size(), 1);
}

void TestHostServices::logger_oneLinePerCall()
{
    QLogger *logger = QLogger::instance();
    logger->LogInfo(QStringLiteral("first\nsecond\r\nthird"));
    logger->LogInfo("矩阵 connected");
    logger->LogInfo(static_cast<const char *>(nullptr));
    logger->LogInfo(QString());

    const QStringList lines = readLines(m_dir->filePath(QStringLiteral("host.log")));
    QCOMPARE(lines.size(), 4);
    for (const QString &line : lines)
        QVERIFY2(LinePattern.match(line).hasMatch(), qPrintable(line));
    QCOMPARE(LinePattern.match(lines.at(0)).captured(1), QStringLiteral("first\\nsecond\\nthird"));
    QCOMPARE(LinePattern.match(lines.at(1)).captured(1), QStringLiteral("矩阵 connected"));
    QCOMPARE(LinePattern.match(lines.at(2)).captured(1), QString());

    // Appends to what is there.
    logger->setLogFile(m_dir->filePath(QStringLiteral("host.log")));
    logger->LogInfo(QStringLiteral("again"));
    QCOMPARE(readLines(m_dir->filePath(QStringLiteral("host.log"))).size(), 5);
}

void TestHostServices::logger_defaultFileIsCreatedOnFirstWrite()
{
    QLogger *logger = QLogger::instance();
    logger->setLogFile(QString());
    const QString file = logger->logFile();
    QVERIFY2(
            file.startsWith(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)),
            qPrintable(file));
    QFile::remove(file);
    QVERIFY(!QFile::exists(file));

    logger->LogInfo(QStringLiteral("default file line"));
    const QStringList lines = readLines(file);
    QFile::remove(file);
    QCOMPARE(lines.size(), 1);
    QVERIFY(lines.first().endsWith(QLatin1String("] default file line")));
}

void TestHostServices::logger_unwritableFileFallsBackToWarnings()
{
    // A folder cannot be created where a file already is.
    const QString blocker = m_dir->filePath(QStringLiteral("plain-file"));
    writeFile(blocker, "not a folder");
    QLogger *logger = QLogger::instance();
    logger->setLogFile(blocker + QStringLiteral("/log/host.log"));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot write")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("\\] lost line one$")));
    logger->LogInfo(QStringLiteral("lost line one"));
    // The failure is reported once; later lines still reach the message log.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("\\] lost line two$")));
    logger->LogInfo("lost line two");
    QVERIFY(!QFile::exists(blocker + QStringLiteral("/log/host.log")));

    logger->setLogFile(m_dir->filePath(QStringLiteral("back.log")));
    logger->LogInfo(QStringLiteral("written again"));
    QCOMPARE(readLines(m_dir->filePath(QStringLiteral("back.log"))).size(), 1);
}

void TestHostServices::systemConfig_matrixCode_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("expected");
    QTest::newRow("no file") << QByteArray() << 1;
    QTest::newRow("no key") << QByteArray("[Stream]\nother=5\n") << 1;
    QTest::newRow("two") << QByteArray("[Stream]\nmatrixCode=2\n") << 2;
    QTest::newRow("one") << QByteArray("[Stream]\nmatrixCode=1\n") << 1;
    QTest::newRow("spaces") << QByteArray("[Stream]\nmatrixCode = 2 \n") << 2;
    QTest::newRow("text") << QByteArray("[Stream]\nmatrixCode=main\n") << 1;
    QTest::newRow("empty") << QByteArray("[Stream]\nmatrixCode=\n") << 1;
    QTest::newRow("other group") << QByteArray("[UI]\nmatrixCode=2\n") << 1;
}

void TestHostServices::systemConfig_matrixCode()
{
    QFETCH(QByteArray, content);
    QFETCH(int, expected);
    if (!content.isEmpty())
        writeFile(SystemConfig::instance()->configFile(), content);
    QCOMPARE(SystemConfig::instance()->getMatrixVideoBitStream(), expected);
}

void TestHostServices::systemConfig_valuesRoundTrip()
{
    SystemConfig *config = SystemConfig::instance();
    QCOMPARE(config->configFile(), m_dir->filePath(QStringLiteral("sysConfig.ini")));
    QCOMPARE(config->value(QStringLiteral("Stream/matrixCode"), QStringLiteral("none")),
             QStringLiteral("none"));
    QVERIFY(config->setValue(QStringLiteral("Stream/matrixCode"), QStringLiteral("2")));
    QVERIFY(config->setValue(QStringLiteral("Site/name"), QStringLiteral("总部")));
    QCOMPARE(config->getMatrixVideoBitStream(), 2);
    QCOMPARE(config->value(QStringLiteral("Site/name")), QStringLiteral("总部"));

    // What the module reads directly from the file.
    const QSettings direct(config->configFile(), QSettings::IniFormat);
    QCOMPARE(direct.value(QStringLiteral("Stream/matrixCode")).toString(), QStringLiteral("2"));
    QVERIFY(!config->setValue(QString(), QStringLiteral("x")));
}

void TestHostServices::systemConfig_defaultFileIsInWorkingDirectory()
{
    SystemConfig *config = SystemConfig::instance();
    config->setConfigFile(QString());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    const QString file = config->configFile();
    const bool written = config->setValue(QStringLiteral("Stream/matrixCode"), QStringLiteral("2"));
    const int code = config->getMatrixVideoBitStream();
    QVERIFY(QDir::setCurrent(previous));
    QCOMPARE(QFileInfo(file).canonicalFilePath(),
             QFileInfo(m_dir->filePath(QStringLiteral("sysConfig.ini"))).canonicalFilePath());
    QVERIFY(written);
    QCOMPARE(code, 2);
}

void TestHostServices::systemConfig_unwritableFileIsReported()
{
    const QString blocker = m_dir->filePath(QStringLiteral("plain-file"));
    writeFile(blocker, "not a folder");
    SystemConfig::instance()->setConfigFile(blocker + QStringLiteral("/sysConfig.ini"));
    QVERIFY(!SystemConfig::instance()->setValue(QStringLiteral("Stream/matrixCode"),
                                                QStringLiteral("2")));
    QCOMPARE(SystemConfig::instance()->getMatrixVideoBitStream(), 1);
}

void TestHostServices::language_defaultAndChange()
{
    LumoToolManager *tools = LumoToolManager::instance();
    QCOMPARE(tools->uiLanguages(), QStringLiteral("en"));
    QVERIFY(tools->setUiLanguage(QStringLiteral("zh_cn")));
    QCOMPARE(tools->uiLanguages(), QStringLiteral("zh_cn"));
    const QSettings direct(SystemConfig::instance()->configFile(), QSettings::IniFormat);
    QCOMPARE(direct.value(QStringLiteral("UI/language")).toString(), QStringLiteral("zh_cn"));
    QVERIFY(tools->setUiLanguage(QStringLiteral("en")));
    QCOMPARE(tools->uiLanguages(), QStringLiteral("en"));
}

void TestHostServices::language_refusesNonsense_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("empty") << QString();
    QTest::newRow("space") << QStringLiteral("zh cn");
    QTest::newRow("path") << QStringLiteral("../en");
    QTest::newRow("one letter") << QStringLiteral("e");
    QTest::newRow("newline") << QStringLiteral("en\n[Stream]");
}

void TestHostServices::language_refusesNonsense()
{
    QFETCH(QString, language);
    LumoToolManager *tools = LumoToolManager::instance();
    QVERIFY(tools->setUiLanguage(QStringLiteral("zh_cn")));
    QVERIFY(!tools->setUiLanguage(language));
    QCOMPARE(tools->uiLanguages(), QStringLiteral("zh_cn"));
}

void TestHostServices::utf8ToGbk_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("expectedHex");
    const QString chinese = QStringLiteral("中文数字矩阵");
    QTest::newRow("chinese") << chinese << 64 << QByteArray("d6d0cec4cafdd7d6bed8d5f3");
    QTest::newRow("exact fit") << chinese << 13 << QByteArray("d6d0cec4cafdd7d6bed8d5f3");
    QTest::newRow("one byte short") << chinese << 12 << QByteArray("d6d0cec4cafdd7d6bed8");
    QTest::newRow("odd room") << chinese << 6 << QByteArray("d6d0cec4");
    QTest::newRow("room for one") << chinese << 3 << QByteArray("d6d0");
    QTest::newRow("room for half") << chinese << 2 << QByteArray("");
    QTest::newRow("only terminator") << chinese << 1 << QByteArray("");
    QTest::newRow("mixed") << QStringLiteral("Cam 1 大厅") << 32
                           << QByteArray("43616d203120b4f3ccfc");
    QTest::newRow("mixed cut in character")
            << QStringLiteral("Cam 1 大厅") << 10 << QByteArray("43616d203120b4f3");
    QTest::newRow("later ascii not squeezed in") << QStringLiteral("a中b") << 3 << QByteArray("61");
    QTest::newRow("space inside") << QStringLiteral("北侧围墙 热成像") << 64
                                  << QByteArray("b1b1b2e0cea7c7bd20c8c8b3c9cff1");
    QTest::newRow("not in gbk") << QString::fromUtf8("a\xF0\x9F\x98\x80"
                                                     "b")
                                << 16 << QByteArray("613f62");
    QTest::newRow("empty") << QString() << 8 << QByteArray("");
}

void TestHostServices::utf8ToGbk()
{
    QFETCH(QString, text);
    QFETCH(int, size);
    QFETCH(QByteArray, expectedHex);
    const QByteArray source = text.toUtf8();
    const QByteArray expected = QByteArray::fromHex(expectedHex);

    char buffer[128];
    std::memset(buffer, 0x55, sizeof buffer);
    AlgorithmCollection::UTF8ToGBK(source.constData(), buffer, size);
    QCOMPARE(QByteArray(buffer), expected);
    // Nothing written past the given size.
    for (int i = size; i < int(sizeof buffer); ++i)
        QCOMPARE(int(buffer[i]), 0x55);
}

void TestHostServices::utf8ToGbk_sameBuffer()
{
    char buffer[32] = {};
    const QByteArray source = QStringLiteral("门卫室 Gate").toUtf8();
    std::memcpy(buffer, source.constData(), size_t(source.size()));
    AlgorithmCollection::UTF8ToGBK(buffer, buffer, sizeof buffer);
    QCOMPARE(QByteArray(buffer).toHex(), QByteArray("c3c5cec0cad220") + QByteArray("Gate").toHex());

    // In place and cut short: the 9 UTF-8 bytes become 4 GBK bytes and the terminator.
    char small[16] = {};
    std::memcpy(small, "\xE6\x95\xB0\xE5\xAD\x97\xE7\x9F\xA9", 9); // 数字矩
    AlgorithmCollection::UTF8ToGBK(small, small, 6);
    QCOMPARE(QByteArray(small).toHex(), QByteArray("cafdd7d6"));
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
    const int acceptable = QValidator::Acceptable;
    const int intermediate = QValidator::Intermediate;
    const int invalid = QValidator::Invalid;
    struct Row
    {
        int bottom;
        int top;
        const char *input;
        int state;
    };
    const Row rows[] = {
            {10, 100, "", intermediate},     {10, 100, "5", intermediate},
            {10, 100, "9", intermediate},    {10, 100, "50", acceptable},
            {10, 100, "100", acceptable},    {10, 100, "101", invalid},
            {10, 100, "1000", invalid},      {10, 100, "-5", invalid},
            {10, 100, "-", invalid},         {10, 100, "+5", invalid},
            {10, 100, "abc", invalid},       {10, 100, "1a", invalid},
            {10, 100, " 50", invalid},       {10, 100, "05", invalid},
            {10, 100, "0", invalid},         {10, 15, "2", invalid},
            {10, 15, "1", intermediate},     {0, 65535, "0", acceptable},
            {0, 65535, "65535", acceptable}, {0, 65535, "65536", invalid},
            {0, 65535, "70000", invalid},    {0, 65535, "123456", invalid},
            {0, 65535, "-1", invalid},       {1, 65535, "0", invalid},
            {-50, 50, "-", intermediate},    {-50, 50, "-50", acceptable},
            {-50, 50, "-51", invalid},       {-50, 50, "-500", invalid},
            {-50, 50, "-0", invalid},        {-50, 50, "51", invalid},
            {-50, 50, "0", acceptable},      {-100, -10, "5", invalid},
            {-100, -10, "-5", intermediate}, {-100, -10, "-", intermediate},
            {-100, -10, "-10", acceptable},  {-100, -10, "-101", invalid},
            {-10, -5, "-2", invalid},        {-10, -5, "-1", intermediate},
            {20, 60, "6", intermediate},     {20, 60, "7", invalid},
            {5, 60, "61", invalid},
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
}

void TestHostServices::intValidator_fixupChangesNothing()
{
    IntValidator validator(10, 100, nullptr);
    for (const QString &input :
         {QStringLiteral("5"), QStringLiteral("1,000"), QStringLiteral("")}) {
        QString text = input;
        validator.fixup(text);
        QCOMPARE(text, input);
    }
}

void TestHostServices::intValidator_lineEditKeepsOnlyPossibleText()
{
    QLineEdit edit;
    auto *validator = new IntValidator(10, 100, &edit);
    QCOMPARE(validator->parent(), &edit);
    edit.setValidator(validator);
    QTest::keyClicks(&edit, QStringLiteral("-1x000"));
    QCOMPARE(edit.text(), QStringLiteral("100"));
    QVERIFY(edit.hasAcceptableInput());

    edit.clear();
    QTest::keyClicks(&edit, QStringLiteral("5"));
    QCOMPARE(edit.text(), QStringLiteral("5"));
    QVERIFY(!edit.hasAcceptableInput());
    // Leaving the field does not turn "5" into anything else.
    QTest::keyClick(&edit, Qt::Key_Return);
    QCOMPARE(edit.text(), QStringLiteral("5"));
}

QTEST_MAIN(TestHostServices)
#include "tst_hostservices.moc"
