// The configuration-set file at scale: a Jorb file of 5,000 or 20,000 sets (about 4 or 16 MB)
// opened and listed on the path panel, one set saved, one set deleted, each through the code a
// model choice and the list's buttons run, in the program started on the emulated board with
// its waits taken out. Save and delete include writing the whole file (with its sync to the
// disk). The model-choice rows choose Jorb from the Device menu with such a file in the project
// directory (or none), the window's pending work (layout, painting) done before the clock stops.
//
// The counters rss_mb and peak_mb give the process's resident memory after the runs; run one
// row alone (--benchmark_filter=ConfigScaleSaveOneSet/20000) to read them for its file without
// the others' memory.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "bench/bench_support.h"
#include "panels/AudioCodec_pan.h"
#include "panels/cfgPathJorb_pan.h"
#include "regmap/config_list.h"
#include "regmap/config_sets.h"
#include "runtime/ui.h"
#include "shell/handles.h"
#include "shell/model_select.h"
#include "shell/state.h"

namespace {

constexpr int kList = ui::cfgPathJorb_pan::CFGPATHJorb_STD_CFG;

// A Jorb file of `sets` sets, written once in a folder of its own that goes when the program
// ends (no file at all for 0 sets).
struct ScaleFile {
    std::filesystem::path dir;
    std::string path;
    explicit ScaleFile(int sets)
        : dir(std::filesystem::temp_directory_path() /
              ("codecbench-scale-bench-" + std::to_string(::getpid()) + "-" + std::to_string(sets))),
          path((dir / "STconfig.dat").string()) {
        std::filesystem::create_directories(dir);
        if (sets == 0) return;
        rt::IniText ini = rt::Ini_New(0);
        for (int i = 0; i < sets; ++i) {
            CFG_REG[4] = static_cast<uint32_t>(i & 0x1FF);  // sets that differ
            PutConfigSet(CFG_JORB, ini, "Set " + std::to_string(i + 1));
        }
        rt::Ini_WriteToFile(ini, path.c_str());
        rt::Ini_Dispose(ini);
    }
    ~ScaleFile() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

const ScaleFile& File(int sets) {
    static std::map<int, std::unique_ptr<ScaleFile>> files;
    std::unique_ptr<ScaleFile>& file = files[sets];
    if (!file) file = std::make_unique<ScaleFile>(sets);
    return *file;
}

// The program started once.
bool Started() {
    static const bool started = [] {
        static benchsupport::QuietPrompter prompter;  // Yes to the delete and update questions
        if (!benchsupport::StartShell()) return false;
        rt::SetPrompter(&prompter);
        DeviceAttached = 0;
        return true;
    }();
    return started;
}

// The program started; the Jorb file globals name the file of `sets` sets.
bool Ready(int sets) {
    if (!Started()) return false;
    std::snprintf(STcfgFileName, sizeof STcfgFileName, "%s", File(sets).path.c_str());
    return true;
}

// Opens and lists the file as a Jorb choice does.
void OpenAndList() {
    InitConfig(&STIniConfig, STcfgFileName, 0, 1);
    PopulatePanelCFGListBox();
}

// Starts the shell once and opens the file, or marks the benchmark as failed.
bool Opened(benchmark::State& state) {
    if (!Ready(static_cast<int>(state.range(0)))) {
        state.SkipWithError("start-up failed");
        return false;
    }
    OpenAndList();
    return true;
}

// Resident and peak resident memory of the process, in MB.
void MemoryCounters(benchmark::State& state) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) state.counters["rss_mb"] = std::stod(line.substr(6)) / 1024.0;
        if (line.rfind("VmHWM:", 0) == 0) state.counters["peak_mb"] = std::stod(line.substr(6)) / 1024.0;
    }
}

void BM_ConfigScaleOpenAndList(benchmark::State& state) {
    if (!Opened(state)) return;
    for (auto _ : state) OpenAndList();
    int items = 0;
    rt::GetNumListItems(PHandleSTPath, kList, &items);
    state.counters["sets"] = items;
    state.counters["file_mb"] =
        static_cast<double>(std::filesystem::file_size(File(static_cast<int>(state.range(0))).path)) / (1024.0 * 1024.0);
    MemoryCounters(state);
}

