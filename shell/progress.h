// Progress bar and message of the main panel, and the short board wait.
#pragma once

#include <string>

// Starts a progress of `totalSteps`: shows `message`, bar at 0.
void StartProgressBar(const char* message, int totalSteps);
// Counts `steps`; the bar shows done × 100 / total until the total is reached, when the message
// hides and the bar returns to 0 (in an operation the user started: see ShowOperationProgress).
void ForwardProgress(int steps);
// With newMessage 0 nothing happens; otherwise shows `message` and counts `steps`.
void UpdateProgressAndMessage(int newMessage, int steps, const char* message);
// Ends the running progress at once (the operation stopped): message hidden, bar at 0.
void StopProgress();
// The busy observer of the run-time: an operation the user started that waits for more than
// half a second and shows no progress of its own shows its name ("Read All and Update ...") and a
// bar that fills as it waits, until it ends.
//
// Within an operation the user started the bar never goes back and the message stays until the
// operation ends: a progress that reaches its total shows a full bar and keeps its message, and a
// progress started after another one, or after the bar filled as the operation waited, fills the
// rest of the bar from where it stands. At the operation's end the message hides and the bar
// returns to 0.
void ShowOperationProgress(const std::string& operation, double seconds);
// An operation made of steps that each show a progress of their own (a reset, then a power-up)
// gives each step but the last its part of the bar: while this lives, progress fills the bar only
// up to `upTo` percent, and the steps after it fill the rest.
class ProgressPart {
public:
    explicit ProgressPart(double upTo);
    ~ProgressPart();
    ProgressPart(const ProgressPart&) = delete;
    ProgressPart& operator=(const ProgressPart&) = delete;

private:
    double previous_;
};
// Sleeps ten times the whole number of milliseconds in seconds × 10 + 1 (wbDelay(1.0) = 110 ms).
void wbDelay(double seconds);

// The running progress (tests and the refresh code read it).
int ProgressCurrentStep();
int ProgressTotalSteps();
