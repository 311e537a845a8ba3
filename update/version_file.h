// Version files: root "Versions", whose "Main" element holds a release's
// version text. The installation's "ja\version.xml" gives the running
// release; a release folder's "version.xml" the state kept in that folder.

#pragma once

#include <string>

namespace tern::update {

// Reads the version text of a version file. False, with `version` left as it
// was, when the path is empty, the file cannot be read, its root is not
// "Versions", it has no "Main" element or the text is empty.
bool readVersionFile(std::wstring& version, const wchar_t* path);

} // namespace tern::update
