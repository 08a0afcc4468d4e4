// The names of the program's temporary files, made and recognised in one place.
//
// Every temporary the program writes (the atomic writer's, the recorder's take and its copy
// beside a save) is named ".<file>.codecbench-tmp-XXXXXX" in the folder of the file it stands
// for, where XXXXXX are mkstemp's six letters and digits: a name no user would choose, so a
// clean-up can tell the program's leftovers from a user's files. Header-only, so every layer
// (the INI layer and the registry store linked into libcheck.so included) shares it without
// linking anything.
#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <string_view>

namespace os {

inline constexpr std::string_view kTempMarker = ".codecbench-tmp-";
inline constexpr size_t kTempRandomLength = 6;

// The mkstemp template of a temporary for `file` (a path): ".<name>.codecbench-tmp-XXXXXX" in
// the same folder.
inline std::string TempTemplate(std::string_view file) {
  const size_t slash = file.rfind('/');
  const size_t nameAt = slash == std::string_view::npos ? 0 : slash + 1;
  std::string t;
  t.reserve(file.size() + 1 + kTempMarker.size() + kTempRandomLength);
  t.append(file.substr(0, nameAt));
  t += '.';
  t.append(file.substr(nameAt));
  t.append(kTempMarker);
  t.append(kTempRandomLength, 'X');
  return t;
}

// Creates a new temporary for `file` (owner-only mode, close-on-exec) and sets *path to its
// name: the open descriptor, or -1 with errno set.
inline int MakeTempFor(std::string_view file, std::string* path) {
  std::string name = TempTemplate(file);
  const int fd = mkostemp(name.data(), O_CLOEXEC);
  if (fd >= 0) *path = std::move(name);
  return fd;
}

// True when `name` (a bare file name) is one TempTemplate makes: for the file named `file`, or
// for any file when `file` is empty.
inline bool IsTempName(std::string_view name, std::string_view file = {}) {
  if (name.size() < 2 + kTempMarker.size() + kTempRandomLength || name.front() != '.') return false;
  const std::string_view random = name.substr(name.size() - kTempRandomLength);
  for (char c : random)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  const std::string_view rest = name.substr(0, name.size() - kTempRandomLength);
  if (rest.size() < kTempMarker.size() || rest.substr(rest.size() - kTempMarker.size()) != kTempMarker) return false;
  const std::string_view stem = rest.substr(1, rest.size() - 1 - kTempMarker.size());
  if (stem.empty() || stem.find('/') != std::string_view::npos) return false;
  return file.empty() || stem == file;
}

// Removes `name` from the folder open as `dirFd` when it is a regular file (never a link, nor
// what a link points to). True when it was removed.
inline bool RemoveTempFile(int dirFd, const char* name) {
  struct stat st {};
  if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) return false;
  return unlinkat(dirFd, name, 0) == 0;
}

}  // namespace os
