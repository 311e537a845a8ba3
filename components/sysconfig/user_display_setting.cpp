#include "components/sysconfig/user_display_setting.h"

#include "components/sysconfig/color_value.h"
#include "components/sysconfig/settings_file.h"

namespace tern::ui::setting {

bool CUserDisplaySetting::loadXmlForCheckSwapBw(bool& flag, std::uint32_t& color, const std::wstring& path) {
    flag = false;
    return readSettingsFile(path, [&color](const utility::xml::Element& root) {
        std::wstring text;
        return utility::xml::readAttributeText(text, root, L"BackColor") && parseColor(text, color);
    });
}

} // namespace tern::ui::setting
