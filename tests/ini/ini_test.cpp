// The INI layer through its real entry points and real files.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>

#include "oslayer/user_files.h"
#include "runtime/inifile.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/plain_user.h"

namespace fs = std::filesystem;
using namespace rt;

namespace {

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void Spit(const fs::path& p, const std::string& text) {
  std::ofstream(p, std::ios::binary) << text;
}

using testsupport::FileSizeLimit;

class IniTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "ini-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
    ini_ = Ini_New(0);
  }
  void TearDown() override {
    Ini_Dispose(ini_);
    fs::remove_all(dir_);
  }
  // The folder's file names, sorted: no temporary file may survive a write.
  std::set<std::string> Files() {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.insert(e.path().filename());
    return names;
  }
  fs::path dir_;
  IniText ini_ = nullptr;
};

// Messy text as users and other tools leave it, and the layout it is written back in.
const char kLoose[] =
    "\xEF\xBB\xBF"                        // an editor's UTF-8 mark
    "[Default/Power Management]\r\n"
    "; comment\r\n"
    "   ;indented comment = 5\n"
    "\n"
    "0x0=0\n"
    "  0x1   =\t320  \r\n"
    "no equals sign here\n"
    "= 7\n"                              // no key
    "0x2 = -5\r\n"
    "0x2c = 0x2c\n"
    "[Broken/Group] junk\n"              // not a section line: its items go nowhere
    "0x0 = 999\n"
    "[unterminated\n"
    "0x1 = 999\n"
    "[]\n"
    "0x1 = 998\n"
    "\r\n"
    "[ Default/Audio Control ] \r\n"     // the exchange-file form
    "empty =\n"
    "0x4 = 16";                          // no final line end

const char kLooseWritten[] =
    "[Default/Power Management]\r\n"
    "0x0 = 0\r\n"
    "0x1 = 320\r\n"
    "0x2 = -5\r\n"
    "0x2c = 0x2c\r\n"
    "\r\n"
    "[Default/Audio Control]\r\n"
    "empty = \r\n"
    "0x4 = 16\r\n"
    "\r\n";

TEST_F(IniTest, WritesTheConfigSetLayout) {
  ASSERT_EQ(Ini_PutInt(ini_, "Default/Power Management", "0x0", 0), 0);
  ASSERT_EQ(Ini_PutInt(ini_, "Default/Power Management", "0x1", 320), 0);
  ASSERT_EQ(Ini_PutInt(ini_, "Default/Power Management", "0x2", -2147483647 - 1), 0);
  ASSERT_EQ(Ini_PutInt(ini_, "Default/Audio Control", "0x2c", 1), 0);
  const fs::path file = dir_ / "STconfig.dat";
  ASSERT_EQ(Ini_WriteToFile(ini_, file.c_str()), 0);
  EXPECT_EQ(Slurp(file),
            "[Default/Power Management]\r\n0x0 = 0\r\n0x1 = 320\r\n0x2 = -2147483648\r\n\r\n"
            "[Default/Audio Control]\r\n0x2c = 1\r\n\r\n");
  EXPECT_EQ(Files(), std::set<std::string>{"STconfig.dat"});
}

