// The XML functions every file of the library is read and written through.
//
// Ten free functions over small handle types. A handle is a value: copies
// share the same underlying document or node, and a node keeps its document
// alive. A default-constructed handle is empty, tests false, and every query
// on it gives an empty result, so callers need no null checks.
//
// The functions run inside a COM apartment that the caller opened on the
// calling thread (platform/com_apartment.h) and keeps open while it holds
// any handle of the document. A DOM call that fails raises DomError, the one
// exception type of this layer; the library's loaders catch it and fail.
//
// Documents keep what the file had: the declaration and its encoding, a
// byte-order mark, comments, processing instructions and the whitespace
// between elements are written back as they were read, so an edited file
// differs from its original only where it was edited. Files are read and
// written in the encoding they declare (UTF-8, UTF-16 with its byte-order
// mark, Shift_JIS); a file whose encoding cannot be read fails to load rather
// than being misread. So does a file that a save could not write back as it
// was read: one in an encoding whose written text would not read again
// (UTF-7, xml_encoding.h), or one that declares entities or refers to them
// (entity_references.h). What the DOM does not keep is written in one way:
// attributes in double quotes, with no spaces around "=" or before "/>",
// and character references and optional escapes as the DOM escapes text.

#pragma once

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tern::utility::xml {

// What a failing DOM call raises.
class DomError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct DocumentImpl;
class Element;

class Node {
public:
    Node() = default;
    Node(const Node& other);
    Node(Node&& other) noexcept;
    Node& operator=(const Node& other);
    Node& operator=(Node&& other) noexcept;
    ~Node();
    explicit operator bool() const { return node != nullptr; }

    bool isElement() const;
    // The element's name; empty for nodes that are not elements.
    std::wstring name() const;
    // The element itself when this node is one, else an empty element.
    Element asElement() const;

    Node firstChild() const;
    Node nextSibling() const;
    // The first child that is an element, and the next sibling that is one;
    // empty when none is. A reader walking an element's elements steps from
    // one to the next without a handle for each node between.
    Element firstChildElement() const;
    Element nextSiblingElement() const;

    // The node with its whole content as the DOM serialises it (start tag
    // with its attributes, content, end tag).
    std::wstring outerXml() const;

    // Appends a copy of child and its content, which may come from another
    // document, as this node's new last child. Raises DomError on failure.
    void appendChild(const Node& child) const;

    // Removes the child, a node directly below this element, with its
    // content, and gives back what the document held for them: a reader done
    // with part of a large document need not keep it. The rest keeps its
    // lines and is saved as it was. Handles to the child or to anything
    // inside it must not be used afterwards. Raises DomError when the node
    // is not a child of this one or this is not an element.
    void removeChild(const Node& child) const;

    // Appends a new element of that name as the last child and returns it.
    // Raises DomError when the name is not an XML name or the node cannot
    // take an element.
    Element appendElement(const std::wstring& name) const;

    // Appends a text node holding `text` as the last child: an element's
    // text, or the line breaks and indentation that lay out a document
    // being written. Empty text appends nothing. Raises DomError when the
    // node is not an element (the document level takes no text).
    void appendText(const std::wstring& text) const;

    // The 1-based line of the node in the text it was read from; 0 when unknown.
    int line() const;

protected:
    friend struct NodeAccess;
    // The document, which the handle keeps alive, and the backend's own
    // references to the node and, in a backend that keeps them apart, to an
    // attribute that XPath selected. A handle is walked from node to node
    // without an allocation; copying the references is the backend's
    // business.
    std::shared_ptr<DocumentImpl> document;
    void* node = nullptr;
    void* attribute = nullptr;
};

class Element : public Node {
public:
    Element() = default;
    // Sets (or adds, after the existing ones) an attribute. Raises DomError
    // when the name is not an XML name.
    void setAttribute(const std::wstring& name, const std::wstring& value) const;
    // The names of the element's attributes, in the order the element holds
    // them; empty for an empty handle. Raises DomError when the DOM fails.
    std::vector<std::wstring> attributeNames() const;
};

class Document {
public:
    Document() = default;
    explicit operator bool() const { return impl != nullptr; }

    // A new document with a UTF-8 declaration and an empty root element,
    // each on a line of its own, each line ended by "\n". Raises DomError
    // when the name is not an XML name.
    static Document create(const std::wstring& rootName);

private:
    friend struct DocumentAccess;
    std::shared_ptr<DocumentImpl> impl;
};

// Parses the file into a new document. `flag` is the application's
// asynchronous-load switch; every caller passes false. On failure the
// document is released (left empty), the result is false and `why`, when
// given, says why in a phrase ("it is not well-formed XML: Start-end tags
// mismatch", "it cannot be read: not a regular file (...)"), with the
// parser's own reason when it gives one; `line`, when given, is the 1-based
// line where the parser found the text not well-formed, 0 when it does not
// say. Both are emptied (0) on success. Only regular files of up to
// platform::maxReadSize bytes are read.
bool load(Document& document, const std::wstring& path, bool flag, std::wstring* why = nullptr, int* line = nullptr);

// As load, for a document that is only read: the whitespace that does no
// more than lay the elements out may be left out (pugixml leaves it, MSXML
// keeps it), which makes a large file quicker to read and smaller in
// memory. Saving such a document fails.
bool loadForReading(Document& document, const std::wstring& path, std::wstring* why = nullptr, int* line = nullptr);

// Parses XML text into a new document, which is saved as UTF-8. On failure
// (also for entities, as load has it) the document is left empty and the
// result is false.
bool loadXml(Document& document, const std::wstring& text);

// The document element; false for an empty document.
bool getRootElement(Element& element, const Document& document);

// Whether the node is an element of exactly that name (case-sensitive).
bool checkNodeName(const Node& node, std::wstring_view name);

// True when the attribute is present, with its value; the value is left as
// it was when the attribute is absent.
bool readAttributeText(std::wstring& value, const Element& element, std::wstring_view name);

// True when the attribute is present and reads as a boolean ("true"/"false",
// "1"/"0", any letter case); the value is left as it was otherwise.
bool readAttributeBool(bool& value, const Element& element, std::wstring_view name);

// True when the text reads as readAttributeBool takes a boolean, with its
// value; the value is left as it was otherwise.
bool parseBoolean(bool& value, std::wstring_view text);

// An attribute a reader looks for: its name, where its text goes (nowhere
// when null: the reader only asks whether it is there), and whether the
// element holds it.
struct AttributeField {
    std::wstring_view name;
    std::wstring* text = nullptr;
    bool found = false;
};

// Reads the element's attributes in one pass, which is quicker than a
// look-up each for a reader of several: a field whose attribute the element
// holds gets its text and is marked found; the others are left as they
// were. When `others` is given, the names of the attributes no field names
// are added to it in the element's order, the same names attributeNames
// gives. Raises DomError when the DOM fails.
void readAttributes(const Element& element, AttributeField* fields, std::size_t count,
                    std::vector<std::wstring>* others = nullptr);
template <std::size_t N>
void readAttributes(const Element& element, AttributeField (&fields)[N], std::vector<std::wstring>* others = nullptr) {
    readAttributes(element, fields, N, others);
}

// The text content of the node: all its descendant text and CDATA, in order.
bool readText(std::wstring& text, const Node& node);

// Evaluates an XPath 1.0 expression with `context` as the context node and
// gives the first selected node in document order. False, with `node` left
// empty, when nothing is selected, and for an empty or malformed expression
// or one that gives no node set. The node may be an attribute: it has no
// name, children or siblings here, its text is its value, its outer XML
// reads name="value", and its line is its element's.
bool selectSingleNode(Node& node, const Node& context, const std::wstring& expression);

// Whether expression is an XPath 1.0 expression that gives a node set, the
// kind selectSingleNode selects with. False for an empty or malformed
// expression and for one that gives a number, a string or a boolean.
bool compilesToNodeSet(const std::wstring& expression);

// Makes later selections on the document accept XPath 1.0.
bool enableXPath(Document& document);

// Writes the document to the file in the encoding it was read in, replacing
// the file in one step; a failure leaves the old file as it was. A character
// that encoding cannot represent is written as a character reference
// ("&#x1F600;") in text and attribute values. Fails for a read-only file and
// when such a character stands where a reference cannot: in a name, a
// comment, a CDATA section or a processing instruction.
bool save(const Document& document, const std::wstring& path);

} // namespace tern::utility::xml
