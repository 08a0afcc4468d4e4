// Loading every panel built into the program: widgets built from the checked resources, and the
// same with each file's text checked afresh (as at the first load of a run).
#include "runtime/panel_resources.h"
#include "runtime/testing.h"
#include "runtime/ui.h"
#include "shell/callbacks.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

struct PanelFile {
    std::string name;
    std::string text;
    std::vector<int> panels;
};

const std::vector<PanelFile>& Files() {
    static std::vector<PanelFile> files = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);  // loading needs no screen
        rt::InitCVIRTE();
        RegisterAllCallbacks();
        rt::RegisterEmbeddedPanels();
        std::vector<PanelFile> out;
        for (const std::string& name : rt::PanelResourceNames()) {
            PanelFile f{name, "", {}};
            rt::PanelResourceText(name, &f.text);
            nlohmann::json doc = nlohmann::json::parse(f.text, nullptr, false);
            if (!doc.is_discarded())
                for (const auto& p : doc.value("panels", nlohmann::json::array())) f.panels.push_back(p.value("resource", 0));
            out.push_back(std::move(f));
        }
        return out;
    }();
    return files;
}

void LoadAll(benchmark::State& state, bool recheck) {
    const auto& files = Files();
    int perIteration = 0;
    for (const PanelFile& f : files) perIteration += static_cast<int>(f.panels.size());
    for (auto _ : state) {
        for (const PanelFile& f : files) {
            if (recheck) rt::RegisterPanelResource(f.name, f.text);
            for (int resource : f.panels) {
                int p = rt::LoadPanel(0, f.name.c_str(), resource);
                if (p < 0) {
                    state.SkipWithError(rt::LastLoadError().c_str());
                    return;
                }
            }
        }
        state.PauseTiming();
        rt::testing::ResetRuntime();
        state.ResumeTiming();
    }
    state.counters["panels"] = benchmark::Counter(perIteration, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_LoadAllPanels(benchmark::State& state) { LoadAll(state, false); }
void BM_CheckAndLoadAllPanels(benchmark::State& state) { LoadAll(state, true); }

}  // namespace

BENCHMARK(BM_LoadAllPanels)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckAndLoadAllPanels)->Unit(benchmark::kMillisecond);