TEST_F(IniTest, ReadsLooseTextAndRoundTripsThroughFiles) {
  const fs::path in = dir_ / "in.dat", out = dir_ / "out.dat";
  Spit(in, kLoose);
  ASSERT_EQ(Ini_ReadFromFile(ini_, in.c_str()), 0);
  ASSERT_EQ(Ini_WriteToFile(ini_, out.c_str()), 0);
  EXPECT_EQ(Slurp(out), kLooseWritten);

  IniText again = Ini_New(0);
  ASSERT_EQ(Ini_ReadFromFile(again, out.c_str()), 0);
  EXPECT_EQ(Ini_ToString(again), kLooseWritten);
  Ini_Dispose(again);

  // A file of megabytes (thousands of sets) goes out in many pieces and reads back exactly.
  std::string big;
  for (int set = 0; set < 20000; ++set) {
    big += "[Set " + std::to_string(set) + "/Power Management]\r\n";
    for (int reg = 0; reg < 12; ++reg) big += "0x" + std::to_string(reg) + " = " + std::to_string(set * 7 + reg) + "\r\n";
    big += "\r\n";
  }
  ASSERT_GT(big.size(), 3u << 20);
  IniText large = Ini_New(0);
  ASSERT_EQ(Ini_ReadFromString(large, std::string(big)), 0);
  const fs::path bigFile = dir_ / "STconfig.dat";
  {
    // A writer that wrote pieces twice would not stop short of gigabytes.
    FileSizeLimit limit(2 * big.size());
    ASSERT_TRUE(limit.Set());
    std::string why;
    EXPECT_EQ(Ini_WriteToFile(large, bigFile.c_str(), &why), 0) << why;
  }
  Ini_Dispose(large);
  const std::string written = Slurp(bigFile);
  const auto differ = std::mismatch(written.begin(), written.end(), big.begin(), big.end());
  EXPECT_TRUE(written == big) << "written " << written.size() << " bytes, expected " << big.size()
                              << "; first difference at byte " << (differ.first - written.begin());
  large = Ini_New(0);
  ASSERT_EQ(Ini_ReadFromFile(large, bigFile.c_str()), 0);
  EXPECT_EQ(Ini_NumberOfSections(large), 20000);
  Ini_Dispose(large);
}

TEST_F(IniTest, PutReplacesInPlaceAndAppendsNewItemsAndSections) {
  ASSERT_EQ(Ini_ReadFromString(ini_, kLooseWritten), 0);
  EXPECT_EQ(Ini_PutInt(ini_, "  default/POWER management ", " 0X1\t", 7), 0);
  EXPECT_EQ(Ini_PutInt(ini_, "Default/Power Management", "0x9", 9), 0);
  EXPECT_EQ(Ini_PutString(ini_, " Set2/Extra ", " note ", "a b"), 0);
  EXPECT_EQ(Ini_ToString(ini_),
            "[Default/Power Management]\r\n0x0 = 0\r\n0x1 = 7\r\n0x2 = -5\r\n0x2c = 0x2c\r\n"
            "0x9 = 9\r\n\r\n"
            "[Default/Audio Control]\r\nempty = \r\n0x4 = 16\r\n\r\n"
            "[Set2/Extra]\r\nnote = a b\r\n\r\n");
  EXPECT_EQ(Ini_NumberOfSections(ini_), 3);
  std::string name = "untouched";
  EXPECT_EQ(Ini_NthSectionName(ini_, 2, &name), 1);
  EXPECT_EQ(name, "Default/Audio Control");
  EXPECT_EQ(Ini_NthSectionName(ini_, 4, &name), 0);
  EXPECT_EQ(Ini_NthSectionName(ini_, 0, &name), 0);
  EXPECT_EQ(name, "Default/Audio Control");
}

TEST_F(IniTest, GetIntParsesDecimalAndHexAndLeavesOutputOnMiss) {
  const struct { const char* text; int found; int value; } cases[] = {
      {"320", 1, 320},       {"-5", 1, -5},         {" +7 ", 1, 7},
      {"0x1FF", 1, 511},     {"0Xff", 1, 255},      {"0xffffffff", 1, -1},
      {"2147483647", 1, 2147483647}, {"-2147483648", 1, -2147483647 - 1},
      {"2147483648", 0, 0},  {"0x100000000", 0, 0}, {"0x", 0, 0},
      {"12abc", 0, 0},       {"abc", 0, 0},         {"", 0, 0},
      {"-", 0, 0},           {"1 2", 0, 0},         {"-0x10", 0, 0},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Ini_PutString(ini_, "S", "k", c.text), 0);
    int v = 12345;
    EXPECT_EQ(Ini_GetInt(ini_, "S", "k", &v), c.found) << '"' << c.text << '"';
    EXPECT_EQ(v, c.found ? c.value : 12345) << '"' << c.text << '"';
  }
  int v = 12345;
  EXPECT_EQ(Ini_GetInt(ini_, "S", "missing", &v), 0);
  EXPECT_EQ(Ini_GetInt(ini_, "Missing", "k", &v), 0);
  EXPECT_EQ(v, 12345);
  ASSERT_EQ(Ini_PutInt(ini_, "Set/Group", "0x2C", 44), 0);
  EXPECT_EQ(Ini_GetInt(ini_, " set/GROUP  ", "\t0x2c ", &v), 1);
  EXPECT_EQ(v, 44);
  std::string s = "untouched";
  EXPECT_EQ(Ini_GetStringCopy(ini_, "set/group", "nope", &s), 0);
  EXPECT_EQ(s, "untouched");
}

