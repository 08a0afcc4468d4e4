// libcheck.so as an installer uses it: loaded by name with dlopen, its exports called against
// a private registry store and installation folders in a temporary directory.
#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "oslayer/registry_store.h"
#include "tests/installer/store_fixture.h"

namespace fs = std::filesystem;
using os::registry::Root;
using os::registry::Store;

namespace {

constexpr const char* kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

using SearchFn = int (*)(void*, int*, const char*, const char*, char*);
using LastFn = int (*)(void*, const char*, char*, char*);
using CreateFn = int (*)(void*, const char*);
using AddFn = int (*)(void*, const char*, const char*, const char*, const char*);

struct Library {
    void* handle = nullptr;
    std::string error;
    SearchFn search = nullptr;
    LastFn last = nullptr;
    CreateFn create = nullptr;
    AddFn add = nullptr;
};

// Loaded once, by name, as an installer does.
const Library& Check() {
    static const Library lib = [] {
        Library l;
        l.handle = dlopen(CHECK_LIBRARY_NAME, RTLD_NOW | RTLD_LOCAL);
        if (l.handle == nullptr) {
            l.error = dlerror();
            return l;
        }
        l.search = reinterpret_cast<SearchFn>(dlsym(l.handle, "SearchWiseInstalledApplication"));
        l.last = reinterpret_cast<LastFn>(dlsym(l.handle, "SearchLastVorpPath"));
        l.create = reinterpret_cast<CreateFn>(dlsym(l.handle, "CreateRegistry"));
        l.add = reinterpret_cast<AddFn>(dlsym(l.handle, "AddKeyValueToRegistry"));
        return l;
    }();
    return lib;
}

// What a shared object's dynamic section says: the symbols it defines and the libraries it needs.
struct DynamicInfo {
    std::vector<std::string> defined, needed;
};

DynamicInfo ReadDynamicInfo(const std::string& path) {
    const std::string image = testsupport::ReadFile(path);
    DynamicInfo info;
    if (image.size() < sizeof(Elf64_Ehdr)) return info;
    const char* base = image.data();
    Elf64_Ehdr eh;
    std::memcpy(&eh, base, sizeof eh);
    auto section = [&](size_t i) {
        Elf64_Shdr sh;
        std::memcpy(&sh, base + eh.e_shoff + i * eh.e_shentsize, sizeof sh);
        return sh;
    };
    for (size_t i = 0; i < eh.e_shnum; ++i) {
        const Elf64_Shdr sh = section(i);
        if (sh.sh_type != SHT_DYNSYM && sh.sh_type != SHT_DYNAMIC) continue;
        const char* strings = base + section(sh.sh_link).sh_offset;
        for (size_t off = 0; off + sh.sh_entsize <= sh.sh_size; off += sh.sh_entsize) {
            if (sh.sh_type == SHT_DYNAMIC) {
                Elf64_Dyn dyn;
                std::memcpy(&dyn, base + sh.sh_offset + off, sizeof dyn);
                if (dyn.d_tag == DT_NEEDED) info.needed.emplace_back(strings + dyn.d_un.d_val);
                continue;
            }
            Elf64_Sym sym;
            std::memcpy(&sym, base + sh.sh_offset + off, sizeof sym);
            const int bind = ELF64_ST_BIND(sym.st_info);
            if (sym.st_shndx != SHN_UNDEF && sym.st_name != 0 && (bind == STB_GLOBAL || bind == STB_WEAK))
                info.defined.emplace_back(strings + sym.st_name);
        }
    }
    std::sort(info.defined.begin(), info.defined.end());
    return info;
}

class CheckTest : public StoreFixture {
 protected:
    void SetUp() override {
        StoreFixture::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_EQ(Check().error, "");
    }

    // An uninstall entry of the machine root, in the order added.
    void AddEntry(const std::string& name, const std::string& command) {
        std::string error;
        ASSERT_TRUE(os::registry::UpdateRoot(
            Root::Machine,
            [&](Store& s, std::string* why) {
                const std::string key = std::string(kUninstall) + "\\" + name;
                return s.CreateKey(key, why) && s.SetValue(key, "UninstallString", command, why);
            },
            &error))
            << error;
    }

    // A folder below the temporary directory holding the given files; its absolute path.
    std::string Install(const std::string& relative, const std::vector<std::string>& files) {
        const fs::path folder = dir_ / relative;
        fs::create_directories(folder);
        for (const std::string& f : files) {
            fs::create_directories((folder / f).parent_path());
            testsupport::WriteFile(folder / f, "x");
        }
        return folder.string();
    }

