// The public operations given files that used to block a run, exhaust the
// host's memory or be destroyed by a save: pipes and devices, an encoding
// that does not survive being written, entities, links, what a killed save
// left, and exceptions on the way out of an entry.

#include "components/utility/xml.h"
#include "option/appender.h"
#include "platform/file_system.h"
#include "tests/reliability/sample_tree.h"
#include "update/setting/setting_item_table.h"
#include "update/update_data.h"
#include "update/updater.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <iostream>
#include <new>
#include <typeinfo>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace tern::reliability {
namespace {

namespace fs = std::filesystem;
namespace xml = utility::xml;
using test::currentApp;
using test::currentUser;
using test::previousApp;
using test::readFile;
using test::SampleTree;
using test::Tree;
using test::treeOf;
using test::writeFile;

// The operation's result; a run that has not returned after a minute has
// blocked, and ends the test program rather than hang it.
template <typename Operation> auto returnsPromptly(Operation operation) {
    auto result = std::async(std::launch::async, operation);
    if (result.wait_for(std::chrono::minutes(1)) == std::future_status::timeout) {
        std::cerr << "the operation blocked\n";
        std::_Exit(1);
    }
    return result.get();
}

int runUpdate(SampleTree& sample, const std::wstring& definition) {
    const test::YesToAll yes;
    update::CUpdater updater;
    return updater.run(definition.c_str(), sample.frame, true);
}

int runSurveyOption(SampleTree& sample, const std::string& folder) {
    option::Appender appender;
    return appender.run(L"Survey", sample.temp.system("install/Options/Survey.xml").c_str(),
                        sample.temp.system(folder).c_str(), sample.layouts, sample.commands);
}

// Applies a section that adds an "Ortho" element to the 2015 release's
// "Draw_Common.xml".
bool addOrtho(const SampleTree& sample) {
    update::setting::SettingItemTable table;
    table.registerItems();
    xml::Document definition;
    xml::Element setting;
    EXPECT_TRUE(xml::loadXml(definition, L"<Setting Path=\"Config\\Draw_Common.xml\">"
                                         L"<AddNode XPath=\".\"><Ortho Enabled=\"false\"/></AddNode></Setting>"));
    EXPECT_TRUE(xml::getRootElement(setting, definition));
    update::SettingData section;
    EXPECT_TRUE(section.load(setting, table));
    return section.apply(sample.temp.system(previousApp).c_str());
}

// --- Pipes and devices are refused at once ---

#ifndef _WIN32
void makePipe(const fs::path& path) {
    fs::remove(path);
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0) << path;
}

// A pipe where a definition, a shipped template, a command table or a
// layout file should be has no writer: reading it used to block the run
// for ever, and the templates after it were never copied.
TEST(HostileFiles, Pipes_AreRefusedWithoutWaiting_AndTheRunGoesOn) {
    SampleTree sample;
    makePipe(sample.temp.native("install/Update.xml"));
    makePipe(sample.temp.native("install/Templates/Layer/A.xml")); // listed before the others
    EXPECT_EQ(returnsPromptly([&] { return runUpdate(sample, sample.temp.system("install/Update.xml")); }), 1);
    EXPECT_EQ(treeOf(sample.temp.native(std::string(currentUser) + "Templates/Layer")),
              (Tree{"Standard.xml=" + readFile(sample.temp.native("install/Templates/Layer/Standard.xml")),
                    "Survey.xml=" + readFile(sample.temp.native("install/Templates/Layer/Survey.xml"))}));

    makePipe(sample.temp.native("install/Config/Commands.xml"));
    std::wstring problem;
    EXPECT_FALSE(returnsPromptly([&] {
        utility::CCommandTable commands;
        return commands.load(sample.temp.system("install/Config/Commands.xml"), problem);
    }));
    EXPECT_EQ(problem, sample.temp.system("install/Config/Commands.xml") +
                           L": the file cannot be read as XML: it cannot be read: not a regular file (a pipe, a "
                           L"device or a socket).");

    makePipe(sample.temp.native(std::string(previousApp) + "Config/Display.xml"));
    EXPECT_FALSE(returnsPromptly([&] {
        return sample.layouts.loadXmlFile(sample.temp.system(std::string(previousApp) + "Config/Display.xml"),
                                          sample.frame);
    }));
}

// Read whole, an endless device used to grow memory until std::bad_alloc
// left the library and ended the host.
TEST(HostileFiles, AnEndlessDevice_AsTheDefinition_IsRefused_AndTheShippedFilesStillCome) {
    SampleTree sample;
    EXPECT_EQ(returnsPromptly([&] { return runUpdate(sample, L"\\dev\\zero"); }), 1);
    EXPECT_EQ(treeOf(sample.temp.native(std::string(currentApp) + "Config")), Tree{});
    EXPECT_EQ(readFile(sample.temp.native(std::string(currentApp) + "InitialConfig/System_Color.xml")),
              readFile(sample.temp.native("install/Config/InitialSet/System_Color.xml")));
}
#endif

// --- Files a save would destroy are refused and left as they are ---

// A UTF-7 settings file used to be written back whole in UTF-7, declaration
// included, which nothing reads again; a file with entities had its
// references written back as text.
TEST(HostileFiles, SettingsFiles_ThatASaveWouldChange_AreNotEdited_AndStayAsTheyAre) {
    const std::string files[] = {
        "<?xml version=\"1.0\" encoding=\"UTF-7\"?>\n<DrawCommon Name=\"+ZeVnLIqe-\"/>\n",
        "<!DOCTYPE DrawCommon [<!ENTITY snap \"<Snap Enabled='true'/>\">]>\n<DrawCommon>&snap;</DrawCommon>\n",
        "<DrawCommon Note=\"&undeclared;\"/>\n",
    };
    for (const std::string& bytes : files) {
        SCOPED_TRACE(bytes);
        SampleTree sample;
        const fs::path file = sample.temp.native(std::string(previousApp) + "Config/Draw_Common.xml");
        writeFile(file, bytes);
        EXPECT_FALSE(addOrtho(sample));
        EXPECT_EQ(readFile(file), bytes);
    }
}