TEST_F(IniTest, DuplicatesMergeIntoTheFirstAndReadingAddsToTheObject) {
  ASSERT_EQ(Ini_PutInt(ini_, "Old", "a", 1), 0);
  ASSERT_EQ(Ini_ReadFromString(ini_, "orphan = 1\n[A]\nx = 1\ny = 2\n[B]\nz = 3\n[a]\nX = 10\nw = 4\n"
                                     "[old]\nb = 2\n"), 0);
  EXPECT_EQ(Ini_ToString(ini_),
            "[Old]\r\na = 1\r\nb = 2\r\n\r\n"
            "[A]\r\nx = 10\r\ny = 2\r\nw = 4\r\n\r\n"
            "[B]\r\nz = 3\r\n\r\n");
  EXPECT_EQ(Ini_RemoveSection(ini_, " a "), 1);
  EXPECT_EQ(Ini_SectionExists(ini_, "A"), 0);

  // A section read but never looked into is written as reading it gives its items; a write can
  // leave sections out while the object keeps them.
  ASSERT_EQ(Ini_ReadFromString(ini_, std::string("[C]\nq=1\n ; note\nQ =  5 \nr = \n")), 0);
  const std::string all = "[Old]\r\na = 1\r\nb = 2\r\n\r\n[B]\r\nz = 3\r\n\r\n[C]\r\nq = 5\r\nr = \r\n\r\n";
  const fs::path file = dir_ / "cfg.dat";
  ASSERT_EQ(Ini_WriteToFileExcept(ini_, file.c_str(), [](std::string_view name) { return name == "B"; }), 0);
  EXPECT_EQ(Slurp(file), "[Old]\r\na = 1\r\nb = 2\r\n\r\n[C]\r\nq = 5\r\nr = \r\n\r\n");
  EXPECT_EQ(Ini_ToString(ini_), all);
  EXPECT_EQ(Ini_NumberOfItems(ini_, "c"), 2);
  EXPECT_EQ(Ini_ToString(ini_), all);
}

