// The console as an operator meets it: the server dialogs' tab order, field errors beside their
// field, a page without a server.
#include "DigitalMatrixServerOperWidget.h"
#include "ModifyDigitalMatrixServerDlg.h"
#include "TurnShowTimeSetDlg.h"
#include "_ModifyDigitalMatrixServerDlg.h"

#include "LinuxPageHarness.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QToolTip>
#include <QtTest>

#include <memory>

using namespace LUMO_DIGITALMATRIX_MODULE;

class TestConsole : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void serverDialogTabsThroughItsFieldsAsTheyStand_data();
    void serverDialogTabsThroughItsFieldsAsTheyStand();
    void fieldErrorStandsBesideTheFieldWhichTakesTheFirstClick();
    void linuxPageWithoutServerSaysSoBesideItsTools();

private:
    LinuxPageHarness h;
};

void TestConsole::init()
{
    h.start();
}

void TestConsole::cleanup()
{
    h.stop();
}

void TestConsole::serverDialogTabsThroughItsFieldsAsTheyStand_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QStringList>("order");
    const QStringList ip {"ipField0", "ipField1", "ipField2", "ipField3"};
    QTest::newRow("X86 server dialog") << "x86"
                                       << QStringList {"serverName"} + ip
                    + QStringList {"serverType", "serverPort", "_userLineEdt", "_passwordLineEdt",
                                   "saveBt",     "cancleBt",   "serverName"};
    // The Linux page's dialog offers only its own type: the disabled combo is passed over.
    QTest::newRow("Linux server dialog") << "linux"
                                         << QStringList {"nameLineEt"} + ip
                    + QStringList {"portLineEt", "userLineEt", "passwordLineEt",
                                   "saveBt",     "cancleBt",   "nameLineEt"};
}

void TestConsole::serverDialogTabsThroughItsFieldsAsTheyStand()
{
    QFETCH(QString, dialog);
    QFETCH(QStringList, order);
    std::unique_ptr<QDialog> shown;
    if (dialog == QLatin1String("x86")) {
        shown = std::make_unique<_ModifyDigitalMatrixServerDlg>(nullptr, nullptr);
    } else {
        auto linuxDialog = std::make_unique<ModifyDigitalMatrixServerDlg>(nullptr, nullptr);
        linuxDialog->disableServerType();
        shown = std::move(linuxDialog);
    }
    shown->show();
    QApplication::setActiveWindow(shown.get());
    QVERIFY(QTest::qWaitForWindowActive(shown.get()));
    QStringList visited;
    QTRY_VERIFY(QApplication::focusWidget());
    visited << QApplication::focusWidget()->objectName();
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, order);
    // Shift+Tab walks back the same way.
    QStringList back;
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        back.prepend(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(back, order.mid(0, order.size() - 1));
}

void TestConsole::fieldErrorStandsBesideTheFieldWhichTakesTheFirstClick()
{
    QToolTip::hideText();
    TurnShowTimeSetDlg dialog(30, nullptr);
    dialog.move(300, 200);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QLineEdit *field = dialog.timeLineEdit();
    field->setText(QStringLiteral("70"));
    dialog.findChild<QPushButton *>("setBt")->click();
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), QStringLiteral("Turn show time range is:5-60!"));
    QWidget *tip = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->inherits("QTipLabel") && w->isVisible())
            tip = w;
    }
    QVERIFY(tip);
    const QRect fieldOnScreen(field->mapToGlobal(QPoint(0, 0)), field->size());
    // Under the field, starting at its left edge, never over it.
    QVERIFY(!tip->geometry().intersects(fieldOnScreen));
    QVERIFY(qAbs(tip->geometry().left() - fieldOnScreen.left()) <= 4);
    QVERIFY(qAbs(tip->geometry().top() - fieldOnScreen.bottom()) <= 8);

    // The first click lands in the field: typing then edits it.
    QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, QPoint(2, field->height() / 2));
    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClick(field, Qt::Key_Backspace);
    QCOMPARE(field->text(), QStringLiteral("7"));
    QToolTip::hideText();
}

void TestConsole::linuxPageWithoutServerSaysSoBesideItsTools()
{
    LinuxDigitalMatrixPage *page = h.makePage();
    page->show();
    auto *oper = page->findChild<DigitalMatrixServerOperWidget *>();
    QVERIFY(oper);
    QTRY_COMPARE(oper->connectServerHint(),
                 QStringLiteral("No matrix server yet: add one with the + button."));
    QVERIFY(!oper->connectButton()->isEnabled());
    QVERIFY(!oper->editButton()->isEnabled());
}

QTEST_MAIN(TestConsole)
#include "tst_console.moc"
