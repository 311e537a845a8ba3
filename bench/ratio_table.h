// The table bench/run ends with: each work item's median next to its
// floor's, as a ratio beside the target it is held to.

#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace tern::bench {

// How many times tnbench measures an item: what takes under half a second
// 15 times, so that the few repetitions the machine disturbs cannot move
// the median; what takes seconds 3 times, so that bench/run, build
// included, ends within five minutes here. 31 repetitions of the quick
// items made a run 50 s longer and missed as often: what moves a median
// here is a minute in which the whole machine runs slower, not a
// repetition disturbed now and then (docs/performance.md).
inline constexpr int quickRepetitions = 15;
inline constexpr int slowRepetitions = 3;

// The sets of settings files the setting edits are measured on: the input
// folder's suffix (bench/run writes settings-NAME), how the table shows
// it, and how many times tnbench measures it (a set edited in a fraction
// of a second as often as the other quick items, a set that takes seconds
// fewer times). The largest files come five to a set, which keeps a run of
// the benchmark short; the ratio compares the same files either way.
struct SettingsSet {
    const char* name;
    const char* shown;
    int repetitions;
};
inline constexpr SettingsSet settingsSets[] = {{"20x1MB", "20 files of 1 MB", quickRepetitions},
                                               {"20x5MB", "20 files of 5 MB", slowRepetitions},
                                               {"5x20MB", "5 files of 20 MB", slowRepetitions}};
// The set the edits are also measured on against pugixml saving durably,
// flushed and renamed into place as the library saves.
inline constexpr const char* durableSettingsSet = "20x5MB";

// What the table takes of one benchmark's repetitions: their medians, and
// the fastest one's time.
struct Median {
    double seconds = 0; // CPU time of the measured process
    double peakKb = 0;  // its peak resident memory
    double fileKb = 0;  // the size of the file it worked on, where one is named
    double fastest = 0; // the fastest repetition's CPU time
};

// Prints the console report as usual and keeps each benchmark's medians,
// by the name it was registered under.
class MedianCollector : public benchmark::ConsoleReporter {
public:
    // In columns, without colours: the report usually goes to a file.
    MedianCollector() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override;
    const std::map<std::string, Median>& medians() const { return found; }

private:
    std::map<std::string, Median> found;
};

// Prints every ratio with its target and whether it is met; a ratio whose
// benchmarks did not run (filtered out, or failed) is shown as missing. One
// whose median repetition was itself disturbed is shown as unsteady, and is
// held to its target only where the ratio of the fastest repetitions falls
// on the same side of it.
void printRatioTable(const std::map<std::string, Median>& medians, std::ostream& out);

} // namespace tern::bench
