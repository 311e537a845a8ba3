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

namespace {

bool isNameEnd(wchar_t c) { return isSpace(c) || c == L'/' || c == L'>' || c == L'='; }

std::size_t pastName(std::wstring_view text, std::size_t from) {
    while (from < text.size() && !isNameEnd(text[from]))
        ++from;
    return from;
}

std::size_t pastSpace(std::wstring_view text, std::size_t from) {
    while (from < text.size() && isSpace(text[from]))
        ++from;
    return from;
}

// Whether the attributes of a start tag, from `from` up to `end`, name one
// attribute twice.
bool repeatsAnAttribute(std::wstring_view text, std::size_t from, std::size_t end) {
    std::vector<std::wstring_view> names;
    for (auto at = pastSpace(text, from); at < end && text[at] != L'/' && text[at] != L'>';) {
        const auto nameEnd = pastName(text, at);
        const auto name = text.substr(at, nameEnd - at);
        if (name.empty() || std::find(names.begin(), names.end(), name) != names.end())
            return !name.empty();
        names.push_back(name);
        at = pastSpace(text, nameEnd);
        if (at < end && text[at] == L'=')
            at = pastSpace(text, at + 1);
        if (at < end && (text[at] == L'"' || text[at] == L'\'')) {
            const auto close = text.find(text[at], at + 1);
            at = close == npos ? end : close + 1;
        }
        at = pastSpace(text, at);
    }
    return false;
}

} // namespace

ParseFailure findNotWellFormed(std::wstring_view text) {
    const LineTable lines(text);
    const auto failure = [&](std::wstring reason, std::size_t at) {
        return ParseFailure{std::move(reason), lines.lineOf(at)};
    };
    std::vector<std::wstring_view> open; // the names of the elements whose content is being read
    bool rootSeen = false;
    bool hasSubset = false;
    std::size_t at = 0;
    while (at < text.size()) {
        if (text[at] != L'<') {
            const auto end = std::min(text.find(L'<', at), text.size());
            if (open.empty() && pastSpace(text, at) < end)
                return failure(L"text outside the root element", pastSpace(text, at));
            at = end;
        } else if (startsWith(text, at, L"<!--")) {
            at = pastNext(text, at + 4, L"-->");
        } else if (startsWith(text, at, L"<![CDATA[")) {
            at = pastNext(text, at + 9, L"]]>");
        } else if (startsWith(text, at, L"<?")) {
            at = pastNext(text, at + 2, L"?>");
        } else if (startsWith(text, at, L"<!DOCTYPE")) {
            at = pastDocumentType(text, at + 9, hasSubset);
        } else if (startsWith(text, at, L"</")) {
            const auto name = text.substr(at + 2, pastName(text, at + 2) - at - 2);
            if (open.empty() || open.back() != name)
                return failure(L"the end tag \"" + std::wstring(name) + L"\" does not close the open element" +
                                   (open.empty() ? L"" : L" \"" + std::wstring(open.back()) + L"\""),
                               at);
            open.pop_back();
            at = pastTag(text, at + 2);
        } else {
            if (open.empty() && rootSeen)
                return failure(L"a second root element", at);
            rootSeen = true;
            const auto nameEnd = pastName(text, at + 1);
            const auto end = pastTag(text, at + 1);
            if (repeatsAnAttribute(text, nameEnd, end))
                return failure(L"an attribute is repeated", at);
            const bool selfClosing = end - at >= 3 && text[end - 1] == L'>' && text[end - 2] == L'/';
            if (!selfClosing)
                open.push_back(text.substr(at + 1, nameEnd - at - 1));
            at = end;
        }
    }
    if (open.empty())
        return {};
    const auto last = text.find_last_not_of(L" \t\r\n");
    return failure(L"the element \"" + std::wstring(open.back()) + L"\" is not closed", last == npos ? 0 : last);
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
