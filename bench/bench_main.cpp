// The benchmarks of the module (Google Benchmark). Run through scripts/bench.sh, which turns
// the JSON output into docs/performance.md. "--startup-child=<mode> <database>" is the
// child process of the start-up benchmark.
#include "BenchStartup.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstring>

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--startup-child=", 16) == 0)
            return runStartupChild(QString::fromLocal8Bit(argv[i] + 16),
                                   i + 1 < argc ? QString::fromLocal8Bit(argv[i + 1]) : QString(),
                                   1, argv);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The module's debug lines cost time and would be measured with it.
    qputenv("QT_LOGGING_RULES", "*.debug=false;*.info=false");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
