// A power-up with the board's real waits, on the emulated board, for Jorb and for Pykc (the mono
// walk, with its ramp of 10 ms pauses): how long each pause between two reports lasts beyond its
// length (from the board's report trace; the pause's length is what the power-up asks of the
// sleeper), how far all of them together outlast the waits asked, and the CPU the whole power-up
// takes. Run it alone in a fresh process: the trace must be on when the board library loads.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "bench/bench_support.h"
#include "boardhid/emulator_control.h"
#include "panels/AudioCodec_pan.h"
#include "panels/MNDevCtrl_pan.h"
#include "panels/cfgDevJorb_pan.h"
#include "runtime/ui.h"
#include "shell/handles.h"
#include "shell/state.h"

namespace {

using namespace ui::AudioCodec_pan;

std::string TracePath() {
    static const std::string path = "/tmp/codecbench-bench-trace." + std::to_string(getpid()) + ".log";
    return path;
}

// Starts the program with the report trace on; false when the board library was loaded before
// (by another benchmark of this process) without it.
bool StartTraced() {
    static const bool traced = [] {
        if (PHandlePanel > 0) return false;
        std::remove(TracePath().c_str());
        setenv("BOARDHID_TRACE", TracePath().c_str(), 1);
        std::atexit([] { std::remove(TracePath().c_str()); });
        const bool started = benchsupport::StartShell();
        unsetenv("BOARDHID_TRACE");
        return started;
    }();
    return traced;
}

// Seconds of the report lines sent to the board ("OUT") from line `from` of the trace on.
std::vector<double> SentTimes(size_t from, size_t* lines) {
    std::ifstream in(TracePath());
    std::vector<double> times;
    std::string line;
    size_t n = 0;
    while (std::getline(in, line)) {
        if (n++ < from) continue;
        std::istringstream fields(line);
        double seconds = 0;
        std::string direction;
        if (fields >> seconds >> direction && direction == "OUT") times.push_back(seconds);
    }
    *lines = n;
    return times;
}

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The model each row powers up: its Device menu item, its device-control panel and button.
struct Model {
    const char* name;
    int menuItem;
    const int* panel;
    int powerUp;
};
const Model kModels[] = {
    {"Jorb", MENUBAR_DEVICE_StereoJorb, &PHandleSTDevCtrl, ui::cfgDevJorb_pan::CFGDEVJorb_BPowerUp},
    {"Pykc", MENUBAR_DEVICE_Mono, &PHandleMNDevCtrl, ui::MNDevCtrl_pan::MNDEVCTRL_BPowerUp},
};

void PressPowerUp(const Model& m) { rt::CallCtrlCallback(*m.panel, m.powerUp, rt::EVENT_COMMIT, 0, 0); }

double Percentile(std::vector<double> v, double q) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(q * static_cast<double>(v.size() - 1) + 0.5)];
}

void BM_PowerUpRealWaits(benchmark::State& state) {
    static benchsupport::QuietPrompter prompter;
    if (!StartTraced()) {
        state.SkipWithError("run alone (--benchmark_filter=PowerUpRealWaits): the trace must be on at start-up");
        return;
    }
    rt::SetPrompter(&prompter);
    boardhid::EmulatedBoard* board = boardhid::FindEmulatedBoard();
    if (!board) {
        state.SkipWithError("no emulated board");
        return;
    }
    const Model& model = kModels[state.range(0)];
    state.SetLabel(model.name);
    rt::CallMenuCallback(PHandleMenu, model.menuItem);

    // The pauses of the power-up, by the report they follow: asked of an instant sleeper.
    std::map<size_t, double> pauses;  // reports received before the pause -> its seconds
    board->ClearReceivedReports();
    os::SetSleeper([&](int ms) { pauses[board->ReceivedReports().size()] += ms / 1000.0; });
    PressPowerUp(model);
    const size_t reports = board->ReceivedReports().size();

    std::vector<double> over;  // milliseconds beyond each pause's length
    double asked = 0;          // milliseconds of the pauses measured
    double cpu = 0;
    int runs = 0;
    size_t traceLines = 0;
    SentTimes(0, &traceLines);
    for (auto _ : state) {
        os::SetSleeper(nullptr);
        const double cpuStart = CpuSeconds();
        PressPowerUp(model);
        cpu += CpuSeconds() - cpuStart;
        os::SetSleeper([](int) {});
        ++runs;
        std::vector<double> sent = SentTimes(traceLines, &traceLines);
        if (sent.size() != reports) {
            state.SkipWithError("the power-up sent another number of reports than it did first");
            return;
        }
        // Pauses before the first report and after the last are not bounded by two reports.
        for (const auto& [after, seconds] : pauses)
            if (after > 0 && after < sent.size()) {
                over.push_back((sent[after] - sent[after - 1] - seconds) * 1000.0);
                asked += seconds * 1000.0;
            }
    }
    os::SetSleeper([](int) {});
    state.counters["pauses"] = runs > 0 ? static_cast<double>(over.size()) / runs : 0;
    state.counters["over_min_ms"] = Percentile(over, 0);
    state.counters["over_median_ms"] = Percentile(over, 0.5);
    state.counters["over_max_ms"] = Percentile(over, 1);
    double overall = 0;
    for (double ms : over) overall += ms;
    state.counters["over_pct"] = asked > 0 ? overall * 100.0 / asked : 0;
    state.counters["cpu_ms"] = runs > 0 ? cpu * 1000.0 / runs : 0;
}

BENCHMARK(BM_PowerUpRealWaits)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
