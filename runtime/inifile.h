// INI text objects: ordered sections of ordered "key = value" items.
//
// Section and key names match without regard to case and surrounding white space. Writing a
// file replaces it atomically (a temporary file in the same folder, then rename) and reports
// failure, so a user's configuration file is never left truncated.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace os {
struct SizeLimit;  // oslayer/user_files.h
}  // namespace os

namespace rt {

// Negative results of the Ini_ operations.
enum IniError {
  kIniBadArgument = -1,  // null handle or argument, or a name or value the file cannot hold
  kIniReadError = -2,    // the file cannot be opened or read
  kIniWriteError = -3,   // the file cannot be written (the old one is left as it was)
};

struct IniObject;
using IniText = IniObject*;

// New, empty object. `sorted` 0 keeps sections and items in insertion order; otherwise new
// sections and items are inserted in name order (without regard to case).
IniText Ini_New(int sorted);
void Ini_Dispose(IniText ini);

// Reads a file into the object (its sections are added after any it holds). Returns 0 on
// success, a negative error when the file cannot be opened or read or is not a regular file
// (the object is unchanged).
// A section or key met again (in the file, or already in the object) is merged into the first
// one as a put would do: the later value wins, the first position stays. Lines that are not a
// section, an item or a comment are skipped, and so are the items of a section line that is
// not well formed and the items before the first section.
int Ini_ReadFromFile(IniText ini, const char* path);
// Parses text (as a file's contents) into the object. 0 on success. The object keeps the text
// (moved in, or a copy) and reads a section's items from it when they are first wanted.
int Ini_ReadFromString(IniText ini, const std::string& text);
int Ini_ReadFromString(IniText ini, std::string&& text);
// Writes every section as "[name]", one "key = value" line per item and an empty line after
// each section, CR LF line ends. Atomic, and written in pieces (no copy of the whole text); 0 on
// success, negative on failure (nothing replaced, `error` says why).
int Ini_WriteToFile(IniText ini, const char* path, std::string* error = nullptr);
// The same, leaving out the sections whose (stored) name `skip` is true for; the object keeps
// them. A null `skip` leaves out nothing.
// With a `limit`, text that would pass it is not written (see WriteFileAtomicWith).
int Ini_WriteToFileExcept(IniText ini, const char* path, const std::function<bool(std::string_view)>& skip,
                          std::string* error = nullptr, const os::SizeLimit* limit = nullptr);
std::string Ini_ToString(IniText ini);

// Replaces an existing item's value in place, or appends the item (and the section).
// Returns 0 on success, negative on a bad argument: a null pointer, an empty section or key,
// a key holding "=" or starting with ";" or "[", or a line break in any of them.
int Ini_PutInt(IniText ini, const char* section, const char* key, int value);
int Ini_PutString(IniText ini, const char* section, const char* key, const char* value);
// Puts back a value as a get gave it, whole: NUL bytes and CRs inside it included (a value read
// from a file may hold them), so that a put can be undone exactly. Refuses what Ini_PutString
// refuses in names, and an LF in the value.
int Ini_RestoreString(IniText ini, std::string_view section, std::string_view key, std::string_view value);
// Returns 1 and sets *value when the item exists and parses as an integer (decimal, or
// hexadecimal with 0x, taken as a 32-bit pattern); 0 and leaves *value unchanged when it is
// missing or does not parse. Every query returns a negative error on a null argument.
int Ini_GetInt(IniText ini, const char* section, const char* key, int* value);
int Ini_GetStringCopy(IniText ini, const char* section, const char* key, std::string* value);
// The integer form of item values (as Ini_GetInt reads them): decimal with an optional sign, or
// "0x" hexadecimal of up to 32 bits taken as an int's bit pattern; surrounding blanks ignored.
// False, with *out unchanged, for anything else or a decimal out of int range.
bool ParseIniInt(std::string_view text, int* out);

// True when two names are equal without regard to ASCII case, as section and key names match.
bool IniNamesEqual(std::string_view a, std::string_view b);
// The name with ASCII capitals made small: two names are IniNamesEqual exactly when their folded
// forms are the same, so it keys indexes of names.
std::string IniFoldedName(std::string_view name);

int Ini_NumberOfSections(IniText ini);
// The name of section n (1-based) as stored, empty when n is out of range; valid until the
// object next changes.
std::string_view Ini_SectionNameAt(IniText ini, int n);
// Names are stored without surrounding white space.
// 1-based n. Returns 1 and the section's name as stored; 0 when n is out of range.
int Ini_NthSectionName(IniText ini, int n, std::string* name);
int Ini_SectionExists(IniText ini, const char* section);
// The same for a name taken as a whole (as Ini_NthSectionName gives it).
int Ini_SectionExists(IniText ini, std::string_view section);
int Ini_ItemExists(IniText ini, const char* section, const char* key);
int Ini_NumberOfItems(IniText ini, const char* section);
// 1-based n; item name and value text as stored.
int Ini_NthItem(IniText ini, const char* section, int n, std::string* key, std::string* value);
// Returns 1 when a section was removed, 0 when none matched.
int Ini_RemoveSection(IniText ini, const char* section);
int Ini_RemoveSection(IniText ini, std::string_view section);
// Empties the object.
void Ini_RemoveAllSections(IniText ini);
int Ini_RemoveItem(IniText ini, const char* section, const char* key);

// What a line of an INI text is, by the reading rules every reader of these files shares (the
// INI object and the exchange-file converters): a UTF-8 byte-order mark at the start of any
// line and a CR before its LF are not part of it; leading and trailing blanks are skipped.
//   Comment     the first character is ";"
//   Section     "[" name "]" with nothing but blanks after the last "]"; `name` trimmed, not
//               empty, without NUL bytes
//   BadSection  any other line starting with "[": its items belong to no section
//   Item        key "=" value, split at the first "="; key and value trimmed, key not empty
//               and without NUL bytes (the value may be empty)
//   Other       anything else (ignored by the INI object)
enum class IniLineKind { Empty, Comment, Section, BadSection, Item, Other };
struct IniLine {
  IniLineKind kind = IniLineKind::Empty;
  std::string_view raw;    // the line without its line end and byte-order mark
  std::string_view name;   // Section
  std::string_view key;    // Item
  std::string_view value;  // Item
};
IniLine ClassifyIniLine(std::string_view line);

// Replaces `path` with `contents` atomically (a temporary named by os::TempTemplate beside the
// file, fsync, rename). The file keeps its mode and owner, or a new one gets the mode the
// umask gives a new file. A file the user cannot read is not replaced ("<file> cannot be read
// (Permission denied), so it is not replaced."): its mode was chosen, and what replaced it could
// not be read back; only the program's own working file (SetOwnWorkingFile) is replaced then,
// and given owner read and write.
// Returns true on success; on failure the old file is untouched and `error` says why.
bool WriteFileAtomic(const std::string& path, const std::string& contents, std::string* error = nullptr);
// The same for contents made in pieces: `produce` hands each piece to the sink it is given, in
// order (the sink returns false once a write has failed; later pieces are dropped).
using FileSink = std::function<bool(std::string_view)>;
// With a `limit`, contents that would pass it (and so be refused by a reader with that limit)
// replace nothing: the sink takes no more once they pass it, `error` gives their whole size
// and the limit's remedy (os::WouldBeTooLargeText).
bool WriteFileAtomicWith(const std::string& path, const std::function<void(const FileSink&)>& produce,
                         std::string* error = nullptr, const os::SizeLimit* limit = nullptr);
// Names the program's own working file (`path` as its writers give it, empty for none): one the
// program writes and reads back itself, which the writers above replace even when the user
// cannot read it, so the program never loses the use of it.
void SetOwnWorkingFile(const std::string& path);
// Reads a whole file without ever waiting on it (os::ReadUserFile): false when it cannot be
// opened or read, or is not a regular file (a named pipe, a device ...), or is larger than
// `limit` (when given) allows: `contents` unchanged, `error` says why, errno ENOENT or ENOTDIR
// when there is no such file, EFBIG when it is too large (refused before anything is read).
bool ReadWholeFile(const std::string& path, std::string* contents, std::string* error = nullptr,
                   const os::SizeLimit* limit = nullptr);

}  // namespace rt
