// The panel resources the run-time loads panels and menu bars from: a table of panel file name
// ("cfgDACJorb_pan.uir") -> JSON text in the format of panels/FORMAT.md.
//
// The program registers the files built into it with RegisterEmbeddedPanels() (library
// cb_panels) before loading its first panel; tests may add fixtures of their own.
#pragma once

#include <string>
#include <vector>

namespace rt {

// Adds a panel file, or replaces the text of one registered under the same name. The text is
// checked when a panel or menu bar of it is first loaded.
void RegisterPanelResource(const std::string& fileName, const std::string& jsonText);
// Every registered file name, sorted.
std::vector<std::string> PanelResourceNames();
// The text registered under `fileName` (exact name, else the same name in other letter case).
bool PanelResourceText(const std::string& fileName, std::string* jsonText);

// Registers every panel file built into the program (defined in cb_panels, generated from
// panels/*.json). Calling it again does nothing.
void RegisterEmbeddedPanels();

}  // namespace rt
