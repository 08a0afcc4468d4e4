#include "link/usbcomvunt.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>

#include "boardhid/boardhid.h"
#include "link/chip_operation.h"
#include "regmap/regmap_services.h"
#include "oslayer/os.h"
#include "runtime/ui.h"
#include "shell/devchange.h"
#include "shell/progress.h"
#include "shell/state.h"

uint8_t USBTXBuffer[64];
uint8_t USBRXBuffer[64];
uint8_t DataSizeInHIDFIFO = 0;
int AlwaysListening = 0;
int bDeviceOpened = 0;

namespace {

os::LibraryHandle hLoadHidModule = nullptr;
std::string boardLibraryName = kBoardLibraryName;
// Counts the openings and closings of the board (BoardSession).
unsigned boardSession = 0;

struct HidFunctions {
    OpenDeviceFn OpenDevice = nullptr;
    StartDevDetectionFn StartDevDetection = nullptr;
    StopDevDetectionFn StopDevDetection = nullptr;
    CloseDeviceFn CloseDevice = nullptr;
    IsDevicePluggedFn IsDevicePlugged = nullptr;
    HandleDeviceChangeFn HandleDeviceChange = nullptr;
    SendDataFn SendData = nullptr;
    GetDataLengthFn GetDataLength = nullptr;
    GetDataFn GetData = nullptr;
    bool complete() const {
        return OpenDevice && StartDevDetection && StopDevDetection && CloseDevice && IsDevicePlugged &&
               HandleDeviceChange && SendData && GetDataLength && GetData;
    }
};
HidFunctions hid;

os::EventHandle hHIDInEvent = nullptr;
os::SemaphoreHandle hUsbSemaphoreSend = nullptr;
os::SemaphoreHandle hUsbSemaphoreRead = nullptr;

// Guards USBRXBuffer, DataSizeInHIDFIFO and the HIDInEvent signal together, so a reader's
// copy-and-reset and the listener's store-and-signal never interleave (no signal is lost).
std::mutex rxMutex;

// The last request did not go out, so no reply to it can come.
bool requestRefused = false;

// Listener bookkeeping: how many run, so a new start waits for the old one to end.
std::mutex listenerMutex;
std::condition_variable listenerDone;
int listenersRunning = 0;
std::atomic<int> alwaysListening{0};
// Work under way that will signal HIDInEvent (under the tests' clock a read's wait does not run
// out meanwhile): a report pending for a running listener, or the listener handing reports on.
std::atomic<bool> handingOn{false};
os::EventHandle listenedEvent = nullptr;  // the library's input event, while a listener runs

os::ThreadPool& ListenerPool() {
    // Used when the shell has not created its pool (tests of the link alone). Never destroyed:
    // a listener still blocked at process exit must not be joined.
    static os::ThreadPool* own = new os::ThreadPool(1);
    return poolHandle ? *poolHandle : *own;
}

template <typename Fn>
bool Bind(Fn* slot, const char* name) {
    *slot = reinterpret_cast<Fn>(os::GetProcAddress(hLoadHidModule, name));
    return *slot != nullptr;
}

void SetAlwaysListening(int v) {
    alwaysListening = v;
    AlwaysListening = v;
}

// Drops a reply still stored from an earlier request, so the next read sees only the reply to
// the request about to be sent.
void DiscardStaleReply() {
    std::lock_guard<std::mutex> lock(rxMutex);
    DataSizeInHIDFIFO = 0;
    if (hHIDInEvent) os::ResetEvent(hHIDInEvent);
}

bool ValidRegister(int reg) { return reg >= 0 && reg < kCodecRegisters; }

// A transfer failed: when the board is no longer on the bus it went away, and the link closes it
// now, as its removal notice will (that notice waits while an operation runs), so everything
// after this takes the path of a board that is not open. True when it was gone.
bool ClosedWhenGone(uint8_t command, uint16_t length, const uint8_t* payload) {
    if (!hid.complete() || hid.IsDevicePlugged() != 0) return false;
    NoteBoardDisconnected(command, length, payload);
    BoardDisconnected();
    return true;
}

const char* const kI2CWriteOneText =
    "Currently you are under I2C communication mode\n        I2C Communication mode requires R7[8] be 0, "
    "however you are trying to write 1 to R7[8]. Thus will cause applcation malfunction.\n\n        If you "
    "still want to write 1 to R7[8], please change communication mode to SPI 4 wire (read and write) or SPI "
    "3 Wire (write only) mode.";
const char* const kSpiResetTitle = "Warning -- It is not safe to reset device under SPI 4 wire mode";
const char* const kSpiResetText =
    "SPI 4 wire communication mode requires R7[8] be 1, however chip reset will clear this bit.\n        If "
    "you want to continue, please make sure to choose a communication mode first after reset - to recover "
    "the communication; or you\n        can swicth to other mode and then reset device.\n\n        Do you "
    "want to continue? ";
const char* const kI2CWriteAllText =
    "Currently you are under I2C communication mode\n        I2C Communication mode requires R7[8] be 0, "
    "however the chosen register setting is trying to write 1 to R7[8]. Thus will cause applcation "
    "malfunction.\n\n        If you still want to load this register setting, please change communication "
    "mode to SPI 4 wire (read and write) or SPI 3 Wire (write only) mode.";
const char* const kSpiWriteAllText =
    "Currently you are under SPI 4 wire Communication mode. \n        SPI 4 wire communication mode requires "
    "R7[8] be 1, however the chosen register setting is trying to write 0 to R7[8]. Thus will cause "
    "applcation malfunction. \n\n        If you still want to load this register setting, please change "
    "communication mode to I2C (read and write) or SPI 3 Wire (write only) mode.";
const char* const kAbortTitle = "Warning -- Operation aborted";

}  // namespace

