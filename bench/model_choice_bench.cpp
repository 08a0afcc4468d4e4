// Model choice with the board's fixed waits taken out: the tab sets swapped, the file opened,
// the mode applied to the emulated board and the registers read back.
#include <benchmark/benchmark.h>


#include "bench/bench_support.h"
#include "link/usbcomvunt.h"
#include "panels/AudioCodec_pan.h"
#include "runtime/ui.h"
#include "shell/startup.h"
#include "shell/state.h"

namespace {

using namespace ui::AudioCodec_pan;

// Starts the program once, on the emulated board, with every wait instant.
bool StartOnce() {
    static const bool started = benchsupport::StartShell();
    return started;
}

// Alternates two models of different sets, so every choice unloads one set and loads another.
void ChooseModel(benchmark::State& state, int first, int second) {
    if (!StartOnce()) {
        state.SkipWithError("start-up failed");
        return;
    }
    bool flip = false;
    for (auto _ : state) {
        rt::CallMenuCallback(PHandleMenu, flip ? second : first);
        flip = !flip;
    }
}

void BM_ChooseJorbThenPykc(benchmark::State& state) { ChooseModel(state, MENUBAR_DEVICE_StereoJorb, MENUBAR_DEVICE_Mono); }
// Zutb and Pykb never read back: the tab swap and the mode step alone.
void BM_ChooseZutbThenPykb(benchmark::State& state) {
    ChooseModel(state, MENUBAR_DEVICE_StereoZutb, MENUBAR_DEVICE_MonoPykb);
}
// Write-only mode: no read-back at all.
void BM_ChooseJorbThenPykcWriteOnly(benchmark::State& state) {
    QuillonMode = 1;
    ChooseModel(state, MENUBAR_DEVICE_StereoJorb, MENUBAR_DEVICE_Mono);
    QuillonMode = 0;
}

BENCHMARK(BM_ChooseJorbThenPykc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChooseZutbThenPykb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChooseJorbThenPykcWriteOnly)->Unit(benchmark::kMillisecond);

}  // namespace
