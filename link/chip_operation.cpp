#include "link/chip_operation.h"

#include <algorithm>
#include <cstdio>

#include "link/usbcomvunt.h"
#include "runtime/ui.h"
#include "shell/guarded_reads.h"
#include "shell/model_select.h"
#include "shell/progress.h"
#include "shell/state.h"

namespace {

// The running operation. Only the UI thread writes the chip, so plain globals do.
struct Running {
    int depth = 0;
    std::string name;     // the outermost operation
    bool stopped = false;
    std::string refused;  // what the refused send carried; empty when the stop was quiet
    bool disconnected = false;  // the board went away during that send
    int unread = 0;             // registers a read-back of the stopped operation could not read
    std::string notes;          // told after the popup's own words
    std::string closing;        // in place of the words about the chip after a refusal, when given
    std::string goneClosing;    // the same after a disconnection
    bool closingOnly = false;   // the steps' notes are not told
};
Running running;

// The refusal a SingleSend outside any operation holds until it ends.
struct Held {
    bool on = false;
    bool refused = false;
    bool disconnected = false;
    std::string send;
    std::string closing;
};
Held held;

// What the chip holds, while the record runs.
struct ChipRecord {
    bool on = false;
    uint32_t regs[kCodecRegisters] = {};
};
ChipRecord chip;

constexpr const char* kPanelsShowTheChip = "The panels show what the chip holds.";

// The register map's "Read All and Update" reads the chip back only where the loaded model shows
// a register map (Qevb's only tab is its demo) and the mode reads (not write-only, not 3-wire SPI):
// the popups point to it only then.
bool ReadBackOffered() { return LoadedModelShowsRegisterMap() && ReadRefusalText() == nullptr; }

// The record starts from the copy whenever the program's code starts to run for an event.
const rt::RunObserver kRecordAtEachEvent = rt::SetRunObserver([](bool starting) {
    ForgetChipRecord();
    if (starting) RecordCopyAsChip();
});

bool IsCodecCommand(uint8_t command) {
    const int code = command & 0x3F;
    return (command & 0xC0) != 0 && code >= CMD_CODEC_READ_ONE && code <= CMD_CODEC_WRITE_BLOCK3;
}

// Reports answered by the board: their readers tell the user of a failed read.
bool AsksForReply(uint8_t command) {
    if (IsCodecCommand(command)) return (command & 0x3F) <= CMD_CODEC_READ_BLOCK3;
    return command == CMD_BRIDGE_READ || command == CMD_FW_DATE || command == CMD_AUDIO_ID;
}

// A report outside any operation that did not reach the board: one popup names it, and a single
// register write that the board refused (it is still there) puts the register back to what the
// chip holds, when the record of that runs. A disconnection leaves the copy as it is: nothing
// reaches the chip until the board is back. Reports answered by the board are told by their
// readers; a SingleSend holds the refusal of its send and tells it when it ends.
void TellUnsentReport(uint8_t command, uint16_t length, const uint8_t* payload, bool disconnected) {
    if (AsksForReply(command)) return;
    const std::string send = DescribeReport(command, length, payload);
    const bool putBack = !disconnected && chip.on && IsCodecCommand(command) &&
                         (command & 0x3F) == CMD_CODEC_WRITE_ONE && length >= 2 && payload;
    if (putBack) {
        PutBackWhatChipHolds(payload[0] >> 1);
        FlagCFGUpdate = 1;
    }
    if (held.on) {
        if (!held.refused) held = Held{true, true, disconnected, send, putBack ? kPanelsShowTheChip : ""};
        return;
    }
    const std::string text = disconnected ? BoardDisconnectedText(send)
                                          : SendRefusedText(send, putBack ? kPanelsShowTheChip : kPanelMayDiffer);
    rt::MessagePopup(kUnsentReportTitle, text.c_str());
}

std::string Hex(int value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, value);
    return text;
}

std::string RegisterName(int reg) {
    std::string name(1, 'R');
    return name += std::to_string(reg);
}