// ---- library binding ---------------------------------------------------------------------

int LoadHidModule() {
    if (hLoadHidModule && hid.complete()) return 1;
    if (!hLoadHidModule) hLoadHidModule = os::LoadLibrary(boardLibraryName.c_str());
    if (!hLoadHidModule) return 0;
    HidFunctions bound;
    hid = bound;
    bool ok = Bind(&bound.OpenDevice, "OpenDevice") && Bind(&bound.StartDevDetection, "StartDevDetection") &&
              Bind(&bound.StopDevDetection, "StopDevDetection") && Bind(&bound.CloseDevice, "CloseDevice") &&
              Bind(&bound.IsDevicePlugged, "IsDevicePlugged") &&
              Bind(&bound.HandleDeviceChange, "HandleDeviceChange") && Bind(&bound.SendData, "SendData") &&
              Bind(&bound.GetDataLength, "GetDataLength") && Bind(&bound.GetData, "GetData");
    if (!ok) return 0;  // a partial library binds nothing: it counts as no board
    hid = bound;
    return 1;
}

void FreeHidModule() {
    hid = HidFunctions{};
    if (hLoadHidModule) os::FreeLibrary(hLoadHidModule);
    hLoadHidModule = nullptr;
}

bool HidModuleBound() { return hid.complete(); }

void SetBoardLibraryName(const char* fileName) { boardLibraryName = fileName ? fileName : kBoardLibraryName; }

int HidOpenDevice() {
    ++boardSession;
    return hid.complete() ? hid.OpenDevice(2, 1, 0) : 0;
}
int HidCloseDevice() {
    ++boardSession;
    return hid.complete() ? hid.CloseDevice() : 0;
}
int HidIsDevicePlugged() { return hid.complete() ? hid.IsDevicePlugged() : 0; }
unsigned BoardSession() { return boardSession; }

// ---- transport ---------------------------------------------------------------------------

int GetSemaphore(os::Semaphore* handle, int milliseconds) {
    return os::WaitForSemaphore(handle, milliseconds) == os::WAIT_OBJECT_0 ? 1 : 0;
}

int USBSend(uint8_t command, uint16_t length, const uint8_t* payload) {
    requestRefused = true;  // until the report has gone out
    if (bDeviceOpened == 0 || !hid.complete()) return 0;
    if (length > kMaxPayload || (length > 0 && payload == nullptr)) return 0;
    if (ChipOperationStopped()) return 0;  // an earlier step was refused: nothing more goes out
    if (!GetSemaphore(hUsbSemaphoreSend, 300)) {
        NoteRefusedSend(command, length, payload);
        return USB_SEND_BUSY;
    }
    DiscardStaleReply();
    USBTXBuffer[0] = command;
    USBTXBuffer[1] = static_cast<uint8_t>(length >> 8);
    USBTXBuffer[2] = static_cast<uint8_t>(length & 0xFF);
    if (length > 0) std::memcpy(USBTXBuffer + 3, payload, length);
    int sent = hid.SendData(length + 3, USBTXBuffer);
    os::ReleaseSemaphore(hUsbSemaphoreSend);
    requestRefused = sent != 1;
    if (sent != 1 && !ClosedWhenGone(command, length, payload)) NoteRefusedSend(command, length, payload);
    return sent == 1 ? 1 : 0;
}

