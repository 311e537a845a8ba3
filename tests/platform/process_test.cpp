#include "platform/process.h"

#include <gtest/gtest.h>

namespace tern::platform {
namespace {

TEST(ProcessTest, IsProcessRunning_ForThisProcess_AndNotForAnIdNoProcessHas) {
    EXPECT_TRUE(isProcessRunning(currentProcessId()));
    EXPECT_FALSE(isProcessRunning(2147483644));
    // 0 is the caller's process group on POSIX and the idle process on
    // Windows: whatever names it is left alone.
    EXPECT_TRUE(isProcessRunning(0));
}

} // namespace
} // namespace tern::platform
