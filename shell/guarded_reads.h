// The codec register reads started from the panels: refused with a popup in write-only mode
// and under 3-wire SPI (which cannot read).
#pragma once

// The register's 9-bit value, or -1 (refused or failed).
int ZelqxReadOneReg(int reg);
// The text of the popup with which the reads above refuse to read under the present mode, or
// null when they would read.
const char* ReadRefusalText();
// 1 read, 0 failed or refused in write-only mode, -1 refused under 3-wire SPI.
int ZelqxReadAllReg(int* destination);
