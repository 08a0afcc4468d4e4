/* A board library with only some of the nine operations: binding it must fail as a whole. */
__attribute__((visibility("default"))) int OpenDevice(int a, int b, int c) { return a + b + c; }
__attribute__((visibility("default"))) int StartDevDetection(int a) { return a; }
__attribute__((visibility("default"))) int CloseDevice(void) { return 1; }
__attribute__((visibility("default"))) int IsDevicePlugged(void) { return 1; }
