#pragma once
// The main of a benchmark that needs widgets: an application on the offscreen platform.

#include <QApplication>
#include <benchmark/benchmark.h>

#define ORVEL_WIDGET_BENCH_MAIN()                                                                  \
    int main(int argc, char** argv) {                                                              \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                   \
        QApplication app(argc, argv);                                                              \
        benchmark::Initialize(&argc, argv);                                                        \
        benchmark::RunSpecifiedBenchmarks();                                                       \
        benchmark::Shutdown();                                                                     \
        return 0;                                                                                  \
    }
