#include "components/sysconfig/color_value.h"

#include "components/utility/decimal_text.h"

namespace tern::ui::setting {

bool parseColor(const std::wstring& text, std::uint32_t& value) {
    std::int32_t number = 0;
    if (!utility::parseDecimal(text, number) || static_cast<std::uint32_t>(number) > whiteColor)
        return false;
    value = static_cast<std::uint32_t>(number);
    return true;
}

std::wstring colorText(std::uint32_t value) { return std::to_wstring(value); }

} // namespace tern::ui::setting
