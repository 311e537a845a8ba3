// How a host answers the questions the update flow puts to the user.
//
// The flow asks at most a few questions per run: whether to inherit the
// previous release's settings, whether to use the layer templates found, and
// which product's settings to take when two products left some. A host that
// installs an IUserQuestions answers them itself (a test, a command-line
// host, an installer running unattended). With none installed the library
// asks the user itself: on Windows with a system-modal message box and its
// own dialog, on POSIX on the controlling terminal; where nobody can be asked
// it takes the answer that deletes nothing (Yes; OK with the first product).

#pragma once

#include "tnupdate_export.h"

#include <cstdint>
#include <string>

namespace tern::core {

// The questions, by the id of their text.
enum class Question {
    inheritSettings = 4000,    // "inherit the previous settings?"
    useLayerTemplates = 4001,  // "layer templates exist; use them?"
    inheritPatronSettings = 1, // "the other product's settings exist; inherit them?"
};

class TNUPDATE_EXPORT IUserQuestions {
public:
    virtual ~IUserQuestions();

    // A Yes/No question; text is the question as the user would read it.
    // True for Yes.
    virtual bool askYesNo(Question question, const std::wstring& text) = 0;

    // The dialog that picks the product whose settings are inherited:
    // selection 0 is the running product, 1 "OrvoLumenPatron". selection
    // holds the choice shown when the dialog opens and receives the chosen
    // one on OK. Returns 1 for OK, 2 for Cancel (declining).
    virtual int chooseInheritedProduct(std::int32_t& selection) = 0;
};

// Installs the host's answers for the questions of later runs; the host
// keeps ownership. nullptr restores the library's own questions.
TNUPDATE_EXPORT void setUserQuestions(IUserQuestions* questions);

} // namespace tern::core
