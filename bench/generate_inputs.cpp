// tnbench-generate: writes realistic inputs of a chosen size for the
// benchmark and for the check that speed never changes what is written.
//
//   tnbench-generate layout DIR TYPES CONTROLS
//     DIR/Commands.xml       a command table of CONTROLS commands, plus the option's 50
//     DIR/Config/Display.xml TYPES layout types x 3 modes x CONTROLS controls over
//                            ribbon tabs and groups, nested menus and toolbars
//     DIR/Option.xml         an option of 50 commands, 5 tabs, 10 groups, 5 popups
//   tnbench-generate settings DIR FILES BYTES EDITS
//     DIR/Config/Setting_NN.xml  FILES settings files of about BYTES bytes each
//     DIR/Update.xml             one entry per file, EDITS AddNode/IfN edits in all
//   tnbench-generate shipped DIR FILES
//     DIR/install/...        an installation shipping FILES initial settings files
//                            and layer templates, with its version file and definition
//   tnbench-generate definition DIR ENTRIES
//     DIR/Update.xml, DIR/Commands.xml  an update definition of ENTRIES entries and
//                                       the command table that knows their commands
//
// The same arguments always give the same bytes: the text is drawn from a
// fixed-seed generator, so outputs recorded once can be compared forever.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A small linear congruential generator: the same sequence on every platform
// and standard library, unlike the <random> distributions.
class Draw {
public:
    explicit Draw(std::uint64_t seed) : state(seed) {}
    std::uint32_t below(std::uint32_t bound) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(state >> 33) % bound;
    }

private:
    std::uint64_t state;
};

const char* const areas[] = {"DRAW", "EDIT", "VIEW", "DIM", "LAYER", "SURVEY", "PIPE", "ROAD", "PLOT", "TEXT"};
const char* const verbs[] = {"Line",   "Circle", "Arc",    "Polyline", "Offset", "Trim",   "Extend", "Hatch",
                             "Rotate", "Scale",  "Mirror", "Measure",  "Align",  "Divide", "Label",  "Export"};
const char* const typeNames[] = {"Standard", "Drafting", "Civil", "Plant", "Electric", "Survey", "Mechanical", "Road"};
const char* const modeNames[] = {"Normal", "3D", "Red"};

struct Command {
    std::string sid;
    std::string caption;
    int id;
};

std::string padded(unsigned number, int width) {
    std::string text = std::to_string(number);
    return std::string(text.size() < static_cast<std::size_t>(width) ? width - text.size() : 0, '0') + text;
}

std::vector<Command> commandTable(unsigned count) {
    std::vector<Command> commands;
    for (unsigned i = 0; i < count; ++i) {
        const char* area = areas[i % std::size(areas)];
        const char* verb = verbs[(i / std::size(areas)) % std::size(verbs)];
        std::string upper = verb;
        for (char& c : upper)
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        commands.push_back({std::string("ID_") + area + "_" + upper + "_" + padded(i, 4),
                            std::string(verb) + " " + std::to_string(i), static_cast<int>(32768 + i)});
    }
    return commands;
}

// The option's own commands, which the command table knows and no layout shows yet.
std::vector<Command> optionCommands() {
    std::vector<Command> commands;
    for (unsigned i = 0; i < 50; ++i)
        commands.push_back(
            {"ID_OPTION_TOOL_" + padded(i, 2), "Tool " + std::to_string(i), static_cast<int>(20000 + i)});
    return commands;
}

// Escapes the characters an attribute value in double quotes may not hold.
std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

void writeFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

void writeCommandTable(const fs::path& path, const std::vector<Command>& commands) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Commands>\n";
    for (const Command& command : commands)
        text += "  <Command SID=\"" + command.sid + "\" Id=\"" + std::to_string(command.id) + "\" Caption=\"" +
                escaped(command.caption) + "\"/>\n";
    text += "</Commands>\n";
    writeFile(path, text);
}

// Writes one mode's bars with `controls` controls: about 55% in the ribbon,
// 30% in the menus and 15% on toolbars. A few controls show a caption the
// user changed, and one in a hundred a command the table does not know.
class ModeWriter {
public:
    ModeWriter(std::string& out, const std::vector<Command>& commands, Draw& draw)
        : out(out), commands(commands), draw(draw) {}

    void write(unsigned controls) {
        const unsigned ribbonControls = controls * 55 / 100;
        const unsigned menuControls = controls * 30 / 100;
        ribbon(ribbonControls);
        menu(menuControls);
        toolBars(controls - ribbonControls - menuControls);
    }

private:
    void line(int depth, const std::string& text) { out += std::string(2 * depth, ' ') + text + "\n"; }

