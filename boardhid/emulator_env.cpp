// The emulated board as the environment describes it: the chip it carries and a fault it shows,
// so the program can be tried end to end with every model and under faults.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "boardhid/emulator.h"

namespace boardhid {

namespace {

constexpr uint16_t kMonoId62 = 0xFE;

const char* const kFaultKinds[] = {"drop", "short", "long", "badlength", "failsend", "unplug", "refuseopen", "absent"};

// A whole number from 0 up, or `fallback` (said on stderr) when the variable holds none.
int Count(const char* variable, int fallback) {
    const char* text = std::getenv(variable);
    if (text == nullptr || *text == '\0') return fallback;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*end != '\0' || value < 0 || value > 1000000) {
        std::fprintf(stderr, "boardhid: %s=\"%s\" is not a count from 0 up, using %d\n", variable, text, fallback);
        return fallback;
    }
    return static_cast<int>(value);
}

}  // namespace

EmulatorBackend::EnvironmentSettings EmulatorBackend::ReadEnvironment() {
    EnvironmentSettings s;
    if (const char* chip = std::getenv("BOARDHID_EMULATOR_CHIP"); chip != nullptr && *chip != '\0') {
        if (std::strcmp(chip, "mono") == 0)
            s.id62 = kMonoId62;
        else if (std::strcmp(chip, "stereo") != 0)
            std::fprintf(stderr, "boardhid: unknown BOARDHID_EMULATOR_CHIP \"%s\" (stereo or mono), using stereo\n", chip);
    }
    if (const char* audioId = std::getenv("BOARDHID_EMULATOR_AUDIOID"); audioId != nullptr && *audioId != '\0') {
        if (std::strcmp(audioId, "unconfirmed") == 0)
            s.id95 = kUnconfirmedId95;
        else if (std::strcmp(audioId, "confirmed") != 0)
            std::fprintf(stderr,
                         "boardhid: unknown BOARDHID_EMULATOR_AUDIOID \"%s\" (confirmed or unconfirmed), using "
                         "confirmed\n",
                         audioId);
    }
    if (const char* fault = std::getenv("BOARDHID_EMULATOR_FAULT"); fault != nullptr && *fault != '\0' &&
                                                                      std::strcmp(fault, "none") != 0) {
        bool known = false;
        for (const char* kind : kFaultKinds) known = known || std::strcmp(kind, fault) == 0;
        if (known)
            s.fault = fault;
        else
            std::fprintf(stderr,
                         "boardhid: unknown BOARDHID_EMULATOR_FAULT \"%s\" (drop, short, long, badlength, failsend, "
                         "unplug, refuseopen, absent), no fault\n",
                         fault);
    }
    s.after = Count("BOARDHID_EMULATOR_FAULT_AFTER", 0);
    s.count = Count("BOARDHID_EMULATOR_FAULT_COUNT", 1);
    return s;
}

void EmulatorBackend::ApplyEnvironmentLocked() {
    const EnvironmentSettings& s = environment_;
    id62_ = s.id62;
    regs_[62] = id62_;
    id95_ = s.id95;
    regs_[95] = id95_;
    const std::string& f = s.fault;
    if (f == "drop" || f == "short" || f == "long" || f == "badlength") {
        faults_.faultAfterReplies = s.after;
        int& spoiled = f == "drop" ? faults_.dropReplies
                       : f == "short" ? faults_.shortReplies
                       : f == "long"  ? faults_.longReplies
                                      : faults_.badLengthReports;
        spoiled = s.count;
    } else if (f == "failsend" || f == "unplug") {
        faults_.faultAfterSends = s.after;
        if (f == "failsend")
            faults_.failSends = s.count;
        else
            faults_.unplugOnNextSend = true;
    } else if (f == "refuseopen") {
        faults_.refuseOpen = true;
    } else if (f == "absent") {
        plugged_ = false;
    }
}

}  // namespace boardhid