TEST_F(IniTest, RemoveCountAndEnumerate) {
  ASSERT_EQ(Ini_ReadFromString(ini_, "[S1]\na = 1\nb = 2\nc = 3\n[S2]\nd = 4\n[S3]\n"), 0);
  EXPECT_EQ(Ini_NumberOfSections(ini_), 3);
  EXPECT_EQ(Ini_NumberOfItems(ini_, "s1"), 3);
  EXPECT_EQ(Ini_NumberOfItems(ini_, "S3"), 0);
  EXPECT_EQ(Ini_NumberOfItems(ini_, "none"), 0);
  EXPECT_EQ(Ini_RemoveItem(ini_, "S1", " B "), 1);
  EXPECT_EQ(Ini_RemoveItem(ini_, "S1", "b"), 0);
  EXPECT_EQ(Ini_ItemExists(ini_, "S1", "b"), 0);
  EXPECT_EQ(Ini_ItemExists(ini_, "S1", "C"), 1);
  std::string k, v;
  EXPECT_EQ(Ini_NthItem(ini_, "S1", 2, &k, &v), 1);
  EXPECT_EQ(k + "=" + v, "c=3");
  EXPECT_EQ(Ini_NthItem(ini_, "S1", 3, &k, &v), 0);
  EXPECT_EQ(Ini_RemoveSection(ini_, "s2"), 1);
  EXPECT_EQ(Ini_RemoveSection(ini_, "s2"), 0);
  EXPECT_EQ(Ini_ToString(ini_), "[S1]\r\na = 1\r\nc = 3\r\n\r\n[S3]\r\n\r\n");

  // Thousands of sections, every third removed in a scattered order: the others are still
  // found by name, in either case, with their items, and the removed ones are gone.
  Ini_RemoveAllSections(ini_);
  constexpr int kMany = 3000;
  std::string text;
  for (int i = 0; i < kMany; ++i) text += "[Set " + std::to_string(i) + "/Group]\nv = " + std::to_string(i) + "\n";
  ASSERT_EQ(Ini_ReadFromString(ini_, text), 0);
  for (int i = 0; i < kMany; i += 3) {
    const int n = (i * 7) % kMany;  // every multiple of 3 once, out of order
    EXPECT_EQ(Ini_RemoveSection(ini_, ("SET " + std::to_string(n) + "/group").c_str()), 1) << n;
  }
  EXPECT_EQ(Ini_NumberOfSections(ini_), kMany - kMany / 3);
  for (int i = 0; i < kMany; ++i) {
    int got = -1;
    EXPECT_EQ(Ini_GetInt(ini_, ("set " + std::to_string(i) + "/GROUP").c_str(), "V", &got), i % 3 == 0 ? 0 : 1) << i;
    if (i % 3 != 0) {
      EXPECT_EQ(got, i);
    }
  }
  std::string second;
  EXPECT_EQ(Ini_NthSectionName(ini_, 2, &second), 1);
  EXPECT_EQ(second, "Set 2/Group");

  // A section of many items: a key met again takes the later value in place, and removing an
  // item leaves every other one found.
  auto keyOf = [](int i) {
    std::string key = "k";
    key += std::to_string(i);
    return key;
  };
  std::string items = "[Big]\n";
  for (int i = 0; i < 100; ++i) {
    items += keyOf(i);
    items += " = ";
    items += std::to_string(i);
    items += "\n";
  }
  items += "K50 = 500\n";
  ASSERT_EQ(Ini_ReadFromString(ini_, items), 0);
  EXPECT_EQ(Ini_NumberOfItems(ini_, "big"), 100);
  EXPECT_EQ(Ini_RemoveItem(ini_, "big", "k10"), 1);
  for (int i = 0; i < 100; ++i) {
    int got = -1;
    EXPECT_EQ(Ini_GetInt(ini_, "Big", keyOf(i).c_str(), &got), i == 10 ? 0 : 1) << i;
    if (i != 10) {
      EXPECT_EQ(got, i == 50 ? 500 : i) << i;
    }
  }
  EXPECT_EQ(Ini_NthItem(ini_, "Big", 50, &k, &v), 1);
  EXPECT_EQ(k + "=" + v, "k50=500");
}

TEST_F(IniTest, LongLinesAreReadWhole) {
  const std::string section(300, 's'), key(400, 'k'), value(100000, 'v');
  const fs::path file = dir_ / "long.dat";
  Spit(file, "[" + section + "]\n" + key + " = " + value + "\n" + key + "2 = 0x7b\n");
  ASSERT_EQ(Ini_ReadFromFile(ini_, file.c_str()), 0);
  std::string got;
  EXPECT_EQ(Ini_GetStringCopy(ini_, section.c_str(), key.c_str(), &got), 1);
  EXPECT_EQ(got, value);
  int n = 0;
  EXPECT_EQ(Ini_GetInt(ini_, section.c_str(), (key + "2").c_str(), &n), 1);
  EXPECT_EQ(n, 123);
}

