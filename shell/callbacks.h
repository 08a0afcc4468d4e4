// Binds every callback name the panel resources use to its function.
#pragma once

// Everything below, in one call (start-up and tests).
void RegisterAllCallbacks();

// Each module registers its own names.
void RegisterShellCallbacks();       // main panel, menus, start-up, modes, about
void RegisterModelCallbacks();       // model choice, home button, refresh timers, tab control
void RegisterRegMapCallbacks();      // register map, scripts, configuration sets
void RegisterPathViewCallbacks();    // signal-path panels
void RegisterDeviceCallbacks();      // device-control panels
void RegisterPlaybackCallbacks();    // DAC, clock and output panels
void RegisterCaptureCallbacks();     // input, ADC filter, ALC and EQ panels
void RegisterDemoCallbacks();        // demo panels