// --- Links are written through, never replaced ---

// The layout file is a link to the user's own copy elsewhere: a save
// replaces that copy and keeps the link; a read-only copy is not written.
TEST(HostileFiles, AppenderRun_OnALinkedLayoutFile_WritesTheFileTheLinkLeadsTo_UnlessItIsReadOnly) {
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "writable");
        SampleTree sample;
        test::TempFolder elsewhere;
        const fs::path layoutFile = sample.temp.native(std::string(previousApp) + "Config/Display.xml");
        const std::string layout = readFile(layoutFile);
        writeFile(elsewhere.native("Display.xml"), layout);
        test::setReadOnly(elsewhere.native("Display.xml"), readOnly);
        fs::remove(layoutFile);
        fs::create_symlink(elsewhere.native("Display.xml"), layoutFile);
        ASSERT_TRUE(sample.layouts.loadXmlFile(platform::toSystemPath(layoutFile), sample.frame));

        EXPECT_EQ(runSurveyOption(sample, previousApp), readOnly ? 0 : 1);
        EXPECT_TRUE(fs::is_symlink(layoutFile));
        const std::string saved = readFile(elsewhere.native("Display.xml"));
        EXPECT_EQ(saved == layout, readOnly);
        EXPECT_EQ(saved.find("ID_SURVEY_POINT") != std::string::npos, !readOnly);
        EXPECT_EQ(test::isReadOnly(elsewhere.native("Display.xml")), readOnly);
    }
}

// An older user template that is a link to a file elsewhere is refreshed
// through the link, which stays; when that file is read-only, as with
// Windows' own calls, it is not written.
TEST(HostileFiles, TemplateRefresh_OfALinkedTemplate_ReplacesTheFileTheLinkLeadsTo_UnlessItIsReadOnly) {
    constexpr platform::FileTime in2001 = 126444736000000000;
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "writable");
        SampleTree sample;
        test::TempFolder elsewhere;
        writeFile(elsewhere.native("Standard.xml"), "<Old/>");
        ASSERT_TRUE(platform::setFileStatus(elsewhere.system("Standard.xml"),
                                            {in2001, readOnly ? platform::attrReadOnly : platform::attrArchive}));
        const fs::path linked = sample.temp.native(std::string(currentUser) + "Templates/Layer/Standard.xml");
        test::makeFolder(linked.parent_path());
        fs::create_symlink(elsewhere.native("Standard.xml"), linked);
        ASSERT_TRUE(platform::setFileStatus(platform::toSystemPath(linked), {in2001, platform::attrLink}));

        EXPECT_EQ(runUpdate(sample, sample.temp.system("install/Update.xml")), 1);
        EXPECT_TRUE(fs::is_symlink(linked));
        const std::string shipped = readFile(sample.temp.native("install/Templates/Layer/Standard.xml"));
        EXPECT_EQ(treeOf(elsewhere.path()),
                  Tree{readOnly ? "Standard.xml=<Old/> (read-only)" : "Standard.xml=" + shipped});
    }
}

// --- What a killed save left ---

// A save killed between writing its new file and renaming it left that file
// for good; the next save in the folder removes it.
TEST(HostileFiles, AppenderRun_RemovesTheFileAKilledSaveLeftBesideTheLayoutFile) {
    SampleTree sample;
    const std::string config = std::string(previousApp) + "Config/";
    const Tree before = treeOf(sample.temp.native(config));
    // No system gives a process this id.
    writeFile(sample.temp.native(config + ".Display.xml.2147483644-0.tmp"), std::string(4 << 20, '<'));
    ASSERT_TRUE(sample.layouts.loadXmlFile(sample.temp.system(config + "Display.xml"), sample.frame));

    EXPECT_EQ(runSurveyOption(sample, previousApp), 1);
    Tree after = treeOf(sample.temp.native(config));
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(after.front().rfind("Display.xml=", 0), 0u) << after.front();
}

// --- No exception leaves an entry, but std::bad_cast from the appender ---

// The sample's frame, which runs out of memory when the library asks for
// the installation folder or the layout model.
struct ExhaustedFrame : test::TestFrame {
    explicit ExhaustedFrame(const test::TestFrame& frame) : test::TestFrame(frame) {}
    const wchar_t* getInstallFolder() const override { throw std::bad_alloc(); }
    layout::ILayoutManager& getLayoutManager() override { throw std::bad_alloc(); }
};

TEST(HostileFiles, Entries_EndWithTheFailureResult_OnAnException_ButTheAppenderLetsBadCastPass) {
    SampleTree sample;
    ExhaustedFrame frame(sample.frame);
    // The flow runs before the installation folder is asked for: its
    // question must not wait for a user.
    const test::YesToAll yes;
    update::CUpdater updater;
    EXPECT_EQ(updater.run(sample.temp.system("install/Update.xml").c_str(), frame, true), 0);
    option::Appender appender;
    EXPECT_EQ(appender.run(L"Survey", sample.temp.system("install/Options/Survey.xml").c_str(), frame), 0);

    struct ForeignManager : layout::ILayoutManager {
    } foreign;
    EXPECT_THROW(appender.run(L"Survey", sample.temp.system("install/Options/Survey.xml").c_str(),
                              sample.temp.system(previousApp).c_str(), foreign, sample.commands),
                 std::bad_cast);
}

} // namespace
} // namespace tern::reliability
