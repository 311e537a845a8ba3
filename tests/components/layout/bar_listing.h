// Whole bars of the layout model as one line of text, so that a test can
// compare a whole bar at once:
//   ribbon   Home(1)[Draw(2): Line Arc] View(3)[]
//   menu     File[Open | Save Export[PDF]]          ("|" is a separator)
//   toolbar  Standard: New |Open Save               ("|" starts a group)
// A command the command table does not know shows its caption followed by
// "?", since it has no identifier.

#pragma once

#include "components/layout/command_bars.h"

#include <string>

namespace tern::test {

std::string describe(const layout::CRibbonBar& ribbon);
// The children of a popup (or of the menu bar), popups with their own children.
std::string describe(const layout::CMenuItem& popup);
std::string describe(const layout::CMenuBar& menu);
std::string describe(const layout::CCommandBar& toolBar);

} // namespace tern::test
