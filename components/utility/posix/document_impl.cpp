#include "components/utility/posix/document_impl.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tern::utility::xml {
namespace {

// Everything kept; no end-of-line normalisation, so that text keeps the
// line ends it had; fragment mode keeps the whitespace around the document
// element, and the checks below stand in for the ones it relaxes.
constexpr unsigned int parseOptions =
    (pugi::parse_full | pugi::parse_ws_pcdata | pugi::parse_fragment) & ~pugi::parse_eol;
constexpr unsigned int printOptions = pugi::format_raw | pugi::format_no_declaration;

bool isWhitespace(const char* text) { return text[std::strspn(text, " \t\r\n")] == '\0'; }

// What keeps the document level from holding exactly one element and,
// besides it, only what XML allows there: a leading declaration, a document
// type before the element, comments, processing instructions and
// whitespace. Null when nothing does; `at` is then the node in the way, or
// null when the element is missing.
const char* findDocumentLevelProblem(const pugi::xml_document& dom, bool textStartsWithDeclaration,
                                     pugi::xml_node& at) {
    int elements = 0;
    bool documentType = false;
    for (auto child = dom.first_child(); child; child = child.next_sibling()) {
        at = child;
        switch (child.type()) {
        case pugi::node_declaration:
            if (child != dom.first_child() || !textStartsWithDeclaration)
                return "the XML declaration is not at the very start";
            break;
        case pugi::node_doctype:
            if (documentType || elements > 0)
                return "a document type stands after the root element or after another one";
            documentType = true;
            break;
        case pugi::node_element:
            if (++elements > 1)
                return "a second root element";
            break;
        case pugi::node_pcdata:
            if (!isWhitespace(child.value()))
                return "text outside the root element";
            break;
        case pugi::node_comment:
        case pugi::node_pi:
            break;
        default:
            return "markup outside the root element";
        }
    }
    at = pugi::xml_node();
    return elements == 0 ? "no root element" : nullptr;
}

// Elements usually carry a handful of attributes: their names are taken in
// one walk and compared each with the ones after it, which allocates
// nothing; only a long list is sorted.
bool hasRepeatedAttribute(pugi::xml_node element) {
    // Most elements hold one attribute or none, which need no names taken.
    const auto first = element.first_attribute();
    if (!first.next_attribute())
        return false;
    constexpr std::size_t handful = 16;
    const char* names[handful];
    std::size_t count = 0;
    std::vector<const char*> many;
    // A parsed attribute always has a name: the empty name of the null
    // handle after the last one ends the list without a test of its own.
    for (auto attribute = first;; attribute = attribute.next_attribute()) {
        const char* name = attribute.name();
        if (*name == '\0')
            break;
        if (count < handful)
            names[count++] = name;
        else
            many.push_back(name);
    }
    // Names seldom share their first character: comparing it first spares most calls.
    const auto same = [](const char* a, const char* b) { return *a == *b && std::strcmp(a, b) == 0; };
    if (many.empty()) {
        for (std::size_t i = 0; i < count; ++i)
            for (std::size_t j = i + 1; j < count; ++j)
                if (same(names[i], names[j]))
                    return true;
        return false;
    }
    many.insert(many.end(), names, names + count);
    std::sort(many.begin(), many.end(), [](const char* a, const char* b) { return std::strcmp(a, b) < 0; });
    return std::adjacent_find(many.begin(), many.end(), same) != many.end();
}

// The offset of the ">" that closes the tag whose text goes on at `from` (a
// ">" inside a quoted value does not close it); npos when nothing closes it.
std::size_t closingBracket(const std::string& text, std::size_t from) {
    char quote = '\0';
    for (auto at = from; at < text.size(); ++at) {
        const char c = text[at];
        if (quote != '\0') {
            if (c == quote)
                quote = '\0';
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return at;
        }
    }
    return std::string::npos;
}

// Whether the empty element's start tag, which begins at its name, ends in
// ">" rather than "/>".
bool isWrittenWithEndTag(const std::string& text, pugi::xml_node element) {
    const auto nameOffset = element.offset_debug();
    if (nameOffset < 0)
        return false;
    const auto close = closingBracket(text, static_cast<std::size_t>(nameOffset));
    return close != std::string::npos && text[close - 1] != '/';
}

// The offsets of the names of the start tags that end in ">" with "</"
// right after it, as only an empty element written "<a></a>" ends; in
// ascending order. Each is found from its "></" by the nearest "<" before
// it, which opens the tag when no quote stands between them; a "<" that
// opens no start tag ("</", "<!", "<?") then means that no start tag ends
// there. Nothing when a quote stands between: that "<" may lie in an
// attribute value (the parser takes one there), and only a scan of the
// tags from their start tells which tag ends at the ">".
std::optional<std::vector<std::size_t>> findEndTaggedNames(std::string_view text) {
    std::vector<std::size_t> names;
    for (auto close = text.find("></"); close != std::string_view::npos; close = text.find("></", close + 3)) {
        const auto open = text.rfind('<', close);
        if (open == std::string_view::npos)
            continue; // no tag at all before it
        if (text.substr(open, close - open).find_first_of("\"'") != std::string_view::npos)
            return std::nullopt;
        const char first = text[open + 1];
        if (first != '/' && first != '!' && first != '?' && text[close - 1] != '/')
            names.push_back(open + 1);
    }
    return names;
}

// Which empty elements were written with an end tag: told by the name
// offsets findEndTaggedNames found before the parse or, when it could not
// tell, by the text, which is then kept as it was.
struct EndTagFinder {
    std::optional<std::vector<std::size_t>> names;
    const std::string& text;

