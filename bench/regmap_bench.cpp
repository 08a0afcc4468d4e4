// Register-map redraw of the largest table (Zutb, 76 rows; the Jorb long table has 70): every
// value and bit cell rewritten from CFG_REG and the tab repainted, as the refresh timer does
// after a change of every register. It has to stay within one frame (16 ms); nearly all of it
// is the repaint of the visible cells.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench/bench_support.h"
#include "panels/AudioCodec_pan.h"
#include "regmap/regmap_model.h"
#include "runtime/ui.h"
#include "shell/handles.h"
#include "shell/startup.h"
#include "shell/state.h"

namespace {

using namespace ui::AudioCodec_pan;

// Starts the program once (unless another benchmark did), on the emulated board, waits instant.
bool StartOnce() {
    static const bool started = benchsupport::StartShell();
    return started;
}

// Shows `regMap` in front with its table built for the model chosen by `menuItem`.
bool ShowMap(int menuItem, int regMap) {
    if (!StartOnce()) return false;
    rt::CallMenuCallback(PHandleMenu, menuItem);
    rt::DisplayPanel(PHandlePanel);
    rt::EasyTab_SetAttribute(PHandlePanel, tabCtrl, rt::ATTR_EASY_TAB_ACTIVE_PANEL, regMap);
    NowPanel = regMap;
    rt::ProcessSystemEvents();
    return true;
}

// Every register changes between two iterations, so every cell is rewritten.
void FlipRegisters(bool flip) {
    for (int r = 0; r < 128; ++r) CFG_REG[r] = static_cast<uint32_t>(flip ? (r * 37 + 5) & 0x1FF : (~(r * 37 + 5)) & 0x1FF);
}

void Redraw(benchmark::State& state, int menuItem, int* regMap, void (*update)(int), int insertRows) {
    if (!ShowMap(menuItem, *regMap)) {
        state.SkipWithError("start-up failed");
        return;
    }
    bool flip = false;
    for (auto _ : state) {
        FlipRegisters(flip = !flip);
        update(insertRows);
        rt::ProcessSystemEvents();  // the repaint, deferred layouts included
    }
}

void BM_RedrawZutbMap(benchmark::State& state) {
    Redraw(state, MENUBAR_DEVICE_StereoZutb, &PHandleSTRegMapZutb, UpdateRegDisplayZutb, 0);
}
void BM_RedrawJorbLongMap(benchmark::State& state) {
    Redraw(state, MENUBAR_DEVICE_StereoJorb, &PHandleSTRegMap, UpdateRegDisplay, 0);
}
// The model choice's build: row labels and address cells rewritten as well.
void BM_BuildZutbMap(benchmark::State& state) {
    Redraw(state, MENUBAR_DEVICE_StereoZutb, &PHandleSTRegMapZutb, UpdateRegDisplayZutb, 1);
}
// The usual refresh after one cell edit: one register changed, the other rows left as they are.
void BM_RedrawZutbMapOneRegister(benchmark::State& state) {
    if (!ShowMap(MENUBAR_DEVICE_StereoZutb, PHandleSTRegMapZutb)) {
        state.SkipWithError("start-up failed");
        return;
    }
    bool flip = false;
    for (auto _ : state) {
        CFG_REG[2] = (flip = !flip) ? 0x1FF : 0;
        UpdateRegDisplayZutb(0);
        rt::ProcessSystemEvents();
    }
}

}  // namespace

BENCHMARK(BM_RedrawZutbMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawJorbLongMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildZutbMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawZutbMapOneRegister)->Unit(benchmark::kMillisecond);
