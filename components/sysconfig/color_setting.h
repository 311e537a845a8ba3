// CColorSetting: the colour table ("System_Color.xml"), numbered colours of
// which some are the user's own (docs/settings-files.md).
//
// The table is read whole into the object and written whole, in ascending
// order of number and in the current version of the format (3).

#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tern::ui::setting {

// One colour of the table.
struct TnSystemColor {
    std::int32_t no = 0;     // its number, "No"
    std::uint32_t value = 0; // the colour, "Value"
    bool user = false;       // made by the user, "User" = "1"
};

// What checkFileVersion finds.
enum EVersionCheck : std::int32_t {
    EV_NO_TABLE = 0, // missing, not well-formed, or its root is not "ColorSetting"
    EV_OUTDATED = 1, // no "Version", one that is no number, or one below 3
    EV_CURRENT = 2,  // "Version" 3
    EV_NEWER = 3,    // "Version" above 3
};

class CColorSetting {
public:
    static EVersionCheck checkFileVersion(const std::wstring& path);

    // Appends the user's own colours of the file to colors: true when the
    // file is a colour table loadXML would read.
    static bool loadXMLUserColors(std::vector<TnSystemColor>& colors, const std::wstring& path);

    // Reads the table in place of the one held: true when the file is a
    // colour table whose every "Color" entry has a number, used once, and a
    // colour. Otherwise the object holds an empty table.
    bool loadXML(const std::wstring& path);

    // Puts each colour into the table by its number, in place of the entry of
    // that number or as a new one, marked as the user's own.
    void overwriteUserColors(const std::vector<TnSystemColor>& colors);

    // Whether entry 0 is white: the table then holds black and white
    // exchanged.
    bool isSwappedBW() const;

    // Turns every black colour white and every white one black.
    void swapBW();

    // Writes the table to path, whole or not at all; true when the file
    // holds it afterwards.
    bool saveXML(const std::wstring& path) const;

private:
    std::map<std::int32_t, TnSystemColor> table; // by number
};

} // namespace tern::ui::setting
