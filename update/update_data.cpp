#include "update/update_data.h"

#include "update/load_report.h"
#include "update/owned_pointers.h"
#include "update/skipped_element.h"
#include "update/version_text.h"

#include <memory>

namespace tern::update {

namespace xml = utility::xml;

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
    bool layoutRead = false;
    for (xml::Node child = node.firstChild(); child; child = child.nextSibling()) {
        if (!child.isElement())
            continue;
        const std::wstring name = child.name();
        if (name == L"Layout") {
            if (layoutRead)
                reportDropped(child, L"A second \"Layout\" in one \"Update\" replaces the items of the one before.");
            layout.load(child);
            layoutRead = true;
        } else if (name == L"Setting") {
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
