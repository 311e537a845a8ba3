// The standard input as a file, for loaders that read files: "-" in place
// of a file name on the command line.

#pragma once

#include <string>

namespace tern::cli {

// Reads the standard input to its end into a new file in the system's
// temporary folder, removed with this object.
class StandardInputFile {
public:
    StandardInputFile();
    ~StandardInputFile();
    StandardInputFile(const StandardInputFile&) = delete;
    StandardInputFile& operator=(const StandardInputFile&) = delete;

    // The file's system path; empty when the input could not be read or the
    // file not written, and then problem() says why.
    const std::wstring& path() const { return file; }
    const std::wstring& problem() const { return why; }

private:
    std::wstring file;
    std::wstring why;
};

} // namespace tern::cli
