#include "components/utility/decimal_text.h"

#include <limits>

namespace tern::utility {

bool parseDecimal(const std::wstring& text, std::int32_t& value) {
    if (text.empty())
        return false;
    std::int64_t number = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return false;
        number = number * 10 + (c - L'0');
        if (number > std::numeric_limits<std::int32_t>::max())
            return false;
    }
    value = static_cast<std::int32_t>(number);
    return true;
}

} // namespace tern::utility
