// Definition load: the input as an update definition ("Update_Data") and as
// an option definition ("Option_Data", bare "Layout" sections included),
// through the loader of CUpdater and Appender, with a listener taking every
// report as `tnupdate check` does. The entries are then copied and
// destroyed, which walks every item they hold.

#include "tests/fuzz/fuzz_target.h"
#include "update/definition_file.h"
#include "update/load_report.h"
#include "update/update_data.h"

#include <memory>
#include <vector>

using namespace tern;

namespace {

// Takes each report as `tnupdate check` does, asking for the element's line
// (summed only so that the call is not dropped).
struct ReportReader : update::LoadListener {
    void dropped(const utility::xml::Node& node, const std::wstring& message) override {
        lines += node.line();
        fuzz::require(!message.empty(), "a report says what was dropped");
    }
    long long lines = 0;
};

void load(const std::wstring& path, const wchar_t* rootName, update::BareLayouts bareLayouts) {
    ReportReader reader;
    const update::ScopedLoadListener listening(reader);
    std::vector<update::UpdateData*> entries;
    update::loadDefinitionFile(entries, path.c_str(), rootName, bareLayouts);
    for (update::UpdateData* entry : entries) {
        const std::unique_ptr<update::UpdateData> owned(entry);
        fuzz::require(!entry->version.empty(), "every entry read has a version");
        const update::LayoutData copy(entry->layout);
        fuzz::require(copy.items.size() == entry->layout.items.size(), "a layout section copies whole");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring path = fuzz::writeInput(L"Definition.xml", fuzz::bytesOf(data, size));
    load(path, L"Update_Data", update::BareLayouts::skip);
    load(path, L"Option_Data", update::BareLayouts::load);
    return 0;
}
