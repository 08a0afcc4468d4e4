#include "link/write_action.h"

#include <algorithm>

#include "link/usbcomvunt.h"
#include "runtime/ui.h"
#include "shell/state.h"

namespace {

// The actions running now, outermost first.
std::vector<WriteAction*> running;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The control's label without the bracketed register field name, blanks collapsed, trimmed of
// blanks and a trailing colon; `fallback` when the control has no label.
std::string ActionName(int panel, int control, const std::string& fallback) {
    std::string label;
    if (panel <= 0 || control <= 0 || rt::GetCtrlAttribute(panel, control, rt::ATTR_LABEL_TEXT, &label) < 0)
        return fallback;
    // Drop the register field name in brackets the labels start with.
    size_t start = 0;
    while (start < label.size() && IsBlank(label[start])) ++start;
    if (start < label.size() && label[start] == '[') {
        const size_t close = label.find(']', start);
        if (close != std::string::npos) start = close + 1;
    }
    // Collapse runs of blanks, trim both ends and a trailing colon.
    std::string name;
    for (size_t i = start; i < label.size(); ++i) {
        if (IsBlank(label[i])) {
            if (!name.empty() && name.back() != ' ') name += ' ';
        } else {
            name += label[i];
        }
    }
    while (!name.empty() && (name.back() == ' ' || name.back() == ':')) name.pop_back();
    return name.empty() ? fallback : name;
}

}  // namespace

WriteAction::WriteAction(std::string name, bool several) : ownsRecord_(RecordCopyAsChip()) {
    if (several) operation_.emplace(std::move(name));
    running.push_back(this);
}

WriteAction::WriteAction(int panel, int control, const std::string& fallback, bool several)
    : WriteAction(several ? ActionName(panel, control, fallback) : std::string(), several) {}

WriteAction::~WriteAction() {
    running.erase(std::find(running.begin(), running.end(), this));
    if (Stopped()) {
        for (int reg : unsent_) PutBackWhatChipHolds(reg);
        FlagCFGUpdate = 1;
    }
    if (ownsRecord_) ForgetChipRecord();
}

bool WriteAction::Send(int reg) {
    if (reg < 0 || reg >= kRegisterSlots) return !Stopped();
    if (!Stopped() && ZelqxWriteOneReg(reg) == 1) return true;
    if (!Stopped()) return true;  // not sent, but no stop: board closed or a guard that said why
    if (std::find(unsent_.begin(), unsent_.end(), reg) == unsent_.end()) unsent_.push_back(reg);
    return false;
}

void WriteAction::Pause(double seconds) {
    if (!Stopped()) PauseInAction(seconds);
}

bool SendInAction(int reg) {
    if (!running.empty()) return running.back()->Send(reg);
    ZelqxWriteOneReg(reg);
    return true;
}

void PauseInAction(double seconds) {
    if (!ChipOperationStopped() && seconds > 0) rt::Delay(seconds);
}
