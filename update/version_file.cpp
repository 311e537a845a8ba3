#include "update/version_file.h"

#include "components/utility/xml.h"
#include "platform/com_apartment.h"

namespace tern::update {

namespace xml = utility::xml;

bool readVersionFile(std::wstring& version, const wchar_t* path) {
    if (!path || !*path)
        return false;
    platform::ComApartment apartment;
    if (!apartment.ok())
        return false;
    try {
        xml::Document document;
        xml::Element root;
        xml::Node main;
        std::wstring text;
        if (!xml::load(document, path, false) || !xml::getRootElement(root, document) ||
            !xml::checkNodeName(root, L"Versions") || !xml::selectSingleNode(main, root, L"Main") ||
            !xml::readText(text, main) || text.empty())
            return false;
        version = text;
        return true;
    } catch (const xml::DomError&) {
        return false;
    }
}

} // namespace tern::update
