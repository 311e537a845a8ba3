#include "components/sysconfig/settings_file.h"

#include "platform/com_apartment.h"

namespace tern::ui::setting {

namespace xml = tern::utility::xml;

bool readSettingsFile(const std::wstring& path, const std::function<bool(const xml::Element& root)>& read) {
    platform::ComApartment apartment;
    if (!apartment.ok())
        return false;
    try {
        xml::Document document;
        xml::Element root;
        return xml::load(document, path, false) && xml::getRootElement(root, document) && read(root);
    } catch (const xml::DomError&) {
        return false;
    }
}

} // namespace tern::ui::setting
