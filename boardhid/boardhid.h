// The nine operations of libboardhid.so, the evaluation board's HID access library.
// The program binds them by name at run time; this header gives their C signatures.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Opens the board; nonzero = open and reports can flow. The program always passes 2, 1, 0.
typedef int (*OpenDeviceFn)(int, int, int);
// Starts watching for the board (the program passes 0); result ignored.
typedef int (*StartDevDetectionFn)(int);
typedef int (*StopDevDetectionFn)(void);
typedef int (*CloseDeviceFn)(void);
// Nonzero = the board is present on the bus.
typedef int (*IsDevicePluggedFn)(void);
typedef int (*HandleDeviceChangeFn)(unsigned int, uintptr_t, intptr_t);
// Sends one output report of `length` bytes (3 to 64); 1 = sent, anything else failed.
typedef int (*SendDataFn)(int, const unsigned char*);
// Length of the pending input report (1 to 64), 0 when none is pending.
typedef signed char (*GetDataLengthFn)(void);
// Copies the pending input report into a 64-byte buffer; returns its length.
typedef int (*GetDataFn)(unsigned char*);

// The named manual-reset event the library signals whenever an input report is pending.
#define BOARDHID_INPUT_EVENT "OrbanelInputEvent"
#define BOARDHID_VENDOR_ID 0xB7C4
#define BOARDHID_PRODUCT_ID 0x9A2E

#ifdef __cplusplus
}
#endif
