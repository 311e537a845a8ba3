#include "update/skipped_element.h"

#include "platform/text.h"
#include "update/load_report.h"

#include <algorithm>
#include <stdexcept>

namespace tern::update {

namespace {

std::wstring quoted(const std::wstring& name) { return L"\"" + name + L"\""; }

// "A", "A" or "B", "A", "B" or "C".
std::wstring alternatives(const std::vector<std::wstring>& names) {
    std::wstring text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            text += i + 1 == names.size() ? L" or " : L", ";
        text += quoted(names[i]);
    }
    return text;
}

// The expected name that differs from `name` only in letter case; null when none does.
const std::wstring* sameLetters(const std::vector<std::wstring>& expectedNames, const std::wstring& name) {
    const auto found = std::find_if(expectedNames.begin(), expectedNames.end(), [&](const std::wstring& expected) {
        return platform::equalIgnoringCase(expected, name);
    });
    return found == expectedNames.end() ? nullptr : &*found;
}

bool belongsToTheDocument(const std::wstring& attribute) {
    return attribute == L"xmlns" || attribute.rfind(L"xmlns:", 0) == 0 || attribute.rfind(L"xml:", 0) == 0;
}

} // namespace

std::wstring skippedElementMessage(const utility::xml::Node& element, const std::wstring& parentName,
                                   const std::vector<std::wstring>& expectedNames) {
    const std::wstring name = element.name();
    std::wstring message = L"The element " + quoted(name) + L" inside " + quoted(parentName) + L" is skipped; ";
    if (const std::wstring* rightSpelling = sameLetters(expectedNames, name))
        message += L"names are case-sensitive, so write " + quoted(*rightSpelling) + L".";
    else if (expectedNames.empty())
        message += L"it takes no elements.";
    else
        message += L"expected " + alternatives(expectedNames) + L".";
    return message;
}

void reportUnknownAttributes(const utility::xml::Element& element, std::initializer_list<const wchar_t*> names) {
    if (!loadListener())
        return;
    // A row on the stack: this runs for nearly every element of a definition.
    constexpr std::size_t most = 8;
    if (names.size() > most)
        throw std::logic_error("reportUnknownAttributes takes at most eight names");
    utility::xml::AttributeField known[most];
    std::size_t count = 0;
    for (const wchar_t* name : names)
        if (name)
            known[count++] = {name};
    std::vector<std::wstring> others;
    utility::xml::readAttributes(element, known, count, &others);
    reportUnknownAttributes(element, others, known, count);
}

void reportUnknownAttributes(const utility::xml::Element& element, const std::vector<std::wstring>& others,
                             const utility::xml::AttributeField* known, std::size_t count) {
    for (const std::wstring& attribute : others) {
        if (belongsToTheDocument(attribute))
            continue;
        // Elements rarely hold an attribute their reader does not know: the
        // known names are made into a list only for the message about one.
        reportDropped(element, [&] {
            std::vector<std::wstring> knownNames;
            for (std::size_t i = 0; i < count; ++i)
                if (!known[i].name.empty())
                    knownNames.emplace_back(known[i].name);
            std::wstring message = quoted(attribute) + L" is not an attribute of " + quoted(element.name());
            if (const std::wstring* rightSpelling = sameLetters(knownNames, attribute))
                return message + L"; did you mean " + quoted(*rightSpelling) + L"?";
            if (knownNames.empty())
                return message + L", which takes none.";
            return message + L", which takes " + alternatives(knownNames) + L".";
        });
    }
}

void reportUnreadableElement(const utility::xml::Node& element) {
    reportDropped(element,
                  [&] { return L"The element " + quoted(element.name()) + L" could not be read, so it is dropped."; });
}

} // namespace tern::update
