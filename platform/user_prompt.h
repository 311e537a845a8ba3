// The library's own way of asking the user, when the host answers nothing.
//
// Windows shows a system-modal Yes/No message box and the dialog template
// of this library's own module (not the host's). POSIX has neither: it asks
// on the controlling terminal, and reports that nobody answered when the
// process has none. The library's texts come from its own resources on
// Windows and from resources/resource_texts.h elsewhere.

#pragma once

#include <cstdint>
#include <string>

namespace tern::platform {

enum class PromptReply { yes, no, unanswered };

// The text of the library's string resource id; empty when there is none.
std::wstring loadLibraryString(unsigned id);

// Asks text as a Yes/No question.
PromptReply askYesNo(const std::wstring& text);

// Runs the library's product-choice dialog modally: its radio group shows
// selection when it opens, and selection receives the chosen button when OK
// is pressed. Returns 1 for OK, 2 for Cancel or closing, 0 when nobody
// could be asked (selection unchanged).
int runInheritDialog(std::int32_t& selection);

} // namespace tern::platform
