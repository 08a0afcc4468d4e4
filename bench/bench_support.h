// Shared pieces of the benchmarks: a prompter that keeps popups from stopping a measurement,
// and the program started on the emulated board with its waits and timers out of the way.
#pragma once

#include <cstdlib>
#include <string>

#include "oslayer/os.h"
#include "panels/AudioCodec_pan.h"
#include "runtime/ui.h"
#include "shell/startup.h"
#include "shell/state.h"

namespace benchsupport {

// Answers every popup at once: messages dropped, Yes to questions, prompts and pickers cancelled.
class QuietPrompter : public rt::Prompter {
public:
    void Message(const std::string&, const std::string&) override {}
    bool YesNo(const std::string&, const std::string&) override { return true; }
    bool Prompt(const std::string&, const std::string&, std::string*) override { return false; }
    int FileSelect(const std::string&, const std::string&, const std::string&, const std::string&, int,
                   std::string*) override {
        return rt::VAL_NO_FILE_SELECTED;
    }
    bool DirSelect(const std::string&, const std::string&, std::string*) override { return false; }
};

// Starts the program on the emulated board (unless another benchmark did) with every wait
// instant, and stops the main panel's timers so they do not fire during a measurement. False
// when start-up fails.
inline bool StartShell() {
    using namespace ui::AudioCodec_pan;
    setenv("BOARDHID_BACKEND", "emulator", 0);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    os::SetSleeper([](int) {});
    if (PHandlePanel <= 0 && ShellStartup() != 0) return false;
    for (int timer : {PANEL_TDev, PANEL_DevIDTimer, PANEL_STTIMER, PANEL_MNTIMER})
        rt::SetCtrlAttribute(PHandlePanel, timer, rt::ATTR_ENABLED, 0);
    return true;
}

}  // namespace benchsupport
