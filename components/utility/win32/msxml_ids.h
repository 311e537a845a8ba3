// The MSXML class and interface identifiers used here. MinGW's import
// libraries lack some of them, so they are spelt out once, under names that
// cannot clash with an SDK's own definitions.

#pragma once

#include <windows.h>

namespace tern::utility::xml::com {

// MSXML 3, which every Windows since XP ships and Wine provides. Its
// selection language is XSLPattern until set to XPath.
inline const CLSID domDocument30 = {0xF5078F32, 0xC551, 0x11D3, {0x89, 0xB9, 0x00, 0x00, 0xF8, 0x1F, 0xE2, 0x21}};
inline const IID idDocument2 = {0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
inline const IID idElement = {0x2933BF86, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

} // namespace tern::utility::xml::com
