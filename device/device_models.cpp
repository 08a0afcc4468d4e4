// Each model's device-control panel as data: control ids by role, Config Board variant,
// interface register and features.
#include "device/device_model.h"

#include "panels/MNDevCtrl_pan.h"
#include "panels/MNPykaDevCtrl_pan.h"
#include "panels/MNPykbDevCtrl_pan.h"
#include "panels/cfgDemoQevb_pan.h"
#include "panels/cfgDevJora_pan.h"
#include "panels/cfgDevJorb_pan.h"
#include "panels/cfgDevQeva_pan.h"
#include "panels/cfgDevZuta_pan.h"
#include "panels/cfgDevZutb_pan.h"
#include "runtime/ui.h"
#include "shell/handles.h"
#include "shell/state.h"

namespace device {
namespace {

// The controls every device-control panel carries: I2S sources, bridge registers, routing.
#define I2S_AND_BRIDGE_IDS(P)                                                                          \
    P(CUSBI2SEn), P(CAPMASEn), P(CSPDIFMASEn), P(CAPSLAVEEn), P(CSPDIFSLAVEEn), P(CDirectDUTEn),       \
        P(CDigitalReset), P(NVuntRegAddr), P(NVuntRegVal), P(BVuntRegRead), P(BVuntRrgWrite),          \
        P(BUSBCODEC), P(BUSBPCM), P(BCODECPCM)
#define STEREO_INTERFACE_IDS(P)                                                                        \
    P(ST3WSPIModeEn), P(ST4WSPIModeEn), P(STI2CModeEn), P(STExternalCtrl), P(STModeSelect),           \
        P(STI2CBuadRate), P(BConfigBoard)
#define PCM_IDS(P) P(RBCLKSelect), P(RFSLocSelect), P(RFSLengthSelect), P(CFSDELAY)

// Jorb, Zuta and Zutb: every board control.
#define FULL_STEREO_IDS(P)                                                                             \
    DevCtrlIds {                                                                                       \
        STEREO_INTERFACE_IDS(P), I2S_AND_BRIDGE_IDS(P), P(BMIXALL), P(BEnableUSBPCM), P(BDisableUSBPCM), \
            P(STVuntConfigEN), PCM_IDS(P)                                                              \
    }
// Jora and Qeva: no PCM settings, no "Mix All ", no Vunt configuration box.
#define SMALL_STEREO_IDS(P)                                                                            \
    DevCtrlIds {                                                                                       \
        STEREO_INTERFACE_IDS(P), I2S_AND_BRIDGE_IDS(P), 0, P(BEnableUSBPCM), P(BDisableUSBPCM), 0, 0, 0, \
            0, 0                                                                                       \
    }
// The mono panels: every board control but the Vunt configuration box.
#define MONO_IDS(P)                                                                                    \
    DevCtrlIds {                                                                                       \
        P(MN3WSPIModeEn), P(MN4WSPIModeEn), P(MNI2CModeEn), P(MNExternalCtrl), P(MNModeSelect),       \
            P(I2CBuadRate), P(BConfigBoard), I2S_AND_BRIDGE_IDS(P), P(BMIXALL), P(BMNEnableUSBPCM),    \
            P(BMNDisableUSBPCM), 0, PCM_IDS(P)                                                         \
    }

#define JORB(x) ui::cfgDevJorb_pan::CFGDEVJorb_##x
#define ZUTA(x) ui::cfgDevZuta_pan::CFGDEVZuta_##x
#define ZUTB(x) ui::cfgDevZutb_pan::CFGDEVZutb_##x
#define JORA(x) ui::cfgDevJora_pan::CFGDEVJora_##x
#define QEVA(x) ui::cfgDevQeva_pan::CFGDEVQeva_##x
#define QEVB(x) ui::cfgDemoQevb_pan::STDemo_##x
#define PYKC(x) ui::MNDevCtrl_pan::MNDEVCTRL_##x
#define PYKB(x) ui::MNPykbDevCtrl_pan::MNPykbDEVCTRL_##x
#define PYKA(x) ui::MNPykaDevCtrl_pan::MNPykaDEVCTRL_##x

// The Qevb board block: no interface boxes, no I2C clock, no bridge registers, no PCM settings.
const DevCtrlIds kQevbIds{0, 0, 0, QEVB(STExternalCtrl), QEVB(STModeSelect), 0, QEVB(BConfigBoard),
                          QEVB(CUSBI2SEn), QEVB(CAPMASEn), QEVB(CSPDIFMASEn), QEVB(CAPSLAVEEn),
                          QEVB(CSPDIFSLAVEEn), QEVB(CDirectDUTEn), QEVB(CDigitalReset), 0, 0, 0, 0,
                          QEVB(BUSBCODEC), QEVB(BUSBPCM), 0, 0, QEVB(BEnableUSBPCM), QEVB(BDisableUSBPCM),
                          0, 0, 0, 0, 0};

const DevModel kModels[kDevModelCount] = {
    {DevId::Jorb, "Jorb", &PHandleSTDevCtrl, FULL_STEREO_IDS(JORB), ConfigVariant::Jorb, 73, false, true},
    {DevId::Zuta, "Zuta", &PHandleSTDevCtrlZuta, FULL_STEREO_IDS(ZUTA), ConfigVariant::Zuta, 7, false, true},
    {DevId::Zutb, "Zutb", &PHandleSTDevCtrlZutb, FULL_STEREO_IDS(ZUTB), ConfigVariant::Zutb, 105, false, true},
    {DevId::Jora, "Jora", &PHdlDevJora, SMALL_STEREO_IDS(JORA), ConfigVariant::Common, 7, false, true},
    {DevId::Qeva, "Qeva", &PHdlDevQeva, SMALL_STEREO_IDS(QEVA), ConfigVariant::Common, 7, false, true},
    {DevId::Qevb, "Qevb", &PHdlDemoQevb, kQevbIds, ConfigVariant::Common, 7, true, true},
    {DevId::Pykc, "Pykc", &PHandleMNDevCtrl, MONO_IDS(PYKC), ConfigVariant::Common, 7, false, false},
    {DevId::Pykb, "Pykb", &PHandleMNPykbDevCtrl, MONO_IDS(PYKB), ConfigVariant::Common, 7, false, false},
    {DevId::Pyka, "Pyka", &PHandleMNPykaDevCtrl, MONO_IDS(PYKA), ConfigVariant::Common, 7, false, false},
};

}  // namespace

const DevModel& Model(DevId id) { return kModels[static_cast<int>(id)]; }

const DevModel& ModelOfPanel(int panel, DevId fallback) {
    if (panel > 0)
        for (const DevModel& m : kModels)
            if (*m.panel == panel) return m;
    return Model(fallback);
}

int PanelFor(const DevModel& m, int panel) { return panel > 0 ? panel : *m.panel; }

int CtrlValue(int panel, int id) {
    int v = 0;
    if (panel > 0 && id > 0) rt::GetCtrlVal(panel, id, &v);
    return v;
}

void SetCtrl(int panel, int id, int value) {
    if (panel > 0 && id > 0) rt::SetCtrlVal(panel, id, value);
}

void DimCtrl(int panel, int id, int dimmed) {
    if (panel > 0 && id > 0) rt::SetCtrlAttribute(panel, id, rt::ATTR_DIMMED, dimmed);
}

DevId LoadedDevModel() {
    switch (UILoaded) {
        case UI_PYKC: return DevId::Pykc;
        case UI_JORA: return DevId::Jora;
        case UI_QEVA: return DevId::Qeva;
        case UI_PYKA: return DevId::Pyka;
        case UI_QEVB: return DevId::Qevb;
        case UI_ZUTA: return DevId::Zuta;
        case UI_ZUTB: return DevId::Zutb;
        case UI_PYKB: return DevId::Pykb;
        default: return DevId::Jorb;
    }
}

}  // namespace device
