// The containers that own raw pointers: nothing leaks when a container
// cannot grow or a clone throws, and everything owned is deleted.

#include "tests/update/clone_trap.h"
#include "update/owned_pointers.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace tern::update {
namespace {

using test::CloneTrap;

struct Counted : CloneTrap {
    using CloneTrap::CloneTrap;
    Counted* clone() const {
        springIfSet();
        return new Counted(*this);
    }
};

// Allocates through std::allocator until its shared budget of allocations
// is spent, then throws std::bad_alloc.
template <class T> struct RationedAllocator {
    using value_type = T;
    explicit RationedAllocator(int& budget) : budget(&budget) {}
    template <class U> RationedAllocator(const RationedAllocator<U>& other) : budget(other.budget) {}
    T* allocate(std::size_t count) {
        if (*budget == 0)
            throw std::bad_alloc();
        --*budget;
        return std::allocator<T>().allocate(count);
    }
    void deallocate(T* pointer, std::size_t count) { std::allocator<T>().deallocate(pointer, count); }
    template <class U> bool operator==(const RationedAllocator<U>& other) const { return budget == other.budget; }
    template <class U> bool operator!=(const RationedAllocator<U>& other) const { return budget != other.budget; }
    int* budget;
};

TEST(OwnedPointers, PushOwned_DeletesTheObject_WhenTheVectorCannotGrow) {
    int budget = 1;
    std::vector<Counted*, RationedAllocator<Counted*>> owned{RationedAllocator<Counted*>(budget)};
    pushOwned(owned, std::make_unique<Counted>());
    ASSERT_EQ(owned.size(), owned.capacity()) << "the next push must grow the vector";
    EXPECT_THROW(pushOwned(owned, std::make_unique<Counted>()), std::bad_alloc);
    EXPECT_EQ(owned.size(), 1u);
    EXPECT_EQ(CloneTrap::live, 1);
    deleteAll(owned);
    EXPECT_TRUE(owned.empty());
    EXPECT_EQ(CloneTrap::live, 0);
}

TEST(OwnedPointers, CloneAll_HandsTheClonesMadeBeforeAThrowingOneToTheOwner) {
    std::vector<Counted*> originals{new Counted, nullptr, new Counted(true), new Counted};
    std::vector<Counted*> copies;
    EXPECT_THROW(cloneAll(copies, originals), std::bad_alloc);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(CloneTrap::live, 4);
    deleteAll(copies);
    deleteAll(originals);
    EXPECT_EQ(CloneTrap::live, 0);
}

TEST(OwnedPointers, DeleteAll_DeletesWhatAMapOwns_AndEmptiesIt) {
    std::map<std::wstring, Counted*> owned{{L"a", new Counted}, {L"b", nullptr}, {L"c", new Counted}};
    deleteAll(owned);
    EXPECT_TRUE(owned.empty());
    EXPECT_EQ(CloneTrap::live, 0);
}

} // namespace
} // namespace tern::update
