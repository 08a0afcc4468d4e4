// The model tab panels loaded at start-up: which handle, from which panel file and resource.
#pragma once

struct TabPanelEntry {
    int* handle;
    const char* file;
    int resource;
};

inline constexpr int kTabPanelCount = 84;
// In load order: Jorb, Jora, Qeva, Qevb, Zuta, Zutb, Pyka, Pykc, Pykb.
extern const TabPanelEntry kTabPanels[kTabPanelCount];
