// TnUpdate opened at run time, as the application opens it: the entry
// classes, the inheritance dialog and the question interface a host
// implements are exported with all their members, and nothing else of the
// code linked into the library leaves it.
//
// Symbols are looked up by their mangled names, which GCC spells alike on
// Linux and on Windows (MinGW).

#include "tests/dll/dynamic_library.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tern::test {
namespace {

const std::vector<std::string> updaterMembers = {
    "_ZN4tern6update8CUpdaterC1Ev",                                      // CUpdater()
    "_ZN4tern6update8CUpdaterC2Ev",                                      // CUpdater(), as a base
    "_ZN4tern6update8CUpdaterD0Ev",                                      // deleting ~CUpdater()
    "_ZN4tern6update8CUpdaterD1Ev",                                      // ~CUpdater()
    "_ZN4tern6update8CUpdaterD2Ev",                                      // ~CUpdater(), as a base
    "_ZN4tern6update8CUpdater3runEPKwRKNS_4core10IMainFrameEb",          // run
    "_ZN4tern6update8CUpdater11readVersionERKNS_4core10IMainFrameE",     // readVersion
    "_ZN4tern6update8CUpdater5setupEPKw",                                // setup
    "_ZN4tern6update8CUpdater7loadXmlEPKw",                              // loadXml
    "_ZN4tern6update8CUpdater14getXmlRootNameEv",                        // getXmlRootName
    "_ZNK4tern6update8CUpdater12getPatronKeyEv",                         // getPatronKey
    "_ZN4tern6update8CUpdater6excuteERKNS_4core10IMainFrameE",           // excute
    "_ZN4tern6update8CUpdater12updateLayoutEPKwRKNS_4core10IMainFrameE", // updateLayout
    "_ZN4tern6update8CUpdater15transferSettingEPKwS3_RKNS_4core10IMainFrameEb", // transferSetting
    "_ZN4tern6update8CUpdater15transferSettingEPKwS3_RKNS_4core10IMainFrameE",  // transferSetting, templates included
    "_ZNK4tern6update8CUpdater16deleteOldSettingERKNS_4core10IMainFrameE",          // deleteOldSetting
    "_ZNK4tern6update8CUpdater25forceDeleteLayerTemplatesERKNS_4core10IMainFrameE", // forceDeleteLayerTemplates
    "_ZNK4tern6update8CUpdater18askTransferSettingEb",                   // askTransferSetting
    "_ZNK4tern6update8CUpdater17searchPrevAppDataEiPKw",                 // searchPrevAppData
    "_ZNK4tern6update8CUpdater14inspectVersionERiS2_PKw",                // inspectVersion
    "_ZNK4tern6update8CUpdater11findPrevVerEii",                         // findPrevVer
    "_ZNK4tern6update8CUpdater29checkOnlyTemplateFolderExistsEPKw",      // checkOnlyTemplateFolderExists
    "_ZN4tern6update8CUpdater12clearEntriesEv",                          // clearEntries
    "_ZTVN4tern6update8CUpdaterE",                                       // its virtual table
    "_ZTIN4tern6update8CUpdaterE",                                       // its type information
};

const std::vector<std::string> appenderMembers = {
    "_ZN4tern6option8AppenderC1Ev",
    "_ZN4tern6option8AppenderC2Ev",
    "_ZN4tern6option8AppenderD0Ev",
    "_ZN4tern6option8AppenderD1Ev",
    "_ZN4tern6option8AppenderD2Ev",
    "_ZN4tern6option8Appender3runEPKwS3_RNS_4core10IMainFrameE",
    "_ZN4tern6option8Appender3runEPKwS3_S3_RNS_6layout14ILayoutManagerERKNS_7utility13CCommandTableE",
    "_ZN4tern6option8Appender14getXmlRootNameEv",
    "_ZN4tern6option8Appender5setupEPKw",
    "_ZN4tern6option8Appender7loadXmlEPKw",
    "_ZN4tern6option8Appender12updateLayoutERNS_4core10IMainFrameE",
    "_ZN4tern6option8Appender12updateLayoutEPKwRNS_6layout14ILayoutManagerERKNS_7utility13CCommandTableE",
    "_ZN4tern6option8Appender12clearEntriesEv",
    "_ZTVN4tern6option8AppenderE",
    "_ZTIN4tern6option8AppenderE",
};

const std::vector<std::string> inheritDialogMembers = {
    "_ZN4tern6update26SelectInheritAppSettingDlgD0Ev",
    "_ZN4tern6update26SelectInheritAppSettingDlgD1Ev",
    "_ZN4tern6update26SelectInheritAppSettingDlgD2Ev",
    "_ZN4tern6update26SelectInheritAppSettingDlg7DoModalEv",
    "_ZTVN4tern6update26SelectInheritAppSettingDlgE",
    "_ZTIN4tern6update26SelectInheritAppSettingDlgE",
};

// The interface a host implements to answer the questions, and its installer.
const std::vector<std::string> userQuestionsMembers = {
    "_ZN4tern4core14IUserQuestionsD0Ev",
    "_ZN4tern4core14IUserQuestionsD1Ev",
    "_ZN4tern4core14IUserQuestionsD2Ev",
    "_ZTVN4tern4core14IUserQuestionsE",
    "_ZTIN4tern4core14IUserQuestionsE",
    "_ZN4tern4core16setUserQuestionsEPNS0_14IUserQuestionsE",
};

// The functions the library must not export: its own code's
// (hidden_symbols.txt) and, in the Linux build, pugixml's; a test of the
// build checks the list against the library.
std::vector<std::string> hiddenNames() {
    std::ifstream list{std::filesystem::path(TN_HIDDEN_SYMBOLS)};
    std::vector<std::string> names;
    for (std::string line; std::getline(list, line);) {
        if (!line.empty() && line[0] != '#')
            names.push_back(line);
    }
    return names;
}

class TnUpdateLibrary : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(library.isOpen()) << TN_UPDATE_LIBRARY << ": " << library.error(); }

    // The names of the list that the library does not export.
    std::vector<std::string> missing(const std::vector<std::string>& names) const {
        std::vector<std::string> absent;
        for (const auto& name : names) {
            if (!library.symbol(name))
                absent.push_back(name);
        }
        return absent;
    }

    DynamicLibrary library{TN_UPDATE_LIBRARY};
};

