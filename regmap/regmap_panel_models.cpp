// Each model's register-map panel, as data: controls, register table, row map, legends and
// features, and the panels redrawn after a changed cell.
#include "regmap/regmap_model.h"
#include "regmap/regmap_panel.h"

#include "capture/capture_services.h"
#include "demo/demo_services.h"
#include "device/device_services.h"
#include "panels/MNPykaRegMap_pan.h"
#include "panels/MNPykbRegMap_pan.h"
#include "panels/MNRegMap_pan.h"
#include "panels/cfgMapJora_Pan.h"
#include "panels/cfgMapJorb_Pan.h"
#include "panels/cfgMapQeva_Pan.h"
#include "panels/cfgMapZuta_Pan.h"
#include "panels/cfgMapZutb_Pan.h"
#include "pathview/pathview_services.h"
#include "playback/playback_services.h"
#include "shell/handles.h"
#include "shell/state.h"

int RegMapRow2Index[kRegMapRowMapSize];
int RegMapRow2IndexZuta[kRegMapRowMapSize];
int RegMapRow2IndexZutb[kRegMapRowMapSize];
int RegMapRow2Index_Jora[kRegMapRowMapSize];
int RegMapRow2Index_Qeva[kRegMapRowMapSize];
int RegMapRow2Index_Pykc[kRegMapRowMapSize];
int RegMapRow2Index_Pykb[kRegMapRowMapSize];
int RegMapRow2Index_Pyka[kRegMapRowMapSize];

