// The configuration page container: which page it shows for the servers stored, the
// picture hint for the first server, and switching when the last server of a kind goes.
#include "DigitalMatrix.h"
#include "DigitalMatrixConfigPage.h"
#include "DigitalMatrixServerOperWidget.h"
#include "LinuxDigitalMatrixPage.h"
#include "MatrixServerSelWidget.h"

#include "IpAddressFrame.h"
#include "LumoToolManager.h"
#include "PictureHintWidget.h"
#include "UserManagerCore.h"
#include "WaitDialog.h"

#include "LinuxPageHarness.h"
#include "MessageBoxScript.h"
#include "ModalDriver.h"
#include "TestData.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QtTest>

#include <memory>

using namespace LUMO_DIGITALMATRIX_MODULE;

namespace {

DATACore::UserManagerCore *dataCentre()
{
    return DATACore::UserManagerCore::instance();
}

QString storeServer(const QString &name, const QString &ip, int type)
{
    return LinuxPageHarness::storeServer(name, ip, type, type == 2 ? 9010 : 6000);
}

} // namespace

class TestContainer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void storedServersChooseThePage_data();
    void storedServersChooseThePage();
    void addingFromThePictureHintShowsThatKindsPage_data();
    void addingFromThePictureHintShowsThatKindsPage();
    void deletingTheLastLinuxServerShowsWhatRemains_data();
    void deletingTheLastLinuxServerShowsWhatRemains();

private:
    DigitalMatrixConfigPage *makePage();
    COMMONUSELIB::PictureHintWidget *hint() const
    {
        return page->findChild<COMMONUSELIB::PictureHintWidget *>();
    }
    QStackedWidget *stack() const { return page->findChild<QStackedWidget *>("stackedWidget"); }
    LinuxDigitalMatrixPage *linuxPage() const
    {
        return page->findChild<LinuxDigitalMatrixPage *>();
    }
    DigitalMatrix *x86Page() const { return page->findChild<DigitalMatrix *>(); }
    // "hint", "x86" or "linux": what the operator sees.
    QString shownLook() const;

    LinuxPageHarness h;
    std::unique_ptr<DigitalMatrixConfigPage> page;
};

void TestContainer::init()
{
    h.start();
}

void TestContainer::cleanup()
{
    page.reset();
    h.stop();
}

DigitalMatrixConfigPage *TestContainer::makePage()
{
    page.reset(new DigitalMatrixConfigPage);
    page->resize(1100, 700);
    page->show();
    return page.get();
}

QString TestContainer::shownLook() const
{
    const bool hintShown = hint()->isVisibleTo(page.get());
    const bool stackShown = stack()->isVisibleTo(page.get());
    if (hintShown == stackShown)
        return QStringLiteral("both or neither");
    if (hintShown)
        return QStringLiteral("hint");
    QWidget *shown = stack()->currentWidget();
    return shown == x86Page()      ? QStringLiteral("x86")
            : shown == linuxPage() ? QStringLiteral("linux")
                                   : QStringLiteral("another page");
}

// The picture hint speaks Chinese only for the host's own "zh_cn".
void TestContainer::storedServersChooseThePage_data()
{
    QTest::addColumn<QList<int>>("types");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("look");
    QTest::addColumn<int>("pictureLanguage");
    const auto row = [](const char *name, const QList<int> &types, const char *language,
                        const char *look, int pictureLanguage) {
        QTest::newRow(name) << types << QString::fromLatin1(language) << QString::fromLatin1(look)
                            << pictureLanguage;
    };
    row("no server", {}, "en", "hint", 1);
    row("no server, Chinese host", {}, "zh_cn", "hint", 0);
    row("an X86 server", {2}, "ZH_CN", "x86", 1);
    row("a Linux server", {6}, "zh_CN", "linux", 1);
    row("X86 stored first", {2, 6}, "zh_tw", "x86", 1);
    row("Linux stored first", {6, 2}, "en", "linux", 1);
    row("another kind of server only", {1}, "en", "hint", 1);
}

void TestContainer::storedServersChooseThePage()
{
    QFETCH(QList<int>, types);
    QFETCH(QString, language);
    QFETCH(QString, look);
    QFETCH(int, pictureLanguage);
    QVERIFY(LumoToolExt::LumoToolManager::instance()->setUiLanguage(language));
    for (int i = 0; i < types.size(); ++i)
        QVERIFY(!storeServer(QStringLiteral("Server %1").arg(i),
                             QStringLiteral("10.0.0.%1").arg(i + 1), types.at(i))
                         .isEmpty());
    makePage();
    QCOMPARE(shownLook(), look);
    QCOMPARE(hint()->pictureType(), 2);
    QCOMPARE(hint()->pictureLanguage(), pictureLanguage);
}

void TestContainer::addingFromThePictureHintShowsThatKindsPage_data()
{
    QTest::addColumn<int>("typeIndex");
    QTest::addColumn<QString>("typeText");
    QTest::addColumn<int>("storedType");
    QTest::addColumn<QString>("look");
    QTest::newRow("Linux") << 1 << "TQ5100-4HD" << 6 << "linux";
    QTest::newRow("X86") << 0 << "TQ5100-12HD" << 2 << "x86";
    QTest::newRow("cancelled") << -1 << QString() << 0 << "hint";
}

