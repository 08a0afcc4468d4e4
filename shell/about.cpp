#include "shell/about.h"

#include <cstdio>
#include <cstring>

#include "link/usbcomvunt.h"
#include "runtime/ui.h"

namespace {

constexpr int kSwMajor = 1;
constexpr int kSwMinor = 0x30;
constexpr int kFwDateLength = 20;
constexpr int kFwDateShown = 19;
// The firmware released as version 1.00 answers with this date; older ones are 0.90.
constexpr const char kFw100Date[] = "Apr 10 2008 11:19:4";

const char* const kUnknownFirmware = "FW Version: unknown\n";

std::string ProgramText() {
    char text[128];
    std::snprintf(text, sizeof text, " -- Tervalo Audio Codec Demo Version --\n\nSW Version: %x.%02x\n", kSwMajor,
                  kSwMinor);
    return std::string(text) + __DATE__ + " " + __TIME__ + "\n";
}

std::string FirmwareText() {
    if (bDeviceOpened == 0) return kUnknownFirmware;
    USBSend(CMD_FW_DATE, 0, nullptr);
    rt::Delay(0.1);
    unsigned char reply[kFwDateLength] = {};
    const int result = USBRead(kFwDateLength, reply);
    return FirmwareVersionText(result, reply, kFwDateLength);
}

}  // namespace

std::string FirmwareVersionText(int readResult, const unsigned char* reply, int replyLength) {
    if (readResult != 1 || reply == nullptr || replyLength <= 0) return kUnknownFirmware;
    // The reply is not NUL-terminated: take at most 19 characters, up to a NUL.
    const size_t limit = static_cast<size_t>(replyLength < kFwDateShown ? replyLength : kFwDateShown);
    const void* nul = std::memchr(reply, 0, limit);
    const size_t length = nul ? static_cast<size_t>(static_cast<const unsigned char*>(nul) - reply) : limit;
    const std::string date(reinterpret_cast<const char*>(reply), length);
    char version[48];
    if (date == kFw100Date)
        std::snprintf(version, sizeof version, "FW Version: %x.%02x\n", 1, 0);
    else
        std::snprintf(version, sizeof version, "FW Version: 0.90\n");
    return version + date;
}

void DoAbout(int, int, void*, int) {
    const std::string text = ProgramText() + "\n" + FirmwareText();
    rt::MessagePopup("About Tervalo Audio Codec", text.c_str());
}
