// Objects made for the rest of the process and never destroyed.
//
// A command builds a large model (a layout of a hundred thousand controls
// and more, a command table of as many commands) and uses it to the end of
// the run, as the application uses its own: the process's end gives the
// memory back at once, where destroying the model part by part cost about
// a tenth of the run. The objects stay reachable, so that a leak checker
// does not count them.

#pragma once

#include <memory>
#include <vector>

namespace tern::cli {

template <class T> T& keptToTheEnd() {
    static auto* const kept = new std::vector<std::unique_ptr<T>>();
    kept->push_back(std::make_unique<T>());
    return *kept->back();
}

} // namespace tern::cli
