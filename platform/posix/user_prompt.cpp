#include "platform/user_prompt.h"

#include "platform/terminal_questions.h"
#include "resources/resource_texts.h"

#include <fstream>

namespace tern::platform {

namespace {

// The controlling terminal, whatever the standard streams are redirected
// to; a process without one (a service, a pipeline in CI) cannot be asked.
struct ControllingTerminal {
    std::ifstream in{"/dev/tty"};
    std::ofstream out{"/dev/tty"};
    bool open() const { return in.is_open() && out.is_open(); }
};

} // namespace

// There are no resources on POSIX: the texts come from the same header the
// Windows resource script compiles.
std::wstring loadLibraryString(unsigned id) {
    switch (id) {
    case IDS_INHERIT_SETTINGS:
        return TEXT_INHERIT_SETTINGS;
    case IDS_USE_LAYER_TEMPLATES:
        return TEXT_USE_LAYER_TEMPLATES;
    default:
        return {};
    }
}

PromptReply askYesNo(const std::wstring& text) {
    ControllingTerminal terminal;
    return terminal.open() ? askYesNoOn(terminal.in, terminal.out, text) : PromptReply::unanswered;
}

int runInheritDialog(std::int32_t& selection) {
    ControllingTerminal terminal;
    return terminal.open() ? chooseProductOn(terminal.in, terminal.out, selection) : 0;
}

} // namespace tern::platform
