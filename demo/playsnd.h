// The sound calls of the WAV block: play a file once, in the background or in a loop, stop it;
// record a take of at most a given length, stop it, offer to save it. Over the oslayer sound
// service (oslayer/sound.h).
#pragma once

#include <ctime>
#include <functional>
#include <string>

#include "oslayer/sound.h"

// Recorder state: 1 while no recording runs / while the recorder is not open.
extern short bFirst;
extern short bnotOpen;
extern unsigned wDeviceID;  // the open recorder's number
// PCM, one channel, 16000 samples per second, 16 bits.
extern const os::WaveFormat WaveRecordingFormat;
// The folder, in the current directory, that takes are recorded to and saved in.
inline constexpr const char* kRecordFolder = "WaveFile";
// The file, in the current directory, that "Change Directory" writes the play folder to.
inline constexpr const char* kPlayerIniFile = "a00.ini";

// Play flags: async and loop (9) for a loop, else async (1) or wait (0); no default sound (2)
// when allowDefault is 0; never interrupt a sound (0x10) when interrupt is 0. A play that
// waits keeps the window painting. Returns 1 when the sound started (or played), else 0.
short CVI_PlaySoundEx(const char* file, short async, short loop, short allowDefault, short interrupt);
void CVI_StopCurrentSound();
// Starts a take of at most `ms` milliseconds; 0 or the failure's code (low 16 bits). Does
// nothing while a take runs.
unsigned CVI_RecordOne(unsigned ms);
// Stops the take and asks whether to save it as `file`; an existing file is replaced only when
// the user says so (else the take gets a free name). A save that fails for its name or place
// (a link that loops, a folder that is missing or read-only, a full disk, no permission) loses
// nothing: the user is told why and offered a free name beside `file` or a place to pick, until
// the take is saved or the user says to discard it. The recorder is closed afterwards in any
// case. 0 when saved or discarded by the user, else the failure's code; the name saved under
// goes to *savedAs.
unsigned CVI_RecordStop(const char* file, std::string* savedAs = nullptr);

// The local time of day that names recordings; tests install a fixed one. An empty clock
// restores the system's; returns the previous one.
using WavClock = std::function<std::tm()>;
WavClock SetWavClock(WavClock clock);
std::tm WavLocalTime();

// Back to the start state: no take, recorder closed (closes an open one).
void ResetPlaysnd();
