// The closing words of the popups that tell a stopped chip operation, as the user reads them;
// tests write the rest of each popup's words out in full.
#pragma once

#include <string>

namespace testsupport {

// After a send the board refused.
inline const std::string kPanelsMayDiffer =
    "\n\nThe chip may now differ from the panels. Reading the registers back (\"Read All and Update\" on the "
    "register map) reconciles them.";
// After the board went away during the operation.
inline const std::string kUntilConnectedAgain =
    "\n\nUntil the board is connected again nothing reaches the chip. Once it is back, reading the registers "
    "(\"Read All and Update\" on the register map) brings the panels in line with the chip.";

}  // namespace testsupport
