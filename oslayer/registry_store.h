// The registry store: a small file-backed tree of keys holding named string values, with two
// roots, the machine root (read by installers to find what is installed) and the user root
// (created and written for the current user).
//
// Where the roots live (first match wins):
//   machine: $CODECBENCH_REGISTRY_MACHINE (a file path), else
//            <dir>/codecbench/registry/machine.reg for the first <dir> of $XDG_CONFIG_DIRS
//            (default /etc/xdg) that holds it, else that path under the first <dir>
//   user:    $CODECBENCH_REGISTRY_USER (a file path), else
//            $XDG_CONFIG_HOME/codecbench/registry/user.reg ($XDG_CONFIG_HOME defaults to
//            ~/.config)
// A root whose file does not exist is empty; writing creates the file and its folders.
//
// File format (UTF-8 or any 8-bit text, LF or CR LF line ends):
//   ; a comment line (also "#"); blank lines are ignored
//   [Software\Tervalo\codecbench]            a key: its path from the root, levels split by "\"
//   "InstallDir"="/opt/Tervalo/codecbench"   a string value of the key above: "name"="value"
//   ""="text"                                the key's unnamed value
// Inside the quotes, \\ stands for a backslash, \" for a quote, \n and \r for line breaks; any
// other character stands for itself, so values keep their full length and every byte but NUL.
// Key paths and value names match without regard to ASCII case and keep the case they were
// created with. A key exists when it is listed or when a key below it is listed. Any other
// line makes the file damaged: it is then neither used nor rewritten (the error names the
// line). Comments are not kept when the store rewrites the file.
//
// Writers take an exclusive lock on "<file>.lock" for the whole read-change-write and replace
// the file atomically (temporary file, fsync, rename), so two processes writing at once both
// land and a reader never sees half a file; readers take no lock.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace os::registry {

enum class Root { Machine, User };

// The file that holds `root`, from the environment (see above).
std::string StorePath(Root root);
// "machine" or "user", for messages.
const char* RootName(Root root);

// One root's keys and values in memory.
class Store {
 public:
  // Replaces the contents with the parsed text. False, with the contents unchanged and
  // `error` naming the line, when the text is damaged.
  bool Parse(std::string_view text, std::string* error);
  // The text of the file format above.
  std::string ToText() const;

  // Paths are split at "\"; empty levels are dropped, so "" is the root itself.
  bool KeyExists(std::string_view path) const;
  // The names of the keys directly below `path`, in the order the store lists them.
  std::vector<std::string> SubKeys(std::string_view path) const;
  // True and *value set when the key holds the value.
  bool GetValue(std::string_view path, std::string_view name, std::string* value) const;

  // Creates the key and every missing level above it. False for a key name the file cannot
  // hold (a line break in it).
  bool CreateKey(std::string_view path, std::string* error);
  // Sets a string value of an existing key. False when the key does not exist or the name
  // holds a line break.
  bool SetValue(std::string_view path, std::string_view name, std::string_view value,
                std::string* error);

 private:
  struct Value {
    std::string name;
    std::string data;
  };
  struct Key {
    std::string path;  // levels joined by "\", no empty level
    std::vector<Value> values;
  };
  Key* FindKey(std::string_view canonicalPath);
  const Key* FindKey(std::string_view canonicalPath) const;
  // The path as the store spells it where it exists (or lies above a key that does).
  std::string StoredSpelling(const std::string& canonicalPath) const;

  Key& AddKey(std::string path);

  std::vector<Key> keys_;
  // Folded path -> position in keys_, so reading a file and every look-up take constant time
  // per key, however many uninstall entries the machine root lists.
  std::unordered_map<std::string, size_t> index_;
};

// Reads the root's file into *store (a missing file gives an empty store). False with `error`
// when the file cannot be read or is damaged.
bool ReadRoot(Root root, Store* store, std::string* error);

// The root's store as its file holds it now, or null with `error` as ReadRoot gives it. The last
// read is kept while the file stays unchanged (same device and inode, size, modification and
// change times), and is then returned without reading the file again, so a caller that reads
// the root call after call (an installer listing matches one at a time) parses it once. A read
// is not kept when the file changed during it, or so shortly before it that a later change could
// leave the file's times as they were; nor is a missing file.
std::shared_ptr<const Store> ReadRootKept(Root root, std::string* error);

// Under the root's write lock: reads the file, runs `change` on its contents and, when that
// returns true and changed something, replaces the file with the result. False with `error`
// set by `change` or by the failing file operation.
bool UpdateRoot(Root root, const std::function<bool(Store&, std::string*)>& change,
                std::string* error);

}  // namespace os::registry