    static std::string Command(const std::string& folder) {
        return "/usr/lib/wise/UNWISE.EXE " + folder + "/INSTALL.LOG";
    }

    // A development environment whose profile holds `cfg`, registered under "Vorp <name>".
    std::string AddEnvironment(const std::string& name, const std::string& cfg) {
        const std::string folder = Install("envs/" + name, {"Bin/Vorp.exe"});
        testsupport::WriteFile(fs::path(folder) / "Bin" / "Vorp.cfg", cfg);
        AddEntry("Vorp " + name, Command(folder));
        return folder;
    }
    std::string AddVersion(const std::string& name, const std::string& raw) {
        return AddEnvironment(name, "[General]\r\nName = Vorp\r\n\r\n[IDESystem]\r\nSDSVersion = " + raw + "\r\n");
    }

    int Search(int* index, const char* keyPart, const char* fileName) {
        return Check().search(nullptr, index, keyPart, fileName, outDir_.data());
    }
    int Last(const char* keyPart) { return Check().last(nullptr, keyPart, outDir_.data(), outVersion_.data()); }
    std::string OutDir() const { return outDir_.data(); }
    std::string OutVersion() const { return outVersion_.data(); }

    // Exactly the sizes an installer passes, so a write past them is caught under ASan.
    std::vector<char> outDir_ = std::vector<char>(388, '\0');
    std::vector<char> outVersion_ = std::vector<char>(17, '\0');
};

// ---- the library -------------------------------------------------------------------------

TEST_F(CheckTest, ExportsExactlyTheFourOperations) {
    ASSERT_NE(Check().search, nullptr);
    ASSERT_NE(Check().last, nullptr);
    ASSERT_NE(Check().create, nullptr);
    ASSERT_NE(Check().add, nullptr);
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(Check().create), &info), 0);
    const std::vector<std::string> expected = {"AddKeyValueToRegistry", "CreateRegistry", "SearchLastVorpPath",
                                               "SearchWiseInstalledApplication"};
    const DynamicInfo dynamic = ReadDynamicInfo(info.dli_fname);
    EXPECT_EQ(dynamic.defined, expected);

    // Only the C and C++ run-times (and the sanitizer's): no Qt, nothing of the program.
    ASSERT_FALSE(dynamic.needed.empty());
    for (const std::string& lib : dynamic.needed)
        EXPECT_TRUE(lib.rfind("libc.", 0) == 0 || lib.rfind("libstdc++.", 0) == 0 || lib.rfind("libm.", 0) == 0 ||
                    lib.rfind("libgcc_s.", 0) == 0 || lib.rfind("libasan.", 0) == 0)
            << lib;
}

// ---- finding an earlier installation -----------------------------------------------------

TEST_F(CheckTest, FolderIsTakenFromTheUninstallString) {
    const std::string sample = Install("opt/Tools/Sample", {"Sample.bin"});
    AddEntry("Tervalo Sample", Command(sample));
    int index = 0;
    EXPECT_EQ(Search(&index, "Sample", "Sample.bin"), 1);
    EXPECT_EQ(OutDir(), sample);
    EXPECT_EQ(index, 1);

    // An entry whose folder lacks the file is skipped, leaving its folder in outDir; the
    // backslash form gives the same folder.
    for (const char* command : {"/usr/lib/wise/UNWISE.EXE /opt/Tools/Sample/INSTALL.LOG",
                                "C:\\WINDOWS\\UNWISE.EXE \\opt\\Tools\\Sample\\INSTALL.LOG"}) {
        WriteMachine("");
        AddEntry("Sample A", command);
        index = 0;
        EXPECT_EQ(Search(&index, "Sample", "Sample.bin"), 0) << command;
        EXPECT_EQ(OutDir(), "/opt/Tools/Sample") << command;
        EXPECT_EQ(index, 2);
    }
}

