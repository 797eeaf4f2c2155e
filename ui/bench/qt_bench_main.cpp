// The entry of the window benchmarks: a QApplication around Google Benchmark, offscreen unless a
// platform is asked for.

#include "offscreen_platform.h"

#include <QApplication>

#include <benchmark/benchmark.h>

int main(int argc, char *argv[])
{
    UseOffscreenPlatformUnlessAsked();
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
