// tnbench: the library's work next to its floor, on inputs that
// tnbench-generate wrote, each run as a whole process and timed by the CPU
// time the kernel accounts to it (medians over repetitions), and a table of
// the ratios that the library is held to.
//
//   tnbench --inputs=DIR --tnupdate=PATH [benchmark options]
//
// The floors and the library work that tnupdate has no command for run as
// tnbench-child, found beside this program (programs.h).
//
// Everything a run writes goes to DIR/scratch; each repetition starts from
// the generated inputs again, copied outside the measured time (only the
// child's CPU time is counted).

#include "bench/child_process.h"
#include "bench/ratio_table.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using tern::bench::ChildCost;
using tern::bench::runChild;

struct Setup {
    fs::path inputs;
    std::string tnupdate;
    std::string child; // tnbench-child
    fs::path scratch() const { return inputs / "scratch"; }
};

Setup setup;

void record(benchmark::State& state, const ChildCost& cost) {
    if (cost.exitStatus != 0)
        state.SkipWithError("the program failed");
    state.SetIterationTime(cost.cpuSeconds);
    state.counters["peak_kb"] = static_cast<double>(cost.peakKilobytes);
}

// Runs the program once per iteration on a fresh copy of the input folder,
// made outside the measured time.
void onFreshCopies(benchmark::State& state, const fs::path& input, const fs::path& folder,
                   const std::vector<std::string>& argv) {
    for (auto _ : state) {
        fs::remove_all(folder);
        fs::create_directories(folder.parent_path());
        fs::copy(input, folder, fs::copy_options::recursive);
        record(state, runChild(argv));
    }
}

// tnupdate option on a fresh copy of the generated layout.
void option(benchmark::State& state, const std::string& size) {
    const fs::path input = setup.inputs / ("layout-" + size);
    const fs::path folder = setup.scratch() / "option";
    onFreshCopies(state, input, folder,
                  {setup.tnupdate, "option", "--folder", folder.string(), "--commands",
                   (folder / "Commands.xml").string(), "Extra", (folder / "Option.xml").string()});
    state.counters["file_kb"] = static_cast<double>(fs::file_size(input / "Config" / "Display.xml")) / 1024;
}

void parseAndSave(benchmark::State& state, const std::string& size) {
    const fs::path input = setup.inputs / ("layout-" + size) / "Config" / "Display.xml";
    const fs::path output = setup.scratch() / "floor-Display.xml";
    for (auto _ : state)
        record(state, runChild({setup.child, "floor", "parse-save", input.string(), output.string()}));
    state.counters["file_kb"] = static_cast<double>(fs::file_size(input)) / 1024;
}

// The setting edits of the library or of pugixml (`how`: settings, or
// settings-durable for pugixml saving as the library does), on fresh copies
// of the files.
void settings(benchmark::State& state, const std::string& set, const std::string& who, const std::string& how) {
    const fs::path folder = setup.scratch() / "settings";
    onFreshCopies(state, setup.inputs / ("settings-" + set), folder,
                  {setup.child, who, how, (folder / "Update.xml").string(), folder.string()});
}

// The folders of an update of the generated installation: `tnupdate update`
// copies the shipped files into the user's folders, `cp -rn` copies the
// same trees into folders of its own.
struct UpdateFolders {
    UpdateFolders(const std::string& shipped, const std::string& profileName)
        : install(setup.inputs / shipped / "install"), profile(setup.scratch() / profileName) {}
    fs::path install;
    fs::path profile;
    fs::path appData = profile / "PLX" / "OrvoLumen" / "OrvoLumen" / "2016_x64";
    fs::path userData = profile / "UserData" / "2016_x64";
};

ChildCost update(const UpdateFolders& folders) {
    return runChild({setup.tnupdate, "update", "--install", folders.install.string(), "--appdata",
                     folders.appData.string(), "--userdata", folders.userData.string(), "--yes",
                     (folders.install / "Update.xml").string()});
}

ChildCost copyTrees(const UpdateFolders& folders) {
    const fs::path targets[] = {folders.profile / "cp" / "InitialConfig", folders.profile / "cp" / "Layer"};
    fs::create_directories(targets[0]);
    fs::create_directories(targets[1]);
    ChildCost first =
        runChild({"/bin/cp", "-rn", (folders.install / "Config" / "InitialSet").string() + "/.", targets[0].string()});
    const ChildCost second =
        runChild({"/bin/cp", "-rn", (folders.install / "Templates" / "Layer").string() + "/.", targets[1].string()});
    first.cpuSeconds += second.cpuSeconds;
    first.exitStatus = first.exitStatus != 0 ? first.exitStatus : second.exitStatus;
    return first;
}

// The first run copies everything, and is measured on the smaller
// installation (creating files is what it costs, file by file); the second
// finds every file of the larger one there, copied before it is measured.
//
// Nothing is deleted until the benchmark ends: each first run copies into
// folders of its own, and the second runs share theirs. A user's first run
// follows no deletion of thousands of files, and after one ext4 spends most
// of each file's creation stepping over the inodes just freed, which both
// the library and `cp` then paid ten times over.
template <typename Copy> void copies(benchmark::State& state, Copy copy, bool second) {
    static int firstRuns = 0;
    const UpdateFolders folders(second ? "shipped" : "shipped-first",
                                second ? "second" : "first-" + std::to_string(++firstRuns));
    if (second)
        copy(folders);
    for (auto _ : state)
        record(state, copy(folders));
}

