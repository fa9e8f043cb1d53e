#include "CustomSearchEdit.h"
#include "ISpinBox.h"
#include "LumoTableHeader.h"
#include "NoFocusDelegate.h"
#include "ServerConfigTreeItem.h"

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QPainter>
#include <QProxyStyle>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

using namespace LUMO_DIGITALMATRIX_MODULE;
using LUMO_DIGITALMATRIX_MODULE::private_impl::LumoTableHeader;
using LUMO_DIGITALMATRIX_MODULE::private_impl::NoFocusDelegate;

namespace {

// A window holding the widget under test and a plain line edit to move the focus to.
struct FocusWindow
{
    QWidget window;
    QLineEdit *other = nullptr;

    explicit FocusWindow(QWidget *tested)
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(tested);
        other = new QLineEdit(&window);
        layout->addWidget(other);
        window.move(100, 100);
        window.show();
        window.activateWindow();
        QApplication::setActiveWindow(&window);
    }

    bool exposed() { return QTest::qWaitForWindowActive(&window); }
};

// Style that records the state of every item-view item it is asked to draw.
class ProbeStyle : public QProxyStyle
{
public:
    QList<QStyle::State> itemStates;

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        if (element == CE_ItemViewItem)
            const_cast<ProbeStyle *>(this)->itemStates.append(option->state);
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

QColor textColor(const QWidget &w)
{
    return w.palette().color(QPalette::Text);
}

} // namespace

class TestSharedWidgets : public QObject
{
    Q_OBJECT

private slots:
    void searchEditShowsGreyHintUntilFirstFocus();

    void spinBoxKeys_data();
    void spinBoxKeys();
    void spinBoxReportsValueOnFocusOut();

    void headerSections_data();
    void headerSections();
    void headerCheckBoxGeometry();

    void noFocusDelegateDropsFocusState();

    void treeItemNameIsNotItsText();
};

// A person's path through the search field: the grey hint until the first focus, leaving it
// searches even when nothing was typed, typed text is capped and kept when leaving.
void TestSharedWidgets::searchEditShowsGreyHintUntilFirstFocus()
{
    auto *edit = new CustomSearchEdit;
    FocusWindow win(edit);
    QVERIFY(win.exposed());
    QCOMPARE(edit->text(), QStringLiteral("Search ..."));
    QVERIFY(edit->isShowingHint());
    QCOMPARE(edit->objectName(), QStringLiteral("SearchEdit"));
    QCOMPARE(edit->focusPolicy(), Qt::ClickFocus);
    QCOMPARE(textColor(*edit), QColor(100, 100, 100));
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    QCOMPARE(edit->text(), QString());
    QVERIFY(!edit->isShowingHint());
    QCOMPARE(textColor(*edit), QColor(0, 0, 0));
    QCOMPARE(edit->searchText(), QString());
    QSignalSpy search(edit, &CustomSearchEdit::sigDoSearch);
    QSignalSpy lost(edit, &CustomSearchEdit::sigLostFocus);

    win.other->setFocus();
    QTRY_VERIFY(win.other->hasFocus());
    QCOMPARE(search.count(), 1);
    QCOMPARE(lost.count(), 0);
    QCOMPARE(edit->text(), QString());
    QCOMPARE(edit->searchText(), QString());

    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    search.clear();
    QTest::keyClicks(edit, QStringLiteral("abcdefghijklmnopqrst"));
    QCOMPARE(edit->text(), QStringLiteral("abcdefghijklmno"));
    QCOMPARE(edit->searchText(), QStringLiteral("abcdefghijklmno"));
    QCOMPARE(search.count(), 15);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->searchText(), QStringLiteral("abcdefghijklmn"));
    QCOMPARE(search.count(), 16);
    // Leaving and coming back does not bring the hint back nor clear the text again.
    win.other->setFocus();
    QTRY_VERIFY(win.other->hasFocus());
    QCOMPARE(textColor(*edit), QColor(100, 100, 100));
    QCOMPARE(edit->text(), QStringLiteral("abcdefghijklmn"));
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    QCOMPARE(edit->text(), QStringLiteral("abcdefghijklmn"));
    QCOMPARE(textColor(*edit), QColor(0, 0, 0));
    // The hint's own text is never searched for.
    search.clear();
    edit->setText(QStringLiteral("Search ..."));
    QCOMPARE(search.count(), 0);
    QCOMPARE(edit->searchText(), QStringLiteral("abcdefghijklmn"));
}

