#include "update/update_data.h"

#include "update/load_report.h"
#include "update/owned_pointers.h"
#include "update/skipped_element.h"
#include "update/version_text.h"

#include <memory>

namespace tern::update {

namespace xml = utility::xml;
using namespace std::string_view_literals;

namespace {

bool isDigits(const std::wstring& text, std::size_t from, std::size_t to) {
    if (from >= to)
        return false;
    for (std::size_t at = from; at < to; ++at)
        if (text[at] < L'0' || text[at] > L'9')
            return false;
    return true;
}

// "2016" or "2016.1": digits, and optionally a dot and digits. Other texts
// are still read, as far as they read as numbers.
bool isVersionNumber(const std::wstring& text) {
    const auto dot = text.find(L'.');
    if (dot == std::wstring::npos)
        return isDigits(text, 0, text.size());
    return isDigits(text, 0, dot) && isDigits(text, dot + 1, text.size());
}

} // namespace

UpdateData::~UpdateData() { clear(); }

void UpdateData::clear() {
    version.clear();
    major = 0;
    minor = 0;
    layout.clear();
    deleteAll(settings);
}

bool UpdateData::load(xml::Node node, setting::SettingItemTable& table) {
    clear();
    if (!xml::readAttributeText(version, node.asElement(), L"ver")) {
        reportDropped(node, L"An \"Update\" without a \"ver\" rejects the whole file.");
        return false;
    }
    parseMajor(major, version);
    parseMinor(minor, version);
    reportUnknownAttributes(node.asElement(), {L"ver"});
    if (loadListener() && !version.empty() && !isVersionNumber(version))
        reportDropped(node, [&] {
            return L"The \"ver\" value \"" + version +
                   L"\" is not a version number such as \"2016.0\", so it is read as " + std::to_wstring(major) + L"." +
                   std::to_wstring(minor) + L".";
        });
    bool layoutRead = false;
    for (xml::Element child = node.firstChildElement(); child; child = child.nextSiblingElement()) {
        if (xml::checkNodeName(child, L"Layout"sv)) {
            if (layoutRead)
                reportDropped(child, L"A second \"Layout\" in one \"Update\" replaces the items of the one before.");
            layout.load(child);
            layoutRead = true;
        } else if (xml::checkNodeName(child, L"Setting"sv)) {
            auto section = std::make_unique<SettingData>();
            if (section->load(child, table))
                pushOwned(settings, std::move(section));
        } else {
            reportDropped(child, [&] { return skippedElementMessage(child, L"Update", {L"Layout", L"Setting"}); });
        }
    }
    // An empty "ver" is found only now: the whole entry has been read first.
    if (version.empty()) {
        reportDropped(node, L"An \"Update\" with an empty \"ver\" rejects the whole file.");
        return false;
    }
    return true;
}

bool UpdateData::loadLayoutOnly(xml::Node node) {
    clear();
    version = L"0.0";
    try {
        layout.load(node);
        return true;
    } catch (const xml::DomError&) {
        return false;
    }
}

} // namespace tern::update
