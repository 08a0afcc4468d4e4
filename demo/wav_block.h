// The WAV play and record block of the Zutb demo panel.
#pragma once

#include <string>

// Binds the block's callback names.
void RegisterWavCallbacks();

// Panel callbacks (commit only; they return 0).
int cfCBplay(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cfCBrecord(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int ChangeDir(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

// Reads Loop into *loop and Asynchronous into *async (1 with Loop, which dims Asynchronous).
void GetPlayOptions(int panel, int* async, int* loop);
// 0 after telling the user when the list is empty; else 1 with the current item's full path.
int GetCurrentlySelectedFile(int panel, int list, std::string* path);
// Shows in "Directory" the play folder "Change Directory" saved in "a00.ini", when there is one.
void ShowSavedPlayFolder(int panel);
// Fills the list with the folder's "*.wav" files (plain files, by name): label the file name,
// value the folder joined with it.
void FillListBoxWithWavsInDir(int panel, int list, const char* folder);
// Back to the start state: no play options read, no folder chosen in this run.
void ResetWavBlock();
