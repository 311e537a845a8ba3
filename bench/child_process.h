// Running a program and reading what it cost: the CPU time (user and
// system) and the peak resident memory the kernel accounts to it. Measuring
// a whole process puts the library's work and its floor on the same footing:
// both pay their start, their reads and their writes, and nothing the
// benchmark itself does between runs is counted.

#pragma once

#include <string>
#include <vector>

namespace tern::bench {

struct ChildCost {
    double cpuSeconds = 0;  // user + system
    long peakKilobytes = 0; // the largest resident set
    int exitStatus = -1;    // -1 when it did not exit normally
};

// Runs the program (argv[0] is its path) with its output discarded and
// waits for it.
ChildCost runChild(const std::vector<std::string>& argv);

} // namespace tern::bench
