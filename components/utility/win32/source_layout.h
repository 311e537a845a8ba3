// What MSXML does not keep of the text a document was parsed from, read from
// the text itself so that the document can be printed back as it was.
//
// MSXML drops the whitespace around the document element, turns "\r\n" into
// "\n", forgets whether an empty element was written "<a></a>" or "<a/>",
// rewrites the declaration in its own quotes, and knows no line numbers.
// The layout keeps these, and the elements in a tree of their own that the
// DOM's elements are matched against by position: element by element, as
// the n-th element child of the m-th element child... of the document
// element. Edits only ever append, so the elements read from the text keep
// their positions and appended ones match nothing.

#pragma once

#include "components/utility/dom_backend.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tern::utility::xml {

struct SourceLayout {
    struct Element {
        int line = 0;          // 1-based line of its start tag
        bool endTagged = false; // written "<a></a>": empty, with an end tag
        std::vector<std::size_t> children; // indexes of its element children
    };

    std::wstring declaration;  // "<?xml ...?>" as written; empty when none
    std::wstring documentType; // "<!DOCTYPE ...>" as written; empty when none
    // The whitespace before each node of the document level (after the
    // declaration), and after the last of them.
    std::vector<std::wstring> spaceBefore;
    std::wstring trailingSpace;
    bool crlf = false; // line ends were written "\r\n"
    // The elements in document order, the document element first; empty when
    // unknown (a document type with an internal subset can declare entities
    // that expand to elements, which would shift the positions).
    std::vector<Element> elements;

    // Reads the layout of a text that is one well-formed document; from any
    // other text it reads what it can.
    static SourceLayout scan(std::wstring_view text);

    // The element at a path of element-child positions below the document
    // element (an empty path is the document element); null when the text
    // had none there.
    const Element* find(const std::vector<std::size_t>& path) const;
    Element* find(const std::vector<std::size_t>& path) {
        return const_cast<Element*>(static_cast<const SourceLayout&>(*this).find(path));
    }
    // The element child at a position of an element from the text; null
    // when there is none or parent is null.
    const Element* child(const Element* parent, std::size_t position) const;
};

// Where a text that is not one well-formed document goes wrong, read the
// way scan reads it: an end tag that closes another element than the open
// one, an attribute given twice, a second root element, text outside the
// root, or elements still open at the end (the line of the text's last
// character that is not white space). An empty reason and line 0 when none
// of these is found. For a parser that does not say where it stopped.
ParseFailure findNotWellFormed(std::wstring_view text);

} // namespace tern::utility::xml