    bool mayFind() const { return !names || !names->empty(); }
    bool isEndTagged(pugi::xml_node element) const {
        return names ? std::binary_search(names->begin(), names->end(),
                                          static_cast<std::size_t>(element.offset_debug()))
                     : isWrittenWithEndTag(text, element);
    }
};

// Checks each element as pugixml walks the tree, iteratively and with no
// call of ours per step: the first element with a repeated attribute stops
// the walk; the empty ones written with an end tag are collected.
class ElementCheck : public pugi::xml_tree_walker {
public:
    ElementCheck(const EndTagFinder& endTags, std::vector<pugi::xml_node>& endTagged)
        : endTags(endTags), endTagged(endTagged), mayBeEndTagged(endTags.mayFind()) {}

    pugi::xml_node repeated; // the element with a repeated attribute, once found

    bool for_each(pugi::xml_node& node) override {
        if (node.type() != pugi::node_element)
            return true;
        if (hasRepeatedAttribute(node)) {
            repeated = node;
            return false;
        }
        if (mayBeEndTagged && !node.first_child() && endTags.isEndTagged(node))
            endTagged.push_back(node);
        return true;
    }

private:
    const EndTagFinder& endTags;
    std::vector<pugi::xml_node>& endTagged;
    const bool mayBeEndTagged;
};

// The declaration the text opens with, as it was written; pugixml also
// ends one at "/>", which XML does not, so a declaration written back as
// it was must end in "?>" where the parser ended it.
struct OpeningDeclaration {
    bool present = false;  // the text starts with "<?xml"
    bool endsWell = false; // and the first ">" outside quotes follows "?"
    std::string text;      // then the declaration up to that ">"
};

OpeningDeclaration readOpeningDeclaration(const std::string& text) {
    OpeningDeclaration declaration;
    declaration.present = text.compare(0, 5, "<?xml") == 0;
    if (!declaration.present)
        return declaration;
    const auto close = closingBracket(text, 0);
    declaration.endsWell = close != std::string::npos && text[close - 1] == '?';
    if (declaration.endsWell)
        declaration.text = text.substr(0, close + 1);
    return declaration;
}

// The offsets after each "\n" of a text without "\r"; false, at the first
// "\r", when the text has one. Lines are short, so a search per line cost
// more in calls than in reading: where SSE2 is there (every x86-64), the
// text is read 32 bytes at a time, and a block without "\r" gives its line
// feeds as the bits of one mask.
bool findLineFeeds(const std::string& text, std::vector<std::size_t>& starts) {
    std::size_t at = 0;
#if defined(__SSE2__)
    constexpr std::size_t block = 32;
    const __m128i feed = _mm_set1_epi8('\n');
    const __m128i carriageReturn = _mm_set1_epi8('\r');
    for (; at + block <= text.size(); at += block) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at + block / 2));
        const __m128i returns = _mm_or_si128(_mm_cmpeq_epi8(low, carriageReturn), _mm_cmpeq_epi8(high, carriageReturn));
        if (_mm_movemask_epi8(returns) != 0)
            return false;
        std::uint32_t feeds = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(low, feed))) |
                              static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(high, feed))) << 16;
        for (; feeds != 0; feeds &= feeds - 1)
            starts.push_back(at + static_cast<std::size_t>(__builtin_ctz(feeds)) + 1);
    }
