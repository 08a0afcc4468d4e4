// The register-map buttons through the emulated board: single read and write, "Read All and
// Update " (and its faults), Zutb's upper registers, the bridge registers, the display ring and
// the right click.
#include <gmock/gmock.h>

#include <chrono>

#include "link/usbcomvunt.h"
#include "oslayer/os.h"
#include "panels/AudioCodec_pan.h"
#include "panels/MNPykbRegMap_pan.h"
#include "panels/cfgMapJora_Pan.h"
#include "panels/cfgMapJorb_Pan.h"
#include "panels/cfgMapZutb_Pan.h"
#include "regmap/regmap_services.h"
#include "shell/progress.h"
#include "tests/regmap_panels/regmap_test_support.h"

namespace {

using regmaptest::JorbRegMapFixture;
using namespace ui::AudioCodec_pan;
using namespace ui::cfgMapJorb_Pan;

class RegMapIoTest : public JorbRegMapFixture {
protected:
    int CodecReads() const {
        int n = 0;
        for (const auto& r : board->ReceivedReports())
            if (!r.empty() && (r[0] & 0x3F) == CMD_CODEC_READ_ONE) ++n;
        return n;
    }
};

// "Read" shows the register in the value box, stores it and redraws its row; "Write" sends the
// value box to the register and raises the redraw flag.
TEST_F(RegMapIoTest, SingleReadAndWrite) {
    board->SetCodecRegister(12, 0x1A5);
    rt::SetCtrlVal(panel, CFGMAPJorb_NACSTRegAddr, 12);
    Press(panel, CFGMAPJorb_BACSTRegRead);
    EXPECT_EQ(CtrlInt(panel, CFGMAPJorb_NACSTRegVal), 0x1A5);
    EXPECT_EQ(CFG_REG[12], 0x1A5u);
    EXPECT_EQ(Cell(panel, CFGMAPJorb_REGTABLE, "Hex Val", RowOf(panel, CFGMAPJorb_REGTABLE, 12)), 0x1A5);
    EXPECT_EQ(FlagCFGUpdate, 0);

    rt::SetCtrlVal(panel, CFGMAPJorb_NACSTRegAddr, 75);  // a register of the long table
    rt::SetCtrlVal(panel, CFGMAPJorb_NACSTRegVal, 0x0C3);
    Press(panel, CFGMAPJorb_BACSTRegWrite);
    EXPECT_EQ(CFG_REG[75], 0x0C3u);
    EXPECT_EQ(board->CodecRegister(75), 0x0C3);
    EXPECT_EQ(FlagCFGUpdate, 1);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());

    // The board refuses the write and stays connected: the copy keeps what the chip holds, one
    // Warning names the write, and the table shows the chip's value.
    board->SetCodecRegister(11, 0x0FF);
    CFG_REG[11] = 0x0FF;
    board->SetFaults(boardhid::RefuseOneSend());
    rt::SetCtrlVal(panel, CFGMAPJorb_NACSTRegAddr, 11);
    rt::SetCtrlVal(panel, CFGMAPJorb_NACSTRegVal, 0x123);
    Press(panel, CFGMAPJorb_BACSTRegWrite);
    EXPECT_EQ(board->CodecRegister(11), 0x0FF);
    EXPECT_EQ(CFG_REG[11], 0x0FFu);
    EXPECT_EQ(prompter.shown, std::vector<testsupport::Popup>{testsupport::RefusedWriteWarning("R11")});
    EXPECT_EQ(FlagCFGUpdate, 1);
    Tick(PANEL_STTIMER);
    EXPECT_EQ(Cell(panel, CFGMAPJorb_REGTABLE, "Hex Val", RowOf(panel, CFGMAPJorb_REGTABLE, 11)), 0x0FF);
}

