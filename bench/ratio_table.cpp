#include "bench/ratio_table.h"

#include <cstdio>
#include <optional>
#include <string>

namespace tern::bench {

namespace {

using Medians = std::map<std::string, Median>;

// A figure of the table: none when its benchmarks did not run.
struct Figure {
    std::optional<double> value;
    // Whether the median of a benchmark behind it was itself disturbed.
    bool unsteady = false;
    // The same ratio of the fastest repetitions, where there is one.
    std::optional<double> fastest;
};

// How many times the fastest repetition's time the median may take and
// still stand. The machine's noise slows a repetition now and then, which
// the median leaves out; a median this far off means that most
// repetitions met a disturbance of their own, such as ext4 stepping over
// the inodes of many files deleted in the minutes before (5 to 10 times
// slower copies).
constexpr double steadyMedian = 1.5;

bool isUnsteady(const Median& median) { return median.fastest > 0 && median.seconds > steadyMedian * median.fastest; }

const Median* medianOf(const Medians& medians, const std::string& name) {
    const auto at = medians.find(name);
    return at == medians.end() || at->second.seconds <= 0 ? nullptr : &at->second;
}

Figure ratio(const Medians& medians, const std::string& work, const std::string& floor) {
    const Median* top = medianOf(medians, work);
    const Median* bottom = medianOf(medians, floor);
    if (!top || !bottom)
        return {};
    std::optional<double> fastest;
    if (top->fastest > 0 && bottom->fastest > 0)
        fastest = top->fastest / bottom->fastest;
    return {top->seconds / bottom->seconds, isUnsteady(*top) || isUnsteady(*bottom), fastest};
}

// Peak memory over the size of the file worked on.
Figure memoryRatio(const Medians& medians, const std::string& name) {
    const Median* median = medianOf(medians, name);
    if (!median || median->fileKb <= 0)
        return {};
    Figure figure;
    figure.value = median->peakKb / median->fileKb;
    return figure;
}

class Table {
public:
    explicit Table(std::ostream& out) : out(out) {
        line("Work", "Measured", "Target", "");
        line(std::string(68, '-'), std::string(8, '-'), std::string(9, '-'), "----");
    }

    // A disturbed median still decides where the fastest repetitions fall
    // on the same side of the target: only a figure whose verdict the
    // disturbance could have turned is left undecided.
    void row(const std::string& work, const Figure& measured, double target) {
        char limit[32];
        std::snprintf(limit, sizeof limit, "<= %.1fx", target);
        const bool under = measured.value && *measured.value <= target;
        const bool decided =
            measured.value && (!measured.unsteady || (measured.fastest && (*measured.fastest <= target) == under));
        const bool met = decided && under;
        std::string verdict = !measured.value ? "?" : !decided ? "UNSTEADY" : met ? "met" : "MISSED";
        if (measured.unsteady && decided)
            verdict += ", unsteady";
        if (measured.unsteady && measured.fastest) {
            char fastest[48];
            std::snprintf(fastest, sizeof fastest, " (fastest repetitions: %.2fx)", *measured.fastest);
            verdict += fastest;
        }
        line(work, shown(measured), limit, verdict);
        if (!met)
            ++missed;
        unsteady = unsteady || measured.unsteady;
    }

    // A figure shown for comparison, held to no target.
    void note(const std::string& work, const Figure& measured) {
        line(work, shown(measured), "", measured.unsteady ? "unsteady" : "");
        unsteady = unsteady || measured.unsteady;
    }

    int missedCount() const { return missed; }
    bool anyUnsteady() const { return unsteady; }

private:
    static std::string shown(const Figure& measured) {
        char value[32] = "missing";
        if (measured.value)
            std::snprintf(value, sizeof value, "%.2fx", *measured.value);
        return value;
    }

    void line(const std::string& work, const std::string& measured, const std::string& target,
              const std::string& verdict) {
        char text[160];
        std::snprintf(text, sizeof text, "%-68s %8s %9s  %s\n", work.c_str(), measured.c_str(), target.c_str(),
                      verdict.c_str());
        out << text;
    }

