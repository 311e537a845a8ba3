// The main of every test program. The application runs with COM open on its
// user-interface thread, so a test program does too (on POSIX the apartment
// does nothing). The library and its components open an apartment of their
// own around each file, which the tests that run them on a thread of their
// own prove; but many tests also parse XML themselves and hand the nodes to
// the code under test, and those documents need COM open for as long as the
// test holds them.

#include "platform/com_apartment.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    const tern::platform::ComApartment apartment;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