TEST_F(IniTest, BadArgumentsAreRefusedWithoutChange) {
  ASSERT_EQ(Ini_PutInt(ini_, "S", "k", 1), 0);
  const std::string before = Ini_ToString(ini_);
  const struct { const char* section; const char* key; const char* value; } bad[] = {
      {nullptr, "k", "1"}, {"S", nullptr, "1"}, {"S", "k", nullptr}, {"  ", "k", "1"},
      {"S", " ", "1"},     {"S", "a=b", "1"},   {"S", ";k", "1"},    {"S", "[k", "1"},
      {"S\nT", "k", "1"},  {"S", "k\rx", "1"},   {"S", "k", "1\n[X]"},
  };
  for (const auto& b : bad)
    EXPECT_EQ(Ini_PutString(ini_, b.section, b.key, b.value), kIniBadArgument)
        << (b.section ? b.section : "null") << '|' << (b.key ? b.key : "null");
  EXPECT_EQ(Ini_ToString(ini_), before);

  int v = 0;
  EXPECT_LT(Ini_GetInt(nullptr, "S", "k", &v), 0);
  EXPECT_LT(Ini_GetInt(ini_, "S", "k", nullptr), 0);
  EXPECT_LT(Ini_NumberOfSections(nullptr), 0);
  EXPECT_LT(Ini_NthSectionName(ini_, 1, nullptr), 0);
  EXPECT_LT(Ini_RemoveSection(ini_, nullptr), 0);
  EXPECT_LT(Ini_ReadFromFile(ini_, nullptr), 0);
  EXPECT_LT(Ini_WriteToFile(nullptr, (dir_ / "x").c_str()), 0);
  EXPECT_EQ(Ini_ToString(ini_), before);
  EXPECT_TRUE(Files().empty());
}

TEST_F(IniTest, UnreadableFileLeavesTheObjectUnchanged) {
  ASSERT_EQ(Ini_PutInt(ini_, "S", "k", 1), 0);
  const std::string before = Ini_ToString(ini_);
  EXPECT_EQ(Ini_ReadFromFile(ini_, (dir_ / "missing.dat").c_str()), kIniReadError);
  EXPECT_EQ(Ini_ReadFromFile(ini_, dir_.c_str()), kIniReadError);
  EXPECT_EQ(Ini_ToString(ini_), before);
  std::string contents = "kept", why;
  EXPECT_FALSE(ReadWholeFile((dir_ / "missing.dat").string(), &contents, &why));
  EXPECT_EQ(contents, "kept");
  EXPECT_NE(why.find("missing.dat"), std::string::npos) << why;
  // Anything but a regular file is refused at once and left as it is: a named pipe without a
  // writer (a blocking open would wait for good), a device, a folder.
  const fs::path fifo = dir_ / "pipe.dat";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(Ini_ReadFromFile(ini_, fifo.c_str()), kIniReadError);
  EXPECT_FALSE(ReadWholeFile(fifo.string(), &contents, &why));
  EXPECT_EQ(why, fifo.string() + " is not a regular file.");
  EXPECT_FALSE(ReadWholeFile("/dev/null", &contents, &why));
  EXPECT_EQ(why, "/dev/null is not a regular file.");
  EXPECT_FALSE(ReadWholeFile(dir_.string(), &contents, &why));
  EXPECT_EQ(why, dir_.string() + " is not a regular file.");
  EXPECT_EQ(contents, "kept");
  EXPECT_EQ(Ini_ToString(ini_), before);
  EXPECT_TRUE(fs::is_fifo(fifo));
}

// A reader's size limit: a file of just that size is read; one byte more is refused before it
// is read, naming the file, its size (never rounded down to the limit) and the limit.
TEST_F(IniTest, SizeLimitRefusesALargerFileUnread) {
  const os::SizeLimit limit{1u << 20, "a test file"};
  const fs::path file = dir_ / "big.txt";
  Spit(file, std::string(limit.bytes, 'x'));
  std::string contents, why;
  EXPECT_TRUE(ReadWholeFile(file.string(), &contents, &why, &limit));
  EXPECT_EQ(contents.size(), limit.bytes);
  Spit(file, std::string(limit.bytes + 1, 'y'));
  contents = "kept";
  errno = 0;
  EXPECT_FALSE(ReadWholeFile(file.string(), &contents, &why, &limit));
  EXPECT_EQ(errno, EFBIG);
  EXPECT_EQ(why, file.string() + " is 1.1 MB; a test file is at most 1 MB. It was not read.");
  EXPECT_EQ(contents, "kept");
}

