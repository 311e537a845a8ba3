// What the XML handles hold in this backend: a pugixml document with what it
// takes to write the document back as it was read, and nodes that keep their
// document alive.
//
// Documents are parsed with every node kept (declaration, document type,
// comments, processing instructions, CDATA, whitespace-only text, also the
// whitespace around the document element) and printed raw, so that printing
// an unedited document gives back the text it was parsed from. Two details
// pugixml does not keep are kept here: the declaration's own text (its
// quotes and spacing) and which empty elements were written with an end tag
// ("<a></a>" rather than "<a/>").
//
// The text is parsed where it lies, which overwrites it, and kept by the
// document as the home of the nodes' names and values: what is read from
// the text itself is taken before the parse. Only a text in which telling
// the end-tagged elements apart takes a scan of its tags is parsed from a
// copy.
//
// Every walk over a tree here is iterative: documents nested tens of
// thousands of levels deep are read, printed and destroyed like flat ones.

#pragma once

#include "components/utility/dom_backend.h"
#include "components/utility/xml_encoding.h"
#include "components/utility/xml.h"

#include <pugixml.hpp>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tern::utility::xml {

struct DocumentImpl {
private:
    std::string source; // the text parsed where it lies, which the nodes point into; it outlives them

public:
    pugi::xml_document dom;
    XmlEncoding encoding;
    bool readOnly = false; // loaded for reading: it keeps too little to be written back

    // Parses UTF-8 text into a new document to be written in `encoding`;
    // null when the text is not one well-formed document (one element, with
    // only a declaration, a document type, comments, processing instructions
    // and whitespace around it), and then `failure`, when given, says why
    // and where.
    // For reading alone, whitespace-only text is not kept, nor which empty
    // elements had end tags.
    static std::shared_ptr<DocumentImpl> parse(std::string utf8, const XmlEncoding& encoding,
                                               ParseFailure* failure = nullptr, LoadFor purpose = LoadFor::saving);

    // The node (the whole document for the document node) as UTF-8 text.
    std::string print(pugi::xml_node node);

    // The whole document as UTF-8 text, handed to `writer` as it is printed.
    void printDocument(pugi::xml_writer& writer);

    // The 1-based line of the text the node was parsed from; 0 when the node
    // was not parsed from text.
    int lineOf(pugi::xml_node node) const;

    // Removes the child with its content, forgetting what was kept of the
    // elements inside it; false when it is not a child of `parent` or
    // `parent` is no element.
    bool removeChild(pugi::xml_node parent, pugi::xml_node child);

private:
    pugi::xml_node declaration;         // the declaration as parsed
    std::string declarationText;        // and as it was written
    std::vector<pugi::xml_node> endTagged; // empty elements written as "<a></a>"
    std::vector<std::size_t> lineStarts;   // offsets where the second and later lines begin
    std::size_t sourceSize = 0;            // the length of the text parsed
};

// What a handle refers to: a node or, when XPath selected one, an attribute
// (whose `node` is then its element). A view into the handle, valid while
// the handle is.
struct NodeImpl {
    const std::shared_ptr<DocumentImpl>& document;
    pugi::xml_node node;
    pugi::xml_attribute attribute;
};

// How the backend reaches into the handles, which hold pugixml's own node
// and attribute pointers.
struct NodeAccess {
    // Empty for an empty handle.
    static std::optional<NodeImpl> impl(const Node& handle) {
        if (!handle.node)
            return std::nullopt;
        return NodeImpl{handle.document, domNode(handle), domAttribute(handle)};
    }
    // Tested on the pointer itself: every call into pugixml counts on a walk.
    static bool isAttribute(const Node& handle) { return handle.attribute != nullptr; }
    static pugi::xml_node domNode(const Node& handle) {
        return pugi::xml_node(static_cast<pugi::xml_node_struct*>(handle.node));
    }
    static pugi::xml_attribute domAttribute(const Node& handle) {
        return pugi::xml_attribute(static_cast<pugi::xml_attribute_struct*>(handle.attribute));
    }
    // A handle for the node; empty when the node is null.
    static Node make(const std::shared_ptr<DocumentImpl>& document, pugi::xml_node node,
                     pugi::xml_attribute attribute = {});
    // An element handle; empty unless the node is an element.
    static Element makeElement(const std::shared_ptr<DocumentImpl>& document, pugi::xml_node node);
};

// The node as pugixml prints it raw, as UTF-8 text.
std::string printRaw(pugi::xml_node node);

// The node after `node` in document order within the subtree of `scope`;
// null after the subtree's last node.
pugi::xml_node nextInSubtree(pugi::xml_node node, pugi::xml_node scope);

} // namespace tern::utility::xml
