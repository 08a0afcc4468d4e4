// Register 0 for the device link's block read, read the way the Jorb register map's "Read"
// does it: address box set to 0 and the read run as a commit.
#include "regmap/regmap_services.h"

#include "panels/cfgMapJorb_Pan.h"
#include "runtime/ui.h"
#include "shell/guarded_reads.h"
#include "shell/handles.h"
#include "shell/state.h"

using namespace ui::cfgMapJorb_Pan;

void ReadRegisterZeroThroughRegMap() {
    if (PHandleSTRegMap > 0) {
        rt::SetCtrlVal(PHandleSTRegMap, CFGMAPJorb_NACSTRegAddr, 0);
        rt::CallCtrlCallback(PHandleSTRegMap, CFGMAPJorb_BACSTRegRead, rt::EVENT_COMMIT, 0, 0);
        return;
    }
    // Without the panels (the link on its own): the same read, kept quiet on failure.
    const int value = ZelqxReadOneReg(0);
    if (value >= 0) CFG_REG[0] = static_cast<uint32_t>(value);
}
