// The files a one-step replace (file_system.h: writeFileReplacing, a
// replacing copyFile) writes beside its target before they take the
// target's place, and the removal of those a killed process left behind.
// Written once for both backends.
//
// Such a file is named "." + the first 48 characters of the target's name +
// "." + the writing process's id + "-" + a counter + ".tmp", for instance
// ".Display.xml.4711-0.tmp": hidden from a POSIX listing, short enough for
// any file system's 255-character name limit, and telling which process
// wrote it. A process killed between creating it and renaming it over the
// target leaves it behind; while that process runs, its file is left alone.
// The hidden folder that new files are copied into out of sight
// (platform/posix/folder_staging.h) is named the same way, after the folder
// whose place it takes.

#pragma once

#include <string>

namespace tern::platform {

// A name for a new file beside the target named `targetName` (a name, not
// a path), never given out before by this process.
std::wstring temporaryNameBeside(const std::wstring& targetName);

// Removes the files of that naming from `folder` (a system path ending in a
// backslash, or empty for the working folder) whose process no longer runs,
// read-only ones included, and the folders of that naming with the files
// they hold. Failures are ignored: what stays is removed by a later save.
void removeStaleTemporaryFiles(const std::wstring& folder);

// The same, at most once per folder in this process: for writes that come
// by the thousand into one folder (the copies of a run), where listing the
// folder each time would cost more than the copies. What a process killed
// meanwhile leaves is removed by a later process.
void removeStaleTemporaryFilesOnce(const std::wstring& folder);

} // namespace tern::platform
