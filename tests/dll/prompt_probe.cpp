// A DLL built like TnUpdate.dll, from the library's objects and resources,
// that exports the library's string loading, so that a host program with no
// resources of its own can see which module the library reads its texts
// from.

#include "platform/user_prompt.h"

#include <algorithm>
#include <cstddef>

// Copies the text of string id into buffer, cut to size - 1 characters and
// null-terminated; returns the whole text's length.
extern "C" __declspec(dllexport) std::size_t probeLibraryString(unsigned id, wchar_t* buffer, std::size_t size) {
    const std::wstring text = tern::platform::loadLibraryString(id);
    if (size > 0)
        buffer[text.copy(buffer, std::min(text.size(), size - 1))] = L'\0';
    return text.size();
}
