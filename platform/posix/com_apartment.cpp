#include "platform/com_apartment.h"

namespace tern::platform {

// POSIX has no COM: every apartment opens, and closing it has nothing to undo.
ComApartment::ComApartment() : opened(true) {}

ComApartment::~ComApartment() = default;

} // namespace tern::platform