void TestSharedWidgets::spinBoxKeys_data()
{
    QTest::addColumn<int>("base");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("after");

    // The box allows negative values, and in base 16 letters, so a plain spin box would take
    // the minus sign and the letters a to f; this one must not.
    for (int k = Qt::Key_1; k <= Qt::Key_9; ++k)
        QTest::addRow("digit %c after 4", char(k))
                << 10 << "4" << k << QStringLiteral("4") + QChar(k);
    QTest::newRow("0 after 4") << 10 << "4" << int(Qt::Key_0) << "40";
    QTest::newRow("first digit") << 10 << "" << int(Qt::Key_7) << "7";
    QTest::newRow("0 on empty dropped") << 10 << "" << int(Qt::Key_0) << "";
    QTest::newRow("backspace") << 10 << "42" << int(Qt::Key_Backspace) << "4";
    QTest::newRow("launch key accepted, types nothing") << 10 << "4" << int(Qt::Key_Launch3) << "4";
    QTest::newRow("letter dropped") << 16 << "4" << int(Qt::Key_A) << "4";
    QTest::newRow("letter on empty dropped") << 16 << "" << int(Qt::Key_F) << "";
    QTest::newRow("minus on empty dropped") << 10 << "" << int(Qt::Key_Minus) << "";
    QTest::newRow("plus dropped") << 10 << "" << int(Qt::Key_Plus) << "";
    QTest::newRow("period dropped") << 10 << "4" << int(Qt::Key_Period) << "4";
    QTest::newRow("comma dropped") << 10 << "4" << int(Qt::Key_Comma) << "4";
    QTest::newRow("space dropped") << 10 << "4" << int(Qt::Key_Space) << "4";
    QTest::newRow("up dropped") << 10 << "4" << int(Qt::Key_Up) << "4";
    QTest::newRow("delete dropped") << 10 << "4" << int(Qt::Key_Delete) << "4";
}

void TestSharedWidgets::spinBoxKeys()
{
    QFETCH(int, base);
    QFETCH(QString, before);
    QFETCH(int, key);
    QFETCH(QString, after);

    auto *box = new ISpinBox;
    box->setRange(-1000, 1000);
    box->setDisplayIntegerBase(base);
    FocusWindow win(box);
    QVERIFY(win.exposed());
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    auto *edit = box->findChild<QLineEdit *>();
    QVERIFY(edit);
    edit->setText(before);
    edit->end(false);

    QTest::keyClick(box, Qt::Key(key), Qt::NoModifier);
    QCOMPARE(box->text(), after);
}

// A zero shown is cleared by the first key (which is dropped); what is typed is reported
// when the focus leaves.
void TestSharedWidgets::spinBoxReportsValueOnFocusOut()
{
    auto *box = new ISpinBox;
    box->setRange(0, 1000);
    box->setValue(0);
    FocusWindow win(box);
    QVERIFY(win.exposed());
    QCOMPARE(box->focusPolicy(), Qt::ClickFocus);
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    QCOMPARE(box->text(), QStringLiteral("0"));

    QSignalSpy focusOut(box, &ISpinBox::sigFocusOut);
    QTest::keyClick(box, Qt::Key_5);
    QCOMPARE(box->text(), QString());
    QTest::keyClicks(box, QStringLiteral("4x5"));
    QCOMPARE(box->text(), QStringLiteral("45"));
    QCOMPARE(box->value(), 45);
    QCOMPARE(focusOut.count(), 0);

    win.other->setFocus();
    QTRY_VERIFY(win.other->hasFocus());
    QCOMPARE(focusOut.count(), 1);
    QCOMPARE(focusOut.at(0).at(0).toInt(), 45);
}

void TestSharedWidgets::headerSections_data()
{
    QTest::addColumn<bool>("withCheckBox");
    QTest::addColumn<int>("width");
    QTest::addColumn<QList<int>>("sizes");

    QTest::newRow("no box, 400") << false << 400 << QList<int> {216, 40, 144};
    QTest::newRow("no box, 500") << false << 500 << QList<int> {276, 40, 184};
    QTest::newRow("no box, narrower than fixed part") << false << 30 << QList<int> {0, 40, 0};
    QTest::newRow("box, 465, 5 sections") << true << 465 << QList<int> {65, 100, 100, 100, 100};
    QTest::newRow("box, 468, 5 sections, rest to last")
            << true << 468 << QList<int> {65, 100, 100, 100, 103};
    QTest::newRow("box, 265, 2 sections") << true << 265 << QList<int> {65, 200};
    QTest::newRow("box, narrower than first section") << true << 50 << QList<int> {65, 0, 0};
    QTest::newRow("box, 1 section takes the width") << true << 300 << QList<int> {300};
    QTest::newRow("box, 1 section, narrow") << true << 40 << QList<int> {40};
}

