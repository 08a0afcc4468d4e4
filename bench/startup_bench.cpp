// Start-up to the main panel shown: the main panel, the 84 tab panels with their rings, the menu
// bar, the device link and the board's identity reads, on the emulated board with its fixed
// waits taken out. The first start-up of a process also parses and checks every panel file.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "bench/bench_support.h"
#include "boardhid/emulator_control.h"
#include "link/usbcomvunt.h"
#include "oslayer/os.h"
#include "runtime/panel_resources.h"
#include "runtime/ui.h"
#include "shell/devchange.h"
#include "shell/handles.h"
#include "shell/startup.h"
#include "shell/state.h"

namespace {

void Prepare(bool realWaits) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("BOARDHID_BACKEND", "emulator", 0);
    static benchsupport::QuietPrompter prompter;
    rt::InitCVIRTE();
    rt::SetPrompter(&prompter);
    if (realWaits)
        os::SetSleeper(nullptr);  // the program's own sleep
    else
        os::SetSleeper([](int) {});
    LoadHidModule();
}

// What the start-up meets: the board or none; a chip whose audio id needs the probe.
struct Setting {
    bool boardPresent = true;
    bool firstOfProcess = false;
    bool realWaits = false;
    bool unconfirmedChip = false;
};

// Back to a fresh process's state: link closed, board reset (plugged or not), no panels.
void Fresh(bool boardPresent, bool unconfirmedChip = false) {
    StopListener();
    USBcomStop();
    bDeviceOpened = 0;
    DiscardShellPanels();
    ResetShellState();
    ResetPanelHandles();
    if (auto* board = boardhid::FindEmulatedBoard()) {
        board->Reset();
        if (unconfirmedChip) board->SetIdentity(board->CodecRegister(62), 0x00);
        if (!boardPresent) board->Unplug();
    }
    os::DeviceMonitor* monitor = nullptr;
    RegisterForDevChange(0, &monitor);  // drop the plug notices before timing
    if (monitor) monitor->Dispatch();
    ResetShellState();
}

// Every panel file registered afresh, so the next load parses and checks it as at a process's
// first start-up.
void ForgetCheckedPanels() {
    rt::RegisterEmbeddedPanels();
    for (const std::string& name : rt::PanelResourceNames()) {
        std::string text;
        if (rt::PanelResourceText(name, &text)) rt::RegisterPanelResource(name, text);
    }
}

void StartUp(benchmark::State& state, Setting setting) {
    Prepare(setting.realWaits);
    if (setting.boardPresent && !boardhid::FindEmulatedBoard()) {
        state.SkipWithError("the emulated board is not available");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        Fresh(setting.boardPresent, setting.unconfirmedChip);
        if (setting.firstOfProcess) ForgetCheckedPanels();
        state.ResumeTiming();
        if (ShellStartup() != 0) {
            state.SkipWithError("start-up failed");
            break;
        }
        rt::ProcessSystemEvents();  // the main panel painted once
    }
    Fresh(true);
    os::SetSleeper([](int) {});
}

void BM_StartupWithBoard(benchmark::State& state) { StartUp(state, {}); }
void BM_StartupWithoutBoard(benchmark::State& state) { StartUp(state, {.boardPresent = false}); }
void BM_FirstStartupWithBoard(benchmark::State& state) { StartUp(state, {.firstOfProcess = true}); }
// With the board's real waits, as a user meets them: the emulated chip needs no audio-id
// probe; with no board, and with a chip whose audio id is unconfirmed (as today's chips), the
// start-up applies the Jorb communication mode, after the probe on that chip.
void BM_StartupRealWaitsWithBoard(benchmark::State& state) { StartUp(state, {.realWaits = true}); }
void BM_StartupRealWaitsWithoutBoard(benchmark::State& state) {
    StartUp(state, {.boardPresent = false, .realWaits = true});
}
void BM_StartupRealWaitsUnconfirmedChip(benchmark::State& state) {
    StartUp(state, {.realWaits = true, .unconfirmedChip = true});
}

}  // namespace

BENCHMARK(BM_StartupWithBoard)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_StartupWithoutBoard)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_FirstStartupWithBoard)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_StartupRealWaitsWithBoard)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StartupRealWaitsWithoutBoard)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StartupRealWaitsUnconfirmedChip)->Unit(benchmark::kMillisecond)->Iterations(3);
