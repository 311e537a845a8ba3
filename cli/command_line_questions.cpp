#include "cli/command_line_questions.h"

#include "platform/terminal_questions.h"

#include <algorithm>
#include <iostream>
#include <sstream>

namespace tern::cli {

namespace {

const char* const knownAnswers[] = {"yes", "no", "0", "1"};

std::string nameOf(core::Question question) {
    return question == core::Question::inheritPatronSettings ? "patron"
                                                              : std::to_string(static_cast<int>(question));
}

} // namespace

std::vector<std::string> splitAnswers(const std::string& list, std::string& badWord) {
    std::vector<std::string> answers;
    std::istringstream words(list);
    for (std::string word; std::getline(words, word, ',');) {
        if (std::find(std::begin(knownAnswers), std::end(knownAnswers), word) == std::end(knownAnswers)) {
            badWord = word;
            return {};
        }
        answers.push_back(word);
    }
    return answers;
}

CommandLineQuestions::CommandLineQuestions(Source source, std::vector<std::string> answers, std::ostream& report,
                                           std::ostream& warnings)
    : source(source), answers(std::move(answers)), report(report), warnings(warnings) {}

bool CommandLineQuestions::askYesNo(core::Question question, const std::wstring& text) {
    const std::string asked = "question " + nameOf(question);
    const std::string answer = answerTo(asked, {"yes", "no"}, "yes", [&text]() -> std::string {
        switch (platform::askYesNoOn(std::cin, std::cerr, text)) {
        case platform::PromptReply::yes:
            return "yes";
        case platform::PromptReply::no:
            return "no";
        default:
            return {};
        }
    });
    report << asked << ": " << answer << "\n";
    return answer == "yes";
}

int CommandLineQuestions::chooseInheritedProduct(std::int32_t& selection) {
    const std::string asked = "dialog 4001";
    const std::string answer = answerTo(asked, {"0", "1", "no"}, "0", [&selection]() -> std::string {
        std::int32_t chosen = selection;
        switch (platform::chooseProductOn(std::cin, std::cerr, chosen)) {
        case 1:
            return std::to_string(chosen);
        case 2:
            return "no";
        default:
            return {};
        }
    });
    report << asked << ": " << answer << "\n";
    if (answer == "no")
        return 2;
    selection = answer == "1" ? 1 : 0;
    return 1;
}

std::string CommandLineQuestions::answerTo(const std::string& asked, std::initializer_list<const char*> fitting,
                                           const std::string& fallback,
                                           const std::function<std::string()>& askTerminal) {
    std::string why;
    switch (source) {
    case Source::yesToAll:
        return fallback;
    case Source::answerList:
        if (next == answers.size()) {
            why = "the answers are used up";
        } else {
            const std::string& answer = answers[next++];
            if (std::find(fitting.begin(), fitting.end(), answer) != fitting.end())
                return answer;
            why = "the answer \"" + answer + "\" does not fit it";
        }
        break;
    case Source::terminal:
        if (std::string answer = askTerminal(); !answer.empty())
            return answer;
        why = "the terminal gave no answer";
        break;
    case Source::nobody:
        why = "no answers were given and there is no terminal";
        break;
    }
    report << std::flush;
    warnings << "warning: " << asked << " is answered " << fallback << ", which deletes nothing: " << why << "\n"
             << std::flush;
    return fallback;
}

} // namespace tern::cli
