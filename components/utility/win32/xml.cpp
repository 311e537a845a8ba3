// The XML functions over MSXML, through COM. The caller has opened a COM
// apartment on the thread (platform/com_apartment.h). Files are decoded and
// encoded around MSXML (components/utility/xml_encoding.h, text_codec.h),
// which parses UTF-16 text.

#include "components/utility/xml.h"

#include "components/utility/dom_backend.h"
#include "components/utility/entity_references.h"
#include "components/utility/win32/document_impl.h"
#include "components/utility/win32/msxml_ids.h"
#include "components/utility/win32/text_codec.h"
#include "components/utility/xml_names.h"
#include "platform/file_system.h"

#include <algorithm>
#include <utility>

namespace tern::utility::xml {
namespace {

using com::check;

// `node` when it is an element, else the first element among the siblings
// after it; empty when there is none.
DomNode elementFrom(DomNode node) {
    while (node && typeOf(node) != NODE_ELEMENT)
        node = nextSiblingOf(node);
    return node;
}

bool hasElementChild(const DomNode& node) { return static_cast<bool>(elementFrom(firstChildOf(node))); }

// Only elements and the document take children, and the document level
// takes one element, comments and processing instructions: anything else
// would not read back as a document. MSXML 3 itself lets some of it pass.
void requireChildAllowed(const DomNode& parent, DOMNodeType child) {
    const DOMNodeType type = typeOf(parent);
    bool allowed = false;
    if (type == NODE_ELEMENT)
        allowed = child == NODE_ELEMENT || child == NODE_TEXT || child == NODE_CDATA_SECTION ||
                  child == NODE_COMMENT || child == NODE_PROCESSING_INSTRUCTION || child == NODE_ENTITY_REFERENCE;
    else if (type == NODE_DOCUMENT)
        allowed = child == NODE_COMMENT || child == NODE_PROCESSING_INSTRUCTION ||
                  (child == NODE_ELEMENT && !hasElementChild(parent));
    if (!allowed)
        throw DomError("the node cannot take this child");
}

com::Ptr<IXMLDOMElement> elementOf(const Node& node) {
    const auto impl = NodeAccess::impl(node);
    return impl ? impl->node.as<IXMLDOMElement>(com::idElement) : com::Ptr<IXMLDOMElement>();
}

// The text and CDATA below a node, in document order. The walk counts
// levels rather than comparing nodes: MSXML may hand out a new object for
// the same node on every call.
std::wstring descendantText(const DomNode& top) {
    std::wstring text;
    DomNode node = firstChildOf(top);
    int depth = 1; // of `node` below `top`
    while (node) {
        const DOMNodeType type = typeOf(node);
        if (type == NODE_TEXT || type == NODE_CDATA_SECTION)
            text += valueOf(node);
        DomNode next = type == NODE_ELEMENT || type == NODE_ENTITY_REFERENCE ? firstChildOf(node) : DomNode();
        if (next) {
            ++depth;
        } else {
            for (DomNode at = node; !(next = nextSiblingOf(at)) && --depth > 0;)
                at = parentOf(at);
        }
        node = next;
    }
    return text;
}

IXMLDOMNode* counted(void* node) {
    if (node)
        static_cast<IXMLDOMNode*>(node)->AddRef();
    return static_cast<IXMLDOMNode*>(node);
}

} // namespace

// Each handle holds one reference to its COM node.
Node::Node(const Node& other) : document(other.document), node(counted(other.node)) {}

Node::Node(Node&& other) noexcept : document(std::move(other.document)), node(std::exchange(other.node, nullptr)) {}

Node& Node::operator=(const Node& other) { return *this = Node(other); }

// The node this handle held goes with `other`, which releases it.
Node& Node::operator=(Node&& other) noexcept {
    std::swap(document, other.document);
    std::swap(node, other.node);
    return *this;
}

Node::~Node() {
    if (node)
        static_cast<IXMLDOMNode*>(node)->Release();
}

bool Node::isElement() const { return node && typeOf(NodeAccess::domNode(*this)) == NODE_ELEMENT; }

std::wstring Node::name() const { return isElement() ? nameOf(NodeAccess::domNode(*this)) : std::wstring(); }

Element Node::asElement() const { return NodeAccess::makeElement(document, NodeAccess::domNode(*this)); }

bool checkNodeName(const Node& node, std::wstring_view name) { return node.isElement() && node.name() == name; }

Node Node::firstChild() const { return node ? NodeAccess::make(document, firstChildOf(NodeAccess::domNode(*this))) : Node(); }

Node Node::nextSibling() const {
    return node ? NodeAccess::make(document, nextSiblingOf(NodeAccess::domNode(*this))) : Node();
}

Element Node::firstChildElement() const {
    return node ? NodeAccess::makeElement(document, elementFrom(firstChildOf(NodeAccess::domNode(*this)))) : Element();
}

Element Node::nextSiblingElement() const {
    return node ? NodeAccess::makeElement(document, elementFrom(nextSiblingOf(NodeAccess::domNode(*this)))) : Element();
}

std::wstring Node::outerXml() const { return node ? document->print(NodeAccess::domNode(*this)) : std::wstring(); }

void Node::appendChild(const Node& child) const {
    const auto impl = NodeAccess::impl(*this);
    const auto childImpl = NodeAccess::impl(child);
    if (!impl || !childImpl)
        throw DomError("appendChild needs a node to append to and a node to append");
    requireChildAllowed(impl->node, typeOf(childImpl->node));
    // A copy: the source stays where it is, in its own document or in this one.
    DomNode copy;
    check(childImpl->node->cloneNode(VARIANT_TRUE, copy.out()), "IXMLDOMNode::cloneNode");
    DomNode added;
    check(impl->node->appendChild(copy.get(), added.out()), "IXMLDOMNode::appendChild");
}

void Node::removeChild(const Node& child) const {
    const auto impl = NodeAccess::impl(*this);
    const auto childImpl = NodeAccess::impl(child);
    if (!impl || !childImpl)
        throw DomError("removeChild needs a child of the node");
    impl->document->removeChild(impl->node, childImpl->node);
}

Element Node::appendElement(const std::wstring& name) const {
    const auto impl = NodeAccess::impl(*this);
    if (!impl)
        throw DomError("appendElement needs a node to append to");
    requireName(name);
    requireChildAllowed(impl->node, NODE_ELEMENT);
    com::Ptr<IXMLDOMElement> element;
    check(impl->document->dom->createElement(com::Bstr(name).get(), element.out()), "IXMLDOMDocument::createElement");
    DomNode added;
    check(impl->node->appendChild(element.get(), added.out()), "IXMLDOMNode::appendChild");
    return NodeAccess::makeElement(impl->document, added);
}

void Node::appendText(const std::wstring& text) const {
    const auto impl = NodeAccess::impl(*this);
    if (!impl || typeOf(impl->node) != NODE_ELEMENT)
        throw DomError("only an element takes text");
    if (text.empty())
        return;
    com::Ptr<IXMLDOMText> textNode;
    check(impl->document->dom->createTextNode(com::Bstr(text).get(), textNode.out()),
          "IXMLDOMDocument::createTextNode");
    DomNode added;
    check(impl->node->appendChild(textNode.get(), added.out()), "IXMLDOMNode::appendChild");
}

int Node::line() const { return node ? document->lineOf(NodeAccess::domNode(*this)) : 0; }

void Element::setAttribute(const std::wstring& name, const std::wstring& value) const {
    if (!node)
        return;
    requireName(name);
    const auto element = elementOf(*this);
    if (!element)
        throw DomError("setAttribute on a node that is not an element");
    // An existing attribute takes the value through its own node: for a
    // prefixed name ("x:Color") Wine's setAttribute adds a second attribute
    // of that name beside it rather than changing it.
    com::Ptr<IXMLDOMAttribute> existing;
    check(element->getAttributeNode(com::Bstr(name).get(), existing.out()), "IXMLDOMElement::getAttributeNode");
    if (existing)
        check(existing->put_value(com::Variant(value).get()), "IXMLDOMAttribute::put_value");
    else
        check(element->setAttribute(com::Bstr(name).get(), com::Variant(value).get()), "IXMLDOMElement::setAttribute");
}

std::vector<std::wstring> Element::attributeNames() const {
    std::vector<std::wstring> names;
    if (!node)
        return names;
    com::Ptr<IXMLDOMNamedNodeMap> attributes;
    check(NodeAccess::domNode(*this)->get_attributes(attributes.out()), "IXMLDOMNode::get_attributes");
    long count = 0;
    if (attributes)
        check(attributes->get_length(&count), "IXMLDOMNamedNodeMap::get_length");
    for (long i = 0; i < count; ++i) {
        DomNode attribute;
        check(attributes->get_item(i, attribute.out()), "IXMLDOMNamedNodeMap::get_item");
        names.push_back(nameOf(attribute));
    }
    return names;
}

Document Document::create(const std::wstring& rootName) {
    requireName(rootName);
    auto impl = DocumentImpl::create();
    impl->layout.declaration = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    impl->layout.spaceBefore = {L"\n"};
    impl->layout.trailingSpace = L"\n";
    com::Ptr<IXMLDOMElement> root;
    check(impl->dom->createElement(com::Bstr(rootName).get(), root.out()), "IXMLDOMDocument::createElement");
    DomNode added;
    check(impl->dom->appendChild(root.get(), added.out()), "IXMLDOMDocument::appendChild");
    Document document;
    DocumentAccess::impl(document) = impl;
    return document;
}

std::shared_ptr<DocumentImpl> parseFile(std::string bytes, LoadFor purpose, std::wstring& problem,
                                        ParseFailure& failure) {
    XmlEncoding encoding;
    std::wstring text;
    if (!decodeXml(bytes, decodeText, encodeText, encoding, text, problem))
        return nullptr;
    problem = findEntityProblem(text);
    auto document = problem.empty() ? DocumentImpl::parse(text, encoding, &failure) : nullptr;
    if (document)
        document->readOnly = purpose == LoadFor::reading;
    return document;
}

std::shared_ptr<DocumentImpl> parseText(const std::wstring& text) {
    return findEntityProblem(text).empty() ? DocumentImpl::parse(text, {}) : nullptr;
}

bool printFile(DocumentImpl& document, platform::FileWriter& writer) {
    std::string bytes;
    return !document.readOnly && encodeXml(document.print(document.dom.as<IXMLDOMNode>(IID_IXMLDOMNode)), encodeText, document.encoding,
                     bytes) &&
           writer.write(bytes);
}

bool getRootElement(Element& element, const Document& document) {
    const auto& impl = DocumentAccess::impl(document);
    DomNode root;
    if (impl) {
        com::Ptr<IXMLDOMElement> found;
        check(impl->dom->get_documentElement(found.out()), "IXMLDOMDocument::get_documentElement");
        root = found.as<IXMLDOMNode>(IID_IXMLDOMNode);
    }
    element = NodeAccess::makeElement(impl, root);
    return static_cast<bool>(element);
}

bool readAttributeText(std::wstring& value, const Element& element, std::wstring_view name) {
    const auto domElement = elementOf(element);
    if (!domElement)
        return false;
    com::Variant found;
    check(domElement->getAttribute(com::Bstr(std::wstring(name)).get(), found.out()), "IXMLDOMElement::getAttribute");
    if (!found.isString())
        return false;
    value = found.text();
    return true;
}

// MSXML looks an attribute up by name itself; the names are listed only
// for a reader that asks for the others.
void readAttributes(const Element& element, AttributeField* fields, std::size_t count,
                    std::vector<std::wstring>* others) {
    std::wstring scratch;
    for (AttributeField* field = fields; field != fields + count; ++field)
        if (!field->name.empty() && readAttributeText(field->text ? *field->text : scratch, element, field->name))
            field->found = true;
    if (!others)
        return;
    for (std::wstring& name : element.attributeNames())
        if (std::none_of(fields, fields + count, [&](const AttributeField& field) { return field.name == name; }))
            others->push_back(std::move(name));
}

bool readText(std::wstring& text, const Node& node) {
    const auto impl = NodeAccess::impl(node);
    if (!impl)
        return false;
    const DOMNodeType type = typeOf(impl->node);
    text = type == NODE_ELEMENT || type == NODE_DOCUMENT ? descendantText(impl->node) : valueOf(impl->node);
    return true;
}

bool selectSingleNode(Node& node, const Node& context, const std::wstring& expression) {
    const auto impl = NodeAccess::impl(context);
    Node found; // given to `node` last: it may be the context itself
    DomNode selected;
    // MSXML refuses a malformed expression, or one that selects no nodes,
    // with a failing HRESULT: for the callers that is nothing selected.
    if (impl && !expression.empty() &&
        SUCCEEDED(impl->node->selectSingleNode(com::Bstr(expression).get(), selected.out())))
        found = NodeAccess::make(impl->document, selected);
    node = std::move(found);
    return static_cast<bool>(node);
}

bool compilesToNodeSet(const std::wstring& expression) {
    if (expression.empty())
        return false;
    // MSXML compiles no query on its own: selecting from a scratch document
    // fails for a malformed expression and for one that gives no node set,
    // and gives a list (empty here) for any other.
    const auto scratch = DocumentImpl::create();
    com::Ptr<IXMLDOMNodeList> selected;
    return SUCCEEDED(scratch->dom->selectNodes(com::Bstr(expression).get(), selected.out()));
}

bool enableXPath(Document& document) {
    const auto& impl = DocumentAccess::impl(document);
    if (!impl)
        return false;
    const com::Bstr property(L"SelectionLanguage");
    check(impl->dom->setProperty(property.get(), com::Variant(std::wstring(L"XPath")).get()),
          "IXMLDOMDocument2::setProperty(SelectionLanguage)");
    return true;
}

} // namespace tern::utility::xml
