// Containers that own the raw pointers they hold.
//
// Entries, sections, items, prototypes and layout tables are held as raw
// pointers owned by the vector (or map) that holds them, and destroyed
// through their virtual destructors, as the design has them. These helpers
// are the only code that does that owning, so nothing leaks when a step
// throws: an object stays in a std::unique_ptr until the container has made
// room for it, and a container is emptied by one loop that deletes all.

#pragma once

#include <map>
#include <memory>
#include <vector>

namespace tern::update {

// Deletes every object the vector owns and empties it.
template <class T, class Allocator> void deleteAll(std::vector<T*, Allocator>& owned) {
    for (T* object : owned)
        delete object;
    owned.clear();
}

// Deletes every object the map owns and empties it.
template <class Key, class T, class Compare, class Allocator>
void deleteAll(std::map<Key, T*, Compare, Allocator>& owned) {
    for (auto& entry : owned)
        delete entry.second;
    owned.clear();
}

// Appends the object to the vector, which takes it over. The slot is made
// first: when growing the vector throws, `object` still holds it and
// deletes it.
template <class T, class Allocator, class Derived>
void pushOwned(std::vector<T*, Allocator>& owned, std::unique_ptr<Derived> object) {
    owned.push_back(nullptr);
    owned.back() = object.release();
}

// Appends to `owned` a clone of every object of `originals`, leaving out
// null ones. When a clone throws, the clones made before it are already in
// `owned`, whose owner deletes them.
template <class T, class Allocator>
void cloneAll(std::vector<T*, Allocator>& owned, const std::vector<T*, Allocator>& originals) {
    for (const T* original : originals)
        if (original)
            pushOwned(owned, std::unique_ptr<T>(original->clone()));
}

} // namespace tern::update
