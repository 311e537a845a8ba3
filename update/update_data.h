// The update definition's model: one entry per release, its layout section
// and its setting sections.
//
// Entries own their sections and sections own their items (raw pointers,
// destroyed through the items' virtual destructors, copied through clone).

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

    // Reads the items of a "Layout" element, replacing those held.
    bool load(const utility::xml::Node& node);
    void clear();

    std::vector<layout::ILayoutItem*> items;
};

// A "Setting" section: one settings file's edits.
class SettingData {
public:
    SettingData() = default;
    SettingData(const SettingData&) = delete;
    SettingData& operator=(const SettingData&) = delete;
    virtual ~SettingData();

    // Reads a "Setting" element; false drops the section.
    bool load(utility::xml::Node node, setting::SettingItemTable& table);
    // Edits folder + path; true when an item changed the file and it was saved.
    bool apply(const wchar_t* folder);
    void clear();

    std::vector<setting::ISettingItem*> items;
    std::wstring path;
};

// One "Update" entry.
class UpdateData {
public:
    UpdateData() = default;
    UpdateData(const UpdateData&) = delete;
    UpdateData& operator=(const UpdateData&) = delete;
    virtual ~UpdateData();

    // Reads an "Update" element; false when "ver" is absent or empty.
    bool load(utility::xml::Node node, setting::SettingItemTable& table);
    // Reads a bare "Layout" element as an entry of version "0.0".
    bool loadLayoutOnly(utility::xml::Node node);
    void clear();

    std::wstring version;
    std::int32_t major = 0;
    std::int32_t minor = 0;
    LayoutData layout;
    std::vector<SettingData*> settings;
};

} // namespace tern::update