// Registers of a block: from the pairs it carries (writes), from the command (reads).
std::string BlockRange(int code, uint16_t length, const uint8_t* payload) {
    if (code >= CMD_CODEC_WRITE_BLOCK1 && length >= 2 && payload)
        return RegisterName(payload[0] >> 1) + " to " + RegisterName(payload[(length & ~1) - 2] >> 1);
    const int first = code == CMD_CODEC_READ_BLOCK1 ? 1 : code == CMD_CODEC_READ_BLOCK2 ? 25 : 49;
    const int last = code == CMD_CODEC_READ_BLOCK1 ? 24 : code == CMD_CODEC_READ_BLOCK2 ? 48 : 63;
    return RegisterName(first) + " to " + RegisterName(last);
}

}  // namespace

std::string DescribeReport(uint8_t command, uint16_t length, const uint8_t* payload) {
    const bool has = payload != nullptr;
    if (IsCodecCommand(command)) {
        const int code = command & 0x3F;
        if (code == CMD_CODEC_WRITE_ONE && length >= 2 && has) return "the write of " + RegisterName(payload[0] >> 1);
        if (code == CMD_CODEC_READ_ONE && length >= 1 && has) return "the read of " + RegisterName(payload[0]);
        if (code >= CMD_CODEC_WRITE_BLOCK1) return "the block write of " + BlockRange(code, length, payload);
        if (code >= CMD_CODEC_READ_BLOCK1) return "the block read of " + BlockRange(code, length, payload);
    }
    const int address = length >= 2 && has ? (payload[0] << 8) | payload[1] : 0;
    switch (command) {
        case CMD_BOARD_CONFIG: return "the board configuration word";
        case CMD_BRIDGE_READ: return "the read of bridge register " + Hex(address, 4);
        case CMD_BRIDGE_WRITE:
        case CMD_BRIDGE_MASKED_WRITE: return "the write of bridge register " + Hex(address, 4);
        case 0x35:
        case 0x36:
        case 0x37:
        case 0x38: return "the audio routing command " + Hex(command, 2);
        default: return "the command " + Hex(command, 2);
    }
}

std::string ChipOperationStoppedText(const std::string& operation, const std::string& send, bool disconnected,
                                     int unreadRegisters, const std::string& closing) {
    std::string text = "\"" + operation + "\" stopped: ";
    text += disconnected ? "the evaluation board was disconnected during " : "the board refused ";
    text += send + ", and nothing after it was sent.";
    if (unreadRegisters > 0) text += "\n\n" + UnreadRegistersText(unreadRegisters);
    if (!closing.empty()) return text += "\n\n" + closing;
    const bool readBack = ReadBackOffered();
    if (disconnected) {
        text += "\n\nUntil the board is connected again nothing reaches the chip.";
        if (readBack)
            text += " Once it is back, reading the registers (\"Read All and Update\" on the register map) brings "
                    "the panels in line with the chip.";
        return text;
    }
    text += "\n\nThe chip may now differ from the panels.";
    if (readBack) text += " Reading the registers back (\"Read All and Update\" on the register map) reconciles them.";
    return text;
}

std::string UnreadRegistersText(int count) {
    return std::to_string(count) +
           " register(s) could not be read from the board; the register map keeps their values.";
}

std::string SendRefusedText(const std::string& send) {
    return SendRefusedText(send, kPanelsShowTheChip);
}

std::string SendRefusedText(const std::string& send, const std::string& closing) {
    return "The evaluation board refused " + send + ", so it did not take effect.\n\n" + closing;
}

std::string ShowsWhatBoardHolds(const std::string& label) { return "\"" + label + "\" shows what the board holds."; }

std::string BoardDisconnectedText(const std::string& send) {
    return "The evaluation board was disconnected: " + send +
           " did not reach it.\n\nUntil the board is connected again nothing reaches the chip.";
}

ChipOperation::ChipOperation(std::string name) : outermost_(running.depth == 0) {
    if (outermost_) running = Running{0, std::move(name), false, {}, false, 0, {}, {}, {}, false};
    ++running.depth;
}

