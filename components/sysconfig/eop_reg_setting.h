// CEopRegSetting: the EopReg settings ("EopRegSetting.xml"), a document of
// colours (swappable_setting.h) that is also asked how many of them are
// black and how many white, to tell whether it is still in the old form.

#pragma once

#include "components/sysconfig/swappable_setting.h"

#include <cstdint>

namespace tern::ui::setting {

class CEopRegSetting final : public CSwappableSetting {
public:
    // first receives the number of black colours, second the number of
    // white ones; both 0 when nothing is loaded.
    void countBW(std::int32_t& first, std::int32_t& second) const { countBlackAndWhite(first, second); }
};

} // namespace tern::ui::setting
