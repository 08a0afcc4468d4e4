// An operation that writes the chip in several steps (power-up, reset, a configuration set,
// Config Board, ...). While one runs, the first send the board refuses stops it: the link
// remembers what that send carried and refuses every later send of the operation, the
// operation sees Stopped() and skips the rest of its steps and its success (message, state,
// LED), and when the outermost operation ends one popup names it and the refused send: the
// chip may now differ from the panels.
//
// Operations nest (Initialize Device runs reset and power-up; "Load Settings" runs a power-up and
// a configuration set): an inner operation shares the outer one's fate and the popup names the
// outer one. A send refused outside any operation is told at once by a popup of its own.
//
// A board that went away under a send (or under the wait for a reply) stops the operation the
// same way, and the popup says that the board was disconnected. The link then closes the board
// as its removal notice would, so what follows takes the path of a board that is not open.
//
// A board that is not open is not a refusal: the sequences then run on the register copy alone,
// as a software demo.
#pragma once

#include <cstdint>
#include <string>

class ChipOperation {
public:
    // `name` is the operation as the user knows it ("Power Up", "Load Settings").
    explicit ChipOperation(std::string name);
    ~ChipOperation();
    ChipOperation(const ChipOperation&) = delete;
    ChipOperation& operator=(const ChipOperation&) = delete;

    // True once a send of the running operation was refused, or a step of it was declined by
    // the user or refused by a mode guard (which said why): nothing more may be sent.
    bool Stopped() const;

private:
    bool outermost_;
};

// True while an operation runs and has stopped (the free form of Stopped(), for the steps
// of an operation that do not hold it).
bool ChipOperationStopped();

// One register step of an operation: CFG_REG[reg] takes `value` and is written. False, with the
// copy left as the chip still has it, when the operation had stopped already or this write was
// refused or declined (which stops it).
bool WriteRegisterStep(int reg, uint32_t value);

// The title and text of the popup that tells a stopped operation: `send` was refused, or
// (disconnected) the board went away during it; registers a read-back of the operation could not
// read are counted in it. `closing`, when given, takes the place of the closing words about the
// chip (an operation that writes the board, not the chip; a start-up step). Those words point to
// "Read All and Update" only where the loaded model shows a register map whose mode reads.
inline constexpr const char* kChipOperationStoppedTitle = "Warning -- Operation aborted";
std::string ChipOperationStoppedText(const std::string& operation, const std::string& send, bool disconnected,
                                     int unreadRegisters, const std::string& closing = {});
// "N register(s) could not be read from the board; the register map keeps their values."
std::string UnreadRegistersText(int count);

// The popup of a send outside any operation that did not reach the board: the board went away
// under it, or refused it while it stayed connected. The refusal's closing words say what the
// panels show: what the chip holds where a register was put back (the default), what the board
// holds where a control was put back, else that the panel may differ from the board.
inline constexpr const char* kUnsentReportTitle = "Warning";
inline constexpr const char* kPanelMayDiffer = "The panel may differ from the board.";
std::string BoardDisconnectedText(const std::string& send);
std::string SendRefusedText(const std::string& send);
std::string SendRefusedText(const std::string& send, const std::string& closing);
// "\"Bit Clock\" shows what the board holds.": the closing words of a control put back.
std::string ShowsWhatBoardHolds(const std::string& label);

// ---- a send whose control can go back --------------------------------------------------------
// A user action that sends one report and, when the board does not take it, can put its control
// back to what the board still holds, or at least say what is true of it. Outside any operation a
// refusal of its send is held instead of told at once; the action asks NotTaken() after the send,
// puts its control back where it knows what the board holds and gives the popup's closing words
// with Closing(); when it ends, one "Warning" tells the refusal with those words, else with
// kPanelMayDiffer (a disconnection is told as usual). Inside an operation the operation tells
// it: NotTaken() is then true once the operation has stopped, and Closing() does nothing.
class SingleSend {
public:
    SingleSend();
    ~SingleSend();
    SingleSend(const SingleSend&) = delete;
    SingleSend& operator=(const SingleSend&) = delete;

    // The board refused the send or went away under it, or the running operation had stopped
    // (nothing went out). A board that is not open is no refusal: the panels act as a demo.
    bool NotTaken() const;
    void Closing(std::string words);

private:
    bool holds_;  // it holds the refusals outside any operation
};

// The closing words of the running operation's popup after a refusal, in place of those about
// the chip (see ChipOperationStoppedText). False when no operation runs.
bool SetStoppedOperationClosing(const std::string& words);
// The same for an operation that runs while no model is chosen (a start-up step, the mode of a
// board plugged in then): its popup ends with `refused`, or `disconnected` when the board went
// away, alone, since what its steps would add (NoteInStoppedOperation) points to panels and
// buttons the user does not have then.
bool SetStoppedOperationLastWords(const std::string& refused, const std::string& disconnected);

// ---- what the chip holds -------------------------------------------------------------------
// The link's record of what the chip's registers hold: the register copy as it stands when the
// program's code starts to run for an event (every write the chip did not take has put its
// register back by then), then each register value the board took or answered with. A write the
// chip did not take puts its register back in the copy from it.

// Starts the record from the copy when none runs (outside the program's event code, an action
// does so); true when it started it, and the caller then ends it with ForgetChipRecord.
bool RecordCopyAsChip();
void ForgetChipRecord();
void NoteChipHolds(int reg, uint32_t value);
// CFG_REG[reg] takes what the chip holds, when the record runs.
void PutBackWhatChipHolds(int reg);

// A read-back inside an operation that has stopped: the operation's popup counts the registers
// it could not read, and the reader shows no popup of its own. False (nothing noted) when no
// operation runs that stopped with a popup to tell.
bool NoteRegistersNotRead(int count);
// More the stopped operation's popup tells, after its own words (what the operation did not do
// as asked before it stopped). False (nothing noted) when no operation runs that stopped with a
// popup to tell; an operation whose popup ends with its last words takes it and tells nothing.
bool NoteInStoppedOperation(const std::string& text);

// ---- used by the device link ---------------------------------------------------------------

// The board refused this report. Inside an operation: the operation stops and will say so.
// Outside one: a popup says so at once (unless the report asked for a reply: its reader tells of
// the failed read, or a SingleSend holds it), and a register write puts its register back to
// what the chip holds while the record of that runs (else the popup says the panel may differ).
void NoteRefusedSend(uint8_t command, uint16_t length, const uint8_t* payload);
// The board went away during this report (its send failed, or its reply never came, and the
// board is no longer on the bus). Inside an operation: it stops, and its popup says the board was
// disconnected. Outside one: a popup says so, unless the report asked for a reply (its reader
// tells of the failed read).
void NoteBoardDisconnected(uint8_t command, uint16_t length, const uint8_t* payload);
// A step was declined or refused by a guard that has told the user already: the operation stops
// without a further popup.
void StopChipOperationQuietly();
// What a report carries, for the popup: "the write of R15", "the board configuration word" ...
std::string DescribeReport(uint8_t command, uint16_t length, const uint8_t* payload);