void TestSharedWidgets::headerSections()
{
    QFETCH(bool, withCheckBox);
    QFETCH(int, width);
    QFETCH(QList<int>, sizes);

    QStandardItemModel model(1, sizes.size());
    LumoTableHeader header(Qt::Horizontal, nullptr, withCheckBox);
    header.setModel(&model);
    header.resize(width, 30);
    header.show();
    QVERIFY(QTest::qWaitForWindowExposed(&header));

    QCOMPARE(header.width(), width);
    QCOMPARE(header.hasCheckBox(), withCheckBox);
    QCOMPARE(bool(header.checkBox()), withCheckBox);
    QCOMPARE(header.findChildren<QCheckBox *>().size(), withCheckBox ? 1 : 0);
    QList<int> actual;
    for (int i = 0; i < header.count(); ++i) {
        actual << header.sectionSize(i);
        QCOMPARE(header.sectionResizeMode(i), QHeaderView::Fixed);
    }
    QCOMPARE(actual, sizes);
}

void TestSharedWidgets::headerCheckBoxGeometry()
{
    QStandardItemModel model(1, 3);
    LumoTableHeader header(Qt::Horizontal, nullptr, true);
    QVERIFY(header.hasCheckBox());
    QVERIFY(!header.checkState());
    QCheckBox *box = header.checkBox();
    QVERIFY(box);
    QCOMPARE(box->parentWidget(), &header);
    QCOMPARE(box->text(), QStringLiteral("All"));

    header.setModel(&model);
    header.resize(365, 28);
    header.show();
    QVERIFY(QTest::qWaitForWindowExposed(&header));
    QCOMPARE(box->geometry(), QRect(0, 0, 100, 28));

    header.resize(365, 34);
    QTRY_COMPARE(box->geometry(), QRect(0, 0, 100, 34));

    // When the first section scrolls out of sight the box follows it on the next paint.
    header.setOffset(20);
    QTRY_COMPARE(box->geometry(), QRect(-20, 0, 100, 34));

    header.setCheckState(true);
    QVERIFY(header.checkState());
}

void TestSharedWidgets::noFocusDelegateDropsFocusState()
{
    QStandardItemModel model;
    model.appendRow(new QStandardItem(QStringLiteral("Cam 1")));
    const QModelIndex index = model.index(0, 0);

    // QWidget::setStyle does not take ownership; the style outlives the widget.
    auto style = std::make_unique<ProbeStyle>();
    QWidget view;
    view.setStyle(style.get());

    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.widget = &view;
    option.rect = QRect(0, 0, 100, 20);
    option.state |= QStyle::State_HasFocus | QStyle::State_Selected | QStyle::State_Enabled;

    QImage image(100, 20, QImage::Format_ARGB32);
    QPainter painter(&image);

    // The plain delegate passes the focus flag on; ours must not.
    QStyledItemDelegate plain;
    plain.paint(&painter, option, index);
    NoFocusDelegate delegate;
    delegate.paint(&painter, option, index);
    painter.end();

    QCOMPARE(style->itemStates.size(), 2);
    QVERIFY(style->itemStates.at(0).testFlag(QStyle::State_HasFocus));
    QVERIFY(!style->itemStates.at(1).testFlag(QStyle::State_HasFocus));
    QVERIFY(style->itemStates.at(1).testFlag(QStyle::State_Selected));
    // The caller's option is left as it was.
    QVERIFY(option.state.testFlag(QStyle::State_HasFocus));
}

void TestSharedWidgets::treeItemNameIsNotItsText()
{
    QTreeWidget tree;
    auto *item = new ServerConfigTreeItem(&tree, {QStringLiteral("Area 1")});
    QCOMPARE(item->type(), int(ServerConfigTreeItem::Type));
    item->setChannelName(QStringLiteral("Gate"));
    QCOMPARE(item->channelName(), QStringLiteral("Gate"));
    // The shown text is the caller's business, not the channel name's.
    QCOMPARE(item->text(0), QStringLiteral("Area 1"));
}

QTEST_MAIN(TestSharedWidgets)
#include "tst_sharedwidgets.moc"
