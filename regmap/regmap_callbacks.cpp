#include "regmap/regmap_model.h"
#include "regmap/regmap_services.h"
#include "runtime/ui.h"
#include "shell/callbacks.h"

void RegisterRegMapCallbacks() {
    rt::RegisterCtrlCallback("BACSTRegReadCB", BACSTRegReadCB);
    rt::RegisterCtrlCallback("STReadAllCB", STReadAllCB);
    rt::RegisterCtrlCallback("STReadAllCBJora", STReadAllCBJora);
    rt::RegisterCtrlCallback("STReadAllCBQeva", STReadAllCBQeva);
    rt::RegisterCtrlCallback("STReadAllCBZuta", STReadAllCBZuta);
    rt::RegisterCtrlCallback("STReadAllCBZutb", STReadAllCBZutb);
    rt::RegisterCtrlCallback("STReadAllCBPykc", STReadAllCBPykc);
    rt::RegisterCtrlCallback("STReadAllCBPykb", STReadAllCBPykb);
    rt::RegisterCtrlCallback("STReadAllCBPyka", STReadAllCBPyka);
    // Not built yet: they do nothing.
    for (const char* name :
         {"BACSTRegReadCBJora", "BACSTRegReadCBQeva", "BACSTRegReadCBZuta", "BACSTRegReadCBZutb",
          "BACSTRegReadCBPykc", "BACSTRegReadCBPykb", "BACSTRegReadCBPyka", "BACSTRegWriteCB",
          "BACSTRegWriteCBJora", "BACSTRegWriteCBQeva", "BACSTRegWriteCBZuta", "BACSTRegWriteCBZutb",
          "BACSTRegWriteCBPykc", "BACSTRegWriteCBPykb", "BACSTRegWriteCBPyka", "BACSTRegReadCB08A",
          "BACSTRegWriteCB08A", "BACSTRegReadCB08", "BACSTRegWriteCB08", "BACSTRegRead08CB",
          "BACSTRegWrite08CB", "BPykbACSTRegRead08CB", "BPykbACSTRegWrite08CB", "cfgRegTable",
          "cfgRegTableJora", "cfgRegTableQeva", "cfgRegTableZuta", "cfgRegTableZutb", "cfgRegTablePykc",
          "cfgRegTablePykb", "cfgRegTablePyka"})
        rt::RegisterCtrlCallback(name, RegMapControlNotBuiltCB);
}