    std::string control(const char* element) {
        std::string sid;
        std::string caption;
        const std::uint32_t roll = draw.below(100);
        const Command& command = commands[draw.below(static_cast<std::uint32_t>(commands.size()))];
        if (roll == 0) {
            sid = "ID_RETIRED_" + padded(draw.below(10000), 4);
            caption = "Retired tool";
        } else {
            sid = command.sid;
            caption = roll < 6 ? "My " + command.caption : command.caption;
        }
        return std::string("<") + element + " SID=\"" + sid + "\" Caption=\"" + escaped(caption) + "\"";
    }

    void ribbon(unsigned controls) {
        line(3, "<Ribbon>");
        const unsigned perGroup = 40;
        const unsigned groupsPerTab = 8;
        unsigned placed = 0;
        unsigned id = 1;
        for (unsigned tab = 0; placed < controls; ++tab) {
            line(4, "<Tab Id=\"" + std::to_string(id++) + "\" Caption=\"" +
                        (tab == 0 ? "Home" : "Tab " + std::to_string(tab)) + "\">");
            for (unsigned group = 0; group < groupsPerTab && placed < controls; ++group) {
                line(5, "<Group Id=\"" + std::to_string(id++) + "\" Caption=\"Group " + std::to_string(group) + "\">");
                for (unsigned i = 0; i < perGroup && placed < controls; ++i, ++placed)
                    line(6, control("Control") + "/>");
                line(5, "</Group>");
            }
            line(4, "</Tab>");
        }
        line(3, "</Ribbon>");
    }

    // Top-level menus of 20 entries, every fifth one a popup of 20 more,
    // and every eighth entry of a popup a separator.
    void menu(unsigned controls) {
        line(3, "<Menu>");
        unsigned placed = 0;
        for (unsigned top = 0; placed < controls; ++top) {
            line(4, "<Popup Caption=\"" + (top == 0 ? std::string("File") : "Menu " + std::to_string(top)) + "\">");
            popupEntries(5, controls, placed, 2);
            line(4, "</Popup>");
        }
        line(3, "</Menu>");
    }

    void popupEntries(int depth, unsigned controls, unsigned& placed, int levels) {
        for (unsigned i = 0; i < 20 && placed < controls; ++i) {
            if (i % 8 == 7) {
                line(depth, "<Separator/>");
            } else if (levels > 0 && i % 5 == 4) {
                line(depth, "<Popup Caption=\"More " + std::to_string(i) + "\">");
                popupEntries(depth + 1, controls, placed, levels - 1);
                line(depth, "</Popup>");
            } else {
                line(depth, control("Command") + "/>");
                ++placed;
            }
        }
    }

    void toolBars(unsigned controls) {
        const char* const positions[] = {"Top", "Left", "Bottom", "Right", "Floating"};
        unsigned placed = 0;
        for (unsigned bar = 0; placed < controls; ++bar) {
            line(3, "<ToolBar Title=\"" + (bar == 0 ? std::string("Standard") : "Bar " + std::to_string(bar)) +
                        "\" Position=\"" + positions[bar % std::size(positions)] + "\">");
            for (unsigned i = 0; i < 30 && placed < controls; ++i, ++placed)
                line(4, control("Command") + (i % 6 == 5 ? " BeginGroup=\"true\"/>" : "/>"));
            line(3, "</ToolBar>");
        }
        line(3, "<ToolBarOption Title=\"Bar 1\"/>");
    }

    std::string& out;
    const std::vector<Command>& commands;
    Draw& draw;
};

// The option: 5 tabs of 2 groups, 5 popups, and 50 commands, each placed
// in a new group and popup of the normal mode and on a toolbar it makes,
// and in the ribbon of the 3D and red modes.
std::string optionDefinition() {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Option_Data>\n  <Update ver=\"1.0\">\n    <Layout>\n";
    for (unsigned tab = 0; tab < 5; ++tab) {
        const std::string name = "Option " + std::to_string(tab);
        text += "      <MakeTab Name=\"" + name + "\" Pos=\"After\" Target=\"Home\"/>\n";
        for (unsigned group = 0; group < 2; ++group)
            text += "      <MakeGroup Tab=\"" + name + "\" Name=\"Tools " + std::to_string(group) + "\"/>\n";
        text += "      <MakePopupMenu Path=\"File\" Name=\"Option " + std::to_string(tab) + "\" Pos=\"First\"/>\n";
    }
    const std::vector<Command> commands = optionCommands();
    for (unsigned i = 0; i < commands.size(); ++i) {
        const std::string tab = "Option " + std::to_string(i % 5);
        const std::string group = "Tools " + std::to_string((i / 5) % 2);
        text += "      <Command SID=\"" + commands[i].sid + "\">\n";
        text += "        <Ribbon Tab=\"" + tab + "\" Group=\"" + group + "\"/>\n";
        text += "        <Ribbon Mode=\"3dMode\" Tab=\"Home\" Group=\"Group 0\" Pos=\"First\"/>\n";
        text += "        <Ribbon Mode=\"RedMode\" Tab=\"Home\" Group=\"Group 1\" Pos=\"Last\"/>\n";
        text += "        <Menu Path=\"File/" + tab + "\" Pos=\"Last\"" + (i % 5 == 0 ? " BeginGroup=\"true\"" : "") +
                "/>\n";
        text += "        <CommandPanel Name=\"Option Tools\" MakePos=\"true\"/>\n";
        text += "      </Command>\n";
    }
    text += "    </Layout>\n  </Update>\n</Option_Data>\n";
    return text;
}

