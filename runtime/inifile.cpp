// INI text objects and atomic whole-file I/O.
#include "runtime/inifile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "oslayer/temp_names.h"
#include "oslayer/user_files.h"

namespace rt {

// An item keeps its key and value in one text (key, then value), which a short item such as a
// register's "0x2c = 320" holds without a heap block.
class IniItem {
public:
  IniItem(std::string_view key, std::string_view value) : keyLength_(static_cast<uint32_t>(key.size())) {
    text_.reserve(key.size() + value.size());
    text_.append(key);
    text_.append(value);
  }
  std::string_view key() const { return std::string_view(text_).substr(0, keyLength_); }
  std::string_view value() const { return std::string_view(text_).substr(keyLength_); }
  void SetValue(std::string_view value) {
    text_.resize(keyLength_);
    text_.append(value);
  }

private:
  std::string text_;
  uint32_t keyLength_;
};

namespace {

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Hash and equality of names without regard to ASCII case, for indexes that look names up
// through views of the stored names (no folded copy is kept).
struct FoldedHash {
  // Eight bytes at a time: capitals made small in the word (each byte from 'A' to 'Z' gets
  // 0x20), then mixed in by a multiply.
  static uint64_t FoldWord(uint64_t w) {
    constexpr uint64_t kOnes = 0x0101010101010101ull, kHigh = 0x8080808080808080ull;
    const uint64_t low7 = w & ~kHigh;
    const uint64_t atLeastA = low7 + (0x80 - 'A') * kOnes;
    const uint64_t aboveZ = low7 + (0x80 - 'Z' - 1) * kOnes;
    const uint64_t capital = atLeastA & ~aboveZ & ~w & kHigh;
    return w | (capital >> 2);
  }
  size_t operator()(std::string_view s) const {
    uint64_t h = 0x9E3779B97F4A7C15ull ^ s.size();
    size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
      uint64_t w;
      std::memcpy(&w, s.data() + i, 8);
      h = (h ^ FoldWord(w)) * 0xFF51AFD7ED558CCDull;
      h ^= h >> 32;
    }
    if (i < s.size()) {
      uint64_t w = 0;
      std::memcpy(&w, s.data() + i, s.size() - i);
      h = (h ^ FoldWord(w)) * 0xFF51AFD7ED558CCDull;
    }
    h ^= h >> 29;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 32;
    return static_cast<size_t>(h);
  }
};
struct FoldedEqual {
  bool operator()(std::string_view a, std::string_view b) const {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
      if (Fold(a[i]) != Fold(b[i])) return false;
    return true;
  }
};

// A section holding more items than this gets a key index; smaller ones (every configuration
// set's section) are searched in place, which is as fast and costs no memory.
constexpr size_t kIndexedItems = 32;

}  // namespace

// Sections live on the heap and never move, so the object's index can view their names and
// removing one shifts only pointers, whatever the number of sections after it.
//
// A section read from a text keeps its lines there, unparsed, until its items are first wanted
// (a get, a put, a count): opening a file of thousands of sets then costs a small record per
// section and the text itself, not an item per line. Its name, too, views the text; a section
// made by a put owns its name.
struct IniSection {
  std::string_view name;
  std::unique_ptr<std::string> ownName;  // the name's text when no retained text holds it
  size_t hash = 0;                       // FoldedHash of the name
  // The section's lines in a retained text, not yet made items; a null view when none are left.
  std::string_view unparsed{nullptr, 0};
  std::vector<IniItem> items;
  std::unique_ptr<std::unordered_map<std::string, size_t>> keys;  // folded key -> position; large sections only

  bool pending() const { return unparsed.data() != nullptr; }
};

