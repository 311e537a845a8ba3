// The layout tables of a whole layout model: one LayoutTable per layout mode
// of each layout type, built before the layout edit items run and committed
// before the layout file is saved. The update and the option appender build
// and commit them alike; they differ only in what a failed setup means and
// in what each table carries besides the mode's bars.

#pragma once

#include "update/layout/layout_table.h"

#include <functional>
#include <string>
#include <vector>

namespace tern::layout {
class LayoutManager;
class LayoutTypeData;
}

namespace tern::update::layout {

// What building does with a table whose setup fails.
enum class FailedSetup {
    skip, // drop that table and go on with the next mode
    stop, // drop that table and fail the whole build
};

// Called with each new table and its layout type before the table is set up.
using TablePreparation = std::function<void(LayoutTable&, const tern::layout::LayoutTypeData&)>;

// Appends to `tables` (whose owner deletes them) one set-up table per
// layout mode of each layout type of `manager`: types in the model's order,
// modes in the order normal, 3D, red; a type lacking a mode has no table
// for it, and a mode of another name is never edited. False when the model
// has no layout type, a type cannot be found by its name, or a setup fails
// under FailedSetup::stop; the tables built until then stay in `tables`.
bool buildLayoutTables(std::vector<LayoutTable*>& tables, const tern::layout::LayoutManager& manager,
                       const utility::CCommandTable& commandTable, FailedSetup onFailedSetup,
                       const TablePreparation& prepare = nullptr);

// Commits every table whose ribbon, menu or toolbars an item changed, in order (null entries skipped); false at
// the first commit that fails, leaving the later tables uncommitted. `failed`, when given, gets that table.
bool commitChangedTables(const std::vector<LayoutTable*>& tables, const utility::CCommandTable& commandTable,
                         const LayoutTable** failed = nullptr);

// Commits the changed tables into the model and writes it to layoutFile:
// true when every commit and the write succeeded. A failed commit writes no
// file. The run report hears of the file written, or not written and why.
bool saveChangedLayout(const std::vector<LayoutTable*>& tables, const tern::layout::LayoutManager& manager,
                       const std::wstring& layoutFile, const utility::CCommandTable& commandTable);

} // namespace tern::update::layout