void generateLayout(const fs::path& folder, unsigned types, unsigned controls) {
    std::vector<Command> commands = commandTable(controls);
    Draw draw(20160101);
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Display>\n";
    for (unsigned type = 0; type < types; ++type) {
        const std::string name = type < std::size(typeNames) ? typeNames[type] : "Type " + std::to_string(type);
        text += "  <LayoutType Name=\"" + name + "\">\n";
        text += "    <AppendOption Name=\"Survey\" Major=\"1\" Minor=\"1\"/>\n";
        for (const char* mode : modeNames) {
            text += std::string("    <LayoutMode Name=\"") + mode + "\">\n";
            ModeWriter(text, commands, draw).write(controls);
            text += "    </LayoutMode>\n";
        }
        text += "  </LayoutType>\n";
    }
    text += "</Display>\n";
    writeFile(folder / "Config" / "Display.xml", text);
    for (const Command& command : optionCommands())
        commands.push_back(command);
    writeCommandTable(folder / "Commands.xml", commands);
    writeFile(folder / "Option.xml", optionDefinition());
}

// A settings file of about `bytes` bytes: groups of entries, as the drawing
// settings hold them, some with a few lines of text.
std::string settingsFile(unsigned file, std::size_t bytes, Draw& draw) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- settings file " + std::to_string(file) +
                       " -->\n<Settings Version=\"2015.2\">\n";
    for (unsigned group = 0; text.size() < bytes; ++group) {
        text += "  <Group Name=\"g" + std::to_string(group) + "\" Enabled=\"true\">\n";
        for (unsigned entry = 0; entry < 25; ++entry) {
            text += "    <Entry Key=\"k" + std::to_string(entry) + "\" Value=\"" + std::to_string(draw.below(100000)) +
                    "\" Unit=\"mm\" Color=\"" + std::to_string(draw.below(256)) + "\"";
            if (entry % 10 == 9)
                text += ">Note &amp; text " + std::to_string(draw.below(1000)) + "</Entry>\n";
            else
                text += "/>\n";
        }
        text += "  </Group>\n";
    }
    text += "</Settings>\n";
    return text;
}

// One "Update" per file, each editing its own file: AddNode edits into
// groups found by attribute, alternating with IfN edits that add an element
// once when it is missing.
void generateSettings(const fs::path& folder, unsigned files, std::size_t bytes, unsigned edits) {
    Draw draw(20151231);
    std::string definition = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Update_Data>\n";
    for (unsigned file = 0; file < files; ++file) {
        const std::string name = "Setting_" + padded(file, 2) + ".xml";
        const std::string text = settingsFile(file, bytes, draw);
        writeFile(folder / "Config" / name, text);
        const unsigned groups = static_cast<unsigned>(bytes / 2000) + 1;
        definition += "  <Update ver=\"" + std::to_string(2100 - file) + ".0\">\n";
        definition += "    <Setting Path=\"Config\\" + name + "\">\n";
        const unsigned own = edits / files + (file < edits % files ? 1 : 0);
        for (unsigned edit = 0; edit < own; ++edit) {
            const std::string group = "g" + std::to_string(draw.below(groups));
            if (edit % 2 == 0) {
                definition += "      <AddNode XPath=\"Group[@Name='" + group + "']\">  <Entry Key=\"new" +
                              std::to_string(edit) + "\" Value=\"1\"/>\n  </AddNode>\n";
            } else {
                const std::string element = "Feature" + std::to_string(edit);
                definition += "      <IfN XPath=\"" + element + "\">\n        <AddNode XPath=\".\">  <" + element +
                              " Enabled=\"false\"/>\n</AddNode>\n      </IfN>\n";
            }
        }
        definition += "    </Setting>\n  </Update>\n";
    }
    definition += "</Update_Data>\n";
    writeFile(folder / "Update.xml", definition);
}

