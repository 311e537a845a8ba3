// A layout to edit, for the tests of the layout edit items and tables: a
// real command table and a real layout file in a temporary folder, loaded
// into a layout model with one table per layout type and mode.
//
// Bars are described in a compact notation so that a test can compare a
// whole bar at once:
//   ribbon   Home(1)[Draw(2): Line Arc] View(3)[]
//   menu     File[Open | Save Export[PDF]]          ("|" is a separator)
//   toolbar  Standard: New |Open Save               ("|" starts a group)
// A command the command table does not know shows its caption followed by
// "?", since it has no identifier.

#pragma once

#include "components/layout/layout_manager.h"
#include "components/utility/command_table.h"
#include "components/utility/xml.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_frame.h"
#include "update/layout/layout_table.h"
#include "update/load_report.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tern::test {

// The commands every layout test knows (SID, identifier, caption):
// ID_FILE_NEW 100 "New", ID_FILE_OPEN 101 "Open", ID_FILE_SAVE 102 "Save",
// ID_DRAW_LINE 200 "Line", ID_DRAW_ARC 201 "Arc", ID_DRAW_SPLINE 202
// "Spline", ID_EXPORT_PDF 300 "PDF".
extern const char* const testCommandsXml;

// One layout type "Standard" with the mode "Normal":
//   ribbon   Home(1)[Draw(2): Line Arc]
//   menu     File[Open | Save Export[PDF]]
//   toolbar  Standard: New Open Save
std::string standardMode(const std::string& modeName);

// <Display> with one layout type of that name holding the given modes.
std::string displayWith(const std::string& modes, const std::string& typeName = "Standard");

// The first element of an XML text, for loading an item from it; the
// document is kept alive by the element.
utility::xml::Element elementOf(const std::string& xml);

std::string describe(const layout::CRibbonBar& ribbon);
std::string describe(const layout::CMenuBar& menu);
std::string describe(const layout::CCommandBar& toolBar);

// Collects, as UTF-8, what the loaders report while it is installed.
struct Reports : update::LoadListener {
    void dropped(const utility::xml::Node& node, const std::wstring& message) override;
    std::vector<std::string> messages;
};

class LayoutFixture : public ::testing::Test {
protected:
    void SetUp() override;

    // Writes a layout file ("source<n>\Config\Display.xml" for the n-th
    // call), loads it into a new model and appends one table per type and
    // mode, in the model's order.
    void loadLayout(const std::string& displayXml);
    // The model the last loadLayout made.
    layout::LayoutManager& manager() { return *managers.back(); }
    // The first table of that mode (and type, when given).
    update::layout::LayoutTable& table(const std::string& modeName = "Normal", const std::string& typeName = "");
    // The toolbar of that title in such a table; fails the test when absent.
    const layout::CCommandBar& toolBar(const std::string& title, const std::string& modeName = "Normal",
                                       const std::string& typeName = "");

    // Loads an item from its element; fails the test when load refuses it.
    template <class Item> Item item(const std::string& xml) {
        Item loaded;
        EXPECT_TRUE(loaded.load(elementOf(xml))) << xml;
        return loaded;
    }

    TempFolder folder;
    utility::CCommandTable commandTable;
    TestFrame frame;
    std::vector<std::unique_ptr<layout::LayoutManager>> managers;
    std::vector<std::unique_ptr<update::layout::LayoutTable>> ownedTables;
    std::vector<update::layout::LayoutTable*> tables;
};

} // namespace tern::test
