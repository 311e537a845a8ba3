#include "tests/update/layout/layout_fixture.h"

#include "platform/text.h"

namespace tern::test {

using update::layout::LayoutTable;

std::string standardMode(const std::string& modeName) {
    return R"(<LayoutMode Name=")" + modeName + R"(">
      <Ribbon><Tab Id="1" Caption="Home"><Group Id="2" Caption="Draw">
        <Control SID="ID_DRAW_LINE" Caption="Line"/><Control SID="ID_DRAW_ARC" Caption="Arc"/></Group></Tab></Ribbon>
      <Menu><Popup Caption="File">
        <Command SID="ID_FILE_OPEN" Caption="Open"/><Separator/><Command SID="ID_FILE_SAVE" Caption="Save"/>
        <Popup Caption="Export"><Command SID="ID_EXPORT_PDF" Caption="PDF"/></Popup></Popup></Menu>
      <ToolBar Title="Standard" Position="Top"><Command SID="ID_FILE_NEW" Caption="New"/>
        <Command SID="ID_FILE_OPEN" Caption="Open"/><Command SID="ID_FILE_SAVE" Caption="Save"/></ToolBar>
    </LayoutMode>)";
}

std::string displayWith(const std::string& modes, const std::string& typeName) {
    return "<Display><LayoutType Name=\"" + typeName + "\">" + modes + "</LayoutType></Display>";
}

utility::xml::Element elementOf(const std::string& text) {
    utility::xml::Document document;
    utility::xml::Element root;
    EXPECT_TRUE(utility::xml::loadXml(document, platform::fromUtf8(text))) << text;
    EXPECT_TRUE(utility::xml::getRootElement(root, document));
    return root;
}

std::string modeText(update::layout::ItemMode mode) {
    const char* const names[] = {"?", "Normal", "3dMode", "RedMode"};
    return mode >= 1 && mode <= 3 ? names[mode] : "?";
}

std::string posText(update::layout::ItemPos pos) {
    const char* const names[] = {"?", "First", "Last", "Before", "After"};
    return pos >= 1 && pos <= 4 ? names[pos] : "?";
}

std::string standardBars() {
    return std::string(standardRibbon) + " / " + standardMenu + " / " + standardToolBar;
}

std::string changedFlags(const LayoutTable& table) {
    return {table.ribbonChanged ? 'R' : '-', table.menuChanged ? 'M' : '-', table.toolBarChanged ? 'T' : '-'};
}

std::string toolBars(const LayoutTable& table) {
    std::string text;
    for (const layout::CCommandBar& bar : table.commandBars.getToolBars())
        text += (text.empty() ? "" : " / ") + describe(bar);
    return text;
}

std::string barsOf(const LayoutTable& table) {
    return describe(table.ribbon) + " / " + describe(table.menuBar) + " / " + toolBars(table);
}

void Reports::dropped(const utility::xml::Node& /*node*/, const std::wstring& message) {
    messages.push_back(platform::toUtf8(message));
}

void LayoutFixture::SetUp() {
    writeFile(folder.native("install/Config/Commands.xml"), R"(<Commands>
  <Command SID="ID_FILE_NEW" Id="100" Caption="New"/><Command SID="ID_FILE_OPEN" Id="101" Caption="Open"/>
  <Command SID="ID_FILE_SAVE" Id="102" Caption="Save"/><Command SID="ID_DRAW_LINE" Id="200" Caption="Line"/>
  <Command SID="ID_DRAW_ARC" Id="201" Caption="Arc"/><Command SID="ID_DRAW_SPLINE" Id="202" Caption="Spline"/>
  <Command SID="ID_EXPORT_PDF" Id="300" Caption="PDF"/>
</Commands>)");
    std::wstring problem;
    ASSERT_TRUE(commandTable.load(folder.system("install/Config/Commands.xml"), problem)) << platform::toUtf8(problem);
    frame.commandTable = &commandTable;
}

void LayoutFixture::loadLayout(const std::string& displayXml) {
    tables.clear();
    ownedTables.clear();
    writeFile(folder.native("source/Config/Display.xml"), displayXml);
    ASSERT_TRUE(manager.loadXmlFile(folder.system("source/Config/Display.xml"), frame))
        << platform::toUtf8(manager.getLoadProblem());
    std::vector<std::wstring> typeNames;
    manager.getTypeNames(typeNames);
    for (const std::wstring& typeName : typeNames) {
        for (const auto& mode : manager.findType(typeName)->getLayoutModes()) {
            auto built = std::make_unique<LayoutTable>();
            ASSERT_TRUE(built->setup(mode.get(), commandTable, LayoutTable::modeNoFromName(mode->getName()),
                                     typeName.c_str(), mode->getName().c_str()));
            tables.push_back(built.get());
            ownedTables.push_back(std::move(built));
        }
    }
}

LayoutTable& LayoutFixture::table(const std::string& modeName, const std::string& typeName) {
    for (LayoutTable* candidate : tables)
        if (candidate->modeName == platform::fromUtf8(modeName) &&
            (typeName.empty() || candidate->typeName == platform::fromUtf8(typeName)))
            return *candidate;
    ADD_FAILURE() << "no table of mode " << modeName;
    static LayoutTable none;
    return none;
}

} // namespace tern::test
