// A part for the tests' own items that counts how many of them live and
// makes cloning one of them throw, as a clone that runs out of memory
// midway would: the tests then see whether a copy left anything behind.

#pragma once

#include <new>

namespace tern::test {

class CloneTrap {
public:
    explicit CloneTrap(bool throwsOnClone = false) : throwsOnClone(throwsOnClone) { ++live; }
    CloneTrap(const CloneTrap& other) : throwsOnClone(other.throwsOnClone) { ++live; }
    CloneTrap& operator=(const CloneTrap&) = default;
    ~CloneTrap() { --live; }

    // Called by the item's clone before it copies anything.
    void springIfSet() const {
        if (throwsOnClone)
            throw std::bad_alloc();
    }

    // The objects holding a trap that exist now.
    static inline int live = 0;

private:
    bool throwsOnClone;
};

} // namespace tern::test
