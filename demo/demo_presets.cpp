// The preset block of the stereo demo panels: set boxes that exclude each other.
#include "demo/stereo_demo.h"
#include "runtime/ui.h"

namespace demo {
namespace {

constexpr int SetBox(int n) { return ids::STDemo_STSet1 + n - 1; }
static_assert(SetBox(7) == ids::STDemo_STSet7);

// Ticking a set box unticks the model's other set boxes; unticking changes nothing else.
void TickSet(const StereoDemo& m, int panel, int n) {
    int ticked = 0;
    rt::GetCtrlVal(panel, SetBox(n), &ticked);
    if (!ticked) return;
    for (int other : m.sets)
        if (other != 0 && other != n) rt::SetCtrlVal(panel, SetBox(other), 0);
}

}  // namespace

void RegisterStereoPresetCallbacks(const StereoDemo& m) {
    for (int n : m.sets) {
        if (n == 0) break;
        rt::RegisterCtrlCallback("STSet" + std::to_string(n) + "CB" + m.suffix,
                                 [&m, n](int panel, int, int event, void*, int, int) {
                                     if (event == rt::EVENT_COMMIT) TickSet(m, panel, n);
                                     return 0;
                                 });
    }
}

}  // namespace demo