#endif
    for (; at < text.size(); ++at) {
        if (text[at] == '\r')
            return false;
        if (text[at] == '\n')
            starts.push_back(at + 1);
    }
    return true;
}

std::vector<std::size_t> findLineStarts(const std::string& text) {
    // Room for lines of 32 characters on average, as XML files' lines are
    // longer: the list rarely regrows, and a growing one cost more than the
    // search. What is not filled is never touched, and costs no memory.
    std::vector<std::size_t> starts;
    starts.reserve(text.size() / 32);
    // Only "\n" ends lines, the common case.
    if (findLineFeeds(text, starts))
        return starts;
    starts.clear();
    for (std::size_t at = 0; at < text.size(); ++at) {
        const bool lineEnd = text[at] == '\n' || (text[at] == '\r' && (at + 1 == text.size() || text[at + 1] != '\n'));
        if (lineEnd)
            starts.push_back(at + 1);
    }
    return starts;
}

int lineAt(const std::vector<std::size_t>& lineStarts, std::size_t offset) {
    return static_cast<int>(std::upper_bound(lineStarts.begin(), lineStarts.end(), offset) - lineStarts.begin()) + 1;
}

// Tells `failure`, when given, the reason and the line of `offset` (none
// when negative); returns the null document a failed parse gives.
std::shared_ptr<DocumentImpl> notWellFormed(ParseFailure* failure, const std::vector<std::size_t>& lineStarts,
                                            const char* reason, std::ptrdiff_t offset) {
    if (failure) {
        failure->reason.assign(reason, reason + std::strlen(reason)); // the reasons are ASCII
        failure->line = offset < 0 ? 0 : lineAt(lineStarts, static_cast<std::size_t>(offset));
    }
    return nullptr;
}

class StringWriter : public pugi::xml_writer {
public:
    explicit StringWriter(std::string& text) : text(text) {}
    void write(const void* data, std::size_t size) override { text.append(static_cast<const char*>(data), size); }

private:
    std::string& text;
};

// Gives the elements written as "<a></a>" that are still empty an empty text
// child while it lives, which pugixml prints as an end tag.
class EndTagKeeper {
public:
    explicit EndTagKeeper(const std::vector<pugi::xml_node>& elements) {
        for (auto element : elements) {
            if (!element.first_child())
                placeholders.push_back(element.append_child(pugi::node_pcdata));
        }
    }
    ~EndTagKeeper() {
        for (auto placeholder : placeholders)
            placeholder.parent().remove_child(placeholder);
    }
    EndTagKeeper(const EndTagKeeper&) = delete;
    EndTagKeeper& operator=(const EndTagKeeper&) = delete;

private:
    std::vector<pugi::xml_node> placeholders;
};

} // namespace

pugi::xml_node nextInSubtree(pugi::xml_node node, pugi::xml_node scope) {
    if (auto child = node.first_child())
        return child;
    for (; node && node != scope; node = node.parent()) {
        if (auto sibling = node.next_sibling())
            return sibling;
    }
    return {};
}

std::string printRaw(pugi::xml_node node) {
    std::string text;
    StringWriter writer(text);
    node.print(writer, "", printOptions, pugi::encoding_utf8);
    return text;
}

