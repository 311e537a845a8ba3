// Version texts: "major.minor", as the definition and the version files write them.
//
// A text splits at its first dot when the dot stands after the first
// character and before the last one; otherwise the whole text is the major
// number and the minor number is 0. Numbers read as _wtoi reads them:
// optional leading white space and sign, then decimal digits up to the first
// other character, 0 when there are none.

#pragma once

#include <cstdint>
#include <string>

namespace tern::update {

// The number at the start of text, as _wtoi reads it.
std::int32_t readNumber(const std::wstring& text);

// False for an empty text, which leaves the out value unchanged.
bool parseMajor(std::int32_t& major, const std::wstring& text);
bool parseMinor(std::int32_t& minor, const std::wstring& text);

// Whether version (major, minor) is newer than (thanMajor, thanMinor):
// majors compare first, minors when the majors are equal.
inline bool isNewerVersion(std::int32_t major, std::int32_t minor, std::int32_t thanMajor, std::int32_t thanMinor) {
    return major != thanMajor ? major > thanMajor : minor > thanMinor;
}

} // namespace tern::update