TEST_F(IniTest, FailedWritesLeaveTheOldFileAndNoTemporary) {
  ASSERT_EQ(Ini_PutInt(ini_, "S", "k", 1), 0);
  std::string why;
  // A folder that does not exist.
  EXPECT_EQ(Ini_WriteToFile(ini_, (dir_ / "nodir" / "a.dat").c_str(), &why), kIniWriteError);
  EXPECT_FALSE(why.empty());
  // A folder as the target.
  fs::create_directory(dir_ / "sub");
  why.clear();
  EXPECT_FALSE(WriteFileAtomic((dir_ / "sub").string(), "x", &why));
  EXPECT_FALSE(why.empty());
  EXPECT_TRUE(fs::is_directory(dir_ / "sub"));
  // An existing file whose name leaves no room for the temporary file's name.
  const std::string longName(250, 'n');
  Spit(dir_ / longName, "old");
  EXPECT_EQ(Ini_WriteToFile(ini_, (dir_ / longName).c_str(), &why), kIniWriteError);
  EXPECT_EQ(Slurp(dir_ / longName), "old");
  // The disk refusing data midway (a file-size limit, which binds root too).
  Spit(dir_ / "cfg.dat", "old contents");
  bool ok = true;
  {
    FileSizeLimit small(4096);
    ASSERT_TRUE(small.Set());
    ok = WriteFileAtomic((dir_ / "cfg.dat").string(), std::string(1 << 20, 'x'), &why);
  }
  EXPECT_FALSE(ok);
  EXPECT_NE(why.find("cfg.dat"), std::string::npos) << why;
  EXPECT_EQ(Slurp(dir_ / "cfg.dat"), "old contents");
  EXPECT_EQ(Files(), (std::set<std::string>{"sub", longName, "cfg.dat"}));
}

TEST_F(IniTest, WriteKeepsModeAndWritesThroughLinks) {
  const fs::path file = dir_ / "cfg.dat", link = dir_ / "link.dat";
  Spit(file, "old");
  ASSERT_EQ(chmod(file.c_str(), 0640), 0);
  fs::create_symlink(file, link);
  const std::string data("bin\0ary\r\n", 9);
  ASSERT_TRUE(WriteFileAtomic(link.string(), data));
  EXPECT_TRUE(fs::is_symlink(link));
  std::string back;
  ASSERT_TRUE(ReadWholeFile(file.string(), &back));
  EXPECT_EQ(back, data);
  auto mode = [](const fs::path& p) {
    struct stat st {};
    return stat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 01000u;
  };
  EXPECT_EQ(mode(file), 0640u);
  EXPECT_EQ(Files(), (std::set<std::string>{"cfg.dat", "link.dat"}));

  // A new file gets the mode the umask gives (not the temporary's owner-only mode); a replaced
  // file keeps its own whatever the umask.
  const mode_t saved = umask(022);
  ASSERT_TRUE(WriteFileAtomic((dir_ / "shared.dat").string(), "a"));
  ASSERT_EQ(Ini_PutInt(ini_, "S", "k", 1), 0);
  ASSERT_EQ(Ini_WriteToFile(ini_, (dir_ / "set.ini").c_str()), 0);
  umask(077);
  ASSERT_TRUE(WriteFileAtomic((dir_ / "private.dat").string(), "b"));
  ASSERT_TRUE(WriteFileAtomic(file.string(), "c"));
  umask(saved);
  EXPECT_EQ(mode(dir_ / "shared.dat"), 0644u);
  EXPECT_EQ(mode(dir_ / "set.ini"), 0644u);
  EXPECT_EQ(mode(dir_ / "private.dat"), 0600u);
  EXPECT_EQ(mode(file), 0640u);
  EXPECT_EQ(Files(), (std::set<std::string>{"cfg.dat", "link.dat", "shared.dat", "set.ini", "private.dat"}));

  // Relative links, through one another, to a file not there yet: the file is made where they
  // lead, and they stay.
  fs::create_symlink("hop.dat", dir_ / "later.dat");
  fs::create_symlink("new.dat", dir_ / "hop.dat");
  ASSERT_TRUE(WriteFileAtomic((dir_ / "later.dat").string(), "d"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "later.dat"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "hop.dat"));
  EXPECT_EQ(Slurp(dir_ / "new.dat"), "d");
}

