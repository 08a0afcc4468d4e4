// Main of every test executable: the tests run on Qt's offscreen platform against the emulated
// board unless the environment says otherwise, whether started by CTest or by hand.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("BOARDHID_BACKEND", "emulator", 0);
    // The emulated board as the tests expect it, whatever the shell they are started from sets.
    for (const char* v : {"BOARDHID_EMULATOR_CHIP", "BOARDHID_EMULATOR_FAULT", "BOARDHID_EMULATOR_FAULT_AFTER",
                          "BOARDHID_EMULATOR_FAULT_COUNT"})
        unsetenv(v);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
