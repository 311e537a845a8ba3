// The fixture of the command line's end-to-end tests: a copy of the sample
// data (examples/) in a temporary folder, where the built tnupdate runs as a
// user would run it from a shell.

#pragma once

#include "tests/support/run_program.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tern::cli {

class SampleCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(TN_EXAMPLES_DIR, temp.path(), std::filesystem::copy_options::recursive);
    }

    // tnupdate with its output and errors interleaved, as a terminal shows them.
    test::ProgramResult tnupdate(const std::vector<std::string>& arguments) const {
        return test::runProgram(TNUPDATE_EXE, arguments, temp.path());
    }
    // tnupdate with its output and errors apart, and `input` on its standard input.
    test::ProgramStreams tnupdateApart(const std::vector<std::string>& arguments, const std::string& input = {}) const {
        return test::runProgramWithStreams(TNUPDATE_EXE, arguments, temp.path(), input);
    }

    test::TempFolder temp;
};

} // namespace tern::cli
