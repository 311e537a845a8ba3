// A layout to edit, for the tests of the layout edit items and tables: a
// real command table and a real layout file in a temporary folder, loaded
// into a layout model with one table per layout type and mode. Bars are
// compared whole, as tests/components/layout/bar_listing.h lists them.

#pragma once

#include "components/layout/layout_manager.h"
#include "components/utility/command_table.h"
#include "components/utility/xml.h"
#include "tests/components/layout/bar_listing.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_frame.h"
#include "update/layout/layout_table.h"
#include "update/load_report.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tern::test {

// The command table knows (SID, identifier, caption): ID_FILE_NEW 100 "New",
// ID_FILE_OPEN 101 "Open", ID_FILE_SAVE 102 "Save", ID_DRAW_LINE 200 "Line",
// ID_DRAW_ARC 201 "Arc", ID_DRAW_SPLINE 202 "Spline", ID_EXPORT_PDF 300 "PDF".

// A layout mode of that name with the standard bars, listed here.
std::string standardMode(const std::string& modeName);
inline const char* const standardRibbon = "Home(1)[Draw(2): Line Arc]";
inline const char* const standardMenu = "File[Open | Save Export[PDF]]";
inline const char* const standardToolBar = "Standard: New Open Save";
// All three, as barsOf lists them.
std::string standardBars();

// <Display> with one layout type of that name holding the given modes.
std::string displayWith(const std::string& modes, const std::string& typeName = "Standard");

// The first element of an XML text, for loading an item from it; the
// document is kept alive by the element.
utility::xml::Element elementOf(const std::string& xml);

// A mode or position code as a definition writes it ("3dMode", "After").
std::string modeText(update::layout::ItemMode mode);
std::string posText(update::layout::ItemPos pos);

// The changed flags of the ribbon, the menu and the toolbars: "RMT", with
// "-" for a flag that is not set.
std::string changedFlags(const update::layout::LayoutTable& table);
// The table's toolbars, "Standard: New Open Save / Drawing: Line".
std::string toolBars(const update::layout::LayoutTable& table);
// The table's ribbon, menu and toolbars: "ribbon / menu / toolbar / ...".
std::string barsOf(const update::layout::LayoutTable& table);

// Collects, as UTF-8, what the loaders report while it is installed.
struct Reports : update::LoadListener {
    void dropped(const utility::xml::Node& node, const std::wstring& message) override;
    std::vector<std::string> messages;
};

struct LoadCase {
    std::string element;
    std::string fields; // the item's fields as `fields` shows them, after "refused: " when load fails
    std::vector<std::string> reports;
};

// Loads each case's element in turn into the same item, so that every load
// also proves that the fields of the one before are reset, and checks what
// it loaded, what it reported, and that a clone holds the same fields.
template <class Item, class Fields> void expectLoads(const std::vector<LoadCase>& cases, Fields fields) {
    Item item;
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.element);
        Reports reports;
        bool loaded = false;
        {
            update::ScopedLoadListener listening(reports);
            loaded = item.load(elementOf(c.element));
        }
        EXPECT_EQ(loaded ? fields(item) : "refused: " + fields(item), c.fields);
        EXPECT_EQ(reports.messages, c.reports);
        const std::unique_ptr<update::layout::ILayoutItem> copy(item.clone());
        const auto* clone = dynamic_cast<const Item*>(copy.get());
        ASSERT_NE(clone, nullptr);
        EXPECT_EQ(fields(*clone), fields(item));
    }
}

class LayoutFixture : public ::testing::Test {
protected:
    void SetUp() override;

    // Writes the layout file, loads it into the model and sets up one table
    // per type and mode, in the model's order, in place of the earlier ones.
    void loadLayout(const std::string& displayXml);
    // The first table of that mode (and type, when given).
    update::layout::LayoutTable& table(const std::string& modeName = "Normal", const std::string& typeName = "");

    // Loads an item from its element; fails the test when load refuses it.
    template <class Item> Item item(const std::string& xml) {
        Item loaded;
        EXPECT_TRUE(loaded.load(elementOf(xml))) << xml;
        return loaded;
    }
    // Loads an item and applies it to the tables.
    template <class Item> bool apply(const std::string& xml) { return item<Item>(xml).apply(tables, commandTable); }

    TempFolder folder;
    utility::CCommandTable commandTable;
    TestFrame frame;
    layout::LayoutManager manager;
    std::vector<std::unique_ptr<update::layout::LayoutTable>> ownedTables;
    std::vector<update::layout::LayoutTable*> tables;
};

} // namespace tern::test
