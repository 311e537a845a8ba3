#include "components/layout/layout_file.h"

#include "components/utility/xml.h"

#include <string>

namespace tern::layout {

namespace xml = utility::xml;

namespace {

void writeCommand(const xml::Element& element, const utility::SCommand& command) {
    element.setAttribute(L"SID", command.sid);
    element.setAttribute(L"Caption", command.caption);
}

void writeRibbon(const xml::Element& parent, const CRibbonBar& ribbon) {
    const xml::Element ribbonElement = parent.appendElement(L"Ribbon");
    for (const CRibbonTab& tab : ribbon.getTabs()) {
        const xml::Element tabElement = ribbonElement.appendElement(L"Tab");
        tabElement.setAttribute(L"Id", std::to_wstring(tab.getId()));
        tabElement.setAttribute(L"Caption", tab.getCaption());
        for (const CRibbonGroup& group : tab.getGroups()) {
            const xml::Element groupElement = tabElement.appendElement(L"Group");
            groupElement.setAttribute(L"Id", std::to_wstring(group.getId()));
            groupElement.setAttribute(L"Caption", group.getCaption());
            for (const utility::SCommand& control : group.getControls())
                writeCommand(groupElement.appendElement(L"Control"), control);
        }
    }
}

void writeMenuItems(const xml::Element& element, const CMenuItem& popup) {
    for (const CMenuItem* child = popup.getFirstChild(); child; child = child->getNextSibling()) {
        switch (child->getKind()) {
        case CMenuItem::Kind::popup: {
            const xml::Element popupElement = element.appendElement(L"Popup");
            popupElement.setAttribute(L"Caption", child->getCaption());
            writeMenuItems(popupElement, *child);
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

void writeToolBar(const xml::Element& parent, const CCommandBar& bar) {
    const xml::Element barElement = parent.appendElement(L"ToolBar");
    barElement.setAttribute(L"Title", bar.getTitle());
    barElement.setAttribute(L"Position", barPositionNames[bar.getPosition()]);
    for (const ToolBarControl& control : bar.getControls()) {
        const xml::Element controlElement = barElement.appendElement(L"Command");
        writeCommand(controlElement, control.command);
        if (control.beginGroup)
            controlElement.setAttribute(L"BeginGroup", L"true");
    }
}

void writeMode(const xml::Element& parent, const LayoutModeData& mode, const utility::CCommandTable& commandTable) {
    const xml::Element modeElement = parent.appendElement(L"LayoutMode");
    modeElement.setAttribute(L"Name", mode.getName());
    CCommandBars bars;
    CMenuBar menu;
    mode.setupTo(bars, commandTable);
    bars.setMenu(menu);
    writeRibbon(modeElement, bars.getRibbonBar());
    writeMenuItems(modeElement.appendElement(L"Menu"), menu.getRoot());
    for (const CCommandBar& bar : bars.getToolBars())
        writeToolBar(modeElement, bar);
    for (const ToolBarOption& option : mode.getToolBarOptions())
        modeElement.appendElement(L"ToolBarOption").setAttribute(L"Title", option.getTitle());
}

void writeType(const xml::Element& root, const LayoutTypeData& type, const utility::CCommandTable& commandTable) {
    const xml::Element typeElement = root.appendElement(L"LayoutType");
    typeElement.setAttribute(L"Name", type.getName());
    for (const AppendOption& option : type.getAppendOptions()) {
        const xml::Element optionElement = typeElement.appendElement(L"AppendOption");
        optionElement.setAttribute(L"Name", option.name);
        optionElement.setAttribute(L"Major", std::to_wstring(option.major));
        optionElement.setAttribute(L"Minor", std::to_wstring(option.minor));
    }
    for (const auto& mode : type.getLayoutModes())
        writeMode(typeElement, *mode, commandTable);
}

} // namespace

bool writeLayoutFile(const std::wstring& path, const LayoutTypes& types, const utility::CCommandTable& commandTable) {
    try {
        const xml::Document document = xml::Document::create(L"Display");
        xml::Element root;
        if (!xml::getRootElement(root, document))
            return false;
        for (const auto& type : types)
            writeType(root, *type, commandTable);
        return xml::save(document, path);
    } catch (const xml::DomError&) {
        return false;
    }
}

} // namespace tern::layout
