// The program on an emulated board described by the environment (a program of its own: the
// board library reads the environment when it is loaded): with BOARDHID_EMULATOR_CHIP=mono the
// real start-up and chip identification dim the stereo choices and leave the mono ones.
#include <cstdlib>

#include "tests/shell/shell_test_support.h"

namespace {

using namespace ui::AudioCodec_pan;

class BoardEnvironment : public ::testing::Environment {
public:
    void SetUp() override { setenv("BOARDHID_EMULATOR_CHIP", "mono", 1); }
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new BoardEnvironment);

class MonoBoardTest : public shelltest::ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        if (HasFatalFailure()) return;
        board->Reset();  // the board as the environment describes it
    }
};

TEST_F(MonoBoardTest, StartUpOnAMonoChipDimsTheStereoChoices) {
    StartShell(true);
    EXPECT_EQ(board->CodecRegister(62), 0xFE);
    Tick(PANEL_DevIDTimer);
    for (int item : {MENUBAR_DEVICE_StereoJorb, MENUBAR_DEVICE_StereoJora, MENUBAR_DEVICE_StereoQeva})
        EXPECT_TRUE(MenuDimmed(item)) << item;
    for (int item : {MENUBAR_DEVICE_MonoPyka, MENUBAR_DEVICE_Mono, MENUBAR_DEVICE_MonoPykd, MENUBAR_DEVICE_MonoPykb,
                     MENUBAR_DEVICE_StereoZuta, MENUBAR_DEVICE_StereoZutb})
        EXPECT_FALSE(MenuDimmed(item)) << item;
}

}  // namespace