// A failed read keeps the register's value and says so; a register the chip does not have is
// refused before anything is sent; write-only mode refuses reads but not writes.
TEST_F(RegMapIoTest, FailedRefusedAndOutOfRangeReads) {
    CFG_REG[12] = 0x044;
    rt::SetCtrlVal(panel, CFGMAPJorb_NACSTRegVal, 0x33);
    boardhid::FaultPlan plan;
    plan.dropReplies = 1;
    board->SetFaults(plan);
    rt::SetCtrlVal(panel, CFGMAPJorb_NACSTRegAddr, 12);
    Press(panel, CFGMAPJorb_BACSTRegRead);
    EXPECT_EQ(CFG_REG[12], 0x044u);
    EXPECT_EQ(CtrlInt(panel, CFGMAPJorb_NACSTRegVal), 0x33);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Read failed");
    EXPECT_NE(prompter.shown[0].text.find("0x0C"), std::string::npos);

    // A request the board refused gets no reply: the read waits for none (the tests' clock does
    // not move) and keeps the register.
    prompter.shown.clear();
    board->SetFaults(boardhid::RefuseOneSend());
    os::Clock::time_point before = os::Now();
    Press(panel, CFGMAPJorb_BACSTRegRead);
    EXPECT_EQ(std::chrono::duration_cast<std::chrono::milliseconds>(os::Now() - before).count(), 0) << "ms waited";
    EXPECT_EQ(CFG_REG[12], 0x044u);
    EXPECT_FALSE(prompter.shown.empty());
    prompter.shown.clear();
    board->SetFaults(boardhid::RefuseOneSend());
    before = os::Now();
    rt::SetCtrlVal(panel, CFGMAPJorb_NVuntRegAddr, 0x1450);
    Press(panel, CFGMAPJorb_BACSTReg08Read);
    EXPECT_EQ(std::chrono::duration_cast<std::chrono::milliseconds>(os::Now() - before).count(), 0) << "ms waited";
    EXPECT_FALSE(prompter.shown.empty());

    // The address box stops at the model's last register.
    struct Box { int menuItem; int* panel; int control; int last; } boxes[] = {
        {MENUBAR_DEVICE_StereoJorb, &PHandleSTRegMap, CFGMAPJorb_NACSTRegAddr, 79},
        {MENUBAR_DEVICE_StereoJora, &PHdlRegMapJora, ui::cfgMapJora_Pan::CFGMAPJora_NACSTRegAddr, 63},
        {MENUBAR_DEVICE_StereoZutb, &PHandleSTRegMapZutb, ui::cfgMapZutb_Pan::CFGMAPZutb_NACSTRegAddr, 113},
    };
    for (const Box& b : boxes) {
        rt::SetCtrlVal(*b.panel, b.control, 250);
        EXPECT_EQ(CtrlInt(*b.panel, b.control), b.last);
    }
    Choose(MENUBAR_DEVICE_StereoJorb);

    prompter.shown.clear();
    board->ClearReceivedReports();
    QuillonMode = 1;
    rt::SetCtrlVal(panel, CFGMAPJorb_NACSTRegAddr, 12);
    Press(panel, CFGMAPJorb_BACSTRegRead);
    Press(panel, CFGMAPJorb_STReadAll);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"invalid operation", "invalid operation"}));
    EXPECT_EQ(prompter.shown[0].text, "Can not read under Write-Only Mode");
    EXPECT_EQ(CodecReads(), 0);
    EXPECT_EQ(ReadAlls(), 0);
    rt::SetCtrlVal(panel, CFGMAPJorb_NACSTRegVal, 0x11);
    Press(panel, CFGMAPJorb_BACSTRegWrite);
    EXPECT_EQ(board->CodecRegister(12), 0x11);
}

