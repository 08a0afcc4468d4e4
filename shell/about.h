// The About box: program and firmware versions.
#pragma once

#include <string>

// About menu callback (menuBar, item, callbackData, panel).
void DoAbout(int menuBar, int menuItem, void* callbackData, int panel);

// The firmware line of the About box from the firmware-date read's result and its reply
// (20 bytes; only the first 19 characters count).
std::string FirmwareVersionText(int readResult, const unsigned char* reply, int replyLength);
