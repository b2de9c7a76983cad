// Entry point of the benchmark program. A QApplication exists for the
// benchmarks that draw; run under Xvfb when there is no display.
#include "app/SurfaceFormat.h"
#include "platform/HeapPolicy.h"

#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    keepLargeBlocksOutOfTheHeap(); // as the program does: memory figures are the program's
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    installDefaultSurfaceFormat();
    QApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