// "Read All and Update " reads register 0 and the three blocks into CFG_REG, paints its button
// green meanwhile and gives the colour back, and shows its progress while it waits; a failed
// block keeps what the blocks before it answered, leaves the registers after it and says once
// how many could not be read. Without a board nothing is read and the popup says the board is
// not attached.
TEST_F(RegMapIoTest, ReadAllFillsTheCopyOrKeepsItAndSaysSo) {
    for (int r = 0; r <= 63; ++r) board->SetCodecRegister(r, static_cast<uint16_t>((r * 7 + 3) & 0x1FF));
    int colour = 0;
    rt::GetCtrlAttribute(panel, CFGMAPJorb_STReadAll, rt::ATTR_CMD_BUTTON_COLOR, &colour);
    std::vector<std::string> shown;  // the status text in the waits' slices, when shown
    os::Sleeper sleeper = os::SetSleeper([&](int) {
        int visible = 0;
        rt::GetCtrlAttribute(PHandlePanel, ui::AudioCodec_pan::PANEL_StatusText, rt::ATTR_VISIBLE, &visible);
        std::string text;
        rt::GetCtrlVal(PHandlePanel, ui::AudioCodec_pan::PANEL_StatusText, &text);
        if (visible && (shown.empty() || shown.back() != text)) shown.push_back(text);
    });
    Press(panel, CFGMAPJorb_STReadAll);
    os::SetSleeper(sleeper);
    EXPECT_EQ(shown, (std::vector<std::string>{"Read All and Update ..."}));
    int visible = 1;
    rt::GetCtrlAttribute(PHandlePanel, ui::AudioCodec_pan::PANEL_StatusText, rt::ATTR_VISIBLE, &visible);
    EXPECT_EQ(visible, 0);
    for (int r = 0; r <= 63; ++r) EXPECT_EQ(CFG_REG[r], static_cast<uint32_t>((r * 7 + 3) & 0x1FF)) << r;
    EXPECT_EQ(FlagCFGUpdate, 1);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
    int after = -1;
    rt::GetCtrlAttribute(panel, CFGMAPJorb_STReadAll, rt::ATTR_CMD_BUTTON_COLOR, &after);
    EXPECT_EQ(after, colour);

    for (int r = 0; r <= 63; ++r) board->SetCodecRegister(r, 0x155);
    boardhid::FaultPlan plan;
    plan.faultAfterReplies = 2;  // register 0 and the first block answer, the second does not
    plan.dropReplies = 1;
    board->SetFaults(plan);
    Press(panel, CFGMAPJorb_STReadAll);
    EXPECT_EQ(CFG_REG[0], 0x155u);
    for (int r = 1; r <= 24; ++r) EXPECT_EQ(CFG_REG[r], 0x155u) << r;
    for (int r = 25; r <= 63; ++r) EXPECT_EQ(CFG_REG[r], static_cast<uint32_t>((r * 7 + 3) & 0x1FF)) << r;
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Read failed");
    EXPECT_EQ(prompter.shown[0].text.rfind("39 register(s) could not be read from the board.", 0), 0u);

    // Register 0 failing inside the read-all is counted into the same single report.
    prompter.shown.clear();
    plan = {};
    plan.dropReplies = 2;
    board->SetFaults(plan);
    Press(panel, CFGMAPJorb_STReadAll);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text.rfind("64 register(s)", 0), 0u);

    prompter.shown.clear();
    board->ClearReceivedReports();
    StopListener();
    USBcomStop();
    const std::vector<uint32_t> copy(CFG_REG, CFG_REG + 64);
    Press(panel, CFGMAPJorb_STReadAll);
    EXPECT_TRUE(board->ReceivedReports().empty());
    EXPECT_EQ(std::vector<uint32_t>(CFG_REG, CFG_REG + 64), copy);
    EXPECT_EQ(Titles(), std::vector<std::string>{"Read failed"});
    EXPECT_EQ(prompter.shown[0].text,
              "The evaluation board is not attached: no register was read.\nThe register map keeps its values.");
    prompter.shown.clear();
    rt::SetCtrlVal(panel, CFGMAPJorb_NACSTRegAddr, 12);
    Press(panel, CFGMAPJorb_BACSTRegRead);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text.rfind("The evaluation board is not attached: register 0x0C was not read.", 0), 0u);
}

