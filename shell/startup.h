// Start-up, the option file, the start poll and shutdown of the main program.
#pragma once

#include <string>

// The platform's version, recorded once at start-up. The start poll only runs on a kernel at
// least kMinimumOsMajorVersion.x; older ones lack the hidraw notices the program relies on.
struct OsVersionInfo {
    int dwMajorVersion = 0;
    int dwMinorVersion = 0;
    std::string release;  // the kernel's release text
};
extern OsVersionInfo osvi;
inline constexpr int kMinimumOsMajorVersion = 3;

// The name of the option file, read from the current working directory.
inline constexpr const char* kOptionFileName = "AudioCodec_script.txt";

// Everything main does before the event loop: records the platform version, starts the
// run-time, loads the main panel, the option file, device notices, the 84 tab panels and their
// rings, the tab control and menu bar, the device link, reads the board's identity and applies
// the start communication mode, then shows the main panel. 0, or -1 when the run-time cannot
// start or the main panel cannot be loaded.
int ShellStartup();

// Removes what a kill during a save left behind: the program's temporaries, named
// ".<file>.codecbench-tmp-XXXXXX" (oslayer/temp_names.h), beside its own files (the
// configuration-set, demo preset, script and import/export working files in the project
// directory, the player's "a00.ini" in the working directory) and in the recording folder
// "WaveFile" (the recorder's take and its copies beside a save), and, where one of those names
// is a symbolic link (any name in "WaveFile"), beside the file it leads to, for that file's
// name only: a save through a link writes its temporary there. Only regular files of exactly
// that form, of the current user, that no writer holds (another instance may be saving or
// recording) are removed, and of those without permission bits only the empty ones more than
// five minutes old (a writer killed between creating and locking its temporary); a user's
// file, a link, a swept folder that is itself a link and an unmarked older leftover stay. Run
// at start-up.
void RemoveLeftoverTemporaries();

// Reads kOptionFileName: lines "key = integer"; only notDebug is used.
void LoadOption();

// Loads every model's tab panels as children of the main panel into the handles of
// shell/handles.h. Returns the number loaded (84), or the first load error (< 0).
int LoadTabPanels(int parentPanel);
// Fills the rings of the block panels and path panels once.
void InitTabPanels();

// Discards the tab panels and the main panel and forgets their handles, so that start-up can
// run again in the same process (tests and benchmarks).
void DiscardShellPanels();

// Ends the link's listener: clears its run flag and wakes it.
void StopListening();

// Main panel callbacks.
int Quit(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int TDevTickCB(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

// Kept for the original's callers; they do nothing.
void SetCapacityMessage();
void SetStatusMessage();
void SelectDevice();
