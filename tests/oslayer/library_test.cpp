// Loading libraries and binding symbols by name.
#include <gtest/gtest.h>

#include <unistd.h>

#include "oslayer/os.h"

namespace {

TEST(Libraries, ExecutableDirIsThisTestsFolder) {
    const std::string dir = os::ExecutableDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.front(), '/');
    EXPECT_NE(dir.back(), '/');
    EXPECT_EQ(access((dir + "/oslayer_tests").c_str(), X_OK), 0) << dir;
}

TEST(Libraries, LoadByFullPathAndBindASymbol) {
    os::LibraryHandle lib = os::LoadLibrary(CBOS_TEST_MODULE_PATH);
    ASSERT_NE(lib, nullptr);
    EXPECT_NE(os::GetProcAddress(lib, "cbos_test_set_named_event"), nullptr);
    os::FreeLibrary(lib);
}

TEST(Libraries, BareNameFallsBackToTheSystemSearchPath) {
    // Not beside the executable: found through the system's search path.
    os::LibraryHandle lib = os::LoadLibrary("libm.so.6");
    ASSERT_NE(lib, nullptr);
    EXPECT_NE(os::GetProcAddress(lib, "cos"), nullptr);
    os::FreeLibrary(lib);
}

TEST(Libraries, MissingFileGivesNull) {
    EXPECT_EQ(os::LoadLibrary("libno-such-library-cbos.so"), nullptr);
    EXPECT_EQ(os::LoadLibrary("/nonexistent/folder/libnothing.so"), nullptr);
    EXPECT_EQ(os::LoadLibrary(""), nullptr);
    EXPECT_EQ(os::LoadLibrary(nullptr), nullptr);
}

TEST(Libraries, NotALibraryGivesNull) {
    // The test program itself is an executable, not a loadable library... but a text file
    // certainly is not one.
    char path[] = "/tmp/cbos_not_a_libraryXXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "hello", 5), 5);
    close(fd);
    EXPECT_EQ(os::LoadLibrary(path), nullptr);
    unlink(path);
}

TEST(Libraries, MissingSymbolGivesNull) {
    os::LibraryHandle lib = os::LoadLibrary(CBOS_TEST_MODULE_PATH);
    ASSERT_NE(lib, nullptr);
    EXPECT_EQ(os::GetProcAddress(lib, "no_such_symbol_here"), nullptr);
    EXPECT_EQ(os::GetProcAddress(lib, nullptr), nullptr);
    EXPECT_EQ(os::GetProcAddress(nullptr, "cbos_test_set_named_event"), nullptr);
    os::FreeLibrary(lib);
    os::FreeLibrary(nullptr);  // harmless
}

}  // namespace
