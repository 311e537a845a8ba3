// The runs an XML text falls into, as far as references go: runs of text
// content and attribute values, where "&...;" is a reference, and runs of
// markup (tags, names, comments, CDATA sections, processing instructions,
// the document type, and each reference itself). Used on the printed text
// of a document (character_references.h) and on a file's text before it is
// parsed (entity_references.h), in UTF-8 (std::string) or wide text.

#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string_view>

namespace tern::utility::xml::text_runs {

template <typename Text> bool startsWith(const Text& text, std::size_t at, std::string_view ascii) {
    using Char = typename Text::value_type;
    return at + ascii.size() <= text.size() &&
           std::equal(ascii.begin(), ascii.end(), text.begin() + static_cast<std::ptrdiff_t>(at),
                      [](char a, Char b) { return static_cast<Char>(a) == b; });
}

// Where `ascii` next begins at or after `at` and before `end`; `end` when
// nowhere there. Candidates are found by their first character with the
// character type's own search (memchr for UTF-8), which runs over long text
// and attribute values far faster than a comparison at every offset.
template <typename Text> std::size_t find(const Text& text, std::size_t at, std::string_view ascii, std::size_t end) {
    using Char = typename Text::value_type;
    using Traits = typename Text::traits_type;
    for (; at < end; ++at) {
        const Char* found = Traits::find(text.data() + at, end - at, static_cast<Char>(ascii.front()));
        if (!found)
            return end;
        at = static_cast<std::size_t>(found - text.data());
        if (startsWith(text, at, ascii))
            return at;
    }
    return end;
}

template <typename Text> std::size_t find(const Text& text, std::size_t at, std::string_view ascii) {
    return find(text, at, ascii, text.size());
}

// Just past the next `ascii` at or after `at`; the text's size when nowhere.
template <typename Text> std::size_t pastNext(const Text& text, std::size_t at, std::string_view ascii) {
    const std::size_t found = find(text, at, ascii);
    return found == text.size() ? found : found + ascii.size();
}

// The quote that opens a quoted value at `at`, or nothing.
template <typename Text> std::string_view quoteAt(const Text& text, std::size_t at) {
    return startsWith(text, at, "\"") ? "\"" : startsWith(text, at, "'") ? "'" : "";
}

// Just past the markup that opens with "<!" or "<?" at `at`: a comment, a
// CDATA section, a processing instruction or the document type, whose
// internal subset may hold quoted text, comments and brackets.
template <typename Text> std::size_t pastDeclaration(const Text& text, std::size_t at) {
    if (startsWith(text, at, "<!--"))
        return pastNext(text, at + 4, "-->");
    if (startsWith(text, at, "<![CDATA["))
        return pastNext(text, at + 9, "]]>");
    if (startsWith(text, at, "<?"))
        return pastNext(text, at + 2, "?>");
    int depth = 0;
    for (std::size_t i = at + 2; i < text.size(); ++i) {
        if (startsWith(text, i, "<!--"))
            i = pastNext(text, i + 4, "-->") - 1;
        else if (const std::string_view quote = quoteAt(text, i); !quote.empty())
            i = pastNext(text, i + 1, quote) - 1;
        else if (startsWith(text, i, "["))
            ++depth;
        else if (startsWith(text, i, "]"))
            --depth;
        else if (startsWith(text, i, ">") && depth <= 0)
            return i + 1;
    }
    return text.size();
}

// Calls visit(begin, end, readsReferences) for consecutive runs of the text,
// in order, until a call returns false; true when every call did.
// `readsReferences` is true for runs of text content and attribute values,
// and false for markup (entity and character references included).
template <typename Text, typename Visit> bool visitRuns(const Text& text, Visit visit) {
    // Content from begin to end, each "&...;" in it a run of markup.
    auto content = [&](std::size_t begin, std::size_t end) {
        while (begin < end) {
            const std::size_t ampersand = find(text, begin, "&", end);
            if (ampersand > begin && !visit(begin, ampersand, true))
                return false;
            if (ampersand == end)
                break;
            begin = std::min(find(text, ampersand, ";", end) + 1, end);
            if (!visit(ampersand, begin, false))
                return false;
        }
        return true;
    };
    for (std::size_t at = 0; at < text.size();) {
        if (!startsWith(text, at, "<")) {
            const std::size_t tag = find(text, at, "<");
            if (!content(at, tag))
                return false;
            at = tag;
        } else if (startsWith(text, at, "<!") || startsWith(text, at, "<?")) {
            const std::size_t end = pastDeclaration(text, at);
            if (!visit(at, end, false))
                return false;
            at = end;
        } else {
            // A tag: its names are markup, its quoted values content.
            using Char = typename Text::value_type;
            static constexpr Char tagStops[] = {Char('>'), Char('"'), Char('\'')};
            std::size_t markup = at;
            std::size_t i = at + 1;
            while ((i = text.find_first_of(tagStops, i, std::size(tagStops))) != Text::npos && text[i] != Char('>')) {
                const std::string_view quote = quoteAt(text, i);
                const std::size_t close = find(text, i + 1, quote);
                if (!visit(markup, i + 1, false) || !content(i + 1, close))
                    return false;
                markup = close;
                i = close + 1;
            }
            at = i == Text::npos ? text.size() : i + 1;
            if (!visit(markup, at, false))
                return false;
        }
    }
    return true;
}

} // namespace tern::utility::xml::text_runs
