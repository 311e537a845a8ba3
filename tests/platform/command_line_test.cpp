// The width of the terminal the standard output is shown on, asked of a
// real pseudo-terminal.

#include "platform/command_line.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#endif

namespace tern::platform {
namespace {

#ifndef _WIN32
// Runs terminalWidth with the standard output moved to descriptor for the
// length of the call.
std::size_t widthWithOutputOn(int descriptor) {
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    ::dup2(descriptor, STDOUT_FILENO);
    const std::size_t width = terminalWidth();
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    return width;
}

// A pseudo-terminal whose window is `columns` wide.
class PseudoTerminal {
public:
    explicit PseudoTerminal(unsigned short columns) {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
            return;
        winsize size{};
        size.ws_row = 24;
        size.ws_col = columns;
        ::ioctl(master, TIOCSWINSZ, &size);
        slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
    }
    ~PseudoTerminal() {
        if (slave >= 0)
            ::close(slave);
        if (master >= 0)
            ::close(master);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    int slave = -1;

private:
    int master = -1;
};

TEST(TerminalWidth, IsTheTerminalsColumns_Or80WhenTheOutputIsNoTerminalOrTellsNoWidth) {
    const PseudoTerminal narrow(57);
    ASSERT_GE(narrow.slave, 0) << "no pseudo-terminal to be had";
    EXPECT_EQ(widthWithOutputOn(narrow.slave), 57u);
    const PseudoTerminal wide(211);
    EXPECT_EQ(widthWithOutputOn(wide.slave), 211u);
    const PseudoTerminal unknown(0);
    EXPECT_EQ(widthWithOutputOn(unknown.slave), 80u);

    const int file = ::open("/dev/null", O_WRONLY);
    ASSERT_GE(file, 0);
    EXPECT_EQ(widthWithOutputOn(file), 80u);
    ::close(file);
}
#endif

} // namespace
} // namespace tern::platform
