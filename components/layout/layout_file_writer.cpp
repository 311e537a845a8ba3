#include "components/layout/layout_file.h"

#include "components/utility/xml.h"
#include "platform/com_apartment.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace tern::layout {

namespace xml = utility::xml;

namespace {

// Indentation stops growing at this level: past it, lines are indented as
// at this level, so that a menu nested thousands deep is written in a size
// that grows with its depth rather than with the square of it. Files of any
// ordinary depth never reach it.
constexpr std::size_t maxIndentLevel = 16;

// An element of the file as it is written: one element a line, indented two
// spaces a level up to maxIndentLevel. A child goes on a new line one level
// deeper than its element, and an element that got children ends on a line
// of its own once `end` is called.
class IndentedElement {
public:
    IndentedElement(xml::Element element, std::size_t depth) : element(std::move(element)), depth(depth) {}

    IndentedElement appendElement(const wchar_t* name) const {
        element.appendText(lineStart(depth + 1));
        return {element.appendElement(name), depth + 1};
    }
    void setAttribute(const wchar_t* name, const std::wstring& value) const { element.setAttribute(name, value); }
    void end() const {
        if (element.firstChild())
            element.appendText(lineStart(depth));
    }

private:
    static std::wstring lineStart(std::size_t depth) {
        return L"\n" + std::wstring(2 * std::min(depth, maxIndentLevel), L' ');
    }

    xml::Element element;
    std::size_t depth;
};

void writeCommand(const IndentedElement& element, const utility::SCommand& command) {
    element.setAttribute(L"SID", command.sid);
    element.setAttribute(L"Caption", command.caption);
}

void writeRibbon(const IndentedElement& parent, const CRibbonBar& ribbon) {
    const IndentedElement ribbonElement = parent.appendElement(L"Ribbon");
    for (const CRibbonTab& tab : ribbon.getTabs()) {
        const IndentedElement tabElement = ribbonElement.appendElement(L"Tab");
        tabElement.setAttribute(L"Id", std::to_wstring(tab.getId()));
        tabElement.setAttribute(L"Caption", tab.getCaption());
        for (const CRibbonGroup& group : tab.getGroups()) {
            const IndentedElement groupElement = tabElement.appendElement(L"Group");
            groupElement.setAttribute(L"Id", std::to_wstring(group.getId()));
            groupElement.setAttribute(L"Caption", group.getCaption());
            for (const utility::SCommand& control : group.getControls())
                writeCommand(groupElement.appendElement(L"Control"), control);
            groupElement.end();
        }
        tabElement.end();
    }
    ribbonElement.end();
}

// Writes the menu bar's entries into "Menu". A list of the popups still
// being written stands in for recursion, so that popups nested any depth
// take no stack per level.
void writeMenu(const IndentedElement& menuElement, const CMenuItem& menuBar) {
    struct OpenPopup {
        IndentedElement element;
        const CMenuItem* next; // the next child to write; null when done
    };
    std::vector<OpenPopup> open{{menuElement, menuBar.getFirstChild()}};
    while (!open.empty()) {
        OpenPopup& top = open.back();
        const CMenuItem* child = top.next;
        if (!child) {
            top.element.end();
            open.pop_back();
            continue;
        }
        top.next = child->getNextSibling();
        const IndentedElement element = top.element; // `top` goes when a popup is opened
        switch (child->getKind()) {
        case CMenuItem::Kind::popup: {
            const IndentedElement popupElement = element.appendElement(L"Popup");
            popupElement.setAttribute(L"Caption", child->getCaption());
            open.push_back({popupElement, child->getFirstChild()});
            break;
        }
        case CMenuItem::Kind::command:
            writeCommand(element.appendElement(L"Command"),
                         utility::SCommand{child->getId(), child->getCaption(), child->getSid()});
            break;
        case CMenuItem::Kind::separator:
            element.appendElement(L"Separator");
            break;
        }
    }
}

void writeToolBar(const IndentedElement& parent, const CCommandBar& bar) {
    const IndentedElement barElement = parent.appendElement(L"ToolBar");
    barElement.setAttribute(L"Title", bar.getTitle());
    barElement.setAttribute(L"Position", barPositionNames[bar.getPosition()]);
    for (const ToolBarControl& control : bar.getControls()) {
        const IndentedElement controlElement = barElement.appendElement(L"Command");
        writeCommand(controlElement, control.command);
        if (control.beginGroup)
            controlElement.setAttribute(L"BeginGroup", L"true");
    }
    barElement.end();
}

void writeMode(const IndentedElement& parent, const LayoutModeData& mode, const utility::CCommandTable& commandTable) {
    const IndentedElement modeElement = parent.appendElement(L"LayoutMode");
    modeElement.setAttribute(L"Name", mode.getName());
    CCommandBars bars;
    CMenuBar menu;
    mode.setupTo(bars, commandTable);
    bars.setMenu(menu);
    writeRibbon(modeElement, bars.getRibbonBar());
    writeMenu(modeElement.appendElement(L"Menu"), menu.getRoot());
    for (const CCommandBar& bar : bars.getToolBars())
        writeToolBar(modeElement, bar);
    for (const ToolBarOption& option : mode.getToolBarOptions())
        modeElement.appendElement(L"ToolBarOption").setAttribute(L"Title", option.getTitle());
    modeElement.end();
}

void writeType(const IndentedElement& root, const LayoutTypeData& type, const utility::CCommandTable& commandTable) {
    const IndentedElement typeElement = root.appendElement(L"LayoutType");
    typeElement.setAttribute(L"Name", type.getName());
    for (const AppendOption& option : type.getAppendOptions()) {
        const IndentedElement optionElement = typeElement.appendElement(L"AppendOption");
        optionElement.setAttribute(L"Name", option.name);
        optionElement.setAttribute(L"Major", std::to_wstring(option.major));
        optionElement.setAttribute(L"Minor", std::to_wstring(option.minor));
    }
    for (const auto& mode : type.getLayoutModes())
        writeMode(typeElement, *mode, commandTable);
    typeElement.end();
}

} // namespace

bool writeLayoutFile(const std::wstring& path, const LayoutTypes& types, const utility::CCommandTable& commandTable) {
    const platform::ComApartment apartment;
    if (!apartment.ok())
        return false;
    try {
        const xml::Document document = xml::Document::create(L"Display");
        xml::Element root;
        if (!xml::getRootElement(root, document))
            return false;
        const IndentedElement display(root, 0);
        for (const auto& type : types)
            writeType(display, *type, commandTable);
        display.end();
        return xml::save(document, path);
    } catch (const xml::DomError&) {
        return false;
    }
}

} // namespace tern::layout
