// What the device link needs of the register map.
#pragma once

// Reads codec register 0 into CFG_REG[0] the way the Jorb register map's single read does
// (address box set to 0, its read handler run as a commit). A failed read keeps the old value;
// inside "Read All and Update " it is counted into that operation's one report.
void ReadRegisterZeroThroughRegMap();

// Single codec-register read of the Jorb register map (read button, commit): the register of
// the address box into the value box and CFG_REG; a failed read keeps CFG_REG and says so.
int BACSTRegReadCB(int panel, int control, int event, void* data, int eventData1, int eventData2);
