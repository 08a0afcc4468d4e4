// The program's temporary files, made, finished and recognised in one place.
//
// Every temporary the program writes (the atomic writer's, the recorder's take and its copy
// beside a save) is named ".<file>.codecbench-tmp-XXXXXX" in the folder of the file it stands
// for, where XXXXXX are six random letters and digits: a name no user would choose, so a
// clean-up can tell the program's leftovers from a user's files.
//
// A temporary is live while its writer holds an exclusive flock on it: the writer takes the
// lock before the file has any permission bits (it is created with mode 0) and keeps its
// descriptor open until the temporary is renamed into place or deleted. The descriptor is not
// handed on to a process the writer forks (a sound library's helper, say), so the lock ends
// with the writer. So a temporary of ours that has permission bits and can be locked by
// someone else has no writer left; so has one that never got its bits (its writer died
// between creating and locking it) once it is empty and minutes old. Only such files are ever
// removed by a clean-up. Just before the rename a temporary takes the mode the file it
// replaces had, or a new file's mode. Header-only, so every layer (the INI layer and the
// registry store linked into libcheck.so included) shares it without linking anything.
#pragma once

#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace os {

inline constexpr std::string_view kTempMarker = ".codecbench-tmp-";
inline constexpr size_t kTempRandomLength = 6;
// How old an empty temporary without permission bits must be before a clean-up takes it for
// dead: a live writer holds it that way only for the moment between creating and locking it.
inline constexpr time_t kNeverLockedTempAge = 5 * 60;

namespace temp_detail {

// The descriptors of this process's live temporaries. A child forked while one is open (a
// library's helper process that never runs exec) gets /dev/null in its place, so the child
// does not keep the writer's lock after the writer died. Only fork() runs the handlers; a
// child that runs exec loses the descriptors anyway, they are close-on-exec.
class LiveTemps {
public:
  static LiveTemps& Get() {
    static LiveTemps* live = new LiveTemps;  // never destroyed: the fork handlers may outlive exit's clean-up
    return *live;
  }
  std::mutex m;  // held over a temporary's creation and its closing, and over a fork
  std::vector<int> fds;

private:
  LiveTemps() { pthread_atfork(&Prepare, &Parent, &Child); }
  static void Prepare() { Get().m.lock(); }
  static void Parent() { Get().m.unlock(); }
  static void Child() {
    LiveTemps& live = Get();
    const int null = open("/dev/null", O_RDWR | O_CLOEXEC);
    for (int fd : live.fds) {
      // The number stays taken, so code of the child that still closes it closes nothing else.
      if (null < 0 || dup3(null, fd, O_CLOEXEC) < 0) close(fd);
    }
    if (null >= 0) close(null);
    live.fds.clear();
    live.m.unlock();
  }
};

}  // namespace temp_detail

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

// Closes the descriptor of a temporary made by MakeTempFor, which ends its lock: only once the
// temporary was renamed into place or deleted.
inline void CloseTemp(int fd) {
  if (fd < 0) return;
  temp_detail::LiveTemps& live = temp_detail::LiveTemps::Get();
  std::lock_guard<std::mutex> hold(live.m);
  for (size_t i = 0; i < live.fds.size(); ++i) {
    if (live.fds[i] == fd) {
      live.fds[i] = live.fds.back();
      live.fds.pop_back();
      break;
    }
  }
  close(fd);
}

// Creates a new temporary for `file` and sets *path to its name: the open descriptor, locked
// (flock, exclusive) and owner-only, or -1 with errno set. The temporary is live as long as
// this descriptor stays open: close it with CloseTemp, only after the temporary was renamed or
// deleted.
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
    // Mode 0 until the lock is held: a clean-up takes a file without permission bits only
    // once it is empty and minutes old. Created and listed as live in one step, so a fork
    // meanwhile never hands the descriptor on.
    temp_detail::LiveTemps& live = temp_detail::LiveTemps::Get();
    int fd;
    {
      std::lock_guard<std::mutex> hold(live.m);
      fd = open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0);
      if (fd >= 0) live.fds.push_back(fd);
    }
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
      CloseTemp(fd);
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

// The file a writer that renames a temporary into place must replace for `path`: `path`
// itself, or, when it is a symbolic link, the file the link leads to (through every link on
// the way, whether that file exists yet or not). So a save goes through the user's link, as
// writing into the file would, and the link stays. Every such writer asks here. Empty, with
// errno set, when the links cannot be followed (ELOOP when they go round).
inline std::string WriteTargetOf(const std::string& path) {
  std::string target = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
    char link[PATH_MAX];
    const ssize_t n = readlink(target.c_str(), link, sizeof link);
    if (n < 0) {
      if (errno == EINVAL) continue;  // no longer a link: look again
      return {};
    }
    if (n == 0) {
      errno = ENOENT;
      return {};
    }
    if (n == static_cast<ssize_t>(sizeof link)) {
      errno = ENAMETOOLONG;
      return {};
    }
    const std::string_view to(link, static_cast<size_t>(n));
    const size_t slash = target.rfind('/');
    if (to.front() == '/' || slash == std::string::npos)
      target.assign(to);
    else
      target = target.substr(0, slash + 1).append(to);
  }
  errno = ELOOP;
  return {};
}

// The mode the user's umask gives a new file: 0666 less the umask, read without changing it.
// Where it cannot be read, owner-only, which shows the file to no one the user did not mean.
inline mode_t NewFileMode() {
  mode_t mask = 077;
  const int fd = open("/proc/self/status", O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd >= 0) {
    char text[8192];
    size_t have = 0;
    for (;;) {
      const ssize_t n = read(fd, text + have, sizeof text - 1 - have);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      have += static_cast<size_t>(n);
      if (have == sizeof text - 1) break;
    }
    close(fd);
    text[have] = '\0';
    const std::string_view status(text, have);
    const size_t at = status.find("\nUmask:");
    if (at != std::string_view::npos) {
      char* end = nullptr;
      const unsigned long value = std::strtoul(text + at + 7, &end, 8);
      if (end != text + at + 7) mask = static_cast<mode_t>(value & 0777);
    }
  }
  return 0666 & ~mask;
}

