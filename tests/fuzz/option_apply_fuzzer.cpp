// Option apply: the input is an option definition, appended to a fixed
// layout as `tnupdate option` does. The run reports 0 or 1; the layout file
// is written exactly when it reports 1, and what it wrote loads again and
// saves to the same bytes; a second run of the same option on the model it
// left changes nothing and writes nothing.

#include "components/layout/layout_manager.h"
#include "option/appender.h"
#include "platform/file_system.h"
#include "tests/fuzz/fuzz_target.h"
#include "tests/fuzz/layout_fixtures.h"

using namespace tern;

namespace {

// Two layout types, one with every mode and an option already recorded,
// menus nested two levels, toolbars and a command the table does not know.
const char* const layoutXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<Display>
  <LayoutType Name="Standard">
    <AppendOption Name="Fuzz" Major="1" Minor="0"/>
    <LayoutMode Name="Normal">
      <Ribbon>
        <Tab Id="1" Caption="Home">
          <Group Id="2" Caption="File">
            <Control SID="ID_FILE_OPEN" Caption="&amp;Open..."/>
            <Control SID="ID_FILE_SAVE" Caption="Save"/>
          </Group>
          <Group Id="3" Caption="Draw">
            <Control SID="ID_DRAW_LINE" Caption="Line"/>
            <Control SID="ID_OLD_CURVE" Caption="Old curve"/>
          </Group>
        </Tab>
        <Tab Id="4" Caption="View">
          <Group Id="5" Caption="Navigate">
            <Control SID="ID_VIEW_ZOOM" Caption="Zoom"/>
          </Group>
        </Tab>
      </Ribbon>
      <Menu>
        <Popup Caption="File">
          <Command SID="ID_FILE_OPEN" Caption="&amp;Open..."/>
          <Separator/>
          <Popup Caption="Export">
            <Command SID="ID_FILE_PRINT" Caption="Print"/>
          </Popup>
        </Popup>
        <Popup Caption="Draw">
          <Command SID="ID_DRAW_LINE" Caption="Line"/>
          <Command SID="ID_DRAW_CIRCLE" Caption="Circle"/>
        </Popup>
      </Menu>
      <ToolBar Title="Standard" Position="Top">
        <Command SID="ID_FILE_OPEN" Caption="&amp;Open..."/>
        <Command SID="ID_DRAW_LINE" Caption="Line" BeginGroup="true"/>
      </ToolBar>
      <ToolBar Title="Survey" Position="Left">
        <Command SID="ID_SURVEY_POINT" Caption="Survey Point"/>
      </ToolBar>
      <ToolBarOption Title="Survey"/>
    </LayoutMode>
    <LayoutMode Name="3D">
      <Ribbon>
        <Tab Id="1" Caption="Home">
          <Group Id="2" Caption="View">
            <Control SID="ID_VIEW_ORBIT" Caption="Orbit"/>
          </Group>
        </Tab>
      </Ribbon>
      <Menu/>
    </LayoutMode>
    <LayoutMode Name="Red">
      <Menu>
        <Popup Caption="Draw"/>
      </Menu>
    </LayoutMode>
  </LayoutType>
  <LayoutType Name="Compact">
    <LayoutMode Name="Normal">
      <Ribbon>
        <Tab Id="1" Caption="Home">
          <Group Id="2" Caption="Draw">
            <Control SID="ID_DRAW_LINE" Caption="Line"/>
          </Group>
        </Tab>
      </Ribbon>
      <Menu>
        <Command SID="ID_DRAW_LINE" Caption="Line"/>
      </Menu>
    </LayoutMode>
  </LayoutType>
</Display>
)";

const std::wstring& layoutPath() {
    static const std::wstring path = fuzz::writeInput(L"Layout.xml", layoutXml);
    return path;
}

// The application-data folder the appender writes "Config\Display.xml" below.
const std::wstring& appDataFolder() {
    static const std::wstring path = [] {
        const std::wstring folder = fuzz::folder() + L"AppData\\";
        fuzz::require(platform::makeFolder(folder) && platform::makeFolder(folder + L"Config\\"),
                      "the application-data folder can be made");
        return folder;
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring definition = fuzz::writeInput(L"Option.xml", fuzz::bytesOf(data, size));
    const std::wstring written = appDataFolder() + L"Config\\Display.xml";
    platform::deleteFile(written);
    layout::LayoutManager layouts;
    fuzz::require(layouts.loadXmlFile(layoutPath(), fuzz::frame()), "the fixed layout loads");

    option::Appender appender;
    const int result =
        appender.run(L"Fuzz", definition.c_str(), appDataFolder().c_str(), layouts, fuzz::commandTable());
    fuzz::require(result == 0 || result == 1, "a run on a good folder gives 0 or 1");
    fuzz::require(platform::exists(written) == (result == 1), "the layout file is written exactly when a run gives 1");
    if (result == 1) {
        layout::LayoutManager reread;
        const std::wstring resaved = fuzz::folder() + L"Resaved.xml";
        fuzz::require(reread.loadXmlFile(written, fuzz::frame()), "the written layout file loads again");
        fuzz::require(reread.saveXmlFile(resaved, fuzz::commandTable()) &&
                          fuzz::contentOf(resaved) == fuzz::contentOf(written),
                      "the written layout file saves again to the same bytes");
    }

    const auto before = fuzz::contentOf(written);
    fuzz::require(appender.run(L"Fuzz", definition.c_str(), appDataFolder().c_str(), layouts, fuzz::commandTable()) ==
                      0,
                  "a second run of the same option gives 0");
    fuzz::require(fuzz::contentOf(written) == before, "a second run of the same option writes nothing");
    return 0;
}
