// The table of panel files (name -> JSON text) and the checked documents made from them.
#include "runtime/panel_resources.h"
#include "runtime/rt_internal.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace rt {

namespace {

struct Resource {
    std::string text;
    bool checked = false;
    nlohmann::json doc;
    std::string error;  // what the check found, when it failed
};

std::map<std::string, Resource>& Table() {
    static std::map<std::string, Resource> table;
    return table;
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Exact name first; the original program named its files without regard to letter case.
std::map<std::string, Resource>::iterator Find(const std::string& name) {
    auto& table = Table();
    auto it = table.find(name);
    if (it != table.end()) return it;
    std::string lower = Lower(name);
    for (it = table.begin(); it != table.end(); ++it)
        if (Lower(it->first) == lower) return it;
    return table.end();
}

}  // namespace

void RegisterPanelResource(const std::string& fileName, const std::string& jsonText) {
    Resource& r = Table()[fileName];
    r = Resource{};
    r.text = jsonText;
}

std::vector<std::string> PanelResourceNames() {
    std::vector<std::string> names;
    for (const auto& [name, r] : Table()) names.push_back(name);
    return names;
}

bool PanelResourceText(const std::string& fileName, std::string* jsonText) {
    auto it = Find(fileName);
    if (it == Table().end()) return false;
    if (jsonText) *jsonText = it->second.text;
    return true;
}

namespace detail {

const nlohmann::json* PanelFile(const std::string& fileName, std::string* canonicalName, int* error) {
    auto it = Find(fileName);
    if (it == Table().end()) {
        RT().lastLoadError = "panel file \"" + fileName + "\" is not among the panel resources";
        *error = UIEResourceNotFound;
        return nullptr;
    }
    Resource& r = it->second;
    if (!r.checked) {
        std::vector<std::string> problems = panelfmt::ParsePanelFile(it->first, r.text, &r.doc);
        r.checked = true;
        r.error = JoinLines(problems);
    }
    if (!r.error.empty()) {
        RT().lastLoadError = r.error;
        *error = UIEBadFile;
        return nullptr;
    }
    if (canonicalName) *canonicalName = it->first;
    return &r.doc;
}

int BeginLoad() {
    RT().lastLoadError.clear();
    if (!EnsureApp()) {
        RT().lastLoadError = "the user interface cannot start (no GUI application)";
        return UIENoApplication;
    }
    return 0;
}

const nlohmann::json* FindResource(const char* fileName, const char* list, int resourceId, const char* what,
                                   std::string* canonicalName, int* error) {
    if (!fileName) {
        RT().lastLoadError = "no panel file named";
        *error = UIEResourceNotFound;
        return nullptr;
    }
    const nlohmann::json* doc = PanelFile(fileName, canonicalName, error);
    if (!doc) return nullptr;
    const nlohmann::json* found = nullptr;
    if (doc->contains(list))
        for (const nlohmann::json& e : (*doc)[list])
            if (e["resource"].get<int>() == resourceId) found = &e;
    if (!found) {
        RT().lastLoadError = *canonicalName + ": no " + what + " with resource " + std::to_string(resourceId);
        *error = UIEResourceNotFound;
    }
    return found;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += (out.empty() ? "" : "\n") + l;
    return out;
}

}  // namespace detail

}  // namespace rt
