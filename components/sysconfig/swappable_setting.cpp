#include "components/sysconfig/swappable_setting.h"

#include "components/sysconfig/color_value.h"

#include <functional>
#include <vector>

namespace tern::ui::setting {

namespace xml = tern::utility::xml;

namespace {

bool isColorAttribute(const std::wstring& name) {
    static const std::wstring suffix = L"Color";
    return name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

using ColorVisitor = std::function<void(const xml::Element& element, const std::wstring& name, std::uint32_t value)>;

// Calls visit for every colour of the document. The elements are walked
// with a list of their own rather than by recursion, so a document nested
// however deep cannot exhaust the stack.
void visitColors(const xml::Document& document, const ColorVisitor& visit) {
    xml::Element root;
    if (!xml::getRootElement(root, document))
        return;
    std::vector<xml::Element> pending{root};
    while (!pending.empty()) {
        const xml::Element element = pending.back();
        pending.pop_back();
        for (const std::wstring& name : element.attributeNames()) {
            std::wstring text;
            std::uint32_t value = 0;
            if (isColorAttribute(name) && xml::readAttributeText(text, element, name) && parseColor(text, value))
                visit(element, name, value);
        }
        for (xml::Element child = element.firstChildElement(); child; child = child.nextSiblingElement())
            pending.push_back(child);
    }
}

} // namespace

CSwappableSetting::CSwappableSetting() = default;

CSwappableSetting::~CSwappableSetting() = default;

bool CSwappableSetting::loadXML(const std::wstring& path) {
    document = xml::Document();
    loadedPath.clear();
    changed = false;
    if (!apartment.ok())
        return false;
    try {
        if (!xml::load(document, path, false))
            return false;
    } catch (const xml::DomError&) {
        document = xml::Document();
        return false;
    }
    loadedPath = path;
    return true;
}

void CSwappableSetting::swapBW() {
    try {
        visitColors(document, [this](const xml::Element& element, const std::wstring& name, std::uint32_t value) {
            if (swappedBW(value) == value)
                return;
            element.setAttribute(name, colorText(swappedBW(value)));
            changed = true;
        });
    } catch (const xml::DomError&) {
        // Half exchanged, the document must not reach a file.
        document = xml::Document();
    }
}

bool CSwappableSetting::saveXML(const std::wstring& path) const {
    if (!document)
        return false;
    if (!changed && path == loadedPath)
        return true;
    try {
        return xml::save(document, path);
    } catch (const xml::DomError&) {
        return false;
    }
}

void CSwappableSetting::countBlackAndWhite(std::int32_t& black, std::int32_t& white) const {
    std::int32_t blackSeen = 0;
    std::int32_t whiteSeen = 0;
    try {
        visitColors(document, [&](const xml::Element&, const std::wstring&, std::uint32_t value) {
            blackSeen += value == blackColor ? 1 : 0;
            whiteSeen += value == whiteColor ? 1 : 0;
        });
    } catch (const xml::DomError&) {
        blackSeen = whiteSeen = 0; // a document that cannot be read through has nothing to count
    }
    black = blackSeen;
    white = whiteSeen;
}

bool CLineTypedSetting::loadXML(const std::wstring& path, const ISystemLineTypeSetting&) {
    return CSwappableSetting::loadXML(path);
}

} // namespace tern::ui::setting
