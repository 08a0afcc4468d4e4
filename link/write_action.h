// A user action that writes several registers (a preset ring, a demo box, a volume pair with
// its update latch, a path-view control that writes two registers, a script run) runs as one
// chip operation named as the user knows it: the first send the board refuses stops it, nothing
// after it goes out, one popup names the action and the refused send, and the copy keeps what
// the chip holds: each register the action composed but did not get to the chip takes back,
// when the action ends, what the chip holds (the link's record, see chip_operation.h).
//
// Actions nest (the demo's preset ring runs the equaliser's, a demo output step runs inside
// "Mute All Outputs"): the outermost operation names the popup, and each action puts back the
// registers it could not send.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/chip_operation.h"

// An action that writes a single register (`several` false) is no operation: a refused write is
// then told, and put back, as any single write outside an operation is. Outside the program's
// event code (no callback runs), the action starts the record of what the chip holds from the
// copy, so it is made before the action composes its registers.
class WriteAction {
public:
    explicit WriteAction(std::string name, bool several = true);
    // An action started by a control, named by its label without the bracketed register field
    // name ("[ALCMNGAIN]  ALC Minimum Gain " -> "ALC Minimum Gain"), else by `fallback`; the
    // label is looked up only when the action is an operation.
    WriteAction(int panel, int control, const std::string& fallback, bool several = true);
    ~WriteAction();
    WriteAction(const WriteAction&) = delete;
    WriteAction& operator=(const WriteAction&) = delete;

    // Sends CFG_REG[reg]. False once the action has stopped (this send refused or declined, or
    // an earlier one): the register then goes back to what the chip holds when the action ends.
    // A board that is not open is no stop: the copy keeps the value, as a software demo.
    bool Send(int reg);
    // A pause of the action's plan; none once it has stopped.
    void Pause(double seconds);
    bool Stopped() const { return operation_ ? operation_->Stopped() : ChipOperationStopped(); }

private:
    bool ownsRecord_;  // it started the record of what the chip holds
    std::optional<ChipOperation> operation_;
    std::vector<int> unsent_;
};

// Sends CFG_REG[reg] as a step of the innermost running action (see WriteAction::Send), or as a
// single write when none runs; false once the running action has stopped.
bool SendInAction(int reg);
// A pause between such steps; none once the running operation has stopped.
void PauseInAction(double seconds);
