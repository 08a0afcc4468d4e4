// The Mode menu (communication mode, write-only mode), the dispatch of the loaded model's
// communication mode, chip identification, the start-up audio-id probe and the boost-mode
// warnings of the device-control panels.
#pragma once

// Mode menu callbacks (menuBar, item, callbackData, panel).
void SkipRead(int menuBar, int menuItem, void* callbackData, int panel);
void SPI3WModeCB(int menuBar, int menuItem, void* callbackData, int panel);
void SPI4WModeCB(int menuBar, int menuItem, void* callbackData, int panel);
void I2CModeCB(int menuBar, int menuItem, void* callbackData, int panel);

// Applies CommMode through the loaded model's device-control module; nothing with no model or
// the Pykb set loaded.
void EnableCommMode();

// Chip identification: each tick reads the identity register (62) and dims the model choices
// that do not fit the chip. The poll ends for good at the first model choice.
int DevIDTimerCB(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
// 0xFD: a stereo chip (the Pyka, Pykc and Pykd choices dimmed). 0xFE: a mono chip (the Jorb,
// Jora and Qeva choices dimmed). Any other id undims every choice and writes register 1 with
// bits 3 to 0 set, except -1 (a failed read), which writes nothing.
void CheckDeviceID(int id);

// The board's identity at start-up: registers 7 and 0x5F read into the copy, as one step ("Reading
// the board's identity at start-up"). A refused read stops it (one popup names the step, says what
// the start-up does without the answer, or, when the board went away, what happens once it is
// back); reads the board does not answer as asked are told by one "Read failed" popup. A slot
// not read keeps its value.
void ReadStartIdentity();
// What the identity in the copy calls for: the audio-id probe (register 7 not all ones and 0x5F
// not 0x1A), the Jorb mode (0x5F neither all ones nor 0x1A).
bool IdentityCallsForProbe();
bool IdentityCallsForJorbMode();
// The start-up probe of the board's audio id; sets bit 1 of bDeviceOpened when it answers. One
// operation ("Audio ID probe"): false when the board refused a send of it (or went away), which
// stopped it and was told.
bool DoAudioID();
// The start-up's Jorb communication mode (EnableCommModeJorb) as one operation: a send the board
// refuses stops it, and its one popup names the start-up step and says only what is true before
// the window shows (the panel may differ; choosing a model configures the board again).
void ApplyJorbModeAtStartup();
// The same for a board plugged in while the program runs: the loaded model's mode, or the Jorb
// mode when no model is chosen, as one operation named after the plug-in, never after a button
// the user did not press.
void ApplyModeOfPluggedInBoard();

// "1.5x Boost Stage" box of the stereo (J-25) and mono (J-20) device-control panels.
int STBoostModeWarning(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int MNBoostModeWarning(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
