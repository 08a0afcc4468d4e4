// panelgen: checks the panel resources (panels/*.json) and generates what the program needs
// of them: one constants header per file and one source embedding every file's text.
//
//   panelgen --out <dir> <file.json>...
//
// Writes <dir>/<name>.h for each file and <dir>/embedded_panels.cpp (rt::RegisterEmbeddedPanels).
// A file is rewritten only when its contents change, so an edit to one panel file recompiles
// only what includes its header. Any problem is printed with the file, panel and control it
// concerns, and the exit status is 1.
#include "runtime/panel_format.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

bool ReadFile(const fs::path& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    *text = ss.str();
    return static_cast<bool>(in) || in.eof();
}

// Writes only when the contents differ, keeping the time stamp of an unchanged output.
bool WriteIfChanged(const fs::path& path, const std::string& text) {
    std::string old;
    if (ReadFile(path, &old) && old == text) return true;
    fs::path tmp = path;
    tmp += ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << text;
        if (!out.flush()) return false;
    }
    std::error_code ec;
    fs::rename(tmp, path, ec);
    return !ec;
}

std::string Header(const std::string& name, const json& doc) {
    std::ostringstream h;
    h << "// Constants of the panel file \"" << doc["file"].get<std::string>()
      << "\", generated from panels/" << name << ".json by tools/panelgen. Do not edit.\n"
      << "#pragma once\n\n"
      << "namespace ui::" << name << " {\n\n"
      << "inline constexpr const char* kFileName = \"" << doc["file"].get<std::string>() << "\";\n";
    for (const auto& c : rt::panelfmt::FileConstants(doc))
        h << "inline constexpr int " << c.name << " = " << c.value << ";\n";
    h << "\n}  // namespace ui::" << name << "\n";
    return h.str();
}

// A raw string literal whose delimiter does not occur in the text.
std::string RawLiteral(const std::string& text) {
    std::string delim = "cbpanel";
    while (text.find(")" + delim + "\"") != std::string::npos) delim += "x";
    return "R\"" + delim + "(" + text + ")" + delim + "\"";
}

struct Embedded {
    std::string file;
    std::string text;
};

std::string Source(const std::vector<Embedded>& files) {
    std::ostringstream s;
    s << "// The panel resources embedded in the program, generated from panels/*.json by\n"
      << "// tools/panelgen. Do not edit.\n"
      << "#include \"runtime/panel_resources.h\"\n\n"
      << "#include <string>\n\n";
    s << "namespace {\n\n";
    for (size_t i = 0; i < files.size(); ++i)
        s << "const char kPanelText" << i << "[] = " << RawLiteral(files[i].text) << ";\n\n";
    s << "}  // namespace\n\n"
      << "namespace rt {\n\n"
      << "void RegisterEmbeddedPanels() {\n"
      << "    static bool done = false;\n"
      << "    if (done) return;\n"
      << "    done = true;\n";
    for (size_t i = 0; i < files.size(); ++i)
        s << "    RegisterPanelResource(\"" << files[i].file << "\", std::string(kPanelText" << i
          << ", sizeof kPanelText" << i << " - 1));\n";
    s << "}\n\n}  // namespace rt\n";
    return s.str();
}

}  // namespace

int main(int argc, char** argv) {
    fs::path outDir;
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--out" && i + 1 < argc) outDir = argv[++i];
        else inputs.emplace_back(a);
    }
    if (outDir.empty()) {
        std::cerr << "usage: panelgen --out <dir> <file.json>...\n";
        return 2;
    }

    std::vector<std::string> problems;
    std::vector<Embedded> embedded;
    std::set<std::string> headers;
    for (const fs::path& in : inputs) {
        std::string name = in.stem().string();
        std::string shown = in.filename().string();
        std::string text;
        if (!ReadFile(in, &text)) {
            problems.push_back(shown + ": cannot be read");
            continue;
        }
        json doc;
        std::vector<std::string> found = rt::panelfmt::ParsePanelFile(shown, text, &doc);
        if (found.empty()) {
            std::string expected = name + ".uir";
            if (doc["file"].get<std::string>() != expected)
                found.push_back(shown + ": \"file\" is \"" + doc["file"].get<std::string>() +
                                "\" but the file is named for \"" + expected + "\"");
            if (!rt::panelfmt::IsIdentifier(name))
                found.push_back(shown + ": the file name is not usable as a namespace name");
            for (const auto& c : rt::panelfmt::FileConstants(doc))
                if (c.name == "kFileName") found.push_back(shown + ": the constant name kFileName is reserved");
        }
        if (!found.empty()) {
            problems.insert(problems.end(), found.begin(), found.end());
            continue;
        }
        headers.insert(name + ".h");
        embedded.push_back({doc["file"].get<std::string>(), doc.dump()});
        if (!problems.empty()) continue;  // keep checking, but write nothing once a file failed
        std::error_code ec;
        fs::create_directories(outDir, ec);
        if (!WriteIfChanged(outDir / (name + ".h"), Header(name, doc)))
            problems.push_back((outDir / (name + ".h")).string() + ": cannot be written");
    }
    if (!problems.empty()) {
        for (const std::string& p : problems) std::cerr << "panelgen: error: " << p << "\n";
        return 1;
    }
    std::error_code ec;
    fs::create_directories(outDir, ec);
    if (!WriteIfChanged(outDir / "embedded_panels.cpp", Source(embedded))) {
        std::cerr << "panelgen: error: " << (outDir / "embedded_panels.cpp").string() << ": cannot be written\n";
        return 1;
    }
    // Headers of panel files that no longer exist would otherwise keep compiling.
    for (const auto& entry : fs::directory_iterator(outDir, ec)) {
        const fs::path& p = entry.path();
        if (p.extension() == ".h" && !headers.count(p.filename().string())) fs::remove(p, ec);
    }
    return 0;
}