namespace {

// The sections by name: an open-addressed table (linear probing, at most half full) of
// pointers with their names' hashes beside them, so a probe reads no section but the one it
// finds; adding or removing a section allocates nothing per section.
class SectionIndex {
public:
  IniSection* Find(std::string_view name) const { return Find(name, FoldedHash()(name)); }
  IniSection* Find(std::string_view name, size_t hash) const {
    if (slots_.empty()) return nullptr;
    for (size_t i = hash & Mask(); slots_[i].section != nullptr; i = (i + 1) & Mask())
      if (slots_[i].hash == hash && FoldedEqual()(slots_[i].section->name, name)) return slots_[i].section;
    return nullptr;
  }
  void Insert(IniSection* s) {
    if ((used_ + 1) * 2 > slots_.size()) Grow();
    Place(s);
    ++used_;
  }
  void Erase(const IniSection* s) {
    if (slots_.empty()) return;
    size_t i = s->hash & Mask();
    while (slots_[i].section != nullptr && slots_[i].section != s) i = (i + 1) & Mask();
    if (slots_[i].section == nullptr) return;
    slots_[i] = Slot();
    --used_;
    // Shift back the entries after the gap that would no longer be found past it.
    for (size_t j = (i + 1) & Mask(); slots_[j].section != nullptr; j = (j + 1) & Mask()) {
      const size_t home = slots_[j].hash & Mask();
      const bool reachable = i <= j ? (home > i && home <= j) : (home > i || home <= j);
      if (reachable) continue;
      slots_[i] = slots_[j];
      slots_[j] = Slot();
      i = j;
    }
  }
  void Clear() {
    slots_.clear();
    used_ = 0;
  }
  // Asks for the first slot a name of this hash is looked for in, ahead of the lookup.
  void Prefetch(size_t hash) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[hash & Mask()]);
  }

private:
  struct Slot {
    size_t hash = 0;
    IniSection* section = nullptr;
  };
  size_t Mask() const { return slots_.size() - 1; }
  void Place(IniSection* s) {
    size_t i = s->hash & Mask();
    while (slots_[i].section != nullptr) i = (i + 1) & Mask();
    slots_[i] = Slot{s->hash, s};
  }
  void Grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 64 : old.size() * 2, Slot());
    for (const Slot& slot : old)
      if (slot.section != nullptr) Place(slot.section);
  }
  std::vector<Slot> slots_;
  size_t used_ = 0;
};

}  // namespace

// Sections are made in blocks (a file of thousands of sets needs no allocation per section);
// a removed section is emptied and kept for the next one.
class SectionPool {
public:
  IniSection* Take() {
    if (!spare_.empty()) {
      IniSection* s = spare_.back();
      spare_.pop_back();
      return s;
    }
    if (used_ == blockSize_) {
      blockSize_ = blocks_.empty() ? 8 : (blockSize_ < 4096 ? blockSize_ * 2 : blockSize_);
      blocks_.push_back(std::make_unique<IniSection[]>(blockSize_));
      used_ = 0;
    }
    return &blocks_.back()[used_++];
  }
  void Give(IniSection* s) {
    *s = IniSection();
    spare_.push_back(s);
  }
  void Clear() {
    blocks_.clear();
    spare_.clear();
    used_ = blockSize_ = 0;
  }

private:
  std::vector<std::unique_ptr<IniSection[]>> blocks_;
  std::vector<IniSection*> spare_;
  size_t used_ = 0, blockSize_ = 0;
};

struct IniObject {
  bool sorted = false;
  std::vector<IniSection*> sections;  // in order, from `pool`
  SectionIndex index;
  SectionPool pool;
  std::vector<std::unique_ptr<const std::string>> texts;  // texts read, which sections view
};

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string Folded(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Fold(c);
  return out;
}

