// The ADC filter panels' named operations on the shared module with each model's description,
// and the registration of their callbacks.
#include "capture/adc_panel.h"
#include "capture/adc_model.h"

void InitADCFilterPanel() { adc::Init(adc::JorbAdc()); }
void InitADCFilterPanel_Jora() { adc::Init(adc::JoraAdc()); }
void InitADCFilterPanelZuta() { adc::Init(adc::ZutaAdc()); }
void InitADCFilterPanelZutb() { adc::Init(adc::ZutbAdc()); }
void MNInitADCFilterPanel() { adc::Init(adc::PykcAdc()); }
void MNPykaInitADCFilterPanel() { adc::Init(adc::PykaAdc()); }
void MNPykbInitADCFilterPanel() { adc::Init(adc::PykbAdc()); }
void UpdateADCFilterPanel() { adc::Update(adc::JorbAdc()); }
void UpdateADCFilterPanel_Jora() { adc::Update(adc::JoraAdc()); }
void UpdateADCFilterPanelZuta() { adc::Update(adc::ZutaAdc()); }
void UpdateADCFilterPanelZutb() { adc::Update(adc::ZutbAdc()); }
void MNUpdateADCFilterPanel() { adc::Update(adc::PykcAdc()); }
void MNPykaUpdateADCFilterPanel() { adc::Update(adc::PykaAdc()); }
void MNPykbUpdateADCFilterPanel() { adc::Update(adc::PykbAdc()); }

void RegisterADCCallbacks() {
    for (const adc::AdcModel* m : {&adc::JorbAdc(), &adc::ZutaAdc(), &adc::JoraAdc(), &adc::ZutbAdc(), &adc::PykcAdc(),
                                   &adc::PykbAdc(), &adc::PykaAdc()})
        adc::Register(*m);
}