TEST_F(TnUpdateLibrary, ExportsEveryMemberOfCUpdater) { EXPECT_EQ(missing(updaterMembers), std::vector<std::string>{}); }

TEST_F(TnUpdateLibrary, ExportsEveryMemberOfAppender) { EXPECT_EQ(missing(appenderMembers), std::vector<std::string>{}); }

TEST_F(TnUpdateLibrary, ExportsEveryMemberOfSelectInheritAppSettingDlg) {
    EXPECT_EQ(missing(inheritDialogMembers), std::vector<std::string>{});
}

TEST_F(TnUpdateLibrary, ExportsTheUserQuestionsInterface_AndItsInstaller) {
    EXPECT_EQ(missing(userQuestionsMembers), std::vector<std::string>{});
}

TEST_F(TnUpdateLibrary, ExportedRootNameFunctions_AreTheLibrarysOwn) {
    using RootName = const wchar_t* (*)();
    const auto updaterRoot = reinterpret_cast<RootName>(library.symbol("_ZN4tern6update8CUpdater14getXmlRootNameEv"));
    const auto appenderRoot = reinterpret_cast<RootName>(library.symbol("_ZN4tern6option8Appender14getXmlRootNameEv"));
    ASSERT_TRUE(updaterRoot && appenderRoot);
    EXPECT_EQ(std::wstring(updaterRoot()), L"Update_Data");
    EXPECT_EQ(std::wstring(appenderRoot()), L"Option_Data");
}

TEST_F(TnUpdateLibrary, KeepsTheCodeLinkedIntoItHidden) {
    const std::vector<std::string> inner = hiddenNames();
    ASSERT_FALSE(inner.empty()) << "no names read from " << TN_HIDDEN_SYMBOLS;
    EXPECT_EQ(missing(inner), inner);
}

} // namespace
} // namespace tern::test
