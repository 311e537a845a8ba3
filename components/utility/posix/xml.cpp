// The XML functions over pugixml (first cut: UTF-8 only).

#include "components/utility/xml.h"

#include "platform/file_system.h"
#include "platform/text.h"

#include <pugixml.hpp>

#include <cwctype>
#include <sstream>

namespace tern::utility::xml {

struct DocumentImpl {
    pugi::xml_document dom;
};

struct NodeImpl {
    std::shared_ptr<DocumentImpl> document;
    pugi::xml_node node;
};

struct NodeAccess {
    static Node make(const std::shared_ptr<DocumentImpl>& document, pugi::xml_node node)
    {
        Node result;
        if (document && node)
            result.impl = std::make_shared<NodeImpl>(NodeImpl{document, node});
        return result;
    }
    static Element makeElement(const std::shared_ptr<DocumentImpl>& document, pugi::xml_node node)
    {
        Element result;
        if (document && node.type() == pugi::node_element)
            result.impl = std::make_shared<NodeImpl>(NodeImpl{document, node});
        return result;
    }
    static pugi::xml_node node(const Node& node) { return node.impl ? node.impl->node : pugi::xml_node(); }
    static std::shared_ptr<DocumentImpl> document(const Node& node)
    {
        return node.impl ? node.impl->document : nullptr;
    }
};

struct DocumentAccess {
    static std::shared_ptr<DocumentImpl>& impl(Document& document) { return document.impl; }
    static const std::shared_ptr<DocumentImpl>& impl(const Document& document) { return document.impl; }
};

namespace {

constexpr unsigned int parseOptions = pugi::parse_full | pugi::parse_ws_pcdata;
constexpr unsigned int formatOptions = pugi::format_raw | pugi::format_no_declaration;

bool parseInto(Document& document, const std::string& utf8)
{
    auto impl = std::make_shared<DocumentImpl>();
    if (!impl->dom.load_buffer(utf8.data(), utf8.size(), parseOptions, pugi::encoding_utf8)) {
        DocumentAccess::impl(document).reset();
        return false;
    }
    DocumentAccess::impl(document) = impl;
    return true;
}

} // namespace

bool Node::isElement() const { return NodeAccess::node(*this).type() == pugi::node_element; }

std::wstring Node::name() const
{
    return isElement() ? platform::fromUtf8(NodeAccess::node(*this).name()) : std::wstring();
}

Element Node::asElement() const { return NodeAccess::makeElement(NodeAccess::document(*this), NodeAccess::node(*this)); }

Node Node::firstChild() const { return NodeAccess::make(NodeAccess::document(*this), NodeAccess::node(*this).first_child()); }

Node Node::nextSibling() const
{
    return NodeAccess::make(NodeAccess::document(*this), NodeAccess::node(*this).next_sibling());
}

std::wstring Node::outerXml() const
{
    if (!impl)
        return {};
    std::ostringstream out;
    impl->node.print(out, "", formatOptions, pugi::encoding_utf8);
    return platform::fromUtf8(out.str());
}

void Node::appendChild(const Node& child) const
{
    if (!impl || !child.impl || !impl->node.append_copy(child.impl->node))
        throw DomError("appendChild failed");
}

Element Node::appendElement(const std::wstring& name) const
{
    if (!impl)
        throw DomError("appendElement on an empty node");
    auto element = impl->node.append_child(platform::toUtf8(name).c_str());
    if (!element)
        throw DomError("appendElement failed");
    return NodeAccess::makeElement(impl->document, element);
}

int Node::line() const { return 0; }

void Element::setAttribute(const std::wstring& name, const std::wstring& value) const
{
    if (!impl)
        return;
    auto key = platform::toUtf8(name);
    auto attribute = impl->node.attribute(key.c_str());
    if (!attribute)
        attribute = impl->node.append_attribute(key.c_str());
    if (!attribute || !attribute.set_value(platform::toUtf8(value).c_str()))
        throw DomError("setAttribute failed");
}

Document Document::create(const std::wstring& rootName)
{
    Document document;
    parseInto(document, "<?xml version=\"1.0\" encoding=\"UTF-8\"?><" + platform::toUtf8(rootName) + "/>");
    return document;
}

bool load(Document& document, const std::wstring& path, bool)
{
    std::string bytes;
    if (!platform::readFile(path, bytes)) {
        document = Document();
        return false;
    }
    return parseInto(document, bytes);
}

bool loadXml(Document& document, const std::wstring& text) { return parseInto(document, platform::toUtf8(text)); }

bool getRootElement(Element& element, const Document& document)
{
    const auto& impl = DocumentAccess::impl(document);
    if (!impl)
        return false;
    element = NodeAccess::makeElement(impl, impl->dom.document_element());
    return static_cast<bool>(element);
}

bool checkNodeName(const Node& node, const std::wstring& name) { return node.isElement() && node.name() == name; }

bool readAttributeText(std::wstring& value, const Element& element, const std::wstring& name)
{
    auto attribute = NodeAccess::node(element).attribute(platform::toUtf8(name).c_str());
    if (!attribute)
        return false;
    value = platform::fromUtf8(attribute.value());
    return true;
}

bool readAttributeBool(bool& value, const Element& element, const std::wstring& name)
{
    std::wstring text;
    if (!readAttributeText(text, element, name))
        return false;
    for (auto& c : text)
        c = static_cast<wchar_t>(towlower(c));
    if (text == L"true" || text == L"1")
        value = true;
    else if (text == L"false" || text == L"0")
        value = false;
    else
        return false;
    return true;
}

bool readText(std::wstring& text, const Node& node)
{
    if (!node)
        return false;
    text = platform::fromUtf8(NodeAccess::node(node).text().get());
    return true;
}

bool selectSingleNode(Node& node, const Node& context, const std::wstring& expression)
{
    if (!context || expression.empty())
        return false;
    try {
        pugi::xpath_query query(platform::toUtf8(expression).c_str());
        auto selected = query.evaluate_node_set(NodeAccess::node(context));
        if (selected.empty())
            return false;
        selected.sort();
        node = NodeAccess::make(NodeAccess::document(context), selected.first().node());
        return true;
    } catch (const pugi::xpath_exception&) {
        return false;
    }
}

bool enableXPath(Document& document) { return static_cast<bool>(document); }

bool save(const Document& document, const std::wstring& path)
{
    const auto& impl = DocumentAccess::impl(document);
    if (!impl)
        return false;
    std::ostringstream out;
    impl->dom.save(out, "", formatOptions, pugi::encoding_utf8);
    return platform::writeFileReplacing(path, out.str());
}

} // namespace tern::utility::xml
