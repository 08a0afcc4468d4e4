// The power-management controls, the refresh from the register copy and the device buttons.
#include "panels/MNDevCtrl_pan.h"
#include "panels/cfgDevJora_pan.h"
#include "panels/cfgDevJorb_pan.h"
#include "panels/cfgDevQeva_pan.h"
#include "panels/cfgDevZutb_pan.h"
#include "tests/device/device_test_support.h"

namespace {

using namespace modeltest;
using devicetest::Report;
namespace jorb = ui::cfgDevJorb_pan;
namespace jora = ui::cfgDevJora_pan;
namespace qeva = ui::cfgDevQeva_pan;
namespace zutb = ui::cfgDevZutb_pan;
namespace pykc = ui::MNDevCtrl_pan;

class PowerControlsTest : public devicetest::DeviceFixture {};

// Any box of R3 sends R3 rebuilt from all nine controls, whatever the copy held before.
TEST_F(PowerControlsTest, APowerBoxRebuildsItsWholeRegister) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    const int p = PHandleSTDevCtrl;
    CFG_REG[3] = 0x1FF;
    for (int id : {jorb::CFGDEVJorb_AUXOUT1EN, jorb::CFGDEVJorb_AUXOUT2EN, jorb::CFGDEVJorb_LSPKEN,
                   jorb::CFGDEVJorb_RSPKEN, jorb::CFGDEVJorb_BIASGEN, jorb::CFGDEVJorb_RMIXEN,
                   jorb::CFGDEVJorb_LMIXEN, jorb::CFGDEVJorb_RDACEN, jorb::CFGDEVJorb_LDACEN})
        rt::SetCtrlVal(p, id, 0);
    rt::SetCtrlVal(p, jorb::CFGDEVJorb_LDACEN, 1);
    Commit(p, jorb::CFGDEVJorb_AUXOUT1EN, 1);
    EXPECT_EQ(CFG_REG[3], 0x101u);
    EXPECT_EQ(RegisterWrites(), (std::vector<std::pair<int, int>>{{3, 0x101}}));
    EXPECT_EQ(FlagCFGUpdate, 1);

    // R58: boxes and the two rings in their fields.
    Forget();
    rt::SetCtrlVal(p, jorb::CFGDEVJorb_REGVOLT, 2);
    rt::SetCtrlVal(p, jorb::CFGDEVJorb_IBADJ, 3);
    Commit(p, jorb::CFGDEVJorb_LPDAC, 1);
    EXPECT_EQ(CFG_REG[58], 0x100u | (2u << 2) | 3u);
    EXPECT_EQ(board->CodecRegister(58), CFG_REG[58]);
}

TEST_F(PowerControlsTest, QevaR2KeepsOnlyTheHeadphoneAndSleepBits) {
    Choose(MENUBAR_DEVICE_StereoQeva);
    CFG_REG[2] = 0x03F;
    Commit(PHdlDevQeva, qeva::CFGDEVQeva_SLEEP, 1);
    EXPECT_EQ(CFG_REG[2], 0x040u);
    EXPECT_EQ(RegisterWrites(), (std::vector<std::pair<int, int>>{{2, 0x040}}));
}

TEST_F(PowerControlsTest, MonoR1WritesBit7AsZero) {
    Choose(MENUBAR_DEVICE_Mono);
    CFG_REG[1] = 0x080;
    Commit(PHandleMNDevCtrl, pykc::MNDEVCTRL_REFIMP, 3);
    EXPECT_EQ(CFG_REG[1] & 0x083u, 0x003u);
}

// The refresh sets every control from the copy and sends nothing.
TEST_F(PowerControlsTest, RefreshShowsTheRegisterCopy) {
    Choose(MENUBAR_DEVICE_StereoJora);
    CFG_REG[1] = 0x122;   // DCBUFEN, PLLEN, REFIMP 2
    CFG_REG[58] = 0x00C;  // REGVOLT 3
    CFG_REG[2] = 0x001;
    UpdateDevCtrlPanel_Jora();
    const int p = PHdlDevJora;
    EXPECT_EQ(CtrlInt(p, jora::CFGDEVJora_DCBUFEN), 1);
    EXPECT_EQ(CtrlInt(p, jora::CFGDEVJora_PLLEN), 1);
    EXPECT_EQ(CtrlInt(p, jora::CFGDEVJora_ABIASEN), 0);
    EXPECT_EQ(CtrlInt(p, jora::CFGDEVJora_REFIMP), 2);
    EXPECT_EQ(CtrlInt(p, jora::CFGDEVJora_REGVOLT), 3);
    EXPECT_EQ(CtrlInt(p, jora::CFGDEVJora_IBADJ), 0);
    EXPECT_EQ(CtrlInt(p, jora::CFGDEVJora_LADCEN), 1);
    EXPECT_TRUE(Received().empty());
}

