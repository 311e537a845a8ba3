// The XML functions over pugixml. Text crosses the boundary as UTF-8, the
// encoding pugixml is used in here; files are decoded and encoded around it
// (components/utility/xml_encoding.h, text_codec.h).

#include "components/utility/xml.h"

#include "components/utility/dom_backend.h"
#include "components/utility/entity_references.h"
#include "components/utility/posix/document_impl.h"
#include "components/utility/posix/text_codec.h"
#include "components/utility/xml_names.h"
#include "platform/file_system.h"
#include "platform/text.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <string_view>
#include <utility>

namespace tern::utility::xml {
namespace {

using platform::fromUtf8;
using platform::toUtf8;

// Puts a name or value of the DOM into `text` as wide text, in the room
// the string has. Nearly all are ASCII, which is widened as it stands; the
// rest are decoded.
void assignWide(std::wstring& text, const char* utf8) {
    const char* end = utf8;
    while (static_cast<unsigned char>(*end) - 1u < 0x7Fu) // 1 to 0x7F
        ++end;
    if (*end != '\0') {
        text = fromUtf8(utf8);
        return;
    }
    // A text with room for it is overwritten in place; any other is made
    // at its length in one go, which spares the zeroing and the regrowth
    // machinery that resizing goes through.
    const auto length = static_cast<std::size_t>(end - utf8);
    if (length > text.capacity()) {
        text = std::wstring(utf8, end);
        return;
    }
    text.resize(length);
    std::copy(utf8, end, text.begin());
}

std::wstring wide(const char* utf8) {
    std::wstring text;
    assignWide(text, utf8);
    return text;
}

// `node` when it is an element, else the first element among the siblings
// after it; null when there is none.
pugi::xml_node elementFrom(pugi::xml_node node) {
    for (;; node = node.next_sibling()) {
        const pugi::xml_node_type type = node.type();
        if (type == pugi::node_element || type == pugi::node_null)
            return node;
    }
}

// Whether a name of the DOM that is not all ASCII reads as `name`.
[[gnu::noinline]] bool sameDecodedName(const char* utf8, std::wstring_view name) { return fromUtf8(utf8) == name; }

// Whether a name of the DOM reads as `name`. Compared without converting,
// byte for character while they agree and are ASCII, as names almost
// always are: one test of the byte stops at the DOM's end and at any byte
// past ASCII, and only a name that is not ASCII is decoded, out of line.
bool sameName(const char* utf8, std::wstring_view name) {
    for (std::size_t at = 0; at < name.size(); ++at) {
        const auto c = static_cast<unsigned char>(utf8[at]);
        if (static_cast<wchar_t>(c) != name[at] || c - 1u >= 0x7Fu)
            return (c >= 0x80 || static_cast<std::uint32_t>(name[at]) >= 0x80) && sameDecodedName(utf8, name);
    }
    return utf8[name.size()] == '\0';
}

// The field naming the attribute; null when none does. The first
// characters are compared before the names are measured: most names are
// told apart by them.
AttributeField* fieldNamed(const char* utf8, AttributeField* fields, std::size_t count) {
    const auto first = static_cast<unsigned char>(utf8[0]);
    for (AttributeField* field = fields; field != fields + count; ++field)
        if (!field->name.empty() && (first >= 0x80 || static_cast<wchar_t>(first) == field->name[0]) &&
            sameName(utf8, field->name))
            return field;
    return nullptr;
}

// Hands what pugixml prints on to a file.
class FileTextWriter : public pugi::xml_writer {
public:
    explicit FileTextWriter(platform::FileWriter& file) : file(file) {}
    void write(const void* data, std::size_t size) override {
        file.write(std::string_view(static_cast<const char*>(data), size));
    }

private:
    platform::FileWriter& file;
};

pugi::xml_node domNode(const Node& node) {
    return NodeAccess::isAttribute(node) ? pugi::xml_node() : NodeAccess::domNode(node);
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

// A bare element name ("Release2": letters, digits and underscores, not
// starting with a digit) or "." selects nodes whatever it names. Settings
// edits are mostly written so, and telling them apart from other
// expressions spares the XPath compiler, which sets up memory of its own for
// every query.
bool isNameStepOrSelf(const std::wstring& expression) {
    if (expression == L".")
        return true;
    const auto isNameStart = [](wchar_t c) {
        return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'_';
    };
    if (expression.empty() || !isNameStart(expression[0]))
        return false;
    for (const wchar_t c : expression)
        if (!isNameStart(c) && !(c >= L'0' && c <= L'9'))
            return false;
    return true;
}

} // namespace

// The handles hold pugixml's pointers, which copy as they are; a handle
// moved from is left empty.
Node::Node(const Node& other) = default;

Node::Node(Node&& other) noexcept
    : document(std::move(other.document)), node(std::exchange(other.node, nullptr)),
      attribute(std::exchange(other.attribute, nullptr)) {}

Node& Node::operator=(const Node& other) = default;

Node& Node::operator=(Node&& other) noexcept {
    document = std::move(other.document);
    node = std::exchange(other.node, nullptr);
    attribute = std::exchange(other.attribute, nullptr);
    return *this;
}

Node::~Node() = default;

bool Node::isElement() const { return domNode(*this).type() == pugi::node_element; }

std::wstring Node::name() const { return isElement() ? wide(NodeAccess::domNode(*this).name()) : std::wstring(); }

// The element shares this handle's node rather than making another.
Element Node::asElement() const {
    Element element;
    if (isElement())
        static_cast<Node&>(element) = *this;
    return element;
}

bool checkNodeName(const Node& node, std::wstring_view name) {
    const auto element = domNode(node);
    return element.type() == pugi::node_element && sameName(element.name(), name);
}

Node Node::firstChild() const { return NodeAccess::make(document, domNode(*this).first_child()); }

Node Node::nextSibling() const { return NodeAccess::make(document, domNode(*this).next_sibling()); }

Element Node::firstChildElement() const {
    return NodeAccess::makeElement(document, elementFrom(domNode(*this).first_child()));
}

Element Node::nextSiblingElement() const {
    return NodeAccess::makeElement(document, elementFrom(domNode(*this).next_sibling()));
}

std::wstring Node::outerXml() const {
    const auto impl = NodeAccess::impl(*this);
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

void Node::removeChild(const Node& child) const {
    if (!document || !document->removeChild(domNode(*this), domNode(child)))
        throw DomError("removeChild needs a child of the node");
}

Element Node::appendElement(const std::wstring& name) const {
    auto parent = domNode(*this);
    if (!parent)
        throw DomError("appendElement needs a node to append to");
    requireName(name);
    const auto utf8Name = toUtf8(name);
    requireDocumentLevelChild(parent, pugi::node_element);
    const auto element = parent.append_child(utf8Name.c_str());
    if (!element)
        throw DomError("the node cannot take an element");
    return NodeAccess::makeElement(document, element);
}

void Node::appendText(const std::wstring& text) const {
    auto parent = domNode(*this);
    if (parent.type() != pugi::node_element)
        throw DomError("only an element takes text");
    if (!text.empty() && !parent.append_child(pugi::node_pcdata).set_value(toUtf8(text).c_str()))
        throw DomError("the element cannot take text");
}

int Node::line() const { return node ? document->lineOf(NodeAccess::domNode(*this)) : 0; }

void Element::setAttribute(const std::wstring& name, const std::wstring& value) const {
    if (!node)
        return;
    requireName(name);
    const auto utf8Name = toUtf8(name);
    auto element = NodeAccess::domNode(*this);
    auto attribute = element.attribute(utf8Name.c_str());
    if (!attribute)
        attribute = element.append_attribute(utf8Name.c_str());
    if (!attribute || !attribute.set_value(toUtf8(value).c_str()))
        throw DomError("cannot set attribute \"" + utf8Name + "\"");
}

std::vector<std::wstring> Element::attributeNames() const {
    std::vector<std::wstring> names;
    for (const auto attribute : domNode(*this).attributes())
        names.push_back(wide(attribute.name()));
    return names;
}

Document Document::create(const std::wstring& rootName) {
    requireName(rootName);
    const auto utf8Name = toUtf8(rootName);
    auto impl = std::make_shared<DocumentImpl>();
    auto declaration = impl->dom.append_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value("1.0");
    declaration.append_attribute("encoding").set_value("UTF-8");
    impl->dom.append_child(pugi::node_pcdata).set_value("\n");
    if (!impl->dom.append_child(utf8Name.c_str()))
        throw DomError("cannot create the document element");
    impl->dom.append_child(pugi::node_pcdata).set_value("\n");
    Document document;
    DocumentAccess::impl(document) = impl;
    return document;
}

// A file's UTF-8 bytes are its text once checked: they become the text, and
// then the document's, without a copy.
std::shared_ptr<DocumentImpl> parseFile(std::string bytes, LoadFor purpose, std::wstring& problem,
                                        ParseFailure& failure) {
    XmlEncoding encoding;
    std::string utf8;
    const auto decode = [&bytes](std::string_view body, const std::string& name, std::string& text) {
        return decodeOwnedText(bytes, body, name, text);
    };
    if (!decodeXml(std::string_view(bytes), decode, encodeText, encoding, utf8, problem))
        return nullptr;
    problem = findEntityProblem(utf8);
    return problem.empty() ? DocumentImpl::parse(std::move(utf8), encoding, &failure, purpose) : nullptr;
}

// Text given as text has no encoding of its own; the document is written as UTF-8.
std::shared_ptr<DocumentImpl> parseText(const std::wstring& text) {
    std::string utf8 = toUtf8(text);
    return findEntityProblem(utf8).empty() ? DocumentImpl::parse(std::move(utf8), {}) : nullptr;
}

bool printFile(DocumentImpl& document, platform::FileWriter& writer) {
    if (document.readOnly)
        return false;
    // Printed UTF-8 is already the bytes of a UTF-8 file: it goes to the file as it is printed.
    if (document.encoding.name == "utf-8" && document.encoding.byteOrderMark.empty()) {
        FileTextWriter text(writer);
        document.printDocument(text);
        return !writer.failure();
    }
    std::string bytes;
    return encodeXml(document.print(document.dom), encodeText, document.encoding, bytes) && writer.write(bytes);
}

bool getRootElement(Element& element, const Document& document) {
    const auto& impl = DocumentAccess::impl(document);
    element = impl ? NodeAccess::makeElement(impl, impl->dom.document_element()) : Element();
    return static_cast<bool>(element);
}

void readAttributes(const Element& element, AttributeField* fields, std::size_t count,
                    std::vector<std::wstring>* others) {
    // Walked from attribute to attribute: each step of pugixml's range is a
    // call of its own, and this runs for every attribute of a definition.
    // A parsed attribute always has a name: the empty name of the null
    // handle after the last one ends the walk without a test of its own.
    for (auto attribute = domNode(element).first_attribute();; attribute = attribute.next_attribute()) {
        const char* name = attribute.name();
        if (*name == '\0')
            break;
        if (AttributeField* field = fieldNamed(name, fields, count)) {
            if (field->text)
                assignWide(*field->text, attribute.value());
            field->found = true;
        } else if (others) {
            others->push_back(wide(name));
        }
    }
}

// One field, read as readAttributes reads any.
bool readAttributeText(std::wstring& value, const Element& element, std::wstring_view name) {
    AttributeField field{name, &value};
    readAttributes(element, &field, 1);
    return field.found;
}

bool readText(std::wstring& text, const Node& node) {
    const auto impl = NodeAccess::impl(node);
    if (!impl)
        return false;
    if (impl->attribute) {
        text = wide(impl->attribute.value());
        return true;
    }
    const auto scope = impl->node;
    if (scope.type() != pugi::node_element && scope.type() != pugi::node_document) {
        text = wide(scope.value());
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
    const auto impl = NodeAccess::impl(context);
    Node selected; // given to `node` last: it may be the context itself
    if (impl && !expression.empty()) {
        const pugi::xpath_node start =
            impl->attribute ? pugi::xpath_node(impl->attribute, impl->node) : pugi::xpath_node(impl->node);
        try {
            const pugi::xpath_query query(toUtf8(expression).c_str());
            const auto first = query.evaluate_node_set(start).first();
            selected = first.attribute() ? NodeAccess::make(impl->document, first.parent(), first.attribute())
                                         : NodeAccess::make(impl->document, first.node());
        } catch (const std::exception&) {
            // a malformed expression, or one that gives no node set: nothing selected
        }
    }
    node = std::move(selected);
    return static_cast<bool>(node);
}

bool compilesToNodeSet(const std::wstring& expression) {
    if (expression.empty())
        return false;
    if (isNameStepOrSelf(expression))
        return true;
    try {
        return pugi::xpath_query(toUtf8(expression).c_str()).return_type() == pugi::xpath_type_node_set;
    } catch (const pugi::xpath_exception&) {
        return false; // a malformed expression
    }
}

bool enableXPath(Document& document) { return static_cast<bool>(document); }

} // namespace tern::utility::xml
