#include "components/utility/win32/source_layout.h"

#include <algorithm>

namespace tern::utility::xml {
namespace {

constexpr auto npos = std::wstring_view::npos;

bool startsWith(std::wstring_view text, std::size_t at, std::wstring_view prefix) {
    return text.compare(at, prefix.size(), prefix) == 0;
}

bool isSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

// The offset just past `closing` from `from` on; the text's end when missing.
std::size_t pastNext(std::wstring_view text, std::size_t from, std::wstring_view closing) {
    const auto at = text.find(closing, from);
    return at == npos ? text.size() : at + closing.size();
}

// The offset past the ">" that closes a tag begun at `from`: a ">" inside a
// quoted attribute value does not close it.
std::size_t pastTag(std::wstring_view text, std::size_t from) {
    wchar_t quote = 0;
    for (auto at = from; at < text.size(); ++at) {
        const wchar_t c = text[at];
        if (quote != 0) {
            if (c == quote)
                quote = 0;
        } else if (c == L'"' || c == L'\'') {
            quote = c;
        } else if (c == L'>') {
            return at + 1;
        }
    }
    return text.size();
}

// The offset past a document type declaration begun at `from`, and whether
// it has an internal subset. Quoted literals, comments and processing
// instructions inside the subset may hold ">" and "]".
std::size_t pastDocumentType(std::wstring_view text, std::size_t from, bool& hasSubset) {
    wchar_t quote = 0;
    bool inSubset = false;
    for (auto at = from; at < text.size(); ++at) {
        const wchar_t c = text[at];
        if (quote != 0) {
            if (c == quote)
                quote = 0;
        } else if (inSubset && startsWith(text, at, L"<!--")) {
            at = pastNext(text, at + 4, L"-->") - 1;
        } else if (inSubset && startsWith(text, at, L"<?")) {
            at = pastNext(text, at + 2, L"?>") - 1;
        } else if (c == L'"' || c == L'\'') {
            quote = c;
        } else if (c == L'[') {
            inSubset = hasSubset = true;
        } else if (c == L']') {
            inSubset = false;
        } else if (c == L'>' && !inSubset) {
            return at + 1;
        }
    }
    return text.size();
}

class LineTable {
public:
    explicit LineTable(std::wstring_view text) {
        for (std::size_t at = 0; at < text.size(); ++at) {
            const bool lineEnd =
                text[at] == L'\n' || (text[at] == L'\r' && (at + 1 == text.size() || text[at + 1] != L'\n'));
            if (lineEnd)
                starts.push_back(at + 1);
        }
    }
    int lineOf(std::size_t offset) const {
        return static_cast<int>(std::upper_bound(starts.begin(), starts.end(), offset) - starts.begin()) + 1;
    }

private:
    std::vector<std::size_t> starts; // offsets where the second and later lines begin
};

} // namespace

SourceLayout SourceLayout::scan(std::wstring_view text) {
    SourceLayout layout;
    const LineTable lines(text);
    const auto firstLineEnd = text.find_first_of(L"\r\n");
    layout.crlf = firstLineEnd != npos && startsWith(text, firstLineEnd, L"\r\n");

    std::size_t at = 0;
    if (startsWith(text, 0, L"<?xml") && text.size() > 5 && isSpace(text[5])) {
        at = pastNext(text, 5, L"?>");
        layout.declaration = text.substr(0, at);
    }
    std::vector<std::size_t> open; // the elements whose content is being read
    std::wstring space;           // the whitespace since the last node of the document level
    bool hasSubset = false;
    auto atDocumentLevel = [&] {
        if (open.empty()) {
            layout.spaceBefore.push_back(std::move(space));
            space.clear();
        }
    };
    while (at < text.size()) {
        if (text[at] != L'<') {
            const auto end = std::min(text.find(L'<', at), text.size());
            if (open.empty())
                space += text.substr(at, end - at);
            at = end;
        } else if (startsWith(text, at, L"<!--")) {
            atDocumentLevel();
            at = pastNext(text, at + 4, L"-->");
        } else if (startsWith(text, at, L"<![CDATA[")) {
            at = pastNext(text, at + 9, L"]]>");
        } else if (startsWith(text, at, L"<?")) {
            atDocumentLevel();
            at = pastNext(text, at + 2, L"?>");
        } else if (startsWith(text, at, L"<!DOCTYPE")) {
            atDocumentLevel();
            const auto end = pastDocumentType(text, at + 9, hasSubset);
            layout.documentType = text.substr(at, end - at);
            at = end;
        } else if (startsWith(text, at, L"</")) {
            if (!open.empty())
                open.pop_back();
            at = pastTag(text, at + 2);
        } else {
            atDocumentLevel();
            const auto index = layout.elements.size();
            layout.elements.push_back({lines.lineOf(at), false, {}});
            if (!open.empty())
                layout.elements[open.back()].children.push_back(index);
            const auto end = pastTag(text, at + 1);
            const bool selfClosing = end - at >= 3 && text[end - 1] == L'>' && text[end - 2] == L'/';
            if (!selfClosing) {
                layout.elements.back().endTagged = startsWith(text, end, L"</");
                open.push_back(index);
            }
            at = end;
        }
    }
    layout.trailingSpace = std::move(space);
    if (hasSubset)
        layout.elements.clear();
    return layout;
}

const SourceLayout::Element* SourceLayout::child(const Element* parent, std::size_t position) const {
    if (!parent || position >= parent->children.size())
        return nullptr;
    return &elements[parent->children[position]];
}

const SourceLayout::Element* SourceLayout::find(const std::vector<std::size_t>& path) const {
    const Element* element = elements.empty() ? nullptr : &elements.front();
    for (const auto position : path)
        element = child(element, position);
    return element;
}

} // namespace tern::utility::xml
