// links: tessaran_platform_qtcore tessaran_analysis_core
// Reading a profile of 200,000 sections (a hand-edited or machine-grown file)
// and the analysis pages' settings from it, as each run of the command line
// and each start of the program does.
#include "analysis/ExportChoicesFromRecords.h"
#include "platform/qt/IniProfileStore.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

namespace {

void BM_ReadProfileOf200000Sections(benchmark::State& state) {
    TempDir dir;
    const std::string path = dir.file("big.ini");
    {
        std::ofstream out(path);
        for (int i = 0; i < 200000; ++i)
            out << "[Section " << i << "]\nRamp1 Start=" << i << "\nRamp1 End=" << i + 5 << "\n";
    }
    for (auto _ : state) {
        IniProfileStore store("bench", path);
        AnalysisPageRecords pages;
        pages.Load(store);
        benchmark::DoNotOptimize(pages.slopeConductance.ramp1Start);
    }
}
BENCHMARK(BM_ReadProfileOf200000Sections)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
