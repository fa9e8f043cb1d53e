// The event hub: service callbacks from foreign threads become signals on the GUI thread.
#include "DigitalMatrixConfigSignals.h"
#include "DigitalMatrixInteractionPort.h"
#include "MatrixModuleConfig.h"

#include "FakeMatrixService.h"
#include "WallGeometry.h"

#include <QApplication>
#include <QProcess>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <thread>
#include <vector>

using namespace LUMO_DIGITALMATRIX_MODULE;

namespace {

QString rectText(const RECT &r)
{
    return QStringLiteral("%1,%2,%3,%4").arg(r.left).arg(r.top).arg(r.right).arg(r.bottom);
}

QString numbers(const QList<int> &values)
{
    QStringList out;
    for (int v : values)
        out << QString::number(v);
    return out.join(QLatin1Char(' '));
}

// Records the layout and screen signals in arrival order, with the thread they ran on.
class LayoutRecorder : public QObject
{
public:
    explicit LayoutRecorder(DigitalMatrixConfigSignals *hub)
    {
        connect(hub, &DigitalMatrixConfigSignals::signalCreateNewLayout, this,
                [this](RECT wall, int count, int p1, int p2, int p3, int p4) {
                    add("create " + rectText(wall) + " n=" + numbers({count, p1, p2, p3, p4}));
                });
        connect(hub, &DigitalMatrixConfigSignals::signalSetOneMirror, this,
                [this](RECT a, RECT b, int index, int split, int layer, int p4, int turn) {
                    add(QStringLiteral("mirror %1 a=%2 b=%3 s=%4 l=%5 p=%6 t=%7")
                                .arg(index)
                                .arg(rectText(a), rectText(b))
                                .arg(split)
                                .arg(layer)
                                .arg(p4)
                                .arg(turn));
                });
        connect(hub, &DigitalMatrixConfigSignals::signalSetMirrorEnd, this, [this] { add("end"); });
        connect(hub, &DigitalMatrixConfigSignals::signalMatrixInfo, this,
                [this](int screens, int rows, int columns) {
                    add("info " + numbers({screens, rows, columns}));
                });
    }
    void add(const QString &event)
    {
        events << event;
        threads << QThread::currentThread();
    }
    QStringList events;
    QList<QThread *> threads;
};

} // namespace

class TestHub : public QObject
{
    Q_OBJECT

private slots:
    void singletonsOutliveTheApplicationSafely_data();
    void singletonsOutliveTheApplicationSafely();
    void init();
    void cleanup();
    void connectStatusBecomesOneSignal_data();
    void connectStatusBecomesOneSignal();
    void layoutArrivesInOrderOnGuiThread_data();
    void layoutArrivesInOrderOnGuiThread();
    void missingOrNegativeLayoutSendsNoWindow();
    void moduleConfigBringsUpHubAndPortOnceAndReleaseKeepsThem();

private:
    std::unique_ptr<FakeMatrixService> service;
};

void TestHub::init()
{
    service = std::make_unique<FakeMatrixService>();
}

void TestHub::cleanup()
{
    MatrixModuleConfig::release();
    service.reset();
}

void TestHub::connectStatusBecomesOneSignal_data()
{
    QTest::addColumn<int>("connType");
    QTest::addColumn<int>("expected"); // index into the spies, -1 for none
    QTest::newRow("success") << 0 << 0;
    QTest::newRow("failed") << 1 << 1;
    QTest::newRow("time-out") << 2 << 2;
    QTest::newRow("disconnect") << 3 << 3;
    QTest::newRow("protocol error") << 4 << 4;
    QTest::newRow("five is ignored") << 5 << -1;
    QTest::newRow("minus one is ignored") << -1 << -1;
    QTest::newRow("huge is ignored") << 0x7fffffff << -1;
}