void TestContainer::addingFromThePictureHintShowsThatKindsPage()
{
    QFETCH(int, typeIndex);
    QFETCH(QString, typeText);
    QFETCH(int, storedType);
    QFETCH(QString, look);
    makePage();
    QCOMPARE(shownLook(), QStringLiteral("hint"));
    QSignalSpy linuxAdds(
            page.get(), &DigitalMatrixConfigPage::signalAddLinuxDigitalMatrixServerFromPictureHint);
    QSignalSpy x86Adds(page.get(),
                       &DigitalMatrixConfigPage::signalAddX86DigitalMatrixServerFromPictureHint);

    bool typeFree = false;
    QString chosen;
    ModalDriver driver([&](QWidget *modal) {
        if (typeIndex < 0)
            return modal->findChild<QPushButton *>("cancleBt")->click();
        auto *combo = modal->findChild<QComboBox *>("serverTypeComBx");
        typeFree = combo->isEnabled();
        combo->setCurrentIndex(typeIndex);
        chosen = combo->currentText();
        modal->findChild<QLineEdit *>("nameLineEt")->setText(QStringLiteral("First"));
        modal->findChild<COMMONUSELIB::IpAddressFrame *>()->setIp(QStringLiteral("10.0.0.20"));
        modal->findChild<QLineEdit *>("userLineEt")->setText(QStringLiteral("admin"));
        modal->findChild<QPushButton *>("saveBt")->click();
    });
    driver.start();
    QTest::mouseClick(hint()->addServerButton(), Qt::LeftButton);
    QVERIFY(driver.ran());
    QCOMPARE(shownLook(), look);
    if (typeIndex < 0) {
        QVERIFY(dataCentre()->GetServers(QString()).isEmpty());
        return;
    }
    QVERIFY(typeFree);
    QCOMPARE(chosen, typeText);

    QCOMPARE(linuxAdds.count(), storedType == 6 ? 1 : 0);
    QCOMPARE(x86Adds.count(), storedType == 2 ? 1 : 0);
    const QList<UServerInfo> stored = dataCentre()->GetServers(QString());
    QCOMPARE(stored.size(), 1);
    QCOMPARE(describeServer(stored.at(0)),
             storedType == 6 ? QStringLiteral("First 10.0.0.20:6000 type 6 user 'admin'")
                             : QStringLiteral("First 10.0.0.20:9010 type 2 user 'admin'"));

    if (storedType == 6) {
        // The Linux page lists it once the data centre announces it.
        QTRY_COMPARE(linuxPage()->matrixServers().size(), 1);
        QCOMPARE(linuxPage()->matrixServers().at(0).id, stored.at(0).id);
        QTRY_COMPARE(linuxPage()->currentServerIndex(), 0);
    }
}

void TestContainer::deletingTheLastLinuxServerShowsWhatRemains_data()
{
    QTest::addColumn<bool>("x86Stored");
    QTest::addColumn<QString>("look");
    QTest::newRow("X86 servers stored") << true << "x86";
    QTest::newRow("nothing else stored") << false << "hint";
}

void TestContainer::deletingTheLastLinuxServerShowsWhatRemains()
{
    QFETCH(bool, x86Stored);
    QFETCH(QString, look);
    storeServer(QStringLiteral("Wall"), QStringLiteral("10.0.0.1"), 6);
    if (x86Stored)
        storeServer(QStringLiteral("Control"), QStringLiteral("10.0.0.2"), 2);
    makePage();
    QCOMPARE(shownLook(), QStringLiteral("linux"));
    LinuxDigitalMatrixPage *linux = linuxPage();
    QTRY_COMPARE(linux->currentServerIndex(), 0);
    auto *oper = linux->findChild<DigitalMatrixServerOperWidget *>("serverOperWdt");
    oper->connectButton()->click();
    QVERIFY(oper->isServerConnectOK());
    QSignalSpy deleteAll(linux, &LinuxDigitalMatrixPage::signalLinuxMatrixServerDeleteAll);
    h.base()->clear();

    MessageBoxScript boxes(1);
    QTest::mouseClick(oper->deleteButton(), Qt::LeftButton);
    QCOMPARE(boxes.texts(), QStringList {"Delete selected server?"});
    QCOMPARE(boxes.last().buttons, short(3));
    // The matrix is left first; the page empties once the data centre announces the deletion.
    QCOMPARE(h.base()->names(), QStringList({"SetNumberArrangeMode", "Disconnect"}));
    QCOMPARE(COMMONUSELIB::WaitDialog::getInstance()->text(),
             QStringLiteral("Delete matrix server..."));
    QCOMPARE(dataCentre()->GetServers(QString()).size(), x86Stored ? 1 : 0);

    QTRY_COMPARE(shownLook(), look);
    QCOMPARE(deleteAll.count(), 1);
    QVERIFY(linux->matrixServers().isEmpty());
    QCOMPARE(linux->findChild<MatrixServerSelWidget *>()->serverCount(), 0);
    QCOMPARE(linux->currentServerIndex(), -1);
    QVERIFY(!COMMONUSELIB::WaitDialog::getInstance()->isWaiting());
    QTest::qWait(20);
    QCOMPARE(deleteAll.count(), 1);
}

QTEST_MAIN(TestContainer)
#include "tst_container.moc"
