// The refresh timers: whoever changes CFG_REG raises FlagCFGUpdate, and the timer of the loaded
// family redraws every panel of the loaded model from the copy on its next tick.
#pragma once

#include <functional>

// Stereo (tab sets 2, 3, 4, 6, 7, 8) and mono (1, 5, 9) refresh timers; tick event only.
int STTIMERCB(int panel, int control, int event, void* data, int e1, int e2);
int MNTIMERCB(int panel, int control, int event, void* data, int e1, int e2);
// Tab control: records the shown tab in NowPanel; redraws the loaded model's register map, or the
// Zutb diagram, when its tab comes to the front. 0 for the tab change, 1 for every other event.
int TabCallBack(int panel, int control, int event, void* data, int e1, int e2);

// One redraw of tab set `model`'s panels from CFG_REG, as a tick with the flag raised does.
void RunRedrawList(int model);
// Called with each redraw step's name as it starts ("UpdateSTPathView", ..., "RegMapTitle" for
// the title redraw); for tests and timing. Returns the previous observer.
using RedrawObserver = std::function<void(const char*)>;
RedrawObserver SetRedrawObserver(RedrawObserver observer);

// Refresh-all operations with progress messages (nothing calls them).
int UpdateALLCfg(int newMessage);
int UpdateALLCfg_Jora(int newMessage);
int UpdateALLCfg_Qeva(int newMessage);
int UpdateALLCfgZuta(int newMessage);
int UpdateALLCfgZutb(int newMessage);
int MNUpdateALLCfg(int newMessage);
int MNPykbUpdateALLCfg(int newMessage);
int MNPykaUpdateALLCfg(int newMessage);