void TestHub::connectStatusBecomesOneSignal()
{
    QFETCH(int, connType);
    QFETCH(int, expected);
    DigitalMatrixConfigSignals *hub = DigitalMatrixConfigSignals::instance();
    QList<int> received;
    QObject receiver; // lives on the GUI thread: deliveries from the service are queued
    const QList<void (DigitalMatrixConfigSignals::*)()> outcomes {
            &DigitalMatrixConfigSignals::signalConnectSuccess,
            &DigitalMatrixConfigSignals::signalConnectFailed,
            &DigitalMatrixConfigSignals::signalConnectTimeOut,
            &DigitalMatrixConfigSignals::signalDisconnect,
            &DigitalMatrixConfigSignals::signalDisError};
    for (int i = 0; i < outcomes.size(); ++i)
        connect(hub, outcomes.at(i), &receiver, [&received, i] { received << i; });

    // The port registered the hub's callbacks with the service.
    QVERIFY(service->x86()->connCallback);
    service->x86()->fireConnectStatus(connType);
    // Delivered through the event loop, not during the foreign call.
    QVERIFY(received.isEmpty());
    if (expected >= 0)
        QTRY_COMPARE(received.size(), 1);
    QCoreApplication::processEvents();
    QCOMPARE(received, expected >= 0 ? QList<int> {expected} : QList<int> {});

    // Called on the GUI thread the signal runs its slot at once.
    received.clear();
    hub->sendDigitalMatrixConnectStatus(static_cast<ConnType>(connType));
    QCOMPARE(received, expected >= 0 ? QList<int> {expected} : QList<int> {});
}

void TestHub::layoutArrivesInOrderOnGuiThread_data()
{
    QTest::addColumn<int>("windows");
    QTest::newRow("no window") << 0;
    QTest::newRow("two windows") << 2;
    QTest::newRow("sixteen windows") << 16;
    QTest::newRow("more than any wall") << DigitalMatrixConfigSignals::MaxMirrorsPerLayout + 3;
}

void TestHub::layoutArrivesInOrderOnGuiThread()
{
    QFETCH(int, windows);
    const int sent = qMin(windows, int(DigitalMatrixConfigSignals::MaxMirrorsPerLayout));
    LayoutRecorder recorder(DigitalMatrixConfigSignals::instance());
    QVector<_MIRRORINFO> mirrors;
    QStringList expected {"info 6 2 3"};
    expected << QStringLiteral("create 10,20,3850,2180 n=%1 5 1 2 2").arg(sent);
    for (int i = 0; i < windows; ++i) {
        const RECT home = rc(i * 100, 0, i * 100 + 100, 50);
        const RECT current = rc(i * 100 + 1, 2, i * 100 + 99, 48);
        _MIRRORINFO m = mirror(i + 1, home, i % 4 + 1, i % 3, i);
        m.rectB = current;
        m.mirrorParam4 = 77;
        mirrors << m;
        expected << QStringLiteral("mirror %1 a=%2 b=%3 s=%4 l=%5 p=77 t=%6")
                            .arg(i + 1)
                            .arg(rectText(home), rectText(current))
                            .arg(i % 4 + 1)
                            .arg(i)
                            .arg(i % 3);
    }
    expected.erase(expected.begin() + 2 + sent, expected.end());
    expected << QStringLiteral("end");

    // The fake overwrites its buffer right after the callback returns. Nothing is delivered
    // during the foreign calls.
    service->x86()->fireMatrixInfo(6, 2, 3);
    service->x86()->fireLayout(rc(10, 20, 3850, 2180), mirrors, 5, 1, 2, 2);
    QVERIFY(recorder.events.isEmpty());
    QTRY_COMPARE(recorder.events.size(), expected.size());
    QCOMPARE(recorder.events, expected);
    for (QThread *thread : qAsConst(recorder.threads))
        QCOMPARE(thread, QThread::currentThread());
}

void TestHub::missingOrNegativeLayoutSendsNoWindow()
{
    LayoutRecorder recorder(DigitalMatrixConfigSignals::instance());
    // No layout at all sends nothing.
    DigitalMatrixConfigSignals::onLayout(nullptr, nullptr);
    QCoreApplication::processEvents();
    QVERIFY(recorder.events.isEmpty());
    // A negative count sends no window at all.
    QByteArray raw(int(mirrorLayoutSize(0)), '\0');
    reinterpret_cast<_MIRRORLAYOUT *>(raw.data())->mirrorCount = -5;
    service->x86()->fireRawLayout(raw);
    QTRY_COMPARE(recorder.events.size(), 2);
    QVERIFY(recorder.events.first().contains(QStringLiteral("n=-5")));
    QCOMPARE(recorder.events.last(), QStringLiteral("end"));
}

