// The drawing and conversion settings files whose black and white the
// settings transfer exchanges, one class per file. Each is a document of
// colours (swappable_setting.h); those whose loader the application gives
// the line types derive from CLineTypedSetting. The display settings and
// the EopReg settings have classes of their own, since they do more.

#pragma once

#include "components/sysconfig/swappable_setting.h"

namespace tern::ui::setting {

class CDrawCommonSetting final : public CSwappableSetting {};
class CDrawDimensionSetting final : public CSwappableSetting {};
class CDrawTextSetting final : public CSwappableSetting {};
class CDrawLeaderSetting final : public CSwappableSetting {};
class CDrawPolygonSetting final : public CSwappableSetting {};
class CDrawRasterSetting final : public CSwappableSetting {};
class CDrawVirtualElementSetting final : public CLineTypedSetting {};
class CDrawWriteInRedSetting final : public CSwappableSetting {};
class CConvertCsvSetting final : public CLineTypedSetting {};
class CConvertSimaSetting final : public CLineTypedSetting {};
class ConvertSxfSetting final : public CSwappableSetting {};
class CControlBasePointSetting final : public CSwappableSetting {};
class CSystemPaperFrameSetting final : public CLineTypedSetting {};
class CLineWidthSetting final : public CSwappableSetting {};
class CSystemHatchingSetting final : public CLineTypedSetting {};

} // namespace tern::ui::setting
