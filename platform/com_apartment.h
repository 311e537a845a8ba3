// The COM apartment that every XML file is opened in.
//
// The library brackets each XML file's work with CoInitialize(NULL) and
// CoUninitialize on the calling thread. A ComApartment is that pair: it
// initialises COM when made and, when that succeeded, uninitialises it when
// destroyed, so every way out of a scope pairs the two calls. On POSIX there
// is no COM: the apartment always opens and does nothing.

#pragma once

namespace tern::platform {

class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // Whether CoInitialize succeeded; a caller that finds it false fails.
    bool ok() const { return opened; }

private:
    bool opened = false;
};

} // namespace tern::platform
