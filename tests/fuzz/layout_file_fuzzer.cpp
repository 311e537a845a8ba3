// Layout file read-write-read: an input that loads as "Config\Display.xml"
// saves; the saved file loads again; and it saves again to the very same
// bytes, so that a layout no edit touched never drifts from run to run.

#include "components/layout/layout_manager.h"
#include "tests/fuzz/fuzz_target.h"
#include "tests/fuzz/layout_fixtures.h"

using namespace tern;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring input = fuzz::writeInput(L"Display.xml", fuzz::bytesOf(data, size));
    layout::LayoutManager read;
    if (!read.loadXmlFile(input, fuzz::frame()))
        return 0;
    const std::wstring once = fuzz::folder() + L"SavedOnce.xml";
    const std::wstring twice = fuzz::folder() + L"SavedTwice.xml";
    fuzz::require(read.saveXmlFile(once, fuzz::commandTable()), "a layout that loaded saves");
    layout::LayoutManager reread;
    fuzz::require(reread.loadXmlFile(once, fuzz::frame()), "a saved layout loads again");
    fuzz::require(reread.saveXmlFile(twice, fuzz::commandTable()), "a saved layout saves again");
    fuzz::require(fuzz::contentOf(once) == fuzz::contentOf(twice), "a saved layout saves again to the same bytes");
    return 0;
}
