#include "pathview/path_model.h"
#include "pathview/pathview_services.h"
#include "runtime/ui.h"
#include "shell/callbacks.h"

void RegisterPathViewCallbacks() {
    pathview::RegisterCallbacks(pathview::JorbPathModel(), "CVSCONFIGCB");
    pathview::RegisterCallbacks(pathview::JoraPathModel(), "CVSCONFIGCBJora");
    pathview::RegisterCallbacks(pathview::QevaPathModel(), "CVSCONFIGCBQeva");
    pathview::RegisterCallbacks(pathview::ZutaPathModel(), "CVSCONFIGCBZuta");
    pathview::RegisterCallbacks(pathview::ZutbPathModel(), "CVSCONFIGCBZutb");
    pathview::RegisterCallbacks(pathview::MonoPathModel(), "MNCVSCB");
    pathview::RegisterCallbacks(pathview::MonoPykaPathModel(), "MNPykaCVSCB");
    pathview::RegisterCallbacks(pathview::MonoPykbPathModel(), "MNPykbCVSCB");
}
