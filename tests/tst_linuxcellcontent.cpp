// The content of a Linux cell without its widgets: placement, pages, the position named by
// the check dialog and the turn-show transitions.
#include "LinuxCellContent.h"

#include <QtTest>

using namespace LUMO_DIGITALMATRIX_MODULE;

namespace {

CellChannelItem channel(const QString &key, int position)
{
    CellChannelItem item;
    item.channelId = key;
    item.channelName = key;
    item.position = position;
    return item;
}

// "key@position" for every channel held, in position order.
QStringList held(const LinuxCellContent &content)
{
    QStringList out;
    for (const CellChannelItem &item : content.channels())
        out << QStringLiteral("%1@%2").arg(item.channelId).arg(item.position);
    return out;
}

} // namespace

class TestLinuxCellContent : public QObject
{
    Q_OBJECT

private slots:
    void placementKeepsFreePositions_data();
    void placementKeepsFreePositions();
    void reportedChannelsStayInsideTheCell();
    void pagesAndNames();
    void turnTransitions_data();
    void turnTransitions();
    void reportedTurnTakesWhatIsKnown();
};

void TestLinuxCellContent::placementKeepsFreePositions_data()
{
    QTest::addColumn<QList<int>>("positions"); // of channels a, b, c, ...
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("none placed") << QList<int> {-1, -1, -1} << QStringList {"a@0", "b@1", "c@2"};
    QTest::newRow("placed kept, others fill the gaps")
            << QList<int> {2, -1, 0, -1} << QStringList {"c@0", "b@1", "a@2", "d@3"};
    QTest::newRow("a taken position counts as none")
            << QList<int> {1, 1} << QStringList {"b@0", "a@1"};
    QTest::newRow("outside the cell counts as none")
            << QList<int> {16, 5} << QStringList {"a@0", "b@5"};
}

void TestLinuxCellContent::placementKeepsFreePositions()
{
    QFETCH(QList<int>, positions);
    QFETCH(QStringList, expected);
    QList<CellChannelItem> items;
    for (int i = 0; i < positions.size(); ++i)
        items << channel(QString(QChar('a' + i)), positions.at(i));
    LinuxCellContent content;
    content.place(items);
    QCOMPARE(held(content), expected);
}

void TestLinuxCellContent::reportedChannelsStayInsideTheCell()
{
    CellChannelItem a = channel("a", 99), b = channel("b", -1);
    LinuxCellContent content;
    content.put(channel("old", 3));
    content.setReported({{0, &a}, {15, &b}, {16, &b}, {-1, &a}, {4, nullptr}});
    QCOMPARE(held(content), (QStringList {"a@0", "b@15"}));
}

void TestLinuxCellContent::pagesAndNames()
{
    LinuxCellContent content;
    QCOMPARE(content.pageCount(4), 0);
    content.place({channel("a", -1), channel("b", -1), channel("c", -1), channel("d", -1),
                   channel("e", -1)});
    QCOMPARE(content.pageCount(4), 2);
    QCOMPARE(content.pageCount(0), 5);
    QCOMPARE(content.positionOfPane(3, 4), 3);
    QVERIFY(content.holdsChannelAt(4));
    content.remove(4);
    QVERIFY(!content.holdsChannelAt(4));
    QCOMPARE(content.positionNamedBy("2"), 2); // a held position
    QCOMPARE(content.positionNamedBy("d"), 3); // a channel key
    QCOMPARE(content.positionNamedBy("9"), -1);
    QCOMPARE(content.positionNamedBy(QString()), -1);
}

void TestLinuxCellContent::turnTransitions_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QList<bool>>("allowed"); // start, stop, pause, continue
    QTest::addColumn<bool>("started");
    QTest::newRow("running") << 0 << QList<bool> {false, true, true, false} << true;
    QTest::newRow("stopped") << 1 << QList<bool> {true, false, false, false} << false;
    QTest::newRow("paused") << 2 << QList<bool> {true, true, false, true} << false;
    QTest::newRow("continued") << 3 << QList<bool> {false, true, true, false} << true;
}

void TestLinuxCellContent::turnTransitions()
{
    QFETCH(int, state);
    QFETCH(QList<bool>, allowed);
    QFETCH(bool, started);
    LinuxCellContent content;
    content.setTurnState(CellTurnCode(state));
    QList<bool> got;
    for (int op = 0; op < 4; ++op)
        got << content.allows(CellTurnCode(op));
    QCOMPARE(got, allowed);
    QCOMPARE(content.isTurnStarted(), started);
    QVERIFY(!content.allows(CellTurnCode(4)));
    QCOMPARE(content.turnInfo(CellTurnCode::TurnPause).turnState, 2);
}

void TestLinuxCellContent::reportedTurnTakesWhatIsKnown()
{
    LinuxCellContent content;
    CellTurnInfo info;
    info.turnInterval = 0;
    info.turnState = 7;
    content.setReportedTurn(info);
    QCOMPARE(content.turnInterval(), 30);
    QCOMPARE(int(content.turnState()), 1);
    info.turnInterval = 12;
    info.turnState = 2;
    content.setReportedTurn(info);
    QCOMPARE(content.turnInterval(), 12);
    QCOMPARE(int(content.turnState()), 2);
    QCOMPARE(content.turnInfo(content.turnState()).turnInterval, 12);
}

QTEST_GUILESS_MAIN(TestLinuxCellContent)
#include "tst_linuxcellcontent.moc"
