#include "update/setting/if_n.h"

#include "update/load_report.h"
#include "update/owned_pointers.h"
#include "update/setting/item_loading.h"
#include "update/setting/setting_edit_report.h"
#include "update/skipped_element.h"

namespace tern::update::setting {

namespace xml = utility::xml;

namespace {

// How many "IfN" loads are under way on this thread, one inside the other.
thread_local int loadDepth = 0;

class NestedLoad {
public:
    NestedLoad() { ++loadDepth; }
    ~NestedLoad() { --loadDepth; }
    NestedLoad(const NestedLoad&) = delete;
    NestedLoad& operator=(const NestedLoad&) = delete;
    bool tooDeep() const { return loadDepth > IfN::maxDepth; }
};

} // namespace

IfN::~IfN() { clear(); }

void IfN::clear() { deleteAll(items); }

ISettingItem* IfN::clone() const {
    // Held until whole: when a nested clone throws, the partial copy and
    // the clones it holds are destroyed.
    auto copy = std::make_unique<IfN>();
    cloneAll(copy->items, items);
    copy->xpath = xpath;
    copy->state = state;
    return copy.release();
}

const wchar_t* IfN::getNodeName() const { return L"IfN"; }

bool IfN::load(xml::Node node, SettingItemTable& table) {
    clear();
    const NestedLoad nesting;
    if (nesting.tooDeep()) {
        reportDropped(node, [] {
            return L"An \"IfN\" nested more than " + std::to_wstring(maxDepth) + L" levels deep is dropped.";
        });
        return false;
    }
    try {
        if (!readItemXPath(xpath, node, getNodeName()))
            return false;
        reportUnknownAttributes(node.asElement(), {L"XPath"});
        state = 1;
        loadItems(items, node, table);
        return true;
    } catch (const xml::DomError&) {
        reportUnreadableElement(node);
        return false;
    }
}

bool IfN::apply(SettingData* owner, xml::Node root, xml::Document document) {
    if (items.empty() || state != 1)
        return false;
    xml::Node found;
    if (xml::selectSingleNode(found, root, xpath)) {
        reportEditNotApplied(owner, xpath, L"the XPath selects a node already: the edits inside are not applied");
        return false;
    }
    bool changed = false;
    for (ISettingItem* item : items)
        if (item)
            changed |= item->apply(owner, root, document);
    return changed;
}

} // namespace tern::update::setting
