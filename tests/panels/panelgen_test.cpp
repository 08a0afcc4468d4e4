// The build step: tools/panelgen turns panel files into headers and embedded texts, and refuses
// bad files with the file, panel and control named.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class Panelgen : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::path(::testing::TempDir()) / ("panelgen_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "in");
    }
    void TearDown() override { fs::remove_all(dir); }

    void Write(const std::string& name, const std::string& text) { std::ofstream(dir / "in" / name) << text; }

    // Runs panelgen on the given input files; returns its exit status and collects its output.
    int Run(std::initializer_list<std::string> files) {
        std::ostringstream command;
        command << PANELGEN << " --out " << (dir / "out").string();
        for (const std::string& f : files) command << ' ' << (dir / "in" / f).string();
        command << " 2>&1";
        std::string cmd = command.str();
        output.clear();
        FILE* pipe = popen(cmd.c_str(), "r");
        if (!pipe) return -1;
        std::array<char, 512> buf;
        while (fgets(buf.data(), buf.size(), pipe)) output += buf.data();
        int status = pclose(pipe);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string Read(const std::string& name) {
        std::ifstream in(dir / "out" / name);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    fs::path dir;
    std::string output;
};

const char* kGood = R"({"file": "good.uir",
  "panels": [ {"resource": 1, "constant": "PANEL", "title": "T", "width": 100, "height": 50,
               "controls": [ {"id": 2, "constant": "QUIT", "kind": "command_button", "label": "Quit",
                              "callback": "Quit", "geometry": [0, 0, 50, 20]},
                             {"id": 8, "constant": "TDev", "kind": "timer", "callback": "TDevTickCB"} ] } ],
  "menubars": [ {"resource": 1, "constant": "MENUBAR",
                 "menus": [ {"id": 2, "constant": "DEVICE", "label": "Device",
                             "items": [ {"id": 3, "constant": "MonoPyka", "label": "KorPyka"} ] } ] } ] })";

}  // namespace

TEST_F(Panelgen, GeneratesConstantsAndEmbedsTheText) {
    Write("good.json", kGood);
    ASSERT_EQ(Run({"good.json"}), 0) << output;
    std::string h = Read("good.h");
    EXPECT_NE(h.find("namespace ui::good {"), std::string::npos) << h;
    EXPECT_NE(h.find("inline constexpr const char* kFileName = \"good.uir\";"), std::string::npos);
    for (const char* line : {"inline constexpr int PANEL = 1;", "inline constexpr int PANEL_QUIT = 2;",
                             "inline constexpr int PANEL_TDev = 8;", "inline constexpr int MENUBAR = 1;",
                             "inline constexpr int MENUBAR_DEVICE = 2;", "inline constexpr int MENUBAR_DEVICE_MonoPyka = 3;"})
        EXPECT_NE(h.find(line), std::string::npos) << line;
    std::string cpp = Read("embedded_panels.cpp");
    EXPECT_NE(cpp.find("RegisterPanelResource(\"good.uir\""), std::string::npos);
    EXPECT_NE(cpp.find("\"constant\":\"QUIT\""), std::string::npos);

    // A panel file that goes away takes its header with it; no files still give a source.
    ASSERT_EQ(Run({}), 0) << output;
    EXPECT_FALSE(fs::exists(dir / "out" / "good.h"));
    EXPECT_NE(Read("embedded_panels.cpp").find("void RegisterEmbeddedPanels()"), std::string::npos);
}

TEST_F(Panelgen, RefusesBadFilesNamingFileAndControl) {
    struct Case {
        const char* name;
        std::string text;
        const char* message;
    } cases[] = {
        {"dup.json",
         R"({"file": "dup.uir", "panels": [ {"resource": 1, "constant": "P", "width": 9, "height": 9, "controls": [
              {"id": 3, "constant": "A", "kind": "led", "geometry": [0,0,9,9]},
              {"id": 3, "constant": "B", "kind": "led", "geometry": [0,0,9,9]} ] } ] })",
         "dup.json: panel P (resource 1): control B (id 3): duplicate control id 3 (also A)"},
        {"kind.json",
         R"({"file": "kind.uir", "panels": [ {"resource": 1, "constant": "P", "width": 9, "height": 9, "controls": [
              {"id": 3, "constant": "A", "kind": "knob", "geometry": [0,0,9,9]} ] } ] })",
         "kind.json: panel P (resource 1): control A (id 3): unknown kind \"knob\""},
        {"const.json",
         R"({"file": "const.uir", "panels": [
              {"resource": 1, "constant": "P", "width": 9, "height": 9, "controls": [
                {"id": 3, "constant": "X", "kind": "led", "geometry": [0,0,9,9]} ] },
              {"resource": 2, "constant": "P_X", "width": 9, "height": 9, "controls": [] } ] })",
         "const.json: duplicate constant P_X"},
        {"broken.json", R"({"file": "broken.uir", "panels": [)", "broken.json: malformed JSON"},
        {"name.json", R"({"file": "other.uir", "panels": []})",
         "name.json: \"file\" is \"other.uir\" but the file is named for \"name.uir\""},
        {"missing.json",
         R"({"file": "missing.uir", "panels": [ {"resource": 1, "constant": "P", "width": 9, "controls": []} ] })",
         "missing.json: panel P (resource 1): missing key \"height\""},
        {"gaps.json",
         R"({"file": "gaps.uir", "panels": [ {"resource": 1, "constant": "P", "width": 99, "height": 9, "controls": [
              {"id": 3, "constant": "T", "kind": "text_message", "label": "a   b   c", "gaps": ["N"], "geometry": [0,0,99,9]},
              {"id": 4, "constant": "N", "kind": "numeric", "geometry": [0,0,9,9]} ] } ] })",
         "gaps.json: panel P (resource 1): control T (id 3): \"gaps\" names 1 control(s) for 2 gap(s)"},
        {"foot.json",
         R"({"file": "foot.uir", "panels": [ {"resource": 1, "constant": "P", "width": 9, "height": 9, "columnFoot": 9,
              "controls": []} ] })",
         "foot.json: panel P (resource 1): \"columnFoot\" must be positive and less than the panel's height"},
    };
    for (const Case& c : cases) {
        Write(c.name, c.text);
        EXPECT_EQ(Run({c.name}), 1) << c.name;
        EXPECT_NE(output.find(c.message), std::string::npos) << c.name << ": " << output;
        EXPECT_FALSE(fs::exists(dir / "out" / "embedded_panels.cpp")) << c.name;
    }
    // One bad file among good ones still stops the build.
    Write("good.json", kGood);
    EXPECT_EQ(Run({"good.json", "dup.json"}), 1);
}
