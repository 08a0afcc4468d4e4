// A private registry store for each test: both roots in a fresh temporary folder, named by
// the environment variables the store reads.
#pragma once

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "oslayer/registry_store.h"
#include "tests/support/file_text.h"

class StoreFixture : public ::testing::Test {
 protected:
    void SetUp() override {
        std::string tmpl = (std::filesystem::temp_directory_path() / "check-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
        machine_ = dir_ / "etc" / "machine.reg";
        user_ = dir_ / "home" / "user.reg";
        setenv("CODECBENCH_REGISTRY_MACHINE", machine_.c_str(), 1);
        setenv("CODECBENCH_REGISTRY_USER", user_.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("CODECBENCH_REGISTRY_MACHINE");
        unsetenv("CODECBENCH_REGISTRY_USER");
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    // Writes the machine root's file.
    void WriteMachine(const std::string& text) {
        std::filesystem::create_directories(machine_.parent_path());
        testsupport::WriteFile(machine_, text);
    }
    std::string UserText() const { return testsupport::ReadFile(user_); }

    // A value as the root's file holds it now, or a note of why there is none.
    static std::string ValueIn(os::registry::Root root, const std::string& key, const std::string& name) {
        os::registry::Store store;
        std::string error, value;
        if (!os::registry::ReadRoot(root, &store, &error)) return "(unreadable: " + error + ")";
        return store.GetValue(key, name, &value) ? value : "(no value)";
    }

    std::filesystem::path dir_, machine_, user_;
};
