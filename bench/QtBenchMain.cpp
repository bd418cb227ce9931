// The main of the benchmarks that need Qt's application object.

#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
