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

void Prepare() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("BOARDHID_BACKEND", "emulator", 0);
    static benchsupport::QuietPrompter prompter;
    rt::InitCVIRTE();
    rt::SetPrompter(&prompter);
    os::SetSleeper([](int) {});
    LoadHidModule();
}

// Back to a fresh process's state: link closed, board reset (plugged or not), no panels.
void Fresh(bool boardPresent) {
    StopListener();
    USBcomStop();
    bDeviceOpened = 0;
    DiscardShellPanels();
    ResetShellState();
    ResetPanelHandles();
    if (auto* board = boardhid::FindEmulatedBoard()) {
        board->Reset();
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

void StartUp(benchmark::State& state, bool boardPresent, bool firstOfProcess = false) {
    Prepare();
    if (boardPresent && !boardhid::FindEmulatedBoard()) {
        state.SkipWithError("the emulated board is not available");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        Fresh(boardPresent);
        if (firstOfProcess) ForgetCheckedPanels();
        state.ResumeTiming();
        if (ShellStartup() != 0) {
            state.SkipWithError("start-up failed");
            break;
        }
        rt::ProcessSystemEvents();  // the main panel painted once
    }
    Fresh(true);
}

void BM_StartupWithBoard(benchmark::State& state) { StartUp(state, true); }
void BM_StartupWithoutBoard(benchmark::State& state) { StartUp(state, false); }
void BM_FirstStartupWithBoard(benchmark::State& state) { StartUp(state, true, true); }

}  // namespace

BENCHMARK(BM_StartupWithBoard)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_StartupWithoutBoard)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_FirstStartupWithBoard)->Unit(benchmark::kMillisecond)->Iterations(20);
