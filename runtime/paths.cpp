// The project directory, path helpers and the number format of generated ring labels.
#include "oslayer/os.h"
#include "runtime/ui.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace rt {

namespace {

std::string TrimSlashes(std::string s) {
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

std::string HomeDir() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    if (const passwd* pw = getpwuid(getuid())) return pw->pw_dir ? pw->pw_dir : "";
    return "";
}

// $XDG_DATA_HOME when it is an absolute path (a relative one is to be ignored), else
// ~/.local/share.
std::string DataHome() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/') return TrimSlashes(data);
    return HomeDir() + "/.local/share";
}

}  // namespace

std::string ProjectDirFor(const std::string& programDir) {
    const char* env = std::getenv("CODECBENCH_HOME");
    if (env && *env) return TrimSlashes(env);
    // Only a build keeps its files beside the program: an install must hold nothing the user
    // made, or a re-install or uninstall would take it with it.
    struct stat st {};
    if (!programDir.empty() && lstat(MakePathname(programDir, kBuildFolderMarker).c_str(), &st) == 0 &&
        S_ISREG(st.st_mode) && access(programDir.c_str(), W_OK) == 0)
        return TrimSlashes(programDir);
    std::string dir = DataHome() + "/codecbench";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    return dir;
}

std::string GetProjectDir() { return ProjectDirFor(os::ExecutableDir()); }

std::string MakePathname(const std::string& dir, const std::string& file) {
    if (dir.empty()) return file;
    std::string f = file;
    size_t skip = 0;
    while (skip < f.size() && f[skip] == '/') ++skip;
    f.erase(0, skip);
    return dir.back() == '/' ? dir + f : dir + "/" + f;
}

void SplitPath(const std::string& path, std::string* dir, std::string* file) {
    size_t slash = path.find_last_of('/');
    std::string d, f;
    if (slash == std::string::npos) {
        f = path;
    } else {
        d = slash == 0 ? "/" : path.substr(0, slash);
        f = path.substr(slash + 1);
    }
    if (dir) *dir = d;
    if (file) *file = f;
}

bool FileExists(const std::string& path) {
    struct stat st;
    return !path.empty() && stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string FormatReal(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.6f", value);
    std::string s = buf;
    size_t point = s.find('.');
    if (point != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

}  // namespace rt
