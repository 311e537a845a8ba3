#include "tests/fuzz/layout_fixtures.h"

#include "components/utility/command_table.h"
#include "tests/fuzz/fuzz_target.h"
#include "tests/support/test_frame.h"

namespace tern::fuzz {

namespace {

const char* const commandsXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<Commands>
  <Command SID="ID_FILE_OPEN" Id="57601" Caption="&amp;Open..."/>
  <Command SID="ID_FILE_SAVE" Id="57603" Caption="Save"/>
  <Command SID="ID_FILE_PRINT" Id="57607" Caption="Print"/>
  <Command SID="ID_DRAW_LINE" Id="32771" Caption="Line"/>
  <Command SID="ID_DRAW_CIRCLE" Id="32772" Caption="Circle"/>
  <Command SID="ID_DRAW_ARC" Id="32773" Caption="Arc"/>
  <Command SID="ID_DRAW_POLYGON" Id="32774" Caption="Polygon"/>
  <Command SID="ID_VIEW_ZOOM" Id="32801" Caption="Zoom"/>
  <Command SID="ID_VIEW_ORBIT" Id="32802" Caption="Orbit"/>
  <Command SID="ID_SURVEY_POINT" Id="33001" Caption="Survey Point"/>
  <Command SID="ID_SURVEY_TRAVERSE" Id="33002" Caption="Traverse"/>
  <Command SID="ID_SURVEY_AREA" Id="33003" Caption="Area"/>
  <Command SID="ID_MEASURE_TEXT" Id="33101" Caption="&lt;寸法&gt; &quot;A&quot;"/>
</Commands>
)";

utility::CCommandTable loadCommands() {
    utility::CCommandTable table;
    std::wstring problem;
    require(table.load(writeInput(L"Commands.xml", commandsXml), problem), "the fixed command table loads");
    return table;
}

} // namespace

const utility::CCommandTable& commandTable() {
    static const utility::CCommandTable table = loadCommands();
    return table;
}

const core::IMainFrame& frame() {
    static const test::TestFrame frame = [] {
        test::TestFrame made;
        made.commandTable = &commandTable();
        return made;
    }();
    return frame;
}

} // namespace tern::fuzz
