#include "components/utility/command_table.h"

#include "platform/text.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <utility>

namespace tern::utility {
namespace {

class CommandTableTest : public ::testing::Test {
protected:
    // Writes the text as Commands.xml and loads it into the table.
    bool load(const std::string& text) {
        test::writeFile(folder.native("Commands.xml"), text);
        return table.load(folder.system("Commands.xml"), problem);
    }
    std::string reason() const { return platform::toUtf8(problem); }

    test::TempFolder folder;
    CCommandTable table;
    std::wstring problem;
};

const char* const twoCommands = R"(<?xml version="1.0" encoding="UTF-8"?>
<Commands>
  <!-- drawing -->
  <Command SID="ID_DRAW_LINE" Id="32771" Caption="Line"/>
  <Command SID="ID_FILE_OPEN" Id="57601"/>
</Commands>)";

// COM is open per thread, and a new thread has none: only a load that opens
// its own apartment can read the file there.
TEST_F(CommandTableTest, GetCommand_FillsTheRecordOfAKnownSid_LoadedEvenOnAThreadWithoutCom) {
    EXPECT_FALSE(table.IsCommand(L"ID_DRAW_LINE"));
    test::writeFile(folder.native("Commands.xml"), twoCommands);
    bool loaded = false;
    std::thread([&] { loaded = table.load(folder.system("Commands.xml"), problem); }).join();
    ASSERT_TRUE(loaded) << reason();
    EXPECT_TRUE(problem.empty());

    SCommand record;
    EXPECT_EQ(table.GetCommand(L"ID_DRAW_LINE", record), 0);
    EXPECT_EQ(record.id, 32771);
    EXPECT_EQ(record.caption, L"Line");
    EXPECT_EQ(record.sid, L"ID_DRAW_LINE");
    EXPECT_EQ(table.GetCommand(L"ID_FILE_OPEN", record), 1);
    EXPECT_EQ(record.id, 57601);
    EXPECT_EQ(record.caption, L"");
    EXPECT_TRUE(table.IsCommand(L"ID_FILE_OPEN"));
}

// A record copied from the table shares the table's SID rather than
// copying it, and still reads and compares as the text.
TEST_F(CommandTableTest, ARecordsSid_IsSharedByItsCopies_AndComparesAsItsText) {
    ASSERT_TRUE(load(twoCommands)) << reason();
    SCommand record;
    ASSERT_EQ(table.GetCommand(L"ID_DRAW_LINE", record), 0);
    EXPECT_EQ(&record.sid.str(), &table.findCommand(L"ID_DRAW_LINE")->sid.str());
    const SCommand copy = record;
    EXPECT_EQ(&copy.sid.str(), &record.sid.str());
    EXPECT_TRUE(copy.sid == std::wstring(L"ID_DRAW_LINE") && copy.sid == SharedText(L"ID_DRAW_LINE"));
    EXPECT_TRUE(copy.sid != L"ID_DRAW_LINE " && SharedText() == std::wstring() && SharedText(L"").empty());
    record.sid = L"ID_OTHER";
    EXPECT_EQ(copy.sid, L"ID_DRAW_LINE") << "giving a record another SID leaves its copies theirs";
}

// The index compares the SIDs where the commands hold them: a copy of the
// table keeps answering after the table it was copied from has loaded
// another file and been destroyed.
TEST_F(CommandTableTest, ACopyOfTheTable_AnswersOnItsOwn_AfterTheOriginalLoadsAgainAndGoes) {
    ASSERT_TRUE(load(twoCommands)) << reason();
    auto original = std::make_unique<CCommandTable>(table);
    const CCommandTable copy = *original;
    ASSERT_TRUE(original->load(folder.system("Commands.xml"), problem)) << reason();
    ASSERT_TRUE(load("<Commands><Command SID=\"ID_OTHER\" Id=\"1\"/></Commands>")) << reason();
    ASSERT_TRUE(original->load(folder.system("Commands.xml"), problem)) << reason();
    original.reset();
    table = CCommandTable();

    SCommand record;
    EXPECT_EQ(copy.GetCommand(L"ID_FILE_OPEN", record), 1);
    EXPECT_EQ(record.id, 57601);
    EXPECT_TRUE(copy.IsCommand(L"ID_DRAW_LINE"));
    EXPECT_FALSE(copy.IsCommand(L"ID_OTHER"));
}

TEST_F(CommandTableTest, GetCommand_IsNegativeAndLeavesTheRecord_ForAnUnknownSid) {
    ASSERT_TRUE(load(twoCommands)) << reason();
    SCommand record{7, L"kept", L"ID_KEPT"};
    EXPECT_LT(table.GetCommand(L"id_draw_line", record), 0);
    EXPECT_LT(table.GetCommand(L"", record), 0);
    EXPECT_EQ(record.id, 7);
    EXPECT_EQ(record.caption, L"kept");
    EXPECT_FALSE(table.IsCommand(L"ID_UNKNOWN"));
    ASSERT_TRUE(load("<Commands/>")) << reason();
    EXPECT_FALSE(table.IsCommand(L"ID_DRAW_LINE"));
}

TEST_F(CommandTableTest, FindCommand_GivesTheTablesRecordInPlace_WithItsCaption_AndNullForAnUnknownSid) {
    ASSERT_TRUE(load(twoCommands)) << reason();
    std::wstring_view caption = L"unset";
    const SCommand* line = table.findCommand(L"ID_DRAW_LINE", &caption);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->id, 32771);
    EXPECT_EQ(line->caption, L"Line");
    EXPECT_EQ(caption, L"Line");
    EXPECT_EQ(caption.data(), line->caption.str().data()) << "the caption is the record's own characters";
    EXPECT_EQ(table.findCommand(L"ID_DRAW_LINE"), line);
    ASSERT_NE(table.findCommand(L"ID_FILE_OPEN", &caption), nullptr);
    EXPECT_EQ(caption, L"") << "a command without a caption";
    caption = L"unset";
    EXPECT_EQ(table.findCommand(L"id_draw_line", &caption), nullptr);
    EXPECT_EQ(table.findCommand(L"", &caption), nullptr);
    EXPECT_EQ(caption, L"unset") << "an unknown SID leaves the caption as it was";
}