std::shared_ptr<DocumentImpl> DocumentImpl::parse(std::string utf8, const XmlEncoding& encoding,
                                                  ParseFailure* failure, LoadFor purpose) {
    auto document = std::make_shared<DocumentImpl>();
    document->encoding = encoding;
    document->readOnly = purpose == LoadFor::reading;
    const unsigned int options = document->readOnly ? parseOptions & ~pugi::parse_ws_pcdata : parseOptions;
    document->sourceSize = utf8.size();
    // Taken before a parse overwrites the text.
    const auto& lineStarts = document->lineStarts = findLineStarts(utf8);
    const OpeningDeclaration openingDeclaration = readOpeningDeclaration(utf8);
    // A document that is never written back has no end tags to keep.
    const EndTagFinder endTags{document->readOnly ? std::vector<std::size_t>() : findEndTaggedNames(utf8), utf8};

    auto& dom = document->dom;
    pugi::xml_parse_result parsed;
    if (endTags.names) {
        // The string's own terminating NUL goes with it: pugixml sets a
        // text's last character aside for a NUL of its own, as it does in
        // the copy it makes otherwise, and would drop whitespace that ends
        // the text.
        document->source = std::move(utf8);
        parsed = dom.load_buffer_inplace(document->source.data(), document->source.size() + 1, options,
                                         pugi::encoding_utf8);
    } else {
        // Only a scan of its tags tells this text's end-tagged elements
        // apart: pugixml parses a copy, and the text stays as it was.
        parsed = dom.load_buffer(utf8.data(), utf8.size(), options, pugi::encoding_utf8);
    }
    if (!parsed)
        return notWellFormed(failure, lineStarts, parsed.description(), parsed.offset);
    pugi::xml_node misplaced;
    if (const char* problem = findDocumentLevelProblem(dom, openingDeclaration.present, misplaced))
        return notWellFormed(failure, lineStarts, problem, misplaced ? misplaced.offset_debug() : -1);
    ElementCheck check(endTags, document->endTagged);
    if (!dom.traverse(check))
        return notWellFormed(failure, lineStarts, "an attribute is repeated", check.repeated.offset_debug());
    if (dom.first_child().type() == pugi::node_declaration) {
        if (!openingDeclaration.endsWell)
            return notWellFormed(failure, lineStarts, "the XML declaration does not end in \"?>\"", 0);
        document->declaration = dom.first_child();
        document->declarationText = openingDeclaration.text;
    }
    return document;
}

std::string DocumentImpl::print(pugi::xml_node node) {
    if (node.type() != pugi::node_document) {
        EndTagKeeper keeper(endTagged);
        return printRaw(node);
    }
    // Edits seldom change a document's size much: room for the text it was
    // read from saves regrowing the copy on the way.
    std::string text;
    text.reserve(sourceSize + sourceSize / 8);
    StringWriter writer(text);
    printDocument(writer);
    return text;
}

void DocumentImpl::printDocument(pugi::xml_writer& writer) {
    EndTagKeeper keeper(endTagged);
    for (auto child = dom.first_child(); child; child = child.next_sibling()) {
        if (child == declaration)
            writer.write(declarationText.data(), declarationText.size());
        else
            child.print(writer, "", printOptions, pugi::encoding_utf8);
    }
}

int DocumentImpl::lineOf(pugi::xml_node node) const {
    const auto offset = node.offset_debug();
    return offset < 0 ? 0 : lineAt(lineStarts, static_cast<std::size_t>(offset));
}

bool DocumentImpl::removeChild(pugi::xml_node parent, pugi::xml_node child) {
    if (parent.type() != pugi::node_element || !child || child.parent() != parent)
        return false;
    const auto inside = [child](pugi::xml_node node) {
        for (; node; node = node.parent())
            if (node == child)
                return true;
        return false;
    };
    endTagged.erase(std::remove_if(endTagged.begin(), endTagged.end(), inside), endTagged.end());
    if (declaration == child)
        declaration = pugi::xml_node();
    return parent.remove_child(child);
}

Node NodeAccess::make(const std::shared_ptr<DocumentImpl>& document, pugi::xml_node node,
                      pugi::xml_attribute attribute) {
    Node handle;
    if (document && node) {
        handle.document = document;
        handle.node = node.internal_object();
        handle.attribute = attribute.internal_object();
    }
    return handle;
}

Element NodeAccess::makeElement(const std::shared_ptr<DocumentImpl>& document, pugi::xml_node node) {
    Element handle;
    if (document && node.type() == pugi::node_element) {
        handle.document = document;
        handle.node = node.internal_object();
    }
    return handle;
}

} // namespace tern::utility::xml