// Gives the temporary open as `fd` the mode of the file its rename is about to replace,
// `target`, with that file's owner and group where the process may give them; when `target`
// names no regular file (none yet), a new file's mode. Every writer calls it after its last
// write, just before the rename. Best effort: a change that fails leaves the temporary
// owner-only, which loses nothing.
inline void TakeFinalMode(int fd, const char* target) {
  struct stat old {};
  [[maybe_unused]] int ignored = 0;
  if (lstat(target, &old) == 0 && S_ISREG(old.st_mode)) {
    ignored = fchown(fd, old.st_uid, old.st_gid);  // before the mode: a change of owner drops set-id bits
    ignored = fchmod(fd, old.st_mode & 07777);
  } else {
    ignored = fchmod(fd, NewFileMode());
  }
}

// 0 when the user can read `target` (a regular file by a check just made) or it is no longer
// there; else why not (EACCES, EPERM). Asked by a real open, which weighs the mode, access lists
// and the right to override modes (root reads a file of mode 000) as any later read will.
inline int ReadBackError(const char* target) {
  const int fd = open(target, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd >= 0) {
    close(fd);
    return 0;
  }
  return errno == EACCES || errno == EPERM ? errno : 0;
}

// Why a writer leaves `path`, a file the user cannot read, as it is: the file replacing it
// would take its mode, and could not be read back either.
inline std::string UnreadableFileText(const std::string& path, int error) {
  return path + " cannot be read (" + std::strerror(error) + "), so it is not replaced.";
}

// Gives the temporary open as `fd`, once it has its final mode, owner read and write where the
// writer is its owner: for a file the program must read back whatever mode it had.
inline void KeepOwnerReadable(int fd) {
  struct stat st {};
  if (fstat(fd, &st) == 0 && st.st_uid == geteuid() && (st.st_mode & (S_IRUSR | S_IWUSR)) != (S_IRUSR | S_IWUSR)) {
    [[maybe_unused]] int ignored = fchmod(fd, (st.st_mode & 07777) | S_IRUSR | S_IWUSR);
  }
}

// Makes a live temporary whose rename failed the writer's own and owner-only again, as it was
// before TakeFinalMode.
inline void KeepTempOwnerOnly(int fd) {
  [[maybe_unused]] int ignored = fchown(fd, geteuid(), getegid());
  ignored = fchmod(fd, S_IRUSR | S_IWUSR);
}

namespace temp_detail {

inline bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// An empty temporary without permission bits, last changed more than kNeverLockedTempAge ago
// by its modification time: its writer died between creating and locking it.
inline bool NeverLocked(const struct stat& st) {
  timespec now {};
  clock_gettime(CLOCK_REALTIME, &now);
  return S_ISREG(st.st_mode) && st.st_size == 0 && now.tv_sec - st.st_mtim.tv_sec > kNeverLockedTempAge;
}

// Opens, for reading, the file without permission bits `name` in the folder open as `dirFd`,
// which must still be the file `seen`: its owner gives it owner-read first (a process with
// the right to override file modes opens it without that). -1 when it cannot.
inline int OpenWithoutBits(int dirFd, const char* name, const struct stat& seen) {
  const int fd = openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd >= 0 || errno != EACCES) return fd;
  // Through a descriptor that names the file itself, so the change reaches this file only.
  const int path = openat(dirFd, name, O_PATH | O_NOFOLLOW | O_CLOEXEC);
  if (path < 0) return -1;
  int opened = -1;
  char self[40];
  std::snprintf(self, sizeof self, "/proc/self/fd/%d", path);
  struct stat st {};
  if (fstat(path, &st) == 0 && S_ISREG(st.st_mode) && SameFile(st, seen) && (st.st_mode & 07777) == 0 &&
      chmod(self, S_IRUSR) == 0)
    opened = open(self, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  close(path);
  return opened;
}

}  // namespace temp_detail

// Removes the temporary `name` from the folder open as `dirFd` when it provably has no writer
// left: a regular file (never a link, nor what a link points to) of the current user that
// this call can lock itself and that the name still names once locked, and which either has
// permission bits (so its writer had locked it) or never got them and is empty and older than
// kNeverLockedTempAge (its writer died before locking it; one that gets owner-read to be
// opened keeps it should it prove live after all). True when it was removed.
inline bool RemoveDeadTempFile(int dirFd, const char* name) {
  struct stat seen {};
  if (fstatat(dirFd, name, &seen, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(seen.st_mode) || seen.st_uid != geteuid())
    return false;
  const bool withoutBits = (seen.st_mode & 07777) == 0;
  if (withoutBits && !temp_detail::NeverLocked(seen)) return false;
  const int fd = withoutBits ? temp_detail::OpenWithoutBits(dirFd, name, seen)
                             : openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  bool removed = false;
  struct stat held {}, now {};
  if (fstat(fd, &held) == 0 && temp_detail::SameFile(held, seen) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
      fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_uid == geteuid() && held.st_nlink > 0 &&
      (withoutBits ? temp_detail::NeverLocked(held) : (held.st_mode & 07777) != 0) &&
      fstatat(dirFd, name, &now, AT_SYMLINK_NOFOLLOW) == 0 && temp_detail::SameFile(now, held))
    removed = unlinkat(dirFd, name, 0) == 0;
  close(fd);  // the lock ends with it
  return removed;
}

}  // namespace os
