#include "components/sysconfig/line_type_setting.h"

#include "components/sysconfig/settings_file.h"

namespace tern::ui::setting {

namespace {

bool isLineTypeFile(const std::wstring& path) {
    return readSettingsFile(path, [](const utility::xml::Element& root) {
        return utility::xml::checkNodeName(root, L"LineTypes");
    });
}

} // namespace

bool CLineTypeSetting::loadSystemXML(const std::wstring& path) { return isLineTypeFile(path); }

bool CLineTypeSetting::loadXML(const std::wstring& path) { return isLineTypeFile(path); }

} // namespace tern::ui::setting
