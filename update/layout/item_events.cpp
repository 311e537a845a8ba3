#include "update/layout/item_events.h"

#include "update/layout/layout_table.h"

namespace tern::update::layout {

std::wstring placeOf(const LayoutTable& table) { return L"type " + table.typeName + L", mode " + table.modeName; }

std::wstring attributeText(std::wstring_view name, const std::wstring& value) {
    return L" " + std::wstring(name) + L"=\"" + value + L"\"";
}

std::wstring appendedReason(ItemPos pos, bool targetFound, const std::wstring& target) {
    if ((pos != EP_BEFORE && pos != EP_AFTER) || targetFound)
        return {};
    return L"the target \"" + target + L"\" is not there: appended at the end";
}

std::wstring missingContainerReason(const wchar_t* container, const std::wstring& name, bool makePos) {
    const std::wstring named = std::wstring(container) + L" \"" + name + L"\"";
    return makePos ? L"the " + named + L" could not be made" : L"there is no " + named + L" (MakePos is not set)";
}

} // namespace tern::update::layout
