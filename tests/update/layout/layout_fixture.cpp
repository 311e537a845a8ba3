#include "tests/update/layout/layout_fixture.h"

#include "platform/text.h"


namespace tern::test {

namespace xml = utility::xml;
using update::layout::LayoutTable;

const char* const testCommandsXml = R"(<Commands>
  <Command SID="ID_FILE_NEW" Id="100" Caption="New"/>
  <Command SID="ID_FILE_OPEN" Id="101" Caption="Open"/>
  <Command SID="ID_FILE_SAVE" Id="102" Caption="Save"/>
  <Command SID="ID_DRAW_LINE" Id="200" Caption="Line"/>
  <Command SID="ID_DRAW_ARC" Id="201" Caption="Arc"/>
  <Command SID="ID_DRAW_SPLINE" Id="202" Caption="Spline"/>
  <Command SID="ID_EXPORT_PDF" Id="300" Caption="PDF"/>
</Commands>)";

std::string standardMode(const std::string& modeName) {
    return R"(<LayoutMode Name=")" + modeName + R"(">
      <Ribbon>
        <Tab Id="1" Caption="Home">
          <Group Id="2" Caption="Draw">
            <Control SID="ID_DRAW_LINE" Caption="Line"/>
            <Control SID="ID_DRAW_ARC" Caption="Arc"/>
          </Group>
        </Tab>
      </Ribbon>
      <Menu>
        <Popup Caption="File">
          <Command SID="ID_FILE_OPEN" Caption="Open"/>
          <Separator/>
          <Command SID="ID_FILE_SAVE" Caption="Save"/>
          <Popup Caption="Export">
            <Command SID="ID_EXPORT_PDF" Caption="PDF"/>
          </Popup>
        </Popup>
      </Menu>
      <ToolBar Title="Standard" Position="Top">
        <Command SID="ID_FILE_NEW" Caption="New"/>
        <Command SID="ID_FILE_OPEN" Caption="Open"/>
        <Command SID="ID_FILE_SAVE" Caption="Save"/>
      </ToolBar>
    </LayoutMode>)";
}

std::string displayWith(const std::string& modes, const std::string& typeName) {
    return "<Display><LayoutType Name=\"" + typeName + "\">" + modes + "</LayoutType></Display>";
}

xml::Element elementOf(const std::string& text) {
    xml::Document document;
    xml::Element root;
    EXPECT_TRUE(xml::loadXml(document, platform::fromUtf8(text))) << text;
    EXPECT_TRUE(xml::getRootElement(root, document));
    return root;
}

namespace {

std::string shown(const utility::SCommand& command) {
    return platform::toUtf8(command.caption) + (command.id == 0 ? "?" : "");
}

void describeChildren(const layout::CMenuItem& popup, std::string& text) {
    for (const layout::CMenuItem* child = popup.getFirstChild(); child; child = child->getNextSibling()) {
        if (child != popup.getFirstChild())
            text += " ";
        switch (child->getKind()) {
        case layout::CMenuItem::Kind::separator:
            text += "|";
            break;
        case layout::CMenuItem::Kind::command:
            text += shown(utility::SCommand{child->getId(), child->getCaption(), child->getSid()});
            break;
        case layout::CMenuItem::Kind::popup:
            text += platform::toUtf8(child->getCaption()) + "[";
            describeChildren(*child, text);
            text += "]";
            break;
        }
    }
}

} // namespace

std::string describe(const layout::CRibbonBar& ribbon) {
    std::string text;
    for (const layout::CRibbonTab& tab : ribbon.getTabs()) {
        text +=
            (text.empty() ? "" : " ") + platform::toUtf8(tab.getCaption()) + "(" + std::to_string(tab.getId()) + ")[";
        bool firstGroup = true;
        for (const layout::CRibbonGroup& group : tab.getGroups()) {
            text += (firstGroup ? "" : " ") + platform::toUtf8(group.getCaption()) + "(" +
                    std::to_string(group.getId()) + "):";
            for (const utility::SCommand& control : group.getControls())
                text += " " + shown(control);
            firstGroup = false;
        }
        text += "]";
    }
    return text;
}

std::string describe(const layout::CMenuBar& menu) {
    std::string text;
    describeChildren(menu.getRoot(), text);
    return text;
}

std::string describe(const layout::CCommandBar& toolBar) {
    std::string text = platform::toUtf8(toolBar.getTitle()) + ":";
    for (const layout::ToolBarControl& control : toolBar.getControls())
        text += std::string(" ") + (control.beginGroup ? "|" : "") + shown(control.command);
    return text;
}

void Reports::dropped(const utility::xml::Node& /*node*/, const std::wstring& message) {
    messages.push_back(platform::toUtf8(message));
}

void LayoutFixture::SetUp() {
    writeFile(folder.native("install/Config/Commands.xml"), testCommandsXml);
    std::wstring problem;
    ASSERT_TRUE(commandTable.load(folder.system("install/Config/Commands.xml"), problem)) << platform::toUtf8(problem);
    frame.commandTable = &commandTable;
}

void LayoutFixture::loadLayout(const std::string& displayXml) {
    const std::string path = "source" + std::to_string(managers.size()) + "/Config/Display.xml";
    writeFile(folder.native(path), displayXml);
    managers.push_back(std::make_unique<layout::LayoutManager>());
    ASSERT_TRUE(manager().loadXmlFile(folder.system(path), frame)) << platform::toUtf8(manager().getLoadProblem());
    std::vector<std::wstring> typeNames;
    manager().getTypeNames(typeNames);
    for (const std::wstring& typeName : typeNames) {
        for (const auto& mode : manager().findType(typeName)->getLayoutModes()) {
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

const layout::CCommandBar& LayoutFixture::toolBar(const std::string& title, const std::string& modeName,
                                                  const std::string& typeName) {
    for (const layout::CCommandBar& bar : table(modeName, typeName).commandBars.getToolBars())
        if (bar.getTitle() == platform::fromUtf8(title))
            return bar;
    ADD_FAILURE() << "no toolbar titled " << title;
    static const layout::CCommandBar none;
    return none;
}

} // namespace tern::test
