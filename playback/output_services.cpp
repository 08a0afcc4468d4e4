// The output panels' named operations: each model's start-up fill and refresh, and the
// registration of every model's callback names to the shared module.
#include "playback/output_model.h"
#include "playback/output_panel.h"

using output::Describe;
using output::ModelId;

void InitOutputPanel() { output::FillPanel(Describe(ModelId::Jorb)); }
void InitOutputPanelZuta() { output::FillPanel(Describe(ModelId::Zuta)); }
void InitOutputPanelZutb() { output::FillPanel(Describe(ModelId::Zutb)); }
void InitOutputPanel_Jora() { output::FillPanel(Describe(ModelId::Jora)); }
void InitOutputPanel_Qeva() { output::FillPanel(Describe(ModelId::Qeva)); }
void MNInitOutputPanel() { output::FillPanel(Describe(ModelId::Pykc)); }
void MNPykbInitOutputPanel() { output::FillPanel(Describe(ModelId::Pykb)); }
void MNPykaInitOutputPanel() { output::FillPanel(Describe(ModelId::Pyka)); }

void UpdateOutputPanel() { output::RefreshPanel(Describe(ModelId::Jorb)); }
void UpdateOutputPanelZuta() { output::RefreshPanel(Describe(ModelId::Zuta)); }
void UpdateOutputPanelZutb() { output::RefreshPanel(Describe(ModelId::Zutb)); }
void UpdateOutputPanel_Jora() { output::RefreshPanel(Describe(ModelId::Jora)); }
void UpdateOutputPanel_Qeva() { output::RefreshPanel(Describe(ModelId::Qeva)); }
void MNUpdateOutputPanel() { output::RefreshPanel(Describe(ModelId::Pykc)); }
void MNPykbUpdateOutputPanel() { output::RefreshPanel(Describe(ModelId::Pykb)); }
void MNPykaUpdateOutputPanel() { output::RefreshPanel(Describe(ModelId::Pyka)); }

void RegisterOutputCallbacks() {
    for (int i = 0; i < output::kModelCount; ++i) output::RegisterCallbacks(Describe(static_cast<ModelId>(i)));
}
