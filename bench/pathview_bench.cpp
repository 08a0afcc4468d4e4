// The Jorb signal-path diagram: a full redraw (groups from the register copy, both passes of
// strokes, the panel's rings, texts and icons), a canvas click, and the map's construction,
// on the emulated board with every wait instant.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "oslayer/os.h"
#include "panels/AudioCodec_pan.h"
#include "panels/cfgPathJorb_pan.h"
#include "pathview/path_model.h"
#include "pathview/pathview_services.h"
#include "runtime/ui.h"
#include "shell/handles.h"
#include "shell/startup.h"
#include "shell/state.h"

namespace {

using namespace ui::AudioCodec_pan;

// The program started (again, when another benchmark has taken its panels away) with Jorb
// chosen and the timers stopped.
bool JorbLoaded() {
    setenv("BOARDHID_BACKEND", "emulator", 0);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    os::SetSleeper([](int) {});
    if (PHandlePanel <= 0 || PHandleSTPath <= 0) {
        if (ShellStartup() != 0) return false;
    }
    for (int timer : {PANEL_TDev, PANEL_DevIDTimer, PANEL_STTIMER, PANEL_MNTIMER})
        rt::SetCtrlAttribute(PHandlePanel, timer, rt::ATTR_ENABLED, 0);
    if (UILoaded != UI_JORB) rt::CallMenuCallback(PHandleMenu, MENUBAR_DEVICE_StereoJorb);
    return UILoaded == UI_JORB;
}

void BM_JorbDiagramRedraw(benchmark::State& state) {
    if (!JorbLoaded()) {
        state.SkipWithError("start-up failed");
        return;
    }
    uint32_t value = 0;
    for (auto _ : state) {
        CFG_REG[44] = value++ & 0x77;  // the input switches change every time
        UpdateAllGroups();
        UpdateSTPathView();
    }
}

void BM_JorbCanvasClick(benchmark::State& state) {
    if (!JorbLoaded()) {
        state.SkipWithError("start-up failed");
        return;
    }
    for (auto _ : state) {
        // Switch 9: toggles register 49 and sends it through the device link.
        rt::CallCtrlCallback(PHandleSTPath, ui::cfgPathJorb_pan::CFGPATHJorb_CVSCONFIG, rt::EVENT_LEFT_CLICK, 122, 594);
    }
}

void BM_JorbMapConstruction(benchmark::State& state) {
    if (!JorbLoaded()) {
        state.SkipWithError("start-up failed");
        return;
    }
    for (auto _ : state) {
        STConstructMap();
        STPathViewInit();
    }
}

BENCHMARK(BM_JorbDiagramRedraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JorbCanvasClick)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_JorbMapConstruction)->Unit(benchmark::kMillisecond);

}  // namespace
