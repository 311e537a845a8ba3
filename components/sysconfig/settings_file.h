// How the library reads a settings file: in a COM apartment of its own,
// through the XML functions. A file that is missing, cannot be decoded or is
// not well-formed XML, and a failing DOM, all read as a file that cannot be
// read; nothing is raised.

#pragma once

#include "components/utility/xml.h"

#include <functional>
#include <string>

namespace tern::ui::setting {

// Loads the file and hands its root element to `read`, whose result is the
// result; false without calling it when the file cannot be read.
bool readSettingsFile(const std::wstring& path, const std::function<bool(const utility::xml::Element& root)>& read);

} // namespace tern::ui::setting
