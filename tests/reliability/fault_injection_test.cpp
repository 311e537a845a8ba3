// Every public operation that writes files, run once for each file call it
// makes with that call failing (a full disk), until a run no longer reaches
// the failing call. After each run, every file holds its old content or its
// new one, whole, or is a whole copy of a file that was there before (a
// setting copied and then edited, when the edit is what failed); nothing is
// left beside the files, no file the run keeps is lost, no read-only bit is
// lost, and the result is the one a failure gives.
//
// The trees are those of the sample data (examples/), as a user's release
// 2016.0 finds them on its first start, with the read-only files an
// installer and a user leave.

#include "components/utility/xml.h"
#include "option/appender.h"
#include "platform/fault_injection.h"
#include "platform/file_system.h"
#include "tests/reliability/sample_tree.h"
#include "update/setting/setting_item_table.h"
#include "update/update_data.h"
#include "update/updater.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>

namespace tern::reliability {
namespace {

namespace fs = std::filesystem;
namespace xml = utility::xml;
using platform::FileCall;
using test::currentApp;
using test::currentUser;
using test::previousApp;
using test::readFile;
using test::SampleTree;
using test::Tree;
using test::writeFile;

std::string nameOf(FileCall call) {
    static const char* const names[] = {
        "open",          "read", "write", "flush", "rename", "copy", "delete", "attribute change", "folder creation",
        "folder removal"};
    return names[static_cast<int>(call)];
}

// One tree entry's state: a file's content, or "/" for a folder and "@"
// for a link, and whether it is read-only.
struct State {
    std::string content;
    bool readOnly = false;
};

std::map<std::string, State> statesOf(const Tree& tree) {
    static const std::string readOnlyMark = " (read-only)";
    std::map<std::string, State> states;
    for (const std::string& line : tree) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            states[line.substr(0, line.size() - 1)] = {line.substr(line.size() - 1)};
            continue;
        }
        std::string content = line.substr(equals);
        const bool readOnly =
            content.size() >= readOnlyMark.size() &&
            content.compare(content.size() - readOnlyMark.size(), readOnlyMark.size(), readOnlyMark) == 0;
        if (readOnly)
            content.resize(content.size() - readOnlyMark.size());
        states[line.substr(0, equals)] = {content, readOnly};
    }
    return states;
}

// Checks the tree a run with a failing call left against the tree before
// any run and the tree a run without failure left.
void expectEveryFileWhole(const Tree& before, const Tree& after, const Tree& left) {
    const auto old = statesOf(before), done = statesOf(after), now = statesOf(left);
    auto holds = [](const std::map<std::string, State>& states, const std::string& path, const std::string& content) {
        const auto found = states.find(path);
        return found != states.end() && found->second.content == content;
    };
    auto isWholeCopy = [&](const std::string& content) {
        return content.front() == '=' &&
               std::any_of(old.begin(), old.end(), [&](const auto& entry) { return entry.second.content == content; });
    };
    for (const auto& [path, state] : now) {
        if (!old.count(path) && !done.count(path))
            ADD_FAILURE() << path << " is left behind: " << state.content;
        else if (!holds(old, path, state.content) && !holds(done, path, state.content) && !isWholeCopy(state.content))
            ADD_FAILURE() << path
                          << " holds neither what it held nor what it should, nor a whole copy: " << state.content;
        else if (!state.readOnly && old.count(path) && old.at(path).readOnly && done.count(path) &&
                 done.at(path).readOnly)
            ADD_FAILURE() << path << " lost its read-only attribute";
    }
    for (const auto& [path, state] : done) {
        if (old.count(path) && !now.count(path))
            ADD_FAILURE() << path << " is lost";
    }
}

// What one run gives: its result, and whether (and which) call failed.
struct Outcome {
    int result = 0;
    std::optional<FileCall> failed;
};

class FaultInjectionTest : public ::testing::Test {
protected:
    using Prepare = std::function<void(SampleTree&)>;
    using Operation = std::function<int(SampleTree&)>;
    // Checks the result of a run with a failing call; `after` is what a run
    // without failure left.
    using CheckResult =
        std::function<void(const Outcome& clean, const Outcome& run, const SampleTree& fixture, const Tree& after)>;

