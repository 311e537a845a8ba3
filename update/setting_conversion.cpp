#include "update/setting_conversion.h"

#include "components/sysconfig/color_setting.h"
#include "components/sysconfig/color_value.h"
#include "components/sysconfig/drawing_settings.h"
#include "components/sysconfig/eop_reg_setting.h"
#include "components/sysconfig/line_type_setting.h"
#include "components/sysconfig/user_display_setting.h"
#include "host/main_frame.h"
#include "update/file_events.h"
#include "update/read_only_file.h"

#include <string>
#include <type_traits>
#include <vector>

namespace tern::update {

namespace {

using core::IMainFrame;
using namespace ui::setting;

using PathGetter = void (IMainFrame::*)(std::wstring&) const;

std::wstring pathOf(const IMainFrame& frame, PathGetter get) {
    std::wstring path;
    (frame.*get)(path);
    return path;
}

// The EopReg settings are in the old form when more of their colours are
// black than white; equal counts leave them alone.
void convertEopReg(const std::wstring& path) {
    CEopRegSetting setting;
    if (!setting.loadXML(path))
        return;
    std::int32_t black = 0;
    std::int32_t white = 0;
    setting.countBW(black, white);
    if (black > white) {
        setting.swapBW();
        reportSave(path, setting.saveXML(path));
    }
}

void loadLineTypes(CLineTypeSetting& lineTypes, const IMainFrame& frame) {
    lineTypes.loadSystemXML(pathOf(frame, &IMainFrame::getSystemLineTypeSettingPath));
    if (!lineTypes.loadXML(pathOf(frame, &IMainFrame::getUserLineTypeSettingPath)))
        lineTypes.loadXML(pathOf(frame, &IMainFrame::getInitialLineTypeSettingPath));
}

// Copies the installed colour table over the user's initial copy, which may
// be read-only: that bit is cleared first and the others are left as they
// are, until the copy gives the file the installed table's.
void restoreInitialColors(const std::wstring& initial, const IMainFrame& frame) {
    clearReadOnlyAttribute(initial);
    copyReplacing(std::wstring(frame.getInstallFolder()) + L"Config\\InitialSet\\System_Color.xml", initial);
}

// Loads the colour table, rebuilding an outdated one from the installed
// table with the user's own colours kept, and writes it back exchanged when
// it holds black and white exchanged; otherwise nothing is written.
void convertColors(const IMainFrame& frame) {
    CColorSetting colors;
    const std::wstring path = pathOf(frame, &IMainFrame::getColorSettingPath);
    const std::wstring initial = pathOf(frame, &IMainFrame::getInitialColorSettingPath);
    const EVersionCheck version = CColorSetting::checkFileVersion(path);
    if (version == EV_CURRENT || version == EV_NEWER) {
        if (!colors.loadXML(path))
            colors.loadXML(initial);
    } else {
        std::vector<TnSystemColor> userColors;
        CColorSetting::loadXMLUserColors(userColors, path);
        const EVersionCheck initialVersion = CColorSetting::checkFileVersion(initial);
        if (initialVersion == EV_NO_TABLE || initialVersion == EV_OUTDATED)
            restoreInitialColors(initial, frame);
        colors.loadXML(initial);
        colors.overwriteUserColors(userColors);
    }
    if (colors.isSwappedBW()) {
        colors.swapBW();
        reportSave(path, colors.saveXML(path));
    }
}

using SwapColors = void (*)(const std::wstring& path, const ISystemLineTypeSetting& lineTypes);

// Exchanges black and white in one file, read by its own class: a file that
// does not load is left as it was.
template <class Setting>
void swapColors(const std::wstring& path, const ISystemLineTypeSetting& lineTypes) {
    Setting setting;
    bool loaded = false;
    if constexpr (std::is_base_of_v<CLineTypedSetting, Setting>)
        loaded = setting.loadXML(path, lineTypes);
    else
        loaded = setting.loadXML(path);
    if (loaded) {
        setting.swapBW();
        reportSave(path, setting.saveXML(path));
    }
}

struct SwappedFile {
    std::wstring path;
    SwapColors swap;
};

// The drawing and conversion settings, in the order they are exchanged.
std::vector<SwappedFile> swappedFiles(const IMainFrame& frame) {
    const std::wstring folder = frame.getSettingFolder();
    return {
        {folder + L"Draw_Common.xml", swapColors<CDrawCommonSetting>},
        {folder + L"Draw_Dimension.xml", swapColors<CDrawDimensionSetting>},
        {folder + L"Draw_String.xml", swapColors<CDrawTextSetting>},
        {folder + L"Draw_PullLine.xml", swapColors<CDrawLeaderSetting>},
        {folder + L"Draw_Polygon.xml", swapColors<CDrawPolygonSetting>},
        {folder + L"Draw_Raster.xml", swapColors<CDrawRasterSetting>},
        {folder + L"Draw_ImagineElements.xml", swapColors<CDrawVirtualElementSetting>},
        {folder + L"Draw_WriteInRed.xml", swapColors<CDrawWriteInRedSetting>},
        {folder + L"Convert_Csv.xml", swapColors<CConvertCsvSetting>},
        {folder + L"Convert_Sima.xml", swapColors<CConvertSimaSetting>},
        {folder + L"Convert_Sxf.xml", swapColors<ConvertSxfSetting>},
        {folder + L"Control_BasePoint.xml", swapColors<CControlBasePointSetting>},
        {pathOf(frame, &IMainFrame::getSystemPaperFrameSettingPath), swapColors<CSystemPaperFrameSetting>},
        {pathOf(frame, &IMainFrame::getLineWidthSettingPath), swapColors<CLineWidthSetting>},
        {pathOf(frame, &IMainFrame::getSystemHatchingSettingPath), swapColors<CSystemHatchingSetting>},
        {pathOf(frame, &IMainFrame::getUserDisplaySettingPath), swapColors<CUserDisplaySetting>},
    };
}

// The drawing settings are exchanged only for a user whose display
// background is exactly white.
void swapDrawingSettings(const IMainFrame& frame, const ISystemLineTypeSetting& lineTypes) {
    bool flag = false;
    std::uint32_t background = 0;
    if (!CUserDisplaySetting::loadXmlForCheckSwapBw(flag, background,
                                                    pathOf(frame, &IMainFrame::getUserDisplaySettingPath)) ||
        background != whiteColor)
        return;
    for (const SwappedFile& file : swappedFiles(frame)) {
        if (!file.path.empty())
            file.swap(file.path, lineTypes);
    }
}

} // namespace

void convertOldSettings(const IMainFrame& frame) {
    convertEopReg(std::wstring(frame.getSettingFolder()) + L"EopRegSetting.xml");
    // The line types serve the rest of the conversion.
    CLineTypeSetting lineTypes;
    loadLineTypes(lineTypes, frame);
    convertColors(frame);
    swapDrawingSettings(frame, lineTypes);
}

} // namespace tern::update
