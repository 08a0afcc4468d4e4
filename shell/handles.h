// Handles of the model tab panels, loaded once at start-up and kept for the whole run.
#pragma once

#define CODECBENCH_TAB_PANEL_HANDLES(X) \
    X(PHandleSTPath) \
    X(PHandleSTDevCtrl) \
    X(PHandleSTRegMap) \
    X(PHandleSTInSignal) \
    X(PHandleSTADCFilter) \
    X(PHandleSTEQ) \
    X(PHandleSTDAC) \
    X(PHandleSTALC) \
    X(PHandleSTOUTPUT) \
    X(PHandleSTDemo) \
    X(PHandleSTScript) \
    X(PHdlPathJora) \
    X(PHdlDevJora) \
    X(PHdlRegMapJora) \
    X(PHdleInputJora) \
    X(PHdlADCJora) \
    X(PHdlEQJora) \
    X(PHdlDACJora) \
    X(PHdlALCJora) \
    X(PHdlOutputJora) \
    X(PHdlDemoJora) \
    X(PHdlScriptJora) \
    X(PHdlPathQeva) \
    X(PHdlDevQeva) \
    X(PHdlRegMapQeva) \
    X(PHdlEQQeva) \
    X(PHdlDACQeva) \
    X(PHdlOutputQeva) \
    X(PHdlDemoQeva) \
    X(PHdlScriptQeva) \
    X(PHdlDemoQevb) \
    X(PHandleSTPathZuta) \
    X(PHandleSTDevCtrlZuta) \
    X(PHandleSTRegMapZuta) \
    X(PHandleSTInSignalZuta) \
    X(PHandleSTADCFilterZuta) \
    X(PHandleSTEQZuta) \
    X(PHandleSTDACZuta) \
    X(PHandleSTALCZuta) \
    X(PHandleSTOUTPUTZuta) \
    X(PHandleSTDemoZuta) \
    X(PHandleSTScriptZuta) \
    X(PHandleSTPathZutb) \
    X(PHandleSTDevCtrlZutb) \
    X(PHandleSTRegMapZutb) \
    X(PHandleSTInSignalZutb) \
    X(PHandleSTADCFilterZutb) \
    X(PHandleSTEQZutb) \
    X(PHandleSTDACZutb) \
    X(PHandleSTALCZutb) \
    X(PHandleSTOUTPUTZutb) \
    X(PHandleSTDemoZutb) \
    X(PHandleSTScriptZutb) \
    X(PHandleMNPykaOutput) \
    X(PHandleMNPykaPath) \
    X(PHandleMNPykaDevCtrl) \
    X(PHandleMNPykaRegMap) \
    X(PHandleMNPykaInput) \
    X(PHandleMNPykaALC) \
    X(PHandleMNPykaDAC) \
    X(PHandleMNPykaADC) \
    X(PHandleMNPykaDemo) \
    X(PHandleMNPykaScript) \
    X(PHandleMNOutput) \
    X(PHandleMNPath) \
    X(PHandleMNDevCtrl) \
    X(PHandleMNRegMap) \
    X(PHandleMNInput) \
    X(PHandleMNALC) \
    X(PHandleMNDAC) \
    X(PHandleMNADC) \
    X(PHandleMNEQ) \
    X(PHandleMNDemo) \
    X(PHandleMNScript) \
    X(PHandleMNPykbOutput) \
    X(PHandleMNPykbPath) \
    X(PHandleMNPykbDevCtrl) \
    X(PHandleMNPykbRegMap) \
    X(PHandleMNPykbInput) \
    X(PHandleMNPykbALC) \
    X(PHandleMNPykbDAC) \
    X(PHandleMNPykbADC) \
    X(PHandleMNPykbDemo) \
    X(PHandleMNPykbScript)

#define CODECBENCH_DECLARE_HANDLE(name) extern int name;
CODECBENCH_TAB_PANEL_HANDLES(CODECBENCH_DECLARE_HANDLE)
#undef CODECBENCH_DECLARE_HANDLE

// Sets every tab panel handle to 0 (tests, before panels are loaded).
void ResetPanelHandles();
