// Fixture of the output-panel tests: the real start-up on the emulated board, a model chosen
// from the Device menu, and one trace of what the chip received, the pauses between the writes
// and the popups, in the order they happened ("R52=139", "pause 100ms", "popup Warning: ...").
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "device/device_services.h"
#include "tests/shell/model_test_support.h"

namespace outputtest {

using namespace ui::AudioCodec_pan;

inline std::string W(int reg, int value) {
    char text[24];
    std::snprintf(text, sizeof text, "R%d=%03X", reg, value);
    return text;
}
inline std::string Pause(int ms) { return "pause " + std::to_string(ms) + "ms"; }

class OutputFixture : public modeltest::ModelFixture {
protected:
    // Records popups into the trace as they come.
    class TracingPrompter : public testsupport::RecordingPrompter {
    public:
        OutputFixture* owner = nullptr;
        void Message(const std::string& title, const std::string& text) override {
            owner->Note("popup " + title + ": " + text);
            RecordingPrompter::Message(title, text);
        }
    };

    TracingPrompter tracer;
    std::vector<std::string> trace;
    size_t writesSeen = 0;

    void SetUp() override {
        ModelFixture::SetUp();
        if (HasFatalFailure()) return;
        tracer.owner = this;
        rt::SetPrompter(&tracer);
        os::SetSleeper([this](int ms) { NotePause(ms); });
        // The remembered volume codes outlive a model change, and so a test.
        STLout1CurrentVOL = STRout1CurrentVOL = STLout2CurrentVOL = STRout2CurrentVOL = MNSPKCurrentVOL = 0;
    }
    void TearDown() override {
        rt::SetPrompter(&prompter);
        ModelFixture::TearDown();
    }

    // Chooses the model and forgets what choosing it sent.
    void Choose(int menuItem) {
        Menu(menuItem);
        StartTrace();
    }
    void StartTrace() {
        board->ClearReceivedReports();
        writesSeen = 0;
        trace.clear();
        tracer.shown.clear();
        FlagCFGUpdate = 0;
    }

    // The trace up to now (register writes not yet noted are added first).
    const std::vector<std::string>& Trace() {
        FlushWrites();
        return trace;
    }
    // Only the register writes of the trace.
    std::vector<std::string> Writes() {
        std::vector<std::string> out;
        for (const std::string& t : Trace())
            if (t[0] == 'R') out.push_back(t);
        return out;
    }

    void Set(int panel, int control, int value) {
        ASSERT_GE(rt::SetCtrlVal(panel, control, value), 0) << "control " << control << " value " << value;
    }
    int Get(int panel, int control) { return CtrlInt(panel, control); }
    // (control, value) or (register, value) pairs.
    using Pairs = std::vector<std::pair<int, int>>;
    void SetAll(int panel, const Pairs& values) {
        for (const auto& [control, value] : values) Set(panel, control, value);
    }
    static void SetRegisters(const Pairs& values) {
        for (const auto& [reg, value] : values) CFG_REG[reg] = static_cast<uint32_t>(value);
    }
    void ExpectShown(int panel, const Pairs& values) {
        for (const auto& [control, value] : values) EXPECT_EQ(Get(panel, control), value) << "control " << control;
    }
    // The user's commit of a control that already holds its new value.
    void Commit(int panel, int control) { rt::CallCtrlCallback(panel, control, rt::EVENT_COMMIT, 0, 0); }
    // A value chosen by the user: set, then committed.
    void Pick(int panel, int control, int value) {
        Set(panel, control, value);
        Commit(panel, control);
    }
    // One tick of a refresh timer with a redraw pending.
    void Refresh(int timer) {
        SetFlag(&FlagCFGUpdate);
        Tick(timer);
    }
    std::string Tip(int panel, int control) {
        std::string tip;
        rt::GetCtrlAttribute(panel, control, rt::ATTR_TOOLTIP_TEXT, &tip);
        return tip;
    }
    bool Dimmed(int panel, int control) {
        int dimmed = 0;
        rt::GetCtrlAttribute(panel, control, rt::ATTR_DIMMED, &dimmed);
        return dimmed != 0;
    }

private:
    void FlushWrites() {
        const auto writes = RegisterWrites();
        for (; writesSeen < writes.size(); ++writesSeen) trace.push_back(W(writes[writesSeen].first, writes[writesSeen].second));
    }
    void Note(const std::string& what) {
        FlushWrites();
        trace.push_back(what);
    }
    // Consecutive sleeps form one pause.
    void NotePause(int ms) {
        FlushWrites();
        int total = ms;
        if (!trace.empty() && trace.back().rfind("pause ", 0) == 0) {
            total += std::stoi(trace.back().substr(6));
            trace.pop_back();
        }
        trace.push_back(Pause(total));
    }
};

}  // namespace outputtest