// Compares two names without regard to ASCII case; callers pass trimmed names.
int CompareNames(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const unsigned char x = static_cast<unsigned char>(Fold(a[i]));
    const unsigned char y = static_cast<unsigned char>(Fold(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void IndexKeys(IniSection* section) {
  if (section->items.size() <= kIndexedItems) {
    section->keys.reset();
    return;
  }
  if (!section->keys) section->keys = std::make_unique<std::unordered_map<std::string, size_t>>();
  section->keys->clear();
  for (size_t i = 0; i < section->items.size(); ++i) (*section->keys)[Folded(section->items[i].key())] = i;
}

size_t SectionPosition(const IniObject* ini, const IniSection* s) {
  for (size_t i = ini->sections.size(); i-- > 0;)  // from the end: sets are added and removed there most
    if (ini->sections[i] == s) return i;
  return ini->sections.size();
}

IniSection* FindSection(IniObject* ini, std::string_view name) {
  return ini->index.Find(name);
}

void Materialize(const IniObject* ini, IniSection* section);

// The section's item of that key, its unparsed lines read first.
IniItem* FindItem(const IniObject* ini, IniSection* section, std::string_view key) {
  Materialize(ini, section);
  if (section->keys) {
    auto it = section->keys->find(Folded(key));
    return it == section->keys->end() ? nullptr : &section->items[it->second];
  }
  for (IniItem& item : section->items)
    if (FoldedEqual()(item.key(), key)) return &item;
  return nullptr;
}

// Position for a new element: the end, or in a sorted object before the first greater name.
template <typename Vec, typename NameOf>
size_t InsertPosition(bool sorted, const Vec& v, std::string_view name, NameOf nameOf) {
  if (!sorted) return v.size();
  size_t i = 0;
  while (i < v.size() && CompareNames(nameOf(v[i]), name) <= 0) ++i;
  return i;
}

// Finds the section, or adds it. `retained` says that `name` lies in one of the object's texts,
// so the section can view it there.
IniSection* FindOrAddSection(IniObject* ini, std::string_view name, bool retained = false,
                             std::optional<size_t> knownHash = std::nullopt) {
  const size_t hash = knownHash ? *knownHash : FoldedHash()(name);
  if (IniSection* s = ini->index.Find(name, hash)) return s;
  const size_t pos = InsertPosition(ini->sorted, ini->sections, name,
                                    [](const IniSection* s) -> std::string_view { return s->name; });
  IniSection* section = ini->pool.Take();
  if (retained) {
    section->name = name;
  } else {
    section->ownName = std::make_unique<std::string>(name);
    section->name = *section->ownName;
  }
  section->hash = hash;
  ini->sections.insert(ini->sections.begin() + static_cast<std::ptrdiff_t>(pos), section);
  ini->index.Insert(section);
  return section;
}

void PutItem(const IniObject* ini, IniSection* section, std::string_view key, std::string_view value) {
  if (IniItem* item = FindItem(ini, section, key)) {
    item->SetValue(value);
    return;
  }
  const size_t pos = InsertPosition(ini->sorted, section->items, key,
                                    [](const IniItem& i) -> std::string_view { return i.key(); });
  section->items.insert(section->items.begin() + static_cast<std::ptrdiff_t>(pos),
                        IniItem(key, value));
  if (section->keys && pos + 1 == section->items.size())
    (*section->keys)[Folded(key)] = pos;
  else if (section->keys || section->items.size() > kIndexedItems)
    IndexKeys(section);
}

void EraseSection(IniObject* ini, IniSection* s) {
  const size_t pos = SectionPosition(ini, s);
  ini->index.Erase(s);
  ini->sections.erase(ini->sections.begin() + static_cast<std::ptrdiff_t>(pos));
  ini->pool.Give(s);
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }
bool HasNul(std::string_view s) { return s.find('\0') != std::string_view::npos; }

// Names and values the file layout can hold and give back unchanged when read again.
bool ValidSectionName(std::string_view name) { return !name.empty() && !HasLineBreak(name) && !HasNul(name); }
bool ValidKey(std::string_view key) {
  return !key.empty() && key.front() != ';' && key.front() != '[' && key.substr(0, 3) != kByteOrderMark &&
         key.find('=') == std::string_view::npos && !HasLineBreak(key) && !HasNul(key);
}

// Calls each(line) for every item line of a section's text, in order.
template <typename Each>
void ForEachItemLine(std::string_view text, Each each) {
  while (!text.empty()) {
    const size_t eol = text.find('\n');
    const IniLine line = ClassifyIniLine(text.substr(0, eol));
    text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
    if (line.kind == IniLineKind::Item) each(line);
  }
}

// The items of a section's text as reading gives them: an item met again takes the later value
// in the place of the first. Small sections gather in `out` directly; false when the text holds
// more distinct keys than kIndexedItems (the caller then puts the items one by one).
bool GatherItems(std::string_view text, std::vector<std::pair<std::string_view, std::string_view>>* out) {
  out->clear();
  bool small = true;
  ForEachItemLine(text, [&](const IniLine& line) {
    if (!small) return;
    for (auto& item : *out)
      if (FoldedEqual()(item.first, line.key)) {
        item.second = line.value;
        return;
      }
    if (out->size() == kIndexedItems) small = false;
    out->emplace_back(line.key, line.value);
  });
  return small;
}

// Reads the lines a section still holds unparsed into its items (an empty value is kept: a
// string put as "" reads back as such).
void Materialize(const IniObject* ini, IniSection* section) {
  if (!section->pending()) return;
  const std::string_view text = section->unparsed;
  section->unparsed = std::string_view(nullptr, 0);
  std::vector<std::pair<std::string_view, std::string_view>> gathered;
  if (section->items.empty() && !ini->sorted && GatherItems(text, &gathered)) {
    // The usual case: the item list is allocated once, at its size.
    section->items.reserve(gathered.size());
    for (const auto& [key, value] : gathered) section->items.emplace_back(key, value);
    return;
  }
  ForEachItemLine(text, [&](const IniLine& line) { PutItem(ini, section, line.key, line.value); });
}

// A section's items, read first when it still holds them unparsed.
std::vector<IniItem>& Items(const IniObject* ini, IniSection* section) {
  Materialize(ini, section);
  return section->items;
}

// Reads text into the object, which keeps it. A section met again is merged into the first of
// that name, and an item met again in its section takes the later value in place: the section
// count is then the number of distinct sections, which the configuration-set list relies on (it
// takes every G-th section as the start of a set), and removing a section removes all of it.
// Items under a section line that is not well formed are dropped rather than added to the
// section before it, where their keys would overwrite that section's values; so are items
// before the first section.
void Parse(IniObject* ini, std::string&& owned) {
  if (owned.empty()) return;
  ini->texts.push_back(std::make_unique<const std::string>(std::move(owned)));
  const std::string_view all = *ini->texts.back();
  IniSection* current = nullptr;
  const char* bodyStart = nullptr;
  auto close = [&](const char* bodyEnd) {
    if (current == nullptr) return;
    const std::string_view body(bodyStart, static_cast<size_t>(bodyEnd - bodyStart));
    if (!current->pending() && current->items.empty()) {
      current->unparsed = body;
    } else {
      // A section met again: its lines are merged into what the section holds.
      Materialize(ini, current);
      ForEachItemLine(body, [&](const IniLine& line) { PutItem(ini, current, line.key, line.value); });
    }
    current = nullptr;
  };
  // Only a line whose first character past blanks and byte-order marks is "[" can be a section
  // line (or a bad one); the others belong to the section being read. So the text is searched
  // for "[" rather than read line by line.
  const char* const begin = all.data();
  const char* const end = begin + all.size();
  // Section lines are found a batch ahead of their lookups, so each name's place in the index
  // is fetched from memory while the next lines are searched (a file of thousands of sets has
  // an index far larger than the processor's caches).
  struct Found {
    const char* lineStart;
    const char* next;
    std::string_view name;  // empty: a bad section line
    size_t hash;
  };
  constexpr size_t kBatch = 16;
  Found batch[kBatch];
  size_t found = 0;
  auto flush = [&] {
    for (size_t i = 0; i < found; ++i) {
      close(batch[i].lineStart);
      if (!batch[i].name.empty()) {
        current = FindOrAddSection(ini, batch[i].name, true, batch[i].hash);
        bodyStart = batch[i].next;
      }
    }
    found = 0;
  };
  const char* from = begin;
  while (from < end) {
    const char* bracket = static_cast<const char*>(std::memchr(from, '[', static_cast<size_t>(end - from)));
    if (bracket == nullptr) break;
    const char* lineStart = bracket;
    for (;;) {
      if (lineStart > begin && IsBlank(lineStart[-1])) {
        --lineStart;
      } else if (lineStart - begin >= 3 && std::memcmp(lineStart - 3, kByteOrderMark.data(), 3) == 0) {
        lineStart -= 3;
      } else {
        break;
      }
    }
    const char* eol = static_cast<const char*>(std::memchr(bracket, '\n', static_cast<size_t>(end - bracket)));
    const char* next = eol == nullptr ? end : eol + 1;
    if (lineStart == begin || lineStart[-1] == '\n') {
      const IniLine line = ClassifyIniLine(std::string_view(lineStart, static_cast<size_t>((eol ? eol : end) - lineStart)));
      if (line.kind == IniLineKind::Section || line.kind == IniLineKind::BadSection) {
        Found& f = batch[found++];
        f = Found{lineStart, next, line.kind == IniLineKind::Section ? line.name : std::string_view(), 0};
        if (!f.name.empty()) {
          f.hash = FoldedHash()(f.name);
          ini->index.Prefetch(f.hash);
        }
        if (found == kBatch) flush();
      }
    }
    from = next;
  }
  flush();
  close(end);
}

}  // namespace

IniLine ClassifyIniLine(std::string_view raw) {
  IniLine line;
  if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
  while (raw.substr(0, 3) == kByteOrderMark) raw.remove_prefix(3);  // editors' UTF-8 mark, on any line
  line.raw = raw;
  std::string_view t = Trim(raw);
  while (t.substr(0, 3) == kByteOrderMark) t = Trim(t.substr(3));
  if (t.empty()) return line;
  if (t.front() == ';') {
    line.kind = IniLineKind::Comment;
    return line;
  }
  if (t.front() == '[') {
    // "[name]" with nothing but blanks after the last "]", and a name that a put could give.
    line.kind = IniLineKind::BadSection;
    const size_t close = t.rfind(']');
    if (close == std::string_view::npos || close + 1 != t.size()) return line;
    const std::string_view name = Trim(t.substr(1, close - 1));
    if (!ValidSectionName(name)) return line;
    line.kind = IniLineKind::Section;
    line.name = name;
    return line;
  }
  const size_t eq = t.find('=');
  const std::string_view key = eq == std::string_view::npos ? std::string_view() : Trim(t.substr(0, eq));
  if (key.empty() || HasNul(key)) {
    line.kind = IniLineKind::Other;
    return line;
  }
  line.kind = IniLineKind::Item;
  line.key = key;
  line.value = Trim(t.substr(eq + 1));
  return line;
}

namespace {

std::string ErrnoText(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

}  // namespace

bool ParseIniInt(std::string_view text, int* out) {
  std::string_view s = Trim(text);
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    uint64_t v = 0;
    for (char c : s.substr(2)) {
      int d;
      if (c >= '0' && c <= '9') d = c - '0';
      else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
      else return false;
      v = v * 16 + static_cast<uint64_t>(d);
      if (v > 0xFFFFFFFFu) return false;
    }
    *out = static_cast<int>(static_cast<uint32_t>(v));
    return true;
  }
  bool negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return false;
  const int64_t limit = negative ? int64_t{2147483648} : int64_t{2147483647};
  int64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
    if (v > limit) return false;
  }
  *out = static_cast<int>(negative ? -v : v);
  return true;
}

bool IniNamesEqual(std::string_view a, std::string_view b) { return CompareNames(a, b) == 0; }

std::string IniFoldedName(std::string_view name) { return Folded(name); }

IniText Ini_New(int sorted) {
  IniObject* ini = new IniObject;
  ini->sorted = sorted != 0;
  return ini;
}

void Ini_Dispose(IniText ini) { delete ini; }

int Ini_ReadFromFile(IniText ini, const char* path) {
  if (ini == nullptr || path == nullptr) return kIniBadArgument;
  std::string text;
  if (!ReadWholeFile(path, &text)) return kIniReadError;
  Parse(ini, std::move(text));
  return 0;
}

int Ini_ReadFromString(IniText ini, const std::string& text) {
  if (ini == nullptr) return kIniBadArgument;
  Parse(ini, std::string(text));
  return 0;
}

int Ini_ReadFromString(IniText ini, std::string&& text) {
  if (ini == nullptr) return kIniBadArgument;
  Parse(ini, std::move(text));
  return 0;
}

namespace {

// Writes the object's text in pieces to `put`: every section as "[name]", one "key = value" line
// per item and an empty line after it, CR LF line ends. A section still unparsed is written from
// its lines as reading them would give its items, without making them.
template <typename Put>
void EmitText(IniObject* ini, Put put, const std::function<bool(std::string_view)>& skip = {}) {
  std::vector<std::pair<std::string_view, std::string_view>> gathered;
  auto item = [&](std::string_view key, std::string_view value) {
    put(key);
    put(" = ");
    put(value);
    put("\r\n");
  };
  for (IniSection* section : ini->sections) {
    IniSection& s = *section;
    if (skip && skip(s.name)) continue;
    put("[");
    put(s.name);
    put("]\r\n");
    if (s.pending() && GatherItems(s.unparsed, &gathered)) {
      for (const auto& [key, value] : gathered) item(key, value);
    } else {
      for (const IniItem& i : Items(ini, &s)) item(i.key(), i.value());
    }
    put("\r\n");
  }
}

}  // namespace

std::string Ini_ToString(IniText ini) {
  std::string out;
  if (ini == nullptr) return out;
  size_t size = 0;  // reserved first: a file of thousands of sets is megabytes long
  for (const IniSection* section : ini->sections) {
    size += section->name.size() + 6 + section->unparsed.size();
    for (const IniItem& item : section->items) size += item.key().size() + item.value().size() + 5;
  }
  out.reserve(size);
  EmitText(ini, [&out](std::string_view piece) { out += piece; });
  return out;
}

int Ini_WriteToFile(IniText ini, const char* path, std::string* error) {
  return Ini_WriteToFileExcept(ini, path, nullptr, error);
}

int Ini_WriteToFileExcept(IniText ini, const char* path, const std::function<bool(std::string_view)>& skip,
                          std::string* error, const os::SizeLimit* limit) {
  if (ini == nullptr || path == nullptr) {
    if (error) *error = "no ini object or no path";
    return kIniBadArgument;
  }
  // Written in pieces of a buffer's size, so a file of megabytes needs no copy of its text.
  const bool ok = WriteFileAtomicWith(
      path,
      [ini, &skip](const FileSink& sink) {
        constexpr size_t kBuffer = 1 << 18;
        std::string buffer;
        buffer.reserve(kBuffer + 4096);
        EmitText(
            ini,
            [&](std::string_view piece) {
              buffer += piece;
              if (buffer.size() >= kBuffer) {
                sink(buffer);
                buffer.clear();
              }
            },
            skip);
        sink(buffer);
      },
      error, limit);
  return ok ? 0 : kIniWriteError;
}

int Ini_PutString(IniText ini, const char* section, const char* key, const char* value) {
  if (ini == nullptr || section == nullptr || key == nullptr || value == nullptr) return kIniBadArgument;
  const std::string_view name = Trim(section), k = Trim(key), v = value;
  if (!ValidSectionName(name) || !ValidKey(k) || HasLineBreak(v)) return kIniBadArgument;
  PutItem(ini, FindOrAddSection(ini, name), k, v);
  return 0;
}

int Ini_RestoreString(IniText ini, std::string_view section, std::string_view key, std::string_view value) {
  if (ini == nullptr) return kIniBadArgument;
  const std::string_view name = Trim(section), k = Trim(key);
  if (!ValidSectionName(name) || !ValidKey(k) || value.find('\n') != std::string_view::npos) return kIniBadArgument;
  PutItem(ini, FindOrAddSection(ini, name), k, value);
  return 0;
}

int Ini_PutInt(IniText ini, const char* section, const char* key, int value) {
  return Ini_PutString(ini, section, key, std::to_string(value).c_str());
}

int Ini_GetStringCopy(IniText ini, const char* section, const char* key, std::string* value) {
  if (ini == nullptr || section == nullptr || key == nullptr || value == nullptr) return kIniBadArgument;
  IniSection* s = FindSection(ini, Trim(section));
  IniItem* item = s ? FindItem(ini, s, Trim(key)) : nullptr;
  if (item == nullptr) return 0;
  *value = item->value();
  return 1;
}

int Ini_GetInt(IniText ini, const char* section, const char* key, int* value) {
  if (value == nullptr) return kIniBadArgument;
  std::string text;
  const int found = Ini_GetStringCopy(ini, section, key, &text);
  if (found <= 0) return found;
  return ParseIniInt(text, value) ? 1 : 0;
}

int Ini_NumberOfSections(IniText ini) {
  if (ini == nullptr) return kIniBadArgument;
  return static_cast<int>(ini->sections.size());
}

std::string_view Ini_SectionNameAt(IniText ini, int n) {
  if (ini == nullptr || n < 1 || static_cast<size_t>(n) > ini->sections.size()) return {};
  return ini->sections[static_cast<size_t>(n) - 1]->name;
}

int Ini_NthSectionName(IniText ini, int n, std::string* name) {
  if (ini == nullptr || name == nullptr) return kIniBadArgument;
  if (n < 1 || static_cast<size_t>(n) > ini->sections.size()) return 0;
  *name = ini->sections[static_cast<size_t>(n) - 1]->name;
  return 1;
}

int Ini_SectionExists(IniText ini, const char* section) {
  if (section == nullptr) return kIniBadArgument;
  return Ini_SectionExists(ini, std::string_view(section));
}

int Ini_SectionExists(IniText ini, std::string_view section) {
  if (ini == nullptr) return kIniBadArgument;
  return FindSection(ini, Trim(section)) != nullptr ? 1 : 0;
}

int Ini_ItemExists(IniText ini, const char* section, const char* key) {
  if (ini == nullptr || section == nullptr || key == nullptr) return kIniBadArgument;
  IniSection* s = FindSection(ini, Trim(section));
  return (s != nullptr && FindItem(ini, s, Trim(key)) != nullptr) ? 1 : 0;
}

int Ini_NumberOfItems(IniText ini, const char* section) {
  if (ini == nullptr || section == nullptr) return kIniBadArgument;
  IniSection* s = FindSection(ini, Trim(section));
  return s ? static_cast<int>(Items(ini, s).size()) : 0;
}

int Ini_NthItem(IniText ini, const char* section, int n, std::string* key, std::string* value) {
  if (ini == nullptr || section == nullptr || key == nullptr || value == nullptr) return kIniBadArgument;
  IniSection* s = FindSection(ini, Trim(section));
  if (s == nullptr || n < 1 || static_cast<size_t>(n) > Items(ini, s).size()) return 0;
  const IniItem& item = s->items[static_cast<size_t>(n) - 1];
  *key = item.key();
  *value = item.value();
  return 1;
}

int Ini_RemoveSection(IniText ini, const char* section) {
  if (section == nullptr) return kIniBadArgument;
  return Ini_RemoveSection(ini, std::string_view(section));
}

int Ini_RemoveSection(IniText ini, std::string_view section) {
  if (ini == nullptr) return kIniBadArgument;
  IniSection* s = FindSection(ini, Trim(section));
  if (s == nullptr) return 0;
  EraseSection(ini, s);
  return 1;
}

void Ini_RemoveAllSections(IniText ini) {
  if (ini == nullptr) return;
  ini->sections.clear();
  ini->index.Clear();
  ini->pool.Clear();
  ini->texts.clear();
}

int Ini_RemoveItem(IniText ini, const char* section, const char* key) {
  if (ini == nullptr || section == nullptr || key == nullptr) return kIniBadArgument;
  IniSection* s = FindSection(ini, Trim(section));
  IniItem* item = s ? FindItem(ini, s, Trim(key)) : nullptr;
  if (item == nullptr) return 0;
  const size_t pos = static_cast<size_t>(item - s->items.data());
  s->items.erase(s->items.begin() + static_cast<std::ptrdiff_t>(pos));
  if (s->keys) IndexKeys(s);
  return 1;
}

namespace {

std::mutex workingFileMutex;
std::string workingFile;

bool IsOwnWorkingFile(const std::string& path) {
  std::lock_guard<std::mutex> hold(workingFileMutex);
  return !workingFile.empty() && path == workingFile;
}

}  // namespace

void SetOwnWorkingFile(const std::string& path) {
  std::lock_guard<std::mutex> hold(workingFileMutex);
  workingFile = path;
}

bool WriteFileAtomic(const std::string& path, const std::string& contents, std::string* error) {
  return WriteFileAtomicWith(path, [&contents](const FileSink& sink) { sink(contents); }, error);
}

bool WriteFileAtomicWith(const std::string& path, const std::function<void(const FileSink&)>& produce,
                         std::string* error, const os::SizeLimit* limit) {
  auto fail = [error](std::string why) {
    if (error) *error = std::move(why);
    return false;
  };
  if (path.empty()) return fail("no file name given");

  // Written through a symbolic link to the file it leads to, so the link stays in place.
  const std::string target = os::WriteTargetOf(path);
  if (target.empty()) return fail(ErrnoText("cannot write", path));
  struct stat st {};
  bool keepReadable = false;
  if (stat(target.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) return fail(os::NotRegularFileText(target));
    // A file the user cannot read was made so on purpose, and its replacement, taking its mode,
    // could not be read back: it stays as it is. The program's own working file is replaced
    // and made readable, or every later use of it would fail.
    if (const int unreadable = os::ReadBackError(target.c_str())) {
      if (!IsOwnWorkingFile(path)) return fail(os::UnreadableFileText(target, unreadable));
      keepReadable = true;
    }
  } else if (errno != ENOENT) {
    return fail(ErrnoText("cannot write", target));
  }

  std::string temp;
  const int fd = os::MakeTempFor(target, &temp);
  if (fd < 0) return fail(ErrnoText("cannot create a temporary file for", target));
  // The descriptor holds the temporary's lock, which tells a clean-up that it is live: it stays
  // open until the temporary was renamed into place or deleted.
  auto abandon = [&](const std::string& why) {
    unlink(temp.c_str());
    os::CloseTemp(fd);
    return fail(why);
  };

  // The first failed write ends the writing; later pieces are dropped. Past the limit pieces are
  // only counted, for the size the refusal gives.
  std::string writeError;
  uint64_t total = 0;
  const FileSink sink = [&](std::string_view piece) {
    total += piece.size();
    if (limit && total > limit->bytes) return false;
    size_t done = 0;
    while (writeError.empty() && done < piece.size()) {
      const ssize_t n = write(fd, piece.data() + done, piece.size() - done);
      if (n < 0) {
        if (errno == EINTR) continue;
        writeError = ErrnoText("cannot write", target);
        break;
      }
      done += static_cast<size_t>(n);
    }
    return writeError.empty();
  };
  produce(sink);
  if (limit && total > limit->bytes) return abandon(os::WouldBeTooLargeText(total, *limit));
  if (!writeError.empty()) return abandon(writeError);
  // The old file's mode and owner, or a new file's mode; flushed with the data.
  os::TakeFinalMode(fd, target.c_str());
  if (keepReadable) os::KeepOwnerReadable(fd);
  if (fsync(fd) != 0) return abandon(ErrnoText("cannot write", target));
  if (rename(temp.c_str(), target.c_str()) != 0) return abandon(ErrnoText("cannot replace", target));
  os::CloseTemp(fd);  // the data is on disk since the fsync; nothing of it is lost in the close
  // Make the rename itself durable.
  const size_t slash = target.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
  const int dfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    fsync(dfd);
    close(dfd);
  }
  return true;
}

bool ReadWholeFile(const std::string& path, std::string* contents, std::string* error, const os::SizeLimit* limit) {
  if (contents == nullptr) {
    if (error) *error = "no buffer for " + path;
    return false;
  }
  return os::ReadUserFile(path, contents, error, limit);
}

}  // namespace rt
