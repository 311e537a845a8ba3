// The update definition's model: one entry per release, its layout section
// and its setting sections.
//
// Entries own their sections and sections own their items (raw pointers,
// destroyed through the items' virtual destructors, copied through clone;
// update/owned_pointers.h does the owning).
// The loaders tell the load listener (update/load_report.h) what they skip
// or reject; definition_file.h reads whole files into entries.

#pragma once

#include "components/utility/xml.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tern::update::layout {
class ILayoutItem;
}
namespace tern::update::setting {
class ISettingItem;
class SettingItemTable;
}

namespace tern::update {

// A "Layout" section: the layout edit items in document order.
class LayoutData {
public:
    LayoutData() = default;
    LayoutData(const LayoutData& other);
    LayoutData& operator=(const LayoutData& other);
    virtual ~LayoutData();

    // Reads the items of a "Layout" element, replacing those held. Elements
    // of other names and items whose own load fails are skipped; false only
    // for an empty node.
    bool load(const utility::xml::Node& node);
    void clear();

    // Owned; destroyed by clear and copied through clone.
    std::vector<layout::ILayoutItem*> items;
};

// A "Setting" section: one settings file's edits.
class SettingData {
public:
    SettingData() = default;
    SettingData(const SettingData&) = delete;
    SettingData& operator=(const SettingData&) = delete;
    virtual ~SettingData();

    // Reads a "Setting" element; false (another name, no "Path", a DOM
    // failure) drops the section. An empty "Path" is accepted.
    bool load(utility::xml::Node node, setting::SettingItemTable& table);
    // Edits the existing file folder + path (folder ends in a backslash) in
    // its own COM apartment. True when an item changed the document and it
    // was saved, replacing the file in one step. A file no item changed is
    // not rewritten; a missing file is not created; a DOM failure while the
    // items apply abandons the file unsaved. Each edit applied or not, and
    // the file written or not, is told to the run report.
    bool apply(const wchar_t* folder);
    void clear();

    // The file the last apply edited (folder + path), which its items name
    // when they report.
    const std::wstring& editedFile() const { return file; }

    // Owned; destroyed by clear.
    std::vector<setting::ISettingItem*> items;
    std::wstring path;

private:
    std::wstring file;
};

// One "Update" entry.
class UpdateData {
public:
    UpdateData() = default;
    UpdateData(const UpdateData&) = delete;
    UpdateData& operator=(const UpdateData&) = delete;
    virtual ~UpdateData();

    // Reads an "Update" element; false when "ver" is absent or empty, which
    // rejects the whole file. A DomError passes to the caller.
    bool load(utility::xml::Node node, setting::SettingItemTable& table);
    // Reads a bare "Layout" element as an entry of version "0.0"; true
    // unless the DOM fails.
    bool loadLayoutOnly(utility::xml::Node node);
    void clear();

    std::wstring version;
    std::int32_t major = 0;
    std::int32_t minor = 0;
    LayoutData layout;
    // Owned; destroyed by clear.
    std::vector<SettingData*> settings;
};

} // namespace tern::update