// A file the user cannot read is left as it is, with the reason, by every writer and through a
// link; the program's own working file is replaced and made readable, so it can be read back.
// Root reads any file: a file of mode 000 is replaced and keeps its mode.
TEST_F(IniTest, AFileTheUserCannotReadIsLeftAndTheWorkingFileIsMadeReadable) {
  auto mode = [](const fs::path& p) {
    struct stat st {};
    return stat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 01000u;
  };
  const fs::path script = dir_ / "script.txt", player = dir_ / "a00.ini", link = dir_ / "link.txt",
                 working = dir_ / "tempini.dat";
  const std::string refused = " cannot be read (Permission denied), so it is not replaced.";
  SetOwnWorkingFile(working.string());
  ASSERT_TRUE(testsupport::AsPlainUser::Give(dir_));
  {
    testsupport::AsPlainUser user;
    ASSERT_TRUE(user.Active());
    Spit(script, "mine\r\n");
    Spit(player, "[Default]\r\nPlayDir = /mine\r\n");
    Spit(working, "[old/Audio Control]\r\n0x4 = 1\r\n");
    for (const fs::path& p : {script, player, working}) ASSERT_EQ(chmod(p.c_str(), 0), 0);
    fs::create_symlink("script.txt", link);
    std::string why;
    EXPECT_FALSE(WriteFileAtomic(script.string(), "0x1 = 5\r\n", &why));
    EXPECT_EQ(why, script.string() + refused);
    why.clear();
    EXPECT_FALSE(WriteFileAtomic(link.string(), "0x1 = 5\r\n", &why));
    EXPECT_EQ(why, script.string() + refused);
    ASSERT_EQ(Ini_PutString(ini_, "Default", "PlayDir", "/elsewhere"), 0);
    EXPECT_EQ(Ini_WriteToFile(ini_, player.c_str(), &why), kIniWriteError);
    EXPECT_EQ(why, player.string() + refused);
    // The working file: replaced, with owner read and write, and read back.
    why.clear();
    EXPECT_TRUE(WriteFileAtomic(working.string(), "[new/Audio Control]\r\n0x4 = 2\r\n", &why)) << why;
    std::string back;
    EXPECT_TRUE(ReadWholeFile(working.string(), &back, &why)) << why;
    EXPECT_EQ(back, "[new/Audio Control]\r\n0x4 = 2\r\n");
  }
  SetOwnWorkingFile("");
  EXPECT_EQ(mode(script), 0u);
  EXPECT_EQ(mode(player), 0u);
  // Read back with a mode that lets a plain user running the tests read them.
  fs::permissions(script, fs::perms::owner_read);
  fs::permissions(player, fs::perms::owner_read);
  EXPECT_EQ(Slurp(script), "mine\r\n");
  EXPECT_EQ(Slurp(player), "[Default]\r\nPlayDir = /mine\r\n");
  EXPECT_EQ(mode(working), 0600u);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Files(), (std::set<std::string>{"script.txt", "a00.ini", "link.txt", "tempini.dat"}));

  if (geteuid() == 0) {
    // Root can read it back: replaced, its mode kept.
    fs::permissions(script, fs::perms::none);
    ASSERT_TRUE(WriteFileAtomic(script.string(), "0x1 = 5\r\n"));
    EXPECT_EQ(Slurp(script), "0x1 = 5\r\n");
    EXPECT_EQ(mode(script), 0u);
  }
}

