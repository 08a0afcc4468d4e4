// The configuration-set file at scale: a Jorb file of 5,000 sets (about 4 MB) opened and listed
// on the path panel, one set saved, one set deleted, each through the code a model choice and
// the list's buttons run, in the program started on the emulated board with its waits taken
// out. Save and delete include writing the whole file (with its sync to the disk).
//
// The counters rss_mb and peak_mb give the process's resident memory after the runs; run one
// benchmark alone (--benchmark_filter=ConfigScale) to read them for this file without the
// others' memory.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/bench_support.h"
#include "panels/cfgPathJorb_pan.h"
#include "regmap/config_list.h"
#include "regmap/config_sets.h"
#include "runtime/ui.h"
#include "shell/handles.h"
#include "shell/model_select.h"
#include "shell/state.h"

namespace {

constexpr int kSets = 5000;
constexpr int kList = ui::cfgPathJorb_pan::CFGPATHJorb_STD_CFG;

// The file of 5,000 sets, written once in a folder of its own that goes when the program ends.
struct ScaleFile {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("codecbench-scale-bench-" + std::to_string(::getpid()));
    std::string path = (dir / "STconfig.dat").string();
    ScaleFile() {
        std::filesystem::create_directories(dir);
        rt::IniText ini = rt::Ini_New(0);
        for (int i = 0; i < kSets; ++i) {
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

const ScaleFile& File() {
    static const ScaleFile file;
    return file;
}

// The program started once; the Jorb file globals name the big file.
bool Ready() {
    static const bool started = [] {
        static benchsupport::QuietPrompter prompter;  // Yes to the delete and update questions
        if (!benchsupport::StartShell()) return false;
        rt::SetPrompter(&prompter);
        DeviceAttached = 0;
        return true;
    }();
    if (!started) return false;
    std::snprintf(STcfgFileName, sizeof STcfgFileName, "%s", File().path.c_str());
    return true;
}

// Opens and lists the file as a Jorb choice does.
void OpenAndList() {
    InitConfig(&STIniConfig, STcfgFileName, 0, 1);
    PopulatePanelCFGListBox();
}

// Starts the shell once and opens the file, or marks the benchmark as failed.
bool Opened(benchmark::State& state) {
    if (!Ready()) {
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
    state.counters["file_mb"] = static_cast<double>(std::filesystem::file_size(File().path)) / (1024.0 * 1024.0);
    MemoryCounters(state);
}

// Update on the last set of the list: every register put in place, the whole file written.
void BM_ConfigScaleSaveOneSet(benchmark::State& state) {
    if (!Opened(state)) return;
    rt::SetCtrlIndex(PHandleSTPath, kList, kSets - 1);
    for (auto _ : state)
        rt::CallCtrlCallback(PHandleSTPath, ui::cfgPathJorb_pan::CFGPATHJorb_UPDATE_CFG, rt::EVENT_COMMIT, 0, 0);
    MemoryCounters(state);
}

// Delete on the set in the middle of the list: its sections removed, the file written, the list
// filled again. The next set moves up into its place, so every run deletes a middle set.
void BM_ConfigScaleDeleteOneSet(benchmark::State& state) {
    if (!Opened(state)) return;
    for (auto _ : state) {
        rt::SetCtrlIndex(PHandleSTPath, kList, kSets / 2);
        rt::CallCtrlCallback(PHandleSTPath, ui::cfgPathJorb_pan::CFGPATHJorb_DEL_CFG, rt::EVENT_COMMIT, 0, 0);
    }
    int items = 0;
    rt::GetNumListItems(PHandleSTPath, kList, &items);
    state.counters["deleted"] = kSets - items;
    MemoryCounters(state);
}

// Writing the same 4 MB file alone (with its sync): the share of save and delete that is the
// disk's rather than the program's.
void BM_ConfigScaleWriteFileOnly(benchmark::State& state) {
    if (!Opened(state)) return;
    const std::string text = rt::Ini_ToString(STIniConfig);
    for (auto _ : state) rt::WriteFileAtomic(STcfgFileName, text);
}

BENCHMARK(BM_ConfigScaleOpenAndList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConfigScaleSaveOneSet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConfigScaleDeleteOneSet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConfigScaleWriteFileOnly)->Unit(benchmark::kMillisecond);

}  // namespace
