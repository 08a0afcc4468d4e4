// Reading the user's files without ever waiting on them.
//
// A name the user controls may stand for a named pipe, a device or a socket, where an open or
// a read for reading waits for a writer that may never come, and the window would freeze. So a
// user's file is opened without waiting (O_NONBLOCK), the opened descriptor is checked (not the
// name, which may change between a check and an open), and anything but a regular file is
// refused with a reason a popup can quote. What cannot be opened at all (a socket) is looked at
// by its name, so it too is refused for what it is rather than for the open's error.
// Header-only, so every layer (the INI layer, the sound service, libcheck.so) shares it without
// linking anything.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

// Reads a whole regular file into `contents`; false when it cannot be opened or read, or is
// not a regular file (`contents` unchanged, `why` says why, errno as OpenUserFile sets it).
inline bool ReadUserFile(const std::string& path, std::string* contents, std::string* why = nullptr) {
  const int fd = OpenUserFile(path, why);
  if (fd < 0) return false;
  struct stat st {};
  std::string text;
  if (fstat(fd, &st) == 0 && st.st_size > 0) text.reserve(static_cast<size_t>(st.st_size));  // no regrowth
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
  }
  close(fd);
  if (contents) *contents = std::move(text);
  return true;
}

}  // namespace os
