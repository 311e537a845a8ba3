// What the library's loaders find wrong with a file, for `tnupdate check`
// and for the warnings `update` and `option` print before they run.
//
// A problem has the line of the file it was found at (0 when no line is
// known) and a message. It is printed the way compilers print theirs, so
// that editors jump to it: "FILE:LINE: message", or "FILE: message" without
// a line, FILE as the user wrote it.
//
// A definition is read with the library's own loaders under a listener that
// turns everything they drop, default or reject into a problem; a file that
// cannot be read, is not well-formed XML or has another root is one problem
// that says so. The run itself reads the file again, as it always does: the
// warnings change nothing of what it does.

#pragma once

#include "components/utility/xml.h"
#include "update/definition_file.h"

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace tern::utility {
class CCommandTable;
}

namespace tern::update {
class UpdateData;
}

namespace tern::cli {

struct Problem {
    int line = 0; // 1-based; 0 when unknown
    std::wstring message;
};

// "FILE:LINE: message", or "FILE: message" when the line is unknown.
std::string located(const std::string& shownPath, const Problem& problem);

// How the library reads one kind of definition: the root it requires and
// whether bare "Layout" children of the root are entries.
struct DefinitionKind {
    const wchar_t* rootName;
    update::BareLayouts bareLayouts;
};
extern const DefinitionKind updateDefinition; // "Update_Data"
extern const DefinitionKind optionDefinition; // "Option_Data"

// Parses the file at path into document and root; false when it cannot be
// read or is not one well-formed XML document, with that problem (and the
// parser's line) added to problems. Call inside a COM apartment.
bool openXmlFile(const std::wstring& path, utility::xml::Document& document, utility::xml::Element& root,
                 std::vector<Problem>& problems);

// Reads a parsed definition as the library reads a definition of that kind,
// showing each entry to `look` as soon as it is read (and destroying it
// then, so that a definition of any size is read in little memory) and
// appending everything the loaders report. With a command table, a
// "Command" whose SID it does not know is a problem too.
void readDefinition(const utility::xml::Element& root, const DefinitionKind& kind,
                    const utility::CCommandTable* commands, const std::function<void(const update::UpdateData&)>& look,
                    std::vector<Problem>& problems);

// Loads the definition file at path as a run of that kind reads it and
// prints each problem on `out` as "warning: FILE:LINE: message", FILE being
// shownPath. Prints nothing for a definition without problems.
void warnDefinitionProblems(const std::wstring& path, const std::string& shownPath, const DefinitionKind& kind,
                            std::ostream& out);

} // namespace tern::cli
