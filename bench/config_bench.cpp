// A configuration-set file round trip with the board's fixed waits taken out: a set written to
// a fresh file, the file read back, the set loaded into the register copy, and the exchange
// conversions both ways.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/bench_support.h"
#include "oslayer/os.h"
#include "regmap/config_sets.h"
#include "regmap/exchange.h"
#include "runtime/ui.h"
#include "shell/progress.h"
#include "shell/state.h"

namespace {

// A folder of its own for the files, removed when the program ends.
struct BenchFolder {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("codecbench-config-bench-" + std::to_string(::getpid()));
    BenchFolder() { std::filesystem::create_directories(dir); }
    ~BenchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

std::filesystem::path BenchDir() {
    static const BenchFolder folder;
    return folder.dir;
}

// The run-time without the board: every wait instant, the load stays in the register copy.
bool Ready() {
    static benchsupport::QuietPrompter prompter;  // popups would stop the measurement; none is expected
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (rt::InitCVIRTE() != 0) return false;
    rt::SetPrompter(&prompter);
    os::SetSleeper([](int) {});
    DeviceAttached = 0;
    return true;
}

void RoundTrip(benchmark::State& state, ConfigModel model) {
    if (!Ready()) {
        state.SkipWithError("start-up failed");
        return;
    }
    const std::string file = (BenchDir() / "sets.dat").string();
    const std::string hex = (BenchDir() / "sets-hex.dat").string();
    const std::string back = (BenchDir() / "sets-back.dat").string();
    for (auto _ : state) {
        rt::IniText out = rt::Ini_New(0);
        CreateConfigFileFor(model, out, file.c_str(), "Default", 0);
        CreateConfigFileFor(model, out, file.c_str(), "Bench", 0);
        rt::Ini_Dispose(out);
        rt::IniText in = nullptr;
        InitConfigFor(model, &in, file.c_str(), 0, 0);
        StartProgressBar("Loading configuration ...", 6);
        benchmark::DoNotOptimize(LoadSingleConfigFor(model, in, "Bench", 0));
        rt::Ini_Dispose(in);
        ConvertConfigtoHexFormat(file.c_str(), hex.c_str());
        ConvertConfigtoDecimalFormat(back.c_str(), hex.c_str());
    }
}

void BM_ConfigRoundTripJorb(benchmark::State& state) { RoundTrip(state, CFG_JORB); }
void BM_ConfigRoundTripZutb(benchmark::State& state) { RoundTrip(state, CFG_ZUTB); }

BENCHMARK(BM_ConfigRoundTripJorb)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ConfigRoundTripZutb)->Unit(benchmark::kMicrosecond);

}  // namespace