int USBRead(int length, uint8_t* destination) {
    if (bDeviceOpened == 0) return 0;
    if (length < 1 || length > kMaxReport || destination == nullptr) return 0;
    if (requestRefused) return 0;  // the request did not go out: no reply is coming
    int w = os::WaitForEvent(hHIDInEvent, 300);
    if (w == os::WAIT_TIMEOUT) {
        // No reply: the board may have gone away since the request went out.
        ClosedWhenGone(USBTXBuffer[0], static_cast<uint16_t>((USBTXBuffer[1] << 8) | USBTXBuffer[2]), USBTXBuffer + 3);
        return USB_TIMEOUT;
    }
    if (w != os::WAIT_OBJECT_0) return 0;
    if (!GetSemaphore(hUsbSemaphoreRead, 400)) return USB_TIMEOUT;
    int stored;
    {
        std::lock_guard<std::mutex> lock(rxMutex);
        std::memcpy(destination, USBRXBuffer, static_cast<size_t>(length));
        stored = DataSizeInHIDFIFO;
        os::ResetEvent(hHIDInEvent);
    }
    os::ReleaseSemaphore(hUsbSemaphoreRead);
    if (length == stored) return 1;
    return stored < length ? USB_READ_SHORT : USB_READ_LONG;
}

int CheckUSBMessage() {
    os::EventHandle input = os::CreateEvent(BOARDHID_INPUT_EVENT, true, false);
    if (input) {
        {
            std::lock_guard<std::mutex> lock(listenerMutex);
            listenedEvent = input;
        }
        while (alwaysListening.load()) {
            os::WaitForEvent(input, os::INFINITE);
            if (!alwaysListening.load()) break;
            handingOn = true;
            os::ResetEvent(input);
            // Fetch everything pending: a report that became pending just before the reset
            // would otherwise wait for a later signal. Bounded against a library that never
            // clears its pending length.
            for (int i = 0; i < 64 && hid.complete(); ++i) {
                int n = static_cast<signed char>(hid.GetDataLength());
                if (n < 1 || n > kMaxReport) break;
                uint8_t report[kMaxReport] = {};
                hid.GetData(report);
                std::lock_guard<std::mutex> lock(rxMutex);
                std::memcpy(USBRXBuffer, report, sizeof report);
                DataSizeInHIDFIFO = static_cast<uint8_t>(n);
                os::SetEvent(hHIDInEvent);
            }
            handingOn = false;
        }
        {
            std::lock_guard<std::mutex> lock(listenerMutex);
            listenedEvent = nullptr;
        }
        os::CloseEvent(input);
    }
    std::lock_guard<std::mutex> lock(listenerMutex);
    --listenersRunning;
    listenerDone.notify_all();
    return 0;
}

void StopListener() {
    SetAlwaysListening(0);
    os::EventHandle input = os::CreateEvent(BOARDHID_INPUT_EVENT, true, false);
    std::unique_lock<std::mutex> lock(listenerMutex);
    // Keep waking it until it has seen the cleared flag (it may not be waiting yet).
    for (int i = 0; i < 100 && listenersRunning > 0; ++i) {
        if (input) os::SetEvent(input);
        listenerDone.wait_for(lock, std::chrono::milliseconds(20));
    }
    if (input) {
        os::ResetEvent(input);
        os::CloseEvent(input);
    }
}

int ListenersRunning() {
    std::lock_guard<std::mutex> lock(listenerMutex);
    return listenersRunning;
}

int USBcomStart() {
    if (!hHIDInEvent) hHIDInEvent = os::CreateEvent("HIDInEvent", true, false);
    if (!hHIDInEvent) return USB_ERR_EVENT;
    if (!hid.complete()) return 1;
    hid.StartDevDetection(0);
    bDeviceOpened = HidOpenDevice() != 0 ? 1 : 0;
    // At most one listener fetches reports: an earlier one (left by a removal) ends first.
    if (ListenersRunning() > 0) StopListener();
    SetAlwaysListening(1);
    static const int probe = os::AddWorkProbe([] {
        std::lock_guard<std::mutex> lock(listenerMutex);
        return handingOn.load() ||
               (listenersRunning > 0 && alwaysListening.load() && os::EventIsSet(listenedEvent));
    });
    (void)probe;
    {
        std::lock_guard<std::mutex> lock(listenerMutex);
        ++listenersRunning;
    }
    if (!ListenerPool().Schedule([] { CheckUSBMessage(); })) {
        std::lock_guard<std::mutex> lock(listenerMutex);
        --listenersRunning;
    }
    return 1;
}

