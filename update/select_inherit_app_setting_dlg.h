// SelectInheritAppSettingDlg: the modal dialog (template 4001 of this
// library) that asks whether to inherit previous settings when two products
// left some, and from which: radio button 0 is the running product,
// 1 "OrvoLumenPatron".
//
// selection is exchanged with the dialog's radio group: it is shown when the
// dialog opens and receives the chosen button when OK ("はい") is pressed.
// DoModal returns 1 (OK) or 2 (Cancel, "いいえ", or closing the dialog).
// When the host installed its own answers (host/user_questions.h) they
// answer instead of the dialog; when nobody can be asked, DoModal gives OK
// with the selection unchanged.

#pragma once

#include "tnupdate_export.h"

#include <cstdint>

namespace tern::update {

class TNUPDATE_EXPORT SelectInheritAppSettingDlg {
public:
    enum { IDD = 4001 };

    virtual ~SelectInheritAppSettingDlg();

    virtual int DoModal();

    std::int32_t selection = 0;
};

} // namespace tern::update
