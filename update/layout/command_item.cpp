#include "update/layout/command.h"

#include "update/layout/item_attributes.h"
#include "update/layout/item_events.h"
#include "update/load_report.h"
#include "update/skipped_element.h"

namespace tern::update::layout {

namespace xml = utility::xml;
using namespace std::string_view_literals;

namespace {

struct Placement {
    std::wstring_view element; // its length known, for the comparison with every element
    ItemKind kind;
    std::wstring_view placeAttribute;
    std::wstring_view groupAttribute; // empty when the bar has no groups
    const wchar_t* required;          // what an empty place lacks, for the report
};

const Placement placements[] = {
    {L"Ribbon", EK_RIBBON, L"Tab", L"Group", L"a \"Tab\" and a \"Group\""},
    {L"Menu", EK_MENU, L"Path", {}, L"a \"Path\""},
    {L"CommandPanel", EK_COMMANDPANEL, L"Name", {}, L"a \"Name\""},
};

const Placement* findPlacement(const xml::Element& element) {
    for (const Placement& placement : placements)
        if (xml::checkNodeName(element, placement.element))
            return &placement;
    return nullptr;
}

const Placement* findPlacement(ItemKind kind) {
    for (const Placement& placement : placements)
        if (kind == placement.kind)
            return &placement;
    return nullptr;
}

} // namespace

bool CommandItem::load(const xml::Element& element) {
    *this = CommandItem();
    const Placement* placement = findPlacement(element);
    if (!placement) {
        reportDropped(element, [&] {
            return skippedElementMessage(element, L"Command", {L"Ribbon", L"Menu", L"CommandPanel"});
        });
        return false;
    }
    try {
        kind = placement->kind;
        ItemAttributes(element)
            .text(placement->placeAttribute, place)
            .text(placement->groupAttribute, group)
            .mode(mode)
            .pos(pos)
            .flag(L"MakePos"sv, makePos)
            .text(L"Target"sv, target)
            .flag(L"BeginGroup"sv, beginGroup)
            .read();
    } catch (const xml::DomError&) {
        reportUnreadable(element);
        return false;
    }
    if (place.empty() || (!placement->groupAttribute.empty() && group.empty()))
        reportMissing(element, placement->required, L"places nothing");
    reportMissingTarget(element, pos, target);
    return true;
}

std::wstring CommandItem::describe() const {
    const Placement* placement = findPlacement(kind);
    if (!placement)
        return {};
    std::wstring text(placement->element);
    text += attributeText(placement->placeAttribute, place);
    if (!placement->groupAttribute.empty())
        text += attributeText(placement->groupAttribute, group);
    return text;
}

} // namespace tern::update::layout
