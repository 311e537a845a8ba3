// Printing DOM nodes as text, with the rules the other DOM backend prints
// by, so that a document edited on either platform is written alike:
//  - text escapes "&", "<" and ">"; attribute values, in double quotes,
//    escape "&", "<" and '"', and control characters (tab and line ends
//    among them) as two-digit character references;
//  - empty elements print as "<a/>", unless the text had "<a></a>";
//  - line ends inside text, comments, CDATA sections and processing
//    instructions print as "\r\n" when the text's first line end was one.
// The walk is iterative: a document nested tens of thousands of levels deep
// prints like a flat one.

#include "components/utility/win32/document_impl.h"

#include <vector>

namespace tern::utility::xml {
namespace {

void appendReference(std::wstring& out, wchar_t c) {
    out += L"&#";
    out += static_cast<wchar_t>(L'0' + c / 10);
    out += static_cast<wchar_t>(L'0' + c % 10);
    out += L';';
}

class Printer {
public:
    Printer(const SourceLayout& layout, std::wstring& out) : layout(layout), out(out) {}

    void document(const DomNode& node);
    // The node with its content; `source` is what the text had for it, when
    // it is an element that was read from the text.
    void tree(DomNode node, const SourceLayout::Element* source);

private:
    struct Open {
        DomNode element;
        std::wstring name;
        const SourceLayout::Element* source;
        std::size_t elementChildren = 0; // how many have been entered
    };

    // The text's element for a child being entered below `parent`.
    const SourceLayout::Element* sourceFor(Open& parent, const DomNode& child) {
        return typeOf(child) == NODE_ELEMENT ? layout.child(parent.source, parent.elementChildren++) : nullptr;
    }

    void startTag(const DomNode& element, const std::wstring& name);
    void leaf(const DomNode& node);
    // Text or an attribute value, with the characters escaped that must
    // be, or that would not read back as they are.
    enum class Context { text, attribute };
    void escaped(const std::wstring& value, Context context);
    void withLineEnds(const std::wstring& value);

    const SourceLayout& layout;
    std::wstring& out;
};

void Printer::document(const DomNode& node) {
    out += layout.declaration;
    // Listed rather than walked sibling by sibling: Wine's document type
    // node does not implement get_nextSibling.
    com::Ptr<IXMLDOMNodeList> children;
    com::check(node->get_childNodes(children.out()), "IXMLDOMNode::get_childNodes");
    long count = 0;
    com::check(children->get_length(&count), "IXMLDOMNodeList::get_length");
    for (std::size_t index = 0; index < static_cast<std::size_t>(count); ++index) {
        DomNode child;
        com::check(children->get_item(static_cast<long>(index), child.out()), "IXMLDOMNodeList::get_item");
        if (index < layout.spaceBefore.size())
            out += layout.spaceBefore[index];
        const bool isElement = typeOf(child) == NODE_ELEMENT;
        tree(child, isElement && !layout.elements.empty() ? &layout.elements.front() : nullptr);
        if (index + 1 == layout.spaceBefore.size())
            out += layout.trailingSpace;
    }
}

void Printer::tree(DomNode node, const SourceLayout::Element* source) {
    std::vector<Open> open;
    for (;;) {
        if (typeOf(node) == NODE_ELEMENT) {
            std::wstring name = nameOf(node);
            startTag(node, name);
            if (DomNode first = firstChildOf(node)) {
                out += L'>';
                open.push_back({node, std::move(name), source});
                source = sourceFor(open.back(), first);
                node = first;
                continue;
            }
            out += source && source->endTagged ? L"></" + name + L">" : std::wstring(L"/>");
        } else {
            leaf(node);
        }
        // On to the next node in document order, closing the elements left.
        for (;;) {
            if (open.empty())
                return;
            if (DomNode next = nextSiblingOf(node)) {
                source = sourceFor(open.back(), next);
                node = next;
                break;
            }
            out += L"</" + open.back().name + L">";
            node = open.back().element;
            open.pop_back();
        }
    }
}

void Printer::startTag(const DomNode& element, const std::wstring& name) {
    out += L'<' + name;
    com::Ptr<IXMLDOMNamedNodeMap> attributes;
    com::check(element->get_attributes(attributes.out()), "IXMLDOMNode::get_attributes");
    long count = 0;
    com::check(attributes->get_length(&count), "IXMLDOMNamedNodeMap::get_length");
    for (long i = 0; i < count; ++i) {
        DomNode attribute;
        com::check(attributes->get_item(i, attribute.out()), "IXMLDOMNamedNodeMap::get_item");
        out += L' ';
        leaf(attribute);
    }
}

void Printer::leaf(const DomNode& node) {
    switch (typeOf(node)) {
    case NODE_TEXT:
        escaped(valueOf(node), Context::text);
        break;
    case NODE_CDATA_SECTION:
        out += L"<![CDATA[";
        withLineEnds(valueOf(node));
        out += L"]]>";
        break;
    case NODE_COMMENT:
        out += L"<!--";
        withLineEnds(valueOf(node));
        out += L"-->";
        break;
    case NODE_PROCESSING_INSTRUCTION: {
        out += L"<?" + nameOf(node);
        const auto value = valueOf(node);
        if (!value.empty()) {
            out += L' ';
            withLineEnds(value);
        }
        out += L"?>";
        break;
    }
    case NODE_ATTRIBUTE:
        out += nameOf(node) + L"=\"";
        escaped(valueOf(node), Context::attribute);
        out += L'"';
        break;
    case NODE_ENTITY_REFERENCE:
        out += L'&' + nameOf(node) + L';';
        break;
    case NODE_DOCUMENT_TYPE:
        if (!layout.documentType.empty()) {
            out += layout.documentType;
        } else {
            com::Bstr xml;
            com::check(node->get_xml(xml.out()), "IXMLDOMNode::get_xml");
            out += xml.text();
        }
        break;
    default:
        break;
    }
}

void Printer::escaped(const std::wstring& value, Context context) {
    const bool inAttribute = context == Context::attribute;
    for (const wchar_t c : value) {
        if (c == L'&')
            out += L"&amp;";
        else if (c == L'<')
            out += L"&lt;";
        else if (c == L'>' && !inAttribute)
            out += L"&gt;";
        else if (c == L'"' && inAttribute)
            out += L"&quot;";
        else if (c == L'\n' && !inAttribute)
            out += layout.crlf ? L"\r\n" : L"\n";
        else if (c < 0x20 && (inAttribute || (c != L'\t' && c != L'\r')))
            appendReference(out, c);
        else
            out += c;
    }
}

void Printer::withLineEnds(const std::wstring& value) {
    for (const wchar_t c : value) {
        if (c == L'\n' && layout.crlf)
            out += L'\r';
        out += c;
    }
}

} // namespace

std::wstring DocumentImpl::print(const DomNode& node) const {
    std::wstring out;
    Printer printer(layout, out);
    if (typeOf(node) == NODE_DOCUMENT)
        printer.document(node);
    else
        printer.tree(node, typeOf(node) == NODE_ELEMENT ? sourceOf(node) : nullptr);
    return out;
}

} // namespace tern::utility::xml
