// The XML functions over pugixml. Text crosses the boundary as UTF-8, the
// encoding pugixml is used in here; files are decoded and encoded around it
// (xml_encoding.h).

#include "components/utility/xml.h"

#include "components/utility/posix/document_impl.h"
#include "platform/file_system.h"
#include "platform/text.h"

#include <cstring>
#include <cwchar>
#include <exception>
#include <string_view>

namespace tern::utility::xml {
namespace {

using platform::fromUtf8;
using platform::toUtf8;

pugi::xml_node domNode(const Node& node) {
    const auto* impl = NodeAccess::impl(node);
    return impl && !impl->attribute ? impl->node : pugi::xml_node();
}

// pugixml takes any name; the DOM refuses one that would not read back as a
// name. Letters beyond ASCII are taken as name characters.
void requireName(const std::string& name) {
    constexpr std::string_view asciiStart = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_:";
    constexpr std::string_view asciiRest = "-.0123456789";
    auto isNameCharacter = [&](char c, bool first) {
        return static_cast<unsigned char>(c) >= 0x80 || asciiStart.find(c) != std::string_view::npos ||
               (!first && asciiRest.find(c) != std::string_view::npos);
    };
    bool valid = !name.empty();
    for (std::size_t i = 0; i < name.size() && valid; ++i)
        valid = isNameCharacter(name[i], i == 0);
    if (!valid)
        throw DomError("not an XML name: \"" + name + "\"");
}

// The document level takes one element, comments and processing
// instructions; anything else there would not read back as a document.
void requireDocumentLevelChild(pugi::xml_node document, pugi::xml_node_type type) {
    if (document.type() != pugi::node_document)
        return;
    const bool allowed = type == pugi::node_comment || type == pugi::node_pi ||
                         (type == pugi::node_element && !document.find_child([](pugi::xml_node child) {
                             return child.type() == pugi::node_element;
                         }));
    if (!allowed)
        throw DomError("the document cannot take this node");
}

bool equalsIgnoringCase(const std::wstring& text, const wchar_t* lower) {
    if (text.size() != std::wcslen(lower))
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = text[i];
        if ((c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c) != lower[i])
            return false;
    }
    return true;
}

bool parseInto(Document& document, const std::string& utf8, const XmlEncoding& encoding) {
    auto impl = DocumentImpl::parse(utf8);
    if (impl)
        impl->encoding = encoding;
    DocumentAccess::impl(document) = impl;
    return impl != nullptr;
}

} // namespace

bool Node::isElement() const { return domNode(*this).type() == pugi::node_element; }

std::wstring Node::name() const { return isElement() ? fromUtf8(impl->node.name()) : std::wstring(); }

Element Node::asElement() const { return impl ? NodeAccess::makeElement(impl->document, domNode(*this)) : Element(); }

Node Node::firstChild() const { return impl ? NodeAccess::make(impl->document, domNode(*this).first_child()) : Node(); }

Node Node::nextSibling() const {
    return impl ? NodeAccess::make(impl->document, domNode(*this).next_sibling()) : Node();
}

std::wstring Node::outerXml() const {
    if (!impl)
        return {};
    if (!impl->attribute)
        return fromUtf8(impl->document->print(impl->node));
    // pugixml prints attributes only inside a start tag: print one holding a
    // copy of the attribute and keep what lies between "<a " and "/>".
    pugi::xml_document scratch;
    auto holder = scratch.append_child("a");
    holder.append_copy(impl->attribute);
    const auto tag = printRaw(holder);
    return fromUtf8(tag.substr(3, tag.size() - 5));
}

void Node::appendChild(const Node& child) const {
    auto parent = domNode(*this);
    const auto source = domNode(child);
    if (!parent || !source)
        throw DomError("appendChild needs a node to append to and a node to append");
    requireDocumentLevelChild(parent, source.type());
    if (!parent.append_copy(source))
        throw DomError("the node cannot take this child");
}

Element Node::appendElement(const std::wstring& name) const {
    auto parent = domNode(*this);
    if (!parent)
        throw DomError("appendElement needs a node to append to");
    const auto utf8Name = toUtf8(name);
    requireName(utf8Name);
    requireDocumentLevelChild(parent, pugi::node_element);
    const auto element = parent.append_child(utf8Name.c_str());
    if (!element)
        throw DomError("the node cannot take an element");
    return NodeAccess::makeElement(impl->document, element);
}

int Node::line() const { return impl ? impl->document->lineOf(impl->node) : 0; }

