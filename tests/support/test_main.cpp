// The main of every test program. The application runs with COM open on its
// user-interface thread, so a test program does too: a test that reads XML
// without an apartment of its own behaves as it would in the application.
// (On POSIX the apartment does nothing.)

#include "platform/com_apartment.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    const tern::platform::ComApartment apartment;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
