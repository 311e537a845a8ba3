// What tnbench-child runs for the benchmark, so that each is measured as a
// whole process: the floors (the work done with pugixml directly) and the
// library's own work that tnupdate has no command for.

#pragma once

#include <string>
#include <vector>

namespace tern::bench {

// floor parse-save IN OUT | parse IN... | settings DEFINITION FOLDER |
//       settings-durable DEFINITION FOLDER (each save flushed and renamed into place)
int runFloor(const std::vector<std::string>& arguments);

// work settings DEFINITION FOLDER: the definition's setting edits,
// applied by the library to the files below FOLDER.
int runLibraryWork(const std::vector<std::string>& arguments);

} // namespace tern::bench
