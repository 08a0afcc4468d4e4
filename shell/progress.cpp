#include "shell/progress.h"

#include <algorithm>
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
bool inOperation = false;
bool ownProgress = false;
bool busyShown = false;
// Within the operation: the bar last shown, and the stretch of the bar the running progress
// fills (from where the bar stood when it started up to the part's end).
double shown = 0.0;
double from = 0.0, to = 100.0;
double partEnd = 100.0;

void ShowBar(double value) {
    shown = value;
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
    // Steps counted in an operation that started no progress of its own belong to none.
    if (inOperation && !ownProgress) return;
    if (currentstep < totalsteps)
        ShowBar(from + (to - from) * currentstep / totalsteps);
    else if (inOperation)
        ShowBar(to);  // full, with its message, until the operation ends
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
    to = inOperation ? partEnd : 100.0;
    from = inOperation ? std::min(shown, to) : 0.0;
    ShowMessage(message);
    ShowBar(from);
}

void ForwardProgress(int steps) { CountSteps(steps); }

void UpdateProgressAndMessage(int newMessage, int steps, const char* message) {
    if (newMessage == 0) return;
    OwnProgressShown();
    ShowMessage(message);
    CountSteps(steps);
}

void StopProgress() {
    currentstep = std::max(currentstep, totalsteps);
    HideProgress();
}

ProgressPart::ProgressPart(double upTo) : previous_(partEnd) { partEnd = std::min(partEnd, upTo); }
ProgressPart::~ProgressPart() { partEnd = previous_; }

void wbDelay(double seconds) {
    rt::DelayInSlices(10, static_cast<int>(seconds * 10.0 + 1.0));
}

int ProgressCurrentStep() { return currentstep; }
int ProgressTotalSteps() { return totalsteps; }

void ShowOperationProgress(const std::string& operation, double seconds) {
    if (seconds == 0) {  // a new operation
        inOperation = true;
        ownProgress = false;
        busyShown = false;
        shown = 0.0;
        return;
    }
    if (seconds < 0) {
        if (busyShown || ownProgress) HideProgress();
        inOperation = false;
        ownProgress = false;
        busyShown = false;
        return;
    }
    if (ownProgress) return;
    if (!busyShown) ShowMessage(((operation.empty() ? std::string("Working") : operation) + " ...").c_str());
    busyShown = true;
    // How long the operation will wait is not known: the bar fills towards the end as it waits.
    ShowBar(partEnd * (1.0 - std::exp(-seconds / 2.0)));
}
