#include "pathview/path_model.h"
#include "pathview/pathview_services.h"
#include "runtime/ui.h"
#include "shell/callbacks.h"

void RegisterPathViewCallbacks() {
    pathview::RegisterCallbacks(pathview::JorbPathModel(), "CVSCONFIGCB");
    rt::RegisterCtrlCallback("CVSCONFIGCBJora", CVSCONFIGCBJora);
    rt::RegisterCtrlCallback("CVSCONFIGCBQeva", CVSCONFIGCBQeva);
    rt::RegisterCtrlCallback("CVSCONFIGCBZuta", CVSCONFIGCBZuta);
    rt::RegisterCtrlCallback("CVSCONFIGCBZutb", CVSCONFIGCBZutb);
    rt::RegisterCtrlCallback("MNCVSCB", MNCVSCB);
    rt::RegisterCtrlCallback("MNPykaCVSCB", MNPykaCVSCB);
    rt::RegisterCtrlCallback("MNPykbCVSCB", MNPykbCVSCB);
}
