// The DAC panels' named operations (ring fills, refreshes, the PLL display reset) on the shared
// module with each model's description, the registration of their callbacks, and the Jorbx
// rates of the Jorb panel's sample-rate ring.
#include "playback/dac_panel.h"
#include "playback/dac_model.h"

#include "panels/cfgDACJorb_pan.h"
#include "runtime/ui.h"
#include "shell/handles.h"

void InitDACPanel() { dac::Init(dac::JorbDac()); }
void InitDACPanel_Jora() { dac::Init(dac::JoraDac()); }
void InitDACPanel_Qeva() { dac::Init(dac::QevaDac()); }
void InitDACPanelZuta() { dac::Init(dac::ZutaDac()); }
void UpdateDACPanel() { dac::Update(dac::JorbDac()); }
void UpdateDACPanel_Jora() { dac::Update(dac::JoraDac()); }
void UpdateDACPanel_Qeva() { dac::Update(dac::QevaDac()); }
void UpdateDACPanelZuta() { dac::Update(dac::ZutaDac()); }
void InitDACPanelZutb() { dac::Init(dac::ZutbDac()); }
void MNInitDACPanel() { dac::Init(dac::PykcDac()); }
void MNPykaInitDACPanel() { dac::Init(dac::PykaDac()); }
void MNPykbInitDACPanel() { dac::Init(dac::PykbDac()); }
void UpdateDACPanelZutb() { dac::Update(dac::ZutbDac()); }
void MNUpdateDACPanel() { dac::Update(dac::PykcDac()); }
void MNPykaUpdateDACPanel() { dac::Update(dac::PykaDac()); }
void MNPykbUpdateDACPanel() { dac::Update(dac::PykbDac()); }

void ResetPLLConfiguration() { dac::ResetPLLConfiguration(dac::JorbDac(), PHandleSTDAC); }
void ResetPLLConfigurationZuta() { dac::ResetPLLConfiguration(dac::ZutaDac(), PHandleSTDACZuta); }
void ResetPLLConfigurationJora() { dac::ResetPLLConfiguration(dac::JoraDac(), PHdlDACJora); }
void ResetPLLConfigurationQeva() { dac::ResetPLLConfiguration(dac::QevaDac(), PHdlDACQeva); }
void ResetPLLConfigurationZutb() { dac::ResetPLLConfiguration(dac::ZutbDac(), PHandleSTDACZutb); }
void ResetPLLConfigurationPykc() { dac::ResetPLLConfiguration(dac::PykcDac(), PHandleMNDAC); }
void ResetPLLConfigurationPykb() { dac::ResetPLLConfiguration(dac::PykbDac(), PHandleMNPykbDAC); }
void ResetPLLConfigurationPyka() { dac::ResetPLLConfiguration(dac::PykaDac(), PHandleMNPykaDAC); }

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

int STClockCB(int panel, int control, int event, void*, int, int) {
    if (event != rt::EVENT_COMMIT) return 0;
    if (const fieldpanel::Group* g = fieldpanel::FindGroup(dac::JorbDac().groups, "STClockCB"))
        fieldpanel::RunGroup(*g, panel, control);
    return 0;
}

void RegisterDACCallbacks() {
    for (const dac::DacModel* m : {&dac::JorbDac(), &dac::ZutaDac(), &dac::JoraDac(), &dac::QevaDac(), &dac::ZutbDac(),
                                   &dac::PykcDac(), &dac::PykbDac(), &dac::PykaDac()})
        dac::Register(*m);
}