ChipOperation::~ChipOperation() {
    --running.depth;
    if (!outermost_ || !running.stopped) return;
    const Running ended = running;
    running = Running{};
    // The progress of the operation ends with it; the panels show the copy again.
    StopProgress();
    FlagCFGUpdate = 1;
    if (ended.refused.empty()) return;  // declined, or refused by a guard that said why
    const std::string text =
        ChipOperationStoppedText(ended.name, ended.refused, ended.disconnected, ended.unread,
                                 ended.disconnected ? ended.goneClosing : ended.closing) +
        ended.notes;
    rt::MessagePopup(kChipOperationStoppedTitle, text.c_str());
}

bool ChipOperation::Stopped() const { return running.stopped; }

bool SetStoppedOperationClosing(const std::string& words) {
    if (running.depth == 0) return false;
    running.closing = words;
    return true;
}

bool SetStoppedOperationLastWords(const std::string& refused, const std::string& disconnected) {
    if (!SetStoppedOperationClosing(refused)) return false;
    running.goneClosing = disconnected;
    running.closingOnly = true;
    return true;
}

SingleSend::SingleSend() : holds_(running.depth == 0 && !held.on) {
    if (holds_) held = Held{true, false, false, {}, {}};
}

SingleSend::~SingleSend() {
    if (!holds_) return;
    const Held ended = held;
    held = Held{};
    if (!ended.refused) return;
    const std::string text =
        ended.disconnected
            ? BoardDisconnectedText(ended.send)
            : SendRefusedText(ended.send, ended.closing.empty() ? std::string(kPanelMayDiffer) : ended.closing);
    rt::MessagePopup(kUnsentReportTitle, text.c_str());
}

bool SingleSend::NotTaken() const { return running.depth > 0 ? running.stopped : held.refused; }

void SingleSend::Closing(std::string words) {
    // The chip's own words, once a register was put back, stay.
    if (running.depth == 0 && held.on && held.closing.empty()) held.closing = std::move(words);
}

bool ChipOperationStopped() { return running.depth > 0 && running.stopped; }

bool WriteRegisterStep(int reg, uint32_t value) {
    if (ChipOperationStopped()) return false;
    const uint32_t previous = CFG_REG[reg];
    CFG_REG[reg] = value;
    if (ZelqxWriteOneReg(reg) == ZELQX_WRITE_DECLINED || ChipOperationStopped()) {
        CFG_REG[reg] = previous;
        return false;
    }
    return true;
}

void NoteRefusedSend(uint8_t command, uint16_t length, const uint8_t* payload) {
    if (running.depth == 0) {
        TellUnsentReport(command, length, payload, false);
        return;
    }
    if (running.stopped) return;
    running.stopped = true;
    running.refused = DescribeReport(command, length, payload);
}

void NoteBoardDisconnected(uint8_t command, uint16_t length, const uint8_t* payload) {
    if (running.depth == 0) {
        TellUnsentReport(command, length, payload, true);
        return;
    }
    if (running.stopped) return;  // an earlier stop is not the disconnection
    NoteRefusedSend(command, length, payload);
    running.disconnected = true;
}

bool NoteRegistersNotRead(int count) {
    // A quiet stop shows no popup of its own to count them in.
    if (!ChipOperationStopped() || running.refused.empty()) return false;
    running.unread += count;
    return true;
}

bool NoteInStoppedOperation(const std::string& text) {
    if (!ChipOperationStopped() || running.refused.empty()) return false;
    if (!running.closingOnly) running.notes += "\n\n" + text;
    return true;
}

void StopChipOperationQuietly() {
    if (running.depth > 0) running.stopped = true;
}

bool RecordCopyAsChip() {
    if (chip.on) return false;
    chip.on = true;
    std::copy(CFG_REG, CFG_REG + kCodecRegisters, chip.regs);
    return true;
}

void ForgetChipRecord() { chip.on = false; }

void NoteChipHolds(int reg, uint32_t value) {
    if (chip.on && reg >= 0 && reg < kCodecRegisters) chip.regs[reg] = value;
}

void PutBackWhatChipHolds(int reg) {
    if (chip.on && reg >= 0 && reg < kCodecRegisters) CFG_REG[reg] = chip.regs[reg];
}
