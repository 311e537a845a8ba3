// The warnings `tnupdate update` and `tnupdate option` print on standard
// error about the definition they are given, before the run goes on as it
// would without them.

#include "tests/cli/sample_copy_test.h"

#include <gtest/gtest.h>

namespace tern::cli {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::writeFile;

const std::string wrongRoot = "<?xml version=\"1.0\"?>\n<Versions><Main>2016.0</Main></Versions>\n";
const std::string notWellFormed = "<Update_Data>\n  <Update ver=\"2016.0\">\n</Update_Data>\n";

class DefinitionWarningsTest : public SampleCopyTest {
protected:
    test::ProgramStreams update(const std::string& definition) {
        return tnupdateApart({"update", "--yes", "--install", "install", "--appdata",
                              "profile/PLX/OrvoLumen/OrvoLumen/2016_x64", "--userdata", "profile/UserData/2016_x64",
                              definition});
    }
    test::ProgramStreams option(const std::string& definition) {
        return tnupdateApart({"option", "--folder", "profile/PLX/OrvoLumen/OrvoLumen/2015_x64", "--install", "install",
                              "Survey", definition});
    }
    std::string layoutFile() const {
        return readFile(temp.native("profile/PLX/OrvoLumen/OrvoLumen/2015_x64/Config/Display.xml"));
    }
};

// Standard output carries the run's own lines; none of them is a warning.
void expectNoWarningIn(const std::string& output) {
    EXPECT_EQ(output.find("warning:"), std::string::npos) << output;
    EXPECT_NE(output.find("result: "), std::string::npos) << output;
}

TEST_F(DefinitionWarningsTest, Update_WarnsOfADefinitionWithTheWrongRoot_AndStillRuns) {
    writeFile(temp.native("Def.xml"), wrongRoot);
    const auto result = update("Def.xml");
    EXPECT_EQ(result.errors, "warning: Def.xml:2: The root element is \"Versions\", not \"Update_Data\", so the whole "
                             "file is rejected.\n");
    expectNoWarningIn(result.output);
    EXPECT_EQ(result.status, 0);
    // The run is the one a rejected definition gives: the shipped files are still brought.
    EXPECT_TRUE(fs::exists(temp.native("profile/PLX/OrvoLumen/OrvoLumen/2016_x64/InitialConfig/System_Color.xml")));
}

TEST_F(DefinitionWarningsTest, Update_WarnsOfADefinitionThatIsNotWellFormed_AtTheParsersLine) {
    writeFile(temp.native("Def.xml"), notWellFormed);
    const auto result = update("Def.xml");
    EXPECT_EQ(result.errors.rfind("warning: Def.xml:3: The whole file is rejected: it is not well-formed XML", 0), 0u)
        << result.errors;
    EXPECT_EQ(result.errors.find('\n') + 1, result.errors.size()) << "one line: " << result.errors;
    expectNoWarningIn(result.output);
}

TEST_F(DefinitionWarningsTest, Update_WarnsOfAMissingDefinition_NamingIt) {
    const auto result = update("install/Missing.xml");
    EXPECT_EQ(result.errors.rfind("warning: install/Missing.xml: The whole file is rejected: it cannot be read: ", 0),
              0u)
        << result.errors;
    EXPECT_EQ(result.errors.find('\n') + 1, result.errors.size()) << "one line: " << result.errors;
    expectNoWarningIn(result.output);
}

TEST_F(DefinitionWarningsTest, Update_WarnsOfEachDroppedElement_AndOfNothingInASoundDefinition) {
    writeFile(temp.native("Def.xml"), "<Update_Data>\n"
                                      "  <Update ver=\"2016.0\">\n"
                                      "    <Layout><MakeTab name=\"Survey\"/></Layout>\n"
                                      "    <Settings Path=\"Config\\A.xml\"/>\n"
                                      "  </Update>\n"
                                      "</Update_Data>\n");
    const auto dropped = update("Def.xml");
    EXPECT_EQ(dropped.errors,
              "warning: Def.xml:3: \"name\" is not an attribute of \"MakeTab\"; did you mean \"Name\"?\n"
              "warning: Def.xml:3: A \"MakeTab\" without a \"Name\" makes nothing.\n"
              "warning: Def.xml:4: The element \"Settings\" inside \"Update\" is skipped; expected \"Layout\" or "
              "\"Setting\".\n");
    expectNoWarningIn(dropped.output);

    const auto sound = update("install/Update.xml");
    EXPECT_EQ(sound.errors, "");
    EXPECT_EQ(sound.status, 0);
}

TEST_F(DefinitionWarningsTest, Option_WarnsOfAWrongRootANonXmlAndAMissingDefinition_AndLeavesTheLayoutAlone) {
    const std::string before = layoutFile();
    writeFile(temp.native("Root.xml"), wrongRoot);
    const auto root = option("Root.xml");
    EXPECT_EQ(root.errors, "warning: Root.xml:2: The root element is \"Versions\", not \"Option_Data\", so the whole "
                           "file is rejected.\n");
    expectNoWarningIn(root.output);

    writeFile(temp.native("Broken.xml"), notWellFormed);
    const auto broken = option("Broken.xml");
    EXPECT_EQ(broken.errors.rfind("warning: Broken.xml:3: The whole file is rejected: it is not well-formed XML", 0),
              0u)
        << broken.errors;
    expectNoWarningIn(broken.output);

    const auto missing = option("Missing.xml");
    EXPECT_EQ(missing.errors.rfind("warning: Missing.xml: The whole file is rejected: it cannot be read: ", 0), 0u)
        << missing.errors;
    expectNoWarningIn(missing.output);

    EXPECT_EQ(layoutFile(), before);
}

TEST_F(DefinitionWarningsTest, Option_SaysNothingOfItsSampleDefinition) {
    const auto result = option("install/Options/Survey.xml");
    EXPECT_EQ(result.errors, "");
    EXPECT_EQ(result.status, 0);
}

} // namespace
} // namespace tern::cli
