// The registry store: parsing and writing the file format, key lookup, locked updates.
#include "oslayer/registry_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <unordered_set>

#include "oslayer/user_files.h"
#include "runtime/inifile.h"

namespace os::registry {

namespace {

constexpr const char* kStoreFolder = "/codecbench/registry/";

// Key paths and value names match as INI names do: without regard to ASCII case.
bool SameName(std::string_view a, std::string_view b) { return rt::IniNamesEqual(a, b); }

// The path with empty levels dropped: "\a\\b\" -> "a\b".
std::string Canonical(std::string_view path) {
  std::string out;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) {
      if (!out.empty()) out += '\\';
      out.append(path.substr(start, end - start));
    }
    start = end + 1;
  }
  return out;
}

// True when `path` lies strictly below `parent` (both canonical); *rest is what follows.
bool IsBelow(std::string_view path, std::string_view parent, std::string_view* rest) {
  if (parent.empty()) {
    if (path.empty()) return false;
    *rest = path;
    return true;
  }
  if (path.size() <= parent.size() + 1 || path[parent.size()] != '\\') return false;
  if (!SameName(path.substr(0, parent.size()), parent)) return false;
  *rest = path.substr(parent.size() + 1);
  return true;
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

void AppendQuoted(std::string* out, std::string_view text) {
  *out += '"';
  for (char c : text) {
    switch (c) {
      case '\\': *out += "\\\\"; break;
      case '"': *out += "\\\""; break;
      case '\n': *out += "\\n"; break;
      case '\r': *out += "\\r"; break;
      default: *out += c;
    }
  }
  *out += '"';
}

// Reads a quoted text at the start of *s into *out and removes it from *s.
bool TakeQuoted(std::string_view* s, std::string* out) {
  if (s->empty() || s->front() != '"') return false;
  out->clear();
  for (size_t i = 1; i < s->size(); ++i) {
    const char c = (*s)[i];
    if (c == '"') {
      s->remove_prefix(i + 1);
      return true;
    }
    if (c != '\\') {
      *out += c;
      continue;
    }
    if (++i == s->size()) return false;
    switch ((*s)[i]) {
      case '\\': *out += '\\'; break;
      case '"': *out += '"'; break;
      case 'n': *out += '\n'; break;
      case 'r': *out += '\r'; break;
      default: return false;
    }
  }
  return false;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::string ErrnoText(const std::string& what) { return what + ": " + std::strerror(errno); }

std::string HomeDir() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') return home;
  if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) return pw->pw_dir;
  return "/";
}

// An environment variable holding an absolute path, else empty.
std::string AbsoluteEnv(const char* name) {
  const char* v = std::getenv(name);
  return (v != nullptr && v[0] == '/') ? std::string(v) : std::string();
}

// Creates the folders leading to `file`.
bool MakeParentDirs(const std::string& file, std::string* error) {
  for (size_t slash = file.find('/', 1); slash != std::string::npos; slash = file.find('/', slash + 1)) {
    const std::string dir = file.substr(0, slash);
    if (mkdir(dir.c_str(), 0755) == 0) continue;
    struct stat st {};
    if (errno == EEXIST && stat(dir.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) errno = ENOTDIR;
    else if (errno == EEXIST) continue;
    *error = ErrnoText("cannot create the folder " + dir);
    return false;
  }
  return true;
}

// The largest store read. A store holds a few keys for each installed program, a few KB; 4 MB
// is far beyond anything installers put there, and a larger file is refused unread rather than
// parsed at every look-up.
constexpr os::SizeLimit kStoreFileLimit{4u << 20, "a registry store file"};

bool ReadFile(const std::string& path, Store* store, std::string* error) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 && errno == ENOENT) {
    *store = Store();
    return true;
  }
  std::string text;
  if (!rt::ReadWholeFile(path, &text, error, &kStoreFileLimit)) return false;
  std::string why;
  if (!store->Parse(text, &why)) {
    *error = path + ": " + why;
    return false;
  }
  return true;
}

// What tells one version of a file from another without reading it.
struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{}, changed{};
  bool operator==(const FileStamp& o) const {
    auto same = [](const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; };
    return device == o.device && inode == o.inode && size == o.size && same(modified, o.modified) &&
           same(changed, o.changed);
  }
};

bool StampOf(const std::string& path, FileStamp* stamp) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  *stamp = FileStamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
  return true;
}