TEST_F(CheckTest, MatchesAreFoundOneByOneWithTheSameIndex) {
    const std::string first = Install("a/First", {"Bin/Tool.exe"});
    const std::string missing = Install("a/Missing", {});
    const std::string second = Install("a/Second", {"Bin/Tool.exe"});
    AddEntry("Tervalo First", Command(first));
    AddEntry("Other Product", Command(Install("a/Other", {"Bin/Tool.exe"})));
    AddEntry("Tervalo Missing", Command(missing));
    AddEntry("Tervalo Second", Command(second));

    int index = 0;
    ASSERT_EQ(Search(&index, "Tervalo", "Bin\\Tool.exe"), 1);
    EXPECT_EQ(OutDir(), first);
    ASSERT_EQ(Search(&index, "Tervalo", "Bin\\Tool.exe"), 1);
    EXPECT_EQ(OutDir(), second);
    EXPECT_EQ(index, 4);
    EXPECT_EQ(Search(&index, "Tervalo", "Bin\\Tool.exe"), 0);
    EXPECT_EQ(index, 5);

    // A named pipe in the file's place (no writer: a blocking open would wait for good) is no
    // installed file: its entry is passed over at once, and the pipe left as it is.
    const fs::path fifo = fs::path(Install("a/Piped", {})) / "Bin" / "Tool.exe";
    fs::create_directories(fifo.parent_path());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    AddEntry("Tervalo Piped", Command(fifo.parent_path().parent_path().string()));
    index = 4;
    EXPECT_EQ(Search(&index, "Tervalo", "Bin\\Tool.exe"), 0);
    EXPECT_TRUE(fs::is_fifo(fifo));
}

// A listing keeps what one read of the machine store found only while the file is unchanged: a
// rewrite of the same size in place, with a new or with its old modification time, and a file of
// the same size and time renamed over it, are each read again.
TEST_F(CheckTest, ListingFollowsEveryRewriteOfTheMachineStore) {
    const std::string alpha = Install("k/Alpha", {"Tool.exe"});
    const std::string bravo = Install("k/Bravo", {"Tool.exe"});
    auto store = [&](const std::string& folder) {
        return "[" + std::string(kUninstall) + "\\Tervalo Tool]\n\"UninstallString\"=\"" + Command(folder) + "\"\n";
    };
    ASSERT_EQ(store(alpha).size(), store(bravo).size());
    auto modified = [](const fs::path& file) {
        struct stat st {};
        EXPECT_EQ(stat(file.c_str(), &st), 0);
        return st.st_mtim;
    };
    auto setModified = [](const fs::path& file, timespec when) {
        const timespec times[2] = {{0, UTIME_OMIT}, when};
        ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    };
    auto listed = [&] {
        int index = 0;
        return Search(&index, "Tervalo", "Tool.exe") == 1 ? OutDir() : std::string("(none)");
    };
    // A file changed in the clock tick of a read is read again next time; once that tick has
    // passed, a read of it is kept: then the listing lists it, and keeps that.
    auto listedAndKept = [&] {
        std::string error;
        for (int i = 0; i < 3000; ++i) {
            if (os::registry::ReadRootKept(Root::Machine, &error) == os::registry::ReadRootKept(Root::Machine, &error))
                return listed();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return std::string("(never kept)");
    };

    // Each change on a store file of its own, listed and kept before the change.
    auto changed = [&](const std::string& name, const std::function<void(const fs::path&)>& change) {
        const fs::path file = dir_ / name / "machine.reg";
        fs::create_directories(file.parent_path());
        setenv("CODECBENCH_REGISTRY_MACHINE", file.c_str(), 1);
        testsupport::WriteFile(file, store(alpha));
        const std::string before = listedAndKept();
        change(file);
        return before + " -> " + listed();
    };
    const std::string expected = alpha + " -> " + bravo;
    EXPECT_EQ(changed("newtime", [&](const fs::path& file) {
        testsupport::WriteFile(file, store(bravo));
        setModified(file, {time(nullptr) - 1800, 0});
    }), expected);
    EXPECT_EQ(changed("sametime", [&](const fs::path& file) {
        const timespec had = modified(file);
        testsupport::WriteFile(file, store(bravo));
        setModified(file, had);
    }), expected);
    EXPECT_EQ(changed("renamed", [&](const fs::path& file) {
        const fs::path replacement = file.string() + ".new";
        testsupport::WriteFile(replacement, store(bravo));
        setModified(replacement, modified(file));
        fs::rename(replacement, file);
    }), expected);

    // A store whose last change is not before the read's clock tick (here its time lies ahead)
    // is not kept: a change within that tick could leave it the same stamp.
    const fs::path unsettled = dir_ / "unsettled" / "machine.reg";
    fs::create_directories(unsettled.parent_path());
    setenv("CODECBENCH_REGISTRY_MACHINE", unsettled.c_str(), 1);
    testsupport::WriteFile(unsettled, store(alpha));
    setModified(unsettled, {time(nullptr) + 3600, 500000000});
    std::string error;
    const auto first = os::registry::ReadRootKept(Root::Machine, &error);
    ASSERT_NE(first, nullptr) << error;
    EXPECT_NE(os::registry::ReadRootKept(Root::Machine, &error).get(), first.get()) << "the read was kept";
    EXPECT_EQ(listed(), alpha);

    // Nor is a store whose last change lies exactly at the read's start on the clock the store
    // reads: a change later in that tick could leave it the same times. The store is changed at
    // the start of a tick and read within it; a try whose read fell in a later tick, or whose
    // change the file system stamped otherwise, is made again.
    const fs::path atStart = dir_ / "atstart" / "machine.reg";
    fs::create_directories(atStart.parent_path());
    setenv("CODECBENCH_REGISTRY_MACHINE", atStart.c_str(), 1);
    auto coarse = [] {
        timespec t{};
        clock_gettime(CLOCK_REALTIME_COARSE, &t);
        return t;
    };
    auto same = [](const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; };
    auto notAfter = [](const timespec& a, const timespec& b) {
        return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec <= b.tv_nsec);
    };
    int tries = 0;
    bool atTheStart = false;
    while (!atTheStart && tries++ < 1000) {
        testsupport::WriteFile(atStart, store(tries % 2 ? alpha : bravo));
        const timespec before = coarse();
        timespec tick = coarse();
        while (same(tick, before)) tick = coarse();
        if (tick.tv_nsec == 0) continue;  // a whole second: the rule for coarse file systems applies
        setModified(atStart, tick);
        const auto read = os::registry::ReadRootKept(Root::Machine, &error);
        const timespec after = coarse();
        struct stat st {};
        ASSERT_EQ(stat(atStart.c_str(), &st), 0);
        if (!same(after, tick) || !same(st.st_mtim, tick) || !notAfter(st.st_ctim, tick)) continue;
        atTheStart = true;
        ASSERT_NE(read, nullptr) << error;
        EXPECT_NE(os::registry::ReadRootKept(Root::Machine, &error).get(), read.get()) << "the read was kept";
    }
    EXPECT_TRUE(atTheStart) << "no read began in the clock tick of its store's change in " << tries << " tries";
}

