// The demo panels' preset block: the set boxes with their output (or input) rings, the section
// name they choose, the demo start that routes the board and mutes the outputs, "Load Settings"
// and "Initialize Device". One implementation over a description per model.
#pragma once

#include <string>

#include "regmap/config_sets.h"

namespace demo {

using ControlCallback = int (*)(int, int, int, void*, int, int);

// The board controls the demo start and the loaders run as commits (0: the panel has none).
struct BoardControls {
    int usbI2S;       // "On-Board USB (I2S) Mode" box
    int configBoard;  // "Config Board"
    int usbCodec;     // "USB <--> CODEC"
    int usbPcm;       // "USB <--> PCM"
    int enablePcm;    // "Enable Vunt PCMT"
    int disablePcm;   // "Disable Vunt PCMT"
    int spdifMaster;  // digital-audio master box
    int powerUp;      // "Power Up"
};

struct PresetModel {
    const char* model;      // "Jorb", ...
    const char* names;      // callback names: "ST...CB" + this suffix, or the mono prefix
    int* demoPanel;
    int* boardPanel;        // the panel with the board controls (device control; Qevb: its demo panel)
    // The choice: set box and ring ids by set number (0: no such set).
    int setBox[9];
    int ring[9];
    const char* sectionPrefix;     // "Preset", "ZutaPreset", "MNset", ...
    const char* const* suffixes;   // section suffix by ring value
    int suffixCount;
    int firstRingValue;            // the ring value of suffixes[0] (Zutb's input ring starts at 1)
    // Loading.
    const char* file;              // preset file in the project directory; null: none (Qevb)
    ConfigModel config;
    BoardControls board;
    ControlCallback powerUp;       // null: no power-up (Qevb)
    void (*muteAll)(int);          // the demo start's mute operation; null: nothing to mute (Zutb)
    void (*unmute)(int);           // the loader's unmute operation; null: no unmute step (Zutb)
    int pcmSet;                    // the set that routes USB to PCM and enables PCMT
    int spdifSet;                  // the set that makes the board the digital-audio master (0: none)
    bool qevbChoice;               // Qevb: only sets 3, 5, 6, 7 with outputs 0 to 2; no section
};

// Reads the panel's choice: 1 with the set, the output (ring value) and the section name; 0 when
// no set is ticked or the ticked set's ring holds no known value (*set is written first).
int GetPresetChoice(const PresetModel& m, int panel, int* set, int* output, std::string* section);

// The demo start: USB I2S box ticked and run, Config Board, USB <--> CODEC, mute all, 0.2 s.
void DemoStart(const PresetModel& m);

// "Load Settings" and "Initialize Device" on `panel`; 1 on the early returns, else 0.
int LoadSettings(const PresetModel& m, int panel);
void InitializeDevice(const PresetModel& m);

// Binds the preset-block callback names of every model.
void RegisterPresetCallbacks();

// The descriptions.
const PresetModel& PresetModelOf(const char* model);

}  // namespace demo

// The named operations of the preset blocks (the section buffer holds at least 121 characters).
int STGetPresetConfigName(int* set, int* output, char* section);
int STGetPresetConfigNameZuta(int* set, int* output, char* section);
int STGetPresetConfigName_Jora(int* set, int* output, char* section);
int STGetPresetConfigName_Qeva(int* set, int* output, char* section);
int STGetPresetConfigName_Qevb(int* set, int* output);
int STGetPresetConfigNameZutb(int* set, int* output, char* section);
int MNGetPresetConfigName(int* set, int* output, char* section);
int MNPykbGetPresetConfigName(int* set, int* output, char* section);
int MNPykaGetPresetConfigName(int* set, int* output, char* section);
void STDemoInit();
void STDemoInitZuta();
void STDemoInit_Jora();
void STDemoInit_Qeva();
void STDemoInit_Qevb();
void STDemoInitZutb();
void MNDemoInit();
void MNPykbDemoInit();
void MNPykaDemoInit();