void check(benchmark::State& state, const std::string& size, bool withCommands) {
    const fs::path input = setup.inputs / ("definition-" + size);
    std::vector<std::string> argv{setup.tnupdate, "check"};
    if (withCommands) {
        argv.push_back("--commands");
        argv.push_back((input / "Commands.xml").string());
    }
    argv.push_back((input / "Update.xml").string());
    for (auto _ : state) {
        // check says 1 for the definition's harmless warnings; only a crash counts.
        ChildCost cost = runChild(argv);
        cost.exitStatus = cost.exitStatus == 1 ? 0 : cost.exitStatus;
        record(state, cost);
    }
}

// The definition, and with the command table the two files check --commands reads.
void parse(benchmark::State& state, const std::string& size, bool withCommands) {
    const fs::path input = setup.inputs / ("definition-" + size);
    std::vector<std::string> argv{setup.child, "floor", "parse", (input / "Update.xml").string()};
    if (withCommands)
        argv.push_back((input / "Commands.xml").string());
    for (auto _ : state)
        record(state, runChild(argv));
}

template <typename Function> void add(const std::string& name, Function function, int repetitions) {
    // The fastest repetition too, which tells the ratio table how far to
    // trust the median.
    benchmark::RegisterBenchmark(name.c_str(), function)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(repetitions)
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics(
            "min", [](const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); })
        ->Unit(benchmark::kMillisecond);
}

// Repetitions: as ratio_table.h says, quick items many times and slow ones
// a few (settingsSets says which sets are slow; the durable floor is
// measured as often as its set). The first run's copies take a fifth of a
// second but make 5,000 new files each, which the end of the benchmark
// deletes: seven, so that one disturbed repetition no longer decides the
// median.
using tern::bench::quickRepetitions;
constexpr int firstRunRepetitions = 7;

void registerAll() {
    for (const char* size : {"2x500", "6x2000", "6x4000", "6x8000"}) {
        add(
            std::string("option/") + size, [size](benchmark::State& s) { option(s, size); }, quickRepetitions);
        add(
            std::string("floor_parse_save/") + size, [size](benchmark::State& s) { parseAndSave(s, size); },
            quickRepetitions);
    }
    for (const tern::bench::SettingsSet& set : tern::bench::settingsSets) {
        const std::string name = set.name;
        add(
            "settings/" + name, [name](benchmark::State& s) { settings(s, name, "work", "settings"); },
            set.repetitions);
        add(
            "floor_settings/" + name, [name](benchmark::State& s) { settings(s, name, "floor", "settings"); },
            set.repetitions);
        if (name == tern::bench::durableSettingsSet)
            add(
                "floor_settings_durable/" + name,
                [name](benchmark::State& s) { settings(s, name, "floor", "settings-durable"); }, set.repetitions);
    }
    add(
        "update/first", [](benchmark::State& s) { copies(s, update, false); }, firstRunRepetitions);
    add(
        "floor_cp/first", [](benchmark::State& s) { copies(s, copyTrees, false); }, firstRunRepetitions);
    add(
        "update/second", [](benchmark::State& s) { copies(s, update, true); }, quickRepetitions);
    add(
        "floor_cp/second", [](benchmark::State& s) { copies(s, copyTrees, true); }, quickRepetitions);
    for (const char* size : {"200", "2000", "20000"}) {
        add(
            std::string("check/") + size, [size](benchmark::State& s) { check(s, size, false); }, quickRepetitions);
        add(
            std::string("check_commands/") + size, [size](benchmark::State& s) { check(s, size, true); },
            quickRepetitions);
        add(
            std::string("floor_parse/") + size, [size](benchmark::State& s) { parse(s, size, false); },
            quickRepetitions);
        add(
            std::string("floor_parse_commands/") + size, [size](benchmark::State& s) { parse(s, size, true); },
            quickRepetitions);
    }
}

// Takes --inputs= and --tnupdate= out of the arguments.
bool takeOwnOptions(int& argc, char** argv) {
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--inputs=", 0) == 0)
            setup.inputs = fs::absolute(argument.substr(9));
        else if (argument.rfind("--tnupdate=", 0) == 0)
            setup.tnupdate = fs::absolute(argument.substr(11)).string();
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return !setup.inputs.empty() && !setup.tnupdate.empty();
}

} // namespace

int main(int argc, char** argv) {
    setup.child = (fs::canonical("/proc/self/exe").parent_path() / "tnbench-child").string();
    if (!takeOwnOptions(argc, argv)) {
        std::cerr << "usage: tnbench --inputs=DIR --tnupdate=PATH [benchmark options]\n";
        return 2;
    }
    // The repetitions of all the items run in a random order, so that an
    // item and its floor share the machine's disturbed minutes rather than
    // one of them meeting such a minute alone. Given first, so that the
    // option on the command line (=false) has the last word.
    std::vector<char*> arguments(argv, argv + argc);
    char interleaved[] = "--benchmark_enable_random_interleaving=true";
    arguments.insert(arguments.begin() + 1, interleaved);
    int count = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);
    benchmark::Initialize(&count, arguments.data());
    // Made here, not by whichever item runs first: a filter may leave only
    // one that does not make it.
    fs::create_directories(setup.scratch());
    registerAll();
    tern::bench::MedianCollector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    fs::remove_all(setup.scratch());
    tern::bench::printRatioTable(collector.medians(), std::cout);
    benchmark::Shutdown();
    return 0;
}