// Zutb also reads R0 and, with the progress bar "64..113" over 50 steps, R64 to R113 one by
// one; a register that does not answer keeps its value.
TEST_F(RegMapIoTest, ZutbReadAllReadsTheUpperRegisters) {
    Choose(MENUBAR_DEVICE_StereoZutb);
    const int zutb = PHandleSTRegMapZutb;
    for (int r = 0; r <= 113; ++r) board->SetCodecRegister(r, static_cast<uint16_t>((r * 11 + 1) & 0x1FF));
    CFG_REG[100] = 0x0AA;
    // Register 0, register 0 again (the block read), the three blocks, R64 to R99 answer.
    boardhid::FaultPlan plan;
    plan.faultAfterReplies = 2 + 3 + 36;
    plan.dropReplies = 1;
    board->SetFaults(plan);
    Press(zutb, ui::cfgMapZutb_Pan::CFGMAPZutb_STReadAll);
    for (int r = 0; r <= 113; ++r) {
        if (r == 100) continue;
        EXPECT_EQ(CFG_REG[r], static_cast<uint32_t>((r * 11 + 1) & 0x1FF)) << r;
    }
    EXPECT_EQ(CFG_REG[100], 0x0AAu);
    EXPECT_EQ(ProgressTotalSteps(), 50);
    EXPECT_EQ(CodecReads(), 2 + 50);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text.rfind("1 register(s)", 0), 0u);
}

// The bridge registers: read (0x30, two address bytes, one byte back) into the value box, write
// (0x31, address and value). A read without reply keeps the box and says so.
TEST_F(RegMapIoTest, BridgeRegistersReadAndWrite) {
    board->SetBridgeRegister(0x1450, 0x5A);
    rt::SetCtrlVal(panel, CFGMAPJorb_NVuntRegAddr, 0x1450);
    Press(panel, CFGMAPJorb_BACSTReg08Read);
    EXPECT_EQ(CtrlInt(panel, CFGMAPJorb_NVuntRegVal), 0x5A);
    auto reads = ReceivedWithCommand(CMD_BRIDGE_READ);
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(std::vector<uint8_t>(reads[0].begin(), reads[0].begin() + 5),
              (std::vector<uint8_t>{0x30, 0x00, 0x02, 0x14, 0x50}));

    rt::SetCtrlVal(panel, CFGMAPJorb_NVuntRegAddr, 0x1474);
    rt::SetCtrlVal(panel, CFGMAPJorb_NVuntRegVal, 0x40);
    Press(panel, CFGMAPJorb_BACSTReg08Write);
    EXPECT_EQ(board->BridgeRegister(0x1474), 0x40);
    auto writes = ReceivedWithCommand(CMD_BRIDGE_WRITE);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(std::vector<uint8_t>(writes[0].begin(), writes[0].begin() + 6),
              (std::vector<uint8_t>{0x31, 0x00, 0x03, 0x14, 0x74, 0x40}));
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());

    // Refused, the value box goes back to what the board took; a register never read or written
    // keeps the value typed.
    board->SetFaults(boardhid::RefuseOneSend());
    rt::SetCtrlVal(panel, CFGMAPJorb_NVuntRegVal, 0x41);
    Press(panel, CFGMAPJorb_BACSTReg08Write);
    EXPECT_EQ(board->BridgeRegister(0x1474), 0x40);
    EXPECT_EQ(CtrlInt(panel, CFGMAPJorb_NVuntRegVal), 0x40);
    EXPECT_EQ(Popups(), std::vector<std::string>{
                            "Warning|The evaluation board refused the write of bridge register 0x1474, so it did not "
                            "take effect.\n\n\"Bridge Register Value\" shows what the board holds."});
    prompter.shown.clear();
    board->SetFaults(boardhid::RefuseOneSend());
    rt::SetCtrlVal(panel, CFGMAPJorb_NVuntRegAddr, 0x1475);
    Press(panel, CFGMAPJorb_BACSTReg08Write);
    EXPECT_EQ(CtrlInt(panel, CFGMAPJorb_NVuntRegVal), 0x40);
    EXPECT_EQ(Popups(), std::vector<std::string>{
                            "Warning|The evaluation board refused the write of bridge register 0x1475, so it did not "
                            "take effect.\n\nThe panel may differ from the board."});
    prompter.shown.clear();
    rt::SetCtrlVal(panel, CFGMAPJorb_NVuntRegAddr, 0x1474);

    boardhid::FaultPlan plan;
    plan.dropReplies = 1;
    board->SetFaults(plan);
    Press(panel, CFGMAPJorb_BACSTReg08Read);
    EXPECT_EQ(CtrlInt(panel, CFGMAPJorb_NVuntRegVal), 0x40);
    EXPECT_EQ(Titles(), std::vector<std::string>{"Read failed"});

    // The Pykb panel has its own pair, served with its own boxes.
    Choose(MENUBAR_DEVICE_MonoPykb);
    const int pykb = PHandleMNPykbRegMap;
    rt::SetCtrlVal(pykb, ui::MNPykbRegMap_pan::MNPykbREGMAP_NVuntRegAddr, 0x1451);
    rt::SetCtrlVal(pykb, ui::MNPykbRegMap_pan::MNPykbREGMAP_NVuntRegVal, 0x1B);
    Press(pykb, ui::MNPykbRegMap_pan::MNPykbREGMAP_BACSTReg08Write);
    EXPECT_EQ(board->BridgeRegister(0x1451), 0x1B);
}

