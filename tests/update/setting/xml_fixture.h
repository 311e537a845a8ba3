// Test helpers for the definition loaders and the setting items: elements
// parsed from inline text, a target document to apply items to, and a load
// listener that records what the loaders drop.

#pragma once

#include "components/utility/xml.h"
#include "update/load_report.h"

#include <string>
#include <vector>

namespace tern::update::setting {
class ISettingItem;
}

namespace tern::test {

// The root element of a document parsed from text; the element keeps its
// document alive. Fails the test when the text does not parse.
utility::xml::Element parseElement(const std::wstring& text);

// A settings document held in memory, as a section holds it while applying.
class TargetDocument {
public:
    explicit TargetDocument(const std::wstring& text);
    // Applies item with the document's root element as context.
    bool apply(update::setting::ISettingItem& item);
    // The root element with its content, as the DOM writes it.
    std::wstring text() const { return root.outerXml(); }

private:
    utility::xml::Document document;
    utility::xml::Element root;
};

// Records, while it lives, every message the loaders report on this thread.
class DropRecorder : public update::LoadListener {
public:
    DropRecorder() : scope(*this) {}
    void dropped(const utility::xml::Node& node, const std::wstring& message) override;

    std::vector<std::wstring> messages;
    std::vector<int> lines;

private:
    update::ScopedLoadListener scope;
};

} // namespace tern::test
