#include "update/layout/item_attributes.h"

#include "update/load_report.h"
#include "update/skipped_element.h"

#include <cstdint>
#include <stdexcept>

namespace tern::update::layout {

namespace xml = utility::xml;

namespace {

struct CodeText {
    std::wstring_view text;
    std::int32_t code;
};

const CodeText modeTexts[] = {
    {L"Normal", EM_NORMAL}, {L"EM_NORMAL", EM_NORMAL}, {L"3dMode", EM_3DMODE}, {L"RedMode", EM_REDMODE}};
const CodeText posTexts[] = {
    {L"First", EP_FIRST}, {L"Last", EP_LAST}, {L"EP_LAST", EP_LAST}, {L"Before", EP_BEFORE}, {L"After", EP_AFTER}};

std::wstring quoted(std::wstring_view text) {
    std::wstring quotedText = L"\"";
    quotedText += text;
    return quotedText += L"\"";
}

// "A", "B" or "C".
template <std::size_t N> std::wstring alternatives(const CodeText (&texts)[N]) {
    std::wstring list;
    for (std::size_t i = 0; i < N; ++i)
        list += (i == 0 ? L"" : i + 1 == N ? L" or " : L", ") + quoted(texts[i].text);
    return list;
}

// The code of an exactly matching text; 0 for any other text, which the
// callers never store.
template <std::size_t N> std::int32_t codeOf(const std::wstring& text, const CodeText (&texts)[N]) {
    for (const CodeText& entry : texts)
        if (text == entry.text)
            return entry.code;
    return 0;
}

// The text of a code, for saying which default stays.
template <std::size_t N> std::wstring textOf(std::int32_t code, const CodeText (&texts)[N]) {
    for (const CodeText& entry : texts)
        if (code == entry.code)
            return std::wstring(entry.text);
    return std::to_wstring(code);
}

template <class Code, std::size_t N>
void parseCode(Code& field, const std::wstring& text, const xml::Element& element, std::wstring_view name,
               const CodeText (&texts)[N]) {
    if (text.empty())
        return;
    if (const std::int32_t code = codeOf(text, texts)) {
        field = static_cast<Code>(code);
        return;
    }
    reportDropped(element, [&] {
        return L"The " + quoted(name) + L" value " + quoted(text) + L" is not one of " + alternatives(texts) +
               L", so " + quoted(textOf(field, texts)) + L" is used.";
    });
}

void parseFlag(bool& value, const std::wstring& text, const xml::Element& element, std::wstring_view name) {
    if (!xml::parseBoolean(value, text))
        reportDropped(element, [&] {
            return L"The " + quoted(name) + L" value " + quoted(text) +
                   L" is not \"true\" or \"false\", so it is taken as " + (value ? L"true." : L"false.");
        });
}

} // namespace

void ItemAttributes::tooMany() {
    throw std::logic_error("a layout item reads more attributes than ItemAttributes holds");
}

std::wstring* ItemAttributes::roomForTexts() {
    thread_local std::wstring texts[maxAttributes];
    return texts;
}

void ItemAttributes::readTexts() { xml::readAttributes(element, fields, count, loadListener() ? &others : nullptr); }

void ItemAttributes::settle() {
    for (std::size_t i = 0; i < count; ++i) {
        const xml::AttributeField& field = fields[i];
        if (parsed[i].found)
            *parsed[i].found = field.found;
        if (!field.found)
            continue;
        if (parsed[i].mode)
            parseCode(*parsed[i].mode, *field.text, element, field.name, modeTexts);
        else if (parsed[i].pos)
            parseCode(*parsed[i].pos, *field.text, element, field.name, posTexts);
        else if (parsed[i].flag)
            parseFlag(*parsed[i].flag, *field.text, element, field.name);
    }
    reportUnknownAttributes(element, others, fields, count);
}

void reportMissing(const xml::Element& element, const wchar_t* what, const wchar_t* consequence) {
    reportDropped(element,
                  [&] { return L"A " + quoted(element.name()) + L" without " + what + L" " + consequence + L"."; });
}

void reportMissingTarget(const xml::Element& element, ItemPos pos, const std::wstring& target) {
    if ((pos == EP_BEFORE || pos == EP_AFTER) && target.empty())
        reportDropped(element, [&] {
            return L"The position is " + quoted(textOf(pos, posTexts)) +
                   L" but no target is named, so the new entry goes at the end.";
        });
}

void reportUnreadable(const xml::Element& element) {
    reportDropped(element,
                  [&] { return L"The " + quoted(element.name()) + L" element could not be read, so it is dropped."; });
}

} // namespace tern::update::layout