TEST_F(CheckTest, EntriesThatDoNotFitOrLackTheLogAreSkipped) {
    const std::string folder = Install("b/Good", {"f.txt"});
    AddEntry("T1 no log", "/usr/lib/wise/UNWISE.EXE " + folder);
    AddEntry("T2 short", "/usr/lib/wise/UNWISE.EXE");
    AddEntry("T3 log inside", "/usr/lib/wise/UNWISE.EXE\\INSTALL.LOG");
    AddEntry("T4 no marker", folder + "/INSTALL.LOG");
    // 388 characters: one more than the uninstall string buffer holds.
    std::string longCommand = Command(folder);
    longCommand.insert(0, 388 - longCommand.size(), ' ');
    AddEntry("T5 long", longCommand);
    AddEntry(std::string(1024, 'T'), Command(folder));  // name longer than its buffer

    std::fill(outDir_.begin(), outDir_.end(), '#');
    outDir_.back() = '\0';
    int index = 0;
    EXPECT_EQ(Search(&index, "T", "f.txt"), 0);
    EXPECT_EQ(index, 7);
    EXPECT_EQ(OutDir(), std::string(387, '#'));  // no entry got as far as copying its folder

    // 387 characters fit.
    longCommand.erase(0, 1);
    AddEntry("T6 fits", longCommand);
    index = 0;
    EXPECT_EQ(Search(&index, "T", "f.txt"), 1);
    EXPECT_EQ(index, 7);
    EXPECT_EQ(OutDir(), folder);
}

TEST_F(CheckTest, JoinedPathMustFitItsBuffer) {
    // folder + "/" + file of exactly 259 characters fits, 260 does not.
    const std::string base = (dir_ / "c").string();
    const std::string fileName = "f.txt";
    std::string folder = base;
    while (folder.size() < 259 - 1 - fileName.size()) folder += (folder.size() % 100 == 0) ? "/" : "d";
    ASSERT_NE(folder.back(), '/');
    ASSERT_EQ(folder.size() + 1 + fileName.size(), 259u);
    fs::create_directories(folder);
    testsupport::WriteFile(fs::path(folder) / fileName, "x");
    testsupport::WriteFile(fs::path(folder) / ("g" + fileName), "x");
    AddEntry("Deep", Command(folder));

    int index = 0;
    EXPECT_EQ(Search(&index, "Deep", fileName.c_str()), 1);
    index = 0;
    EXPECT_EQ(Search(&index, "Deep", ("g" + fileName).c_str()), 0);
}

