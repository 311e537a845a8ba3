// The layout file is the user's: a file that does not follow the format is
// refused whole rather than read in part, so that saving the model can never
// drop what this reader did not understand.

#include "components/layout/layout_file.h"

#include "components/utility/decimal_text.h"
#include "components/utility/xml.h"
#include "platform/com_apartment.h"
#include "platform/text.h"

#include <initializer_list>
#include <iterator>
#include <utility>

namespace tern::layout {

namespace xml = utility::xml;

namespace {

// Ends the read: what is wrong, at which element.
struct FormatError {
    xml::Node node;
    std::wstring message;
};

[[noreturn]] void fail(const xml::Node& node, std::wstring message) { throw FormatError{node, std::move(message)}; }

std::wstring quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// The names of the file's elements, made once rather than per element read.
const std::wstring tabName = L"Tab";
const std::wstring groupName = L"Group";
const std::wstring controlName = L"Control";
const std::wstring popupName = L"Popup";
const std::wstring commandName = L"Command";
const std::wstring separatorName = L"Separator";
const std::wstring ribbonName = L"Ribbon";
const std::wstring menuName = L"Menu";
const std::wstring toolBarName = L"ToolBar";
const std::wstring toolBarOptionName = L"ToolBarOption";
const std::wstring appendOptionName = L"AppendOption";
const std::wstring layoutModeName = L"LayoutMode";
const std::wstring layoutTypeName = L"LayoutType";
// And of the attributes read most.
const std::wstring sidName = L"SID";
const std::wstring captionName = L"Caption";
const std::wstring beginGroupName = L"BeginGroup";

// An element child and which of the allowed names it has.
struct Child {
    xml::Element element;
    std::size_t kind; // the index of its name among the allowed ones
};

// The element children of `parent`; any other element name fails the read.
std::vector<Child> children(const xml::Element& parent, std::initializer_list<const std::wstring*> allowed) {
    std::vector<Child> elements;
    for (xml::Element child = parent.firstChildElement(); child; child = child.nextSiblingElement()) {
        std::size_t kind = 0;
        for (const std::wstring* allowedName : allowed) {
            if (xml::checkNodeName(child, *allowedName))
                break;
            ++kind;
        }
        if (kind == allowed.size())
            fail(child, quoted(child.name()) + L" is not allowed inside " + quoted(parent.name()) + L".");
        elements.push_back({child, kind});
    }
    return elements;
}

// An element that must have no element children.
void expectLeaf(const xml::Element& element) { children(element, {}); }

// The attribute's text; empty when absent.
std::wstring text(const xml::Element& element, const std::wstring& name) {
    std::wstring value;
    xml::readAttributeText(value, element, name);
    return value;
}

// Fails the read of an element that lacks the attribute or has it empty.
void requireValue(const std::wstring& value, const xml::Element& element, const std::wstring& name) {
    if (value.empty())
        fail(element, quoted(element.name()) + L" needs a non-empty " + quoted(name) + L".");
}

std::wstring requiredText(const xml::Element& element, const std::wstring& name) {
    std::wstring value = text(element, name);
    requireValue(value, element, name);
    return value;
}

std::int32_t number(const xml::Element& element, const std::wstring& name, std::int32_t minimum) {
    const std::wstring value = text(element, name);
    std::int32_t result = 0;
    if (!utility::parseDecimal(value, result) || result < minimum)
        fail(element, L"the " + quoted(name) + L" of " + quoted(element.name()) + L" is " + quoted(value) +
                          (minimum > 0 ? L", not a positive whole number." : L", not a whole number."));
    return result;
}

// A command as the file shows it, with the identifier the table gives its
// SID; 0 when the table does not know it. A known SID is the table's own,
// and so is a caption that is the known command's.
// For a toolbar's command, `beginGroup` is set from its flag, false when
// absent. The attributes are read in one pass: a layout holds a great many
// commands.
utility::SCommand command(const xml::Element& element, const utility::CCommandTable& commandTable,
                          bool* beginGroup = nullptr) {
    expectLeaf(element);
    utility::SCommand shown;
    // Read into room kept from one command to the next: a known SID is the
    // table's, and only an unknown one needs a string of its own.
    thread_local std::wstring sid;
    thread_local std::wstring caption;
    thread_local std::wstring flagText;
    sid.clear();
    caption.clear();
    xml::AttributeField fields[] = {{sidName, &sid},
                                    {captionName, &caption},
                                    {beginGroup ? std::wstring_view(beginGroupName) : std::wstring_view(), &flagText}};
    xml::readAttributes(element, fields);
    requireValue(sid, element, sidName);
    std::wstring_view knownCaption;
    const utility::SCommand* known = commandTable.findCommand(sid, &knownCaption);
    if (known) {
        shown.id = known->id;
        shown.sid = known->sid;
    } else {
        shown.sid = sid;
    }
    if (known && knownCaption == caption)
        shown.caption = known->caption;
    else
        shown.caption = caption;
    if (!beginGroup)
        return shown;
    *beginGroup = false;
    if (fields[2].found && !xml::parseBoolean(*beginGroup, flagText))
        fail(element, L"the " + quoted(beginGroupName) + L" of " + quoted(element.name()) + L" is " + quoted(flagText) +
                          L", not \"true\" or \"false\".");
    return shown;
}

CRibbonBar readRibbon(const xml::Element& element, const utility::CCommandTable& commandTable) {
    CRibbonBar ribbon;
    for (const Child& tabChild : children(element, {&tabName})) {
        const xml::Element& tabElement = tabChild.element;
        CRibbonTab tab(number(tabElement, L"Id", 1), text(tabElement, L"Caption"));
        for (const Child& groupChild : children(tabElement, {&groupName})) {
            const xml::Element& groupElement = groupChild.element;
            auto group = std::make_unique<CRibbonGroup>();
            group->setId(number(groupElement, L"Id", 1));
            group->setCaption(text(groupElement, captionName));
            const std::vector<Child> controls = children(groupElement, {&controlName});
            group->reserveControls(controls.size());
            for (const Child& control : controls)
                group->addControl(command(control.element, commandTable));
            tab.addGroup(std::move(group));
        }
        ribbon.appendTab(std::move(tab));
    }
    return ribbon;
}

// The entries of a "Menu" or "Popup".
std::vector<Child> menuEntries(const xml::Element& element) {
    return children(element, {&popupName, &commandName, &separatorName});
}

// Reads a "Menu" into the menu bar. A list of the popups still being read
// stands in for recursion, so that popups nested any depth take no stack per
// level. As everywhere in the file, an element's children are checked before
// the first of them is read, so faults are met in the same order.
void readMenu(const xml::Element& element, CMenuItem& menuBar, const utility::CCommandTable& commandTable) {
    struct OpenPopup {
        std::vector<Child> entries;
        std::size_t next;
        CMenuItem* popup;
    };
    std::vector<OpenPopup> open;
    open.push_back({menuEntries(element), 0, &menuBar});
    while (!open.empty()) {
        OpenPopup& top = open.back();
        if (top.next == top.entries.size()) {
            open.pop_back();
            continue;
        }
        const Child entry = top.entries[top.next++];
        const xml::Element& child = entry.element;
        CMenuItem& popup = *top.popup;
        if (entry.kind == 0) {
            CMenuItem* added = popup.addPopup(requiredText(child, captionName));
            open.push_back({menuEntries(child), 0, added});
        } else if (entry.kind == 1) {
            popup.addCommand(command(child, commandTable));
        } else {
            expectLeaf(child);
            popup.insertBreak(nullptr);
        }
    }
}

XTPBarPosition barPosition(const xml::Element& element) {
    const std::wstring value = text(element, L"Position");
    if (value.empty())
        return barTop;
    for (std::size_t i = 0; i < std::size(barPositionNames); ++i)
        if (value == barPositionNames[i])
            return static_cast<XTPBarPosition>(i);
    fail(element, L"the \"Position\" of \"ToolBar\" is " + quoted(value) +
                      L", not \"Top\", \"Bottom\", \"Left\", \"Right\" or \"Floating\".");
}

void readToolBar(const xml::Element& element, CCommandBars& bars, const utility::CCommandTable& commandTable) {
    CCommandBar* bar = bars.addToolBar(requiredText(element, L"Title"), barPosition(element));
    const std::vector<Child> controls = children(element, {&commandName});
    bar->reserveControls(controls.size());
    for (const Child& control : controls) {
        bool beginGroup = false;
        utility::SCommand shown = command(control.element, commandTable, &beginGroup);
        bar->addCommand(std::move(shown), beginGroup);
    }
}

void readMode(const xml::Element& element, LayoutTypeData& type, const utility::CCommandTable& commandTable) {
    LayoutModeData* mode = type.addLayoutMode(requiredText(element, L"Name"));
    if (!mode)
        fail(element, L"the layout type " + quoted(type.getName()) + L" has two modes named " +
                          quoted(text(element, L"Name")) + L".");
    CCommandBars bars;
    CRibbonBar ribbon;
    CMenuBar menu;
    bool ribbonRead = false;
    bool menuRead = false;
    for (const Child& entry : children(element, {&ribbonName, &menuName, &toolBarName, &toolBarOptionName})) {
        const xml::Element& child = entry.element;
        if (entry.kind == 0) {
            if (std::exchange(ribbonRead, true))
                fail(child, L"a \"LayoutMode\" has one \"Ribbon\".");
            ribbon = readRibbon(child, commandTable);
        } else if (entry.kind == 1) {
            if (std::exchange(menuRead, true))
                fail(child, L"a \"LayoutMode\" has one \"Menu\".");
            readMenu(child, menu.getRoot(), commandTable);
        } else if (entry.kind == 2) {
            readToolBar(child, bars, commandTable);
        } else {
            expectLeaf(child);
            mode->addToolBarOption(ToolBarOption(requiredText(child, L"Title")));
        }
    }
    bars.setupByRibbon(std::move(ribbon), commandTable);
    bars.setupByMenu(std::move(menu), commandTable);
    mode->setupFrom(std::move(bars), commandTable);
}

void readType(const xml::Element& element, LayoutTypes& types, const utility::CCommandTable& commandTable) {
    const std::wstring name = requiredText(element, L"Name");
    for (const auto& type : types)
        if (type->getName() == name)
            fail(element, L"two layout types are named " + quoted(name) + L".");
    auto type = std::make_unique<LayoutTypeData>(name);
    for (const Child& entry : children(element, {&appendOptionName, &layoutModeName})) {
        const xml::Element& child = entry.element;
        if (entry.kind == 1) {
            readMode(child, *type, commandTable);
            element.removeChild(child); // what is read is let go, so the document and the model never both hold it
            continue;
        }
        expectLeaf(child);
        const std::wstring option = requiredText(child, L"Name");
        std::int32_t major = 0;
        std::int32_t minor = 0;
        if (type->findAppendOptionVersion(major, minor, option))
            fail(child, L"the option " + quoted(option) + L" is recorded twice.");
        type->setAppendOptionVersion(option, number(child, L"Major", 0), number(child, L"Minor", 0));
    }
    types.push_back(std::move(type));
}

std::wstring placeOf(const std::wstring& path, const xml::Node& node) {
    const int line = node.line();
    return line > 0 ? path + L", line " + std::to_wstring(line) : path;
}

} // namespace

bool readLayoutFile(const std::wstring& path, const utility::CCommandTable& commandTable, LayoutTypes& types,
                    std::wstring& problem) {
    const platform::ComApartment apartment;
    if (!apartment.ok()) {
        problem = path + L": COM cannot be opened to read the file.";
        return false;
    }
    try {
        xml::Document document;
        xml::Element root;
        if (!xml::loadForReading(document, path) || !xml::getRootElement(root, document)) {
            problem = path + L": the file is missing, unreadable or not well-formed XML.";
            return false;
        }
        if (!xml::checkNodeName(root, L"Display")) {
            problem = path + L": the root element is " + quoted(root.name()) + L", not \"Display\".";
            return false;
        }
        LayoutTypes read;
        for (const Child& child : children(root, {&layoutTypeName})) {
            readType(child.element, read, commandTable);
            root.removeChild(child.element);
        }
        types = std::move(read);
        return true;
    } catch (const FormatError& error) {
        problem = placeOf(path, error.node) + L": " + error.message;
    } catch (const xml::DomError& error) {
        problem = path + L": " + platform::fromUtf8(error.what());
    }
    return false;
}

} // namespace tern::layout
