// Reading the user's files without ever waiting on them.
//
// A name the user controls may stand for a named pipe, a device or a socket, where an open or
// a read for reading waits for a writer that may never come, and the window would freeze. So a
// user's file is opened without waiting (O_NONBLOCK), the opened descriptor is checked (not the
// name, which may change between a check and an open), and anything but a regular file is
// refused with a reason a popup can quote. What cannot be opened at all (a socket) is looked at
// by its name, so it too is refused for what it is rather than for the open's error.
// A reader also says how large a file of its kind can usefully be: a file far beyond that is
// refused by its size before a byte of it is read, so a stray huge file never holds the window.
// Header-only, so every layer (the INI layer, the sound service, libcheck.so) shares it without
// linking anything.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

namespace os {

// The reason given for a name that stands for something other than a regular file.
inline std::string NotRegularFileText(const std::string& path) { return path + " is not a regular file."; }

// True when `path` (through its links) names something that is there and is not a regular file:
// a folder, a named pipe, a device or a socket, which no reader or writer of a user's file takes.
inline bool NamesOtherThanRegularFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

// Opens `path` for reading: a descriptor of a regular file (close-on-exec, its reads wait as
// usual), or -1 with `why` saying why and errno set (ENOENT or ENOTDIR when there is no such
// file, EINVAL when it is not a regular file).
inline int OpenUserFile(const std::string& path, std::string* why = nullptr) {
  auto fail = [&](int error, std::string text) {
    if (why) *why = std::move(text);
    errno = error;
    return -1;
  };
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    if (NamesOtherThanRegularFile(path)) return fail(EINVAL, NotRegularFileText(path));
    return fail(error, "cannot open " + path + ": " + std::strerror(error));
  }
  struct stat st {};
  if (fstat(fd, &st) != 0) {
    const int error = errno;
    close(fd);
    return fail(error, "cannot open " + path + ": " + std::strerror(error));
  }
  if (!S_ISREG(st.st_mode)) {
    close(fd);
    return fail(EINVAL, NotRegularFileText(path));
  }
  // Non-blocking only kept the open from waiting; a regular file's reads are left as usual.
  const int flags = fcntl(fd, F_GETFL);
  if (flags >= 0) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  return fd;
}

// The most a reader takes of one kind of file, and how a refusal names that kind ("a script
// file"). A file larger than `bytes` is refused unread.
struct SizeLimit {
  uint64_t bytes = 0;
  const char* kind = "a file";
  const char* remedy = nullptr;  // what the user can do when a write would pass the limit
};

// A size as a person reads it: "512 bytes", "4.5 KB", "200 MB" (units of 1024), rounded up so
// that a file just over a limit never reads as within it.
inline std::string SizeText(uint64_t bytes) {
  static const char* const units[] = {"KB", "MB", "GB", "TB"};
  if (bytes < 1024) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
  uint64_t unit = 1024;
  int u = 0;
  while (u < 3 && bytes >= unit * 1024) {
    unit *= 1024;
    ++u;
  }
  char text[64];
  const uint64_t whole = bytes / unit, rest = bytes % unit;
  if (whole >= 100 || rest == 0) {
    std::snprintf(text, sizeof text, "%llu %s", static_cast<unsigned long long>(whole + (rest ? 1 : 0)), units[u]);
  } else {
    // One decimal, rounded up: tenths of the unit ("1.1 MB"; "2 MB" rather than "2.0 MB").
    const uint64_t tenths = whole * 10 + (rest * 10 + unit - 1) / unit;
    const auto whole_part = static_cast<unsigned long long>(tenths / 10);
    if (tenths % 10 == 0)
      std::snprintf(text, sizeof text, "%llu %s", whole_part, units[u]);
    else
      std::snprintf(text, sizeof text, "%llu.%llu %s", whole_part, static_cast<unsigned long long>(tenths % 10), units[u]);
  }
  return text;
}

// The reason given for a file refused by its size: "<path> is 200 MB; a script file is at most
// 1 MB. It was not read."
inline std::string TooLargeText(const std::string& path, uint64_t size, const SizeLimit& limit) {
  return path + " is " + SizeText(size) + "; " + limit.kind + " is at most " + SizeText(limit.bytes) +
         ". It was not read.";
}

// The reason given for a write refused because the file would pass `limit`, so that its readers
// would refuse it: "It would be 8.1 MB; a configuration file is at most 8 MB.", and the remedy.
inline std::string WouldBeTooLargeText(uint64_t size, const SizeLimit& limit) {
  std::string text = "It would be " + SizeText(size) + "; " + limit.kind + " is at most " + SizeText(limit.bytes) + ".";
  if (limit.remedy) text += std::string(" ") + limit.remedy;
  return text;
}

// Reads a whole regular file into `contents`; false when it cannot be opened or read, is not a
// regular file, or is larger than `limit` allows (`contents` unchanged, `why` says why, errno as
// OpenUserFile sets it, EFBIG for a file too large). Without a limit any size is read.
inline bool ReadUserFile(const std::string& path, std::string* contents, std::string* why = nullptr,
                         const SizeLimit* limit = nullptr) {
  const int fd = OpenUserFile(path, why);
  if (fd < 0) return false;
  auto tooLarge = [&](uint64_t size) {
    close(fd);
    if (why) *why = TooLargeText(path, size, *limit);
    errno = EFBIG;
    return false;
  };
  struct stat st {};
  const bool sized = fstat(fd, &st) == 0 && st.st_size > 0;
  // Refused by its size before anything is read.
  if (limit && sized && static_cast<uint64_t>(st.st_size) > limit->bytes) return tooLarge(static_cast<uint64_t>(st.st_size));
  std::string text;
  if (sized) text.reserve(static_cast<size_t>(st.st_size));  // no regrowth
  char buf[65536];
  for (;;) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      const int error = errno;
      if (error == EINTR) continue;
      close(fd);
      if (why) *why = "cannot read " + path + ": " + std::strerror(error);
      errno = error;
      return false;
    }
    text.append(buf, static_cast<size_t>(n));
    // A file that grows while it is read is refused once it passes the limit.
    if (limit && text.size() > limit->bytes) {
      const uint64_t now = fstat(fd, &st) == 0 ? static_cast<uint64_t>(st.st_size) : 0;
      return tooLarge(now > text.size() ? now : text.size());
    }
  }
  close(fd);
  if (contents) *contents = std::move(text);
  return true;
}

}  // namespace os
