// What the library asks of the host application's main frame.
//
// The host passes its main frame to every entry of the library; these are the
// eighteen operations the library calls, in the order of the host's own
// interface. Folder results are NUL-terminated wide strings owned by the
// host, each ending in a backslash so that names can be appended directly;
// callers copy them at once. The path-filling operations overwrite their
// argument with a full file path.

#pragma once

#include <string>

namespace tern::layout {
class ILayoutManager;
}
namespace tern::utility {
class CCommandTable;
}

namespace tern::core {

class IMainFrame {
public:
    virtual ~IMainFrame() = default;

    // The installation folder; "Config\InitialSet\" and "Templates\Layer\" lie below it.
    virtual const wchar_t* getInstallFolder() const = 0;
    // This release's per-user application-data folder, three levels below a PLX folder.
    virtual const wchar_t* getAppDataFolder() const = 0;
    // This release's per-user data folder; its parent holds other releases' folders.
    virtual const wchar_t* getUserDataFolder() const = 0;
    virtual void getSystemPaperFrameSettingPath(std::wstring& path) const = 0;
    virtual void getColorSettingPath(std::wstring& path) const = 0;
    virtual void getUserLineTypeSettingPath(std::wstring& path) const = 0;
    virtual void getLineWidthSettingPath(std::wstring& path) const = 0;
    virtual void getSystemHatchingSettingPath(std::wstring& path) const = 0;
    virtual void getInitialColorSettingPath(std::wstring& path) const = 0;
    virtual void getInitialLineTypeSettingPath(std::wstring& path) const = 0;
    virtual void getSystemLineTypeSettingPath(std::wstring& path) const = 0;
    virtual void getUserDisplaySettingPath(std::wstring& path) const = 0;
    // The host's live layout model; only the option appender asks for it.
    virtual tern::layout::ILayoutManager& getLayoutManager() = 0;
    virtual const tern::utility::CCommandTable& getCommandTable() const = 0;
    // The resource folder; "ja\version.xml" below it holds the running release's version.
    virtual const wchar_t* getResourceFolder() const = 0;
    // The folder of the user's settings files.
    virtual const wchar_t* getSettingFolder() const = 0;
    // The per-user folder that receives the shipped initial settings.
    virtual const wchar_t* getInitialConfigFolder() const = 0;
    // The per-user template folder; "Layer\" below it holds the layer templates.
    virtual const wchar_t* getTemplateFolder() const = 0;
};

} // namespace tern::core
