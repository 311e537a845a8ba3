// Reading the attributes the layout items share, and telling the load
// listener what a layout item's element drops or defaults.
//
// The readers keep the item's behaviour exactly: a value that is not
// recognised leaves the field at its default, silently for the item. The
// reports are only a side channel for tools that explain a definition.

#pragma once

#include "components/utility/xml.h"
#include "update/layout/layout_item.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tern::update::layout {

// Reads a layout item's attributes in one pass over its element. Each call
// below names one attribute, in the order the listener hears about them:
// texts go straight into the item's fields; codes and flags are read as
// text into room kept between items, then parsed. The room is the thread's,
// so one item is settled before the next one's attributes are read (a
// "Command" settles its own before its placements read theirs).
class ItemAttributes {
public:
    explicit ItemAttributes(const utility::xml::Element& element) : element(element), room(roomForTexts()) {}
    ItemAttributes(const ItemAttributes&) = delete;
    ItemAttributes& operator=(const ItemAttributes&) = delete;

    // Defined here, and named with string-view literals, so that a name's
    // length is known where it is written: made from a bare wide literal,
    // a view measures it at run time, item after item.

    // A text; an empty name reads nothing. `found`, when given, says
    // whether the element holds it.
    ItemAttributes& text(std::wstring_view name, std::wstring& value, bool* found = nullptr) {
        return name.empty() ? *this : want(name, &value, {nullptr, nullptr, nullptr, found});
    }
    // "Mode": "Normal" or "EM_NORMAL", "3dMode", "RedMode".
    ItemAttributes& mode(ItemMode& mode) {
        using namespace std::string_view_literals;
        return want(L"Mode"sv, nullptr, {&mode, nullptr, nullptr, nullptr});
    }
    // "Pos": "First", "Last" or "EP_LAST", "Before", "After".
    ItemAttributes& pos(ItemPos& pos) {
        using namespace std::string_view_literals;
        return want(L"Pos"sv, nullptr, {nullptr, &pos, nullptr, nullptr});
    }
    // A boolean.
    ItemAttributes& flag(std::wstring_view name, bool& value) {
        return want(name, nullptr, {nullptr, nullptr, &value, nullptr});
    }

    // Reads the texts. Raises DomError when the DOM fails.
    void readTexts();
    // Parses the codes and flags: a code or flag that does not read as one
    // leaves its field as it is. The listener is told of those and of the
    // attributes the item does not read.
    void settle();
    void read() {
        readTexts();
        settle();
    }

    // The most any item reads.
    static constexpr std::size_t maxAttributes = 8;

private:
    // Where a code or flag goes once parsed (all three null for a text),
    // and where to say whether the element holds the attribute.
    struct Parsed {
        ItemMode* mode;
        ItemPos* pos;
        bool* flag;
        bool* found;
    };

    ItemAttributes& want(std::wstring_view name, std::wstring* text, const Parsed& wanted) {
        if (count == maxAttributes)
            tooMany();
        fields[count] = {name, text ? text : &room[count], false};
        parsed[count] = wanted;
        ++count;
        return *this;
    }
    [[noreturn]] static void tooMany();
    // Where the texts of the codes and flags are read, kept from one item
    // to the next.
    static std::wstring* roomForTexts();

    const utility::xml::Element& element;
    std::wstring* room;
    // Filled up to count and only read that far, so left uninitialised: an
    // item reads a few, and clearing them all cost more than reading them.
    union {
        utility::xml::AttributeField fields[maxAttributes];
    };
    Parsed parsed[maxAttributes];
    std::size_t count = 0;
    std::vector<std::wstring> others;
};

// Reports that the element lacks `what` (e.g. "a \"Name\"") and what
// follows (e.g. "makes nothing").
void reportMissing(const utility::xml::Element& element, const wchar_t* what, const wchar_t* consequence);
// Reports a "Before" or "After" position without a target.
void reportMissingTarget(const utility::xml::Element& element, ItemPos pos, const std::wstring& target);
// Reports an element the DOM failed to read, which its item drops.
void reportUnreadable(const utility::xml::Element& element);

} // namespace tern::update::layout
