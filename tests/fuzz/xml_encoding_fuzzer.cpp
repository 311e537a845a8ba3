// Encoding detection and decoding: bytes that decode as an XML file's text
// encode again in the encoding they were read in, and those bytes decode to
// the same text in the same encoding. A file the library reads is so one it
// can write back, and read again as the same document.

#include "components/utility/xml_encoding.h"
#include "tests/fuzz/fuzz_target.h"
// The text codec of the build's DOM backend: UTF-8 for pugixml, UTF-16 for MSXML.
#include "text_codec.h"

using namespace tern;
namespace xml = utility::xml;

namespace {

// The text type the backend's DOM parses, as its decoder fills it.
template <typename Text> Text textFilledBy(bool (*)(std::string_view, const std::string&, Text&));
using DomText = decltype(textFilledBy(&xml::decodeText));

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    xml::XmlEncoding encoding;
    DomText text;
    std::wstring problem;
    if (!xml::decodeXml(fuzz::bytesOf(data, size), xml::decodeText, xml::encodeText, encoding, text, problem))
        return 0;
    std::string written;
    fuzz::require(xml::encodeXml(text, xml::encodeText, encoding, written),
                  "decoded text encodes again in the encoding it was read in");
    xml::XmlEncoding reread;
    DomText again;
    fuzz::require(xml::decodeXml(written, xml::decodeText, xml::encodeText, reread, again, problem),
                  "written bytes decode again");
    fuzz::require(again == text && reread.name == encoding.name && reread.byteOrderMark == encoding.byteOrderMark,
                  "written bytes decode to the same text in the same encoding");
    return 0;
}
