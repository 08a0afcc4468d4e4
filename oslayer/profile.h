// Profile files: reading one item of an INI-style profile file, as installers and tools that
// keep their settings in such files expect.
#pragma once

#include <string>

namespace os {

// The value of `key` in `section` of the profile file at `path` (names match without regard
// to case), or `defaultText` when the file cannot be read or holds no such item.
std::string GetPrivateProfileString(const std::string& path, const char* section, const char* key,
                                    const char* defaultText);

}  // namespace os
