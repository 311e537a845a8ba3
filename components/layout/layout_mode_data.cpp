#include "components/layout/layout_mode_data.h"

#include <utility>

namespace tern::layout {

LayoutModeData::LayoutModeData(std::wstring name) : name(std::move(name)) {}

const wchar_t* LayoutModeData::getNormalModeName() { return L"Normal"; }
const wchar_t* LayoutModeData::get3dModeName() { return L"3D"; }
const wchar_t* LayoutModeData::getRedModeName() { return L"Red"; }

bool LayoutModeData::setupTo(CCommandBars& bars, const utility::CCommandTable& /*commandTable*/) const {
    bars = commandBars;
    return true;
}

bool LayoutModeData::setupFrom(const CCommandBars& bars, const utility::CCommandTable& /*commandTable*/) {
    commandBars = bars;
    return true;
}

bool LayoutModeData::setupFrom(CCommandBars&& bars, const utility::CCommandTable& /*commandTable*/) {
    commandBars = std::move(bars);
    return true;
}

void LayoutModeData::addToolBarOption(const ToolBarOption& option) { toolBarOptions.push_back(option); }

} // namespace tern::layout