bool Earlier(const timespec& a, const timespec& b) {
  return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// True when no later change can leave the file with this stamp: its last change lies before the
// clock tick the read began in (file times come from the same coarse clock), so any later change
// carries a later time. A file system that keeps whole seconds (a time without a fraction) may
// round a later change down to the same time, so there the change must lie two seconds back.
bool Settled(const FileStamp& stamp, timespec readStart) {
  const timespec& last = Earlier(stamp.changed, stamp.modified) ? stamp.modified : stamp.changed;
  if (last.tv_nsec == 0) readStart.tv_sec -= 2;
  return Earlier(last, readStart);
}

// The kept read of one root (see ReadRootKept).
struct KeptRead {
  std::mutex mutex;
  std::string path;
  FileStamp stamp;
  std::shared_ptr<const Store> store;
};

KeptRead& Kept(Root root) {
  static KeptRead kept[2];
  return kept[root == Root::Machine ? 0 : 1];
}

}  // namespace

const char* RootName(Root root) { return root == Root::Machine ? "machine" : "user"; }

std::string StorePath(Root root) {
  if (root == Root::User) {
    if (std::string p = AbsoluteEnv("CODECBENCH_REGISTRY_USER"); !p.empty()) return p;
    std::string base = AbsoluteEnv("XDG_CONFIG_HOME");
    if (base.empty()) base = HomeDir() + "/.config";
    return base + kStoreFolder + "user.reg";
  }
  if (std::string p = AbsoluteEnv("CODECBENCH_REGISTRY_MACHINE"); !p.empty()) return p;
  const char* dirs = std::getenv("XDG_CONFIG_DIRS");
  std::string_view list = (dirs != nullptr && dirs[0] != '\0') ? dirs : "/etc/xdg";
  std::string first;
  while (!list.empty()) {
    const size_t colon = list.find(':');
    const std::string_view dir = list.substr(0, colon);
    list.remove_prefix(colon == std::string_view::npos ? list.size() : colon + 1);
    if (dir.empty() || dir.front() != '/') continue;  // relative entries are not used
    const std::string candidate = std::string(dir) + kStoreFolder + "machine.reg";
    if (access(candidate.c_str(), F_OK) == 0) return candidate;
    if (first.empty()) first = candidate;
  }
  return first.empty() ? std::string("/etc/xdg") + kStoreFolder + "machine.reg" : first;
}

// ---- Store -------------------------------------------------------------------------------

Store::Key* Store::FindKey(std::string_view canonicalPath) {
  const auto it = index_.find(rt::IniFoldedName(canonicalPath));
  return it == index_.end() ? nullptr : &keys_[it->second];
}

Store::Key& Store::AddKey(std::string path) {
  index_.emplace(rt::IniFoldedName(path), keys_.size());
  return keys_.emplace_back(Key{std::move(path), {}});
}

const Store::Key* Store::FindKey(std::string_view canonicalPath) const {
  return const_cast<Store*>(this)->FindKey(canonicalPath);
}

std::string Store::StoredSpelling(const std::string& canonicalPath) const {
  std::string_view rest;
  for (const Key& k : keys_) {
    if (SameName(k.path, canonicalPath)) return k.path;
    if (IsBelow(k.path, canonicalPath, &rest)) return k.path.substr(0, canonicalPath.size());
  }
  return canonicalPath;
}

bool Store::Parse(std::string_view text, std::string* error) {
  Store parsed;
  Key* current = nullptr;
  int lineNo = 0;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  while (!text.empty()) {
    ++lineNo;
    const size_t eol = text.find('\n');
    std::string_view line = TrimBlanks(text.substr(0, eol));
    text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    auto damaged = [&](const char* why) {
      *error = "line " + std::to_string(lineNo) + ": " + why;
      return false;
    };
    if (line.front() == '[') {
      if (line.back() != ']') return damaged("a key line must end with \"]\"");
      const std::string path = Canonical(line.substr(1, line.size() - 2));
      current = parsed.FindKey(path);
      if (current == nullptr) current = &parsed.AddKey(path);
      continue;
    }
    if (current == nullptr) return damaged("a value before the first key");
    std::string name, data;
    if (!TakeQuoted(&line, &name)) return damaged("expected a quoted value name");
    line = TrimBlanks(line);
    if (line.empty() || line.front() != '=') return damaged("expected \"=\" after the value name");
    line = TrimBlanks(line.substr(1));
    if (!TakeQuoted(&line, &data) || !TrimBlanks(line).empty())
      return damaged("expected a quoted value after \"=\"");
    bool replaced = false;
    for (Value& v : current->values)
      if (SameName(v.name, name)) {
        v.data = data;
        replaced = true;
      }
    if (!replaced) current->values.push_back(Value{name, data});
  }
  *this = std::move(parsed);
  return true;
}

