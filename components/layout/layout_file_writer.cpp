// The layout file is written straight from the model as text, in the one
// layout docs/layout-file.md gives it, and handed to the file as it is
// made: building a document, or the whole text, first would hold the whole
// layout a second time.

#include "components/layout/layout_file.h"

#include "platform/file_system.h"
#include "platform/file_writer.h"
#include "platform/text.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace tern::layout {

namespace {

// Indentation stops growing at this level: past it, lines are indented as
// at this level, so that a menu nested thousands deep is written in a size
// that grows with its depth rather than with the square of it. Files of any
// ordinary depth never reach it.
constexpr std::size_t maxIndentLevel = 16;

// Whether the character is written as itself, one byte, in a value.
bool isPlain(wchar_t c) { return c >= 0x20 && c < 0x80 && c != '&' && c != '<' && c != '"'; }

// The file's text as it is written: one element a line, indented two
// spaces a level up to maxIndentLevel. An element's start tag stays open for
// attributes until its first child or its end; an element that got no
// children ends as "<a/>", one that did on a line of its own. Open elements
// are kept in a list, so nesting of any depth takes no stack.
//
// The text is made in a buffer of its own, each piece written into room
// asked for once for the whole piece (a string appended to checked its room
// and its length at every piece, a good share of the time the file took),
// and handed to the file's writer a block at a time.
class LayoutText {
public:
    explicit LayoutText(platform::FileWriter& writer) : writer(writer), buffer(bufferSize) {
        put("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    }

    void open(std::string_view name) {
        if (!openElements.empty()) {
            endStartTag();
            newLine(openElements.size());
        }
        put('<');
        put(name);
        openElements.push_back({name, false});
    }

    void attribute(std::string_view name, std::wstring_view value) {
        startValue(name);
        // Most values are printable ASCII with nothing to escape: they are
        // narrowed as they stand, into room made for them at once; from the
        // first character that is not, the rest is escaped, converted to
        // UTF-8 first unless ASCII.
        char* const at = room(value.size());
        std::size_t plain = 0;
        for (; plain < value.size() && isPlain(value[plain]); ++plain)
            at[plain] = static_cast<char>(value[plain]);
        used += plain;
        const std::wstring_view rest = value.substr(plain);
        if (std::all_of(rest.begin(), rest.end(), [](wchar_t c) { return c > 0 && c < 0x80; })) {
            for (const wchar_t c : rest)
                putEscaped(static_cast<char>(c));
        } else {
            for (const char c : platform::toUtf8(rest))
                putEscaped(c);
        }
        put('"');
    }

    void attribute(std::string_view name, long long value) {
        startValue(name);
        char* const at = room(maxDigits);
        used += static_cast<std::size_t>(std::to_chars(at, at + maxDigits, value).ptr - at);
        put('"');
    }

    void close() {
        const OpenElement element = openElements.back();
        openElements.pop_back();
        if (!element.hasChildren) {
            put("/>");
            return;
        }
        newLine(openElements.size());
        put("</");
        put(element.name);
        put('>');
    }

    // Ends the text with the line break after the last line; false when
    // the file could not take all of it.
    bool finish() {
        put('\n');
        return handOn();
    }

private:
    // The text handed on at a time: large enough that handing it on is
    // rare, small enough that the text never holds much of the file.
    static constexpr std::size_t bufferSize = 128 * 1024;
    // The most characters a long long takes, its sign included.
    static constexpr std::size_t maxDigits = 20;

    // Room for `size` more bytes after the text, handing the text on first
    // when the buffer lacks it; the caller counts what it wrote in `used`.
    char* room(std::size_t size) {
        if (buffer.size() - used < size) {
            handOn();
            if (buffer.size() < size)
                buffer.resize(size);
        }
        return buffer.data() + used;
    }

    void put(char c) {
        *room(1) = c;
        ++used;
    }

    void put(std::string_view piece) {
        std::memcpy(room(piece.size()), piece.data(), piece.size());
        used += piece.size();
    }

    // One byte of the UTF-8 text of an attribute value, escaped for double
    // quotes: "&", "<" and '"' as entities, control characters (tab and line
    // ends among them) as two-digit character references, so that they read
    // back as they are.
    void putEscaped(char c) {
        if (c == '&') {
            put("&amp;");
        } else if (c == '<') {
            put("&lt;");
        } else if (c == '"') {
            put("&quot;");
        } else if (static_cast<unsigned char>(c) < 0x20) {
            const char reference[] = {'&', '#', static_cast<char>('0' + c / 10), static_cast<char>('0' + c % 10), ';'};
            put(std::string_view(reference, sizeof reference));
        } else {
            put(c);
        }
    }

    void startValue(std::string_view name) {
        put(' ');
        put(name);
        put("=\"");
    }

    bool handOn() {
        const bool written = writer.write(std::string_view(buffer.data(), used));
        used = 0;
        return written;
    }

    struct OpenElement {
        std::string_view name;
        bool hasChildren;
    };

    void endStartTag() {
        if (!openElements.back().hasChildren) {
            put('>');
            openElements.back().hasChildren = true;
        }
    }

    void newLine(std::size_t depth) {
        const std::size_t indent = 2 * std::min(depth, maxIndentLevel);
        char* const at = room(1 + indent);
        *at = '\n';
        std::memset(at + 1, ' ', indent);
        used += 1 + indent;
    }

    platform::FileWriter& writer;
    std::vector<char> buffer;
    std::size_t used = 0; // the bytes of the buffer that hold text
    std::vector<OpenElement> openElements;
};

void writeCommand(LayoutText& out, std::string_view element, const std::wstring& sid, const std::wstring& caption) {
    out.open(element);
    out.attribute("SID", sid);
    out.attribute("Caption", caption);
}

void writeRibbon(LayoutText& out, const CRibbonBar& ribbon) {
    out.open("Ribbon");
    for (const CRibbonTab& tab : ribbon.getTabs()) {
        out.open("Tab");
        out.attribute("Id", tab.getId());
        out.attribute("Caption", tab.getCaption());
        for (const CRibbonGroup& group : tab.getGroups()) {
            out.open("Group");
            out.attribute("Id", group.getId());
            out.attribute("Caption", group.getCaption());
            for (const utility::SCommand& control : group.getControls()) {
                writeCommand(out, "Control", control.sid, control.caption);
                out.close();
            }
            out.close();
        }
        out.close();
    }
    out.close();
}

// Writes the menu bar's entries into "Menu". A list of the popups still
// being written stands in for recursion, so that popups nested any depth
// take no stack per level.
void writeMenu(LayoutText& out, const CMenuItem& menuBar) {
    out.open("Menu");
    std::vector<const CMenuItem*> next{menuBar.getFirstChild()}; // per open popup, its next child; null when done
    while (!next.empty()) {
        const CMenuItem* child = next.back();
        if (!child) {
            out.close();
            next.pop_back();
            continue;
        }
        next.back() = child->getNextSibling();
        switch (child->getKind()) {
        case CMenuItem::Kind::popup:
            out.open("Popup");
            out.attribute("Caption", child->getCaption());
            next.push_back(child->getFirstChild());
            break;
        case CMenuItem::Kind::command:
            writeCommand(out, "Command", child->getSid(), child->getCaption());
            out.close();
            break;
        case CMenuItem::Kind::separator:
            out.open("Separator");
            out.close();
            break;
        }
    }
}

void writeToolBar(LayoutText& out, const CCommandBar& bar) {
    out.open("ToolBar");
    out.attribute("Title", bar.getTitle());
    out.attribute("Position", barPositionNames[bar.getPosition()]);
    for (const ToolBarControl& control : bar.getControls()) {
        writeCommand(out, "Command", control.command.sid, control.command.caption);
        if (control.beginGroup)
            out.attribute("BeginGroup", L"true");
        out.close();
    }
    out.close();
}

void writeMode(LayoutText& out, const LayoutModeData& mode) {
    out.open("LayoutMode");
    out.attribute("Name", mode.getName());
    const CCommandBars& bars = mode.getCommandBars();
    writeRibbon(out, bars.getRibbonBar());
    writeMenu(out, bars.getMenuBar().getRoot());
    for (const CCommandBar& bar : bars.getToolBars())
        writeToolBar(out, bar);
    for (const ToolBarOption& option : mode.getToolBarOptions()) {
        out.open("ToolBarOption");
        out.attribute("Title", option.getTitle());
        out.close();
    }
    out.close();
}

void writeType(LayoutText& out, const LayoutTypeData& type) {
    out.open("LayoutType");
    out.attribute("Name", type.getName());
    for (const AppendOption& option : type.getAppendOptions()) {
        out.open("AppendOption");
        out.attribute("Name", option.name);
        out.attribute("Major", option.major);
        out.attribute("Minor", option.minor);
        out.close();
    }
    for (const auto& mode : type.getLayoutModes())
        writeMode(out, *mode);
    out.close();
}

} // namespace

bool writeLayoutFile(const std::wstring& path, const LayoutTypes& types,
                     const utility::CCommandTable& /*commandTable: the model holds every SID resolved*/,
                     std::error_code* why) {
    return platform::writeFileReplacingWith(
        path,
        [&types](platform::FileWriter& writer) {
            LayoutText out(writer);
            out.open("Display");
            for (const auto& type : types)
                writeType(out, *type);
            out.close();
            return out.finish();
        },
        why);
}

} // namespace tern::layout
