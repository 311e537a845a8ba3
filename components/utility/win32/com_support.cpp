#include "components/utility/win32/com_support.h"

#include <cstdio>
#include <new>

namespace tern::utility::xml::com {

void check(HRESULT hr, const char* call) {
    if (SUCCEEDED(hr))
        return;
    char message[128];
    std::snprintf(message, sizeof message, "%s failed (HRESULT 0x%08lX)", call, static_cast<unsigned long>(hr));
    throw DomError(message);
}

Bstr::Bstr(const std::wstring& text) : value(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
    if (!value)
        throw std::bad_alloc();
}

Variant::Variant(const std::wstring& text) : Variant() {
    value.bstrVal = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!value.bstrVal)
        throw std::bad_alloc();
    value.vt = VT_BSTR;
}

Variant::Variant(IUnknown* object) : Variant() {
    value.vt = VT_UNKNOWN;
    value.punkVal = object;
    object->AddRef();
}

} // namespace tern::utility::xml::com
