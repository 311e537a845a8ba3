// The update flow's questions, answered from the command line.
//
// Answers are taken in the order the questions come: "yes" or "no" for a
// question, "0" or "1" (OK with that product) or "no" (Cancel) for the
// dialog. With --yes every question gets Yes and the dialog OK with the
// first product. With no answers given, a terminal is asked, on standard
// error: standard output carries the report alone. A question left
// without a fitting answer (the list used up, an answer of the wrong kind,
// nobody to ask) gets the answer that deletes nothing, with a warning.
//
// Each question asked prints one line: "question 4000: yes",
// "question 4001: no", "question patron: yes" or "dialog 4001: 1".

#pragma once

#include "host/user_questions.h"

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <string>
#include <vector>

namespace tern::cli {

// Splits a comma-separated answer list; an empty result with badWord set
// names the first word that is no answer.
std::vector<std::string> splitAnswers(const std::string& list, std::string& badWord);

class CommandLineQuestions : public core::IUserQuestions {
public:
    enum class Source { answerList, yesToAll, terminal, nobody };

    CommandLineQuestions(Source source, std::vector<std::string> answers, std::ostream& report,
                         std::ostream& warnings);

    bool askYesNo(core::Question question, const std::wstring& text) override;
    int chooseInheritedProduct(std::int32_t& selection) override;

private:
    // The answer to one question: from the source when it gives one that
    // fits, else `fallback` (the answer that deletes nothing) with a
    // warning. askTerminal returns an empty text when nobody answered.
    std::string answerTo(const std::string& asked, std::initializer_list<const char*> fitting,
                         const std::string& fallback, const std::function<std::string()>& askTerminal);

    Source source;
    std::vector<std::string> answers;
    std::size_t next = 0;
    std::ostream& report;
    std::ostream& warnings;
};

} // namespace tern::cli
