// tnbench-child: what the benchmark and the output check run as processes
// of their own (programs.h).

#include "bench/programs.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    const std::vector<std::string> rest(argv + std::min(argc, 2), argv + argc);
    if (what == "floor")
        return tern::bench::runFloor(rest);
    if (what == "work")
        return tern::bench::runLibraryWork(rest);
    std::cerr
        << "usage: tnbench-child floor parse-save IN OUT | floor parse IN... | floor settings[-durable] DEFINITION "
           "FOLDER\n"
           "       tnbench-child work settings DEFINITION FOLDER\n";
    return 2;
}
