// Every panel file built into the program loads: all its panels and menu bars, with every
// callback it names bound by the program's registration.
#include "runtime/panel_resources.h"
#include "runtime/testing.h"
#include "runtime/ui.h"
#include "shell/callbacks.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

TEST(EmbeddedPanels, EveryPanelAndMenuBarOfEveryFileLoads) {
    ASSERT_EQ(rt::InitCVIRTE(), 0);
    RegisterAllCallbacks();
    rt::RegisterEmbeddedPanels();
    std::vector<std::string> names = rt::PanelResourceNames();
    ASSERT_FALSE(names.empty()) << "no panel file is built into the program";

    std::vector<std::string> failures;
    int panels = 0, menuBars = 0;
    for (const std::string& name : names) {
        std::string text;
        ASSERT_TRUE(rt::PanelResourceText(name, &text));
        nlohmann::json doc = nlohmann::json::parse(text, nullptr, false);
        if (doc.is_discarded() || !doc.contains("panels")) {
            failures.push_back(name + ": malformed panel file");
            continue;
        }
        // Each panel as the program loads it: top-level, and as a child of a top-level panel.
        for (const auto& p : doc["panels"]) {
            int resource = p.value("resource", 0);
            int handle = rt::LoadPanel(0, name.c_str(), resource);
            if (handle < 0) {
                failures.push_back(rt::LastLoadError());
                continue;
            }
            int child = rt::LoadPanel(handle, name.c_str(), resource);
            if (child < 0) failures.push_back(name + " as a child panel: " + rt::LastLoadError());
            ++panels;
            rt::DiscardPanel(handle);
        }
        if (doc.contains("menubars")) {
            for (const auto& m : doc["menubars"]) {
                int bar = rt::LoadMenuBar(0, name.c_str(), m.value("resource", 0));
                if (bar < 0) failures.push_back(rt::LastLoadError());
                else ++menuBars;
            }
        }
        rt::testing::ResetRuntime();
    }
    std::string all;
    for (const std::string& f : failures) all += "\n  " + f;
    EXPECT_TRUE(failures.empty()) << failures.size() << " load failure(s):" << all;
    std::printf("%zu panel files, %d panels, %d menu bars loaded\n", names.size(), panels, menuBars);
}
