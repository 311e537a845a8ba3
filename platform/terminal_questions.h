// The library's questions asked as lines of text: the text, then a line of
// answer read back. Serves where there is no window to show them in (the
// POSIX backend on the controlling terminal) and hosts that talk to a
// console.
//
// An answer that is not understood asks again; the end of the input means
// nobody answered.

#pragma once

#include "platform/user_prompt.h"

#include <cstdint>
#include <iosfwd>
#include <string>

namespace tern::platform {

// Writes text and reads "y"/"yes" or "n"/"no" (any letter case).
PromptReply askYesNoOn(std::istream& in, std::ostream& out, const std::wstring& text);

// The product-choice dialog as text: its prompt and its two products, then
// "0" or "1" (OK with that product; an empty line keeps selection) or "n"
// (Cancel). Returns 1 for OK, 2 for Cancel, 0 when nobody answered.
int chooseProductOn(std::istream& in, std::ostream& out, std::int32_t& selection);

} // namespace tern::platform
