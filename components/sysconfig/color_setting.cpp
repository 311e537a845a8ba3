#include "components/sysconfig/color_setting.h"

#include "components/sysconfig/color_value.h"
#include "components/sysconfig/settings_file.h"
#include "components/utility/decimal_text.h"
#include "platform/com_apartment.h"

namespace tern::ui::setting {

namespace xml = tern::utility::xml;

namespace {

using ColorTable = std::map<std::int32_t, TnSystemColor>;

constexpr std::int32_t currentVersion = 3;

bool readEntry(const xml::Element& element, TnSystemColor& color) {
    std::wstring no, value, user;
    if (!xml::readAttributeText(no, element, L"No") || !utility::parseDecimal(no, color.no) ||
        !xml::readAttributeText(value, element, L"Value") || !parseColor(value, color.value))
        return false;
    color.user = xml::readAttributeText(user, element, L"User") && user == L"1";
    return true;
}

// The table of a colour file; false, with table empty, when the file is no
// colour table or an entry is malformed or repeats a number.
bool readTable(const std::wstring& path, ColorTable& table) {
    table.clear();
    const bool read = readSettingsFile(path, [&table](const xml::Element& root) {
        if (!xml::checkNodeName(root, L"ColorSetting"))
            return false;
        for (xml::Element node = root.firstChildElement(); node; node = node.nextSiblingElement()) {
            TnSystemColor color;
            if (xml::checkNodeName(node, L"Color") &&
                (!readEntry(node, color) || !table.emplace(color.no, color).second))
                return false;
        }
        return true;
    });
    if (!read)
        table.clear();
    return read;
}

// The table as a new document, one entry a line.
xml::Document tableDocument(const ColorTable& table) {
    xml::Document document = xml::Document::create(L"ColorSetting");
    xml::Element root;
    xml::getRootElement(root, document);
    root.setAttribute(L"Version", std::to_wstring(currentVersion));
    for (const auto& [no, color] : table) {
        root.appendText(L"\n  ");
        const xml::Element entry = root.appendElement(L"Color");
        entry.setAttribute(L"No", std::to_wstring(no));
        entry.setAttribute(L"Value", colorText(color.value));
        if (color.user)
            entry.setAttribute(L"User", L"1");
    }
    if (!table.empty())
        root.appendText(L"\n");
    return document;
}

} // namespace

EVersionCheck CColorSetting::checkFileVersion(const std::wstring& path) {
    EVersionCheck found = EV_NO_TABLE;
    readSettingsFile(path, [&found](const xml::Element& root) {
        if (!xml::checkNodeName(root, L"ColorSetting"))
            return false;
        std::wstring text;
        std::int32_t version = 0;
        if (!xml::readAttributeText(text, root, L"Version") || !utility::parseDecimal(text, version) ||
            version < currentVersion)
            found = EV_OUTDATED;
        else
            found = version == currentVersion ? EV_CURRENT : EV_NEWER;
        return true;
    });
    return found;
}

bool CColorSetting::loadXMLUserColors(std::vector<TnSystemColor>& colors, const std::wstring& path) {
    ColorTable read;
    if (!readTable(path, read))
        return false;
    for (const auto& [no, color] : read) {
        if (color.user)
            colors.push_back(color);
    }
    return true;
}

bool CColorSetting::loadXML(const std::wstring& path) { return readTable(path, table); }

void CColorSetting::overwriteUserColors(const std::vector<TnSystemColor>& colors) {
    for (TnSystemColor color : colors) {
        color.user = true;
        table[color.no] = color;
    }
}

bool CColorSetting::isSwappedBW() const {
    const auto background = table.find(0);
    return background != table.end() && background->second.value == whiteColor;
}

void CColorSetting::swapBW() {
    for (auto& [no, color] : table)
        color.value = swappedBW(color.value);
}

bool CColorSetting::saveXML(const std::wstring& path) const {
    platform::ComApartment apartment;
    if (!apartment.ok())
        return false;
    try {
        return xml::save(tableDocument(table), path);
    } catch (const xml::DomError&) {
        return false;
    }
}

} // namespace tern::ui::setting