// Zutb: each control changes its own field; the impedance ring shows what R33[3] and R10[3:2]
// select.
TEST_F(PowerControlsTest, ZutbFieldsAndTheReferenceImpedance) {
    Choose(MENUBAR_DEVICE_StereoZutb);
    const int p = PHandleSTDevCtrlZutb;
    CFG_REG[10] = 0x1F3;
    CFG_REG[33] = 0x008;
    Commit(p, zutb::CFGDEVZutb_REFIMP, 0);
    EXPECT_EQ(CFG_REG[33], 0x000u);
    EXPECT_EQ(CFG_REG[10], 0x1F3u);
    EXPECT_EQ(RegisterWrites(), (std::vector<std::pair<int, int>>{{33, 0x000}}));

    Forget();
    Commit(p, zutb::CFGDEVZutb_REFIMP, 2);
    EXPECT_EQ(CFG_REG[10], 0x1F7u);
    EXPECT_EQ(CFG_REG[33], 0x008u);
    EXPECT_EQ(RegisterWrites(), (std::vector<std::pair<int, int>>{{10, 0x1F7}, {33, 0x008}}));

    // The impedance and its enable are one action: the board refuses R10, so R33 is not sent,
    // both keep what the chip holds, and one popup tells it.
    CFG_REG[33] = 0x000;
    Commit(p, zutb::CFGDEVZutb_REFIMP, 0);
    Forget();
    board->SetFaults(boardhid::RefuseOneSend());
    Commit(p, zutb::CFGDEVZutb_REFIMP, 3);
    EXPECT_TRUE(RegisterWrites().empty());
    EXPECT_EQ(CFG_REG[10], 0x1F7u);
    EXPECT_EQ(CFG_REG[33], 0x000u);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Warning -- Operation aborted");
    EXPECT_EQ(prompter.shown[0].text,
              "\"REFIMP\" stopped: the board refused the write of R10, and nothing after it was sent.\n\n"
              "The chip may now differ from the panels. Reading the registers back (\"Read All and Update\" on "
              "the register map) reconciles them.");
    UpdateDevCtrlPanelZutb();
    EXPECT_EQ(CtrlInt(p, zutb::CFGDEVZutb_REFIMP), 0);

    CFG_REG[33] = 0x008;
    CFG_REG[10] = 0x008;  // R10[3:2] = 2: "2.5 K Ohm "
    UpdateDevCtrlPanelZutb();
    EXPECT_EQ(CtrlInt(p, zutb::CFGDEVZutb_REFIMP), 3);
    CFG_REG[33] = 0;
    UpdateDevCtrlPanelZutb();
    EXPECT_EQ(CtrlInt(p, zutb::CFGDEVZutb_REFIMP), 0);

    Forget();
    CFG_REG[6] = 0;
    Commit(p, zutb::CFGDEVZutb_MICBIASEN, 1);
    Commit(p, zutb::CFGDEVZutb_LPGAEN, 1);
    Commit(p, zutb::CFGDEVZutb_IBADJ, 1);
    Commit(p, zutb::CFGDEVZutb_SLEEP, 1);  // no field on this chip
    EXPECT_EQ(RegisterWrites(), (std::vector<std::pair<int, int>>{{6, 0x101}, {6, 0x121}, {90, int(CFG_REG[90])}}));
    EXPECT_EQ(CFG_REG[90] & 0x80u, 0x80u);
}

