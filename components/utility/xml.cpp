// The XML functions that are written once: reading and writing files around
// the backend's documents (dom_backend.h), and the functions built on the
// handles alone. Each backend defines the rest.

#include "components/utility/xml.h"

#include "components/utility/dom_backend.h"
#include "platform/file_system.h"
#include "platform/text.h"

#include <utility>

namespace tern::utility::xml {

namespace {

bool loadFile(Document& document, const std::wstring& path, LoadFor purpose, std::wstring* why, int* line) {
    std::string bytes;
    std::error_code unread;
    std::wstring problem;
    ParseFailure failure;
    auto& impl = DocumentAccess::impl(document);
    if (!platform::readFile(path, bytes, &unread)) {
        impl = nullptr;
        problem = L"it cannot be read: " + platform::fromUtf8(unread.message());
    } else {
        impl = parseFile(std::move(bytes), purpose, problem, failure);
        if (!impl && problem.empty())
            problem = failure.reason.empty() ? L"it is not one well-formed XML document"
                                             : L"it is not well-formed XML: " + failure.reason;
    }
    if (why)
        *why = problem;
    if (line)
        *line = failure.line;
    return impl != nullptr;
}

} // namespace

bool load(Document& document, const std::wstring& path, bool /*flag: every caller loads synchronously*/,
          std::wstring* why, int* line) {
    return loadFile(document, path, LoadFor::saving, why, line);
}

bool loadForReading(Document& document, const std::wstring& path, std::wstring* why, int* line) {
    return loadFile(document, path, LoadFor::reading, why, line);
}

bool loadXml(Document& document, const std::wstring& text) {
    auto& impl = DocumentAccess::impl(document);
    impl = parseText(text);
    return impl != nullptr;
}

bool save(const Document& document, const std::wstring& path) {
    const auto& impl = DocumentAccess::impl(document);
    return impl && platform::writeFileReplacingWith(
                       path, [&](platform::FileWriter& writer) { return printFile(*impl, writer); });
}

bool readAttributeBool(bool& value, const Element& element, std::wstring_view name) {
    std::wstring text;
    return readAttributeText(text, element, name) && parseBoolean(value, text);
}

bool parseBoolean(bool& value, std::wstring_view text) {
    if (platform::equalIgnoringCase(text, L"true") || text == L"1")
        value = true;
    else if (platform::equalIgnoringCase(text, L"false") || text == L"0")
        value = false;
    else
        return false;
    return true;
}

} // namespace tern::utility::xml