namespace regmap {
namespace {

const ConfigRegister* JorbTable() { return ConfigRegistersJorb; }
const ConfigRegister* ZutaTable() { return ConfigRegistersZuta; }
const ConfigRegister* ZutbTable() { return ConfigRegistersZutb; }
const ConfigRegister* JoraTable() { return ConfigRegisters_Jora; }
const ConfigRegister* QevaTable() { return ConfigRegisters_Qeva; }
const ConfigRegister* PykcTable() { return MNConfigRegisters; }
const ConfigRegister* PykbTable() { return MNPykbConfigRegisters; }
const ConfigRegister* PykaTable() { return MNPykaConfigRegisters; }

const RegMapModel& Build(ModelId id) {
    using namespace ui;
    static const RegMapModel models[kModelCount] = {
        {ModelId::Jorb, "Jorb", &PHandleSTRegMap, &PHandleSTPath,
         {cfgMapJorb_Pan::CFGMAPJorb_REGTABLE, cfgMapJorb_Pan::CFGMAPJorb_REGMAPTITLE,
          cfgMapJorb_Pan::CFGMAPJorb_REGMAPTITLE2, cfgMapJorb_Pan::CFGMAPJorb_TMREGNAME,
          cfgMapJorb_Pan::CFGMAPJorb_NACSTRegAddr, cfgMapJorb_Pan::CFGMAPJorb_NACSTRegVal,
          cfgMapJorb_Pan::CFGMAPJorb_BACSTRegRead, cfgMapJorb_Pan::CFGMAPJorb_BACSTRegWrite,
          cfgMapJorb_Pan::CFGMAPJorb_STReadAll, cfgMapJorb_Pan::CFGMAPJorb_NVuntRegAddr,
          cfgMapJorb_Pan::CFGMAPJorb_NVuntRegVal, cfgMapJorb_Pan::CFGMAPJorb_BACSTReg08Read,
          cfgMapJorb_Pan::CFGMAPJorb_BACSTReg08Write, cfgMapJorb_Pan::CFGMAPJorb_STCBShow,
          cfgMapJorb_Pan::CFGMAPJorb_RINGdt, cfgMapJorb_Pan::CFGMAPJorb_TBTRY},
         JorbTable, RegMapRow2Index, 79, 0, true, 0, true, 0, true, false,
         {UpdateAllGroups, UpdateSTPathView, UpdateSTDemoPanel, UpdateDevCtrlPanel, UpdateInputSignalPanel,
          UpdateOutputPanel, UpdateADCFilterPanel, UpdateALCPanel, UpdateDACPanel, UpdateEQPanel},
         &kLegendsJorb},
        {ModelId::Zuta, "Zuta", &PHandleSTRegMapZuta, &PHandleSTPathZuta,
         {cfgMapZuta_Pan::CFGMAPZuta_REGTABLE, cfgMapZuta_Pan::CFGMAPZuta_REGMAPTITLE,
          cfgMapZuta_Pan::CFGMAPZuta_REGMAPTITLE2, cfgMapZuta_Pan::CFGMAPZuta_TMREGNAME,
          cfgMapZuta_Pan::CFGMAPZuta_NACSTRegAddr, cfgMapZuta_Pan::CFGMAPZuta_NACSTRegVal,
          cfgMapZuta_Pan::CFGMAPZuta_BACSTRegRead, cfgMapZuta_Pan::CFGMAPZuta_BACSTRegWrite,
          cfgMapZuta_Pan::CFGMAPZuta_STReadAll, 0, 0, 0, 0, cfgMapZuta_Pan::CFGMAPZuta_STCBShow,
          cfgMapZuta_Pan::CFGMAPZuta_RINGdt, cfgMapZuta_Pan::CFGMAPZuta_TBTRY},
         ZutaTable, RegMapRow2IndexZuta, 63, 0, true, 0, false, 0, false, false,
         {UpdateAllGroupsZuta, UpdateSTPathViewZuta, UpdateSTDemoPanelZuta, UpdateDevCtrlPanelZuta,
          UpdateInputSignalPanelZuta, UpdateOutputPanelZuta, UpdateADCFilterPanelZuta, UpdateALCPanelZuta,
          UpdateDACPanelZuta, UpdateEQPanelZuta},
         &kLegendsZuta},
        // Zutb numbers its registers in its own way: R15 is its software reset.
        {ModelId::Zutb, "Zutb", &PHandleSTRegMapZutb, &PHandleSTPathZutb,
         {cfgMapZutb_Pan::CFGMAPZutb_REGTABLE, cfgMapZutb_Pan::CFGMAPZutb_REGMAPTITLE,
          cfgMapZutb_Pan::CFGMAPZutb_REGMAPTITLE2, cfgMapZutb_Pan::CFGMAPZutb_TMREGNAME,
          cfgMapZutb_Pan::CFGMAPZutb_NACSTRegAddr, cfgMapZutb_Pan::CFGMAPZutb_NACSTRegVal,
          cfgMapZutb_Pan::CFGMAPZutb_BACSTRegRead, cfgMapZutb_Pan::CFGMAPZutb_BACSTRegWrite,
          cfgMapZutb_Pan::CFGMAPZutb_STReadAll, cfgMapZutb_Pan::CFGMAPZutb_NVuntRegAddr,
          cfgMapZutb_Pan::CFGMAPZutb_NVuntRegVal, cfgMapZutb_Pan::CFGMAPZutb_BACSTReg08Read,
          cfgMapZutb_Pan::CFGMAPZutb_BACSTReg08Write, cfgMapZutb_Pan::CFGMAPZutb_STCBShow,
          cfgMapZutb_Pan::CFGMAPZutb_RINGdt, cfgMapZutb_Pan::CFGMAPZutb_TBTRY},
         ZutbTable, RegMapRow2IndexZutb, 113, 15, true, 0, false, DEV_ZUTB, false, true,
         {UpdateAllGroupsZutb, UpdateSTPathViewZutb, UpdateSTDemoPanelZutb, UpdateDevCtrlPanelZutb,
          UpdateInputSignalPanelZutb, UpdateOutputPanelZutb, UpdateADCFilterPanelZutb, UpdateALCPanelZutb,
          UpdateDACPanelZutb, UpdateEQPanelZutb},
         &kLegendsNone},
        {ModelId::Jora, "Jora", &PHdlRegMapJora, &PHdlPathJora,
         {cfgMapJora_Pan::CFGMAPJora_REGTABLE, cfgMapJora_Pan::CFGMAPJora_REGMAPTITLE,
          cfgMapJora_Pan::CFGMAPJora_REGMAPTITLE2, cfgMapJora_Pan::CFGMAPJora_TMREGNAME,
          cfgMapJora_Pan::CFGMAPJora_NACSTRegAddr, cfgMapJora_Pan::CFGMAPJora_NACSTRegVal,
          cfgMapJora_Pan::CFGMAPJora_BACSTRegRead, cfgMapJora_Pan::CFGMAPJora_BACSTRegWrite,
          cfgMapJora_Pan::CFGMAPJora_STReadAll, 0, 0, 0, 0, 0, 0, 0},
         JoraTable, RegMapRow2Index_Jora, 63, 0, false, 0, false, 0, false, false,
         {UpdateAllGroups_Jora, UpdateSTPathView_Jora, UpdateSTDemoPanel_Jora, UpdateDevCtrlPanel_Jora,
          UpdateInputSignalPanel_Jora, UpdateOutputPanel_Jora, UpdateADCFilterPanel_Jora, UpdateALCPanel_Jora,
          UpdateDACPanel_Jora, UpdateEQPanel_Jora},
         &kLegendsJora},
        // Qeva has no input, ADC filter or ALC panel.
        {ModelId::Qeva, "Qeva", &PHdlRegMapQeva, &PHdlPathQeva,
         {cfgMapQeva_Pan::CFGMAPQeva_REGTABLE, cfgMapQeva_Pan::CFGMAPQeva_REGMAPTITLE,
          cfgMapQeva_Pan::CFGMAPQeva_REGMAPTITLE2, cfgMapQeva_Pan::CFGMAPQeva_TMREGNAME,
          cfgMapQeva_Pan::CFGMAPQeva_NACSTRegAddr, cfgMapQeva_Pan::CFGMAPQeva_NACSTRegVal,
          cfgMapQeva_Pan::CFGMAPQeva_BACSTRegRead, cfgMapQeva_Pan::CFGMAPQeva_BACSTRegWrite,
          cfgMapQeva_Pan::CFGMAPQeva_STReadAll, 0, 0, 0, 0, 0, 0, 0},
         QevaTable, RegMapRow2Index_Qeva, 63, 0, false, 0, false, 0, false, false,
         {UpdateAllGroups_Qeva, UpdateSTPathView_Qeva, UpdateSTDemoPanel_Qeva, UpdateDevCtrlPanel_Qeva,
          UpdateOutputPanel_Qeva, UpdateDACPanel_Qeva, UpdateEQPanel_Qeva},
         &kLegendsQeva},
        // The mono panels: the EQ registers get no rows on the chip without an EQ; no demo or
        // EQ panel follows a cell edit.
        {ModelId::Pykc, "Pykc", &PHandleMNRegMap, &PHandleMNPath,
         {MNRegMap_pan::MNREGMAP_REGTABLE, MNRegMap_pan::MNREGMAP_REGMAPTITLE, MNRegMap_pan::MNREGMAP_REGMAPTITLE2,
          MNRegMap_pan::MNREGMAP_TMREGNAME, MNRegMap_pan::MNREGMAP_NACSTRegAddr, MNRegMap_pan::MNREGMAP_NACSTRegVal,
          MNRegMap_pan::MNREGMAP_BACSTRegRead, MNRegMap_pan::MNREGMAP_BACSTRegWrite,
          MNRegMap_pan::MNREGMAP_STReadAll, MNRegMap_pan::MNREGMAP_NVuntRegAddr,
          MNRegMap_pan::MNREGMAP_NVuntRegVal, MNRegMap_pan::MNREGMAP_BACSTReg08Read,
          MNRegMap_pan::MNREGMAP_BACSTReg08Write, 0, 0, 0},
         PykcTable, RegMapRow2Index_Pykc, 79, 0, false, DEV_PYKC, false, 0, false, false,
         {MNUpdateAllGroups, MNUpdatePathView, MNUpdateDevCtrlPanel, MNUpdateInputSignalPanel,
          MNUpdateOutputPanel, MNUpdateADCFilterPanel, MNUpdateALCPanel, MNUpdateDACPanel},
         &kLegendsNone},
        {ModelId::Pykb, "Pykb", &PHandleMNPykbRegMap, &PHandleMNPykbPath,
         {MNPykbRegMap_pan::MNPykbREGMAP_REGTABLE, MNPykbRegMap_pan::MNPykbREGMAP_REGMAPTITLE,
          MNPykbRegMap_pan::MNPykbREGMAP_REGMAPTITLE2, MNPykbRegMap_pan::MNPykbREGMAP_TMREGNAME,
          MNPykbRegMap_pan::MNPykbREGMAP_NACSTRegAddr, MNPykbRegMap_pan::MNPykbREGMAP_NACSTRegVal,
          MNPykbRegMap_pan::MNPykbREGMAP_BACSTRegRead, MNPykbRegMap_pan::MNPykbREGMAP_BACSTRegWrite,
          MNPykbRegMap_pan::MNPykbREGMAP_STReadAll, MNPykbRegMap_pan::MNPykbREGMAP_NVuntRegAddr,
          MNPykbRegMap_pan::MNPykbREGMAP_NVuntRegVal, MNPykbRegMap_pan::MNPykbREGMAP_BACSTReg08Read,
          MNPykbRegMap_pan::MNPykbREGMAP_BACSTReg08Write, 0, 0, 0},
         PykbTable, RegMapRow2Index_Pykb, 79, 0, false, DEV_PYKB, false, 0, false, false,
         {MNPykbUpdateAllGroups, MNPykbUpdatePathView, MNPykbUpdateDevCtrlPanel, MNPykbUpdateInputSignalPanel,
          MNPykbUpdateOutputPanel, MNPykbUpdateADCFilterPanel, MNPykbUpdateALCPanel, MNPykbUpdateDACPanel},
         &kLegendsNone},
        {ModelId::Pyka, "Pyka", &PHandleMNPykaRegMap, &PHandleMNPykaPath,
         {MNPykaRegMap_pan::MNPykaREGMAP_REGTABLE, MNPykaRegMap_pan::MNPykaREGMAP_REGMAPTITLE,
          MNPykaRegMap_pan::MNPykaREGMAP_REGMAPTITLE2, MNPykaRegMap_pan::MNPykaREGMAP_TMREGNAME,
          MNPykaRegMap_pan::MNPykaREGMAP_NACSTRegAddr, MNPykaRegMap_pan::MNPykaREGMAP_NACSTRegVal,
          MNPykaRegMap_pan::MNPykaREGMAP_BACSTRegRead, MNPykaRegMap_pan::MNPykaREGMAP_BACSTRegWrite,
          MNPykaRegMap_pan::MNPykaREGMAP_STReadAll, 0, 0, 0, 0, 0, 0, 0},
         PykaTable, RegMapRow2Index_Pyka, 79, 0, false, DEV_PYKA, false, 0, false, false,
         {MNPykaUpdateAllGroups, MNPykaUpdatePathView, MNPykaUpdateDevCtrlPanel, MNPykaUpdateInputSignalPanel,
          MNPykaUpdateOutputPanel, MNPykaUpdateADCFilterPanel, MNPykaUpdateALCPanel, MNPykaUpdateDACPanel},
         &kLegendsNone},
    };
    return models[static_cast<int>(id)];
}

}  // namespace

const RegMapModel& Model(ModelId id) { return Build(id); }

}  // namespace regmap
