#include "tests/components/layout/bar_listing.h"

#include "platform/text.h"

namespace tern::test {

namespace {

std::string shown(const utility::SCommand& command) {
    return platform::toUtf8(command.caption.str()) + (command.id == 0 ? "?" : "");
}

} // namespace

std::string describe(const layout::CRibbonBar& ribbon) {
    std::string text;
    for (const layout::CRibbonTab& tab : ribbon.getTabs()) {
        text += (text.empty() ? "" : " ") + platform::toUtf8(tab.getCaption()) + "(" + std::to_string(tab.getId()) +
                ")[";
        for (const layout::CRibbonGroup& group : tab.getGroups()) {
            text += (&group == &tab.getGroups().front() ? "" : " ") + platform::toUtf8(group.getCaption()) + "(" +
                    std::to_string(group.getId()) + "):";
            for (const utility::SCommand& control : group.getControls())
                text += " " + shown(control);
        }
        text += "]";
    }
    return text;
}

std::string describe(const layout::CMenuItem& popup) {
    std::string text;
    for (const layout::CMenuItem* child = popup.getFirstChild(); child; child = child->getNextSibling()) {
        text += child == popup.getFirstChild() ? "" : " ";
        switch (child->getKind()) {
        case layout::CMenuItem::Kind::separator:
            text += "|";
            break;
        case layout::CMenuItem::Kind::command:
            text += shown(utility::SCommand{child->getId(), child->getCaption(), child->getSid()});
            break;
        case layout::CMenuItem::Kind::popup:
            text += platform::toUtf8(child->getCaption()) + "[" + describe(*child) + "]";
            break;
        }
    }
    return text;
}

std::string describe(const layout::CMenuBar& menu) { return describe(menu.getRoot()); }

std::string describe(const layout::CCommandBar& toolBar) {
    std::string text = platform::toUtf8(toolBar.getTitle()) + ":";
    for (const layout::ToolBarControl& control : toolBar.getControls())
        text += std::string(" ") + (control.beginGroup ? "|" : "") + shown(control.command);
    return text;
}

} // namespace tern::test
