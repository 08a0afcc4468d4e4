// Profile files, read through the project's INI layer.
#include "oslayer/profile.h"

#include "runtime/inifile.h"

namespace os {

std::string GetPrivateProfileString(const std::string& path, const char* section, const char* key,
                                    const char* defaultText) {
  std::string value = defaultText != nullptr ? defaultText : "";
  rt::IniText ini = rt::Ini_New(0);
  if (rt::Ini_ReadFromFile(ini, path.c_str()) == 0) rt::Ini_GetStringCopy(ini, section, key, &value);
  rt::Ini_Dispose(ini);
  return value;
}

}  // namespace os
