// What the definition loaders drop, told to whoever wants to know.
//
// The loaders drop bad elements silently, as the application expects. A tool
// that explains a definition file (tnupdate check) installs a LoadListener
// for the duration of one load; the loaders then tell it, through
// reportDropped, each element they skip or reject and why. Without a
// listener, reporting costs one test of a pointer.

#pragma once

#include "components/utility/xml.h"

#include <string>

namespace tern::update {

class LoadListener {
public:
    virtual ~LoadListener() = default;
    // `node` is the element concerned (its line() may be 0 when unknown);
    // `message` says what was dropped or rejected and why.
    virtual void dropped(const utility::xml::Node& node, const std::wstring& message) = 0;
};

// Installs a listener on the calling thread for the life of this object.
class ScopedLoadListener {
public:
    explicit ScopedLoadListener(LoadListener& listener);
    ~ScopedLoadListener();
    ScopedLoadListener(const ScopedLoadListener&) = delete;
    ScopedLoadListener& operator=(const ScopedLoadListener&) = delete;

private:
    LoadListener* previous;
};

// Tells the installed listener, if any, that something at node was dropped.
void reportDropped(const utility::xml::Node& node, const std::wstring& message);

} // namespace tern::update
