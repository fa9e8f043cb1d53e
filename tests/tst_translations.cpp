// The Simplified Chinese translation of the module and of the host stand-ins: every message
// of the .ts files is translated (placeholders kept) and the compiled .qm files give that
// translation, the .ts files hold every text of the sources, and with the translation
// installed the pages and dialogs show no English.
#include "CellChannelsCheckDlg.h"
#include "CellForConfigChannels.h"
#include "DigitalMatrixConfigPage.h"
#include "LinuxMatrixUpgradeDlg.h"
#include "MatrixRowColumnSetDlg.h"
#include "ModifyDigitalMatrixServerDlg.h"
#include "SetChannelSource.h"
#include "SpliteWindow.h"
#include "TurnControlWidget.h"
#include "TurnShowTimeSetDlg.h"
#include "_ModifyDigitalMatrixServerDlg.h"
#include "setMatrixScreen.h"

#include "MessageBoxW.h"
#include "PictureHintWidget.h"
#include "TestData.h"
#include "UserManagerCore.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTranslator>
#include <QTreeWidget>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

using namespace LUMO_DIGITALMATRIX_MODULE;

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

// Latin words a Chinese user interface keeps: product, protocol and system names.
bool isKeptName(const QString &word)
{
    static const QStringList kept {QStringLiteral("TQ"),  QStringLiteral("HD"),
                                   QStringLiteral("USB"), QStringLiteral("HTTP"),
                                   QStringLiteral("FTP"), QStringLiteral("IP"),
                                   QStringLiteral("X"),   QStringLiteral("Linux")};
    return kept.contains(word);
}

// The English words left in the texts a person sees on a widget and its children.
QStringList englishIn(QWidget *root)
{
    QStringList texts;
    auto add = [&texts](const QString &text) {
        if (!text.isEmpty())
            texts.append(Qt::mightBeRichText(text)
                                 ? QTextDocumentFragment::fromHtml(text).toPlainText()
                                 : text);
    };
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *widget : qAsConst(widgets)) {
        if (widget->isWindow())
            add(widget->windowTitle());
        add(widget->toolTip());
        if (auto *label = qobject_cast<QLabel *>(widget))
            add(label->text());
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            add(button->text());
        if (auto *edit = qobject_cast<QLineEdit *>(widget))
            add(edit->placeholderText());
        if (auto *combo = qobject_cast<QComboBox *>(widget)) {
            for (int i = 0; i < combo->count(); ++i)
                add(combo->itemText(i));
        }
        if (auto *header = qobject_cast<QHeaderView *>(widget)) {
            for (int i = 0; i < header->count(); ++i)
                add(header->model()->headerData(i, header->orientation()).toString());
        }
        if (auto *menu = qobject_cast<QMenu *>(widget)) {
            add(menu->title());
            for (QAction *action : menu->actions())
                add(action->text());
        }
    }
    QStringList english;
    static const QRegularExpression word(QStringLiteral("[A-Za-z]+"));
    for (const QString &text : qAsConst(texts)) {
        auto it = word.globalMatch(text);
        while (it.hasNext()) {
            const QString found = it.next().captured();
            if (!isKeptName(found))
                english.append(QStringLiteral("%1 (in \"%2\")").arg(found, text));
        }
    }
    return english;
}

} // namespace

class tst_Translations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void everyMessageIsTranslated_data();
    void everyMessageIsTranslated();
    void everyTextOfTheSourcesIsInTheTsFiles_data();
    void everyTextOfTheSourcesIsInTheTsFiles();
    void pagesAndDialogsShowNoEnglish_data();
    void pagesAndDialogsShowNoEnglish();

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

void tst_Translations::everyMessageIsTranslated_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("atLeast");
    QTest::newRow("module") << SourceDir + QStringLiteral("/translations/digitalmatrix_zh_CN.ts")
                            << 200;
    QTest::newRow("host") << SourceDir + QStringLiteral("/translations/lumohost_zh_CN.ts") << 50;
}

