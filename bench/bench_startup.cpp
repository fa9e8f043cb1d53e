// Start-up: a fresh process that opens a data centre of five servers, calls
// MatrixModuleConfig::instance(), builds DigitalMatrixConfigPage and paints it once, against
// a fresh process that shows and paints an empty QWidget. Each sample is a new process
// (this executable with --startup-child), so that nothing is warm but the disk cache.
#include "BenchStartup.h"

#include "DigitalMatrixConfigPage.h"
#include "MatrixModuleConfig.h"
#include "UserManagerCore.h"

#include <QApplication>
#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>

using namespace LUMO_DIGITALMATRIX_MODULE;

namespace {

using Clock = std::chrono::steady_clock;

QString databaseWithFiveServers(const QTemporaryDir &dir)
{
    const QString file = dir.filePath(QStringLiteral("datacentre.db"));
    DATACore::UserManagerCore *dc = DATACore::UserManagerCore::instance();
    dc->open(file);
    for (int k = 0; k < 5; ++k)
        dc->AddServer(QStringLiteral("Wall %1").arg(k + 1), QStringLiteral("10.0.0.%1").arg(k + 1),
                      QString(), QString(), 9010, SERVERTYPE_X86_DIGITALMATRIX);
    dc->close();
    return file;
}

// Runs one child; its own measurement (ms from before QApplication to after the first paint)
// and the whole process's wall time.
bool runChild(const QString &mode, const QString &database, double *inProcessMs, double *processMs)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QT_LOGGING_RULES"),
                       QStringLiteral("*.debug=false;*.info=false"));
    child.setProcessEnvironment(environment);
    const Clock::time_point start = Clock::now();
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--startup-child=") + mode, database});
    if (!child.waitForFinished(60000) || child.exitCode() != 0)
        return false;
    *processMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    const QByteArray out = child.readAllStandardOutput();
    const int at = out.indexOf("startup_ms ");
    if (at < 0)
        return false;
    *inProcessMs = out.mid(at + 11).trimmed().toDouble();
    return true;
}

void startupBenchmark(benchmark::State &state, const QString &mode)
{
    QTemporaryDir dir;
    const QString database = databaseWithFiveServers(dir);
    double processTotal = 0;
    int samples = 0;
    for (auto _ : state) {
        double inProcess = 0;
        double process = 0;
        if (!runChild(mode, database, &inProcess, &process)) {
            state.SkipWithError("the start-up child failed");
            break;
        }
        state.SetIterationTime(inProcess / 1000.0);
        processTotal += process;
        ++samples;
    }
    state.counters["process_ms"] = samples ? processTotal / samples : 0;
}

void BM_StartupModule(benchmark::State &state)
{
    startupBenchmark(state, QStringLiteral("module"));
}

void BM_StartupFloor(benchmark::State &state)
{
    startupBenchmark(state, QStringLiteral("empty"));
}

} // namespace

int runStartupChild(const QString &mode, const QString &database, int argc, char **argv)
{
    const Clock::time_point start = Clock::now();
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> shown;
    if (mode == QLatin1String("module")) {
        if (!DATACore::UserManagerCore::instance()->open(database))
            return 2;
        MatrixModuleConfig::instance();
        shown = std::make_unique<DigitalMatrixConfigPage>();
    } else {
        shown = std::make_unique<QWidget>();
    }
    shown->resize(1280, 760);
    shown->show();
    if (!QTest::qWaitForWindowExposed(shown.get()))
        return 3;
    shown->repaint();
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("startup_ms %.3f\n", ms);
    std::fflush(stdout);
    return 0;
}

BENCHMARK(BM_StartupModule)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(10)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
BENCHMARK(BM_StartupFloor)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(10)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
