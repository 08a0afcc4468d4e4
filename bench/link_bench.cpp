// The device link's report path on the emulated board, with the board's fixed waits taken out:
// one codec register write, and one single-register read (request, reply, listener hand-over).
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "boardhid/emulator_control.h"
#include "link/usbcomvunt.h"
#include "oslayer/os.h"
#include "runtime/ui.h"
#include "shell/state.h"

namespace {

bool OpenEmulatedBoard() {
    setenv("BOARDHID_BACKEND", "emulator", 0);
    rt::InitCVIRTE();
    os::SetSleeper([](int) {});
    static bool open = false;
    if (!open) {
        ResetShellState();
        open = USBInit() == 1 && (bDeviceOpened & 1);
        if (auto* board = boardhid::FindEmulatedBoard()) board->SetReplyDelayMs(0);
    }
    return open;
}

void BM_WriteOneRegister(benchmark::State& state) {
    if (!OpenEmulatedBoard()) {
        state.SkipWithError("emulated board not available");
        return;
    }
    int value = 0;
    for (auto _ : state) {
        CFG_REG[11] = static_cast<uint32_t>(value++ & 0x1FF);
        benchmark::DoNotOptimize(ZelqxWriteOneReg(11));
    }
    if (auto* board = boardhid::FindEmulatedBoard()) board->ClearReceivedReports();
}
BENCHMARK(BM_WriteOneRegister);

void BM_ReadOneRegister(benchmark::State& state) {
    if (!OpenEmulatedBoard()) {
        state.SkipWithError("emulated board not available");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(ReadZelqxOneReg(11));
    if (auto* board = boardhid::FindEmulatedBoard()) board->ClearReceivedReports();
}
BENCHMARK(BM_ReadOneRegister)->Unit(benchmark::kMicrosecond);

}  // namespace
