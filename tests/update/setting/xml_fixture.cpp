#include "tests/update/setting/xml_fixture.h"

#include "update/setting/setting_item.h"

#include <gtest/gtest.h>

namespace tern::test {

namespace xml = utility::xml;

xml::Element parseElement(const std::wstring& text) {
    xml::Document document;
    xml::Element root;
    EXPECT_TRUE(xml::loadXml(document, text) && xml::getRootElement(root, document));
    return root;
}

TargetDocument::TargetDocument(const std::wstring& text) {
    EXPECT_TRUE(xml::loadXml(document, text) && xml::getRootElement(root, document));
    xml::enableXPath(document);
}

bool TargetDocument::apply(update::setting::ISettingItem& item) { return item.apply(nullptr, root, document); }

void DropRecorder::dropped(const xml::Node& node, const std::wstring& message) {
    messages.push_back(message);
    lines.push_back(node.line());
}

} // namespace tern::test
