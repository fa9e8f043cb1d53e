// Records shared with the matrix service: byte layouts, fixed-size texts, turn codes.
#include "CellTurnInfo.h"
#include "DigitalMatrixServerInfo.h"
#include "FixedText.h"
#include "MatrixServiceTypes.h"

#include <QtTest>

#include <cstring>

using namespace LUMO_DIGITALMATRIX_MODULE;

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void fixedTextCutsAndTerminates_data();
    void fixedTextCutsAndTerminates();
    void fixedTextReadStopsAtTheFieldEnd();
    void turnCodesMapBothWays_data();
    void turnCodesMapBothWays();
    void defaultsOfServerInfoAndMirrorLayout();
};

void TestRecords::fixedTextCutsAndTerminates_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected"); // the whole field

    QTest::newRow("short text, zero tail")
            << 8 << QByteArray("abc") << QByteArray("abc\0\0\0\0\0", 8);
    QTest::newRow("exactly size-1") << 4 << QByteArray("abc") << QByteArray("abc\0", 4);
    QTest::newRow("too long is cut") << 4 << QByteArray("abcdef") << QByteArray("abc\0", 4);
    QTest::newRow("empty") << 3 << QByteArray() << QByteArray("\0\0\0", 3);
    QTest::newRow("one byte field") << 1 << QByteArray("x") << QByteArray("\0", 1);
}

void TestRecords::fixedTextCutsAndTerminates()
{
    QFETCH(int, size);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);
    QByteArray buffer(size + 2, '\x7f'); // guard bytes on both ends
    FixedText::write(buffer.data() + 1, size_t(size), text);
    QCOMPARE(buffer.at(0), '\x7f');
    QCOMPARE(buffer.mid(1, size), expected);
    QCOMPARE(buffer.at(size + 1), '\x7f');
}

void TestRecords::fixedTextReadStopsAtTheFieldEnd()
{
    char field[4] = {'a', 'b', 'c', 'd'}; // no terminating zero
    QCOMPARE(FixedText::read(field), QByteArray("abcd"));
    char shorter[4] = {'a', 0, 'c', 'd'};
    QCOMPARE(FixedText::read(shorter), QByteArray("a"));
    QCOMPARE(FixedText::read(nullptr, 10), QByteArray());

    _ST_ChnInfo record;
    std::memset(&record, 0xEE, sizeof record);
    FixedText::writeLocal(record.deviceText5, QStringLiteral("0123456789ABCDEFGHIJ"));
    QCOMPARE(FixedText::read(record.deviceText5), QByteArray("0123456789ABCDEF"));
    // The field after it is untouched.
    QCOMPARE(uchar(record.reserved1[0]), uchar(0xEE));
}

void TestRecords::turnCodesMapBothWays_data()
{
    QTest::addColumn<int>("moduleCode");
    QTest::addColumn<int>("serviceCode");
    QTest::addColumn<int>("backToModule");
    QTest::newRow("start runs") << 0 << 0 << 0;
    QTest::newRow("stop stops") << 1 << 2 << 1;
    QTest::newRow("pause pauses") << 2 << 1 << 2;
    QTest::newRow("continue runs") << 3 << 0 << 0;
    QTest::newRow("unknown") << 7 << -1 << -1;
}

void TestRecords::turnCodesMapBothWays()
{
    QFETCH(int, moduleCode);
    QFETCH(int, serviceCode);
    QFETCH(int, backToModule);
    QCOMPARE(CellTurnInfo::toServiceCode(moduleCode), serviceCode);
    if (serviceCode >= 0)
        QCOMPARE(CellTurnInfo::fromServiceCode(serviceCode), backToModule);
    QCOMPARE(CellTurnInfo::fromServiceCode(3), -1);
}

void TestRecords::defaultsOfServerInfoAndMirrorLayout()
{
    // The record layouts themselves are fixed by static_asserts in MatrixServiceTypes.h.
    QCOMPARE(mirrorLayoutSize(-1), mirrorLayoutSize(0));
    DigitalMatrixServerInfo info;
    QCOMPARE(info.matrixKind, 2);
    QVERIFY(info.id.isEmpty());
    DigitalMatrixServerInfo other = info;
    other.password = QStringLiteral("x");
    QVERIFY(info != other);
}

QTEST_APPLESS_MAIN(TestRecords)
#include "tst_records.moc"