TEST_F(IniTest, SortedObjectKeepsNameOrder) {
  IniText sorted = Ini_New(1);
  Ini_PutInt(sorted, "b", "y", 1);
  Ini_PutInt(sorted, "a", "z", 2);
  Ini_PutInt(sorted, "B", "X", 3);
  EXPECT_EQ(Ini_ToString(sorted), "[a]\r\nz = 2\r\n\r\n[b]\r\nX = 3\r\ny = 1\r\n\r\n");
  Ini_Dispose(sorted);
}

// Random and cut-off text never crashes the reader, and what it writes reads back the same.
// Lines the file layout cannot give back are not taken in: section lines with a NUL byte in the
// name or with text after the "]" (their items belong to no section), keys with a NUL byte. A
// byte-order mark opens any line, not only the first, and is not part of it.
TEST_F(IniTest, ReadsOnlyWhatItCanWriteBack) {
  const fs::path file = dir_ / "odd.ini";
  const char text[] =
      "[a]\nx = 1\n[b\0c]\nx = 2\n[d] ; note\nx = 3\nk\0 = 4\n"
      "\xEF\xBB\xBF[e]\r\n\xEF\xBB\xBFy = 5\r\n \xEF\xBB\xBF[f]\nz=6\n";
  Spit(file, std::string(text, sizeof text - 1));
  IniText ini = Ini_New(0);
  ASSERT_EQ(Ini_ReadFromFile(ini, file.c_str()), 0);
  EXPECT_EQ(Ini_ToString(ini), "[a]\r\nx = 1\r\n\r\n[e]\r\ny = 5\r\n\r\n[f]\r\nz = 6\r\n\r\n");
  // Whole names: a name given with more after a NUL byte is not the shorter name.
  EXPECT_EQ(Ini_SectionExists(ini, std::string_view("a\0c", 3)), 0);
  EXPECT_EQ(Ini_RemoveSection(ini, std::string_view("e\0", 2)), 0);
  EXPECT_EQ(Ini_RemoveSection(ini, std::string_view("E ")), 1);
  EXPECT_EQ(Ini_NumberOfSections(ini), 2);
  Ini_RemoveAllSections(ini);
  EXPECT_EQ(Ini_NumberOfSections(ini), 0);
  EXPECT_EQ(Ini_PutInt(ini, "a", "\xEF\xBB\xBFkey", 1), kIniBadArgument);
  Ini_Dispose(ini);
}

TEST_F(IniTest, FuzzedTextIsReadSafelyAndStably) {
  const char* pieces[] = {"[", "]", "=", ";", "\r", "\n", "\r\n", " ", "\t", "a", "B", "0x",
                          "-", "7", "/", "\xEF\xBB\xBF", "\0", "\x80"};
  std::mt19937 rng(20240611);
  auto stable = [](const std::string& text) {
    IniText a = Ini_New(0), b = Ini_New(0);
    EXPECT_EQ(Ini_ReadFromString(a, text), 0);
    const std::string once = Ini_ToString(a);
    Ini_ReadFromString(b, once);
    EXPECT_EQ(Ini_ToString(b), once);
    int v = 0;
    Ini_GetInt(a, "a", "a", &v);
    std::string name;
    Ini_NthSectionName(a, 1, &name);
    Ini_Dispose(a);
    Ini_Dispose(b);
  };
  for (int i = 0; i < 3000; ++i) {
    std::string text;
    const int n = static_cast<int>(rng() % 200);
    for (int j = 0; j < n; ++j) {
      const size_t p = rng() % std::size(pieces);
      text.append(pieces[p], p == 16 ? 1 : std::strlen(pieces[p]));
    }
    stable(text);
  }
  const std::string loose = kLoose;
  for (size_t cut = 0; cut <= loose.size(); ++cut) stable(loose.substr(0, cut));
}

}  // namespace
