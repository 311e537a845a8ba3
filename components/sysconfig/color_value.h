// Colours as the settings files write them: one decimal number, red +
// 256 x green + 65536 x blue, so 0 is black and 16777215 white.

#pragma once

#include <cstdint>
#include <string>

namespace tern::ui::setting {

constexpr std::uint32_t blackColor = 0x000000;
constexpr std::uint32_t whiteColor = 0xFFFFFF;

// True when text is a colour: decimal digits only (leading zeros allowed),
// 0 to 16777215. value is left as it was otherwise.
bool parseColor(const std::wstring& text, std::uint32_t& value);

// The colour as the files write it.
std::wstring colorText(std::uint32_t value);

// White for black, black for white, any other colour as it is.
constexpr std::uint32_t swappedBW(std::uint32_t value) {
    return value == blackColor ? whiteColor : value == whiteColor ? blackColor : value;
}

} // namespace tern::ui::setting
