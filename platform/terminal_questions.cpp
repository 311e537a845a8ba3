#include "platform/terminal_questions.h"

#include "platform/text.h"
#include "resources/resource_texts.h"

#include <algorithm>
#include <cctype>
#include <istream>
#include <ostream>

namespace tern::platform {

namespace {

// The next answer, trimmed and in lower case; false at the end of the input.
bool readAnswer(std::istream& in, std::string& answer) {
    if (!std::getline(in, answer))
        return false;
    answer.erase(0, answer.find_first_not_of(" \t\r"));
    answer.erase(answer.find_last_not_of(" \t\r") + 1);
    std::transform(answer.begin(), answer.end(), answer.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return true;
}

} // namespace

PromptReply askYesNoOn(std::istream& in, std::ostream& out, const std::wstring& text) {
    out << toUtf8(text) << "\n";
    for (std::string answer;;) {
        out << "[y/n] " << std::flush;
        if (!readAnswer(in, answer))
            return PromptReply::unanswered;
        if (answer == "y" || answer == "yes")
            return PromptReply::yes;
        if (answer == "n" || answer == "no")
            return PromptReply::no;
    }
}

int chooseProductOn(std::istream& in, std::ostream& out, std::int32_t& selection) {
    out << toUtf8(TEXT_SELECT_INHERIT_PROMPT) << "\n"
        << "  0: " << toUtf8(TEXT_SELECT_INHERIT_LUMEN) << "\n"
        << "  1: " << toUtf8(TEXT_SELECT_INHERIT_LUMEN_PATRON) << "\n";
    for (std::string answer;;) {
        out << "[0/1/n, Enter for " << selection << "] " << std::flush;
        if (!readAnswer(in, answer))
            return 0;
        if (answer == "0" || answer == "1") {
            selection = answer == "1" ? 1 : 0;
            return 1;
        }
        if (answer.empty())
            return 1;
        if (answer == "n" || answer == "no")
            return 2;
    }
}

} // namespace tern::platform