// An installation whose shipped files are four in five initial settings
// files and one in five layer templates.
void generateShipped(const fs::path& folder, unsigned files) {
    const fs::path install = folder / "install";
    writeFile(install / "ja" / "version.xml",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Versions>\n  <Main>2016.0</Main>\n</Versions>\n");
    writeCommandTable(install / "Config" / "Commands.xml", commandTable(100));
    writeFile(install / "Update.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Update_Data>\n"
                                      "  <Update ver=\"2016.0\">\n    <Layout/>\n  </Update>\n</Update_Data>\n");
    Draw draw(20160401);
    const unsigned templates = files / 5;
    for (unsigned i = 0; i < files; ++i) {
        const bool layer = i < templates;
        const fs::path path = layer ? install / "Templates" / "Layer" / ("Layer_" + padded(i, 5) + ".xml")
                                    : install / "Config" / "InitialSet" / ("Initial_" + padded(i, 5) + ".xml");
        std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Shipped>\n";
        const unsigned lines = 4 + draw.below(40);
        for (unsigned line = 0; line < lines; ++line)
            text += "  <Item Name=\"n" + std::to_string(line) + "\" Value=\"" + std::to_string(draw.below(100000)) +
                    "\"/>\n";
        text += "</Shipped>\n";
        writeFile(path, text);
    }
}

// ENTRIES entries, newest first, each placing five commands of its own in
// the ribbon, a menu and a toolbar, making a tab or a popup now and then,
// and editing one settings file.
void generateDefinition(const fs::path& folder, unsigned entries) {
    std::vector<Command> commands;
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Update_Data>\n";
    for (unsigned entry = 0; entry < entries; ++entry) {
        const unsigned major = 2016 - entry / 10;
        const unsigned minor = 9 - entry % 10;
        text += "  <Update ver=\"" + std::to_string(major) + "." + std::to_string(minor) + "\">\n    <Layout>\n";
        if (entry % 4 == 0)
            text += "      <MakeTab Name=\"Tab " + std::to_string(entry) + "\" Pos=\"After\" Target=\"Home\"/>\n";
        if (entry % 4 == 2)
            text += "      <MakePopupMenu Path=\"\" Name=\"Menu " + std::to_string(entry) + "\" Pos=\"Last\"/>\n";
        for (unsigned i = 0; i < 5; ++i) {
            const unsigned number = entry * 5 + i;
            const Command command{"ID_RELEASE_TOOL_" + padded(number, 5), "Tool " + std::to_string(number),
                                  static_cast<int>(40000 + number)};
            // Now and then a command the table does not know, or a position
            // the library does not read: what check is there to report.
            if (number % 97 != 13)
                commands.push_back(command);
            const char* pos = number % 89 == 7 ? "Middle" : "After";
            text += "      <Command SID=\"" + command.sid + "\">\n";
            text += std::string("        <Ribbon Tab=\"Home\" Group=\"Draw\" Pos=\"") + pos +
                    "\" Target=\"ID_DRAW_LINE\"/>\n";
            text += "        <Menu Path=\"Draw\" Pos=\"Last\"/>\n";
            text += "        <CommandPanel Name=\"Standard\"/>\n      </Command>\n";
        }
        text += "    </Layout>\n    <Setting Path=\"Config\\Draw_Common.xml\">\n      <IfN XPath=\"Release" +
                std::to_string(entry) + "\">\n        <AddNode XPath=\".\">  <Release" + std::to_string(entry) +
                " Enabled=\"true\"/>\n</AddNode>\n      </IfN>\n    </Setting>\n  </Update>\n";
    }
    text += "</Update_Data>\n";
    writeFile(folder / "Update.xml", text);
    writeCommandTable(folder / "Commands.xml", commands);
}

unsigned number(const char* text) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (!end || *end != '\0' || value == 0)
        throw std::runtime_error(std::string("not a positive number: ") + text);
    return static_cast<unsigned>(value);
}

int usage() {
    std::cerr << "usage: tnbench-generate layout DIR TYPES CONTROLS\n"
                 "       tnbench-generate settings DIR FILES BYTES EDITS\n"
                 "       tnbench-generate shipped DIR FILES\n"
                 "       tnbench-generate definition DIR ENTRIES\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const std::string what = argc > 2 ? argv[1] : "";
        if (what == "layout" && argc == 5)
            generateLayout(argv[2], number(argv[3]), number(argv[4]));
        else if (what == "settings" && argc == 6)
            generateSettings(argv[2], number(argv[3]), number(argv[4]), number(argv[5]));
        else if (what == "shipped" && argc == 4)
            generateShipped(argv[2], number(argv[3]));
        else if (what == "definition" && argc == 4)
            generateDefinition(argv[2], number(argv[3]));
        else
            return usage();
    } catch (const std::exception& error) {
        std::cerr << "tnbench-generate: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
