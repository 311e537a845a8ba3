// What the layout items tell the host's run report: each item applied to a
// layout table, or not applied and why.
//
// The subject names the item as its definition reads, by its element and key
// attributes (`Command SID="ID_DRAW_ARC" Ribbon Tab="Home" Group="Draw"`); the
// place is the table's "type NAME, mode M". Subjects and reasons are given as
// functions that build them, called only when a report is installed, so an
// item costs one pointer test per table when nobody listens. A table of
// another mode than the item's is none of the item's business and is not
// reported.

#pragma once

#include "update/layout/layout_item.h"
#include "update/run_report.h"

#include <string>
#include <type_traits>

namespace tern::update::layout {

class LayoutTable;

// "type NAME, mode M": where a table stands in the layout.
std::wstring placeOf(const LayoutTable& table);

// ` NAME="VALUE"`, as the attribute stands in its element.
std::wstring attributeText(std::wstring_view name, const std::wstring& value);

// Why a "Before" or "After" entry went to the end: its target is not among
// the siblings. Empty for any other position, and when the target was found.
std::wstring appendedReason(ItemPos pos, bool targetFound, const std::wstring& target);

// Why a container (a "tab", "group", "menu" or "toolbar") named `name` was
// not there to take the entry: it is missing and "MakePos" does not ask for
// it, or it could not be made.
std::wstring missingContainerReason(const wchar_t* container, const std::wstring& name, bool makePos);

namespace detail {

inline std::wstring textOf(const wchar_t* text) { return text ? text : L""; }
template <class MakeText, class = std::enable_if_t<std::is_invocable_r_v<std::wstring, const MakeText&>>>
std::wstring textOf(const MakeText& makeText) {
    return makeText();
}

template <class Subject, class Reason>
void reportItem(core::RunEvent event, const LayoutTable& table, const Subject& subject, const Reason& reason) {
    report([&] {
        core::RunEventDetails details{event, {}, {}, subject(), placeOf(table), {}, textOf(reason)};
        return details;
    });
}

} // namespace detail

// Tells the report that the item subject() was applied to table; a
// non-empty reason says it was done otherwise than asked. Returns true.
template <class Subject, class Reason = const wchar_t*>
bool reportApplied(const LayoutTable& table, const Subject& subject, const Reason& reason = nullptr) {
    detail::reportItem(core::RunEvent::layoutItemApplied, table, subject, reason);
    return true;
}

// Tells the report why the item subject() was not applied to table; reason
// is a text or a function that builds it. Returns false.
template <class Subject, class Reason>
bool reportNotApplied(const LayoutTable& table, const Subject& subject, const Reason& reason) {
    detail::reportItem(core::RunEvent::layoutItemNotApplied, table, subject, reason);
    return false;
}

} // namespace tern::update::layout
