#include "shell/progress.h"

#include <cmath>
#include <string>

#include "oslayer/os.h"
#include "panels/AudioCodec_pan.h"
#include "runtime/ui.h"
#include "shell/state.h"

using namespace ui::AudioCodec_pan;

namespace {
int currentstep = 0;
int totalsteps = 0;

// The user's operation running now: whether it showed a progress of its own, and whether the
// busy progress (its name and a bar that fills as it waits) is up.
bool ownProgress = false;
bool busyShown = false;

void ShowBar(double value) {
    if (PHandlePanel > 0) rt::SetCtrlVal(PHandlePanel, PANEL_ProgressBar, value);
}
void ShowMessage(const char* message) {
    if (PHandlePanel <= 0) return;
    rt::SetCtrlVal(PHandlePanel, PANEL_StatusText, message ? message : "");
    rt::SetCtrlAttribute(PHandlePanel, PANEL_StatusText, rt::ATTR_VISIBLE, 1);
}
// The message hidden and the bar back at 0.
void HideProgress() {
    if (PHandlePanel > 0) rt::SetCtrlAttribute(PHandlePanel, PANEL_StatusText, rt::ATTR_VISIBLE, 0);
    ShowBar(0.0);
}
void CountSteps(int steps) {
    currentstep += steps;
    if (currentstep < totalsteps)
        ShowBar(currentstep * 100.0 / totalsteps);
    else
        HideProgress();
}
// The running operation shows a progress of its own: the busy progress gives way to it.
void OwnProgressShown() {
    ownProgress = true;
    busyShown = false;
}
}  // namespace

void StartProgressBar(const char* message, int totalSteps) {
    OwnProgressShown();
    currentstep = 0;
    totalsteps = totalSteps;
    ShowMessage(message);
    ShowBar(0.0);
}

void ForwardProgress(int steps) { CountSteps(steps); }

void UpdateProgressAndMessage(int newMessage, int steps, const char* message) {
    if (newMessage == 0) return;
    OwnProgressShown();
    ShowMessage(message);
    CountSteps(steps);
}

void wbDelay(double seconds) {
    rt::DelayInSlices(10, static_cast<int>(seconds * 10.0 + 1.0));
}

int ProgressCurrentStep() { return currentstep; }
int ProgressTotalSteps() { return totalsteps; }

void ShowOperationProgress(const std::string& operation, double seconds) {
    if (seconds == 0) {  // a new operation
        ownProgress = false;
        busyShown = false;
        return;
    }
    if (seconds < 0) {
        if (busyShown) HideProgress();
        busyShown = false;
        return;
    }
    if (ownProgress) return;
    if (!busyShown) ShowMessage(((operation.empty() ? std::string("Working") : operation) + " ...").c_str());
    busyShown = true;
    // How long the operation will wait is not known: the bar fills towards the end as it waits.
    ShowBar(100.0 * (1.0 - std::exp(-seconds / 2.0)));
}