// A table loaded again answers from its new commands only.
TEST_F(CommandTableTest, Lookups_FollowTheLastLoad_EveryCommandOfALargeTableFoundAtItsPlace) {
    std::string text = "<Commands>";
    for (int i = 1; i <= 5000; ++i)
        text += "<Command SID=\"ID_" + std::to_string(i) + "\" Id=\"" + std::to_string(i) + "\"/>";
    ASSERT_TRUE(load(text + "</Commands>")) << reason();
    SCommand record;
    for (int i = 1; i <= 5000; ++i)
        ASSERT_EQ(table.GetCommand(L"ID_" + std::to_wstring(i), record), i - 1);
    EXPECT_EQ(record.id, 5000);

    ASSERT_TRUE(load(twoCommands)) << reason();
    EXPECT_FALSE(table.IsCommand(L"ID_1"));
    EXPECT_EQ(table.GetCommand(L"ID_FILE_OPEN", record), 1);
}

// The SIDs and the identifiers are each kept in a table sized for the whole
// file: one met again thousands of commands later is still found repeated,
// also among identifiers that are all multiples of a large power of two.
TEST_F(CommandTableTest, Load_RefusesASidOrAnIdRepeatedFarDownALargeFile_AtTheLineOfTheRepeat) {
    std::string text = "<Commands>\n";
    for (int i = 1; i <= 3000; ++i)
        text += "<Command SID=\"ID_" + std::to_string(i) + "\" Id=\"" + std::to_string(i * 4096) + "\"/>\n";
    ASSERT_TRUE(load(text + "</Commands>")) << reason();
    EXPECT_FALSE(load(text + "<Command SID=\"ID_3\" Id=\"1\"/>\n</Commands>"));
    EXPECT_NE(reason().find("Commands.xml, line 3002: the SID \"ID_3\" is listed twice."), std::string::npos)
        << reason();
    EXPECT_FALSE(load(text + "<Command SID=\"ID_NEW\" Id=\"12288\"/>\n</Commands>"));
    EXPECT_NE(reason().find("Commands.xml, line 3002: the Id 12288 of command \"ID_NEW\" is already used"),
              std::string::npos)
        << reason();
    EXPECT_TRUE(table.IsCommand(L"ID_3000"));
}

