// Main of every test executable: the tests run on Qt's offscreen platform against the emulated
// board, whether started by CTest or by hand, whatever the developer's shell exports.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Every board variable of the shell goes (backend, trace file, the emulated chip and its
    // faults): the tests choose their board themselves, and a trace file of the shell must not
    // receive their traffic. Suites that want a variable set it before loading the library.
    std::vector<std::string> boardVariables;
    for (char** entry = environ; *entry != nullptr; ++entry)
        if (std::strncmp(*entry, "BOARDHID_", 9) == 0) {
            const std::string text = *entry;
            boardVariables.push_back(text.substr(0, text.find('=')));
        }
    for (const std::string& name : boardVariables) unsetenv(name.c_str());
    setenv("BOARDHID_BACKEND", "emulator", 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
