// The run report printer fed with events of every shape, where a run of the
// program on the sample data cannot produce them: sources, details spread
// over lines, errors in each style, plurals.

#include "cli/run_report_printer.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <sstream>

namespace tern::cli {
namespace {

using core::RunEvent;
using core::RunEventDetails;

// A relative system path as this platform writes it.
std::string native(const char* first, const char* second) { return (std::filesystem::path(first) / second).string(); }

class RunReportPrinterTest : public ::testing::Test {
protected:
    int print(ReportStyle style, const std::vector<RunEventDetails>& events, int result) {
        RunReportPrinter printer(style, out, errors);
        for (const RunEventDetails& event : events)
            printer.happened(event);
        return printer.finish(result);
    }

    const std::vector<RunEventDetails> mixed{
        {RunEvent::folderMade, L"Config\\", {}, {}, {}, {}, {}},
        {RunEvent::fileReplaced, L"Config\\A.xml", L"Old\\A.xml", {}, {}, {}, L"it was older"},
        {RunEvent::attributesChanged, L"Config\\A.xml", {}, {}, {}, L"read-only cleared", {}},
        {RunEvent::settingEditApplied, L"Config\\B.xml", {}, L"Grid", {}, L"\n  <Grid\tPitch=\"5\"/>\n", {}},
        {RunEvent::settingEditNotApplied, L"Config\\B.xml", {}, L"Snap[", {}, {}, L"not an XPath"},
        {RunEvent::questionAsked, {}, {}, L"Inherit the settings?", {}, L"yes", {}},
        {RunEvent::fileCopied, L"Config\\C.xml", L"Old\\C.xml", {}, {}, {}, {}},
        {RunEvent::fileCopied, L"Config\\D.xml", L"Old\\D.xml", {}, {}, {}, {}},
        {RunEvent::finished, {}, {}, {}, {}, L"1", {}},
    };
    const RunEventDetails notWritten{RunEvent::fileNotWritten, L"Config\\Display.xml", {}, {}, {}, {},
                                     L"Permission denied"};
    std::ostringstream out;
    std::ostringstream errors;
};

TEST_F(RunReportPrinterTest, Verbose_PrintsEveryFieldAnEventHas_OnOneLineEach) {
    EXPECT_EQ(print(ReportStyle::verbose, mixed, 1), 0);
    EXPECT_EQ(out.str(), "folder made: " + native("Config", "") + "\n" + "file replaced: " + native("Config", "A.xml") +
                             " (from " + native("Old", "A.xml") + "): it was older\n" +
                             "attributes changed: " + native("Config", "A.xml") + ": read-only cleared\n" +
                             "setting edit applied: " + native("Config", "B.xml") + " Grid: <Grid Pitch=\"5\"/>\n" +
                             "setting edit not applied: " + native("Config", "B.xml") + " Snap[: not an XPath\n" +
                             "question: Inherit the settings?: yes\n" + "file copied: " + native("Config", "C.xml") +
                             " (from " + native("Old", "C.xml") + ")\n" + "file copied: " + native("Config", "D.xml") +
                             " (from " + native("Old", "D.xml") + ")\n" + "result: 1\n");
    EXPECT_EQ(errors.str(), "");
}

TEST_F(RunReportPrinterTest, Summary_CountsEachKindWithItsPlural_AndListsWhatWasNotApplied) {
    EXPECT_EQ(print(ReportStyle::summary, mixed, 1), 0);
    EXPECT_EQ(out.str(), "1 folder made, 2 files copied, 1 file replaced, 1 attribute change, 1 question asked, "
                         "1 setting edit applied, 1 setting edit not applied\n"
                         "setting edit not applied: " +
                             native("Config", "B.xml") + " Snap[: not an XPath\nresult: 1\n");
}

TEST_F(RunReportPrinterTest, Summary_OfARunThatDidNothing_IsTheResultLineAlone) {
    EXPECT_EQ(print(ReportStyle::summary, {{RunEvent::finished, {}, {}, {}, {}, L"0", {}}}, 0), 0);
    EXPECT_EQ(out.str(), "result: 0\n");
}

// An error is said once, on the error stream, in every text style, and
// makes the exit status 1 whatever the result.
TEST_F(RunReportPrinterTest, Errors_GoToTheErrorStreamOnly_AndFailTheExitStatus) {
    for (ReportStyle style : {ReportStyle::summary, ReportStyle::verbose, ReportStyle::quiet}) {
        out.str("");
        errors.str("");
        EXPECT_EQ(print(style, {notWritten}, 0), 1);
        EXPECT_EQ(errors.str(),
                  "error: file not written: " + native("Config", "Display.xml") + ": Permission denied\n");
        EXPECT_EQ(out.str().find("error"), std::string::npos) << out.str();
        EXPECT_EQ(out.str().find("Display.xml"), std::string::npos) << out.str();
    }
}

TEST_F(RunReportPrinterTest, Refusal_FailsTheExitStatus_AndQuietPrintsOnlyTheResult) {
    EXPECT_EQ(print(ReportStyle::quiet, {{RunEvent::refused, {}, {}, {}, {}, {}, L"no folder was given"}}, -1), 1);
    EXPECT_EQ(out.str(), "result: -1\n");
    EXPECT_EQ(errors.str(), "error: refused: no folder was given\n");
}

TEST_F(RunReportPrinterTest, Json_CarriesEveryEventWithItsFields_AndTheErrors_ButNothingOnTheErrorStream) {
    std::vector<RunEventDetails> events = mixed;
    events.push_back(notWritten);
    EXPECT_EQ(print(ReportStyle::json, events, 0), 1);
    EXPECT_EQ(errors.str(), "");
    const nlohmann::json document = nlohmann::json::parse(out.str());
    EXPECT_EQ(document.at("result"), 0);
    ASSERT_EQ(document.at("events").size(), events.size());
    EXPECT_EQ(document.at("events")[1], (nlohmann::json{{"event", "fileReplaced"},
                                                        {"path", native("Config", "A.xml")},
                                                        {"source", native("Old", "A.xml")},
                                                        {"reason", "it was older"}}));
    // Text is carried as it is, line breaks included.
    EXPECT_EQ(document.at("events")[3].at("detail"), "\n  <Grid\tPitch=\"5\"/>\n");
    EXPECT_EQ(document.at("events")[9].at("event"), "fileNotWritten");
    EXPECT_EQ(document.at("counts"), (nlohmann::json{{"folderMade", 1},
                                                     {"fileReplaced", 1},
                                                     {"attributesChanged", 1},
                                                     {"settingEditApplied", 1},
                                                     {"settingEditNotApplied", 1},
                                                     {"questionAsked", 1},
                                                     {"fileCopied", 2},
                                                     {"finished", 1},
                                                     {"fileNotWritten", 1}}));
}

TEST_F(RunReportPrinterTest, PathThatIsNotValidUtf16_IsStillPrinted_WithTheReplacementCharacter) {
    const std::wstring unpaired(1, static_cast<wchar_t>(0xD800));
    EXPECT_EQ(
        print(ReportStyle::json, {{RunEvent::fileWritten, L"Config\\" + unpaired + L".xml", {}, {}, {}, {}, {}}}, 1),
        0);
    const nlohmann::json document = nlohmann::json::parse(out.str());
    // The unpaired half stands as the replacement character.
    EXPECT_EQ(document.at("events")[0].at("path"), native("Config", "") + "\xEF\xBF\xBD.xml");
}

} // namespace
} // namespace tern::cli
