// Reading a definition file into update entries.
//
// The update definition (root "Update_Data") and an option's definition
// (root "Option_Data") list their entries the same way: "Update" children,
// newest first, each read by UpdateData::load. An option's definition may
// also hold bare "Layout" children, each read as an entry of version "0.0".
//
// One entry that its loader rejects rejects the whole file: the result is
// false, and the entries read before it stay appended (or have been
// taken, when they are given one by one). A missing or
// malformed file, another root, or a DOM failure also gives false. The file
// is read inside its own COM apartment. What is dropped or out of order is
// told to the load listener.

#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tern::utility::xml {
class Element;
}

namespace tern::update {

class UpdateData;

// Whether the root's bare "Layout" children are entries or are skipped.
enum class BareLayouts { skip, load };

// Appends the entries of the file at path to updates (it does not empty it).
bool loadDefinitionFile(std::vector<UpdateData*>& updates, const wchar_t* path, const std::wstring& rootName,
                        BareLayouts bareLayouts);

// What a definition load does with each entry it has read.
using TakeEntry = std::function<void(std::unique_ptr<UpdateData> entry)>;

// The same for the root element of a definition the caller has loaded
// already, inside the COM apartment it keeps open: each entry is given to
// `take` as soon as it is read, so that a caller that only looks at the
// entries need not hold them all.
bool loadDefinition(const utility::xml::Element& root, const std::wstring& rootName, BareLayouts bareLayouts,
                    const TakeEntry& take);

} // namespace tern::update
