#include "components/utility/win32/document_impl.h"

#include "components/utility/win32/msxml_ids.h"

#include <algorithm>
#include <vector>

namespace tern::utility::xml {

using com::check;

DOMNodeType typeOf(const DomNode& node) {
    DOMNodeType type = NODE_INVALID;
    check(node->get_nodeType(&type), "IXMLDOMNode::get_nodeType");
    return type;
}

std::wstring nameOf(const DomNode& node) {
    com::Bstr name;
    check(node->get_nodeName(name.out()), "IXMLDOMNode::get_nodeName");
    return name.text();
}

std::wstring valueOf(const DomNode& node) {
    com::Variant value;
    check(node->get_nodeValue(value.out()), "IXMLDOMNode::get_nodeValue");
    return value.text();
}

DomNode firstChildOf(const DomNode& node) {
    DomNode child;
    check(node->get_firstChild(child.out()), "IXMLDOMNode::get_firstChild");
    return child;
}

DomNode nextSiblingOf(const DomNode& node) {
    DomNode sibling;
    check(node->get_nextSibling(sibling.out()), "IXMLDOMNode::get_nextSibling");
    return sibling;
}

DomNode parentOf(const DomNode& node) {
    DomNode parent;
    check(node->get_parentNode(parent.out()), "IXMLDOMNode::get_parentNode");
    return parent;
}

std::shared_ptr<DocumentImpl> DocumentImpl::create() {
    auto document = std::make_shared<DocumentImpl>();
    auto& dom = document->dom;
    check(::CoCreateInstance(com::domDocument30, nullptr, CLSCTX_INPROC_SERVER, com::idDocument2,
                             reinterpret_cast<void**>(dom.out())),
          "CoCreateInstance(DOMDocument30)");
    check(dom->put_async(VARIANT_FALSE), "IXMLDOMDocument::put_async");
    check(dom->put_validateOnParse(VARIANT_FALSE), "IXMLDOMDocument::put_validateOnParse");
    check(dom->put_resolveExternals(VARIANT_FALSE), "IXMLDOMDocument::put_resolveExternals");
    check(dom->put_preserveWhiteSpace(VARIANT_TRUE), "IXMLDOMDocument::put_preserveWhiteSpace");
    // MSXML 3 selects by XSLPattern unless told otherwise; the callers' relative
    // XPath expressions need XPath from the first selection on.
    const com::Bstr property(L"SelectionLanguage");
    check(dom->setProperty(property.get(), com::Variant(std::wstring(L"XPath")).get()),
          "IXMLDOMDocument2::setProperty(SelectionLanguage)");
    return document;
}

namespace {

// MSXML's reason and line for the document's last failed parse; `linesBefore`
// are the lines of the text kept from it (the declaration).
ParseFailure parseFailureOf(IXMLDOMDocument2& dom, int linesBefore) {
    ParseFailure failure;
    com::Ptr<IXMLDOMParseError> error;
    if (FAILED(dom.get_parseError(error.out())) || !error)
        return failure;
    com::Bstr reason;
    if (SUCCEEDED(error->get_reason(reason.out())))
        failure.reason = reason.text();
    // MSXML ends its reasons with a line break.
    while (!failure.reason.empty() && (failure.reason.back() == L'\n' || failure.reason.back() == L'\r'))
        failure.reason.pop_back();
    long line = 0;
    if (SUCCEEDED(error->get_line(&line)) && line > 0)
        failure.line = static_cast<int>(line) + linesBefore;
    return failure;
}

} // namespace

std::shared_ptr<DocumentImpl> DocumentImpl::parse(const std::wstring& text, const XmlEncoding& encoding,
                                                  ParseFailure* failure) {
    auto document = create();
    document->encoding = encoding;
    document->layout = SourceLayout::scan(text);
    const std::wstring& declaration = document->layout.declaration;
    const com::Bstr body(text.substr(declaration.size()));
    VARIANT_BOOL parsed = VARIANT_FALSE;
    check(document->dom->loadXML(body.get(), &parsed), "IXMLDOMDocument::loadXML");
    if (parsed == VARIANT_TRUE)
        return document;
    if (failure) {
        *failure = parseFailureOf(*document->dom.get(),
                                  static_cast<int>(std::count(declaration.begin(), declaration.end(), L'\n')));
        // Some MSXML implementations (Wine's) say neither where nor why.
        if (failure->line == 0)
            if (ParseFailure found = findNotWellFormed(text); found.line > 0)
                *failure = std::move(found);
    }
    return nullptr;
}

bool DocumentImpl::pathOf(const DomNode& element, std::vector<std::size_t>& path) const {
    path.clear(); // element-child positions, from the element up
    DomNode node = element;
    for (;;) {
        const DomNode parent = parentOf(node);
        if (!parent)
            return false; // not in the document
        if (typeOf(parent) == NODE_DOCUMENT)
            break;
        std::size_t position = 0;
        DomNode sibling;
        check(node->get_previousSibling(sibling.out()), "IXMLDOMNode::get_previousSibling");
        while (sibling) {
            if (typeOf(sibling) == NODE_ELEMENT)
                ++position;
            DomNode before;
            check(sibling->get_previousSibling(before.out()), "IXMLDOMNode::get_previousSibling");
            sibling = before;
        }
        path.push_back(position);
        node = parent;
    }
    std::reverse(path.begin(), path.end());
    return true;
}

const SourceLayout::Element* DocumentImpl::sourceOf(const DomNode& element) const {
    std::vector<std::size_t> path;
    return !layout.elements.empty() && pathOf(element, path) ? layout.find(path) : nullptr;
}

void DocumentImpl::removeChild(const DomNode& parent, const DomNode& child) {
    if (typeOf(parent) != NODE_ELEMENT)
        throw DomError("removeChild needs a child of an element");
    std::vector<std::size_t> path;
    const bool element = typeOf(child) == NODE_ELEMENT && pathOf(child, path) && !path.empty();
    DomNode removed;
    check(parent->removeChild(child.get(), removed.out()), "IXMLDOMNode::removeChild");
    // The element children after it move up one position, in the layout as
    // in the DOM.
    if (!element)
        return;
    const std::size_t position = path.back();
    path.pop_back();
    if (SourceLayout::Element* source = layout.find(path); source && position < source->children.size())
        source->children.erase(source->children.begin() + static_cast<std::ptrdiff_t>(position));
}

int DocumentImpl::lineOf(const DomNode& node) const {
    DomNode element = node;
    if (typeOf(node) == NODE_ATTRIBUTE) {
        // The DOM gives an attribute no parent; XPath does.
        const com::Bstr parent(L"..");
        check(node->selectSingleNode(parent.get(), element.out()), "IXMLDOMNode::selectSingleNode");
    }
    if (!element || typeOf(element) != NODE_ELEMENT)
        return 0;
    const auto* source = sourceOf(element);
    return source ? source->line : 0;
}

DomNode NodeAccess::domNode(const Node& handle) {
    DomNode node;
    if (auto* counted = static_cast<IXMLDOMNode*>(handle.node)) {
        counted->AddRef();
        *node.out() = counted;
    }
    return node;
}

Node NodeAccess::make(const std::shared_ptr<DocumentImpl>& document, const DomNode& node) {
    Node handle;
    if (document && node) {
        handle.document = document;
        handle.node = node.get();
        node->AddRef();
    }
    return handle;
}

Element NodeAccess::makeElement(const std::shared_ptr<DocumentImpl>& document, const DomNode& node) {
    Element handle;
    if (document && node && typeOf(node) == NODE_ELEMENT) {
        handle.document = document;
        handle.node = node.get();
        node->AddRef();
    }
    return handle;
}

} // namespace tern::utility::xml
