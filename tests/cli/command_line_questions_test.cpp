// The command line's answers taken in the order the questions come, with
// the answer that deletes nothing for every question they do not cover.

#include "cli/command_line_questions.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tern::cli {
namespace {

using Source = CommandLineQuestions::Source;

struct Asked {
    std::string report, warnings;
};

// Asks 4000, the dialog, 4001 and the patron question in turn; each answer
// is written as the library would take it.
Asked askAll(Source source, const std::string& list) {
    std::string badWord;
    std::ostringstream report, warnings;
    CommandLineQuestions questions(source, splitAnswers(list, badWord), report, warnings);
    std::string taken;
    taken += questions.askYesNo(core::Question::inheritSettings, L"?") ? "Y" : "N";
    std::int32_t selection = 0;
    const int result = questions.chooseInheritedProduct(selection);
    taken += result == 1 ? std::to_string(selection) : "C";
    taken += questions.askYesNo(core::Question::useLayerTemplates, L"?") ? "Y" : "N";
    taken += questions.askYesNo(core::Question::inheritPatronSettings, L"?") ? "Y" : "N";
    return {taken + "\n" + report.str(), warnings.str()};
}

TEST(CommandLineQuestions, AnswersAreTakenInOrder_AndEachQuestionIsReportedOnALine) {
    const Asked asked = askAll(Source::answerList, "no,1,yes,no");
    EXPECT_EQ(asked.report, "N1YN\nquestion 4000: no\ndialog 4001: 1\nquestion 4001: yes\nquestion patron: no\n");
    EXPECT_EQ(asked.warnings, "");
    EXPECT_EQ(askAll(Source::answerList, "yes,no,no,yes").report,
              "YCNY\nquestion 4000: yes\ndialog 4001: no\nquestion 4001: no\nquestion patron: yes\n");
}

TEST(CommandLineQuestions, UncoveredQuestions_GetTheAnswerThatDeletesNothing_WithAWarningEach) {
    const Asked asked = askAll(Source::answerList, "0,yes");
    EXPECT_EQ(asked.report, "Y0YY\nquestion 4000: yes\ndialog 4001: 0\nquestion 4001: yes\nquestion patron: yes\n");
    EXPECT_EQ(asked.warnings, "warning: question 4000 is answered yes, which deletes nothing: the answer \"0\" does "
                              "not fit it\n"
                              "warning: dialog 4001 is answered 0, which deletes nothing: the answer \"yes\" does "
                              "not fit it\n"
                              "warning: question 4001 is answered yes, which deletes nothing: the answers are used up\n"
                              "warning: question patron is answered yes, which deletes nothing: the answers are used "
                              "up\n");
    EXPECT_EQ(askAll(Source::yesToAll, "").report,
              "Y0YY\nquestion 4000: yes\ndialog 4001: 0\nquestion 4001: yes\nquestion patron: yes\n");
    EXPECT_EQ(askAll(Source::yesToAll, "").warnings, "");
    EXPECT_NE(askAll(Source::nobody, "").warnings.find("no answers were given and there is no terminal"),
              std::string::npos);
}

TEST(CommandLineQuestions, AnswerList_RefusesAnyOtherWord) {
    for (const char* list : {"yes,maybe", "Yes", "yes,,no", "2"}) {
        std::string badWord;
        EXPECT_TRUE(splitAnswers(list, badWord).empty()) << list;
        EXPECT_FALSE(std::string(list).find(badWord) == std::string::npos) << list;
    }
    std::string badWord;
    EXPECT_EQ(splitAnswers("yes,no,0,1", badWord), (std::vector<std::string>{"yes", "no", "0", "1"}));
}

} // namespace
} // namespace tern::cli
