// The speed budgets, model by model, on the emulated board with its fixed waits taken out:
// - BM_ModelChoice/<model>: the model chosen from another tab set (read-back included);
// - BM_FullRefresh/<model>/<front>: one refresh-timer tick with the update flag up after every
//   register changed, and the repaint that follows; front 0 the first tab in front, 1 the register
//   map (where the slow redraws of the maps run);
// - BM_MemoryAfterEveryModel: resident memory after choosing every model once, and after every
//   tab of every model has been shown. Run it alone in a fresh process
//   (--benchmark_filter=Memory), since panels other benchmarks built stay in memory.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "bench/bench_support.h"
#include "panels/AudioCodec_pan.h"
#include "runtime/ui.h"
#include "shell/handles.h"
#include "shell/startup.h"
#include "shell/state.h"
#include "shell/timers.h"

namespace {

using namespace ui::AudioCodec_pan;

struct Model {
    const char* name;
    int menuItem;   // Device-menu item (0: the "KorJorbx" text on the main panel)
    int set;        // the tab set it shows (UILoaded)
    int* regMap;    // its register map panel (null: none)
};

const std::vector<Model>& Models() {
    static const std::vector<Model> models = {
        {"jorb", MENUBAR_DEVICE_StereoJorb, UI_JORB, &PHandleSTRegMap},
        {"jorbx", 0, UI_JORB, &PHandleSTRegMap},
        {"jora", MENUBAR_DEVICE_StereoJora, UI_JORA, &PHdlRegMapJora},
        {"qeva", MENUBAR_DEVICE_StereoQeva, UI_QEVA, &PHdlRegMapQeva},
        {"qevb", MENUBAR_DEVICE_StereoQevb, UI_QEVB, nullptr},
        {"zuta", MENUBAR_DEVICE_StereoZuta, UI_ZUTA, &PHandleSTRegMapZuta},
        {"zutb", MENUBAR_DEVICE_StereoZutb, UI_ZUTB, &PHandleSTRegMapZutb},
        {"pykc", MENUBAR_DEVICE_Mono, UI_PYKC, &PHandleMNRegMap},
        {"pykd", MENUBAR_DEVICE_MonoPykd, UI_PYKC, &PHandleMNRegMap},
        {"pyka", MENUBAR_DEVICE_MonoPyka, UI_PYKA, &PHandleMNPykaRegMap},
        {"pykb", MENUBAR_DEVICE_MonoPykb, UI_PYKB, &PHandleMNPykbRegMap},
    };
    return models;
}

// The program started once, its main panel shown and the board marked attached (so a choice
// reads the registers back, as with a board plugged in).
bool Started() {
    static const bool started = [] {
        if (!benchsupport::StartShell()) return false;
        rt::DisplayPanel(PHandlePanel);
        rt::SetCtrlVal(PHandlePanel, PANEL_LDevAttached, 1);
        rt::ProcessSystemEvents();
        return true;
    }();
    return started;
}

void Choose(const Model& m) {
    if (m.menuItem) rt::CallMenuCallback(PHandleMenu, m.menuItem);
    else rt::CallCtrlCallback(PHandlePanel, PANEL_TM_KorJorbx, rt::EVENT_LEFT_CLICK, 0, 0);
}

// A model of another tab set with as many tabs, chosen before each timed choice.
const Model& Other(const Model& m) { return Models()[m.set == UI_JORB ? 6 : 0]; }

void BM_ModelChoice(benchmark::State& state) {
    const Model& m = Models()[state.range(0)];
    state.SetLabel(m.name);
    if (!Started()) {
        state.SkipWithError("start-up failed");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        Choose(Other(m));
        rt::ProcessSystemEvents();
        state.ResumeTiming();
        Choose(m);
        rt::ProcessSystemEvents();  // the tab in front built and painted
    }
}

// Two register copies every register of which differs.
void FillRegisters(bool flip) {
    for (int r = 0; r < 128; ++r)
        CFG_REG[r] = static_cast<uint32_t>(flip ? (r * 37 + 5) & 0x1FF : (~(r * 37 + 5)) & 0x1FF);
}

void BM_FullRefresh(benchmark::State& state) {
    const Model& m = Models()[state.range(0)];
    const bool mapInFront = state.range(1) != 0;
    state.SetLabel(m.name);
    if (!Started()) {
        state.SkipWithError("start-up failed");
        return;
    }
    if (mapInFront && !m.regMap) {
        state.SkipWithError("no register map");
        return;
    }
    Choose(m);
    if (mapInFront) {
        rt::EasyTab_SetAttribute(PHandlePanel, tabCtrl, rt::ATTR_EASY_TAB_ACTIVE_PANEL, *m.regMap);
        NowPanel = *m.regMap;
    } else {
        int front = 0;
        rt::EasyTab_GetAttribute(PHandlePanel, tabCtrl, rt::ATTR_EASY_TAB_ACTIVE_PANEL, &front);
        NowPanel = front;
    }
    rt::ProcessSystemEvents();
    bool flip = false;
    for (auto _ : state) {
        FillRegisters(flip = !flip);
        SetFlag(&FlagCFGUpdate);
        STTIMERCB(PHandlePanel, PANEL_STTIMER, rt::EVENT_TIMER_TICK, nullptr, 0, 0);
        MNTIMERCB(PHandlePanel, PANEL_MNTIMER, rt::EVENT_TIMER_TICK, nullptr, 0, 0);
        rt::ProcessSystemEvents();  // the repaint of what changed
    }
}

double ResidentMegabytes() {
    long pages = 0, resident = 0;
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) return 0;
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void BM_MemoryAfterEveryModel(benchmark::State& state) {
    if (!Started()) {
        state.SkipWithError("start-up failed");
        return;
    }
    const double atStart = ResidentMegabytes();
    for (auto _ : state) {
        for (const Model& m : Models()) {
            Choose(m);
            rt::ProcessSystemEvents();
        }
    }
    const double afterChoices = ResidentMegabytes();
    // Every tab of every model brought to the front once.
    for (const Model& m : Models()) {
        Choose(m);
        for (int tab : rt::EasyTab_Panels(PHandlePanel, tabCtrl)) {
            rt::EasyTab_SetAttribute(PHandlePanel, tabCtrl, rt::ATTR_EASY_TAB_ACTIVE_PANEL, tab);
            rt::ProcessSystemEvents();
        }
    }
    state.counters["MB_at_start"] = atStart;
    state.counters["MB_after_choices"] = afterChoices;
    state.counters["MB_every_tab_shown"] = ResidentMegabytes();
}

void EveryModel(benchmark::internal::Benchmark* b) {
    for (int i = 0; i < static_cast<int>(Models().size()); ++i) b->Arg(i);
}

void EveryModelAndFront(benchmark::internal::Benchmark* b) {
    for (int i = 0; i < static_cast<int>(Models().size()); ++i) {
        b->Args({i, 0});
        if (Models()[i].regMap) b->Args({i, 1});
    }
}

}  // namespace

BENCHMARK(BM_ModelChoice)->Apply(EveryModel)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_FullRefresh)->Apply(EveryModelAndFront)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoryAfterEveryModel)->Unit(benchmark::kMillisecond)->Iterations(1);