    std::ostream& out;
    int missed = 0;
    bool unsteady = false;
};

} // namespace

void MedianCollector::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.run_type != Run::RT_Aggregate || run.error_occurred)
            continue;
        Median& median = found[run.run_name.function_name];
        // Times are reported in milliseconds.
        const double seconds = run.GetAdjustedRealTime() / 1000;
        if (run.aggregate_name == "min")
            median.fastest = seconds;
        if (run.aggregate_name != "median")
            continue;
        median.seconds = seconds;
        if (const auto peak = run.counters.find("peak_kb"); peak != run.counters.end())
            median.peakKb = peak->second.value;
        if (const auto file = run.counters.find("file_kb"); file != run.counters.end())
            median.fileKb = file->second.value;
    }
}

void printRatioTable(const Medians& medians, std::ostream& out) {
    out << "\nCPU time medians, each as a ratio to its floor measured in the same run\n\n";
    Table table(out);
    table.row("option, 6 types x 8,000 controls / pugixml parse + save",
              ratio(medians, "option/6x8000", "floor_parse_save/6x8000"), 2.0);
    table.row("option, 2 types x 500 controls / pugixml parse + save (as before)",
              ratio(medians, "option/2x500", "floor_parse_save/2x500"), 4.9);
    table.row("option growth, 6 x 2,000 to 6 x 4,000 controls", ratio(medians, "option/6x4000", "option/6x2000"), 2.1);
    table.row("option growth, 6 x 4,000 to 6 x 8,000 controls", ratio(medians, "option/6x8000", "option/6x4000"), 2.1);
    table.row("option peak memory / Display.xml size, 6 x 8,000", memoryRatio(medians, "option/6x8000"), 5.0);
    table.note("  pugixml parse + save peak memory / file size", memoryRatio(medians, "floor_parse_save/6x8000"));
    for (const SettingsSet& set : settingsSets) {
        const std::string name = set.name;
        table.row(std::string("setting edits, ") + set.shown + " / the same edits with pugixml",
                  ratio(medians, "settings/" + name, "floor_settings/" + name), 1.3);
        if (name == durableSettingsSet)
            table.note("  the same / pugixml saving durably, as the library does",
                       ratio(medians, "settings/" + name, "floor_settings_durable/" + name));
    }
    table.row("update, first run, 5,000 shipped files / cp -rn", ratio(medians, "update/first", "floor_cp/first"), 1.0);
    table.row("update, second run, 20,000 files already there / cp -rn",
              ratio(medians, "update/second", "floor_cp/second"), 1.2);
    for (const char* variant : {"check", "check_commands"}) {
        const std::string name = variant;
        const bool withCommands = name == "check_commands";
        const std::string shown = withCommands ? "check --commands" : "check";
        // The floor parses what check reads: with --commands, the command table too.
        const std::string floor = withCommands ? "floor_parse_commands/20000" : "floor_parse/20000";
        table.row(shown + ", 20,000 entries / pugixml parse of " + (withCommands ? "both files" : "the file"),
                  ratio(medians, name + "/20000", floor), 3.0);
        if (withCommands)
            table.note("  the same / pugixml parse of the definition alone",
                       ratio(medians, name + "/20000", "floor_parse/20000"));
        table.row(shown + " growth, 2,000 to 20,000 entries (linear: 10x)",
                  ratio(medians, name + "/20000", name + "/2000"), 11.0);
        table.note(shown + " growth, 200 to 2,000 entries", ratio(medians, name + "/2000", name + "/200"));
    }
    out << "\n"
        << (table.missedCount() == 0 ? "Every target is met."
                                     : "Targets missed, missing or unsteady: " + std::to_string(table.missedCount()))
        << "\n";
    if (table.anyUnsteady())
        out << "Unsteady: the median repetition of a benchmark behind the figure took more than " << steadyMedian
            << " times\nthe fastest, so most repetitions were disturbed. Such a figure is held to its target only "
               "where the\nratio of the fastest repetitions falls on the same side of it; it is UNSTEADY where it "
               "does not.\nOn ext4 this follows the deletion of many files in the minutes before (as in a bench/run "
               "right\nafter another, whose inputs it deletes): run again a few minutes later.\n";
}

} // namespace tern::bench
