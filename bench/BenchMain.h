#pragma once
#include <benchmark/benchmark.h>

// The Google Benchmark part of each benchmark's main(), once the
// application object exists: parse the benchmark arguments and run.
inline int runBenchmarks(int& argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
