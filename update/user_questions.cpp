#include "update/user_questions.h"

#include "platform/user_prompt.h"
#include "update/run_report.h"
#include "update/updater.h"

namespace tern {

namespace core {

namespace {
IUserQuestions* installedQuestions = nullptr;
}

IUserQuestions::~IUserQuestions() = default;

void setUserQuestions(IUserQuestions* questions) { installedQuestions = questions; }

} // namespace core

namespace update {

namespace {

void reportAnswer(const wchar_t* question, const wchar_t* answer) {
    report([&] { return core::RunEventDetails{core::RunEvent::questionAsked, {}, {}, question, {}, answer, {}}; });
}

bool ask(core::Question question, const std::wstring& text) {
    if (core::installedQuestions)
        return core::installedQuestions->askYesNo(question, text);
    return platform::askYesNo(text) != platform::PromptReply::no;
}

int choose(std::int32_t& selection) {
    if (core::installedQuestions)
        return core::installedQuestions->chooseInheritedProduct(selection);
    const int result = platform::runInheritDialog(selection);
    return result == 0 ? 1 : result;
}

} // namespace

bool askUser(core::Question question, const std::wstring& text) {
    const bool yes = ask(question, text);
    reportAnswer(text.c_str(), yes ? L"yes" : L"no");
    return yes;
}

int chooseInheritedProduct(std::int32_t& selection) {
    const int result = choose(selection);
    reportAnswer(L"Whose settings are inherited: this product's or OrvoLumenPatron's?", result != 1 ? L"cancel"
                                                                                        : selection == 1
                                                                                            ? L"OrvoLumenPatron"
                                                                                            : L"this product");
    return result;
}

bool CUpdater::askTransferSetting(bool onlyTemplates) const {
    const auto question = onlyTemplates ? core::Question::useLayerTemplates : core::Question::inheritSettings;
    return askUser(question, platform::loadLibraryString(static_cast<unsigned>(question)));
}

} // namespace update

} // namespace tern
