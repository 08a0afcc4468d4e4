// Progress bar and message of the main panel, and the short board wait.
#pragma once

// Starts a progress of `totalSteps`: shows `message`, bar at 0.
void StartProgressBar(const char* message, int totalSteps);
// Counts `steps`; the bar shows done × 100 / total until the total is reached, when the message
// hides and the bar returns to 0.
void ForwardProgress(int steps);
// With newMessage 0 nothing happens; otherwise shows `message` and counts `steps`.
void UpdateProgressAndMessage(int newMessage, int steps, const char* message);
// Sleeps ten times the whole number of milliseconds in seconds × 10 + 1 (wbDelay(1.0) = 110 ms).
void wbDelay(double seconds);

// The running progress (tests and the refresh code read it).
int ProgressCurrentStep();
int ProgressTotalSteps();
