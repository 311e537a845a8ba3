#include "components/utility/entity_references.h"

#include "components/utility/xml_text_runs.h"
#include "platform/text.h"

#include <algorithm>
#include <iterator>

namespace tern::utility::xml {
namespace {

using text_runs::pastNext;
using text_runs::quoteAt;
using text_runs::startsWith;

std::wstring toWide(const std::wstring& text) { return text; }
std::wstring toWide(const std::string& utf8) { return platform::fromUtf8(utf8); }

// Whether the document type from `begin` to `end` declares an entity,
// general or parameter; comments and quoted text inside it do not count.
template <typename Text> bool declaresEntity(const Text& text, std::size_t begin, std::size_t end) {
    for (std::size_t at = begin; at < end; ++at) {
        if (startsWith(text, at, "<!--"))
            at = pastNext(text, at + 4, "-->") - 1;
        else if (const std::string_view quote = quoteAt(text, at); !quote.empty())
            at = pastNext(text, at + 1, quote) - 1;
        else if (startsWith(text, at, "<!ENTITY"))
            return true;
    }
    return false;
}

// The name of the entity a reference run ("&name;") names; empty for a
// character reference, a predefined entity, and a run that is no reference
// at all (the parser refuses it).
template <typename Text> std::wstring entityNamed(const Text& run) {
    if (run.size() < 3 || run.back() != typename Text::value_type(';'))
        return {};
    const std::wstring name = toWide(run.substr(1, run.size() - 2));
    static const std::wstring predefined[] = {L"lt", L"gt", L"amp", L"apos", L"quot"};
    if (name.front() == L'#' || std::find(std::begin(predefined), std::end(predefined), name) != std::end(predefined) ||
        name.find_first_of(L" \t\r\n<&") != std::wstring::npos)
        return {};
    return name;
}

// Calls `found` with the offset after each `c` in the text until it returns
// true; whether it did. The search is the C library's, fast for a character
// that is rare.
template <typename Text, typename Found> bool anyAfter(const Text& text, typename Text::value_type c, Found found) {
    using Traits = typename Text::traits_type;
    const auto* const end = text.data() + text.size();
    for (const auto* at = text.data(); (at = Traits::find(at, static_cast<std::size_t>(end - at), c));) {
        if (found(static_cast<std::size_t>(++at - text.data())))
            return true;
    }
    return false;
}

// Whether the text may hold what findEntityProblem looks for: a document
// type, or an "&" that does not open a character reference or one of the
// predefined entities (such an "&" is harmless wherever it stands). Most
// files hold neither, and this asks only for a search of "&" and of "!",
// which opens a document type as it opens comments and CDATA sections, not
// for the text's runs.
template <typename Text> bool mayHoldEntities(const Text& text) {
    static const char* const harmless[] = {"#", "lt;", "gt;", "amp;", "apos;", "quot;"};
    return anyAfter(text, '&',
                    [&](std::size_t next) {
                        return std::none_of(std::begin(harmless), std::end(harmless),
                                            [&](const char* reference) { return startsWith(text, next, reference); });
                    }) ||
           anyAfter(text, '!', [&](std::size_t next) { return next > 1 && startsWith(text, next - 2, "<!DOCTYPE"); });
}

} // namespace

template <typename Text> std::wstring findEntityProblem(const Text& text) {
    std::wstring problem;
    if (!mayHoldEntities(text))
        return problem;
    text_runs::visitRuns(text, [&](std::size_t begin, std::size_t end, bool readsReferences) {
        if (readsReferences)
            return true;
        if (startsWith(text, begin, "<!DOCTYPE") && declaresEntity(text, begin, end))
            problem = L"its document type declares entities, which would not be written back as they are";
        else if (const std::wstring name =
                     startsWith(text, begin, "&") ? entityNamed(text.substr(begin, end - begin)) : std::wstring();
                 !name.empty())
            problem = L"it refers to the entity \"&" + name + L";\", which would not be written back as it is";
        return problem.empty();
    });
    return problem;
}

template std::wstring findEntityProblem(const std::string&);
template std::wstring findEntityProblem(const std::wstring&);

} // namespace tern::utility::xml
