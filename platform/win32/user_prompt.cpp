#include "platform/user_prompt.h"

#include "resources/resource_texts.h"

#include <windows.h>

#include <shlwapi.h>

namespace tern::platform {
namespace {

// The module that holds this code, whose resources are the library's: the
// DLL inside the application, or a program that links the library's objects.
// The host's module (GetModuleHandle(NULL)) has none of them.
HMODULE libraryModule() {
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&libraryModule), &module);
    return module;
}

// The running program's file name without its extension: the title a
// framework gives a program's message boxes when it names itself no other.
std::wstring programName() {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = 0;
    // A path that fills the buffer may have been cut short.
    while ((length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) == path.size())
        path.resize(path.size() * 2);
    path.resize(length);
    std::wstring name = ::PathFindFileNameW(path.c_str());
    const auto extension = name.rfind(L'.');
    if (extension != std::wstring::npos)
        name.erase(extension);
    return name;
}

// The radio group whose buttons the selection counts from zero.
constexpr int firstChoice = IDC_INHERIT_LUMEN;
constexpr int lastChoice = IDC_INHERIT_LUMEN_PATRON;

// Checks the selection's button and clears the others; a selection outside
// the group leaves none checked.
void showSelection(HWND dialog, std::int32_t selection) {
    for (int id = firstChoice; id <= lastChoice; ++id)
        ::CheckDlgButton(dialog, id, id - firstChoice == selection ? BST_CHECKED : BST_UNCHECKED);
}

// The index of the checked button; -1 when none is.
std::int32_t checkedSelection(HWND dialog) {
    for (int id = firstChoice; id <= lastChoice; ++id) {
        if (::IsDlgButtonChecked(dialog, id) == BST_CHECKED)
            return id - firstChoice;
    }
    return -1;
}

// The caller's selection rides in the dialog's user data from
// WM_INITDIALOG on; it is written only when OK is pressed.
INT_PTR CALLBACK inheritDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        showSelection(dialog, *reinterpret_cast<const std::int32_t*>(lParam));
        return TRUE; // the first tab stop takes the focus
    case WM_COMMAND:
        // Closing from the system menu arrives here as IDCANCEL.
        if (LOWORD(wParam) == IDOK) {
            *reinterpret_cast<std::int32_t*>(::GetWindowLongPtrW(dialog, DWLP_USER)) = checkedSelection(dialog);
            ::EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

std::wstring loadLibraryString(unsigned id) {
    // Given no buffer, LoadStringW points at the text where it lies in the
    // module (not null-terminated there) and gives its whole length.
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(libraryModule(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

PromptReply askYesNo(const std::wstring& text) {
    switch (::MessageBoxW(nullptr, text.c_str(), programName().c_str(), MB_YESNO | MB_SYSTEMMODAL)) {
    case IDYES:
        return PromptReply::yes;
    case IDNO:
        return PromptReply::no;
    default: // 0: the box could not be shown
        return PromptReply::unanswered;
    }
}

int runInheritDialog(std::int32_t& selection) {
    const INT_PTR result = ::DialogBoxParamW(libraryModule(), MAKEINTRESOURCEW(IDD_SELECT_INHERIT_APP_SETTING),
                                             nullptr, inheritDialogProc, reinterpret_cast<LPARAM>(&selection));
    // -1 (or 0) when the dialog could not be made: no template, no desktop.
    return result == IDOK || result == IDCANCEL ? static_cast<int>(result) : 0;
}

} // namespace tern::platform
