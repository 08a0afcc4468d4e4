// Model choice with the board's fixed waits taken out: the tab sets swapped, the file opened,
// the mode applied to the emulated board and, for the models that do (all but Qevb, Zutb and
// Pykb), the registers read back.
#include <benchmark/benchmark.h>


#include "bench/bench_support.h"
#include "boardhid/emulator_control.h"
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
// Each row starts where a user starts after start-up: I2C mode, write-only mode off (through
// the Mode menu); `label` says which of the two models read the chip back.
void ChooseModel(benchmark::State& state, int first, int second, const char* label, bool writeOnly = false) {
    if (!StartOnce()) {
        state.SkipWithError("start-up failed");
        return;
    }
    rt::CallMenuCallback(PHandleMenu, MENUBAR_MODE_I2CMode);
    if (writeOnly) rt::CallMenuCallback(PHandleMenu, MENUBAR_MODE_WriteOnly_Mode);
    boardhid::EmulatedBoard* board = boardhid::FindEmulatedBoard();
    const size_t repliesBefore = board ? board->SentReplies().size() : 0;
    bool flip = false;
    for (auto _ : state) {
        rt::CallMenuCallback(PHandleMenu, flip ? second : first);
        // Back in the event loop, as after a user's choice: the pages the choice let go are
        // deleted there. Without it they pile up and every later choice walks them.
        rt::ProcessSystemEvents();
        flip = !flip;
    }
    // The board's replies per choice: the read-back and the mode steps' bridge reads.
    if (board && state.iterations() > 0)
        state.counters["replies"] = static_cast<double>(board->SentReplies().size() - repliesBefore) /
                                    static_cast<double>(state.iterations());
    if (writeOnly) rt::CallMenuCallback(PHandleMenu, MENUBAR_MODE_WriteOnly_Mode);
    state.SetLabel(label);
}

// Jorb and Pykc both read every register back after the choice.
void BM_ChooseJorbThenPykc(benchmark::State& state) {
    ChooseModel(state, MENUBAR_DEVICE_StereoJorb, MENUBAR_DEVICE_Mono, "both read back");
}
// Zutb and Qevb never read back: the tab swap, the file and the mode step alone.
void BM_ChooseZutbThenQevb(benchmark::State& state) {
    ChooseModel(state, MENUBAR_DEVICE_StereoZutb, MENUBAR_DEVICE_StereoQevb, "neither reads back");
}
// Pykb never reads back either, and puts the board in 3-wire SPI; Zutb applies its own mode.
void BM_ChooseZutbThenPykb(benchmark::State& state) {
    ChooseModel(state, MENUBAR_DEVICE_StereoZutb, MENUBAR_DEVICE_MonoPykb, "neither reads back");
}
// Write-only mode: no read-back at all.
void BM_ChooseJorbThenPykcWriteOnly(benchmark::State& state) {
    ChooseModel(state, MENUBAR_DEVICE_StereoJorb, MENUBAR_DEVICE_Mono, "write-only: no read-back", true);
}

BENCHMARK(BM_ChooseJorbThenPykc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChooseZutbThenQevb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChooseZutbThenPykb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChooseJorbThenPykcWriteOnly)->Unit(benchmark::kMillisecond);

}  // namespace
