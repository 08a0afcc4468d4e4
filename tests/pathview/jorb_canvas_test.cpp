// Real mouse clicks on the Jorb path canvas: the tabs they open, the register bits they toggle
// and write to the chip, and the drawing that follows at the next refresh.
#include "tests/pathview/path_test_support.h"

using namespace pathtest;

namespace {

class JorbCanvas : public JorbPathFixture {
protected:
    void SetUp() override {
        JorbPathFixture::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_EQ(FlagCFGUpdate, 0);
    }
};

TEST_F(JorbCanvas, TabRectanglesOpenTheirBlockAndTheClickGoesOn) {
    ClickOnPath(420, 200);
    EXPECT_EQ(ActivePanel(), PHandleSTDAC);
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(FlagCFGUpdate, 0);  // nothing of the diagram lies there

    ClickOnPath(398, 200);  // between the DAC and ADC filter rectangles
    EXPECT_EQ(ActivePanel(), PHandleSTPath);

    ClickOnPath(238, 190);
    EXPECT_EQ(ActivePanel(), PHandleSTALC);

    CFG_REG[2] = 0x000;
    ClickOnPath(343, 106);  // on segment 38, inside the ADC filter rectangle
    EXPECT_EQ(ActivePanel(), PHandleSTADCFilter);
    EXPECT_EQ(CFG_REG[2], 0x001u);
    EXPECT_EQ(Writes(), (std::vector<std::pair<int, int>>{{2, 0x001}}));
    EXPECT_EQ(FlagCFGUpdate, 1);
    Refresh();
    EXPECT_EQ(Pixel(320, 106), kMagenta);
    EXPECT_FALSE(Shown(CFGPATHJorb_STADCENLDisenIcon));
}

TEST_F(JorbCanvas, SwitchesToggleTheirBitAndRedrawTheirBlade) {
    CFG_REG[49] = 0x000;
    ClickOnPath(594, 122);  // switch 9
    EXPECT_EQ(CFG_REG[49], 0x022u);
    Refresh();
    EXPECT_EQ(Pixel(602, 120), kMagenta);  // closed
    EXPECT_EQ(Pixel(601, 117), kWhite);
    ClickOnPath(594, 122);
    EXPECT_EQ(CFG_REG[49], 0x002u);  // bit 1 stays
    Refresh();
    EXPECT_EQ(Pixel(601, 117), kGrey);  // open
    EXPECT_EQ(Pixel(602, 120), kWhite);
    EXPECT_EQ(Writes(), (std::vector<std::pair<int, int>>{{49, 0x022}, {49, 0x002}}));

    CFG_REG[44] = 0x000;
    ClickOnPath(76, 277);  // switch 4: RIN
    EXPECT_EQ(CFG_REG[44], 0x020u);
    ClickOnPath(704, 428);  // switch 22: beep
    EXPECT_EQ(CFG_REG[43] & 0x001, 0x001u);
    Refresh();
    EXPECT_TRUE(GroupOn(141));
    EXPECT_TRUE(GroupOn(169));

    // Switch 3 does nothing at all, not even a refresh request.
    ClickOnPath(76, 153);
    EXPECT_EQ(CFG_REG[44], 0x020u);
    EXPECT_EQ(FlagCFGUpdate, 0);
    EXPECT_EQ(Writes().size(), 4u);
}

TEST_F(JorbCanvas, WiresToggleGroupsOrRegisters) {
    ASSERT_TRUE(GroupOn(0));
    ClickOnPath(100, 22);  // segment 0: the AUXL input drawn dark, nothing written
    EXPECT_FALSE(GroupOn(0));
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(FlagCFGUpdate, 1);
    Refresh();
    EXPECT_EQ(Pixel(100, 22), kGrey);
    EXPECT_FALSE(GroupOn(0));  // no register brings it back

    CFG_REG[57] = 0x000;
    ClickOnPath(783, 130);  // segment 60: mutes AUX1
    EXPECT_EQ(CFG_REG[57], 0x040u);
    ClickOnPath(783, 130);
    EXPECT_EQ(CFG_REG[57], 0x000u);
    // Segment 64 is stored from its right end; it answers all the same.
    ClickOnPath(745, 176);
    EXPECT_EQ(CFG_REG[57], 0x040u);
    EXPECT_EQ(Writes(), (std::vector<std::pair<int, int>>{{57, 0x040}, {57, 0x000}, {57, 0x040}}));
    Refresh();
    EXPECT_FALSE(Shown(CFGPATHJorb_STOut4MuteDisenIcon));
    EXPECT_TRUE(Shown(CFGPATHJorb_STOut4MuteEnIcon));

    // The AUXR rail (group 204) through its reversed segment 132.
    ASSERT_TRUE(GroupOn(204));
    ClickOnPath(300, 520);
    EXPECT_FALSE(GroupOn(204));

    // A wire without a row only asks for a refresh (segment 29, the left bypass bus).
    FlagCFGUpdate = 0;
    ClickOnPath(280, 106);
    EXPECT_EQ(FlagCFGUpdate, 1);

    // Nothing under the pointer: nothing happens and no refresh is asked for.
    FlagCFGUpdate = 0;
    ClickOnPath(700, 470);
    EXPECT_EQ(FlagCFGUpdate, 0);
    EXPECT_EQ(Writes().size(), 3u);
}

TEST_F(JorbCanvas, DoubleThrowPicksTheSpeakerPathAndItsEmptySlotIsNoTarget) {
    CFG_REG[43] = 0x000;
    Refresh();
    EXPECT_EQ(Pixel(779, 402), kMagenta);  // throw 0
    ClickOnPath(790, 410);
    EXPECT_EQ(CFG_REG[43], 0x010u);
    EXPECT_EQ(Tables().DPSTSwitch[0].state, 1);
    EXPECT_EQ(Writes(), (std::vector<std::pair<int, int>>{{43, 0x010}}));
    Refresh();
    EXPECT_EQ(Pixel(779, 415), kMagenta);  // throw 1
    EXPECT_EQ(Pixel(779, 402), kWhite);

    // Slot 1 stands on dot 0 alone: a click there is the AUXL wire's, not the double-throw's.
    ClickOnPath(50, 22);
    EXPECT_EQ(CFG_REG[43], 0x010u);
    EXPECT_FALSE(GroupOn(0));
    EXPECT_EQ(Writes().size(), 1u);
}

TEST_F(JorbCanvas, RightClickReturnsToTheLastBlockTab) {
    PHandleLastPanel = PHandlePanel;
    ClickOnPath(420, 480, Qt::RightButton);
    EXPECT_EQ(ActivePanel(), PHandleSTPath);
    PHandleLastPanel = PHandleSTOUTPUT;
    ClickOnPath(420, 480, Qt::RightButton);
    EXPECT_EQ(ActivePanel(), PHandleSTOUTPUT);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(JorbCanvas, RefreshDrawsControlLinesAndSharedWires) {
    CFG_REG[32] = 0x100;
    Refresh();
    EXPECT_TRUE(AnyPixel(131, 140, 131, 160, kRed));   // 173
    EXPECT_TRUE(AnyPixel(150, 197, 200, 197, kRed));   // 175
    EXPECT_TRUE(AnyPixel(280, 197, 320, 197, kRed));   // 176
    EXPECT_FALSE(AnyPixel(131, 210, 131, 260, kRed));  // 174
    EXPECT_TRUE(AnyPixel(131, 210, 131, 260, kGrey));
    CFG_REG[32] = 0x000;
    Refresh();
    EXPECT_FALSE(AnyPixel(150, 197, 200, 197, kRed));

    // Segment 60 belongs to groups 93 (R3 bit 8) and 95 (R56 bit 3).
    CFG_REG[3] = 0x000;
    CFG_REG[56] = 0x000;
    Refresh();
    EXPECT_EQ(Pixel(783, 130), kGrey);
    CFG_REG[56] = 0x008;
    Refresh();
    EXPECT_EQ(Pixel(783, 130), kMagenta);
    EXPECT_EQ(Pixel(790, 150), kMagenta);  // 63, group 95 only
    EXPECT_EQ(Pixel(800, 130), kGrey);     // 61, group 93 only
    CFG_REG[56] = 0x000;
    CFG_REG[3] = 0x100;
    Refresh();
    EXPECT_EQ(Pixel(783, 130), kMagenta);
    EXPECT_EQ(Pixel(790, 150), kGrey);
}

}  // namespace
