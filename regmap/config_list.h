// The configuration-set list of every model's path panel: a list box with one item per set of
// the family's file, and the buttons Load, Add, Update and Delete. A double click on an item,
// or Load, applies the set to CFG_REG and the chip and ticks the item; Add stores the current
// registers as a new set; Update overwrites the selected set; Delete removes it. Every change
// is written to the family's file at once (atomically; a failure is shown and the list and the
// file stay as they were).
#pragma once

#include "regmap/config_sets.h"

// Protected items at the top of every list (none).
inline constexpr int default_cfgs_no = 0;

// Refills the model's list from its family's INI object: each set once, in file order, all
// unticked. Called by the model choice right after the file is opened, and after Add and Delete.
void PopulatePanelCFGListBox();
void PopulatePanelCFGListBoxZuta();
void PopulatePanelCFGListBoxZutb();
void PopulatePanelCFGListBoxJora();
void PopulatePanelCFGListBoxQeva();
void PopulatePanelCFGListBoxPykc();
void PopulatePanelCFGListBoxPykb();
void PopulatePanelCFGListBoxPyka();
void PopulateConfigList(ConfigModel model);

// Ticks item `index`, unticks the others and makes it the current item (empty list: nothing).
int CheckConfigItem(int index);
int CheckConfigItemZuta(int index);
int CheckConfigItemZutb(int index);
int CheckConfigItemJora(int index);
int CheckConfigItemQeva(int index);
int CheckConfigItemPykc(int index);
int CheckConfigItemPykb(int index);
int CheckConfigItemPyka(int index);

// The list-box and button callbacks of every model, bound by name in the path panels:
// cfgSetStdCfg (left double click), BLoadConfigCB, cfgAddStdCfg, cfgDelStdCfg and
// cfgUpdateStdCfg (commit), with the model's suffix (none for Jorb and Jorbx).
void RegisterConfigListCallbacks();

// The path panel and the list's control ids of a model.
struct ConfigListControls {
    int* panel;
    int list, del, update, load, add;
};
const ConfigListControls& ConfigListControlsOf(ConfigModel model);

// Forgets which item each list shows as loaded (tests).
void ResetConfigListState();
