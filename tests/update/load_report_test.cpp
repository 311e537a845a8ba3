// Telling a load listener what the loaders drop: a message is built only
// when someone listens, and reaches the listener installed last.

#include "tests/update/setting/xml_fixture.h"
#include "update/load_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tern::update {
namespace {

using test::DropRecorder;
using test::parseElement;

TEST(LoadReport, BuildsTheMessageOnlyForAListener_AndTellsTheInnermostOne) {
    const utility::xml::Element element = parseElement(L"<Dropped/>");
    int built = 0;
    const auto message = [&] {
        ++built;
        return L"built " + std::to_wstring(built);
    };
    reportDropped(element, message);
    reportDropped(element, L"fixed");
    EXPECT_EQ(built, 0);
    {
        DropRecorder outer;
        {
            DropRecorder inner;
            reportDropped(element, message);
            reportDropped(element, L"fixed");
            EXPECT_EQ(inner.messages, (std::vector<std::wstring>{L"built 1", L"fixed"}));
        }
        reportDropped(element, message);
        EXPECT_EQ(outer.messages, std::vector<std::wstring>{L"built 2"});
    }
    EXPECT_EQ(loadListener(), nullptr);
    reportDropped(element, message);
    EXPECT_EQ(built, 2);
}

} // namespace
} // namespace tern::update
