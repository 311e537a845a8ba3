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

namespace tern::utility::xml {
namespace {

using com::check;

bool hasElementChild(const DomNode& node) {
    for (DomNode child = firstChildOf(node); child; child = nextSiblingOf(child)) {
        if (typeOf(child) == NODE_ELEMENT)
            return true;
    }
    return false;
}

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
    const auto* impl = NodeAccess::impl(node);
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

} // namespace

bool Node::isElement() const { return impl && typeOf(impl->node) == NODE_ELEMENT; }

std::wstring Node::name() const { return isElement() ? nameOf(impl->node) : std::wstring(); }

Element Node::asElement() const { return impl ? NodeAccess::makeElement(impl->document, impl->node) : Element(); }

bool checkNodeName(const Node& node, const std::wstring& name) { return node.isElement() && node.name() == name; }

Node Node::firstChild() const { return impl ? NodeAccess::make(impl->document, firstChildOf(impl->node)) : Node(); }

Node Node::nextSibling() const {
    return impl ? NodeAccess::make(impl->document, nextSiblingOf(impl->node)) : Node();
}

std::wstring Node::outerXml() const { return impl ? impl->document->print(impl->node) : std::wstring(); }

void Node::appendChild(const Node& child) const {
    if (!impl || !child.impl)
        throw DomError("appendChild needs a node to append to and a node to append");
    requireChildAllowed(impl->node, typeOf(child.impl->node));
    // A copy: the source stays where it is, in its own document or in this one.
    DomNode copy;
    check(child.impl->node->cloneNode(VARIANT_TRUE, copy.out()), "IXMLDOMNode::cloneNode");
    DomNode added;
    check(impl->node->appendChild(copy.get(), added.out()), "IXMLDOMNode::appendChild");
}

void Node::removeChild(const Node& child) const {
    if (!impl || !child.impl)
        throw DomError("removeChild needs a child of the node");
    impl->document->removeChild(impl->node, child.impl->node);
}

Element Node::appendElement(const std::wstring& name) const {
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
    if (!impl || typeOf(impl->node) != NODE_ELEMENT)
        throw DomError("only an element takes text");
    if (text.empty())
        return;
    com::Ptr<IXMLDOMText> node;
    check(impl->document->dom->createTextNode(com::Bstr(text).get(), node.out()), "IXMLDOMDocument::createTextNode");
    DomNode added;
    check(impl->node->appendChild(node.get(), added.out()), "IXMLDOMNode::appendChild");
}

int Node::line() const { return impl ? impl->document->lineOf(impl->node) : 0; }

void Element::setAttribute(const std::wstring& name, const std::wstring& value) const {
    if (!impl)
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
    if (!impl)
        return names;
    com::Ptr<IXMLDOMNamedNodeMap> attributes;
    check(impl->node->get_attributes(attributes.out()), "IXMLDOMNode::get_attributes");
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

bool readAttributeText(std::wstring& value, const Element& element, const std::wstring& name) {
    const auto domElement = elementOf(element);
    if (!domElement)
        return false;
    com::Variant found;
    check(domElement->getAttribute(com::Bstr(name).get(), found.out()), "IXMLDOMElement::getAttribute");
    if (!found.isString())
        return false;
    value = found.text();
    return true;
}

bool readText(std::wstring& text, const Node& node) {
    const auto* impl = NodeAccess::impl(node);
    if (!impl)
        return false;
    const DOMNodeType type = typeOf(impl->node);
    text = type == NODE_ELEMENT || type == NODE_DOCUMENT ? descendantText(impl->node) : valueOf(impl->node);
    return true;
}

bool selectSingleNode(Node& node, const Node& context, const std::wstring& expression) {
    const auto* impl = NodeAccess::impl(context);
    node = Node();
    if (!impl || expression.empty())
        return false;
    DomNode selected;
    // MSXML refuses a malformed expression, or one that selects no nodes,
    // with a failing HRESULT: for the callers that is nothing selected.
    if (FAILED(impl->node->selectSingleNode(com::Bstr(expression).get(), selected.out())))
        return false;
    node = NodeAccess::make(impl->document, selected);
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