TEST_F(CheckTest, UnreadableUninstallKeyIsReportedWithItsReason) {
    int index = 0;
    testing::internal::CaptureStderr();
    EXPECT_EQ(Search(&index, "Tervalo", "x"), 0);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(index, 0);
    EXPECT_EQ(err.rfind("Check.dll: cannot open the key " + std::string(kUninstall), 0), 0u) << err;
    EXPECT_NE(err.find("the key does not exist"), std::string::npos) << err;

    WriteMachine("[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\A]\nUninstallString=x\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(Search(&index, "Tervalo", "x"), 0);
    err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(machine_.string() + ": line 2: expected a quoted value name"), std::string::npos) << err;
}

// ---- the newest development environment --------------------------------------------------

TEST_F(CheckTest, NewestEnvironmentByNumericVersion) {
    const std::string first = AddVersion("1", "FE.DC.BA9.87");
    ASSERT_EQ(Last("Vorp"), 1);
    EXPECT_EQ(OutVersion(), "01.23.456");
    EXPECT_EQ(OutDir(), first);

    const std::string newer = AddVersion("2", "EF.DC.BA9.87");
    AddVersion("3", "FF.FF.FFF.FF");
    ASSERT_EQ(Last("Vorp"), 1);
    EXPECT_EQ(OutVersion(), "10.23.456");
    EXPECT_EQ(OutDir(), newer);  // the greatest, not the last examined
}

TEST_F(CheckTest, VersionPiecesCompareAsNumbers) {
    const std::string big = AddVersion("big", "E0.FF.FFF.FF");  // 115.00.000
    AddVersion("small", "ED.FF.FFF.FF");                        // 12.00.000, greater as text
    ASSERT_EQ(Last("Vorp"), 1);
    EXPECT_EQ(OutVersion(), "115.00.000");
    EXPECT_EQ(OutDir(), big);

    const std::string patch = AddVersion("patch", "E0.FF.FFE.FF");  // 115.00.001
    AddVersion("low", "F0.FF.FFF.FF");                               // 015.00.000
    ASSERT_EQ(Last("Vorp"), 1);
    EXPECT_EQ(OutVersion(), "115.00.001");
    EXPECT_EQ(OutDir(), patch);
}

TEST_F(CheckTest, NoUsableEnvironmentGivesTheLowestVersion) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(Last("Vorp"), 0);  // no Uninstall key at all
    EXPECT_NE(testing::internal::GetCapturedStderr().find("the key does not exist"), std::string::npos);
    EXPECT_EQ(OutVersion(), "00.00.000");
    EXPECT_EQ(OutDir(), "");

    AddEnvironment("none", "[IDESystem]\nOther = 1\n");     // default "None"
    AddVersion("short", "FE.DC.BA9.8");
    AddVersion("long", "FE.DC.BA9.876");
    AddVersion("zero", "FF.FF.FFF.FF");                       // formats as 00.00.000
    AddEntry("Vorp noexe", Command(Install("envs/noexe", {"Bin/Vorp.cfg"})));
    testsupport::WriteFile(dir_ / "envs" / "noexe" / "Bin" / "Vorp.cfg", "[IDESystem]\nSDSVersion = EF.DC.BA9.87\n");
    EXPECT_EQ(Last("Vorp"), 0);
    EXPECT_EQ(OutVersion(), "00.00.000");
    EXPECT_EQ(OutDir(), "");

    // A non-hexadecimal character keeps the digits converted before it and still counts.
    AddVersion("odd", "FX.DC.BA9.87");
    EXPECT_EQ(Last("Vorp"), 1);
    EXPECT_EQ(OutVersion(), "0.23.456");
}

// ---- keys and values under the user root -------------------------------------------------

