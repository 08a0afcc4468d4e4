// The mono demo module (Pykc, also for Pykd; Pykb; Pyka): one implementation over a
// description per model. The three panels carry their controls under the same ids.
#pragma once

// Mute (-1: speaker R54 and mono output R56) or unmute one output choice (0 speaker, 1 the
// mono output the rings call "Headphone", 2 both); each write is followed by 0.1 s, except the
// last one of choice 2.
void MNDemoMuteUnmuteOutput(int output);
void MNPykbDemoMuteUnmuteOutput(int output);
void MNPykaDemoMuteUnmuteOutput(int output);

// The ALC mode the mono demo panels show while the ALC is on (1 music, 2 speech, 3 generic).
extern int MNDemoALCMode;

namespace demo {
void RegisterMonoDemoCallbacks();
}
