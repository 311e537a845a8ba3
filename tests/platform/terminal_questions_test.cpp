// The library's questions asked as lines of text, as on a terminal.

#include "platform/terminal_questions.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tern::platform {
namespace {

TEST(TerminalQuestions, YesNo_AsksAgainUntilUnderstood_AndTheEndOfInputIsNoAnswer) {
    const std::pair<std::string, PromptReply> cases[] = {
        {"y\n", PromptReply::yes},       {"YES\n", PromptReply::yes}, {"  no \r\n", PromptReply::no},
        {"maybe\nN\n", PromptReply::no}, {"", PromptReply::unanswered}, {"maybe\n", PromptReply::unanswered},
    };
    for (const auto& [typed, reply] : cases) {
        SCOPED_TRACE(typed);
        std::istringstream in(typed);
        std::ostringstream out;
        EXPECT_EQ(askYesNoOn(in, out, L"以前の設定を\n引き継ぎますか？"), reply);
        EXPECT_EQ(out.str().rfind("以前の設定を\n引き継ぎますか？\n[y/n] ", 0), 0u) << out.str();
    }
}

TEST(TerminalQuestions, ProductChoice_ShowsBothProducts_AndReturnsOkCancelOrNoAnswer) {
    struct Case {
        std::string typed;
        int result;
        std::int32_t selection;
    } cases[] = {
        {"1\n", 1, 1}, {"0\n", 1, 0}, {"\n", 1, 1}, {"2\nno\n", 2, 1}, {"", 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        std::istringstream in(c.typed);
        std::ostringstream out;
        std::int32_t selection = 1;
        EXPECT_EQ(chooseProductOn(in, out, selection), c.result);
        EXPECT_EQ(selection, c.selection);
        EXPECT_EQ(out.str().rfind("以下の設定が存在します。\n設定を引き継ぎますか？\n  0: OrvoLumen\n  1: OrvoLumenPatron\n"
                                  "[0/1/n, Enter for 1] ",
                                  0),
                  0u)
            << out.str();
    }
}

} // namespace
} // namespace tern::platform
