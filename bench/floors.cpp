// The floors the library is measured against: the same work done with
// pugixml directly, with nothing of the library in between.

#include "bench/programs.h"

#include <pugixml.hpp>

#include <fcntl.h>
#include <unistd.h>

#include <memory>

#include <string>
#include <vector>

namespace tern::bench {

namespace {

// Every node kept and printed as read, the whitespace around the document
// element too, as the library keeps a settings file.
constexpr unsigned int keepEverything = pugi::parse_full | pugi::parse_ws_pcdata | pugi::parse_fragment;

std::string nativePath(std::string path) {
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

// One edit of a "Setting": its XPath, and for an AddNode its content as a
// document of its own, or for an IfN the edits it guards.
struct Edit {
    std::string xpath;
    std::shared_ptr<pugi::xml_document> content;
    std::vector<Edit> guarded;
};

std::vector<Edit> readEdits(pugi::xml_node parent) {
    std::vector<Edit> edits;
    for (pugi::xml_node item : parent.children()) {
        const std::string name = item.name();
        if (name != "AddNode" && name != "IfN")
            continue;
        Edit edit;
        edit.xpath = item.attribute("XPath").value();
        if (name == "AddNode") {
            edit.content = std::make_shared<pugi::xml_document>();
            for (pugi::xml_node child : item.children())
                edit.content->append_copy(child);
        } else {
            edit.guarded = readEdits(item);
        }
        edits.push_back(std::move(edit));
    }
    return edits;
}

bool apply(const std::vector<Edit>& edits, pugi::xml_node root) {
    bool changed = false;
    for (const Edit& edit : edits) {
        const pugi::xpath_node found = root.select_node(edit.xpath.c_str());
        if (edit.content) {
            if (!found.node())
                continue;
            for (pugi::xml_node child : edit.content->children())
                found.node().append_copy(child);
            changed = true;
        } else if (!found) {
            changed = apply(edit.guarded, root) || changed;
        }
    }
    return changed;
}

int parseAndSave(const std::string& in, const std::string& out) {
    pugi::xml_document document;
    if (!document.load_file(in.c_str(), keepEverything))
        return 1;
    return document.save_file(out.c_str(), "", pugi::format_raw) ? 0 : 1;
}

// Each file in turn, as check reads a definition and its command table.
int parse(const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        pugi::xml_document document;
        if (!document.load_file(file.c_str()))
            return 1;
    }
    return 0;
}

// Saves as the library replaces a file: written beside it, flushed to the
// disk, renamed over it, and the folder flushed, so that a save cut short
// leaves the old file whole.
bool saveDurably(const pugi::xml_document& document, const std::string& file) {
    const std::string beside = file + ".new";
    if (!document.save_file(beside.c_str(), "", pugi::format_raw))
        return false;
    const int written = ::open(beside.c_str(), O_RDONLY);
    const bool flushed = written >= 0 && ::fsync(written) == 0;
    if (written >= 0)
        ::close(written);
    if (!flushed || ::rename(beside.c_str(), file.c_str()) != 0)
        return false;
    const std::size_t slash = file.rfind('/');
    const int folder = ::open(slash == std::string::npos ? "." : file.substr(0, slash).c_str(), O_RDONLY);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

// Each "Setting" of the definition edits its file below the folder: the
// file is loaded, edited and saved when an edit changed it, with pugixml's
// own save or durably.
int editSettings(const std::string& definitionPath, const std::string& folder, bool durable) {
    pugi::xml_document definition;
    if (!definition.load_file(definitionPath.c_str(), keepEverything))
        return 1;
    for (pugi::xml_node entry : definition.document_element().children("Update")) {
        for (pugi::xml_node setting : entry.children("Setting")) {
            const std::vector<Edit> edits = readEdits(setting);
            const std::string file = folder + "/" + nativePath(setting.attribute("Path").value());
            pugi::xml_document document;
            if (!document.load_file(file.c_str(), keepEverything))
                return 1;
            if (!apply(edits, document.document_element()))
                continue;
            if (durable ? !saveDurably(document, file) : !document.save_file(file.c_str(), "", pugi::format_raw))
                return 1;
        }
    }
    return 0;
}

} // namespace

int runFloor(const std::vector<std::string>& arguments) {
    const std::string what = arguments.empty() ? "" : arguments[0];
    if (what == "parse-save" && arguments.size() == 3)
        return parseAndSave(arguments[1], arguments[2]);
    if (what == "parse" && arguments.size() >= 2)
        return parse({arguments.begin() + 1, arguments.end()});
    if ((what == "settings" || what == "settings-durable") && arguments.size() == 3)
        return editSettings(arguments[1], arguments[2], what == "settings-durable");
    return 2;
}

} // namespace tern::bench