TEST_F(CheckTest, CreateRegistryCreatesEveryMissingLevel) {
    EXPECT_EQ(Check().create(nullptr, "Software\\Tervalo\\codecbench"), 1);
    EXPECT_EQ(UserText(), "[Software]\n\n[Software\\Tervalo]\n\n[Software\\Tervalo\\codecbench]\n\n");
    // Existing keys, whatever their case, are kept as they are.
    EXPECT_EQ(Check().create(nullptr, "SOFTWARE\\tervalo\\CodecBench\\Paths"), 1);
    EXPECT_EQ(UserText(),
              "[Software]\n\n[Software\\Tervalo]\n\n[Software\\Tervalo\\codecbench]\n\n"
              "[Software\\Tervalo\\codecbench\\Paths]\n\n");
}

TEST_F(CheckTest, AddKeyValueWritesUnderTheExistingKey) {
    ASSERT_EQ(Check().create(nullptr, "Software\\Tervalo\\codecbench\\Paths"), 1);
    EXPECT_EQ(Check().add(nullptr, "software\\TERVALO\\codecbench", nullptr, "InstallDir", "/opt/codecbench"), 1);
    EXPECT_EQ(Check().add(nullptr, "Software\\Tervalo\\codecbench", "Paths", "Data", "C:\\data \"x\""), 1);
    const std::string longValue(2000, 'v');
    EXPECT_EQ(Check().add(nullptr, "Software\\Tervalo\\codecbench", nullptr, "Long", longValue.c_str()), 1);
    EXPECT_EQ(UserText(),
              "[Software]\n\n[Software\\Tervalo]\n\n"
              "[Software\\Tervalo\\codecbench]\n\"InstallDir\"=\"/opt/codecbench\"\n\"Long\"=\"" + longValue + "\"\n\n"
              "[Software\\Tervalo\\codecbench\\Paths]\n\"Data\"=\"C:\\\\data \\\"x\\\"\"\n\n");

    // Writing again replaces the value, found without regard to case.
    EXPECT_EQ(Check().add(nullptr, "Software\\Tervalo\\codecbench", nullptr, "installdir", "/usr/local"), 1);
    EXPECT_EQ(ValueIn(Root::User, "Software\\Tervalo\\codecbench", "InstallDir"), "/usr/local");
    EXPECT_EQ(ValueIn(Root::User, "Software\\Tervalo\\codecbench\\Paths", "DATA"), "C:\\data \"x\"");
}

TEST_F(CheckTest, AddKeyValueToAMissingKeyFailsWithAMessage) {
    ASSERT_EQ(Check().create(nullptr, "Software\\Tervalo"), 1);
    const std::string before = UserText();
    testing::internal::CaptureStderr();
    EXPECT_EQ(Check().add(nullptr, "Software\\Tervalo", "Missing", "Name", "v"), 0);
    EXPECT_EQ(Check().add(nullptr, "Software\\Nobody", nullptr, "Name", "v"), 0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err,
              "Check.dll: cannot write the value \"Name\" in the user store " + user_.string() +
                  ": the key \"Software\\Tervalo\\Missing\" does not exist\n"
                  "Check.dll: cannot write the value \"Name\" in the user store " + user_.string() +
                  ": the key \"Software\\Nobody\" does not exist\n");
    EXPECT_EQ(UserText(), before);  // keys are not created here
}

TEST_F(CheckTest, StoreFailuresReportTheirOwnError) {
    // The user store's folder cannot be made: a file stands where it should be.
    testsupport::WriteFile(dir_ / "blocker", "");
    const std::string path = (dir_ / "blocker" / "user.reg").string();
    setenv("CODECBENCH_REGISTRY_USER", path.c_str(), 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Check().create(nullptr, "Software\\Tervalo"), 0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Check.dll: cannot create the key \"Software\\Tervalo\" in the user store " + path +
                       ": cannot create the folder " + (dir_ / "blocker").string() + ": Not a directory\n");
}

// A store far larger than any installer makes is refused by its size before it is read, said
// with its size and the limit, and left as it is.
TEST_F(CheckTest, AFarTooLargeStoreIsRefusedUnread) {
    const std::filesystem::path path = dir_ / "user.reg";
    testsupport::WriteFile(path, "[Software\\Tervalo]\n");
    std::filesystem::resize_file(path, 200u << 20);  // the rest a hole
    setenv("CODECBENCH_REGISTRY_USER", path.c_str(), 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Check().create(nullptr, "Software\\Tervalo\\Bench"), 0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Check.dll: cannot create the key \"Software\\Tervalo\\Bench\" in the user store " + path.string() +
                       ": " + path.string() + " is 200 MB; a registry store file is at most 4 MB. It was not read.\n");
    EXPECT_EQ(std::filesystem::file_size(path), 200u << 20);
}

}  // namespace
