#include "update/select_inherit_app_setting_dlg.h"

#include "update/user_questions.h"

namespace tern::update {

SelectInheritAppSettingDlg::~SelectInheritAppSettingDlg() = default;

int SelectInheritAppSettingDlg::DoModal() { return chooseInheritedProduct(selection); }

} // namespace tern::update
