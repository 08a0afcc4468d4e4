// The configuration-set list of the path panels, one implementation for every model.
#include "regmap/config_list.h"

#include <string>

#include "panels/MNPath_pan.h"
#include "panels/MNPykaPath_pan.h"
#include "panels/MNPykbPath_pan.h"
#include "panels/cfgPathJora_pan.h"
#include "panels/cfgPathJorb_pan.h"
#include "panels/cfgPathQeva_pan.h"
#include "panels/cfgPathZuta_pan.h"
#include "panels/cfgPathZutb_pan.h"
#include "runtime/ui.h"
#include "shell/handles.h"
#include "shell/progress.h"

namespace {

const ConfigListControls kControls[CFG_MODEL_COUNT] = {
    {&PHandleSTPath, ui::cfgPathJorb_pan::CFGPATHJorb_STD_CFG, ui::cfgPathJorb_pan::CFGPATHJorb_DEL_CFG,
     ui::cfgPathJorb_pan::CFGPATHJorb_UPDATE_CFG, ui::cfgPathJorb_pan::CFGPATHJorb_BLoadConfig,
     ui::cfgPathJorb_pan::CFGPATHJorb_ADD_CFG},
    {&PHandleSTPathZuta, ui::cfgPathZuta_pan::CFGPATHZuta_STD_CFG, ui::cfgPathZuta_pan::CFGPATHZuta_DEL_CFG,
     ui::cfgPathZuta_pan::CFGPATHZuta_UPDATE_CFG, ui::cfgPathZuta_pan::CFGPATHZuta_BLoadConfig,
     ui::cfgPathZuta_pan::CFGPATHZuta_ADD_CFG},
    {&PHandleSTPathZutb, ui::cfgPathZutb_pan::CFGPATHZutb_STD_CFG, ui::cfgPathZutb_pan::CFGPATHZutb_DEL_CFG,
     ui::cfgPathZutb_pan::CFGPATHZutb_UPDATE_CFG, ui::cfgPathZutb_pan::CFGPATHZutb_BLoadConfig,
     ui::cfgPathZutb_pan::CFGPATHZutb_ADD_CFG},
    {&PHdlPathJora, ui::cfgPathJora_pan::CFGPATHJora_STD_CFG, ui::cfgPathJora_pan::CFGPATHJora_DEL_CFG,
     ui::cfgPathJora_pan::CFGPATHJora_UPDATE_CFG, ui::cfgPathJora_pan::CFGPATHJora_BLoadConfig,
     ui::cfgPathJora_pan::CFGPATHJora_ADD_CFG},
    {&PHdlPathQeva, ui::cfgPathQeva_pan::CFGPATHQeva_STD_CFG, ui::cfgPathQeva_pan::CFGPATHQeva_DEL_CFG,
     ui::cfgPathQeva_pan::CFGPATHQeva_UPDATE_CFG, ui::cfgPathQeva_pan::CFGPATHQeva_BLoadConfig,
     ui::cfgPathQeva_pan::CFGPATHQeva_ADD_CFG},
    {&PHandleMNPath, ui::MNPath_pan::MNPATH_MNCONFIGLIST, ui::MNPath_pan::MNPATH_DEL_CFG,
     ui::MNPath_pan::MNPATH_UPDATE_CFG, ui::MNPath_pan::MNPATH_BLoadConfig, ui::MNPath_pan::MNPATH_ADD_CFG},
    {&PHandleMNPykbPath, ui::MNPykbPath_pan::MNPykbPATH_MNCONFIGLIST, ui::MNPykbPath_pan::MNPykbPATH_DEL_CFG,
     ui::MNPykbPath_pan::MNPykbPATH_UPDATE_CFG, ui::MNPykbPath_pan::MNPykbPATH_BLoadConfig,
     ui::MNPykbPath_pan::MNPykbPATH_ADD_CFG},
    {&PHandleMNPykaPath, ui::MNPykaPath_pan::MNPykaPATH_MNCONFIGLIST, ui::MNPykaPath_pan::MNPykaPATH_DEL_CFG,
     ui::MNPykaPath_pan::MNPykaPATH_UPDATE_CFG, ui::MNPykaPath_pan::MNPykaPATH_BLoadConfig,
     ui::MNPykaPath_pan::MNPykaPATH_ADD_CFG},
};

// The item each list shows ticked (the set loaded last from it), or -1.
int ticked[CFG_MODEL_COUNT] = {-1, -1, -1, -1, -1, -1, -1, -1};

constexpr const char* kLoadingMessage = "Loading configuration ...";

int ListPanel(ConfigModel m) { return *kControls[m].panel; }

// Shows the ticks as recorded: a click on an item's check box changes nothing.
void ShowTicks(ConfigModel m, int panel, int list) {
    int count = 0;
    if (rt::GetNumListItems(panel, list, &count) != 0) return;
    for (int i = 0; i < count; ++i) rt::CheckListItem(panel, list, i, i == ticked[m] ? 1 : 0);
}

// The current item of a list box and its label; false when the list has none.
bool CurrentItem(int panel, int list, int* index, std::string* label) {
    *index = -1;
    if (rt::GetCtrlIndex(panel, list, index) != 0 || *index < 0) return false;
    return rt::GetLabelFromIndex(panel, list, *index, label) == 0;
}

// The question Delete and Update ask, naming the selected set when there is one.
std::string QuestionAboutCurrentSet(ConfigModel m, const char* verb) {
    int index = -1;
    std::string label;
    std::string question = std::string("Are you sure you want to ") + verb + " this configuration";
    if (CurrentItem(ListPanel(m), kControls[m].list, &index, &label)) question += " \"" + label + "\"";
    return question + "?";
}

enum class PutResult { Saved, Refused, NotWritten };

// Puts the current registers under set `name` and writes the family's object to its file. When
// the object refuses the set (Refused) or the file cannot be written (NotWritten, shown by the
// writer) the set is put back as it was, so the list, the object and the file keep agreeing.
PutResult PutAndSave(ConfigModel m, const std::string& name) {
    rt::IniText ini = *FamilyIni(m);
    const ConfigSetSnapshot before = TakeConfigSetSnapshot(m, ini, name);
    if (PutConfigSet(m, ini, name) < 0) {
        RestoreConfigSetSnapshot(ini, before);
        return PutResult::Refused;
    }
    if (WriteConfigObject(ini, FamilyFileName(m)) == 0) return PutResult::Saved;
    RestoreConfigSetSnapshot(ini, before);
    return PutResult::NotWritten;
}

// A name for a new set: refused when empty or when it holds "/" (it ends the set name in every
// section name), "[", "]" or a control character (they would not survive the file's lines).
bool AcceptableName(const std::string& name) {
    if (name.empty()) {
        rt::MessagePopup("Config Entry", "Please enter a name for the configuration.");
        return false;
    }
    for (char c : name) {
        if (c == '/' || c == '[' || c == ']' || (static_cast<unsigned char>(c) < 0x20)) {
            rt::MessagePopup("Config Entry", "A configuration name cannot contain \"/\", \"[\" or \"]\".");
            return false;
        }
    }
    return true;
}

std::string Trimmed(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

// Loads the current item of the list box (panel, list) that raised the event.
void LoadCurrent(ConfigModel m, int panel, int list) {
    rt::IniText ini = *FamilyIni(m);
    int index = -1;
    std::string label;
    if (ini == nullptr || !CurrentItem(panel, list, &index, &label)) return;
    StartProgressBar(kLoadingMessage, 6);
    if (LoadSingleConfigFor(m, ini, label.c_str(), 0) == 1) {
        ticked[m] = index;
        ShowTicks(m, panel, list);
        rt::SetCtrlIndex(panel, list, index);
    }
}

int SetStdCfg(ConfigModel m, int panel, int control, int event) {
    if (event == rt::EVENT_COMMIT) {
        ShowTicks(m, panel, control);
        return 0;
    }
    if (event == rt::EVENT_LEFT_DOUBLE_CLICK) LoadCurrent(m, panel, control);
    return 0;
}

int LoadConfig(ConfigModel m, int panel, int event) {
    if (event != rt::EVENT_COMMIT) return 0;
    const int list = kControls[m].list;
    int index = -1;
    if (rt::GetCtrlIndex(panel, list, &index) != 0 || index < 0) return 0;
    int checked = 0;
    rt::IsListItemChecked(panel, list, index, &checked);
    if (checked) return 0;
    LoadCurrent(m, panel, list);
    return 0;
}

// Asks for a new set's name and stores the current registers under it. A name refused (with its
// message), or an existing set's name the user does not want replaced, brings the dialog back
// holding the text typed, until the user gives a name that is taken or cancels.
int AddStdCfg(ConfigModel m, int panel, int control, int event) {
    rt::IniText ini = *FamilyIni(m);
    if (event != rt::EVENT_COMMIT || ini == nullptr) return 0;
    std::string answer;
    for (;;) {
        if (rt::PromptPopup("Config Entry", "Enter name for Configuration", &answer, 30) < 0) return 0;  // cancelled
        const std::string name = Trimmed(answer);
        if (!AcceptableName(name)) continue;
        std::string stored = name;
        if (FindConfigSet(ini, name, &stored)) {
            const std::string question = "A configuration named \"" + stored +
                                         "\" exists already.\nReplace its values with the current registers?";
            if (!rt::ConfirmPopup("Config Entry", question.c_str())) continue;
        }
        const PutResult put = PutAndSave(m, stored);
        if (put == PutResult::Refused) {
            rt::MessagePopup("Config Entry", "A configuration name cannot contain \"/\", \"[\" or \"]\".");
            continue;
        }
        if (put == PutResult::NotWritten) return 0;
        PopulateConfigList(m);
        rt::SetCtrlVal(panel, control, 0);
        return 0;
    }
}

int DelStdCfg(ConfigModel m, int panel, int control, int event) {
    if (event != rt::EVENT_COMMIT) return 0;
    if (!rt::ConfirmPopup("Delete configuration", QuestionAboutCurrentSet(m, "delete").c_str())) return 1;
    int index = -1;
    std::string label;
    const bool current = CurrentItem(ListPanel(m), kControls[m].list, &index, &label);
    if (!current || index < default_cfgs_no) {
        rt::MessagePopup("Delete Warning!", "Cannot Delete Default Config!");
        rt::SetCtrlVal(panel, control, 0);
        return 0;
    }
    rt::IniText ini = *FamilyIni(m);
    if (ini == nullptr) return 0;
    // The file is written without the set first; the object loses it only once that succeeded.
    if (WriteConfigObjectWithout(ini, FamilyFileName(m), label) != 0) return 0;
    RemoveConfigSet(ini, label);
    PopulateConfigList(m);
    rt::SetCtrlVal(panel, control, 0);
    return 0;
}

int UpdateStdCfg(ConfigModel m, int panel, int control, int event) {
    if (event != rt::EVENT_COMMIT) return 0;
    if (!rt::ConfirmPopup("Update configuration", QuestionAboutCurrentSet(m, "update").c_str())) return 1;
    int index = -1;
    std::string label;
    const bool current = CurrentItem(ListPanel(m), kControls[m].list, &index, &label);
    if (!current || index < default_cfgs_no) {
        rt::MessagePopup("Update Warning!", "Cannot Update Default Config!");
        rt::SetCtrlVal(panel, control, 0);
        return 0;
    }
    rt::IniText ini = *FamilyIni(m);
    if (ini == nullptr) return 0;
    PutAndSave(m, label);
    rt::SetCtrlVal(panel, control, 0);
    return 0;
}

int CheckItem(ConfigModel m, int index) {
    const int panel = ListPanel(m), list = kControls[m].list;
    int count = 0;
    if (panel <= 0 || rt::GetNumListItems(panel, list, &count) != 0 || count == 0) return 0;
    if (index < 0 || index >= count) return 0;
    ticked[m] = index;
    ShowTicks(m, panel, list);
    rt::SetCtrlIndex(panel, list, index);
    return 0;
}

}  // namespace

const ConfigListControls& ConfigListControlsOf(ConfigModel model) {
    return kControls[(model >= 0 && model < CFG_MODEL_COUNT) ? model : CFG_JORB];
}

void PopulateConfigList(ConfigModel m) {
    const int panel = ListPanel(m), list = kControls[m].list;
    ticked[m] = -1;
    if (panel <= 0) return;
    rt::ClearListCtrl(panel, list);
    rt::IniText ini = *FamilyIni(m);
    if (ini == nullptr) return;
    rt::InsertListItems(panel, list, -1, ConfigSetNames(ini), 0);
}

void PopulatePanelCFGListBox() { PopulateConfigList(CFG_JORB); }
void PopulatePanelCFGListBoxZuta() { PopulateConfigList(CFG_ZUTA); }
void PopulatePanelCFGListBoxZutb() { PopulateConfigList(CFG_ZUTB); }
void PopulatePanelCFGListBoxJora() { PopulateConfigList(CFG_JORA); }
void PopulatePanelCFGListBoxQeva() { PopulateConfigList(CFG_QEVA); }
void PopulatePanelCFGListBoxPykc() { PopulateConfigList(CFG_PYKC); }
void PopulatePanelCFGListBoxPykb() { PopulateConfigList(CFG_PYKB); }
void PopulatePanelCFGListBoxPyka() { PopulateConfigList(CFG_PYKA); }

int CheckConfigItem(int index) { return CheckItem(CFG_JORB, index); }
int CheckConfigItemZuta(int index) { return CheckItem(CFG_ZUTA, index); }
int CheckConfigItemZutb(int index) { return CheckItem(CFG_ZUTB, index); }
int CheckConfigItemJora(int index) { return CheckItem(CFG_JORA, index); }
int CheckConfigItemQeva(int index) { return CheckItem(CFG_QEVA, index); }
int CheckConfigItemPykc(int index) { return CheckItem(CFG_PYKC, index); }
int CheckConfigItemPykb(int index) { return CheckItem(CFG_PYKB, index); }
int CheckConfigItemPyka(int index) { return CheckItem(CFG_PYKA, index); }

void ResetConfigListState() {
    for (int& t : ticked) t = -1;
}

void RegisterConfigListCallbacks() {
    struct Named { const char* suffix; ConfigModel model; };
    const Named models[] = {{"", CFG_JORB},     {"Zuta", CFG_ZUTA}, {"Zutb", CFG_ZUTB}, {"Jora", CFG_JORA},
                            {"Qeva", CFG_QEVA}, {"Pykc", CFG_PYKC}, {"Pykb", CFG_PYKB}, {"Pyka", CFG_PYKA}};
    for (const Named& n : models) {
        const ConfigModel m = n.model;
        const std::string s = n.suffix;
        rt::RegisterCtrlCallback("cfgSetStdCfg" + s, [m](int p, int c, int e, void*, int, int) {
            return SetStdCfg(m, p, c, e);
        });
        rt::RegisterCtrlCallback("BLoadConfigCB" + s, [m](int p, int, int e, void*, int, int) {
            return LoadConfig(m, p, e);
        });
        rt::RegisterCtrlCallback("cfgAddStdCfg" + s, [m](int p, int c, int e, void*, int, int) {
            return AddStdCfg(m, p, c, e);
        });
        rt::RegisterCtrlCallback("cfgDelStdCfg" + s, [m](int p, int c, int e, void*, int, int) {
            return DelStdCfg(m, p, c, e);
        });
        rt::RegisterCtrlCallback("cfgUpdateStdCfg" + s, [m](int p, int c, int e, void*, int, int) {
            return UpdateStdCfg(m, p, c, e);
        });
    }
}
