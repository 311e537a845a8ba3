// A value that copies share until one of them is changed: the bars of a
// layout mode are copied into a working table for every mode an option or
// an update edits, and the edits touch a few groups, a menu, a toolbar, so
// the rest is shared rather than copied.
//
// read() shows the value; write() gives it for changing, first taking a
// copy of its own when another holder shares it. A reference or pointer
// into the value is therefore the holder's only until the holder is copied:
// take them again after a copy. An empty holder (default or moved from)
// reads as a default value.

#pragma once

#include <memory>

namespace tern::layout {

template <class T> class CopyOnWrite {
public:
    const T& read() const { return value ? *value : empty(); }

    T& write() {
        if (!value)
            value = std::make_shared<T>();
        else if (value.use_count() > 1)
            value = std::make_shared<T>(*value);
        return *value;
    }

private:
    static const T& empty() {
        static const T nothing;
        return nothing;
    }

    std::shared_ptr<T> value;
};

} // namespace tern::layout
