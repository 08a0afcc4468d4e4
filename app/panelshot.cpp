// panelshot: draws every tab of the chosen models offscreen and writes one PNG per tab, so the
// panels can be looked at without a screen. Runs on the emulated board with instant waits; after
// each choice the panels are redrawn from the register copy as the refresh timer does, so the
// pictures show the values read back and the path views' wires.
//
//   panelshot OUTDIR MODEL...     MODEL: jorb zuta zutb jora qeva qevb pykc pykd pykb pyka
//
// It also writes the whole window, at the size it opens at on the platform's screen, once per
// model with its first tab shown ("MODEL_window.png"). A screen of another size is set up with
// QT_QPA_PLATFORM=offscreen:configfile=FILE, FILE holding for example
//   {"screens":[{"name":"s","x":0,"y":0,"width":1366,"height":768,"logicalDpi":96}]}
#include <QApplication>
#include <QPixmap>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>

#include "oslayer/os.h"
#include "panels/AudioCodec_pan.h"
#include "runtime/testing.h"
#include "runtime/ui.h"
#include "shell/handles.h"
#include "shell/startup.h"
#include "shell/state.h"
#include "shell/timers.h"

using namespace ui::AudioCodec_pan;

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: panelshot OUTDIR MODEL...\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("BOARDHID_BACKEND", "emulator", 0);
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("codecbench-panelshot-" + std::to_string(::getpid()));
    std::filesystem::create_directories(home);
    setenv("CODECBENCH_HOME", home.c_str(), 1);
    os::SetSleeper([](int) {});
    if (ShellStartup() != 0) {
        std::fprintf(stderr, "panelshot: start-up failed\n");
        return 1;
    }
    const std::map<std::string, int> models = {
        {"jorb", MENUBAR_DEVICE_StereoJorb}, {"zuta", MENUBAR_DEVICE_StereoZuta},
        {"zutb", MENUBAR_DEVICE_StereoZutb}, {"jora", MENUBAR_DEVICE_StereoJora},
        {"qeva", MENUBAR_DEVICE_StereoQeva}, {"qevb", MENUBAR_DEVICE_StereoQevb},
        {"pykc", MENUBAR_DEVICE_Mono},       {"pykd", MENUBAR_DEVICE_MonoPykd},
        {"pykb", MENUBAR_DEVICE_MonoPykb},   {"pyka", MENUBAR_DEVICE_MonoPyka}};
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out);
    QWidget* window = rt::testing::PanelWindow(PHandlePanel);
    rt::DisplayPanel(PHandlePanel);
    QApplication::processEvents();
    int written = 0;
    for (int i = 2; i < argc; ++i) {
        auto it = models.find(argv[i]);
        if (it == models.end()) {
            std::fprintf(stderr, "panelshot: unknown model %s\n", argv[i]);
            continue;
        }
        rt::CallMenuCallback(PHandleMenu, it->second);
        RunRedrawList(UILoaded);
        QApplication::processEvents();
        if (window->grab().save(QString::fromStdString((out / (argv[i] + std::string("_window.png"))).string())))
            ++written;
        int n = 0;
        for (int tab : rt::EasyTab_Panels(PHandlePanel, tabCtrl)) {
            rt::EasyTab_SetAttribute(PHandlePanel, tabCtrl, rt::ATTR_EASY_TAB_ACTIVE_PANEL, tab);
            rt::CallCtrlCallback(PHandlePanel, tabCtrl, rt::EVENT_ACTIVE_TAB_CHANGE, tab, tab);
            QApplication::processEvents();
            std::string title;
            rt::GetPanelAttribute(tab, rt::ATTR_TITLE, &title);
            for (char& c : title)
                if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
            char name[256];
            std::snprintf(name, sizeof name, "%s_%02d_%s.png", argv[i], n++, title.c_str());
            if (rt::testing::PanelContent(tab)->grab().save(QString::fromStdString((out / name).string())))
                ++written;
        }
    }
    std::printf("panelshot: %d pictures in %s\n", written, out.c_str());
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    std::fflush(stdout);
    std::_Exit(0);  // skip the shell's shutdown: nothing to save
}
