// Reading and writing the layout file ("Config\Display.xml"); the format is
// described in docs/layout-file.md. Reading opens a COM apartment of its own
// around its file work (platform/com_apartment.h), so it works on any
// thread, whether or not the caller has COM open, and fails when COM cannot
// be opened. Writing needs no DOM: the model is written out as text, handed
// to the file as it is made.

#pragma once

#include "components/layout/layout_type_data.h"
#include "components/utility/command_table.h"

#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace tern::layout {

using LayoutTypes = std::vector<std::unique_ptr<LayoutTypeData>>;

// The "Position" texts of a toolbar, indexed by XTPBarPosition.
inline constexpr const wchar_t* barPositionNames[] = {L"Top", L"Bottom", L"Left", L"Right", L"Floating"};

// Reads the file into `types`, resolving each SID through the command
// table. False, with `problem` naming the file, the line when known and
// what is wrong, when the file cannot be read or breaks the format; `types`
// is then untouched. Popups nested to any depth the XML parser takes are
// read without using the stack per level.
bool readLayoutFile(const std::wstring& path, const utility::CCommandTable& commandTable, LayoutTypes& types,
                    std::wstring& problem);

// Writes the types to the file in UTF-8, one element a line, indented two
// spaces a level down to the sixteenth level and no further below it (so the
// file grows in step with the model however deep its menus nest), with a
// line break at the end; the file is replaced in one step, and false leaves
// the old file as it was. The text is made straight from the model and
// handed to the file a block at a time, so that nothing near the file's
// size is held beside the model.
// `why`, when given, gets the reason of a failure.
bool writeLayoutFile(const std::wstring& path, const LayoutTypes& types, const utility::CCommandTable& commandTable,
                     std::error_code* why = nullptr);

} // namespace tern::layout
