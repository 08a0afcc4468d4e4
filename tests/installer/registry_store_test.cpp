// The registry store: where its roots live, its file format, and writers that run at once.
#include <algorithm>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "oslayer/profile.h"
#include "oslayer/registry_store.h"
#include "tests/installer/store_fixture.h"

namespace fs = std::filesystem;
using os::registry::Root;
using os::registry::Store;

namespace {

// "<prefix><n>", built by appending (GCC 12 warns falsely on literal + std::to_string).
std::string Numbered(const char* prefix, int n) {
    std::string s = prefix;
    s += std::to_string(n);
    return s;
}

// Sets or clears an environment variable for one test and restores it afterwards.
class ScopedEnv {
 public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = getenv(name)) old_ = old, had_ = true;
        if (value != nullptr) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedEnv() {
        if (had_) setenv(name_, old_.c_str(), 1);
        else unsetenv(name_);
    }

 private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

using RegistryStoreTest = StoreFixture;

TEST_F(RegistryStoreTest, RootsFollowTheEnvironmentAndXdg) {
    EXPECT_EQ(os::registry::StorePath(Root::Machine), machine_.string());
    EXPECT_EQ(os::registry::StorePath(Root::User), user_.string());

    ScopedEnv noMachine("CODECBENCH_REGISTRY_MACHINE", nullptr), noUser("CODECBENCH_REGISTRY_USER", nullptr);
    const std::string config = (dir_ / "config").string();
    {
        ScopedEnv home("XDG_CONFIG_HOME", config.c_str());
        EXPECT_EQ(os::registry::StorePath(Root::User), config + "/codecbench/registry/user.reg");
    }
    {
        ScopedEnv home("XDG_CONFIG_HOME", nullptr), h("HOME", dir_.c_str());
        EXPECT_EQ(os::registry::StorePath(Root::User), dir_.string() + "/.config/codecbench/registry/user.reg");
    }
    // The first configuration folder that holds the machine file, else the first one.
    const std::string a = (dir_ / "a").string(), b = (dir_ / "b").string();
    ScopedEnv dirs("XDG_CONFIG_DIRS", ("relative:" + a + ":" + b).c_str());
    EXPECT_EQ(os::registry::StorePath(Root::Machine), a + "/codecbench/registry/machine.reg");
    fs::create_directories(b + "/codecbench/registry");
    testsupport::WriteFile(b + "/codecbench/registry/machine.reg", "");
    EXPECT_EQ(os::registry::StorePath(Root::Machine), b + "/codecbench/registry/machine.reg");
    ScopedEnv noDirs("XDG_CONFIG_DIRS", nullptr);
    EXPECT_EQ(os::registry::StorePath(Root::Machine), "/etc/xdg/codecbench/registry/machine.reg");
}

TEST_F(RegistryStoreTest, ReadsTheDocumentedFormat) {
    WriteMachine(
        "\xEF\xBB\xBF; installed products\r\n"
        "# another comment\r\n"
        "[Software\\Vendor\\Product A]\r\n"
        "\"UninstallString\" = \"C:\\\\x\\\\UNWISE.EXE \\\"q\\\"\\n  \"\r\n"
        "\"\"=\"unnamed\"\r\n"
        "\r\n"
        "[\\software\\\\vendor\\PRODUCT A\\]\r\n"
        "\"second\"=\"2\"\r\n"
        "[Software\\Vendor\\Deep\\Below]\n");
    EXPECT_EQ(ValueIn(Root::Machine, "software\\vendor\\product a", "uninstallstring"), "C:\\x\\UNWISE.EXE \"q\"\n  ");
    EXPECT_EQ(ValueIn(Root::Machine, "Software\\Vendor\\Product A", ""), "unnamed");
    EXPECT_EQ(ValueIn(Root::Machine, "Software\\Vendor\\Product A", "Second"), "2");  // merged key
    Store store;
    std::string error;
    ASSERT_TRUE(os::registry::ReadRoot(Root::Machine, &store, &error)) << error;
    EXPECT_TRUE(store.KeyExists("Software\\Vendor\\Deep"));  // implied by the key below it
    EXPECT_FALSE(store.KeyExists("Software\\Vendor\\Dee"));
    EXPECT_EQ(store.SubKeys("SOFTWARE\\Vendor"), (std::vector<std::string>{"Product A", "Deep"}));
    EXPECT_EQ(store.SubKeys(""), (std::vector<std::string>{"Software"}));

    // Written back and read again, nothing changes.
    Store again;
    ASSERT_TRUE(again.Parse(store.ToText(), &error)) << error;
    EXPECT_EQ(again.ToText(), store.ToText());
}

TEST_F(RegistryStoreTest, DamagedFileIsNeitherUsedNorRewritten) {
    const std::string text = "[Software\\A]\n\"ok\"=\"1\"\n\"bad\"=\"unterminated\n";
    WriteMachine(text);
    Store store;
    std::string error;
    EXPECT_FALSE(os::registry::ReadRoot(Root::Machine, &store, &error));
    EXPECT_EQ(error, machine_.string() + ": line 3: expected a quoted value after \"=\"");

    const bool written = os::registry::UpdateRoot(
        Root::Machine, [](Store& s, std::string* why) { return s.CreateKey("Software\\B", why); }, &error);
    EXPECT_FALSE(written);
    EXPECT_EQ(testsupport::ReadFile(machine_), text);

    for (const char* bad : {"\"v\"=\"1\"\n", "[Open\n", "[K]\nname=\"v\"\n", "[K]\n\"v\" \"w\"\n", "[K]\n\"v\"=\"\\q\"\n"}) {
        EXPECT_FALSE(store.Parse(bad, &error)) << bad;
    }
}

TEST_F(RegistryStoreTest, KeysAndValuesCannotHoldLineBreaks) {
    Store store;
    std::string error;
    EXPECT_FALSE(store.CreateKey("Software\\Bad\nKey", &error));
    EXPECT_FALSE(store.KeyExists("Software"));
    ASSERT_TRUE(store.CreateKey("Software", &error));
    EXPECT_FALSE(store.SetValue("Software", "a\rb", "v", &error));
    EXPECT_TRUE(store.SetValue("Software", "a", "line\r\nbreaks", &error));
    Store again;
    ASSERT_TRUE(again.Parse(store.ToText(), &error)) << error;
    std::string value;
    ASSERT_TRUE(again.GetValue("Software", "a", &value));
    EXPECT_EQ(value, "line\r\nbreaks");
}

TEST_F(RegistryStoreTest, WritersRunningAtOnceAllLand) {
    constexpr int kWriters = 4, kEach = 15;
    std::vector<std::thread> writers;
    std::vector<std::string> errors(kWriters);
    for (int w = 0; w < kWriters; ++w) {
        writers.emplace_back([w, &errors] {
            for (int i = 0; i < kEach; ++i) {
                const std::string key = Numbered("Software\\W", w);
                const std::string name = Numbered("v", i);
                const bool ok = os::registry::UpdateRoot(
                    Root::User,
                    [&](Store& s, std::string* why) {
                        return s.CreateKey(key, why) && s.SetValue(key, name, std::to_string(w * 100 + i), why);
                    },
                    &errors[static_cast<size_t>(w)]);
                if (!ok) return;
            }
        });
    }
    for (std::thread& t : writers) t.join();
    for (const std::string& e : errors) EXPECT_EQ(e, "");

    for (int w = 0; w < kWriters; ++w)
        for (int i = 0; i < kEach; ++i)
            EXPECT_EQ(ValueIn(Root::User, Numbered("Software\\W", w), Numbered("v", i)), std::to_string(w * 100 + i));
    // Only the store and its lock file remain: no temporary file left behind.
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(user_.parent_path())) left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"user.reg", "user.reg.lock"}));
}

TEST_F(RegistryStoreTest, ProfileReaderUsesTheIniLayer) {
    const fs::path cfg = dir_ / "Vorp.cfg";
    testsupport::WriteFile(cfg, "[General]\r\nSDSVersion = wrong\r\n[idesystem]\r\n  sdsversion =  FE.DC.BA9.87  \r\n");
    EXPECT_EQ(os::GetPrivateProfileString(cfg.string(), "IDESystem", "SDSVersion", "None"), "FE.DC.BA9.87");
    EXPECT_EQ(os::GetPrivateProfileString(cfg.string(), "IDESystem", "Other", "None"), "None");
    EXPECT_EQ(os::GetPrivateProfileString((dir_ / "missing.cfg").string(), "IDESystem", "SDSVersion", "None"), "None");
}

}  // namespace