int USBcomStop() {
    HidCloseDevice();
    bDeviceOpened = 0;
    SetAlwaysListening(0);
    return 1;
}

int ReleaseUSB() {
    if (hUsbSemaphoreRead) os::ReleaseSemaphore(hUsbSemaphoreRead);
    return USBcomStop();
}

int USBhidInit() {
    if (!LoadHidModule()) return USB_ERR_LIBRARY;
    return USBcomStart();
}

int USBInit() {
    if (!LoadHidModule()) return USB_ERR_LIBRARY;
    if (!hHIDInEvent) hHIDInEvent = os::CreateEvent("HIDInEvent", true, false);
    if (!hHIDInEvent) return USB_ERR_EVENT;
    // Fresh locks each time; only the UI thread uses them, so the old ones can go.
    os::SemaphoreHandle send = os::CreateSemaphore(1, 1);
    os::SemaphoreHandle read = send ? os::CreateSemaphore(1, 1) : nullptr;
    if (!send || !read) {
        if (send) os::CloseSemaphore(send);
        return USB_ERR_LOCK;
    }
    if (hUsbSemaphoreSend) os::CloseSemaphore(hUsbSemaphoreSend);
    if (hUsbSemaphoreRead) os::CloseSemaphore(hUsbSemaphoreRead);
    hUsbSemaphoreSend = send;
    hUsbSemaphoreRead = read;
    if (bDeviceOpened != 0) return 1;
    USBhidInit();
    return 1;
}

int ReleaseUsbSemaphoreSend() { return os::ReleaseSemaphore(hUsbSemaphoreSend) ? 1 : 0; }
int ReleaseUsbSemaphoreRead() { return os::ReleaseSemaphore(hUsbSemaphoreRead) ? 1 : 0; }

// ---- codec registers ---------------------------------------------------------------------

void PackRegisterPair(int reg, uint32_t value, uint8_t out[2]) {
    value &= 0x1FF;
    out[0] = static_cast<uint8_t>(((reg << 1) | (value >> 8)) & 0xFF);
    out[1] = static_cast<uint8_t>(value & 0xFF);
}

int SoftwareResetRegister() { return UILoaded == UI_ZUTB ? 15 : 0; }

int InterfaceRegister(uint8_t mode) {
    if (UILoaded == UI_ZUTB) return 105;
    if (UILoaded == UI_JORB && mode == COMM_SPI4W) return 73;
    return 7;
}

namespace {

// A guard's text with the loaded chip's interface register in place of R7.
std::string NamingInterfaceRegister(const char* text, uint8_t mode) {
    std::string out = text;
    std::string name(1, 'R');
    name += std::to_string(InterfaceRegister(mode));
    name += "[8]";
    for (size_t at = out.find("R7[8]"); at != std::string::npos; at = out.find("R7[8]", at + name.size()))
        out.replace(at, 5, name);
    return out;
}

}  // namespace

bool InterfaceGuardRefuses(int reg, uint32_t value) {
    return reg == InterfaceRegister(COMM_I2C) && (value & 0x100) && CommMode == COMM_I2C;
}

int ZelqxWriteOneReg(int reg) {
    if (!ValidRegister(reg)) return 0;
    uint32_t value = CFG_REG[reg];
    if (InterfaceGuardRefuses(reg, value)) {
        rt::MessagePopup(kAbortTitle, NamingInterfaceRegister(kI2CWriteOneText, COMM_I2C).c_str());
        CFG_REG[reg] &= ~0x100u;
        FlagCFGUpdate = 1;
        return 0;
    }
    if (reg == SoftwareResetRegister() && CommMode == COMM_SPI4W) {
        if (!rt::ConfirmPopup(kSpiResetTitle, NamingInterfaceRegister(kSpiResetText, COMM_SPI4W).c_str())) {
            StopChipOperationQuietly();  // the user stopped the operation this write belongs to
            return ZELQX_WRITE_DECLINED;
        }
    }
    uint8_t pair[2];
    PackRegisterPair(reg, value, pair);
    if (USBSend(static_cast<uint8_t>(CommMode | CMD_CODEC_WRITE_ONE), 2, pair) != 1) return 0;
    NoteChipHolds(reg, UnpackRegisterPair(pair));
    return 1;
}