// Update on the last set of the list: every register put in place, the whole file written.
void BM_ConfigScaleSaveOneSet(benchmark::State& state) {
    if (!Opened(state)) return;
    rt::SetCtrlIndex(PHandleSTPath, kList, static_cast<int>(state.range(0)) - 1);
    for (auto _ : state)
        rt::CallCtrlCallback(PHandleSTPath, ui::cfgPathJorb_pan::CFGPATHJorb_UPDATE_CFG, rt::EVENT_COMMIT, 0, 0);
    MemoryCounters(state);
}

// Delete on the set in the middle of the list: its sections removed, the file written, the list
// filled again. The next set moves up into its place, so every run deletes a middle set.
void BM_ConfigScaleDeleteOneSet(benchmark::State& state) {
    if (!Opened(state)) return;
    const int sets = static_cast<int>(state.range(0));
    for (auto _ : state) {
        rt::SetCtrlIndex(PHandleSTPath, kList, sets / 2);
        rt::CallCtrlCallback(PHandleSTPath, ui::cfgPathJorb_pan::CFGPATHJorb_DEL_CFG, rt::EVENT_COMMIT, 0, 0);
    }
    int items = 0;
    rt::GetNumListItems(PHandleSTPath, kList, &items);
    state.counters["deleted"] = sets - items;
    MemoryCounters(state);
}

// Writing the same 4 MB file alone (with its sync): the share of save and delete that is the
// disk's rather than the program's.
void BM_ConfigScaleWriteFileOnly(benchmark::State& state) {
    if (!Opened(state)) return;
    const std::string text = rt::Ini_ToString(STIniConfig);
    for (auto _ : state) rt::WriteFileAtomic(STcfgFileName, text);
}

// Choosing Jorb from the Device menu with a file of state.range(0) sets in the project directory
// (0: none there, so the choice creates one of a single set; the folder is emptied before each
// choice). Each choice follows one of Pykc, so the tab sets swap and the list is filled afresh;
// the Pykc choices are not timed. The window's pending work is done inside the timing.
void BM_ConfigScaleChooseJorb(benchmark::State& state) {
    using namespace ui::AudioCodec_pan;
    const int sets = static_cast<int>(state.range(0));
    if (!Started()) {
        state.SkipWithError("start-up failed");
        return;
    }
    const ScaleFile& file = File(sets);
    const char* saved = std::getenv("CODECBENCH_HOME");
    const std::string home = saved ? saved : "";
    setenv("CODECBENCH_HOME", file.dir.c_str(), 1);
    for (auto _ : state) {
        state.PauseTiming();
        rt::CallMenuCallback(PHandleMenu, MENUBAR_DEVICE_Mono);
        rt::ProcessSystemEvents();
        if (sets == 0) std::filesystem::remove(file.path);
        state.ResumeTiming();
        rt::CallMenuCallback(PHandleMenu, MENUBAR_DEVICE_StereoJorb);
        rt::ProcessSystemEvents();
    }
    int items = 0;
    rt::GetNumListItems(PHandleSTPath, kList, &items);
    state.counters["sets"] = items;
    MemoryCounters(state);
    if (saved)
        setenv("CODECBENCH_HOME", home.c_str(), 1);
    else
        unsetenv("CODECBENCH_HOME");
}

void Sizes(benchmark::internal::Benchmark* b) { b->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond); }

BENCHMARK(BM_ConfigScaleOpenAndList)->Apply(Sizes);
BENCHMARK(BM_ConfigScaleSaveOneSet)->Apply(Sizes);
BENCHMARK(BM_ConfigScaleDeleteOneSet)->Apply(Sizes);
BENCHMARK(BM_ConfigScaleWriteFileOnly)->Apply(Sizes);
BENCHMARK(BM_ConfigScaleChooseJorb)->Arg(0)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
