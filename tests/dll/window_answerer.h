// A stand-in for the user in front of the library's message box and dialog.
//
// The test's thread sits in the modal loop that shows the window, while an
// answerer waits on a thread of its own for the window to appear and works
// its controls, as a user would, through messages. A test never hangs: an
// answerer that finds no window in time posts its give-up command to the
// test thread's dialogs, which ends any modal loop still open, and reports
// that it found none.

#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

namespace tern::test {

// Whether this process can show windows. Wine cannot without an X display
// (DISPLAY unset): every window fails to open.
bool canShowWindows();

// Presses a button of a dialog or message box, as a click would.
void pressButton(HWND window, int id);

class WindowAnswerer {
public:
    using Answer = std::function<void(HWND window)>;

    // Waits for a visible dialog-class ("#32770") window with the caption,
    // made by the thread that constructs the answerer, and calls answer with
    // it on the answerer's thread.
    WindowAnswerer(std::wstring caption, Answer answer, int giveUpCommand);
    ~WindowAnswerer();
    WindowAnswerer(const WindowAnswerer&) = delete;
    WindowAnswerer& operator=(const WindowAnswerer&) = delete;

    // Waits until the answerer is done; true when it found the window and
    // answered it, false when it gave up.
    bool answered();

    // How long the answerer waits for the window.
    static constexpr DWORD patienceMilliseconds = 10000;

private:
    void wait();
    HWND findWindow() const;

    std::wstring caption;
    Answer answer;
    int giveUpCommand;
    DWORD modalThread;
    bool found = false;
    std::thread waiter;
};

} // namespace tern::test
