// A dialog resource as the resource compiler lays it out (an extended
// template, DLGTEMPLATEEX, and its DLGITEMTEMPLATEEX items), read back from
// its bytes so that a test can compare the whole dialog at once.
//
// A field that holds a name or an ordinal reads as the name, or as "#" and
// the number for an ordinal (the spelling of "#32770", the dialog class);
// an empty field reads as "".

#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tern::test {

// Position and size, in dialog units.
struct DialogRect {
    std::int16_t x = 0, y = 0, width = 0, height = 0;
};

struct DialogItem {
    std::int32_t id = 0;
    std::wstring windowClass;
    std::uint32_t style = 0;
    DialogRect rect;
    std::wstring text;
    std::uint32_t exStyle = 0;
    std::uint32_t helpId = 0;
    std::uint16_t creationDataSize = 0;
};

struct DialogTemplate {
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::uint32_t helpId = 0;
    DialogRect rect;
    std::wstring menu;
    std::wstring windowClass;
    std::wstring caption;
    // Present when the style has DS_SETFONT.
    std::uint16_t pointSize = 0;
    std::uint16_t weight = 0;
    bool italic = false;
    std::uint8_t charset = 0;
    std::wstring typeface;
    std::vector<DialogItem> items;
};

bool operator==(const DialogItem& left, const DialogItem& right);
bool operator==(const DialogTemplate& left, const DialogTemplate& right);
// Field by field, for GoogleTest's failure messages.
void PrintTo(const DialogItem& item, std::ostream* out);
void PrintTo(const DialogTemplate& dialog, std::ostream* out);

// The template in size bytes; nothing when they are not a whole extended
// template.
std::optional<DialogTemplate> readDialogTemplate(const void* bytes, std::size_t size);

} // namespace tern::test