int ZelqxWriteAllReg(int useMessage, const char* message) {
    ChipOperation operation("Write all registers");
    if (operation.Stopped()) return 0;
    if ((CFG_REG[InterfaceRegister(COMM_I2C)] & 0x100) && CommMode == COMM_I2C) {
        rt::MessagePopup(kAbortTitle, NamingInterfaceRegister(kI2CWriteAllText, COMM_I2C).c_str());
        StopChipOperationQuietly();
        return 0;
    }
    if (!(CFG_REG[InterfaceRegister(COMM_SPI4W)] & 0x100) && CommMode == COMM_SPI4W) {
        rt::MessagePopup(kAbortTitle, NamingInterfaceRegister(kSpiWriteAllText, COMM_SPI4W).c_str());
        StopChipOperationQuietly();
        return 0;
    }
    // Register 34 bit 8 must reach the chip after the rest when the ALC fields of register 32
    // are in use, so it is held back from the blocks and written alone at the end.
    bool heldBack = false;
    if ((CFG_REG[32] & 0x180) && (CFG_REG[34] & 0x100)) {
        CFG_REG[34] &= ~0x100u;
        heldBack = true;
    }
    uint8_t bytes[126];
    for (int r = 1; r <= 63; ++r) PackRegisterPair(r, CFG_REG[r], bytes + 2 * (r - 1));
    struct Block { uint8_t code; int offset; int length; };
    const Block blocks[3] = {{CMD_CODEC_WRITE_BLOCK1, 0, 48},
                             {CMD_CODEC_WRITE_BLOCK2, 48, 48},
                             {CMD_CODEC_WRITE_BLOCK3, 96, 30}};
    for (const Block& b : blocks) {
        if (useMessage == 0)
            ForwardProgress(2);
        else
            UpdateProgressAndMessage(1, 2, message ? message : "");
        const int sent =
            USBSend(static_cast<uint8_t>(CommMode | b.code), static_cast<uint16_t>(b.length), bytes + b.offset);
        if (sent != 1 && operation.Stopped()) {  // refused (a closed board runs on as a demo)
            if (heldBack) CFG_REG[34] |= 0x100u;
            return 0;
        }
        if (sent == 1)
            for (int at = b.offset; at < b.offset + b.length; at += 2) NoteChipHolds(bytes[at] >> 1, UnpackRegisterPair(bytes + at));
        rt::Delay(1.0);
    }
    if (heldBack) {
        CFG_REG[34] |= 0x100u;
        ZelqxWriteOneReg(34);
        if (operation.Stopped()) return 0;
    }
    return 1;
}

int ReadZelqxOneReg(int reg) {
    if (!ValidRegister(reg)) return -1;
    uint8_t request = static_cast<uint8_t>(reg);
    // A request that did not go out gets no reply: nothing to wait for.
    if (USBSend(static_cast<uint8_t>(CommMode | CMD_CODEC_READ_ONE), 1, &request) != 1) return -1;
    wbDelay(1.0);
    uint8_t reply[2] = {0, 0};
    if (USBRead(2, reply) != 1) return -1;
    NoteChipHolds(reg, UnpackRegisterPair(reply));
    return UnpackRegisterPair(reply);
}

int ReadZelqxRegisterBlocks(int* destination) {
    ReadRegisterZeroThroughRegMap();
    struct Block { uint8_t code; int length; int first; };
    const Block blocks[3] = {{CMD_CODEC_READ_BLOCK1, 48, 0}, {CMD_CODEC_READ_BLOCK2, 48, 24},
                             {CMD_CODEC_READ_BLOCK3, 30, 48}};
    int read = 0;
    for (const Block& b : blocks) {
        if (USBSend(static_cast<uint8_t>(CommMode | b.code), 0, nullptr) != 1) break;
        rt::Delay(1.0);
        uint8_t reply[48];
        if (USBRead(b.length, reply) != 1) break;
        for (int i = 0; i < b.length / 2; ++i) {
            destination[b.first + i] = UnpackRegisterPair(reply + 2 * i);
            NoteChipHolds(b.first + i + 1, UnpackRegisterPair(reply + 2 * i));
        }
        read += b.length / 2;
    }
    return read;
}

int ReadZelqxAllReg(int* destination) {
    int values[63];
    if (ReadZelqxRegisterBlocks(values) != 63) return 0;
    if (destination) std::copy(std::begin(values), std::end(values), destination);
    return 1;
}