    // Runs `operation` on a fixture laid out by `prepare`, first without a
    // failure, then with call n failing for n = 1, 2... until a run no
    // longer reaches call n, and checks each run's files and result.
    void runWithEveryFailure(const Prepare& prepare, const Operation& operation, const CheckResult& checkResult) {
        SampleTree first;
        prepare(first);
        const Tree before = test::treeOf(first.temp.path());
        const Outcome clean = runArmed(first, operation, 0);
        const Tree after = test::treeOf(first.temp.path());
        ASSERT_NE(before, after) << "the operation must write something";

        for (std::uint64_t n = 1;; ++n) {
            SampleTree fixture;
            prepare(fixture);
            const Outcome run = runArmed(fixture, operation, n);
            if (!run.failed) {
                EXPECT_GT(n, 1u) << "the operation made no file call that could fail";
                EXPECT_EQ(run.result, clean.result);
                EXPECT_EQ(test::treeOf(fixture.temp.path()), after);
                return;
            }
            SCOPED_TRACE("call " + std::to_string(n) + " failed: " + nameOf(*run.failed));
            expectEveryFileWhole(before, after, test::treeOf(fixture.temp.path()));
            checkResult(clean, run, fixture, after);
            if (HasFailure())
                return; // one failing call tells enough
        }
    }

    // Runs the operation with call n failing; 0 fails none.
    static Outcome runArmed(SampleTree& fixture, const Operation& operation, std::uint64_t n) {
        if (n > 0)
            platform::armFault(n, std::errc::no_space_on_device);
        Outcome run;
        run.result = operation(fixture);
        run.failed = platform::failedFileCall();
        platform::disarmFault();
        return run;
    }

    // The result of an operation that saves one file: what a run without
    // failure gave when the file holds its new content, 0 when it holds the
    // old one.
    static CheckResult savedExactlyWhenSaid(const std::string& file) {
        return [file](const Outcome& clean, const Outcome& run, const SampleTree& fixture, const Tree& after) {
            const std::string saved = "=" + readFile(fixture.temp.native(file));
            EXPECT_EQ(run.result, statesOf(after).at(file).content == saved ? clean.result : 0) << file;
        };
    }
};

// Release 2016.0 starts beside 2015: the layout is carried forward and
// edited, the settings copied and edited, the work data and templates
// copied, the version stamped, the shipped files copied. The previous
// release's "EopRegSetting.xml" and the shipped Survey template are
// read-only, and the user's Standard template older than the shipped one.
// A failure is absorbed: the result stays 1, except that a folder the run
// cannot make ends it with -1.
TEST_F(FaultInjectionTest, UpdaterRun_OnATreeThatInherits) {
    const test::YesToAll yes;
    runWithEveryFailure(
        [](SampleTree& fixture) {
            test::setReadOnly(fixture.temp.native("install/Templates/Layer/Survey.xml"), true);
            test::setReadOnly(fixture.temp.native(std::string(previousApp) + "Config/EopRegSetting.xml"), true);
            writeFile(fixture.temp.native(std::string(currentUser) + "Templates/Layer/Standard.xml"), "<Old/>");
            ASSERT_TRUE(
                platform::setFileStatus(fixture.temp.system(std::string(currentUser) + "Templates/Layer/Standard.xml"),
                                        {126444736000000000, platform::attrReadOnly}));
        },
        [](SampleTree& fixture) {
            update::CUpdater updater;
            return updater.run(fixture.temp.system("install/Update.xml").c_str(), fixture.frame, true);
        },
        [](const Outcome& clean, const Outcome& run, const SampleTree&, const Tree&) {
            if (run.result == -1)
                EXPECT_EQ(*run.failed, FileCall::makeFolder);
            else
                EXPECT_EQ(run.result, clean.result);
        });
}

// The Survey option is appended to the 2015 release's layout, which is
// saved as "Config\Display.xml": 1 exactly when the file holds the new
// layout, 0 when it holds the old one.
TEST_F(FaultInjectionTest, AppenderRun_SavesTheLayoutFile) {
    const std::string layoutFile = std::string(previousApp) + "Config/Display.xml";
    runWithEveryFailure(
        [&](SampleTree& fixture) {
            ASSERT_TRUE(fixture.layouts.loadXmlFile(fixture.temp.system(layoutFile), fixture.frame));
        },
        [](SampleTree& fixture) {
            option::Appender appender;
            return appender.run(L"Survey", fixture.temp.system("install/Options/Survey.xml").c_str(),
                                fixture.temp.system(previousApp).c_str(), fixture.layouts, fixture.commands);
        },
        savedExactlyWhenSaid(layoutFile));
}

