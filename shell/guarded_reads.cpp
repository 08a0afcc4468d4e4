#include "shell/guarded_reads.h"

#include "link/usbcomvunt.h"
#include "runtime/ui.h"
#include "shell/state.h"

namespace {
const char* const kInvalidTitle = "invalid operation";
const char* const kWriteOnlyText = "Can not read under Write-Only Mode";
const char* const kSpi3WireText = "Can not read under 3-Wire SPI Mode";
}  // namespace

const char* ReadRefusalText() {
    if (QuillonMode != 0) return kWriteOnlyText;
    if (CommMode == COMM_SPI3W) return kSpi3WireText;
    return nullptr;
}

int ZelqxReadOneReg(int reg) {
    if (const char* refusal = ReadRefusalText()) {
        rt::MessagePopup(kInvalidTitle, refusal);
        return -1;
    }
    return ReadZelqxOneReg(reg & 0xFF);
}

int ZelqxReadAllReg(int* destination) {
    if (QuillonMode != 0) {
        rt::MessagePopup(kInvalidTitle, kWriteOnlyText);
        return 0;
    }
    if (CommMode == COMM_SPI3W) {
        rt::MessagePopup(kInvalidTitle, kSpi3WireText);
        return -1;
    }
    return ReadZelqxAllReg(destination);
}
