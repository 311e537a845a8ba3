#include "tests/dll/dialog_template.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <tuple>

namespace tern::test {
namespace {

// Little-endian fields in order; a read past the end yields zero and marks
// the whole read as failed.
class TemplateReader {
public:
    TemplateReader(const void* bytes, std::size_t size) : start(static_cast<const unsigned char*>(bytes)), end(size) {}

    bool failed() const { return broken; }

    template <typename Field> Field read() {
        Field value{};
        if (end - at < sizeof value) {
            broken = true;
            at = end;
            return value;
        }
        std::memcpy(&value, start + at, sizeof value);
        at += sizeof value;
        return value;
    }

    // A null-terminated UTF-16 text.
    std::wstring text() {
        std::wstring value;
        for (auto unit = read<std::uint16_t>(); unit != 0 && !broken; unit = read<std::uint16_t>())
            value.push_back(static_cast<wchar_t>(unit));
        return value;
    }

    // 0x0000 for nothing, 0xFFFF and an ordinal, or else a text.
    std::wstring nameOrOrdinal() {
        const auto first = read<std::uint16_t>();
        if (first == 0)
            return {};
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(read<std::uint16_t>());
        return static_cast<wchar_t>(first) + text();
    }

    void skip(std::size_t count) {
        at += count;
        if (at > end) {
            broken = true;
            at = end;
        }
    }

    // Each item starts on a four-byte boundary of the template.
    void alignItem() { skip((4 - at % 4) % 4); }

private:
    const unsigned char* start;
    std::size_t end;
    std::size_t at = 0;
    bool broken = false;
};

DialogRect readRect(TemplateReader& reader) {
    DialogRect rect;
    rect.x = reader.read<std::int16_t>();
    rect.y = reader.read<std::int16_t>();
    rect.width = reader.read<std::int16_t>();
    rect.height = reader.read<std::int16_t>();
    return rect;
}

DialogItem readItem(TemplateReader& reader) {
    reader.alignItem();
    DialogItem item;
    item.helpId = reader.read<std::uint32_t>();
    item.exStyle = reader.read<std::uint32_t>();
    item.style = reader.read<std::uint32_t>();
    item.rect = readRect(reader);
    item.id = reader.read<std::int32_t>();
    item.windowClass = reader.nameOrOrdinal();
    item.text = reader.nameOrOrdinal();
    item.creationDataSize = reader.read<std::uint16_t>();
    reader.skip(item.creationDataSize);
    return item;
}

auto fields(const DialogRect& rect) { return std::tie(rect.x, rect.y, rect.width, rect.height); }

auto fields(const DialogItem& item) {
    return std::make_tuple(item.id, item.windowClass, item.style, fields(item.rect), item.text, item.exStyle,
                           item.helpId, item.creationDataSize);
}

auto fields(const DialogTemplate& dialog) {
    return std::make_tuple(dialog.style, dialog.exStyle, dialog.helpId, fields(dialog.rect), dialog.menu,
                           dialog.windowClass, dialog.caption, dialog.pointSize, dialog.weight, dialog.italic,
                           dialog.charset, dialog.typeface, dialog.items);
}

std::ostream& operator<<(std::ostream& out, const DialogRect& rect) {
    return out << "at " << rect.x << "," << rect.y << " size " << rect.width << "x" << rect.height;
}

std::string hex(std::uint32_t value) {
    char text[11];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

} // namespace

bool operator==(const DialogItem& left, const DialogItem& right) { return fields(left) == fields(right); }

bool operator==(const DialogTemplate& left, const DialogTemplate& right) { return fields(left) == fields(right); }

void PrintTo(const DialogItem& item, std::ostream* out) {
    using ::testing::PrintToString;
    *out << "{id " << item.id << ", class " << PrintToString(item.windowClass) << ", style " << hex(item.style)
         << ", " << item.rect << ", text "
         << PrintToString(item.text) << ", exStyle " << hex(item.exStyle) << ", help " << item.helpId
         << ", creation data " << item.creationDataSize << "}";
}

void PrintTo(const DialogTemplate& dialog, std::ostream* out) {
    using ::testing::PrintToString;
    *out << "{style " << hex(dialog.style) << ", exStyle " << hex(dialog.exStyle) << ", help " << dialog.helpId
         << ", " << dialog.rect << ", menu "
         << PrintToString(dialog.menu) << ", class " << PrintToString(dialog.windowClass) << ", caption "
         << PrintToString(dialog.caption) << ", font " << dialog.pointSize << "pt weight " << dialog.weight
         << (dialog.italic ? " italic" : "") << " charset " << int{dialog.charset} << " "
         << PrintToString(dialog.typeface) << ", items";
    for (const auto& item : dialog.items) {
        *out << "\n  ";
        PrintTo(item, out);
    }
    *out << "}";
}

std::optional<DialogTemplate> readDialogTemplate(const void* bytes, std::size_t size) {
    TemplateReader reader(bytes, size);
    const auto version = reader.read<std::uint16_t>();
    const auto signature = reader.read<std::uint16_t>();
    if (version != 1 || signature != 0xFFFF)
        return std::nullopt;
    DialogTemplate dialog;
    dialog.helpId = reader.read<std::uint32_t>();
    dialog.exStyle = reader.read<std::uint32_t>();
    dialog.style = reader.read<std::uint32_t>();
    const auto itemCount = reader.read<std::uint16_t>();
    dialog.rect = readRect(reader);
    dialog.menu = reader.nameOrOrdinal();
    dialog.windowClass = reader.nameOrOrdinal();
    dialog.caption = reader.text();
    if (dialog.style & DS_SETFONT) {
        dialog.pointSize = reader.read<std::uint16_t>();
        dialog.weight = reader.read<std::uint16_t>();
        dialog.italic = reader.read<std::uint8_t>() != 0;
        dialog.charset = reader.read<std::uint8_t>();
        dialog.typeface = reader.text();
    }
    for (std::uint16_t i = 0; i < itemCount && !reader.failed(); ++i)
        dialog.items.push_back(readItem(reader));
    if (reader.failed())
        return std::nullopt;
    return dialog;
}

} // namespace tern::test
