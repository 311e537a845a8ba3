#include "tests/dll/window_answerer.h"

#include <chrono>
#include <utility>
#include <vector>

namespace tern::test {
namespace {

// The visible dialog-class windows of a thread: the dialog a modal loop of
// that thread shows, and a message box.
std::vector<HWND> visibleDialogsOf(DWORD thread) {
    std::vector<HWND> dialogs;
    ::EnumThreadWindows(
        thread,
        [](HWND window, LPARAM found) -> BOOL {
            wchar_t className[16] = {};
            ::GetClassNameW(window, className, 16);
            if (::IsWindowVisible(window) && std::wstring(className) == L"#32770")
                reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

std::wstring captionOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace

bool canShowWindows() {
    const HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (!window)
        return false;
    ::DestroyWindow(window);
    return true;
}

void pressButton(HWND window, int id) { ::SendMessageW(::GetDlgItem(window, id), BM_CLICK, 0, 0); }

WindowAnswerer::WindowAnswerer(std::wstring caption, Answer answer, int giveUpCommand)
    : caption(std::move(caption)), answer(std::move(answer)), giveUpCommand(giveUpCommand),
      modalThread(::GetCurrentThreadId()), waiter([this] { wait(); }) {}

WindowAnswerer::~WindowAnswerer() {
    if (waiter.joinable())
        waiter.join();
}

bool WindowAnswerer::answered() {
    if (waiter.joinable())
        waiter.join();
    return found;
}

HWND WindowAnswerer::findWindow() const {
    for (const HWND window : visibleDialogsOf(modalThread)) {
        if (captionOf(window) == caption)
            return window;
    }
    return nullptr;
}

void WindowAnswerer::wait() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(patienceMilliseconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (const HWND window = findWindow()) {
            found = true;
            answer(window);
            return;
        }
        ::Sleep(10);
    }
    for (const HWND window : visibleDialogsOf(modalThread))
        ::PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(giveUpCommand), 0);
}

} // namespace tern::test
