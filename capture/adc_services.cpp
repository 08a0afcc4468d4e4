// The ADC filter panels' named operations on the shared module with each model's description,
// and the registration of their callbacks.
#include "capture/adc_panel.h"
#include "capture/adc_model.h"

void InitADCFilterPanel() { adc::Init(adc::JorbAdc()); }
void InitADCFilterPanel_Jora() { adc::Init(adc::JoraAdc()); }
void InitADCFilterPanelZuta() { adc::Init(adc::ZutaAdc()); }
void InitADCFilterPanelZutb() {}
void MNInitADCFilterPanel() {}
void MNPykaInitADCFilterPanel() {}
void MNPykbInitADCFilterPanel() {}
void UpdateADCFilterPanel() { adc::Update(adc::JorbAdc()); }
void UpdateADCFilterPanel_Jora() { adc::Update(adc::JoraAdc()); }
void UpdateADCFilterPanelZuta() { adc::Update(adc::ZutaAdc()); }
void UpdateADCFilterPanelZutb() {}
void MNUpdateADCFilterPanel() {}
void MNPykaUpdateADCFilterPanel() {}
void MNPykbUpdateADCFilterPanel() {}

void RegisterADCCallbacks() {
    for (const adc::AdcModel* m : {&adc::JorbAdc(), &adc::ZutaAdc(), &adc::JoraAdc()}) adc::Register(*m);
}
