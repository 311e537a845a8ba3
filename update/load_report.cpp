#include "update/load_report.h"

namespace tern::update {

namespace {
thread_local LoadListener* current = nullptr;
}

ScopedLoadListener::ScopedLoadListener(LoadListener& listener) : previous(current) { current = &listener; }

ScopedLoadListener::~ScopedLoadListener() { current = previous; }

void LoadListener::commandRead(const utility::xml::Element& /*element*/, const std::wstring& /*sid*/) {}

LoadListener* loadListener() { return current; }

void reportDropped(const utility::xml::Node& node, const wchar_t* message) {
    if (current)
        current->dropped(node, message);
}

void reportCommandRead(const utility::xml::Element& element, const std::wstring& sid) {
    if (current)
        current->commandRead(element, sid);
}

} // namespace tern::update
