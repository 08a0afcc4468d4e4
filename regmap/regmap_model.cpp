// The register-map and configuration-set operations the model choice and the refresh timers
// call, as far as they stand now: the configuration-set file is opened and remembered (sets
// are listed, created and applied by the configuration-set panel, not built yet), the register
// tables carry no rows yet, and the read-all handlers read the chip into CFG_REG.
#include "regmap/regmap_model.h"

#include <string>

#include "runtime/ui.h"
#include "shell/guarded_reads.h"
#include "shell/state.h"

namespace {

std::string lastConfigFile;

int OpenConfigFile(rt::IniText* ini, const char* file, int inProjectDir, int createIfMissing) {
    if (!ini || !file) return 0;
    std::string path = inProjectDir ? rt::MakePathname(rt::GetProjectDir(), file) : std::string(file);
    lastConfigFile = path;
    *ini = rt::Ini_New(0);
    if (rt::FileExists(path)) {
        rt::Ini_ReadFromFile(*ini, path.c_str());
        return 1;
    }
    return createIfMissing ? 1 : 0;
}

// Registers 1 to 63 from the chip into CFG_REG; a refused or failed read changes nothing.
int ReadAll(int event) {
    if (event != rt::EVENT_COMMIT) return 0;
    int buffer[100] = {};
    if (ZelqxReadAllReg(buffer) == 1) {
        for (int r = 1; r <= 63; ++r) CFG_REG[r] = static_cast<uint32_t>(buffer[r - 1]);
    }
    SetFlag(&FlagCFGUpdate);
    return 0;
}

}  // namespace

int InitConfig(rt::IniText* i, const char* f, int p, int c) { return OpenConfigFile(i, f, p, c); }
int InitConfigZuta(rt::IniText* i, const char* f, int p, int c) { return OpenConfigFile(i, f, p, c); }
int InitConfigZutb(rt::IniText* i, const char* f, int p, int c) { return OpenConfigFile(i, f, p, c); }
int InitConfigJora(rt::IniText* i, const char* f, int p, int c) { return OpenConfigFile(i, f, p, c); }
int InitConfigQeva(rt::IniText* i, const char* f, int p, int c) { return OpenConfigFile(i, f, p, c); }
int InitConfigPykc(rt::IniText* i, const char* f, int p, int c) { return OpenConfigFile(i, f, p, c); }
int InitConfigPykb(rt::IniText* i, const char* f, int p, int c) { return OpenConfigFile(i, f, p, c); }
int InitConfigPyka(rt::IniText* i, const char* f, int p, int c) { return OpenConfigFile(i, f, p, c); }
const char* LastConfigFilePath() { return lastConfigFile.c_str(); }

void PopulatePanelCFGListBox() {}
void PopulatePanelCFGListBoxZuta() {}
void PopulatePanelCFGListBoxZutb() {}
void PopulatePanelCFGListBoxJora() {}
void PopulatePanelCFGListBoxQeva() {}
void PopulatePanelCFGListBoxPykc() {}
void PopulatePanelCFGListBoxPykb() {}
void PopulatePanelCFGListBoxPyka() {}

void UpdateRegDisplay(int) {}
void UpdateRegDisplay_Jora(int) {}
void UpdateRegDisplay_Qeva(int) {}
void UpdateRegDisplayZuta(int) {}
void UpdateRegDisplayZutb(int) {}
void UpdateRegDisplay_Pykc(int) {}
void UpdateRegDisplay_Pykb(int) {}
void UpdateRegDisplay_Pyka(int) {}

// The title rows are drawn with the register table; the request is taken as served.
void UpdateRegMapTitle() { ClearFlag(&FlagRegMapTitle); }
void UpdateRegMapTitle_Jora() { ClearFlag(&FlagRegMapTitle); }
void UpdateRegMapTitle_Qeva() { ClearFlag(&FlagRegMapTitle); }
void UpdateRegMapTitleZuta() { ClearFlag(&FlagRegMapTitle); }
void UpdateRegMapTitleZutb() { ClearFlag(&FlagRegMapTitle); }
void UpdateRegMapTitle_Pykc() { ClearFlag(&FlagRegMapTitle); }
void UpdateRegMapTitle_Pykb() { ClearFlag(&FlagRegMapTitle); }
void UpdateRegMapTitle_Pyka() { ClearFlag(&FlagRegMapTitle); }

int STReadAllCB(int, int, int e, void*, int, int) { return ReadAll(e); }
int STReadAllCBJora(int, int, int e, void*, int, int) { return ReadAll(e); }
int STReadAllCBQeva(int, int, int e, void*, int, int) { return ReadAll(e); }
int STReadAllCBZuta(int, int, int e, void*, int, int) { return ReadAll(e); }
int STReadAllCBZutb(int, int, int e, void*, int, int) { return ReadAll(e); }
int STReadAllCBPykc(int, int, int e, void*, int, int) { return ReadAll(e); }
int STReadAllCBPykb(int, int, int e, void*, int, int) { return ReadAll(e); }
int STReadAllCBPyka(int, int, int e, void*, int, int) { return ReadAll(e); }

int RegMapControlNotBuiltCB(int, int, int, void*, int, int) { return 0; }
