// The stereo demo modules' output operations. Every stereo model shares one implementation;
// only Jora reads the mute code in its own four-item numbering (it has no speaker), and Qevb
// has no power operation.
#include "demo/demo_output.h"

#include <initializer_list>

#include "link/write_action.h"
#include "shell/state.h"

namespace {

constexpr uint32_t kMute = 0x040;    // bit 6 of R52 to R57
constexpr uint32_t kLatch = 0x100;   // update latch of the R52/R53 and R54/R55 pairs
constexpr double kPowerWait = 0.1;   // after each power step

enum class MuteCodes { Stereo, Jora };

void Set(int reg, uint32_t bits) { CFG_REG[reg] |= bits; }
void Clear(int reg, uint32_t bits) { CFG_REG[reg] &= ~bits; }
// Inside the operation that runs these steps (power-up, "Mute All Outputs", a demo preset ...):
// nothing goes out, and no wait is made, once it has stopped.
void Write(int reg) { SendInAction(reg); }
bool IsLatched(int reg) { return reg >= 52 && reg <= 55; }

void Unmute(std::initializer_list<int> regs) {
    for (int reg : regs) {
        Clear(reg, kMute);
        if (IsLatched(reg)) Set(reg, kLatch);
        Write(reg);
    }
}

void MuteUnmute(MuteCodes codes, int output) {
    WriteAction action(output == -1 ? "Mute All Outputs" : "Unmute Output");
    if (output == -1) {
        for (int reg = 52; reg <= 57; ++reg) {
            Set(reg, IsLatched(reg) ? kMute | kLatch : kMute);
            Write(reg);
        }
        return;
    }
    if (codes == MuteCodes::Jora) {
        switch (output) {
            case 0: Unmute({52, 53}); break;  // headphone
            case 1: Unmute({57}); break;      // AUXOUT1
            case 2: Unmute({56}); break;      // AUXOUT2
            case 3: Unmute({56, 57}); break;  // both auxiliary outputs
            default: break;
        }
        return;
    }
    switch (output) {
        case 0: Unmute({54, 55}); break;
        case 1: Unmute({52, 53}); break;
        case 2: Unmute({54, 55, 52, 53}); break;
        case 3: Unmute({57}); break;
        case 4: Unmute({56}); break;
        case 5: Unmute({56, 57}); break;
        case 6: Unmute({54, 55, 57}); break;
        default: break;
    }
}

// One power step: change the register, write it, wait.
void Step(int reg, uint32_t set, uint32_t clear = 0) {
    Set(reg, set);
    Clear(reg, clear);
    Write(reg);
    PauseInAction(kPowerWait);
}

void SpeakerDrivers() {
    Step(3, 0x060);
    Step(54, kLatch);
    Step(55, kLatch);
}
void SpeakerBeepBits() { Step(43, 0x010, 0x021); }
void HeadphoneDrivers() {
    Step(2, 0x180);
    Step(52, kLatch);
    Step(53, kLatch);
}
// The auxiliary drivers: power bits of R1 and R3 and the mixer enable bit 1 of R56 / R57, the
// three (or four) registers written back to back and one wait after them.
void AuxDrivers(bool aux1, bool aux2) {
    Set(1, (aux1 ? 0x080 : 0) | (aux2 ? 0x040 : 0));
    Set(3, (aux1 ? 0x100 : 0) | (aux2 ? 0x080 : 0));
    if (aux2) Set(56, 0x002);
    if (aux1) Set(57, 0x002);
    Write(1);
    Write(3);
    if (aux2) Write(56);
    if (aux1) Write(57);
    PauseInAction(kPowerWait);
}

void TurnOnOff(int output) {
    WriteAction action(output == -1 ? "Disable All Outputs" : "Enable Outputs");
    switch (output) {
        case -1:
            Clear(2, 0x180);
            Write(2);
            Clear(3, 0x1E0);
            Write(3);
            break;
        case 0: SpeakerDrivers(); SpeakerBeepBits(); break;
        case 1: HeadphoneDrivers(); break;
        case 2: SpeakerDrivers(); HeadphoneDrivers(); SpeakerBeepBits(); break;
        case 3: AuxDrivers(true, false); break;
        case 4: AuxDrivers(false, true); break;
        case 5: AuxDrivers(true, true); break;
        case 6: SpeakerDrivers(); AuxDrivers(true, false); break;
        default: return;
    }
    FlagCFGUpdate = 1;
}

}  // namespace

void STDemoMuteUnmuteOutput(int output) { MuteUnmute(MuteCodes::Stereo, output); }
void STDemoMuteUnmuteOutputZuta(int output) { MuteUnmute(MuteCodes::Stereo, output); }
void STDemoMuteUnmuteOutput_Jora(int output) { MuteUnmute(MuteCodes::Jora, output); }
void STDemoMuteUnmuteOutput_Qeva(int output) { MuteUnmute(MuteCodes::Stereo, output); }
void STDemoMuteUnmuteOutput_Qevb(int output) { MuteUnmute(MuteCodes::Stereo, output); }

void STDemoTurnOnOffOutput(int output) { TurnOnOff(output); }
void STDemoTurnOnOffOutputZuta(int output) { TurnOnOff(output); }
void STDemoTurnOnOffOutput_Jora(int output) { TurnOnOff(output); }
void STDemoTurnOnOffOutput_Qeva(int output) { TurnOnOff(output); }
