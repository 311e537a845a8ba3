// Setting edits applied twice: the input is a settings file, edited by a
// fixed "Setting" section as an update edits a user's file. The first
// application either leaves the file's bytes as they were or saves a file
// that loads again; the second changes nothing, as every insertion is
// guarded by an "IfN" that finds what the first one inserted.

#include "components/utility/xml.h"
#include "platform/com_apartment.h"
#include "tests/fuzz/fuzz_target.h"
#include "update/setting/setting_item_table.h"
#include "update/update_data.h"

using namespace tern;
namespace xml = utility::xml;

namespace {

// One insertion at the root, and one, with text, a comment, CDATA and
// characters beyond ASCII, into the last element of the document.
const wchar_t* const sectionXml = LR"(<Setting Path="Settings.xml">
  <IfN XPath="Grid">
    <AddNode XPath=".">  <Grid Visible="true" Pitch="5"/>
</AddNode>
  </IfN>
  <IfN XPath="//Layer[@Name='既定']">
    <AddNode XPath="(//*)[last()]"><Layer Name="既定">a &lt; b &amp; &quot;c&quot;</Layer><!-- 追加 --><![CDATA[<x>]]></AddNode>
  </IfN>
</Setting>)";

struct Section {
    Section() {
        table.registerItems();
        const platform::ComApartment apartment;
        xml::Document document;
        xml::Element element;
        fuzz::require(xml::loadXml(document, sectionXml) && xml::getRootElement(element, document) &&
                          data.load(element, table) && data.items.size() == 2,
                      "the fixed section loads");
    }
    update::setting::SettingItemTable table;
    update::SettingData data;
};

bool loads(const std::wstring& path) {
    const platform::ComApartment apartment;
    xml::Document document;
    xml::Element root;
    return xml::load(document, path, false) && xml::getRootElement(root, document);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Section section;
    const std::string_view input = fuzz::bytesOf(data, size);
    const std::wstring path = fuzz::writeInput(L"Settings.xml", input);
    const bool edited = section.data.apply(fuzz::folder().c_str());
    const auto afterFirst = fuzz::contentOf(path);
    if (edited)
        fuzz::require(loads(path), "an edited settings file loads again");
    else
        fuzz::require(afterFirst == input, "a settings file that was not edited keeps its bytes");
    fuzz::require(!section.data.apply(fuzz::folder().c_str()), "a second application changes nothing");
    fuzz::require(fuzz::contentOf(path) == afterFirst, "a second application leaves the file as it was");
    return 0;
}
