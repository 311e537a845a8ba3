#include "update/setting/add_node.h"

#include "update/setting/item_loading.h"
#include "update/setting/setting_edit_report.h"
#include "update/skipped_element.h"

namespace tern::update::setting {

// Spelt out in full here: the member `xml` would hide a shorter alias.
using utility::xml::Document;
using utility::xml::DomError;
using utility::xml::Element;
using utility::xml::Node;

ISettingItem* AddNode::clone() const { return new AddNode(*this); }

const wchar_t* AddNode::getNodeName() const { return L"AddNode"; }

bool AddNode::load(Node node, SettingItemTable&) {
    xpath.clear();
    xml.clear();
    try {
        if (!readItemXPath(xpath, node, getNodeName()))
            return false;
        reportUnknownAttributes(node.asElement(), {L"XPath"});
        xml = node.outerXml();
        return !xml.empty();
    } catch (const DomError&) {
        reportUnreadableElement(node);
        return false;
    }
}

bool AddNode::apply(SettingData* owner, Node root, Document) {
    if (xpath.empty() || xml.empty())
        return false;
    Node target;
    if (!utility::xml::selectSingleNode(target, root, xpath)) {
        reportEditNotApplied(owner, xpath, L"no node matches the XPath");
        return false;
    }
    Document fragment;
    Element element;
    if (!utility::xml::loadXml(fragment, xml) || !utility::xml::getRootElement(element, fragment)) {
        reportEditNotApplied(owner, xpath, L"the content to insert is not well-formed XML");
        return false;
    }
    // Said before the insertion moves the nodes out of the fragment.
    reportEditApplied(owner, xpath, [&] {
        std::wstring inserted;
        for (Node child = element.firstChild(); child; child = child.nextSibling())
            inserted += child.outerXml();
        return inserted;
    });
    for (Node child = element.firstChild(); child; child = child.nextSibling())
        target.appendChild(child);
    return true;
}

} // namespace tern::update::setting
