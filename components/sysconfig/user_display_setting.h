// CUserDisplaySetting: the user's display settings, a document of colours
// (swappable_setting.h) whose root element's "BackColor" is the colour the
// user draws on.

#pragma once

#include "components/sysconfig/swappable_setting.h"

#include <cstdint>
#include <string>

namespace tern::ui::setting {

class CUserDisplaySetting final : public CLineTypedSetting {
public:
    // Reads the background colour alone: true when the file is well-formed
    // XML whose root element has a "BackColor" colour, which goes into
    // color; color stays as it was otherwise. flag is always set to false.
    static bool loadXmlForCheckSwapBw(bool& flag, std::uint32_t& color, const std::wstring& path);
};

} // namespace tern::ui::setting
