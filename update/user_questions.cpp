#include "update/user_questions.h"

#include "platform/user_prompt.h"
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

bool askUser(core::Question question, const std::wstring& text) {
    if (core::installedQuestions)
        return core::installedQuestions->askYesNo(question, text);
    return platform::askYesNo(text) != platform::PromptReply::no;
}

int chooseInheritedProduct(std::int32_t& selection) {
    if (core::installedQuestions)
        return core::installedQuestions->chooseInheritedProduct(selection);
    const int result = platform::runInheritDialog(selection);
    return result == 0 ? 1 : result;
}

bool CUpdater::askTransferSetting(bool onlyTemplates) const {
    const auto question = onlyTemplates ? core::Question::useLayerTemplates : core::Question::inheritSettings;
    return askUser(question, platform::loadLibraryString(static_cast<unsigned>(question)));
}

} // namespace update

} // namespace tern
