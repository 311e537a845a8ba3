// The examples of docs/definitions.md, used as the page tells its readers to
// use them: every definition is written out and read by `tnupdate check`,
// and the settings-file edits are applied to the file the page shows before
// them. The HTML comment in front of each example says what it is; the
// page's last section lists the markers.

#include "tests/support/run_program.h"
#include "tests/support/temp_folder.h"
#include "update/definition_file.h"
#include "update/update_data.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <regex>
#include <sstream>

namespace tern::cli {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempFolder;
using test::writeFile;

const char settingsBefore[] = "settings file: before";
const char settingsAfter[] = "settings file: after";

// One ```xml block of the page.
struct Example {
    int line = 0;       // the line of its opening fence
    std::string marker; // the text of the HTML comment right in front of it; empty without one
    std::string text;   // its lines, each ended by "\n"
};

std::vector<Example> xmlExamples(const std::string& page) {
    static const std::regex markerLine(R"(<!-- (.*) -->)");
    std::vector<Example> examples;
    std::istringstream lines(page);
    std::string line;
    std::string marker; // of the last line that was not blank, when it was a marker
    bool inExample = false;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (inExample) {
            if (line == "```")
                inExample = false;
            else
                examples.back().text += line + "\n";
            continue;
        }
        if (line == "```xml") {
            examples.push_back({number, marker, ""});
            inExample = true;
        }
        std::smatch match;
        if (std::regex_match(line, match, markerLine))
            marker = match[1];
        else if (!line.empty())
            marker.clear();
    }
    return examples;
}

// How an example of each kind becomes a whole definition file.
struct Kind {
    const char* name;
    const char* head;
    const char* tail;
};

const Kind kinds[] = {
    {"update", "", ""},
    {"option", "", ""},
    {"entries", "<Update_Data>\n", "</Update_Data>\n"},
    {"layout", "<Update_Data><Update ver=\"2016.0\"><Layout>\n", "</Layout></Update></Update_Data>\n"},
    {"setting", "<Update_Data><Update ver=\"2016.0\"><Setting Path=\"Config\\Draw_Common.xml\">\n",
     "</Setting></Update></Update_Data>\n"},
};

// A "check: KIND" marker, with the number of problems it expects.
struct Check {
    const Kind* kind = nullptr;
    int problems = 0;

    std::string definition(const Example& example) const { return kind->head + example.text + kind->tail; }
};

std::optional<Check> checkOf(const Example& example) {
    static const std::regex form(R"(check: (\w+)(?:, (\d+) problems?)?)");
    std::smatch match;
    if (!std::regex_match(example.marker, match, form))
        return std::nullopt;
    for (const Kind& kind : kinds)
        if (match[1] == kind.name)
            return Check{&kind, match[2].matched ? std::stoi(match[2]) : 0};
    return std::nullopt;
}

bool isCheckOf(const Example& example, const std::string& kindName) {
    const auto check = checkOf(example);
    return check && check->kind->name == kindName;
}

// The problem count of check's last line ("N entries, M problems"); -1 when
// the line holds no count.
int problemCount(const std::string& lastLine) {
    static const std::regex count(R"((\d+) problems?)");
    std::smatch match;
    return std::regex_search(lastLine, match, count) ? std::stoi(match[1]) : -1;
}

std::string where(const Example& example) { return "the example at line " + std::to_string(example.line); }

class DefinitionsDocTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string page = readFile(TN_DEFINITIONS_DOC);
        ASSERT_FALSE(page.empty()) << "cannot read " << TN_DEFINITIONS_DOC;
        examples = xmlExamples(page);
    }

    test::ProgramResult check(const std::string& definition) {
        writeFile(temp.native("Example.xml"), definition);
        return test::runProgram(TNUPDATE_EXE, {"check", "--commands", "Commands.xml", "Example.xml"}, temp.path());
    }

    // The settings file after the definition's setting sections ran on it in
    // the folder they are applied to, as the update runs them.
    std::string applied(const std::string& settingsFile, const std::string& definition) {
        writeFile(temp.native("Config/Draw_Common.xml"), settingsFile);
        writeFile(temp.native("Edit.xml"), definition);
        std::vector<update::UpdateData*> loaded;
        EXPECT_TRUE(update::loadDefinitionFile(loaded, temp.system("Edit.xml").c_str(), L"Update_Data",
                                               update::BareLayouts::skip));
        const std::vector<std::unique_ptr<update::UpdateData>> entries(loaded.begin(), loaded.end());
        for (const auto& entry : entries)
            for (update::SettingData* section : entry->settings)
                EXPECT_TRUE(section->apply(temp.system().c_str()));
        return readFile(temp.native("Config/Draw_Common.xml"));
    }

    std::vector<Example> examples;
    TempFolder temp;
};

TEST_F(DefinitionsDocTest, EveryXmlExample_IsMarked_AndBothKindsOfCompleteDefinitionAreThere) {
    int updates = 0;
    int options = 0;
    for (const Example& example : examples) {
        EXPECT_TRUE(checkOf(example) || example.marker == settingsBefore || example.marker == settingsAfter)
            << where(example) << " has no known marker: \"" << example.marker << "\"";
        updates += isCheckOf(example, "update");
        options += isCheckOf(example, "option");
    }
    EXPECT_GE(updates, 1);
    EXPECT_GE(options, 1);
}

TEST_F(DefinitionsDocTest, EveryDefinitionExample_PassesCheck_WithTheProblemsItsMarkerCounts) {
    fs::copy_file(TN_EXAMPLES_DIR "/install/Config/Commands.xml", temp.native("Commands.xml"));
    int checked = 0;
    for (const Example& example : examples) {
        const auto expected = checkOf(example);
        if (!expected)
            continue;
        SCOPED_TRACE(where(example));
        const auto result = check(expected->definition(example));
        EXPECT_EQ(result.status, expected->problems == 0 ? 0 : 1) << result.output;
        EXPECT_EQ(problemCount(result.lastLine()), expected->problems) << result.output;
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST_F(DefinitionsDocTest, SettingExamples_TurnTheFileShownBefore_IntoTheFileShownAfter) {
    const Example* before = nullptr;
    const Example* edit = nullptr;
    int shown = 0;
    for (const Example& example : examples) {
        if (example.marker == settingsBefore) {
            before = &example;
            edit = nullptr;
        } else if (before && !edit && isCheckOf(example, "setting")) {
            edit = &example;
        } else if (example.marker == settingsAfter) {
            ASSERT_TRUE(before && edit) << where(example) << " follows no settings file and setting example";
            EXPECT_EQ(applied(before->text, checkOf(*edit)->definition(*edit)), example.text) << where(*edit);
            before = edit = nullptr;
            ++shown;
        }
    }
    EXPECT_GT(shown, 0);
}

} // namespace
} // namespace tern::cli
