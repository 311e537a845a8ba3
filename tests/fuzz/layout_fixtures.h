// The fixed surroundings of the layout targets: the command table that the
// layout files' SIDs resolve through, and a main frame that hands it out.
// Both are made once per process.

#pragma once

namespace tern::core {
class IMainFrame;
}
namespace tern::utility {
class CCommandTable;
}

namespace tern::fuzz {

// The sample installation's commands, and two whose captions need escaping.
const utility::CCommandTable& commandTable();
const core::IMainFrame& frame();

} // namespace tern::fuzz
