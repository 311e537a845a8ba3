// Runs a built program the way a user would from a shell, for end-to-end tests.

#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tern::test {

struct ProgramResult {
    int status = -1;    // the exit status
    std::string output; // standard output and standard error, interleaved
    // The last line of the output (without its line break).
    std::string lastLine() const;
};

// Runs program with arguments (each passed as one argument, quoted as
// needed), in workingFolder, with no standard input, capturing its output.
ProgramResult runProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                         const std::filesystem::path& workingFolder);

struct ProgramStreams {
    int status = -1;
    std::string out;    // standard output
    std::string errors; // standard error
};

// The same, with standard output and standard error captured apart.
ProgramStreams runProgramApart(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                               const std::filesystem::path& workingFolder);

} // namespace tern::test
