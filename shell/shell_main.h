// Program start-up: loads the main panel, starts the device link, runs the event loop.
#pragma once

// 0 after the user interface ends; -1 when the run-time cannot start or the main panel
// cannot be loaded.
int ShellMain(int argc, char** argv);
