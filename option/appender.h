// Appender: what the application calls when an add-on option is installed.
//
// run() reads the option's definition (root "Option_Data": "Update" entries
// newest first, and bare "Layout" sections that stand at version 0.0),
// applies the entries' layout edit items to every layout mode of every
// layout type of the host's live layout model — each entry only to the
// layout types that do not carry the option at that version or a newer one —
// records the option's newest version on every layout type, and writes the
// layout file "Config\Display.xml" below the folder it is given.
//
// Results: -1 for a missing option name, definition path or folder, or a
// folder over 260 characters or not existing; 0 when the definition cannot
// be read or nothing was changed and written; 1 when a layout changed and
// the file was saved. Edits and recorded versions stay in the host's model
// even when no file is written. Settings edits in the definition are read
// but never applied. std::bad_cast leaves run when the layout manager is not
// a tern::layout::LayoutManager; any other exception (running out of
// memory) ends the run with 0.

#pragma once

#include "tnupdate_export.h"

#include <string>
#include <vector>

namespace tern::core {
class IMainFrame;
}
namespace tern::layout {
class ILayoutManager;
}
namespace tern::utility {
class CCommandTable;
}
namespace tern::update {
class UpdateData;
}
namespace tern::update::layout {
class LayoutTable;
}

namespace tern::option {

class TNUPDATE_EXPORT Appender {
public:
    Appender();
    virtual ~Appender();
    Appender(const Appender&) = delete;
    Appender& operator=(const Appender&) = delete;

    // Appends to the frame's layout model and writes it below the frame's
    // application-data folder.
    int run(const wchar_t* optionName, const wchar_t* definitionPath, core::IMainFrame& frame);
    // Appends to layoutManager and writes folder + "Config\Display.xml".
    int run(const wchar_t* optionName, const wchar_t* definitionPath, const wchar_t* folder,
            layout::ILayoutManager& layoutManager, const utility::CCommandTable& commandTable);

    static const wchar_t* getXmlRootName();

protected:
    // Destroys the entries and tables and loads the definition.
    bool setup(const wchar_t* definitionPath);
    // Appends the definition's entries to updates.
    bool loadXml(const wchar_t* definitionPath);
    bool updateLayout(core::IMainFrame& frame);
    // Applies the entries to the model's tables, records the option's version
    // and saves the layout file; true when a layout changed and was saved.
    bool updateLayout(const wchar_t* folder, layout::ILayoutManager& layoutManager,
                      const utility::CCommandTable& commandTable);

    void clearEntries();

    std::wstring optionName;
    // Owned; destroyed by clearEntries.
    std::vector<update::UpdateData*> updates;
    // Owned; destroyed by clearEntries.
    std::vector<update::layout::LayoutTable*> tables;
};

} // namespace tern::option