void TestHub::moduleConfigBringsUpHubAndPortOnceAndReleaseKeepsThem()
{
    // Threads asking for the module at once, before the hub and the port exist, get one of each,
    // living on the GUI thread although a foreign thread made them.
    int created = 0;
    FakeX86Matrix *made = nullptr;
    service.reset();
    DigitalMatrixConfigSignals::release();
    DigitalMatrixInteractionPort::release();
    DigitalMatrixInteractionPort::ServiceFactory factory;
    factory.createX86 = [&]() -> IMatrixConfig * {
        ++created;
        return made = new FakeX86Matrix;
    };
    factory.releaseX86 = [](IMatrixConfig *x) { delete static_cast<FakeX86Matrix *>(x); };
    DigitalMatrixInteractionPort::setServiceFactory(factory);

    std::vector<MatrixModuleConfig *> seen(6, nullptr);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&, i] { seen[i] = MatrixModuleConfig::instance(); });
    for (std::thread &t : threads)
        t.join();
    MatrixModuleConfig *config = MatrixModuleConfig::instance();
    for (MatrixModuleConfig *p : seen)
        QCOMPARE(p, config);
    QCOMPARE(created, 1);
    QCOMPARE(config->thread(), qApp->thread());
    QCOMPARE(DigitalMatrixInteractionPort::instance()->thread(), qApp->thread());
    DigitalMatrixConfigSignals *hub = DigitalMatrixConfigSignals::instance();
    QCOMPARE(hub->thread(), qApp->thread());
    QCOMPARE(hub->parent(), qApp);
    config->installMatrixTranslator();
    QCOMPARE(MatrixModuleConfig::instance(), config);
    QCOMPARE(created, 1);

    // Releasing the module keeps the hub and the port, registered as they were.
    DigitalMatrixInteractionPort *port = DigitalMatrixInteractionPort::instance();
    const int registrations = made->count("RegisterCallbacks");
    MatrixModuleConfig::release();
    QCOMPARE(DigitalMatrixConfigSignals::instance(), hub);
    QCOMPARE(DigitalMatrixInteractionPort::instance(), port);
    QCOMPARE(made->count("RegisterCallbacks"), registrations);
}

void TestHub::singletonsOutliveTheApplicationSafely_data()
{
    QTest::addColumn<QString>("order");
    QTest::newRow("release the module, then the port and the hub") << "module-first";
    QTest::newRow("release the hub, then the port and the module") << "hub-first";
    QTest::newRow("ask for each again, then release") << "instance-again";
}

// The application object goes away first, in a process of its own, while the service keeps
// calling back; whatever comes next must not touch freed memory.
void TestHub::singletonsOutliveTheApplicationSafely()
{
    QFETCH(QString, order);
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--teardown"), order});
    QVERIFY(child.waitForFinished(60000));
    const QByteArray output = child.readAll();
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             output.constData());
}

namespace {

int runTeardown(const QByteArray &order)
{
    int argc = 1;
    char name[] = "tst_hub";
    char *argv[] = {name, nullptr};
    auto *app = new QCoreApplication(argc, argv);
    DigitalMatrixInteractionPort::setServiceFactory(DigitalMatrixInteractionPort::ServiceFactory());
    MatrixModuleConfig::instance();
    std::atomic<bool> stop {false};
    std::atomic<int> calls {0};
    std::thread service([&] {
        while (!stop.load()) {
            DigitalMatrixConfigSignals::onConnectStatus(nullptr, ConnDisconnect);
            DigitalMatrixConfigSignals::onMatrixInfo(nullptr, 4, 2, 2);
            ++calls;
        }
    });
    while (calls.load() < 100)
        QThread::yieldCurrentThread();
    delete app;
    const int before = calls.load();
    while (calls.load() < before + 100)
        QThread::yieldCurrentThread();
    stop = true;
    service.join();

    if (order == "module-first") {
        MatrixModuleConfig::release();
        DigitalMatrixInteractionPort::release();
        DigitalMatrixConfigSignals::release();
    } else if (order == "hub-first") {
        DigitalMatrixConfigSignals::release();
        DigitalMatrixInteractionPort::release();
        MatrixModuleConfig::release();
    } else {
        DigitalMatrixConfigSignals::instance()->sendMatrixInfo(4, 2, 2);
        DigitalMatrixInteractionPort::instance()->disconnectLinuxServer();
        MatrixModuleConfig::instance();
        MatrixModuleConfig::release();
        DigitalMatrixInteractionPort::release();
        DigitalMatrixConfigSignals::release();
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--teardown") == 0)
        return runTeardown(argv[2]);
    QApplication app(argc, argv);
    TestHub test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_hub.moc"
