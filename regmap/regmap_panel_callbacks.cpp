// The callback names of the register-map and script panels.
#include "regmap/regmap_model.h"
#include "regmap/regmap_services.h"
#include "regmap/script.h"
#include "runtime/ui.h"

void RegisterRegMapPanelCallbacks() {
    using Ctrl = int (*)(int, int, int, void*, int, int);
    struct NamedCtrl {
        const char* name;
        Ctrl fn;
    };
    const NamedCtrl controls[] = {
        {"cfgRegTable", cfgRegTable},
        {"cfgRegTableZuta", cfgRegTableZuta},
        {"cfgRegTableZutb", cfgRegTableZutb},
        {"cfgRegTableJora", cfgRegTableJora},
        {"cfgRegTableQeva", cfgRegTableQeva},
        {"cfgRegTablePykc", cfgRegTablePykc},
        {"cfgRegTablePykb", cfgRegTablePykb},
        {"cfgRegTablePyka", cfgRegTablePyka},
        {"BACSTRegReadCB", BACSTRegReadCB},
        {"BACSTRegReadCBZuta", BACSTRegReadCBZuta},
        {"BACSTRegReadCBZutb", BACSTRegReadCBZutb},
        {"BACSTRegReadCBJora", BACSTRegReadCBJora},
        {"BACSTRegReadCBQeva", BACSTRegReadCBQeva},
        {"BACSTRegReadCBPykc", BACSTRegReadCBPykc},
        {"BACSTRegReadCBPykb", BACSTRegReadCBPykb},
        {"BACSTRegReadCBPyka", BACSTRegReadCBPyka},
        {"BACSTRegWriteCB", BACSTRegWriteCB},
        {"BACSTRegWriteCBZuta", BACSTRegWriteCBZuta},
        {"BACSTRegWriteCBZutb", BACSTRegWriteCBZutb},
        {"BACSTRegWriteCBJora", BACSTRegWriteCBJora},
        {"BACSTRegWriteCBQeva", BACSTRegWriteCBQeva},
        {"BACSTRegWriteCBPykc", BACSTRegWriteCBPykc},
        {"BACSTRegWriteCBPykb", BACSTRegWriteCBPykb},
        {"BACSTRegWriteCBPyka", BACSTRegWriteCBPyka},
        {"STReadAllCB", STReadAllCB},
        {"STReadAllCBZuta", STReadAllCBZuta},
        {"STReadAllCBZutb", STReadAllCBZutb},
        {"STReadAllCBJora", STReadAllCBJora},
        {"STReadAllCBQeva", STReadAllCBQeva},
        {"STReadAllCBPykc", STReadAllCBPykc},
        {"STReadAllCBPykb", STReadAllCBPykb},
        {"STReadAllCBPyka", STReadAllCBPyka},
        {"BACSTRegReadCB08A", BACSTRegReadCB08A},
        {"BACSTRegWriteCB08A", BACSTRegWriteCB08A},
        {"BACSTRegReadCB08", BACSTRegReadCB08},
        {"BACSTRegWriteCB08", BACSTRegWriteCB08},
        {"BACSTRegRead08CB", BACSTRegRead08CB},
        {"BACSTRegWrite08CB", BACSTRegWrite08CB},
        {"BPykbACSTRegRead08CB", BPykbACSTRegRead08CB},
        {"BPykbACSTRegWrite08CB", BPykbACSTRegWrite08CB},
        {"STCBShowCB", STCBShowCB},
        {"STCBShowCBZuta", STCBShowCBZuta},
        {"STCBShowCBZutb", STCBShowCBZutb},
        {"RINGdtCB", RINGdtCB},
        {"RINGdtCBZuta", RINGdtCBZuta},
        {"RINGdtCBZutb", RINGdtCBZutb},
        {"TBTRYCB", TBTRYCB},
        {"TBTRYCBZuta", TBTRYCBZuta},
        {"TBTRYCBZutb", TBTRYCBZutb},
    };
    for (const NamedCtrl& c : controls) rt::RegisterCtrlCallback(c.name, c.fn);

    using Panel = int (*)(int, int, void*, int, int);
    struct NamedPanel {
        const char* name;
        Panel fn;
    };
    const NamedPanel panels[] = {
        {"CFGREGMAPCB", CFGREGMAPCB},   {"CFGREGMAPCBZuta", CFGREGMAPCBZuta}, {"CFGREGMAPCBZutb", CFGREGMAPCBZutb},
        {"CFGMAPCBJora", CFGMAPCBJora}, {"CFGMAPCBQeva", CFGMAPCBQeva},       {"CFGMAPCBPykc", CFGMAPCBPykc},
        {"CFGMAPCBPykb", CFGMAPCBPykb}, {"CFGMAPCBPyka", CFGMAPCBPyka},
    };
    for (const NamedPanel& p : panels) rt::RegisterPanelCallback(p.name, p.fn);

    RegisterScriptCallbacks();
}