// The layout library writes a loaded layout over an older file.
TEST_F(FaultInjectionTest, LayoutSave_ReplacesTheLayoutFile) {
    const std::string layoutFile = std::string(currentApp) + "Config/Display.xml";
    runWithEveryFailure(
        [&](SampleTree& fixture) {
            ASSERT_TRUE(fixture.layouts.loadXmlFile(
                fixture.temp.system(std::string(previousApp) + "Config/Display.xml"), fixture.frame));
            writeFile(fixture.temp.native(layoutFile), "<Display/>\n");
        },
        [&](SampleTree& fixture) {
            return fixture.layouts.saveXmlFile(fixture.temp.system(layoutFile), fixture.commands) ? 1 : 0;
        },
        savedExactlyWhenSaid(layoutFile));
}

// A "Setting" section of the definition adds an element to the 2015
// release's "Draw_Common.xml": true exactly when the file holds it.
TEST_F(FaultInjectionTest, SettingDataApply_SavesTheSettingsFile) {
    const std::string settingsFile = std::string(previousApp) + "Config/Draw_Common.xml";
    runWithEveryFailure([](SampleTree&) {},
                        [](SampleTree& fixture) {
                            update::setting::SettingItemTable table;
                            table.registerItems();
                            xml::Document definition;
                            xml::Element setting;
                            EXPECT_TRUE(xml::loadXml(definition,
                                                     L"<Setting Path=\"Config\\Draw_Common.xml\"><IfN XPath=\"Ortho\">"
                                                     L"<AddNode XPath=\".\">  <Ortho Enabled=\"false\"/>\n</AddNode>"
                                                     L"</IfN></Setting>"));
                            EXPECT_TRUE(xml::getRootElement(setting, definition));
                            update::SettingData section;
                            EXPECT_TRUE(section.load(setting, table));
                            return section.apply(fixture.temp.system(previousApp).c_str()) ? 1 : 0;
                        },
                        savedExactlyWhenSaid(settingsFile));
}

struct TransferringUpdater : update::CUpdater {
    using update::CUpdater::transferSetting;
};

// A release 2012.5 left settings to convert: on a white display its
// drawing settings, "EopRegSetting.xml" and an outdated colour table are
// exchanged, and the read-only initial colour table replaced. Each setting
// is first copied, then converted; a failure leaves it missing, copied or
// converted, whole. The transfer absorbs every failure: true.
TEST_F(FaultInjectionTest, SettingTransfer_CopiesAndConvertsTheSettings) {
    const std::string oldApp = "profile/PLX/OrvoLumen/OrvoLumen/2012_x64/";
    const std::string oldUser = "profile/UserData/2012_x64/";
    runWithEveryFailure(
        [&](SampleTree& fixture) {
            auto old = [&](const std::string& relative) { return fixture.temp.native(oldApp + relative); };
            writeFile(old("version.xml"), "<Versions><Main>2012.5</Main></Versions>");
            writeFile(old("Config/User_Display.xml"), "<UserDisplay BackColor=\"16777215\" GridColor=\"0\"/>");
            writeFile(old("Config/Draw_Common.xml"), "<S Color=\"0\"/>");
            writeFile(old("Config/Draw_String.xml"), "<S Color=\"0\"/>");
            writeFile(old("Config/Convert_Sxf.xml"), "<S Color=\"0\"/>");
            test::setReadOnly(old("Config/Convert_Sxf.xml"), true);
            writeFile(old("Config/EopRegSetting.xml"), "<EopReg Color=\"0\"><Mark LineColor=\"0\"/></EopReg>");
            writeFile(old("Config/System_Color.xml"), "<ColorSetting Version=\"2\"><Color No=\"0\" Value=\"0\"/>"
                                                      "<Color No=\"1\" Value=\"65280\" User=\"1\"/></ColorSetting>");
            writeFile(fixture.temp.native(oldUser + "WorkData/Site.xml"), "<Site/>");
            writeFile(fixture.temp.native(std::string(currentApp) + "InitialConfig/System_Color.xml"),
                      "<ColorSetting Version=\"2\"/>");
            test::setReadOnly(fixture.temp.native(std::string(currentApp) + "InitialConfig/System_Color.xml"), true);
            for (const std::string folder : {"Config/"})
                test::makeFolder(fixture.temp.native(std::string(currentApp) + folder));
            for (const std::string folder : {"WorkData/", "Templates/"})
                test::makeFolder(fixture.temp.native(std::string(currentUser) + folder));
        },
        [&](SampleTree& fixture) {
            TransferringUpdater updater;
            return updater.transferSetting(fixture.temp.system(oldApp).c_str(), fixture.temp.system(oldUser).c_str(),
                                           fixture.frame, true)
                       ? 1
                       : 0;
        },
        [](const Outcome& clean, const Outcome& run, const SampleTree&, const Tree&) {
            EXPECT_EQ(run.result, clean.result);
        });
}

} // namespace
} // namespace tern::reliability
