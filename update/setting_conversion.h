// The conversion of settings files carried over from a release up to
// 2012.9, done on the running release's files once they are copied.
//
// Black and white may stand exchanged in those files against today's form.
// The conversion exchanges them back in the EopReg
// settings when they hold more black than white, rebuilds an outdated colour
// table from the installed one keeping the user's own colours, writes the
// colour table exchanged when it is, and exchanges black and white in the
// drawing and conversion settings when the user's display background is
// white. Every file that cannot be read, converted or written is left as it
// was and the next one is handled; a file with nothing to change is not
// rewritten.

#pragma once

namespace tern::core {
class IMainFrame;
}

namespace tern::update {

void convertOldSettings(const core::IMainFrame& frame);

} // namespace tern::update
