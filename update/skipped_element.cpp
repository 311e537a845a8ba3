#include "update/skipped_element.h"

#include "platform/text.h"
#include "update/load_report.h"

#include <algorithm>

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

} // namespace

std::wstring skippedElementMessage(const utility::xml::Node& element, const std::wstring& parentName,
                                   const std::vector<std::wstring>& expectedNames) {
    const std::wstring name = element.name();
    std::wstring message = L"The element " + quoted(name) + L" inside " + quoted(parentName) + L" is skipped; ";
    const auto sameLetters =
        std::find_if(expectedNames.begin(), expectedNames.end(),
                     [&](const std::wstring& expected) { return platform::equalIgnoringCase(expected, name); });
    if (sameLetters != expectedNames.end())
        message += L"names are case-sensitive, so write " + quoted(*sameLetters) + L".";
    else if (expectedNames.empty())
        message += L"it takes no elements.";
    else
        message += L"expected " + alternatives(expectedNames) + L".";
    return message;
}

void reportUnreadableElement(const utility::xml::Node& element) {
    reportDropped(element,
                  [&] { return L"The element " + quoted(element.name()) + L" could not be read, so it is dropped."; });
}

} // namespace tern::update
