// What the XML handles hold in this backend: an MSXML document with the
// layout of the text it was read from (source_layout.h) and the encoding to
// write it back in, and nodes that keep their document alive.
//
// Documents are parsed with whitespace kept; the declaration is not handed
// to MSXML (the layout holds it, and the text MSXML parses is UTF-16
// whatever the file's declaration says). Printing is done here rather than
// by MSXML, whose own output re-indents, re-quotes and re-ends lines:
// an unedited document prints as the text it was parsed from, and what is
// printed follows the same rules on every platform.

#pragma once

#include "components/utility/win32/com_support.h"
#include "components/utility/win32/source_layout.h"
#include "components/utility/dom_backend.h"
#include "components/utility/xml_encoding.h"
#include "components/utility/xml.h"

#include <msxml2.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tern::utility::xml {

using DomNode = com::Ptr<IXMLDOMNode>;

struct DocumentImpl {
    com::Ptr<IXMLDOMDocument2> dom;
    SourceLayout layout;
    XmlEncoding encoding;
    bool readOnly = false; // loaded for reading, and so never written back

    // A new document with no content, set up as every document here is.
    static std::shared_ptr<DocumentImpl> create();
    // Parses the text of a whole document, to be written in `encoding`; null
    // when it is not one well-formed document, and then `failure`, when
    // given, says what MSXML says of why and where.
    static std::shared_ptr<DocumentImpl> parse(const std::wstring& text, const XmlEncoding& encoding,
                                               ParseFailure* failure = nullptr);

    // The node, or the whole document for the document node, as text.
    std::wstring print(const DomNode& node) const;
    // The 1-based line of the text that an element, or an attribute's
    // element, was read from; 0 for other nodes and for appended ones.
    int lineOf(const DomNode& node) const;
    // Removes the child of an element, keeping the layout's positions in
    // step. Raises DomError when MSXML fails or the parent is no element.
    void removeChild(const DomNode& parent, const DomNode& child);

private:
    // The element-child positions from the document element down to the
    // element (empty for the document element); false when it is not in
    // the document.
    bool pathOf(const DomNode& element, std::vector<std::size_t>& path) const;
    // The element of the text that the DOM element stands for; null for an
    // element appended since, or when the layout has no elements.
    const SourceLayout::Element* sourceOf(const DomNode& element) const;
};

// What a handle refers to: a view into the handle, valid while the handle is.
struct NodeImpl {
    const std::shared_ptr<DocumentImpl>& document;
    DomNode node;
};

// How the backend reaches into the handles, which hold one reference to
// their COM node.
struct NodeAccess {
    // Empty for an empty handle.
    static std::optional<NodeImpl> impl(const Node& handle) {
        if (!handle.node)
            return std::nullopt;
        return NodeImpl{handle.document, domNode(handle)};
    }
    // The handle's node, with a reference of its own; empty for an empty handle.
    static DomNode domNode(const Node& handle);
    // A handle for the node; empty when the node is null.
    static Node make(const std::shared_ptr<DocumentImpl>& document, const DomNode& node);
    // An element handle; empty unless the node is an element.
    static Element makeElement(const std::shared_ptr<DocumentImpl>& document, const DomNode& node);
};

// Small DOM queries that raise DomError when MSXML fails.
DOMNodeType typeOf(const DomNode& node);
std::wstring nameOf(const DomNode& node);
std::wstring valueOf(const DomNode& node);
DomNode firstChildOf(const DomNode& node);
DomNode nextSiblingOf(const DomNode& node);
DomNode parentOf(const DomNode& node);

} // namespace tern::utility::xml