// The commands are read before they are indexed: a repeat is still named
// before a fault further down, and after one further up.
TEST_F(CommandTableTest, Load_NamesTheFirstFaultInTheFile_WhetherARepeatOrABadCommand) {
    const std::pair<std::string, const char*> cases[] = {
        {R"(<Command SID="ID_A" Id="1"/><Command SID="ID_A" Id="2"/><Command SID="ID_B" Id="x"/>)",
         R"(the SID "ID_A" is listed twice)"},
        {R"(<Command SID="ID_A" Id="1"/><Command SID="ID_B" Id="0"/><Command SID="ID_A" Id="3"/>)",
         R"(the "Id" "0" of command "ID_B")"},
        {R"(<Command SID="ID_A" Id="1"/><Command SID="ID_B" Id="01"/><Command SID="ID_B" Id="3"/>)",
         R"(line 4: the Id 01 of command "ID_B" is already used)"},
        {R"(<Command SID="ID_A" Id="1"/><Command SID="ID_B" Id="2"/><Command SID="ID_A" Id="2"/>)",
         R"(line 5: the SID "ID_A" is listed twice)"},
        {R"(<Command SID="ID_A" Id="1"/><Command SID="ID_B" Id="2"/><Command SID="ID_B" Id="3"/><Group/>)",
         R"(line 5: the SID "ID_B" is listed twice)"},
    };
    for (const auto& [commands, fault] : cases) {
        std::string text = "<Commands>\n<!-- the first -->\n" + commands + "\n</Commands>";
        // One command a line, the first on line 3.
        for (std::size_t at = text.find("/><"); at != std::string::npos; at = text.find("/><", at))
            text.insert(at += 2, "\n");
        SCOPED_TRACE(text);
        EXPECT_FALSE(load(text));
        EXPECT_NE(reason().find(fault), std::string::npos) << reason();
    }
}

TEST_F(CommandTableTest, Load_RefusesTheWholeFile_NamingTheFault_AndKeepsThePreviousTable) {
    const auto commands = [](const std::string& content) { return "<Commands>" + content + "</Commands>"; };
    const std::pair<std::string, const char*> cases[] = {
        {commands(R"(<Command SID="ID_NEW" Id="1"/><Command SID="ID_NEW" Id="2"/>)"),
         R"(the SID "ID_NEW" is listed twice)"},
        {commands(R"(<Command SID="ID_NEW" Id="5"/><Command SID="ID_OTHER" Id="5"/>)"),
         R"(the Id 5 of command "ID_OTHER" is already used)"},
        {commands(R"(<Command SID="ID_NEW" Id="1"/><Command Id="2"/>)"), R"(a "Command" has no "SID")"},
        {commands(R"(<Command SID="ID_NEW" Id="1"/><Command SID="" Id="2"/>)"), R"(a "Command" has no "SID")"},
        {commands(R"(<Command SID="ID_NEW"/>)"), R"(the "Id" "" of command "ID_NEW")"},
        {commands(R"(<Command SID="ID_NEW" Id="0"/>)"), R"("0" of command "ID_NEW" is not a positive)"},
        {commands(R"(<Command SID="ID_NEW" Id="12a"/>)"), R"("12a")"},
        {commands(R"(<Command SID="ID_NEW" Id="-3"/>)"), R"("-3")"},
        {commands(R"(<Command SID="ID_NEW" Id="1"/><Group/>)"), R"("Group" is not allowed in "Commands")"},
        {commands(R"(<Command SID="ID_NEW" Id="1">)"), "cannot be read as XML"},
        {R"(<Display/>)", R"(the root element is "Display", not "Commands")"},
    };
    ASSERT_TRUE(load(twoCommands)) << reason();
    for (const auto& [text, fault] : cases) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(load(text));
        EXPECT_NE(reason().find(fault), std::string::npos) << reason();
        EXPECT_NE(reason().find("Commands.xml"), std::string::npos) << reason();
        EXPECT_TRUE(table.IsCommand(L"ID_DRAW_LINE"));
        EXPECT_FALSE(table.IsCommand(L"ID_NEW"));
    }
    EXPECT_FALSE(table.load(folder.system("Missing.xml"), problem));
    EXPECT_NE(reason().find("Missing.xml"), std::string::npos) << reason();
    EXPECT_TRUE(table.IsCommand(L"ID_DRAW_LINE"));
}

} // namespace
} // namespace tern::utility
