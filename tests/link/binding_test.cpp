// Binding the board library: a missing or partial library means "no board". Kept in its own
// executable so the real board library is never loaded in the same process first.
#include <gmock/gmock.h>
#include "link_test_support.h"

using namespace linktest;

// A library that lacks some of the nine operations counts as no board: nothing is called.
TEST(LinkBinding, PartialLibraryMeansNoBoard) {
    rt::InitCVIRTE();
    RecordingPrompter prompter;
    rt::SetPrompter(&prompter);
    ResetShellState();
    SetBoardLibraryName("libpartialboardhid.so");
    EXPECT_EQ(USBInit(), USB_ERR_LIBRARY);
    EXPECT_FALSE(HidModuleBound());
    EXPECT_EQ(bDeviceOpened, 0);
    CFG_REG[11] = 0x1FF;
    EXPECT_EQ(ZelqxWriteOneReg(11), 0);
    EXPECT_EQ(ReadZelqxOneReg(11), -1);
    EXPECT_EQ(HidIsDevicePlugged(), 0);
    EXPECT_EQ(HidOpenDevice(), 0);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
    rt::SetPrompter(nullptr);
    SetBoardLibraryName(nullptr);
}

TEST(LinkBinding, MissingLibraryMeansNoBoard) {
    rt::InitCVIRTE();
    ResetShellState();
    SetBoardLibraryName("libno-such-board-library.so");
    EXPECT_EQ(USBInit(), USB_ERR_LIBRARY);
    EXPECT_EQ(USBSend(0x35, 0, nullptr), 0);
    SetBoardLibraryName(nullptr);
}
