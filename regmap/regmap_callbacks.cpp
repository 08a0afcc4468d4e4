#include "regmap/config_list.h"
#include "regmap/regmap_model.h"
#include "runtime/ui.h"
#include "shell/callbacks.h"

void RegisterRegMapCallbacks() {
    RegisterRegMapPanelCallbacks();
    RegisterConfigListCallbacks();
}
