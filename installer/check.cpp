// libcheck.so: the installer helper operations over the registry store and profile files.
#include "installer/check.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "oslayer/profile.h"
#include "oslayer/registry_store.h"
#include "oslayer/user_files.h"

namespace {

using os::registry::Root;
using os::registry::Store;

constexpr const char* kTitle = "Check.dll";
constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kUninstallValue = "UninstallString";
constexpr const char* kUninstaller = "UNWISE.EXE";
constexpr const char* kLogName = "INSTALL.LOG";
constexpr const char* kLowestVersion = "00.00.000";

// Buffer sizes in bytes, terminator included.
constexpr size_t kKeyNameSize = 1024;
constexpr size_t kUninstallStringSize = 388;
constexpr size_t kOutDirSize = 388;
constexpr size_t kJoinedPathSize = 260;
constexpr size_t kPieceSize = 8;
constexpr size_t kVersionSize = 17;  // "%s.%s.%s" of pieces of 2, 2 and 3 hex digits

constexpr int E_FAIL = static_cast<int>(0x80004005u);

// Writes "<title>: <text>" to standard error (an installer here has no owner window for a
// message box). Returns 0.
int ShowSystemErrorMessage(void* /*owner*/, const char* title, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", title, text.c_str());
  std::fflush(stderr);
  return 0;
}

std::string StoreFailure(const std::string& what, Root root, const std::string& error) {
  return what + " in the " + os::registry::RootName(root) + " store " +
         os::registry::StorePath(root) + ": " + error;
}

// Runs an export's body; an exception (out of memory) becomes a reported failure, never a
// crash of the installer that called us.
template <typename Body>
int Guarded(void* owner, Body body) {
  try {
    return body();
  } catch (const std::exception& e) {
    return ShowSystemErrorMessage(owner, kTitle, e.what());
  } catch (...) {
    return ShowSystemErrorMessage(owner, kTitle, "unexpected failure");
  }
}

// Copies text with its terminator when it fits `size` bytes.
bool CopyBounded(char* out, size_t size, const std::string& text) {
  if (text.size() >= size) return false;
  std::memcpy(out, text.c_str(), text.size() + 1);
  return true;
}

std::string Slashes(std::string path) {
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

// The installation folder in an uninstall command line "<...>UNWISE.EXE <folder>\INSTALL.LOG":
// from 11 characters after the start of the uninstaller's name up to the separator before the
// first log file name that follows it. False when there is no such folder.
bool FolderOfUninstallString(const std::string& command, std::string* folder) {
  const size_t marker = command.find(kUninstaller);
  if (marker == std::string::npos) return false;
  const size_t start = marker + std::strlen(kUninstaller) + 1;
  if (start > command.size()) return false;
  for (size_t log = command.find(kLogName, marker + std::strlen(kUninstaller)); log != std::string::npos;
       log = command.find(kLogName, log + 1)) {
    const char separator = command[log - 1];
    if (separator != '\\' && separator != '/') continue;
    if (log - 1 < start) return false;
    *folder = Slashes(command.substr(start, log - 1 - start));
    return true;
  }
  return false;
}

// True when `path` is a regular file that opens for reading (never waiting on a named pipe or
// a device in its place).
bool FileOpensForReading(const std::string& path) {
  const int fd = os::OpenUserFile(path);
  if (fd < 0) return false;
  close(fd);
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Each hexadecimal digit d of `piece` becomes the decimal text of 15 - d, appended to `out`
// (kPieceSize bytes). A character that is not a hex digit ends the conversion with E_FAIL,
// keeping what was appended before it.
int ConvertVersionDigits(const char* piece, char* out) {
  size_t used = 0;
  out[0] = '\0';
  for (const char* p = piece; *p != '\0'; ++p) {
    const int d = HexDigit(*p);
    if (d < 0) return E_FAIL;
    char digits[4];
    const int n = std::snprintf(digits, sizeof digits, "%d", 15 - d);
    if (used + static_cast<size_t>(n) >= kPieceSize) return E_FAIL;
    std::memcpy(out + used, digits, static_cast<size_t>(n) + 1);
    used += static_cast<size_t>(n);
  }
  return 0;
}

// Formats a raw version text of exactly 12 characters "AA.BB.CCC.DD" as "a.b.c" of its first
// three converted pieces into `out` (kVersionSize bytes). E_FAIL for any other length.
int FormatVersionString(const char* raw, char* out) {
  if (std::strlen(raw) != 12) return E_FAIL;
  char text[13];
  std::memcpy(text, raw, sizeof text);
  text[2] = text[5] = text[9] = '\0';
  char pieces[4][kPieceSize];
  const int starts[4] = {0, 3, 6, 10};
  for (int i = 0; i < 4; ++i) ConvertVersionDigits(text + starts[i], pieces[i]);  // partial pieces count
  char joined[3 * kPieceSize];
  std::snprintf(joined, sizeof joined, "%s.%s.%s", pieces[0], pieces[1], pieces[2]);
  return CopyBounded(out, kVersionSize, joined) ? 0 : E_FAIL;
}

// The three numbers of a formatted version (an empty piece counts as 0).
struct Version {
  unsigned long part[3] = {0, 0, 0};
  bool operator>(const Version& o) const {
    for (int i = 0; i < 3; ++i)
      if (part[i] != o.part[i]) return part[i] > o.part[i];
    return false;
  }
};

Version ParseVersion(const char* formatted) {
  Version v;
  const char* p = formatted;
  for (int i = 0; i < 3 && p != nullptr; ++i) {
    v.part[i] = std::strtoul(p, nullptr, 10);
    p = std::strchr(p, '.');
    if (p != nullptr) ++p;
  }
  return v;
}

// The machine root's uninstall entries as one read of its file found them.
struct UninstallEntries {
  std::shared_ptr<const Store> machine;
  bool keyExists = false;
  std::vector<std::string> names;
};

// The machine root's uninstall entries; null (error box shown) when the key cannot be opened.
// While the machine store's file is unchanged its kept read comes back, and so does its listing:
// an installer calling SearchWiseInstalledApplication index after index reads and lists the
// entries once, not once per call.
std::shared_ptr<const UninstallEntries> OpenUninstallEntries(void* owner) {
  static std::mutex mutex;
  static std::shared_ptr<const UninstallEntries> listed;
  std::string error;
  std::shared_ptr<const Store> machine = os::registry::ReadRootKept(Root::Machine, &error);
  std::shared_ptr<const UninstallEntries> entries;
  if (machine != nullptr) {
    std::lock_guard<std::mutex> lock(mutex);
    if (listed == nullptr || listed->machine != machine) {
      auto fresh = std::make_shared<UninstallEntries>();
      fresh->machine = machine;
      fresh->keyExists = machine->KeyExists(kUninstallKey);
      if (fresh->keyExists) fresh->names = machine->SubKeys(kUninstallKey);
      listed = std::move(fresh);
    }
    entries = listed;
    if (!entries->keyExists) error = "the key does not exist";
  }
  if (!error.empty()) {
    const std::string what = std::string("cannot open the key ") + kUninstallKey;
    ShowSystemErrorMessage(owner, kTitle, StoreFailure(what, Root::Machine, error));
    return nullptr;
  }
  return entries;
}

// Goes on through the entries from *enumIndex: 1 with the folder in outDir at the next entry
// whose folder holds fileName, 0 at the end.
int NextInstalled(const UninstallEntries& entries, int* enumIndex, const char* keyPart, const char* fileName,
                  char* outDir) {
  const std::string wanted = Slashes(fileName);
  for (;;) {
    const int index = *enumIndex;
    if (index < 0 || index == INT_MAX) return 0;
    *enumIndex = index + 1;
    if (static_cast<size_t>(index) >= entries.names.size()) return 0;

    const std::string& name = entries.names[static_cast<size_t>(index)];
    if (name.size() >= kKeyNameSize || name.find(keyPart) == std::string::npos) continue;
    std::string command, folder;
    if (!entries.machine->GetValue(std::string(kUninstallKey) + "\\" + name, kUninstallValue, &command) ||
        command.size() >= kUninstallStringSize || !FolderOfUninstallString(command, &folder) ||
        !CopyBounded(outDir, kOutDirSize, folder))
      continue;
    const std::string joined = folder + "/" + wanted;
    if (joined.size() >= kJoinedPathSize) continue;
    if (FileOpensForReading(joined)) return 1;
  }
}

int SearchInstalled(void* owner, int* enumIndex, const char* keyPart, const char* fileName, char* outDir) {
  if (enumIndex == nullptr || keyPart == nullptr || fileName == nullptr || outDir == nullptr)
    return ShowSystemErrorMessage(owner, kTitle, "SearchWiseInstalledApplication: an argument is NULL");
  const std::shared_ptr<const UninstallEntries> entries = OpenUninstallEntries(owner);
  if (entries == nullptr) return 0;
  return NextInstalled(*entries, enumIndex, keyPart, fileName, outDir);
}

int SearchNewestEnvironment(void* owner, const char* keyPart, char* outDir, char* outVersion) {
  if (keyPart == nullptr || outDir == nullptr || outVersion == nullptr)
    return ShowSystemErrorMessage(owner, kTitle, "SearchLastVorpPath: an argument is NULL");
  CopyBounded(outVersion, kVersionSize, kLowestVersion);
  outDir[0] = '\0';
  Version best = ParseVersion(kLowestVersion);
  char folder[kOutDirSize];
  // One reading of the entries for the whole walk, which goes on from each match as repeated
  // SearchWiseInstalledApplication calls would.
  const std::shared_ptr<const UninstallEntries> entries = OpenUninstallEntries(nullptr);
  if (entries == nullptr) return 0;
  int index = 0;
  while (NextInstalled(*entries, &index, keyPart, "Bin\\Vorp.exe", folder) == 1) {
    const std::string raw = os::GetPrivateProfileString(std::string(folder) + "/Bin/Vorp.cfg", "IDESystem",
                                                        "SDSVersion", "None");
    char formatted[kVersionSize];
    if (FormatVersionString(raw.c_str(), formatted) != 0) continue;
    const Version v = ParseVersion(formatted);
    if (v > best) {
      best = v;
      CopyBounded(outVersion, kVersionSize, formatted);
      CopyBounded(outDir, kOutDirSize, folder);
    }
  }
  return best > ParseVersion(kLowestVersion) ? 1 : 0;
}

int CreateKey(void* owner, const char* subKey) {
  const std::string path = subKey != nullptr ? subKey : "";
  std::string error;
  const bool ok = os::registry::UpdateRoot(
      Root::User, [&](Store& store, std::string* why) { return store.CreateKey(path, why); }, &error);
  if (ok) return 1;
  const std::string what = "cannot create the key \"" + path + "\"";
  return ShowSystemErrorMessage(owner, kTitle, StoreFailure(what, Root::User, error));
}

int SetStringValue(void* owner, const char* subKey, const char* key, const char* valueName, const char* value) {
  if (value == nullptr) return ShowSystemErrorMessage(owner, kTitle, "AddKeyValueToRegistry: no value given");
  const std::string outer = subKey != nullptr ? subKey : "";
  const std::string name = valueName != nullptr ? valueName : "";
  std::string error;
  // The key must exist, and so must key below it when given: keys are not created here.
  auto write = [&](Store& store, std::string* why) {
    auto missing = [&](const std::string& path) {
      if (store.KeyExists(path)) return false;
      *why = "the key \"" + path + "\" does not exist";
      return true;
    };
    if (missing(outer)) return false;
    const std::string path = key != nullptr ? outer + "\\" + key : outer;
    return !missing(path) && store.SetValue(path, name, value, why);
  };
  if (os::registry::UpdateRoot(Root::User, write, &error)) return 1;
  const std::string what = "cannot write the value \"" + name + "\"";
  return ShowSystemErrorMessage(owner, kTitle, StoreFailure(what, Root::User, error));
}

}  // namespace

CHECK_API int SearchWiseInstalledApplication(void* owner, int* enumIndex, const char* keyPart,
                                             const char* fileName, char* outDir) {
  return Guarded(owner, [&] { return SearchInstalled(owner, enumIndex, keyPart, fileName, outDir); });
}

CHECK_API int SearchLastVorpPath(void* owner, const char* keyPart, char* outDir, char* outVersion) {
  return Guarded(owner, [&] { return SearchNewestEnvironment(owner, keyPart, outDir, outVersion); });
}

CHECK_API int CreateRegistry(void* owner, const char* subKey) {
  return Guarded(owner, [&] { return CreateKey(owner, subKey); });
}

CHECK_API int AddKeyValueToRegistry(void* owner, const char* subKey, const char* key,
                                    const char* valueName, const char* value) {
  return Guarded(owner, [&] { return SetStringValue(owner, subKey, key, valueName, value); });
}
