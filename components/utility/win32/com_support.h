// The few COM helpers the MSXML backend needs: an owning interface pointer,
// an owned BSTR and VARIANT, and the one place where a failing HRESULT
// becomes DomError.

#pragma once

#include "components/utility/xml.h"

#include <windows.h>

#include <oleauto.h>

#include <string>
#include <utility>

namespace tern::utility::xml::com {

// Raises DomError naming the call when hr reports a failure.
void check(HRESULT hr, const char* call);

// Holds one reference to a COM interface and releases it when done.
template <typename Interface>
class Ptr {
public:
    Ptr() = default;
    Ptr(const Ptr& other) : pointer(other.pointer) { addRef(); }
    Ptr(Ptr&& other) noexcept : pointer(std::exchange(other.pointer, nullptr)) {}
    Ptr& operator=(Ptr other) noexcept {
        std::swap(pointer, other.pointer);
        return *this;
    }
    ~Ptr() { release(); }

    Interface* get() const { return pointer; }
    Interface* operator->() const { return pointer; }
    explicit operator bool() const { return pointer != nullptr; }
    // For a call that hands out a new reference; drops the one held.
    Interface** out() {
        release();
        return &pointer;
    }
    // The same object seen through another interface; empty when it has none.
    template <typename Other>
    Ptr<Other> as(const IID& id) const {
        Ptr<Other> other;
        if (pointer)
            pointer->QueryInterface(id, reinterpret_cast<void**>(other.out()));
        return other;
    }

private:
    void addRef() {
        if (pointer)
            pointer->AddRef();
    }
    void release() {
        if (pointer)
            std::exchange(pointer, nullptr)->Release();
    }

    Interface* pointer = nullptr;
};

class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const std::wstring& text);
    ~Bstr() { ::SysFreeString(value); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    BSTR get() const { return value; }
    BSTR* out() {
        ::SysFreeString(value);
        value = nullptr;
        return &value;
    }
    std::wstring text() const { return value ? std::wstring(value, ::SysStringLen(value)) : std::wstring(); }

private:
    BSTR value = nullptr;
};

class Variant {
public:
    Variant() { ::VariantInit(&value); }
    // A string value.
    explicit Variant(const std::wstring& text);
    // An interface value; the variant holds its own reference.
    explicit Variant(IUnknown* object);
    ~Variant() { ::VariantClear(&value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    const VARIANT& get() const { return value; }
    VARIANT* out() {
        ::VariantClear(&value);
        return &value;
    }
    bool isString() const { return value.vt == VT_BSTR; }
    std::wstring text() const {
        return isString() && value.bstrVal ? std::wstring(value.bstrVal, ::SysStringLen(value.bstrVal)) : std::wstring();
    }

private:
    VARIANT value;
};

} // namespace tern::utility::xml::com
