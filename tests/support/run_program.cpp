#include "tests/support/run_program.h"

#include "tests/support/temp_folder.h"

#include <cstdlib>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace tern::test {

namespace {

#ifdef _WIN32
// Quoted for the C runtime's argument splitting: backslashes are literal
// except before a quote, where they and the quote are escaped.
std::string quote(const std::string& text) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : text) {
        if (c == '\\') {
            ++backslashes;
        } else {
            if (c == '"')
                quoted.append(backslashes + 1, '\\');
            backslashes = 0;
        }
        quoted += c;
    }
    quoted.append(backslashes, '\\');
    return quoted + "\"";
}
const char* const changeFolder = "cd /d ";
const char* const noInput = " < NUL";
#else
// Quoted for the POSIX shell: single quotes, each inner one closed and escaped.
std::string quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}
const char* const changeFolder = "cd ";
const char* const noInput = " < /dev/null";
#endif

int exitStatus(int raw) {
#ifdef _WIN32
    return raw;
#else
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
}

} // namespace

std::string ProgramResult::lastLine() const {
    std::string text = output;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    const auto start = text.find_last_of('\n');
    return start == std::string::npos ? text : text.substr(start + 1);
}

namespace {

// The command line that runs program in workingFolder, up to its redirections.
std::string commandOf(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                      const std::filesystem::path& workingFolder) {
    std::string command = changeFolder + quote(workingFolder.string()) + " && " + quote(program.string());
    for (const auto& argument : arguments)
        command += " " + quote(argument);
    return command;
}

int runCommand(std::string command) {
#ifdef _WIN32
    // cmd.exe strips the outermost quotes of the line it is given.
    command = "\"" + command + "\"";
    // Under Wine the command processor now and then fails to start at all,
    // and std::system gives -1; or it starts but does not find the program
    // it is given, which is always there, and says 9009, "not recognised".
    // Either way nothing has run, so it is asked again.
    constexpr int notStarted = -1;
    constexpr int notRecognised = 9009;
    int raw = notStarted;
    for (int attempt = 0; attempt < 3 && (raw == notStarted || raw == notRecognised); ++attempt)
        raw = std::system(command.c_str());
    return exitStatus(raw);
#else
    return exitStatus(std::system(command.c_str()));
#endif
}

// The text a program wrote to the file, which is then removed.
std::string takeOutput(const std::filesystem::path& file) {
    std::string text = readFile(file);
#ifdef _WIN32
    // A Windows program's text-mode output ends its lines with "\r\n".
    for (auto at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
        text.erase(at, 1);
#endif
    std::filesystem::remove(file);
    return text;
}

} // namespace

ProgramResult runProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                         const std::filesystem::path& workingFolder) {
    const std::filesystem::path outputFile = workingFolder / "program-output.txt";
    // No input: a program that would ask a terminal finds none.
    const std::string command =
        commandOf(program, arguments, workingFolder) + noInput + " > " + quote(outputFile.string()) + " 2>&1";
    ProgramResult result;
    result.status = runCommand(command);
    result.output = takeOutput(outputFile);
    return result;
}

ProgramStreams runProgramWithStreams(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                                     const std::filesystem::path& workingFolder, const std::string& input) {
    const std::filesystem::path inputFile = workingFolder / "program-input.txt";
    const std::filesystem::path outputFile = workingFolder / "program-output.txt";
    const std::filesystem::path errorFile = workingFolder / "program-errors.txt";
    std::string command = commandOf(program, arguments, workingFolder);
    if (input.empty()) {
        command += noInput;
    } else {
        writeFile(inputFile, input);
        command += " < " + quote(inputFile.string());
    }
    command += " > " + quote(outputFile.string()) + " 2> " + quote(errorFile.string());
    ProgramStreams result;
    result.status = runCommand(command);
    result.output = takeOutput(outputFile);
    result.errors = takeOutput(errorFile);
    std::filesystem::remove(inputFile);
    return result;
}

} // namespace tern::test
