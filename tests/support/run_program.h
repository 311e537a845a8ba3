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
    int status = -1;    // the exit status
    std::string output; // standard output alone
    std::string errors; // standard error alone
};

// The same with standard output and standard error kept apart, and `input`
// as the program's standard input (none when empty).
ProgramStreams runProgramWithStreams(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                                     const std::filesystem::path& workingFolder, const std::string& input = {});

} // namespace tern::test
