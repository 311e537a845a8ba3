// What the definition loaders drop, told to whoever wants to know.
//
// The loaders drop bad elements silently, as the application expects. A tool
// that explains a definition file (tnupdate check) installs a LoadListener
// for the duration of one load; the loaders then tell it, through
// reportDropped, each element they skip or reject and why, and through
// reportCommandRead each command they keep. Without a
// listener, reporting costs looking up one pointer and testing it: a message
// is built, and a check made only to be reported is run, after that test.

#pragma once

#include "components/utility/xml.h"

#include <string>
#include <type_traits>

namespace tern::update {

class LoadListener {
public:
    virtual ~LoadListener() = default;
    // `node` is the element concerned (its line() may be 0 when unknown);
    // `message` says what was dropped or rejected and why.
    virtual void dropped(const utility::xml::Node& node, const std::wstring& message) = 0;
    // `element` is a "Command" the loader keeps, with its SID: for a
    // listener that knows the command table the definition is for. Does
    // nothing unless overridden.
    virtual void commandRead(const utility::xml::Element& element, const std::wstring& sid);
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

// The listener installed on the calling thread; null when nobody listens.
LoadListener* loadListener();

// Tells the installed listener, if any, that something at node was dropped,
// in a message that needs no building.
void reportDropped(const utility::xml::Node& node, const wchar_t* message);

// Tells the installed listener, if any, that a "Command" with that SID is kept.
void reportCommandRead(const utility::xml::Element& element, const std::wstring& sid);

// The same with a message that makeMessage() builds, called only when
// someone listens.
template <class MakeMessage, class = std::enable_if_t<std::is_invocable_r_v<std::wstring, const MakeMessage&>>>
void reportDropped(const utility::xml::Node& node, const MakeMessage& makeMessage) {
    if (LoadListener* listener = loadListener())
        listener->dropped(node, makeMessage());
}

} // namespace tern::update
