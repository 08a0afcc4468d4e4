// Progress bar and message of the main panel, and the short board wait.
#pragma once

#include <string>

// Starts a progress of `totalSteps`: shows `message`, bar at 0.
void StartProgressBar(const char* message, int totalSteps);
// Counts `steps`; the bar shows done × 100 / total until the total is reached, when the message
// hides and the bar returns to 0.
void ForwardProgress(int steps);
// With newMessage 0 nothing happens; otherwise shows `message` and counts `steps`.
void UpdateProgressAndMessage(int newMessage, int steps, const char* message);
// The busy observer of the run-time: an operation the user started that waits for more than
// half a second and shows no progress of its own shows its name ("Read All and Update ...") and a
// bar that fills as it waits, until it ends.
void ShowOperationProgress(const std::string& operation, double seconds);
// Sleeps ten times the whole number of milliseconds in seconds × 10 + 1 (wbDelay(1.0) = 110 ms).
void wbDelay(double seconds);

// The running progress (tests and the refresh code read it).
int ProgressCurrentStep();
int ProgressTotalSteps();
