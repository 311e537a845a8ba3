// A copy of the sample data (examples/) in a fresh temporary folder, as a
// user's release 2016.0 finds it on its first start beside release 2015,
// with a main frame that names its folders and settings files as the
// tnupdate host does, the installation's command table and an empty layout
// model.

#pragma once

#include "components/layout/layout_manager.h"
#include "components/utility/command_table.h"
#include "host/user_questions.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_frame.h"

namespace tern::test {

// The release folders of the sample data, relative to its copy.
extern const char* const previousApp;  // release 2015's application-data folder
extern const char* const previousUser; // and its user-data folder
extern const char* const currentApp;   // release 2016's, made by its first run
extern const char* const currentUser;

struct SampleTree {
    SampleTree();

    TempFolder temp;
    utility::CCommandTable commands;
    layout::LayoutManager layouts;
    TestFrame frame;
};

// Answers every question of the update flow Yes while it lives, so that
// the previous release is inherited.
class YesToAll : public core::IUserQuestions {
public:
    YesToAll();
    ~YesToAll() override;
    bool askYesNo(core::Question question, const std::wstring& text) override;
    int chooseInheritedProduct(std::int32_t& selection) override;
};

} // namespace tern::test
