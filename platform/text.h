// The system's wide text: conversions to and from UTF-8, and names compared
// without regard to letter case.
//
// Wide strings are UTF-16 on Windows and UTF-32 elsewhere; both convert
// losslessly to UTF-8. An unpaired surrogate or an invalid UTF-8 sequence
// becomes U+FFFD rather than failing: these conversions serve output and
// file names, where a readable result beats an error.
//
// Letter case is folded as Windows folds file names, on every platform:
// each UTF-16 unit stands for its upper case, the simple upper-case mapping
// of the Unicode Character Database where the upper-case letter's own
// lower-case mapping leads back (platform/upper_case_table.h). So "été"
// equals "ÉTÉ" and "σ" "Σ", but "ß" is not "SS" (no single unit is), nor
// "ı" "I". A character beyond U+FFFF is two surrogate units in UTF-16,
// which have no case: it is left as it is, also where it is one wide
// character.

#pragma once

#include <string>
#include <string_view>

namespace tern::platform {

std::string toUtf8(std::wstring_view text);
std::wstring fromUtf8(std::string_view text);

// The upper case of one wide character.
wchar_t toUpperCase(wchar_t c);

// Whether two names are equal without regard to letter case, as Windows
// compares file names and as the library compares names found in listings.
bool equalIgnoringCase(std::wstring_view a, std::wstring_view b);

// Whether `a` comes before `b` once both are upper-cased, comparing UTF-16
// units (the order in which NTFS keeps a folder's names). Names that are
// equal without regard to case come before neither.
bool lessIgnoringCase(std::wstring_view a, std::wstring_view b);

// A key whose plain order is lessIgnoringCase's: made once per name, it
// spares a sort of many names folding them at every comparison.
std::u32string caseOrderKey(std::wstring_view name);

} // namespace tern::platform