// The display ring shows the value box in decimal or hexadecimal; a right click on a register
// map leads to the model's path panel and is remembered for the way back.
TEST_F(RegMapIoTest, DisplayRingAndRightClick) {
    int format = -1;
    rt::SetCtrlVal(panel, CFGMAPJorb_RINGdt, 1);
    Press(panel, CFGMAPJorb_RINGdt);
    rt::GetCtrlAttribute(panel, CFGMAPJorb_NACSTRegVal, rt::ATTR_FORMAT, &format);
    EXPECT_EQ(format, rt::VAL_HEX_FORMAT);
    rt::SetCtrlVal(panel, CFGMAPJorb_RINGdt, 0);
    Press(panel, CFGMAPJorb_RINGdt);
    rt::GetCtrlAttribute(panel, CFGMAPJorb_NACSTRegVal, rt::ATTR_FORMAT, &format);
    EXPECT_EQ(format, rt::VAL_DECIMAL_FORMAT);

    rt::CallPanelCallback(panel, rt::EVENT_RIGHT_CLICK, 0, 0);
    EXPECT_EQ(ActiveTab(), PHandleSTPath);
    EXPECT_EQ(PHandleLastPanel, panel);

    Choose(MENUBAR_DEVICE_MonoPykb);
    ShowTab(PHandleMNPykbRegMap);
    ASSERT_GT(PHandleMNPykbPath, 0);
    rt::CallPanelCallback(PHandleMNPykbRegMap, rt::EVENT_RIGHT_CLICK, 0, 0);
    EXPECT_EQ(ActiveTab(), PHandleMNPykbPath);
    EXPECT_EQ(PHandleLastPanel, PHandleMNPykbRegMap);
}

// The device link's block read takes register 0 through the Jorb map's read, with or without
// the panels.
TEST_F(RegMapIoTest, RegisterZeroForTheBlockRead) {
    board->SetCodecRegister(0, 0x0F0);
    rt::SetCtrlVal(panel, CFGMAPJorb_NACSTRegAddr, 33);
    ReadRegisterZeroThroughRegMap();
    EXPECT_EQ(CFG_REG[0], 0x0F0u);
    EXPECT_EQ(CtrlInt(panel, CFGMAPJorb_NACSTRegAddr), 0);
    EXPECT_EQ(CtrlInt(panel, CFGMAPJorb_NACSTRegVal), 0x0F0);
}

}  // namespace