void tst_Translations::everyMessageIsTranslated()
{
    QFETCH(QString, file);
    QFETCH(int, atLeast);
    QString error;
    const QList<Message> messages = readTs(file, &error);
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
}

void tst_Translations::everyTextOfTheSourcesIsInTheTsFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("folders");
    QTest::newRow("module") << QStringLiteral("digitalmatrix_zh_CN.ts")
                            << QStringList({SourceDir + "/src", SourceDir + "/forms"});
    QTest::newRow("host") << QStringLiteral("lumohost_zh_CN.ts")
                          << QStringList({SourceDir + "/host", SourceDir + "/demo",
                                          SourceDir + "/simulator/wall"});
}

void tst_Translations::everyTextOfTheSourcesIsInTheTsFiles()
{
    QFETCH(QString, file);
    QFETCH(QStringList, folders);
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

    QString error;
    const QSet<QString> inSources = keys(readTs(fresh, &error));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QSet<QString> inTs =
            keys(readTs(SourceDir + QStringLiteral("/translations/") + file, &error));
    QVERIFY2(error.isEmpty(), qPrintable(error));
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

void tst_Translations::pagesAndDialogsShowNoEnglish_data()
{
    QTest::addColumn<QString>("what");
    const QStringList names {
            "configuration page", "Linux server dialog", "X86 server dialog", "screen count",
            "rows and columns",   "turn-show time",      "cell channels",     "upgrade",
            "source dialog",      "turn menu",           "split chooser",     "cell menu",
            "message box",        "picture hint"};
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << name;
}

void tst_Translations::pagesAndDialogsShowNoEnglish()
{
    QFETCH(QString, what);
    std::unique_ptr<QWidget> widget;
    if (what == QLatin1String("configuration page"))
        widget = std::make_unique<DigitalMatrixConfigPage>();
    else if (what == QLatin1String("Linux server dialog"))
        widget = std::make_unique<ModifyDigitalMatrixServerDlg>();
    else if (what == QLatin1String("X86 server dialog"))
        widget = std::make_unique<_ModifyDigitalMatrixServerDlg>(nullptr, nullptr);
    else if (what == QLatin1String("screen count"))
        widget = std::make_unique<setMatrixScreen>();
    else if (what == QLatin1String("rows and columns"))
        widget = std::make_unique<MatrixRowColumnSetDlg>();
    else if (what == QLatin1String("turn-show time"))
        widget = std::make_unique<TurnShowTimeSetDlg>(30);
    else if (what == QLatin1String("cell channels"))
        widget = std::make_unique<CellChannelsCheckDlg>();
    else if (what == QLatin1String("upgrade"))
        widget = std::make_unique<LinuxMatrixUpgradeDlg>();
    else if (what == QLatin1String("source dialog"))
        widget = std::make_unique<SetChannelSource>();
    else if (what == QLatin1String("turn menu"))
        widget = std::make_unique<TurnControlWidget>();
    else if (what == QLatin1String("split chooser"))
        widget = std::make_unique<SpliteWindow>();
    else if (what == QLatin1String("cell menu"))
        widget = std::make_unique<CellForConfigChannels>(0);
    else if (what == QLatin1String("message box"))
        widget = std::make_unique<COMMONUSELIB::MessageBoxW>(
                nullptr, QStringLiteral("question"), QStringLiteral("提示"),
                QStringLiteral("是否开始轮巡？"), COMMONUSELIB::MessageBoxW::YesNoButtons);
    else if (what == QLatin1String("picture hint"))
        widget = std::make_unique<COMMONUSELIB::PictureHintWidget>(
                2, COMMONUSELIB::PictureHintWidget::Chinese);
    QVERIFY(widget);
    const QStringList english = englishIn(widget.get());
    QVERIFY2(english.isEmpty(), qPrintable(english.join(QLatin1Char('\n'))));
}

QTEST_MAIN(tst_Translations)
#include "tst_translations.moc"
