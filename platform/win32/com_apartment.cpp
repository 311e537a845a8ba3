#include "platform/com_apartment.h"

#include <objbase.h>

namespace tern::platform {

// S_FALSE (COM was already open on this thread) also counts: it too must be
// paired with CoUninitialize.
ComApartment::ComApartment() : opened(SUCCEEDED(::CoInitialize(nullptr))) {}

ComApartment::~ComApartment() {
    if (opened)
        ::CoUninitialize();
}

} // namespace tern::platform
