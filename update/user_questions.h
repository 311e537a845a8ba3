// Where the update flow's questions go: to the answers the host installed
// (host/user_questions.h), or else to the platform's own prompts. A question
// nobody could be asked gets the answer that deletes nothing: Yes, and OK
// with the product already selected. Each question and its answer are told
// to the run report.

#pragma once

#include "host/user_questions.h"

#include <cstdint>
#include <string>

namespace tern::update {

// True for Yes.
bool askUser(core::Question question, const std::wstring& text);

// Runs the product-choice dialog; 1 for OK (selection holds the choice), 2
// for Cancel.
int chooseInheritedProduct(std::int32_t& selection);

} // namespace tern::update