void Element::setAttribute(const std::wstring& name, const std::wstring& value) const {
    if (!impl)
        return;
    const auto utf8Name = toUtf8(name);
    requireName(utf8Name);
    auto attribute = impl->node.attribute(utf8Name.c_str());
    if (!attribute)
        attribute = impl->node.append_attribute(utf8Name.c_str());
    if (!attribute || !attribute.set_value(toUtf8(value).c_str()))
        throw DomError("cannot set attribute \"" + utf8Name + "\"");
}

Document Document::create(const std::wstring& rootName) {
    const auto utf8Name = toUtf8(rootName);
    requireName(utf8Name);
    auto impl = std::make_shared<DocumentImpl>();
    auto declaration = impl->dom.append_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value("1.0");
    declaration.append_attribute("encoding").set_value("UTF-8");
    if (!impl->dom.append_child(utf8Name.c_str()))
        throw DomError("cannot create the document element");
    Document document;
    DocumentAccess::impl(document) = impl;
    return document;
}

bool load(Document& document, const std::wstring& path, bool /*asynchronous*/) {
    std::string bytes;
    std::string utf8;
    XmlEncoding encoding;
    if (!platform::readFile(path, bytes) || !decodeXml(bytes, encoding, utf8)) {
        DocumentAccess::impl(document).reset();
        return false;
    }
    return parseInto(document, utf8, encoding);
}

// Text given as text has no encoding of its own; the document is written as UTF-8.
bool loadXml(Document& document, const std::wstring& text) { return parseInto(document, toUtf8(text), {}); }

bool getRootElement(Element& element, const Document& document) {
    const auto& impl = DocumentAccess::impl(document);
    element = impl ? NodeAccess::makeElement(impl, impl->dom.document_element()) : Element();
    return static_cast<bool>(element);
}

bool checkNodeName(const Node& node, const std::wstring& name) {
    return node.isElement() && std::strcmp(domNode(node).name(), toUtf8(name).c_str()) == 0;
}

bool readAttributeText(std::wstring& value, const Element& element, const std::wstring& name) {
    const auto attribute = domNode(element).attribute(toUtf8(name).c_str());
    if (!attribute)
        return false;
    value = fromUtf8(attribute.value());
    return true;
}

bool readAttributeBool(bool& value, const Element& element, const std::wstring& name) {
    std::wstring text;
    if (!readAttributeText(text, element, name))
        return false;
    if (equalsIgnoringCase(text, L"true") || text == L"1")
        value = true;
    else if (equalsIgnoringCase(text, L"false") || text == L"0")
        value = false;
    else
        return false;
    return true;
}

bool readText(std::wstring& text, const Node& node) {
    const auto* impl = NodeAccess::impl(node);
    if (!impl)
        return false;
    if (impl->attribute) {
        text = fromUtf8(impl->attribute.value());
        return true;
    }
    const auto scope = impl->node;
    if (scope.type() != pugi::node_element && scope.type() != pugi::node_document) {
        text = fromUtf8(scope.value());
        return true;
    }
    std::string content;
    for (auto at = scope.first_child(); at; at = nextInSubtree(at, scope)) {
        if (at.type() == pugi::node_pcdata || at.type() == pugi::node_cdata)
            content += at.value();
    }
    text = fromUtf8(content);
    return true;
}

bool selectSingleNode(Node& node, const Node& context, const std::wstring& expression) {
    const auto* impl = NodeAccess::impl(context);
    node = Node();
    if (!impl || expression.empty())
        return false;
    const pugi::xpath_node start = impl->attribute ? pugi::xpath_node(impl->attribute, impl->node)
                                                   : pugi::xpath_node(impl->node);
    try {
        const pugi::xpath_query query(toUtf8(expression).c_str());
        const auto first = query.evaluate_node_set(start).first();
        node = first.attribute() ? NodeAccess::make(impl->document, first.parent(), first.attribute())
                                 : NodeAccess::make(impl->document, first.node());
    } catch (const std::exception&) {
        return false; // a malformed expression, or one that gives no node set
    }
    return static_cast<bool>(node);
}

bool enableXPath(Document& document) { return static_cast<bool>(document); }

bool save(const Document& document, const std::wstring& path) {
    const auto& impl = DocumentAccess::impl(document);
    std::string bytes;
    return impl && encodeXml(impl->print(impl->dom), impl->encoding, bytes) &&
           platform::writeFileReplacing(path, bytes);
}

} // namespace tern::utility::xml
