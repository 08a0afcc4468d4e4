#include "shell/progress.h"

#include "oslayer/os.h"
#include "panels/AudioCodec_pan.h"
#include "runtime/ui.h"
#include "shell/state.h"

using namespace ui::AudioCodec_pan;

namespace {
int currentstep = 0;
int totalsteps = 0;

void ShowBar(double value) {
    if (PHandlePanel > 0) rt::SetCtrlVal(PHandlePanel, PANEL_ProgressBar, value);
}
void ShowMessage(const char* message) {
    if (PHandlePanel <= 0) return;
    rt::SetCtrlVal(PHandlePanel, PANEL_StatusText, message ? message : "");
    rt::SetCtrlAttribute(PHandlePanel, PANEL_StatusText, rt::ATTR_VISIBLE, 1);
}
void CountSteps(int steps) {
    currentstep += steps;
    if (currentstep < totalsteps) {
        ShowBar(currentstep * 100.0 / totalsteps);
    } else {
        if (PHandlePanel > 0) rt::SetCtrlAttribute(PHandlePanel, PANEL_StatusText, rt::ATTR_VISIBLE, 0);
        ShowBar(0.0);
    }
}
}  // namespace

void StartProgressBar(const char* message, int totalSteps) {
    currentstep = 0;
    totalsteps = totalSteps;
    ShowMessage(message);
    ShowBar(0.0);
}

void ForwardProgress(int steps) { CountSteps(steps); }

void UpdateProgressAndMessage(int newMessage, int steps, const char* message) {
    if (newMessage == 0) return;
    ShowMessage(message);
    CountSteps(steps);
}

void wbDelay(double seconds) {
    int ms = static_cast<int>(seconds * 10.0 + 1.0);
    for (int i = 0; i < 10; ++i) {
        os::Sleep(ms);
        rt::ProcessWindowSystemEvents();  // the window stays alive through a run of reads
    }
}

int ProgressCurrentStep() { return currentstep; }
int ProgressTotalSteps() { return totalsteps; }