std::string Store::ToText() const {
  std::string out;
  for (const Key& k : keys_) {
    out += '[';
    out += k.path;
    out += "]\n";
    for (const Value& v : k.values) {
      AppendQuoted(&out, v.name);
      out += '=';
      AppendQuoted(&out, v.data);
      out += '\n';
    }
    out += '\n';
  }
  return out;
}

bool Store::KeyExists(std::string_view path) const {
  const std::string p = Canonical(path);
  if (p.empty()) return true;
  std::string_view rest;
  for (const Key& k : keys_)
    if (SameName(k.path, p) || IsBelow(k.path, p, &rest)) return true;
  return false;
}

std::vector<std::string> Store::SubKeys(std::string_view path) const {
  const std::string p = Canonical(path);
  std::vector<std::string> names;
  std::unordered_set<std::string> seen;  // folded names
  std::string_view rest;
  for (const Key& k : keys_) {
    if (!IsBelow(k.path, p, &rest)) continue;
    const std::string_view name = rest.substr(0, rest.find('\\'));
    if (seen.insert(rt::IniFoldedName(name)).second) names.emplace_back(name);
  }
  return names;
}

bool Store::GetValue(std::string_view path, std::string_view name, std::string* value) const {
  const Key* k = FindKey(Canonical(path));
  if (k == nullptr) return false;
  for (const Value& v : k->values)
    if (SameName(v.name, name)) {
      *value = v.data;
      return true;
    }
  return false;
}

bool Store::CreateKey(std::string_view path, std::string* error) {
  if (HasLineBreak(path)) {
    *error = "a key name cannot hold a line break";
    return false;
  }
  // Every level gets its own entry, so each shows in the file as created; levels that exist
  // keep their spelling.
  const std::string p = Canonical(path);
  std::string level;
  for (size_t start = 0; start < p.size();) {
    size_t end = p.find('\\', start);
    if (end == std::string::npos) end = p.size();
    if (!level.empty()) level += '\\';
    level = StoredSpelling(level + p.substr(start, end - start));
    if (FindKey(level) == nullptr) AddKey(level);
    start = end + 1;
  }
  return true;
}

bool Store::SetValue(std::string_view path, std::string_view name, std::string_view value,
                     std::string* error) {
  if (!KeyExists(path)) {
    *error = "the key \"" + Canonical(path) + "\" does not exist";
    return false;
  }
  if (HasLineBreak(name)) {
    *error = "a value name cannot hold a line break";
    return false;
  }
  const std::string p = StoredSpelling(Canonical(path));
  Key* k = FindKey(p);
  if (k == nullptr) k = &AddKey(p);  // implied by a key below it
  for (Value& v : k->values)
    if (SameName(v.name, name)) {
      v.data.assign(value);
      return true;
    }
  k->values.push_back(Value{std::string(name), std::string(value)});
  return true;
}

// ---- files -------------------------------------------------------------------------------

bool ReadRoot(Root root, Store* store, std::string* error) {
  return ReadFile(StorePath(root), store, error);
}

std::shared_ptr<const Store> ReadRootKept(Root root, std::string* error) {
  const std::string path = StorePath(root);
  KeptRead& kept = Kept(root);
  std::lock_guard<std::mutex> lock(kept.mutex);
  timespec readStart{};
  clock_gettime(CLOCK_REALTIME_COARSE, &readStart);
  FileStamp before;
  const bool exists = StampOf(path, &before);
  if (exists && kept.store != nullptr && kept.path == path && kept.stamp == before) return kept.store;
  kept.store.reset();

  auto store = std::make_shared<Store>();
  if (!ReadFile(path, store.get(), error)) return nullptr;
  FileStamp after;
  if (exists && StampOf(path, &after) && after == before && Settled(before, readStart)) {
    kept.path = path;
    kept.stamp = before;
    kept.store = store;
  }
  return store;
}

bool UpdateRoot(Root root, const std::function<bool(Store&, std::string*)>& change,
                std::string* error) {
  const std::string path = StorePath(root);
  if (!MakeParentDirs(path, error)) return false;
  const std::string lockPath = path + ".lock";
  const int lock = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (lock < 0) {
    *error = ErrnoText("cannot open the lock file " + lockPath);
    return false;
  }
  int locked;
  while ((locked = flock(lock, LOCK_EX)) != 0 && errno == EINTR) {
  }
  bool ok = false;
  if (locked != 0) {
    *error = ErrnoText("cannot lock " + lockPath);
  } else {
    Store store;
    if (ReadFile(path, &store, error)) {
      const std::string before = store.ToText();
      if (change(store, error)) {
        const std::string after = store.ToText();
        ok = after == before || rt::WriteFileAtomic(path, after, error);  // unchanged: left as it is
      }
    }
  }
  close(lock);  // releases the lock
  return ok;
}

}  // namespace os::registry
