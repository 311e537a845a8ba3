#include "update/load_report.h"

namespace tern::update {

namespace {
thread_local LoadListener* current = nullptr;
}

ScopedLoadListener::ScopedLoadListener(LoadListener& listener) : previous(current) { current = &listener; }

ScopedLoadListener::~ScopedLoadListener() { current = previous; }

void reportDropped(const utility::xml::Node& node, const std::wstring& message) {
    if (current)
        current->dropped(node, message);
}

} // namespace tern::update