TEST_F(PowerControlsTest, LoadDefaultUpdateBits) {
    Choose(MENUBAR_DEVICE_StereoQeva);
    CloseLink();
    DeviceAttached = 0;
    CFG_REG[11] = 0;
    CFG_REG[15] = 0;
    Press(PHdlDevQeva, qeva::CFGDEVQeva_BLoadUpdateBits);
    EXPECT_EQ(CFG_REG[11], 0x100u);
    EXPECT_EQ(CFG_REG[15], 0u);  // not in Qeva's table
    EXPECT_TRUE(Received().empty());

    // Zutb writes its rows one by one, and only with a board.
    Choose(MENUBAR_DEVICE_StereoZutb);
    DeviceAttached = 1;
    for (int r : {0, 1, 47, 48, 59, 60, 61, 62}) CFG_REG[r] = 0;
    Press(PHandleSTDevCtrlZutb, zutb::CFGDEVZutb_BLoadUpdateBits);
    EXPECT_EQ(CFG_REG[47], 0x100u);
    EXPECT_EQ(CFG_REG[62], 0x100u);
}

TEST_F(PowerControlsTest, ZutbUpdateBitsGoOutRowByRow) {
    Choose(MENUBAR_DEVICE_StereoZutb);
    for (int r : {0, 1, 47, 48, 59, 60, 61, 62}) CFG_REG[r] = 0;
    Press(PHandleSTDevCtrlZutb, zutb::CFGDEVZutb_BLoadUpdateBits);
    EXPECT_EQ(RegisterWrites(), (std::vector<std::pair<int, int>>{
                                    {0, 0x100}, {1, 0x100}, {47, 0x100}, {48, 0x100},
                                    {59, 0x100}, {60, 0x100}, {61, 0x100}, {62, 0x100}}));
}

TEST_F(PowerControlsTest, OutputButtons) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    const int p = PHandleSTDevCtrl;
    CFG_REG[2] = 0;
    CFG_REG[3] = 0;
    Press(p, jorb::CFGDEVJorb_BEnableAllOutputs);
    EXPECT_NE(CFG_REG[3] & 0x060u, 0u);  // speaker drivers on
    EXPECT_NE(CFG_REG[2] & 0x180u, 0u);  // headphone drivers on
    Press(p, jorb::CFGDEVJorb_BDisableAllOutputs);
    EXPECT_EQ(CFG_REG[2] & 0x180u, 0u);
    for (int r = 52; r <= 57; ++r) CFG_REG[r] &= ~0x40u;
    FlagCFGUpdate = 0;
    Forget();
    Press(p, jorb::CFGDEVJorb_BMuteAll);
    for (int r = 52; r <= 57; ++r) EXPECT_EQ(CFG_REG[r] & 0x40u, 0x40u) << r;
    EXPECT_EQ(FlagCFGUpdate, 1);
    EXPECT_GE(sleptMs, 100);
}

TEST_F(PowerControlsTest, InitializeBoardConfiguresForUsbI2SAndRoutesUsbToTheCodec) {
    Choose(MENUBAR_DEVICE_StereoJora);
    const int p = PHdlDevJora;
    rt::SetCtrlVal(p, jora::CFGDEVJora_CAPMASEn, 1);
    Press(p, jora::CFGDEVJora_BInitBoard);
    EXPECT_EQ(CtrlInt(p, jora::CFGDEVJora_CUSBI2SEn), 1);
    EXPECT_EQ(CtrlInt(p, jora::CFGDEVJora_CAPMASEn), 0);
    // I2C: the word twice around R7, USB I2S on (byte 1 bit 2 clear), then the routing.
    const auto r = Reports();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[2], (Report{0x34, 0x00, 0x02, 0x3F, 0x1B}));
    EXPECT_EQ(r[3], (Report{0x36, 0x00, 0x00}));
}

TEST_F(PowerControlsTest, SpeakerSupplyBoxesFormAPair) {
    const int p = PHandleMNDevCtrl;
    Commit(p, pykc::MNDEVCTRL_MN5VDDSPK, 1);
    EXPECT_EQ(CtrlInt(p, pykc::MNDEVCTRL_MN33VDDSPK), 0);
    Commit(p, pykc::MNDEVCTRL_MN33VDDSPK, 1);
    EXPECT_EQ(CtrlInt(p, pykc::MNDEVCTRL_MN5VDDSPK), 0);
    Commit(p, pykc::MNDEVCTRL_MN33VDDSPK, 0);
    EXPECT_EQ(CtrlInt(p, pykc::MNDEVCTRL_MN5VDDSPK), 1);
    EXPECT_TRUE(Received().empty());
}

}  // namespace
