// The names of the program's temporary files, made and recognised in one place.
//
// Every temporary the program writes (the atomic writer's, the recorder's take and its copy
// beside a save) is named ".<file>.codecbench-tmp-XXXXXX" in the folder of the file it stands
// for, where XXXXXX are six random letters and digits: a name no user would choose, so a
// clean-up can tell the program's leftovers from a user's files.
//
// A temporary is live while its writer holds an exclusive flock on it: the writer takes the
// lock before the file has any permission bits (it is created with mode 0) and keeps its
// descriptor open until the temporary is renamed into place or deleted. So a temporary of ours
// that has permission bits and can be locked by someone else has no writer left, and only such
// a file is ever removed by a clean-up. Header-only, so every layer (the INI layer and the
// registry store linked into libcheck.so included) shares it without linking anything.
#pragma once

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

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

// Creates a new temporary for `file` and sets *path to its name: the open descriptor, locked
// (flock, exclusive) and owner-only, or -1 with errno set. The temporary is live as long as
// this descriptor stays open: close it only after the temporary was renamed or deleted.
inline int MakeTempFor(std::string_view file, std::string* path) {
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string name = TempTemplate(file);
  const size_t at = name.size() - kTempRandomLength;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    unsigned char bytes[kTempRandomLength];
    if (getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
      timespec now {};
      clock_gettime(CLOCK_REALTIME, &now);
      unsigned long long x = static_cast<unsigned long long>(now.tv_nsec) ^
                             (static_cast<unsigned long long>(getpid()) << 32) ^
                             (static_cast<unsigned long long>(attempt) * 0x9E3779B97F4A7C15ull);
      for (unsigned char& b : bytes) {
        x ^= x >> 29;
        x *= 0xBF58476D1CE4E5B9ull;
        b = static_cast<unsigned char>(x >> 56);
      }
    }
    for (size_t i = 0; i < kTempRandomLength; ++i) name[at + i] = kChars[bytes[i] % (sizeof kChars - 1)];
    // Mode 0 until the lock is held: a clean-up never takes a file without permission bits.
    const int fd = open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return -1;
    }
    int locked;
    while ((locked = flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (locked != 0 || fchmod(fd, S_IRUSR | S_IWUSR) != 0) {
      const int err = errno;
      unlink(name.c_str());
      close(fd);
      errno = err;
      return -1;
    }
    *path = std::move(name);
    return fd;
  }
  errno = EEXIST;
  return -1;
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

// Removes the temporary `name` from the folder open as `dirFd` when it provably has no writer
// left: a regular file (never a link, nor what a link points to) of the current user, with
// permission bits (so its writer had locked it), that this call can lock itself, and that the
// name still names once locked. True when it was removed.
inline bool RemoveDeadTempFile(int dirFd, const char* name) {
  struct stat seen {};
  if (fstatat(dirFd, name, &seen, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(seen.st_mode) || seen.st_uid != geteuid())
    return false;
  const int fd = openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  bool removed = false;
  struct stat held {}, now {};
  if (fstat(fd, &held) == 0 && held.st_dev == seen.st_dev && held.st_ino == seen.st_ino &&
      flock(fd, LOCK_EX | LOCK_NB) == 0 && fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
      held.st_uid == geteuid() && (held.st_mode & 07777) != 0 && held.st_nlink > 0 &&
      fstatat(dirFd, name, &now, AT_SYMLINK_NOFOLLOW) == 0 && now.st_dev == held.st_dev && now.st_ino == held.st_ino)
    removed = unlinkat(dirFd, name, 0) == 0;
  close(fd);  // the lock ends with it
  return removed;
}

}  // namespace os
