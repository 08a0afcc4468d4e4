// The Config menu's Import and Export: the loaded model's registers to and from a user-chosen
// exchange file ("*.dat", values in hexadecimal), through the working file "tempini.dat" in the
// project directory (the configuration-set text with decimal values).
#pragma once

#include <string>

// Import (menu item "Import"): asks for a file, converts it into the working file and loads
// its first set for the loaded model (sections before it of other settings are passed over)
// into CFG_REG and the chip. A file that cannot be opened, or that holds no configuration set
// (for this model), is told as such and changes nothing. Registers the set gives no readable
// value for are named in a question before anything is loaded; a set with no readable value at
// all is told and nothing is sent.
void ImportCB(int menuBar, int menuItem, void* data, int panel);
// Export (menu item "Export"): asks for a file. A new file gets one set, named after the file,
// holding CFG_REG. An existing file is replaced, after a question, by the working file with its
// first set for the model (else the file's own, else one named after the file) updated from
// CFG_REG, so that an import gives back the last export.
void ExportCB(int menuBar, int menuItem, void* data, int panel);

// The working file's name, and its full path in the project directory.
inline constexpr const char* kWorkingFileName = "tempini.dat";
std::string WorkingFilePath();
