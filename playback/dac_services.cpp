// DAC and clock panels, as far as the rest of the program needs them now. The panels carry no
// register controls yet, so their ring fills and refreshes have nothing to do; the Jorb DAC
// panel's sample-rate ring takes the Jorbx rates.
#include "playback/dac_panel.h"

#include "panels/cfgDACJorb_pan.h"
#include "runtime/ui.h"
#include "shell/handles.h"

void InitDACPanel() {}
void InitDACPanel_Jora() {}
void InitDACPanel_Qeva() {}
void InitDACPanelZuta() {}
void InitDACPanelZutb() {}
void MNInitDACPanel() {}
void MNPykaInitDACPanel() {}
void MNPykbInitDACPanel() {}
void UpdateDACPanel() {}
void UpdateDACPanel_Jora() {}
void UpdateDACPanel_Qeva() {}
void UpdateDACPanelZuta() {}
void UpdateDACPanelZutb() {}
void MNUpdateDACPanel() {}
void MNPykaUpdateDACPanel() {}
void MNPykbUpdateDACPanel() {}
namespace {

using ui::cfgDACJorb_pan::CFGDAC_STSR;

constexpr int kRate96k = 6;
constexpr int kRate192k = 7;

bool jorbxRatesShown = false;

void DeleteItemWithValue(int value) {
    int index = -1;
    if (rt::GetIndexFromValue(PHandleSTDAC, CFGDAC_STSR, &index, value) >= 0 && index >= 0)
        rt::DeleteListItem(PHandleSTDAC, CFGDAC_STSR, index, 1);
}

}  // namespace

void AddJorbxSampleRates() {
    if (jorbxRatesShown || PHandleSTDAC <= 0) return;
    rt::InsertListItem(PHandleSTDAC, CFGDAC_STSR, 0, "96kHz", kRate96k);
    rt::InsertListItem(PHandleSTDAC, CFGDAC_STSR, 0, "192kHz", kRate192k);
    jorbxRatesShown = true;
}

void RemoveJorbxSampleRates() {
    if (!jorbxRatesShown || PHandleSTDAC <= 0) return;
    DeleteItemWithValue(kRate192k);
    DeleteItemWithValue(kRate96k);
    jorbxRatesShown = false;
}

bool JorbxSampleRatesShown() { return jorbxRatesShown; }
void ResetJorbxSampleRates() { jorbxRatesShown = false; }

// The sample rate is written by the DAC panel's clock block (not built yet).
int STClockCB(int, int, int, void*, int, int) { return 0; }

void RegisterDACCallbacks() { rt::RegisterCtrlCallback("STClockCB", STClockCB); }
