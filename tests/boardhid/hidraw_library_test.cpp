// libboardhid.so with its hidraw backend, loaded by name, on a machine without the board.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "board_library.h"
#include "boardhid/emulator_control.h"

namespace {

class HidrawLibraryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        tracePath_ = "/tmp/boardhid-hidraw-trace-" + std::to_string(getpid()) + ".log";
        std::remove(tracePath_.c_str());
        setenv("BOARDHID_BACKEND", "hidraw", 1);  // read when the library is loaded
        setenv("BOARDHID_TRACE", tracePath_.c_str(), 1);
        loadError_ = lib_.Load();
    }
    static void TearDownTestSuite() { std::remove(tracePath_.c_str()); }

    void SetUp() override {
        ASSERT_EQ(loadError_, "");
        if (lib_.IsDevicePlugged() != 0) GTEST_SKIP() << "a board is attached to this machine";
    }

    static inline boardhid_test::BoardLibrary lib_;
    static inline std::string loadError_;
    static inline std::string tracePath_;
};

TEST_F(HidrawLibraryTest, MissingBoardIsNotPluggedAndDoesNotOpen) {
    EXPECT_EQ(boardhid::FindEmulatedBoard(), nullptr);
    EXPECT_EQ(lib_.StartDevDetection(0), 1);
    EXPECT_EQ(lib_.OpenDevice(2, 1, 0), 0);
    EXPECT_EQ(lib_.GetDataLength(), 0);
    unsigned char buffer[64];
    EXPECT_EQ(lib_.GetData(buffer), 0);
    EXPECT_EQ(lib_.CloseDevice(), 1);
}

TEST_F(HidrawLibraryTest, SendWithoutBoardFailsAndIsTraced) {
    const unsigned char report[] = {0xD4, 0x00, 0x02, 0x17, 0xFF};
    EXPECT_EQ(lib_.SendData(sizeof report, report), 0);

    std::ifstream file(tracePath_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    ASSERT_GE(lines.size(), 2u);
    const std::string out = lines[lines.size() - 2], failed = lines.back();
    EXPECT_EQ(out.substr(out.find(' ') + 1), "OUT D4 00 02 17 FF");
    EXPECT_EQ(failed.substr(failed.find(' ') + 1), "ERR send failed");
}

}  // namespace
