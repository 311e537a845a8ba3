// The library's own questions on Windows, shown for real: its texts read
// from the module that holds its code (here the test program, which links
// the library's objects and so carries its resources), the Yes/No message
// box and the product-choice dialog, each answered by a stand-in user on a
// second thread.

#include "platform/user_prompt.h"
#include "tests/dll/window_answerer.h"

#include <gtest/gtest.h>

#include <string>

namespace tern::test {
namespace {

using platform::PromptReply;

const std::wstring inheritSettingsText = L"以前の設定を引き継ぎますか？";
const std::wstring layerTemplatesText = L"レイヤテンプレートが存在します。\nレイヤテンプレートを使用しますか？";

TEST(LibraryString, IsTheWholeTextOfTheLibrarysOwnResource_OrEmptyWhenThereIsNone) {
    const struct {
        unsigned id;
        std::wstring text;
    } cases[] = {
        {4000, inheritSettingsText},
        {4001, layerTemplatesText},
        {4002, L""}, // in the same block of the string table, but empty
        {1, L""},    // no block at all
    };
    for (const auto& [id, text] : cases)
        EXPECT_EQ(platform::loadLibraryString(id), text) << "string " << id;
}

// The message box and the dialog need a display to open on.
class LibraryQuestion : public ::testing::Test {
protected:
    void SetUp() override {
        if (!canShowWindows())
            GTEST_SKIP() << "no display to show windows on; under Wine, run with DISPLAY set (xvfb-run)";
    }
};

// How the stand-in user leaves the dialog.
enum class Leave { ok, cancel, closeFromSystemMenu };

// The index of the checked radio button of the dialog's group; -1 for none.
int checkedChoice(HWND dialog) {
    for (int id = 4000; id <= 4001; ++id) {
        if (::IsDlgButtonChecked(dialog, id) == BST_CHECKED)
            return id - 4000;
    }
    return -1;
}

TEST_F(LibraryQuestion, InheritDialog_ShowsTheSelection_AndGivesBackTheChoice_OnlyOnOK) {
    const struct {
        std::int32_t opened; // the selection the dialog opens with
        int pick;            // the radio button the user clicks; -1: none
        Leave leave;
        int shown;           // the button checked when the dialog opened
        int result;
        std::int32_t selection;
    } cases[] = {
        {0, -1, Leave::ok, 0, IDOK, 0},
        {1, -1, Leave::ok, 1, IDOK, 1},
        {0, 1, Leave::ok, 0, IDOK, 1},
        {1, 0, Leave::ok, 1, IDOK, 0},
        {5, -1, Leave::ok, -1, IDOK, -1}, // outside the group: nothing checked, nothing chosen
        {0, 1, Leave::cancel, 0, IDCANCEL, 0},
        {1, 0, Leave::closeFromSystemMenu, 1, IDCANCEL, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "opened with " << c.opened << ", pick " << c.pick << ", leave "
                                          << static_cast<int>(c.leave));
        int shown = -2;
        WindowAnswerer user(
            L"OrvoLumen",
            [&](HWND dialog) {
                shown = checkedChoice(dialog);
                if (c.pick >= 0)
                    pressButton(dialog, 4000 + c.pick);
                if (c.leave == Leave::ok)
                    pressButton(dialog, IDOK);
                else if (c.leave == Leave::cancel)
                    pressButton(dialog, IDCANCEL);
                else
                    ::SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            },
            IDCANCEL);
        std::int32_t selection = c.opened;
        const int result = platform::runInheritDialog(selection);
        ASSERT_TRUE(user.answered()) << "no dialog \"OrvoLumen\" of this thread appeared within "
                                     << WindowAnswerer::patienceMilliseconds << " ms";
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(selection, c.selection);
    }
}

TEST_F(LibraryQuestion, YesNo_ShowsTheTextUnderTheProgramsName_AndReportsTheButtonPressed) {
    const struct {
        int button;
        PromptReply reply;
    } cases[] = {
        {IDYES, PromptReply::yes},
        {IDNO, PromptReply::no},
    };
    for (const auto& [button, reply] : cases) {
        SCOPED_TRACE(::testing::Message() << "button " << button);
        std::wstring shownText;
        // A message box's text is its static control 0xFFFF.
        WindowAnswerer user(
            L"" TN_PROGRAM_NAME,
            [&, button = button](HWND box) {
                wchar_t text[256] = {};
                ::GetDlgItemTextW(box, 0xFFFF, text, 256);
                shownText = text;
                pressButton(box, button);
            },
            IDNO);
        const PromptReply answer = platform::askYesNo(layerTemplatesText);
        ASSERT_TRUE(user.answered()) << "no message box \"" << TN_PROGRAM_NAME << "\" appeared within "
                                     << WindowAnswerer::patienceMilliseconds << " ms";
        EXPECT_EQ(shownText, layerTemplatesText);
        EXPECT_EQ(answer, reply);
    }
}

TEST(LibraryQuestionWithoutDisplay, AsksNobody_AndLeavesTheSelectionAlone) {
    if (canShowWindows())
        GTEST_SKIP() << "a display is available: the questions are shown, not refused";
    std::int32_t selection = 1;
    EXPECT_EQ(platform::runInheritDialog(selection), 0);
    EXPECT_EQ(selection, 1);
    EXPECT_EQ(platform::askYesNo(inheritSettingsText), PromptReply::unanswered);
}

} // namespace
} // namespace tern::test
