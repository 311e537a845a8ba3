#include "components/utility/xml_names.h"

#include "components/utility/xml.h"
#include "platform/text.h"

#include <string_view>

namespace tern::utility::xml {

void requireName(const std::wstring& name) {
    constexpr std::wstring_view asciiStart = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_:";
    constexpr std::wstring_view asciiRest = L"-.0123456789";
    auto isNameCharacter = [&](wchar_t c, bool first) {
        return c >= 0x80 || asciiStart.find(c) != std::wstring_view::npos ||
               (!first && asciiRest.find(c) != std::wstring_view::npos);
    };
    bool valid = !name.empty();
    for (std::size_t i = 0; i < name.size() && valid; ++i)
        valid = isNameCharacter(name[i], i == 0);
    if (!valid)
        throw DomError("not an XML name: \"" + platform::toUtf8(name) + "\"");
}

} // namespace tern::utility::xml
